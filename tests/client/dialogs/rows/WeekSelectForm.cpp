#include "../DialogTable.h"
#include "WeekSelectForm.h"

static const bool row = AddDialogRow({"WeekSelectForm", DialogTexts::FollowLanguage,
                                      [](QWidget* mainWindow) -> QWidget* { return new WeekSelectForm(mainWindow); }});
