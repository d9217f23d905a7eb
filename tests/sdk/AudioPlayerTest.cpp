// The A-law player: table, volume, buffer accounting, pacing and shutdown.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "ALawTable.h"
#include "AudioPlayer.h"
#include "platform/CaptureAudioSink.h"
#include "platform/NullAudioSink.h"

using namespace calvox;

namespace {

using Clock = std::chrono::steady_clock;

// G.711 A-law expansion, written from the standard's segment rule.
int G711ALaw(int code)
{
    const int a = code ^ 0x55;
    const int segment = (a & 0x70) >> 4;
    int magnitude = ((a & 0x0F) << 4) + (segment == 0 ? 8 : 0x108);
    if (segment > 1)
        magnitude <<= segment - 1;
    return (a & 0x80) ? magnitude : -magnitude;
}

std::vector<unsigned char> Block(unsigned char code)
{
    return std::vector<unsigned char>(AudioPlayer::kBlockBytes, code);
}

// Records every block it is given, as a list of (first sample, whether the block is uniform),
// and can hold each block for a while so that writers pile up on the semaphore.
class RecordingSink : public AudioSink {
public:
    explicit RecordingSink(std::chrono::milliseconds hold = {}) : hold_(hold) {}
    const char* Kind() const override { return "recording"; }
    void Play(const int16_t* samples, size_t count, const AudioAbort& abort) override
    {
        const bool uniform = std::all_of(samples, samples + count, [&](int16_t s) { return s == samples[0]; });
        {
            std::lock_guard<std::mutex> lock(mutex);
            blocks.push_back({samples[0], uniform && count == AudioPlayer::kBlockBytes});
        }
        if (hold_.count())
            abort.SleepUntil(Clock::now() + hold_);
    }
    struct Seen {
        int16_t first;
        bool whole;
    };
    std::mutex mutex;
    std::vector<Seen> blocks;

private:
    std::chrono::milliseconds hold_;
};

// Never finishes a block until the output is reset.
class StuckSink : public AudioSink {
public:
    const char* Kind() const override { return "stuck"; }
    void Play(const int16_t*, size_t, const AudioAbort& abort) override
    {
        abort.SleepUntil(Clock::now() + std::chrono::hours(1));
    }
};

// Plays each block for a while and keeps the first sample of those it played to the end; an aborted block
// was not heard.
class HeardSink : public AudioSink {
public:
    const char* Kind() const override { return "heard"; }
    void Play(const int16_t* samples, size_t, const AudioAbort& abort) override
    {
        if (!abort.SleepUntil(Clock::now() + std::chrono::milliseconds(100)))
            return;
        std::lock_guard<std::mutex> lock(mutex_);
        heard_.push_back(samples[0]);
    }
    std::vector<int16_t> Heard()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return heard_;
    }

private:
    std::mutex mutex_;
    std::vector<int16_t> heard_;
};

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(5))
{
    const auto end = Clock::now() + limit;
    while (!done()) {
        if (Clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

}  // namespace

TEST(ALawTable, IsG711ExceptTopSegmentIsOneSmaller)
{
    for (int code = 0; code < 256; ++code) {
        const int g711 = G711ALaw(code);
        const bool top = (code >= 32 && code <= 47) || (code >= 160 && code <= 175);
        const int expected = top ? (g711 > 0 ? g711 - 1 : g711 + 1) : g711;
        EXPECT_EQ(kALawTable[code], expected) << "code " << code;
    }
    EXPECT_EQ(kALawTable[32], -22015);
    EXPECT_EQ(kALawTable[160], 22015);
    EXPECT_EQ(kALawTable[42], -32255);
    EXPECT_EQ(kALawTable[213], 8);
}

TEST(AudioPlayer, VolumeScalesTruncatingTowardZeroAndIsClamped)
{
    struct Case {
        int percent;
        unsigned char code;
        int16_t expected;
    };
    const Case cases[] = {
        {50, 213, 4},        // 0.5 x 8
        {150, 160, 22015},   // above 100 % is full volume
        {-5, 160, 0},        // below 0 % is silence
        {100, 42, -32255},
        {33, 85, -2},        // 0.33 x -8 = -2.64, truncated toward zero
        {33, 213, 2},
        {0, 42, 0},
    };
    for (const Case& c : cases) {
        AudioPlayer player;
        auto sink = std::make_unique<RecordingSink>();
        RecordingSink* seen = sink.get();
        player.Open(std::move(sink));
        player.SetVolume(c.percent);
        player.Write(Block(c.code).data());
        ASSERT_TRUE(WaitUntil([&] {
            std::lock_guard<std::mutex> lock(seen->mutex);
            return !seen->blocks.empty();
        }));
        std::lock_guard<std::mutex> lock(seen->mutex);
        EXPECT_EQ(seen->blocks[0].first, c.expected) << c.percent << "% of code " << int(c.code);
        EXPECT_TRUE(seen->blocks[0].whole);
    }
}

TEST(AudioPlayer, NullSinkTakesThePlayingTimeOfTwentyBlocks)
{
    AudioPlayer player;
    player.Open(std::make_unique<NullAudioSink>());
    const auto block = Block(213);
    const auto start = Clock::now();
    for (int i = 0; i < 20; ++i)
        player.Write(block.data());
    // The last writes return when two buffers are still to play.
    ASSERT_TRUE(WaitUntil([&] { return player.FreeBuffers() == AudioPlayer::kBufferCount; }));
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_GE(seconds, 20 * 0.128 - 0.01);
    EXPECT_LT(seconds, 20 * 0.128 + 1.5);
}

TEST(AudioPlayer, ConcurrentWritersEachGetTheirOwnBuffer)
{
    AudioPlayer player;
    auto sink = std::make_unique<RecordingSink>(std::chrono::milliseconds(3));
    RecordingSink* seen = sink.get();
    player.Open(std::move(sink));
    constexpr int kPerWriter = 40;
    auto writer = [&](unsigned char code) {
        const auto block = Block(code);
        for (int i = 0; i < kPerWriter; ++i)
            player.Write(block.data());
    };
    std::thread a(writer, 213), b(writer, 85);
    a.join();
    b.join();
    ASSERT_TRUE(WaitUntil([&] { return player.FreeBuffers() == AudioPlayer::kBufferCount; }));
    // Had both writers taken one buffer, one block would be lost (and a semaphore unit with it)
    // and another played twice.
    std::map<int16_t, int> perValue;
    std::lock_guard<std::mutex> lock(seen->mutex);
    for (const auto& s : seen->blocks) {
        EXPECT_TRUE(s.whole);
        ++perValue[s.first];
    }
    EXPECT_EQ(perValue[8], kPerWriter);
    EXPECT_EQ(perValue[-8], kPerWriter);
    EXPECT_EQ(seen->blocks.size(), 2u * kPerWriter);
}

TEST(AudioPlayer, CloseReleasesAWaitingWriterAndLaterWritesReturnAtOnce)
{
    AudioPlayer player;
    player.Open(std::make_unique<StuckSink>());
    const auto block = Block(213);
    player.Write(block.data());
    player.Write(block.data());
    EXPECT_EQ(player.FreeBuffers(), 0);
    std::atomic<bool> returned{false};
    std::thread waiter([&] {
        player.Write(block.data());
        returned = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(returned);
    const auto start = Clock::now();
    player.Close();
    waiter.join();
    EXPECT_TRUE(returned);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
    EXPECT_FALSE(player.IsOpen());
    player.Write(block.data());  // closed: returns without waiting

    // And it opens again with both buffers free.
    player.Open(std::make_unique<MemoryAudioSink>());
    EXPECT_EQ(player.FreeBuffers(), 2);
    EXPECT_STREQ(player.OutputKind(), "memory");
}

// The monitor's blocks go when its session ends, whether playing or queued; the program's play on.
TEST(AudioPlayer, DropTakesOneSourcesBlocksAndLeavesTheOthers)
{
    struct Case {
        const char* name;
        AudioPlayer::Source first;  // plays while the second waits in the queue
        AudioPlayer::Source second;
    };
    using S = AudioPlayer::Source;
    const Case cases[] = {
        {"monitor playing, program queued", S::Monitor, S::Program},
        {"program playing, monitor queued", S::Program, S::Monitor},
        {"both monitor", S::Monitor, S::Monitor},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AudioPlayer player;
        auto sink = std::make_unique<HeardSink>();
        HeardSink* heard = sink.get();
        player.Open(std::move(sink));
        const auto first = Block(213);
        const auto second = Block(212);
        player.Write(first.data(), c.first);
        player.Write(second.data(), c.second);
        player.Drop(S::Monitor);
        std::vector<int16_t> expected;
        if (c.first == S::Program)
            expected.push_back(kALawTable[213]);
        if (c.second == S::Program)
            expected.push_back(kALawTable[212]);
        EXPECT_TRUE(WaitUntil([&] { return player.FreeBuffers() == 2; }));
        EXPECT_EQ(heard->Heard(), expected);
        player.Close();
    }
}

TEST(AudioPlayer, WriteBeforeOpenDoesNotBlock)
{
    AudioPlayer player;
    player.Write(Block(1).data());
    EXPECT_FALSE(player.IsOpen());
    EXPECT_STREQ(player.OutputKind(), "");
}
