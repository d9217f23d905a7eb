#include "MonitorSession.h"

#include "AudioPlayer.h"
#include "Datagram.h"
#include "Device.h"
#include "ReplyMatcher.h"
#include "Request.h"

namespace calvox {
namespace {

// Deleting (stopping) the monitored connection ends the session before the connection goes.
const bool g_stopHookAdded = [] {
    AddDeviceStopHook([](Calvox_Device& device) { MonitorSession::Instance().EndFor(device); });
    return true;
}();

}  // namespace

int SendMonitorCommand(Calvox_Device& device, uint8_t channel)
{
    uint8_t buffer[kDatagramSize] = {};
    buffer[kOffCommand] = kCmdMonitor;
    buffer[kHeaderSize] = channel;
    std::lock_guard<std::mutex> lock(device.commandMutex);
    return RunCommand(device, buffer, 1);
}

MonitorSession& MonitorSession::Instance()
{
    static MonitorSession* session = new MonitorSession;  // never destroyed: Exit may run during static teardown
    return *session;
}

int MonitorSession::Start(const std::shared_ptr<Calvox_Device>& device, int channel)
{
    const uint8_t wanted = static_cast<uint8_t>(channel);
    uint8_t reported;
    {
        // The heartbeat writes the monitored channel under this lock.
        std::lock_guard<std::mutex> command(device->commandMutex);
        reported = device->monitorChannel;
    }
    std::shared_ptr<Calvox_Device> previous;  // dropped after the lock
    std::lock_guard<std::mutex> lock(mutex_);
    if (wanted == kNoMonitorChannel || (device == device_ && wanted == reported)) {
        previous = EndLocked();
        return 0;
    }
    previous = EndLocked();
    // Emptied before the recorder is asked: its first packets may arrive before the thread runs, and
    // nothing left from an earlier stream may be taken for this one.
    device->liveAudio->Clear();
    reorder_.Clear();
    const int status = SendMonitorCommand(*device, wanted);
    if (status != 0)
        return status;
    device_ = device;
    datagram_.assign(static_cast<size_t>(device->liveAudio->SlotSize()), 0);
    run_ = true;
    thread_ = std::thread(&MonitorSession::Loop, this);
    return 0;
}

void MonitorSession::End()
{
    std::shared_ptr<Calvox_Device> previous;
    std::lock_guard<std::mutex> lock(mutex_);
    previous = EndLocked();
}

void MonitorSession::EndFor(const Calvox_Device& device)
{
    std::shared_ptr<Calvox_Device> previous;
    std::lock_guard<std::mutex> lock(mutex_);
    if (device_.get() == &device)
        previous = EndLocked();
}

std::shared_ptr<Calvox_Device> MonitorSession::EndLocked()
{
    if (!thread_.joinable())
        return nullptr;
    run_ = false;
    thread_.join();
    // What the session queued in the player is not heard after its end (nor after a switch).
    AudioPlayer::Instance().Drop(AudioPlayer::Source::Monitor);
    SendMonitorCommand(*device_, kNoMonitorChannel);
    return std::move(device_);
}

bool MonitorSession::IsRunning() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return thread_.joinable();
}

std::shared_ptr<Calvox_Device> MonitorSession::Device() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return device_;
}

MonitorSession::Counters MonitorSession::Stats() const
{
    return Counters{played_.load(), late_.load(), duplicate_.load(), malformed_.load()};
}

void MonitorSession::Loop()
{
    ReplyMatcher& audio = *device_->liveAudio;
    AudioPlayer& player = AudioPlayer::Instance();
    while (run_) {
        const int length = audio.Wait(datagram_.data());
        if (length == 0)
            continue;  // nothing within the wait: look at the run flag again
        if (length < kHeaderSize + MonitorReorderBuffer::kPacketBytes) {
            ++malformed_;
            continue;
        }
        switch (reorder_.Offer(datagram_.data() + kHeaderSize)) {
        case MonitorReorderBuffer::Outcome::Stored:
            break;
        case MonitorReorderBuffer::Outcome::Late:
            ++late_;
            break;
        case MonitorReorderBuffer::Outcome::Duplicate:
            ++duplicate_;
            break;
        case MonitorReorderBuffer::Outcome::Play:
            player.Write(reorder_.Playable(), AudioPlayer::Source::Monitor);
            reorder_.Commit();
            ++played_;
            break;
        }
    }
}

}  // namespace calvox
