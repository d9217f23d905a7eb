#include "Device.h"

#include "Datagram.h"
#include "TimeScale.h"
#include "platform/WakeWord.h"

#include <chrono>
#include <cstring>

namespace calvox {
namespace {

std::mutex& HookMutex()
{
    static std::mutex m;
    return m;
}

std::vector<DeviceStopHook>& Hooks()
{
    static std::vector<DeviceStopHook> hooks;
    return hooks;
}

}  // namespace

void AddDeviceStopHook(DeviceStopHook hook)
{
    std::lock_guard<std::mutex> lock(HookMutex());
    Hooks().push_back(hook);
}

std::shared_ptr<Calvox_Device> CreateDevice(const char* id)
{
    const int model = ModelIndexOf(id);
    if (model < 0)
        return nullptr;
    auto d = std::make_shared<Calvox_Device>();
    // Copy up to 20 bytes but never read past the caller's terminator.
    std::memcpy(d->id, id, strnlen(id, kDeviceIdLength));
    d->modelIndex = model;
    d->modelName = Model(model).name;
    d->channelCount = Model(model).channels;

    d->channelStatus.assign(static_cast<size_t>(d->channelCount), Calvox_ChannelStatus{});
    for (Calvox_ChannelStatus& s : d->channelStatus)
        s.LineState = Calvox_Phone_None;
    std::memset(d->lastPhoneState, Calvox_Phone_None, sizeof d->lastPhoneState);

    if (d->channel.Open(1000, kDatagramSize) == 0)
        return nullptr;
    static const uint8_t kGeneral[] = {'K', 'W'};
    static const uint8_t kHeartbeat[] = {'K', 'W', kOriginRecorder, kCmdHeartbeat};
    static const uint8_t kAudio[] = {'K', 'W', kOriginRecorder, kCmdLiveAudio};
    static const uint8_t kUpload[] = {'K', 'W', kOriginRecorder, kCmdUpload};
    static const uint8_t kDownload[] = {'K', 'W', kOriginRecorder, kCmdDownload};
    d->general = d->channel.SetGeneralMatcher(0, kGeneral, sizeof kGeneral, 1);
    // The heartbeat reads its own reply, but never makes a reading receive thread (live audio) step back for
    // it: that would cost more wake-ups than it saves once a second. Live audio must drop what its reader has
    // no room for rather than let it queue up late in the socket, so the receive thread reads for it.
    d->heartbeat = d->channel.AddMatcher(0, kHeartbeat, sizeof kHeartbeat, 1, SocketReading::WhenFree);
    d->liveAudio = d->channel.AddMatcher(0, kAudio, sizeof kAudio, 2, SocketReading::Never);
    d->upload = d->channel.AddMatcher(0, kUpload, sizeof kUpload, 1);
    d->download = d->channel.AddMatcher(0, kDownload, sizeof kDownload, 1);
    d->heartbeat->SetTimeout(2000);
    d->upload->SetTimeout(2000);
    d->download->SetTimeout(2000);
    if (!d->channel.StartReceiving())
        return nullptr;
    return d;
}

}  // namespace calvox

Calvox_ChannelSetting* Calvox_Device::ChannelSettings() const
{
    std::call_once(channelSettingOnce_, [this] {
        channelSetting_.reset(new Calvox_ChannelSetting[static_cast<size_t>(channelCount)]());
    });
    return channelSetting_.get();
}

Calvox_Device::~Calvox_Device()
{
    Stop();
    channel.Close();
}

calvox::net::Address Calvox_Device::DeviceAddress() const
{
    std::lock_guard<std::mutex> lock(addressMutex_);
    return address_;
}

void Calvox_Device::SetDeviceAddress(const calvox::net::Address& address)
{
    std::lock_guard<std::mutex> lock(addressMutex_);
    address_ = address;
}

bool Calvox_Device::SleepUnlessStopped(int ms)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(calvox::ScaledMs(ms));
    for (;;) {
        // Read before the run flag: a stop after this read changes the word, so the sleep below ends at once.
        const uint32_t seen = pauseWord_.load();
        if (!heartbeatRun.load())
            return false;
        if (std::chrono::steady_clock::now() >= deadline)
            return true;
        calvox::platform::WaitWhileEqual(pauseWord_, seen, deadline);
    }
}

bool Calvox_Device::StartHeartbeat(std::function<void(std::shared_ptr<Calvox_Device> self)> loop)
{
    std::lock_guard<std::mutex> lock(threadMutex_);
    if (heartbeatThread_.joinable() || stopped_)
        return false;
    heartbeatRun = true;
    heartbeatThread_ = std::thread([self = shared_from_this(), loop = std::move(loop)] { loop(self); });
    return true;
}

bool Calvox_Device::HeartbeatRunning() const
{
    std::lock_guard<std::mutex> lock(threadMutex_);
    return heartbeatThread_.joinable();
}

void Calvox_Device::StopHeartbeat()
{
    std::thread thread;
    {
        std::lock_guard<std::mutex> lock(threadMutex_);
        thread = std::move(heartbeatThread_);
    }
    heartbeatRun = false;
    pauseWord_.fetch_add(1);
    calvox::platform::Wake(pauseWord_);
    if (!thread.joinable())
        return;
    if (thread.get_id() != std::this_thread::get_id())
        thread.join();  // outside the lock: the thread itself may call in here meanwhile
    else
        thread.detach();  // a callback deleting its own connection: the loop ends when it returns
}

void Calvox_Device::Stop()
{
    if (stopped_.exchange(true))
        return;
    std::vector<calvox::DeviceStopHook> hooks;
    {
        std::lock_guard<std::mutex> lock(calvox::HookMutex());
        hooks = calvox::Hooks();
    }
    for (calvox::DeviceStopHook hook : hooks)
        hook(*this);
    StopHeartbeat();
    channel.StopReceiving();
}
