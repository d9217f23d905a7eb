#include "../DialogTable.h"

#include "RegisterDeviceForm.h"

static const bool row = AddDialogRow({"RegisterDeviceForm", DialogTexts::FollowLanguage,
    [](QWidget* mainWindow) -> QWidget* { return new RegisterDeviceForm(mainWindow); }});
