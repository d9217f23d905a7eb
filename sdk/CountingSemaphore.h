#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace calvox {

// A counting semaphore with a maximum count that can be closed: Close wakes every waiter (and
// turns away later ones) until Reset opens it again, so no thread waits on a player that is gone.
class CountingSemaphore {
public:
    explicit CountingSemaphore(int maximum) : maximum_(maximum) {}

    // Takes one unit, waiting without limit; false when the semaphore is or becomes closed.
    bool Acquire();
    // Gives one unit back; a release beyond the maximum is ignored.
    void Release();
    void Close();
    // Opens the semaphore with `count` units.
    void Reset(int count);
    int Count() const;

private:
    const int maximum_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    int count_ = 0;
    bool closed_ = true;
    uint64_t closings_ = 0;  // a waiter leaves when a Close happened after it began to wait
};

}  // namespace calvox
