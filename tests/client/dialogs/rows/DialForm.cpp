#include "../DialogTable.h"

#include "DialForm.h"

static const bool row = AddDialogRow({"DialForm", DialogTexts::FollowLanguage,
                                      [](QWidget* mainWindow) -> QWidget* { return new DialForm(mainWindow); }});
