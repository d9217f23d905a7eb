// ReplyMatcher and UdpChannel: how datagrams are sorted into queues.
#include "Datagram.h"
#include "ReplyMatcher.h"
#include "TimeScale.h"
#include "UdpChannel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

using namespace calvox;

namespace {

std::vector<uint8_t> Datagram(uint8_t origin, uint8_t command, std::vector<uint8_t> payload = {})
{
    std::vector<uint8_t> d(6 + payload.size());
    d[0] = 'K';
    d[1] = 'W';
    d[2] = origin;
    d[3] = command;
    std::copy(payload.begin(), payload.end(), d.begin() + 6);
    return d;
}

struct ChannelFixture : ::testing::Test {
    void SetUp() override
    {
        SetTimeScale(0.05);
        ASSERT_NE(channel.Open(1000, kDatagramSize), 0);
        const uint8_t general[] = {'K', 'W'};
        const uint8_t heartbeat[] = {'K', 'W', 1, 4};
        const uint8_t audio[] = {'K', 'W', 1, 255};
        generalMatcher = channel.SetGeneralMatcher(0, general, 2, 1);
        heartbeatMatcher = channel.AddMatcher(0, heartbeat, 4, 1);
        audioMatcher = channel.AddMatcher(0, audio, 4, 2);
    }
    void TearDown() override { SetTimeScale(1); }
    void Offer(const std::vector<uint8_t>& d) { channel.Dispatch(d.data(), static_cast<int>(d.size()), from); }

    UdpChannel channel;
    ReplyMatcher* generalMatcher = nullptr;
    ReplyMatcher* heartbeatMatcher = nullptr;
    ReplyMatcher* audioMatcher = nullptr;
    net::Address from = net::MakeAddress(htonl(INADDR_LOOPBACK), 6066);
    uint8_t buffer[kDatagramSize] = {};
};

}  // namespace

TEST_F(ChannelFixture, SecondDatagramIntoFullOneSlotMatcherIsDroppedNotPassedOn)
{
    Offer(Datagram(1, 4, {1}));
    Offer(Datagram(1, 4, {2}));
    ASSERT_EQ(heartbeatMatcher->Wait(buffer), 7);
    EXPECT_EQ(buffer[6], 1);
    EXPECT_EQ(heartbeatMatcher->Wait(buffer), 0) << "the second heartbeat reply must have been dropped";
    EXPECT_EQ(generalMatcher->Wait(buffer), 0) << "a dropped datagram must not fall through to the general matcher";
}

TEST_F(ChannelFixture, DatagramShorterThanPrefixIsNotTaken)
{
    const uint8_t prefix[] = {'K', 'W', 1, 4};
    ReplyMatcher m(0, prefix, 4, kDatagramSize, 1, 1000);
    const uint8_t shortOne[] = {'K', 'W', 1};
    EXPECT_FALSE(m.Accept(shortOne, 3, from));
    EXPECT_FALSE(m.Accept(shortOne, 0, from));

    ReplyMatcher offset(4, prefix, 4, kDatagramSize, 1, 1000);  // prefix ends at byte 8
    const uint8_t seven[] = {0, 0, 0, 0, 'K', 'W', 1};
    EXPECT_FALSE(offset.Accept(seven, 7, from));
    const uint8_t eight[] = {0, 0, 0, 0, 'K', 'W', 1, 4};
    EXPECT_TRUE(offset.Accept(eight, 8, from));

    // Through the channel: the heartbeat matcher leaves it, the general one ("KW") takes it.
    Offer({'K', 'W', 1});
    EXPECT_EQ(heartbeatMatcher->Wait(buffer), 0);
    EXPECT_EQ(generalMatcher->Wait(buffer), 3);
    Offer({'K'});
    EXPECT_EQ(generalMatcher->Wait(buffer), 0) << "one byte does not hold the general prefix";
}

TEST_F(ChannelFixture, DatagramLongerThanTheDatagramSizeIsNotTaken)
{
    // Slots are rounded up to whole words, but a caller's buffer holds only the datagram size.
    Offer(Datagram(1, 9, std::vector<uint8_t>(kMaxPayload + 2, 0xAB)));
    EXPECT_EQ(generalMatcher->Wait(buffer), 0);
    Offer(Datagram(1, 9, std::vector<uint8_t>(kMaxPayload, 0xCD)));
    ASSERT_EQ(generalMatcher->Wait(buffer), kDatagramSize);
    EXPECT_EQ(buffer[kDatagramSize - 1], 0xCD);
}

TEST_F(ChannelFixture, SortsByPrefixWithGeneralAsFallback)
{
    Offer(Datagram(1, 255, {9}));
    Offer(Datagram(1, 11));
    Offer({'X', 'Y', 1, 4});  // no matcher's prefix: dropped
    ASSERT_EQ(audioMatcher->Wait(buffer), 7);
    EXPECT_EQ(buffer[6], 9);
    ASSERT_EQ(generalMatcher->Wait(buffer), 6);
    EXPECT_EQ(buffer[3], 11);
    EXPECT_EQ(generalMatcher->Wait(buffer), 0);
}

TEST_F(ChannelFixture, DrainingRestartsTheRingAndClearDropsQueued)
{
    // Two slots: fill, drain one, add one, drain all: order must stay first-in first-out.
    Offer(Datagram(1, 255, {1}));
    Offer(Datagram(1, 255, {2}));
    Offer(Datagram(1, 255, {3}));  // full: dropped
    ASSERT_GT(audioMatcher->Wait(buffer), 0);
    EXPECT_EQ(buffer[6], 1);
    Offer(Datagram(1, 255, {4}));
    ASSERT_GT(audioMatcher->Wait(buffer), 0);
    EXPECT_EQ(buffer[6], 2);
    ASSERT_GT(audioMatcher->Wait(buffer), 0);
    EXPECT_EQ(buffer[6], 4);
    // Empty again: the ring starts over and takes two more.
    Offer(Datagram(1, 255, {5}));
    Offer(Datagram(1, 255, {6}));
    audioMatcher->Clear();
    EXPECT_EQ(audioMatcher->Wait(buffer), 0);
    Offer(Datagram(1, 255, {7}));
    ASSERT_GT(audioMatcher->Wait(buffer), 0);
    EXPECT_EQ(buffer[6], 7);
}

TEST_F(ChannelFixture, WaitKeepsTheSourceAddressAndWakesOnArrival)
{
    std::thread producer([&] {
        // The datagram is to come while the wait below runs; the matcher shows no waiter, so the producer gives
        // the wait a head start (had the datagram come first, the wait would find it at once: the test holds).
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        Offer(Datagram(1, 12));
    });
    heartbeatMatcher->SetTimeout(100000);  // would be 5 s scaled; the arrival must end the wait at once
    generalMatcher->SetTimeout(100000);
    net::Address source{};
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(generalMatcher->Wait(buffer, &source), 6);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(source.sin_port, from.sin_port);
    EXPECT_EQ(source.sin_addr.s_addr, from.sin_addr.s_addr);
    producer.join();
}

// A slot's storage grows with the datagrams it holds: a long one after short ones arrives whole, a short one after
// it has its own length and bytes.
TEST_F(ChannelFixture, SlotsHoldShortThenLongThenShortDatagramsWhole)
{
    std::vector<uint8_t> longest(kDatagramSize - 6);
    for (size_t i = 0; i < longest.size(); ++i)
        longest[i] = static_cast<uint8_t>(i * 7 + 1);
    const std::vector<std::vector<uint8_t>> sent = {Datagram(1, 4, {9}), Datagram(1, 4, longest), Datagram(1, 4, {3, 4}),
                                                    Datagram(1, 4, std::vector<uint8_t>(500, 0xAB))};
    for (const std::vector<uint8_t>& d : sent) {
        Offer(d);
        const int n = heartbeatMatcher->Wait(buffer);
        ASSERT_EQ(n, static_cast<int>(d.size()));
        EXPECT_TRUE(std::equal(d.begin(), d.end(), buffer));
    }
}

TEST(UdpChannel, CloseWithNoTrafficReturnsPromptlyAtRealConstants)
{
    SetTimeScale(1);
    UdpChannel channel;
    ASSERT_NE(channel.Open(1000, kDatagramSize), 0);
    const uint8_t general[] = {'K', 'W'};
    channel.SetGeneralMatcher(0, general, 2, 1);
    ASSERT_TRUE(channel.StartReceiving());
    ASSERT_FALSE(channel.StartReceiving()) << "the receive thread starts once";
    // The receive thread shows nothing when it blocks in its receive: it is given that long to get there. Closed
    // before, the close is prompt too; the time below is the subject of the test.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const auto start = std::chrono::steady_clock::now();
    channel.Close();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
}

TEST(UdpChannel, NoReceiveThreadWithoutGeneralMatcher)
{
    UdpChannel channel;
    ASSERT_NE(channel.Open(1000, kDatagramSize), 0);
    EXPECT_FALSE(channel.StartReceiving());
}

TEST(UdpChannel, OversizedDatagramIsDroppedNotCut)
{
    SetTimeScale(0.05);
    UdpChannel channel;
    const uint16_t port = channel.Open(1000, kDatagramSize, htonl(INADDR_LOOPBACK));
    ASSERT_NE(port, 0);
    const uint8_t general[] = {'K', 'W'};
    ReplyMatcher* matcher = channel.SetGeneralMatcher(0, general, 2, 1);
    ASSERT_TRUE(channel.StartReceiving());

    UdpChannel sender;
    ASSERT_NE(sender.Open(1000, kDatagramSize, htonl(INADDR_LOOPBACK)), 0);
    const net::Address to = net::MakeAddress(htonl(INADDR_LOOPBACK), port);
    std::vector<uint8_t> big(kDatagramSize + 1, 0);
    big[0] = 'K';
    big[1] = 'W';
    sender.SendTo(big.data(), static_cast<int>(big.size()), to);
    std::vector<uint8_t> full(kDatagramSize, 1);
    full[0] = 'K';
    full[1] = 'W';
    sender.SendTo(full.data(), static_cast<int>(full.size()), to);

    std::vector<uint8_t> buffer(kDatagramSize);
    matcher->SetTimeout(40000);  // 2 s scaled
    ASSERT_EQ(matcher->Wait(buffer.data()), kDatagramSize) << "the largest datagram passes, the larger one not";
    EXPECT_EQ(buffer[2], 1);
    channel.Close();
    SetTimeScale(1);
}
