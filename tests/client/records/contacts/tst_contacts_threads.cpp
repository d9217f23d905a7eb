// Lookups on one thread (as the SDK's heartbeat thread names callers) while another reloads, edits, imports
// and exports the phone book. Meant to run under the thread sanitizer as well.

#include "ContactsFixture.h"

#include "ZGridListData.h"

#include <QScopeGuard>
#include <QtTest>

#include <atomic>
#include <thread>

class ContactsThreadsTest : public QObject
{
    Q_OBJECT

private slots:
    void lookupsWhileTheBookChanges();
};

void ContactsThreadsTest::lookupsWhileTheBookChanges()
{
    ContactsFixture fixture;
    QJsonArray contacts;
    for (int i = 0; i < 200; ++i)
        contacts.append(ContactJson(QStringLiteral("P%1").arg(i), QStringLiteral("1%1").arg(i, 4, 10, QLatin1Char('0')),
                                    QStringLiteral("2%1").arg(i), QStringLiteral("Co%1").arg(i)));
    QVERIFY(WriteBook("/Stable", {ContactJson("Stable", "555")}));
    QVERIFY(WriteBook("/Group/Busy", contacts));
    ReloadContacts();
    const QString exported = QDir(ContactsRoot).filePath("../busy.xlsx");
    ZGridListData* busy = GetContactsData("/Group/Busy");
    for (ZGridListRow* row : busy->Rows)
        row->Cells[0] = true;
    QVERIFY(ExportContactsToExcel(busy, {"Name", "Gender"}, exported));

    std::atomic<bool> stop{false};
    std::atomic<int> lookups{0};
    std::atomic<int> wrong{0};
    std::thread heartbeat([&] {
        while (!stop.load()) {
            // "Stable" is never edited and never missing, except between ClearContacts and LoadContactsFolder.
            const QString stable = FindContactName(QStringLiteral("9555"), '9');
            if (!stable.isEmpty() && stable != QLatin1String("Stable"))
                ++wrong;
            const QString other = FindContactName(QStringLiteral("1%1").arg(lookups % 250, 4, 10, QLatin1Char('0')), 0);
            if (!other.isEmpty() && !other.startsWith(QLatin1Char('P')) && !other.startsWith(QLatin1Char('E')))
                ++wrong;
            ++lookups;
        }
    });
    auto join = qScopeGuard([&] {
        stop = true;
        heartbeat.join();
    });

    for (int round = 0; round < 20; ++round) {
        ContactInfo info;
        info.Name = QStringLiteral("E%1").arg(round);
        info.PhoneNum = QStringLiteral("1%1").arg(round, 4, 10, QLatin1Char('0'));
        QVERIFY(AddContact("/Group/Busy", info));
        QVERIFY(EditContact("/Group/Busy", info, round));
        QList<int> rows{0, 5};
        QVERIFY(DeleteContacts("/Group/Busy", rows));
        // A new book file makes the next reload replace every book.
        QVERIFY(WriteBook(QStringLiteral("/Extra%1").arg(round), {ContactJson("X", "777")}));
        ReloadContacts();
        if (round % 5 == 0) {
            ClearContacts();
            LoadContactsFolder(ContactsRoot);
        }
        // The import runs on the wait panel's thread in the program.
        bool imported = false;
        std::thread worker([&] { imported = ImportContactsFromExcel("/Group/Busy", exported); });
        worker.join();
        QVERIFY(imported);
        ZGridListData* grid = GetContactsData("/Group/Busy");
        grid->Rows.at(round)->Cells[0] = true;
        QVERIFY(ExportContactsToExcel(grid, {"Name"}, exported + ".copy"));
    }
    join.dismiss();
    stop = true;
    heartbeat.join();
    QCOMPARE(wrong.load(), 0);
    QVERIFY(lookups.load() > 0);
    QCOMPARE(FindContactName(QStringLiteral("555"), 0), QStringLiteral("Stable"));
}

QTEST_GUILESS_MAIN(ContactsThreadsTest)
#include "tst_contacts_threads.moc"
