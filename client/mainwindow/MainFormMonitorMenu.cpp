// The monitor grid's context menu: a channel's settings, live listening, dialling and playing an announcement.
#include "MainForm.h"

#include "DeviceTabBar.h"
#include "DialForm.h"
#include "DialogFrame.h"
#include "KesDevice.h"
#include "LanguageTexts.h"
#include "MainFormGlobals.h"
#include "MainFormUi.h"
#include "WaitForm.h"
#include "WaitThread.h"
#include "WorkerPool.h"
#include "ZGridListData.h"
#include "ZMenu.h"
#include "ZMenuItem.h"

#include <QCursor>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

// The most names the recorder's announcement list holds, and the bytes of each name's slot.
const int kMaxPlayFiles = 20;
const int kPlayFileSlot = 28;

} // namespace

MainForm::MonitorRowTarget MainForm::SelectedMonitorRow() const
{
    MonitorRowTarget target;
    ZGridListRow* row = ui->MonitorGridList->SelectedRow;
    ZGridListData* table = ui->MonitorGridList->DataSource();
    if (!row || !table)
        return target;
    // The device writes its rows' cells on its heartbeat thread.
    table->Lock();
    if (table->Rows.contains(row) && row->CellCount() > 1) {
        target.Device = static_cast<KesDevice*>(row->UserData);
        target.Channel = row->Cells[1].Text.toInt() - 1;
    }
    table->Unlock();
    if (!target.Device || DeviceManage::IndexOfDevice(target.Device) < 0 || target.Channel < 0 ||
        target.Channel >= target.Device->Channels)
        return MonitorRowTarget();
    return target;
}

void MainForm::on_MonitorGridList_RightClicked()
{
    // Taken before the menu runs: an event handled inside its loop may make the grid re-read and drop the row.
    const MonitorRowTarget target = SelectedMonitorRow();
    if (!target.Device)
        return;
    m_MenuTarget = target;
    ZMenuItem* chosen = g_MonitorGridListMenu->exec(QCursor::pos());
    m_MenuTarget = MonitorRowTarget();
    // The device may have been removed while the menu was open.
    const int index = DeviceManage::IndexOfDevice(target.Device);
    if (!chosen || index < 0)
        return;
    if (chosen == g_MonitorMonitorItem)
        StartMonitor(target);
    else if (chosen == g_MonitorChannelSettingsItem)
        ShowChannelSettings(index, target.Channel);
    else if (chosen == g_MonitorDialItem) {
        g_DialForm->SetChannel(target.Device, target.Channel);
        g_DialForm->Show(true);
    }
}

void MainForm::StartMonitor(const MonitorRowTarget& target)
{
    if (!CalvoxAPI_Permission_Monitor(target.Device->Handle)) {
        ShowResultTip(false, TextTips012, this);
        return;
    }
    // Held, so that a removal while the task runs cannot delete the device under it.
    auto hold = std::make_shared<DeviceHold>(DeviceManage::HoldDevice(DeviceManage::IndexOfDevice(target.Device)));
    if (!*hold)
        return;
    const unsigned char channel = static_cast<unsigned char>(target.Channel);
    g_WaitForm->Thread->Task = [hold, channel]() {
        // One sound output: a record playing now would mix with the line.
        if (g_RecordPlayer) {
            g_RecordPlayer->Stop();
            g_RecordPlayer->wait();
        }
        hold->Device()->StartMonitor(channel);
    };
    g_WaitForm->Run();
}

void MainForm::ShowChannelSettings(int deviceIndex, int channel)
{
    g_SettingDeviceTabBar->SetSelectedDeviceIndex(deviceIndex);
    ui->MainTabControl->SetSelectedIndex(3);
    ui->SettingScrollPanel->SetVScrollBarValue(static_cast<int>(ui->BookmarkButton3->Tag));
    ui->ChannelSelectComboBox->SetSelectedIndex(channel);
}

void MainForm::MonitorGridListMenuHoverChangedEvent(int Index, ZMenuItem* Item)
{
    Q_UNUSED(Index);
    if (Item != g_MonitorPlayFileItem)
        return;
    const MonitorRowTarget target = m_MenuTarget;
    if (!target.Device || DeviceManage::IndexOfDevice(target.Device) < 0)
        return;
    // The list the device read at login; a copy, since a new login rewrites it on its own thread.
    const Calvox_PlayBackFileList* record = CalvoxAPI_PlayBackFileList(target.Device->Handle);
    if (!record)
        return;
    Calvox_PlayBackFileList list;
    std::memcpy(&list, record, sizeof list);
    const int count = std::min<int>(list.Count, kMaxPlayFiles);
    if (count == 0)
        return;

    ZMenu* menu = g_MonitorGridListPlayFileListMenu;
    menu->Clear();
    for (int i = 0; i < count; ++i) {
        const char* name = list.Names[i];
        menu->AddItem(QString::fromUtf8(name, static_cast<int>(strnlen(name, kPlayFileSlot))));
    }
    const QPoint corner = g_MonitorGridListMenu->mapToGlobal(
        QPoint(g_MonitorGridListMenu->width() - 1, g_MonitorGridListMenu->height() - 1));
    ZMenuItem* chosen = menu->exec(corner - QPoint(10, 10));
    if (!chosen)
        return;
    // Playing waits for the recorder: on a worker that holds the device, so the window keeps painting.
    auto hold = std::make_shared<DeviceHold>(DeviceManage::HoldDevice(DeviceManage::IndexOfDevice(target.Device)));
    if (!*hold)
        return;
    const QString file = chosen->Text;
    const int channel = target.Channel;
    DeviceWorkers()->Start([hold, channel, file]() { hold->Device()->PlayAudioFile(channel, file); });
}
