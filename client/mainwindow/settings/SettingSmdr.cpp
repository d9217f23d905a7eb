// The settings page's SMDR section: how the recorder reads the exchange's call detail output (switch, extension
// hold time, serial line, where extension and number stand in an inbound and an outbound line), and the last
// SMDR text the recorder received.
#include "MainForm.h"

#include "DialogFrame.h"
#include "KesDevice.h"
#include "LanguageTexts.h"
#include "MainFormUi.h"
#include "settings/SectionDevice.h"
#include "settings/SectionFields.h"

#include <array>

namespace {

// Record layout: 0 switch, 1 hold time (100 ms), 2..9 the eight position and length fields, 11..14 the serial
// line's four list indexes.
constexpr int kEnabled = 0;
constexpr int kHoldTime = 1;
constexpr int kFields = 2;
constexpr int kSerial = 11;

// The eight position and length fields, in record order.
std::array<ZLineEdit*, 8> ParameterFields(Ui::MainForm* ui)
{
    return {ui->SMDRLineEdit1, ui->SMDRLineEdit2, ui->SMDRLineEdit3, ui->SMDRLineEdit4,
            ui->SMDRLineEdit5, ui->SMDRLineEdit6, ui->SMDRLineEdit7, ui->SMDRLineEdit8};
}

// Baud rate, data bits, stop bits, parity.
std::array<ZComboBox*, 4> SerialBoxes(Ui::MainForm* ui)
{
    return {ui->BaudrateComboBox, ui->DataBitComboBox, ui->StopBitComboBox, ui->CheckBitComboBox};
}

}  // namespace

void MainForm::FillSMDRSetting(KesDevice* device)
{
    if (device != SettingDevice())
        return;
    const std::array<ZLineEdit*, 8> fields = ParameterFields(ui);
    const std::array<ZComboBox*, 4> serial = SerialBoxes(ui);
    const bool enabled = SectionDeviceOnline(device) && CalvoxAPI_IsSupportPlayBack(device->Handle) != 0;
    if (enabled) {
        const uint8_t* record = CalvoxAPI_SMDRSetting(device->Handle)->Bytes;
        ui->EnabelSMDRCheckBox->SetChecked(record[kEnabled] != 0);
        ui->SMDRCheckTimeLineEdit->SetText(QString::number(record[kHoldTime] * 100));
        for (int i = 0; i < 4; ++i)
            serial[i]->SetSelectedIndex(ListIndexOf(record[kSerial + i], serial[i]->Items().size()));
        for (int i = 0; i < 8; ++i)
            fields[i]->SetText(QString::number(record[kFields + i]));
    } else {
        // The SMDR text stays until the next Read.
        ui->EnabelSMDRCheckBox->SetChecked(false);
        ui->SMDRCheckTimeLineEdit->SetText(QString());
        for (ZComboBox* box : serial)
            box->SetSelectedIndex(-1);
        for (ZLineEdit* field : fields)
            field->SetText(QString());
    }
    SetWidgetsEnabled({ui->EnabelSMDRCheckBox, ui->GetSMDRTextButton, ui->UpdateSMDRSettingButton,
                       ui->SaveSMDRSettingButton},
                      enabled);
}

void MainForm::on_EnabelSMDRCheckBox_CheckedChanged(bool checked)
{
    ui->SMDRCheckTimeLineEdit->setEnabled(checked);
    for (ZComboBox* box : SerialBoxes(ui))
        box->setEnabled(checked);
    for (ZLineEdit* field : ParameterFields(ui))
        field->setEnabled(checked);
}

void MainForm::on_GetSMDRTextButton_Clicked()
{
    KesDevice* device = OnlineSettingDevice();
    if (device == nullptr)
        return;
    // A failure shows an empty text: GetSMDR gives one.
    DeviceHold hold = HoldDevice(device);
    QString text;
    int result = -1;
    if (!hold || !RunWaitTask(
                     [device, &text] {
                         text = device->GetSMDR();
                         return 0;
                     },
                     &result))
        return;
    ui->SMDRTextEditLine->SetText(text);
}

void MainForm::on_UpdateSMDRSettingButton_Clicked()
{
    KesDevice* device = OnlineSettingDevice();
    DeviceHold hold;
    if (device == nullptr || !RunSectionCall(device, [device] { return device->GetSMDRSetting(); }, &hold))
        return;
    FillSMDRSetting(device);
}

void MainForm::on_SaveSMDRSettingButton_Clicked()
{
    KesDevice* device = OnlineSettingDevice();
    if (device == nullptr || !MayChangeSettings(device, this))
        return;
    // From the recorder's own record: the bytes the page does not show go back as they came. Every field is
    // written, whether the switch is on or off.
    Calvox_SMDRSetting record = *CalvoxAPI_SMDRSetting(device->Handle);
    uint8_t* bytes = record.Bytes;
    bytes[kEnabled] = ui->EnabelSMDRCheckBox->Checked() ? 1 : 0;
    bytes[kHoldTime] = HoldTimeValue(ui->SMDRCheckTimeLineEdit->Text());
    const std::array<ZLineEdit*, 8> fields = ParameterFields(ui);
    for (int i = 0; i < 8; ++i)
        bytes[kFields + i] = ByteFieldValue(fields[i]->Text());
    const std::array<ZComboBox*, 4> serial = SerialBoxes(ui);
    for (int i = 0; i < 4; ++i)
        bytes[kSerial + i] = ListIndexByte(serial[i]->SelectedIndex(), bytes[kSerial + i]);
    RunSectionWrite(device, [device, &record] { return device->SetSMDRSetting(&record); });
}
