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
    std::unique_lock<std::mutex> lock(mutex_);
    resetting_ = true;
    abort_.Set();
    changed_.notify_all();
    changed_.wait(lock, [this] { return size_ == 0 && !busy_; });
    resetting_ = false;
    abort_.Clear();
}

void AudioOutput::Drop(const std::function<bool(int userValue)>& which)
{
    std::vector<int> dropped;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        size_t kept = 0;
        for (size_t i = 0; i < size_; ++i) {
            const Block block = ring_[(head_ + i) % ring_.size()];
            if (which(block.userValue))
                dropped.push_back(block.userValue);
            else
                ring_[(head_ + kept++) % ring_.size()] = block;
        }
        size_ = kept;
        if (busy_ && which(current_.userValue)) {
            const uint64_t playing = taken_;
            abort_.Set();
            changed_.wait(lock, [this, playing] { return !busy_ || taken_ != playing; });
        }
    }
    changed_.notify_all();
    // Taken off the queue, so the thread will never report them: reported here, without the lock.
    if (done_)
        for (int userValue : dropped)
            done_(userValue);
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
        current_ = block;
        ++taken_;
        if (!resetting_)
            abort_.Clear();  // a Drop's abort was for the block before
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
