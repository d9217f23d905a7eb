#include "backup/BackupFinisher.h"

namespace {

constexpr size_t kMaxPending = 16;

}  // namespace

BackupFinisher::BackupFinisher()
    : m_Thread([this] { Loop(); })
{
}

BackupFinisher::~BackupFinisher()
{
    Drain();
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Quit = true;
    }
    m_Changed.notify_all();
    m_Thread.join();
}

void BackupFinisher::Add(Job job)
{
    std::unique_lock<std::mutex> lock(m_Mutex);
    m_Changed.wait(lock, [this] { return m_Jobs.size() < kMaxPending; });
    m_Jobs.push_back(std::move(job));
    ++m_Added;
    m_Changed.notify_all();
}

bool BackupFinisher::Drain()
{
    std::unique_lock<std::mutex> lock(m_Mutex);
    m_Changed.wait(lock, [this] { return m_Jobs.empty() && !m_Busy; });
    return !m_Failed;
}

size_t BackupFinisher::Added() const
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Added;
}

bool BackupFinisher::WaitFor(size_t mark)
{
    std::unique_lock<std::mutex> lock(m_Mutex);
    m_Changed.wait(lock, [this, mark] { return m_Ran >= mark; });
    return !m_Failed;
}

bool BackupFinisher::Failed() const
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Failed;
}

void BackupFinisher::Loop()
{
    std::unique_lock<std::mutex> lock(m_Mutex);
    for (;;) {
        m_Changed.wait(lock, [this] { return m_Quit || !m_Jobs.empty(); });
        if (m_Jobs.empty())
            return;
        Job job = std::move(m_Jobs.front());
        m_Jobs.pop_front();
        m_Busy = true;
        const bool skip = m_Failed;
        lock.unlock();
        // Once a job failed the later ones are dropped: a file whose predecessor is not safely on the disk must
        // not be renamed into place, nor an index copy written after it.
        const bool ok = job(skip) || skip;
        lock.lock();
        m_Failed = m_Failed || !ok;
        ++m_Ran;
        m_Busy = false;
        m_Changed.notify_all();
    }
}
