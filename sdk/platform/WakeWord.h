// A word one thread sleeps on until another changes it or a deadline passes (Linux futex). A sleep is one
// system call, whether it ends by a wake or by its deadline; a condition variable's timed wait costs a second
// one after every time-out, which a thread that pauses once a second pays on every round.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

namespace calvox::platform {

// Sleeps while word holds expected, until Wake or the deadline; returns at once when it holds another value
// already. Spurious returns are possible (signals): callers look at their state again.
void WaitWhileEqual(const std::atomic<uint32_t>& word, uint32_t expected,
                    std::chrono::steady_clock::time_point deadline);
// Wakes every thread sleeping on word. Change the word first.
void Wake(const std::atomic<uint32_t>& word);

}  // namespace calvox::platform
