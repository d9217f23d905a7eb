#pragma once

#include "ZForm.h"

#include "backup/BackupThread.h"
#include "CalvoxSDK.h"
#include "DeviceManage.h"
#include "player/RecordPlayer.h"

#include <QModelIndex>
#include <QSystemTrayIcon>

#include <functional>
#include <memory>

namespace Ui {
class MainForm;
}
class DevicePopups;
class KesDevice;
class WorkerPool;
class ZButton;
class ZCheckBox;
class ZComboBox;
class ZHourMinutePicker;
class ZLineEdit;
class ZMenuItem;
class QDateTime;
class QDragEnterEvent;
class ZCheckBox;
class ZGridListData;
class ZGridListRow;
class QDropEvent;

// The client's main window and the owner of its long-lived objects (the globals of MainFormGlobals.h).
//
// The program makes exactly one, without parent, shows it and destroys it when the event loop ends. Closing the
// window hides it to the tray (or minimises it where there is no tray); only Exit ends the program: Exit saves
// the column layout ("GridListSetting") and the volume, then ends the event loop. Everything here runs on the GUI
// thread; the device, player and backup threads reach it through queued signals.
//
// The class is large because the window is: its members are defined in one file per area (MainForm*.cpp), and
// this header has one section per area below. The designed widgets are reached through `ui`, by object name.
class MainForm : public ZForm
{
    Q_OBJECT

public:
    explicit MainForm(QWidget* parent = nullptr);
    ~MainForm() override;

    // The designed widget tree; null only on the failure path (unusable data folder).
    Ui::MainForm* ui = nullptr;

    // False when the data folder was unusable: the window was not built and the event loop is about to end.
    bool Started() const;

    // Whether a system tray shows the icon. Replaceable for tests; defaults to
    // QSystemTrayIcon::isSystemTrayAvailable(). Without a tray, closing minimises instead of hiding.
    static std::function<bool()> TrayAvailable;

    // ---- Shell: construction, tray, exit (MainForm.cpp, MainFormBuild.cpp, MainFormTray.cpp) ----

    // The tray menu's Exit, also the end of SIGINT/SIGTERM/SIGHUP: saves the window size, the column widths
    // and the volume, ends open dialogs and waits, then ends the event loop with 0. Runs once.
    void Exit();
    // True once Exit has begun.
    bool Exiting() const { return m_Exiting; }

public slots:
    void on_LogoButton_Clicked();
    void on_SkinButton_Clicked();
    void on_DeviceManageButton_Clicked();
    void on_DialButton_Clicked();
    void on_MainTabControl_SelectedPageChanged(int PageIndex);
    void TrayIconEvent(QSystemTrayIcon::ActivationReason Reason);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void CloseButtonClickedEvent() override;

private:
    void FailStart();
    void BuildMenus();
    void BuildPages();
    void BuildDialogs();
    void ApplyImageOverrides();
    void FinishExit();
    void TearDown();

    bool m_Exiting = false;

    // ---- Theme and language (MainFormTheme.cpp) ----
public slots:
    void SkinChangedEvent();
    void LanguageChangedEvent();

private:
    // Makes the monitoring and playback images from the theme colour, in place once they exist: grid cells
    // point at them from the heartbeat thread.
    void RecolourMonitorIcons();

    // ---- Device event dispatch, monitor and online-user pages (MainFormDispatch.cpp, MainFormMonitorPage.cpp) ----
public slots:
    void DeviceListChangedEvent(DeviceManageEvent Event, KesDevice* Device, int DeviceIndex);
    void DeviceEventDispose(KesDevice* Device, Calvox_EventType Event, unsigned char* Data, int Length);
    void MonitorPageSelectedDeviceChangedEvent(int DeviceIndex);
    void OnlineUserPageSelectedDeviceChangedEvent(int DeviceIndex);
    void MonitorGridListMenuHoverChangedEvent(int Index, ZMenuItem* Item);
    void on_MonitorGridList_RightClicked();
    // New Contacts on a call pop-up: the contact editor opens with the number; a confirmed entry goes into the
    // chosen book and the contacts grid re-reads.
    void PopupAddContactEvent(QString Number);

public:
    // Rebuilds the all-devices monitor table from the listed devices' rows (device order, then channel order);
    // the grid re-reads it when it shows all devices.
    void RefreshAllDevicesMonitorData();

private:
    // Page building: the monitor page's tab bar and grid, the online-user page's tab bar and grid, the setting
    // page's tab bar.
    void BuildMonitorPage();
    void BuildOnlineUserPage();
    void BuildSettingDeviceTabBar();
    // The monitor bar shows all devices or this one.
    bool ShownOnMonitorPage(KesDevice* device) const;
    // A device leaves the list: nothing may show its tables or play its record any more.
    void ForgetRemovedDevice(KesDevice* device);
    // The recorder's clock set to the PC's, on a worker that holds the device.
    void SyncDeviceTime(KesDevice* device);
    // Workers of the device calls that must not block the window (clock sync, announcement play), made at first
    // use; waited for before the devices go.
    WorkerPool* DeviceWorkers();
    std::unique_ptr<WorkerPool> m_DeviceWorkers;

    // A monitor row's device (listed) and channel index (below its channel count); no device when none.
    struct MonitorRowTarget {
        KesDevice* Device = nullptr;
        int Channel = -1;
    };
    MonitorRowTarget SelectedMonitorRow() const;
    // The row the monitor menu was opened on, while it is open.
    MonitorRowTarget m_MenuTarget;
    void StartMonitor(const MonitorRowTarget& target);
    void ShowChannelSettings(int deviceIndex, int channel);

    // Raises the call, record and alert pop-ups; gets every device event after the pages.
    DevicePopups* m_Popups = nullptr;

    // ---- Record page, player bar, record menu (MainFormRecordPage.cpp, MainFormPlayer.cpp, MainFormRecordMenu.cpp) ----
public slots:
    void on_SearchTargetComboBox_SelectedIndexChanged(int index);
    void on_SearchRecordTypeCheckBox_CheckedChanged(bool checked);
    void on_SearchChannelCheckBox_CheckedChanged(bool checked);
    void on_SearchPhoneNumCheckBox_CheckedChanged(bool checked);
    void on_SearchPhoneNumNameCheckBox_CheckedChanged(bool checked);
    void on_SearchTalkTimeCheckBox_CheckedChanged(bool checked);
    void on_SearchNotesCheckBox_CheckedChanged(bool checked);
    void on_SearchStartTimeCheckBox_CheckedChanged(bool checked);
    void on_SearchEndTimeCheckBox_CheckedChanged(bool checked);
    void on_SearchTime1CheckBox_CheckedChanged(bool checked);
    void on_SearchTime2CheckBox_CheckedChanged(bool checked);
    void on_SearchTime3CheckBox_CheckedChanged(bool checked);
    void on_SearchStartDateTimeEdit_dateTimeChanged(const QDateTime& start);
    void on_SearchChannelButton_Clicked();
    void on_SearchRecordButton_Clicked();
    void on_RecordStatisticsButton_Clicked();
    void on_RecordGridList_ColumnHeaderClicked(int column);
    void on_RecordGridList_RightClicked();
    void on_RecordGridList_RowDoubleClicked(int row, int column);
    void on_PlayButton_Clicked();
    void on_PrevButton_Clicked();
    void on_NextButton_Clicked();
    void on_PlayerTrackBar_ManuallyDragChanged(int value);
    void on_MuteButton_Clicked();
    void on_PlayerVolumeTrackBar_Value1Changed(int value);
    void RecordPlayerEvent(RecordPlayerEventType Event, int Arg);

public:
    // Refills the device box for the chosen target: the online recorders, or the local device list's names.
    void RefreshSearchDeviceComboBox();
    // Plays the record of a row of the record list (from the recorder, the PC backup or a dropped file) and
    // marks it as the played row. Nothing for null, an offline recorder or a row that names no file.
    void PlayRecord(ZGridListRow* row);

private:
    void BuildRecordPage();
    void QuickRangeChecked(ZCheckBox* box, bool checked);
    // Runs the search of the page's criteria and shows its table; false when it did not run (no device chosen,
    // no quick range for today, the wait panel busy): the target and the list then stay as they were.
    bool SearchRecordsNow();
    // Gives the list a new table; a dropped-file table it showed is freed then.
    void ShowRecordTable(ZGridListData* table);
    QString RecordPlayPath(ZGridListRow* row) const;
    void StepRecord(bool next);
    // True when there is no device or it grants the permission; else shows "Permission denied".
    bool RecordPermission(KesDevice* device, int (*permission)(Calvox_DeviceHandle));
    void DialRecord(KesDevice* device, int channel, const QString& phone);
    void EditRecordNotes(KesDevice* device, ZGridListRow* row, const QString& time, int channel, qintptr index,
                         const QString& notes);
    void DownloadCheckedRecords(KesDevice* device);
    void DeleteCheckedRecords(KesDevice* device);
    void ExportCheckedRecords();
    void AddRecordContact(const QString& phone);

    struct DroppedTableDeleter {
        void operator()(ZGridListData* table) const;
    };
    // The table of dropped files while the list shows it, with the paths its rows keep.
    std::unique_ptr<ZGridListData, DroppedTableDeleter> m_DroppedTable;

    // ---- Settings page (MainFormSettings*.cpp, settings/) ----
    // Every operation of the page acts on the settings device, looked up afresh from the page's device index
    // (SettingDevice); every fill routine does nothing unless its device is that one (a null device passes only
    // when there is none), so a refresh only ever paints the device on screen.
public slots:
    // Frame (MainFormSettings.cpp).
    void SettingPageSelectedDeviceChangedEvent(int DeviceIndex);
    void BookmarkClickEvent();
    void on_SettingScrollPanel_VScrollLocationChanged(int location);
    void AllDayLongReplyCheckedChangedEvent(bool checked);
    void ReplyTimeSlotCheckedChangedEvent(bool checked);
    void GroupCheckBoxCheckedChangedEvent(bool checked);
    void RecordTimeQuantumCheckedChangedEvent(bool checked);
    void AutoReplyCopyToButtonClickedEvent();

    // Device section (MainFormSettingsDevice.cpp).
    void on_LoginButton_Clicked();
    void on_DeviceInfoSaveButton_Clicked();
    void on_AutoLoginCheckBox_CheckedChanged(bool checked);
    void on_RemoteLoginCheckBox_CheckedChanged(bool checked);
    void on_ReserveSpaceTrackBar_Value1Changed(int value);
    void on_LoopUseStorageCheckBox_CheckedChanged(bool checked);

    // Firmware and announcement files (MainFormSettingsFiles.cpp).
    void on_ManualUpgradeButton_Clicked();
    void on_OnlineUpgradeButton_Clicked();
    void on_UploadAudioFileButton_Clicked();
    void on_DeleteAudioFileButton_Clicked();

    // Device log (MainFormSettingsLog.cpp).
    void on_UpdateLogButton_Clicked();
    void on_DownloadLogButton_Clicked();
    void on_DeleteLogButton_Clicked();

public:
    // Fills the widget tables below and connects the rows' check boxes; once, before any device is shown.
    void InitSettingTables();
    // Reads the settings device's clock (when online) under the wait panel; with `fill`, shows it. While another
    // wait runs the read is put off until that wait has ended (a nested wait could wait for a thread that waits
    // for this one), and the clock is then shown.
    void RefreshDeviceTime(bool fill);
    // Every section for the device, in a fixed order, then the channel selector; only for the settings device.
    void RefreshSettingPage(KesDevice* device);

    void FillDeviceInfo(KesDevice* device);
    void UpdateLoginFieldsEnabled(KesDevice* device);
    void FillConnectState(KesDevice* device);
    void FillStorageStatus(KesDevice* device);
    void FillCloudStatus(KesDevice* device);
    // The announcement list and every combo box that offers its names; each combo box keeps the name it had
    // chosen (none when that name is gone), not its index.
    void FillPlayBackFiles(KesDevice* device);
    void FillLogList(KesDevice* device);

    // The device the settings page shows, null when its index names none.
    KesDevice* SettingDevice() const;
    // The settings device when it is online (connection state 2), else null.
    KesDevice* OnlineSettingDevice() const;
    // Runs `call` on the wait panel's thread while the window waits; false (nothing run) when another wait is in
    // progress. *result is the call's result after a true return.
    static bool RunWaitTask(const std::function<int()>& call, int* result);
    // The same for the online settings device, which *hold keeps alive; false when there is none.
    bool RunOnSettingDevice(const std::function<int(KesDevice*)>& call, DeviceHold* hold, int* result);

    // Rows repeated per weekday (d, 0 Sunday), time slot or quantum (s, n: 0..2) and key group (g: 0..9);
    // two-dimensional tables row by row, [d][s] at 3d + s. Pointers into the designed form.
    ZButton* AutoReplyCopyToButtons[7] = {};
    ZCheckBox* AllDayLongReplyCheckBoxes[7] = {};
    ZComboBox* AllDayLongReplyComboBoxes[7] = {};
    ZCheckBox* ReplyTimeSlotCheckBoxes[21] = {};
    ZHourMinutePicker* ReplyTimeSlotPickers[21] = {};
    ZComboBox* ReplyTimeSlotComboBoxes[21] = {};
    ZCheckBox* GroupCheckBoxes[10] = {};
    ZLineEdit* GroupLineEdits[10] = {};
    ZComboBox* GroupComboBoxes[10] = {};
    ZCheckBox* TimeQuantumCheckBoxes[21] = {};
    ZHourMinutePicker* TimeQuantumPickers[21] = {};

private:
    void BuildSettingPage();
    bool ValidateLoginFields();
    bool ValidateDeviceName(KesDevice* device);
    // Keeps a listed device alive while a wait or a transfer runs: a removal meanwhile deletes it only after the
    // hold has ended. Empty for a device no longer listed.
    static DeviceHold HoldDevice(KesDevice* device);
    // Address and port, account and the three login boxes from the fields into the device object.
    void CopyLoginFields(KesDevice* device, int port);
    // Reboots the recorder after an upgrade and says how that went.
    void RestartAfterUpgrade(KesDevice* device);

    // The index the last selection change reported, used while the page has no device tab bar.
    int m_SettingDeviceIndex = -1;
    // A clock read put off by a running wait (RefreshDeviceTime).
    bool m_DeviceTimePending = false;
    // The fill of the user table (KesDevice::UserListGeneration) the users grid last re-read: a row selected since
    // is from this fill or, when a worker refilled the table meanwhile, a later one.
    quint64 m_UserListShown = 0;
    // A copy of the account selected in the users grid. When the table was refilled behind the grid's back, the
    // grid re-reads it (the selection is gone, the operator picks again) and the answer is false.
    bool CopySelectedUser(KesDevice* device, Calvox_UserInfo* copy);

    // sections (settings/Setting*.cpp): each Fill shows the settings device's cached record (empty and
    // disabled for no device or an offline one) and acts only for the settings device; Update reads the
    // recorder and fills, Save writes the shown fields into the cached record and sends it.
public:
    void FillDeviceTime(KesDevice* device);
    void FillBaseSetting(KesDevice* device);
    void FillChannelStatus(KesDevice* device);
    void FillChannelSetting(KesDevice* device, int channel);
    void FillChannelFileCombos(KesDevice* device, int channel);
    // The channel section's input before Save and Apply to: false, with a tooltip at the first bad field.
    bool CheckChannelSettingInput();
    void FillKeyControlSetting(KesDevice* device);
    void FillKeyControlFileCombos(KesDevice* device);
    void FillNetSetting(KesDevice* device);
    void FillSMDRSetting(KesDevice* device);
    void FillUserList(KesDevice* device);
    void FillRecordTimeSetting(KesDevice* device);
    void FillScheduledRestartSetting(KesDevice* device);

public slots:
    void on_CheckTimeButton_Clicked();
    void on_SyncTimeButton_Clicked();
    void on_UpdateBaseSettingButton_Clicked();
    void on_SaveBaseSettingButton_Clicked();
    void on_ChannelSelectComboBox_SelectedIndexChanged(int index);
    void on_AnnouncementCheckBox_CheckedChanged(bool checked);
    void on_AutoReplyCheckBox_CheckedChanged(bool checked);
    void on_CheckLostVoltageButton_Clicked();
    void on_CheckOffHookVoltageButton_Clicked();
    void on_CheckOnHookVoltageButton_Clicked();
    void on_UpdateChannelSettingButton_Clicked();
    void on_SaveChannelSettingButton_Clicked();
    void on_ChannelSettingCopyToButton_Clicked();
    void on_UpdateKeyControlSettingButton_Clicked();
    void on_SaveKeyControlSettingButton_Clicked();
    void on_UpdateNetSettingButton_Clicked();
    void on_SaveNetSettingButton_Clicked();
    void on_NetModeSettingComboBox_SelectedIndexChanged(int index);
    void on_EnabelSMDRCheckBox_CheckedChanged(bool checked);
    void on_GetSMDRTextButton_Clicked();
    void on_UpdateSMDRSettingButton_Clicked();
    void on_SaveSMDRSettingButton_Clicked();
    void on_UpdateUserListButton_Clicked();
    void on_AddUserButton_Clicked();
    void on_EditUserButton_Clicked();
    void on_DeleteUserButton_Clicked();
    void on_EnableRecordTimeQuantumCheckBox_CheckedChanged(bool checked);
    void on_UpdateRecordTimeSettingButton_Clicked();
    void on_SaveRecordTimeSettingButton_Clicked();
    void on_ScheduledRestartCheckBox0_CheckedChanged(bool checked);
    void on_UpdateScheduledRestartSettingButton_Clicked();
    void on_SaveScheduledRestartSettingButton_Clicked();

private:
    // Runs `call` for `device` under the wait panel, the device held alive meanwhile (*hold): true when the call
    // ran and gave 0; "Connection timeouts" when it ran and failed; false without a word when the device is no
    // longer listed or another wait is in progress (the call did not run).
    bool RunSectionCall(KesDevice* device, const std::function<int()>& call, DeviceHold* hold);
    // The same for a Save that needs nothing afterwards: "Operation completely" when it succeeded.
    bool RunSectionWrite(KesDevice* device, const std::function<int()>& call);
    // Writes the channel section's fields into a channel's record; the name only when withName.
    void PutChannelPage(uint8_t* record, bool playback, bool withName);
    // Shows a detected line voltage in `field`, in red until the next fill or successful Save.
    void DetectChannelVoltage(class ZLineEdit* field);

    // Add (edit false) or Edit of the selected account in the user editor, then the list read again.
    void OpenUserEditor(bool edit);

    // ---- Contacts page (MainFormContactsPage.cpp, MainFormContactsGrid.cpp) ----
    // The open book is the contacts grid's whatsThis: its key in the contacts store, empty when none is open.
public slots:
    // The contacts folder changed: reloads the store, refreshes the editor's book list and shows the open book
    // again, or closes it when it is gone.
    void ContactsListChangedEvent();
    // Opens the book double-clicked in the tree; groups open nothing.
    void ContactsTreeItemDoubleClicked(const QModelIndex& index);
    void on_ContactsTreeView_ItemRightClicked(const QPoint& pos, const QModelIndex& index);
    // Column 0 ticks every contact, or clears them all when all are ticked.
    void on_ContactsGridList_ColumnHeaderClicked(int column);
    // Edits contact `row` of the open book; choosing another book in the editor moves the contact there.
    void on_ContactsGridList_RowDoubleClicked(int row, int column);
    void on_ContactsGridList_RightClicked();

private:
    void BuildContactsPage();
    QString OpenContactsBook() const;
    void AddContactToBook(const QString& key);
    void ExportCheckedContacts();
    void ImportContacts(const QString& key);

    // ---- Backups page (MainFormBackupsPage.cpp) ----
public slots:
    void on_BackupButton_Clicked();
    void on_BackupStopButton_Clicked();
    void StorageControlListEventDispose(int Event);
    void BackupEvent(BackupEventType Event, KesDevice* Device, QString Text);

private:
    void BuildBackupsPage();
};
