// The monitor page (live channels of one recorder or of all) and the online-user page.
#include "MainForm.h"

#include "GridListSetting.h"
#include "MainFormGlobals.h"
#include "MainFormUi.h"
#include "ZGridListData.h"

void MainForm::BuildMonitorPage()
{
    // g_MonitorDeviceTabBar: made here by the device tab bar's code, before the grid.
    g_AllDevicesMonitorData = new ZGridListData(GridListSettingData::kMonitorColumns);
    for (int width : GridListSetting.MonitorWidth)
        ui->MonitorGridList->AddColumn(width, QString());
    ui->MonitorGridList->ApplyColumn();
    ui->MonitorGridList->SetDataSource(g_AllDevicesMonitorData);
}

void MainForm::BuildOnlineUserPage()
{
    // g_OnlineUserDeviceTabBar: made here by the device tab bar's code.
    for (int i = 0; i < 5; ++i)
        ui->OnlineUserGridList->AddColumn(150, QString());
    ui->OnlineUserGridList->ApplyColumn();
}

void MainForm::MonitorPageSelectedDeviceChangedEvent(int DeviceIndex)
{
    Q_UNUSED(DeviceIndex);
}

void MainForm::OnlineUserPageSelectedDeviceChangedEvent(int DeviceIndex)
{
    Q_UNUSED(DeviceIndex);
}

void MainForm::MonitorGridListMenuHoverChangedEvent(int Index, ZMenuItem* Item)
{
    Q_UNUSED(Index);
    Q_UNUSED(Item);
}
