#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

#include "platform/TcpSocket.h"

using namespace calvox;

namespace {

// A listening socket on 127.0.0.1 with a free port; its address goes to *address.
int Listen(int backlog, sockaddr_in* address)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof sa;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 || listen(fd, backlog) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len) != 0)
        return -1;
    *address = sa;
    return fd;
}

}  // namespace

// A listener that never accepts: once its queue is full, the kernel drops further handshakes, so a connect
// to it never completes by itself.
TEST(TcpSocket, ConnectToAServerThatNeverCompletesTheHandshakeIsBounded)
{
    sockaddr_in sa{};
    const int listener = Listen(0, &sa);
    ASSERT_GE(listener, 0);

    std::vector<TcpSocket> fillers(4);
    for (TcpSocket& s : fillers)
        s.Connect(sa.sin_addr.s_addr, ntohs(sa.sin_port), 200);

    TcpSocket socket;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(socket.Connect(sa.sin_addr.s_addr, ntohs(sa.sin_port), 300));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(250));
    EXPECT_LT(took, std::chrono::seconds(2));
    EXPECT_FALSE(socket.IsOpen());
    close(listener);
}

TEST(TcpSocket, ReceiveTellsEndOfStreamFromSilence)
{
    sockaddr_in sa{};
    const int listener = Listen(4, &sa);
    ASSERT_GE(listener, 0);

    TcpSocket socket;
    ASSERT_TRUE(socket.Connect(sa.sin_addr.s_addr, ntohs(sa.sin_port), 1000));
    const int peer = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    ASSERT_GE(peer, 0);
    char buffer[16];
    EXPECT_EQ(socket.Receive(buffer, sizeof buffer, 100), -1);  // silence: time-out
    ASSERT_EQ(send(peer, "abc", 3, 0), 3);
    EXPECT_EQ(socket.Receive(buffer, sizeof buffer, 1000), 3);
    close(peer);
    EXPECT_EQ(socket.Receive(buffer, sizeof buffer, 1000), 0);  // closed: end of stream
    // The peer is gone: sending must fail, not raise SIGPIPE.
    bool failed = false;
    for (int i = 0; i < 10 && !failed; ++i)
        failed = !socket.SendAll("x", 1, 100);
    EXPECT_TRUE(failed);
    close(listener);
}
