#include "../DialogTable.h"
#include "RecordStatisticsForm.h"

static const bool row = AddDialogRow({"RecordStatisticsForm", DialogTexts::FollowLanguage,
                                      [](QWidget* mainWindow) -> QWidget* { return new RecordStatisticsForm(mainWindow); }});
