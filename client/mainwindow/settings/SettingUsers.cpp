// The settings page's users section: the recorder's accounts in a grid, and the Add, Edit and Delete that
// change them through the user editor or at once.
#include "MainForm.h"

#include "AddUserForm.h"
#include "DialogFrame.h"
#include "KesDevice.h"
#include "LanguageTexts.h"
#include "MainFormGlobals.h"
#include "MainFormUi.h"
#include "ZGridList.h"
#include "settings/SectionDevice.h"

namespace {

// "Permission denied" when the logged-in user may not manage accounts; true when allowed.
bool MayManageUsers(KesDevice* device, QWidget* parent)
{
    if (CalvoxAPI_Permission_ManageUsers(device->Handle) != 0)
        return true;
    ShowResultTip(false, TextTips012, parent);
    return false;
}

}  // namespace

void MainForm::FillUserList(KesDevice* device)
{
    if (device != SettingDevice())
        return;
    // Read before the grid re-reads the table, so it never names a fill newer than the rows shown.
    m_UserListShown = device != nullptr ? device->UserListGeneration() : 0;
    // An offline device's table hides its rows until the device is back.
    ui->UserListGridList->SetDataSource(device != nullptr ? device->UserListData : nullptr);
    ui->UserListGridList->UpdateData();
    SetWidgetsEnabled({ui->UpdateUserListButton, ui->AddUserButton, ui->EditUserButton, ui->DeleteUserButton},
                      SectionDeviceOnline(device));
}

bool MainForm::CopySelectedUser(KesDevice* device, Calvox_UserInfo* copy)
{
    const ZGridListRow* row = ui->UserListGridList->SelectedRow;
    if (row == nullptr)
        return false;
    if (device->CopyUserEntry(row, m_UserListShown, copy))
        return true;
    FillUserList(device);
    return false;
}

void MainForm::on_UpdateUserListButton_Clicked()
{
    KesDevice* device = OnlineSettingDevice();
    DeviceHold hold;
    if (device == nullptr || !RunSectionCall(device, [device] { return device->GetUserList(); }, &hold))
        return;
    FillUserList(device);
}

void MainForm::on_AddUserButton_Clicked()
{
    OpenUserEditor(false);
}

void MainForm::on_EditUserButton_Clicked()
{
    OpenUserEditor(true);
}

void MainForm::OpenUserEditor(bool edit)
{
    KesDevice* device = OnlineSettingDevice();
    if (device == nullptr || !MayManageUsers(device, this))
        return;
    // A copy: a list read while the editor is open replaces the rows and their entries.
    Calvox_UserInfo user{};
    if (edit && !CopySelectedUser(device, &user))
        return;
    // The editor runs its own waits: the device stays alive until it is closed, also when it leaves the list.
    DeviceHold hold = HoldDevice(device);
    if (!hold || g_AddUserForm->Exec(device, edit ? &user : nullptr) == 0)
        return;
    // A failed reload is silent: the grid keeps the rows it has.
    int result = -1;
    if (RunWaitTask([device] { return device->GetUserList(); }, &result) && result == 0)
        FillUserList(device);
}

void MainForm::on_DeleteUserButton_Clicked()
{
    KesDevice* device = OnlineSettingDevice();
    Calvox_UserInfo user{};
    if (device == nullptr || !MayManageUsers(device, this) ||
        !CopySelectedUser(device, &user))
        return;
    DeviceHold hold = HoldDevice(device);
    int result = -1;
    if (!hold || !RunWaitTask(
                     [device, &user] {
                         int code = device->DeleteUser(&user);
                         if (code == 0)
                             code = device->GetUserList();
                         return code;
                     },
                     &result))
        return;
    if (result == 0)
        FillUserList(device);
    else
        ShowResultTip(false, result == 3 ? TextDevice005 : TextTips002, this);
}
