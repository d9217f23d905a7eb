#include "../DialogTable.h"
#include "ContactsEditForm.h"

static const bool row = AddDialogRow({"ContactsEditForm", DialogTexts::FollowLanguage,
                                      [](QWidget* mainWindow) -> QWidget* { return new ContactsEditForm(mainWindow); }});
