#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

namespace calvox {

// Raised to make a sink stop playing the block it is on (device reset, output closing).
// Sinks that wait for time to pass wait on it, so an abort never has to sit out a whole block.
class AudioAbort {
public:
    bool IsSet() const { return set_.load(std::memory_order_acquire); }
    void Set();
    void Clear();
    // Sleeps until the deadline or until the flag is set; true when the deadline was reached.
    bool SleepUntil(std::chrono::steady_clock::time_point deadline) const;

private:
    std::atomic<bool> set_{false};
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
};

// One backend of the sound output: 8000 Hz, 16-bit, mono PCM. All calls come from the output's
// own thread (AudioOutput), one at a time.
class AudioSink {
public:
    static constexpr int kSampleRate = 8000;

    virtual ~AudioSink() = default;
    // "alsa", "null", "memory" or "wav": which backend actually plays.
    virtual const char* Kind() const = 0;
    // Plays one block and returns when it has been played (or handed to a device that plays it
    // in real time), or early when the abort flag is raised.
    virtual void Play(const int16_t* samples, size_t count, const AudioAbort& abort) = 0;
    // Drops whatever the device still holds after an abort.
    virtual void Discard() {}
};

// Playing time of `samples` samples at 8000 Hz.
inline std::chrono::microseconds AudioPlayingTime(size_t samples)
{
    return std::chrono::microseconds(static_cast<int64_t>(samples) * 1000000 / AudioSink::kSampleRate);
}

// The sink chosen by the environment:
//   CALVOX_AUDIO_SINK unset, empty or "alsa": the ALSA device named by CALVOX_AUDIO_DEVICE
//     ("default" when unset), or the null sink when that device does not open;
//   "null": the null sink; "memory": the in-memory capture (see CaptureAudioSink.h);
//   "wav:<path>": a WAV file written to <path> when the sink closes.
// Anything else, or a WAV file that cannot be created, gives the null sink: the player must
// always have somewhere to put its buffers.
std::unique_ptr<AudioSink> OpenAudioSink();

}  // namespace calvox
