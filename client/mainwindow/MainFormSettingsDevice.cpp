// The settings page's device section: connection, storage and cloud state, the login data, login and logout,
// saving the device's stored data.
#include "MainForm.h"

#include "DialogFrame.h"
#include "KesDevice.h"
#include "LanguageTexts.h"
#include "LoginChain.h"
#include "MainFormUi.h"
#include "settings/SettingRules.h"

#include <cstring>

DeviceHold MainForm::HoldDevice(KesDevice* device)
{
    return DeviceManage::HoldDevice(DeviceManage::IndexOfDevice(device));
}

void MainForm::FillDeviceInfo(KesDevice* device)
{
    if (device != SettingDevice())
        return;
    const bool hasDevice = device != nullptr;
    const int state = hasDevice ? CalvoxAPI_ConnectStatus(device->Handle) : -1;
    const bool idle = state == 0;
    const bool online = state == 2;

    ui->DeviceIDLabel->SetText(hasDevice ? device->ID : QString());
    ui->DeviceNameLineEdit->SetText(hasDevice ? device->Name : QString());
    ui->DeviceVersionsLabel->SetText(hasDevice ? device->Version.Get() : QString());
    ui->DeviceModelLabel->SetText(hasDevice ? device->ModelName : QString());
    ui->DeviceChannelsLabel->SetText(hasDevice ? QString::number(device->Channels) : QString());
    ui->IPaddressLineEdit->SetText(hasDevice ? device->IPaddress : QString());
    ui->NetPortLineEdit->SetText(hasDevice ? device->Port : QString());
    ui->UserNameLineEdit->SetText(hasDevice ? device->UserName : QString());
    ui->PasswordLineEdit->SetText(hasDevice ? device->Password : QString());

    // In this order: a change runs the boxes' reactions (Auto Login decides Save PWD's state).
    ui->SavePasswordCheckBox->SetChecked(hasDevice && device->SavePassword);
    ui->AutoLoginCheckBox->SetChecked(hasDevice && device->AutoLogin);
    ui->RemoteLoginCheckBox->SetChecked(hasDevice && device->RemoteLogin);

    UpdateLoginFieldsEnabled(device);
    ui->SavePasswordCheckBox->setEnabled(hasDevice);
    ui->LoginButton->setEnabled(hasDevice);
    ui->DeviceNameLineEdit->setEnabled(hasDevice);
    ui->OnlineUpgradeButton->setEnabled(online);
    ui->ManualUpgradeButton->setEnabled(online);
    ui->DeviceInfoRecoverButton->setEnabled(hasDevice);
    ui->DeviceInfoSaveButton->setEnabled(hasDevice);
    ui->AutoLoginCheckBox->setEnabled(hasDevice);

    // Connecting and connected both offer Logout: a logout also ends the heartbeat's reconnecting.
    ui->LoginButton->SetText(idle ? TextDevice002 : TextDevice003);
    ui->LoginButton->Tag = idle ? 0 : 1;

    if (online) {
        ui->NewVersionsLabel->SetText(device->NewVersion.Get());
        ui->NewVersionInfoItemList->SetItems(device->UpdateNotes.Get());
    } else {
        ui->NewVersionsLabel->SetText(QString());
        ui->NewVersionInfoItemList->SetItems(QStringList());
    }
}

void MainForm::UpdateLoginFieldsEnabled(KesDevice* device)
{
    const bool editable = device != nullptr && CalvoxAPI_ConnectStatus(device->Handle) == 0;
    const bool direct = editable && !ui->RemoteLoginCheckBox->Checked();
    ui->IPaddressLineEdit->setEnabled(direct);
    ui->NetPortLineEdit->setEnabled(direct);
    ui->UserNameLineEdit->setEnabled(editable);
    ui->PasswordLineEdit->setEnabled(editable);
    ui->RemoteLoginCheckBox->setEnabled(editable);
}

void MainForm::FillConnectState(KesDevice* device)
{
    if (device != SettingDevice())
        return;
    if (device == nullptr) {
        ui->ConnectedStatusLabel->SetText(QString());
        return;
    }
    const int state = CalvoxAPI_ConnectStatus(device->Handle);
    ui->ConnectedStatusLabel->SetForeColor(state == 2 ? QColor(50, 230, 50) : QColor(255, 0, 0));
    ui->ConnectedStatusLabel->SetText(state == 0 ? TextDevice018 : state == 1 ? TextDevice020 : TextDevice019);
}

void MainForm::FillStorageStatus(KesDevice* device)
{
    if (device != SettingDevice())
        return;
    if (device == nullptr || CalvoxAPI_ConnectStatus(device->Handle) != 2) {
        ui->StorageStatusLabel->SetText(QString());
        ui->StorageCapacityLabel->SetText(QString());
        ui->StorageFreeLabel->SetText(QString());
        return;
    }
    // A copy: the heartbeat thread rewrites the record in place.
    Calvox_StorageStatus storage;
    std::memcpy(&storage, CalvoxAPI_StorageStatus(device->Handle), sizeof storage);
    if (storage.State == 0) {
        ui->StorageStatusLabel->SetForeColor(QColor(255, 0, 0));
        ui->StorageStatusLabel->SetText(TextDevice023);
        ui->StorageCapacityLabel->SetText(TextDevice023);
        ui->StorageFreeLabel->SetText(TextDevice023);
        return;
    }
    // The recorder sends the sizes as signed numbers.
    ui->StorageCapacityLabel->SetText(StorageSizeText(static_cast<int32_t>(storage.Size1)));
    ui->StorageFreeLabel->SetText(StorageSizeText(static_cast<int32_t>(storage.Size2)));
    if (storage.State == 2) {
        ui->StorageStatusLabel->SetForeColor(QColor(255, 0, 0));
        ui->StorageStatusLabel->SetText(TextDevice044);
    } else {
        ui->StorageStatusLabel->SetForeColor(QColor(100, 100, 100));
        ui->StorageStatusLabel->SetText(TextDevice021);
    }
}

void MainForm::FillCloudStatus(KesDevice* device)
{
    if (device != SettingDevice())
        return;
    if (device == nullptr || CalvoxAPI_ConnectStatus(device->Handle) != 2) {
        ui->ServerConnectStatusLabel->SetText(QString());
        return;
    }
    ui->ServerConnectStatusLabel->SetText(CalvoxAPI_CloudServerHasConnected(device->Handle) != 0 ? TextDevice019
                                                                                                  : TextDevice018);
}

bool MainForm::ValidateLoginFields()
{
    if (!ui->RemoteLoginCheckBox->Checked()) {
        if (ui->IPaddressLineEdit->Text().isEmpty()) {
            ShowInputTip(ui->IPaddressLineEdit, TextTips008);
            return false;
        }
        int port = 0;
        if (ui->NetPortLineEdit->Text().isEmpty() || !PortFieldValue(ui->NetPortLineEdit->Text(), &port)) {
            ShowInputTip(ui->NetPortLineEdit, TextTips009);
            return false;
        }
    }
    if (ui->UserNameLineEdit->Text().isEmpty()) {
        ShowInputTip(ui->UserNameLineEdit, TextTips010);
        return false;
    }
    if (ui->PasswordLineEdit->Text().isEmpty()) {
        ShowInputTip(ui->PasswordLineEdit, TextTips011);
        return false;
    }
    return true;
}

bool MainForm::ValidateDeviceName(KesDevice* device)
{
    const QString name = ui->DeviceNameLineEdit->Text().trimmed();
    if (name.isEmpty()) {
        ShowInputTip(ui->DeviceNameLineEdit, TextTips005);
        return false;
    }
    if (name == device->Name)
        return true;
    if (DeviceManage::CheckDeviceName(name) == 2) {
        ShowInputTip(ui->DeviceNameLineEdit, TextTips006);
        return false;
    }
    return true;
}

void MainForm::CopyLoginFields(KesDevice* device, int port)
{
    device->SetNetAddr(ui->IPaddressLineEdit->Text(), port);
    device->UserName = ui->UserNameLineEdit->Text();
    device->Password = ui->PasswordLineEdit->Text();
    device->SavePassword = ui->SavePasswordCheckBox->Checked();
    device->AutoLogin = ui->AutoLoginCheckBox->Checked();
    device->RemoteLogin = ui->RemoteLoginCheckBox->Checked();
}

void MainForm::on_LoginButton_Clicked()
{
    KesDevice* device = SettingDevice();
    if (device == nullptr || !ValidateLoginFields())
        return;
    DeviceHold hold = HoldDevice(device);
    if (!hold)
        return;

    if (ui->LoginButton->Tag != 0) {
        // The connection-state event that follows refreshes the section; a failed logout says nothing.
        int ignored = 0;
        RunWaitTask([device] { return device->Logout(); }, &ignored);
        return;
    }

    // Cloud logins take no address: the port is checked only for direct ones, an unchecked field counts as 0.
    int port = 0;
    if (!PortFieldValue(ui->NetPortLineEdit->Text(), &port))
        port = 0;
    CopyLoginFields(device, port);

    int result = -1;
    LoginStep failed = LoginStep::Login;
    if (!RunWaitTask([&failed, device] { return RunLoginChain(device, &failed); }, &result))
        return;
    if (result != 0) {
        ShowResultTip(false, LoginFailureText(failed, result), this);
        return;
    }
    // Its first connection-state event refreshes the page.
    device->CreateHeartbeatThread();
}

void MainForm::on_DeviceInfoSaveButton_Clicked()
{
    KesDevice* device = SettingDevice();
    if (device == nullptr || !ValidateDeviceName(device))
        return;
    // The SDK keeps only the low 16 bits of a port: a number out of range would connect elsewhere.
    int port = 0;
    if (!PortFieldValue(ui->NetPortLineEdit->Text(), &port)) {
        ShowInputTip(ui->NetPortLineEdit, TextTips009);
        return;
    }
    device->SetName(ui->DeviceNameLineEdit->Text());
    CopyLoginFields(device, port);
    const bool saved = DeviceManage::UpdateDevice(device);
    ShowResultTip(saved, saved ? TextTips001 : TextTips002, this);
}

void MainForm::on_AutoLoginCheckBox_CheckedChanged(bool checked)
{
    // An automatic login needs the stored password.
    if (checked)
        ui->SavePasswordCheckBox->SetChecked(true);
    ui->SavePasswordCheckBox->setEnabled(!checked);
}

void MainForm::on_RemoteLoginCheckBox_CheckedChanged(bool checked)
{
    Q_UNUSED(checked);
    UpdateLoginFieldsEnabled(SettingDevice());
}

void MainForm::on_ReserveSpaceTrackBar_Value1Changed(int value)
{
    ui->ReserveSpaceLabel->SetText(QStringLiteral("%1%").arg(value, 2, 10, QLatin1Char('0')));
}

void MainForm::on_LoopUseStorageCheckBox_CheckedChanged(bool checked)
{
    ui->ReserveSpaceTrackBar->setEnabled(checked);
}
