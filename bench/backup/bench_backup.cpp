// What the backup adds to the transfer itself: a recorder with N days x 4 channels of records is backed up into
// an empty folder (index files, day lists, part files synced and renamed, index copies written atomically), and
// the same WAV files are fetched by a plain loop of CalvoxAPI_DownloadFile calls whose callback only counts the
// bytes: the floor for this protocol on this machine. Rounds alternate, so a busy machine slows both alike;
// min/median/max of each and the ratio of medians are printed.
//
//   bench_backup [--days N] [--records-per-channel N] [--kib N] [--rounds N]
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
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace emu = calvox::emu;

namespace {

const char kId[] = "4F000000000000000005";  // 4 channels

int Option(int argc, char** argv, const char* name, int fallback)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0)
            return std::max(1, std::atoi(argv[i + 1]));
    return fallback;
}

double MiBps(qint64 bytes, qint64 ms) { return bytes / (1024.0 * 1024.0) / (std::max<qint64>(ms, 1) / 1000.0); }

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int days = Option(argc, argv, "--days", 2);
    const int perChannel = Option(argc, argv, "--records-per-channel", 12);
    const int kib = Option(argc, argv, "--kib", 64);
    const int rounds = std::max(5, Option(argc, argv, "--rounds", 7));

    QTemporaryDir storage, data;
    g_DataPath = data.path();
    MakeDataFolder(QStringLiteral("Devices"));
    std::vector<std::string> wavPaths;
    qint64 wavBytes = 0;
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
                r.audioBytes = static_cast<uint32_t>(kib * 1024);
                if (emu::AddFixtureRecord(storage.path().toStdString(), r) < 0) {
                    std::fprintf(stderr, "cannot write the recorder's records\n");
                    return 1;
                }
                wavPaths.push_back(emu::WavDevicePath(r.year, r.month, r.day, r.hour, r.minute, r.second, c));
            }
        }
    }
    for (const std::string& path : wavPaths)
        wavBytes += QFileInfo(storage.path() + QString::fromStdString(path)).size();

    emu::Emulator emulator;
    emu::RecorderConfig config;
    config.id = kId;
    config.port = 0;
    emu::Recorder* recorder = emulator.Add(config);
    if (recorder == nullptr) {
        std::fprintf(stderr, "cannot start the emulator (run inside unshare -n with lo up)\n");
        return 1;
    }
    emu::ServeFiles(*recorder, storage.path().toStdString());

    DeviceManage manage;
    KesDevice* device = KesDevice::Create(QStringLiteral("Office"), QString::fromLatin1(kId));
    device->SetNetAddr(QStringLiteral("127.0.0.1"), recorder->Port());
    device->UserName = QStringLiteral("admin");
    device->Password = QStringLiteral("admin");
    if (!DeviceManage::AddDevice(device) || device->Login() != 0) {
        std::fprintf(stderr, "cannot log in\n");
        return 1;
    }
    device->CreateHeartbeatThread();
    for (int i = 0; i < 500 && CalvoxAPI_ConnectStatus(device->Handle) != Calvox_Connect_Online; ++i)
        QThread::msleep(10);

    std::printf("%zu WAV files of %d KiB (%d days x 4 channels x %d), %.1f MiB; %d rounds\n", wavPaths.size(),
                kib, days, perChannel, wavBytes / (1024.0 * 1024.0), rounds);
    std::vector<double> plainRounds, backupRounds;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        qint64 received = 0;
        const Calvox_EventCallback count = [&received](Calvox_EventType event, int, unsigned char*, int length) {
            if (event == Calvox_Event_FileData)
                received += length;
            return 0;
        };
        for (const std::string& path : wavPaths) {
            if (CalvoxAPI_DownloadFile(device->Handle, path.c_str(), &count) != 0) {
                std::fprintf(stderr, "plain download of %s failed\n", path.c_str());
                return 1;
            }
        }
        const qint64 plainMs = timer.elapsed();
        if (received != wavBytes) {
            std::fprintf(stderr, "plain loop received %lld of %lld bytes\n", static_cast<long long>(received),
                         static_cast<long long>(wavBytes));
            return 1;
        }

        QTemporaryDir backup;
        g_SoftwareSetting.BackupPath = backup.path() + QLatin1Char('/');
        BackupThread thread;
        int fetched = 0;
        bool done = false;
        QObject::connect(&thread, &BackupThread::EventSignal, [&](BackupEventType event, KesDevice*, QString) {
            fetched += event == BackupEvent_FileStarted;
            done = done || event == BackupEvent_DeviceDone;
        });
        timer.restart();
        thread.Start();
        thread.wait();
        const qint64 backupMs = timer.elapsed();
        QCoreApplication::processEvents();
        if (!done || fetched != static_cast<int>(wavPaths.size())) {
            std::fprintf(stderr, "the backup fetched %d of %zu files\n", fetched, wavPaths.size());
            return 1;
        }
        std::printf("round %d: plain loop %6lld ms %7.2f MiB/s   backup %6lld ms %7.2f MiB/s\n", round + 1,
                    static_cast<long long>(plainMs), MiBps(wavBytes, plainMs), static_cast<long long>(backupMs),
                    MiBps(wavBytes, backupMs));
        plainRounds.push_back(double(plainMs));
        backupRounds.push_back(double(backupMs));
    }
    bench::PrintSpread("plain CalvoxAPI_DownloadFile loop", plainRounds, "ms");
    bench::PrintSpread("backup", backupRounds, "ms");
    const double ratio = bench::RatioOfMedians(backupRounds, plainRounds);
    std::printf("backup / plain loop, ratio of medians %.3fx (backup adds %+.1f %% time)\n", ratio, 100.0 * (ratio - 1));
    return 0;
}
