// TEMPORARY: stand-ins for the login and the status commands 5, 8 and 9 that the heartbeat calls
// (HeartbeatCommands.h), until the connection and status command family is on this branch. Delete this file
// when merging that family: it defines the same functions.
#include "CalvoxSDK.h"
#include "Datagram.h"
#include "Device.h"
#include "HeartbeatCommands.h"
#include "Request.h"

#include <cstring>

namespace calvox {
namespace {

constexpr uint8_t kCmdLoginStandIn = 3;
constexpr uint8_t kCmdStorageStatus = 5;
constexpr uint8_t kCmdChannelStatus = 8;
constexpr uint8_t kCmdOnlineUsers = 9;

}  // namespace

int Login(Calvox_Device& device)
{
    uint8_t buffer[kDatagramSize] = {};
    buffer[kOffCommand] = kCmdLoginStandIn;
    uint8_t* p = buffer + kHeaderSize;
    std::memcpy(p, device.id, sizeof device.id);
    PutU32(p + 20, 0x02000708);  // the SDK version the recorders check
    std::memcpy(p + 24, device.passwordMd5, 16);
    p[40] = device.userNameLength;
    std::memcpy(p + 41, device.userName, device.userNameLength);
    std::lock_guard<std::mutex> lock(device.commandMutex);
    const int status = RunCommand(device, buffer, 41 + device.userNameLength, 16);
    if (status != 0)
        return status;
    device.firmwareVersion = GetU32(p);
    const uint32_t low = GetU32(p + 4), high = GetU32(p + 8);
    for (int i = 0; i < kMaxChannels; ++i)
        device.channelPermission[i] = ((i < 32 ? low >> i : high >> (i - 32)) & 1) ? 1 : 0;
    device.permission = GetU32(p + 12);
    return 0;
}

int GetStorageStatus(Calvox_Device& device)
{
    uint8_t buffer[kDatagramSize] = {};
    buffer[kOffCommand] = kCmdStorageStatus;
    std::lock_guard<std::mutex> lock(device.commandMutex);
    const int status = RunCommand(device, buffer, 0, 9);
    if (status == 0) {
        const uint8_t* p = buffer + kHeaderSize;
        device.storageStatus = {p[8], GetU32(p), GetU32(p + 4)};
    }
    return status;
}

int RefreshChannelStatus(Calvox_Device& device, int channel, bool* stored)
{
    *stored = false;
    if (channel < 0 || channel >= device.channelCount)
        return Calvox_Result_InvalidArgument;
    uint8_t buffer[kDatagramSize] = {};
    buffer[kOffCommand] = kCmdChannelStatus;
    buffer[kHeaderSize] = static_cast<uint8_t>(channel);
    std::lock_guard<std::mutex> lock(device.commandMutex);
    device.general->Clear();
    const int status = RunCommand(device, buffer, 1, 4 + sizeof(Calvox_ChannelStatus));
    if (status == 0 && buffer[kHeaderSize] == channel) {
        Calvox_ChannelStatus& entry = device.channelStatus[static_cast<size_t>(channel)];
        device.lastPhoneState[channel] = entry.LineState;
        std::memcpy(&entry, buffer + kHeaderSize + 4, sizeof entry);
        *stored = true;
    }
    return status;
}

int RefreshOnlineUsers(Calvox_Device& device)
{
    uint8_t buffer[kDatagramSize] = {};
    buffer[kOffCommand] = kCmdOnlineUsers;
    std::lock_guard<std::mutex> lock(device.commandMutex);
    int length = 0;
    const int status = RunCommand(device, buffer, 0, 4, &length);
    if (status != 0)
        return status;
    const int count = buffer[kHeaderSize];
    if (kHeaderSize + 4 + count * static_cast<int>(sizeof(Calvox_OnlineUser)) > length)
        return Calvox_Result_Refused;
    device.onlineUsers.resize(static_cast<size_t>(count));
    if (count)
        std::memcpy(device.onlineUsers.data(), buffer + kHeaderSize + 4, count * sizeof(Calvox_OnlineUser));
    device.onlineUserList = {count, device.onlineUsers.data()};
    return 0;
}

}  // namespace calvox
