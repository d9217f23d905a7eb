// Record store: index files, rows, WAV chunks, local notes and deletes.
#include "ContactsFixture.h"
#include "RecordFixture.h"

#include "RecordTexts.h"
#include "store/RecordIndexFile.h"
#include "store/RecordPaths.h"
#include "store/RecordRow.h"
#include "store/RecordSearch.h"
#include "store/RecordStore.h"

#include "ZGridListData.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class RecordStoreTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_backup;
    std::unique_ptr<ContactsFixture> m_contacts;

    QList<QStringList> RowTexts(const ZGridListData* table)
    {
        QList<QStringList> rows;
        for (const ZGridListRow* row : table->Rows) {
            QStringList texts;
            for (int c = 0; c < row->CellCount(); ++c)
                texts << row->Cells[c].Text;
            rows << texts;
        }
        return rows;
    }

private slots:
    void init()
    {
        m_contacts = std::make_unique<ContactsFixture>();
        m_backup = std::make_unique<QTemporaryDir>();
        g_SoftwareSetting.BackupPath = m_backup->path() + QLatin1Char('/');
        TestLocalDevices().clear();
        AddTestLocalDevice(QStringLiteral("Front desk"), QStringLiteral("KW0123456789ABCDEF01"), 4);
        g_RecordSearchCondition = RecordSearchCondition();
        g_RecordSearchCondition.Target = 1;
        g_RecordSearchCondition.Device = QStringLiteral("Front desk");
    }

    void cleanup()
    {
        m_contacts.reset();
        m_backup.reset();
    }

    // Two present records and one deleted between them; a missed call; a number with "*" and "#".
    void indexFileGivesTheExactRows()
    {
        QVERIFY(WriteBook("/Book", QJsonArray{ContactJson("Anna Berg", "13579")}));
        LoadContactsFolder(ContactsRoot);
        const QList<RecordIndexEntry> entries{
            MakeEntry(2024, 3, 15, 9, 30, 12, 0, 61, "1*3#5;79", 3, "call back", "12", "ext7"),
            MakeEntry(2024, 3, 15, 10, 0, 0, 1, 5, "555"),
            MakeEntry(2024, 3, 15, 11, 5, 9, 2, 0, "0123", 4),
        };
        QVERIFY(WriteBytes(IndexPathIn("KW0123456789ABCDEF01", 2024, 3, 15, 2), MakeIndexFile(entries, {1})));

        g_RecordSearchCondition.TimeFilter = false;
        ZGridListData* table = SearchRecords();
        QVERIFY(table);
        const QList<QStringList> expected{
            {"", "2024-03-15 09:30:12", "2", "", "Inbound", "01:01", "3", "13579", "Anna Berg", "12", "ext7",
             "call back"},
            {"", "2024-03-15 11:05:09", "2", "", "Missed", "--/--", "4", "0123", "", "", "", ""},
        };
        QCOMPARE(RowTexts(table), expected);
        QCOMPARE(reinterpret_cast<qintptr>(table->Rows[0]->UserData), qintptr(0));
        QCOMPARE(reinterpret_cast<qintptr>(table->Rows[1]->UserData), qintptr(2));
        QCOMPARE(table->Rows[0]->Cells[0].Type, int(ZGridListCell::CheckCell));
        QCOMPARE(table->Rows[0]->Cells[0].Value, qintptr(0));
        QCOMPARE(table->Rows[0]->Cells[2].Value, qintptr(1));
        QCOMPARE(table->Rows[1]->Cells[4].Value, qintptr(2));
        QCOMPARE(table->Rows[0]->Cells[5].Value, qintptr(61));
    }

    void cellTexts_data()
    {
        QTest::addColumn<int>("talk");
        QTest::addColumn<int>("rings");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("talkText");
        QTest::addColumn<QString>("ringText");
        QTest::addColumn<QString>("typeText");
        QTest::newRow("no talk, no ring") << 0 << 0 << 0 << "--/--" << "" << "Inbound";
        QTest::newRow("61 s") << 61 << 1 << 8 << "01:01" << "1" << "Polarity";
        QTest::newRow("largest talk") << 65535 << 255 << 3 << "1092:15" << "255" << "Key Control";
        QTest::newRow("type past the list") << 59 << 0 << 9 << "00:59" << "" << "Unknown";
        QTest::newRow("type 255") << 3600 << 0 << 255 << "60:00" << "" << "Unknown";
    }

    void cellTexts()
    {
        QFETCH(int, talk);
        QFETCH(int, rings);
        QFETCH(int, type);
        ZGridListData table(RecordColumnCount);
        std::unique_ptr<ZGridListRow> row(table.CreateRow());
        const RecordIndexEntry entry = MakeEntry(2005, 1, 2, 3, 4, 5, type, talk, "", rings);
        FillRecordRow(row.get(), entry, 63, "Sales", "", "", "", "", 7);
        QCOMPARE(row->Cells[1].Text, QString("2005-01-02 03:04:05"));
        QCOMPARE(row->Cells[2].Text, QString("64"));
        QCOMPARE(row->Cells[2].Value, qintptr(63));
        QCOMPARE(row->Cells[3].Text, QString("Sales"));
        QTEST(row->Cells[5].Text, "talkText");
        QCOMPARE(row->Cells[5].Value, qintptr(talk));
        QTEST(row->Cells[6].Text, "ringText");
        QTEST(row->Cells[4].Text, "typeText");
        QCOMPARE(row->Cells[4].Value, qintptr(type));
        QCOMPARE(row->UserData, reinterpret_cast<void*>(7));
    }

    // The row's time text is the record-time text, also for bytes no recorder writes.
    void timeTextMatchesRecordTime()
    {
        ZGridListData table(RecordColumnCount);
        std::unique_ptr<ZGridListRow> row(table.CreateRow());
        for (const RecordIndexEntry& entry : {MakeEntry(2000, 1, 1, 0, 0, 0), MakeEntry(2255, 12, 31, 23, 59, 59),
                                               MakeEntry(2099, 255, 100, 24, 60, 255)}) {
            FillRecordRow(row.get(), entry, 0, "", "", "", "", "", 0);
            QCOMPARE(row->Cells[1].Text, RecordTimeToString(entry));
        }
    }

    void fileSizeDecidesTheRecordCount_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("records");
        QTest::newRow("short header") << 100 << 0;
        QTest::newRow("header only") << 512 << 0;
        QTest::newRow("partial entry") << 600 << 0;
        QTest::newRow("one entry") << 640 << 1;
        QTest::newRow("one and a half") << 704 << 1;
    }

    void fileSizeDecidesTheRecordCount()
    {
        QFETCH(int, size);
        QByteArray bytes = MakeIndexFile({MakeEntry(2024, 3, 15, 9, 0, 0, 0, 10, "1"),
                                          MakeEntry(2024, 3, 15, 9, 1, 0, 0, 10, "2")});
        bytes.resize(size);  // the bitmap still claims two records
        const RecordIndexFile file(bytes);
        QTEST(file.RecordCount(), "records");
        RecordIndexEntry entry;
        QCOMPARE(file.ReadEntry(file.RecordCount(), &entry), false);

        QVERIFY(WriteBytes(IndexPathIn("KW0123456789ABCDEF01", 2024, 3, 15, 1), bytes));
        g_RecordSearchCondition.TimeFilter = false;
        ZGridListData* table = SearchRecords();
        QVERIFY(table);
        QTEST(int(table->Rows.size()), "records");
    }

    // Length bytes past their fields and notes without a terminator read no byte outside the entry (ASan).
    void oversizedLengthsStayInTheirFields()
    {
        RecordIndexEntry entry = MakeEntry(2024, 3, 15, 9, 0, 0, 0, 10);
        std::memset(entry.PhoneNumber, '7', sizeof entry.PhoneNumber);
        std::memset(entry.Key, 'k', sizeof entry.Key);
        std::memset(entry.Extension, 'e', sizeof entry.Extension);
        std::memset(entry.Notes, 'n', sizeof entry.Notes);
        entry.PhoneLength = entry.KeyLength = entry.ExtensionLength = 255;
        // The entry is the last bytes of a heap buffer of exactly the file's size.
        const QByteArray file = MakeIndexFile({entry});
        std::unique_ptr<unsigned char[]> heap(new unsigned char[static_cast<std::size_t>(file.size())]);
        std::memcpy(heap.get(), file.constData(), static_cast<std::size_t>(file.size()));
        const RecordIndexFile index(heap.get(), file.size());
        RecordIndexEntry read;
        QVERIFY(index.ReadEntry(0, &read));
        QCOMPARE(RecordPhoneText(read), QString(20, '7'));
        QCOMPARE(RecordKeyText(read), QString(20, 'k'));
        QCOMPARE(RecordExtensionText(read), QString(10, 'e'));
        QCOMPARE(RecordNotesText(read), QString(65, 'n'));

        ZGridListData table(RecordColumnCount);
        std::unique_ptr<ZGridListRow> row(table.CreateRow());
        FillRecordRowFromEntry(row.get(), read, 0, 0);
        QCOMPARE(row->Cells[9].Text, QString(20, 'k'));
        QCOMPARE(row->Cells[10].Text, QString(10, 'e'));
    }

    // However large the file, no more records are walked than the bitmap can address.
    void recordsBeyondTheBitmapAreNotWalked()
    {
        QByteArray bytes(512, '\xff');
        bytes.append(QByteArray(128 * (RecordIndexFile::MaxRecords + 10), '\0'));
        const RecordIndexFile file(bytes);
        QCOMPARE(file.RecordCount(), RecordIndexFile::MaxRecords);
        QCOMPARE(file.IsPresent(RecordIndexFile::MaxRecords), false);
        QCOMPARE(file.PresentCount(), 0xffff);
        QCOMPARE(RecordIndexFile(nullptr, 1000).RecordCount(), 0);
    }

    void wavChunks_data()
    {
        const RecordIndexEntry entry = MakeEntry(2024, 3, 15, 9, 30, 12, 1, 75, "0123", 2, "notes");
        const QByteArray vorn = Chunk("Vorn", VornBody(entry, 5));
        const QByteArray audio = Chunk("data", QByteArray(8001, '\xd5'));  // odd size, written unpadded
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("ok");
        QTest::newRow("Vorn first") << MakeWav(vorn + audio) << true;
        QTest::newRow("data before Vorn") << MakeWav(audio + vorn) << true;
        QTest::newRow("unknown odd chunk between, padded")
            << MakeWav(Chunk("LIST", QByteArray(5, 'x') + '\0', 5) + vorn + audio) << true;
        QTest::newRow("unknown chunk after data") << MakeWav(audio + Chunk("fact", QByteArray(4, '\1')) + vorn)
                                                  << true;
        QTest::newRow("Vorn of 128 bytes") << MakeWav(Chunk("Vorn", VornBody(entry, 5).left(128))) << false;
        QTest::newRow("Vorn of 136 bytes") << MakeWav(Chunk("Vorn", VornBody(entry, 5) + QByteArray(4, '\0')))
                                           << false;
        QTest::newRow("file ends inside Vorn") << MakeWav(Chunk("Vorn", VornBody(entry, 5), 132).left(8 + 100))
                                               << false;
        QTest::newRow("file ends before the channel byte")
            << MakeWav(Chunk("Vorn", VornBody(entry, 5), 132).left(8 + 128)) << false;
        QTest::newRow("file ends inside a chunk header") << MakeWav(audio + QByteArray("Vo")) << false;
        QTest::newRow("no Vorn") << MakeWav(audio) << false;
        QTest::newRow("data larger than the file") << MakeWav(Chunk("data", QByteArray(10, 0), 0xfffffff0u) + vorn)
                                                   << false;
        QTest::newRow("header only") << MakeWav(QByteArray()).left(20) << false;
    }

    void wavChunks()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, ok);
        const QString path = m_backup->filePath("drop/240315093012-CH06.wav");
        QVERIFY(WriteBytes(path, file));
        RecordIndexEntry entry;
        std::memset(&entry, 0, sizeof entry);
        int channel = -1;
        QCOMPARE(ReadWavIndexEntry(path, &entry, &channel), ok);
        if (ok) {
            // As a dropped file lists it: the row points at the path.
            QVERIFY(WriteBook("/Book", QJsonArray{ContactJson("Olga", "0123")}));
            LoadContactsFolder(ContactsRoot);
            ZGridListData table(RecordColumnCount);
            std::unique_ptr<ZGridListRow> row(table.CreateRow());
            QString copy = path;
            FillRecordRowFromEntry(row.get(), &entry, channel, &copy);
            QCOMPARE(row->UserData, static_cast<void*>(&copy));
            QCOMPARE(row->Cells[2].Text, QString("6"));
            QCOMPARE(row->Cells[4].Text, QString("Outbound"));
            QCOMPARE(row->Cells[8].Text, QString("Olga"));
            QCOMPARE(row->Cells[11].Text, QString("notes"));
            QCOMPARE(channel, 5);
            QCOMPARE(RecordTimeToString(entry), QString("2024-03-15 09:30:12"));
            QCOMPARE(int(entry.TalkTime), 75);
            QCOMPARE(RecordPhoneText(entry), QString("0123"));
            QCOMPARE(RecordNotesText(entry), QString("notes"));
        }
    }

    void wavMissing()
    {
        RecordIndexEntry entry;
        int channel = 0;
        QVERIFY(!ReadWavIndexEntry(m_backup->filePath("none.wav"), &entry, &channel));
    }

    void notes_data()
    {
        QTest::addColumn<QString>("notes");
        QTest::addColumn<QByteArray>("stored");
        const QString e64 = QString(62, 'a') + QString::fromUtf8("é");         // 64 bytes
        const QString e65 = QString(63, 'a') + QString::fromUtf8("é");         // 65 bytes: é does not fit
        const QString euro = QString(62, 'b') + QString::fromUtf8("€");        // 65 bytes: € does not fit
        QTest::newRow("short") << "Call back" << QByteArray("Call back");
        QTest::newRow("empty clears") << "" << QByteArray();
        QTest::newRow("64 bytes kept") << e64 << e64.toUtf8();
        QTest::newRow("65 bytes cut before a 2-byte character") << e65 << QByteArray(63, 'a');
        QTest::newRow("cut before a 3-byte character") << euro << QByteArray(62, 'b');
        QTest::newRow("long ASCII") << QString(100, 'x') << QByteArray(64, 'x');
    }

    void notes()
    {
        QFETCH(QString, notes);
        QFETCH(QByteArray, stored);
        const QString path = IndexPathIn("KW0123456789ABCDEF01", 2024, 3, 15, 3);
        const QList<RecordIndexEntry> entries{MakeEntry(2024, 3, 15, 9, 0, 0, 0, 1, "1", 0, QByteArray(65, 'p')),
                                              MakeEntry(2024, 3, 15, 9, 5, 0, 0, 1, "2", 0, "old"),
                                              MakeEntry(2024, 3, 15, 9, 9, 0, 0, 1, "3", 0, QByteArray(65, 'q'))};
        const QByteArray before = MakeIndexFile(entries);
        QVERIFY(WriteBytes(path, before));
        QVERIFY(SaveLocalRecordNotes(1, 24, 3, 15, 2, notes));
        const QByteArray after = ReadBytes(path);
        QCOMPARE(after.size(), before.size());
        const int field = 512 + 128 + 63;
        QCOMPARE(after.left(field), before.left(field));      // header, entry 0 and entry 1 up to its notes
        QCOMPARE(after.mid(field + 65), before.mid(field + 65));  // entry 2
        QByteArray expected = stored;
        expected.append(65 - stored.size(), '\0');
        QCOMPARE(after.mid(field, 65), expected);
        QCOMPARE(after.at(512 + 128 + 127), '\0');
    }

    void notesRefused()
    {
        const QString path = IndexPathIn("KW0123456789ABCDEF01", 2024, 3, 15, 1);
        const QByteArray before = MakeIndexFile({MakeEntry(2024, 3, 15, 9, 0, 0)});
        QVERIFY(WriteBytes(path, before));
        QVERIFY(!SaveLocalRecordNotes(1, 24, 3, 15, 0, "x"));   // past the last entry
        QVERIFY(!SaveLocalRecordNotes(-1, 24, 3, 15, 0, "x"));
        QVERIFY(!SaveLocalRecordNotes(0, 24, 3, 16, 0, "x"));   // no such file
        g_RecordSearchCondition.Device = "Unknown";
        QVERIFY(!SaveLocalRecordNotes(0, 24, 3, 15, 0, "x"));
        QCOMPARE(ReadBytes(path), before);
        QVERIFY(!SaveLocalRecordNotesOf("..", 0, 24, 3, 15, 0, "x"));
    }

    void deleteRecords_data()
    {
        QTest::addColumn<QList<int>>("deletedBefore");  // records whose bit is already clear
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("fileLeft");
        QTest::addColumn<int>("countAfter");
        QTest::addColumn<bool>("wavsGone");
        QTest::newRow("one of three") << QList<int>{} << 1 << true << 2 << true;
        QTest::newRow("already clear changes nothing") << QList<int>{1} << 1 << true << 2 << false;
        QTest::newRow("last present record") << QList<int>{0, 2} << 1 << false << 0 << true;
        QTest::newRow("index past the bitmap") << QList<int>{} << 5000 << true << 3 << false;
    }

    void deleteRecords()
    {
        QFETCH(QList<int>, deletedBefore);
        QFETCH(int, index);
        const QString id = "KW0123456789ABCDEF01";
        const QList<RecordIndexEntry> entries{MakeEntry(2024, 3, 15, 9, 0, 0, 0, 5, "111"),
                                              MakeEntry(2024, 3, 15, 9, 30, 12, 1, 5, "0*55#"),
                                              MakeEntry(2024, 3, 15, 10, 0, 0, 0, 5, "")};
        const QString path = IndexPathIn(id, 2024, 3, 15, 2);
        const QByteArray before = MakeIndexFile(entries, deletedBefore);
        QVERIFY(WriteBytes(path, before));
        const QString folder = QFileInfo(path).path() + "/CH02/";
        const QStringList ownWavs{folder + "240315093012-CH02.wav", folder + "240315093012-CH02-055.wav"};
        const QStringList otherWavs{folder + "240315090000-CH02-111.wav", folder + "240315100000-CH02.wav"};
        for (const QString& wav : ownWavs + otherWavs)
            QVERIFY(WriteBytes(wav, "RIFF"));

        Calvox_RecordKey key{24, 3, 15, 9, 30, 12, 1, 1, {static_cast<uint8_t>(index & 0xff),
                                                           static_cast<uint8_t>(index >> 8)}};
        QVERIFY(DeleteLocalRecord(&key));
        QTEST(QFileInfo::exists(path), "fileLeft");
        if (QFileInfo::exists(path)) {
            const QByteArray after = ReadBytes(path);
            QTEST(RecordIndexFile(after).PresentCount(), "countAfter");
            QCOMPARE(after.size(), before.size());
            QCOMPARE(after.mid(512), before.mid(512));  // entries stay
            QFETCH(bool, wavsGone);
            if (wavsGone)
                QVERIFY(!RecordIndexFile(after).IsPresent(index));
            else
                QCOMPARE(after, before);
        }
        QFETCH(bool, wavsGone);
        for (const QString& wav : ownWavs)
            QCOMPARE(QFileInfo::exists(wav), !wavsGone);
        for (const QString& wav : otherWavs)
            QVERIFY(QFileInfo::exists(wav));
    }

    void deleteRefused()
    {
        const QString id = "KW0123456789ABCDEF01";
        const QString path = IndexPathIn(id, 2024, 3, 15, 1);
        const QString wav = QFileInfo(path).path() + "/CH01/240315090000-CH01.wav";
        QVERIFY(WriteBytes(wav, "RIFF"));
        Calvox_RecordKey key{24, 3, 15, 9, 0, 0, 0, 1, {0, 0}};
        QVERIFY(!DeleteLocalRecord(&key));  // no index file
        QVERIFY(WriteBytes(path, QByteArray(300, '\xff')));
        QVERIFY(!DeleteLocalRecord(&key));  // shorter than its header
        QVERIFY(QDir().mkpath(path + "x") && QFile::remove(path) && QDir().rename(path + "x", path));
        QVERIFY(!DeleteLocalRecord(&key));  // a folder in its place
        QVERIFY(QFileInfo::exists(wav));    // the WAV stays whenever the index was not edited
        g_RecordSearchCondition.Device = "Unknown";
        QVERIFY(!DeleteLocalRecord(&key));
    }

    void localDates()
    {
        const QString id = "KW0123456789ABCDEF01";
        unsigned char y = 9, m = 9, d = 9;
        QVERIFY(GetLocalLatestRecordTime(id, &y, &m, &d));  // no device folder
        QCOMPARE(QVector<int>({y, m, d}), QVector<int>({0, 0, 0}));
        QVERIFY(QDir().mkpath(g_SoftwareSetting.BackupPath + id));
        QVERIFY(GetLocalLatestRecordTime(id, &y, &m, &d));  // empty device folder
        QCOMPARE(QVector<int>({y, m, d}), QVector<int>({0, 0, 0}));

        const QString device = g_SoftwareSetting.BackupPath + id + "/";
        for (const char* folder : {"2312/30", "2401/02", "2401/31", "2401/5", "2401/xx", "2401/00",
                                   "abcd/01", "24011/01", "99/01"})
            QVERIFY(QDir().mkpath(device + folder));
        QVERIFY(WriteBytes(device + "2402", "a file, not a month"));
        QVERIFY(GetLocalLatestRecordTime(id, &y, &m, &d));
        QCOMPARE(QVector<int>({y, m, d}), QVector<int>({24, 1, 31}));

        QVERIFY(QDir().mkpath(device + "2401/32"));
        unsigned char days[32];
        std::memset(days, 7, sizeof days);
        GetLocalDayList(id, 24, 1, days);
        QVector<int> listed;
        for (int i = 0; i < 32; ++i)
            if (days[i])
                listed << i;
        QCOMPARE(listed, QVector<int>({2, 31}));
        GetLocalDayList(id, 24, 5, days);
        QCOMPARE(QByteArray(reinterpret_cast<char*>(days), 32), QByteArray(32, '\0'));
        GetLocalDayList("../" + id, 24, 1, days);  // not a folder name of the tree
        QCOMPARE(QByteArray(reinterpret_cast<char*>(days), 32), QByteArray(32, '\0'));
    }

    void wholeFile()
    {
        unsigned char* buffer = reinterpret_cast<unsigned char*>(1);
        int size = -1;
        QVERIFY(!ReadWholeFile(m_backup->filePath("missing"), &buffer, &size));
        QCOMPARE(buffer, nullptr);
        QVERIFY(WriteBytes(m_backup->filePath("empty"), QByteArray()));
        QVERIFY(ReadWholeFile(m_backup->filePath("empty"), &buffer, &size));
        QCOMPARE(size, 0);
        QVERIFY(WriteBytes(m_backup->filePath("data"), QByteArray(3000, 'z')));
        QVERIFY(ReadWholeFile(m_backup->filePath("data"), &buffer, &size));
        QCOMPARE(QByteArray(reinterpret_cast<char*>(buffer), size), QByteArray(3000, 'z'));
        delete[] buffer;
    }

    void names()
    {
        const RecordIndexEntry entry = MakeEntry(2024, 3, 15, 9, 30, 12, 0, 1, "12#34");
        QCOMPARE(RecordBaseName(entry, 2), QString("240315093012-CH03"));
        QCOMPARE(DeviceIndexPath(24, 3, 15, 2), QString("/RecordFiles/2403/15/CH03.Index"));
        QCOMPARE(DeviceRecordPath(entry, 2), QString("/RecordFiles/2403/15/CH03/240315093012-CH03.wav"));
        QCOMPARE(DeviceRecordPath(24, 3, 15, 9, 30, 12, 2), DeviceRecordPath(entry, 2));
        QCOMPARE(LocalChannelFolder("ID1", 24, 3, 15, 2), g_SoftwareSetting.BackupPath + "ID1/2403/15/CH03");
        QCOMPARE(LocalRecordPath("ID1", entry, 2),
                 g_SoftwareSetting.BackupPath + "ID1/2403/15/CH03/240315093012-CH03-1234.wav");
        QCOMPARE(LocalRecordPath("ID1", MakeEntry(2024, 3, 15, 9, 30, 12), 2),
                 g_SoftwareSetting.BackupPath + "ID1/2403/15/CH03/240315093012-CH03.wav");
        for (const char* bad : {"", ".", "..", "a/b", "a\\b"})
            QVERIFY2(LocalIndexPath(bad, 24, 3, 15, 0).isEmpty() && LocalChannelFolder(bad, 24, 3, 15, 0).isEmpty(),
                     bad);
    }
};

QTEST_GUILESS_MAIN(RecordStoreTest)
#include "tst_record_store.moc"
