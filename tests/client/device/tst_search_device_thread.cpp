// SearchDeviceThread against emulated recorders on loopback: the SDK's search is pointed at 127.0.0.1 and at the
// recorders' unicast addresses through its internal override, so nothing is broadcast. This test links the SDK's
// objects directly (the override is not exported), with the search thread's own sources.

#include "SearchDeviceThread.h"

#include "Search.h"
#include "TimeScale.h"

#include "EmuSearch.h"
#include "Emulator.h"

#include <QSignalSpy>
#include <QtTest>

#include <arpa/inet.h>
#include <cstring>

namespace emu = calvox::emu;

namespace {

// What one FoundDeviceSignal delivered, read when the signal arrived.
struct Found {
    Calvox_FoundDeviceInfo* Pointer;
    QString ID;
    QString Model;
    int Channels;
    QString Firmware;
    QString Address;
    int Port;
};

}  // namespace

class TestSearchDeviceThread : public QObject
{
    Q_OBJECT

private:
    emu::Recorder* AddRecorder(const char* id, uint32_t firmware)
    {
        emu::RecorderConfig config;
        config.id = id;
        config.bindAddress = "127.0.0.1";
        config.port = 0;
        emu::Recorder* recorder = m_Emulator->Add(config);
        if (recorder != nullptr) {
            std::lock_guard<std::mutex> lock(recorder->StateMutex());
            recorder->State<emu::SearchIdentity>().firmwareVersion = firmware;
        }
        return recorder;
    }

    void PointSearchAt(const std::vector<emu::Recorder*>& recorders)
    {
        calvox::SearchOverride o;
        o.adapters = std::vector<calvox::net::LocalAdapter>{{inet_addr("127.0.0.1"), inet_addr("255.0.0.0")}};
        o.destinations.emplace();
        for (const emu::Recorder* r : recorders)
            o.destinations->push_back(r->Address());
        calvox::SetSearchOverride(o);
    }

    void Watch(SearchDeviceThread* thread)
    {
        connect(thread, &SearchDeviceThread::FoundDeviceSignal, this, [this](Calvox_FoundDeviceInfo* info) {
            m_Found.append({info, QString::fromLatin1(info->ID, 20), QString::fromLatin1(info->Model), info->Channels,
                            QString::fromLatin1(info->FirmwareVersion), QString::fromLatin1(info->Address), info->Port});
        });
        connect(thread, &SearchDeviceThread::ProgressSignal, this, [this](int p) { m_Progress.append(p); });
        connect(thread, &SearchDeviceThread::SearchDoneSignal, this, [this] { ++m_Done; });
    }

    std::unique_ptr<emu::Emulator> m_Emulator;
    QList<Found> m_Found;
    QList<int> m_Progress;
    int m_Done = 0;

private slots:
    void initTestCase() { calvox::SetTimeScale(0.05); }
    void init()
    {
        m_Emulator = std::make_unique<emu::Emulator>();
        m_Found.clear();
        m_Progress.clear();
        m_Done = 0;
    }
    void cleanup()
    {
        calvox::ClearSearchOverride();
        m_Emulator.reset();
    }

    void eachRecorderArrivesOnceWithItsRecord()
    {
        emu::Recorder* a = AddRecorder("4B000000000000000011", 0x02000708);
        emu::Recorder* b = AddRecorder("6A000000000000000012", 0x03010000);
        QVERIFY(a && b);
        PointSearchAt({a, b});
        SearchDeviceThread thread;
        Watch(&thread);
        thread.start();
        QTRY_COMPARE_WITH_TIMEOUT(m_Done, 1, 20000);
        QVERIFY(thread.wait(5000));

        QCOMPARE(m_Found.size(), 2);
        QVERIFY(m_Found[0].Pointer != m_Found[1].Pointer);
        QCOMPARE(thread.FoundDevices, (QList<Calvox_FoundDeviceInfo*>{m_Found[0].Pointer, m_Found[1].Pointer}));
        QMap<QString, Found> byId;
        for (const Found& f : m_Found)
            byId.insert(f.ID, f);
        const Found& fa = byId.value(QStringLiteral("4B000000000000000011"));
        QCOMPARE(fa.Model, QStringLiteral("KES2204S"));
        QCOMPARE(fa.Channels, 4);
        QCOMPARE(fa.Firmware, QStringLiteral("2.0.7.8"));
        QCOMPARE(fa.Address, QStringLiteral("127.0.0.1"));
        QCOMPARE(fa.Port, int(a->Port()));
        const Found& fb = byId.value(QStringLiteral("6A000000000000000012"));
        QCOMPARE(fb.Model, QStringLiteral("KES2216H"));
        QCOMPARE(fb.Channels, 16);
        QCOMPARE(fb.Firmware, QStringLiteral("3.1.0.0"));
        QCOMPARE(fb.Port, int(b->Port()));
        // The copies still hold what the signals showed.
        for (const Found& f : m_Found)
            QCOMPARE(QString::fromLatin1(f.Pointer->ID, 20), f.ID);
        QVERIFY(!m_Progress.isEmpty());
        QCOMPARE(m_Progress.last(), 100);
    }

    void secondSearchReplacesTheFirstOnesCopies()
    {
        emu::Recorder* a = AddRecorder("4B000000000000000021", 0x02000001);
        QVERIFY(a);
        PointSearchAt({a});
        SearchDeviceThread thread;
        Watch(&thread);
        thread.start();
        QTRY_COMPARE_WITH_TIMEOUT(m_Done, 1, 20000);
        QVERIFY(thread.wait(5000));
        QCOMPARE(m_Found.size(), 1);

        emu::Recorder* b = AddRecorder("4B000000000000000022", 0x02000002);
        QVERIFY(b);
        PointSearchAt({a, b});
        m_Found.clear();
        thread.start();
        QTRY_COMPARE_WITH_TIMEOUT(m_Done, 2, 20000);
        QVERIFY(thread.wait(5000));
        // Found again, with fresh copies; the first run's copy is gone from the list (and freed: the address
        // sanitizer's leak check would name it otherwise).
        QCOMPARE(m_Found.size(), 2);
        QCOMPARE(thread.FoundDevices.size(), 2);
        QStringList ids;
        for (const Found& f : m_Found) {
            ids << f.ID;
            QVERIFY(thread.FoundDevices.contains(f.Pointer));
        }
        ids.sort();
        QCOMPARE(ids, (QStringList{"4B000000000000000021", "4B000000000000000022"}));
    }

    void startDuringASearchIsIgnored()
    {
        emu::Recorder* a = AddRecorder("4B000000000000000031", 0x02000001);
        QVERIFY(a);
        PointSearchAt({a});
        SearchDeviceThread thread;
        Watch(&thread);
        thread.start();
        thread.start();
        QTRY_COMPARE_WITH_TIMEOUT(m_Done, 1, 20000);
        QVERIFY(thread.wait(5000));
        QTest::qWait(700);
        QCOMPARE(m_Done, 1);
        QCOMPARE(m_Found.size(), 1);
        QCOMPARE(thread.FoundDevices.size(), 1);
    }

    void recorderWhoseIdIsAPathIsNotReported()
    {
        emu::Recorder* bad = AddRecorder("4B00000000000000/../", 0x02000001);
        emu::Recorder* good = AddRecorder("4B000000000000000041", 0x02000001);
        QVERIFY(bad && good);
        PointSearchAt({bad, good});
        SearchDeviceThread thread;
        Watch(&thread);
        thread.start();
        QTRY_COMPARE_WITH_TIMEOUT(m_Done, 1, 20000);
        QVERIFY(thread.wait(5000));
        QCOMPARE(m_Found.size(), 1);
        QCOMPARE(m_Found[0].ID, QStringLiteral("4B000000000000000041"));
        QCOMPARE(thread.FoundDevices.size(), 1);
    }

    void searchWithoutAddressesOnlyReportsProgressAndTheEnd()
    {
        calvox::SearchOverride o;
        o.adapters = std::vector<calvox::net::LocalAdapter>{};
        calvox::SetSearchOverride(o);
        SearchDeviceThread thread;
        Watch(&thread);
        thread.start();
        QTRY_COMPARE_WITH_TIMEOUT(m_Done, 1, 20000);
        QVERIFY(m_Found.isEmpty());
        QCOMPARE(m_Progress, QList<int>{100});
    }
};

QTEST_MAIN(TestSearchDeviceThread)
#include "tst_search_device_thread.moc"
