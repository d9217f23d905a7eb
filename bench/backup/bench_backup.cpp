// What the backup adds to the transfer itself. A recorder with N days x 4 channels of records is backed up into
// an empty folder (index files, day lists, part files synced and renamed, index copies written atomically), and
// the same WAV files are fetched by a plain loop of CalvoxAPI_DownloadFile calls into a mirror of the recorder's
// tree (DownloadLoop.h), once leaving them to the page cache and once ending with one sync pass over everything
// it wrote. The goal compares the backup with the durable loop: the backup promises that what it reports is on
// the disk, so the floor is the cheapest way to get the same bytes there; the loop without syncs shows what that
// durability costs by itself. Each round runs the three in a rotated order, so a busy machine (or the page
// cache's writeback of the round before) weighs on all alike; min/median/max of each and the ratios of medians
// are printed. Every run's files are compared with the recorder's, byte for byte, outside the timed part.
//
//   bench_backup [--days N] [--records-per-channel N] [--seconds N] [--rounds N] [--only plain|durable|backup]
//
// --seconds is the length of each record's audio (A-law, 8000 bytes a second); --only runs one of the three,
// for strace or perf.
#include "DownloadLoop.h"
#include "backup/BackupThread.h"
#include "DataFolder.h"
#include "DeviceManage.h"
#include "KesDevice.h"
#include "SoftwareSetting.h"

#include "EmuFiles.h"
#include "Emulator.h"
#include "RecordTree.h"
#include "Spread.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace emu = calvox::emu;

namespace {

const char kId[] = "4F000000000000000005";  // 4 channels

enum Mode { kPlain, kDurable, kBackup, kModes };
const char* const kModeNames[kModes] = {"plain", "durable", "backup"};
const char* const kModeLabels[kModes] = {"download loop, no sync", "download loop, one sync pass (floor)",
                                         "backup"};

int Option(int argc, char** argv, const char* name, int fallback)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0)
            return std::max(1, std::atoi(argv[i + 1]));
    return fallback;
}

const char* TextOption(int argc, char** argv, const char* name)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0)
            return argv[i + 1];
    return nullptr;
}

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "%s\n", what.c_str());
    std::exit(1);
}

// The sorted digests of every .wav file below folder.
std::vector<QByteArray> WavDigests(const QString& folder)
{
    std::vector<QByteArray> digests;
    QDirIterator it(folder, {QStringLiteral("*.wav")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (!file.open(QIODevice::ReadOnly))
            Fail("cannot read " + file.fileName().toStdString());
        digests.push_back(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1));
    }
    std::sort(digests.begin(), digests.end());
    return digests;
}

// Each record file is written once, so that the loop's descriptors stay open until its sync pass.
void RaiseFileLimit()
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
}

// One backup into an empty folder; the number of files it fetched.
int RunBackup(const QString& root)
{
    g_SoftwareSetting.BackupPath = root + QLatin1Char('/');
    BackupThread thread;
    int fetched = 0;
    bool done = false;
    QObject::connect(&thread, &BackupThread::EventSignal, [&](BackupEventType event, KesDevice*, QString) {
        fetched += event == BackupEvent_FileStarted;
        done = done || event == BackupEvent_DeviceDone;
    });
    thread.Start();
    thread.wait();
    QCoreApplication::processEvents();
    return done ? fetched : -1;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int days = Option(argc, argv, "--days", 4);
    const int perChannel = Option(argc, argv, "--records-per-channel", 12);
    const int seconds = Option(argc, argv, "--seconds", 8);
    const int rounds = Option(argc, argv, "--rounds", 15);
    int only = -1;
    if (const char* name = TextOption(argc, argv, "--only")) {
        for (int m = 0; m < kModes; ++m)
            if (std::strcmp(name, kModeNames[m]) == 0)
                only = m;
        if (only < 0)
            Fail("--only takes plain, durable or backup");
    }
    RaiseFileLimit();

    QTemporaryDir storage, data;
    g_DataPath = data.path();
    MakeDataFolder(QStringLiteral("Devices"));
    std::vector<std::string> wavPaths;
    for (int d = 0; d < days; ++d) {
        for (int c = 1; c <= 4; ++c) {
            for (int i = 0; i < perChannel; ++i) {
                emu::FixtureRecord r;
                r.year = 24;
                r.month = 3;
                r.day = static_cast<uint8_t>(1 + d);
                r.hour = static_cast<uint8_t>(8 + i / 60);
                r.minute = static_cast<uint8_t>(i % 60);
                r.channel = c;
                r.phone = i % 2 ? "5550" + std::to_string(i) : std::string();
                r.audioBytes = static_cast<uint32_t>(seconds * 8000);
                if (emu::AddFixtureRecord(storage.path().toStdString(), r) < 0)
                    Fail("cannot write the recorder's records");
                wavPaths.push_back(emu::WavDevicePath(r.year, r.month, r.day, r.hour, r.minute, r.second, c));
            }
        }
    }
    qint64 wavBytes = 0;
    for (const std::string& path : wavPaths)
        wavBytes += QFileInfo(storage.path() + QString::fromStdString(path)).size();
    const std::vector<QByteArray> recorderDigests = WavDigests(storage.path());

    emu::Emulator emulator;
    emu::RecorderConfig config;
    config.id = kId;
    config.port = 0;
    emu::Recorder* recorder = emulator.Add(config);
    if (recorder == nullptr)
        Fail("cannot start the emulator (run inside unshare -n with lo up)");
    emu::ServeFiles(*recorder, storage.path().toStdString());

    DeviceManage manage;
    KesDevice* device = KesDevice::Create(QStringLiteral("Office"), QString::fromLatin1(kId));
    device->SetNetAddr(QStringLiteral("127.0.0.1"), recorder->Port());
    device->UserName = QStringLiteral("admin");
    device->Password = QStringLiteral("admin");
    if (!DeviceManage::AddDevice(device) || device->Login() != 0)
        Fail("cannot log in");
    device->CreateHeartbeatThread();
    for (int i = 0; i < 500 && CalvoxAPI_ConnectStatus(device->Handle) != Calvox_Connect_Online; ++i)
        QThread::msleep(10);

    std::printf("%zu records of %d s (%d days x 4 channels x %d), %.1f MiB of WAV files; %d rounds\n",
                wavPaths.size(), seconds, days, perChannel, wavBytes / (1024.0 * 1024.0), rounds);
    std::vector<double> runs[kModes];
    for (int round = 0; round < rounds; ++round) {
        std::printf("round %d:", round + 1);
        for (int k = 0; k < kModes; ++k) {
            const int mode = only >= 0 ? only : (round + k) % kModes;
            if (only >= 0 && k > 0)
                break;
            QTemporaryDir target;
            QElapsedTimer timer;
            timer.start();
            if (mode == kBackup) {
                const int fetched = RunBackup(target.path());
                if (fetched != static_cast<int>(wavPaths.size()))
                    Fail("the backup fetched " + std::to_string(fetched) + " of " + std::to_string(wavPaths.size())
                         + " files");
            } else {
                const DownloadLoopResult r = RunDownloadLoop(device->Handle, wavPaths, target.path(), mode == kDurable);
                if (!r.Ok)
                    Fail(r.Failure);
                if (r.Bytes != wavBytes)
                    Fail("the download loop wrote " + std::to_string(r.Bytes) + " of " + std::to_string(wavBytes)
                         + " bytes");
            }
            const qint64 ms = timer.elapsed();
            if (WavDigests(target.path()) != recorderDigests)
                Fail(std::string(kModeNames[mode]) + ": the files written are not the recorder's");
            runs[mode].push_back(double(ms));
            std::printf("   %s %5lld ms", kModeNames[mode], static_cast<long long>(ms));
        }
        std::printf("\n");
        std::fflush(stdout);
    }
    for (int m = 0; m < kModes; ++m)
        if (!runs[m].empty())
            bench::PrintSpread(kModeLabels[m], runs[m], "ms");
    if (only < 0) {
        const double goal = bench::RatioOfMedians(runs[kBackup], runs[kDurable]);
        std::printf("backup / durable loop, ratio of medians %.3fx (backup adds %+.1f %%; goal <= +5 %%)\n", goal,
                    100.0 * (goal - 1));
        std::printf("backup / loop without sync %.3fx; durable / without sync %.3fx (what the sync pass costs)\n",
                    bench::RatioOfMedians(runs[kBackup], runs[kPlain]),
                    bench::RatioOfMedians(runs[kDurable], runs[kPlain]));
        // The same comparison round by round: the two runs of a round follow each other, so a load that comes and
        // goes over seconds weighs on both.
        std::vector<double> paired;
        for (size_t i = 0; i < runs[kBackup].size(); ++i)
            paired.push_back(runs[kBackup][i] / std::max(1.0, runs[kDurable][i]));
        bench::PrintSpread("backup / durable loop, round by round", paired, "x");
    }
    return 0;
}
