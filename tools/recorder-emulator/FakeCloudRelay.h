// A cloud relay on loopback: it knows recorders by ID with the public address it reports for each and whether
// that recorder sits behind NAT. Command 0 (query by ID) answers with that address; command 1 (punch) tells
// the recorder behind that address to send its punch answer to the asking client, which also opens the
// recorder's emulated NAT for that client.
#pragma once

#include "Emulator.h"

#include <netinet/in.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace calvox::emu {

class FakeCloudRelay {
public:
    struct Entry {
        std::string id;
        sockaddr_in publicAddress{};  // what the relay reports (need not be where the recorder listens)
        bool behindNat = false;
        Recorder* recorder = nullptr;  // answers the punch; may be null (a recorder that never answers)
    };

    FakeCloudRelay() = default;
    ~FakeCloudRelay() { Stop(); }
    FakeCloudRelay(const FakeCloudRelay&) = delete;
    FakeCloudRelay& operator=(const FakeCloudRelay&) = delete;

    // Binds (port 0: any free port) and starts answering; false when the address cannot be bound.
    bool Start(const std::string& bindAddress = "127.0.0.1", uint16_t port = 0);
    void Stop();
    uint16_t Port() const { return port_; }
    // "127.0.0.1:port", the form of CALVOX_CLOUD_SERVER.
    std::string AddressText() const;

    void Register(const Entry& entry);
    // Knobs: a silent relay answers nothing; queryStatus != 0 answers every query with that status; the
    // recorder's punch answer leaves punchDelayMs after the relay's own answer (the relay-to-recorder hop).
    void SetSilent(bool silent);
    void SetQueryStatus(uint8_t status);
    void SetPunchDelay(int ms);

    std::vector<LoggedRequest> Log() const;
    size_t CountRequests(uint8_t command) const;

private:
    void Loop();
    void Handle(const uint8_t* data, int length, const sockaddr_in& from);
    void Send(const sockaddr_in& to, uint8_t command, uint8_t status, const std::vector<uint8_t>& payload);
    void SendDuePunches();

    struct PendingPunch {
        std::chrono::steady_clock::time_point due;
        Recorder* recorder;
        sockaddr_in client;
    };

    int socket_ = -1;
    uint16_t port_ = 0;
    std::string bindAddress_;
    std::thread thread_;
    std::atomic<bool> run_{false};

    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
    bool silent_ = false;
    uint8_t queryStatus_ = 0;
    int punchDelayMs_ = 20;
    std::vector<PendingPunch> pending_;
    std::vector<LoggedRequest> log_;
};

}  // namespace calvox::emu
