#include "WorkerPool.h"

#include <utility>

WorkerPool::WorkerPool(int maxThreads)
{
    if (maxThreads > 0)
        m_Pool.setMaxThreadCount(maxThreads);
}

WorkerPool::~WorkerPool()
{
    WaitForDone();
}

void WorkerPool::Start(std::function<void()> work)
{
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Work.push_back(std::move(work));
    }
    // One task per function, each running the oldest waiting one: the pool only carries `this`.
    m_Pool.start([this] { RunOne(); });
}

void WorkerPool::RunOne()
{
    std::function<void()> work;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        if (m_Work.empty())
            return;
        work = std::move(m_Work.front());
        m_Work.pop_front();
    }
    work();
    work = nullptr;  // the captures go here, before the end is handed over
    std::lock_guard<std::mutex> lock(m_Mutex);
}

void WorkerPool::WaitForDone()
{
    m_Pool.waitForDone();
    // Orders every RunOne's last lock before what the caller does next.
    std::lock_guard<std::mutex> lock(m_Mutex);
}
