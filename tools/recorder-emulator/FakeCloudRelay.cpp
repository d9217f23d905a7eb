#include "FakeCloudRelay.h"

#include "EmuSessions.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace calvox::emu {

bool FakeCloudRelay::Start(const std::string& bindAddress, uint16_t port)
{
    socket_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (socket_ < 0)
        return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (::inet_pton(AF_INET, bindAddress.c_str(), &address.sin_addr) != 1 ||
        ::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(socket_);
        socket_ = -1;
        return false;
    }
    socklen_t length = sizeof address;
    ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    bindAddress_ = bindAddress;
    run_ = true;
    thread_ = std::thread(&FakeCloudRelay::Loop, this);
    return true;
}

void FakeCloudRelay::Stop()
{
    run_ = false;
    if (thread_.joinable())
        thread_.join();
    if (socket_ >= 0)
        ::close(socket_);
    socket_ = -1;
    std::lock_guard<std::mutex> lock(mutex_);
    pending_.clear();
}

std::string FakeCloudRelay::AddressText() const
{
    return bindAddress_ + ":" + std::to_string(port_);
}

void FakeCloudRelay::Register(const Entry& entry)
{
    std::lock_guard<std::mutex> lock(mutex_);
    entries_.push_back(entry);
}

void FakeCloudRelay::SetSilent(bool silent)
{
    std::lock_guard<std::mutex> lock(mutex_);
    silent_ = silent;
}

void FakeCloudRelay::SetQueryStatus(uint8_t status)
{
    std::lock_guard<std::mutex> lock(mutex_);
    queryStatus_ = status;
}

void FakeCloudRelay::SetPunchDelay(int ms)
{
    std::lock_guard<std::mutex> lock(mutex_);
    punchDelayMs_ = ms;
}

std::vector<LoggedRequest> FakeCloudRelay::Log() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return log_;
}

size_t FakeCloudRelay::CountRequests(uint8_t command) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    size_t count = 0;
    for (const LoggedRequest& r : log_)
        count += r.command == command;
    return count;
}

void FakeCloudRelay::Loop()
{
    std::vector<uint8_t> buffer(kDatagramSize);
    while (run_) {
        SendDuePunches();
        int waitMs = 50;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            const auto now = std::chrono::steady_clock::now();
            for (const PendingPunch& p : pending_) {
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(p.due - now).count();
                waitMs = std::max(0, std::min<int>(waitMs, static_cast<int>(left)));
            }
        }
        pollfd pfd{socket_, POLLIN, 0};
        if (::poll(&pfd, 1, waitMs) <= 0)
            continue;
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t n = ::recvfrom(socket_, buffer.data(), buffer.size(), MSG_DONTWAIT,
                                     reinterpret_cast<sockaddr*>(&from), &length);
        if (n > 0)
            Handle(buffer.data(), static_cast<int>(n), from);
    }
}

void FakeCloudRelay::Send(const sockaddr_in& to, uint8_t command, uint8_t status, const std::vector<uint8_t>& payload)
{
    std::vector<uint8_t> bytes = {'K', 'W', 2, command, status, 0};
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    ::sendto(socket_, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
}

void FakeCloudRelay::Handle(const uint8_t* data, int length, const sockaddr_in& from)
{
    if (length < 6 || data[0] != 'K' || data[1] != 'W' || data[2] != 0)
        return;
    LoggedRequest request;
    request.recorderId = "cloud";
    request.origin = data[2];
    request.command = data[3];
    request.status = data[4];
    request.payload.assign(data + 6, data + length);
    request.from = from;

    std::unique_lock<std::mutex> lock(mutex_);
    log_.push_back(request);
    if (silent_)
        return;
    const std::vector<uint8_t>& p = request.payload;
    if (request.command == 0) {
        if (queryStatus_ != 0) {
            const uint8_t status = queryStatus_;
            lock.unlock();
            Send(from, 0, status, {});
            return;
        }
        const Entry* found = nullptr;
        for (const Entry& e : entries_)
            if (p.size() >= 20 && e.id.size() == 20 && std::memcmp(e.id.data(), p.data(), 20) == 0)
                found = &e;
        if (!found) {
            lock.unlock();
            Send(from, 0, 1, {});  // unknown recorder
            return;
        }
        std::vector<uint8_t> reply(7);
        std::memcpy(reply.data(), &found->publicAddress.sin_addr.s_addr, 4);
        PutU16(reply, 4, ntohs(found->publicAddress.sin_port));
        reply[6] = found->behindNat ? 1 : 0;
        lock.unlock();
        Send(from, 0, 0, reply);
    } else if (request.command == 1) {
        if (p.size() < 6) {
            lock.unlock();
            Send(from, 1, kStatusBadRequest, {});
            return;
        }
        Recorder* recorder = nullptr;
        for (const Entry& e : entries_)
            if (std::memcmp(&e.publicAddress.sin_addr.s_addr, p.data(), 4) == 0 &&
                ntohs(e.publicAddress.sin_port) == static_cast<uint16_t>(p[4] | p[5] << 8))
                recorder = e.recorder;
        if (recorder) {
            const auto due = std::chrono::steady_clock::now() + std::chrono::milliseconds(punchDelayMs_);
            pending_.push_back({due, recorder, from});
        }
        lock.unlock();
        Send(from, 1, 0, {});
    }
}

void FakeCloudRelay::SendDuePunches()
{
    std::vector<PendingPunch> due;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto now = std::chrono::steady_clock::now();
        for (auto it = pending_.begin(); it != pending_.end();) {
            if (it->due <= now) {
                due.push_back(*it);
                it = pending_.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (const PendingPunch& p : due) {
        // The recorder sends out to the client: its NAT now lets the client in, and the client hears the
        // recorder from wherever the recorder really is.
        AllowThroughNat(*p.recorder, p.client);
        p.recorder->Send(p.client, {'K', 'W', 1, 0, 0, 0});
    }
}

}  // namespace calvox::emu
