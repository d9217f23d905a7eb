#include "AudioSink.h"

namespace calvox {

void AudioAbort::Set()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        set_.store(true, std::memory_order_release);
    }
    changed_.notify_all();
}

void AudioAbort::Clear()
{
    std::lock_guard<std::mutex> lock(mutex_);
    set_.store(false, std::memory_order_release);
}

bool AudioAbort::SleepUntil(std::chrono::steady_clock::time_point deadline) const
{
    std::unique_lock<std::mutex> lock(mutex_);
    return !changed_.wait_until(lock, deadline, [this] { return IsSet(); });
}

}  // namespace calvox
