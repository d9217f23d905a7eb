// Device list changes and device events reach the window here, on the GUI thread.
#include "MainForm.h"

#include "ContactsEditForm.h"
#include "DevicePopups.h"
#include "DialForm.h"
#include "KesDevice.h"
#include "MainFormGlobals.h"
#include "MainFormUi.h"
#include "SoftwareSetting.h"
#include "WorkerPool.h"
#include "store/RecordSearch.h"
#include "ZGridListData.h"
#include "contacts/Contacts.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <memory>

void MainForm::DeviceListChangedEvent(DeviceManageEvent Event, KesDevice* Device, int DeviceIndex)
{
    Q_UNUSED(DeviceIndex);
    // The device's events come through DeviceManage's relayed signal, connected once: nothing to wire here.
    switch (Event) {
    case DeviceAdded:
        RefreshAllDevicesMonitorData();
        break;
    case DeviceRemoved:
        RefreshAllDevicesMonitorData();
        if (Device)
            ForgetRemovedDevice(Device);
        break;
    case LocalDeviceChanged:
        if (ui->SearchTargetComboBox->SelectedIndex() == 1)
            RefreshSearchDeviceComboBox();
        break;
    default:
        break;
    }
}

void MainForm::ForgetRemovedDevice(KesDevice* device)
{
    // The device is deleted once this event is over: no grid may keep drawing one of its tables.
    const ZGridListData* tables[] = {device->MonitorData, device->OnlineUserData, device->RecordData,
                                     device->UserListData};
    for (ZGridList* grid : {ui->MonitorGridList, ui->OnlineUserGridList, ui->RecordGridList, ui->UserListGridList}) {
        const ZGridListData* shown = grid->DataSource();
        if (shown != nullptr && std::find(std::begin(tables), std::end(tables), shown) != std::end(tables)) {
            grid->SetDataSource(nullptr);
            grid->UpdateData();
        }
    }
    // A record of the device that is playing is downloaded from it as it plays.
    if (g_RecordPlayer && g_RecordPlayer->IsPlaying() && g_RecordSearchCondition.Target == 0 &&
        g_RecordSearchCondition.Device == device->Name)
        g_RecordPlayer->Stop();
}

void MainForm::SyncDeviceTime(KesDevice* device)
{
    // Setting the clock waits for the recorder (seconds when it does not answer): not on the GUI thread. The hold
    // keeps the device alive until the call is over, even when it is removed meanwhile.
    auto hold = std::make_shared<DeviceHold>(DeviceManage::HoldDevice(DeviceManage::IndexOfDevice(device)));
    if (!*hold)
        return;
    DeviceWorkers()->Start([hold] { hold->Device()->SetTime(); });
}

WorkerPool* MainForm::DeviceWorkers()
{
    if (!m_DeviceWorkers)
        m_DeviceWorkers = std::make_unique<WorkerPool>();
    return m_DeviceWorkers.get();
}

void MainForm::DeviceEventDispose(KesDevice* Device, Calvox_EventType Event, unsigned char* Data, int Length)
{
    // The pointer argument carries the channel index, not an address.
    const int channel = static_cast<int>(reinterpret_cast<intptr_t>(Data));
    switch (Event) {
    case Calvox_Event_ConnectStatus:
        if (CalvoxAPI_ConnectStatus(Device->Handle) == 2) {
            DeviceManage::SaveDeviceVersion(Device);
            if (g_SoftwareSetting.AutoSyncTime)
                SyncDeviceTime(Device);
        }
        RefreshSettingPage(Device);
        if (ShownOnMonitorPage(Device))
            ui->MonitorGridList->update();
        // The device's rows appear or hide with its connection: the grid re-reads whatever it shows.
        ui->MonitorGridList->UpdateData();
        // The record page offers the recorders that are online.
        if (ui->SearchTargetComboBox->SelectedIndex() == 0)
            RefreshSearchDeviceComboBox();
        break;
    case Calvox_Event_StorageStatus:
        // The recorder's announcement files may have changed with its storage: every list offering them, and
        // the files the shown channel and key groups use.
        FillStorageStatus(Device);
        FillPlayBackFiles(Device);
        FillChannelFileCombos(Device, ui->ChannelSelectComboBox->SelectedIndex());
        FillKeyControlFileCombos(Device);
        break;
    case Calvox_Event_CloudServer:
        FillCloudStatus(Device);
        break;
    case Calvox_Event_ChannelStatus:
        FillChannelStatus(Device);
        if (ShownOnMonitorPage(Device))
            ui->MonitorGridList->update();
        break;
    case Calvox_Event_TalkTime:
        if (ShownOnMonitorPage(Device))
            ui->MonitorGridList->update();
        break;
    default:
        break;
    }
    if (m_Popups)
        m_Popups->DeviceEventDispose(Device, Event, channel, Length);
    if (g_DialForm)
        g_DialForm->DeviceEventDispose(Device, Event, channel, Length);
}

void MainForm::PopupAddContactEvent(QString Number)
{
    if (!g_ContactsEditForm)
        return;
    if (g_ContactsEditForm->Exec(false, Number) == 0)
        return;
    AddContact(g_ContactsEditForm->BookPath, g_ContactsEditForm->Contact);
    ui->ContactsGridList->UpdateData();
}
