#include "Request.h"

#include "Config.h"
#include "Device.h"
#include "ReplyMatcher.h"

#include <cstring>
#include <mutex>
#include <string>

namespace calvox {
namespace {

struct CloudSetting {
    std::mutex mutex;
    bool known = false;  // set once resolved or given by SetCloudServer
    net::Address address{};
};

CloudSetting& Cloud()
{
    static CloudSetting setting;
    return setting;
}

// Sends the packet up to `tries` times (UDP may lose the request or the reply), each time to the address
// `destination()` gives then, and after each send takes datagrams from the matcher until the try's time-out,
// counted from its send, has passed: the first one that `accept(length)` takes is the reply (left in reply;
// its length is returned). Datagrams that are not the answer do not extend the try, so a peer that keeps
// sending them cannot hold the caller (and the lock it holds) beyond tries x time-out. The matcher is
// cleared first, so a late reply to an earlier request is never taken for this one. -1 after the last try.
template <typename Destination, typename Accept>
int Exchange(Calvox_Device& device, ReplyMatcher& matcher, const uint8_t* packet, int length, int tries,
             Destination destination, uint8_t* reply, Accept accept)
{
    matcher.Clear();
    for (int attempt = 0; attempt < tries; ++attempt) {
        device.channel.SendTo(packet, length, destination());
        const ReplyMatcher::Clock::time_point deadline = matcher.Deadline();
        for (;;) {
            const int n = matcher.Wait(deadline, reply);
            if (n == 0)
                break;
            if (accept(n))
                return n;
        }
    }
    return -1;
}

}  // namespace

net::Address CloudServer()
{
    CloudSetting& cloud = Cloud();
    std::lock_guard<std::mutex> lock(cloud.mutex);
    if (!cloud.known) {
        // Resolved on first use, not at start-up: a program that never connects remotely never looks it up. A
        // name that does not resolve is tried again next time.
        const ServerAddress server = CloudServerSetting();
        const uint32_t ip = net::Resolve(server.host.c_str());
        if (ip == 0)
            return net::Address{};
        cloud.address = net::MakeAddress(ip, server.port);
        cloud.known = true;
    }
    return cloud.address;
}

void SetCloudServer(const net::Address& address)
{
    CloudSetting& cloud = Cloud();
    std::lock_guard<std::mutex> lock(cloud.mutex);
    cloud.address = address;
    cloud.known = true;
}

int SendRequest(Calvox_Device& device, ReplyMatcher& matcher, uint8_t* request, int payloadLength, uint8_t* reply)
{
    const uint8_t command = request[kOffCommand];
    WriteHeader(request, kOriginClient, command);
    const int n = Exchange(device, matcher, request, kHeaderSize + payloadLength, kRequestTries,
                           [&device] { return device.DeviceAddress(); }, reply,
                           [&](int length) { return IsReply(reply, length, kOriginRecorder, command); });
    if (n < 0)
        reply[kOffStatus] = Calvox_Result_NoReply;
    return n;
}

int SendBlockRequest(Calvox_Device& device, uint8_t* packet, uint8_t* reply, uint32_t blockIndex)
{
    const uint8_t command = packet[kOffCommand];
    WriteHeader(packet, kOriginClient, command);
    PutU32(packet + 10, blockIndex);
    // The matcher's prefix has checked magic, origin and command. A reply too short to carry a block index is
    // the recorder's answer all the same (a refusal, or a broken block): the caller judges it by its status,
    // so one without a whole header is none. A stale block of another index is skipped.
    const int n = Exchange(device, *device.download, packet, kBlockPacketSize, kBlockTries,
                           [&device] { return device.DeviceAddress(); }, reply, [&](int length) {
                               if (length < kHeaderSize)
                                   return false;
                               return length < kHeaderSize + 4 || GetU32(reply + kHeaderSize) == blockIndex;
                           });
    if (n < 0)
        reply[kOffStatus] = Calvox_Result_NoReply;
    return n;
}

int SendCloudRequest(Calvox_Device& device, uint8_t* request, int payloadLength)
{
    const uint8_t command = request[kOffCommand];
    WriteHeader(request, kOriginClient, command);
    const net::Address server = CloudServer();
    if (server.sin_addr.s_addr == 0) {
        request[kOffStatus] = Calvox_Result_NoReply;
        return -1;
    }
    uint8_t reply[kDatagramSize];
    const int n = Exchange(device, *device.general, request, kHeaderSize + payloadLength, kRequestTries,
                           [&server] { return server; }, reply,
                           [&](int length) { return IsReply(reply, length, kOriginCloud, command); });
    if (n < 0) {
        request[kOffStatus] = Calvox_Result_NoReply;
        return -1;
    }
    std::memcpy(request, reply, static_cast<size_t>(n));
    return n;
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
