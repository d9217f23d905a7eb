#include "Emulator.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace calvox::emu {

void RegisterAllCommands(CommandTable& table);  // generated from the Commands*.cpp files

namespace {

constexpr uint8_t kOriginRecorder = 1;

}  // namespace

const Handler* CommandTable::Find(uint8_t command) const
{
    auto it = handlers_.find(command);
    return it == handlers_.end() ? nullptr : &it->second;
}

const CommandTable& DefaultCommands()
{
    static const CommandTable table = [] {
        CommandTable t;
        RegisterAllCommands(t);
        return t;
    }();
    return table;
}

namespace {

std::vector<uint8_t> Frame(uint8_t origin, uint8_t command, uint8_t status, const void* payload, size_t length)
{
    std::vector<uint8_t> bytes(6 + (payload ? length : 0));
    bytes[0] = 'K';
    bytes[1] = 'W';
    bytes[2] = origin;
    bytes[3] = command;
    bytes[4] = status;
    bytes[5] = 0;
    if (payload && length)
        std::memcpy(bytes.data() + 6, payload, length);
    return bytes;
}

}  // namespace

void Exchange::Reply(uint8_t status, const void* payload, size_t length)
{
    recorder.Send(request.from, Frame(kOriginRecorder, request.command, status, payload, length));
}

void Exchange::ReplyAs(uint8_t origin, uint8_t command, uint8_t status, const std::vector<uint8_t>& payload)
{
    recorder.Send(request.from, Frame(origin, command, status, payload.data(), payload.size()));
}

void Exchange::SendRaw(const std::vector<uint8_t>& bytes) { recorder.Send(request.from, bytes); }

Recorder::Recorder(RecorderConfig config) : config_(std::move(config)), random_(config_.faults.seed) {}

Recorder::~Recorder() { Stop(); }

int Recorder::ModelIndex() const
{
    static const char kDigits[] = "0123456789ABCD";
    if (config_.id.empty())
        return -1;
    const char* p = std::strchr(kDigits, config_.id[0]);
    return p && *p ? static_cast<int>(p - kDigits) / 2 : -1;
}

int Recorder::Channels() const
{
    static const int kChannels[] = {1, 2, 4, 16, 64, 64, 8};
    const int m = ModelIndex();
    return m < 0 ? 0 : kChannels[m];
}

sockaddr_in Recorder::Address() const
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    inet_pton(AF_INET, config_.bindAddress.c_str(), &a.sin_addr);
    a.sin_port = htons(port_);
    return a;
}

bool Recorder::Start()
{
    if (run_)
        return true;
    socket_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (socket_ < 0)
        return false;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(config_.port);
    if (inet_pton(AF_INET, config_.bindAddress.c_str(), &a.sin_addr) != 1 ||
        ::bind(socket_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        ::close(socket_);
        socket_ = -1;
        return false;
    }
    socklen_t len = sizeof a;
    ::getsockname(socket_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
    run_ = true;
    thread_ = std::thread([this] { Loop(); });
    return true;
}

void Recorder::Stop()
{
    run_ = false;
    if (socket_ >= 0)
        ::shutdown(socket_, SHUT_RD);
    if (thread_.joinable())
        thread_.join();
    if (socket_ >= 0)
        ::close(socket_);
    socket_ = -1;
}

void Recorder::SetHandler(uint8_t command, Handler handler)
{
    std::lock_guard<std::mutex> lock(handlerMutex_);
    overrides_[command] = std::move(handler);
}

void Recorder::ClearHandler(uint8_t command)
{
    std::lock_guard<std::mutex> lock(handlerMutex_);
    overrides_.erase(command);
}

void Recorder::SetFaults(const Faults& faults)
{
    std::lock_guard<std::mutex> lock(faultMutex_);
    config_.faults = faults;
    random_.seed(faults.seed);
    requestsSeen_ = 0;
}

std::vector<LoggedRequest> Recorder::Log() const
{
    std::lock_guard<std::mutex> lock(logMutex_);
    return log_;
}

void Recorder::ClearLog()
{
    std::lock_guard<std::mutex> lock(logMutex_);
    log_.clear();
}

size_t Recorder::CountRequests(uint8_t command) const
{
    std::lock_guard<std::mutex> lock(logMutex_);
    size_t n = 0;
    for (const auto& r : log_)
        n += r.command == command;
    return n;
}

bool Recorder::WaitForRequests(uint8_t command, size_t count, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(logMutex_);
    return logged_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        size_t n = 0;
        for (const auto& r : log_)
            n += r.command == command;
        return n >= count;
    });
}

bool Recorder::Draw(double probability)
{
    if (probability <= 0)
        return false;
    return std::uniform_real_distribution<double>(0.0, 1.0)(random_) < probability;
}

void Recorder::Send(const sockaddr_in& to, const std::vector<uint8_t>& bytes)
{
    std::vector<uint8_t> out = bytes;
    int copies = 1;
    auto due = std::chrono::steady_clock::now();
    {
        std::lock_guard<std::mutex> lock(faultMutex_);
        const Faults& f = config_.faults;
        if (Draw(f.dropReplies))
            return;
        if (Draw(f.duplicateReplies))
            copies = 2;
        if (f.truncateRepliesTo > 0 && out.size() > static_cast<size_t>(f.truncateRepliesTo))
            out.resize(static_cast<size_t>(f.truncateRepliesTo));
        int delay = f.delayMs;
        if (Draw(f.reorderReplies))
            delay += f.reorderDelayMs;
        if (delay > 0) {
            due += std::chrono::milliseconds(delay);
            for (int i = 0; i < copies; ++i)
                pending_.push_back({due, to, out});
            return;
        }
    }
    for (int i = 0; i < copies; ++i)
        SendNow(to, out);
}

void Recorder::SendNow(const sockaddr_in& to, const std::vector<uint8_t>& bytes)
{
    ::sendto(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&to), sizeof to);
}

void Recorder::FlushDue()
{
    std::vector<Pending> due;
    {
        std::lock_guard<std::mutex> lock(faultMutex_);
        const auto now = std::chrono::steady_clock::now();
        for (auto it = pending_.begin(); it != pending_.end();) {
            if (it->due <= now) {
                due.push_back(std::move(*it));
                it = pending_.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (const Pending& p : due)
        SendNow(p.to, p.bytes);
}

void Recorder::Loop()
{
    std::vector<uint8_t> buffer(kDatagramSize + 64);
    while (run_) {
        int waitMs = 50;
        {
            std::lock_guard<std::mutex> lock(faultMutex_);
            const auto now = std::chrono::steady_clock::now();
            for (const Pending& p : pending_) {
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(p.due - now).count();
                waitMs = std::max(0, std::min<int>(waitMs, static_cast<int>(left)));
            }
        }
        pollfd pfd{socket_, POLLIN, 0};
        const int ready = ::poll(&pfd, 1, waitMs);
        FlushDue();
        if (ready <= 0 || !run_)
            continue;
        sockaddr_in from{};
        socklen_t len = sizeof from;
        const ssize_t n =
            ::recvfrom(socket_, buffer.data(), buffer.size(), MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &len);
        if (n <= 0)
            continue;
        Handle(buffer.data(), static_cast<int>(n), from);
    }
}

void Recorder::Handle(const uint8_t* data, int length, const sockaddr_in& from)
{
    // Anything that is not a whole header with the magic is not a request; it is neither logged nor answered.
    if (length < 6 || data[0] != 'K' || data[1] != 'W')
        return;
    LoggedRequest request;
    request.recorderId = config_.id;
    request.origin = data[2];
    request.command = data[3];
    request.status = data[4];
    request.payload.assign(data + 6, data + length);
    request.from = from;
    {
        std::lock_guard<std::mutex> lock(faultMutex_);
        const Faults& f = config_.faults;
        ++requestsSeen_;
        request.dropped = requestsSeen_ <= f.dropFirstRequests || Draw(f.dropRequests);
    }
    {
        std::lock_guard<std::mutex> lock(logMutex_);
        log_.push_back(request);
    }
    logged_.notify_all();
    if (request.dropped)
        return;

    Handler handler;
    {
        std::lock_guard<std::mutex> lock(handlerMutex_);
        auto it = overrides_.find(request.command);
        if (it != overrides_.end())
            handler = it->second;
        else if (const Handler* h = DefaultCommands().Find(request.command))
            handler = *h;
    }
    if (!handler)
        return;  // unknown command or silenced: no answer, as a recorder that ignores it
    std::lock_guard<std::mutex> lock(dispatchMutex_);
    Exchange exchange(*this, request);
    handler(exchange);
}

Recorder* Emulator::Add(RecorderConfig config)
{
    auto recorder = std::make_unique<Recorder>(std::move(config));
    if (!recorder->Start())
        return nullptr;
    recorders_.push_back(std::move(recorder));
    return recorders_.back().get();
}

Recorder* Emulator::Find(const std::string& id) const
{
    for (const auto& r : recorders_)
        if (r->Id() == id)
            return r.get();
    return nullptr;
}

void Emulator::Stop()
{
    for (auto& r : recorders_)
        r->Stop();
}

}  // namespace calvox::emu
