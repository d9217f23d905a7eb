#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "AudioSink.h"

namespace calvox {

// Test sinks: they keep what would have been played instead of playing it, and complete every
// block at once (tests are not paced by them; the null sink is the paced one).

// Appends every block to one process-wide sample store.
class MemoryAudioSink : public AudioSink {
public:
    const char* Kind() const override { return "memory"; }
    void Play(const int16_t* samples, size_t count, const AudioAbort& abort) override;
};

// The process-wide store of the memory sink (kept across sink instances, so a test can read it
// after the player has closed).
std::vector<int16_t> CapturedAudio();
size_t CapturedAudioSampleCount();
void ClearCapturedAudio();

// Writes a 16-bit mono 8000 Hz WAV file. Samples go to "<path>.part"; the header is completed
// and the file renamed to <path> when the sink closes, so a file at <path> is always whole.
class WavAudioSink : public AudioSink {
public:
    // Null when the file cannot be created.
    static std::unique_ptr<WavAudioSink> Create(const std::string& path);
    ~WavAudioSink() override;

    const char* Kind() const override { return "wav"; }
    void Play(const int16_t* samples, size_t count, const AudioAbort& abort) override;

private:
    WavAudioSink(std::FILE* file, std::string path);
    bool Finish();

    std::FILE* file_;
    std::string path_;
    uint32_t dataBytes_ = 0;
    bool failed_ = false;
};

}  // namespace calvox
