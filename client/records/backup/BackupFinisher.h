#pragma once

#include "backup/BackupSyncPass.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

// Puts a backup's fetched files and index copies on the disk on a thread of its own, in the order they were handed
// over, while the worker already fetches the next files: the transfer does not wait for the disk. Whatever was
// handed over while the previous pass ran is finished together in one pass (FinishGroup), so a slow disk makes
// the passes larger rather than more. A pass that fails makes every later item be only removed and Failed()
// true; the worker checks it and ends the device's run.
class BackupFinisher
{
public:
    BackupFinisher();
    // Waits for the items handed over.
    ~BackupFinisher();
    BackupFinisher(const BackupFinisher&) = delete;
    BackupFinisher& operator=(const BackupFinisher&) = delete;

    // Queues an item; waits while many files are pending, so the disk bounds how far the transfer runs ahead
    // (and how many part files are open).
    void Add(FinishItem item);
    // Waits until every item handed over is finished; true when all succeeded.
    bool Drain();
    // How many items were handed over so far: a mark for WaitFor.
    size_t Added() const;
    // Waits until the first `mark` items handed over are finished; false when one failed.
    bool WaitFor(size_t mark);
    bool Failed() const;

private:
    void Loop();

    mutable std::mutex m_Mutex;
    std::condition_variable m_Changed;
    std::deque<FinishItem> m_Items;
    size_t m_PendingFiles = 0;
    size_t m_Added = 0;
    size_t m_Finished = 0;
    bool m_Busy = false;
    bool m_Failed = false;
    bool m_Quit = false;
    std::thread m_Thread;
};
