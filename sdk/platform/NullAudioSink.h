#pragma once

#include "AudioSink.h"

namespace calvox {

// Plays nothing but takes each block's real playing time, back to back, so that whoever feeds
// the output is paced as by a sound card. Used when no sound device opens.
class NullAudioSink : public AudioSink {
public:
    const char* Kind() const override { return "null"; }
    void Play(const int16_t* samples, size_t count, const AudioAbort& abort) override;
    void Discard() override;

private:
    // When the block in the (virtual) device ends; the next block starts there, not at "now",
    // so the small delays of waking up do not add up.
    std::chrono::steady_clock::time_point playedUntil_{};
};

}  // namespace calvox
