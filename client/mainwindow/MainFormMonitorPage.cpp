// The monitor page (live channels of one recorder or of all) and the online-user page.
#include "MainForm.h"

#include "DeviceTabBar.h"
#include "GridListSetting.h"
#include "KesDevice.h"
#include "LanguageTexts.h"
#include "MainFormGlobals.h"
#include "MainFormUi.h"
#include "ZGridListData.h"

namespace {

// A tab bar across the top of its panel, inset by `margin` on the left, top and right, as high as designed.
DeviceTabBar* MakeTabBar(bool allTab, QString* allText, ZPanel* panel, int margin)
{
    auto* bar = new DeviceTabBar(allTab, allText, panel);
    bar->setGeometry(margin, margin, panel->width() - 2 * margin, bar->height());
    return bar;
}

} // namespace

void MainForm::BuildMonitorPage()
{
    g_MonitorDeviceTabBar = MakeTabBar(true, &TextMisc005, ui->MonitorDeviceTabPanel, 10);
    g_MonitorDeviceTabBar->SetContainerBorderWidth(0);
    g_MonitorDeviceTabBar->SetSelectedDeviceIndex(DeviceTabBar::AllDevices);

    g_AllDevicesMonitorData = new ZGridListData(GridListSettingData::kMonitorColumns);
    // The devices write the rows this table borrows under its lock too, so painting it never meets a write.
    KesDevice::SharedMonitorTable = g_AllDevicesMonitorData;
    for (int width : GridListSetting.MonitorWidth)
        ui->MonitorGridList->AddColumn(width, QString());
    ui->MonitorGridList->ApplyColumn();
    ui->MonitorGridList->SetDataSource(g_AllDevicesMonitorData);

    connect(g_MonitorDeviceTabBar, &DeviceTabBar::SelectedDeviceIndexChanged, this,
            &MainForm::MonitorPageSelectedDeviceChangedEvent);
}

void MainForm::BuildOnlineUserPage()
{
    g_OnlineUserDeviceTabBar = MakeTabBar(false, nullptr, ui->OnlineUserDeviceTabPanel, 10);
    g_OnlineUserDeviceTabBar->SetContainerBorderWidth(0);
    for (int i = 0; i < 5; ++i)
        ui->OnlineUserGridList->AddColumn(150, QString());
    ui->OnlineUserGridList->ApplyColumn();
    connect(g_OnlineUserDeviceTabBar, &DeviceTabBar::SelectedDeviceIndexChanged, this,
            &MainForm::OnlineUserPageSelectedDeviceChangedEvent);
}

void MainForm::BuildSettingDeviceTabBar()
{
    // Its grey line under the tabs stays, as designed.
    g_SettingDeviceTabBar = MakeTabBar(false, nullptr, ui->SettingDeviceTabPanel, 20);
    connect(g_SettingDeviceTabBar, &DeviceTabBar::SelectedDeviceIndexChanged, this,
            &MainForm::SettingPageSelectedDeviceChangedEvent);
}

bool MainForm::ShownOnMonitorPage(KesDevice* device) const
{
    if (!g_MonitorDeviceTabBar)
        return false;
    const int selected = g_MonitorDeviceTabBar->SelectedDeviceIndex;
    return selected == DeviceTabBar::AllDevices || (selected >= 0 && DeviceManage::GetDevice(selected) == device);
}

void MainForm::MonitorPageSelectedDeviceChangedEvent(int DeviceIndex)
{
    ZGridListData* source = nullptr;
    if (DeviceIndex == DeviceTabBar::AllDevices) {
        source = g_AllDevicesMonitorData;
    } else if (KesDevice* device = DeviceManage::GetDevice(DeviceIndex)) {
        source = device->MonitorData;
    }
    ui->MonitorGridList->SetDataSource(source);
    ui->MonitorGridList->UpdateData();
}

void MainForm::OnlineUserPageSelectedDeviceChangedEvent(int DeviceIndex)
{
    KesDevice* device = DeviceManage::GetDevice(DeviceIndex);
    ui->OnlineUserGridList->SetDataSource(device ? device->OnlineUserData : nullptr);
    ui->OnlineUserGridList->UpdateData();
}

void MainForm::RefreshAllDevicesMonitorData()
{
    if (!g_AllDevicesMonitorData)
        return;
    // The table borrows the devices' own rows: a device's cell change shows in both views. It never deletes them.
    QList<ZGridListRow*> rows;
    for (int i = 0; i < DeviceManage::DeviceCount(); ++i) {
        KesDevice* device = DeviceManage::GetDevice(i);
        ZGridListData* table = device->MonitorData;
        table->Lock();
        for (int c = 0; c < device->Channels && c < table->Rows.size(); ++c)
            rows.append(table->Rows[c]);
        table->Unlock();
    }
    g_AllDevicesMonitorData->Lock();
    g_AllDevicesMonitorData->Rows = rows;
    g_AllDevicesMonitorData->Unlock();
    if (g_MonitorDeviceTabBar && g_MonitorDeviceTabBar->SelectedDeviceIndex == DeviceTabBar::AllDevices)
        ui->MonitorGridList->UpdateData();
}
