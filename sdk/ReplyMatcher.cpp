#include "ReplyMatcher.h"

#include "TimeScale.h"
#include "UdpChannel.h"

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

void ReplyMatcher::Attach(UdpChannel* channel, std::mutex* lock, SocketReading reading)
{
    channel_ = channel;
    lock_ = lock;
    reading_ = reading;
}

bool ReplyMatcher::Matches(const uint8_t* data, int length) const
{
    const int prefixLength = static_cast<int>(prefix_.size());
    if (length < 0 || prefixOffset_ + prefixLength > length || length > datagramSize_)
        return false;
    return !prefixLength || std::memcmp(data + prefixOffset_, prefix_.data(), prefix_.size()) == 0;
}

bool ReplyMatcher::Accept(const uint8_t* data, int length, const net::Address& from)
{
    if (!Matches(data, length))
        return false;
    std::lock_guard<std::mutex> lock(*lock_);
    Store(data, length, from);
    return true;
}

void ReplyMatcher::Store(const uint8_t* data, int length, const net::Address& from)
{
    if (written_ - read_ == slotCount_)
        return;  // full: dropped
    Slot& slot = slots_[static_cast<size_t>(written_ % slotCount_)];
    slot.from = from;
    slot.length = length;
    if (slot.data.size() < static_cast<size_t>(length))
        slot.data.resize(static_cast<size_t>(length));
    std::memcpy(slot.data.data(), data, static_cast<size_t>(length));
    ++written_;
    ready_.notify_one();
}

int ReplyMatcher::Take(uint8_t* buffer, net::Address* from)
{
    if (Empty())
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

ReplyMatcher::Clock::time_point ReplyMatcher::Deadline() const
{
    return Clock::now() + std::chrono::milliseconds(ScaledMs(Timeout()));
}

int ReplyMatcher::Wait(Clock::time_point deadline, uint8_t* buffer, net::Address* from)
{
    std::unique_lock<std::mutex> lock(*lock_);
    for (;;) {
        if (!Empty())
            return Take(buffer, from);
        if (Clock::now() >= deadline)
            break;
        if (channel_ && channel_->MayRead(reading_)) {
            // This caller reads the socket until its own datagram comes; what is not its own goes to the other
            // matchers' queues, and their callers wake as they did for the receive thread.
            const int n = channel_->ReadFor(*this, lock, deadline, buffer, from);
            if (n > 0)
                return n;
            continue;
        }
        if (channel_)
            channel_->BeforeSleep();
        waiting_ = true;
        ready_.wait_until(lock, deadline);
        waiting_ = false;
    }
    // A caller woken to read the socket but out of time passes that on.
    if (channel_)
        channel_->PassSocketOn();
    return 0;
}

void ReplyMatcher::Clear()
{
    std::lock_guard<std::mutex> lock(*lock_);
    if (channel_)
        channel_->DrainUnread();
    read_ = written_ = 0;
}

void ReplyMatcher::SetTimeout(int ms)
{
    std::lock_guard<std::mutex> lock(*lock_);
    timeoutMs_ = ms;
}

int ReplyMatcher::Timeout() const
{
    std::lock_guard<std::mutex> lock(*lock_);
    return timeoutMs_;
}

}  // namespace calvox
