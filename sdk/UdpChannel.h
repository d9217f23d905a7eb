// One UDP socket per connection with a receive thread that sorts incoming datagrams into ReplyMatcher queues:
// the prefix matchers in the order they were added, the general matcher as the fallback. So the heartbeat,
// live audio, the transfers and ordinary commands wait for their own replies on one socket at the same time.
#pragma once

#include "ReplyMatcher.h"
#include "platform/Socket.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

namespace calvox {

class UdpChannel {
public:
    UdpChannel() = default;
    ~UdpChannel();
    UdpChannel(const UdpChannel&) = delete;
    UdpChannel& operator=(const UdpChannel&) = delete;

    // Opens the socket bound to any local address, port 0 (or bindAddress/port when given). Returns the local
    // port, 0 on failure.
    uint16_t Open(int timeoutMs, int datagramSize, uint32_t bindAddressNetworkOrder = 0, uint16_t port = 0);
    ReplyMatcher* SetGeneralMatcher(int offset, const uint8_t* prefix, int prefixLength, int slots);
    ReplyMatcher* AddMatcher(int offset, const uint8_t* prefix, int prefixLength, int slots);
    // Starts the receive thread once, and only when a general matcher exists.
    bool StartReceiving();
    int SendTo(const void* data, int length, const net::Address& to);
    // Stops and joins the receive thread at once (the socket is shut down for reading first). Matchers and the
    // socket stay, so a caller still inside a request only sees its waits time out.
    void StopReceiving();
    // StopReceiving, then frees the matchers and closes the socket. Safe to call twice.
    void Close();

    uint16_t LocalPort() const { return localPort_; }
    int Socket() const { return socket_; }
    int DatagramSize() const { return datagramSize_; }
    ReplyMatcher* GeneralMatcher() const { return general_.get(); }

    // Offers one datagram to the matchers as the receive thread does (white-box tests use it directly).
    void Dispatch(const uint8_t* data, int length, const net::Address& from);

private:
    void ReceiveLoop();

    int socket_ = net::kInvalidSocket;
    uint16_t localPort_ = 0;
    int defaultTimeoutMs_ = 1000;
    int datagramSize_ = 4006;
    std::unique_ptr<ReplyMatcher> general_;
    std::vector<std::unique_ptr<ReplyMatcher>> matchers_;
    std::thread thread_;
    std::atomic<bool> run_{false};
};

}  // namespace calvox
