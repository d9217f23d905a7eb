#include "CountingSemaphore.h"

namespace calvox {

bool CountingSemaphore::Acquire()
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (closed_)
        return false;
    const uint64_t closings = closings_;
    changed_.wait(lock, [&] { return count_ > 0 || closings_ != closings; });
    if (closings_ != closings)
        return false;
    --count_;
    return true;
}

void CountingSemaphore::Release()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (closed_ || count_ >= maximum_)
            return;
        ++count_;
    }
    changed_.notify_one();
}

void CountingSemaphore::Close()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closed_ = true;
        count_ = 0;
        ++closings_;
    }
    changed_.notify_all();
}

void CountingSemaphore::Reset(int count)
{
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = false;
    count_ = count < maximum_ ? count : maximum_;
}

int CountingSemaphore::Count() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return count_;
}

}  // namespace calvox
