#include "NullAudioSink.h"

namespace calvox {

void NullAudioSink::Play(const int16_t*, size_t count, const AudioAbort& abort)
{
    const auto now = std::chrono::steady_clock::now();
    const auto start = playedUntil_ > now ? playedUntil_ : now;
    playedUntil_ = start + AudioPlayingTime(count);
    abort.SleepUntil(playedUntil_);
}

void NullAudioSink::Discard()
{
    playedUntil_ = {};
}

}  // namespace calvox
