// The emulator itself: several recorders on their own addresses, replies from the receiving socket, the
// request log, and repeatable fault knobs.
#include "Emulator.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <thread>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace calvox::emu;

namespace {

// A bare UDP client on 127.0.0.1.
struct Client {
    Client()
    {
        fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    }
    ~Client() { ::close(fd); }
    void Send(const sockaddr_in& to, std::vector<uint8_t> bytes)
    {
        ::sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    }
    // Next datagram within ms, empty on time-out.
    std::vector<uint8_t> Receive(int ms, sockaddr_in* from = nullptr)
    {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, ms) <= 0)
            return {};
        std::vector<uint8_t> b(5000);
        sockaddr_in a{};
        socklen_t len = sizeof a;
        const ssize_t n = ::recvfrom(fd, b.data(), b.size(), 0, reinterpret_cast<sockaddr*>(&a), &len);
        b.resize(n > 0 ? static_cast<size_t>(n) : 0);
        if (from)
            *from = a;
        return b;
    }
    int fd;
};

std::vector<uint8_t> Request(uint8_t command, std::vector<uint8_t> payload = {})
{
    std::vector<uint8_t> d(6 + payload.size());
    d[0] = 'K';
    d[1] = 'W';
    d[3] = command;
    std::copy(payload.begin(), payload.end(), d.begin() + 6);
    return d;
}

RecorderConfig Config(const char* id, const char* address)
{
    RecorderConfig c;
    c.id = id;
    c.bindAddress = address;
    c.port = 0;
    return c;
}

void Echo(Exchange& x) { x.Reply(0, std::vector<uint8_t>(x.recorder.Id().begin(), x.recorder.Id().end())); }

}  // namespace

TEST(Emulator, RecordersOnTheirOwnAddressesAnswerFromTheReceivingSocket)
{
    Emulator emulator;
    Recorder* a = emulator.Add(Config("2A000000000000000001", "127.0.0.2"));
    Recorder* b = emulator.Add(Config("6B000000000000000002", "127.0.0.3"));
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->Channels(), 2);
    EXPECT_EQ(b->Channels(), 16);
    EXPECT_EQ(emulator.Find("6B000000000000000002"), b);
    a->SetHandler(11, Echo);
    b->SetHandler(11, Echo);

    Client client;
    for (Recorder* r : {a, b}) {
        client.Send(r->Address(), Request(11, {1, 2}));
        sockaddr_in from{};
        const auto reply = client.Receive(2000, &from);
        ASSERT_EQ(reply.size(), 26u);
        EXPECT_EQ(std::string(reply.begin() + 6, reply.end()), r->Id());
        EXPECT_EQ(reply[2], 1) << "origin recorder";
        EXPECT_EQ(reply[3], 11);
        EXPECT_EQ(from.sin_addr.s_addr, r->Address().sin_addr.s_addr);
        EXPECT_EQ(from.sin_port, r->Address().sin_port);
        const auto log = r->Log();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].command, 11);
        EXPECT_EQ(log[0].payload, (std::vector<uint8_t>{1, 2}));
    }
}

TEST(Emulator, UnknownCommandsAreLoggedButNotAnsweredAndJunkIsIgnored)
{
    Emulator emulator;
    Recorder* r = emulator.Add(Config(kDefaultId, "127.0.0.1"));
    ASSERT_TRUE(r);
    Client client;
    client.Send(r->Address(), Request(200));
    client.Send(r->Address(), {'K'});
    client.Send(r->Address(), {'X', 'Y', 0, 11, 0, 0});
    client.Send(r->Address(), Request(2));  // registered by the core family
    const auto reply = client.Receive(2000);
    ASSERT_EQ(reply.size(), 6u);
    EXPECT_EQ(reply[3], 2);
    EXPECT_TRUE(client.Receive(50).empty());
    const auto log = r->Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].command, 200);
    EXPECT_EQ(log[1].command, 2);
}

TEST(Emulator, SeededDropsRepeatAndDuplicatesAndTruncationApply)
{
    auto run = [](uint32_t seed) {
        Emulator emulator;
        Recorder* r = emulator.Add(Config(kDefaultId, "127.0.0.1"));
        r->SetHandler(11, Echo);
        Faults f;
        f.seed = seed;
        f.dropRequests = 0.5;
        r->SetFaults(f);
        Client client;
        for (int i = 0; i < 40; ++i)
            client.Send(r->Address(), Request(11));
        EXPECT_TRUE(r->WaitForRequests(11, 40, 2000));
        std::vector<bool> dropped;
        for (const auto& l : r->Log())
            dropped.push_back(l.dropped);
        return dropped;
    };
    const auto first = run(7);
    EXPECT_EQ(first, run(7)) << "one seed, one pattern";
    const auto count = std::count(first.begin(), first.end(), true);
    EXPECT_GT(count, 5);
    EXPECT_LT(count, 35);

    Emulator emulator;
    Recorder* r = emulator.Add(Config(kDefaultId, "127.0.0.1"));
    r->SetHandler(11, Echo);
    Faults f;
    f.duplicateReplies = 1;
    f.truncateRepliesTo = 8;
    r->SetFaults(f);
    Client client;
    client.Send(r->Address(), Request(11));
    EXPECT_EQ(client.Receive(2000).size(), 8u);
    EXPECT_EQ(client.Receive(2000).size(), 8u);
    EXPECT_TRUE(client.Receive(50).empty());
}

TEST(Emulator, DelayedAndReorderedReplies)
{
    Emulator emulator;
    Recorder* r = emulator.Add(Config(kDefaultId, "127.0.0.1"));
    std::atomic<int> handled{0};
    r->SetHandler(11, [&handled](Exchange& x) {
        x.Reply(0, x.request.payload);
        ++handled;
    });
    Faults f;
    f.reorderReplies = 1;  // every reply is held back...
    f.reorderDelayMs = 100;
    r->SetFaults(f);
    Client client;
    client.Send(r->Address(), Request(11, {1}));
    for (int i = 0; i < 200 && handled == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_EQ(handled, 1);
    f.reorderReplies = 0;  // ...until the next one, sent at once, overtakes it
    r->SetFaults(f);
    client.Send(r->Address(), Request(11, {2}));
    const auto second = client.Receive(2000);
    const auto first = client.Receive(2000);
    ASSERT_EQ(second.size(), 7u);
    ASSERT_EQ(first.size(), 7u);
    EXPECT_EQ(second[6], 2);
    EXPECT_EQ(first[6], 1);
}
