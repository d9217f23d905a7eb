// RecordPlayer and RecordDownloadThread: local files and records downloaded from the recorder emulator, played
// on the SDK's null sound output (real-time pace, no sound card needed).
#include "KesDevice.h"
#include "player/RecordPlayer.h"

#include "EmuFiles.h"
#include "Emulator.h"

#include <QElapsedTimer>
#include <QFile>
#include <mutex>
#include <vector>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace emu = calvox::emu;

namespace {

const char kId[] = "4F000000000000000005";

using PlayerEvent = QPair<int, int>;

// Every event of a player, recorded on the thread that emits it.
class PlayerEvents : public QObject
{
public:
    explicit PlayerEvents(RecordPlayer* player)
    {
        connect(player, &RecordPlayer::EventSignal, this,
                [this](RecordPlayerEventType event, int arg) {
                    std::lock_guard<std::mutex> lock(m_Mutex);
                    m_Events.push_back(qMakePair(int(event), arg));
                },
                Qt::DirectConnection);
    }
    QList<PlayerEvent> All() const
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        QList<PlayerEvent> events;
        for (const PlayerEvent& e : m_Events)
            events.append(e);
        return events;
    }
    // The arguments of one event type, in order.
    QList<int> Args(int type) const
    {
        QList<int> args;
        for (const PlayerEvent& e : All())
            if (e.first == type)
                args << e.second;
        return args;
    }
    void Clear()
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Events.clear();
    }

private:
    mutable std::mutex m_Mutex;
    // A vector, copied element by element: the copy-on-write of a shared QList is done in Qt's own code,
    // where the thread sanitizer cannot see that the lock orders it.
    std::vector<PlayerEvent> m_Events;
};

QByteArray Pattern(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * 7 + 3);
    return bytes;
}

bool WaitUntilStopped(RecordPlayer& player, int ms = 20000)
{
    return QTest::qWaitFor([&player] { return !player.IsPlaying(); }, ms) && player.wait(ms);
}

// Right after a pause: until the block that was being handed to the output when the pause came has reported its
// position (positionsBefore: the position events counted at the pause). A pause that came between two blocks
// leaves none in flight; the wait then ends at its bound, one second.
void WaitForTheBlockInFlight(const PlayerEvents& events, int positionsBefore)
{
    (void)QTest::qWaitFor([&] { return events.Args(RecordPlayer_Position).size() > positionsBefore; }, 1000);
}

}  // namespace

class RecordPlayerTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_Storage;
    QTemporaryDir m_Local;
    emu::Emulator m_Emulator;
    emu::Recorder* m_Recorder = nullptr;
    std::unique_ptr<KesDevice> m_Device;

    QString LocalFile(const QString& name, int size)
    {
        const QString path = m_Local.path() + QLatin1Char('/') + name;
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(Pattern(size));
        return path;
    }
    // A file of that size in the recorder's storage; returns its device path.
    QString DeviceFile(const QString& name, int size)
    {
        QFile file(m_Storage.path() + QStringLiteral("/RecordFiles/") + name);
        if (file.open(QIODevice::WriteOnly))
            file.write(Pattern(size));
        return QStringLiteral("/RecordFiles/") + name;
    }
    int EndRequests() const
    {
        int ends = 0;
        for (const emu::LoggedRequest& r : m_Recorder->Log())
            ends += r.command == 29 && !r.payload.empty() && r.payload[0] == 2;
        return ends;
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("CALVOX_AUDIO_SINK"))
            qputenv("CALVOX_AUDIO_SINK", "null");
        if (qEnvironmentVariableIsEmpty("CALVOX_TIME_SCALE"))
            qputenv("CALVOX_TIME_SCALE", "0.05");
        QCOMPARE(CalvoxAPI_Init(), 0);
        QVERIFY(QDir(m_Storage.path()).mkpath("RecordFiles"));
        emu::RecorderConfig config;
        config.id = kId;
        config.port = 0;
        m_Recorder = m_Emulator.Add(config);
        QVERIFY(m_Recorder);
        emu::ServeFiles(*m_Recorder, m_Storage.path().toStdString());
        // The file commands need no login.
        m_Device.reset(KesDevice::Create(QStringLiteral("Office"), QString::fromLatin1(kId)));
        QVERIFY(m_Device);
        m_Device->SetNetAddr(QStringLiteral("127.0.0.1"), m_Recorder->Port());
    }

    void cleanupTestCase()
    {
        m_Device.reset();
        m_Emulator.Stop();
        CalvoxAPI_Exit();
    }

    void aShortLocalRecordPlaysItsWholeBlocks()
    {
        RecordPlayer player;
        PlayerEvents events(&player);
        player.Play(nullptr, LocalFile("short.wav", 2500));
        QVERIFY(WaitUntilStopped(player));
        QCOMPARE(events.All(), (QList<PlayerEvent>{{0, 2500}, {1, 2500}, {3, 0}, {2, 1024}, {2, 2048}, {4, 0}}));
    }

    void aMissingLocalFileStopsAtOnce()
    {
        RecordPlayer player;
        PlayerEvents events(&player);
        player.Play(nullptr, m_Local.path() + "/none.wav");
        QVERIFY(WaitUntilStopped(player));
        QCOMPARE(events.All(), (QList<PlayerEvent>{{3, 0}, {4, 0}}));
    }

    void aDeviceRecordPlaysWhileItDownloads()
    {
        RecordPlayer player;
        PlayerEvents events(&player);
        player.Play(m_Device.get(), DeviceFile("device.wav", 2500));
        QVERIFY(WaitUntilStopped(player));
        QCOMPARE(events.Args(0), QList<int>{2500});
        QCOMPARE(events.Args(1), (QList<int>{1024, 2048, 2500}));
        QCOMPARE(events.Args(2), (QList<int>{1024, 2048}));
        QCOMPARE(events.Args(3), QList<int>{0});
        QCOMPARE(events.All().last(), PlayerEvent(4, 0));
    }

    void aFailedDownloadPlaysNothing()
    {
        RecordPlayer player;
        PlayerEvents events(&player);
        player.Play(m_Device.get(), "/RecordFiles/none.wav");
        QVERIFY(WaitUntilStopped(player));
        QCOMPARE(events.All(), (QList<PlayerEvent>{{3, 0}, {4, 0}}));
    }

    void seekRoundsDownAndStaysInTheBuffer_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("seek");
        QTest::addColumn<int>("position");
        QTest::newRow("beyond the buffer") << 4096 << 5000 << 4096;
        QTest::newRow("inside a block") << 4096 << 3000 << 2048;
        QTest::newRow("first block") << 4096 << 1023 << 0;
        QTest::newRow("negative") << 4096 << -5 << 0;
        QTest::newRow("beyond an uneven buffer") << 4500 << 9000 << 4096;
    }

    void seekRoundsDownAndStaysInTheBuffer()
    {
        QFETCH(int, size);
        QFETCH(int, seek);
        QFETCH(int, position);
        RecordPlayer player;
        player.Play(nullptr, LocalFile("seek.wav", size));
        player.Seek(seek);
        QCOMPARE(player.Position(), position);
        player.Stop();
    }

    void playingGoesOnFromTheSeek()
    {
        RecordPlayer player;
        PlayerEvents events(&player);
        player.Play(nullptr, LocalFile("long.wav", 10 * 1024));
        QTRY_VERIFY(!events.Args(2).isEmpty());
        const int atPause = events.Args(2).size();
        player.SwitchPause();
        // A block being handed to the output when the pause came still reports its position.
        WaitForTheBlockInFlight(events, atPause);
        const int before = events.Args(2).size();
        player.Seek(8192);
        player.SwitchPause();
        QVERIFY(WaitUntilStopped(player));
        const QList<int> after = events.Args(2).mid(before);
        QVERIFY(!after.isEmpty());
        QCOMPARE(after.last(), 10 * 1024);
        for (int p : after)
            QVERIFY2(p >= 8192, qPrintable(QString::number(p)));
        QCOMPARE(events.Args(5), QList<int>{0});
        QCOMPARE(events.Args(3), (QList<int>{0, 0}));
    }

    void switchPauseWhileStoppedDoesNothing()
    {
        RecordPlayer player;
        PlayerEvents events(&player);
        player.SwitchPause();
        player.Stop();
        QVERIFY(events.All().isEmpty());
        QVERIFY(!player.IsPlaying());
    }

    void playDuringADownloadCancelsIt()
    {
        // Late replies keep the download of the large record going while the second Play comes.
        emu::Faults slow;
        slow.delayMs = 5;
        m_Recorder->SetFaults(slow);
        const QString big = DeviceFile("big.wav", 300 * 1024);
        m_Recorder->ClearLog();
        RecordPlayer player;
        PlayerEvents events(&player);
        player.Play(m_Device.get(), big);
        QTRY_VERIFY(events.Args(1).size() >= 2);
        QElapsedTimer timer;
        timer.start();
        player.Play(nullptr, LocalFile("next.wav", 2500));
        QVERIFY(timer.elapsed() < 1000);
        m_Recorder->SetFaults(emu::Faults());
        QVERIFY(WaitUntilStopped(player));
        // The download ended at a block, without the end request of a whole transfer.
        QCOMPARE(EndRequests(), 0);
        QVERIFY(m_Recorder->CountRequests(29) < 100);
        const QList<PlayerEvent> all = events.All();
        const int restart = all.indexOf(PlayerEvent(0, 2500));
        QVERIFY(restart > 0);
        QCOMPARE(all.mid(restart), (QList<PlayerEvent>{{0, 2500}, {1, 2500}, {3, 0}, {2, 1024}, {2, 2048}, {4, 0}}));
        QCOMPARE(all[restart - 1], PlayerEvent(4, 0));
    }

    void stopReturnsPromptly()
    {
        RecordPlayer player;
        PlayerEvents events(&player);
        player.Play(nullptr, LocalFile("minute.wav", 60 * 8000));
        QTRY_VERIFY(events.Args(2).size() >= 3);
        QElapsedTimer timer;
        timer.start();
        player.Stop();
        QVERIFY2(timer.elapsed() < 400, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(!player.IsPlaying());
        QCOMPARE(events.All().last(), PlayerEvent(4, 0));

        // And while paused.
        events.Clear();
        player.Play(nullptr, LocalFile("minute.wav", 60 * 8000));
        QTRY_VERIFY(!events.Args(2).isEmpty());
        const int atPause = events.Args(2).size();
        player.SwitchPause();
        WaitForTheBlockInFlight(events, atPause);
        timer.restart();
        player.Stop();
        QVERIFY(timer.elapsed() < 400);
        QCOMPARE(events.All().last(), PlayerEvent(4, 0));
    }
};

QTEST_MAIN(RecordPlayerTest)
#include "tst_record_player.moc"
