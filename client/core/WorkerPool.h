#pragma once

#include <QThreadPool>

#include <deque>
#include <functional>
#include <mutex>

// Runs functions on a pool of worker threads (a QThreadPool's), and waits for them. Each function reaches its
// worker through a lock of ours, and each worker's end reaches WaitForDone the same way.
//
// Why not QThreadPool::start with the function itself: the pool hands a task to a thread that is busy or new
// through QMutex, a futex the thread sanitizer cannot see, so what the function captured, and what the caller
// frees after waitForDone, would look like races in a checked build, and a real race could not be told from them.
class WorkerPool
{
public:
    // maxThreads 0: QThreadPool's default (one per core).
    explicit WorkerPool(int maxThreads = 0);
    // Waits for the functions started so far.
    ~WorkerPool();

    void Start(std::function<void()> work);
    // Returns once every function started so far has ended and freed what it captured.
    void WaitForDone();

private:
    void RunOne();

    std::mutex m_Mutex;
    std::deque<std::function<void()>> m_Work;
    QThreadPool m_Pool;  // last: it goes first, after its threads ended
};
