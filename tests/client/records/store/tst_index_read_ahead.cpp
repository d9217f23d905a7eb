// The index files of a search window fetched ahead on a thread of their own: the store is asked exactly what a
// search fetching in turn would ask, in its order; days come out in order with the files that hold records;
// fetching stays a few days ahead of a slow walk and stops at once when the walk ends early.
#include "RecordFixture.h"

#include "store/IndexReadAhead.h"

#include <QtTest>

#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>

namespace {

// Logs every call; the index file of a day and channel is chosen by the test ("read", "missing", "failed",
// "empty"; unlisted: missing). A read file holds its own "day/channel" text.
class LoggingSource : public RecordSearchSource
{
public:
    QStringList log;
    QMap<int, QList<int>> listedDays;  // by month; an absent month's list fails
    QMap<QString, QString> files;      // "month/day/channel" -> result
    int hiddenChannel = -1;

    bool LatestRecordDate(unsigned char*, unsigned char*, unsigned char*) override { return false; }
    bool DayList(unsigned char year, unsigned char month, unsigned char days[32]) override
    {
        log << QStringLiteral("days %1/%2").arg(year).arg(month);
        if (!listedDays.contains(month))
            return false;
        std::memset(days, 0, 32);
        for (int day : listedDays[month])
            days[day] = 1;
        return true;
    }
    bool ChannelVisible(int channel) override
    {
        log << QStringLiteral("visible %1").arg(channel);
        return channel != hiddenChannel;
    }
    QString ChannelName(int channel) override
    {
        log << QStringLiteral("name %1").arg(channel);
        return QStringLiteral("Line %1").arg(channel + 1);
    }
    IndexResult ReadIndex(unsigned char year, unsigned char month, unsigned char day, int channel,
                          unsigned char** buffer, int* size) override
    {
        const QString key = QStringLiteral("%1/%2/%3").arg(month).arg(day).arg(channel);
        log << QStringLiteral("read %1/").arg(year) + key;
        const QString result = files.value(key, "missing");
        if (result == "failed")
            return IndexResult::Failed;
        if (result == "missing")
            return IndexResult::Missing;
        const QByteArray text = result == "read" ? key.toLatin1() : QByteArray();
        *buffer = text.isEmpty() ? nullptr : new unsigned char[text.size()];
        if (*buffer)
            std::memcpy(*buffer, text.constData(), text.size());
        *size = text.size();
        return IndexResult::Read;
    }
};

// Every day of January 2024 lists one channel whose file has `fileSize` bytes; counts the files read and lets
// a test wait until that many were read.
class LargeFilesSource : public RecordSearchSource
{
public:
    explicit LargeFilesSource(int fileSize)
        : m_fileSize(fileSize)
    {
    }

    bool LatestRecordDate(unsigned char*, unsigned char*, unsigned char*) override { return false; }
    bool DayList(unsigned char, unsigned char, unsigned char days[32]) override
    {
        std::memset(days, 1, 32);
        return true;
    }
    IndexResult ReadIndex(unsigned char, unsigned char, unsigned char, int, unsigned char** buffer,
                          int* size) override
    {
        *buffer = new unsigned char[m_fileSize];
        *size = m_fileSize;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            ++m_read;
        }
        m_changed.notify_all();
        return IndexResult::Read;
    }

    int Read()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_read;
    }
    void WaitUntilRead(int count)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [&] { return m_read >= count; });
    }

private:
    const int m_fileSize;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_read = 0;
};

// One channel of LargeFilesSource's 3 MB files, every day of January 2024 up to the given day.
RecordSearchCondition LargeFilesStore(RecordSearchStore* store, LargeFilesSource** source, int lastDay)
{
    auto owned = std::make_unique<LargeFilesSource>(3 << 20);
    *source = owned.get();
    store->Source = std::move(owned);
    store->Channels = 1;
    RecordSearchCondition c;
    SetWindow(c, 2024, 1, 1, 0, 0, 2024, 1, lastDay, 23, 59);
    return c;
}

}  // namespace

class IndexReadAheadTest : public QObject
{
    Q_OBJECT

private slots:
    // Across a year's end, a month whose day list fails, a hidden channel, a channel left out by the channel
    // filter, and files read, missing, failed and empty: the calls and their order are those of a search that
    // fetches each file just before walking it; only days with records come out, each with its window.
    void asksTheStoreInTheSearchsOrder()
    {
        auto owned = std::make_unique<LoggingSource>();
        LoggingSource* source = owned.get();
        source->listedDays = {{12, {29, 30, 31}}, {2, {1, 2}}};
        source->hiddenChannel = 1;
        source->files = {{"12/30/0", "read"}, {"12/30/2", "failed"}, {"12/31/2", "empty"},
                         {"2/1/0", "read"},   {"2/1/2", "read"},     {"2/1/3", "read"}};
        RecordSearchStore store;
        store.Source = std::move(owned);
        store.Channels = 4;
        std::fill(std::begin(store.ChannelFlags), std::end(store.ChannelFlags), true);
        store.ChannelFlags[3] = false;
        RecordSearchCondition c;
        c.ChannelFilter = true;
        SetWindow(c, 2023, 12, 30, 22, 0, 2024, 2, 1, 1, 0);

        QStringList days;
        RecordSearchSkips skips;
        {
            IndexReadAhead reader(store, c);
            IndexReadAhead::Day day;
            while (reader.Next(&day)) {
                QStringList files;
                for (const IndexReadAhead::File& file : day.Files)
                    files << QStringLiteral("%1 %2 ").arg(file.Channel).arg(file.ChannelName)
                                 + QString::fromLatin1(reinterpret_cast<const char*>(file.Data.get()), file.Size);
                days << QStringLiteral("%1-%2-%3 %4..%5: ")
                                .arg(day.Year)
                                .arg(day.Month)
                                .arg(day.Day)
                                .arg(day.From)
                                .arg(day.To)
                            + files.join(", ");
            }
            QVERIFY(!reader.Next(&day));
            skips = reader.Skips();
        }
        QCOMPARE(days, QStringList({"23-12-30 1320..1439: 0 Line 1 12/30/0",
                                    "24-2-1 0..60: 0 Line 1 2/1/0, 2 Line 3 2/1/2"}));
        QCOMPARE(skips.Months, 1);
        QCOMPARE(skips.Channels, 1);
        QCOMPARE(source->log,
                 QStringList({"days 23/12",   "visible 0",      "read 23/12/30/0", "name 0",
                              "visible 1",    "visible 2",      "read 23/12/30/2", "visible 3",
                              "visible 0",    "read 23/12/31/0", "visible 1",      "visible 2",
                              "read 23/12/31/2", "visible 3",   "days 24/1",       "days 24/2",
                              "visible 0",    "read 24/2/1/0",  "name 0",          "visible 1",
                              "visible 2",    "read 24/2/1/2",  "name 2",          "visible 3"}));
    }

    // Days of 3 MB each: the fetch runs at most a few days ahead of a walk that has not taken them yet, and
    // every day still comes out in order.
    void staysAFewDaysAhead()
    {
        RecordSearchStore store;
        LargeFilesSource* source = nullptr;
        const RecordSearchCondition c = LargeFilesStore(&store, &source, 20);

        IndexReadAhead reader(store, c);
        // Three days fill the queue past its bound; the fourth is read and then waits for room.
        source->WaitUntilRead(4);
        int taken = 0;
        IndexReadAhead::Day day;
        while (reader.Next(&day)) {
            ++taken;
            QCOMPARE(int(day.Day), taken);
            QVERIFY2(source->Read() <= taken + 4, qPrintable(QStringLiteral("%1 read, %2 taken")
                                                                  .arg(source->Read())
                                                                  .arg(taken)));
        }
        QCOMPARE(taken, 20);
    }

    // A walk that ends early (the reader destroyed with days unread, the fetch waiting for room) ends the
    // fetch without reading the rest.
    void endsEarly()
    {
        RecordSearchStore store;
        LargeFilesSource* source = nullptr;
        const RecordSearchCondition c = LargeFilesStore(&store, &source, 31);
        {
            IndexReadAhead reader(store, c);
            source->WaitUntilRead(4);
            IndexReadAhead::Day day;
            QVERIFY(reader.Next(&day));
            QCOMPARE(int(day.Day), 1);
        }
        QVERIFY(source->Read() <= 6);
    }
};

QTEST_GUILESS_MAIN(IndexReadAheadTest)
#include "tst_index_read_ahead.moc"
