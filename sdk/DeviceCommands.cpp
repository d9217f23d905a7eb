#include "DeviceCommands.h"

#include "Datagram.h"
#include "Device.h"
#include "Request.h"
#include "SettingChecks.h"

#include <cstring>
#include <mutex>

namespace calvox {
namespace {

enum CommandCode : uint8_t {
    kCmdGetStorageStatus = 5,
    kCmdGetNetStatus = 6,
    kCmdGetChannelVoltage = 7,
    kCmdGetChannelStatus = 8,
    kCmdGetOnlineUsers = 9,
    kCmdGetCurrentRecordInfo = 10,
    kCmdGetTime = 11,
    kCmdSetTime = 12,
    kCmdGetPlayBackFileList = 13,
    kCmdGetChannelSetting = 16,
    kCmdSetChannelSetting = 17,
    kCmdDial = 37,
    kCmdGetSMDR = 38,
    kCmdReboot = 39,
    kCmdPlayAudioFile = 42,
    kCmdOffHook = 45,
};

constexpr int kMaxPlayBackFiles = 20;
constexpr int kMaxFileNameLength = 27;  // a 28-byte field with its terminator
constexpr int kOnlineUserSize = sizeof(Calvox_OnlineUser);

// One exchange: the request carries `payload`; under the command mutex the reply's payload (at least
// minReplyPayload bytes, else 2) goes to onReply, whose result is the command's.
template <typename OnReply>
int Exchange(Calvox_Device& device, uint8_t command, const void* payload, int payloadLength, int minReplyPayload,
             OnReply onReply)
{
    uint8_t buffer[kDatagramSize];
    std::memset(buffer, 0, kHeaderSize + payloadLength);
    buffer[kOffCommand] = command;
    if (payloadLength > 0)
        std::memcpy(buffer + kHeaderSize, payload, static_cast<size_t>(payloadLength));
    std::lock_guard<std::mutex> lock(device.commandMutex);
    int replyLength = 0;
    const int result = RunCommand(device, buffer, payloadLength, minReplyPayload, &replyLength);
    if (result != Calvox_Result_Ok)
        return result;
    return onReply(static_cast<const uint8_t*>(buffer + kHeaderSize), replyLength - kHeaderSize);
}

int Ignore(const uint8_t*, int) { return Calvox_Result_Ok; }

template <typename Record>
int CopyInto(Record& record, const uint8_t* reply)
{
    std::memcpy(&record, reply, sizeof record);
    return Calvox_Result_Ok;
}

struct GroupInfo {
    SettingGroup group;
    uint8_t getCode;
    uint8_t setCode;
    int size;
    void* (*record)(Calvox_Device&);
    bool (*prepare)(void* record);  // false rejects the record; may change it in place
};

template <typename Record, Record Calvox_Device::*member>
void* RecordOf(Calvox_Device& device)
{
    return &(device.*member);
}

bool PrepareBase(void* record) { return CheckBaseSetting(*static_cast<Calvox_BaseSetting*>(record)); }
bool PrepareKeyControl(void* record) { return CheckKeyControlSetting(*static_cast<Calvox_KeyControlSetting*>(record)); }
bool PrepareScheduledRestart(void* record)
{
    LimitScheduledRestartSetting(*static_cast<Calvox_ScheduledRestartSetting*>(record));
    return true;
}

const GroupInfo& Group(SettingGroup group)
{
    using D = Calvox_Device;
    static const GroupInfo kGroups[] = {
        {SettingGroup::Base, 14, 15, sizeof(Calvox_BaseSetting),
         RecordOf<Calvox_BaseSetting, &D::baseSetting>, PrepareBase},
        {SettingGroup::KeyControl, 18, 19, sizeof(Calvox_KeyControlSetting),
         RecordOf<Calvox_KeyControlSetting, &D::keyControlSetting>, PrepareKeyControl},
        {SettingGroup::Net, 20, 21, sizeof(Calvox_NetSetting),
         RecordOf<Calvox_NetSetting, &D::netSetting>, nullptr},
        {SettingGroup::SMDR, 22, 23, sizeof(Calvox_SMDRSetting),
         RecordOf<Calvox_SMDRSetting, &D::smdrSetting>, nullptr},
        {SettingGroup::RecordTime, 40, 41, sizeof(Calvox_RecordTimeSetting),
         RecordOf<Calvox_RecordTimeSetting, &D::recordTimeSetting>, nullptr},
        {SettingGroup::ScheduledRestart, 43, 44, sizeof(Calvox_ScheduledRestartSetting),
         RecordOf<Calvox_ScheduledRestartSetting, &D::scheduledRestartSetting>, PrepareScheduledRestart},
    };
    for (const GroupInfo& info : kGroups)
        if (info.group == group)
            return info;
    return kGroups[0];  // unreachable: every group is in the table
}

// marker, record, marker: the form of every Set request; `at` is where the first marker goes.
int PutMarkedRecord(uint8_t* payload, int at, const void* record, int size)
{
    PutU32(payload + at, kSettingMarker);
    std::memcpy(payload + at + 4, record, static_cast<size_t>(size));
    PutU32(payload + at + 4 + size, kSettingMarker);
    return at + 8 + size;
}

}  // namespace

int GetStorageStatus(Calvox_Device& device)
{
    return Exchange(device, kCmdGetStorageStatus, nullptr, 0, 12, [&](const uint8_t* reply, int) {
        // The state comes last on the wire and first in the record.
        Calvox_StorageStatus status;
        status.State = GetU32(reply + 8);
        status.Size1 = GetU32(reply);
        status.Size2 = GetU32(reply + 4);
        StoreRecord(&device.storageStatus, status);  // programs read it on their own threads
        return Calvox_Result_Ok;
    });
}

int GetNetStatus(Calvox_Device& device)
{
    return Exchange(device, kCmdGetNetStatus, nullptr, 0, sizeof(Calvox_NetStatus),
                    [&](const uint8_t* reply, int) { return CopyInto(device.netStatus, reply); });
}

int GetChannelVoltage(Calvox_Device& device, int channel, int* voltage)
{
    if (!device.HasChannel(channel) || !voltage)
        return Calvox_Result_InvalidArgument;
    const uint8_t request = static_cast<uint8_t>(channel);
    return Exchange(device, kCmdGetChannelVoltage, &request, 1, 4, [&](const uint8_t* reply, int) {
        *voltage = static_cast<int32_t>(GetU32(reply));
        return Calvox_Result_Ok;
    });
}

int RefreshChannelStatus(Calvox_Device& device, int channel, bool* stored)
{
    if (stored)
        *stored = false;
    if (!device.HasChannel(channel))
        return Calvox_Result_InvalidArgument;
    const uint8_t request = static_cast<uint8_t>(channel);
    return Exchange(device, kCmdGetChannelStatus, &request, 1, 4 + sizeof(Calvox_ChannelStatus),
                    [&](const uint8_t* reply, int) {
                        if (reply[0] != request)
                            return Calvox_Result_Ok;
                        // Programs read the record and the last state on their own threads.
                        Calvox_ChannelStatus& entry = device.channelStatus[static_cast<size_t>(channel)];
                        StoreField(&device.lastPhoneState[channel], LoadField(&entry.LineState));
                        Calvox_ChannelStatus status;
                        std::memcpy(&status, reply + 4, sizeof status);
                        if (status.PhoneNumberLength > sizeof status.PhoneNumber)
                            status.PhoneNumberLength = sizeof status.PhoneNumber;
                        StoreRecord(&entry, status);
                        if (stored)
                            *stored = true;
                        return Calvox_Result_Ok;
                    });
}

int RefreshOnlineUsers(Calvox_Device& device)
{
    return Exchange(device, kCmdGetOnlineUsers, nullptr, 0, 4, [&](const uint8_t* reply, int length) {
        const int count = reply[0];
        if (4 + count * kOnlineUserSize > length)
            return Calvox_Result_Refused;  // announces more users than the reply holds
        // Written in place: a program holding the entries pointer keeps valid memory (StableList.h).
        for (int i = 0; i < count; ++i) {
            Calvox_OnlineUser user;
            std::memcpy(&user, reply + 4 + i * kOnlineUserSize, sizeof user);
            if (user.NameLength > sizeof user.Name)
                user.NameLength = sizeof user.Name;
            device.onlineUsers.Store(static_cast<size_t>(i), user);
        }
        StableList<Calvox_OnlineUser>::Publish(&device.onlineUserList.Count, count);
        return Calvox_Result_Ok;
    });
}

int GetCurrentRecordInfo(Calvox_Device& device, int channel, Calvox_CurrentRecordInfo* out)
{
    if (!device.HasChannel(channel) || !out)
        return Calvox_Result_InvalidArgument;
    const uint8_t request = static_cast<uint8_t>(channel);
    return Exchange(device, kCmdGetCurrentRecordInfo, &request, 1, sizeof(Calvox_CurrentRecordInfo),
                    [&](const uint8_t* reply, int) {
                        std::memcpy(out, reply, sizeof *out);
                        if (out->PhoneNumberLength > sizeof out->PhoneNumber)
                            out->PhoneNumberLength = sizeof out->PhoneNumber;
                        return Calvox_Result_Ok;
                    });
}

int GetTime(Calvox_Device& device)
{
    return Exchange(device, kCmdGetTime, nullptr, 0, sizeof(Calvox_DateTime),
                    [&](const uint8_t* reply, int) { return CopyInto(device.dateTime, reply); });
}

int SetTime(Calvox_Device& device, const Calvox_DateTime* time)
{
    if (!time)
        return Calvox_Result_InvalidArgument;
    const Calvox_DateTime sent = *time;
    return Exchange(device, kCmdSetTime, &sent, sizeof sent, 0, [&](const uint8_t*, int) {
        device.dateTime = sent;
        return Calvox_Result_Ok;
    });
}

int GetPlayBackFileList(Calvox_Device& device)
{
    return Exchange(device, kCmdGetPlayBackFileList, nullptr, 0, sizeof(Calvox_PlayBackFileList),
                    [&](const uint8_t* reply, int) {
                        Calvox_PlayBackFileList& list = device.playBackFileList;
                        std::memcpy(&list, reply, sizeof list);
                        if (list.Count > kMaxPlayBackFiles)
                            list.Count = kMaxPlayBackFiles;
                        for (auto& name : list.Names)
                            name[kMaxFileNameLength] = '\0';
                        return Calvox_Result_Ok;
                    });
}

int GetSetting(Calvox_Device& device, SettingGroup group)
{
    const GroupInfo& info = Group(group);
    return Exchange(device, info.getCode, nullptr, 0, info.size, [&](const uint8_t* reply, int) {
        std::memcpy(info.record(device), reply, static_cast<size_t>(info.size));
        return Calvox_Result_Ok;
    });
}

int SetSetting(Calvox_Device& device, SettingGroup group, void* record)
{
    const GroupInfo& info = Group(group);
    if (!record || (info.prepare && !info.prepare(record)))
        return Calvox_Result_InvalidArgument;
    uint8_t payload[8 + sizeof(Calvox_KeyControlSetting)];  // the largest group
    const int length = PutMarkedRecord(payload, 0, record, info.size);
    return Exchange(device, info.setCode, payload, length, 0, [&](const uint8_t*, int) {
        std::memcpy(info.record(device), record, static_cast<size_t>(info.size));
        return Calvox_Result_Ok;
    });
}

int GetChannelSetting(Calvox_Device& device, int channel)
{
    if (!device.HasChannel(channel))
        return Calvox_Result_InvalidArgument;
    const uint8_t request = static_cast<uint8_t>(channel);
    return Exchange(device, kCmdGetChannelSetting, &request, 1, sizeof(Calvox_ChannelSetting),
                    [&](const uint8_t* reply, int) {
                        return CopyInto(device.ChannelSettings()[channel], reply);
                    });
}

int SetChannelSetting(Calvox_Device& device, int channel, Calvox_ChannelSetting* record)
{
    if (!device.HasChannel(channel) || !record)
        return Calvox_Result_InvalidArgument;
    LimitChannelSetting(*record);
    uint8_t payload[8 + 4 + sizeof(Calvox_ChannelSetting)] = {};
    payload[0] = static_cast<uint8_t>(channel);
    const int length = PutMarkedRecord(payload, 4, record, sizeof *record);
    return Exchange(device, kCmdSetChannelSetting, payload, length, 0, [&](const uint8_t*, int) {
        device.ChannelSettings()[channel] = *record;
        return Calvox_Result_Ok;
    });
}

int Dial(Calvox_Device& device, int channel, const char* number, uint8_t length)
{
    if (!device.HasChannel(channel) || (length > 0 && !number))
        return Calvox_Result_InvalidArgument;
    uint8_t payload[2 + 255];
    payload[0] = static_cast<uint8_t>(channel);
    payload[1] = length;
    if (length > 0)
        std::memcpy(payload + 2, number, length);
    return Exchange(device, kCmdDial, payload, 2 + length, 0, Ignore);
}

int GetSMDR(Calvox_Device& device, unsigned* length, const char** text)
{
    if (!length || !text)
        return Calvox_Result_InvalidArgument;
    return Exchange(device, kCmdGetSMDR, nullptr, 0, 1, [&](const uint8_t* reply, int replyLength) {
        const int announced = reply[0];
        if (1 + announced > replyLength)
            return Calvox_Result_Refused;  // more text announced than the reply carries
        // The recorder may announce up to 255 bytes; the connection keeps the first 100.
        const int kept = announced < int(sizeof device.smdrText) ? announced : int(sizeof device.smdrText);
        std::memcpy(device.smdrText, reply + 1, static_cast<size_t>(kept));
        *length = static_cast<unsigned>(kept);
        *text = device.smdrText;
        return Calvox_Result_Ok;
    });
}

int Reboot(Calvox_Device& device)
{
    return Exchange(device, kCmdReboot, nullptr, 0, 0, Ignore);
}

int PlayAudioFile(Calvox_Device& device, int channel, const char* name)
{
    if (!device.HasChannel(channel) || !name)
        return Calvox_Result_InvalidArgument;
    const size_t nameLength = strnlen(name, kMaxFileNameLength + 1);
    if (nameLength > kMaxFileNameLength)
        return Calvox_Result_InvalidArgument;
    uint8_t payload[1 + kMaxFileNameLength + 1] = {};
    payload[0] = static_cast<uint8_t>(channel);
    std::memcpy(payload + 1, name, nameLength);
    return Exchange(device, kCmdPlayAudioFile, payload, static_cast<int>(2 + nameLength), 0, Ignore);
}

int OffHook(Calvox_Device& device, int channel, int value)
{
    if (!device.HasChannel(channel) || value < 0)
        return Calvox_Result_InvalidArgument;
    // The recorder counts in steps of 128 from 1; 255 is its largest.
    const int steps = value / 128;
    const uint8_t payload[2] = {static_cast<uint8_t>(channel), static_cast<uint8_t>(steps >= 255 ? 255 : steps + 1)};
    return Exchange(device, kCmdOffHook, payload, 2, 0, Ignore);
}

}  // namespace calvox
