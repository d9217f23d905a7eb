#include "AudioOutput.h"

namespace calvox {

AudioOutput::AudioOutput(std::unique_ptr<AudioSink> sink, size_t capacity, DoneCallback done)
    : sink_(std::move(sink)), done_(std::move(done)), ring_(capacity ? capacity : 1)
{
    thread_ = std::thread(&AudioOutput::Run, this);
}

AudioOutput::~AudioOutput()
{
    Reset();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

bool AudioOutput::Queue(const int16_t* samples, size_t count, int userValue)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stop_ || size_ == ring_.size())
            return false;
        ring_[(head_ + size_) % ring_.size()] = Block{samples, count, userValue};
        ++size_;
    }
    changed_.notify_all();
    return true;
}

void AudioOutput::Reset()
{
    abort_.Set();
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.notify_all();
        changed_.wait(lock, [this] { return size_ == 0 && !busy_; });
    }
    abort_.Clear();
}

void AudioOutput::Run()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stop_ || size_ > 0; });
        if (size_ == 0)
            return;  // stop_ with nothing left to report
        // Taken off the queue before it is reported, so that the callback may queue its successor.
        const Block block = ring_[head_];
        head_ = (head_ + 1) % ring_.size();
        --size_;
        busy_ = true;
        lock.unlock();
        if (!abort_.IsSet())
            sink_->Play(block.samples, block.count, abort_);
        if (abort_.IsSet())
            sink_->Discard();
        if (done_)
            done_(block.userValue);
        lock.lock();
        busy_ = false;
        changed_.notify_all();
    }
}

}  // namespace calvox
