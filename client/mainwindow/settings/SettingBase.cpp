// The settings page's recorder clock (shown beside the PC's time, checked and set from it) and its base
// settings section: recording limits, ring interval, caller-ID length, outside-line digit, hot keys, dialing
// wait, voice sensitivity, reserved space, recycling and missed calls.
#include "MainForm.h"

#include "DeviceManage.h"
#include "DialogFrame.h"
#include "KesDevice.h"
#include "LanguageTexts.h"
#include "MainFormUi.h"
#include "settings/SectionDevice.h"
#include "settings/SectionFields.h"

namespace {

// Record layout: one byte each for 0 minimum recording time, 1 maximum, 2 ring interval, 3 caller-ID length,
// 4 outside-line digit, 5 voice sensitivity, 6 save missed calls, 7 reserved space, 8 recycling, 9 dialing
// wait, 10 and 11 the hot keys' lengths; the hot keys' 10 bytes each at 12 and 22.
constexpr int kMinRecordTime = 0;
constexpr int kMaxRecordTime = 1;
constexpr int kRingInterval = 2;
constexpr int kCallerIdLength = 3;
constexpr int kOutsideLine = 4;
constexpr int kSensitivity = 5;
constexpr int kSaveMissed = 6;
constexpr int kReserved = 7;
constexpr int kRecycle = 8;
constexpr int kDialWait = 9;
constexpr int kStartKeyLength = 10;
constexpr int kStopKeyLength = 11;
constexpr int kStartKey = 12;
constexpr int kStopKey = 22;
constexpr int kKeySize = 10;

}  // namespace

void MainForm::FillDeviceTime(KesDevice* device)
{
    if (device != SettingDevice())
        return;
    if (!SectionDeviceOnline(device)) {
        ui->DeviceTimeStatusLabel->SetText(QString());
        ui->DeviceTimeLabel->SetText(QString());
        ui->LocalTimeLabel->SetText(QString());
        return;
    }
    const Calvox_DateTime& clock = *CalvoxAPI_DateTime(device->Handle);
    const uint8_t recorder[5] = {clock.Year, clock.Month, clock.Day, clock.Hour, clock.Minute};
    const std::array<unsigned char, 7> pc = device->Time.Get();
    const bool inStep = ClockInStep(recorder, pc.data());
    const QColor colour = inStep ? QColor(100, 100, 100) : QColor(255, 0, 0);
    ui->DeviceTimeLabel->SetForeColor(colour);
    ui->DeviceTimeStatusLabel->SetForeColor(colour);
    ui->DeviceTimeStatusLabel->SetText(inStep ? TextDevice021 : TextDevice022);
    ui->DeviceTimeLabel->SetText(ClockText(recorder));
    ui->LocalTimeLabel->SetText(ClockText(pc.data()));
}

void MainForm::on_CheckTimeButton_Clicked()
{
    KesDevice* device = OnlineSettingDevice();
    DeviceHold hold;
    if (device == nullptr || !RunSectionCall(device, [device] { return device->GetTime(); }, &hold))
        return;
    FillDeviceTime(device);
}

void MainForm::on_SyncTimeButton_Clicked()
{
    KesDevice* device = OnlineSettingDevice();
    DeviceHold hold;
    if (device == nullptr || !RunSectionCall(device, [device] { return device->SetTime(); }, &hold))
        return;
    FillDeviceTime(device);
}

void MainForm::FillBaseSetting(KesDevice* device)
{
    if (device != SettingDevice())
        return;
    ZLineEdit* const numbers[] = {ui->RecordTimeMinLineEdit, ui->RecordTimeMaxLineEdit, ui->RingEndTimeLineEdit,
                                  ui->PhoneNumLengthMinLineEdit};
    const bool online = SectionDeviceOnline(device);
    const bool playback = online && CalvoxAPI_IsSupportPlayBack(device->Handle) != 0;
    if (!online) {
        for (ZLineEdit* field : numbers)
            field->SetText(QString());
        for (ZLineEdit* field : {ui->CircuitOutNumLineEdit, ui->DialWaitOffHookTimeLineEdit,
                                 ui->KeyControlStartLineEdit, ui->KeyControlEndLineEdit})
            field->SetText(QString());
        ui->VoiceSensitivityComboBox->SetSelectedIndex(-1);
        ui->ReserveSpaceTrackBar->SetValue1(10);
        ui->LoopUseStorageCheckBox->SetChecked(false);
        ui->SaveMissedCallCheckBox->SetChecked(false);
    } else {
        const uint8_t* record = CalvoxAPI_BaseSetting(device->Handle)->Bytes;
        for (int i = 0; i < 4; ++i)
            numbers[i]->SetText(QString::number(record[kMinRecordTime + i]));
        const auto outsideLine = static_cast<int8_t>(record[kOutsideLine]);
        ui->CircuitOutNumLineEdit->SetText(outsideLine > 0 ? QString(QLatin1Char(static_cast<char>(outsideLine)))
                                                           : QString());
        ui->KeyControlStartLineEdit->SetText(FieldText(record + kStartKey, kKeySize, record[kStartKeyLength]));
        ui->KeyControlEndLineEdit->SetText(FieldText(record + kStopKey, kKeySize, record[kStopKeyLength]));
        ui->DialWaitOffHookTimeLineEdit->SetText(playback ? QString::number(record[kDialWait]) : QString());
        ui->VoiceSensitivityComboBox->SetSelectedIndex(
            ListIndexOf(record[kSensitivity], ui->VoiceSensitivityComboBox->Items().size()));
        ui->ReserveSpaceTrackBar->SetValue1(record[kReserved]);
        ui->LoopUseStorageCheckBox->SetChecked(record[kRecycle] != 0);
        ui->SaveMissedCallCheckBox->SetChecked(record[kSaveMissed] != 0);
    }
    for (ZLineEdit* field : numbers)
        field->setEnabled(online);
    SetWidgetsEnabled({ui->CircuitOutNumLineEdit, ui->KeyControlStartLineEdit, ui->KeyControlEndLineEdit,
                       ui->VoiceSensitivityComboBox, ui->LoopUseStorageCheckBox, ui->SaveMissedCallCheckBox,
                       ui->CheckTimeButton, ui->SyncTimeButton, ui->UpdateBaseSettingButton,
                       ui->SaveBaseSettingButton},
                      online);
    SetWidgetsEnabled({ui->DialWaitOffHookTimeLineEdit, ui->UploadAudioFileButton, ui->DeleteAudioFileButton},
                      playback);
    ui->ReserveSpaceLabel->setVisible(online);
}

void MainForm::on_UpdateBaseSettingButton_Clicked()
{
    KesDevice* device = OnlineSettingDevice();
    DeviceHold hold;
    if (device == nullptr || !RunSectionCall(device, [device] { return device->GetBaseSetting(); }, &hold))
        return;
    FillBaseSetting(device);
}

void MainForm::on_SaveBaseSettingButton_Clicked()
{
    KesDevice* device = OnlineSettingDevice();
    if (device == nullptr || !MayChangeSettings(device, this))
        return;
    // From the recorder's own record: the bytes the page does not show go back as they came.
    Calvox_BaseSetting record = *CalvoxAPI_BaseSetting(device->Handle);
    uint8_t* bytes = record.Bytes;
    const uint8_t outsideLineBefore = bytes[kOutsideLine];
    bytes[kMinRecordTime] = ByteFieldValue(ui->RecordTimeMinLineEdit->Text());
    bytes[kMaxRecordTime] = ByteFieldValue(ui->RecordTimeMaxLineEdit->Text());
    bytes[kRingInterval] = ByteFieldValue(ui->RingEndTimeLineEdit->Text());
    bytes[kCallerIdLength] = ByteFieldValue(ui->PhoneNumLengthMinLineEdit->Text());
    // A model without playback shows no dialing wait: its byte goes back as it came.
    if (CalvoxAPI_IsSupportPlayBack(device->Handle) != 0)
        bytes[kDialWait] = ByteFieldValue(ui->DialWaitOffHookTimeLineEdit->Text());
    const QString outsideLine = ui->CircuitOutNumLineEdit->Text();
    bytes[kOutsideLine] =
        !outsideLine.isEmpty() && outsideLine[0].unicode() < 256 ? static_cast<uint8_t>(outsideLine[0].unicode()) : 0;
    bytes[kStartKeyLength] =
        static_cast<uint8_t>(PutFieldText(bytes + kStartKey, kKeySize, ui->KeyControlStartLineEdit->Text()));
    bytes[kStopKeyLength] =
        static_cast<uint8_t>(PutFieldText(bytes + kStopKey, kKeySize, ui->KeyControlEndLineEdit->Text()));
    bytes[kSensitivity] = ListIndexByte(ui->VoiceSensitivityComboBox->SelectedIndex(), bytes[kSensitivity]);
    bytes[kReserved] = static_cast<uint8_t>(ui->ReserveSpaceTrackBar->Value1());
    bytes[kRecycle] = ui->LoopUseStorageCheckBox->Checked() ? 1 : 0;
    bytes[kSaveMissed] = ui->SaveMissedCallCheckBox->Checked() ? 1 : 0;

    DeviceHold hold;
    if (!RunSectionCall(device, [device, &record] { return device->SetBaseSetting(&record); }, &hold))
        return;
    ShowResultTip(true, TextTips001, this);
    FillBaseSetting(device);
    // The record views name callers with the outside-line digit of the local device list.
    if (CalvoxAPI_BaseSetting(device->Handle)->Bytes[kOutsideLine] != outsideLineBefore)
        DeviceManage::UpdateLocalDevice(device);
}
