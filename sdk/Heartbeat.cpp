#include "Heartbeat.h"

#include "Datagram.h"
#include "Device.h"
#include "DeviceCommands.h"
#include "Login.h"
#include "MonitorSession.h"
#include "Request.h"

#include <cstring>

namespace calvox {
namespace {

unsigned char* ChannelArgument(int channel)
{
    // Channel events carry the channel number in the data pointer, never a pointer into the SDK.
    return reinterpret_cast<unsigned char*>(static_cast<intptr_t>(channel));
}

// One heartbeat thread's working state. Buffers are allocated once for the thread's life.
class Heartbeat {
public:
    Heartbeat(Calvox_Device& device, Calvox_EventCallback callback) : d_(device), callback_(std::move(callback))
    {
    }

    void Run()
    {
        while (Running()) {
            if (d_.connectStatus.load() == Calvox_Connect_Offline)
                ReconnectRound();
            else
                OnlineRound();
            if (!Running())
                break;
            d_.SleepUnlessStopped(kHeartbeatPauseMs);
        }
        d_.connectStatus.store(Calvox_Connect_Idle);
        Fire(Calvox_Event_ConnectStatus, nullptr, 0);
    }

private:
    bool Running() const { return d_.heartbeatRun.load(); }

    // Calls the program with no SDK lock held. False when the program logged out or deleted the connection
    // meanwhile (from the callback or another thread): the round then stops at once.
    bool Fire(Calvox_EventType type, unsigned char* data, int length)
    {
        callback_(type, d_.handle, data, length);
        return Running();
    }

    bool SetConnectStatus(int status)
    {
        d_.connectStatus.store(status);
        return Fire(Calvox_Event_ConnectStatus, nullptr, 0);
    }

    void ReconnectRound()
    {
        if (Login(d_) == 0) {
            ResetChannelCaches(d_);
            if (!SetConnectStatus(Calvox_Connect_Online))
                return;
        }
        if (GetStorageStatus(d_) == 0)
            Fire(Calvox_Event_StorageStatus, nullptr, 0);
    }

    // Command 4; true when a whole summary for every channel came back with status 0.
    bool Exchange()
    {
        std::memset(request_, 0, kHeaderSize);
        request_[kOffCommand] = kCmdHeartbeat;
        // The request repeats the header of the previous reply (zeros before the first one).
        std::memcpy(request_ + kHeaderSize, lastReplyHeader_, kHeartbeatRequestPayload);
        int length;
        {
            std::lock_guard<std::mutex> lock(d_.commandMutex);
            length = SendRequest(d_, *d_.heartbeat, request_, kHeartbeatRequestPayload, reply_);
        }
        if (length < kHeaderSize)
            return false;
        std::memcpy(lastReplyHeader_, reply_, kHeaderSize);
        // A summary too short for the model's channels is no answer: nothing is read from it.
        return reply_[kOffStatus] == 0 && length >= kHeaderSize + HeartbeatReplyPayload(d_.channelCount);
    }

    void OnlineRound()
    {
        if (!Exchange()) {
            if (d_.connectStatus.load() != Calvox_Connect_Offline)
                SetConnectStatus(Calvox_Connect_Offline);
            return;
        }
        if (!Running())
            return;
        const uint8_t* p = reply_ + kHeaderSize;
        const int n = d_.channelCount;

        if (d_.connectStatus.load() != Calvox_Connect_Online) {
            ResetChannelCaches(d_);
            if (!SetConnectStatus(Calvox_Connect_Online))
                return;
        }
        if (p[0] != StorageState() && GetStorageStatus(d_) == 0 && !Fire(Calvox_Event_StorageStatus, nullptr, 0))
            return;
        if (p[1] != d_.cloudServerFlag) {
            d_.cloudServerFlag = p[1];
            if (!Fire(Calvox_Event_CloudServer, nullptr, 0))
                return;
        }
        // On failure the counter stays, so the next round asks again.
        if (p[2] != d_.onlineUserCounter && RefreshOnlineUsers(d_) == 0) {
            d_.onlineUserCounter = p[2];
            if (!Fire(Calvox_Event_OnlineUserList, nullptr, 0))
                return;
        }
        if (!MonitoredChannel(p[3]))
            return;
        for (int i = 0; i < n; ++i) {
            if (d_.channelPermission[i] && !Channel(i, p[4 + i], p[4 + n + i], GetU16(p + 4 + 2 * n + 2 * i),
                                                    GetU16(p + 4 + 4 * n + 2 * i)))
                return;
        }
    }

    uint32_t StorageState()
    {
        // A program may refresh the record at the same time (CalvoxAPI_GetStorageStatus holds this lock).
        std::lock_guard<std::mutex> lock(d_.commandMutex);
        return d_.storageStatus.State;
    }

    bool MonitoredChannel(uint8_t channel)
    {
        // Programs index their per-channel tables with it: a channel the model does not have means none.
        if (channel >= d_.channelCount)
            channel = kNoMonitorChannel;
        uint8_t old;
        {
            // Read by CalvoxAPI_StartMonitor on other threads, under the same lock.
            std::lock_guard<std::mutex> lock(d_.commandMutex);
            old = d_.monitorChannel;
            if (channel == old)
                return true;
            d_.monitorChannel = channel;
        }
        if (old != kNoMonitorChannel && !Fire(Calvox_Event_MonitorChannel, ChannelArgument(old), 0))
            return false;
        if (channel != kNoMonitorChannel && !Fire(Calvox_Event_MonitorChannel, ChannelArgument(channel), 1))
            return false;
        return true;
    }

    bool Channel(int i, uint8_t line, uint8_t playback, uint16_t talk, uint16_t records)
    {
        if (line != d_.statusValue[i]) {
            bool stored = false;
            // A reply for another channel stored nothing: not taken as this channel's state, so the next
            // round asks again.
            if (RefreshChannelStatus(d_, i, &stored) == 0 && stored) {
                d_.statusValue[i] = line;
                if (!Fire(Calvox_Event_ChannelStatus, ChannelArgument(i), 0))
                    return false;
            }
        }
        if (playback != LoadField(&d_.playbackState[i])) {
            // Programs read both on their own threads; the channel-status record shows the same value,
            // whichever of the two a program reads.
            StoreField(&d_.playbackState[i], playback);
            StoreField(&d_.channelStatus[static_cast<size_t>(i)].PlaybackState, playback);
            if (!Fire(Calvox_Event_PlaybackState, ChannelArgument(i), playback))
                return false;
        }
        if (talk != d_.talkTime[i]) {
            d_.talkTime[i] = talk;
            if (!Fire(Calvox_Event_TalkTime, ChannelArgument(i), talk))
                return false;
        }
        if (records != d_.recordCounter[i]) {
            const bool known = d_.recordCounter[i] != kUnknownRecordCounter;
            d_.recordCounter[i] = records;
            if (known && !Fire(Calvox_Event_RecordFinished, ChannelArgument(i), 0))
                return false;
        }
        return true;
    }

    Calvox_Device& d_;
    Calvox_EventCallback callback_;
    uint8_t lastReplyHeader_[kHeaderSize] = {};
    uint8_t request_[kHeaderSize + kHeartbeatRequestPayload] = {};
    uint8_t reply_[kDatagramSize];  // whatever the matcher may hand over; written before it is read
};

}  // namespace

void ResetChannelCaches(Calvox_Device& device)
{
    device.onlineUserCounter = -1;
    for (int i = 0; i < device.channelCount; ++i) {
        device.statusValue[i] = -1;
        StoreField(&device.playbackState[i], uint8_t{0});
        device.recordCounter[i] = kUnknownRecordCounter;
        StoreField(&device.lastPhoneState[i], uint8_t{Calvox_Phone_None});
        StoreField(&device.channelStatus[static_cast<size_t>(i)].LineState, uint8_t{Calvox_Phone_None});
    }
}

void HeartbeatLoop(const std::shared_ptr<Calvox_Device>& device, Calvox_EventCallback callback)
{
    // Large buffers: on the heap once per thread rather than on its stack.
    auto heartbeat = std::make_unique<Heartbeat>(*device, std::move(callback));
    heartbeat->Run();
    heartbeat.reset();
    device->heartbeatAlive = false;
}

int CreateHeartbeatThread(const std::shared_ptr<Calvox_Device>& device, const Calvox_EventCallback& callback)
{
    if (!callback)
        return Calvox_Result_InvalidArgument;
    std::lock_guard<std::mutex> lock(device->commandMutex);
    // A thread told to stop from its own callback runs out detached; until it has ended it counts as running,
    // so two loops never share the connection.
    if (device->heartbeatAlive.load() || device->HeartbeatRunning())
        return Calvox_Result_Refused;
    device->callback = callback;
    device->heartbeatAlive = true;
    if (!device->StartHeartbeat(
            [callback](std::shared_ptr<Calvox_Device> self) { HeartbeatLoop(self, callback); })) {
        device->heartbeatAlive = false;  // the connection is being deleted
        return Calvox_Result_Refused;
    }
    return Calvox_Result_Ok;
}

int Logout(Calvox_Device& device)
{
    MonitorSession::Instance().EndFor(device);
    device.StopHeartbeat();
    return Calvox_Result_Ok;
}

}  // namespace calvox
