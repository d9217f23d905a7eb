// The sound output layer: which sink the environment picks, the capture sinks, the ALSA
// fallback and the wave-out style queue.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "AudioPlayer.h"
#include "platform/AlsaAudioSink.h"
#include "platform/AudioOutput.h"
#include "platform/CaptureAudioSink.h"
#include "platform/NullAudioSink.h"

using namespace calvox;

namespace {

using Clock = std::chrono::steady_clock;

class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old, had_ = true;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (had_)
            setenv(name_, old_.c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

// Everything written to file descriptor 2 while it lives.
class StderrCapture {
public:
    StderrCapture() : path_("/tmp/calvox-stderr-" + std::to_string(getpid()))
    {
        std::fflush(stderr);
        saved_ = dup(2);
        const int fd = open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(fd, 2);
        close(fd);
    }
    std::string Finish()
    {
        std::fflush(stderr);
        dup2(saved_, 2);
        close(saved_);
        std::ifstream in(path_);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::remove(path_.c_str());
        return text;
    }

private:
    std::string path_;
    int saved_;
};

std::string TempPath(const char* name)
{
    return std::string(::testing::TempDir()) + "calvox-" + std::to_string(getpid()) + "-" + name;
}

}  // namespace

TEST(OpenAudioSink, EnvironmentChoosesTheSink)
{
    struct Case {
        const char* sink;
        const char* device;
        const char* kind;
    };
    const std::string wav = "wav:" + TempPath("choose.wav");
    const Case cases[] = {
        {"memory", nullptr, "memory"},
        {"null", nullptr, "null"},
        {wav.c_str(), nullptr, "wav"},
        {"wav:/nonexistent-dir/x.wav", nullptr, "null"},  // cannot be created: still somewhere to play
        {"wav:", nullptr, "null"},
        {"alsa", "calvox_no_such_device", "null"},        // no device: the paced null sink
        {"speakers", nullptr, "null"},
    };
    for (const Case& c : cases) {
        ScopedEnv sink("CALVOX_AUDIO_SINK", c.sink);
        ScopedEnv device("CALVOX_AUDIO_DEVICE", c.device);
        EXPECT_STREQ(OpenAudioSink()->Kind(), c.kind) << c.sink;
    }
    std::remove(TempPath("choose.wav").c_str());
}

TEST(AlsaAudioSink, AMissingDeviceFailsWithoutAWordOnStderr)
{
    StderrCapture capture;
    auto sink = AlsaAudioSink::Open("calvox_no_such_device");
    auto card = AlsaAudioSink::Open("hw:97,0");
    auto standard = AlsaAudioSink::Open("default");  // with no sound card ALSA has much to say
    const std::string said = capture.Finish();
    EXPECT_EQ(sink, nullptr);
    EXPECT_EQ(card, nullptr);
    EXPECT_EQ(said, "");
}

TEST(AlsaAudioSink, PlaysThroughAlsasNullDeviceWithoutHanging)
{
    // ALSA's "null" device accepts everything; it shows that the ALSA path writes whole blocks.
    auto sink = AlsaAudioSink::Open("null");
    if (!sink)
        GTEST_SKIP() << "ALSA has no null device here";
    std::vector<int16_t> samples(1024, 100);
    AudioAbort abort;
    const auto start = Clock::now();
    for (int i = 0; i < 10; ++i)
        sink->Play(samples.data(), samples.size(), abort);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
}

TEST(AlsaAudioSink, ThePlayerWritesWholeBlocksOfSixteenBitMonoSamples)
{
    // ALSA's file plugin (over its null device) keeps what it is given: the ALSA path end to end, device name
    // from the environment.
    const std::string path = TempPath("alsa.raw");
    std::remove(path.c_str());
    const std::string device = "file:'" + path + "',raw";
    ScopedEnv sink("CALVOX_AUDIO_SINK", "alsa");
    ScopedEnv name("CALVOX_AUDIO_DEVICE", device.c_str());
    AudioPlayer player;
    player.Open();
    if (std::string(player.OutputKind()) != "alsa")
        GTEST_SKIP() << "ALSA has no file plugin here";
    const unsigned char codes[] = {213, 85, 42};
    for (unsigned char code : codes) {
        const std::vector<unsigned char> block(AudioPlayer::kBlockBytes, code);
        player.Write(block.data());
    }
    for (int i = 0; i < 500 && player.FreeBuffers() < AudioPlayer::kBufferCount; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    player.Close();

    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 3u * AudioPlayer::kBlockBytes * 2);
    const int16_t expected[] = {8, -8, -32255};
    for (size_t i = 0; i < bytes.size() / 2; ++i) {
        const int16_t sample = static_cast<int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
        ASSERT_EQ(sample, expected[i / AudioPlayer::kBlockBytes]) << "sample " << i;
    }
    std::remove(path.c_str());
}

TEST(WavAudioSink, WritesAWholeFileOnlyWhenClosed)
{
    const std::string path = TempPath("capture.wav");
    std::remove(path.c_str());
    {
        auto sink = WavAudioSink::Create(path);
        ASSERT_NE(sink, nullptr);
        std::vector<int16_t> samples = {1, -2, 32767, -32768};
        AudioAbort abort;
        sink->Play(samples.data(), samples.size(), abort);
        sink->Play(samples.data(), 2, abort);
        EXPECT_NE(access(path.c_str(), F_OK), 0) << "the final name appears only when complete";
    }
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 44u + 12u);
    auto u32 = [&](size_t at) { return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t(bytes[at + 3]) << 24; };
    auto u16 = [&](size_t at) { return uint16_t(bytes[at] | bytes[at + 1] << 8); };
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
    EXPECT_EQ(u32(4), 36u + 12u);
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(u16(20), 1);      // PCM
    EXPECT_EQ(u16(22), 1);      // mono
    EXPECT_EQ(u32(24), 8000u);
    EXPECT_EQ(u32(28), 16000u);
    EXPECT_EQ(u16(34), 16);
    EXPECT_EQ(u32(40), 12u);
    const int16_t expected[] = {1, -2, 32767, -32768, 1, -2};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(int16_t(u16(44 + 2 * i)), expected[i]);
    EXPECT_NE(access((path + ".part").c_str(), F_OK), 0);
    std::remove(path.c_str());
}

TEST(AudioOutput, ReportsEveryBlockOnceInOrderAndResetEndsAStuckBlock)
{
    std::mutex mutex;
    std::vector<int> done;
    auto record = [&](int user) {
        std::lock_guard<std::mutex> lock(mutex);
        done.push_back(user);
    };
    std::vector<int16_t> samples(8000);  // one second per block on the null sink
    {
        AudioOutput output(std::make_unique<NullAudioSink>(), 2, record);
        EXPECT_STREQ(output.Kind(), "null");
        EXPECT_TRUE(output.Queue(samples.data(), samples.size(), 7));
        EXPECT_TRUE(output.Queue(samples.data(), samples.size(), 8));
        // The first block may already be playing (taken off the queue): a third or fourth
        // queue attempt must hit the capacity.
        const bool third = output.Queue(samples.data(), samples.size(), 9);
        EXPECT_FALSE(third && output.Queue(samples.data(), samples.size(), 10));
        const auto start = Clock::now();
        output.Reset();
        EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500));
        std::lock_guard<std::mutex> lock(mutex);
        std::vector<int> expected = {7, 8};
        if (third)
            expected.push_back(9);
        EXPECT_EQ(done, expected);
    }
    // After a reset the output plays on; the destructor reports what is still queued.
    {
        done.clear();
        std::vector<int16_t> shortBlock(80);  // 10 ms
        AudioOutput output(std::make_unique<NullAudioSink>(), 2, record);
        output.Queue(shortBlock.data(), shortBlock.size(), 1);
        output.Reset();
        output.Queue(shortBlock.data(), shortBlock.size(), 2);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        output.Queue(samples.data(), samples.size(), 3);
    }
    EXPECT_EQ(done, (std::vector<int>{1, 2, 3}));
}

TEST(MemoryAudioSink, KeepsEverySampleAcrossSinks)
{
    ClearCapturedAudio();
    AudioAbort abort;
    std::vector<int16_t> a = {1, 2, 3};
    MemoryAudioSink().Play(a.data(), a.size(), abort);
    MemoryAudioSink().Play(a.data(), 2, abort);
    EXPECT_EQ(CapturedAudio(), (std::vector<int16_t>{1, 2, 3, 1, 2}));
    EXPECT_EQ(CapturedAudioSampleCount(), 5u);
    ClearCapturedAudio();
    EXPECT_EQ(CapturedAudioSampleCount(), 0u);
}
