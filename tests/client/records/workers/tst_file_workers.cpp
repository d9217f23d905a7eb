// The file workers: UploadFileThread and DownloadFileThread against the recorder emulator,
// DownloadFirmwareThread against a local HTTP server standing in for the update server.

#include "WorkersFixture.h"

#include "DataFolder.h"
#include "workers/DownloadFileThread.h"
#include "workers/DownloadFirmwareThread.h"
#include "workers/UploadFileThread.h"

#include <QtTest>

namespace {

const char kFirmwareName[] = "KES2204S-2.1.4.0.bin";

bool Rising(const QList<int>& values)
{
    for (int i = 1; i < values.size(); ++i) {
        if (values[i] <= values[i - 1])
            return false;
    }
    return true;
}

}  // namespace

class TestFileWorkers : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<LocalHttpServer> m_Http;
    QTemporaryDir m_Local;

    struct FirmwareRun {
        QList<int> progress;
        QList<int> done;
    };

    FirmwareRun RunFirmware(KesDevice* device, const QString& name, const QString& folder,
                            std::function<void(DownloadFirmwareThread&)> setUp = nullptr)
    {
        FirmwareRun result;
        DownloadFirmwareThread thread(device, name, folder);
        connect(&thread, &DownloadFirmwareThread::DownloadProgressSignal, this, [&](int p) { result.progress << p; });
        connect(&thread, &DownloadFirmwareThread::DownloadDoneSignal, this, [&](int e) { result.done << e; });
        if (setUp)
            setUp(thread);
        if (!RunToEnd(thread))
            result.done << 9999;
        return result;
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("CALVOX_TIME_SCALE"))
            qputenv("CALVOX_TIME_SCALE", "0.05");
        m_Http = std::make_unique<LocalHttpServer>();
        QVERIFY(m_Http->Port() != 0);
        qputenv("CALVOX_UPDATE_SERVER", QByteArray("127.0.0.1:") + QByteArray::number(m_Http->Port()));
        QVERIFY(m_Local.isValid());
    }

    void upload_data()
    {
        QTest::addColumn<QString>("deviceFolder");
        QTest::addColumn<QString>("deviceName");
        QTest::addColumn<QString>("stored");
        QTest::newRow("empty name keeps the local name") << "/PlayBackFiles" << "" << "/PlayBackFiles/Welcome.pcm";
        QTest::newRow("firmware image") << "/Upgrade" << "Image.bin" << "/Upgrade/Image.bin";
    }

    void upload()
    {
        QFETCH(QString, deviceFolder);
        QFETCH(QString, deviceName);
        QFETCH(QString, stored);
        RecorderRig rig;
        QVERIFY(rig.Ready());
        QVERIFY(QDir().mkpath(rig.storage.path() + deviceFolder));
        const QByteArray content = PatternBytes(20 * 1024 + 77, 3);
        const QString localPath = m_Local.path() + "/Welcome.pcm";
        QVERIFY(WriteAll(localPath, content));

        UploadFileThread thread(rig.device.get(), localPath, deviceFolder, deviceName);
        QList<int> progress;
        QList<int> done;
        connect(&thread, &UploadFileThread::UploadProgressSignal, this, [&](int p) { progress << p; });
        connect(&thread, &UploadFileThread::UploadDoneSignal, this, [&](int e) { done << e; });
        QVERIFY(RunToEnd(thread));
        QCOMPARE(done, QList<int>{0});
        QCOMPARE(rig.DeviceFile(stored), content);
        QVERIFY(!progress.isEmpty());
        QCOMPARE(progress.last(), 100);
    }

    void uploadFailures()
    {
        RecorderRig rig;
        QVERIFY(rig.Ready());
        QVERIFY(QDir().mkpath(rig.storage.path() + "/PlayBackFiles"));
        const QString localPath = m_Local.path() + "/Long.pcm";
        QVERIFY(WriteAll(localPath, PatternBytes(200 * 1024, 5)));

        // Stopped on the first progress report: the recorder is told, the result is the cancel code.
        {
            UploadFileThread thread(rig.device.get(), localPath, "/PlayBackFiles", QString());
            connect(&thread, &UploadFileThread::UploadProgressSignal, &thread, [&](int) { thread.Stop = true; },
                    Qt::DirectConnection);
            QSignalSpy done(&thread, &UploadFileThread::UploadDoneSignal);
            QVERIFY(RunToEnd(thread));
            QCOMPARE(done.size(), 1);
            QCOMPARE(done[0][0].toInt(), 2);
        }
        // A local file that is not there.
        {
            UploadFileThread thread(rig.device.get(), m_Local.path() + "/none.pcm", "/PlayBackFiles", QString());
            QSignalSpy done(&thread, &UploadFileThread::UploadDoneSignal);
            QVERIFY(RunToEnd(thread));
            QCOMPARE(done.size(), 1);
            QCOMPARE(done[0][0].toInt(), 20);
        }
        // No device.
        {
            UploadFileThread thread(nullptr, localPath, "/PlayBackFiles", QString());
            QSignalSpy done(&thread, &UploadFileThread::UploadDoneSignal);
            QVERIFY(RunToEnd(thread));
            QCOMPARE(done.size(), 1);
            QCOMPARE(done[0][0].toInt(), 4);
        }
    }

    void deletingARunningThreadStopsAndWaitsForIt()
    {
        RecorderRig rig;
        QVERIFY(rig.Ready());
        QVERIFY(QDir().mkpath(rig.storage.path() + "/PlayBackFiles"));
        const QString localPath = m_Local.path() + "/Big.pcm";
        QVERIFY(WriteAll(localPath, PatternBytes(400 * 1024, 6)));

        auto thread = std::make_unique<UploadFileThread>(rig.device.get(), localPath, "/PlayBackFiles", QString());
        std::atomic<bool> started{false};
        UploadFileThread* worker = thread.get();
        // The first progress report holds the transfer until the destructor has set Stop.
        connect(worker, &UploadFileThread::UploadProgressSignal, worker, [&started, worker](int) {
            started = true;
            while (!worker->Stop)
                QThread::msleep(1);
        }, Qt::DirectConnection);
        thread->start();
        QTRY_VERIFY_WITH_TIMEOUT(started.load(), 10000);
        thread.reset();  // the window that owned it goes away mid-transfer
        std::lock_guard<std::mutex> lock(rig.recorder->StateMutex());
        QCOMPARE(rig.recorder->State<emu::FileStore>().uploadsCompleted, 0);
        QCOMPARE(rig.recorder->State<emu::FileStore>().uploadsCancelled, 1);
    }

    void downloadFile()
    {
        RecorderRig rig;
        QVERIFY(rig.Ready());
        QVERIFY(QDir().mkpath(rig.storage.path() + "/RecordFiles"));
        const QByteArray log = PatternBytes(30 * 1024 + 5, 9);
        QVERIFY(WriteAll(rig.storage.path() + "/RecordFiles/Log.txt", log));
        QTemporaryDir local;

        {
            DownloadFileThread thread(rig.device.get(), "/RecordFiles/Log.txt", local.path() + "/log.txt");
            QList<int> progress;
            QList<int> done;
            connect(&thread, &DownloadFileThread::ProgressSignal, this, [&](int p) { progress << p; });
            connect(&thread, &DownloadFileThread::DoneSignal, this, [&](int e) { done << e; });
            QVERIFY(RunToEnd(thread));
            QCOMPARE(done, QList<int>{0});
            QCOMPARE(ReadAll(local.path() + "/log.txt"), log);
            QCOMPARE(progress.size(), 31);
            QVERIFY(Rising(progress));
            QCOMPARE(progress.last(), 100);
        }
        // Stopped halfway: 2 and no file.
        {
            DownloadFileThread thread(rig.device.get(), "/RecordFiles/Log.txt", local.path() + "/stopped.txt");
            connect(&thread, &DownloadFileThread::ProgressSignal, &thread, [&](int p) {
                if (p >= 50)
                    thread.Stop = true;
            }, Qt::DirectConnection);
            QSignalSpy done(&thread, &DownloadFileThread::DoneSignal);
            QVERIFY(RunToEnd(thread));
            QCOMPARE(done.size(), 1);
            QCOMPARE(done[0][0].toInt(), 2);
            QVERIFY(!QFile::exists(local.path() + "/stopped.txt"));
        }
        // A folder that is not there: 21.
        {
            DownloadFileThread thread(rig.device.get(), "/RecordFiles/Log.txt", local.path() + "/no/log.txt");
            QSignalSpy done(&thread, &DownloadFileThread::DoneSignal);
            QVERIFY(RunToEnd(thread));
            QCOMPARE(done.size(), 1);
            QCOMPARE(done[0][0].toInt(), 21);
        }
        QCOMPARE(FilesIn(local.path()), QStringList{"log.txt"});
    }

    void firmwareDownload()
    {
        RecorderRig rig;
        QVERIFY(rig.Ready());
        const QByteArray image = PatternBytes(300 * 1024 + 11, 1);
        m_Http->Serve(std::string("/KES2204S/") + kFirmwareName, image.toStdString());
        QTemporaryDir local;
        const QString folder = local.path() + "/Firmware/";

        const FirmwareRun run = RunFirmware(rig.device.get(), kFirmwareName, folder);
        QCOMPARE(run.done, QList<int>{0});
        QCOMPARE(ReadAll(folder + kFirmwareName), image);
        QCOMPARE(FilesIn(folder), QStringList{kFirmwareName});
        // Each percentage once, rising to 100.
        QVERIFY(!run.progress.isEmpty());
        QVERIFY(Rising(run.progress));
        QCOMPARE(run.progress.last(), 100);
    }

    void firmwareFailuresLeaveNoFile_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("errno_");
        const QByteArray body(4000, 'f');
        QTest::newRow("404") << QByteArray("HTTP/1.0 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found") << -1;
        QTest::newRow("shorter than announced")
            << QByteArray("HTTP/1.0 200 OK\r\nContent-Length: 5000\r\n\r\n") + body << -1;
        QTest::newRow("no announced size") << QByteArray("HTTP/1.0 200 OK\r\n\r\n") + body << -1;
        QTest::newRow("empty") << QByteArray("HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n") << -1;
    }

    void firmwareFailuresLeaveNoFile()
    {
        QFETCH(QByteArray, reply);
        QFETCH(int, errno_);
        RecorderRig rig;
        QVERIFY(rig.Ready());
        const QString name = QStringLiteral("KES2204S-9.0.0.1.bin");
        m_Http->ServeRaw("/KES2204S/" + name.toStdString(), reply.toStdString());
        QTemporaryDir local;

        const FirmwareRun run = RunFirmware(rig.device.get(), name, local.path());
        QCOMPARE(run.done, QList<int>{errno_});
        QVERIFY(FilesIn(local.path()).isEmpty());
    }

    void firmwareFileNamesThatAreNotAVersionAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("slash in the version") << "KES2204S-2.1/../../x.bin";
        QTest::newRow("slash as the version") << "KES2204S-/etc/passwd";
        QTest::newRow("three numbers") << "KES2204S-2.1.4.bin";
        QTest::newRow("number above 255") << "KES2204S-2.1.4.256.bin";
        QTest::newRow("dot dot") << "..";
        QTest::newRow("empty") << "";
        QTest::newRow("backslash") << "KES\\2204S-2.1.4.0.bin";
        QTest::newRow("line end at the end") << "KES2204S-2.1.4.0.bin\n";
        QTest::newRow("line end after the model") << "KES2204S\n-2.1.4.0.bin";
        QTest::newRow("line end after the version") << "KES2204S-2.1.4.0\n.bin";
    }

    void firmwareFileNamesThatAreNotAVersionAreRefused()
    {
        QFETCH(QString, name);
        RecorderRig rig;
        QVERIFY(rig.Ready());
        QTemporaryDir local;
        const QString folder = local.path() + "/Firmware";
        const int requests = m_Http->Requests();

        const FirmwareRun run = RunFirmware(rig.device.get(), name, folder);
        QCOMPARE(run.done, QList<int>{4});
        QCOMPARE(m_Http->Requests(), requests);
        QVERIFY(!QFile::exists(folder));
        QCOMPARE(FilesIn(local.path()), QStringList());
    }

    void firmwareStopAndLocalFailures()
    {
        RecorderRig rig;
        QVERIFY(rig.Ready());
        const QByteArray image = PatternBytes(300 * 1024, 2);
        m_Http->Serve(std::string("/KES2204S/") + kFirmwareName, image.toStdString());
        QTemporaryDir local;

        // Stopped: the download's failure, no file.
        const FirmwareRun stopped = RunFirmware(rig.device.get(), kFirmwareName, local.path(),
                                                [](DownloadFirmwareThread& thread) {
            connect(&thread, &DownloadFirmwareThread::DownloadProgressSignal, &thread, [&thread](int p) {
                if (p >= 10)
                    thread.Stop = true;
            }, Qt::DirectConnection);
        });
        QCOMPARE(stopped.done, QList<int>{-1});
        QVERIFY(FilesIn(local.path()).isEmpty());

        // A folder that cannot be made (a file stands in its place): 21.
        QVERIFY(WriteAll(local.path() + "/blocked", "x"));
        QCOMPARE(RunFirmware(rig.device.get(), kFirmwareName, local.path() + "/blocked/Firmware").done,
                 QList<int>{21});

        // No device: 4.
        QCOMPARE(RunFirmware(nullptr, kFirmwareName, local.path()).done, QList<int>{4});

        // A full disk: 20, and no file (nor a temporary one) left.
        const QString small = local.path() + "/small";
        QVERIFY(QDir().mkpath(small));
        SmallTmpfs tmpfs(small, 64);
        if (!tmpfs.Mounted())
            QSKIP(qPrintable("no tmpfs for a full disk: " + tmpfs.Error()));
        const FirmwareRun full = RunFirmware(rig.device.get(), kFirmwareName, small);
        QCOMPARE(full.done, QList<int>{20});
        QVERIFY(FilesIn(small).isEmpty());
    }

    void defaultFolderIsInTheDataFolder()
    {
        g_DataPath = m_Local.path();
        QCOMPARE(DownloadFirmwareThread::DefaultFolder(), m_Local.path() + "/Firmware/");
    }
};

QTEST_GUILESS_MAIN(TestFileWorkers)
#include "tst_file_workers.moc"
