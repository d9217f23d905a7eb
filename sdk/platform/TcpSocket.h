#pragma once
// A blocking-style TCP client socket whose every wait is bounded: connect, send and receive each take a
// time-out, so a peer that accepts and then goes silent can never hold the caller for ever. Used only by
// the HTTP update client; the recorder protocol runs over UDP.

#include <cstddef>
#include <cstdint>

namespace calvox {

class TcpSocket {
public:
    TcpSocket() = default;
    ~TcpSocket();
    TcpSocket(const TcpSocket&) = delete;
    TcpSocket& operator=(const TcpSocket&) = delete;

    // Connects to an IPv4 address (network byte order) and port (host order). False on any failure,
    // including a peer that does not complete the handshake within timeoutMs.
    bool Connect(uint32_t addressNetworkOrder, uint16_t port, int timeoutMs);

    // Sends all bytes; never raises SIGPIPE on a peer that has gone away. False on failure or time-out.
    bool SendAll(const void* data, size_t length, int timeoutMs);

    // Receives up to capacity bytes. Returns the count, 0 when the peer closed the connection, or -1 on an
    // error or when nothing arrived within timeoutMs.
    int Receive(void* buffer, int capacity, int timeoutMs);

    void Close();
    bool IsOpen() const { return fd_ >= 0; }

private:
    bool WaitFor(short events, int timeoutMs);
    int fd_ = -1;
};

}  // namespace calvox
