#include "WakeWord.h"

#include <climits>
#include <ctime>
#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace calvox::platform {
namespace {

static_assert(sizeof(std::atomic<uint32_t>) == sizeof(uint32_t) && std::atomic<uint32_t>::is_always_lock_free,
              "the kernel reads the word itself");

uint32_t* Address(const std::atomic<uint32_t>& word)
{
    return reinterpret_cast<uint32_t*>(const_cast<std::atomic<uint32_t>*>(&word));
}

}  // namespace

void WaitWhileEqual(const std::atomic<uint32_t>& word, uint32_t expected,
                    std::chrono::steady_clock::time_point deadline)
{
    // The steady clock is CLOCK_MONOTONIC, the clock FUTEX_WAIT_BITSET measures an absolute deadline on.
    const auto since = deadline.time_since_epoch();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(since);
    if (since.count() <= 0)
        return;
    const timespec at{static_cast<time_t>(seconds.count()),
                      static_cast<long>(std::chrono::duration_cast<std::chrono::nanoseconds>(since - seconds).count())};
    ::syscall(SYS_futex, Address(word), FUTEX_WAIT_BITSET | FUTEX_PRIVATE_FLAG, expected, &at, nullptr,
              FUTEX_BITSET_MATCH_ANY);
}

void Wake(const std::atomic<uint32_t>& word)
{
    ::syscall(SYS_futex, Address(word), FUTEX_WAKE | FUTEX_PRIVATE_FLAG, INT_MAX, nullptr, nullptr, 0);
}

}  // namespace calvox::platform
