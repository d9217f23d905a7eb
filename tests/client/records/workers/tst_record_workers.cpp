// The record workers against the recorder emulator: DownloadRecordThread and DeleteRecordThread on the ticked
// rows of a record grid, and DeleteRecordThread on the PC backup without a device.

#include "WorkersFixture.h"
#include "RecordFixture.h"

#include "SoftwareSetting.h"
#include "store/RecordSearch.h"
#include "workers/DeleteRecordThread.h"
#include "workers/DownloadRecordThread.h"

#include <QtTest>

namespace {

// Five records of one day: two on channel 3 with phone digits, a missed call (no WAV), two without digits.
QList<emu::FixtureRecord> FiveRecords(uint32_t audioBytes)
{
    QList<emu::FixtureRecord> records;
    auto add = [&](int hour, int minute, int channel, uint8_t type, uint16_t talk, const char* phone) {
        emu::FixtureRecord r;
        r.year = 24;
        r.month = 3;
        r.day = 15;
        r.hour = static_cast<uint8_t>(hour);
        r.minute = static_cast<uint8_t>(minute);
        r.second = 12;
        r.channel = channel;
        r.type = type;
        r.talkSeconds = talk;
        r.phone = phone;
        r.audioBytes = audioBytes;
        records << r;
    };
    add(9, 30, 3, 0, 61, "5551234");
    add(9, 45, 1, 1, 20, "");
    add(10, 5, 2, 2, 0, "5559876");  // missed: talk time 0 shows "--/--"
    add(11, 0, 3, 0, 300, "0123");
    add(12, 15, 4, 0, 7, "");
    return records;
}

// The records on the recorder and their rows in the grid, each ticked unless listed.
QList<int> Fill(RecorderRig& rig, ZGridListData* grid, const QList<emu::FixtureRecord>& records,
                const QList<int>& unticked = {})
{
    QList<int> indexes;
    for (int i = 0; i < records.size(); ++i) {
        const int index = emu::AddFixtureRecord(rig.storage.path().toStdString(), records[i]);
        indexes << index;
        AddRecordRow(grid, records[i], index, !unticked.contains(i));
    }
    return indexes;
}

QString LocalName(const emu::FixtureRecord& r)
{
    return BaseNameOf(r) + (r.phone.empty() ? QString() : QStringLiteral("-") + QString::fromStdString(r.phone))
        + QStringLiteral(".wav");
}

QString DevicePath(const emu::FixtureRecord& r)
{
    return QString::fromStdString(
        emu::WavDevicePath(r.year, r.month, r.day, r.hour, r.minute, r.second, r.channel));
}

bool Present(const QString& indexPath, int index)
{
    const QByteArray header = ReadAll(indexPath).left(512);
    return header.size() == 512 && (static_cast<unsigned char>(header[index / 8]) & (1u << (index % 8))) != 0;
}

}  // namespace

class TestRecordWorkers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("CALVOX_TIME_SCALE"))
            qputenv("CALVOX_TIME_SCALE", "0.05");
    }

    void downloadsTheTickedRecordsThatHaveAudio()
    {
        RecorderRig rig;
        QVERIFY(rig.Ready());
        ZGridListData grid(RecordColumnCount);
        QList<emu::FixtureRecord> records = FiveRecords(3000);
        emu::FixtureRecord unticked = records[0];
        unticked.minute = 50;
        Fill(rig, &grid, records + QList<emu::FixtureRecord>{unticked}, {5});
        QTemporaryDir local;

        DownloadRecordThread thread(rig.device.get(), local.path(), &grid);
        QStringList announced;
        QList<int> done;
        int progressSignals = 0;
        connect(&thread, &DownloadRecordThread::DownloadFile, this, [&](const QString& name) { announced << name; });
        connect(&thread, &DownloadRecordThread::ProgressSignal, this, [&](int) { ++progressSignals; });
        connect(&thread, &DownloadRecordThread::DoneSignal, this, [&](int errno_) { done << errno_; });
        QVERIFY(RunToEnd(thread));

        QCOMPARE(done, QList<int>{0});
        // The missed call and the unticked row are skipped.
        QStringList expected;
        for (int i : {0, 1, 3, 4})
            expected << LocalName(records[i]);
        QCOMPARE(FilesIn(local.path()), [&] { QStringList s = expected; s.sort(); return s; }());
        QCOMPARE(expected[0], QStringLiteral("240315093012-CH03-5551234.wav"));
        QCOMPARE(expected[1], QStringLiteral("240315094512-CH01.wav"));
        for (int i : {0, 1, 3, 4})
            QCOMPARE(ReadAll(local.path() + "/" + LocalName(records[i])), rig.DeviceFile(DevicePath(records[i])));
        QCOMPARE(announced, (QStringList{BaseNameOf(records[0]), BaseNameOf(records[1]), BaseNameOf(records[3]),
                                         BaseNameOf(records[4])}));
        QVERIFY(progressSignals >= 4 * 3);
    }

    void stopDuringTheThirdDownloadKeepsTheFirstTwo()
    {
        RecorderRig rig;
        QVERIFY(rig.Ready());
        ZGridListData grid(RecordColumnCount);
        QList<emu::FixtureRecord> records = FiveRecords(40000);
        records[2].type = 0;
        records[2].talkSeconds = 5;  // five records with audio
        Fill(rig, &grid, records);
        QTemporaryDir local;

        DownloadRecordThread thread(rig.device.get(), local.path(), &grid);
        // On the worker's thread, so the flag is set in the middle of the third file.
        std::atomic<int> started{0};
        connect(&thread, &DownloadRecordThread::DownloadFile, &thread, [&](const QString&) { ++started; },
                Qt::DirectConnection);
        connect(&thread, &DownloadRecordThread::ProgressSignal, &thread, [&](int percent) {
            if (started == 3 && percent >= 20)
                thread.Stop = true;
        }, Qt::DirectConnection);
        QList<int> done;
        connect(&thread, &DownloadRecordThread::DoneSignal, this, [&](int errno_) { done << errno_; });
        QVERIFY(RunToEnd(thread));

        QCOMPARE(done, QList<int>{2});
        QCOMPARE(started.load(), 3);
        // The first two stay whole; the third is not left behind, nor any temporary file.
        QCOMPARE(FilesIn(local.path()), (QStringList{LocalName(records[0]), LocalName(records[1])}));
        QCOMPARE(ReadAll(local.path() + "/" + LocalName(records[1])), rig.DeviceFile(DevicePath(records[1])));
    }

    void noTickedRowOnlyEndsWithZero()
    {
        RecorderRig rig;
        QVERIFY(rig.Ready());
        ZGridListData grid(RecordColumnCount);
        Fill(rig, &grid, FiveRecords(800), {0, 1, 2, 3, 4});
        QTemporaryDir local;

        DownloadRecordThread download(rig.device.get(), local.path(), &grid);
        QSignalSpy downloadSignals(&download, &DownloadRecordThread::DownloadFile);
        QSignalSpy downloadDone(&download, &DownloadRecordThread::DoneSignal);
        QVERIFY(RunToEnd(download));
        QCOMPARE(downloadSignals.size(), 0);
        QCOMPARE(downloadDone.size(), 1);
        QCOMPARE(downloadDone[0][0].toInt(), 0);
        QVERIFY(FilesIn(local.path()).isEmpty());

        DeleteRecordThread del(rig.device.get(), &grid);
        QSignalSpy deleteProgress(&del, &DeleteRecordThread::ProgressSignal);
        QSignalSpy deleteDone(&del, &DeleteRecordThread::DoneSignal);
        QVERIFY(RunToEnd(del));
        QCOMPARE(deleteProgress.size(), 0);
        QCOMPARE(deleteDone.size(), 1);
        QCOMPARE(deleteDone[0][0].toInt(), 0);
        QCOMPARE(rig.RecordsDeleted(), 0);
    }

    void theGridIsCopiedWhenTheThreadIsMade()
    {
        RecorderRig rig;
        QVERIFY(rig.Ready());
        auto grid = std::make_unique<ZGridListData>(RecordColumnCount);
        const QList<emu::FixtureRecord> records = FiveRecords(800);
        Fill(rig, grid.get(), records);
        QTemporaryDir local;

        DownloadRecordThread thread(rig.device.get(), local.path(), grid.get());
        // A new search replaces the grid's rows (here: deletes the grid) before the run.
        grid.reset();
        QSignalSpy done(&thread, &DownloadRecordThread::DoneSignal);
        QVERIFY(RunToEnd(thread));
        QCOMPARE(done.size(), 1);
        QCOMPARE(done[0][0].toInt(), 0);
        QCOMPARE(FilesIn(local.path()).size(), 4);
    }

    void localFilesThatCannotBeMadeOrWrittenHaveTheirOwnError()
    {
        RecorderRig rig;
        QVERIFY(rig.Ready());
        ZGridListData grid(RecordColumnCount);
        const QList<emu::FixtureRecord> records = FiveRecords(100000);
        Fill(rig, &grid, records);
        QTemporaryDir local;

        // A folder that is not there: 21, before the recorder is asked for anything.
        {
            DownloadRecordThread thread(rig.device.get(), local.path() + "/missing", &grid);
            QSignalSpy done(&thread, &DownloadRecordThread::DoneSignal);
            QVERIFY(RunToEnd(thread));
            QCOMPARE(done.size(), 1);
            QCOMPARE(done[0][0].toInt(), 21);
        }

        // A full disk: 20, and nothing left in the folder.
        const QString small = local.path() + "/small";
        QVERIFY(QDir().mkpath(small));
        SmallTmpfs tmpfs(small, 64);
        if (!tmpfs.Mounted())
            QSKIP(qPrintable("no tmpfs for a full disk: " + tmpfs.Error()));
        DownloadRecordThread thread(rig.device.get(), small, &grid);
        QSignalSpy done(&thread, &DownloadRecordThread::DoneSignal);
        QVERIFY(RunToEnd(thread));
        QCOMPARE(done.size(), 1);
        QCOMPARE(done[0][0].toInt(), 20);
        QVERIFY(FilesIn(small).isEmpty());
    }

    void withoutADeviceNothingIsDownloaded()
    {
        ZGridListData grid(RecordColumnCount);
        emu::FixtureRecord record = FiveRecords(800)[0];
        AddRecordRow(&grid, record, 0, true);
        QTemporaryDir local;
        DownloadRecordThread thread(nullptr, local.path(), &grid);
        QSignalSpy done(&thread, &DownloadRecordThread::DoneSignal);
        QVERIFY(RunToEnd(thread));
        QCOMPARE(done.size(), 1);
        QCOMPARE(done[0][0].toInt(), 4);
        QVERIFY(FilesIn(local.path()).isEmpty());
    }

    void deletesOnTheRecorderWithProgressPerRecording()
    {
        RecorderRig rig;
        QVERIFY(rig.Ready());
        ZGridListData grid(RecordColumnCount);
        QList<emu::FixtureRecord> records = FiveRecords(800);
        records.removeAt(2);  // four records, all with audio
        const QList<int> indexes = Fill(rig, &grid, records);

        DeleteRecordThread thread(rig.device.get(), &grid);
        QList<QPair<int, QString>> progress;
        QList<int> done;
        connect(&thread, &DeleteRecordThread::ProgressSignal, this,
                [&](int percent, const QString& name) { progress << qMakePair(percent, name); });
        connect(&thread, &DeleteRecordThread::DoneSignal, this, [&](int errno_) { done << errno_; });
        QVERIFY(RunToEnd(thread));

        QCOMPARE(done, QList<int>{0});
        QCOMPARE(progress.size(), 4);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(progress[i].first, i * 25);
            QCOMPARE(progress[i].second, BaseNameOf(records[i]) + ".wav");
        }
        QCOMPARE(rig.RecordsDeleted(), 4);
        for (int i = 0; i < 4; ++i) {
            QVERIFY(!rig.DeviceFileExists(DevicePath(records[i])));
            const QString index = QString::fromStdString(emu::IndexDevicePath(24, 3, 15, records[i].channel));
            QVERIFY(!Present(rig.storage.path() + index, indexes[i]));
        }
    }

    void aMissedCallIsDeletedWithoutProgress()
    {
        RecorderRig rig;
        QVERIFY(rig.Ready());
        ZGridListData grid(RecordColumnCount);
        const QList<emu::FixtureRecord> records = FiveRecords(800);
        const QList<int> indexes = Fill(rig, &grid, records);

        DeleteRecordThread thread(rig.device.get(), &grid);
        QList<int> percents;
        connect(&thread, &DeleteRecordThread::ProgressSignal, this, [&](int percent, const QString&) {
            percents << percent;
        });
        QSignalSpy done(&thread, &DeleteRecordThread::DoneSignal);
        QVERIFY(RunToEnd(thread));
        QCOMPARE(done.size(), 1);
        QCOMPARE(done[0][0].toInt(), 0);
        QCOMPARE(percents, (QList<int>{0, 20, 60, 80}));
        QCOMPARE(rig.RecordsDeleted(), 5);
        const QString missedIndex = rig.storage.path() + QString::fromStdString(emu::IndexDevicePath(24, 3, 15, 2));
        QVERIFY(!Present(missedIndex, indexes[2]));
    }

    void stopAndRefusalEndTheDeletion()
    {
        RecorderRig rig;
        QVERIFY(rig.Ready());
        ZGridListData grid(RecordColumnCount);
        QList<emu::FixtureRecord> records = FiveRecords(800);
        records.removeAt(2);
        Fill(rig, &grid, records);

        // Stop before the second record: the first stays deleted, the run ends with 0.
        {
            DeleteRecordThread thread(rig.device.get(), &grid);
            connect(&thread, &DeleteRecordThread::ProgressSignal, &thread, [&](int percent, const QString&) {
                if (percent == 25)
                    thread.Stop = true;
            }, Qt::DirectConnection);
            QSignalSpy done(&thread, &DeleteRecordThread::DoneSignal);
            QVERIFY(RunToEnd(thread));
            QCOMPARE(done.size(), 1);
            QCOMPARE(done[0][0].toInt(), 0);
            QCOMPARE(rig.RecordsDeleted(), 1);
        }
        // Deleting the same rows again: the recorder refuses the first (gone already), nothing more is deleted.
        {
            DeleteRecordThread thread(rig.device.get(), &grid);
            QSignalSpy done(&thread, &DeleteRecordThread::DoneSignal);
            QVERIFY(RunToEnd(thread));
            QCOMPARE(done.size(), 1);
            QCOMPARE(done[0][0].toInt(), int(emu::kStatusNoSuchRecord));
            QCOMPARE(rig.RecordsDeleted(), 1);
        }
    }

    void withoutADeviceTheBackupCopyIsDeleted()
    {
        QTemporaryDir backup;
        g_SoftwareSetting.BackupPath = backup.path() + "/";
        const QString id = QStringLiteral("4B000000000000000007");
        AddTestLocalDevice(QStringLiteral("Office"), id, 4);
        g_RecordSearchCondition.Device = QStringLiteral("Office");

        // Channel 1 of one day: three records, the middle one a missed call.
        const QList<RecordIndexEntry> entries{MakeEntry(2024, 3, 15, 9, 0, 1, 0, 30, "555"),
                                              MakeEntry(2024, 3, 15, 9, 5, 0, 2, 0),
                                              MakeEntry(2024, 3, 15, 9, 10, 0, 0, 40)};
        const QString day = backup.path() + "/" + id + "/2403/15";
        QVERIFY(WriteBytes(day + "/CH01.Index", MakeIndexFile(entries)));
        QVERIFY(WriteBytes(day + "/CH01/240315090001-CH01-555.wav", "a"));
        QVERIFY(WriteBytes(day + "/CH01/240315091000-CH01.wav", "c"));

        ZGridListData grid(RecordColumnCount);
        auto add = [&](const RecordIndexEntry& e, int index, bool ticked) {
            ZGridListRow* row = grid.CreateRow();
            FillRecordRowFromEntry(row, e, 0, index);
            row->Cells[0] = ticked;
            grid.AddRow(row);
        };
        add(entries[0], 0, true);
        add(entries[1], 1, true);
        add(entries[2], 2, false);

        DeleteRecordThread thread(nullptr, &grid);
        QList<QPair<int, QString>> progress;
        connect(&thread, &DeleteRecordThread::ProgressSignal, this,
                [&](int percent, const QString& name) { progress << qMakePair(percent, name); });
        QSignalSpy done(&thread, &DeleteRecordThread::DoneSignal);
        QVERIFY(RunToEnd(thread));
        QCOMPARE(done.size(), 1);
        QCOMPARE(done[0][0].toInt(), 0);
        QCOMPARE(progress.size(), 1);
        QCOMPARE(progress[0], qMakePair(0, QStringLiteral("240315090001-CH01.wav")));
        QVERIFY(!Present(day + "/CH01.Index", 0));
        QVERIFY(!Present(day + "/CH01.Index", 1));
        QVERIFY(Present(day + "/CH01.Index", 2));
        QVERIFY(!QFile::exists(day + "/CH01/240315090001-CH01-555.wav"));
        QVERIFY(QFile::exists(day + "/CH01/240315091000-CH01.wav"));

        // A device that is not in the local device list: the first record fails with 2.
        g_RecordSearchCondition.Device = QStringLiteral("Elsewhere");
        grid.Rows[2]->Cells[0] = true;
        DeleteRecordThread again(nullptr, &grid);
        QSignalSpy doneAgain(&again, &DeleteRecordThread::DoneSignal);
        QVERIFY(RunToEnd(again));
        QCOMPARE(doneAgain.size(), 1);
        QCOMPARE(doneAgain[0][0].toInt(), 2);
        QVERIFY(Present(day + "/CH01.Index", 2));
    }
};

QTEST_GUILESS_MAIN(TestRecordWorkers)
#include "tst_record_workers.moc"
