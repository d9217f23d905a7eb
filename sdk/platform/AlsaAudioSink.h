#pragma once

#include <string>

#include "AudioSink.h"

typedef struct _snd_pcm snd_pcm_t;

namespace calvox {

// The real sound output: an ALSA playback device. ALSA's own error messages are silenced
// (a library must not print to the program's stderr).
class AlsaAudioSink : public AudioSink {
public:
    // Null when the device does not open or does not take 8000 Hz 16-bit mono.
    static std::unique_ptr<AlsaAudioSink> Open(const std::string& device);
    ~AlsaAudioSink() override;

    const char* Kind() const override { return "alsa"; }
    void Play(const int16_t* samples, size_t count, const AudioAbort& abort) override;
    void Discard() override;

private:
    explicit AlsaAudioSink(snd_pcm_t* pcm) : pcm_(pcm) {}

    snd_pcm_t* pcm_;
    // Set when the device fails for good (unplugged, say); from then on blocks are only timed,
    // so the player keeps its pace and nobody waits forever for a dead device.
    bool broken_ = false;
    std::chrono::steady_clock::time_point playedUntil_{};
};

}  // namespace calvox
