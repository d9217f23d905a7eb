// A scripted peer's flood: once started, one datagram every `period` from a recorder's socket to one address,
// for `length` or until the object goes. The tests send replies to some other request this way: the SDK must
// neither take them for its answer nor let them stretch its time-outs.
#pragma once

#include "Emulator.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace calvox::test {

class DatagramStream {
public:
    DatagramStream(emu::Recorder& from, std::vector<uint8_t> datagram,
                   std::chrono::milliseconds period = std::chrono::milliseconds(100),
                   std::chrono::milliseconds length = std::chrono::seconds(30))
        : from_(from), datagram_(std::move(datagram)), period_(period), length_(length)
    {
    }
    ~DatagramStream()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        if (thread_.joinable())
            thread_.join();
    }
    DatagramStream(const DatagramStream&) = delete;
    DatagramStream& operator=(const DatagramStream&) = delete;

    // Starts the flood towards `to`; later calls change nothing (a handler may call it for every request).
    void Start(const sockaddr_in& to)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (started_ || stop_)
            return;
        started_ = true;
        thread_ = std::thread([this, to] { Run(to); });
    }
    int Sent() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return sent_;
    }

private:
    void Run(sockaddr_in to)
    {
        const auto end = std::chrono::steady_clock::now() + length_;
        auto next = std::chrono::steady_clock::now();
        std::unique_lock<std::mutex> lock(mutex_);
        while (!stop_ && next < end) {
            lock.unlock();
            from_.Send(to, datagram_);
            lock.lock();
            ++sent_;
            next += period_;
            wake_.wait_until(lock, next, [this] { return stop_; });
        }
    }

    emu::Recorder& from_;
    const std::vector<uint8_t> datagram_;
    const std::chrono::milliseconds period_;
    const std::chrono::milliseconds length_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool started_ = false;
    bool stop_ = false;
    int sent_ = 0;
    std::thread thread_;
};

// "KW", the origin, the command, the status, 0, then the payload.
inline std::vector<uint8_t> Datagram(uint8_t origin, uint8_t command, uint8_t status,
                                     const std::vector<uint8_t>& payload = {})
{
    std::vector<uint8_t> d = {'K', 'W', origin, command, status, 0};
    d.insert(d.end(), payload.begin(), payload.end());
    return d;
}

}  // namespace calvox::test
