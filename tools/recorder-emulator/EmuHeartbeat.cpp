#include "EmuHeartbeat.h"

#include "EmuRecords.h"
#include "EmuSessions.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <ctime>
#include <mutex>
#include <thread>

namespace calvox::emu {
namespace {

// Byte offsets in the 24-byte channel-status record.
constexpr int kStatusLine = 0;
constexpr int kStatusRings = 1;
constexpr int kStatusPlayback = 2;
constexpr int kStatusNumberLength = 3;
constexpr int kStatusNumber = 4;
constexpr size_t kMaxNumber = 20;

bool ValidChannel(Recorder& r, int channel) { return channel >= 0 && channel < r.Channels(); }

template <class Edit>
void EditChannel(Recorder& r, int channel, Edit edit)
{
    if (!ValidChannel(r, channel))
        return;
    std::lock_guard<std::mutex> lock(r.StateMutex());
    edit(r.State<HeartbeatState>().channels[static_cast<size_t>(channel)], ChannelStatusRecord(r, channel));
}

void PutNumber(std::array<uint8_t, 24>& status, const std::string& number)
{
    const size_t n = std::min(number.size(), kMaxNumber);
    status[kStatusNumberLength] = static_cast<uint8_t>(n);
    std::memset(status.data() + kStatusNumber, 0, kMaxNumber);
    std::memcpy(status.data() + kStatusNumber, number.data(), n);
}

uint16_t TalkTimeNow(const HeartbeatState::Channel& c)
{
    if (!c.talking)
        return c.talkTime;
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - c.talkStart).count();
    return static_cast<uint16_t>(std::min<long long>(seconds, 0xFFFF));
}

// The silence of GoSilent: every request is dropped until the deadline, then the fault knobs go back to
// their defaults.
struct Silence {
    ~Silence()
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            stop = true;
        }
        wake.notify_all();
        if (timer.joinable())
            timer.join();
    }
    std::mutex mutex;
    std::condition_variable wake;
    std::chrono::steady_clock::time_point until{};
    bool silent = false;
    bool stop = false;
    std::thread timer;
};

void SilenceTimer(Recorder* recorder, Silence* s)
{
    std::unique_lock<std::mutex> lock(s->mutex);
    while (!s->stop) {
        if (s->silent && std::chrono::steady_clock::now() >= s->until) {
            s->silent = false;
            recorder->SetFaults(Faults{});
            continue;
        }
        if (s->silent)
            s->wake.wait_until(lock, s->until);
        else
            s->wake.wait(lock);
    }
}

}  // namespace

std::vector<uint8_t> HeartbeatSummary(Recorder& r)
{
    const int n = r.Channels();
    HeartbeatState& h = r.State<HeartbeatState>();
    std::vector<uint8_t> p(static_cast<size_t>(4 + 6 * n), 0);
    p[0] = static_cast<uint8_t>(StorageStateField(r));
    p[1] = h.cloudFlag;
    // Logins and logouts of clients change the counter as well as BumpOnlineUsers.
    p[2] = static_cast<uint8_t>(h.onlineUserCounter + r.State<LoginState>().sessions.size());
    p[3] = h.monitoredChannel;
    for (int i = 0; i < n; ++i) {
        const auto& status = ChannelStatusRecord(r, i);
        const HeartbeatState::Channel& c = h.channels[static_cast<size_t>(i)];
        p[static_cast<size_t>(4 + i)] = status[kStatusLine];
        p[static_cast<size_t>(4 + n + i)] = status[kStatusPlayback];
        PutU16(p, static_cast<size_t>(4 + 2 * n + 2 * i), TalkTimeNow(c));
        PutU16(p, static_cast<size_t>(4 + 4 * n + 2 * i), c.recordCounter);
    }
    return p;
}

void SetLine(Recorder& r, int channel, uint8_t state, const std::string& number, uint8_t rings)
{
    EditChannel(r, channel, [&](HeartbeatState::Channel&, std::array<uint8_t, 24>& status) {
        status[kStatusLine] = state;
        status[kStatusRings] = rings;
        PutNumber(status, number);
    });
}

void StartTalking(Recorder& r, int channel, const std::string& number)
{
    EditChannel(r, channel, [&](HeartbeatState::Channel& c, std::array<uint8_t, 24>& status) {
        status[kStatusLine] = kLineOffHook;
        status[kStatusRings] = 0;
        PutNumber(status, number);
        c.talking = true;
        c.talkStart = std::chrono::steady_clock::now();
    });
}

void SetTalkTime(Recorder& r, int channel, uint16_t seconds)
{
    EditChannel(r, channel, [&](HeartbeatState::Channel& c, std::array<uint8_t, 24>&) {
        c.talking = false;
        c.talkTime = seconds;
    });
}

void HangUp(Recorder& r, int channel, uint8_t recordType)
{
    if (!ValidChannel(r, channel))
        return;
    std::lock_guard<std::mutex> lock(r.StateMutex());
    HeartbeatState::Channel& c = r.State<HeartbeatState>().channels[static_cast<size_t>(channel)];
    std::array<uint8_t, 24>& status = ChannelStatusRecord(r, channel);
    c.talking = false;
    c.talkTime = 0;
    c.recordCounter = static_cast<uint16_t>(c.recordCounter + 1);

    std::array<uint8_t, 30>& record = CurrentRecordRecord(r, channel);
    record.fill(0);
    const std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    record[0] = static_cast<uint8_t>(t.tm_year - 100);
    record[1] = static_cast<uint8_t>(t.tm_mon + 1);
    record[2] = static_cast<uint8_t>(t.tm_mday);
    record[3] = static_cast<uint8_t>(t.tm_hour);
    record[4] = static_cast<uint8_t>(t.tm_min);
    record[5] = static_cast<uint8_t>(t.tm_sec);
    record[6] = static_cast<uint8_t>(c.recordCounter);
    record[7] = static_cast<uint8_t>(c.recordCounter >> 8);
    record[8] = recordType;
    record[9] = status[kStatusNumberLength];
    std::memcpy(record.data() + 10, status.data() + kStatusNumber, kMaxNumber);

    status[kStatusLine] = kLineOnHook;
    status[kStatusRings] = 0;
}

void SetRecordCounter(Recorder& r, int channel, uint16_t counter)
{
    EditChannel(r, channel, [&](HeartbeatState::Channel& c, std::array<uint8_t, 24>&) { c.recordCounter = counter; });
}

void SetPlayback(Recorder& r, int channel, uint8_t state)
{
    EditChannel(r, channel, [&](HeartbeatState::Channel&, std::array<uint8_t, 24>& status) {
        status[kStatusPlayback] = state;
    });
}

void SetStorageState(Recorder& r, uint32_t state)
{
    std::lock_guard<std::mutex> lock(r.StateMutex());
    StorageStateField(r) = state;
}

void SetCloudFlag(Recorder& r, uint8_t flag)
{
    std::lock_guard<std::mutex> lock(r.StateMutex());
    r.State<HeartbeatState>().cloudFlag = flag;
}

void BumpOnlineUsers(Recorder& r)
{
    std::lock_guard<std::mutex> lock(r.StateMutex());
    ++r.State<HeartbeatState>().onlineUserCounter;
}

void SetMonitoredChannel(Recorder& r, uint8_t channel)
{
    std::lock_guard<std::mutex> lock(r.StateMutex());
    r.State<HeartbeatState>().monitoredChannel = channel;
}

void SetShortHeartbeatReplies(Recorder& r, int count)
{
    std::lock_guard<std::mutex> lock(r.StateMutex());
    r.State<HeartbeatState>().shortReplies = count;
}

void GoSilent(Recorder& r, int milliseconds)
{
    Silence& s = r.State<Silence>();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (!s.timer.joinable())
        s.timer = std::thread(SilenceTimer, &r, &s);
    s.until = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(0, milliseconds));
    if (!s.silent && milliseconds > 0) {
        Faults silent;
        silent.dropRequests = 1.0;
        r.SetFaults(silent);
    }
    s.silent = true;  // with 0 the timer ends it at once
    s.wake.notify_all();
}

bool IsSilent(Recorder& r)
{
    Silence& s = r.State<Silence>();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.silent;
}

std::array<uint8_t, 24>& ChannelStatusRecord(Recorder& r, int channel)
{
    return r.State<DeviceRecords>().channelStatus[static_cast<size_t>(channel)];
}

std::array<uint8_t, 30>& CurrentRecordRecord(Recorder& r, int channel)
{
    return r.State<DeviceRecords>().currentRecord[static_cast<size_t>(channel)];
}

uint32_t& StorageStateField(Recorder& r) { return r.State<DeviceRecords>().storageState; }

}  // namespace calvox::emu
