#include "AudioPlayer.h"

#include "ALawTable.h"
#include "platform/AudioOutput.h"
#include "platform/AudioSink.h"

namespace calvox {

AudioPlayer& AudioPlayer::Instance()
{
    // Never destroyed: a monitor or program thread may still write while the process ends without Exit.
    static AudioPlayer* player = new AudioPlayer;
    return *player;
}

AudioPlayer::AudioPlayer() = default;

AudioPlayer::~AudioPlayer()
{
    Close();
}

void AudioPlayer::Open()
{
    std::lock_guard<std::mutex> lifecycle(lifecycle_);
    if (!IsOpen())
        OpenOutput(OpenAudioSink());
}

void AudioPlayer::Open(std::unique_ptr<AudioSink> sink)
{
    std::lock_guard<std::mutex> lifecycle(lifecycle_);
    if (!IsOpen())
        OpenOutput(std::move(sink));
}

void AudioPlayer::OpenOutput(std::unique_ptr<AudioSink> sink)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const uint64_t generation = ++generation_;
    busy_ = {};
    output_ = std::make_unique<AudioOutput>(std::move(sink), kBufferCount,
                                            [this, generation](int index) { BufferDone(generation, index); });
    semaphore_.Reset(kBufferCount);
}

void AudioPlayer::Close()
{
    std::lock_guard<std::mutex> lifecycle(lifecycle_);
    std::unique_ptr<AudioOutput> output;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        output = std::move(output_);
        ++generation_;
        busy_ = {};
    }
    semaphore_.Close();
    output.reset();  // resets the device and joins its thread, without our lock held
}

bool AudioPlayer::IsOpen() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return output_ != nullptr;
}

const char* AudioPlayer::OutputKind() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return output_ ? output_->Kind() : "";
}

void AudioPlayer::SetVolume(int percent)
{
    float volume = static_cast<float>(percent) / 100.0f;
    if (volume < 0.0f)
        volume = 0.0f;
    if (volume > 1.0f)
        volume = 1.0f;
    volume_.store(volume, std::memory_order_relaxed);
}

void AudioPlayer::Write(const unsigned char* alaw)
{
    if (!semaphore_.Acquire())
        return;
    // Choosing, marking, filling and queueing happen under one lock: two writers that both passed
    // the semaphore must end up with different buffers, and a Close cannot slip in between.
    // Filling 1024 samples takes about a microsecond, so the lock is never held for long.
    std::lock_guard<std::mutex> lock(mutex_);
    if (!output_) {
        semaphore_.Release();
        return;
    }
    const int index = busy_[0] ? 1 : 0;
    busy_[index] = true;

    const float volume = Volume();
    int16_t* samples = buffers_[index].data();
    for (int i = 0; i < kBlockBytes; ++i)
        samples[i] = static_cast<int16_t>(volume * static_cast<float>(kALawTable[alaw[i]]));

    if (!output_->Queue(samples, kBlockBytes, index)) {
        busy_[index] = false;
        semaphore_.Release();
    }
}

void AudioPlayer::BufferDone(uint64_t generation, int index)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (generation != generation_ || index < 0 || index >= kBufferCount)
        return;
    busy_[index] = false;
    semaphore_.Release();
}

}  // namespace calvox
