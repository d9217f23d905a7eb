// The backup worker end to end: the SDK against the recorder emulator in this process, the device list and the
// backup tree in temporary folders. The SDK's waits (and the worker's retry wait) are scaled down.
#include "BackupFixture.h"
#include "EmuSessions.h"
#include "TestFolders.h"

#include "backup/BackupDay.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QtEndian>

#include <atomic>
#include <csignal>

namespace {

const char kId[] = "4F000000000000000005";   // 4 channels
const char kId2[] = "4B000000000000000007";  // 4 channels

// Two days across a month end, four channels; channel 3 has no index on the second day; a missed call and a
// record with phone digits.
void FillTwoDays(const QString& storage)
{
    const std::string root = storage.toStdString();
    const QList<emu::FixtureRecord> records = {
        Record(2024, 1, 31, 9, 0, 1),
        Record(2024, 1, 31, 9, 30, 1, 1, "5551234"),
        Record(2024, 1, 31, 10, 0, 2),
        Record(2024, 1, 31, 11, 0, 3, 2, "777"),  // missed: no audio
        Record(2024, 1, 31, 12, 0, 4),
        Record(2024, 2, 1, 8, 0, 1),
        Record(2024, 2, 1, 8, 15, 2, 0, "0123"),
        Record(2024, 2, 1, 8, 30, 4),
        Record(2024, 2, 1, 8, 45, 4),
    };
    for (const emu::FixtureRecord& r : records)
        QVERIFY(emu::AddFixtureRecord(root, r) >= 0);
}

// The device "Office" online, its recorder holding the two days.
void OfficeWithTwoDays(BackupRig& rig, BackupRig::Unit* unit)
{
    *unit = rig.Add(QStringLiteral("Office"), kId);
    QVERIFY(unit->Device);
    FillTwoDays(unit->Storage);
}

bool RunToEnd(BackupThread& thread)
{
    thread.Start();
    return thread.wait(60000);
}

}  // namespace

class BackupThreadTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("CALVOX_TIME_SCALE"))
            qputenv("CALVOX_TIME_SCALE", "0.05");
    }

    void copiesTheTreeAndASecondRunFetchesNoRecord()
    {
        BackupRig rig;
        BackupRig::Unit unit;
        OfficeWithTwoDays(rig, &unit);
        QVERIFY(!QTest::currentTestFailed());
        BackupThread thread;
        BackupEvents events(&thread);
        QVERIFY(RunToEnd(thread));
        QCOMPARE(events.Types(), (QList<int>{1, 4, 8, 8, 8, 8, 8, 8, 8, 8, 5, 2}));

        // The recorder's tree below the device's folder: index copies byte for byte, a WAV file for every record
        // with audio, the phone digits in the name, nothing for the missed call or the missing index.
        const QString local = rig.BackupPath() + kId;
        const QStringList expected = {
            "2401/31/CH01.Index", "2401/31/CH01/240131090000-CH01.wav", "2401/31/CH01/240131093000-CH01-5551234.wav",
            "2401/31/CH02.Index", "2401/31/CH02/240131100000-CH02.wav", "2401/31/CH03.Index",
            "2401/31/CH04.Index", "2401/31/CH04/240131120000-CH04.wav", "2402/01/CH01.Index",
            "2402/01/CH01/240201080000-CH01.wav", "2402/01/CH02.Index", "2402/01/CH02/240201081500-CH02-0123.wav",
            "2402/01/CH04.Index", "2402/01/CH04/240201083000-CH04.wav", "2402/01/CH04/240201084500-CH04.wav",
        };
        QCOMPARE(FilesBelow(local), expected);
        for (const QString& file : expected) {
            QString devicePath = unit.Storage + QStringLiteral("/RecordFiles/") + file;
            devicePath.remove(QRegularExpression("-[0-9]+(?=\\.wav$)"));
            const QByteArray original = ReadBytes(devicePath);
            QVERIFY2(!original.isEmpty(), qPrintable(devicePath));
            QVERIFY2(ReadBytes(local + QLatin1Char('/') + file) == original, qPrintable(file));
        }
        // An empty backup starts at the recorder's oldest day: only the two months that hold records are asked.
        QList<QPair<int, int>> months;
        for (const emu::LoggedRequest& r : unit.Recorder->Log())
            if (r.command == 33 && r.payload.size() >= 2)
                months << qMakePair(int(r.payload[0]), int(r.payload[1]));
        QCOMPARE(months, (QList<QPair<int, int>>{{24, 1}, {24, 2}}));

        const QJsonObject list = QJsonDocument::fromJson(ReadBytes(rig.BackupPath() + "LocalDeviceList")).object();
        QCOMPARE(list.value(kId).toObject().value("Name").toString(), QString("Office"));
        QCOMPARE(list.value(kId).toObject().value("Channels").toInt(), 4);
        QCOMPARE(BackupThread::ReadLastBackupTime(), BackupThread::DayNumber(QDate::currentDate()));

        // Again: only the two newest days' index files are read; no record is fetched again.
        unit.Recorder->ClearLog();
        events.Clear();
        QVERIFY(RunToEnd(thread));
        QCOMPARE(events.Types(), (QList<int>{1, 4, 5, 2}));
        QCOMPARE(DownloadedPaths(*unit.Recorder),
                 (QStringList{"/RecordFiles/2401/31/CH01.Index", "/RecordFiles/2401/31/CH02.Index",
                              "/RecordFiles/2401/31/CH03.Index", "/RecordFiles/2401/31/CH04.Index",
                              "/RecordFiles/2402/01/CH01.Index", "/RecordFiles/2402/01/CH02.Index",
                              "/RecordFiles/2402/01/CH03.Index", "/RecordFiles/2402/01/CH04.Index"}));
        QCOMPARE(FilesBelow(local), expected);
    }

    void resumeDayIsTheSecondNewestTreeDay_data()
    {
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("resume");  // YYMMDD, 0 for none
        QTest::newRow("empty") << QStringList() << 240201 << 0;
        QTest::newRow("one day") << QStringList{"2401/31"} << 240201 << 240131;
        QTest::newRow("plain") << QStringList{"2401/05", "2401/31", "2312/30"} << 240201 << 240105;
        QTest::newRow("across a month") << QStringList{"2401/31", "2402/01"} << 240201 << 240131;
        QTest::newRow("across a year") << QStringList{"2312/31", "2401/01", "2311/30"} << 240201 << 231231;
        QTest::newRow("month 13, day 32, odd names")
            << QStringList{"2413/01", "2401/32", "2401/5", "24a1/01", "2312/07", "2312/08"} << 240201 << 231207;
        QTest::newRow("after the recorder's newest") << QStringList{"9912/31", "2402/02", "2402/01", "2401/30"}
                                                     << 240201 << 240130;
        QTest::newRow("month without days") << QStringList{"2402", "2401/20", "2401/19"} << 240201 << 240119;
        QTest::newRow("only later days") << QStringList{"2402/03"} << 240201 << 0;
    }

    void resumeDayIsTheSecondNewestTreeDay()
    {
        QFETCH(QStringList, folders);
        QFETCH(int, limit);
        QFETCH(int, resume);
        QTemporaryDir dir;
        for (const QString& folder : folders)
            QVERIFY(QDir(dir.path()).mkpath(folder));
        BackupDay found;
        const bool any = LocalResumeDay(dir.path(), BackupDay{limit / 10000, limit / 100 % 100, limit % 100}, &found);
        QCOMPARE(any ? found.Key() : 0, resume);
    }

    void aBrokenLocalTreeDoesNotHideRecords()
    {
        BackupRig rig;
        BackupRig::Unit unit;
        OfficeWithTwoDays(rig, &unit);
        QVERIFY(!QTest::currentTestFailed());
        for (const char* folder : {"9912/31", "2413/05", "2401/45"})
            QVERIFY(QDir(rig.BackupPath() + kId).mkpath(folder));
        BackupThread thread;
        BackupEvents events(&thread);
        QVERIFY(RunToEnd(thread));
        QCOMPARE(events.Count(5), 1);
        QCOMPARE(events.Count(8), 8);
    }

    void pauseRetriesTheSameFile()
    {
        BackupRig rig;
        BackupRig::Unit unit;
        OfficeWithTwoDays(rig, &unit);
        QVERIFY(!QTest::currentTestFailed());
        BackupThread thread;
        BackupEvents events(&thread);
        // Paused while the first file starts: its transfer is cancelled at the first block.
        events.OnEvent = [&thread](const BackupEvent& e) {
            if (e.Type == 8 && e.Text.endsWith("240131090000-CH01.wav"))
                thread.Pause();
        };
        thread.Start();
        QVERIFY(events.WaitFor(10));
        QTest::qWait(100);
        QCOMPARE(events.Count(10), 1);
        QCOMPARE(events.Count(11), 0);
        thread.Resume();
        QVERIFY(thread.wait(60000));
        const QList<BackupEvent> all = events.All();
        QCOMPARE(events.Types().mid(0, 5), (QList<int>{1, 4, 8, 10, 11}));
        QCOMPARE(all[3].Text, all[2].Text);
        QCOMPARE(all[4].Text, all[2].Text);
        QCOMPARE(events.Types().mid(5).count(8), 7);
        QCOMPARE(events.Types().mid(events.Types().size() - 2), (QList<int>{5, 2}));
        QCOMPARE(DownloadedPaths(*unit.Recorder).count("/RecordFiles/2401/31/CH01/240131090000-CH01.wav"), 2);
        QVERIFY(QFile::exists(all[2].Text));
    }

    void stopDuringAPauseEndsTheDeviceAndTheRun()
    {
        BackupRig rig;
        BackupRig::Unit unit;
        OfficeWithTwoDays(rig, &unit);
        QVERIFY(!QTest::currentTestFailed());
        BackupThread thread;
        BackupEvents events(&thread);
        events.OnEvent = [&thread](const BackupEvent& e) {
            if (e.Type == 8)
                thread.Pause();
        };
        thread.Start();
        QVERIFY(events.WaitFor(10));
        QElapsedTimer timer;
        timer.start();
        thread.Stop();
        QVERIFY(timer.elapsed() < 1000);
        QVERIFY(thread.isFinished());
        QCOMPARE(events.Types(), (QList<int>{1, 4, 8, 10, 6, 2}));
        QVERIFY(!QFile::exists(events.All()[2].Text));
        QCOMPARE(FilesBelow(rig.BackupPath() + kId).filter(".part").size(), 0);
        // Not every device got through: the next check tries again.
        QCOMPARE(BackupThread::ReadLastBackupTime(), 0);
    }

    void stopAtShutdownEndsATransferPromptly()
    {
        BackupRig rig;
        BackupRig::Unit unit;
        OfficeWithTwoDays(rig, &unit);
        QVERIFY(!QTest::currentTestFailed());
        QVERIFY(emu::AddFixtureRecord(unit.Storage.toStdString(), Record(2024, 1, 31, 8, 0, 1, 0, "", 400000)) >= 0);
        emu::Faults slow;
        slow.delayMs = 5;
        unit.Recorder->SetFaults(slow);
        auto thread = std::make_unique<BackupThread>();
        BackupEvents events(thread.get());
        const QString big = rig.BackupPath() + kId + "/2401/31/CH01/240131080000-CH01.wav";
        std::atomic<bool> bigStarted{false};
        events.OnEvent = [&](const BackupEvent& e) {
            if (e.Type == 8 && e.Text == big)
                bigStarted = true;
        };
        thread->Start();
        QTRY_VERIFY_WITH_TIMEOUT(bigStarted, 20000);
        QTest::qWait(50);
        // The main window's exit: the backup goes before the devices (the rig's device list) do.
        QElapsedTimer timer;
        timer.start();
        thread.reset();
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
        const QList<int> types = events.Types();
        QCOMPARE(types.mid(types.size() - 3), (QList<int>{8, 6, 2}));
        QCOMPARE(events.All()[types.size() - 3].Text, big);
        QVERIFY(!QFile::exists(big));
    }

    void aFailingFileEndsItsDevice()
    {
        BackupRig rig;
        BackupRig::Unit unit;
        OfficeWithTwoDays(rig, &unit);
        QVERIFY(!QTest::currentTestFailed());
        // The recorder cannot read its WAV files any more (storage status 11).
        const emu::Handler* download = emu::DefaultCommands().Find(29);
        QVERIFY(download);
        unit.Recorder->SetHandler(29, [download](emu::Exchange& x) {
            const std::vector<uint8_t>& p = x.request.payload;
            if (p.size() > 2 && p[0] == 0 && QByteArray(reinterpret_cast<const char*>(p.data()) + 2).endsWith(".wav"))
                x.Reply(11);
            else
                (*download)(x);
        });
        BackupThread thread;
        BackupEvents events(&thread);
        QVERIFY(RunToEnd(thread));
        QCOMPARE(events.Types(), (QList<int>{1, 4, 8, 9, 9, 9, 9, 6, 2}));
        QCOMPARE(DownloadedPaths(*unit.Recorder).filter(".wav").size(), 5);
    }

    void aLocalWriteErrorEndsItsDeviceAtOnce()
    {
        BackupRig rig;
        BackupRig::Unit unit;
        OfficeWithTwoDays(rig, &unit);
        QVERIFY(!QTest::currentTestFailed());
        // The part file cannot be created: a folder stands in its place.
        QVERIFY(QDir(rig.BackupPath() + kId).mkpath("2401/31/CH01/240131090000-CH01.wav.part"));
        BackupThread thread;
        BackupEvents events(&thread);
        QVERIFY(RunToEnd(thread));
        QCOMPARE(events.Types(), (QList<int>{1, 4, 8, 6, 2}));
        QVERIFY(!QFile::exists(rig.BackupPath() + kId + "/2401/31/CH01.Index"));
    }

    void aFileThatCannotTakeItsNameEndsItsDevice()
    {
        BackupRig rig;
        BackupRig::Unit unit;
        OfficeWithTwoDays(rig, &unit);
        QVERIFY(!QTest::currentTestFailed());
        // A folder that is not empty holds the record's name: the fetched file cannot be renamed to it.
        const QString day = rig.BackupPath() + kId + "/2401/31";
        QVERIFY(QDir(day).mkpath("CH01/240131093000-CH01-5551234.wav/x"));
        BackupThread thread;
        BackupEvents events(&thread);
        QVERIFY(RunToEnd(thread));
        QCOMPARE(events.Types().mid(events.Types().size() - 2), (QList<int>{6, 2}));
        QVERIFY(!QFile::exists(day + "/CH01.Index"));
        QVERIFY(QFile::exists(day + "/CH01/240131090000-CH01.wav"));
        QCOMPARE(FilesBelow(day).filter(".part").size(), 0);
    }

    void aKilledBackupFetchesTheFileAgain()
    {
        BackupRig rig;
        const BackupRig::Unit unit = rig.Add(QStringLiteral("Office"), kId);
        QVERIFY(unit.Device);
        QVERIFY(emu::AddFixtureRecord(unit.Storage.toStdString(), Record(2024, 3, 4, 5, 6, 2, 0, "", 200000)) >= 0);
        const QString wav = rig.BackupPath() + kId + "/2403/04/CH02/240304050600-CH02.wav";
        // A second program backs the recorder up and is killed while the record arrives (every reply is late).
        emu::Faults slow;
        slow.delayMs = 5;
        unit.Recorder->SetFaults(slow);
        QProcess child;
        child.setProgram(QCoreApplication::applicationDirPath() + "/backup_run");
        QTemporaryDir childData;
        child.setArguments({childData.path(), rig.BackupPath(), QString::number(unit.Recorder->Port()), kId});
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("CALVOX_TIME_SCALE");
        child.setProcessEnvironment(env);
        child.start();
        QVERIFY(child.waitForStarted());
        // Killed once a third of the record's 196 blocks have been asked for.
        QTRY_VERIFY_WITH_TIMEOUT(DownloadedPaths(*unit.Recorder).contains(
                                     "/RecordFiles/2403/04/CH02/240304050600-CH02.wav")
                                     && unit.Recorder->CountRequests(29) > 70,
                                 30000);
        QCOMPARE(child.state(), QProcess::Running);
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished());
        QVERIFY(!QFile::exists(wav));

        unit.Recorder->SetFaults(emu::Faults());
        unit.Recorder->ClearLog();
        BackupThread thread;
        BackupEvents events(&thread);
        QVERIFY(RunToEnd(thread));
        QCOMPARE(events.Count(5), 1);
        QCOMPARE(DownloadedPaths(*unit.Recorder).filter(".wav"), QStringList{"/RecordFiles/2403/04/CH02/240304050600-CH02.wav"});
        QCOMPARE(ReadBytes(wav), ReadBytes(unit.Storage + "/RecordFiles/2403/04/CH02/240304050600-CH02.wav"));
        QVERIFY(!QFile::exists(wav + ".part"));
    }

    // A second program backs up the recorder and is killed (SIGKILL) at random points, then started again. After
    // every kill each record file under its own name is the recorder's byte for byte and an index copy is there
    // only with all its day's records; the run that gets through leaves the whole tree. Two fixtures: a day with
    // more records on a channel than one sync batch takes, and many days of one small record, where the syncs
    // fall behind the transfer by several days (a run killed then must still start early enough).
    void killedAtRandomPointsLosesNothing_data()
    {
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("firstRecords");  // on channel 1 of day 1
        QTest::addColumn<int>("records");       // on every other channel and day
        QTest::addColumn<int>("delayMs");       // the recorder's delay of each reply
        QTest::newRow("batches of a day") << 2 << 2 << 20 << 3 << 1;
        QTest::newRow("many short days") << 14 << 1 << 1 << 1 << 0;
    }

    void killedAtRandomPointsLosesNothing()
    {
        QFETCH(int, days);
        QFETCH(int, channels);
        QFETCH(int, firstRecords);
        QFETCH(int, records);
        QFETCH(int, delayMs);
        BackupRig rig;
        const BackupRig::Unit unit = rig.Add(QStringLiteral("Office"), kId, false);
        QVERIFY(unit.Recorder);
        QStringList recordFiles, indexes;
        for (int day = 1; day <= days; ++day) {
            for (int channel = 1; channel <= channels; ++channel) {
                const int count = day == 1 && channel == 1 ? firstRecords : records;
                for (int minute = 0; minute < count; ++minute) {
                    QVERIFY(emu::AddFixtureRecord(unit.Storage.toStdString(),
                                                  Record(2024, 5, day, 10, minute, channel, 0, "", 3000 + 500 * minute))
                            >= 0);
                    const QString dd = QStringLiteral("%1").arg(day, 2, 10, QLatin1Char('0'));
                    const QString ch = QStringLiteral("CH%1").arg(channel, 2, 10, QLatin1Char('0'));
                    recordFiles << "2405/" + dd + '/' + ch + "/2405" + dd + "10"
                                       + QStringLiteral("%1").arg(minute, 2, 10, QLatin1Char('0')) + "00-" + ch + ".wav";
                }
                indexes << QStringLiteral("2405/%1/CH%2.Index").arg(day, 2, 10, QLatin1Char('0')).arg(channel, 2, 10, QLatin1Char('0'));
            }
        }
        const QString local = rig.BackupPath() + kId + QLatin1Char('/');
        const QString device = unit.Storage + QStringLiteral("/RecordFiles/");
        for (const QString& file : recordFiles + indexes)
            QVERIFY2(!ReadBytes(device + file).isEmpty(), qPrintable(file));
        auto checkNothingEarly = [&](const QString& when) {
            for (const QString& file : FilesBelow(local)) {
                if (!file.endsWith(".wav") && !file.endsWith(".Index"))
                    continue;
                QVERIFY2(ReadBytes(local + file) == ReadBytes(device + file), qPrintable(when + ": " + file));
                if (file.endsWith(".Index")) {
                    const QString channelDay = file.left(file.size() - 6) + QLatin1Char('/');
                    for (const QString& record : recordFiles.filter(channelDay))
                        QVERIFY2(QFile::exists(local + record), qPrintable(when + ": " + file + " before " + record));
                }
            }
        };

        emu::Faults slow;
        slow.delayMs = delayMs;
        unit.Recorder->SetFaults(slow);
        {
            // A killed program never logs out: its session stays until the recorder drops it.
            std::lock_guard<std::mutex> lock(unit.Recorder->StateMutex());
            unit.Recorder->State<emu::LoginState>().sessionLimit = 64;
        }
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        QTemporaryDir childData;
        int kills = 0;
        bool through = false;
        int lastExit = -1;
        for (int start = 0; start < 8 && !through; ++start) {
            QProcess child;
            child.setProgram(QCoreApplication::applicationDirPath() + "/backup_run");
            child.setArguments({childData.path(), rig.BackupPath(), QString::number(unit.Recorder->Port()), kId});
            child.setProcessChannelMode(QProcess::ForwardedChannels);
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.remove("CALVOX_TIME_SCALE");
            child.setProcessEnvironment(env);
            const size_t before = unit.Recorder->CountRequests(29);
            child.start();
            QVERIFY(child.waitForStarted());
            // The first starts are killed once a random number of download requests (blocks, begins, ends)
            // arrived, the last ones run to their end.
            const size_t after = before + 1 + random.bounded(120);
            // waitForFinished, not a plain sleep: QProcess learns of the child's end only while it waits.
            while (start < 5 && child.state() == QProcess::Running && unit.Recorder->CountRequests(29) < after)
                child.waitForFinished(1);
            if (child.state() == QProcess::Running && start < 5) {
                ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
                QVERIFY(child.waitForFinished());
                ++kills;
                checkNothingEarly(QStringLiteral("seed %1, kill %2").arg(seed).arg(kills));
                if (QTest::currentTestFailed())
                    return;
                continue;
            }
            if (child.state() != QProcess::NotRunning)
                QVERIFY(child.waitForFinished(120000));
            lastExit = child.exitCode();
            through = child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
        }
        QVERIFY2(through, qPrintable(QStringLiteral("seed %1, exit %2").arg(seed).arg(lastExit)));
        QVERIFY(kills > 0);
        checkNothingEarly(QStringLiteral("seed %1, at the end").arg(seed));
        for (const QString& file : recordFiles + indexes)
            QVERIFY2(QFile::exists(local + file), qPrintable(QStringLiteral("seed %1: %2 missing").arg(seed).arg(file)));
        QCOMPARE(FilesBelow(local).filter(".part"), QStringList());
    }

    void anOfflineDeviceIsRetriedByTheNextCheck()
    {
        BackupRig rig;
        const BackupRig::Unit office = rig.Add(QStringLiteral("Office"), kId);
        const BackupRig::Unit store = rig.Add(QStringLiteral("Store"), kId2, false);
        QVERIFY(office.Device && store.Device);
        FillTwoDays(office.Storage);
        FillTwoDays(store.Storage);
        g_SoftwareSetting.AutoBackup = true;
        g_SoftwareSetting.BackupCycle = 0;
        BackupThread thread;
        BackupEvents events(&thread);
        const QDate today = QDate::currentDate();

        thread.AutoBackupCheckOn(today);
        QVERIFY(thread.wait(60000));
        QList<int> deviceEvents = events.Types();
        deviceEvents.removeAll(8);
        QCOMPARE(deviceEvents, (QList<int>{0, 1, 4, 5, 7, 2}));
        QCOMPARE(events.All()[events.Types().indexOf(7)].Device, store.Device);
        QCOMPARE(BackupThread::ReadLastBackupTime(), 0);

        QVERIFY(BackupRig::GoOnline(store.Device));
        events.Clear();
        thread.AutoBackupCheckOn(today);
        QVERIFY(thread.wait(60000));
        // The office again (nothing new to fetch), then the store with all its records.
        QCOMPARE(events.Types().mid(0, 5), (QList<int>{0, 1, 4, 5, 4}));
        QCOMPARE(events.Types().mid(events.Types().size() - 2), (QList<int>{5, 2}));
        QCOMPARE(events.Count(8), 8);
        QCOMPARE(events.All()[4].Device, store.Device);
        QCOMPARE(BackupThread::ReadLastBackupTime(), BackupThread::DayNumber(today));

        events.Clear();
        thread.AutoBackupCheckOn(today);
        QVERIFY(thread.wait(60000));
        QCOMPARE(events.Types(), QList<int>{0});
    }

    void theCheckFollowsTheCycle_data()
    {
        QTest::addColumn<QDate>("last");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("cycle");
        QTest::addColumn<bool>("due");
        const QDate feb1(2025, 2, 1);
        QTest::newRow("daily, 31 January -> 1 February") << QDate(2025, 1, 31) << feb1 << 0 << true;
        QTest::newRow("daily, same day") << feb1 << feb1 << 0 << false;
        QTest::newRow("daily, 31 December -> 1 January") << QDate(2024, 12, 31) << QDate(2025, 1, 1) << 0 << true;
        QTest::newRow("weekly, 7 days") << feb1.addDays(-7) << feb1 << 1 << false;
        QTest::newRow("weekly, 8 days") << feb1.addDays(-8) << feb1 << 1 << true;
        QTest::newRow("monthly, 30 days") << feb1.addDays(-30) << feb1 << 2 << false;
        QTest::newRow("monthly, 31 days") << feb1.addDays(-31) << feb1 << 2 << true;
        QTest::newRow("unknown cycle") << QDate(2000, 1, 1) << feb1 << 3 << false;
    }

    void theCheckFollowsTheCycle()
    {
        QFETCH(QDate, last);
        QFETCH(QDate, today);
        QFETCH(int, cycle);
        QFETCH(bool, due);
        QCOMPARE(BackupThread::BackupDue(BackupThread::DayNumber(last), today, cycle), due);
    }

    void lastBackupTimeFile()
    {
        BackupRig rig;
        QCOMPARE(BackupThread::ReadLastBackupTime(), 0);
        QVERIFY(SaveDataFile("LastBackupTime", QByteArray("\x01\x02\x03", 3)));
        QCOMPARE(BackupThread::ReadLastBackupTime(), 0);
        // A day number of the old rule (1 February 2025: 25 * 365 + 2 * 30 + 1) reads as long ago.
        char old[4];
        qToLittleEndian<qint32>(25 * 365 + 2 * 30 + 1, old);
        QVERIFY(SaveDataFile("LastBackupTime", QByteArray(old, 4)));
        QCOMPARE(BackupThread::ReadLastBackupTime(), 25 * 365 + 2 * 30 + 1);
        QVERIFY(BackupThread::BackupDue(BackupThread::ReadLastBackupTime(), QDate(2025, 2, 1), 2));
        QVERIFY(BackupThread::SaveLastBackupTime());
        QCOMPARE(ReadBytes(g_DataPath + "/LastBackupTime").size(), 4);
        QCOMPARE(BackupThread::ReadLastBackupTime(), int(QDate::currentDate().toJulianDay()));
    }

    void aDailyCheckAcrossTheMonthEndRuns()
    {
        BackupRig rig;
        g_SoftwareSetting.AutoBackup = true;
        g_SoftwareSetting.BackupCycle = 0;
        char last[4];
        qToLittleEndian<qint32>(BackupThread::DayNumber(QDate(2025, 1, 31)), last);
        QVERIFY(SaveDataFile("LastBackupTime", QByteArray(last, 4)));
        BackupThread thread;
        BackupEvents events(&thread);
        thread.AutoBackupCheckOn(QDate(2025, 2, 1));
        QVERIFY(thread.wait(60000));
        QCOMPARE(events.Types(), (QList<int>{0, 1, 2}));

        // Off, or no backup folder.
        events.Clear();
        g_SoftwareSetting.AutoBackup = false;
        thread.AutoBackupCheckOn(QDate(2030, 1, 1));
        QVERIFY(thread.wait(60000));
        QCOMPARE(events.Types(), QList<int>());
        g_SoftwareSetting.AutoBackup = true;
        g_SoftwareSetting.BackupPath.clear();
        thread.AutoBackupCheckOn(QDate(2030, 1, 1));
        QVERIFY(thread.wait(60000));
        QCOMPARE(events.Types(), (QList<int>{0, 3}));
    }

    void stopWhenIdleDoesNothing()
    {
        BackupThread thread;
        BackupEvents events(&thread);
        thread.Stop();
        thread.Pause();
        thread.Resume();
        QCOMPARE(events.Types(), QList<int>());
        QVERIFY(!thread.isRunning());
    }
};

QTEST_MAIN(BackupThreadTest)
#include "tst_backup_thread.moc"
