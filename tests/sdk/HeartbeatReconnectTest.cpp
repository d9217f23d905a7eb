// The heartbeat when the recorder stops answering: offline within the bound that the retries give, a new login
// every round, online again when the recorder is back. One test runs at the real time-outs.
#include "EmuHeartbeat.h"
#include "EmulatedConnection.h"

#include <algorithm>
#include <thread>

using namespace calvox;
using namespace calvox::test;
using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

namespace {

// Bound from the last answered round to the offline report: the pause, then five heartbeat tries of 2000 ms.
constexpr int kOfflineBoundMs = 1000 + 5 * 2000;

struct Reconnect : ::testing::Test {
    void Connect(double timeScale)
    {
        connection = std::make_unique<EmulatedConnection>("4A000000000000000001", timeScale);
        ASSERT_TRUE(c().LogIn());
        ASSERT_EQ(c().StartHeartbeat(), 0);
        ASSERT_GE(c().events.WaitFor(Is(Calvox_Event_ChannelStatus, 3), milliseconds(5000)), 0);
    }
    EmulatedConnection& c() { return *connection; }
    std::unique_ptr<EmulatedConnection> connection;
};

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

}  // namespace

TEST_F(Reconnect, SilenceGoesOfflineThenALoginBringsItBackWithEverythingReportedAgain)
{
    Connect(0.05);
    const size_t logins = c().recorder->CountRequests(3);
    const size_t from = c().events.Size();
    const auto silent = Clock::now();
    emu::GoSilent(*c().recorder, 60000);
    const int offline = c().events.WaitForStatus(Calvox_Connect_Offline, milliseconds(kOfflineBoundMs / 10), from);
    ASSERT_GE(offline, 0);
    EXPECT_LE(Seconds(Clock::now() - silent), kOfflineBoundMs * 0.05 / 1000 + 0.6);
    EXPECT_EQ(CalvoxAPI_ConnectStatus(c().handle), Calvox_Connect_Offline);

    // While offline every round tries a login; none is answered.
    ASSERT_TRUE(c().recorder->WaitForRequests(3, logins + 2, 3000));
    EXPECT_EQ(c().events.WaitForStatus(Calvox_Connect_Online, milliseconds(100), static_cast<size_t>(offline)), -1);

    emu::GoSilent(*c().recorder, 0);
    const int online = c().events.WaitForStatus(Calvox_Connect_Online, milliseconds(3000), static_cast<size_t>(offline));
    ASSERT_GE(online, 0);
    // Re-login forgets the old state: every permitted channel and the user list are reported again.
    for (int ch = 0; ch < 4; ++ch)
        EXPECT_GE(c().events.WaitFor(Is(Calvox_Event_ChannelStatus, ch), milliseconds(3000), static_cast<size_t>(online)), 0)
            << "channel " << ch;
    EXPECT_GE(c().events.WaitFor(Is(Calvox_Event_OnlineUserList), milliseconds(3000), static_cast<size_t>(online)), 0);
    const auto events = c().events.Events();
    EXPECT_EQ(std::count_if(events.begin() + online, events.end(), Is(Calvox_Event_RecordFinished)), 0);
}

TEST_F(Reconnect, LogoutWhileOfflineStillReportsIdleBeforeReturning)
{
    Connect(0.05);
    emu::GoSilent(*c().recorder, 60000);
    ASSERT_GE(c().events.WaitForStatus(Calvox_Connect_Offline, milliseconds(2000)), 0);
    EXPECT_EQ(CalvoxAPI_Logout(c().handle), 0);
    const auto events = c().events.Events();
    EXPECT_EQ(events.back().type, Calvox_Event_ConnectStatus);
    EXPECT_EQ(events.back().connectStatus, Calvox_Connect_Idle);
    emu::GoSilent(*c().recorder, 0);
}

TEST_F(Reconnect, AtTheRealTimeOuts)
{
    Connect(1);
    const size_t from = c().events.Size();
    const auto silent = Clock::now();
    emu::GoSilent(*c().recorder, 60000);
    ASSERT_GE(c().events.WaitForStatus(Calvox_Connect_Offline, milliseconds(kOfflineBoundMs + 2000), from), 0);
    const double offlineAfter = Seconds(Clock::now() - silent);
    // Five tries of two seconds each must have been spent, and no more than one pause besides.
    EXPECT_GE(offlineAfter, 5 * 2.0 - 0.5);
    EXPECT_LE(offlineAfter, kOfflineBoundMs / 1000.0 + 0.5);

    const auto back = Clock::now();
    emu::GoSilent(*c().recorder, 0);
    ASSERT_GE(c().events.WaitForStatus(Calvox_Connect_Online, milliseconds(8000), from), 0);
    // The login retries every second; when the recorder came back during the round's storage read, that read
    // is answered within a second and the next round (one pause later) logs in.
    EXPECT_LE(Seconds(Clock::now() - back), 3.5);
}
