// A queue of datagrams that start with a given byte prefix, and the wait for them. One waiting caller at a time
// consumes. A slot's storage grows to the longest datagram it has held and is then kept: a matcher that never
// gets a datagram holds none, one for short replies holds short slots, and nothing is allocated per datagram
// once the longest has been seen.
//
// A matcher made by a UdpChannel shares the channel's lock, and its waiting caller may read the channel's
// socket itself instead of sleeping until the receive thread passes the reply on (see UdpChannel.h): the reply
// then wakes the caller directly. A matcher made on its own is filled by Accept only.
#pragma once

#include "platform/Socket.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

namespace calvox {

class UdpChannel;

// Whether a caller waiting on a channel's matcher reads the socket itself.
enum class SocketReading {
    TakeOver,  // yes, even when the receive thread must be woken to step back: the round trip counts
    WhenFree,  // only while no one reads it: a periodic wait that must not wake a reading receive thread
    Never,     // no: a stream whose queue drops what the reader has no room for, so it never builds up late
};

class ReplyMatcher {
public:
    // slotSize: the channel's datagram size (slots are rounded up to a multiple of 4 here).
    ReplyMatcher(int prefixOffset, const uint8_t* prefix, int prefixLength, int slotSize, int slotCount,
                 int timeoutMs);
    ReplyMatcher(const ReplyMatcher&) = delete;
    ReplyMatcher& operator=(const ReplyMatcher&) = delete;

    // Takes the datagram when its bytes at the prefix offset equal the prefix. A full queue drops the datagram
    // but still reports it as taken, so later matchers never see it. A datagram longer than the channel's
    // datagram size is never taken: it would not fit the callers' buffers, and cut it would read as whole.
    bool Accept(const uint8_t* data, int length, const net::Address& from);
    using Clock = std::chrono::steady_clock;

    // When a wait that begins now gives up: now plus the (scaled) time-out.
    Clock::time_point Deadline() const;
    // Copies the oldest queued datagram into buffer (at least the slot size) and returns its length, or 0 when
    // the deadline passed with nothing queued. A caller that skips datagrams which are not its answer waits
    // again with the same deadline, so a stream of them cannot hold it past its time-out. The buffer's bytes
    // are undefined after a 0.
    int Wait(Clock::time_point deadline, uint8_t* buffer, net::Address* from = nullptr);
    // A wait of one whole time-out from now.
    int Wait(uint8_t* buffer, net::Address* from = nullptr) { return Wait(Deadline(), buffer, from); }
    // Drops whatever is queued, also what came to the channel's socket while no one read it: a late reply to
    // an earlier request is never taken for the next one.
    void Clear();

    void SetTimeout(int ms);
    int Timeout() const;
    int SlotSize() const { return slotSize_; }

private:
    friend class UdpChannel;

    struct Slot {
        net::Address from{};
        int length = 0;
        std::vector<uint8_t> data;  // grows to the longest datagram held
    };

    // Called by the channel that made the matcher, before any wait.
    void Attach(UdpChannel* channel, std::mutex* lock, SocketReading reading);
    // The prefix and length tests of Accept; no lock needed (the prefix never changes).
    bool Matches(const uint8_t* data, int length) const;
    // With the lock held: queues the datagram (dropped when full) and wakes the waiting caller.
    void Store(const uint8_t* data, int length, const net::Address& from);
    // With the lock held: moves the oldest datagram to buffer; 0 when none is queued.
    int Take(uint8_t* buffer, net::Address* from);
    bool Empty() const { return read_ == written_; }

    const int prefixOffset_;
    const std::vector<uint8_t> prefix_;
    int timeoutMs_;
    const int datagramSize_;  // the longest datagram taken
    const int slotSize_;
    const int slotCount_;
    std::vector<Slot> slots_;
    int written_ = 0;
    int read_ = 0;
    mutable std::mutex ownLock_;
    std::mutex* lock_ = &ownLock_;  // the channel's when it made the matcher
    std::condition_variable ready_;
    UdpChannel* channel_ = nullptr;
    SocketReading reading_ = SocketReading::Never;
    bool waiting_ = false;  // a caller sleeps in Wait: the channel wakes it when the socket is free to read
};

}  // namespace calvox
