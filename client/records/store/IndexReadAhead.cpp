#include "store/IndexReadAhead.h"

#include <algorithm>
#include <cstring>

namespace {

// Fields of the condition's Start and End.
enum { YearAt, MonthAt, DayAt, HourAt, MinuteAt };

// Days not yet walked may hold this much before fetching waits (one day is queued whatever its size): a few
// days of a large recorder, far more than the walk needs to never wait while the fetch keeps up.
constexpr std::size_t QueuedBytesLimit = std::size_t(8) << 20;
// The walk is woken when the days fetched since it last took some hold this much (or the fetch ended), and
// then takes them all: waking a sleeping thread costs far more than walking a small day, and on a busy machine
// the woken walk takes the fetch's core from it. A year is one wake-up per day otherwise (a few hundred); a
// year of 64 channels x 10 records a day is 40 with this.
constexpr std::size_t HandOverBytes = std::size_t(1) << 20;

}  // namespace

IndexReadAhead::IndexReadAhead(RecordSearchStore& store, const RecordSearchCondition& condition)
    : m_store(store)
    , m_condition(condition)
    , m_thread([this] { Fetch(); })
{
}

IndexReadAhead::~IndexReadAhead()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_roomFree.notify_all();
    m_thread.join();
}

bool IndexReadAhead::Next(Day* day)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_taken.empty()) {
        m_dayReady.wait(lock, [this] { return m_queuedBytes >= HandOverBytes || m_done; });
        m_taken.swap(m_days);
        m_queuedBytes = 0;
        if (m_taken.empty())
            return false;
    }
    *day = std::move(m_taken.front().first);
    m_unwalkedBytes -= m_taken.front().second;
    m_taken.pop_front();
    lock.unlock();
    m_roomFree.notify_one();
    return true;
}

RecordSearchSkips IndexReadAhead::Skips()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_skips;
}

bool IndexReadAhead::Hand(Day&& day, std::size_t bytes)
{
    bool wake = false;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_roomFree.wait(lock, [this] { return m_stop || m_unwalkedBytes < QueuedBytesLimit; });
        if (m_stop)
            return false;
        wake = m_queuedBytes < HandOverBytes && m_queuedBytes + bytes >= HandOverBytes;
        m_days.emplace_back(std::move(day), bytes);
        m_queuedBytes += bytes;
        m_unwalkedBytes += bytes;
    }
    if (wake)
        m_dayReady.notify_one();
    return true;
}

void IndexReadAhead::FetchDay(unsigned char year, unsigned char month, unsigned char day, int from, int to)
{
    Day fetched;
    fetched.Year = year;
    fetched.Month = month;
    fetched.Day = day;
    fetched.From = from;
    fetched.To = to;
    std::vector<std::unique_ptr<unsigned char[]>> read;  // the store's buffers, by file
    std::size_t bytes = 0;
    int failed = 0;
    for (int channel = 0; channel < m_store.Channels; ++channel) {
        if (!m_store.Source->ChannelVisible(channel))
            continue;
        if (m_condition.ChannelFilter && !m_store.ChannelFlags[channel])
            continue;
        unsigned char* buffer = nullptr;
        int size = 0;
        const auto result = m_store.Source->ReadIndex(year, month, day, channel, &buffer, &size);
        if (result == RecordSearchSource::IndexResult::Failed)
            ++failed;
        if (result != RecordSearchSource::IndexResult::Read)
            continue;
        std::unique_ptr<unsigned char[]> owned(buffer);
        if (size <= 0)
            continue;
        File file;
        file.Channel = channel;
        file.ChannelName = m_store.Source->ChannelName(channel);
        file.Size = size;
        fetched.Files.push_back(std::move(file));
        read.push_back(std::move(owned));
        bytes += static_cast<std::size_t>(size);
    }
    if (failed) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_skips.Channels += failed;
    }
    if (fetched.Files.empty())
        return;
    // The day's files move into one buffer, and the store's buffers are freed here, on the thread that made
    // them: the walk then frees one block per day, not one per file into another thread's heap.
    const std::shared_ptr<unsigned char[]> whole(new unsigned char[bytes]);
    std::size_t at = 0;
    for (std::size_t i = 0; i < read.size(); ++i) {
        File& file = fetched.Files[i];
        std::memcpy(whole.get() + at, read[i].get(), static_cast<std::size_t>(file.Size));
        file.Data = std::shared_ptr<unsigned char[]>(whole, whole.get() + at);
        at += static_cast<std::size_t>(file.Size);
    }
    read.clear();
    Hand(std::move(fetched), bytes);
}

void IndexReadAhead::Fetch()
{
    const unsigned char* start = m_condition.Start;
    const unsigned char* end = m_condition.End;
    auto stopped = [this] {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_stop;
    };
    for (int year = start[YearAt]; year <= end[YearAt] && !stopped(); ++year) {
        const int firstMonth = std::max(1, year == start[YearAt] ? int(start[MonthAt]) : 1);
        const int lastMonth = std::min(12, year == end[YearAt] ? int(end[MonthAt]) : 12);
        for (int month = firstMonth; month <= lastMonth && !stopped(); ++month) {
            const bool firstOfRange = year == start[YearAt] && month == start[MonthAt];
            const bool lastOfRange = year == end[YearAt] && month == end[MonthAt];
            const int firstDay = std::max(1, firstOfRange ? int(start[DayAt]) : 1);
            const int lastDay = std::min(31, lastOfRange ? int(end[DayAt]) : 31);
            if (firstDay > lastDay)
                continue;
            unsigned char days[32] = {};
            if (!m_store.Source->DayList(static_cast<unsigned char>(year), static_cast<unsigned char>(month),
                                         days)) {
                std::lock_guard<std::mutex> lock(m_mutex);
                ++m_skips.Months;
                continue;
            }
            for (int day = firstDay; day <= lastDay && !stopped(); ++day) {
                if (!days[day])
                    continue;
                int from = 0;
                int to = 23 * 60 + 59;
                if (firstOfRange && day == start[DayAt])
                    from = start[HourAt] * 60 + start[MinuteAt];
                if (lastOfRange && day == end[DayAt])
                    to = end[HourAt] * 60 + end[MinuteAt];
                FetchDay(static_cast<unsigned char>(year), static_cast<unsigned char>(month),
                         static_cast<unsigned char>(day), from, to);
            }
        }
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_done = true;
    }
    m_dayReady.notify_all();
}
