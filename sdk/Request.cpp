#include "Request.h"

#include "Device.h"
#include "ReplyMatcher.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

namespace calvox {
namespace {

std::mutex& CloudMutex()
{
    static std::mutex m;
    return m;
}

net::Address& CloudAddress()
{
    static net::Address address = [] {
        net::Address a{};
        const char* text = std::getenv("CALVOX_CLOUD_SERVER");
        if (!text || !*text)
            return a;
        std::string host(text);
        uint16_t port = kCloudPort;
        const auto colon = host.rfind(':');
        if (colon != std::string::npos) {
            port = static_cast<uint16_t>(std::atoi(host.c_str() + colon + 1));
            host.resize(colon);
        }
        const uint32_t ip = net::Resolve(host.c_str());
        return ip ? net::MakeAddress(ip, port) : a;
    }();
    return address;
}

}  // namespace

net::Address CloudServer()
{
    std::lock_guard<std::mutex> lock(CloudMutex());
    return CloudAddress();
}

void SetCloudServer(const net::Address& address)
{
    std::lock_guard<std::mutex> lock(CloudMutex());
    CloudAddress() = address;
}

int SendRequest(Calvox_Device& device, ReplyMatcher& matcher, uint8_t* request, int payloadLength, uint8_t* reply)
{
    const uint8_t command = request[kOffCommand];
    WriteHeader(request, kOriginClient, command);
    const int length = kHeaderSize + payloadLength;
    matcher.Clear();
    for (int attempt = 0; attempt < kRequestTries; ++attempt) {
        device.channel.SendTo(request, length, device.DeviceAddress());
        for (;;) {
            const int n = matcher.Wait(reply);
            if (n == 0)
                break;
            if (IsReply(reply, n, kOriginRecorder, command))
                return n;
        }
    }
    reply[kOffStatus] = Calvox_Result_NoReply;
    return -1;
}

int SendBlockRequest(Calvox_Device& device, uint8_t* packet, uint8_t* reply, uint32_t blockIndex)
{
    const uint8_t command = packet[kOffCommand];
    WriteHeader(packet, kOriginClient, command);
    PutU32(packet + 10, blockIndex);
    ReplyMatcher& matcher = *device.download;
    matcher.Clear();
    for (int attempt = 0; attempt < kBlockTries; ++attempt) {
        device.channel.SendTo(packet, kBlockPacketSize, device.DeviceAddress());
        for (;;) {
            const int n = matcher.Wait(reply);
            if (n == 0)
                break;
            // The matcher's prefix has checked magic, origin and command; a stale block is skipped.
            if (n >= kHeaderSize + 4 && GetU32(reply + kHeaderSize) == blockIndex)
                return n;
        }
    }
    reply[kOffStatus] = Calvox_Result_NoReply;
    return -1;
}

int SendCloudRequest(Calvox_Device& device, uint8_t* request, int payloadLength)
{
    const uint8_t command = request[kOffCommand];
    WriteHeader(request, kOriginClient, command);
    const int length = kHeaderSize + payloadLength;
    const net::Address server = CloudServer();
    if (server.sin_addr.s_addr == 0) {
        request[kOffStatus] = Calvox_Result_NoReply;
        return -1;
    }
    ReplyMatcher& matcher = *device.general;
    matcher.Clear();
    uint8_t reply[kDatagramSize];
    for (int attempt = 0; attempt < kRequestTries; ++attempt) {
        device.channel.SendTo(request, length, server);
        for (;;) {
            const int n = matcher.Wait(reply);
            if (n == 0)
                break;
            if (IsReply(reply, n, kOriginCloud, command)) {
                std::memcpy(request, reply, static_cast<size_t>(n));
                return n;
            }
        }
    }
    request[kOffStatus] = Calvox_Result_NoReply;
    return -1;
}

int RunCommand(Calvox_Device& device, uint8_t* buffer, int payloadLength, int minReplyPayload, int* replyLength)
{
    uint8_t reply[kDatagramSize];
    const int n = SendRequest(device, *device.general, buffer, payloadLength, reply);
    if (n < 0) {
        buffer[kOffStatus] = Calvox_Result_NoReply;
        return Calvox_Result_NoReply;
    }
    const uint8_t status = reply[kOffStatus];
    if (status != 0) {
        buffer[kOffStatus] = status;
        return status;
    }
    if (n - kHeaderSize < minReplyPayload)
        return Calvox_Result_Refused;  // a short reply must not be read past its end
    std::memcpy(buffer, reply, static_cast<size_t>(n));
    if (replyLength)
        *replyLength = n;
    return 0;
}

}  // namespace calvox
