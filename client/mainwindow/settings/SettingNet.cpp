// The settings page's network section: the recorder's own address, mask, gateway, MAC, protocol port and cloud
// relay switch, and the address it uses now.
#include "MainForm.h"

#include "DialogFrame.h"
#include "KesDevice.h"
#include "LanguageTexts.h"
#include "MainFormUi.h"
#include "settings/SectionDevice.h"
#include "settings/SectionFields.h"

namespace {

QString AddressText(uint32_t address)
{
    char text[16] = {};
    CalvoxAPI_IPaddressToString(address, text);
    return QString::fromLatin1(text);
}

}  // namespace

void MainForm::FillNetSetting(KesDevice* device)
{
    if (device != SettingDevice())
        return;
    const bool enabled = SectionDeviceOnline(device);
    if (!enabled) {
        ui->MacAddressLineEdit->SetText(QString());
        ui->CurrentIPaddressLabel->SetText(QString());
        ui->NetModeSettingComboBox->SetSelectedIndex(-1);
        ui->IPaddressSettingLineEdit->SetText(QString());
        ui->MaskSettingLineEdit->SetText(QString());
        ui->GatewaySettingLineEdit->SetText(QString());
        ui->NetPortSettingLineEdit->SetText(QString());
        ui->CloudSettingCheckBox->SetChecked(false);
    } else {
        const Calvox_NetSetting& net = *CalvoxAPI_NetSetting(device->Handle);
        ui->MacAddressLineEdit->SetText(MacAddressText(net.Mac));
        ui->CurrentIPaddressLabel->SetText(AddressText(CalvoxAPI_NetStatus(device->Handle)->Address));
        ui->NetModeSettingComboBox->SetSelectedIndex(
            ListIndexOf(net.AddressMode, ui->NetModeSettingComboBox->Items().size()));
        ui->IPaddressSettingLineEdit->SetText(AddressText(net.Address));
        ui->MaskSettingLineEdit->SetText(AddressText(net.Mask));
        ui->GatewaySettingLineEdit->SetText(AddressText(net.Gateway));
        ui->NetPortSettingLineEdit->SetText(QString::number(net.Port));
        ui->CloudSettingCheckBox->SetChecked(net.CloudEnabled != 0);
    }
    SetWidgetsEnabled({ui->MacAddressLineEdit, ui->NetModeSettingComboBox, ui->NetPortSettingLineEdit,
                       ui->CloudSettingCheckBox, ui->UpdateNetSettingButton, ui->SaveNetSettingButton},
                      enabled);
}

void MainForm::on_NetModeSettingComboBox_SelectedIndexChanged(int index)
{
    SetWidgetsEnabled({ui->IPaddressSettingLineEdit, ui->MaskSettingLineEdit, ui->GatewaySettingLineEdit}, index == 1);
}

void MainForm::on_UpdateNetSettingButton_Clicked()
{
    KesDevice* device = OnlineSettingDevice();
    DeviceHold hold;
    if (device == nullptr || !RunSectionCall(device, [device] { return device->GetNetSetting(); }, &hold))
        return;
    FillNetSetting(device);
}

void MainForm::on_SaveNetSettingButton_Clicked()
{
    KesDevice* device = OnlineSettingDevice();
    if (device == nullptr || !MayChangeSettings(device, this))
        return;
    // From the recorder's own record: the bytes the page does not show go back as they came.
    Calvox_NetSetting record = *CalvoxAPI_NetSetting(device->Handle);
    const int mode = ui->NetModeSettingComboBox->SelectedIndex();
    record.AddressMode = ListIndexByte(mode, record.AddressMode);
    struct AddressField {
        ZLineEdit* field;
        uint32_t* value;
    };
    const AddressField addresses[] = {{ui->IPaddressSettingLineEdit, &record.Address},
                                      {ui->MaskSettingLineEdit, &record.Mask},
                                      {ui->GatewaySettingLineEdit, &record.Gateway}};
    for (const AddressField& address : addresses) {
        if (mode != 1) {
            // DHCP: the fields are not used; sent as the SDK reads them (all ones for a text that is no address).
            *address.value = CalvoxAPI_StringToIPaddress(address.field->Text().toLatin1().constData());
        } else if (!StaticAddressValue(address.field->Text(), address.value)) {
            ShowInputTip(address.field, TextTips008);
            return;
        }
    }
    if (!MacAddressValue(ui->MacAddressLineEdit->Text(), record.Mac)) {
        ShowInputTip(ui->MacAddressLineEdit, TextTips019);
        return;
    }
    if (!NetPortValue(ui->NetPortSettingLineEdit->Text(), &record.Port)) {
        ShowInputTip(ui->NetPortSettingLineEdit, TextTips009);
        return;
    }
    record.CloudEnabled = ui->CloudSettingCheckBox->Checked() ? 1 : 0;
    RunSectionWrite(device, [device, &record] { return device->SetNetSetting(&record); });
}
