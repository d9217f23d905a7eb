// KesDevice without a recorder: creation, model names, the heartbeat callback driven directly (the SDK's
// records it reads are the connection's own, written here through the accessors) and the download sinks.

#include "DeviceTestSupport.h"
#include "DownloadSinks.h"
#include "KesDeviceAutoLoginThread.h"
#include "ProgramFolder.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QtTest>

#include <cstring>
#include <vector>

namespace {

const char kId4[] = "4B000000000000000007";   // KES2204S, 4 channels
const char kId16[] = "6A000000000000000001";  // KES2216H, 16 channels

unsigned char* ChannelArg(int channel)
{
    return reinterpret_cast<unsigned char*>(static_cast<intptr_t>(channel));
}

// Every cell text, image and row flag of a table, to show that an event changed nothing.
QStringList Snapshot(ZGridListData* table)
{
    QStringList cells;
    table->Lock();
    cells << QString::number(table->RowsVisible);
    for (const ZGridListRow* row : table->Rows) {
        cells << QString::number(row->Visible);
        for (int i = 0; i < row->CellCount(); ++i)
            cells << QStringLiteral("%1/%2/%3").arg(row->Cells[i].Type).arg(row->Cells[i].Text).arg(row->Cells[i].Value);
    }
    table->Unlock();
    return cells;
}

}  // namespace

class TestKesDevice : public QObject
{
    Q_OBJECT

private:
    // Sets the SDK's status record of a channel and runs the channel-status event for it.
    void ChannelStatus(int channel, int state, int rings = 0, const QByteArray& number = QByteArray(),
                       int numberLength = -1)
    {
        Calvox_ChannelStatus* status = CalvoxAPI_ChannelStatus(m_Device->Handle, channel);
        QVERIFY(status);
        status->LineState = static_cast<uint8_t>(state);
        status->RingCount = static_cast<uint8_t>(rings);
        std::memset(status->PhoneNumber, 0, sizeof status->PhoneNumber);
        std::memcpy(status->PhoneNumber, number.constData(), qMin<size_t>(number.size(), sizeof status->PhoneNumber));
        status->PhoneNumberLength = static_cast<uint8_t>(numberLength >= 0 ? numberLength : number.size());
        m_Device->DeviceEventCallback(Calvox_Event_ChannelStatus, m_Device->Handle, ChannelArg(channel), 0);
    }

    StatusIconsFixture m_Icons;
    KesDevice* m_Device = nullptr;

private slots:
    void initTestCase() { SetEnglishTableTexts(); }
    void init()
    {
        m_Device = KesDevice::Create(QStringLiteral("Office"), QString::fromLatin1(kId4));
        QVERIFY(m_Device);
    }
    void cleanup()
    {
        delete m_Device;
        m_Device = nullptr;
    }

    void createMakesOneHiddenRowPerChannel()
    {
        std::unique_ptr<KesDevice> device(KesDevice::Create(QStringLiteral("Store"), QString::fromLatin1(kId16)));
        QVERIFY(device);
        QCOMPARE(device->ID, QString::fromLatin1(kId16));
        QCOMPARE(device->Model, QStringLiteral("KES2216H"));
        QCOMPARE(device->Channels, 16);
        QCOMPARE(device->Name, QStringLiteral("Store"));
        QVERIFY(device->Handle != 0);
        QCOMPARE(device->MonitorData->ColumnCount, 11);
        QCOMPARE(device->RecordData->ColumnCount, 12);
        QCOMPARE(device->UserListData->ColumnCount, 6);
        QCOMPARE(device->OnlineUserData->ColumnCount, 5);
        QCOMPARE(device->MonitorData->Rows.size(), 16);
        for (int i = 0; i < 16; ++i) {
            const ZGridListRow* row = device->MonitorData->Rows[i];
            QCOMPARE(row->Cells[0].Text, QStringLiteral("Store"));
            QCOMPARE(row->Cells[1].Text, QString::number(i + 1));
            QVERIFY(!row->Visible);
            QCOMPARE(row->UserData, static_cast<void*>(device.get()));
        }
        for (int i = 0; i < 64; ++i)
            QCOMPARE(device->ChannelFlags[i], i < 16);
        QVERIFY(device->MonitorData->RowsVisible);
        QVERIFY(!device->RecordData->RowsVisible);
        QVERIFY(!device->UserListData->RowsVisible);
        QVERIFY(!device->OnlineUserData->RowsVisible);
        QVERIFY(device->AutoLoginThread);
        QCOMPARE(device->AutoLoginThread->Device, device.get());
        QVERIFY(!device->AutoLoginThread->isRunning());
        QVERIFY(!device->Closing);
        QVERIFY(!device->AutoLogin && !device->SavePassword && !device->RemoteLogin && !device->Abnormal);
        QVERIFY(device->Version.Get().isEmpty());
        // SetName changes the name only; the rows keep the one given at creation.
        device->SetName(QStringLiteral("Renamed"));
        QCOMPARE(device->Name, QStringLiteral("Renamed"));
        QCOMPARE(device->MonitorData->Rows[0]->Cells[0].Text, QStringLiteral("Store"));
    }

    void createRefusesAnUnknownModel()
    {
        QVERIFY(!KesDevice::Create(QStringLiteral("x"), QStringLiteral("ZZ000000000000000000")));
        QVERIFY(!KesDevice::Create(QStringLiteral("x"), QString()));
    }

    void modelNamesComeFromTheModelFile()
    {
        QTemporaryDir folder;
        SetProgramFolder(folder.path());
        g_ModelNames.clear();
        g_ModelNames.insert(QStringLiteral("KES52xxH"), QStringLiteral("Kept"));

        KesDevice::LoadModelNames();  // no file: nothing changes
        QCOMPARE(g_ModelNames.size(), 1);

        QFile file(folder.path() + QStringLiteral("/Model"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(R"({"KES2204S": "Desk recorder 4", "KES2216H": 16, "KES52xxH": "Rack 8"})");
        file.close();
        KesDevice::LoadModelNames();
        QCOMPARE(KesDevice::ModelDisplayName(QStringLiteral("KES2204S")), QStringLiteral("Desk recorder 4"));
        QCOMPARE(KesDevice::ModelDisplayName(QStringLiteral("KES2216H")), QString());  // not a string
        QCOMPARE(KesDevice::ModelDisplayName(QStringLiteral("KES52xxH")), QStringLiteral("Rack 8"));
        QCOMPARE(KesDevice::ModelDisplayName(QStringLiteral("KES2201S")), QStringLiteral("KES2201S"));

        std::unique_ptr<KesDevice> device(KesDevice::Create(QStringLiteral("d"), QString::fromLatin1(kId4)));
        QCOMPARE(device->ModelName, QStringLiteral("Desk recorder 4"));

        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("{\"KES2204S\": ");  // not JSON: nothing changes
        file.close();
        KesDevice::LoadModelNames();
        QCOMPARE(KesDevice::ModelDisplayName(QStringLiteral("KES2204S")), QStringLiteral("Desk recorder 4"));

        SetProgramFolder(QString());
        g_ModelNames.clear();
    }

    void lineStateNoneHidesTheRowAndKeepsItsCells()
    {
        ChannelStatus(1, Calvox_Phone_Ring, 2, "5551234");
        QVERIFY(m_Device->MonitorData->Rows[1]->Visible);
        ChannelStatus(1, Calvox_Phone_None, 0, "999");
        const ZGridListRow* row = m_Device->MonitorData->Rows[1];
        QVERIFY(!row->Visible);
        QCOMPARE(CellImage(m_Device->MonitorData, 1, 5), g_StatusIcons[Calvox_Phone_Ring]);
        QCOMPARE(row->Cells[6].Text, QStringLiteral("2"));
        QCOMPARE(row->Cells[8].Text, QStringLiteral("5551234"));
        ChannelStatus(1, Calvox_Phone_OnHook);
        QVERIFY(row->Visible);
        QCOMPARE(CellImage(m_Device->MonitorData, 1, 5), g_StatusIcons[Calvox_Phone_OnHook]);
        QCOMPARE(row->Cells[6].Text, QString());
        QCOMPARE(row->Cells[8].Text, QString());
    }

    void channelStatusCells_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("rings");
        QTest::addColumn<QByteArray>("number");
        QTest::addColumn<int>("numberLength");
        QTest::addColumn<int>("icon");  // -1: no image
        QTest::addColumn<QString>("ringText");
        QTest::addColumn<QString>("phone");
        QTest::newRow("on hook") << 1 << 0 << QByteArray() << 0 << 1 << "" << "";
        QTest::newRow("ringing three times") << 3 << 3 << QByteArray("5551234") << 7 << 3 << "3" << "5551234";
        QTest::newRow("incoming, separators dropped") << 4 << 1 << QByteArray("555-12") << 6 << 4 << "1" << "55512";
        QTest::newRow("auto reply") << 6 << 0 << QByteArray("1") << 1 << 6 << "" << "1";
        QTest::newRow("length past the field") << 2 << 0 << QByteArray("12345678901234567890") << 200 << 2 << ""
                                               << "12345678901234567890";
        QTest::newRow("state without icon 12") << 12 << 0 << QByteArray() << 0 << -1 << "" << "";
        QTest::newRow("state 10 is no line state") << 10 << 0 << QByteArray() << 0 << -1 << "" << "";
        QTest::newRow("state 254") << 254 << 0 << QByteArray() << 0 << -1 << "" << "";
    }
    void channelStatusCells()
    {
        QFETCH(int, state);
        QFETCH(int, rings);
        QFETCH(QByteArray, number);
        QFETCH(int, numberLength);
        QFETCH(int, icon);
        QFETCH(QString, ringText);
        QFETCH(QString, phone);
        ChannelStatus(2, Calvox_Phone_OnHook, 9, "777");  // something to overwrite
        ChannelStatus(2, state, rings, number, numberLength);
        QVERIFY(RowVisible(m_Device->MonitorData, 2));
        QCOMPARE(CellImage(m_Device->MonitorData, 2, 5), icon < 0 ? nullptr : g_StatusIcons[icon]);
        QCOMPARE(CellText(m_Device->MonitorData, 2, 6), ringText);
        QCOMPARE(CellText(m_Device->MonitorData, 2, 8), phone);
    }

    void outgoingCallsDropTheOutsideLineDigitForTheContact()
    {
        PhoneBookFixture book({{QStringLiteral("Alice"), QStringLiteral("123")},
                               {QStringLiteral("Bob"), QStringLiteral("9123")}});
        CalvoxAPI_BaseSetting(m_Device->Handle)->Bytes[4] = '9';
        ChannelStatus(0, Calvox_Phone_OutComing, 0, "9123");
        QCOMPARE(CellText(m_Device->MonitorData, 0, 9), QStringLiteral("Alice"));
        ChannelStatus(0, Calvox_Phone_InComing, 0, "9123");
        QCOMPARE(CellText(m_Device->MonitorData, 0, 9), QStringLiteral("Bob"));
        ChannelStatus(0, Calvox_Phone_InComing, 0, "444");
        QCOMPARE(CellText(m_Device->MonitorData, 0, 9), QString());
        // Without an outside-line digit the number is looked up whole.
        CalvoxAPI_BaseSetting(m_Device->Handle)->Bytes[4] = 0;
        ChannelStatus(0, Calvox_Phone_OutComing, 0, "9123");
        QCOMPARE(CellText(m_Device->MonitorData, 0, 9), QStringLiteral("Bob"));
    }

    void talkTime_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0 << "";
        QTest::newRow("negative") << -5 << "";
        QTest::newRow("seconds only") << 7 << "00:07";
        QTest::newRow("75") << 75 << "01:15";
        QTest::newRow("3599") << 3599 << "59:59";
        QTest::newRow("3600") << 3600 << "60:00";
        QTest::newRow("65535") << 65535 << "1092:15";
    }
    void talkTime()
    {
        QFETCH(int, seconds);
        QFETCH(QString, text);
        m_Device->DeviceEventCallback(Calvox_Event_TalkTime, m_Device->Handle, ChannelArg(3), 42);
        m_Device->DeviceEventCallback(Calvox_Event_TalkTime, m_Device->Handle, ChannelArg(3), seconds);
        QCOMPARE(CellText(m_Device->MonitorData, 3, 7), text);
    }

    void monitorAndPlaybackIcons()
    {
        m_Device->DeviceEventCallback(Calvox_Event_MonitorChannel, m_Device->Handle, ChannelArg(1), 1);
        QCOMPARE(CellImage(m_Device->MonitorData, 1, 3), g_StatusIcons[kMonitoringIcon]);
        m_Device->DeviceEventCallback(Calvox_Event_MonitorChannel, m_Device->Handle, ChannelArg(1), 0);
        QCOMPARE(CellImage(m_Device->MonitorData, 1, 3), nullptr);

        CalvoxAPI_ChannelStatus(m_Device->Handle, 1)->PlaybackState = 1;
        m_Device->DeviceEventCallback(Calvox_Event_PlaybackState, m_Device->Handle, ChannelArg(1), 1);
        QCOMPARE(CellImage(m_Device->MonitorData, 1, 4), g_StatusIcons[kPlayBackIcon]);
        CalvoxAPI_ChannelStatus(m_Device->Handle, 1)->PlaybackState = 0;
        m_Device->DeviceEventCallback(Calvox_Event_PlaybackState, m_Device->Handle, ChannelArg(1), 0);
        QCOMPARE(CellImage(m_Device->MonitorData, 1, 4), nullptr);
    }

    void channelsOutsideTheTableChangeNoRowButAreEmitted()
    {
        QSignalSpy spy(m_Device, &KesDevice::DeviceEventSignal);
        const QStringList before = Snapshot(m_Device->MonitorData);
        int calls = 0;
        for (int channel : {4, -1, 64, 1000000}) {
            for (Calvox_EventType event : {Calvox_Event_ChannelStatus, Calvox_Event_TalkTime,
                                           Calvox_Event_MonitorChannel, Calvox_Event_PlaybackState}) {
                m_Device->DeviceEventCallback(event, m_Device->Handle, ChannelArg(channel), 5);
                ++calls;
            }
        }
        QCOMPARE(Snapshot(m_Device->MonitorData), before);
        QCOMPARE(spy.size(), calls);
        QCOMPARE(spy.last().at(2).value<unsigned char*>(), ChannelArg(1000000));
    }

    void goingOfflineHidesEveryRow()
    {
        for (int c = 0; c < 4; ++c)
            ChannelStatus(c, Calvox_Phone_OnHook);
        for (ZGridListData* table : {m_Device->RecordData, m_Device->UserListData, m_Device->OnlineUserData})
            table->RowsVisible = true;
        QCOMPARE(VisibleRows(m_Device->MonitorData), QStringLiteral("1111"));

        // Not logged in: the SDK reports no connection.
        QSignalSpy spy(m_Device, &KesDevice::DeviceEventSignal);
        m_Device->DeviceEventCallback(Calvox_Event_ConnectStatus, m_Device->Handle, nullptr, 0);
        QCOMPARE(VisibleRows(m_Device->MonitorData), QStringLiteral("0000"));
        QVERIFY(!RowsShown(m_Device->RecordData));
        QVERIFY(!RowsShown(m_Device->UserListData));
        QVERIFY(!RowsShown(m_Device->OnlineUserData));
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(1).value<Calvox_EventType>(), Calvox_Event_ConnectStatus);
    }

    void abnormalFollowsLostLinesWithTheWarningOn()
    {
        for (int c = 0; c < 4; ++c)
            ChannelStatus(c, Calvox_Phone_OnHook);
        QVERIFY(!m_Device->Abnormal);
        ChannelStatus(1, Calvox_Phone_Lost);  // warning off on channel 2
        QVERIFY(!m_Device->Abnormal);
        CalvoxAPI_ChannelSetting(m_Device->Handle, 2)->Bytes[896] = 1;
        ChannelStatus(2, Calvox_Phone_Lost);
        QVERIFY(m_Device->Abnormal);
        ChannelStatus(3, Calvox_Phone_OnHook);  // another channel's event keeps it
        QVERIFY(m_Device->Abnormal);
        ChannelStatus(2, Calvox_Phone_OffHook);
        QVERIFY(!m_Device->Abnormal);
    }

    void eventsWithoutTablesAreStillEmitted()
    {
        ChannelStatus(0, Calvox_Phone_OnHook, 1, "12");
        QSignalSpy spy(m_Device, &KesDevice::DeviceEventSignal);
        QList<QStringList> before;
        for (ZGridListData* t : {m_Device->MonitorData, m_Device->RecordData, m_Device->UserListData,
                                 m_Device->OnlineUserData})
            before << Snapshot(t);
        const QList<Calvox_EventType> events = {Calvox_Event_Progress, Calvox_Event_FileSize,
                                                Calvox_Event_StorageStatus, Calvox_Event_CloudServer,
                                                Calvox_Event_RecordFinished, static_cast<Calvox_EventType>(15)};
        for (Calvox_EventType event : events)
            m_Device->DeviceEventCallback(event, m_Device->Handle, ChannelArg(2), 9);
        QList<QStringList> after;
        for (ZGridListData* t : {m_Device->MonitorData, m_Device->RecordData, m_Device->UserListData,
                                 m_Device->OnlineUserData})
            after << Snapshot(t);
        QCOMPARE(after, before);
        QCOMPARE(spy.size(), events.size());
        for (int i = 0; i < events.size(); ++i) {
            QCOMPARE(spy.at(i).at(0).value<KesDevice*>(), m_Device);
            QCOMPARE(spy.at(i).at(1).value<Calvox_EventType>(), events[i]);
            QCOMPARE(spy.at(i).at(2).value<unsigned char*>(), ChannelArg(2));
            QCOMPARE(spy.at(i).at(3).toInt(), 9);
        }
    }

    void nothingHappensOnceClosing()
    {
        ChannelStatus(0, Calvox_Phone_OnHook, 1, "12");
        QSignalSpy spy(m_Device, &KesDevice::DeviceEventSignal);
        const QStringList before = Snapshot(m_Device->MonitorData);
        m_Device->Closing = true;
        CalvoxAPI_ChannelStatus(m_Device->Handle, 0)->LineState = Calvox_Phone_None;
        for (int event = 0; event <= 12; ++event)
            m_Device->DeviceEventCallback(static_cast<Calvox_EventType>(event), m_Device->Handle, ChannelArg(0), 30);
        QCOMPARE(spy.size(), 0);
        QCOMPARE(Snapshot(m_Device->MonitorData), before);
    }

    void channelRowFromASetting_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("nameText");
        QTest::addColumn<QString>("modeText");
        QTest::newRow("plain") << QByteArray("Front desk") << 1 << "Front desk" << "Voltage";
        QTest::newRow("UTF-8") << QByteArray("B\xc3\xbcro") << 6 << QString::fromUtf8("B\xc3\xbcro") << "Polarity";
        QTest::newRow("28 bytes, no terminator") << QByteArray(28, 'n') << 0 << QString(28, 'n') << "Do not REC";
        QTest::newRow("mode past the list") << QByteArray("x") << 7 << "x" << "";
        QTest::newRow("mode 255") << QByteArray() << 255 << "" << "";
    }
    void channelRowFromASetting()
    {
        QFETCH(QByteArray, name);
        QFETCH(int, mode);
        QFETCH(QString, nameText);
        QFETCH(QString, modeText);
        Calvox_ChannelSetting setting;
        std::memset(&setting, 'z', sizeof setting);  // the bytes after the name field are not part of it
        std::memset(setting.Bytes + 908, 0, 28);
        std::memcpy(setting.Bytes + 908, name.constData(), static_cast<size_t>(name.size()));
        setting.Bytes[899] = static_cast<uint8_t>(mode);
        m_Device->UpdateChannelRow(3, &setting);
        QCOMPARE(CellText(m_Device->MonitorData, 3, 2), nameText);
        QCOMPARE(CellText(m_Device->MonitorData, 3, 10), modeText);
        // Outside the table: nothing, and no crash.
        m_Device->UpdateChannelRow(4, &setting);
        m_Device->UpdateChannelRow(-1, &setting);
    }

    void bufferDownloadHoldsToTheAnnouncedSize()
    {
        std::vector<unsigned char> block(6, 'b');
        BufferDownload sink;
        QCOMPARE(sink(Calvox_Event_FileData, 1, block.data(), 6), 0);  // before the size: ignored
        QCOMPARE(sink.Received(), 0);
        QCOMPARE(sink(Calvox_Event_FileSize, 1, nullptr, 10), 0);
        QCOMPARE(sink(Calvox_Event_FileData, 1, block.data(), 6), 0);
        QCOMPARE(sink(Calvox_Event_FileData, 1, block.data(), 6), 1);  // would end at 12 of 10
        QCOMPARE(sink.Received(), 6);
        QCOMPARE(sink(Calvox_Event_FileData, 1, block.data(), 4), 0);
        QCOMPARE(sink(Calvox_Event_FileData, 1, block.data(), 1), 1);
        QCOMPARE(sink(Calvox_Event_FileSize, 1, nullptr, 100), 1);  // a second size
        QCOMPARE(sink.Size(), 10);
        std::unique_ptr<unsigned char[]> bytes(sink.Take());
        QCOMPARE(QByteArray(reinterpret_cast<char*>(bytes.get()), 10), QByteArray(10, 'b'));

        BufferDownload negative;
        QCOMPARE(negative(Calvox_Event_FileSize, 1, nullptr, -1), 1);
        BufferDownload empty(1);
        QCOMPARE(empty(Calvox_Event_FileSize, 1, nullptr, 0), 0);
        QCOMPARE(empty(Calvox_Event_FileData, 1, block.data(), 1), 1);
    }

    void fileDownloadReportsProgressAndRefusesExtraData()
    {
        QBuffer file;
        file.open(QIODevice::WriteOnly);
        QList<int> percents;
        FileDownload sink(&file, nullptr, [&percents](int percent) {
            percents << percent;
            return 0;
        });
        std::vector<unsigned char> block(1024, 'f');
        QCOMPARE(sink(Calvox_Event_FileData, 1, block.data(), 1024), 0);  // before the size: ignored
        QCOMPARE(sink(Calvox_Event_FileSize, 1, nullptr, 2500), 0);
        QCOMPARE(sink(Calvox_Event_FileData, 1, block.data(), 1024), 0);
        QCOMPARE(sink(Calvox_Event_FileData, 1, block.data(), 1024), 0);
        QCOMPARE(sink(Calvox_Event_FileData, 1, block.data(), 1024), 1);  // past 2500
        QCOMPARE(sink(Calvox_Event_FileData, 1, block.data(), 452), 0);
        QCOMPARE(percents, QList<int>({40, 81, 100}));
        QCOMPARE(file.data(), QByteArray(2500, 'f'));

        volatile bool stop = false;
        QBuffer other;
        other.open(QIODevice::WriteOnly);
        FileDownload stoppable(&other, &stop, nullptr);
        QCOMPARE(stoppable(Calvox_Event_FileSize, 1, nullptr, 2048), 0);
        QCOMPARE(stoppable(Calvox_Event_FileData, 1, block.data(), 1024), 0);
        stop = true;
        QCOMPARE(stoppable(Calvox_Event_FileData, 1, block.data(), 1024), 1);
        QCOMPARE(other.data().size(), 1024);
    }
};

QTEST_MAIN(TestKesDevice)
#include "tst_kes_device.moc"
