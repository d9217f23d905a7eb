#include "../DialogTable.h"

#include "WarningPopupForm.h"

static const bool row = AddDialogRow({"WarningPopupForm", DialogTexts::None,
                                      [](QWidget*) -> QWidget* { return new WarningPopupForm(nullptr); }});
