// The heartbeat callback and the device's cached tables.
#include "KesDevice.h"

#include "LanguageTexts.h"
#include "RecordTexts.h"
#include "StatusIcons.h"
#include "StatusRecordCopy.h"
#include "ZGridListData.h"
#include "contacts/Contacts.h"

#include <QImage>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <mutex>

namespace {

// Field sizes of the recorder's records.
constexpr int kPhoneField = 20;
constexpr int kUserNameField = 19;
constexpr int kChannelNameOffset = 908;
constexpr int kChannelNameField = 28;
constexpr int kRecordModeOffset = 899;
constexpr int kLostWarningOffset = 896;
constexpr int kCircuitOutNumOffset = 4;

// Holds a table's lock for a scope.
class TableLock
{
public:
    explicit TableLock(ZGridListData* table) : m_Table(table) { m_Table->Lock(); }
    ~TableLock() { m_Table->Unlock(); }
    TableLock(const TableLock&) = delete;
    TableLock& operator=(const TableLock&) = delete;

private:
    ZGridListData* m_Table;
};

// A device's monitor rows, locked with the table that borrows them (if any), device table first.
class MonitorRowsLock
{
public:
    explicit MonitorRowsLock(ZGridListData* table)
        : m_Own(table)
        , m_Shared(KesDevice::SharedMonitorTable.load())
    {
        if (m_Shared)
            m_Shared->Lock();
    }
    MonitorRowsLock(const MonitorRowsLock&) = delete;
    MonitorRowsLock& operator=(const MonitorRowsLock&) = delete;
    ~MonitorRowsLock()
    {
        if (m_Shared)
            m_Shared->Unlock();
    }

private:
    TableLock m_Own;
    ZGridListData* m_Shared;
};

// A name field: a length byte followed by the bytes, held to the field's size.
QString LengthPrefixedLatin1(uint8_t length, const char* bytes, int field)
{
    return QString::fromLatin1(bytes, qMin<int>(length, field));
}

// Text up to the first zero byte, never past the field.
QString TerminatedUtf8(const uint8_t* bytes, int field)
{
    const void* nul = std::memchr(bytes, 0, static_cast<size_t>(field));
    const int size = nul ? static_cast<int>(static_cast<const uint8_t*>(nul) - bytes) : field;
    return QString::fromUtf8(reinterpret_cast<const char*>(bytes), size);
}

QString TalkTimeText(int seconds)
{
    if (seconds <= 0)
        return QString();
    const QLatin1Char zero('0');
    return QStringLiteral("%1:%2").arg(seconds / 60, 2, 10, zero).arg(seconds % 60, 2, 10, zero);
}


}  // namespace

void KesDevice::CreateHeartbeatThread()
{
    const Calvox_EventCallback callback = [this](Calvox_EventType event, int handle, unsigned char* data,
                                                 int length) {
        return DeviceEventCallback(event, handle, data, length);
    };
    CalvoxAPI_CreateHeartbeatThread(Handle, &callback);
}

int KesDevice::DeviceEventCallback(Calvox_EventType event, int handle, unsigned char* data, int length)
{
    if (Closing)
        return 0;
    const int channel = static_cast<int>(reinterpret_cast<intptr_t>(data));
    switch (event) {
    case Calvox_Event_ConnectStatus:
        ApplyConnectStatus();
        break;
    case Calvox_Event_OnlineUserList:
        UpdateOnlineUserTable();
        break;
    case Calvox_Event_ChannelStatus:
        ApplyChannelStatus(channel);
        break;
    case Calvox_Event_TalkTime:
        if (channel >= 0 && channel < Channels) {
            MonitorRowsLock lock(MonitorData);
            MonitorData->Rows[channel]->Cells[7] = TalkTimeText(length);
        }
        break;
    case Calvox_Event_MonitorChannel:
        SetMonitorCellImage(channel, 3, length != 0 ? g_StatusIcons[kMonitoringIcon] : nullptr);
        break;
    case Calvox_Event_PlaybackState: {
        const Calvox_ChannelStatus* status = CalvoxAPI_ChannelStatus(Handle, channel);
        const bool playing = status != nullptr && CopyStatusRecord(*status).PlaybackState != 0;
        SetMonitorCellImage(channel, 4, playing ? g_StatusIcons[kPlayBackIcon] : nullptr);
        break;
    }
    default:
        // Progress, search, transfer, storage, cloud and record-finished events change no table.
        break;
    }
    // Checked again: a destructor that began meanwhile must not see one more signal.
    if (!Closing)
        emit DeviceEventSignal(this, event, data, length);
    return 0;
}

void KesDevice::ApplyConnectStatus()
{
    Version = QString::fromUtf8(CalvoxAPI_FirmwareVersion(Handle));
    const bool online = CalvoxAPI_ConnectStatus(Handle) == Calvox_Connect_Online;
    {
        MonitorRowsLock lock(MonitorData);
        for (int i = 0; i < Channels; ++i)
            MonitorData->Rows[i]->Visible = online && CalvoxAPI_Permission_Channel(Handle, i) != 0;
    }
    for (ZGridListData* table : {RecordData, UserListData, OnlineUserData}) {
        TableLock lock(table);
        table->RowsVisible = online;
    }
}

void KesDevice::ApplyChannelStatus(int channel)
{
    if (channel < 0 || channel >= Channels)
        return;
    const Calvox_ChannelStatus* status = CalvoxAPI_ChannelStatus(Handle, channel);
    if (status == nullptr)
        return;
    // Read once: every field below comes from the same state of the record.
    const Calvox_ChannelStatus s = CopyStatusRecord(*status);
    if (s.LineState == Calvox_Phone_None) {
        MonitorRowsLock lock(MonitorData);
        MonitorData->Rows[channel]->Visible = false;
        return;
    }

    const QString phone =
        PhoneNumberToString(reinterpret_cast<const unsigned char*>(s.PhoneNumber), s.PhoneNumberLength, kPhoneField);
    char prefix = 0;
    if (s.LineState == Calvox_Phone_OutComing) {
        const Calvox_BaseSetting* base = CalvoxAPI_BaseSetting(Handle);
        if (base != nullptr)
            prefix = static_cast<char>(base->Bytes[kCircuitOutNumOffset]);
    }
    // Looked up before the table is locked: the phone book has a lock of its own.
    const QString contact = FindContactName(phone, prefix);
    {
        MonitorRowsLock lock(MonitorData);
        ZGridListRow* row = MonitorData->Rows[channel];
        row->Visible = true;
        // Only line states have icons; any other byte shows none.
        row->Cells[5] = s.LineState < kLineStateIconCount ? g_StatusIcons[s.LineState] : nullptr;
        row->Cells[6] = s.RingCount != 0 ? QString::number(s.RingCount) : QString();
        row->Cells[8] = phone;
        row->Cells[9] = contact;
    }
    CheckChannelAbnormal();
}

void KesDevice::SetMonitorCellImage(int channel, int cell, const QImage* image)
{
    if (channel < 0 || channel >= Channels)
        return;
    MonitorRowsLock lock(MonitorData);
    MonitorData->Rows[channel]->Cells[cell] = image;
}

void KesDevice::UpdateChannelRow(int channel, const Calvox_ChannelSetting* setting)
{
    if (channel < 0 || channel >= Channels || setting == nullptr)
        return;
    const QString name = TerminatedUtf8(setting->Bytes + kChannelNameOffset, kChannelNameField);
    const int mode = setting->Bytes[kRecordModeOffset];
    // Called on worker threads too (the auto-login sequence): the texts are copied under the language's lock.
    const QStringList modes = TextForThread(TextDevice031);
    const QString modeText = mode < modes.size() ? modes.at(mode) : QString();
    MonitorRowsLock lock(MonitorData);
    ZGridListRow* row = MonitorData->Rows[channel];
    row->Cells[2] = name;
    row->Cells[10] = modeText;
}

void KesDevice::UpdateUserTable()
{
    const Calvox_UserList* list = CalvoxAPI_UserList(Handle);
    std::vector<Calvox_UserInfo> entries;
    if (list != nullptr && list->Entries != nullptr)
        entries.assign(list->Entries, list->Entries + list->Count);
    // Called on worker threads too (the auto-login sequence): the texts are copied under the language's lock.
    const QString yes = TextForThread(TextMisc001);
    const QString no = TextForThread(TextMisc002);
    auto yesNo = [&yes, &no](uint8_t permission) { return permission != 0 ? yes : no; };
    // The rows are built before the lock is taken; a moved vector keeps its buffer, so their pointers hold.
    QList<ZGridListRow*> rows;
    for (Calvox_UserInfo& user : entries) {
        ZGridListRow* row = UserListData->CreateRow();
        row->Cells[0] = LengthPrefixedLatin1(user.NameLength, user.Name, kUserNameField);
        row->Cells[1] = yesNo(user.Download);
        row->Cells[2] = yesNo(user.Delete);
        row->Cells[3] = yesNo(user.Monitor);
        row->Cells[4] = yesNo(user.ChangeSetting);
        row->Cells[5] = yesNo(user.ManageUsers);
        row->UserData = &user;
        rows.append(row);
    }
    // Shared by every device, so a number read from one device's table never matches another's.
    static std::atomic<quint64> s_LastUserListGeneration{0};
    const quint64 generation = ++s_LastUserListGeneration;
    TableLock lock(UserListData);
    UserListData->Clear();
    m_UserEntries.swap(entries);
    m_UserListGeneration = generation;
    for (ZGridListRow* row : rows)
        UserListData->AddRow(row);
}

quint64 KesDevice::UserListGeneration()
{
    TableLock lock(UserListData);
    return m_UserListGeneration;
}

bool KesDevice::CopyUserEntry(const ZGridListRow* row, quint64 generation, Calvox_UserInfo* copy)
{
    TableLock lock(UserListData);
    if (generation != m_UserListGeneration)
        return false;
    // Only the address is compared: a row no longer in the table may have been freed.
    for (const ZGridListRow* r : UserListData->Rows) {
        if (r == row && r->UserData != nullptr) {
            *copy = *static_cast<const Calvox_UserInfo*>(r->UserData);
            return true;
        }
    }
    return false;
}

std::vector<Calvox_UserInfo> KesDevice::CopyUserEntries()
{
    std::vector<Calvox_UserInfo> copies;
    TableLock lock(UserListData);
    copies.reserve(static_cast<size_t>(UserListData->Rows.size()));
    for (const ZGridListRow* row : UserListData->Rows) {
        if (row->UserData != nullptr)
            copies.push_back(*static_cast<const Calvox_UserInfo*>(row->UserData));
    }
    return copies;
}

void KesDevice::UpdateOnlineUserTable()
{
    const Calvox_OnlineUserList* list = CalvoxAPI_OnlineUserList(Handle);
    const QLatin1Char zero('0');
    TableLock lock(OnlineUserData);
    OnlineUserData->Clear();
    if (list == nullptr || list->Entries == nullptr)
        return;
    for (int i = 0; i < list->Count; ++i) {
        const Calvox_OnlineUser& user = list->Entries[i];
        ZGridListRow* row = OnlineUserData->CreateRow();
        row->Cells[0] = LengthPrefixedLatin1(user.NameLength, user.Name, kUserNameField);
        row->Cells[1] = QStringLiteral("%1:%2:%3:%4:%5:%6")
                            .arg(user.Mac[0], 2, 16, zero)
                            .arg(user.Mac[1], 2, 16, zero)
                            .arg(user.Mac[2], 2, 16, zero)
                            .arg(user.Mac[3], 2, 16, zero)
                            .arg(user.Mac[4], 2, 16, zero)
                            .arg(user.Mac[5], 2, 16, zero)
                            .toUpper();
        char text[16];
        CalvoxAPI_IPaddressToString(user.Address, text);
        row->Cells[2] = QString::fromLatin1(text);
        row->Cells[3] = QStringLiteral("%1-%2-%3 %4:%5:%6")
                            .arg(user.LoginTime[0] + 2000, 4, 10, zero)
                            .arg(user.LoginTime[1], 2, 10, zero)
                            .arg(user.LoginTime[2], 2, 10, zero)
                            .arg(user.LoginTime[3], 2, 10, zero)
                            .arg(user.LoginTime[4], 2, 10, zero)
                            .arg(user.LoginTime[5], 2, 10, zero);
        CalvoxAPI_VersionToString(user.ClientVersion, text);
        row->Cells[4] = QString::fromLatin1(text);
        OnlineUserData->AddRow(row);
    }
}

void KesDevice::CheckChannelAbnormal()
{
    bool abnormal = false;
    for (int c = 0; c < Channels && !abnormal; ++c) {
        const Calvox_ChannelStatus* status = CalvoxAPI_ChannelStatus(Handle, c);
        const Calvox_ChannelSetting* setting = CalvoxAPI_ChannelSetting(Handle, c);
        abnormal = status != nullptr && setting != nullptr &&
                   CopyStatusRecord(*status).LineState == Calvox_Phone_Lost && setting->Bytes[kLostWarningOffset] != 0;
    }
    Abnormal = abnormal;
}
