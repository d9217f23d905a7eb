// Removing devices while they are busy: recorders emulated in this process on 127.0.0.1 keep every device's
// heartbeat producing events, a worker thread walks the device list, and another worker removes devices, as the
// wait panel does. Run under the address sanitizer, a use of a deleted device anywhere fails the test.

#include "DataFolder.h"
#include "DeviceManage.h"
#include "KesDevice.h"
#include "ZGridListData.h"

#include "EmuHeartbeat.h"
#include "Emulator.h"

#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <memory>
#include <thread>

namespace emu = calvox::emu;

namespace {

const char* const kIds[] = {"4B000000000000000051", "4B000000000000000052", "4B000000000000000053"};

// Reads what a receiver would: the names, the connection and every monitor row under the table's lock.
int Touch(KesDevice* device)
{
    int sum = device->Name.size() + device->ID.size() + CalvoxAPI_ConnectStatus(device->Handle);
    device->MonitorData->Lock();
    for (const ZGridListRow* row : device->MonitorData->Rows)
        sum += row->Cells[7].Text.size() + row->Visible;
    device->MonitorData->Unlock();
    return sum;
}

}  // namespace

class TestDeviceManageEmulator : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("CALVOX_TIME_SCALE"))
            qputenv("CALVOX_TIME_SCALE", "0.05");
    }

    void removingFromAWorkerWhileTheListIsWalkedAndHeartbeatsRun()
    {
        QTemporaryDir data;
        QVERIFY(data.isValid());
        g_DataPath = data.path();
        emu::Emulator emulator;
        std::unique_ptr<DeviceManage> manage = std::make_unique<DeviceManage>();
        QVERIFY(DeviceManage::LoadDevices());

        QList<emu::Recorder*> recorders;
        QList<QPointer<KesDevice>> devices;
        for (const char* id : kIds) {
            emu::RecorderConfig config;
            config.id = id;
            config.port = 0;
            emu::Recorder* recorder = emulator.Add(config);
            QVERIFY(recorder);
            recorders << recorder;
            KesDevice* device = KesDevice::Create(QStringLiteral("Recorder %1").arg(recorders.size()), id);
            QVERIFY(device);
            device->SetNetAddr(QStringLiteral("127.0.0.1"), recorder->Port());
            device->UserName = QStringLiteral("admin");
            device->Password = QStringLiteral("admin");
            QVERIFY(DeviceManage::AddDevice(device));
            devices << device;
        }

        // Receivers on the GUI thread: the removal signal, the relayed events and a device's own signal.
        QStringList removedSeen;
        QList<KesDevice*> removed;
        int relayedAfterRemoval = 0;
        std::atomic<int> ownEvents{0};
        connect(g_DeviceManage, &DeviceManage::DeviceListChanged, this,
                [&](DeviceManageEvent event, KesDevice* device, int index) {
                    if (event != DeviceRemoved)
                        return;
                    removedSeen << QStringLiteral("%1@%2:%3").arg(device->Name).arg(index).arg(Touch(device) > 0);
                    removed << device;
                });
        connect(g_DeviceManage, &DeviceManage::DeviceEventSignal, this,
                [&](KesDevice* device, Calvox_EventType, unsigned char*, int) {
                    if (removed.contains(device))
                        ++relayedAfterRemoval;
                    Touch(device);
                });
        for (const QPointer<KesDevice>& device : devices) {
            connect(device.data(), &KesDevice::DeviceEventSignal, this,
                    [&](KesDevice* sender, Calvox_EventType, unsigned char*, int) {
                        Touch(sender);
                        ++ownEvents;
                    });
            QCOMPARE(device->Login(), 0);
            device->CreateHeartbeatThread();
        }

        std::atomic<bool> stop{false};
        // The recorders' lines keep changing, so every heartbeat brings events.
        std::thread script([&] {
            for (int i = 0; !stop; ++i) {
                for (emu::Recorder* recorder : recorders) {
                    emu::SetLine(*recorder, i % 4, i % 2 ? emu::kLineRing : emu::kLineOnHook, "12", uint8_t(i));
                    emu::SetTalkTime(*recorder, (i + 1) % 4, uint16_t(i));
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
        // A worker walking the list, as the record search and the backup do.
        std::atomic<long> walks{0};
        std::thread walker([&] {
            while (!stop) {
                // The holds last a while, as a search over a device's records would: long enough to span a
                // removal, which waits for the device's heartbeat to stop.
                const std::vector<DeviceHold> holds = DeviceManage::HoldDevices();
                for (int pass = 0; pass < 10 && !stop; ++pass) {
                    for (const DeviceHold& hold : holds)
                        walks += Touch(hold.Device()) > 0;
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                }
                if (DeviceHold first = DeviceManage::HoldDevice(0))
                    Touch(first.Device());
            }
        });
        QTRY_VERIFY(ownEvents > 30);

        // The wait panel's thread removes the middle device, then the first one.
        std::atomic<int> results{0};
        std::atomic<bool> done{false};
        std::thread remover([&] {
            results += DeviceManage::RemoveDevice(1) ? 1 : 0;
            results += DeviceManage::RemoveDevice(0) ? 1 : 0;
            done = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(done, 30000);
        remover.join();
        QCOMPARE(results.load(), 2);
        QTRY_VERIFY(devices[1].isNull() && devices[0].isNull());
        const long walksAfter = walks;
        QTRY_VERIFY(walks > walksAfter + 10);  // the walker goes on over the remaining device
        stop = true;
        walker.join();
        script.join();

        QCOMPARE(removedSeen, (QStringList{"Recorder 2@1:1", "Recorder 1@0:1"}));
        QCOMPARE(relayedAfterRemoval, 0);
        QCOMPARE(DeviceManage::DeviceCount(), 1);
        QCOMPARE(DeviceManage::GetDevice(0)->ID, QString::fromLatin1(kIds[2]));
        // The remaining device still reports.
        const int before = ownEvents;
        emu::SetLine(*recorders[2], 0, emu::kLineOffHook);
        QTRY_VERIFY(ownEvents > before);
        manage.reset();
        QVERIFY(devices[2].isNull());
    }
};

// No GUI: the offscreen platform plugin leaves its screen allocated at exit, which the leak checker reports.
QTEST_GUILESS_MAIN(TestDeviceManageEmulator)
#include "tst_device_manage_emulator.moc"
