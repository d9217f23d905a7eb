#include "../DialogTable.h"

#include "DeviceManage.h"
#include "DeviceManageForm.h"

// The page follows the device list: one DeviceManage for the program's life, as the main window has it.
static const bool row = AddDialogRow({"DeviceManageForm", DialogTexts::FollowLanguage, [](QWidget* mainWindow) -> QWidget* {
    static DeviceManage* manage = g_DeviceManage != nullptr ? g_DeviceManage : new DeviceManage;
    Q_UNUSED(manage);
    return new DeviceManageForm(mainWindow);
}});
