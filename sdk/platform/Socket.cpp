#include "Socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace calvox::net {

int OpenUdp() { return ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP); }

int OpenTcp() { return ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP); }

void Close(int fd)
{
    if (fd >= 0)
        ::close(fd);
}

void ShutdownRead(int fd)
{
    // On an unconnected UDP socket Linux reports ENOTCONN but still marks the socket shut and wakes readers.
    if (fd >= 0)
        ::shutdown(fd, SHUT_RD);
}

bool SetReceiveTimeout(int fd, int ms)
{
    if (ms < 0)
        ms = 0;
    timeval tv{};
    tv.tv_sec = ms / 1000;
    tv.tv_usec = (ms % 1000) * 1000;
    return ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv) == 0;
}

bool SetBroadcast(int fd, bool on)
{
    int value = on ? 1 : 0;
    return ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &value, sizeof value) == 0;
}

bool Bind(int fd, uint32_t addressNetworkOrder, uint16_t port)
{
    Address a = MakeAddress(addressNetworkOrder, port);
    return ::bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0;
}

uint16_t LocalPort(int fd)
{
    Address a{};
    socklen_t len = sizeof a;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0)
        return 0;
    return ntohs(a.sin_port);
}

bool Connect(int fd, const Address& to)
{
    int r;
    do
        r = ::connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    while (r != 0 && errno == EINTR);
    return r == 0;
}

int Send(int fd, const void* data, int length)
{
    ssize_t r;
    do
        r = ::send(fd, data, static_cast<size_t>(length), MSG_NOSIGNAL);
    while (r < 0 && errno == EINTR);
    return static_cast<int>(r);
}

int Receive(int fd, void* data, int capacity)
{
    ssize_t r = ::recv(fd, data, static_cast<size_t>(capacity), 0);
    if (r < 0)
        return errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK ? kTimedOut : -1;
    return static_cast<int>(r);
}

int SendTo(int fd, const void* data, int length, const Address& to)
{
    ssize_t r;
    do
        r = ::sendto(fd, data, static_cast<size_t>(length), MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&to),
                     sizeof to);
    while (r < 0 && errno == EINTR);
    return static_cast<int>(r);
}

namespace {

int ReceiveDatagram(int fd, void* data, int capacity, Address* from, int flags)
{
    Address a{};
    socklen_t len = sizeof a;
    ssize_t r = ::recvfrom(fd, data, static_cast<size_t>(capacity), MSG_TRUNC | flags,
                           reinterpret_cast<sockaddr*>(&a), &len);
    if (r <= 0)
        return 0;
    if (from)
        *from = a;
    return static_cast<int>(r);
}

}  // namespace

int ReceiveFrom(int fd, void* data, int capacity, Address* from)
{
    return ReceiveDatagram(fd, data, capacity, from, 0);
}

int ReceiveFromNow(int fd, void* data, int capacity, Address* from)
{
    return ReceiveDatagram(fd, data, capacity, from, MSG_DONTWAIT);
}

bool WaitReadable(int fd, int64_t timeoutNs)
{
    if (timeoutNs < 0)
        timeoutNs = 0;
    pollfd p{fd, POLLIN, 0};
    const timespec t{static_cast<time_t>(timeoutNs / 1000000000), static_cast<long>(timeoutNs % 1000000000)};
    return ::ppoll(&p, 1, &t, nullptr) > 0;
}

uint32_t Resolve(const char* host)
{
    if (!host || !*host)
        return 0;
    in_addr direct{};
    if (::inet_pton(AF_INET, host, &direct) == 1)
        return direct.s_addr;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* list = nullptr;
    if (::getaddrinfo(host, nullptr, &hints, &list) != 0 || !list)
        return 0;
    uint32_t result = 0;
    for (addrinfo* i = list; i; i = i->ai_next) {
        if (i->ai_family == AF_INET) {
            result = reinterpret_cast<const sockaddr_in*>(i->ai_addr)->sin_addr.s_addr;
            break;
        }
    }
    ::freeaddrinfo(list);
    return result;
}

Address MakeAddress(uint32_t addressNetworkOrder, uint16_t port)
{
    Address a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = addressNetworkOrder;
    a.sin_port = htons(port);
    return a;
}

}  // namespace calvox::net
