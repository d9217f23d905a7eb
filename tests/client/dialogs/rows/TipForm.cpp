#include "../DialogTable.h"

#include "TipForm.h"

static const bool row = AddDialogRow(
    {"TipForm", DialogTexts::None, [](QWidget* mainWindow) -> QWidget* { return new TipForm(true, "Yes", mainWindow); }});
