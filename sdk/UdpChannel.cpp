#include "UdpChannel.h"

namespace calvox {

UdpChannel::~UdpChannel() { Close(); }

uint16_t UdpChannel::Open(int timeoutMs, int datagramSize, uint32_t bindAddressNetworkOrder, uint16_t port)
{
    defaultTimeoutMs_ = timeoutMs;
    datagramSize_ = datagramSize;
    socket_ = net::OpenUdp();
    if (socket_ < 0)
        return 0;
    // No receive time-out: the receive thread sleeps until a datagram comes or StopReceiving shuts the socket
    // for reading, rather than waking every second on an idle connection.
    if (!net::Bind(socket_, bindAddressNetworkOrder, port)) {
        net::Close(socket_);
        socket_ = net::kInvalidSocket;
        return 0;
    }
    localPort_ = net::LocalPort(socket_);
    return localPort_;
}

ReplyMatcher* UdpChannel::SetGeneralMatcher(int offset, const uint8_t* prefix, int prefixLength, int slots)
{
    general_ = std::make_unique<ReplyMatcher>(offset, prefix, prefixLength, datagramSize_, slots, defaultTimeoutMs_);
    return general_.get();
}

ReplyMatcher* UdpChannel::AddMatcher(int offset, const uint8_t* prefix, int prefixLength, int slots)
{
    matchers_.push_back(
        std::make_unique<ReplyMatcher>(offset, prefix, prefixLength, datagramSize_, slots, defaultTimeoutMs_));
    return matchers_.back().get();
}

bool UdpChannel::StartReceiving()
{
    if (!general_ || socket_ < 0 || thread_.joinable())
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
    run_ = false;
    net::ShutdownRead(socket_);
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
}

void UdpChannel::Dispatch(const uint8_t* data, int length, const net::Address& from)
{
    for (auto& m : matchers_)
        if (m->Accept(data, length, from))
            return;
    if (general_)
        general_->Accept(data, length, from);
}

void UdpChannel::ReceiveLoop()
{
    std::vector<uint8_t> buffer(static_cast<size_t>(datagramSize_));
    while (run_.load()) {
        net::Address from{};
        int n = net::ReceiveFrom(socket_, buffer.data(), datagramSize_, &from);
        // Nothing, or more than a datagram may hold: a cut datagram must not be read as a whole one.
        if (n <= 0 || n > datagramSize_)
            continue;
        Dispatch(buffer.data(), n, from);
    }
}

}  // namespace calvox
