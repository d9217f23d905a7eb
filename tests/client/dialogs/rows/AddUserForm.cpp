#include "../DialogTable.h"
#include "AddUserForm.h"

static const bool row = AddDialogRow({"AddUserForm", DialogTexts::FollowLanguage,
                                      [](QWidget* mainWindow) -> QWidget* { return new AddUserForm(mainWindow); }});
