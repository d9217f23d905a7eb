// The heartbeat: once a second per logged-in connection, command 4 asks the recorder for a summary of its
// state; the thread compares it with what it saw last, fetches what changed with ordinary commands and tells
// the program through its event callback. When the recorder stops answering it reports the connection
// offline and logs in again every round until it answers.
#pragma once

#include "CalvoxSDK.h"

#include <cstdint>
#include <memory>

struct Calvox_Device;

namespace calvox {

// Reply payload of command 4 for N channels: storage state, cloud flag, online-user counter, monitored
// channel (255 none), then N line states, N playback states, N u16 talk times, N u16 record counters.
constexpr int HeartbeatReplyPayload(int channels) { return 4 + 6 * channels; }
constexpr int kHeartbeatRequestPayload = 6;
constexpr int kHeartbeatPauseMs = 1000;
constexpr uint16_t kUnknownRecordCounter = 0xFFFF;

// Copies the callback and starts the heartbeat thread: 0; 2 when a heartbeat thread of the connection is
// still running (the callback is not taken then); 4 for an empty callback.
int CreateHeartbeatThread(const std::shared_ptr<Calvox_Device>& device, const Calvox_EventCallback& callback);

// Ends a monitor session of this connection, then stops the heartbeat and waits for it (the thread reports
// ConnectStatus 0 before it ends). From the heartbeat's own callback it does not wait: the thread ends when
// the callback returns. 0.
int Logout(Calvox_Device& device);

// Forgets what the heartbeat saw, so the next answered round reports every permitted channel afresh:
// online-user counter -1; per channel status -1, playback state 0, record counter unknown, last phone state
// and line state 255.
void ResetChannelCaches(Calvox_Device& device);

// The thread's body; runs while the connection's heartbeat run flag is set. The thread holds the connection.
void HeartbeatLoop(const std::shared_ptr<Calvox_Device>& device, Calvox_EventCallback callback);

}  // namespace calvox
