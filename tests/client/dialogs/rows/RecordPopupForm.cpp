#include "../DialogTable.h"

#include "RecordPopupForm.h"

static const bool row = AddDialogRow({"RecordPopupForm", DialogTexts::AtConstruction,
                                      [](QWidget*) -> QWidget* { return new RecordPopupForm(nullptr); }});
