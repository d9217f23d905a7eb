// Every signal of the transfer workers reaches a receiver on the GUI thread through a queued connection, with
// its arguments, as the progress dialog's handlers receive them (automatic connection, GUI-thread receiver).

#include "WorkersFixture.h"

#include "workers/DeleteRecordThread.h"
#include "workers/DownloadFileThread.h"
#include "workers/DownloadFirmwareThread.h"
#include "workers/DownloadRecordThread.h"
#include "workers/UploadFileThread.h"

#include <QtTest>

#include <functional>

namespace {

// What a receiver saw of one signal: how often it came, on which threads, its last arguments.
struct Arrivals {
    int count = 0;
    bool allOnGuiThread = true;
    QVariantList last;

    void Note(const QVariantList& arguments)
    {
        ++count;
        allOnGuiThread = allOnGuiThread && QThread::currentThread() == QCoreApplication::instance()->thread();
        last = arguments;
    }
};

const char kFirmwareName[] = "KES2204S-3.0.0.0.bin";

}  // namespace

class TestWorkerSignals : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<LocalHttpServer> m_Http;

    // Starts the thread, runs the GUI event loop until it ended, and returns what arrived of the signal.
    template <class Thread, class... Args>
    Arrivals Watch(Thread& thread, void (Thread::*signal)(Args...), QObject* worker)
    {
        Arrivals arrivals;
        std::atomic<const QThread*> emitter{nullptr};
        connect(&thread, signal, worker, [&emitter] { emitter = QThread::currentThread(); }, Qt::DirectConnection);
        connect(&thread, signal, this, [&arrivals](Args... args) { arrivals.Note(QVariantList{QVariant::fromValue(args)...}); });
        if (!RunToEnd(thread))
            arrivals.allOnGuiThread = false;
        // The signal was sent from the worker's thread, not from the GUI thread.
        if (emitter.load() == nullptr || emitter.load() == QCoreApplication::instance()->thread())
            arrivals.allOnGuiThread = false;
        return arrivals;
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("CALVOX_TIME_SCALE"))
            qputenv("CALVOX_TIME_SCALE", "0.05");
        m_Http = std::make_unique<LocalHttpServer>();
        QVERIFY(m_Http->Port() != 0);
        qputenv("CALVOX_UPDATE_SERVER", QByteArray("127.0.0.1:") + QByteArray::number(m_Http->Port()));
        m_Http->Serve(std::string("/KES2204S/") + kFirmwareName, std::string(5000, 'i'));
    }

    void arrivesQueued_data()
    {
        QTest::addColumn<QString>("signal");
        for (const char* name :
             {"UploadFileThread::UploadProgressSignal", "UploadFileThread::UploadDoneSignal",
              "DownloadFirmwareThread::DownloadProgressSignal", "DownloadFirmwareThread::DownloadDoneSignal",
              "DownloadRecordThread::ProgressSignal", "DownloadRecordThread::DownloadFile",
              "DownloadRecordThread::DoneSignal", "DeleteRecordThread::ProgressSignal",
              "DeleteRecordThread::DoneSignal", "DownloadFileThread::ProgressSignal",
              "DownloadFileThread::DoneSignal"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void arrivesQueued()
    {
        QFETCH(QString, signal);
        RecorderRig rig;
        QVERIFY(rig.Ready());
        QTemporaryDir local;
        KesDevice* device = rig.device.get();
        QObject worker;  // a context object for the direct connection that notes the sending thread

        // One record with audio on the recorder, ticked in a grid.
        emu::FixtureRecord record;
        record.year = 24;
        record.month = 6;
        record.day = 2;
        record.hour = 8;
        record.channel = 2;
        record.talkSeconds = 9;
        record.phone = "42";
        record.audioBytes = 3000;
        const int index = emu::AddFixtureRecord(rig.storage.path().toStdString(), record);
        QVERIFY(index >= 0);
        ZGridListData grid(RecordColumnCount);
        AddRecordRow(&grid, record, index, true);
        const QString uploadPath = local.path() + "/Tone.pcm";
        QVERIFY(WriteAll(uploadPath, PatternBytes(3000, 4)));
        QVERIFY(QDir().mkpath(rig.storage.path() + "/PlayBackFiles"));

        Arrivals arrivals;
        QVariantList expected;  // the last arguments, where they are known
        if (signal.startsWith("UploadFileThread")) {
            UploadFileThread thread(device, uploadPath, "/PlayBackFiles", QString());
            if (signal.endsWith("UploadProgressSignal")) {
                arrivals = Watch(thread, &UploadFileThread::UploadProgressSignal, &worker);
                expected = {100};
            } else {
                arrivals = Watch(thread, &UploadFileThread::UploadDoneSignal, &worker);
                expected = {0};
            }
        } else if (signal.startsWith("DownloadFirmwareThread")) {
            DownloadFirmwareThread thread(device, kFirmwareName, local.path());
            if (signal.endsWith("DownloadProgressSignal")) {
                arrivals = Watch(thread, &DownloadFirmwareThread::DownloadProgressSignal, &worker);
                expected = {100};
            } else {
                arrivals = Watch(thread, &DownloadFirmwareThread::DownloadDoneSignal, &worker);
                expected = {0};
            }
        } else if (signal.startsWith("DownloadRecordThread")) {
            DownloadRecordThread thread(device, local.path(), &grid);
            if (signal.endsWith("ProgressSignal")) {
                arrivals = Watch(thread, &DownloadRecordThread::ProgressSignal, &worker);
                expected = {100};
            } else if (signal.endsWith("DownloadFile")) {
                arrivals = Watch(thread, &DownloadRecordThread::DownloadFile, &worker);
                expected = {QStringLiteral("240602080000-CH02")};
            } else {
                arrivals = Watch(thread, &DownloadRecordThread::DoneSignal, &worker);
                expected = {0};
            }
        } else if (signal.startsWith("DeleteRecordThread")) {
            DeleteRecordThread thread(device, &grid);
            if (signal.endsWith("ProgressSignal")) {
                arrivals = Watch(thread, &DeleteRecordThread::ProgressSignal, &worker);
                expected = {0, QStringLiteral("240602080000-CH02.wav")};
            } else {
                arrivals = Watch(thread, &DeleteRecordThread::DoneSignal, &worker);
                expected = {0};
            }
        } else {
            DownloadFileThread thread(device, QString::fromStdString(emu::WavDevicePath(24, 6, 2, 8, 0, 0, 2)),
                                      local.path() + "/copy.wav");
            if (signal.endsWith("ProgressSignal")) {
                arrivals = Watch(thread, &DownloadFileThread::ProgressSignal, &worker);
                expected = {100};
            } else {
                arrivals = Watch(thread, &DownloadFileThread::DoneSignal, &worker);
                expected = {0};
            }
        }
        QVERIFY(arrivals.count > 0);
        QVERIFY(arrivals.allOnGuiThread);
        QCOMPARE(arrivals.last, expected);
    }
};

QTEST_GUILESS_MAIN(TestWorkerSignals)
#include "tst_worker_signals.moc"
