// An emulated recorder and an SDK connection logged in to it, with the connection's heartbeat events collected
// for the test to wait on. Time-outs run at the scale the test chooses (0.05 by default).
#pragma once

#include "CalvoxSDK.h"
#include "Device.h"
#include "EmulatedDevice.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace calvox::test {

struct Event {
    Calvox_EventType type;
    int channel;  // the data argument as the channel number it carries
    int length;
    int connectStatus;  // CalvoxAPI_ConnectStatus when the event came
};

// Collects events from the heartbeat thread; tests wait for what they expect.
class EventLog {
public:
    EventLog() = default;
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;
    ~EventLog()
    {
        // A callback may still be returning on a heartbeat thread (a connection deleted from inside one): the
        // log waits it out, and the thread sanitizer sees the callback's last accesses come before the log goes.
        while (inside_.load(std::memory_order_acquire) != 0)
            std::this_thread::yield();
    }

    Calvox_EventCallback Callback(int handle)
    {
        return [this, handle](Calvox_EventType type, int h, unsigned char* data, int length) {
            inside_.fetch_add(1, std::memory_order_relaxed);
            struct Leave {
                std::atomic<int>& inside;
                ~Leave() { inside.fetch_sub(1, std::memory_order_release); }
            } leave{inside_};
            Event e{type, static_cast<int>(reinterpret_cast<intptr_t>(data)), length, CalvoxAPI_ConnectStatus(handle)};
            {
                std::lock_guard<std::mutex> lock(mutex_);
                events_.push_back(e);
                handles_.push_back(h);
            }
            changed_.notify_all();
            if (onEvent)
                onEvent(e);
            return 0;
        };
    }
    std::vector<Event> Events() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return events_;
    }
    std::vector<int> Handles() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return handles_;
    }
    void Clear()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        events_.clear();
        handles_.clear();
    }
    // Waits until an event satisfies the predicate (looking at events from `from` on); its index, or -1.
    int WaitFor(const std::function<bool(const Event&)>& match, std::chrono::milliseconds limit, size_t from = 0)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        int found = -1;
        changed_.wait_for(lock, limit, [&] {
            for (size_t i = from; i < events_.size(); ++i)
                if (match(events_[i])) {
                    found = static_cast<int>(i);
                    return true;
                }
            return false;
        });
        return found;
    }
    int WaitForStatus(int status, std::chrono::milliseconds limit, size_t from = 0)
    {
        return WaitFor([status](const Event& e) { return e.type == Calvox_Event_ConnectStatus && e.connectStatus == status; },
                       limit, from);
    }
    size_t Size() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return events_.size();
    }
    // Runs on the heartbeat thread after the event is logged.
    std::function<void(const Event&)> onEvent;

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Event> events_;
    std::vector<int> handles_;
    std::atomic<int> inside_{0};  // callbacks running
};

inline std::function<bool(const Event&)> Is(Calvox_EventType type, int channel = -1, int length = -1)
{
    return [=](const Event& e) {
        return e.type == type && (channel < 0 || e.channel == channel) && (length < 0 || e.length == length);
    };
}

// A recorder, a connection pointed at it (EmulatedDevice), and the connection's heartbeat events.
class EmulatedConnection : public EmulatedDevice {
public:
    explicit EmulatedConnection(const char* id, double timeScale = 0.05) : EmulatedDevice(id, timeScale) {}
    ~EmulatedConnection()
    {
        // Before the event log goes: deleting the connection ends its heartbeat, which reports into the log.
        device.reset();
        CalvoxAPI_DeleteDevice(handle);
    }

    // As the emulated recorder's default account.
    bool LogIn()
    {
        return Ready() && CalvoxAPI_SetUserPassword(handle, "admin", 5, "admin") == 0 &&
               CalvoxAPI_Login(handle, 0) == 0;
    }
    int StartHeartbeat()
    {
        const Calvox_EventCallback cb = events.Callback(handle);
        return CalvoxAPI_CreateHeartbeatThread(handle, &cb);
    }
    // Only these channels may be used by the logged-in user.
    void PermitOnly(std::initializer_list<int> channels)
    {
        std::fill(std::begin(device->channelPermission), std::end(device->channelPermission), 0);
        for (int c : channels)
            device->channelPermission[c] = 1;
    }

    EventLog events;
};

}  // namespace calvox::test
