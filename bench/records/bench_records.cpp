// Record search over a PC backup of one year x 64 channels x 10 records a day, with 5,000 contacts, beside the
// floor: reading the same index files and walking their present entries, nothing more. Beside the times, the CPU
// time of the floor and of a search without a filter (all threads, and the search's own thread): on a busy
// machine the wall time follows the CPU time, the read-ahead thread no longer running beside the search.
//   bench_records [runs]      (at least 5; default 7)
//   bench_records profile [name]
#include "DataFolder.h"
#include "LanguageTexts.h"
#include "SoftwareSetting.h"
#include "contacts/Contacts.h"
#include "store/LocalRecordDevice.h"
#include "store/RecordIndexFile.h"
#include "store/RecordSearch.h"

#include "Spread.h"
#include "ZGridListData.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QThreadPool>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Year = 2024;
constexpr int Channels = 64;
constexpr int RecordsPerDay = 10;
constexpr int ContactCount = 5000;
const QString Id = QStringLiteral("KW0123456789ABCDEF01");

LocalRecordDevice g_Device;

bool Lookup(const QString& name, LocalRecordDevice* device)
{
    if (name != QLatin1String("Bench"))
        return false;
    *device = g_Device;
    return true;
}

QString Number(int i)
{
    return QStringLiteral("0755%1").arg(i, 6, 10, QLatin1Char('0'));
}

void WriteTree(const QString& root)
{
    std::vector<char> file(512 + 128 * RecordsPerDay, '\0');
    file[0] = static_cast<char>(0xff);
    file[1] = static_cast<char>(0x03);  // ten present
    file[510] = RecordsPerDay;
    int serial = 0;
    for (QDate date(Year, 1, 1); date.year() == Year; date = date.addDays(1)) {
        const QString day = root + QStringLiteral("/%1%2/%3/")
                                       .arg(date.year() - 2000, 2, 10, QLatin1Char('0'))
                                       .arg(date.month(), 2, 10, QLatin1Char('0'))
                                       .arg(date.day(), 2, 10, QLatin1Char('0'));
        QDir().mkpath(day);
        for (int channel = 1; channel <= Channels; ++channel) {
            for (int r = 0; r < RecordsPerDay; ++r) {
                RecordIndexEntry e;
                std::memset(&e, 0, sizeof e);
                e.Year = static_cast<uint8_t>(date.year() - 2000);
                e.Month = static_cast<uint8_t>(date.month());
                e.Day = static_cast<uint8_t>(date.day());
                e.Hour = static_cast<uint8_t>(8 + r);
                e.Minute = static_cast<uint8_t>(channel % 60);
                e.Type = static_cast<uint8_t>(serial % 3);
                e.Rings = static_cast<uint8_t>(serial % 5);
                e.TalkTime = static_cast<uint16_t>(serial % 900);
                // Half the calls are from known contacts.
                const QByteArray phone = Number(serial % (2 * ContactCount)).toLatin1();
                e.PhoneLength = static_cast<uint8_t>(phone.size());
                std::memcpy(e.PhoneNumber, phone.constData(), static_cast<std::size_t>(phone.size()));
                if (serial % 7 == 0)
                    std::memcpy(e.Notes, "call back tomorrow", 18);
                std::memcpy(file.data() + 512 + 128 * r, &e, sizeof e);
                ++serial;
            }
            QFile out(day + QStringLiteral("CH%1.Index").arg(channel, 2, 10, QLatin1Char('0')));
            if (!out.open(QIODevice::WriteOnly) || out.write(file.data(), qint64(file.size())) != qint64(file.size()))
                std::fprintf(stderr, "cannot write the tree\n");
        }
    }
}

// The floor: open, read whole, close, walk the present entries of every index file of the year.
long long ReadAndParse(const QString& root)
{
    long long present = 0;
    std::vector<unsigned char> buffer;
    RecordIndexEntry entry;
    for (QDate date(Year, 1, 1); date.year() == Year; date = date.addDays(1)) {
        char day[512];
        std::snprintf(day, sizeof day, "%s/%02d%02d/%02d/", root.toLocal8Bit().constData(), date.year() - 2000,
                      date.month(), date.day());
        for (int channel = 1; channel <= Channels; ++channel) {
            char path[600];
            std::snprintf(path, sizeof path, "%sCH%02d.Index", day, channel);
            const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
            if (fd < 0)
                continue;
            const off_t size = ::lseek(fd, 0, SEEK_END);
            buffer.resize(static_cast<std::size_t>(size));
            const ssize_t got = ::pread(fd, buffer.data(), buffer.size(), 0);
            ::close(fd);
            const RecordIndexFile file(buffer.data(), got);
            for (int i = 0; i < file.RecordCount(); ++i)
                if (file.IsPresent(i) && file.ReadEntry(i, &entry))
                    present += entry.Type < 255 ? 1 : 0;
        }
    }
    return present;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir data;
    QTemporaryDir backup;
    g_DataPath = data.path();
    InitContacts();
    QJsonArray contacts;
    for (int i = 0; i < ContactCount; ++i)
        contacts.append(QJsonObject{{"Name", QStringLiteral("Contact %1").arg(i)}, {"Gender", 0},
                                    {"PhoneNum", Number(i)}, {"CompanyNum", ""}});
    QFile book(ContactsRoot + "/Book");
    if (!book.open(QIODevice::WriteOnly) ||
        book.write(QJsonDocument(QJsonObject{{"Contacts", contacts}}).toJson()) <= 0)
        return 1;
    book.close();
    LoadContactsFolder(ContactsRoot);

    g_SoftwareSetting.BackupPath = backup.path() + "/";
    std::printf("writing %d index files ...\n", 366 * Channels);
    WriteTree(backup.path() + "/" + Id);
    g_Device.ID = Id;
    g_Device.Channels = Channels;
    std::fill(std::begin(g_Device.ChannelFlags), std::end(g_Device.ChannelFlags), true);
    SetLocalRecordDeviceLookup(&Lookup);
    TextDevice032 = QStringLiteral(
        "Inbound|Outbound|Missed|Key Control|Voice Trigger|Continuous|Auto-Answer|Timing|Polarity").split('|');

    RecordSearchCondition& c = g_RecordSearchCondition;
    c.Target = 1;
    c.Device = "Bench";
    c.TimeFilter = true;
    const unsigned char start[7] = {Year - 2000, 1, 1, 0, 0, 0, 0};
    const unsigned char end[7] = {Year - 2000, 12, 31, 23, 59, 0, 0};
    std::memcpy(c.Start, start, 7);
    std::memcpy(c.End, end, 7);

    // "profile [name]": one search (by contact name when given) alone, many times over, for a profiler.
    if (argc > 1 && std::strcmp(argv[1], "profile") == 0) {
        c.NameFilter = argc > 2;
        c.Name = argc > 2 ? argv[2] : "";
        for (int i = 0; i < 30; ++i) {
            SearchRecords();
            QThreadPool::globalInstance()->waitForDone();  // as in the timed runs: the rows freed in between
        }
        FreeContacts();
        return 0;
    }
    // The searches run as the record page runs them: each one first clears the table that still holds the
    // previous result, and here that is always a full year's result (an unfiltered search runs, untimed, before
    // each timed one), as after a user's first broad search. Runs are interleaved with the floor, so that load
    // from other programs on the shared machine weighs on both alike.
    const int rounds = argc > 1 ? std::max(5, std::atoi(argv[1])) : 7;
    std::vector<double> floor, all, phone, name;
    long long present = 0;
    int rows = 0, phoneRows = 0, nameRows = 0;
    std::vector<double> floorCpu, allCpu, allOwnCpu;
    auto cpu = [](int who) {
        rusage use{};
        getrusage(who, &use);
        return (use.ru_utime.tv_sec + use.ru_stime.tv_sec) * 1e3
            + (use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e3;
    };
    auto timed = [](std::vector<double>& runs, auto f) {
        // A user's next search comes seconds later: whatever the last search left to a pool thread (freeing the
        // rows it replaced) is done by then, and does not weigh on the next figure.
        QThreadPool::globalInstance()->waitForDone();
        QElapsedTimer timer;
        timer.start();
        f();
        runs.push_back(timer.nsecsElapsed() / 1e6);
    };
    auto fullResult = [&c] {
        c.PhoneFilter = c.NameFilter = false;
        SearchRecords();
    };
    fullResult();
    for (int round = 0; round < rounds; ++round) {
        // The CPU figures start once the pool has freed the rows of the searches before (see timed).
        QThreadPool::globalInstance()->waitForDone();
        double before = cpu(RUSAGE_SELF);
        timed(floor, [&] { present = ReadAndParse(backup.path() + "/" + Id); });
        floorCpu.push_back(cpu(RUSAGE_SELF) - before);
        c.PhoneFilter = c.NameFilter = false;
        QThreadPool::globalInstance()->waitForDone();
        before = cpu(RUSAGE_SELF);
        const double ownBefore = cpu(RUSAGE_THREAD);
        timed(all, [&] { rows = SearchRecords()->Rows.size(); });
        allCpu.push_back(cpu(RUSAGE_SELF) - before);
        allOwnCpu.push_back(cpu(RUSAGE_THREAD) - ownBefore);
        c.PhoneFilter = true;
        c.Phone = "07550012";
        timed(phone, [&] { phoneRows = SearchRecords()->Rows.size(); });
        fullResult();
        c.PhoneFilter = false;
        c.NameFilter = true;
        c.Name = "contact 42";
        timed(name, [&] { nameRows = SearchRecords()->Rows.size(); });
        fullResult();
    }

    std::printf("%d interleaved runs, ms; each search clears a full result of %d rows first\n", rounds, rows);
    char label[96];
    std::snprintf(label, sizeof label, "floor: read and parse %lld records", present);
    bench::PrintSpread(label, floor, "ms", 48);
    std::snprintf(label, sizeof label, "search, no filter (%d rows)", rows);
    bench::PrintSpread(label, all, "ms", 48);
    std::snprintf(label, sizeof label, "search, phone contains 07550012 (%d rows)", phoneRows);
    bench::PrintSpread(label, phone, "ms", 48);
    std::snprintf(label, sizeof label, "search, name contains contact 42 (%d rows)", nameRows);
    bench::PrintSpread(label, name, "ms", 48);
    bench::PrintSpread("CPU: floor", floorCpu, "ms", 48);
    bench::PrintSpread("CPU: search, no filter, all threads", allCpu, "ms", 48);
    bench::PrintSpread("CPU: search, no filter, search thread", allOwnCpu, "ms", 48);
    std::printf("ratio of medians to the floor: no filter %.2fx, phone %.2fx, name %.2fx\n",
                bench::RatioOfMedians(all, floor), bench::RatioOfMedians(phone, floor),
                bench::RatioOfMedians(name, floor));
    FreeContacts();
    return 0;
}
