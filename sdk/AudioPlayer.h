#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include "CountingSemaphore.h"

namespace calvox {

class AudioOutput;
class AudioSink;

// The process-wide player of 8 kHz A-law audio (live monitor and recorded calls): two 2048-byte
// PCM buffers of 1024 samples, at most both queued on the sound output at once.
// Writers block while both buffers are queued; closing the player releases them.
class AudioPlayer {
public:
    static constexpr int kBlockBytes = 1024;  // A-law bytes per write, samples per buffer
    static constexpr int kBufferCount = 2;

    static AudioPlayer& Instance();

    AudioPlayer();
    ~AudioPlayer();
    AudioPlayer(const AudioPlayer&) = delete;
    AudioPlayer& operator=(const AudioPlayer&) = delete;

    // Opens the sound output that the environment chooses (see OpenAudioSink); falls back to the
    // null sink, so the player is always open afterwards. Does nothing when already open.
    void Open();
    // Opens on the given sink (tests).
    void Open(std::unique_ptr<AudioSink> sink);
    // Stops the output (queued buffers are dropped), releases every waiting writer and closes.
    void Close();
    bool IsOpen() const;
    // Which sink plays ("alsa", "null", "memory", "wav"), or "" when closed.
    const char* OutputKind() const;

    // percent / 100, held to 0.0 .. 1.0.
    void SetVolume(int percent);
    float Volume() const { return volume_.load(std::memory_order_relaxed); }

    // Who wrote a block: the program (recorded calls) or the live monitor.
    enum class Source { Program, Monitor };

    // Plays exactly 1024 A-law bytes: waits for a free buffer, expands the bytes into it at the
    // current volume and queues it. Returns at once, dropping the data, when the player is closed.
    void Write(const unsigned char* alaw, Source source = Source::Program);
    // Drops what that source has queued and stops its block if it is playing; the other source's
    // blocks play on. Returns when nothing of it plays any more (a monitor session that ends must
    // not be heard after its end).
    void Drop(Source source);

    // Blocks free to be written (for tests): the semaphore's count.
    int FreeBuffers() const { return semaphore_.Count(); }

private:
    void OpenOutput(std::unique_ptr<AudioSink> sink);
    void BufferDone(uint64_t generation, int userValue);

    std::mutex lifecycle_;  // Open and Close
    mutable std::mutex mutex_;  // output_, busy_, buffers_, generation_
    std::unique_ptr<AudioOutput> output_;
    // Counts opens and closes: a completion that an earlier opening's output reports while it
    // shuts down is not booked against the current one.
    uint64_t generation_ = 0;
    std::array<bool, kBufferCount> busy_{};
    // Per buffer, what it holds while busy: who wrote it and the user value it was queued with. The
    // value carries a count of writes beside the buffer index, so a Drop never takes a buffer that
    // was freed and written again meanwhile for the other source.
    std::array<Source, kBufferCount> source_{};
    std::array<int, kBufferCount> queuedAs_{};
    unsigned writes_ = 0;
    std::array<std::array<int16_t, kBlockBytes>, kBufferCount> buffers_{};
    CountingSemaphore semaphore_{kBufferCount};
    std::atomic<float> volume_{1.0f};
};

}  // namespace calvox
