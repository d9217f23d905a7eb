#include "TcpSocket.h"

#include "Socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace calvox {

TcpSocket::~TcpSocket() { Close(); }

void TcpSocket::Close()
{
    net::Close(fd_);
    fd_ = -1;
}

// Waits until the socket is ready for the given poll events. A signal that interrupts the wait does not
// extend it: the remaining time is measured against one deadline.
bool TcpSocket::WaitFor(short events, int timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd p{fd_, events, 0};
        const int r = ::poll(&p, 1, left > 0 ? static_cast<int>(left) : 0);
        if (r > 0)
            return true;  // readiness or an error condition; the next call reports which
        if (r == 0)
            return false;
        if (errno != EINTR)
            return false;
    }
}

bool TcpSocket::Connect(uint32_t addressNetworkOrder, uint16_t port, int timeoutMs)
{
    Close();
    fd_ = net::OpenTcp();
    if (fd_ < 0)
        return false;
    // Non-blocking, so that connect and every wait below can be bounded with poll.
    const int flags = ::fcntl(fd_, F_GETFL);
    if (flags < 0 || ::fcntl(fd_, F_SETFL, flags | O_NONBLOCK) != 0) {
        Close();
        return false;
    }
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    sa.sin_addr.s_addr = addressNetworkOrder;
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0)
        return true;
    if (errno != EINPROGRESS && errno != EINTR) {
        Close();
        return false;
    }
    if (!WaitFor(POLLOUT, timeoutMs)) {
        Close();
        return false;
    }
    int error = 0;
    socklen_t len = sizeof error;
    if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &len) != 0 || error != 0) {
        Close();
        return false;
    }
    return true;
}

bool TcpSocket::SendAll(const void* data, size_t length, int timeoutMs)
{
    if (fd_ < 0)
        return false;
    const char* p = static_cast<const char*>(data);
    while (length > 0) {
        const ssize_t n = ::send(fd_, p, length, MSG_NOSIGNAL);
        if (n > 0) {
            p += n;
            length -= static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!WaitFor(POLLOUT, timeoutMs))
                return false;
            continue;
        }
        return false;
    }
    return true;
}

int TcpSocket::Receive(void* buffer, int capacity, int timeoutMs)
{
    if (fd_ < 0 || capacity <= 0)
        return -1;
    for (;;) {
        const ssize_t n = ::recv(fd_, buffer, static_cast<size_t>(capacity), 0);
        if (n >= 0)
            return static_cast<int>(n);
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return -1;
        if (!WaitFor(POLLIN, timeoutMs))
            return -1;
    }
}

}  // namespace calvox
