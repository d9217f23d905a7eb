// The record search over a recorder: the same tree served by the emulator and kept as a PC backup gives the
// same rows, for a window and for the newest day.
#include "ContactsFixture.h"
#include "RecordFixture.h"

#include "store/DeviceRecordSource.h"
#include "store/RecordRow.h"
#include "store/RecordSearch.h"

#include "EmuFiles.h"
#include "Emulator.h"

#include "ZGridListData.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <memory>

namespace {

const char* const DeviceId = "4F000000000000000005";  // model with 4 channels
Calvox_DeviceHandle g_Handle = 0;
ZGridListData* g_DeviceTable = nullptr;

// The device model's part, as it will look the recorder up by name.
bool LookupRecorder(const QString& name, RecordSearchStore* store)
{
    if (name != QLatin1String("Recorder"))
        return false;
    bool flags[64];
    std::fill(std::begin(flags), std::end(flags), true);
    return MakeDeviceRecordStore(g_Handle, g_DeviceTable, 4, flags, store);
}

QList<QStringList> RowTexts(const ZGridListData* table)
{
    QList<QStringList> rows;
    for (const ZGridListRow* row : table->Rows) {
        QStringList texts;
        for (int c = 0; c < row->CellCount(); ++c)
            texts << row->Cells[c].Text;
        texts << QString::number(reinterpret_cast<qintptr>(row->UserData));
        rows << texts;
    }
    return rows;
}

}  // namespace

class RecordSearchDeviceTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_storage;
    QTemporaryDir m_backup;
    std::unique_ptr<ContactsFixture> m_contacts;
    calvox::emu::Emulator m_emulator;

    // The same index file on the recorder and in the backup.
    void Write(int year, int month, int day, int channel, const QList<RecordIndexEntry>& entries,
               const QList<int>& deleted = {})
    {
        const QByteArray file = MakeIndexFile(entries, deleted);
        QVERIFY(WriteBytes(IndexPathIn(DeviceId, year, month, day, channel), file));
        QVERIFY(WriteBytes(m_storage.path()
                               + QStringLiteral("/RecordFiles/%1%2/%3/CH%4.Index")
                                     .arg(year - 2000, 2, 10, QLatin1Char('0'))
                                     .arg(month, 2, 10, QLatin1Char('0'))
                                     .arg(day, 2, 10, QLatin1Char('0'))
                                     .arg(channel, 2, 10, QLatin1Char('0')),
                           file));
    }

    void Compare(RecordSearchCondition condition)
    {
        g_RecordSearchCondition = condition;
        g_RecordSearchCondition.Target = 1;
        g_RecordSearchCondition.Device = "Front desk";
        RecordSearchSkips localSkips;
        ZGridListData* local = SearchRecords(&localSkips);
        QVERIFY(local);
        const RecordSearchCondition afterLocal = g_RecordSearchCondition;

        g_RecordSearchCondition = condition;
        g_RecordSearchCondition.Target = 0;
        g_RecordSearchCondition.Device = "Recorder";
        RecordSearchSkips deviceSkips;
        ZGridListData* device = SearchRecords(&deviceSkips);
        QCOMPARE(device, g_DeviceTable);
        QVERIFY(!local->Rows.isEmpty());
        QCOMPARE(RowTexts(device), RowTexts(local));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(g_RecordSearchCondition.Start), 5),
                 QByteArray(reinterpret_cast<const char*>(afterLocal.Start), 5));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(g_RecordSearchCondition.End), 5),
                 QByteArray(reinterpret_cast<const char*>(afterLocal.End), 5));
        QCOMPARE(deviceSkips.Months + deviceSkips.Channels, 0);
        QCOMPARE(localSkips.Months + localSkips.Channels, 0);
    }

private slots:
    void initTestCase()
    {
        m_contacts = std::make_unique<ContactsFixture>();
        QVERIFY(WriteBook("/Book", QJsonArray{ContactJson("Anna Berg", "555123")}));
        LoadContactsFolder(ContactsRoot);
        g_SoftwareSetting.BackupPath = m_backup.path() + QLatin1Char('/');
        AddTestLocalDevice("Front desk", DeviceId, 4, '9');

        calvox::emu::RecorderConfig config;
        config.id = DeviceId;
        config.port = 0;
        calvox::emu::Recorder* recorder = m_emulator.Add(config);
        QVERIFY(recorder);
        calvox::emu::ServeFiles(*recorder, m_storage.path().toStdString());
        g_Handle = CalvoxAPI_CreateDevice(DeviceId);
        QVERIFY(g_Handle != 0);
        QCOMPARE(CalvoxAPI_SetNetAddr(g_Handle, "127.0.0.1", recorder->Port()), 0);
        QCOMPARE(CalvoxAPI_SetUserPassword(g_Handle, "admin", 5, "admin"), 0);
        QCOMPARE(CalvoxAPI_Login(g_Handle, 0), 0);
        const Calvox_EventCallback events = [](Calvox_EventType, int, unsigned char*, int) { return 0; };
        QCOMPARE(CalvoxAPI_CreateHeartbeatThread(g_Handle, &events), 0);
        QTRY_COMPARE_WITH_TIMEOUT(CalvoxAPI_ConnectStatus(g_Handle), int(Calvox_Connect_Online), 10000);
        // The base settings carry the outside-line digit of outbound numbers.
        QCOMPARE(CalvoxAPI_GetBaseSetting(g_Handle), 0);
        Calvox_BaseSetting base = *CalvoxAPI_BaseSetting(g_Handle);
        base.Bytes[4] = '9';
        QCOMPARE(CalvoxAPI_SetBaseSetting(g_Handle, &base), 0);
        QCOMPARE(CalvoxAPI_GetBaseSetting(g_Handle), 0);
        QCOMPARE(int(CalvoxAPI_BaseSetting(g_Handle)->Bytes[4]), int('9'));
        g_DeviceTable = new ZGridListData(RecordColumnCount);
        SetOnlineRecordStoreLookup(&LookupRecorder);

        Write(2023, 12, 31, 1, {MakeEntry(2023, 12, 31, 23, 0, 0, 0, 10, "1255", 1, "late")});
        Write(2024, 1, 2, 2, {MakeEntry(2024, 1, 2, 0, 30, 0, 1, 70, "9555123", 0, "", "k1", "ext"),
                              MakeEntry(2024, 1, 2, 1, 0, 0, 2, 0, "0*1#2"),
                              MakeEntry(2024, 1, 2, 2, 0, 0, 0, 5, "77")},
              {1});
        Write(2024, 1, 2, 4, {MakeEntry(2024, 1, 2, 9, 0, 0, 5, 3000, "", 0, "all day")});
        Write(2024, 1, 5, 3, {MakeEntry(2024, 1, 5, 8, 0, 0, 0, 1, "42"), MakeEntry(2024, 1, 5, 9, 0, 0)});
    }

    void cleanupTestCase()
    {
        SetOnlineRecordStoreLookup(nullptr);
        CalvoxAPI_DeleteDevice(g_Handle);
        m_emulator.Stop();
        delete g_DeviceTable;
        m_contacts.reset();
    }

    void window()
    {
        RecordSearchCondition c;
        c.TimeFilter = true;
        const unsigned char start[7] = {23, 12, 31, 22, 0, 0, 0};
        const unsigned char end[7] = {24, 1, 2, 12, 0, 0, 0};
        std::memcpy(c.Start, start, 7);
        std::memcpy(c.End, end, 7);
        Compare(c);
        QCOMPARE(g_DeviceTable->Rows.size(), 4);
        QCOMPARE(g_DeviceTable->Rows[1]->Cells[8].Text, QString("Anna Berg"));
    }

    void newestDay()
    {
        Compare(RecordSearchCondition());
        QCOMPARE(g_DeviceTable->Rows.size(), 2);
        QCOMPARE(int(g_RecordSearchCondition.Start[2]), 5);
    }

    void filtered()
    {
        RecordSearchCondition c;
        c.TimeFilter = true;
        const unsigned char start[7] = {23, 1, 1, 0, 0, 0, 0};
        const unsigned char end[7] = {24, 12, 31, 23, 59, 0, 0};
        std::memcpy(c.Start, start, 7);
        std::memcpy(c.End, end, 7);
        c.NameFilter = true;
        c.Name = "BERG";
        Compare(c);
        QCOMPARE(g_DeviceTable->Rows.size(), 1);
    }

    void offlineOrUnknown()
    {
        g_RecordSearchCondition = RecordSearchCondition();
        g_RecordSearchCondition.Device = "Nobody";
        QCOMPARE(SearchRecords(), nullptr);
    }
};

QTEST_GUILESS_MAIN(RecordSearchDeviceTest)
#include "tst_record_search_device.moc"
