// Who reads a connection's socket: a waiting caller reads it itself and passes on what is not its own, the
// receive thread reads for callers that never read (live audio). The tests send real datagrams over loopback and check that every
// waiter gets its own, whoever read it.
#include "Datagram.h"
#include "ReplyMatcher.h"
#include "TimeScale.h"
#include "UdpChannel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

using namespace calvox;
using Clock = ReplyMatcher::Clock;

namespace {

constexpr uint8_t kGeneral[] = {'K', 'W'};
constexpr uint8_t kHeartbeat[] = {'K', 'W', 1, 4};
constexpr uint8_t kAudio[] = {'K', 'W', 1, 255};
constexpr uint8_t kDownload[] = {'K', 'W', 1, 29};

// A channel with the connection's kinds of matchers and the receive thread running, and a peer that sends to it.
struct ReadingChannel : ::testing::Test {
    void SetUp() override
    {
        SetTimeScale(1);
        const uint16_t port = channel.Open(1000, kDatagramSize, htonl(INADDR_LOOPBACK));
        ASSERT_NE(port, 0);
        general = channel.SetGeneralMatcher(0, kGeneral, 2, 1, calvox::SocketReading::TakeOver);
        heartbeat = channel.AddMatcher(0, kHeartbeat, 4, 1, calvox::SocketReading::WhenFree);
        audio = channel.AddMatcher(0, kAudio, 4, 2, calvox::SocketReading::Never);
        download = channel.AddMatcher(0, kDownload, 4, 1, calvox::SocketReading::TakeOver);
        ASSERT_TRUE(channel.StartReceiving());
        ASSERT_NE(peer.Open(1000, kDatagramSize, htonl(INADDR_LOOPBACK)), 0);
        to = net::MakeAddress(htonl(INADDR_LOOPBACK), port);
    }

    void Send(uint8_t command, uint8_t mark)
    {
        const uint8_t d[7] = {'K', 'W', 1, command, 0, 0, mark};
        peer.SendTo(d, sizeof d, to);
    }

    // The mark of the datagram the matcher yields within `within`, -1 when none came.
    static int MarkOf(ReplyMatcher* m, std::chrono::milliseconds within = std::chrono::seconds(5))
    {
        uint8_t buffer[kDatagramSize];
        const int n = m->Wait(Clock::now() + within, buffer);
        return n == 7 ? buffer[6] : -1;
    }

    // The mark a waiter on m gets when the datagram is sent while it waits (or just before, if it is slow to start).
    int MarkWhileWaiting(ReplyMatcher* m, uint8_t command, uint8_t mark, std::chrono::milliseconds lead)
    {
        int got = 0;
        std::thread waiter([&] { got = MarkOf(m); });
        std::this_thread::sleep_for(lead);
        Send(command, mark);
        waiter.join();
        return got;
    }

    // Callers wait on a and b at once (b's started second, after lead), and their answers come in an order that
    // alternates with the round (b's first in odd rounds), each marked with the round: true when each caller got
    // its own, whichever of them read the socket.
    bool EachGetsItsOwn(ReplyMatcher* a, uint8_t commandA, ReplyMatcher* b, uint8_t commandB, int round,
                        std::chrono::milliseconds lead = std::chrono::milliseconds(0))
    {
        const uint8_t mark = static_cast<uint8_t>(round);
        int gotA = 0;
        int gotB = 0;
        std::thread first([&] { gotA = MarkOf(a); });
        std::thread second([&] { gotB = MarkOf(b); });
        std::this_thread::sleep_for(lead);
        Send(round % 2 ? commandB : commandA, mark);
        Send(round % 2 ? commandA : commandB, mark);
        first.join();
        second.join();
        return gotA == mark && gotB == mark;
    }

    UdpChannel channel;
    UdpChannel peer;
    net::Address to{};
    ReplyMatcher* general = nullptr;
    ReplyMatcher* heartbeat = nullptr;
    ReplyMatcher* audio = nullptr;
    ReplyMatcher* download = nullptr;
};

}  // namespace

TEST_F(ReadingChannel, CallerReadingTheSocketPassesTheOthersDatagramsToTheirQueues)
{
    int got = 0;
    std::thread caller([&] { got = MarkOf(general); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // the caller reads by now (if not: still passes)
    Send(255, 1);
    Send(4, 2);
    Send(29, 3);
    Send(7, 4);
    caller.join();
    EXPECT_EQ(got, 4);
    EXPECT_EQ(MarkOf(audio), 1);
    EXPECT_EQ(MarkOf(heartbeat), 2);
    EXPECT_EQ(MarkOf(download), 3);

    // No caller reads now, and the receive thread sleeps: a waiter on a matcher that never reads must get its
    // datagrams all the same.
    EXPECT_EQ(MarkWhileWaiting(audio, 255, 5, std::chrono::milliseconds(5)), 5);
}

// Two callers wait at once; their answers come in either order, many times over: each gets its own, whichever of
// them read the socket, and the reading passes between them without a lost wake-up.
TEST_F(ReadingChannel, TwoWaitingCallersEachGetTheirOwnAnswer)
{
    for (int round = 0; round < 200; ++round)
        ASSERT_TRUE(EachGetsItsOwn(general, 7, download, 29, round)) << "round " << round;
}

// The heartbeat's matcher reads only while no one else does; its answer must come whichever of them reads when it
// arrives.
TEST_F(ReadingChannel, HeartbeatWaitingBesideACallerGetsItsAnswer)
{
    for (int round = 0; round < 100; ++round)
        ASSERT_TRUE(EachGetsItsOwn(heartbeat, 4, general, 7, round + 1)) << "round " << round;
}

TEST_F(ReadingChannel, StoppedChannelIsReadByNoOneAndTheWaitEndsAtItsDeadline)
{
    int got = 0;
    std::thread caller([&] { got = MarkOf(general, std::chrono::milliseconds(500)); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    channel.StopReceiving();
    Send(7, 1);
    caller.join();
    EXPECT_EQ(got, -1) << "after the stop a caller only sees its wait time out";
}

// A late answer that came while no one read the socket is stale by the time the next request clears its queue:
// the next request must get its own answer, not that one.
TEST_F(ReadingChannel, ClearDropsWhatCameWhileNoOneReadTheSocket)
{
    // A caller reads the socket and gets its answer: the receive thread, which stepped back, now leaves the
    // socket alone for a while.
    int got = 0;
    std::thread caller([&] { got = MarkOf(general); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    Send(7, 1);
    caller.join();
    ASSERT_EQ(got, 1);
    Send(7, 2);                     // late
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    general->Clear();
    Send(7, 3);
    EXPECT_EQ(MarkOf(general), 3);
}

// While live audio flows the receive thread reads (its listener never does), and the heartbeat leaves the socket
// to it; once the stream is over the receive thread sleeps and the heartbeat reads for itself. Its answer must
// come in both phases, and the audio listener must get the stream whichever of them reads.
TEST_F(ReadingChannel, HeartbeatGetsItsAnswerWhileAStreamFlowsAndAfterItEnds)
{
    std::atomic<bool> streaming{true};
    std::atomic<int> heard{0};
    std::thread listener([&] {
        while (streaming || heard < 40) {
            if (MarkOf(audio, std::chrono::milliseconds(100)) >= 0)
                ++heard;
            else if (!streaming)
                break;
        }
    });
    std::thread stream([&] {
        for (int i = 0; i < 40; ++i) {
            Send(255, static_cast<uint8_t>(i));
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        streaming = false;
    });
    for (int round = 0; round < 10; ++round)
        ASSERT_EQ(MarkWhileWaiting(heartbeat, 4, static_cast<uint8_t>(round), std::chrono::milliseconds(2)), round)
            << "round " << round << " while the stream flows";
    stream.join();
    listener.join();
    EXPECT_GT(heard, 0) << "the listener heard the stream";
    // Quiet for longer than the receive thread's pause: it no longer reads.
    std::this_thread::sleep_for(UdpChannel::kReceiverPause * 2);
    for (int round = 0; round < 10; ++round)
        ASSERT_EQ(MarkWhileWaiting(heartbeat, 4, static_cast<uint8_t>(100 + round), std::chrono::milliseconds(0)),
                  100 + round)
            << "round " << round << " after the stream";
    // A listener that waits again after the quiet time gets the next packet.
    EXPECT_EQ(MarkWhileWaiting(audio, 255, 77, std::chrono::milliseconds(5)), 77);
}

// A try whose wait ran out is sent again, and the first try's answer may come just after the second's, while the
// caller, done, clears for its next request at once: that late answer is not the next request's.
TEST_F(ReadingChannel, AnswerToATryThatRanOutIsNotTakenForTheNextRequest)
{
    uint8_t buffer[kDatagramSize];
    EXPECT_EQ(general->Wait(Clock::now() + std::chrono::milliseconds(1), buffer), 0) << "the first try runs out";
    Send(7, 1);
    ASSERT_EQ(MarkOf(general), 1) << "the second try's answer";
    Send(7, 2);  // the first try's, late
    ASSERT_TRUE(net::WaitReadable(channel.Socket(), 1000000000)) << "it is in the socket, unread";
    general->Clear();
    Send(7, 3);
    EXPECT_EQ(MarkOf(general), 3);
}

// A command and a download wait at once while live audio is listened to: one of the two reads the socket, the
// other sleeps. The reader reads the sleeper's answer, then its own, and hands the socket on. The sleeper's answer
// is queued already, so it returns without reading: the socket must go to the receive thread, which reads for the
// listener, else the audio sits in the socket until the listener's wait runs out. The answers come in both
// orders, since either caller may be the one that reads.
TEST_F(ReadingChannel, SocketGoesToTheListenerAfterTwoCallersGotTheirAnswers)
{
    for (int round = 0; round < 20; ++round) {
        const uint8_t mark = static_cast<uint8_t>(round);
        int heard = 0;
        std::thread listener([&] { heard = MarkOf(audio, std::chrono::seconds(3)); });
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        // Both wait by the time their answers are sent (if not, the test still passes).
        ASSERT_TRUE(EachGetsItsOwn(general, 7, download, 29, round, std::chrono::milliseconds(20)))
            << "round " << round;
        Send(255, mark);
        listener.join();
        ASSERT_EQ(heard, mark) << "round " << round << ": the audio came while no one read the socket";
    }
}

// The receive thread reads for a listener whose wait then runs out, and what it reads next is no datagram it can
// pass on (one too long for the channel). Having no one left to read for, it must hand the socket to the
// heartbeat that slept while it read, else the heartbeat's answer waits in the socket until its wait runs out.
TEST_F(ReadingChannel, ReceiveThreadThatStopsReadingHandsTheSocketToTheHeartbeat)
{
    const std::vector<uint8_t> tooLong(static_cast<size_t>(kDatagramSize) + 10, 'K');
    for (int round = 0; round < 5; ++round) {
        const uint8_t mark = static_cast<uint8_t>(round);
        int heard = 0;
        std::thread listener([&] { heard = MarkOf(audio, std::chrono::milliseconds(100)); });
        std::this_thread::sleep_for(std::chrono::milliseconds(20));  // the receive thread reads by now
        int beat = 0;
        std::thread heart([&] { beat = MarkOf(heartbeat, std::chrono::seconds(3)); });
        listener.join();
        ASSERT_EQ(heard, -1);
        peer.SendTo(tooLong.data(), static_cast<int>(tooLong.size()), to);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        Send(4, mark);
        heart.join();
        ASSERT_EQ(beat, mark) << "round " << round;
    }
}

// The network may deliver an answer twice. The caller reads the first copy, and its next request, sent at once
// with the same command (channel after channel), clears its queue: the second copy, unread in the socket, is not
// that request's answer.
TEST_F(ReadingChannel, DuplicateOfAnAnswerIsNotTakenForTheNextRequest)
{
    Send(7, 1);
    Send(7, 1);
    ASSERT_EQ(MarkOf(general), 1);
    ASSERT_TRUE(net::WaitReadable(channel.Socket(), 1000000000)) << "the copy is in the socket, unread";
    general->Clear();
    Send(7, 2);
    EXPECT_EQ(MarkOf(general), 2);
}

// A peer that floods the connection faster than one thread can read cannot hold a caller in Clear (and so the
// command lock it holds) for as long as it keeps sending: Clear sorts out at most what the socket can hold.
TEST_F(ReadingChannel, FloodCannotHoldClear)
{
    const Clock::time_point floodEnd = Clock::now() + std::chrono::seconds(3);
    std::atomic<bool> flooding{true};
    std::vector<std::thread> flood;
    for (int i = 0; i < 4; ++i)
        flood.emplace_back([&] {
            UdpChannel sender;
            if (sender.Open(1000, kDatagramSize, htonl(INADDR_LOOPBACK)) == 0)
                return;
            const uint8_t d[7] = {'K', 'W', 1, 7, 0, 0, 1};
            while (flooding && Clock::now() < floodEnd)
                for (int burst = 0; burst < 100; ++burst)
                    sender.SendTo(d, sizeof d, to);
        });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const Clock::time_point start = Clock::now();
    general->Clear();
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    flooding = false;
    for (std::thread& t : flood)
        t.join();
    EXPECT_LT(took, 1000) << "ms in Clear";
}
