#pragma once

#include <array>
#include <cstdint>

namespace calvox {

// Puts the recorder's live-audio packets back into order. Each packet carries a wrapping 8-bit
// sequence number; the buffer first fills its eight slots, then, for every new packet, hands out
// the oldest one to be played and keeps the new one in its place. That costs eight packets
// (about one second) of delay. Late packets (older than the oldest kept) and duplicates are
// dropped. Sequence numbers compare as signed 8-bit differences, so 0 follows 255.
class MonitorReorderBuffer {
public:
    static constexpr int kSlots = 8;
    static constexpr int kPacketBytes = 1028;  // sequence, 3 bytes not read, 1024 A-law bytes
    static constexpr int kAudioOffset = 4;
    static constexpr int kAudioBytes = 1024;

    enum class Outcome { Stored, Play, Late, Duplicate };

    void Clear();
    // Takes one packet payload of kPacketBytes. When it returns Play, `Playable()` holds the
    // audio to play now, valid until `Commit()` stores the offered packet in its place.
    Outcome Offer(const unsigned char* packet);
    const unsigned char* Playable() const;
    void Commit();

    int Filled() const { return filled_; }
    bool IsFull() const { return filled_ == kSlots; }
    // The sequence number of the slot that plays next (valid when full).
    uint8_t OldestSequence() const { return slots_[oldest_][0]; }

private:
    bool Holds(uint8_t sequence) const;
    void FindOldest();

    std::array<std::array<unsigned char, kPacketBytes>, kSlots> slots_{};
    int filled_ = 0;
    int oldest_ = 0;
    const unsigned char* pending_ = nullptr;
};

}  // namespace calvox
