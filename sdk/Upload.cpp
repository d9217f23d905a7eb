#include "Transfer.h"

#include "Datagram.h"
#include "Device.h"
#include "ReplyMatcher.h"
#include "Request.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

namespace calvox {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The local file's name: after the last '\', then after the last '/' of that.
const char* FileNameOf(const char* path)
{
    const char* name = path;
    if (const char* p = std::strrchr(name, '\\'))
        name = p + 1;
    if (const char* p = std::strrchr(name, '/'))
        name = p + 1;
    return name;
}

bool ValidFileName(const char* name)
{
    const size_t length = std::strlen(name);
    if (length > kMaxUploadFileName)
        return false;
    for (size_t i = 0; i < length; ++i)
        if (static_cast<unsigned char>(name[i]) >= 0x80)
            return false;
    return true;
}

class Upload {
public:
    Upload(Calvox_Device& device, const Calvox_EventCallback* callback) : device_(device), callback_(callback) {}

    int Run(std::FILE* file, int64_t size, const std::string& devicePath)
    {
        std::lock_guard<std::mutex> transfer(device_.transferMutex);

        request_[kHeaderSize] = kUploadBegin;
        request_[kHeaderSize + 1] = static_cast<uint8_t>(devicePath.size());
        std::memcpy(request_ + kHeaderSize + 2, devicePath.data(), devicePath.size());
        int status = Exchange(kUploadBegin, 0, 2 + static_cast<int>(devicePath.size()));
        if (status != 0)
            return status;

        const int64_t divisor = size / kUploadProgressDivisor + 1;
        int lastProgress = -1;
        int64_t sent = 0;
        for (uint32_t k = 0; sent < size; ++k) {
            const int64_t want = std::min<int64_t>(size - sent, k % 3 == 2 ? kUploadBlockShort : kUploadBlockLong);
            uint8_t* payload = request_ + kHeaderSize;
            std::memset(payload, 0, kUploadDataOffset);
            payload[0] = kUploadData;
            // Straight into the request: no copy of the file's bytes.
            const size_t got = std::fread(payload + kUploadDataOffset, 1, static_cast<size_t>(want), file);
            if (got == 0)
                return Calvox_Result_ReadError;
            PutU32(payload + 4, k);
            PutU32(payload + 8, static_cast<uint32_t>(got));
            status = Exchange(kUploadData, k, kUploadDataOffset + static_cast<int>(got));
            if (status != 0)
                return status;
            sent += static_cast<int64_t>(got);

            const int progress = static_cast<int>((static_cast<int64_t>(k) + 1) * 100 / divisor);
            if (progress != lastProgress) {
                lastProgress = progress;
                if (Report(progress) != 0) {
                    request_[kHeaderSize] = kUploadCancel;
                    Exchange(kUploadCancel, 0, 1);  // the recorder drops what it has; its answer changes nothing
                    return Calvox_Result_Refused;
                }
            }
        }
        if (lastProgress < 100)
            Report(100);  // the result is ignored: everything is sent already
        request_[kHeaderSize] = kUploadEnd;
        return Exchange(kUploadEnd, 0, 1);
    }

private:
    int Report(int percent)
    {
        if (!callback_ || !*callback_)
            return 0;
        return (*callback_)(Calvox_Event_Progress, device_.handle, nullptr, percent);
    }

    // One step on the upload matcher with up to five tries; the result is the reply's status (3 without one).
    // Recorders echo the sub-code and, for a data block, its number: an answer that echoes another step or an
    // earlier block (a late copy after a retry) is not this step's acknowledgement, so the wait goes on.
    int Exchange(uint8_t step, uint32_t block, int payloadLength)
    {
        WriteHeader(request_, kOriginClient, kCmdUpload);
        ReplyMatcher& matcher = *device_.upload;
        matcher.Clear();
        for (int attempt = 0; attempt < kRequestTries; ++attempt) {
            device_.channel.SendTo(request_, kHeaderSize + payloadLength, device_.DeviceAddress());
            // Answers to other steps do not extend the try: its time-out counts from the send.
            const ReplyMatcher::Clock::time_point deadline = matcher.Deadline();
            for (;;) {
                const int n = matcher.Wait(deadline, reply_);
                if (n == 0)
                    break;
                if (!IsReply(reply_, n, kOriginRecorder, kCmdUpload))
                    continue;
                if (n > kHeaderSize && reply_[kHeaderSize] != step)
                    continue;
                if (step == kUploadData && n >= kHeaderSize + 8 && GetU32(reply_ + kHeaderSize + 4) != block)
                    continue;
                return reply_[kOffStatus];
            }
        }
        return Calvox_Result_NoReply;
    }

    Calvox_Device& device_;
    const Calvox_EventCallback* callback_;
    uint8_t request_[kDatagramSize] = {};
    uint8_t reply_[kDatagramSize] = {};
};

}  // namespace

int UploadFile(Calvox_Device& device, const char* localPath, const char* deviceFolder, const char* deviceName,
               const Calvox_EventCallback* callback)
{
    if (!localPath || !deviceFolder)
        return Calvox_Result_InvalidArgument;
    const char* fileName = FileNameOf(localPath);
    if (!ValidFileName(fileName))
        return Calvox_Result_InvalidArgument;
    std::string devicePath = std::string(deviceFolder) + "/" + (deviceName ? deviceName : fileName);
    // The path travels behind a single length byte: a longer one would be cut on the wire.
    if (devicePath.size() > kMaxUploadDevicePath)
        return Calvox_Result_InvalidArgument;

    File file(std::fopen(localPath, "rb"));
    if (!file)
        return Calvox_Result_FileError;
    struct stat st {};
    if (fstat(fileno(file.get()), &st) != 0 || !S_ISREG(st.st_mode))
        return Calvox_Result_FileError;
    if (st.st_size == 0)
        return Calvox_Result_EmptyFile;

    auto upload = std::make_unique<Upload>(device, callback);
    return upload->Run(file.get(), static_cast<int64_t>(st.st_size), devicePath);
}

}  // namespace calvox
