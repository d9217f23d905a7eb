// Language changes on the GUI thread while two recorders' devices fill their tables on other threads (the
// heartbeat's events, and user and channel-setting reads standing in for the auto-login sequence). The texts
// those threads take must be safe to read during a change (run under the thread sanitizer), and a row filled
// after the last change shows the last language.

#include "DeviceTestSupport.h"
#include "Language.h"
#include "ProgramFolder.h"

#include "EmuHeartbeat.h"
#include "EmuRecords.h"
#include "Emulator.h"

#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

namespace emu = calvox::emu;

namespace {

constexpr int kChannels = 4;

struct Recorder {
    explicit Recorder(const char* id)
    {
        emu::RecorderConfig config;
        config.id = id;
        config.port = 0;
        recorder = emulator.Add(config);
        device.reset(KesDevice::Create(QStringLiteral("Desk"), QString::fromLatin1(id)));
        if (recorder == nullptr || !device)
            return;
        // Every channel in another record mode, so each row shows a mode name.
        std::lock_guard<std::mutex> lock(recorder->StateMutex());
        for (int c = 0; c < kChannels; ++c)
            recorder->State<emu::DeviceRecords>().channel[c][899] = static_cast<uint8_t>(c + 1);
        device->SetNetAddr(QStringLiteral("127.0.0.1"), recorder->Port());
        device->UserName = QStringLiteral("admin");
        device->Password = QStringLiteral("admin");
    }
    ~Recorder()
    {
        device.reset();
        emulator.Stop();
    }

    emu::Emulator emulator;
    emu::Recorder* recorder = nullptr;
    std::unique_ptr<KesDevice> device;
};

}  // namespace

class TestLanguageSwitchThreads : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_Program;

private slots:
    void initTestCase()
    {
        QVERIFY(m_Program.isValid());
        SetProgramFolder(m_Program.path());  // the "OEM" file goes there
        new Language;
        QVERIFY(Language::Names().size() >= 2);
        Language::Load(Language::Names().at(0));
    }

    void cleanupTestCase() { delete g_Language; }

    void rowsFollowTheLastOfFiftySwitches()
    {
        StatusIconsFixture icons;
        Recorder a("4A000000000000000001");
        Recorder b("4B000000000000000002");
        std::vector<Recorder*> recorders = {&a, &b};
        for (Recorder* r : recorders) {
            QVERIFY(r->recorder && r->device);
            QCOMPARE(r->device->Login(), 0);
            r->device->CreateHeartbeatThread();
        }

        std::atomic<bool> stop{false};
        std::atomic<int> fills[2] = {{0}, {0}};
        std::vector<std::thread> fillers;
        for (int i = 0; i < 2; ++i) {
            fillers.emplace_back([&, i] {
                KesDevice* d = recorders[static_cast<size_t>(i)]->device.get();
                for (int round = 0; !stop; ++round) {
                    d->GetUserList();
                    d->GetChannelSetting(round % kChannels);
                    // Lines change too, so the heartbeat keeps filling the monitor rows meanwhile.
                    emu::SetLine(*recorders[static_cast<size_t>(i)]->recorder, round % kChannels,
                                 round % 2 ? emu::kLineRing : emu::kLineOnHook, "12");
                    ++fills[i];
                }
            });
        }

        const QStringList names = Language::Names();
        for (int n = 0; n < 50; ++n) {
            Language::Load(names.at(n % 2 == 0 ? 1 : 0));  // the fiftieth loads English
            QTest::qWait(5);
        }
        Language::Load(names.at(1));  // and the last one Chinese
        // Rows filled from now on show it: wait for a few whole rounds of fills.
        const int after[2] = {fills[0] + kChannels + 1, fills[1] + kChannels + 1};
        QTRY_VERIFY_WITH_TIMEOUT(fills[0] >= after[0] && fills[1] >= after[1], 20000);
        stop = true;
        for (std::thread& t : fillers)
            t.join();

        QVERIFY(TextMisc001 != QStringLiteral("Yes"));  // Chinese is loaded
        for (Recorder* r : recorders) {
            KesDevice* d = r->device.get();
            QCOMPARE(RowCount(d->UserListData), 1);
            for (int cell = 1; cell <= 5; ++cell)
                QCOMPARE(CellText(d->UserListData, 0, cell), TextMisc001);  // admin may do everything
            for (int c = 0; c < kChannels; ++c)
                QCOMPARE(CellText(d->MonitorData, c, 10), TextDevice031.at(c + 1));
        }
    }
};

QTEST_MAIN(TestLanguageSwitchThreads)
#include "tst_language_switch_threads.moc"
