#include "MonitorReorderBuffer.h"

#include <cstring>

namespace calvox {

namespace {

// Negative when `a` comes before `b` in the wrapping sequence.
int8_t SequenceDistance(uint8_t a, uint8_t b)
{
    return static_cast<int8_t>(static_cast<uint8_t>(a - b));
}

}  // namespace

void MonitorReorderBuffer::Clear()
{
    filled_ = 0;
    oldest_ = 0;
    pending_ = nullptr;
}

bool MonitorReorderBuffer::Holds(uint8_t sequence) const
{
    for (int i = 0; i < filled_; ++i)
        if (slots_[i][0] == sequence)
            return true;
    return false;
}

MonitorReorderBuffer::Outcome MonitorReorderBuffer::Offer(const unsigned char* packet)
{
    const uint8_t sequence = packet[0];
    if (Holds(sequence))
        return Outcome::Duplicate;
    if (filled_ < kSlots) {
        std::memcpy(slots_[filled_].data(), packet, kPacketBytes);
        if (++filled_ == kSlots)
            FindOldest();
        return Outcome::Stored;
    }
    if (SequenceDistance(sequence, slots_[oldest_][0]) < 0)
        return Outcome::Late;
    pending_ = packet;
    return Outcome::Play;
}

const unsigned char* MonitorReorderBuffer::Playable() const
{
    return slots_[oldest_].data() + kAudioOffset;
}

void MonitorReorderBuffer::Commit()
{
    if (!pending_)
        return;
    std::memcpy(slots_[oldest_].data(), pending_, kPacketBytes);
    pending_ = nullptr;
    FindOldest();
}

// The oldest slot is the one that no other slot precedes. When the kept numbers spread over
// more than half the sequence space no slot may qualify (every one has some other "before" it);
// then the slot with the fewest predecessors is taken, the lowest slot on a tie. Where a slot
// qualifies it is the only one with none, so both rules agree there.
void MonitorReorderBuffer::FindOldest()
{
    int best = 0;
    int bestPredecessors = kSlots + 1;
    for (int s = 0; s < filled_; ++s) {
        int predecessors = 0;
        for (int t = 0; t < filled_; ++t)
            if (t != s && SequenceDistance(slots_[t][0], slots_[s][0]) < 0)
                ++predecessors;
        if (predecessors < bestPredecessors) {
            best = s;
            bestPredecessors = predecessors;
        }
    }
    oldest_ = best;
}

}  // namespace calvox
