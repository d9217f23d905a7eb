#include "ReplyMatcher.h"

#include "TimeScale.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace calvox {

ReplyMatcher::ReplyMatcher(int prefixOffset, const uint8_t* prefix, int prefixLength, int slotSize, int slotCount,
                           int timeoutMs)
    : prefixOffset_(std::max(0, prefixOffset)),
      prefix_(prefix, prefix + std::clamp(prefixLength, 0, 255)),
      timeoutMs_(timeoutMs),
      datagramSize_(std::max(1, slotSize)),
      slotSize_((datagramSize_ + 3) & ~3),
      slotCount_(std::max(1, slotCount)),
      slots_(static_cast<size_t>(slotCount_))
{
}

bool ReplyMatcher::Accept(const uint8_t* data, int length, const net::Address& from)
{
    const int prefixLength = static_cast<int>(prefix_.size());
    if (length < 0 || prefixOffset_ + prefixLength > length || length > datagramSize_)
        return false;
    if (prefixLength && std::memcmp(data + prefixOffset_, prefix_.data(), prefix_.size()) != 0)
        return false;
    std::lock_guard<std::mutex> lock(mutex_);
    if (written_ - read_ == slotCount_)
        return true;  // full: dropped, but no other matcher may have it
    Slot& slot = slots_[static_cast<size_t>(written_ % slotCount_)];
    slot.from = from;
    slot.length = length;
    if (slot.data.size() < static_cast<size_t>(length))
        slot.data.resize(static_cast<size_t>(length));
    std::memcpy(slot.data.data(), data, static_cast<size_t>(slot.length));
    ++written_;
    ready_.notify_one();
    return true;
}

ReplyMatcher::Clock::time_point ReplyMatcher::Deadline() const
{
    return Clock::now() + std::chrono::milliseconds(ScaledMs(Timeout()));
}

int ReplyMatcher::Wait(Clock::time_point deadline, uint8_t* buffer, net::Address* from)
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (!ready_.wait_until(lock, deadline, [this] { return read_ < written_; }))
        return 0;
    const Slot& slot = slots_[static_cast<size_t>(read_ % slotCount_)];
    std::memcpy(buffer, slot.data.data(), static_cast<size_t>(slot.length));
    if (from)
        *from = slot.from;
    const int length = slot.length;
    if (++read_ == written_)
        read_ = written_ = 0;
    return length;
}

void ReplyMatcher::Clear()
{
    std::lock_guard<std::mutex> lock(mutex_);
    read_ = written_ = 0;
}

void ReplyMatcher::SetTimeout(int ms)
{
    std::lock_guard<std::mutex> lock(mutex_);
    timeoutMs_ = ms;
}

int ReplyMatcher::Timeout() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return timeoutMs_;
}

}  // namespace calvox
