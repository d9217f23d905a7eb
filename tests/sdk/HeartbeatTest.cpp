// The heartbeat against an emulated recorder: what the first answered round reports, how changes become
// events, and how the thread starts and stops. Time-outs run at 1/20 of the real ones.
#include "Datagram.h"
#include "EmuHeartbeat.h"
#include "EmuSessions.h"
#include "EmulatedConnection.h"
#include "Heartbeat.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>

using namespace calvox;
using namespace calvox::test;
using std::chrono::milliseconds;

namespace {

constexpr auto kWait = milliseconds(3000);

// A 4-channel recorder.
struct HeartbeatFixture : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(c.Ready());
        ASSERT_TRUE(c.LogIn());
    }
    // Starts the heartbeat and waits until its first answered round is over (the last permitted channel
    // reported), then forgets those events.
    void StartAndSettle(int lastChannel = 3)
    {
        ASSERT_EQ(c.StartHeartbeat(), 0);
        ASSERT_GE(c.events.WaitFor(Is(Calvox_Event_ChannelStatus, lastChannel), kWait), 0);
        c.events.Clear();
    }

    EmulatedConnection c{"4A000000000000000001"};
};

std::vector<std::pair<int, int>> TypesAndChannels(const std::vector<Event>& events)
{
    std::vector<std::pair<int, int>> out;
    for (const Event& e : events)
        out.emplace_back(e.type, e.type >= Calvox_Event_ChannelStatus ? e.channel : -1);
    return out;
}

}  // namespace

TEST_F(HeartbeatFixture, FirstAnsweredRoundReportsOnlineThenUsersThenPermittedChannels)
{
    c.PermitOnly({0, 2});
    emu::SetRecordCounter(*c.recorder, 1, 7);  // unknown -> 7 fires nothing
    emu::SetRecordCounter(*c.recorder, 2, 7);
    ASSERT_EQ(c.StartHeartbeat(), 0);
    ASSERT_GE(c.events.WaitFor(Is(Calvox_Event_ChannelStatus, 2), kWait), 0);
    std::this_thread::sleep_for(milliseconds(150));  // a few more rounds: nothing changes, nothing is said

    const auto events = c.events.Events();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events[0].type, Calvox_Event_ConnectStatus);
    EXPECT_EQ(events[0].connectStatus, Calvox_Connect_Online);
    const std::vector<std::pair<int, int>> expected = {
        {Calvox_Event_ConnectStatus, -1}, {Calvox_Event_StorageStatus, -1}, {Calvox_Event_OnlineUserList, -1},
        {Calvox_Event_ChannelStatus, 0},  {Calvox_Event_ChannelStatus, 2}};
    EXPECT_EQ(TypesAndChannels(events), expected);
    for (int h : c.events.Handles())
        EXPECT_EQ(h, c.handle);

    EXPECT_EQ(CalvoxAPI_ConnectStatus(c.handle), Calvox_Connect_Online);
    EXPECT_EQ(CalvoxAPI_ChannelStatus(c.handle, 0)->LineState, Calvox_Phone_OnHook);
    EXPECT_EQ(CalvoxAPI_ChannelStatus(c.handle, 1)->LineState, Calvox_Phone_None) << "not permitted: never asked";
    EXPECT_EQ(CalvoxAPI_StorageStatus(c.handle)->State, 1u);
    EXPECT_EQ(CalvoxAPI_OnlineUserList(c.handle)->Count, 1);
    EXPECT_EQ(c.recorder->CountRequests(8), 2u);
}

TEST_F(HeartbeatFixture, MonitoredChannelChangesGiveEndThenStart)
{
    StartAndSettle();
    struct Step {
        uint8_t channel;
        std::vector<std::pair<int, int>> events;  // (channel, started)
    };
    const Step steps[] = {
        {3, {{3, 1}}},
        {1, {{3, 0}, {1, 1}}},
        {255, {{1, 0}}},
        {2, {{2, 1}}},
        // A channel this 4-channel model does not have means none: programs index their tables with it.
        {200, {{2, 0}}},
        {4, {}},
        {0, {{0, 1}}},
        {4, {{0, 0}}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(int(step.channel));
        c.events.Clear();
        emu::SetMonitoredChannel(*c.recorder, step.channel);
        if (step.events.empty()) {
            // A few rounds: nothing may be said.
            const size_t requests = c.recorder->CountRequests(kCmdHeartbeat);
            ASSERT_TRUE(c.recorder->WaitForRequests(kCmdHeartbeat, requests + 3, 3000));
        } else {
            const auto last = step.events.back();
            ASSERT_GE(c.events.WaitFor(Is(Calvox_Event_MonitorChannel, last.first, last.second), kWait), 0);
        }
        std::vector<std::pair<int, int>> seen;
        for (const Event& e : c.events.Events())
            if (e.type == Calvox_Event_MonitorChannel)
                seen.emplace_back(e.channel, e.length);
        EXPECT_EQ(seen, step.events);
    }
}

// A program's thread copies the online users while the heartbeat refreshes the list between 1 and 40 entries.
// The entries never move, so the pointer the program took once keeps pointing at valid memory (run under the
// address and thread sanitizers too; the reader loads the way StableList.h says).
TEST_F(HeartbeatFixture, OnlineUserEntriesStayPutWhileTheHeartbeatRefreshesThem)
{
    StartAndSettle();
    Calvox_OnlineUserList* list = CalvoxAPI_OnlineUserList(c.handle);
    ASSERT_EQ(__atomic_load_n(&list->Count, __ATOMIC_ACQUIRE), 1);
    Calvox_OnlineUser* const entries = list->Entries;  // taken once, as a program may
    std::atomic<bool> stop{false};
    std::atomic<int> copies{0};
    std::atomic<int> badNames{0};
    std::thread reader([&] {
        while (!stop) {
            const int count = __atomic_load_n(&list->Count, __ATOMIC_ACQUIRE);
            for (int i = 0; i < count; ++i) {
                Calvox_OnlineUser copy;
                const unsigned char* from = reinterpret_cast<const unsigned char*>(&entries[i]);
                unsigned char* to = reinterpret_cast<unsigned char*>(&copy);
                for (size_t b = 0; b < sizeof copy; ++b)
                    to[b] = __atomic_load_n(from + b, __ATOMIC_RELAXED);
                badNames += copy.NameLength > sizeof copy.Name;
            }
            ++copies;
        }
    });
    for (int round = 0; round < 6; ++round) {
        const size_t users = round % 2 == 0 ? 40 : 1;
        SCOPED_TRACE(users);
        {
            std::lock_guard<std::mutex> lock(c.recorder->StateMutex());
            std::vector<emu::Session>& sessions = c.recorder->State<emu::LoginState>().sessions;
            emu::Session other = sessions.front();
            other.user = "operator";
            sessions.resize(1);
            for (size_t i = 1; i < users; ++i) {
                other.from.sin_port = htons(static_cast<uint16_t>(40000 + i));
                sessions.push_back(other);
            }
        }
        c.events.Clear();
        ASSERT_GE(c.events.WaitFor(Is(Calvox_Event_OnlineUserList), kWait), 0);
        EXPECT_EQ(__atomic_load_n(&list->Count, __ATOMIC_ACQUIRE), static_cast<int>(users));
    }
    stop = true;
    reader.join();
    EXPECT_EQ(list->Entries, entries);
    EXPECT_GT(copies.load(), 0);
    EXPECT_EQ(badNames.load(), 0);
    EXPECT_EQ(std::string(entries[0].Name, entries[0].NameLength), emu::kDefaultUser);
}

TEST_F(HeartbeatFixture, ChangesOfAChannelBecomeTheirEvents)
{
    StartAndSettle();

    emu::StartTalking(*c.recorder, 1, "5551234");
    ASSERT_GE(c.events.WaitFor(Is(Calvox_Event_ChannelStatus, 1), kWait), 0);
    EXPECT_EQ(CalvoxAPI_ChannelStatus(c.handle, 1)->LineState, Calvox_Phone_OffHook);
    EXPECT_EQ(std::string(CalvoxAPI_ChannelStatus(c.handle, 1)->PhoneNumber, 7), "5551234");
    EXPECT_EQ(CalvoxAPI_LastPhoneStatus(c.handle, 1), Calvox_Phone_OnHook);

    emu::SetTalkTime(*c.recorder, 1, 42);
    EXPECT_GE(c.events.WaitFor(Is(Calvox_Event_TalkTime, 1, 42), kWait), 0);

    // The record counter went from unknown to 0 in the first round (nothing said); a hang-up finishes a record.
    c.events.Clear();
    emu::HangUp(*c.recorder, 1);
    ASSERT_GE(c.events.WaitFor(Is(Calvox_Event_RecordFinished, 1), kWait), 0);
    EXPECT_GE(c.events.WaitFor(Is(Calvox_Event_ChannelStatus, 1), kWait), 0);
    EXPECT_GE(c.events.WaitFor(Is(Calvox_Event_TalkTime, 1, 0), kWait), 0);
    // The record that has just ended is there to read (its index is the new counter).
    Calvox_CurrentRecordInfo record{};
    ASSERT_EQ(CalvoxAPI_GetCurrentRecordInfo(c.handle, 1, &record), 0);
    EXPECT_EQ(record.Index, 1);
    EXPECT_EQ(std::string(record.PhoneNumber, record.PhoneNumberLength), "5551234");

    // Playback: the event carries the new byte, and the channel-status record shows the same value.
    emu::SetPlayback(*c.recorder, 2, 3);
    ASSERT_GE(c.events.WaitFor(Is(Calvox_Event_PlaybackState, 2, 3), kWait), 0);
    EXPECT_EQ(CalvoxAPI_ChannelStatus(c.handle, 2)->PlaybackState, 3);
    EXPECT_EQ(CalvoxAPI_SimulateOffHookIsEnabled(c.handle, 2), 1);

    const size_t before = c.events.Size();
    std::this_thread::sleep_for(milliseconds(200));
    EXPECT_EQ(c.events.Size(), before) << "no change, no event";
}

TEST_F(HeartbeatFixture, DeviceWideChangesBecomeTheirEvents)
{
    StartAndSettle();
    emu::SetCloudFlag(*c.recorder, 1);
    EXPECT_GE(c.events.WaitFor(Is(Calvox_Event_CloudServer), kWait), 0);
    EXPECT_EQ(CalvoxAPI_CloudServerHasConnected(c.handle), 1);

    emu::SetStorageState(*c.recorder, 0);
    EXPECT_GE(c.events.WaitFor(Is(Calvox_Event_StorageStatus), kWait), 0);
    EXPECT_EQ(CalvoxAPI_StorageStatus(c.handle)->State, 0u);

    const size_t usersBefore = c.recorder->CountRequests(9);
    emu::BumpOnlineUsers(*c.recorder);
    EXPECT_GE(c.events.WaitFor(Is(Calvox_Event_OnlineUserList), kWait), 0);
    EXPECT_EQ(c.recorder->CountRequests(9), usersBefore + 1);
}

TEST_F(HeartbeatFixture, FailedDetailReadsAreRetriedNextRound)
{
    // The recorder answers the first two channel-status reads for the wrong channel, and refuses the first
    // online-user read: neither may be taken as done.
    std::atomic<int> wrongAnswers{2};
    c.recorder->SetHandler(8, [&](emu::Exchange& x) {
        std::vector<uint8_t> reply(28, 0);
        reply[0] = static_cast<uint8_t>(x.request.payload[0] + (wrongAnswers-- > 0 ? 1 : 0));
        reply[4] = 1;
        x.Reply(0, reply);
    });
    std::atomic<int> refusals{1};
    c.recorder->SetHandler(9, [&](emu::Exchange& x) {
        if (refusals-- > 0) {
            x.Reply(7);
            return;
        }
        std::vector<uint8_t> reply(4, 0);
        x.Reply(0, reply);
    });
    c.PermitOnly({0});
    ASSERT_EQ(c.StartHeartbeat(), 0);
    ASSERT_GE(c.events.WaitFor(Is(Calvox_Event_ChannelStatus, 0), kWait), 0);
    ASSERT_GE(c.events.WaitFor(Is(Calvox_Event_OnlineUserList), kWait), 0);
    EXPECT_EQ(c.recorder->CountRequests(8), 3u);
    EXPECT_EQ(c.recorder->CountRequests(9), 2u);
    const auto events = c.events.Events();
    EXPECT_EQ(std::count_if(events.begin(), events.end(), Is(Calvox_Event_ChannelStatus)), 1);
    EXPECT_EQ(std::count_if(events.begin(), events.end(), Is(Calvox_Event_OnlineUserList)), 1);
}

TEST_F(HeartbeatFixture, ASummaryTooShortForTheChannelsCountsAsNoAnswer)
{
    StartAndSettle();
    emu::SetShortHeartbeatReplies(*c.recorder, 1);
    const int offline = c.events.WaitForStatus(Calvox_Connect_Offline, kWait);
    ASSERT_GE(offline, 0);
    EXPECT_GE(c.events.WaitForStatus(Calvox_Connect_Online, kWait, static_cast<size_t>(offline)), 0);
    EXPECT_GE(c.recorder->CountRequests(3), 2u) << "logged in again";
}

TEST_F(HeartbeatFixture, SecondStartIsRefusedAndKeepsTheFirstCallback)
{
    StartAndSettle();
    EventLog second;
    const Calvox_EventCallback cb = second.Callback(c.handle);
    EXPECT_EQ(CalvoxAPI_CreateHeartbeatThread(c.handle, &cb), 2);
    emu::SetCloudFlag(*c.recorder, 1);
    EXPECT_GE(c.events.WaitFor(Is(Calvox_Event_CloudServer), kWait), 0);
    EXPECT_EQ(second.Size(), 0u);
}

TEST_F(HeartbeatFixture, LogoutReportsIdleBeforeItReturnsAndAllowsANewStart)
{
    StartAndSettle();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(CalvoxAPI_Logout(c.handle), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, milliseconds(500));
    const auto events = c.events.Events();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().type, Calvox_Event_ConnectStatus);
    EXPECT_EQ(events.back().connectStatus, Calvox_Connect_Idle);
    EXPECT_EQ(CalvoxAPI_ConnectStatus(c.handle), Calvox_Connect_Idle);

    c.events.Clear();
    EXPECT_EQ(c.StartHeartbeat(), 0);
    EXPECT_GE(c.events.WaitForStatus(Calvox_Connect_Online, kWait), 0);
}

TEST_F(HeartbeatFixture, LogoutOrDeleteFromTheCallbackDoesNotWaitForItself)
{
    std::atomic<bool> loggedOut{false};
    c.events.onEvent = [&](const Event& e) {
        if (e.type == Calvox_Event_ChannelStatus && !loggedOut.exchange(true))
            CalvoxAPI_Logout(c.handle);
    };
    ASSERT_EQ(c.StartHeartbeat(), 0);
    ASSERT_GE(c.events.WaitForStatus(Calvox_Connect_Idle, kWait), 0);
    const auto events = c.events.Events();
    EXPECT_EQ(std::count_if(events.begin(), events.end(), Is(Calvox_Event_ChannelStatus)), 1)
        << "the round stops at once after a logout";
    // The stopped thread is gone soon; then a new heartbeat may start.
    bool restarted = false;
    for (int i = 0; i < 100 && !restarted; ++i) {
        restarted = c.StartHeartbeat() == 0;
        if (!restarted)
            std::this_thread::sleep_for(milliseconds(10));
    }
    EXPECT_TRUE(restarted);
    CalvoxAPI_Logout(c.handle);

    // Deleting the connection from its own callback: the thread ends with the connection, nothing waits forever
    // and nothing touches freed memory (run under ASan).
    auto d = std::make_unique<EmulatedConnection>("2A000000000000000002");
    ASSERT_TRUE(d->LogIn());
    std::atomic<bool> deleted{false};
    const Calvox_DeviceHandle h = d->handle;
    d->events.onEvent = [&](const Event& e) {
        if (e.type == Calvox_Event_ChannelStatus && !deleted.exchange(true))
            CalvoxAPI_DeleteDevice(h);
    };
    ASSERT_EQ(d->StartHeartbeat(), 0);
    EXPECT_GE(d->events.WaitForStatus(Calvox_Connect_Idle, kWait), 0);
    std::weak_ptr<Calvox_Device> weak = d->device;
    d->device.reset();
    for (int i = 0; i < 200 && !weak.expired(); ++i)
        std::this_thread::sleep_for(milliseconds(10));
    EXPECT_TRUE(weak.expired()) << "the connection is freed once its heartbeat thread has ended";
    EXPECT_EQ(CalvoxAPI_ConnectStatus(h), 0);
}

namespace {

std::atomic<int> g_cEvents{0};
int CountEvent(Calvox_EventType, int, unsigned char*, int)
{
    ++g_cEvents;
    return 1;  // ignored by the heartbeat
}

}  // namespace

TEST_F(HeartbeatFixture, CVariantAndEmptyCallbacks)
{
    EXPECT_EQ(CalvoxAPI_C_CreateHeartbeatThread(c.handle, nullptr), 4);
    const Calvox_EventCallback empty;
    EXPECT_EQ(CalvoxAPI_CreateHeartbeatThread(c.handle, &empty), 4);
    EXPECT_EQ(CalvoxAPI_CreateHeartbeatThread(c.handle, nullptr), 4);
    EXPECT_EQ(CalvoxAPI_CreateHeartbeatThread(0, nullptr), 4);

    ASSERT_EQ(CalvoxAPI_C_CreateHeartbeatThread(c.handle, CountEvent), 0);
    for (int i = 0; i < 300 && CalvoxAPI_ConnectStatus(c.handle) != Calvox_Connect_Online; ++i)
        std::this_thread::sleep_for(milliseconds(10));
    EXPECT_EQ(CalvoxAPI_ConnectStatus(c.handle), Calvox_Connect_Online);
    CalvoxAPI_Logout(c.handle);
    EXPECT_GE(g_cEvents.load(), 2);
}

TEST(ResetChannelCaches, ForgetsEverythingTheHeartbeatSaw)
{
    auto device = CreateDevice("6A000000000000000001");  // 16 channels
    ASSERT_NE(device, nullptr);
    device->onlineUserCounter = 3;
    for (int i = 0; i < device->channelCount; ++i) {
        device->statusValue[i] = 2;
        device->playbackState[i] = 1;
        device->recordCounter[i] = 9;
        device->lastPhoneState[i] = 2;
        device->channelStatus[static_cast<size_t>(i)].LineState = 2;
    }
    ResetChannelCaches(*device);
    EXPECT_EQ(device->onlineUserCounter, -1);
    for (int i = 0; i < device->channelCount; ++i) {
        EXPECT_EQ(device->statusValue[i], -1);
        EXPECT_EQ(device->playbackState[i], 0);
        EXPECT_EQ(device->recordCounter[i], 0xFFFF);
        EXPECT_EQ(device->lastPhoneState[i], 255);
        EXPECT_EQ(device->channelStatus[static_cast<size_t>(i)].LineState, 255);
    }
    device->Stop();
}
