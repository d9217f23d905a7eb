#include "AlsaAudioSink.h"

#include <cerrno>
#include <cstdarg>
#include <mutex>

#include <alsa/asoundlib.h>

namespace calvox {

namespace {

// The buffer the device keeps ahead of the player: a few of the player's 128 ms blocks.
constexpr unsigned kLatencyMicroseconds = 300000;
// Playback starts once this much is queued (one player block), not when the device buffer is full: a short
// sound (or the tail of a long one) would otherwise never start.
constexpr snd_pcm_uframes_t kStartFrames = 1024;
// How long one wait for room in the device buffer may take before the abort flag is checked.
constexpr int kWaitMilliseconds = 20;

void QuietAlsaError(const char*, int, const char*, int, const char*, ...) {}

void SilenceAlsa()
{
    static std::once_flag once;
    std::call_once(once, [] { snd_lib_error_set_handler(QuietAlsaError); });
}

}  // namespace

std::unique_ptr<AlsaAudioSink> AlsaAudioSink::Open(const std::string& device)
{
    SilenceAlsa();
    snd_pcm_t* pcm = nullptr;
    // Non-blocking: a busy device must not hold up the program's start-up; and the output thread
    // must be able to notice an abort while the device buffer is full.
    if (snd_pcm_open(&pcm, device.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
        return nullptr;
    if (snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 1, kSampleRate, 1,
                           kLatencyMicroseconds) < 0) {
        snd_pcm_close(pcm);
        return nullptr;
    }
    snd_pcm_sw_params_t* sw = nullptr;
    if (snd_pcm_sw_params_malloc(&sw) == 0) {
        if (snd_pcm_sw_params_current(pcm, sw) == 0 && snd_pcm_sw_params_set_start_threshold(pcm, sw, kStartFrames) == 0)
            snd_pcm_sw_params(pcm, sw);
        snd_pcm_sw_params_free(sw);
    }
    return std::unique_ptr<AlsaAudioSink>(new AlsaAudioSink(pcm));
}

AlsaAudioSink::~AlsaAudioSink()
{
    snd_pcm_drop(pcm_);
    snd_pcm_close(pcm_);
}

void AlsaAudioSink::Play(const int16_t* samples, size_t count, const AudioAbort& abort)
{
    while (count > 0 && !broken_ && !abort.IsSet()) {
        snd_pcm_sframes_t n = snd_pcm_writei(pcm_, samples, count);
        if (n == -EAGAIN) {
            snd_pcm_wait(pcm_, kWaitMilliseconds);
            continue;
        }
        if (n < 0) {
            // An underrun (the player had nothing to give for a while) or a suspend: recover and
            // write again; anything else means the device is gone.
            if (snd_pcm_recover(pcm_, static_cast<int>(n), 1) < 0)
                broken_ = true;
            continue;
        }
        samples += n;
        count -= static_cast<size_t>(n);
    }
    if (broken_ && count > 0 && !abort.IsSet()) {
        const auto now = std::chrono::steady_clock::now();
        playedUntil_ = (playedUntil_ > now ? playedUntil_ : now) + AudioPlayingTime(count);
        abort.SleepUntil(playedUntil_);
    }
}

void AlsaAudioSink::Discard()
{
    if (broken_) {
        playedUntil_ = {};
        return;
    }
    snd_pcm_drop(pcm_);
    snd_pcm_prepare(pcm_);
}

}  // namespace calvox
