#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// Runs the disk syncs of a backup (a fetched file synced and renamed into place, a channel's folder synced and its
// index copy written) on a thread of its own, in the order they were handed over, while the worker already
// fetches the next file: the transfer does not wait for the disk. A job that fails makes every later job be
// skipped and Failed() true; the worker checks it and ends the device's run.
class BackupFinisher
{
public:
    BackupFinisher();
    // Waits for the jobs handed over.
    ~BackupFinisher();
    BackupFinisher(const BackupFinisher&) = delete;
    BackupFinisher& operator=(const BackupFinisher&) = delete;

    // A job gets skip = true once an earlier one failed: it then only releases what it holds (its result does
    // not count).
    using Job = std::function<bool(bool skip)>;

    // Queues a job; waits while many are pending, so the disk bounds how far the transfer runs ahead.
    void Add(Job job);
    // Waits until every job handed over ran; true when all succeeded.
    bool Drain();
    // How many jobs were handed over so far: a mark for WaitFor.
    size_t Added() const;
    // Waits until the first `mark` jobs handed over ran; false when a job failed.
    bool WaitFor(size_t mark);
    bool Failed() const;

private:
    void Loop();

    mutable std::mutex m_Mutex;
    std::condition_variable m_Changed;
    std::deque<Job> m_Jobs;
    size_t m_Added = 0;
    size_t m_Ran = 0;
    bool m_Busy = false;
    bool m_Failed = false;
    bool m_Quit = false;
    std::thread m_Thread;
};
