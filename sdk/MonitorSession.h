// Live listening to one telephone line of one recorder at a time, process-wide. Starting asks the recorder
// (command 36) to stream the channel; a monitor thread takes the audio datagrams (command 255) from the
// connection's live-audio matcher, puts them back into order and plays them through the AudioPlayer.
//
// Start and end are serialised by one process-wide lock: programs call them from different threads (the
// GUI, a heartbeat callback, DeleteDevice, Exit). The session keeps a reference to its connection, and
// deleting that connection ends the session first, so no monitor thread outlives the connection it reads.
#pragma once

#include "MonitorReorderBuffer.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

struct Calvox_Device;

namespace calvox {

constexpr uint8_t kCmdMonitor = 36;
constexpr uint8_t kNoMonitorChannel = 255;

class MonitorSession {
public:
    static MonitorSession& Instance();

    // Channel 255 (only the low byte counts), or the channel the heartbeat reports as monitored on this
    // connection: ends the session and returns 0. Otherwise ends any session and asks the recorder to stream
    // the channel: its status when nonzero (3 without reply, and no session), else the session starts and 0.
    int Start(const std::shared_ptr<Calvox_Device>& device, int channel);
    // Stops the thread (within one audio wait), tells the recorder to stop streaming and forgets the session.
    void End();
    // End, when the session is that connection's.
    void EndFor(const Calvox_Device& device);

    bool IsRunning() const;
    // The connection being monitored, or null.
    std::shared_ptr<Calvox_Device> Device() const;

    // What the monitor thread did with the datagrams it took (tests and diagnostics).
    struct Counters {
        uint64_t played = 0;
        uint64_t late = 0;
        uint64_t duplicate = 0;
        uint64_t malformed = 0;  // too short to hold a sequence number and 1024 audio bytes
    };
    Counters Stats() const;

private:
    MonitorSession() = default;
    // Returns the session's connection reference, for the caller to drop after unlocking: dropping the last
    // reference deletes the connection, which must not happen under the session lock.
    std::shared_ptr<Calvox_Device> EndLocked();
    void Loop();

    mutable std::mutex mutex_;  // start and end
    std::shared_ptr<Calvox_Device> device_;
    std::atomic<bool> run_{false};
    std::thread thread_;
    MonitorReorderBuffer reorder_;
    std::vector<uint8_t> datagram_;  // one matcher slot, allocated with the session

    std::atomic<uint64_t> played_{0};
    std::atomic<uint64_t> late_{0};
    std::atomic<uint64_t> duplicate_{0};
    std::atomic<uint64_t> malformed_{0};
};

// Command 36: channel, or 255 to stop. The recorder's status (3 without reply).
int SendMonitorCommand(Calvox_Device& device, uint8_t channel);

}  // namespace calvox
