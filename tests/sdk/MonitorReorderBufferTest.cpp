// Putting live-audio packets back into order.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "MonitorReorderBuffer.h"

using namespace calvox;

namespace {

using Outcome = MonitorReorderBuffer::Outcome;

std::vector<unsigned char> Packet(uint8_t sequence)
{
    std::vector<unsigned char> p(MonitorReorderBuffer::kPacketBytes, 0);
    p[0] = sequence;
    p[1] = p[2] = p[3] = 0xEE;  // not part of the audio
    for (int i = 0; i < MonitorReorderBuffer::kAudioBytes; ++i)
        p[MonitorReorderBuffer::kAudioOffset + i] = static_cast<unsigned char>(sequence + i);
    return p;
}

// Feeds the sequence numbers and returns what is played, identified by the first audio byte
// (which the packets above make equal to their sequence number).
std::vector<int> Played(MonitorReorderBuffer& buffer, const std::vector<int>& sequences,
                        std::vector<Outcome>* outcomes = nullptr)
{
    std::vector<int> played;
    for (int s : sequences) {
        const auto p = Packet(static_cast<uint8_t>(s));
        const Outcome o = buffer.Offer(p.data());
        if (outcomes)
            outcomes->push_back(o);
        if (o == Outcome::Play) {
            const unsigned char* audio = buffer.Playable();
            EXPECT_EQ(audio[1], static_cast<unsigned char>(audio[0] + 1)) << "whole audio, not the header";
            played.push_back(audio[0]);
            buffer.Commit();
        }
    }
    return played;
}

}  // namespace

TEST(MonitorReorderBuffer, AWrappingStreamPlaysInOrderAfterEightPackets)
{
    MonitorReorderBuffer buffer;
    std::vector<int> sequences;
    for (int i = 0; i < 20; ++i)
        sequences.push_back((250 + i) % 256);
    const auto played = Played(buffer, sequences);
    EXPECT_EQ(played, (std::vector<int>{250, 251, 252, 253, 254, 255, 0, 1, 2, 3, 4, 5}));
}

TEST(MonitorReorderBuffer, OldestAcrossTheWrapIs250Not0)
{
    MonitorReorderBuffer buffer;
    Played(buffer, {0, 1, 250, 251, 252, 253, 254, 255});
    ASSERT_TRUE(buffer.IsFull());
    EXPECT_EQ(buffer.OldestSequence(), 250);
}

TEST(MonitorReorderBuffer, ReorderedPacketsComeOutSorted)
{
    MonitorReorderBuffer buffer;
    const auto played = Played(buffer, {3, 1, 2, 0, 7, 5, 6, 4, 9, 8, 11, 10, 12, 13, 14, 15, 16, 17, 18, 19});
    EXPECT_EQ(played, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
}

TEST(MonitorReorderBuffer, LateAndDuplicatePacketsAreDropped)
{
    MonitorReorderBuffer buffer;
    std::vector<Outcome> outcomes;
    // 252 duplicates while filling; after 250 has played, 249 and 250 are late; 253 is held.
    const auto played = Played(buffer, {250, 251, 252, 252, 253, 254, 255, 0, 1, 2, 249, 250, 253, 3}, &outcomes);
    EXPECT_EQ(played, (std::vector<int>{250, 251}));
    EXPECT_EQ(outcomes[3], Outcome::Duplicate);
    EXPECT_EQ(outcomes[10], Outcome::Late);
    EXPECT_EQ(outcomes[11], Outcome::Late);
    EXPECT_EQ(outcomes[12], Outcome::Duplicate);
    EXPECT_EQ(buffer.Filled(), MonitorReorderBuffer::kSlots);
}

TEST(MonitorReorderBuffer, SpreadOutNumbersStillGiveADefinedOldest)
{
    // Every number has four others "before" it: no slot is oldest by the plain rule. The first
    // slot with the fewest predecessors plays; every later packet is still played or dropped.
    MonitorReorderBuffer buffer;
    Played(buffer, {96, 128, 160, 192, 224, 0, 32, 64});
    EXPECT_EQ(buffer.OldestSequence(), 96);
    std::vector<Outcome> outcomes;
    const auto played = Played(buffer, {100, 101, 102}, &outcomes);
    EXPECT_EQ(played.size() + std::count(outcomes.begin(), outcomes.end(), Outcome::Late), 3u);
    EXPECT_EQ(played.front(), 96);
}

TEST(MonitorReorderBuffer, ClearStartsFillingAgain)
{
    MonitorReorderBuffer buffer;
    Played(buffer, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    buffer.Clear();
    EXPECT_EQ(buffer.Filled(), 0);
    EXPECT_TRUE(Played(buffer, {1, 2, 3, 4, 5, 6, 7, 8}).empty());
    EXPECT_EQ(Played(buffer, {20}), std::vector<int>{1});
}
