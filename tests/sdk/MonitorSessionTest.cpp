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
#include <memory>
#include <set>
#include <thread>

using namespace calvox;
using namespace calvox::test;
using std::chrono::milliseconds;

namespace {

constexpr auto kWait = milliseconds(3000);
// The SDK's waits at a quarter: a command's five tries then span over a second, which a checked build on a
// loaded machine meets (at 0.05 a start after a logout ran out of tries there); a silent recorder still ends
// a start within two seconds.
constexpr double kTimeScale = 0.25;

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

// Plays like a sound card, a block at a time (20 ms here), keeping in the capture what it played to the end:
// a block stopped by an abort was not heard.
class PacedCaptureSink : public AudioSink {
public:
    const char* Kind() const override { return "memory"; }
    void Play(const int16_t* samples, size_t count, const AudioAbort& abort) override
    {
        if (abort.SleepUntil(std::chrono::steady_clock::now() + milliseconds(20)))
            capture_.Play(samples, count, abort);
    }

private:
    MemoryAudioSink capture_;
};

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

// The channels of the command-36 requests the recorder took. A retry (the waits are scaled down, and a loaded
// machine may answer late) repeats its request: repeats in a row count once.
std::vector<int> MonitorRequests(emu::Recorder& r)
{
    std::vector<int> channels;
    for (const auto& request : r.Log()) {
        if (request.command != 36 || request.dropped)
            continue;
        const int channel = request.payload.empty() ? -1 : request.payload[0];
        if (channels.empty() || channels.back() != channel)
            channels.push_back(channel);
    }
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

    EmulatedConnection a{"4A000000000000000001", kTimeScale};
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
    // The audio queue is emptied before the recorder is asked, so the stream's first packets are kept.
    EXPECT_EQ(played[0].sequence, 250);
    // A loaded machine may drop a packet in a full queue, which leaves a gap; order must hold all the same:
    // each packet comes after the one before it in the wrapping sequence.
    bool wrapped = false;
    for (size_t i = 0; i < played.size(); ++i) {
        EXPECT_EQ(played[i].channel, 2);
        if (i == 0)
            continue;
        const int step = (played[i].sequence - played[i - 1].sequence + 256) % 256;
        EXPECT_TRUE(step >= 1 && step < 128) << "packet " << i << ": " << played[i - 1].sequence << " then "
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
    std::set<int> heard;
    int previous = -1;
    for (const Played& p : played) {
        EXPECT_GT(p.sequence, previous) << "in order, each once";
        EXPECT_NE(p.sequence % 11, 10) << "short packet " << p.sequence << " played";
        previous = p.sequence;
        heard.insert(p.sequence);
    }
    // A late packet comes after the ten that overtook it. When all of those that are whole and on time were
    // taken, it is older than anything kept and must be dropped. (A loaded machine may lose some in the full
    // two-slot audio queue; then the late one may well be next in line, and playing it is right.)
    auto onTime = [](int s) { return s % 7 != 6 && s % 11 != 10; };
    for (int late : heard) {
        if (late % 7 != 6)
            continue;
        bool overtakersAllHeard = true;
        for (int s = late + 1; s <= late + knobs.lateBy; ++s)
            overtakersAllHeard = overtakersAllHeard && (!onTime(s) || heard.count(s) != 0);
        EXPECT_FALSE(overtakersAllHeard) << "late packet " << late << " played";
    }
    EXPECT_GT(after.late, before.late);
    EXPECT_GT(after.duplicate, before.duplicate);
    EXPECT_GT(after.malformed, before.malformed);
}

TEST_F(MonitorFixture, StartingAnotherChannelOrConnectionEndsTheOldSession)
{
    EmulatedConnection b{"2A000000000000000002", kTimeScale};
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

// On a paced output the old channel still has blocks queued when the operator switches; none may be heard
// after the switch returns.
TEST_F(MonitorFixture, ASwitchOfChannelPlaysNothingOfTheOldChannelAfterIt)
{
    AudioPlayer::Instance().Close();
    AudioPlayer::Instance().Open(std::make_unique<PacedCaptureSink>());
    for (int round = 0; round < 3; ++round) {
        ASSERT_EQ(CalvoxAPI_StartMonitor(a.handle, 1), 0);
        ASSERT_TRUE(WaitForPlayed(3));
        ASSERT_EQ(CalvoxAPI_StartMonitor(a.handle, 2), 0);
        ClearCapturedAudio();
        ASSERT_TRUE(WaitForPlayed(4));
        for (const Played& p : CapturedPackets())
            ASSERT_EQ(p.channel, 2) << "round " << round << ": packet " << p.sequence << " of channel 1";
        ClearCapturedAudio();
    }
    EXPECT_EQ(CalvoxAPI_StopMonitor(), 0);
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
