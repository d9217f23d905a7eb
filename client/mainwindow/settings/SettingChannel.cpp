// The settings page's channel section (record trigger, name, power-off alarm, line-voltage thresholds,
// announcement and the weekly auto-answer schedule of one channel), its copies to other days and channels, and
// the channel-status line of the device section.
#include "MainForm.h"

#include "ChannelSelectForm.h"
#include "DialogFrame.h"
#include "KesDevice.h"
#include "LanguageTexts.h"
#include "MainFormGlobals.h"
#include "MainFormUi.h"
#include "WeekSelectForm.h"
#include "settings/SectionDevice.h"
#include "settings/SectionFields.h"
#include "settings/SettingRules.h"

#include <cstring>
#include <vector>

namespace {

// Record layout: day d's 128 bytes from 128 x d (three 33-byte slots: switch, start hour and minute, end hour
// and minute, 28-byte file name; then the all-day switch at 99 and its file at 100), then one byte each from
// 896 and the name and announcement file of 28 bytes.
constexpr int kDaySize = 128;
constexpr int kSlotSize = 33;
constexpr int kAllDay = 99;
constexpr int kAllDayFile = 100;
constexpr int kLostWarning = 896;
constexpr int kAnnouncement = 897;
constexpr int kSaveAnnouncement = 898;
constexpr int kRecordMode = 899;
constexpr int kAutoReply = 900;
constexpr int kSaveAutoReply = 901;
constexpr int kRingCount = 902;
constexpr int kMessageTime = 903;
constexpr int kVoltages = 904;  // lost, on-hook, off-hook, ringing
constexpr int kName = 908;
constexpr int kAnnouncementFile = 936;
constexpr int kTextSize = 28;
// The longest name the recorder keeps with its terminating zero.
constexpr int kNameBytes = 27;

const QColor kFieldGrey(100, 100, 100);
const QColor kDetectedRed(255, 0, 0);

std::array<ZLineEdit*, 4> VoltageFields(Ui::MainForm* ui)
{
    return {ui->LostVoltageLineEdit, ui->OnHookVoltageLineEdit, ui->OffHookVoltageLineEdit, ui->RingVoltageLineEdit};
}

QString NameText(const uint8_t* field)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(field), static_cast<int>(qstrnlen(
                                                                          reinterpret_cast<const char*>(field), kTextSize)));
}

}  // namespace

void MainForm::FillChannelStatus(KesDevice* device)
{
    if (device != SettingDevice())
        return;
    if (!SectionDeviceOnline(device)) {
        ui->DeviceChannelStatusLabel->SetText(QString());
        return;
    }
    const bool abnormal = device->Abnormal;
    ui->DeviceChannelStatusLabel->SetForeColor(abnormal ? kDetectedRed : kFieldGrey);
    ui->DeviceChannelStatusLabel->SetText(abnormal ? TextDevice022 : TextDevice021);
}

void MainForm::on_ChannelSelectComboBox_SelectedIndexChanged(int index)
{
    if (ui->ChannelSelectComboBox->Tag != 0)
        return;
    FillChannelSetting(SettingDevice(), index);
}

void MainForm::FillChannelSetting(KesDevice* device, int channel)
{
    if (device != SettingDevice())
        return;
    const uint8_t* record = nullptr;
    if (SectionDeviceOnline(device) && channel >= 0) {
        // Null for a channel the SDK does not have: shown like an offline device.
        const Calvox_ChannelSetting* setting = CalvoxAPI_ChannelSetting(device->Handle, channel);
        record = setting != nullptr ? setting->Bytes : nullptr;
    }
    const std::array<ZLineEdit*, 4> voltages = VoltageFields(ui);
    const bool playback = record != nullptr && CalvoxAPI_IsSupportPlayBack(device->Handle) != 0;
    if (record == nullptr) {
        // The weekday widgets stay; they follow the auto-answer switch.
        ui->RecordConditionComboBox->SetSelectedIndex(-1);
        ui->AnnouncementComboBox->SetSelectedIndex(-1);
        ui->ChannelNameLineEdit->SetText(QString());
        for (ZLineEdit* field : voltages)
            field->SetText(QString());
        ui->AutoReplyRingCountLineEdit->SetText(QString());
        ui->LeaveWordTimeLineEdit->SetText(QString());
        for (ZCheckBox* box : {ui->AnnouncementCheckBox, ui->SaveAnnouncementCheckBox, ui->LostWarningCheckBox,
                               ui->AutoReplyCheckBox, ui->SaveAutoReplyCheckBox})
            box->SetChecked(false);
    } else {
        ui->RecordConditionComboBox->SetSelectedIndex(
            ListIndexOf(record[kRecordMode], ui->RecordConditionComboBox->Items().size()));
        ui->ChannelNameLineEdit->SetText(NameText(record + kName));
        ui->LostWarningCheckBox->SetChecked(record[kLostWarning] != 0);
        ui->AnnouncementCheckBox->SetChecked(record[kAnnouncement] != 0 && playback);
        ui->SaveAnnouncementCheckBox->SetChecked(record[kSaveAnnouncement] != 0 && playback);
        for (int i = 0; i < 4; ++i)
            voltages[i]->SetText(QString::number(record[kVoltages + i]));
        ui->AutoReplyCheckBox->SetChecked(record[kAutoReply] != 0 && playback);
        ui->SaveAutoReplyCheckBox->SetChecked(record[kSaveAutoReply] != 0 && playback);
        ui->AutoReplyRingCountLineEdit->SetText(playback ? QString::number(record[kRingCount]) : QString());
        ui->LeaveWordTimeLineEdit->SetText(playback ? QString::number(record[kMessageTime]) : QString());
        for (int d = 0; d < 7; ++d) {
            const uint8_t* day = record + kDaySize * d;
            AllDayLongReplyCheckBoxes[d]->SetChecked(day[kAllDay] != 0);
            for (int s = 0; s < 3; ++s) {
                const uint8_t* slot = day + kSlotSize * s;
                ReplyTimeSlotCheckBoxes[3 * d + s]->SetChecked(slot[0] != 0);
                ZHourMinutePicker* picker = ReplyTimeSlotPickers[3 * d + s];
                picker->SetStartHour(slot[1]);
                picker->SetStartMinute(slot[2]);
                picker->SetEndHour(slot[3]);
                picker->SetEndMinute(slot[4]);
            }
        }
        FillChannelFileCombos(device, channel);
        for (ZLineEdit* field : {ui->LostVoltageLineEdit, ui->OffHookVoltageLineEdit, ui->OnHookVoltageLineEdit})
            field->SetForeColor(kFieldGrey);
    }
    const bool enabled = record != nullptr;
    SetWidgetsEnabled({ui->ChannelSelectComboBox, ui->RecordConditionComboBox, ui->ChannelNameLineEdit,
                       ui->LostWarningCheckBox, ui->CheckLostVoltageButton, ui->CheckOffHookVoltageButton,
                       ui->CheckOnHookVoltageButton, ui->UpdateChannelSettingButton, ui->SaveChannelSettingButton,
                       ui->ChannelSettingCopyToButton},
                      enabled);
    for (ZLineEdit* field : voltages)
        field->setEnabled(enabled);
    SetWidgetsEnabled({ui->AnnouncementCheckBox, ui->AutoReplyCheckBox}, playback);
}

void MainForm::FillChannelFileCombos(KesDevice* device, int channel)
{
    if (device == nullptr || device != SettingDevice() || channel < 0 || channel >= device->Channels)
        return;
    const Calvox_ChannelSetting* setting = CalvoxAPI_ChannelSetting(device->Handle, channel);
    const QStringList names = PlayBackFileNames(CalvoxAPI_PlayBackFileList(device->Handle));
    if (setting == nullptr || names.isEmpty())
        return;
    const uint8_t* record = setting->Bytes;
    ui->AnnouncementComboBox->SetSelectedIndex(FileNameIndex(record + kAnnouncementFile, names));
    for (int d = 0; d < 7; ++d) {
        const uint8_t* day = record + kDaySize * d;
        AllDayLongReplyComboBoxes[d]->SetSelectedIndex(FileNameIndex(day + kAllDayFile, names));
        for (int s = 0; s < 3; ++s)
            ReplyTimeSlotComboBoxes[3 * d + s]->SetSelectedIndex(FileNameIndex(day + kSlotSize * s + 5, names));
    }
}

void MainForm::on_AnnouncementCheckBox_CheckedChanged(bool checked)
{
    SetWidgetsEnabled({ui->AnnouncementComboBox, ui->SaveAnnouncementCheckBox}, checked);
}

void MainForm::on_AutoReplyCheckBox_CheckedChanged(bool checked)
{
    SetWidgetsEnabled({ui->SaveAutoReplyCheckBox, ui->AutoReplyRingCountLineEdit, ui->LeaveWordTimeLineEdit}, checked);
    ui->WeekTabControl->SetSelectedIndex(checked ? 0 : -1);
    ui->WeekTabControl->setEnabled(checked);
}

bool MainForm::CheckChannelSettingInput()
{
    if (ui->ChannelNameLineEdit->Text().toUtf8().size() > kNameBytes) {
        ShowInputTip(ui->ChannelNameLineEdit, TextTips013);
        return false;
    }
    // Enabled in effect: a box on a disabled page or under the disabled week tabs does not count.
    if (ui->AnnouncementComboBox->isEnabled() && ui->AnnouncementComboBox->SelectedIndex() < 0) {
        ShowInputTip(ui->AnnouncementComboBox, TextTips014);
        return false;
    }
    if (!ui->AutoReplyCheckBox->Checked())
        return true;
    for (int d = 0; d < 7; ++d) {
        ZComboBox* const boxes[4] = {AllDayLongReplyComboBoxes[d], ReplyTimeSlotComboBoxes[3 * d],
                                     ReplyTimeSlotComboBoxes[3 * d + 1], ReplyTimeSlotComboBoxes[3 * d + 2]};
        for (ZComboBox* box : boxes) {
            if (box->isEnabled() && box->SelectedIndex() < 0) {
                ui->WeekTabControl->SetSelectedIndex(d);
                ShowInputTip(box, TextTips014);
                return false;
            }
        }
    }
    return true;
}

void MainForm::PutChannelPage(uint8_t* record, bool playback, bool withName)
{
    record[kLostWarning] = ui->LostWarningCheckBox->Checked() ? 1 : 0;
    record[kRecordMode] = ListIndexByte(ui->RecordConditionComboBox->SelectedIndex(), record[kRecordMode]);
    const std::array<ZLineEdit*, 4> voltages = VoltageFields(ui);
    for (int i = 0; i < 4; ++i)
        record[kVoltages + i] = ByteFieldValue(voltages[i]->Text());
    if (withName) {
        const QByteArray name = ui->ChannelNameLineEdit->Text().toUtf8().left(kNameBytes);
        std::memset(record + kName, 0, kTextSize);
        std::memcpy(record + kName, name.constData(), static_cast<size_t>(name.size()));
    }
    // A model without playback shows none of these: they go back as the recorder gave them.
    if (playback) {
        record[kAnnouncement] = ui->AnnouncementCheckBox->Checked() ? 1 : 0;
        record[kSaveAnnouncement] = ui->SaveAnnouncementCheckBox->Checked() ? 1 : 0;
        record[kAutoReply] = ui->AutoReplyCheckBox->Checked() ? 1 : 0;
        record[kSaveAutoReply] = ui->SaveAutoReplyCheckBox->Checked() ? 1 : 0;
        record[kRingCount] = ByteFieldValue(ui->AutoReplyRingCountLineEdit->Text());
        record[kMessageTime] = ByteFieldValue(ui->LeaveWordTimeLineEdit->Text());
    }
    PutFieldText(record + kAnnouncementFile, kTextSize, ui->AnnouncementComboBox->SelectedText());
    for (int d = 0; d < 7; ++d) {
        uint8_t* day = record + kDaySize * d;
        day[kAllDay] = AllDayLongReplyCheckBoxes[d]->Checked() ? 1 : 0;
        PutFieldText(day + kAllDayFile, kTextSize, AllDayLongReplyComboBoxes[d]->SelectedText());
        for (int s = 0; s < 3; ++s) {
            uint8_t* slot = day + kSlotSize * s;
            const ZHourMinutePicker* picker = ReplyTimeSlotPickers[3 * d + s];
            slot[0] = ReplyTimeSlotCheckBoxes[3 * d + s]->Checked() ? 1 : 0;
            slot[1] = static_cast<uint8_t>(picker->StartHour());
            slot[2] = static_cast<uint8_t>(picker->StartMinute());
            slot[3] = static_cast<uint8_t>(picker->EndHour());
            slot[4] = static_cast<uint8_t>(picker->EndMinute());
            PutFieldText(slot + 5, kTextSize, ReplyTimeSlotComboBoxes[3 * d + s]->SelectedText());
        }
    }
}

void MainForm::on_SaveChannelSettingButton_Clicked()
{
    KesDevice* device = OnlineSettingDevice();
    const int channel = ui->ChannelSelectComboBox->SelectedIndex();
    if (device == nullptr || channel < 0)
        return;
    const Calvox_ChannelSetting* cached = CalvoxAPI_ChannelSetting(device->Handle, channel);
    if (cached == nullptr || !MayChangeSettings(device, this) || !CheckChannelSettingInput())
        return;
    // From the recorder's own record: the bytes the page does not show go back as they came.
    Calvox_ChannelSetting record = *cached;
    PutChannelPage(record.Bytes, CalvoxAPI_IsSupportPlayBack(device->Handle) != 0, true);
    DeviceHold hold;
    if (!RunSectionCall(device, [device, channel, &record] { return device->SetChannelSetting(channel, &record); },
                        &hold))
        return;
    for (ZLineEdit* field : {ui->LostVoltageLineEdit, ui->OffHookVoltageLineEdit, ui->OnHookVoltageLineEdit})
        field->SetForeColor(kFieldGrey);
    device->CheckChannelAbnormal();
    FillChannelStatus(device);
    ShowResultTip(true, TextTips001, this);
}

void MainForm::on_UpdateChannelSettingButton_Clicked()
{
    KesDevice* device = OnlineSettingDevice();
    const int channel = ui->ChannelSelectComboBox->SelectedIndex();
    if (device == nullptr || channel < 0)
        return;
    DeviceHold hold;
    if (!RunSectionCall(device, [device, channel] { return device->GetChannelSetting(channel); }, &hold))
        return;
    FillChannelSetting(device, channel);
}

void MainForm::on_ChannelSettingCopyToButton_Clicked()
{
    KesDevice* device = OnlineSettingDevice();
    if (device == nullptr || !MayChangeSettings(device, this) || !CheckChannelSettingInput())
        return;
    const int count = qBound(0, device->Channels, 64);
    bool flags[64];
    std::fill(flags, flags + 64, true);
    if (g_ChannelSelectForm->Exec(count, flags) == 0)
        return;
    // Each channel starts from its own record and keeps its own name: only the channel shown takes the page's.
    const int shown = ui->ChannelSelectComboBox->SelectedIndex();
    const bool playback = CalvoxAPI_IsSupportPlayBack(device->Handle) != 0;
    std::vector<std::pair<int, Calvox_ChannelSetting>> records;
    for (int c = 0; c < count; ++c) {
        const Calvox_ChannelSetting* cached = flags[c] ? CalvoxAPI_ChannelSetting(device->Handle, c) : nullptr;
        if (cached == nullptr)
            continue;
        records.emplace_back(c, *cached);
        PutChannelPage(records.back().second.Bytes, playback, c == shown);
    }
    RunSectionWrite(device, [device, &records] {
        for (auto& [channel, record] : records) {
            if (const int r = device->SetChannelSetting(channel, &record); r != 0)
                return r;
        }
        return 0;
    });
}

void MainForm::AutoReplyCopyToButtonClickedEvent()
{
    KesDevice* device = SettingDevice();
    auto* button = qobject_cast<ZBase*>(sender());
    if (!SectionDeviceOnline(device) || button == nullptr)
        return;
    const int from = static_cast<int>(button->Tag);
    if (from < 0 || from > 6)
        return;
    bool flags[7] = {};
    if (g_WeekSelectForm->Exec(from, flags) == 0)
        return;
    flags[from] = false;
    for (int d = 0; d < 7; ++d) {
        if (!flags[d])
            continue;
        AllDayLongReplyCheckBoxes[d]->SetChecked(AllDayLongReplyCheckBoxes[from]->Checked());
        AllDayLongReplyComboBoxes[d]->SetSelectedIndex(AllDayLongReplyComboBoxes[from]->SelectedIndex());
        for (int s = 0; s < 3; ++s) {
            const int a = 3 * from + s;
            const int b = 3 * d + s;
            ReplyTimeSlotCheckBoxes[b]->SetChecked(ReplyTimeSlotCheckBoxes[a]->Checked());
            ReplyTimeSlotPickers[b]->SetStartHour(ReplyTimeSlotPickers[a]->StartHour());
            ReplyTimeSlotPickers[b]->SetStartMinute(ReplyTimeSlotPickers[a]->StartMinute());
            ReplyTimeSlotPickers[b]->SetEndHour(ReplyTimeSlotPickers[a]->EndHour());
            ReplyTimeSlotPickers[b]->SetEndMinute(ReplyTimeSlotPickers[a]->EndMinute());
            ReplyTimeSlotComboBoxes[b]->SetSelectedIndex(ReplyTimeSlotComboBoxes[a]->SelectedIndex());
        }
    }
}

void MainForm::DetectChannelVoltage(ZLineEdit* field)
{
    KesDevice* device = OnlineSettingDevice();
    const int channel = ui->ChannelSelectComboBox->SelectedIndex();
    if (device == nullptr || channel < 0)
        return;
    // A failed detection leaves the field as it was, without a word.
    DeviceHold hold = HoldDevice(device);
    int voltage = 0;
    int result = -1;
    if (!hold || !RunWaitTask([device, channel, &voltage] { return device->GetChannelVoltage(channel, &voltage); },
                              &result) || result != 0)
        return;
    field->SetText(QString::number(voltage));
    field->SetForeColor(kDetectedRed);
}

void MainForm::on_CheckLostVoltageButton_Clicked() { DetectChannelVoltage(ui->LostVoltageLineEdit); }
void MainForm::on_CheckOffHookVoltageButton_Clicked() { DetectChannelVoltage(ui->OffHookVoltageLineEdit); }
void MainForm::on_CheckOnHookVoltageButton_Clicked() { DetectChannelVoltage(ui->OnHookVoltageLineEdit); }
