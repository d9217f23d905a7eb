// Deleting a connection stops its threads first: the stop hooks, the heartbeat thread (woken from its sleep)
// and the receive thread; a connection deleted from its own heartbeat thread lives until that thread returns.
#include "CalvoxSDK.h"
#include "Device.h"
#include "HandleTable.h"
#include "TimeScale.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

using namespace calvox;
using Clock = std::chrono::steady_clock;

namespace {

std::atomic<int> g_hookCalls{0};
std::atomic<int> g_hookHandle{0};
void CountingHook(Calvox_Device& d)
{
    ++g_hookCalls;
    g_hookHandle = d.handle;
}

// A stand-in for the heartbeat loop: one-second rounds until told to stop. `running` is set as the loop begins.
void StartFakeHeartbeat(Calvox_Device& d, std::atomic<bool>& ended, std::promise<void>& running)
{
    ASSERT_TRUE(d.StartHeartbeat([&ended, &running](std::shared_ptr<Calvox_Device> self) {
        running.set_value();
        while (self->SleepUnlessStopped(1000)) {
        }
        ended = true;
    }));
    EXPECT_FALSE(d.StartHeartbeat([](std::shared_ptr<Calvox_Device>) {})) << "one heartbeat thread at a time";
}

}  // namespace

TEST(DeviceLifetime, DeleteRunsHooksAndEndsTheHeartbeatAtOnce)
{
    SetTimeScale(1);
    AddDeviceStopHook(CountingHook);
    const Calvox_DeviceHandle h = CalvoxAPI_CreateDevice("2");
    ASSERT_NE(h, 0);
    std::atomic<bool> ended{false};
    std::promise<void> running;
    StartFakeHeartbeat(*FindDevice(h), ended, running);
    ASSERT_EQ(running.get_future().wait_for(std::chrono::seconds(5)), std::future_status::ready);
    const int before = g_hookCalls;
    const auto start = Clock::now();
    EXPECT_EQ(CalvoxAPI_DeleteDevice(h), 0);
    EXPECT_TRUE(ended) << "delete returns only after the heartbeat thread has ended";
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(300)) << "the one-second sleep is cut short";
    EXPECT_EQ(g_hookCalls, before + 1);
    EXPECT_EQ(g_hookHandle, h);
    EXPECT_EQ(FindDevice(h), nullptr);
}

TEST(DeviceLifetime, DeleteFromItsOwnHeartbeatThread)
{
    SetTimeScale(1);
    const Calvox_DeviceHandle h = CalvoxAPI_CreateDevice("2");
    ASSERT_NE(h, 0);
    std::atomic<bool> done{false};
    std::weak_ptr<Calvox_Device> watch = FindDevice(h);
    {
        auto d = FindDevice(h);
        ASSERT_TRUE(d->StartHeartbeat([h, &done](std::shared_ptr<Calvox_Device> self) {
            // As a callback that deletes its own connection would.
            EXPECT_EQ(CalvoxAPI_DeleteDevice(h), 0);
            EXPECT_FALSE(self->heartbeatRun);
            EXPECT_EQ(self->channelCount, 2) << "the object is still alive here";
            done = true;
        }));
    }
    for (int i = 0; i < 200 && !(done && watch.expired()); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(done);
    EXPECT_TRUE(watch.expired()) << "freed once the thread let go of it";
}

TEST(DeviceLifetime, CallInFlightKeepsTheObjectUntilItReturns)
{
    SetTimeScale(0.05);
    const Calvox_DeviceHandle h = CalvoxAPI_CreateDevice("2");
    auto held = FindDevice(h);  // what an export running on another thread holds
    ASSERT_NE(held, nullptr);
    CalvoxAPI_DeleteDevice(h);
    EXPECT_EQ(CalvoxAPI_DeviceModel(h), nullptr);
    // The held object is stopped but intact: its waits just time out.
    uint8_t buffer[4006] = {};
    EXPECT_EQ(held->general->Wait(buffer), 0);
    EXPECT_STREQ(held->modelName, "KES2202S");
    held.reset();
    SetTimeScale(1);
}
