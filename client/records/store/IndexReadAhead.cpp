#include "store/IndexReadAhead.h"

#include <algorithm>

namespace {

// Fields of the condition's Start and End.
enum { YearAt, MonthAt, DayAt, HourAt, MinuteAt };

// Days not yet walked may hold this much before fetching waits (one day is queued whatever its size): a few
// days of a large recorder, far more than the walk needs to never wait while the fetch keeps up.
constexpr std::size_t QueuedBytesLimit = std::size_t(8) << 20;

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
    m_dayReady.wait(lock, [this] { return !m_days.empty() || m_done; });
    if (m_days.empty())
        return false;
    *day = std::move(m_days.front().first);
    m_queuedBytes -= m_days.front().second;
    m_days.pop_front();
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
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_roomFree.wait(lock, [this] { return m_stop || m_days.empty() || m_queuedBytes < QueuedBytesLimit; });
        if (m_stop)
            return false;
        m_days.emplace_back(std::move(day), bytes);
        m_queuedBytes += bytes;
    }
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
        file.Data = std::move(owned);
        file.Size = size;
        fetched.Files.push_back(std::move(file));
        bytes += static_cast<std::size_t>(size);
    }
    if (failed) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_skips.Channels += failed;
    }
    if (!fetched.Files.empty())
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
