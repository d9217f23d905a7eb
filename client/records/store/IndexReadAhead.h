#pragma once

#include "store/RecordSearch.h"

#include <QString>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// The index files of a search window, fetched from the store on a thread of its own, in the order the search
// walks them (day by day, channel by channel), while the caller walks the days already fetched: reading files
// (system calls, or a recorder's downloads) and making rows overlap instead of taking turns.
//
// Every call into the store (day lists, channel visibility and names, index files) happens on that thread,
// in the same order and with the same arguments as a search that fetches and walks in turn. Days are handed
// over whole and in batches of about a megabyte, so the two threads meet a few dozen times in a year of a large
// recorder rather than once per file or day; fetching pauses while the days not yet walked hold more than a few
// megabytes, so a slow walk never makes the whole window sit in memory.
class IndexReadAhead
{
public:
    struct File {
        int Channel = 0;  // from 0
        QString ChannelName;
        std::shared_ptr<unsigned char[]> Data;  // a part of one buffer that all the day's files share
        int Size = 0;  // > 0
    };
    struct Day {
        unsigned char Year = 0;  // - 2000
        unsigned char Month = 0;
        unsigned char Day = 0;
        int From = 0;  // the day's window in minutes of the day, inclusive
        int To = 0;
        std::vector<File> Files;  // the channels whose index file was read and is not empty, in channel order
    };

    // Starts fetching the days of condition's window (Start..End) that the store lists, and of each day the
    // channels the store shows (and, with ChannelFilter, that store.ChannelFlags selects), channels below
    // store.Channels. The store and the condition must outlive this object and stay unchanged meanwhile.
    IndexReadAhead(RecordSearchStore& store, const RecordSearchCondition& condition);
    // Stops fetching (a file being read is finished first) and waits for the thread.
    ~IndexReadAhead();
    IndexReadAhead(const IndexReadAhead&) = delete;
    IndexReadAhead& operator=(const IndexReadAhead&) = delete;

    // The next day in order, waiting for it when it is still being fetched; false once every day was handed
    // out.
    bool Next(Day* day);
    // What the fetch had to leave out (months whose day list failed, index files that failed); final once
    // Next returned false.
    RecordSearchSkips Skips();

private:
    void Fetch();
    void FetchDay(unsigned char year, unsigned char month, unsigned char day, int from, int to);
    // Queues the day; false when the reader is being stopped.
    bool Hand(Day&& day, std::size_t bytes);

    RecordSearchStore& m_store;
    const RecordSearchCondition& m_condition;

    std::mutex m_mutex;
    std::condition_variable m_dayReady;  // a batch of days queued, or the fetch ended
    std::condition_variable m_roomFree;  // days taken, or stop asked
    std::deque<std::pair<Day, std::size_t>> m_days;   // fetched, with their bytes
    std::deque<std::pair<Day, std::size_t>> m_taken;  // taken from m_days at once, handed out one by one
    std::size_t m_queuedBytes = 0;                    // of m_days
    std::size_t m_unwalkedBytes = 0;                  // of m_days and m_taken
    bool m_done = false;
    bool m_stop = false;
    RecordSearchSkips m_skips;

    std::thread m_thread;  // last: starts once everything above is made
};
