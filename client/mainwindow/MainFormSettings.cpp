// The settings page's frame: the settings device, bookmarks and the position indicator, the full refresh, the
// device clock and the rows repeated per weekday, time slot or key group.
#include "MainForm.h"

#include "DeviceTabBar.h"
#include "KesDevice.h"
#include "LanguageTexts.h"
#include "MainFormGlobals.h"
#include "MainFormUi.h"
#include "WaitForm.h"
#include "WaitThread.h"
#include "settings/SettingRules.h"

#include <QTimer>

namespace {

// The tag of a row widget of a two-dimensional table: the day in the high half, the slot in the low one.
qintptr PackDaySlot(int day, int slot)
{
    return (static_cast<qintptr>(day) << 16) | slot;
}

int TagDay(qintptr tag)
{
    return static_cast<int>(tag >> 16);
}

int TagSlot(qintptr tag)
{
    return static_cast<int>(tag & 0xffff);
}

// The sender's Tag, or -1 when the sender is not one of ours.
qintptr SenderTag(QObject* sender)
{
    auto* widget = qobject_cast<ZBase*>(sender);
    return widget != nullptr ? widget->Tag : -1;
}

} // namespace

KesDevice* MainForm::SettingDevice() const
{
    // The page's bar keeps the index right when devices are removed; until the page has its bar, the index its
    // last selection change reported.
    return DeviceManage::GetDevice(g_SettingDeviceTabBar != nullptr ? g_SettingDeviceTabBar->SelectedDeviceIndex
                                                                     : m_SettingDeviceIndex);
}

KesDevice* MainForm::OnlineSettingDevice() const
{
    KesDevice* device = SettingDevice();
    return device != nullptr && CalvoxAPI_ConnectStatus(device->Handle) == 2 ? device : nullptr;
}

bool MainForm::RunWaitTask(const std::function<int()>& call, int* result)
{
    int code = -1;
    g_WaitForm->Thread->Task = [&code, &call] { code = call(); };
    if (!g_WaitForm->Run())
        return false;
    *result = code;
    return true;
}

bool MainForm::RunOnSettingDevice(const std::function<int(KesDevice*)>& call, DeviceHold* hold, int* result)
{
    KesDevice* device = OnlineSettingDevice();
    if (device == nullptr)
        return false;
    *hold = HoldDevice(device);
    return *hold && RunWaitTask([device, &call] { return call(device); }, result);
}

void MainForm::InitSettingTables()
{
    Ui::MainForm* u = ui;
    ZButton* const copyButtons[7] = {u->AutoReplyCopyToButton1, u->AutoReplyCopyToButton2, u->AutoReplyCopyToButton3,
                                     u->AutoReplyCopyToButton4, u->AutoReplyCopyToButton5, u->AutoReplyCopyToButton6,
                                     u->AutoReplyCopyToButton7};
    ZCheckBox* const allDayBoxes[7] = {u->AllDayLongReplyCheckBox1, u->AllDayLongReplyCheckBox2,
                                       u->AllDayLongReplyCheckBox3, u->AllDayLongReplyCheckBox4,
                                       u->AllDayLongReplyCheckBox5, u->AllDayLongReplyCheckBox6,
                                       u->AllDayLongReplyCheckBox7};
    ZComboBox* const allDayCombos[7] = {u->AllDayLongReplyComboBox1, u->AllDayLongReplyComboBox2,
                                        u->AllDayLongReplyComboBox3, u->AllDayLongReplyComboBox4,
                                        u->AllDayLongReplyComboBox5, u->AllDayLongReplyComboBox6,
                                        u->AllDayLongReplyComboBox7};
    ZCheckBox* const slotBoxes[21] = {
        u->ReplyTimeSlotCheckBox1_1, u->ReplyTimeSlotCheckBox1_2, u->ReplyTimeSlotCheckBox1_3,
        u->ReplyTimeSlotCheckBox2_1, u->ReplyTimeSlotCheckBox2_2, u->ReplyTimeSlotCheckBox2_3,
        u->ReplyTimeSlotCheckBox3_1, u->ReplyTimeSlotCheckBox3_2, u->ReplyTimeSlotCheckBox3_3,
        u->ReplyTimeSlotCheckBox4_1, u->ReplyTimeSlotCheckBox4_2, u->ReplyTimeSlotCheckBox4_3,
        u->ReplyTimeSlotCheckBox5_1, u->ReplyTimeSlotCheckBox5_2, u->ReplyTimeSlotCheckBox5_3,
        u->ReplyTimeSlotCheckBox6_1, u->ReplyTimeSlotCheckBox6_2, u->ReplyTimeSlotCheckBox6_3,
        u->ReplyTimeSlotCheckBox7_1, u->ReplyTimeSlotCheckBox7_2, u->ReplyTimeSlotCheckBox7_3};
    ZHourMinutePicker* const slotPickers[21] = {
        u->ReplyTimeSlotPicker1_1, u->ReplyTimeSlotPicker1_2, u->ReplyTimeSlotPicker1_3,
        u->ReplyTimeSlotPicker2_1, u->ReplyTimeSlotPicker2_2, u->ReplyTimeSlotPicker2_3,
        u->ReplyTimeSlotPicker3_1, u->ReplyTimeSlotPicker3_2, u->ReplyTimeSlotPicker3_3,
        u->ReplyTimeSlotPicker4_1, u->ReplyTimeSlotPicker4_2, u->ReplyTimeSlotPicker4_3,
        u->ReplyTimeSlotPicker5_1, u->ReplyTimeSlotPicker5_2, u->ReplyTimeSlotPicker5_3,
        u->ReplyTimeSlotPicker6_1, u->ReplyTimeSlotPicker6_2, u->ReplyTimeSlotPicker6_3,
        u->ReplyTimeSlotPicker7_1, u->ReplyTimeSlotPicker7_2, u->ReplyTimeSlotPicker7_3};
    ZComboBox* const slotCombos[21] = {
        u->ReplyTimeSlotComboBox1_1, u->ReplyTimeSlotComboBox1_2, u->ReplyTimeSlotComboBox1_3,
        u->ReplyTimeSlotComboBox2_1, u->ReplyTimeSlotComboBox2_2, u->ReplyTimeSlotComboBox2_3,
        u->ReplyTimeSlotComboBox3_1, u->ReplyTimeSlotComboBox3_2, u->ReplyTimeSlotComboBox3_3,
        u->ReplyTimeSlotComboBox4_1, u->ReplyTimeSlotComboBox4_2, u->ReplyTimeSlotComboBox4_3,
        u->ReplyTimeSlotComboBox5_1, u->ReplyTimeSlotComboBox5_2, u->ReplyTimeSlotComboBox5_3,
        u->ReplyTimeSlotComboBox6_1, u->ReplyTimeSlotComboBox6_2, u->ReplyTimeSlotComboBox6_3,
        u->ReplyTimeSlotComboBox7_1, u->ReplyTimeSlotComboBox7_2, u->ReplyTimeSlotComboBox7_3};
    ZCheckBox* const groupBoxes[10] = {u->GroupCheckBox1, u->GroupCheckBox2, u->GroupCheckBox3, u->GroupCheckBox4,
                                       u->GroupCheckBox5, u->GroupCheckBox6, u->GroupCheckBox7, u->GroupCheckBox8,
                                       u->GroupCheckBox9, u->GroupCheckBox10};
    ZLineEdit* const groupEdits[10] = {u->GroupLineEdit1, u->GroupLineEdit2, u->GroupLineEdit3, u->GroupLineEdit4,
                                       u->GroupLineEdit5, u->GroupLineEdit6, u->GroupLineEdit7, u->GroupLineEdit8,
                                       u->GroupLineEdit9, u->GroupLineEdit10};
    ZComboBox* const groupCombos[10] = {u->GroupComboBox1, u->GroupComboBox2, u->GroupComboBox3, u->GroupComboBox4,
                                        u->GroupComboBox5, u->GroupComboBox6, u->GroupComboBox7, u->GroupComboBox8,
                                        u->GroupComboBox9, u->GroupComboBox10};
    // The record-time rows count their days from 0 in their names.
    ZCheckBox* const quantumBoxes[21] = {
        u->TimeQuantumCheckBox0_1, u->TimeQuantumCheckBox0_2, u->TimeQuantumCheckBox0_3,
        u->TimeQuantumCheckBox1_1, u->TimeQuantumCheckBox1_2, u->TimeQuantumCheckBox1_3,
        u->TimeQuantumCheckBox2_1, u->TimeQuantumCheckBox2_2, u->TimeQuantumCheckBox2_3,
        u->TimeQuantumCheckBox3_1, u->TimeQuantumCheckBox3_2, u->TimeQuantumCheckBox3_3,
        u->TimeQuantumCheckBox4_1, u->TimeQuantumCheckBox4_2, u->TimeQuantumCheckBox4_3,
        u->TimeQuantumCheckBox5_1, u->TimeQuantumCheckBox5_2, u->TimeQuantumCheckBox5_3,
        u->TimeQuantumCheckBox6_1, u->TimeQuantumCheckBox6_2, u->TimeQuantumCheckBox6_3};
    ZHourMinutePicker* const quantumPickers[21] = {
        u->TimeQuantumPicker0_1, u->TimeQuantumPicker0_2, u->TimeQuantumPicker0_3,
        u->TimeQuantumPicker1_1, u->TimeQuantumPicker1_2, u->TimeQuantumPicker1_3,
        u->TimeQuantumPicker2_1, u->TimeQuantumPicker2_2, u->TimeQuantumPicker2_3,
        u->TimeQuantumPicker3_1, u->TimeQuantumPicker3_2, u->TimeQuantumPicker3_3,
        u->TimeQuantumPicker4_1, u->TimeQuantumPicker4_2, u->TimeQuantumPicker4_3,
        u->TimeQuantumPicker5_1, u->TimeQuantumPicker5_2, u->TimeQuantumPicker5_3,
        u->TimeQuantumPicker6_1, u->TimeQuantumPicker6_2, u->TimeQuantumPicker6_3};

    for (int d = 0; d < 7; ++d) {
        AutoReplyCopyToButtons[d] = copyButtons[d];
        AllDayLongReplyCheckBoxes[d] = allDayBoxes[d];
        AllDayLongReplyComboBoxes[d] = allDayCombos[d];
        allDayBoxes[d]->Tag = d;
        connect(allDayBoxes[d], &ZCheckBox::CheckedChanged, this, &MainForm::AllDayLongReplyCheckedChangedEvent);
        for (int s = 0; s < 3; ++s) {
            const int i = 3 * d + s;
            ReplyTimeSlotCheckBoxes[i] = slotBoxes[i];
            ReplyTimeSlotPickers[i] = slotPickers[i];
            ReplyTimeSlotComboBoxes[i] = slotCombos[i];
            TimeQuantumCheckBoxes[i] = quantumBoxes[i];
            TimeQuantumPickers[i] = quantumPickers[i];
            slotBoxes[i]->Tag = PackDaySlot(d, s);
            quantumBoxes[i]->Tag = PackDaySlot(d, s);
            connect(slotBoxes[i], &ZCheckBox::CheckedChanged, this, &MainForm::ReplyTimeSlotCheckedChangedEvent);
            connect(quantumBoxes[i], &ZCheckBox::CheckedChanged, this,
                    &MainForm::RecordTimeQuantumCheckedChangedEvent);
        }
    }
    for (int g = 0; g < 10; ++g) {
        GroupCheckBoxes[g] = groupBoxes[g];
        GroupLineEdits[g] = groupEdits[g];
        GroupComboBoxes[g] = groupCombos[g];
        groupBoxes[g]->Tag = g;
        connect(groupBoxes[g], &ZCheckBox::CheckedChanged, this, &MainForm::GroupCheckBoxCheckedChangedEvent);
    }
}

void MainForm::BookmarkClickEvent()
{
    const qintptr location = SenderTag(sender());
    if (location >= 0)
        ui->SettingScrollPanel->SetVScrollBarValue(static_cast<int>(location));
}

void MainForm::on_SettingScrollPanel_VScrollLocationChanged(int location)
{
    // The thresholds are read from the buttons at every call: the Tags are the sections' positions.
    const ZButton* const bookmarks[10] = {ui->BookmarkButton1, ui->BookmarkButton2, ui->BookmarkButton3,
                                          ui->BookmarkButton4, ui->BookmarkButton5, ui->BookmarkButton6,
                                          ui->BookmarkButton7, ui->BookmarkButton8, ui->BookmarkButton9,
                                          ui->BookmarkButton10};
    qintptr tags[10];
    for (int i = 0; i < 10; ++i)
        tags[i] = bookmarks[i]->Tag;
    ui->BookmarkTrackBar->SetValue1(BookmarkIndicatorValue(location, tags));
}

void MainForm::SettingPageSelectedDeviceChangedEvent(int DeviceIndex)
{
    m_SettingDeviceIndex = DeviceIndex;
    KesDevice* device = DeviceManage::GetDevice(DeviceIndex);
    RefreshDeviceTime(false);
    RefreshSettingPage(device);
}

void MainForm::RefreshSettingPage(KesDevice* device)
{
    if (device != SettingDevice())
        return;
    const bool connected = device != nullptr && CalvoxAPI_ConnectStatus(device->Handle) == 2;

    FillDeviceInfo(device);
    FillConnectState(device);
    FillStorageStatus(device);
    FillCloudStatus(device);
    FillDeviceTime(device);
    FillChannelStatus(device);
    FillPlayBackFiles(device);
    FillBaseSetting(device);
    FillKeyControlSetting(device);
    FillNetSetting(device);
    FillSMDRSetting(device);
    FillUserList(device);
    // The fills above may run a wait, during which the selection can change.
    if (device == SettingDevice())
        FillRecordTimeSetting(device);
    FillScheduledRestartSetting(device);
    FillLogList(device);

    // The channel selector: its selection change fills the channel section (for channel 0 after a rebuild).
    ZComboBox* channels = ui->ChannelSelectComboBox;
    if (!connected) {
        channels->SetSelectedIndex(-1);
        return;
    }
    channels->Tag = 1;  // the rebuild's own selection changes are not the operator's
    channels->SetSelectedIndex(-1);
    QStringList items;
    for (int n = 1; n <= device->Channels; ++n)
        items << TextMisc023 + QLatin1Char(' ') + QString::number(n);
    channels->SetItems(items);
    channels->Tag = 0;
    channels->SetSelectedIndex(0);
}

void MainForm::RefreshDeviceTime(bool fill)
{
    KesDevice* device = OnlineSettingDevice();
    if (device == nullptr)
        return;
    // A wait runs already (a device change reached us from inside it): a second wait here would run inside the
    // first one's loop while the first task may wait for this thread. Read the clock once that wait is over.
    const auto putOff = [this] {
        if (m_DeviceTimePending)
            return;
        m_DeviceTimePending = true;
        QTimer::singleShot(20, this, [this] {
            m_DeviceTimePending = false;
            // The page showed the clock it had while the read waited: show the one read now.
            RefreshDeviceTime(true);
        });
    };
    if (g_WaitForm->Thread->isRunning()) {
        putOff();
        return;
    }
    // Held: the device may leave the list while the read waits.
    const DeviceHold hold = HoldDevice(device);
    if (!hold)
        return;
    int result = -1;
    if (!RunWaitTask([device] { return device->GetTime(); }, &result)) {
        putOff();
        return;
    }
    if (result == 0 && fill)
        FillDeviceTime(device);
}

void MainForm::AllDayLongReplyCheckedChangedEvent(bool checked)
{
    const qintptr day = SenderTag(sender());
    if (day < 0 || day >= 7)
        return;
    AllDayLongReplyComboBoxes[day]->setEnabled(checked);
    for (int s = 0; s < 3; ++s) {
        const int i = 3 * static_cast<int>(day) + s;
        ReplyTimeSlotCheckBoxes[i]->setEnabled(!checked);
        const bool slotOn = ReplyTimeSlotCheckBoxes[i]->Checked() && !checked;
        ReplyTimeSlotPickers[i]->setEnabled(slotOn);
        ReplyTimeSlotComboBoxes[i]->setEnabled(slotOn);
    }
}

void MainForm::ReplyTimeSlotCheckedChangedEvent(bool checked)
{
    const qintptr tag = SenderTag(sender());
    const int day = TagDay(tag);
    const int slot = TagSlot(tag);
    if (tag < 0 || day >= 7 || slot >= 3)
        return;
    const bool on = checked && !AllDayLongReplyCheckBoxes[day]->Checked();
    ReplyTimeSlotPickers[3 * day + slot]->setEnabled(on);
    ReplyTimeSlotComboBoxes[3 * day + slot]->setEnabled(on);
}

void MainForm::GroupCheckBoxCheckedChangedEvent(bool checked)
{
    const qintptr group = SenderTag(sender());
    if (group < 0 || group >= 10)
        return;
    GroupLineEdits[group]->setEnabled(checked);
    GroupComboBoxes[group]->setEnabled(checked);
}

void MainForm::RecordTimeQuantumCheckedChangedEvent(bool checked)
{
    const qintptr tag = SenderTag(sender());
    const int day = TagDay(tag);
    const int quantum = TagSlot(tag);
    if (tag < 0 || day >= 7 || quantum >= 3)
        return;
    TimeQuantumPickers[3 * day + quantum]->setEnabled(checked && ui->EnableRecordTimeQuantumCheckBox->Checked());
}
