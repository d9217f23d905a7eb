// Record search over the PC backup and over any store; the criteria in their order; skipped months and channels.
#include "ContactsFixture.h"
#include "RecordFixture.h"

#include "LanguageTexts.h"
#include "store/RecordRow.h"
#include "store/RecordSearch.h"

#include "ZGridListData.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QString Id = QStringLiteral("KW0123456789ABCDEF01");

// Rows as "time|channel|phone|contact" for short comparisons.
QStringList Rows(const ZGridListData* table)
{
    QStringList rows;
    for (const ZGridListRow* row : table->Rows)
        rows << QStringList{row->Cells[1].Text, row->Cells[2].Text, row->Cells[7].Text, row->Cells[8].Text}.join('|');
    return rows;
}

// A store whose day lists fail for chosen months; every listed day has one record at 12:00 on channel 1.
class ScriptedSource : public RecordSearchSource
{
public:
    QList<int> failingMonths;
    QList<QPair<int, int>> asked;

    bool LatestRecordDate(unsigned char*, unsigned char*, unsigned char*) override { return false; }
    bool DayList(unsigned char year, unsigned char month, unsigned char days[32]) override
    {
        asked << qMakePair(int(year), int(month));
        if (failingMonths.contains(month))
            return false;
        std::memset(days, 0, 32);
        days[10] = 1;
        return true;
    }
    QString ChannelName(int channel) override { return QStringLiteral("Line %1").arg(channel + 1); }
    bool ChannelVisible(int channel) override { return channel != 2; }
    IndexResult ReadIndex(unsigned char year, unsigned char month, unsigned char day, int channel,
                          unsigned char** buffer, int* size) override
    {
        if (channel == 1)
            return IndexResult::Failed;
        const QByteArray file = MakeIndexFile({MakeEntry(2000 + year, month, day, 12, 0, 0, 0, 9, "42")});
        *buffer = new unsigned char[file.size()];
        std::memcpy(*buffer, file.constData(), file.size());
        *size = file.size();
        return IndexResult::Read;
    }
};

}  // namespace

class RecordSearchTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_backup;
    std::unique_ptr<ContactsFixture> m_contacts;

    void Write(int year, int month, int day, int channel, const QList<RecordIndexEntry>& entries,
               const QList<int>& deleted = {})
    {
        QVERIFY(WriteBytes(IndexPathIn(Id, year, month, day, channel), MakeIndexFile(entries, deleted)));
    }

private slots:
    void init()
    {
        m_contacts = std::make_unique<ContactsFixture>();
        // Zed's 1255 is Anna's: the first contact holding a number names it. Bob's "+777" is no record's number.
        QVERIFY(WriteBook("/Office/Book", QJsonArray{ContactJson("Anna Berg", "1255;555123"),
                                                    ContactJson("Bob", "0559", "777", "ACME"),
                                                    ContactJson("Zed Bob", "1255;+777")}));
        LoadContactsFolder(ContactsRoot);
        m_backup = std::make_unique<QTemporaryDir>();
        g_SoftwareSetting.BackupPath = m_backup->path() + QLatin1Char('/');
        TestLocalDevices().clear();
        AddTestLocalDevice(QStringLiteral("Front desk"), Id, 4, '9');
        g_RecordSearchCondition = RecordSearchCondition();
        g_RecordSearchCondition.Target = 1;
        g_RecordSearchCondition.Device = QStringLiteral("Front desk");
    }

    void cleanup()
    {
        m_contacts.reset();
        m_backup.reset();
    }

    // 30 December from 22:00, 31 December and 1 January whole, 2 January up to 01:00; a record past the end
    // ends its file's walk.
    void windowAcrossTheYearBoundary()
    {
        Write(2023, 12, 29, 1, {MakeEntry(2023, 12, 29, 23, 0, 0)});
        Write(2023, 12, 30, 1, {MakeEntry(2023, 12, 30, 21, 59, 59), MakeEntry(2023, 12, 30, 22, 0, 0)});
        Write(2023, 12, 31, 2, {MakeEntry(2023, 12, 31, 0, 0, 0), MakeEntry(2023, 12, 31, 23, 59, 59)});
        Write(2024, 1, 1, 4, {MakeEntry(2024, 1, 1, 0, 0, 0), MakeEntry(2024, 1, 1, 23, 59, 0)});
        Write(2024, 1, 2, 1, {MakeEntry(2024, 1, 2, 0, 30, 0), MakeEntry(2024, 1, 2, 1, 0, 59),
                              MakeEntry(2024, 1, 2, 1, 1, 0), MakeEntry(2024, 1, 2, 0, 40, 0)});
        Write(2024, 1, 3, 1, {MakeEntry(2024, 1, 3, 0, 0, 0)});
        SetWindow(g_RecordSearchCondition, 2023, 12, 30, 22, 0, 2024, 1, 2, 1, 0);
        ZGridListData* table = SearchRecords();
        QVERIFY(table);
        QCOMPARE(Rows(table), QStringList({"2023-12-30 22:00:00|1||", "2023-12-31 00:00:00|2||",
                                           "2023-12-31 23:59:59|2||", "2024-01-01 00:00:00|4||",
                                           "2024-01-01 23:59:00|4||", "2024-01-02 00:30:00|1||",
                                           "2024-01-02 01:00:59|1||"}));
        // The window is the caller's and stays as it was.
        QCOMPARE(int(g_RecordSearchCondition.Start[4]), 0);
        QCOMPARE(int(g_RecordSearchCondition.End[3]), 1);
    }

    // The first and the last minute of a day within the window; the same table comes back each time.
    void firstAndLastMinute()
    {
        Write(2024, 2, 29, 3, {MakeEntry(2024, 2, 29, 0, 0, 0), MakeEntry(2024, 2, 29, 12, 0, 0),
                               MakeEntry(2024, 2, 29, 23, 59, 59)});
        SetWindow(g_RecordSearchCondition, 2024, 2, 29, 0, 0, 2024, 2, 29, 23, 59);
        ZGridListData* first = SearchRecords();
        QVERIFY(first);
        QCOMPARE(first->Rows.size(), 3);
        SetWindow(g_RecordSearchCondition, 2024, 2, 29, 0, 1, 2024, 2, 29, 23, 58);
        ZGridListData* second = SearchRecords();
        QCOMPARE(second, first);
        QCOMPARE(Rows(second), QStringList({"2024-02-29 12:00:00|3||"}));
        QCOMPARE(LocalRecordTable(), first);
    }

    void filters_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("phones");
        QTest::newRow("none") << "" << "" << QStringList{"1255", "0559", "9555123", "9555123", "777", "3"};
        QTest::newRow("phone 55 anywhere") << "phone" << "55" << QStringList{"1255", "0559", "9555123", "9555123"};
        QTest::newRow("empty phone text") << "phone" << "" << QStringList{"1255", "0559", "9555123", "9555123",
                                                                          "777", "3"};
        QTest::newRow("name, any case") << "name" << "ann" << QStringList{"1255", "9555123"};
        QTest::newRow("company number names the company") << "name" << "acme" << QStringList{"777"};
        QTest::newRow("a number named by an earlier contact") << "name" << "zed" << QStringList{};
        QTest::newRow("name in two contacts") << "name" << "BOB" << QStringList{"0559"};
        QTest::newRow("empty name text") << "name" << "" << QStringList{"1255", "0559", "9555123", "9555123",
                                                                        "777", "3"};
        QTest::newRow("notes, any case") << "notes" << "CALL" << QStringList{"0559"};
        QTest::newRow("type outbound") << "type" << "1" << QStringList{"9555123"};
        QTest::newRow("talk 10..20") << "talk" << "10-20" << QStringList{"1255", "0559"};
        QTest::newRow("channels 2 and 4") << "channel" << "" << QStringList{"777", "3"};
    }

    // Outbound numbers lose the outside-line digit ('9') before the lookup; other types keep it.
    void filters()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        Write(2024, 3, 15, 1, {MakeEntry(2024, 3, 15, 8, 0, 0, 0, 10, "1255"),
                               MakeEntry(2024, 3, 15, 8, 1, 0, 0, 20, "0559", 0, "please call back"),
                               MakeEntry(2024, 3, 15, 8, 2, 0, 1, 21, "9555123"),
                               MakeEntry(2024, 3, 15, 8, 3, 0, 0, 9, "9555123")});
        Write(2024, 3, 15, 2, {MakeEntry(2024, 3, 15, 9, 0, 0, 2, 0, "777")});
        Write(2024, 3, 15, 4, {MakeEntry(2024, 3, 15, 9, 0, 0, 5, 600, "3")});
        RecordSearchCondition& c = g_RecordSearchCondition;
        if (field == "phone") {
            c.PhoneFilter = true;
            c.Phone = text;
        } else if (field == "name") {
            c.NameFilter = true;
            c.Name = text;
        } else if (field == "notes") {
            c.NotesFilter = true;
            c.Notes = text;
        } else if (field == "type") {
            c.TypeFilter = true;
            c.Type = text.toInt();
        } else if (field == "talk") {
            c.TalkTimeFilter = true;
            c.MinTalkTime = text.section('-', 0, 0).toInt();
            c.MaxTalkTime = text.section('-', 1, 1).toInt();
        } else if (field == "channel") {
            c.ChannelFilter = true;
            LocalRecordDevice& device = TestLocalDevices()["Front desk"];
            std::fill(std::begin(device.ChannelFlags), std::end(device.ChannelFlags), false);
            device.ChannelFlags[1] = device.ChannelFlags[3] = true;
        }
        ZGridListData* table = SearchRecords();
        QVERIFY(table);
        QStringList phones;
        for (const ZGridListRow* row : table->Rows)
            phones << row->Cells[7].Text;
        QTEST(phones, "phones");
        if (field.isEmpty()) {
            QCOMPARE(table->Rows[2]->Cells[8].Text, QString("Anna Berg"));  // outbound: prefix dropped
            QCOMPARE(table->Rows[3]->Cells[8].Text, QString());              // inbound: no prefix to drop
            QCOMPARE(table->Rows[4]->Cells[8].Text, QString("ACME"));
        }
    }

    // A search makes each type label and talk-time text once and shares it among rows: every row still shows
    // its own record's, and a type past the language's list reads "Unknown".
    void typeAndTalkTimeTextsPerRow()
    {
        const QStringList saved = TextDevice032;
        TextDevice032 = QStringList{"Inbound", "Outbound", "Missed"};
        Write(2024, 3, 15, 1, {MakeEntry(2024, 3, 15, 8, 0, 0, 0, 10, "1"), MakeEntry(2024, 3, 15, 8, 1, 0, 1, 70, "2"),
                               MakeEntry(2024, 3, 15, 8, 2, 0, 7, 10, "3"), MakeEntry(2024, 3, 15, 8, 3, 0, 1, 0, "4")});
        ZGridListData* table = SearchRecords();
        TextDevice032 = saved;
        QVERIFY(table);
        QStringList texts;
        for (const ZGridListRow* row : table->Rows)
            texts << row->Cells[4].Text + '|' + row->Cells[5].Text + '|' + QString::number(row->Cells[5].Value);
        QCOMPARE(texts, QStringList({"Inbound|00:10|10", "Outbound|01:10|70", "Unknown|00:10|10", "Outbound|--/--|0"}));
    }

    // Without a time criterion the newest day is searched whole and becomes the condition's window.
    void newestDayWithoutTimeFilter()
    {
        Write(2024, 3, 14, 1, {MakeEntry(2024, 3, 14, 10, 0, 0)});
        Write(2024, 3, 15, 1, {MakeEntry(2024, 3, 15, 0, 0, 0), MakeEntry(2024, 3, 15, 23, 59, 59)});
        Write(2023, 12, 31, 1, {MakeEntry(2023, 12, 31, 10, 0, 0)});
        SetWindow(g_RecordSearchCondition, 2020, 1, 1, 5, 5, 2020, 1, 1, 6, 6);
        g_RecordSearchCondition.TimeFilter = false;
        ZGridListData* table = SearchRecords();
        QVERIFY(table);
        QCOMPARE(Rows(table), QStringList({"2024-03-15 00:00:00|1||", "2024-03-15 23:59:59|1||"}));
        QCOMPARE(QByteArray(reinterpret_cast<char*>(g_RecordSearchCondition.Start), 5),
                 QByteArray("\x18\x03\x0f\x00\x00", 5));
        QCOMPARE(QByteArray(reinterpret_cast<char*>(g_RecordSearchCondition.End), 5),
                 QByteArray("\x18\x03\x0f\x17\x3b", 5));
        QVERIFY(!g_RecordSearchCondition.TimeFilter);
    }

    void nothingToSearch()
    {
        // A device folder without index files gives an empty table, not null.
        QVERIFY(QDir().mkpath(g_SoftwareSetting.BackupPath + Id + "/2403/15"));
        SetWindow(g_RecordSearchCondition, 2024, 3, 1, 0, 0, 2024, 3, 31, 23, 59);
        ZGridListData* table = SearchRecords();
        QVERIFY(table);
        QCOMPARE(table->Rows.size(), 0);
        // An end before the start searches nothing.
        SetWindow(g_RecordSearchCondition, 2024, 3, 1, 0, 0, 2023, 3, 31, 23, 59);
        QVERIFY(SearchRecords());
        g_RecordSearchCondition.Device = "Nobody";
        QCOMPARE(SearchRecords(), nullptr);
        g_RecordSearchCondition.Target = 2;
        QCOMPARE(SearchRecords(), nullptr);
        g_RecordSearchCondition.Target = 0;  // no recorder lookup installed
        QCOMPARE(SearchRecords(), nullptr);
    }

    // An index file that is there but cannot be read is counted; channels beyond 64 are never walked.
    void unreadableIndexIsCounted()
    {
        Write(2024, 3, 15, 1, {MakeEntry(2024, 3, 15, 8, 0, 0)});
        QVERIFY(QDir().mkpath(IndexPathIn(Id, 2024, 3, 15, 2)));
        AddTestLocalDevice(QStringLiteral("Front desk"), Id, 1000, '9');
        SetWindow(g_RecordSearchCondition, 2024, 3, 15, 0, 0, 2024, 3, 15, 23, 59);
        RecordSearchSkips skips;
        ZGridListData* table = SearchRecords(&skips);
        QVERIFY(table);
        QCOMPARE(table->Rows.size(), 1);
        QCOMPARE(skips.Channels, 1);
        QCOMPARE(skips.Months, 0);
    }

    // A month whose day list fails is skipped and counted; the later months are still searched; channels the
    // user may not see are not read, and channel names come from the store.
    void failedMonthIsSkippedAndCounted()
    {
        RecordSearchStore store;
        auto source = std::make_unique<ScriptedSource>();
        ScriptedSource* scripted = source.get();
        scripted->failingMonths = {11};
        store.Source = std::move(source);
        ZGridListData table(RecordColumnCount);
        store.Table = &table;
        store.Channels = 4;
        RecordSearchCondition c;
        SetWindow(c, 2023, 10, 1, 0, 0, 2024, 1, 31, 23, 59);
        RecordSearchSkips skips;
        QCOMPARE(SearchRecordStore(store, c, &skips), &table);
        QCOMPARE(scripted->asked.size(), 4);
        QCOMPARE(skips.Months, 1);
        QCOMPARE(skips.Channels, 3);  // channel 2 of three listed days
        QStringList rows;
        for (const ZGridListRow* row : table.Rows)
            rows << row->Cells[1].Text.left(10) + "|" + row->Cells[2].Text + "|" + row->Cells[3].Text;
        QCOMPARE(rows, QStringList({"2023-10-10|1|Line 1", "2023-10-10|4|Line 4", "2023-12-10|1|Line 1",
                                    "2023-12-10|4|Line 4", "2024-01-10|1|Line 1", "2024-01-10|4|Line 4"}));

        // A store that cannot name its newest day gives no table when no window is set.
        c.TimeFilter = false;
        QCOMPARE(SearchRecordStore(store, c, &skips), nullptr);
    }
};

QTEST_GUILESS_MAIN(RecordSearchTest)
#include "tst_record_search.moc"
