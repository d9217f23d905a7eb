#include "UdpChannel.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace calvox {

UdpChannel::~UdpChannel() { Close(); }

uint16_t UdpChannel::Open(int timeoutMs, int datagramSize, uint32_t bindAddressNetworkOrder, uint16_t port)
{
    defaultTimeoutMs_ = timeoutMs;
    datagramSize_ = datagramSize;
    socket_ = net::OpenUdp();
    if (socket_ < 0)
        return 0;
    // No receive time-out: the readers sleep until a datagram comes, StopReceiving shuts the socket for
    // reading, or (a caller) its deadline passes, rather than waking every second on an idle connection.
    if (!net::Bind(socket_, bindAddressNetworkOrder, port)) {
        net::Close(socket_);
        socket_ = net::kInvalidSocket;
        return 0;
    }
    localPort_ = net::LocalPort(socket_);
    return localPort_;
}

ReplyMatcher* UdpChannel::Make(int offset, const uint8_t* prefix, int prefixLength, int slots,
                               SocketReading reading)
{
    auto matcher =
        std::make_unique<ReplyMatcher>(offset, prefix, prefixLength, datagramSize_, slots, defaultTimeoutMs_);
    matcher->Attach(this, &lock_, reading);
    return matcher.release();
}

ReplyMatcher* UdpChannel::SetGeneralMatcher(int offset, const uint8_t* prefix, int prefixLength, int slots,
                                            SocketReading reading)
{
    general_.reset(Make(offset, prefix, prefixLength, slots, reading));
    return general_.get();
}

ReplyMatcher* UdpChannel::AddMatcher(int offset, const uint8_t* prefix, int prefixLength, int slots,
                                     SocketReading reading)
{
    matchers_.emplace_back(Make(offset, prefix, prefixLength, slots, reading));
    return matchers_.back().get();
}

bool UdpChannel::StartReceiving()
{
    if (!general_ || socket_ < 0 || thread_.joinable())
        return false;
    wake_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake_ < 0)
        return false;
    run_ = true;
    thread_ = std::thread([this] { ReceiveLoop(); });
    return true;
}

int UdpChannel::SendTo(const void* data, int length, const net::Address& to)
{
    return net::SendTo(socket_, data, length, to);
}

void UdpChannel::StopReceiving()
{
    {
        std::lock_guard<std::mutex> lock(lock_);
        run_ = false;
        receiverPause_.notify_all();
    }
    // Wakes whoever sleeps on the socket, the receive thread or a caller; both then see run_ and stop reading.
    net::ShutdownRead(socket_);
    WakeReceiver();
    if (thread_.joinable())
        thread_.join();
}

void UdpChannel::Close()
{
    StopReceiving();
    general_.reset();
    matchers_.clear();
    net::Close(socket_);
    socket_ = net::kInvalidSocket;
    if (wake_ >= 0)
        ::close(wake_);
    wake_ = -1;
}

void UdpChannel::WakeReceiver()
{
    if (wake_ < 0)
        return;
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wake_, &one, sizeof one);
}

ReplyMatcher* UdpChannel::Route(const uint8_t* data, int length) const
{
    for (const auto& m : matchers_)
        if (m->Matches(data, length))
            return m.get();
    if (general_ && general_->Matches(data, length))
        return general_.get();
    return nullptr;
}

void UdpChannel::Deliver(const uint8_t* data, int length, const net::Address& from)
{
    if (ReplyMatcher* to = Route(data, length))
        to->Store(data, length, from);
}

void UdpChannel::Dispatch(const uint8_t* data, int length, const net::Address& from)
{
    std::lock_guard<std::mutex> lock(lock_);
    Deliver(data, length, from);
}

bool UdpChannel::MayRead(SocketReading reading) const
{
    if (!run_ || callerReads_)
        return false;
    return reading == SocketReading::TakeOver || (reading == SocketReading::WhenFree && !receiverReads_);
}

int UdpChannel::ReadFor(ReplyMatcher& self, std::unique_lock<std::mutex>& lock,
                        ReplyMatcher::Clock::time_point deadline, uint8_t* buffer, net::Address* from)
{
    callerReads_ = true;
    if (receiverReads_)
        WakeReceiver();  // it steps back; until then both may sleep on the socket, but only this caller reads
    int result = 0;
    while (run_ && self.Empty()) {
        const ReplyMatcher::Clock::time_point now = ReplyMatcher::Clock::now();
        if (now >= deadline)
            break;
        lock.unlock();
        net::Address source{};
        const int n = ReceiveBefore(deadline - now, buffer, &source);
        lock.lock();
        // Stopped meanwhile: a datagram that was queued still comes out of the shut socket, but no one gets it.
        if (!run_)
            break;
        // Nothing, or more than a datagram may hold: a cut datagram must not be read as a whole one.
        if (n <= 0 || n > datagramSize_)
            continue;
        ReplyMatcher* to = Route(buffer, n);
        if (to == &self) {
            // Its queue is empty, so this is the oldest: it stays in the caller's buffer, no copy needed.
            result = n;
            if (from)
                *from = source;
            break;
        }
        if (to)
            to->Store(buffer, n, source);
    }
    callerReads_ = false;
    PassSocketOn();
    return result;
}

int UdpChannel::ReceiveBefore(std::chrono::nanoseconds left, uint8_t* buffer, net::Address* from)
{
    // A long wait is one blocking receive under the socket's receive time-out (a poll and a receive would be two
    // system calls per reply). The time-out is changed only when it would reach past the deadline or is far
    // shorter than what is left, so back-to-back requests keep it; a wait that gets nothing wakes a few times,
    // each after a good part of what is left. The kernel counts that time-out in scheduler ticks (up to a few
    // ms late), so the last stretch before the deadline is a precise poll.
    using std::chrono::milliseconds;
    constexpr milliseconds kPrecise{20};
    if (left > kPrecise) {
        if (receiveTimeout_ > left * 6 / 10 || receiveTimeout_ < left / 4) {
            const milliseconds timeout = std::chrono::duration_cast<milliseconds>(left * 4 / 10);
            receiveTimeout_ = net::SetReceiveTimeout(socket_, static_cast<int>(timeout.count())) ? timeout
                                                                                                  : milliseconds(0);
        }
        if (receiveTimeout_.count() > 0)
            return net::ReceiveFrom(socket_, buffer, datagramSize_, from);
    }
    if (!net::WaitReadable(socket_, left.count()))
        return 0;
    return net::ReceiveFromNow(socket_, buffer, datagramSize_, from);
}

void UdpChannel::BeforeSleep()
{
    if (run_ && !callerReads_ && !receiverReads_)
        receiverPause_.notify_one();
}

void UdpChannel::PassSocketOn()
{
    if (!run_ || callerReads_ || receiverReads_)
        return;
    // A sleeping caller whose datagram is queued already (the last reader passed it on) returns without
    // reading: offered the socket, it would leave it unread while others wait.
    auto offer = [](ReplyMatcher* m) {
        if (!m || !m->waiting_ || m->reading_ == SocketReading::Never || !m->Empty())
            return false;
        m->ready_.notify_one();
        return true;
    };
    for (const auto& m : matchers_)
        if (offer(m.get()))
            return;
    if (offer(general_.get()))
        return;
    if (NeverReaderWaits())
        receiverPause_.notify_one();
}

void UdpChannel::DrainUnread()
{
    if (!run_ || callerReads_ || receiverReads_)
        return;  // a reader sorts what comes as it comes
    // Also right after a caller read its answer (back-to-back requests): a copy of that answer the network
    // delivered twice, or the late answer to a try that ran out, may wait behind it, and would be taken for the
    // next request's. The receive that finds nothing costs one system call.
    if (drain_.empty())
        drain_.resize(static_cast<size_t>(datagramSize_));
    // At most what a socket's buffer holds (a few hundred small datagrams by default): a peer that sends faster
    // than this thread reads would otherwise hold the caller here, with the channel's lock, for as long as it
    // goes on. What is left is sorted by the next reader.
    constexpr int kDrainLimit = 1024;
    net::Address source{};
    int n;
    for (int i = 0; i < kDrainLimit && (n = net::ReceiveFromNow(socket_, drain_.data(), datagramSize_, &source)) > 0;
         ++i)
        if (n <= datagramSize_)
            Deliver(drain_.data(), n, source);
}

bool UdpChannel::NeverReaderWaits() const
{
    auto waits = [](const ReplyMatcher* m) { return m && m->waiting_ && m->reading_ == SocketReading::Never; };
    for (const auto& m : matchers_)
        if (waits(m.get()))
            return true;
    return waits(general_.get());
}

void UdpChannel::ReceiveLoop()
{
    std::unique_lock<std::mutex> lock(lock_);
    while (run_) {
        // Sleeps, without a time-out, while a caller reads or no one needs it: BeforeSleep and PassSocketOn wake
        // it when a caller that never reads waits, StopReceiving when the channel stops.
        if (callerReads_ || !(streaming_ || NeverReaderWaits())) {
            // A caller that slept while this thread read (the heartbeat) reads for itself now. Whatever made
            // this thread stop (a quiet pause, a datagram it could not pass on, a wake), it is told here.
            PassSocketOn();
            receiverPause_.wait(lock);
            continue;
        }
        receiverReads_ = true;
        lock.unlock();
        pollfd fds[2] = {{socket_, POLLIN, 0}, {wake_, POLLIN, 0}};
        const int ready = ::poll(fds, 2, static_cast<int>(kReceiverPause.count()));
        if (fds[1].revents & POLLIN) {
            uint64_t count;
            [[maybe_unused]] const ssize_t r = ::read(wake_, &count, sizeof count);
        }
        lock.lock();
        receiverReads_ = false;
        // A caller that took the socket over reads it now: the datagram waiting there is for it to take.
        if (!run_ || callerReads_)
            continue;
        if (!(fds[0].revents & POLLIN)) {
            if (ready == 0) {
                // Nothing came for a whole pause: the stream is over. A waiting caller that reads for itself
                // takes the socket; the thread goes on only while a caller that never reads waits.
                streaming_ = false;
                PassSocketOn();
            }
            continue;
        }
        if (drain_.empty())
            drain_.resize(static_cast<size_t>(datagramSize_));
        net::Address from{};
        const int n = net::ReceiveFromNow(socket_, drain_.data(), datagramSize_, &from);
        if (n > 0 && n <= datagramSize_) {
            Deliver(drain_.data(), n, from);
            streaming_ = true;
        }
    }
    receiverReads_ = false;
}

}  // namespace calvox
