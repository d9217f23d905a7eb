// The settings page's record-time section (a weekly timetable of three windows a day with a master switch and
// a mode) and its scheduled-restart section (hour, minute and weekdays of the recorder's own restart).
#include "MainForm.h"

#include "DialogFrame.h"
#include "KesDevice.h"
#include "LanguageTexts.h"
#include "MainFormUi.h"
#include "settings/SectionDevice.h"
#include "settings/SectionFields.h"

#include <array>

namespace {

// Record-time layout: 0 master switch, 1 mode, then 21 windows of 5 bytes from byte 4 (switch, start hour,
// start minute, end hour, end minute), window 3 x weekday + number.
constexpr int kTimeEnabled = 0;
constexpr int kTimeMode = 1;
constexpr int kWindows = 4;
constexpr int kWindowCount = 21;

// Scheduled-restart layout: 0 switch, 1 hour, 2 minute, 3..9 Sunday to Saturday.
constexpr int kRestartEnabled = 0;
constexpr int kRestartHour = 1;
constexpr int kRestartMinute = 2;
constexpr int kRestartDays = 3;

std::array<ZCheckBox*, 7> RestartDays(Ui::MainForm* ui)
{
    return {ui->ScheduledRestartCheckBox1, ui->ScheduledRestartCheckBox2, ui->ScheduledRestartCheckBox3,
            ui->ScheduledRestartCheckBox4, ui->ScheduledRestartCheckBox5, ui->ScheduledRestartCheckBox6,
            ui->ScheduledRestartCheckBox7};
}

}  // namespace

void MainForm::FillRecordTimeSetting(KesDevice* device)
{
    if (device != SettingDevice())
        return;
    const bool enabled = SectionDeviceOnline(device);
    if (enabled) {
        const uint8_t* record = CalvoxAPI_RecordTimeSetting(device->Handle)->Bytes;
        ui->EnableRecordTimeQuantumCheckBox->SetChecked(record[kTimeEnabled] != 0);
        ui->RecordTimeModeComboBox->SetSelectedIndex(
            ListIndexOf(record[kTimeMode], ui->RecordTimeModeComboBox->Items().size()));
        for (int q = 0; q < kWindowCount; ++q) {
            const uint8_t* window = record + kWindows + 5 * q;
            TimeQuantumCheckBoxes[q]->SetChecked(window[0] != 0);
            ZHourMinutePicker* picker = TimeQuantumPickers[q];
            picker->SetStartHour(window[1]);
            picker->SetStartMinute(window[2]);
            picker->SetEndHour(window[3]);
            picker->SetEndMinute(window[4]);
        }
    } else {
        ui->EnableRecordTimeQuantumCheckBox->SetChecked(false);
        ui->RecordTimeModeComboBox->SetSelectedIndex(-1);
        for (int q = 0; q < kWindowCount; ++q) {
            TimeQuantumCheckBoxes[q]->SetChecked(false);
            ZHourMinutePicker* picker = TimeQuantumPickers[q];
            picker->SetStartHour(0);
            picker->SetStartMinute(0);
            picker->SetEndHour(0);
            picker->SetEndMinute(0);
        }
    }
    SetWidgetsEnabled({ui->EnableRecordTimeQuantumCheckBox, ui->UpdateRecordTimeSettingButton,
                       ui->SaveRecordTimeSettingButton},
                      enabled);
}

void MainForm::on_EnableRecordTimeQuantumCheckBox_CheckedChanged(bool checked)
{
    ui->RecordTimeModeComboBox->setEnabled(checked);
    for (int q = 0; q < kWindowCount; ++q) {
        TimeQuantumCheckBoxes[q]->setEnabled(checked);
        TimeQuantumPickers[q]->setEnabled(checked && TimeQuantumCheckBoxes[q]->Checked());
    }
}

void MainForm::on_UpdateRecordTimeSettingButton_Clicked()
{
    KesDevice* device = OnlineSettingDevice();
    DeviceHold hold;
    if (device == nullptr || !RunSectionCall(device, [device] { return device->GetRecordTimeSetting(); }, &hold))
        return;
    // Another device may have been selected while the read ran.
    if (device == SettingDevice())
        FillRecordTimeSetting(device);
}

void MainForm::on_SaveRecordTimeSettingButton_Clicked()
{
    KesDevice* device = OnlineSettingDevice();
    if (device == nullptr || !MayChangeSettings(device, this))
        return;
    // From the recorder's own record: the bytes the page does not show go back as they came. Every window is
    // written, switched on or not.
    Calvox_RecordTimeSetting record = *CalvoxAPI_RecordTimeSetting(device->Handle);
    uint8_t* bytes = record.Bytes;
    bytes[kTimeEnabled] = ui->EnableRecordTimeQuantumCheckBox->Checked() ? 1 : 0;
    bytes[kTimeMode] = ListIndexByte(ui->RecordTimeModeComboBox->SelectedIndex(), bytes[kTimeMode]);
    for (int q = 0; q < kWindowCount; ++q) {
        uint8_t* window = bytes + kWindows + 5 * q;
        const ZHourMinutePicker* picker = TimeQuantumPickers[q];
        window[0] = TimeQuantumCheckBoxes[q]->Checked() ? 1 : 0;
        window[1] = static_cast<uint8_t>(picker->StartHour());
        window[2] = static_cast<uint8_t>(picker->StartMinute());
        window[3] = static_cast<uint8_t>(picker->EndHour());
        window[4] = static_cast<uint8_t>(picker->EndMinute());
    }
    RunSectionWrite(device, [device, &record] { return device->SetRecordTimeSetting(&record); });
}

void MainForm::FillScheduledRestartSetting(KesDevice* device)
{
    if (device != SettingDevice())
        return;
    const bool enabled = SectionDeviceOnline(device);
    const std::array<ZCheckBox*, 7> days = RestartDays(ui);
    if (enabled) {
        const uint8_t* record = CalvoxAPI_ScheduledRestartSetting(device->Handle)->Bytes;
        ui->ScheduledRestartCheckBox0->SetChecked(record[kRestartEnabled] != 0);
        ui->ScheduledRestartTextBox1->SetText(QString::number(record[kRestartHour]));
        ui->ScheduledRestartTextBox2->SetText(QString::number(record[kRestartMinute]));
        for (int d = 0; d < 7; ++d)
            days[d]->SetChecked(record[kRestartDays + d] != 0);
    } else {
        ui->ScheduledRestartCheckBox0->SetChecked(false);
        ui->ScheduledRestartTextBox1->SetText(QString());
        ui->ScheduledRestartTextBox2->SetText(QString());
        for (ZCheckBox* day : days)
            day->SetChecked(false);
    }
    SetWidgetsEnabled({ui->ScheduledRestartCheckBox0, ui->UpdateScheduledRestartSettingButton,
                       ui->SaveScheduledRestartSettingButton},
                      enabled);
}

void MainForm::on_ScheduledRestartCheckBox0_CheckedChanged(bool checked)
{
    ui->ScheduledRestartTextBox1->setEnabled(checked);
    ui->ScheduledRestartTextBox2->setEnabled(checked);
    for (ZCheckBox* day : RestartDays(ui))
        day->setEnabled(checked);
}

void MainForm::on_UpdateScheduledRestartSettingButton_Clicked()
{
    KesDevice* device = OnlineSettingDevice();
    DeviceHold hold;
    if (device == nullptr || !RunSectionCall(device, [device] { return device->GetScheduledRestartSetting(); }, &hold))
        return;
    FillScheduledRestartSetting(device);
}

void MainForm::on_SaveScheduledRestartSettingButton_Clicked()
{
    KesDevice* device = OnlineSettingDevice();
    if (device == nullptr || !MayChangeSettings(device, this))
        return;
    // From the recorder's own record: the bytes the page does not show go back as they came. The SDK turns an
    // hour above 23 or a minute above 59 into 0 before sending; the fields keep what was typed.
    Calvox_ScheduledRestartSetting record = *CalvoxAPI_ScheduledRestartSetting(device->Handle);
    uint8_t* bytes = record.Bytes;
    bytes[kRestartEnabled] = ui->ScheduledRestartCheckBox0->Checked() ? 1 : 0;
    bytes[kRestartHour] = ByteFieldValue(ui->ScheduledRestartTextBox1->Text());
    bytes[kRestartMinute] = ByteFieldValue(ui->ScheduledRestartTextBox2->Text());
    const std::array<ZCheckBox*, 7> days = RestartDays(ui);
    for (int d = 0; d < 7; ++d)
        bytes[kRestartDays + d] = days[d]->Checked() ? 1 : 0;
    RunSectionWrite(device, [device, &record] { return device->SetScheduledRestartSetting(&record); });
}
