#include "UpdateClient.h"

#include <vector>

#include "Config.h"
#include "TimeScale.h"

namespace calvox {

namespace {

// "host:port/" + path on the update server in force.
std::string UpdateUrl(const std::string& path)
{
    const ServerAddress server = UpdateServerSetting();
    return server.host + ":" + std::to_string(server.port) + "/" + path;
}

// A server that accepts and then stays silent ends the request after these waits.
constexpr int kConnectTimeoutMs = 5000;
constexpr int kReceiveTimeoutMs = 10000;

HttpLimits UpdateLimits(int64_t maxContentLength)
{
    HttpLimits limits;
    limits.maxContentLength = maxContentLength;
    limits.connectTimeoutMs = ScaledMs(kConnectTimeoutMs);
    limits.receiveTimeoutMs = ScaledMs(kReceiveTimeoutMs);
    return limits;
}

}  // namespace

HttpLimits VersionDocumentLimits() { return UpdateLimits(64 * 1024); }

HttpLimits FirmwareImageLimits() { return UpdateLimits(128 * 1024 * 1024); }

int FetchVersionDocument(const std::string& folder, int handle, const Calvox_EventCallback& callback)
{
    const std::string url = UpdateUrl(folder + "/Version.json");
    std::vector<unsigned char> body;
    const int r = HttpGet(url.c_str(), [&body](HttpEventType type, unsigned char* data, int length) {
        if (type == HttpEvent_ContentLength)
            body.reserve(static_cast<size_t>(length));  // already held to the limit by HttpGet
        else if (type == HttpEvent_Data)
            body.insert(body.end(), data, data + length);
        return 0;
    }, VersionDocumentLimits());
    if (!body.empty())
        callback(Calvox_Event_FileData, handle, body.data(), static_cast<int>(body.size()));
    return r == 0 ? 0 : 3;
}

int DownloadFirmwareImage(const std::string& model, const char* fileName, int handle,
                          const Calvox_EventCallback& callback)
{
    const std::string url = UpdateUrl(model + "/" + fileName);
    int64_t delivered = 0;
    const int r = HttpGet(url.c_str(), [&](HttpEventType type, unsigned char* data, int length) {
        switch (type) {
        case HttpEvent_Header:
            // Only a 200 response carries the image; an error page must never be saved as firmware.
            if (length != 200)
                return 1;
            return callback(Calvox_Event_FileSize, handle, nullptr, 0);
        case HttpEvent_ContentLength:
            return callback(Calvox_Event_FileSize, handle, nullptr, length);
        case HttpEvent_Data:
            delivered += length;
            return callback(Calvox_Event_FileData, handle, data, length);
        }
        return 1;
    }, FirmwareImageLimits());
    // A 200 without a body is no image either.
    return r == 0 && delivered > 0 ? 0 : -1;
}

}  // namespace calvox
