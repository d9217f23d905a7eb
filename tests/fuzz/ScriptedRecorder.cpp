#include "ScriptedRecorder.h"

#include "Datagram.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace calvox::fuzz {

namespace {
constexpr uint8_t kFlagOrigin = 0x03;
constexpr uint8_t kFlagBlockIndex = 0x04;
constexpr uint8_t kFlagBurst = 0x08;
constexpr uint8_t kFlagRaw = 0x10;
constexpr uint8_t kExhaustedStatus = 0x7F;
}  // namespace

ScriptedRecorder::ScriptedRecorder()
{
    fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    address_.sin_family = AF_INET;
    address_.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address_;
    if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&address_), sizeof address_) != 0 ||
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address_), &length) != 0 || ::pipe2(wake_, O_CLOEXEC) != 0)
        throw std::runtime_error("scripted recorder: no socket on 127.0.0.1");
    thread_ = std::thread([this] { Loop(); });
}

ScriptedRecorder::~ScriptedRecorder()
{
    const char stop = 0;
    if (::write(wake_[1], &stop, 1) != 1) {
    }
    thread_.join();
    ::close(fd_);
    ::close(wake_[0]);
    ::close(wake_[1]);
}

void ScriptedRecorder::Load(const uint8_t* data, size_t size, std::function<void()> exhausted)
{
    std::lock_guard<std::mutex> lock(mutex_);
    uint8_t drain[kDatagramSize];
    while (::recv(fd_, drain, sizeof drain, 0) >= 0) {
    }
    script_.clear();
    size_t at = 0;
    while (at + 4 <= size) {
        Element e;
        e.flags = data[at];
        e.status = data[at + 1];
        size_t length = data[at + 2] | (data[at + 3] << 8);
        at += 4;
        length = std::min({length, size - at, static_cast<size_t>(kMaxPayload)});
        e.payload.assign(data + at, data + at + length);
        at += length;
        script_.push_back(std::move(e));
    }
    next_ = 0;
    exhausted_ = std::move(exhausted);
}

void ScriptedRecorder::Loop()
{
    uint8_t request[kDatagramSize];
    for (;;) {
        pollfd fds[2] = {{fd_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0)
            continue;
        if (fds[1].revents)
            return;
        std::lock_guard<std::mutex> lock(mutex_);
        sockaddr_in from{};
        socklen_t fromLength = sizeof from;
        const ssize_t n = ::recvfrom(fd_, request, sizeof request, 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (n < kHeaderSize)
            continue;  // nothing (drained meanwhile), or no request of the SDK's
        Answer(request, static_cast<int>(n), from);
    }
}

void ScriptedRecorder::Answer(const uint8_t* request, int length, const sockaddr_in& from)
{
    if (next_ >= script_.size()) {
        if (exhausted_) {
            exhausted_();
            exhausted_ = nullptr;
        }
        SendElement(Element{kOriginRecorder, kExhaustedStatus, {}}, request, length, from);
        return;
    }
    for (;;) {
        const Element& e = script_[next_++];
        SendElement(e, request, length, from);
        if (!(e.flags & kFlagBurst) || next_ >= script_.size())
            return;
    }
}

void ScriptedRecorder::SendElement(const Element& e, const uint8_t* request, int length, const sockaddr_in& from)
{
    uint8_t datagram[kDatagramSize];
    int size;
    if (e.flags & kFlagRaw) {
        size = static_cast<int>(std::min<size_t>(e.payload.size(), kDatagramSize));
        if (size > 0)
            std::memcpy(datagram, e.payload.data(), static_cast<size_t>(size));
    } else {
        WriteHeader(datagram, e.flags & kFlagOrigin, request[kOffCommand], e.status);
        if (!e.payload.empty())
            std::memcpy(datagram + kHeaderSize, e.payload.data(), e.payload.size());
        size = kHeaderSize + static_cast<int>(e.payload.size());
        uint8_t* payload = datagram + kHeaderSize;
        // A download block request carries its index at offset 10.
        if ((e.flags & kFlagBlockIndex) && request[kOffCommand] == kCmdDownload && length >= 14 &&
            e.payload.size() >= 4)
            std::memcpy(payload, request + 10, 4);
        // The relay's answer to the address query: always this recorder.
        if ((e.flags & kFlagOrigin) == kOriginCloud && request[kOffCommand] == 0 && e.payload.size() >= 6) {
            std::memcpy(payload, &address_.sin_addr.s_addr, 4);
            PutU16(payload + 4, ntohs(address_.sin_port));
        }
    }
    ::sendto(fd_, datagram, static_cast<size_t>(size), 0, reinterpret_cast<const sockaddr*>(&from), sizeof from);
}

}  // namespace calvox::fuzz
