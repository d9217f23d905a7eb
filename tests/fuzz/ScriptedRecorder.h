// A recorder (and cloud relay) on 127.0.0.1 that answers every datagram it receives with the next reply of a
// script, whatever the request was. The fuzz input is the script, so each reply the SDK parses is the fuzzer's.
//
// Script: a sequence of elements [flags][status][length u16 LE][payload]. Flags: bits 0-1 the origin byte,
// bit 2 puts the block index of a download block request at payload offset 0 (so the SDK takes the block),
// bit 3 sends the next element at once after this one (several answers to one request: search, stale
// replies), bit 4 sends the payload alone as the whole datagram (no header: short or broken datagrams). The
// header otherwise carries "KW", the origin, the request's command and the status. A length past the input
// ends the element at the input's end. Once the script has run out every request gets status 0x7F and no
// payload, and the exhausted hook runs once.
//
// Nothing leaves loopback: a relay answer to the address query always names this recorder, whatever the script
// says.
#pragma once

#include <netinet/in.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace calvox::fuzz {

class ScriptedRecorder {
public:
    ScriptedRecorder();
    ~ScriptedRecorder();
    ScriptedRecorder(const ScriptedRecorder&) = delete;
    ScriptedRecorder& operator=(const ScriptedRecorder&) = delete;

    sockaddr_in Address() const { return address_; }

    // Drops requests still queued from the previous script, then takes this one.
    void Load(const uint8_t* data, size_t size, std::function<void()> exhausted);

private:
    struct Element {
        uint8_t flags;
        uint8_t status;
        std::vector<uint8_t> payload;
    };
    void Loop();
    void Answer(const uint8_t* request, int length, const sockaddr_in& from);
    void SendElement(const Element& e, const uint8_t* request, int length, const sockaddr_in& from);

    int fd_ = -1;
    int wake_[2] = {-1, -1};
    sockaddr_in address_{};
    std::mutex mutex_;
    std::vector<Element> script_;
    size_t next_ = 0;
    std::function<void()> exhausted_;
    std::thread thread_;
};

}  // namespace calvox::fuzz
