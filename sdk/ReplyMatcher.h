// A queue of datagrams that start with a given byte prefix. The channel's receive thread is the only producer;
// one waiting caller at a time consumes. A slot's storage grows to the longest datagram it has held and is then
// kept: a matcher that never gets a datagram holds none, one for short replies holds short slots, and nothing is
// allocated per datagram once the longest has been seen.
#pragma once

#include "platform/Socket.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

namespace calvox {

class ReplyMatcher {
public:
    // slotSize: the channel's datagram size (slots are rounded up to a multiple of 4 here).
    ReplyMatcher(int prefixOffset, const uint8_t* prefix, int prefixLength, int slotSize, int slotCount,
                 int timeoutMs);

    // Takes the datagram when its bytes at the prefix offset equal the prefix. A full queue drops the datagram
    // but still reports it as taken, so later matchers never see it. A datagram longer than the channel's
    // datagram size is never taken: it would not fit the callers' buffers, and cut it would read as whole.
    bool Accept(const uint8_t* data, int length, const net::Address& from);
    using Clock = std::chrono::steady_clock;

    // When a wait that begins now gives up: now plus the (scaled) time-out.
    Clock::time_point Deadline() const;
    // Copies the oldest queued datagram into buffer (at least the slot size) and returns its length, or 0 when
    // the deadline passed with nothing queued. A caller that skips datagrams which are not its answer waits
    // again with the same deadline, so a stream of them cannot hold it past its time-out.
    int Wait(Clock::time_point deadline, uint8_t* buffer, net::Address* from = nullptr);
    // A wait of one whole time-out from now.
    int Wait(uint8_t* buffer, net::Address* from = nullptr) { return Wait(Deadline(), buffer, from); }
    // Drops whatever is queued.
    void Clear();

    void SetTimeout(int ms);
    int Timeout() const;
    int SlotSize() const { return slotSize_; }

private:
    struct Slot {
        net::Address from{};
        int length = 0;
        std::vector<uint8_t> data;  // grows to the longest datagram held
    };

    const int prefixOffset_;
    const std::vector<uint8_t> prefix_;
    int timeoutMs_;
    const int datagramSize_;  // the longest datagram taken
    const int slotSize_;
    const int slotCount_;
    std::vector<Slot> slots_;
    int written_ = 0;
    int read_ = 0;
    mutable std::mutex mutex_;
    std::condition_variable ready_;
};

}  // namespace calvox
