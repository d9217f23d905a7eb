// Calvox_Device: the connection object for one recorder. It owns the UDP channel with its five matchers, the
// command and transfer locks, the heartbeat thread and callback, the credentials and one copy of every status
// and settings record the recorder has reported. Exports reach it through the handle table (HandleTable.h).
//
// Locking: every command exchange (commands, login, the heartbeat's own exchange) holds commandMutex; a whole
// upload or download holds transferMutex. Records are written under commandMutex and read by the accessors
// without a lock, as callers expect.
#pragma once

#include "CalvoxSDK.h"
#include "DeviceIdentity.h"
#include "ReplyMatcher.h"
#include "StableList.h"
#include "UdpChannel.h"
#include "platform/Socket.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace calvox {

// A user table this large would hold over twenty thousand accounts; a size beyond it is a broken reply, refused
// before anything is read. The accounts travel as 48-byte wire entries.
constexpr uint32_t kMaxUserTable = 1024 * 1024;
constexpr uint32_t kUserWireEntry = 48;
constexpr size_t kMaxUserAccounts = kMaxUserTable / kUserWireEntry;

}  // namespace calvox

struct Calvox_Device : std::enable_shared_from_this<Calvox_Device> {
    Calvox_Device() = default;
    ~Calvox_Device();
    Calvox_Device(const Calvox_Device&) = delete;
    Calvox_Device& operator=(const Calvox_Device&) = delete;

    // Identity (fixed at creation).
    int handle = 0;
    char id[calvox::kDeviceIdLength] = {};  // not terminated when all 20 are used
    int modelIndex = -1;
    const char* modelName = nullptr;
    int channelCount = 0;
    // 0 <= channel < channelCount: every per-channel export rejects anything else (4, or 0/null for accessors).
    bool HasChannel(int channel) const { return channel >= 0 && channel < channelCount; }

    // Learnt at login.
    char firmwareText[16] = {};
    uint32_t firmwareVersion = 0;
    uint8_t channelPermission[calvox::kMaxChannels] = {};
    uint32_t permission = 0;

    // Where the recorder is (CalvoxAPI_SetNetAddr or the cloud relay). Use the accessors: the heartbeat thread
    // reads it while a caller may set it.
    calvox::net::Address DeviceAddress() const;
    void SetDeviceAddress(const calvox::net::Address& address);

    // The channel and its matchers (created in this order; the general one is the fallback).
    calvox::UdpChannel channel;
    calvox::ReplyMatcher* general = nullptr;    // "KW", 1 slot, 1000 ms
    calvox::ReplyMatcher* heartbeat = nullptr;  // "KW",1,4, 1 slot, 2000 ms
    calvox::ReplyMatcher* liveAudio = nullptr;  // "KW",1,255, 2 slots, 1000 ms
    calvox::ReplyMatcher* upload = nullptr;     // "KW",1,28, 1 slot, 2000 ms
    calvox::ReplyMatcher* download = nullptr;   // "KW",1,29, 1 slot, 2000 ms

    std::mutex commandMutex;
    std::mutex transferMutex;

    // Heartbeat thread. StartHeartbeat sets heartbeatRun and runs loop(self) on a new thread, unless one runs
    // already (false). The thread holds self for its whole run, so a callback that deletes its own connection
    // leaves the object alive until the loop has returned. The loop runs while heartbeatRun is set.
    bool StartHeartbeat(std::function<void(std::shared_ptr<Calvox_Device> self)> loop);
    bool HeartbeatRunning() const;
    std::atomic<bool> heartbeatRun{false};
    // Set while a heartbeat thread runs, also one that was detached because it stopped itself from its callback.
    std::atomic<bool> heartbeatAlive{false};
    Calvox_EventCallback callback;
    // Sleeps up to ms (scaled) unless heartbeatRun is cleared meanwhile; false when it was cleared.
    bool SleepUnlessStopped(int ms);
    // Clears heartbeatRun, wakes the sleeping heartbeat and joins its thread (no-op without one). Called on the
    // heartbeat thread itself (a callback deleting its connection) it lets the thread run out instead.
    void StopHeartbeat();

    // Credentials and connection mode.
    uint8_t viaCloud = 0;
    uint8_t userNameLength = 0;
    char userName[19] = {};
    uint8_t passwordMd5[16] = {};

    uint8_t downloadSequence = 0;
    uint8_t deleteSequence = 0;

    // As last reported by the heartbeat.
    uint8_t cloudServerFlag = 0;
    uint8_t monitorChannel = 255;

    // Heartbeat comparison values.
    int16_t onlineUserCounter = -1;
    int16_t statusValue[calvox::kMaxChannels] = {};
    uint8_t playbackState[calvox::kMaxChannels] = {};
    uint16_t talkTime[calvox::kMaxChannels] = {};
    uint16_t recordCounter[calvox::kMaxChannels] = {};
    uint8_t lastPhoneState[calvox::kMaxChannels] = {};

    char smdrText[100] = {};
    std::atomic<int> connectStatus{Calvox_Connect_Idle};

    // Status records.
    Calvox_StorageStatus storageStatus = {};
    Calvox_NetStatus netStatus = {};
    std::vector<Calvox_ChannelStatus> channelStatus;  // channelCount entries
    // At most 255 online users (the reply's count is a byte); the list points into this storage for the
    // object's whole life (StableList.h).
    calvox::StableList<Calvox_OnlineUser> onlineUsers{255};
    Calvox_OnlineUserList onlineUserList = {0, onlineUsers.Entries()};
    Calvox_DateTime dateTime = {};
    Calvox_PlayBackFileList playBackFileList = {};

    // Settings records.
    Calvox_BaseSetting baseSetting = {};
    // channelCount entries (980 bytes each), made at the first use: a connection that never reads or writes a
    // channel's settings holds none. Never moved once made.
    Calvox_ChannelSetting* ChannelSettings() const;
    Calvox_KeyControlSetting keyControlSetting = {};
    Calvox_NetSetting netSetting = {};
    Calvox_SMDRSetting smdrSetting = {};
    // As many accounts as the largest user table taken holds (Users.cpp); the list points into this storage.
    calvox::StableList<Calvox_UserInfo> users{calvox::kMaxUserAccounts};
    Calvox_UserList userList = {0, users.Entries()};
    Calvox_RecordTimeSetting recordTimeSetting = {};
    Calvox_ScheduledRestartSetting scheduledRestartSetting = {};

    // Ends the connection's activity: runs the stop hooks (a monitor session of this connection, ...), stops
    // and joins the heartbeat thread, then the receive thread. Memory and socket go with the object, so a call
    // still running on another thread only sees its waits time out.
    void Stop();

private:
    mutable std::once_flag channelSettingOnce_;
    mutable std::unique_ptr<Calvox_ChannelSetting[]> channelSetting_;
    mutable std::mutex addressMutex_;
    calvox::net::Address address_{};
    mutable std::mutex threadMutex_;  // guards heartbeatThread_
    std::thread heartbeatThread_;
    std::atomic<uint32_t> pauseWord_{0};  // changed by StopHeartbeat: the heartbeat's pause sleeps on it
    std::atomic<bool> stopped_{false};
};

namespace calvox {

// Builds a connection object for the ID: model from the table, records zeroed (line states 255), channel open
// with its five matchers and the receive thread running. Null when the model is unknown or no socket opens.
std::shared_ptr<Calvox_Device> CreateDevice(const char* id);

// Code that keeps per-connection activity outside the object (the process-wide monitor session, ...) registers
// a hook that Stop() runs first. Register at start-up (static initialisation); hooks must not throw.
using DeviceStopHook = void (*)(Calvox_Device&);
void AddDeviceStopHook(DeviceStopHook hook);

}  // namespace calvox
