#include "MainFormGlobals.h"

RecordPlayer* g_RecordPlayer = nullptr;
BackupThread* g_BackupThread = nullptr;

SoftwareSettingForm* g_SoftwareSettingForm = nullptr;
AddUserForm* g_AddUserForm = nullptr;
ContactsEditForm* g_ContactsEditForm = nullptr;
ChannelSelectForm* g_ChannelSelectForm = nullptr;
WeekSelectForm* g_WeekSelectForm = nullptr;
SkinForm* g_SkinForm = nullptr;
DeviceManageForm* g_DeviceManageForm = nullptr;
RecordStatisticsForm* g_RecordStatisticsForm = nullptr;

QSystemTrayIcon* g_TrayIcon = nullptr;

ZMenu* g_TrayIconMenu = nullptr;
ZMenuItem* g_TrayIconShowItem = nullptr;
ZMenuItem* g_TrayIconExitItem = nullptr;

ZMenu* g_MonitorGridListMenu = nullptr;
ZMenuItem* g_MonitorChannelSettingsItem = nullptr;
ZMenuItem* g_MonitorMonitorItem = nullptr;
ZMenuItem* g_MonitorDialItem = nullptr;
ZMenuItem* g_MonitorPlayFileItem = nullptr;
ZMenu* g_MonitorGridListPlayFileListMenu = nullptr;

ZMenu* g_RecordGridListMenu = nullptr;
ZMenuItem* g_RecordPlayItem = nullptr;
ZMenuItem* g_RecordDialItem = nullptr;
ZMenuItem* g_RecordEditNotesItem = nullptr;
ZMenuItem* g_RecordDownloadItem = nullptr;
ZMenuItem* g_RecordDeleteItem = nullptr;
ZMenuItem* g_RecordExportItem = nullptr;
ZMenuItem* g_RecordAddContactItem = nullptr;

ZMenu* g_ContactsTreeMenu = nullptr;
ZMenuItem* g_ContactsRenameItem = nullptr;
ZMenuItem* g_ContactsAddGroupItem = nullptr;
ZMenuItem* g_ContactsAddBookItem = nullptr;
ZMenuItem* g_ContactsDeleteNodeItem = nullptr;

ZMenu* g_ContactsGridListMenu = nullptr;
ZMenuItem* g_ContactsAddItem = nullptr;
ZMenuItem* g_ContactsEditItem = nullptr;
ZMenuItem* g_ContactsDeleteItem = nullptr;
ZMenuItem* g_ContactsDialItem = nullptr;
ZMenuItem* g_ContactsExportItem = nullptr;
ZMenuItem* g_ContactsImportItem = nullptr;

DeviceTabBar* g_MonitorDeviceTabBar = nullptr;
DeviceTabBar* g_OnlineUserDeviceTabBar = nullptr;
DeviceTabBar* g_SettingDeviceTabBar = nullptr;

ZGridListData* g_AllDevicesMonitorData = nullptr;

StorageControlList* g_StorageControlList = nullptr;

void ForgetMainFormGlobals()
{
    g_RecordPlayer = nullptr;
    g_BackupThread = nullptr;
    g_SoftwareSettingForm = nullptr;
    g_AddUserForm = nullptr;
    g_ContactsEditForm = nullptr;
    g_ChannelSelectForm = nullptr;
    g_WeekSelectForm = nullptr;
    g_SkinForm = nullptr;
    g_DeviceManageForm = nullptr;
    g_RecordStatisticsForm = nullptr;
    g_TrayIcon = nullptr;
    g_TrayIconMenu = nullptr;
    g_TrayIconShowItem = nullptr;
    g_TrayIconExitItem = nullptr;
    g_MonitorGridListMenu = nullptr;
    g_MonitorChannelSettingsItem = nullptr;
    g_MonitorMonitorItem = nullptr;
    g_MonitorDialItem = nullptr;
    g_MonitorPlayFileItem = nullptr;
    g_MonitorGridListPlayFileListMenu = nullptr;
    g_RecordGridListMenu = nullptr;
    g_RecordPlayItem = nullptr;
    g_RecordDialItem = nullptr;
    g_RecordEditNotesItem = nullptr;
    g_RecordDownloadItem = nullptr;
    g_RecordDeleteItem = nullptr;
    g_RecordExportItem = nullptr;
    g_RecordAddContactItem = nullptr;
    g_ContactsTreeMenu = nullptr;
    g_ContactsRenameItem = nullptr;
    g_ContactsAddGroupItem = nullptr;
    g_ContactsAddBookItem = nullptr;
    g_ContactsDeleteNodeItem = nullptr;
    g_ContactsGridListMenu = nullptr;
    g_ContactsAddItem = nullptr;
    g_ContactsEditItem = nullptr;
    g_ContactsDeleteItem = nullptr;
    g_ContactsDialItem = nullptr;
    g_ContactsExportItem = nullptr;
    g_ContactsImportItem = nullptr;
    g_MonitorDeviceTabBar = nullptr;
    g_OnlineUserDeviceTabBar = nullptr;
    g_SettingDeviceTabBar = nullptr;
    g_AllDevicesMonitorData = nullptr;
    g_StorageControlList = nullptr;
}
