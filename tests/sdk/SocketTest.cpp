// The socket layer over POSIX: name resolution (local names only: tests send nothing off this machine),
// close-on-exec, receive time-outs and stream results.
#include "TimeScale.h"
#include "platform/Socket.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace calvox;

TEST(Socket, ResolvesDottedAddressesAndLocalNames)
{
    EXPECT_EQ(net::Resolve("127.0.0.5"), inet_addr("127.0.0.5"));
    EXPECT_EQ(net::Resolve("localhost"), inet_addr("127.0.0.1"));
    EXPECT_EQ(net::Resolve(""), 0u);
    EXPECT_EQ(net::Resolve(nullptr), 0u);
    const net::Address a = net::MakeAddress(inet_addr("10.1.2.3"), 6066);
    EXPECT_EQ(a.sin_family, AF_INET);
    EXPECT_EQ(a.sin_addr.s_addr, inet_addr("10.1.2.3")) << "addresses are used as passed";
    EXPECT_EQ(a.sin_port, htons(6066)) << "ports go to network order";
}

TEST(Socket, UdpIsCloseOnExecAndTimesOutAsNothingReceived)
{
    const int fd = net::OpenUdp();
    ASSERT_GE(fd, 0);
    EXPECT_TRUE(fcntl(fd, F_GETFD) & FD_CLOEXEC);
    ASSERT_TRUE(net::Bind(fd, htonl(INADDR_LOOPBACK), 0));
    EXPECT_NE(net::LocalPort(fd), 0);
    ASSERT_TRUE(net::SetReceiveTimeout(fd, 30));
    char buffer[16];
    net::Address from{};
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(net::ReceiveFrom(fd, buffer, sizeof buffer, &from), 0);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(25));
    net::Close(fd);
}

TEST(Socket, StreamReceiveTellsTimeOutFromEndOfStream)
{
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(listener, 0);
    ASSERT_TRUE(net::Bind(listener, htonl(INADDR_LOOPBACK), 0));
    ASSERT_EQ(::listen(listener, 1), 0);
    const int client = net::OpenTcp();
    ASSERT_GE(client, 0);
    ASSERT_TRUE(net::Connect(client, net::MakeAddress(htonl(INADDR_LOOPBACK), net::LocalPort(listener))));
    const int server = ::accept(listener, nullptr, nullptr);
    ASSERT_GE(server, 0);

    ASSERT_TRUE(net::SetReceiveTimeout(client, 20));
    char buffer[8];
    EXPECT_EQ(net::Receive(client, buffer, sizeof buffer), net::kTimedOut);
    ASSERT_EQ(net::Send(server, "abc", 3), 3);
    EXPECT_EQ(net::Receive(client, buffer, sizeof buffer), 3);
    ::close(server);
    EXPECT_EQ(net::Receive(client, buffer, sizeof buffer), 0) << "end of stream";
    net::Close(client);
    ::close(listener);
}
