#include "backup/BackupFinisher.h"

#include <vector>

namespace {

// Pending items and part files before Add waits. Every pending part file holds an open descriptor, and the pass
// running meanwhile holds as many again.
constexpr size_t kMaxPendingItems = 16;
constexpr size_t kMaxPendingFiles = 64;

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

void BackupFinisher::Add(FinishItem item)
{
    std::unique_lock<std::mutex> lock(m_Mutex);
    m_Changed.wait(lock, [this] {
        return m_Items.empty() || (m_Items.size() < kMaxPendingItems && m_PendingFiles < kMaxPendingFiles);
    });
    m_PendingFiles += item.Parts.size();
    m_Items.push_back(std::move(item));
    ++m_Added;
    m_Changed.notify_all();
}

bool BackupFinisher::Drain()
{
    std::unique_lock<std::mutex> lock(m_Mutex);
    m_Changed.wait(lock, [this] { return m_Items.empty() && !m_Busy; });
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
    m_Changed.wait(lock, [this, mark] { return m_Finished >= mark; });
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
        m_Changed.wait(lock, [this] { return m_Quit || !m_Items.empty(); });
        if (m_Items.empty())
            return;
        std::vector<FinishItem> group(std::make_move_iterator(m_Items.begin()), std::make_move_iterator(m_Items.end()));
        m_Items.clear();
        m_PendingFiles = 0;
        m_Busy = true;
        const bool skip = m_Failed;
        m_Changed.notify_all();
        lock.unlock();
        // Once a pass failed the later items are dropped: a file whose predecessor is not safely on the disk must
        // not be renamed into place, nor an index copy written after it.
        const size_t count = group.size();
        const bool ok = FinishGroup(&group, skip) || skip;
        lock.lock();
        m_Failed = m_Failed || !ok;
        m_Finished += count;
        m_Busy = false;
        m_Changed.notify_all();
    }
}
