// Connection through the cloud relay: the relay knows each recorder's public address by its ID; a recorder
// behind NAT only accepts datagrams from an address it has sent to, so both sides send to each other ("punch")
// while the relay tells the recorder where to send.
#include "Login.h"

#include "Datagram.h"
#include "Device.h"
#include "PortMapping.h"
#include "ReplyMatcher.h"
#include "Request.h"

#include <cstring>
#include <mutex>

namespace calvox {
namespace {

constexpr int kCloudReplyPayload = 7;  // address, port, NAT flag

}  // namespace

int ConnectViaCloud(Calvox_Device& device)
{
    std::lock_guard<std::mutex> lock(device.commandMutex);

    // Lets the recorder's answers through our own gateway; the connection goes on without it when that fails.
    MapPort(device.channel.LocalPort(), kFirstMappedPort, "UDP", "Calvox");

    uint8_t buffer[kDatagramSize] = {};
    buffer[kOffCommand] = kCmdCloudQuery;
    std::memcpy(buffer + kHeaderSize, device.id, kDeviceIdLength);
    int n = SendCloudRequest(device, buffer, kDeviceIdLength);
    if (n < 0)
        return Calvox_Result_NoReply;
    if (buffer[kOffStatus] != 0)
        return buffer[kOffStatus];
    if (n < kHeaderSize + kCloudReplyPayload)
        return Calvox_Result_Refused;

    uint8_t publicAddress[6];  // IPv4 in network order, then the port (little-endian)
    std::memcpy(publicAddress, buffer + kHeaderSize, sizeof publicAddress);
    uint32_t ip;
    std::memcpy(&ip, publicAddress, 4);
    const net::Address recorder = net::MakeAddress(ip, GetU16(publicAddress + 4));
    if (buffer[kHeaderSize + 6] == 0) {
        device.SetDeviceAddress(recorder);
        return Calvox_Result_Ok;
    }

    uint8_t punch[kHeaderSize];
    WriteHeader(punch, kOriginClient, 0);
    uint8_t reply[kDatagramSize];
    for (int round = 0; round < kPunchRounds; ++round) {
        std::memset(buffer, 0, kHeaderSize);
        buffer[kOffCommand] = kCmdPunch;
        std::memcpy(buffer + kHeaderSize, publicAddress, sizeof publicAddress);
        n = SendCloudRequest(device, buffer, sizeof publicAddress);
        if (n < 0)
            return Calvox_Result_NoReply;
        if (buffer[kOffStatus] != 0)
            return buffer[kOffStatus];

        device.channel.SendTo(punch, sizeof punch, recorder);
        net::Address from{};
        // One time-out per round, whatever else arrives meanwhile.
        const ReplyMatcher::Clock::time_point deadline = device.general->Deadline();
        while ((n = device.general->Wait(deadline, reply, &from)) > 0) {
            // The recorder's answer, wherever its NAT made it come from; the relay's (origin 2) or a refusal
            // does not count.
            if (IsReply(reply, n, kOriginRecorder, 0) && reply[kOffStatus] == 0) {
                device.SetDeviceAddress(from);
                return Calvox_Result_Ok;
            }
        }
    }
    return Calvox_Result_NoReply;
}

}  // namespace calvox
