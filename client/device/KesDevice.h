#pragma once

#include "CalvoxSDK.h"
#include "LockedValue.h"

#include <QMap>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <atomic>
#include <functional>
#include <vector>

class KesDeviceAutoLoginThread;
class ZGridListData;
class ZGridListRow;

// Display names of the recorder models, from the file "Model" beside the program: model text as the SDK gives
// it -> the text the windows show. Written by KesDevice::LoadModelNames on the GUI thread before any device
// exists; read-only afterwards.
extern QMap<QString, QString> g_ModelNames;

// The client's object for one registered recorder: the SDK connection, the identity and login settings the user
// registered, the four grid tables the main window shows, the recorder's log and the newest firmware on the
// update server. Every device operation of the client is one method here; it converts Qt strings to the bytes the
// SDK takes and returns the SDK's Calvox_Result unchanged. Nothing is retried or shown here.
//
// Threads: methods run on whatever thread calls them (GUI, the auto-login thread, workers); the SDK serialises
// the commands of one connection. The heartbeat callback runs on the SDK's heartbeat thread and writes the
// tables there: every table write here happens under the table's lock (ZGridListData::Lock), so painting, which
// only try-locks, never sees a half-written row. Text fields that another thread writes while the GUI reads
// them (Version, LogLines, UpdateNotes, NewVersion, FirmwareFileName, Time) are LockedValues; Closing and Abnormal are
// atomic. The other fields are the GUI thread's.
class KesDevice : public QObject
{
    Q_OBJECT

public:
    // A device for the 20-character ID, with its SDK connection, its monitor rows (hidden until the heartbeat
    // reports the channels) and its auto-login thread (not started). Null when the SDK rejects the ID.
    static KesDevice* Create(const QString& name, const QString& id);
    // Reads the "Model" file beside the program (a JSON object, model -> display name) into g_ModelNames: keys
    // of the file overwrite, other entries stay. A missing or malformed file changes nothing.
    static void LoadModelNames();

    // A table that borrows every device's monitor rows (the main window's all-devices view), or null. Whenever a
    // device writes one of its monitor rows it holds this table's lock too, taken after its own, so a view that
    // reads the rows under this table's lock never meets a write. Set before devices load; cleared only once no
    // device is left.
    static std::atomic<ZGridListData*> SharedMonitorTable;
    // The display name of a model: its g_ModelNames entry, else the model text itself.
    static QString ModelDisplayName(const QString& model);

    // Stops the heartbeat callback's work (Closing), waits for a running auto-login sequence to end, frees the
    // SDK connection (which stops and joins its heartbeat thread), then deletes the tables and the thread.
    ~KesDevice() override;

    // Name only; cell 0 of the monitor rows keeps the name given at creation.
    void SetName(const QString& name);
    // Stores the address and the port (as decimal text) and hands both to the SDK.
    void SetNetAddr(const QString& address, int port);
    // Hands UserName and Password to the SDK, then logs in directly or through the cloud relay (RemoteLogin).
    int Login();
    int Logout();
    // Stamps the PC's local time into Time (second left as it was), then reads the recorder's clock.
    int GetTime();
    // Sets the recorder's clock to the PC's local time, stamped into Time as GetTime does.
    int SetTime();

    int GetNetStatus();
    int GetStorageStatus();
    int GetChannelVoltage(int channel, int* voltage);
    int GetCurrentRecordInfo(int channel, Calvox_CurrentRecordInfo* info);
    int GetPlayBackFileList();
    int RemoveFile(const QString& devicePath);

    // Settings groups. A Get fills the SDK's record of that group. A Set lets the SDK check and limit the
    // caller's record in place before sending it (so the pointers are not const).
    int GetBaseSetting();
    int SetBaseSetting(Calvox_BaseSetting* setting);
    // On success the channel's monitor row shows the recorder's channel name and record mode.
    int GetChannelSetting(int channel);
    // On success the channel's monitor row shows the record as sent.
    int SetChannelSetting(int channel, Calvox_ChannelSetting* setting);
    int GetKeyControlSetting();
    int SetKeyControlSetting(Calvox_KeyControlSetting* setting);
    int GetNetSetting();
    int SetNetSetting(Calvox_NetSetting* setting);
    int GetSMDRSetting();
    int SetSMDRSetting(Calvox_SMDRSetting* setting);
    int GetRecordTimeSetting();
    int SetRecordTimeSetting(Calvox_RecordTimeSetting* setting);
    int GetScheduledRestartSetting();
    int SetScheduledRestartSetting(Calvox_ScheduledRestartSetting* setting);

    // On success the user table is rebuilt from the SDK's list; on failure it stays as it was.
    int GetUserList();
    int AddUser(const Calvox_UserInfo* user, const QString& password);
    // An empty password keeps the recorder's one.
    int EditUser(const Calvox_UserInfo* user, const QString& password);
    int DeleteUser(const Calvox_UserInfo* user);

    int GetLatestRecordTime(unsigned char* year, unsigned char* month, unsigned char* day);
    // days[32]: days[d] nonzero when day d of the month holds records.
    int GetDayListFromMonthDir(unsigned char year, unsigned char month, unsigned char* days);
    // The record is located by its index in the day's index file, its date (year - 2000) and its channel
    // (counted from 0); the notes go to the recorder as UTF-8.
    int EditRecordNotes(quint16 index, unsigned char year, unsigned char month, unsigned char day,
                        unsigned char channel, const QString& notes);
    int DeleteRecord(const Calvox_RecordKey* key);
    // Channel 255 stops monitoring.
    int StartMonitor(unsigned char channel);
    // An empty number hangs the line up again.
    int Dial(unsigned char channel, const QString& number);
    int Reboot();
    int PlayAudioFile(int channel, const QString& fileName);
    int CheckFirmware(const QString& localPath);
    // The recorder's latest SMDR text, empty when the call fails.
    QString GetSMDR();

    // Downloads a device file into a new[] buffer of exactly the announced size. On 0 the caller owns *buffer
    // (delete[]) and *length is the size; otherwise *buffer is null. A recorder that sends more than it
    // announced is refused (2).
    int DownloadToBuffer(const QString& devicePath, unsigned char** buffer, int* length);
    // Downloads a device file to localPath. The data goes to a temporary file beside it that replaces localPath
    // only when the whole file arrived and reached the disk, so a failed or cancelled download leaves an
    // existing file as it was and no new file. 21 when the temporary file cannot be created (the device is not
    // contacted), 20 when the local file cannot be written. `stop` is polled for every block: set, the transfer is
    // cancelled (2).
    int DownloadToFile(const QString& devicePath, const QString& localPath, volatile bool* stop);
    // The same, reporting the percentage of the announced size after every block; a nonzero answer of
    // `progress` cancels (2). `progress` must hold a function.
    int DownloadToFile(const QString& devicePath, const QString& localPath, std::function<int(int)> progress);
    // Downloads the recorder's log file into LogLines (split at every "\r\n", empty parts kept); LogLines is
    // empty when the download fails.
    int UpdateLog();
    // Removes the recorder's log file; on success LogLines is emptied.
    int DeleteLog();
    // Asks the update server for the newest firmware of the model. A JSON reply sets UpdateNotes (the header
    // line and the notes of the system's language) and NewVersion to its "Version" when that is four dotted
    // numbers (IsVersionText), with FirmwareFileName = Model-version.bin; without such a version both become
    // "" (nothing on offer). A reply that is not JSON (or none) leaves NewVersion and FirmwareFileName as
    // they were and UpdateNotes empty.
    void GetNewVersionInfo();
    // Version below NewVersion (both as four dotted numbers); false while NewVersion is no version.
    bool HasNewVersion() const;

    // Starts the SDK heartbeat with this device's callback (DeviceEventCallback). A heartbeat that runs already
    // keeps its first callback.
    void CreateHeartbeatThread();
    // The heartbeat callback: updates the tables for the event and emits DeviceEventSignal with the call's own
    // arguments; once Closing is set it does nothing. Runs on the SDK's heartbeat thread; always 0.
    int DeviceEventCallback(Calvox_EventType event, int handle, unsigned char* data, int length);
    // Cells 2 (channel name) and 10 (record-mode name) of the channel's monitor row, from a channel setting.
    void UpdateChannelRow(int channel, const Calvox_ChannelSetting* setting);
    // Refills UserListData from the SDK's user list, which the caller has just read successfully. The rows point
    // at device-owned copies of the entries: the SDK frees its list at the start of every list read, also one
    // that fails, while the table keeps its rows until the next successful read. Rows and copies are replaced
    // together under the table's lock.
    void UpdateUserTable();
    // Which fill of UserListData the rows are from: every fill takes a number never used before, by any device.
    // Takes the table's lock (not recursive): read it before the rows it is to stand for, as before a grid
    // re-reads the table; a refill in between makes it older than the rows, and CopyUserEntry refuses them.
    quint64 UserListGeneration();
    // A copy of the account that a row of UserListData stands for, taken under the table's lock (a list read on
    // another thread may replace the rows meanwhile). The caller names the fill its row came from: a freed row's
    // address can be taken by a row of a later fill that stands for another account, so an address alone could
    // hand on the wrong account. False, *copy unchanged, when the table was refilled since or the row is no
    // longer in it. Whoever hands a row's account on (edit, delete) takes it through here, never through UserData.
    bool CopyUserEntry(const ZGridListRow* row, quint64 generation, Calvox_UserInfo* copy);
    // Copies of all accounts of the user table, in row order, taken under its lock.
    std::vector<Calvox_UserInfo> CopyUserEntries();
    // Refills OnlineUserData from the SDK's online-user list.
    void UpdateOnlineUserTable();
    // Abnormal = some channel whose lost-line warning is on reports a lost line.
    void CheckChannelAbnormal();

    // Fields, in this order.
    Calvox_DeviceHandle Handle = 0;
    QString ID;
    QString Model;
    QString ModelName;
    int Channels = 0;
    // Four dotted numbers; from the device file, replaced at every connect-status event.
    LockedValue<QString> Version;
    std::atomic<bool> Closing{false};
    bool SavePassword = false;
    bool AutoLogin = false;
    bool RemoteLogin = false;
    QString IPaddress;
    QString Port;
    QString UserName;
    QString Password;
    std::atomic<bool> Abnormal{false};
    // 11 columns, row i for channel i + 1: device, channel, name, monitor icon, playback icon, line-state icon,
    // rings, talk time, phone, contact, record mode. Each row's UserData is this device.
    ZGridListData* MonitorData = nullptr;
    // 12 columns, the record search's rows.
    ZGridListData* RecordData = nullptr;
    // 6 columns: user name, then Download, Delete, Monitor, Change settings, Manage users as Yes/No. Each row's
    // UserData is the device's copy of the user's Calvox_UserInfo, valid while the row is in the table: read it
    // under the table's lock, or take it with CopyUserEntry.
    ZGridListData* UserListData = nullptr;
    // 5 columns: user name, MAC address, IPv4 address, login time, client version.
    ZGridListData* OnlineUserData = nullptr;
    LockedValue<QStringList> LogLines;
    // A header line, then the release notes of the newest firmware.
    LockedValue<QStringList> UpdateNotes;
    LockedValue<QString> NewVersion;
    LockedValue<QString> FirmwareFileName;
    // Per channel, chosen for the record search; channels 1..Channels start true.
    bool ChannelFlags[64] = {};
    KesDeviceAutoLoginThread* AutoLoginThread = nullptr;
    // PC time of the last GetTime/SetTime: year - 2000, month, day, hour, minute, second (never written here),
    // day of week (1 Monday .. 7 Sunday). The auto-login thread stamps it while the GUI may read it.
    LockedValue<std::array<unsigned char, 7>> Time;
    QString Name;

signals:
    // One per heartbeat callback call, from the SDK's heartbeat thread, after the tables were updated. For
    // heartbeat events Data carries the channel number as a value (or null), never memory to read.
    void DeviceEventSignal(KesDevice* Device, Calvox_EventType Event, unsigned char* Data, int Length);

private:
    KesDevice() = default;
    void ApplyChannelStatus(int channel);
    void ApplyConnectStatus();
    void SetMonitorCellImage(int channel, int cell, const class QImage* image);

    // The entries the rows of UserListData point at; written only together with the rows, under their lock.
    std::vector<Calvox_UserInfo> m_UserEntries;
    // UserListGeneration's value; written with the rows, under their lock.
    quint64 m_UserListGeneration = 0;
};

Q_DECLARE_METATYPE(Calvox_EventType)
// The data argument of DeviceEventSignal, which carries a channel number as its value.
Q_DECLARE_METATYPE(unsigned char*)
