#include "../DialogTable.h"

#include "StatusPopupForm.h"

// The text map names Label4, a caption the form does not have.
static const bool row = AddDialogRow({"StatusPopupForm", DialogTexts::AtConstruction,
                                      [](QWidget*) -> QWidget* { return new StatusPopupForm(nullptr); },
                                      {"Label4"}});
