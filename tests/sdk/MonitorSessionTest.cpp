// Live monitoring end to end: the emulated recorder streams a channel, the monitor thread reorders the
// packets and the player plays them into the in-memory capture (CALVOX_AUDIO_SINK=memory, set by CTest).
#include "ALawTable.h"
#include "AudioPlayer.h"
#include "EmuHeartbeat.h"
#include "EmuLiveAudio.h"
#include "EmulatedConnection.h"
#include "MonitorSession.h"
#include "platform/CaptureAudioSink.h"

#include <map>
#include <thread>

using namespace calvox;
using namespace calvox::test;
using std::chrono::milliseconds;

namespace {

constexpr auto kWait = milliseconds(3000);

struct Played {
    int channel;
    int sequence;
};

// The captured audio, block by block, read back through the A-law table (the player runs at full volume).
std::vector<Played> CapturedPackets()
{
    static const std::map<int16_t, int> codeOf = [] {
        std::map<int16_t, int> m;
        for (int code = 0; code < 256; ++code)
            m[kALawTable[code]] = code;
        return m;
    }();
    const std::vector<int16_t> samples = CapturedAudio();
    std::vector<Played> out;
    for (size_t at = 0; at + AudioPlayer::kBlockBytes <= samples.size(); at += AudioPlayer::kBlockBytes)
        out.push_back({codeOf.at(samples[at]), codeOf.at(samples[at + 1])});
    return out;
}

bool WaitForPlayed(size_t packets, milliseconds limit = kWait)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (CapturedAudioSampleCount() < packets * AudioPlayer::kBlockBytes) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(milliseconds(5));
    }
    return true;
}

std::vector<int> MonitorRequests(emu::Recorder& r)
{
    std::vector<int> channels;
    for (const auto& request : r.Log())
        if (request.command == 36 && !request.dropped)
            channels.push_back(request.payload.empty() ? -1 : request.payload[0]);
    return channels;
}

struct MonitorFixture : ::testing::Test {
    void SetUp() override
    {
        CalvoxAPI_Init();
        ASSERT_STREQ(AudioPlayer::Instance().OutputKind(), "memory") << "CTest sets CALVOX_AUDIO_SINK=memory";
        CalvoxAPI_PlayerSetVolume(100);
        ClearCapturedAudio();
        ASSERT_TRUE(a.LogIn());
        emu::LiveAudioKnobs fast;
        fast.intervalMs = 5;
        emu::SetLiveAudioKnobs(*a.recorder, fast);
    }
    void TearDown() override { CalvoxAPI_Exit(); }

    EmulatedConnection a{"4A000000000000000001"};
};

}  // namespace

TEST_F(MonitorFixture, AStreamThatWrapsItsSequencePlaysInOrder)
{
    emu::LiveAudioKnobs knobs;
    knobs.intervalMs = 5;
    knobs.firstSequence = 250;
    knobs.swapEvery = 4;  // and arrives a little out of order
    emu::SetLiveAudioKnobs(*a.recorder, knobs);
    ASSERT_EQ(CalvoxAPI_StartMonitor(a.handle, 2), 0);
    EXPECT_TRUE(MonitorSession::Instance().IsRunning());
    ASSERT_TRUE(WaitForPlayed(20));
    EXPECT_EQ(CalvoxAPI_StopMonitor(), 0);
    EXPECT_FALSE(MonitorSession::Instance().IsRunning());

    const auto played = CapturedPackets();
    ASSERT_GE(played.size(), 20u);
    // The thread clears the audio queue when it starts, so the very first packets may be gone on a slow run.
    const int first = played[0].sequence;
    EXPECT_TRUE(first >= 250 && first <= 253) << first;
    // A loaded machine may drop a packet in a full queue, which leaves a gap; order must hold all the same.
    bool wrapped = false;
    for (size_t i = 0; i < played.size(); ++i) {
        EXPECT_EQ(played[i].channel, 2);
        if (i == 0)
            continue;
        const int step = (played[i].sequence - played[i - 1].sequence + 256) % 256;
        EXPECT_TRUE(step >= 1 && step <= 8) << "packet " << i << ": " << played[i - 1].sequence << " then "
                                            << played[i].sequence;
        wrapped = wrapped || played[i].sequence < played[i - 1].sequence;
    }
    EXPECT_TRUE(wrapped) << "the stream did not pass sequence 255";
    EXPECT_EQ(MonitorRequests(*a.recorder), (std::vector<int>{2, 255}));
    EXPECT_FALSE(emu::GetLiveAudioStatus(*a.recorder).streaming);
}

TEST_F(MonitorFixture, LateDuplicateAndShortPacketsAreNotPlayed)
{
    emu::LiveAudioKnobs knobs;
    knobs.intervalMs = 5;
    knobs.lateEvery = 7;       // 6, 13, 20, ... come ten packets later
    knobs.duplicateEvery = 5;  // 4, 9, 14, ... come twice
    knobs.shortEvery = 11;     // 10, 21, 32, ... are cut short
    emu::SetLiveAudioKnobs(*a.recorder, knobs);
    const auto before = MonitorSession::Instance().Stats();
    ASSERT_EQ(CalvoxAPI_StartMonitor(a.handle, 1), 0);
    ASSERT_TRUE(WaitForPlayed(40));
    CalvoxAPI_StopMonitor();
    const auto after = MonitorSession::Instance().Stats();

    const auto played = CapturedPackets();
    int previous = -1;
    for (const Played& p : played) {
        EXPECT_GT(p.sequence, previous) << "in order, each once";
        EXPECT_NE(p.sequence % 7, 6) << "late packet " << p.sequence << " played";
        EXPECT_NE(p.sequence % 11, 10) << "short packet " << p.sequence << " played";
        previous = p.sequence;
    }
    EXPECT_GT(after.late, before.late);
    EXPECT_GT(after.duplicate, before.duplicate);
    EXPECT_GT(after.malformed, before.malformed);
}

TEST_F(MonitorFixture, StartingAnotherChannelOrConnectionEndsTheOldSession)
{
    EmulatedConnection b{"2A000000000000000002"};
    ASSERT_TRUE(b.LogIn());
    emu::LiveAudioKnobs fast;
    fast.intervalMs = 5;
    emu::SetLiveAudioKnobs(*b.recorder, fast);

    ASSERT_EQ(CalvoxAPI_StartMonitor(a.handle, 0), 0);
    ASSERT_TRUE(WaitForPlayed(2));
    ASSERT_EQ(CalvoxAPI_StartMonitor(a.handle, 3), 0);
    EXPECT_EQ(MonitorRequests(*a.recorder), (std::vector<int>{0, 255, 3}));
    EXPECT_EQ(emu::GetLiveAudioStatus(*a.recorder).channel, 3);

    ClearCapturedAudio();
    ASSERT_TRUE(WaitForPlayed(3));
    for (const Played& p : CapturedPackets())
        EXPECT_EQ(p.channel, 3);

    ASSERT_EQ(CalvoxAPI_StartMonitor(b.handle, 1), 0);
    EXPECT_EQ(MonitorRequests(*a.recorder), (std::vector<int>{0, 255, 3, 255}));
    EXPECT_FALSE(emu::GetLiveAudioStatus(*a.recorder).streaming);
    EXPECT_EQ(MonitorSession::Instance().Device(), b.device);
    CalvoxAPI_StopMonitor();
    EXPECT_EQ(MonitorRequests(*b.recorder), (std::vector<int>{1, 255}));
}

TEST_F(MonitorFixture, TheChannelTheHeartbeatReportsAsMonitoredTogglesOff)
{
    ASSERT_EQ(a.StartHeartbeat(), 0);
    ASSERT_EQ(CalvoxAPI_StartMonitor(a.handle, 2), 0);
    ASSERT_GE(a.events.WaitFor(Is(Calvox_Event_MonitorChannel, 2, 1), kWait), 0);
    EXPECT_EQ(CalvoxAPI_StartMonitor(a.handle, 2), 0);
    EXPECT_FALSE(MonitorSession::Instance().IsRunning());
    EXPECT_EQ(MonitorRequests(*a.recorder), (std::vector<int>{2, 255}));
    EXPECT_GE(a.events.WaitFor(Is(Calvox_Event_MonitorChannel, 2, 0), kWait), 0);
    CalvoxAPI_Logout(a.handle);
}

TEST_F(MonitorFixture, ChannelTwoFiftyFiveStopsAndARefusalStartsNothing)
{
    ASSERT_EQ(CalvoxAPI_StartMonitor(a.handle, 1), 0);
    EXPECT_EQ(CalvoxAPI_StartMonitor(a.handle, 255), 0);
    EXPECT_FALSE(MonitorSession::Instance().IsRunning());
    EXPECT_EQ(CalvoxAPI_StartMonitor(a.handle, 9), 5) << "the recorder's status for a channel it does not have";
    EXPECT_FALSE(MonitorSession::Instance().IsRunning());
    a.recorder->SetHandler(36, nullptr);  // silent
    EXPECT_EQ(CalvoxAPI_StartMonitor(a.handle, 1), 3);
    EXPECT_FALSE(MonitorSession::Instance().IsRunning());
    EXPECT_EQ(CalvoxAPI_StartMonitor(0, 1), 4);
}

TEST_F(MonitorFixture, DeletingOrLoggingOutTheMonitoredConnectionEndsTheSession)
{
    ASSERT_EQ(CalvoxAPI_StartMonitor(a.handle, 1), 0);
    ASSERT_TRUE(WaitForPlayed(2));
    ASSERT_EQ(a.StartHeartbeat(), 0);
    EXPECT_EQ(CalvoxAPI_Logout(a.handle), 0);
    EXPECT_FALSE(MonitorSession::Instance().IsRunning());
    EXPECT_EQ(MonitorRequests(*a.recorder), (std::vector<int>{1, 255}));

    ASSERT_EQ(CalvoxAPI_StartMonitor(a.handle, 2), 0);
    ASSERT_TRUE(WaitForPlayed(4));
    std::weak_ptr<Calvox_Device> weak = a.device;
    a.device.reset();
    EXPECT_EQ(CalvoxAPI_DeleteDevice(a.handle), 0);
    EXPECT_FALSE(MonitorSession::Instance().IsRunning());
    EXPECT_EQ(MonitorSession::Instance().Device(), nullptr);
    EXPECT_TRUE(weak.expired()) << "no monitor thread keeps the connection";
    EXPECT_EQ(MonitorRequests(*a.recorder), (std::vector<int>{1, 255, 2, 255}));
    EXPECT_EQ(CalvoxAPI_StopMonitor(), 0);
}

TEST_F(MonitorFixture, ExitEndsTheSessionAndClosesThePlayer)
{
    ASSERT_EQ(CalvoxAPI_StartMonitor(a.handle, 0), 0);
    ASSERT_TRUE(WaitForPlayed(2));
    EXPECT_EQ(CalvoxAPI_Exit(), 0);
    EXPECT_FALSE(MonitorSession::Instance().IsRunning());
    EXPECT_FALSE(AudioPlayer::Instance().IsOpen());
    const std::vector<unsigned char> block(1024, 213);
    EXPECT_EQ(CalvoxAPI_PlayerWriteData(block.data()), 0) << "closed: returns at once";
    EXPECT_EQ(CalvoxAPI_PlayerWriteData(nullptr), 4);
    EXPECT_EQ(CalvoxAPI_Exit(), 0);
}
