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

namespace {

constexpr int kIndexBits = 1;  // kBufferCount buffers
constexpr unsigned kWriteCountMask = 0x3FFFFFFF;

static_assert(AudioPlayer::kBufferCount <= (1 << kIndexBits), "the buffer index fits its bits");

int BufferIndexOf(int userValue) { return userValue & ((1 << kIndexBits) - 1); }

}  // namespace

void AudioPlayer::Write(const unsigned char* alaw, Source source)
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

    writes_ = (writes_ + 1) & kWriteCountMask;
    const int userValue = static_cast<int>(writes_ << kIndexBits) | index;
    source_[index] = source;
    queuedAs_[index] = userValue;
    if (!output_->Queue(samples, kBlockBytes, userValue)) {
        busy_[index] = false;
        semaphore_.Release();
    }
}

void AudioPlayer::Drop(Source source)
{
    std::lock_guard<std::mutex> lifecycle(lifecycle_);  // keeps the output open meanwhile
    AudioOutput* output;
    std::array<int, kBufferCount> values{};
    int count = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        output = output_.get();
        for (int i = 0; i < kBufferCount; ++i)
            if (busy_[i] && source_[i] == source)
                values[count++] = queuedAs_[i];
    }
    if (!output || count == 0)
        return;
    // Without our lock: the output reports the dropped blocks through BufferDone, which takes it.
    output->Drop([&values, count](int userValue) {
        for (int i = 0; i < count; ++i)
            if (values[i] == userValue)
                return true;
        return false;
    });
}

void AudioPlayer::BufferDone(uint64_t generation, int userValue)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const int index = BufferIndexOf(userValue);
    if (generation != generation_ || userValue < 0 || !busy_[index] || queuedAs_[index] != userValue)
        return;
    busy_[index] = false;
    semaphore_.Release();
}

}  // namespace calvox
