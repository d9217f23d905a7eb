// One UDP socket per connection. Incoming datagrams are sorted into ReplyMatcher queues: the prefix matchers in
// the order they were added, the general matcher as the fallback. So the heartbeat, live audio, the transfers
// and ordinary commands wait for their own replies on one socket at the same time.
//
// Who reads the socket: a caller waiting on a matcher reads it itself while no one else does (it leads), and
// passes on to the other queues what is not its own; when it has its reply, it hands the reading to another
// waiting caller. A reply so wakes its caller directly, not a receive thread that would then wake the caller.
// The receive thread reads only for callers that never read themselves (SocketReading::Never, live audio):
// it is woken when such a caller waits and no one reads, and goes on reading until no datagram came for
// kReceiverPause and no such caller waits; then it sleeps until one waits again. So a connection whose
// callers all read for themselves (commands, transfers, the heartbeat) never wakes it. What comes while no one
// reads stays in the socket until a caller reads or clears its queue. A caller that takes the socket over
// wakes a reading receive thread to step back (SocketReading::TakeOver). Nobody spins: every reader sleeps in
// the kernel until a datagram comes or its deadline passes.
#pragma once

#include "ReplyMatcher.h"
#include "platform/Socket.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace calvox {

class UdpChannel {
public:
    UdpChannel() = default;
    ~UdpChannel();
    UdpChannel(const UdpChannel&) = delete;
    UdpChannel& operator=(const UdpChannel&) = delete;

    // How long the receive thread goes on reading after its last datagram while no caller that never reads
    // waits: a stream's reader (live audio) is busy with one packet while the next comes, and a receive thread
    // that slept after every packet would be woken again for the next.
    static constexpr std::chrono::milliseconds kReceiverPause{200};

    // Opens the socket bound to any local address, port 0 (or bindAddress/port when given). Returns the local
    // port, 0 on failure.
    uint16_t Open(int timeoutMs, int datagramSize, uint32_t bindAddressNetworkOrder = 0, uint16_t port = 0);
    ReplyMatcher* SetGeneralMatcher(int offset, const uint8_t* prefix, int prefixLength, int slots,
                                    SocketReading reading = SocketReading::TakeOver);
    ReplyMatcher* AddMatcher(int offset, const uint8_t* prefix, int prefixLength, int slots,
                             SocketReading reading = SocketReading::TakeOver);
    // Starts the receive thread once, and only when a general matcher exists. Callers read the socket only
    // while it runs.
    bool StartReceiving();
    int SendTo(const void* data, int length, const net::Address& to);
    // Stops and joins the receive thread at once (the socket is shut down for reading first; a caller reading
    // it stops doing so). Matchers and the socket stay, so a caller still inside a request only sees its waits
    // time out.
    void StopReceiving();
    // StopReceiving, then frees the matchers and closes the socket. Safe to call twice.
    void Close();

    uint16_t LocalPort() const { return localPort_; }
    int Socket() const { return socket_; }
    int DatagramSize() const { return datagramSize_; }
    ReplyMatcher* GeneralMatcher() const { return general_.get(); }

    // Offers one datagram to the matchers as a reader does (white-box tests use it directly).
    void Dispatch(const uint8_t* data, int length, const net::Address& from);

private:
    friend class ReplyMatcher;

    // The matcher side of the hand-over; all with lock_ held.
    bool MayRead(SocketReading reading) const;
    // Reads the socket for self until a datagram of self's comes (copied to buffer, its length returned), the
    // deadline passes or the receive thread stops (0); then hands the reading on. Unlocks while it sleeps.
    int ReadFor(ReplyMatcher& self, std::unique_lock<std::mutex>& lock, ReplyMatcher::Clock::time_point deadline,
                uint8_t* buffer, net::Address* from);
    // A caller about to sleep on its matcher: when no one reads the socket, the receive thread takes it.
    void BeforeSleep();
    // No one reads the socket: a sleeping caller that may read it and has nothing queued is woken to do so,
    // else the receive thread is when a caller that never reads waits. Called whenever a reader stops.
    void PassSocketOn();
    // A caller waits on a matcher that never reads the socket: the receive thread must read for it.
    bool NeverReaderWaits() const;
    // No one reads the socket: what came meanwhile is sorted into the queues now.
    void DrainUnread();

    // One datagram for a reading caller within `left`; 0 when none came (or the socket was shut).
    int ReceiveBefore(std::chrono::nanoseconds left, uint8_t* buffer, net::Address* from);
    ReplyMatcher* Route(const uint8_t* data, int length) const;
    void Deliver(const uint8_t* data, int length, const net::Address& from);
    ReplyMatcher* Make(int offset, const uint8_t* prefix, int prefixLength, int slots, SocketReading reading);
    void WakeReceiver();
    void ReceiveLoop();

    int socket_ = net::kInvalidSocket;
    int wake_ = -1;  // an eventfd that ends the receive thread's wait on the socket
    uint16_t localPort_ = 0;
    int defaultTimeoutMs_ = 1000;
    int datagramSize_ = 4006;
    std::unique_ptr<ReplyMatcher> general_;
    std::vector<std::unique_ptr<ReplyMatcher>> matchers_;
    std::thread thread_;
    std::atomic<bool> run_{false};

    // Guards every matcher's queue and who reads the socket.
    std::mutex lock_;
    std::condition_variable receiverPause_;
    bool callerReads_ = false;    // a waiting caller reads the socket (leads)
    bool receiverReads_ = false;  // the receive thread waits on the socket
    bool streaming_ = false;      // the receive thread got a datagram within its last pause: it goes on reading
    // The buffer of reads made with lock_ held (DrainUnread, the receive thread), made at its first use: a
    // connection that never sends a request holds none.
    std::vector<uint8_t> drain_;
    std::chrono::milliseconds receiveTimeout_{0};  // the socket's receive time-out (0: none); set by readers
};

}  // namespace calvox
