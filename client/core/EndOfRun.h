#pragma once

#include <atomic>

// The end of a worker thread's run as a hand-over the thread sanitizer can see. QThread::wait and isRunning
// order the run's writes before what the caller does next, but through QMutex, a futex the sanitizer cannot see,
// so a checked build would report the caller's later use of the run's data (its results, the worker's members,
// freeing it) as a race. The run calls Mark() as its last act; the caller calls Seen() once wait() returned or
// isRunning() said no. Between real threads this adds nothing to Qt's own ordering.
class EndOfRun
{
public:
    void Mark() { m_Runs.fetch_add(1, std::memory_order_release); }
    void Seen() const { static_cast<void>(m_Runs.load(std::memory_order_acquire)); }

    // Marks the end when it goes: the first statement of a run(), whatever way the run leaves.
    struct AtExit {
        EndOfRun& End;
        ~AtExit() { End.Mark(); }
    };

private:
    std::atomic<unsigned> m_Runs{0};
};
