#include "../DialogTable.h"

#include "EditRecordNotesForm.h"

static const bool row = AddDialogRow({"EditRecordNotesForm", DialogTexts::FollowLanguage,
                                      [](QWidget* mainWindow) -> QWidget* { return new EditRecordNotesForm(mainWindow); }});
