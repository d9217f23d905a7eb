#include "../DialogTable.h"

#include "WaitForm.h"

static const bool row = AddDialogRow(
    {"WaitForm", DialogTexts::None, [](QWidget* mainWindow) -> QWidget* { return new WaitForm(mainWindow); }});
