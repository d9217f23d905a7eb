// The recorder's user table: read in parts (command 24), add (25), edit (26) and delete (27) one account.
// Accounts travel as 48-byte wire entries: [0] name length (0 = empty slot), [1..19] name, [20..35] MD5 of the
// password, [36..43] channel mask (bit i = channel i), [44..47] permission word.
#include "CalvoxSDK.h"
#include "Datagram.h"
#include "Device.h"
#include "HandleTable.h"
#include "Md5.h"
#include "Request.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

namespace calvox {
namespace {

constexpr uint8_t kCmdGetUserList = 24;
constexpr uint8_t kCmdAddUser = 25;
constexpr uint8_t kCmdEditUser = 26;
constexpr uint8_t kCmdDeleteUser = 27;

constexpr int kWireEntry = static_cast<int>(kUserWireEntry);
constexpr int kMaxName = 19;
constexpr int kPartLength = 1364;

// The name is measured within its 19-byte field: a 19-character name has no terminator, and the permission
// bytes that follow it are not part of it.
size_t NameLength(const Calvox_UserInfo& user) { return strnlen(user.Name, kMaxName); }

uint32_t PermissionWord(const Calvox_UserInfo& user)
{
    const uint8_t bytes[5] = {user.ManageUsers, user.ChangeSetting, user.Download, user.Delete, user.Monitor};
    uint32_t word = 0;
    for (int k = 0; k < 5; ++k)
        if (bytes[k])
            word |= 1u << k;
    return word;
}

uint64_t ChannelMask(const Calvox_UserInfo& user)
{
    uint64_t mask = 0;
    for (int i = 0; i < 64; ++i)
        if (user.Channels[i])
            mask |= 1ull << i;
    return mask;
}

void PutU64(uint8_t* p, uint64_t v)
{
    PutU32(p, static_cast<uint32_t>(v));
    PutU32(p + 4, static_cast<uint32_t>(v >> 32));
}

Calvox_UserInfo DecodeEntry(const uint8_t* wire)
{
    Calvox_UserInfo user{};
    user.NameLength = std::min<uint8_t>(wire[0], kMaxName);
    std::memcpy(user.Name, wire + 1, user.NameLength);
    const uint32_t word = GetU32(wire + 44);
    uint8_t* permissions[5] = {&user.ManageUsers, &user.ChangeSetting, &user.Download, &user.Delete, &user.Monitor};
    for (int k = 0; k < 5; ++k)
        *permissions[k] = (word >> k) & 1;
    const uint64_t mask = static_cast<uint64_t>(GetU32(wire + 36)) | (static_cast<uint64_t>(GetU32(wire + 40)) << 32);
    for (int i = 0; i < 64; ++i)
        user.Channels[i] = (mask >> i) & 1;
    return user;
}

int GetUserList(Calvox_Device& device)
{
    std::lock_guard<std::mutex> lock(device.commandMutex);
    StableList<Calvox_UserInfo>::Publish(&device.userList.Count, 0u);

    uint8_t buffer[kDatagramSize] = {};
    buffer[kOffCommand] = kCmdGetUserList;
    buffer[kHeaderSize] = 0;  // size request
    int length = 0;
    int status = RunCommand(device, buffer, 1, 0, &length);
    if (status != 0)
        return status;
    if (length != kHeaderSize + 4)
        return Calvox_Result_Refused;
    const uint32_t total = GetU32(buffer + kHeaderSize);
    if (total > kMaxUserTable)
        return Calvox_Result_Refused;

    std::vector<uint8_t> table(total);
    for (uint32_t offset = 0; offset < total;) {
        const uint32_t part = std::min<uint32_t>(total - offset, kPartLength);
        std::memset(buffer, 0, kHeaderSize + 12);
        buffer[kOffCommand] = kCmdGetUserList;
        buffer[kHeaderSize] = 1;
        PutU32(buffer + kHeaderSize + 4, offset);
        PutU16(buffer + kHeaderSize + 8, static_cast<uint16_t>(part));
        status = RunCommand(device, buffer, 12, 0, &length);
        if (status != 0)
            return status;
        if (length != kHeaderSize + static_cast<int>(part))
            return Calvox_Result_Refused;
        std::memcpy(table.data() + offset, buffer + kHeaderSize, part);
        offset += part;
    }

    // Written in place: a program holding the entries pointer keeps valid memory (StableList.h).
    uint32_t count = 0;
    for (uint32_t at = 0; at + kWireEntry <= total; at += kWireEntry)
        if (table[at] != 0)
            device.users.Store(count++, DecodeEntry(table.data() + at));
    StableList<Calvox_UserInfo>::Publish(&device.userList.Count, count);
    return Calvox_Result_Ok;
}

// One account command: `fill` writes the payload (the name's length and bytes given) into the request; the
// exchange runs under the command mutex. 4 without a connection, a record or a name (a nameless entry is an
// empty slot to the recorder).
template <class Fill>
int RunUserCommand(Calvox_DeviceHandle handle, const Calvox_UserInfo* user, uint8_t command, int payloadLength,
                   Fill fill)
{
    auto device = FindDevice(handle);
    if (!device || !user)
        return Calvox_Result_InvalidArgument;
    const size_t nameLength = NameLength(*user);
    if (nameLength == 0)
        return Calvox_Result_InvalidArgument;
    uint8_t buffer[kDatagramSize] = {};
    buffer[kOffCommand] = command;
    fill(buffer + kHeaderSize, static_cast<uint8_t>(nameLength));
    std::lock_guard<std::mutex> lock(device->commandMutex);
    return RunCommand(*device, buffer, payloadLength);
}

}  // namespace
}  // namespace calvox

using calvox::FindDevice;

CALVOX_API Calvox_Result CalvoxAPI_GetUserList(Calvox_DeviceHandle handle)
{
    auto device = FindDevice(handle);
    return device ? calvox::GetUserList(*device) : Calvox_Result_InvalidArgument;
}

CALVOX_API Calvox_Result CalvoxAPI_AddUser(Calvox_DeviceHandle handle, const Calvox_UserInfo* user,
                                           const char* password)
{
    using namespace calvox;
    return RunUserCommand(handle, user, kCmdAddUser, kWireEntry, [&](uint8_t* wire, uint8_t nameLength) {
        wire[0] = nameLength;
        std::memcpy(wire + 1, user->Name, nameLength);
        Md5OfText(password, wire + 20);
        PutU64(wire + 36, ChannelMask(*user));
        PutU32(wire + 44, PermissionWord(*user));
    });
}

CALVOX_API Calvox_Result CalvoxAPI_EditUser(Calvox_DeviceHandle handle, const Calvox_UserInfo* user,
                                            const char* password)
{
    using namespace calvox;
    return RunUserCommand(handle, user, kCmdEditUser, 52, [&](uint8_t* p, uint8_t nameLength) {
        p[0] = password ? 1 : 0;  // 0 keeps the recorder's password
        p[4] = nameLength;
        std::memcpy(p + 5, user->Name, nameLength);
        if (password)
            Md5OfText(password, p + 24);
        PutU64(p + 40, ChannelMask(*user));
        PutU32(p + 48, PermissionWord(*user));
    });
}

CALVOX_API Calvox_Result CalvoxAPI_DeleteUser(Calvox_DeviceHandle handle, const Calvox_UserInfo* user)
{
    using namespace calvox;
    return RunUserCommand(handle, user, kCmdDeleteUser, kWireEntry, [&](uint8_t* wire, uint8_t nameLength) {
        wire[0] = nameLength;
        std::memcpy(wire + 1, user->Name, nameLength);
    });
}
