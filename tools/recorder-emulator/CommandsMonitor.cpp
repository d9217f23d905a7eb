// Command 36 (start or stop streaming a channel's audio) and the stream itself (EmuLiveAudio.h).
#include "EmuHeartbeat.h"
#include "EmuLiveAudio.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

namespace calvox::emu {
namespace {

constexpr uint8_t kStatusNoSuchChannel = 5;

class LiveAudioStream {
public:
    ~LiveAudioStream() { Stop(); }

    void SetKnobs(const LiveAudioKnobs& knobs)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        knobs_ = knobs;
    }

    void Start(const sockaddr_in& from, const sockaddr_in& to, uint8_t channel)
    {
        Stop();
        std::lock_guard<std::mutex> lock(mutex_);
        // Its own socket on the recorder's address, so the stream never races the recorder's own socket.
        socket_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in bindTo = from;
        bindTo.sin_port = 0;
        if (socket_ < 0 || ::bind(socket_, reinterpret_cast<sockaddr*>(&bindTo), sizeof bindTo) != 0) {
            if (socket_ >= 0)
                ::close(socket_);
            socket_ = -1;
            return;
        }
        run_ = true;
        channel_ = channel;
        thread_ = std::thread(&LiveAudioStream::Run, this, to, channel, knobs_);
    }

    void Stop()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            run_ = false;
        }
        wake_.notify_all();
        if (thread_.joinable())
            thread_.join();
        std::lock_guard<std::mutex> lock(mutex_);
        if (socket_ >= 0)
            ::close(socket_);
        socket_ = -1;
    }

    LiveAudioStatus Status()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return LiveAudioStatus{run_, run_ ? channel_ : uint8_t{255}, sent_};
    }

private:
    struct Held {
        uint64_t due;
        std::vector<uint8_t> bytes;
    };

    static bool Every(int n, uint64_t k) { return n > 0 && (k + 1) % static_cast<uint64_t>(n) == 0; }

    void Send(const sockaddr_in& to, const std::vector<uint8_t>& bytes)
    {
        ::sendto(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&to), sizeof to);
        std::lock_guard<std::mutex> lock(mutex_);
        ++sent_;
    }

    void Run(sockaddr_in to, uint8_t channel, LiveAudioKnobs knobs)
    {
        std::vector<Held> held;
        // The first packet leaves one interval after the start, behind the reply to command 36.
        auto next = std::chrono::steady_clock::now() + std::chrono::milliseconds(knobs.intervalMs);
        for (uint64_t k = 0;; ++k) {
            {
                std::unique_lock<std::mutex> lock(mutex_);
                if (wake_.wait_until(lock, next, [this] { return !run_; }))
                    return;
            }
            next += std::chrono::milliseconds(knobs.intervalMs);
            std::vector<uint8_t> packet = LiveAudioDatagram(static_cast<uint8_t>(knobs.firstSequence + k), channel);
            if (Every(knobs.shortEvery, k))
                packet.resize(static_cast<size_t>(std::max(6, std::min<int>(knobs.shortLength, packet.size()))));
            if (Every(knobs.dropEvery, k)) {
                // a gap
            } else if (Every(knobs.lateEvery, k)) {
                held.push_back({k + static_cast<uint64_t>(knobs.lateBy), packet});
            } else if (Every(knobs.swapEvery, k)) {
                held.push_back({k + 1, packet});
            } else {
                Send(to, packet);
                if (Every(knobs.duplicateEvery, k))
                    Send(to, packet);
            }
            for (auto it = held.begin(); it != held.end();) {
                if (it->due == k) {
                    Send(to, it->bytes);
                    it = held.erase(it);
                } else {
                    ++it;
                }
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    LiveAudioKnobs knobs_;
    bool run_ = false;
    uint8_t channel_ = 255;
    uint64_t sent_ = 0;
    int socket_ = -1;
    std::thread thread_;
};

LiveAudioStream& Stream(Recorder& r) { return r.State<LiveAudioStream>(); }

}  // namespace

std::vector<uint8_t> LiveAudioDatagram(uint8_t sequence, uint8_t channel)
{
    std::vector<uint8_t> d(6 + 4 + kLiveAudioBytes, 0);
    d[0] = 'K';
    d[1] = 'W';
    d[2] = 1;
    d[3] = kCmdLiveAudioEmu;
    d[6] = sequence;
    for (int i = 0; i < kLiveAudioBytes; ++i)
        d[static_cast<size_t>(10 + i)] = LiveAudioByte(sequence, channel, i);
    return d;
}

void SetLiveAudioKnobs(Recorder& r, const LiveAudioKnobs& knobs) { Stream(r).SetKnobs(knobs); }

LiveAudioStatus GetLiveAudioStatus(Recorder& r) { return Stream(r).Status(); }

void RegisterCommandsMonitor(CommandTable& table)
{
    table.Register(kCmdMonitorEmu, [](Exchange& x) {
        if (x.request.payload.empty()) {
            x.Reply(kStatusNoSuchChannel);
            return;
        }
        const uint8_t channel = x.request.payload[0];
        HeartbeatState& h = x.recorder.State<HeartbeatState>();
        if (channel == kNoChannel) {
            Stream(x.recorder).Stop();
            h.monitoredChannel = kNoChannel;
            x.Reply(0);
            return;
        }
        if (channel >= x.recorder.Channels()) {
            x.Reply(kStatusNoSuchChannel);
            return;
        }
        h.monitoredChannel = channel;
        Stream(x.recorder).Start(x.recorder.Address(), x.request.from, channel);
        x.Reply(0);
    });
}

}  // namespace calvox::emu
