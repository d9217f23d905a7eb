// The device side of the recorder protocol, for tests and for trying the SDK by hand: several virtual recorders
// in one process, each on its own UDP address and port, answering from the socket that received the request.
//
// Commands are dispatched through a table. A command family lives in its own file Commands<Name>.cpp that
// defines `void RegisterCommands<Name>(calvox::emu::CommandTable&)`; the build finds these files and calls
// every such function, so adding a family edits no shared list. Tests may also override a command on one
// recorder (Recorder::SetHandler) to script replies, faults or raw datagrams.
#pragma once

#include <netinet/in.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <typeindex>
#include <vector>

namespace calvox::emu {

constexpr uint16_t kDevicePort = 6066;
constexpr int kDatagramSize = 4006;
// A default ID for a 2-channel recorder, shared by the program and the SDK example.
constexpr const char* kDefaultId = "2A000000000000000001";

// One decoded request as a recorder received it.
struct LoggedRequest {
    std::string recorderId;
    uint8_t origin = 0;
    uint8_t command = 0;
    uint8_t status = 0;
    std::vector<uint8_t> payload;  // bytes after the 6-byte header
    sockaddr_in from{};
    bool dropped = false;          // dropped by a fault knob before it was handled
};

// Fault knobs, per recorder. Probabilities are drawn from a generator seeded with `seed`, so a run repeats.
struct Faults {
    uint32_t seed = 1;
    int dropFirstRequests = 0;     // the first N requests (any command) are dropped unanswered
    double dropRequests = 0;       // probability a request is dropped
    double dropReplies = 0;        // probability a reply is dropped
    double duplicateReplies = 0;   // probability a reply is sent twice
    int delayMs = 0;               // every reply leaves this much later
    double reorderReplies = 0;     // probability a reply is held back reorderDelayMs so later ones overtake it
    int reorderDelayMs = 30;
    int truncateRepliesTo = 0;     // > 0: every reply is cut to this many bytes (short datagrams)
};

class Recorder;

// What a handler sees: the recorder, the request, and ways to answer.
class Exchange {
public:
    Exchange(Recorder& recorder, const LoggedRequest& request) : recorder(recorder), request(request) {}
    Recorder& recorder;
    const LoggedRequest& request;

    // "KW", origin 1, the request's command, status, 0, then the payload.
    void Reply(uint8_t status, const void* payload = nullptr, size_t length = 0);
    void Reply(uint8_t status, const std::vector<uint8_t>& payload) { Reply(status, payload.data(), payload.size()); }
    // Same framing with another command or origin.
    void ReplyAs(uint8_t origin, uint8_t command, uint8_t status, const std::vector<uint8_t>& payload = {});
    // Any bytes, to the request's source (still subject to the reply fault knobs).
    void SendRaw(const std::vector<uint8_t>& bytes);
};

using Handler = std::function<void(Exchange&)>;

class CommandTable {
public:
    void Register(uint8_t command, Handler handler) { handlers_[command] = std::move(handler); }
    const Handler* Find(uint8_t command) const;

private:
    std::map<uint8_t, Handler> handlers_;
};

// The table every recorder starts from: built once from all Commands*.cpp files.
const CommandTable& DefaultCommands();

struct RecorderConfig {
    std::string id = kDefaultId;
    std::string bindAddress = "127.0.0.1";  // tests: 127.0.0.x only
    uint16_t port = kDevicePort;            // 0: any free port (read it back with Port())
    Faults faults;
};

class Recorder {
public:
    explicit Recorder(RecorderConfig config);
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    bool Start();  // binds and starts the thread; false when the address cannot be bound
    void Stop();

    const std::string& Id() const { return config_.id; }
    int ModelIndex() const;  // -1 for an unknown first character
    int Channels() const;    // from the model table, 0 when unknown
    uint16_t Port() const { return port_; }
    sockaddr_in Address() const;

    // Per-recorder state of a command family, created on first use (one object per type).
    template <class T>
    T& State()
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        auto& slot = state_[std::type_index(typeid(T))];
        if (!slot)
            slot = std::shared_ptr<void>(new T(), [](void* p) { delete static_cast<T*>(p); });
        return *static_cast<T*>(slot.get());
    }
    // Serialises handlers with test code that inspects or edits State<T>().
    std::mutex& StateMutex() { return dispatchMutex_; }

    // Overrides (or with an empty handler: silences) one command on this recorder only.
    void SetHandler(uint8_t command, Handler handler);
    void ClearHandler(uint8_t command);
    void SetFaults(const Faults& faults);

    std::vector<LoggedRequest> Log() const;
    void ClearLog();
    size_t CountRequests(uint8_t command) const;
    // Waits until at least count requests of the command were logged; false on time-out.
    bool WaitForRequests(uint8_t command, size_t count, int timeoutMs) const;

    // Sends a datagram from this recorder's socket (unsolicited traffic such as live audio). Reply fault knobs
    // apply.
    void Send(const sockaddr_in& to, const std::vector<uint8_t>& bytes);

private:
    struct Pending {
        std::chrono::steady_clock::time_point due;
        sockaddr_in to;
        std::vector<uint8_t> bytes;
    };

    void Loop();
    void Handle(const uint8_t* data, int length, const sockaddr_in& from);
    void SendNow(const sockaddr_in& to, const std::vector<uint8_t>& bytes);
    void FlushDue();
    bool Draw(double probability);

    RecorderConfig config_;
    int socket_ = -1;
    uint16_t port_ = 0;
    std::thread thread_;
    std::atomic<bool> run_{false};

    std::mutex faultMutex_;
    std::mt19937 random_;
    int requestsSeen_ = 0;
    std::vector<Pending> pending_;

    std::mutex handlerMutex_;   // guards overrides_
    std::map<uint8_t, Handler> overrides_;
    std::mutex dispatchMutex_;  // held while a handler runs

    std::mutex stateMutex_;
    std::map<std::type_index, std::shared_ptr<void>> state_;

    mutable std::mutex logMutex_;
    mutable std::condition_variable logged_;
    std::vector<LoggedRequest> log_;

    friend class Exchange;
};

// Several recorders in one process.
class Emulator {
public:
    Emulator() = default;
    ~Emulator() { Stop(); }
    // Creates and starts a recorder; null when its address cannot be bound.
    Recorder* Add(RecorderConfig config);
    Recorder* Find(const std::string& id) const;
    const std::vector<std::unique_ptr<Recorder>>& Recorders() const { return recorders_; }
    void Stop();

private:
    std::vector<std::unique_ptr<Recorder>> recorders_;
};

// Little-endian helpers for payloads (ports inside payloads are little-endian u16 too).
inline void PutU16(std::vector<uint8_t>& v, size_t at, uint16_t x)
{
    if (v.size() < at + 2)
        v.resize(at + 2);
    v[at] = static_cast<uint8_t>(x);
    v[at + 1] = static_cast<uint8_t>(x >> 8);
}
inline void PutU32(std::vector<uint8_t>& v, size_t at, uint32_t x)
{
    if (v.size() < at + 4)
        v.resize(at + 4);
    for (int i = 0; i < 4; ++i)
        v[at + static_cast<size_t>(i)] = static_cast<uint8_t>(x >> (8 * i));
}
inline uint32_t GetU32(const std::vector<uint8_t>& v, size_t at)
{
    if (v.size() < at + 4)
        return 0;
    return static_cast<uint32_t>(v[at]) | (static_cast<uint32_t>(v[at + 1]) << 8) |
           (static_cast<uint32_t>(v[at + 2]) << 16) | (static_cast<uint32_t>(v[at + 3]) << 24);
}

}  // namespace calvox::emu
