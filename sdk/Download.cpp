#include "Transfer.h"

#include "Datagram.h"
#include "Device.h"
#include "ReplyMatcher.h"
#include "Request.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <mutex>

namespace calvox {
namespace {

class Download {
public:
    Download(Calvox_Device& device, const Calvox_EventCallback* callback) : device_(device), callback_(callback) {}

    int Run(const char* devicePath, size_t pathLength)
    {
        std::lock_guard<std::mutex> transfer(device_.transferMutex);
        device_.downloadSequence = NextSequence(device_.downloadSequence);
        const uint8_t sequence = device_.downloadSequence;
        device_.download->Clear();

        uint8_t* payload = request_ + kHeaderSize;
        request_[kOffCommand] = kCmdDownload;
        payload[0] = kDownloadBegin;
        payload[1] = sequence;
        std::memcpy(payload + 2, devicePath, pathLength + 1);
        const int n = SendRequest(device_, *device_.download, request_, 2 + static_cast<int>(pathLength) + 1, reply_);
        if (n < 0)
            return Calvox_Result_NoReply;
        if (reply_[kOffStatus] != 0)
            return reply_[kOffStatus];
        if (n != kDownloadBeginReply)
            return Calvox_Result_Refused;
        const uint32_t size = GetU32(reply_ + kHeaderSize);
        // The size travels to the callback as an int.
        if (size > static_cast<uint32_t>(INT_MAX))
            return Calvox_Result_Refused;
        if (Report(Calvox_Event_FileSize, nullptr, static_cast<int>(size)) != 0)
            return Calvox_Result_Refused;
        if (size == 0)
            return Calvox_Result_Ok;

        const uint64_t blocks = (static_cast<uint64_t>(size) + kDownloadBlockSize - 1) / kDownloadBlockSize;
        uint8_t packet[kBlockPacketSize] = {};
        for (uint64_t i = 0; i < blocks; ++i) {
            std::memset(packet, 0, sizeof packet);
            packet[kOffCommand] = kCmdDownload;
            packet[kHeaderSize] = kDownloadBlock;
            packet[kHeaderSize + 1] = sequence;
            const int got = SendBlockRequest(device_, packet, reply_, static_cast<uint32_t>(i));
            if (got < 0)
                return Calvox_Result_NoReply;
            if (reply_[kOffStatus] != 0)
                return reply_[kOffStatus];
            // Exactly the bytes this block must carry: never more than the announced size in all, never a
            // gap that would shift the rest of the file.
            const uint64_t expected = std::min<uint64_t>(kDownloadBlockSize, size - i * kDownloadBlockSize);
            if (got < kDownloadBlockHeader || static_cast<uint64_t>(got - kDownloadBlockHeader) != expected)
                return Calvox_Result_Refused;
            if (Report(Calvox_Event_FileData, reply_ + kDownloadBlockHeader, got - kDownloadBlockHeader) != 0)
                return Calvox_Result_Refused;  // no end request after a cancel
        }

        std::memset(request_, 0, kHeaderSize + 1);
        request_[kOffCommand] = kCmdDownload;
        payload[0] = kDownloadEnd;
        if (SendRequest(device_, *device_.download, request_, 1, reply_) < 0)
            return Calvox_Result_NoReply;
        return reply_[kOffStatus];
    }

private:
    int Report(Calvox_EventType type, unsigned char* data, int length)
    {
        if (!callback_ || !*callback_)
            return 0;
        return (*callback_)(type, device_.handle, data, length);
    }

    Calvox_Device& device_;
    const Calvox_EventCallback* callback_;
    uint8_t request_[kDatagramSize] = {};
    uint8_t reply_[kDatagramSize] = {};
};

}  // namespace

int DownloadFile(Calvox_Device& device, const char* devicePath, const Calvox_EventCallback* callback)
{
    if (!devicePath)
        return Calvox_Result_InvalidArgument;
    // Sub-code, sequence byte, the path and its terminator must fit one datagram.
    const size_t length = strnlen(devicePath, kMaxPayload);
    if (2 + length + 1 > static_cast<size_t>(kMaxPayload))
        return Calvox_Result_InvalidArgument;
    auto download = std::make_unique<Download>(device, callback);
    return download->Run(devicePath, length);
}

}  // namespace calvox
