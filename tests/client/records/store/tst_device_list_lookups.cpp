// The record search reaches a connected recorder by the name DeviceManage lists it under, and the device it
// searches stays alive while the search runs even when the GUI removes it meanwhile. The record store sees the
// local device list's entries by name, unless a lookup of its own stands in.

#include "DataFolder.h"
#include "DeviceManage.h"
#include "KesDevice.h"
#include "SoftwareSetting.h"
#include "ZGridListData.h"
#include "store/LocalRecordDevice.h"
#include "store/RecordSearch.h"

#include "EmuFiles.h"
#include "Emulator.h"
#include "RecordTree.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace emu = calvox::emu;

class TestDeviceListLookups : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("CALVOX_TIME_SCALE"))
            qputenv("CALVOX_TIME_SCALE", "0.05");
    }

    void searchesTheNamedRecorderAndRefusesOthers()
    {
        QTemporaryDir data, storage;
        QVERIFY(data.isValid() && storage.isValid());
        g_DataPath = data.path();
        emu::Emulator emulator;
        emu::RecorderConfig config;
        config.id = "4B000000000000000061";
        config.port = 0;
        emu::Recorder* recorder = emulator.Add(config);
        QVERIFY(recorder);
        emu::ServeFiles(*recorder, storage.path().toStdString());
        for (int minute = 0; minute < 3; ++minute) {
            emu::FixtureRecord record;
            record.year = 24, record.month = 3, record.day = 5, record.hour = 9, record.minute = uint8_t(minute);
            record.channel = 1;
            record.talkSeconds = 30;
            record.phone = "5550" + std::to_string(minute);
            emu::AddFixtureRecord(storage.path().toStdString(), record);
        }

        auto manage = std::make_unique<DeviceManage>();
        KesDevice* device = KesDevice::Create(QStringLiteral("Front desk"), config.id.c_str());
        QVERIFY(device);
        device->SetNetAddr(QStringLiteral("127.0.0.1"), recorder->Port());
        device->UserName = QStringLiteral("admin");
        device->Password = QStringLiteral("admin");
        QVERIFY(DeviceManage::AddDevice(device));
        QCOMPARE(device->Login(), 0);
        device->CreateHeartbeatThread();
        QTRY_COMPARE(CalvoxAPI_ConnectStatus(device->Handle), int(Calvox_Connect_Online));

        g_RecordSearchCondition = RecordSearchCondition();
        g_RecordSearchCondition.Target = 0;
        g_RecordSearchCondition.Device = QStringLiteral("Front desk");
        RecordSearchSkips skips;
        ZGridListData* table = SearchRecords(&skips);
        QCOMPARE(table, device->RecordData);
        table->Lock();
        const int rows = table->Rows.size();
        table->Unlock();
        QCOMPARE(rows, 3);
        QCOMPARE(skips.Months + skips.Channels, 0);

        g_RecordSearchCondition.Device = QStringLiteral("Back office");
        QCOMPARE(SearchRecords(), nullptr);

        // Removed meanwhile: the search finds nothing to hold and gives no table.
        QVERIFY(DeviceManage::RemoveDevice(0));
        g_RecordSearchCondition.Device = QStringLiteral("Front desk");
        QCOMPARE(SearchRecords(), nullptr);
    }

    void theStoreSeesACopyOfTheLocalListEntry()
    {
        QTemporaryDir data, backup;
        QVERIFY(data.isValid() && backup.isValid());
        g_DataPath = data.path();
        QVERIFY(QDir(data.path()).mkpath(QStringLiteral("Devices")));
        g_SoftwareSetting.BackupPath = backup.path() + QLatin1Char('/');
        auto manage = std::make_unique<DeviceManage>();
        QVERIFY(!DeviceManage::LoadLocalDeviceList());  // no file yet: an empty list
        KesDevice* office = KesDevice::Create(QStringLiteral("Office"), QStringLiteral("4B000000000000000062"));
        QVERIFY(office);
        QVERIFY(DeviceManage::AddDevice(office));
        CalvoxAPI_BaseSetting(office->Handle)->Bytes[4] = '9';
        QVERIFY(DeviceManage::AddLocalDevice(office));
        LocalDeviceInfo* entry = DeviceManage::GetLocalDevice(QStringLiteral("Office"));
        QVERIFY(entry && entry->Channels > 3);
        entry->ChannelFlags[2] = false;

        LocalRecordDevice record;
        QVERIFY(FindLocalRecordDevice(QStringLiteral("Office"), &record));
        QCOMPARE(record.ID, QStringLiteral("4B000000000000000062"));
        QCOMPARE(record.CircuitOutNum, '9');
        QCOMPARE(record.Channels, entry->Channels);
        QVERIFY(!record.ChannelFlags[2] && record.ChannelFlags[3]);
        QVERIFY(!FindLocalRecordDevice(QStringLiteral("Nobody"), &record));

        // A lookup of its own (as tests give) stands in until it is taken away again.
        SetLocalRecordDeviceLookup([](const QString&, LocalRecordDevice*) { return false; });
        QVERIFY(!FindLocalRecordDevice(QStringLiteral("Office"), &record));
        SetLocalRecordDeviceLookup(nullptr);
        QVERIFY(FindLocalRecordDevice(QStringLiteral("Office"), &record));
    }
};

QTEST_GUILESS_MAIN(TestDeviceListLookups)
#include "tst_device_list_lookups.moc"
