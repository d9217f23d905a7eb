#include "Search.h"

#include "Datagram.h"
#include "DeviceIdentity.h"
#include "TimeScale.h"

#include <arpa/inet.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <mutex>

namespace calvox {
namespace {

std::mutex& OverrideMutex()
{
    static std::mutex m;
    return m;
}

SearchOverride& Override()
{
    static SearchOverride o;
    return o;
}

struct SearchPlan {
    std::vector<net::LocalAdapter> adapters;
    std::vector<net::Address> destinations;
};

SearchPlan MakePlan()
{
    SearchOverride o;
    {
        std::lock_guard<std::mutex> lock(OverrideMutex());
        o = Override();
    }
    SearchPlan plan;
    plan.adapters = o.adapters ? *o.adapters : net::ListLocalAdapters();
    if (o.destinations)
        plan.destinations = *o.destinations;
    else
        plan.destinations.push_back(net::MakeAddress(INADDR_BROADCAST, kDevicePort));
    return plan;
}

class Search {
public:
    explicit Search(const Calvox_EventCallback& callback) : callback_(callback)
    {
        request_[kOffCommand] = kCmdSearch;
    }

    int Run()
    {
        const SearchPlan plan = MakePlan();
        const double step = plan.adapters.empty() ? 0 : 100.0 / (plan.adapters.size() * kSearchRounds);
        for (const net::LocalAdapter& adapter : plan.adapters) {
            if (SearchFrom(adapter, plan.destinations, step))
                return 0;  // the limit of found recorders was reached; 100 is reported already
        }
        if (progress_ < 100)
            Report(Calvox_Event_Progress, nullptr, 100);
        return 0;
    }

private:
    // True when the search must end at once.
    bool SearchFrom(const net::LocalAdapter& adapter, const std::vector<net::Address>& destinations, double step)
    {
        const int fd = net::OpenUdp();
        if (fd == net::kInvalidSocket) {
            progress_ += kSearchRounds * step;
            return false;
        }
        net::SetBroadcast(fd, true);
        net::SetReceiveTimeout(fd, ScaledMs(kSearchWaitMs));
        if (!net::Bind(fd, adapter.address, 0)) {
            net::Close(fd);
            progress_ += kSearchRounds * step;
            return false;
        }
        for (int round = 0; round < kSearchRounds; ++round) {
            SendRequest(fd, destinations);
            if (ReceiveReplies(fd)) {
                net::Close(fd);
                Report(Calvox_Event_Progress, nullptr, 100);
                return true;
            }
            progress_ += step;
            Report(Calvox_Event_Progress, nullptr, static_cast<int>(progress_));
        }
        net::Close(fd);
        return false;
    }

    void SendRequest(int fd, const std::vector<net::Address>& destinations)
    {
        WriteHeader(request_, kOriginClient, kCmdSearch);
        const int length = kHeaderSize + found_ * kDeviceIdLength;
        for (const net::Address& to : destinations)
            net::SendTo(fd, request_, length, to);
    }

    // Takes replies until the round's wait, counted from its request, is over: datagrams that arrive meanwhile
    // do not extend it, so a machine that keeps sending cannot hold the search. True when the limit of found
    // recorders was reached.
    bool ReceiveReplies(int fd)
    {
        using Clock = std::chrono::steady_clock;
        const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(ScaledMs(kSearchWaitMs));
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0)
                return false;
            net::SetReceiveTimeout(fd, static_cast<int>(left));
            net::Address from{};
            const int n = net::ReceiveFrom(fd, reply_, kDatagramSize, &from);
            if (n <= 0)
                return false;
            // Command and status are not checked: recorders answer the search with varying bytes there.
            if (n < kHeaderSize + kSearchReplyPayload || reply_[0] != 'K' || reply_[1] != 'W' ||
                reply_[kOffOrigin] != kOriginRecorder)
                continue;
            if (Take(reply_ + kHeaderSize) && found_ >= kMaxFoundDevices)
                return true;
        }
    }

    // True when the reply names a recorder not seen before in this search.
    bool Take(const uint8_t* payload)
    {
        uint8_t* ids = request_ + kHeaderSize;
        for (int i = 0; i < found_; ++i)
            if (std::memcmp(ids + i * kDeviceIdLength, payload, kDeviceIdLength) == 0)
                return false;
        // Recorders already found ride along in every further request, unknown models included, so they stay
        // silent.
        std::memcpy(ids + found_ * kDeviceIdLength, payload, kDeviceIdLength);
        ++found_;

        char id[kDeviceIdLength + 1] = {};
        std::memcpy(id, payload, kDeviceIdLength);
        const int model = ModelIndexOf(id);
        if (model < 0)
            return true;
        Calvox_FoundDeviceInfo info{};
        std::memcpy(info.ID, payload, kDeviceIdLength);
        info.Model = Model(model).name;
        info.Channels = Model(model).channels;
        CalvoxAPI_VersionToString(GetU32(payload + 20), info.FirmwareVersion);
        uint32_t address;
        std::memcpy(&address, payload + 24, 4);  // network order, printed byte by byte
        CalvoxAPI_IPaddressToString(address, info.Address);
        info.Port = GetU16(payload + 28);
        Report(Calvox_Event_FoundDevice, reinterpret_cast<unsigned char*>(&info), 0);
        return true;
    }

    void Report(Calvox_EventType type, unsigned char* data, int length)
    {
        if (callback_)
            callback_(type, 0, data, length);
    }

    const Calvox_EventCallback& callback_;
    double progress_ = 0;
    int found_ = 0;
    uint8_t request_[kHeaderSize + kMaxFoundDevices * kDeviceIdLength] = {};
    uint8_t reply_[kDatagramSize] = {};
};

}  // namespace

void SetSearchOverride(const SearchOverride& override)
{
    std::lock_guard<std::mutex> lock(OverrideMutex());
    Override() = override;
}

void ClearSearchOverride() { SetSearchOverride(SearchOverride{}); }

int SearchDevice(const Calvox_EventCallback& callback)
{
    // About 8 KiB of buffers: kept off the caller's stack.
    auto search = std::make_unique<Search>(callback);
    return search->Run();
}

}  // namespace calvox
