#include "Login.h"

#include "Datagram.h"
#include "Device.h"
#include "Md5.h"
#include "SdkVersion.h"
#include "Request.h"

#include <cstdio>
#include <cstring>
#include <mutex>

namespace calvox {

int SetNetAddr(Calvox_Device& device, const char* host, uint16_t port)
{
    if (!host)
        return Calvox_Result_InvalidArgument;
    device.SetDeviceAddress(net::MakeAddress(net::Resolve(host), port));
    return Calvox_Result_Ok;
}

int SetUserPassword(Calvox_Device& device, const char* user, int userLength, const char* password)
{
    if (userLength < 0 || userLength > kMaxUserNameLength || (userLength > 0 && !user))
        return Calvox_Result_InvalidArgument;
    uint8_t digest[kMd5DigestSize];
    Md5OfText(password, digest);
    // The heartbeat may be logging in again with these fields right now.
    std::lock_guard<std::mutex> lock(device.commandMutex);
    std::memset(device.userName, 0, sizeof device.userName);
    if (userLength > 0)
        std::memcpy(device.userName, user, static_cast<size_t>(userLength));
    device.userNameLength = static_cast<uint8_t>(userLength);
    std::memcpy(device.passwordMd5, digest, sizeof digest);
    return Calvox_Result_Ok;
}

int LoginRequest(Calvox_Device& device)
{
    uint8_t buffer[kDatagramSize] = {};
    uint8_t* payload = buffer + kHeaderSize;
    buffer[kOffCommand] = kCmdLogin;

    std::lock_guard<std::mutex> lock(device.commandMutex);
    std::memcpy(payload, device.id, kDeviceIdLength);
    PutU32(payload + 20, kSdkVersion);
    std::memcpy(payload + 24, device.passwordMd5, kMd5DigestSize);
    const int nameLength = device.userNameLength;
    payload[40] = static_cast<uint8_t>(nameLength);
    std::memcpy(payload + 41, device.userName, static_cast<size_t>(nameLength));

    // Reply: firmware version, 64-bit channel mask, permission word.
    const int result = RunCommand(device, buffer, 41 + nameLength, 16);
    if (result != Calvox_Result_Ok)
        return result;

    const uint32_t firmware = GetU32(payload);
    device.firmwareVersion = firmware;
    char text[sizeof device.firmwareText] = {};
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", firmware >> 24, (firmware >> 16) & 0xFF, (firmware >> 8) & 0xFF,
                  firmware & 0xFF);
    std::memcpy(device.firmwareText, text, sizeof text);
    const uint64_t mask = uint64_t(GetU32(payload + 4)) | uint64_t(GetU32(payload + 8)) << 32;
    for (int channel = 0; channel < kMaxChannels; ++channel)
        device.channelPermission[channel] = (mask >> channel) & 1;
    device.permission = GetU32(payload + 12);
    return Calvox_Result_Ok;
}

int Login(Calvox_Device& device)
{
    bool viaCloud;
    {
        std::lock_guard<std::mutex> lock(device.commandMutex);
        viaCloud = device.viaCloud != 0;
    }
    if (viaCloud)
        ConnectViaCloud(device);
    return LoginRequest(device);
}

}  // namespace calvox
