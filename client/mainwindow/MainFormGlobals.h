#pragma once

// The objects the main window makes once and keeps for the whole run. They are globals because dialogs, page
// code and workers reach them directly. Made by MainForm's constructor in a fixed order (menus, pages, dialogs),
// deleted by its destructor; null before and after, and all null when the data folder was unusable.
// GUI thread only. g_WaitForm, g_DialForm and g_EditRecordNotesForm are declared by their dialogs.

class AddUserForm;
class BackupThread;
class ChannelSelectForm;
class ContactsEditForm;
class DeviceManageForm;
class DeviceTabBar;
class QSystemTrayIcon;
class RecordPlayer;
class RecordStatisticsForm;
class SkinForm;
class SoftwareSettingForm;
class StorageControlList;
class WeekSelectForm;
class ZGridListData;
class ZMenu;
class ZMenuItem;

extern RecordPlayer* g_RecordPlayer;
extern BackupThread* g_BackupThread;

extern SoftwareSettingForm* g_SoftwareSettingForm;
extern AddUserForm* g_AddUserForm;
extern ContactsEditForm* g_ContactsEditForm;
extern ChannelSelectForm* g_ChannelSelectForm;
extern WeekSelectForm* g_WeekSelectForm;
extern SkinForm* g_SkinForm;
extern DeviceManageForm* g_DeviceManageForm;
extern RecordStatisticsForm* g_RecordStatisticsForm;

extern QSystemTrayIcon* g_TrayIcon;

// Menus with their items in item order.
extern ZMenu* g_TrayIconMenu;
extern ZMenuItem* g_TrayIconShowItem;
extern ZMenuItem* g_TrayIconExitItem;

extern ZMenu* g_MonitorGridListMenu;
extern ZMenuItem* g_MonitorChannelSettingsItem;
extern ZMenuItem* g_MonitorMonitorItem;
extern ZMenuItem* g_MonitorDialItem;
extern ZMenuItem* g_MonitorPlayFileItem;
extern ZMenu* g_MonitorGridListPlayFileListMenu;

extern ZMenu* g_RecordGridListMenu;
extern ZMenuItem* g_RecordPlayItem;
extern ZMenuItem* g_RecordDialItem;
extern ZMenuItem* g_RecordEditNotesItem;
extern ZMenuItem* g_RecordDownloadItem;
extern ZMenuItem* g_RecordDeleteItem;
extern ZMenuItem* g_RecordExportItem;
extern ZMenuItem* g_RecordAddContactItem;

extern ZMenu* g_ContactsTreeMenu;
extern ZMenuItem* g_ContactsRenameItem;
extern ZMenuItem* g_ContactsAddGroupItem;
extern ZMenuItem* g_ContactsAddBookItem;
extern ZMenuItem* g_ContactsDeleteNodeItem;

extern ZMenu* g_ContactsGridListMenu;
extern ZMenuItem* g_ContactsAddItem;
extern ZMenuItem* g_ContactsEditItem;
extern ZMenuItem* g_ContactsDeleteItem;
extern ZMenuItem* g_ContactsDialItem;
extern ZMenuItem* g_ContactsExportItem;
extern ZMenuItem* g_ContactsImportItem;

// Device selectors of the monitor, online-user and settings pages.
extern DeviceTabBar* g_MonitorDeviceTabBar;
extern DeviceTabBar* g_OnlineUserDeviceTabBar;
extern DeviceTabBar* g_SettingDeviceTabBar;

// The monitor table shown when the monitor page's bar selects all devices (11 columns). Its rows belong to the
// devices' own monitor tables: it never deletes them.
extern ZGridListData* g_AllDevicesMonitorData;

// The drive list of the backups page.
extern StorageControlList* g_StorageControlList;

// Forgets every pointer above once the window that made them is gone (its children went with it).
void ForgetMainFormGlobals();
