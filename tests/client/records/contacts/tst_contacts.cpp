#include "ContactsFixture.h"
#include "PythonCheck.h"

#include "ZGridListData.h"
#include "contacts/ZFileSystemModel.h"
#include "xlsx/XlsxDocument.h"

#include "ZGridList.h"

#include <QScopeGuard>
#include <QtTest>

#include <memory>

#include <sched.h>
#include <sys/mount.h>

class ContactsTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture.reset(new ContactsFixture); }
    void cleanup() { m_fixture.reset(); }

    void loadsTheTreeIntoKeyedBooks();
    void bookWithoutAContactsArrayStaysAsideUntilItChanges();
    void findContactName_data();
    void findContactName();
    void lookupsFollowEdits();
    void deleteRemovesInDescendingOrderAndKeepsUnknownKeys();
    void changesAreRefusedWithoutTouchingAnything();
    void failedWriteLeavesGridAndFileAlone();
    void exportWritesTickedRowsAsCentredText();
    void exportWithNothingToExport();
    void exportReimportsEqual();
    void exportFromTheGridList();
    void importReadsOpenpyxlSheets();
    void importRefusesWhatIsNotAWorkbook();
    void createContactsFileNeverReplacesABook();

private:
    std::unique_ptr<ContactsFixture> m_fixture;
};

void ContactsTest::loadsTheTreeIntoKeyedBooks()
{
    QVERIFY(QFileInfo(ContactsRoot).isDir());
    QVERIFY(WriteBook("/Friends/Book1", {ContactJson("Anna", "801", "", "", 1)}));
    QVERIFY(WriteBook("/Empty", {}));
    QFile(ContactsRoot + "/Broken").open(QIODevice::WriteOnly);  // not JSON: stays unloaded
    QVERIFY(QFile::link(ContactsRoot + "/Friends/Book1", ContactsRoot + "/Linked"));
    ReloadContacts();
    QCOMPARE(ContactsStore.keys(), (QStringList{"/Empty", "/Friends/Book1"}));
    QCOMPARE(GetContactsData("/Empty")->Rows.size(), 0);
    ZGridListData* book = GetContactsData("/Friends/Book1");
    QVERIFY(book);
    QCOMPARE(book->ColumnCount, 9);
    QCOMPARE(book->Rows.size(), 1);
    const ZGridListCell* cells = book->Rows.at(0)->Cells;
    QCOMPARE(cells[0].Type, int(ZGridListCell::CheckCell));
    QCOMPARE(cells[0].Value, qintptr(0));
    QCOMPARE(cells[1].Text, QStringLiteral("Anna"));
    QCOMPARE(cells[2].Text, QStringLiteral("Female"));
    QCOMPARE(cells[4].Text, QStringLiteral("Engineer"));
    QCOMPARE(cells[7].Text, QStringLiteral("Street 1"));
    QVERIFY(!GetContactsData("Friends/Book1"));

    // A file that is not a book reloads everything on every call; once it is gone, an unchanged tree keeps the
    // same grids, and a new book reloads everything.
    ReloadContacts();
    QVERIFY(GetContactsData("/Friends/Book1") != book);
    QFile::remove(ContactsRoot + "/Broken");
    ReloadContacts();
    book = GetContactsData("/Friends/Book1");
    ReloadContacts();
    QCOMPARE(GetContactsData("/Friends/Book1"), book);
    QVERIFY(WriteBook("/Friends/Book2", {}));
    ReloadContacts();
    QCOMPARE(ContactsStore.size(), 3);
    int count = 0;
    QVERIFY(!CountContactsFiles(ContactsRoot, count));
    QCOMPARE(count, 3);  // the link does not count
}

static QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

static bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// A book whose "Contacts" is not an array is never loaded (an edit would rewrite it as an empty book), and
// it does not make every refresh parse all books again: it counts as loaded until the file changes.
void ContactsTest::bookWithoutAContactsArrayStaysAsideUntilItChanges()
{
    QVERIFY(WriteBook("/Good", {ContactJson("Anna", "801")}));
    const QString damagedPath = ContactsRoot + "/Group/Damaged";
    QVERIFY(QDir().mkpath(ContactsRoot + "/Group"));
    const QByteArray damaged = R"({"Contacts": {"Name": "Bob", "PhoneNum": "802"}, "Owner": "x"})";
    QVERIFY(WriteBytes(damagedPath, damaged));
    ReloadContacts();
    QCOMPARE(ContactsStore.keys(), QStringList{"/Good"});
    QCOMPARE(FindContactName("801", 0), QStringLiteral("Anna"));
    QCOMPARE(FindContactName("802", 0), QString());
    QVERIFY(!GetContactsData("/Group/Damaged"));
    int count = 0;
    QVERIFY(!CountContactsFiles(ContactsRoot, count));
    QCOMPARE(count, 2);

    // A reload makes new grids before it frees the old ones: the same grid means nothing was parsed again.
    ZGridListData* good = GetContactsData("/Good");
    for (int i = 0; i < 100; ++i) {
        ReloadContacts();
        QCOMPARE(GetContactsData("/Good"), good);
    }
    ContactInfo info;
    info.Name = "Zed";
    QVERIFY(!AddContact("/Group/Damaged", info));
    QList<int> rows{0};
    QVERIFY(!DeleteContacts("/Group/Damaged", rows));
    CreateContactsFile(damagedPath);
    QCOMPARE(ReadBytes(damagedPath), damaged);

    // Mended, it is read at the next refresh.
    QVERIFY(WriteBook("/Group/Damaged", {ContactJson("Bob", "802")}, QJsonObject{{"Owner", "x"}}));
    ReloadContacts();
    QCOMPARE(ContactsStore.keys(), (QStringList{"/Good", "/Group/Damaged"}));
    QCOMPARE(FindContactName("802", 0), QStringLiteral("Bob"));
    QCOMPARE(FindContactName("801", 0), QStringLiteral("Anna"));

    // Damaged again and then removed: each change reloads, the good book never goes missing.
    QVERIFY(WriteBytes(damagedPath, R"({"Contacts": 5})"));
    QVERIFY(WriteBook("/Other", {}));
    ReloadContacts();
    QCOMPARE(ContactsStore.keys(), (QStringList{"/Good", "/Other"}));
    good = GetContactsData("/Good");
    ReloadContacts();
    QCOMPARE(GetContactsData("/Good"), good);
    QVERIFY(QFile::remove(damagedPath));
    ReloadContacts();
    QCOMPARE(ContactsStore.keys(), (QStringList{"/Good", "/Other"}));
    QVERIFY(GetContactsData("/Good") != good);
    QCOMPARE(FindContactName("801", 0), QStringLiteral("Anna"));
}

void ContactsTest::findContactName_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("prefix");
    QTest::addColumn<QString>("name");
    QTest::newRow("part of a list") << "802" << 0 << "Anna";
    QTest::newRow("first part") << "801" << 0 << "Anna";
    QTest::newRow("shorter number") << "80" << 0 << "";
    QTest::newRow("longer number") << "8021" << 0 << "";
    QTest::newRow("space before a part") << "803" << 0 << "";
    QTest::newRow("company number names the company") << "900" << 0 << "Bobco";
    QTest::newRow("company part after an empty one") << "901" << 0 << "Bobco";
    QTest::newRow("empty number") << "" << 0 << "";
    QTest::newRow("prefix only") << "9" << int('9') << "";
    QTest::newRow("prefix stripped") << "9802" << int('9') << "Anna";
    QTest::newRow("prefix stripped, rest unknown") << "9123" << int('9') << "";
    QTest::newRow("no prefix keeps the digit") << "9123" << 0 << "Carl";
    QTest::newRow("prefix not first is kept") << "8029" << int('9') << "";
    QTest::newRow("prefix 0 never strips") << "0802" << 0 << "";
    QTest::newRow("high prefix byte") << "\u00e9802" << int(char(0xe9)) << "Anna";
    QTest::newRow("earlier row's company beats a later book's person") << "555" << 0 << "CarlCo";
    QTest::newRow("upper-case key sorts first") << "777" << 0 << "Dora";
    QTest::newRow("phone beats company within a row") << "444" << 0 << "Eve";
}

void ContactsTest::findContactName()
{
    QFETCH(QString, number);
    QFETCH(int, prefix);
    QFETCH(QString, name);
    QVERIFY(WriteBook("/A/x", {ContactJson("Anna", "801;802", "", "Acme"),
                              ContactJson("Bob", " 803", "900;;901", "Bobco"),
                              ContactJson("Carl", "9123;", "555", "CarlCo")}));
    QVERIFY(WriteBook("/B/a", {ContactJson("Dora", "555;777", "", "Dco")}));
    QVERIFY(WriteBook("/a/z", {ContactJson("Eve", "777;444", "444", "Eco")}));
    ReloadContacts();
    QCOMPARE(FindContactName(number, char(prefix)), name);
    ZGridListRow* row = FindContact(number, char(prefix));
    if (name.isEmpty()) {
        QVERIFY(!row);
    } else {
        QVERIFY(row);
        QVERIFY(row->Cells[1].Text == name || row->Cells[3].Text == name);
    }
}

void ContactsTest::lookupsFollowEdits()
{
    QVERIFY(WriteBook("/Book", {ContactJson("Anna", "801")}));
    ReloadContacts();
    ContactInfo info;
    info.Name = "Zed";
    info.PhoneNum = "123;456";
    QVERIFY(AddContact("/Book", info));
    QCOMPARE(FindContactName("456", 0), QStringLiteral("Zed"));
    info.Name = "Zoe";
    info.PhoneNum = "789";
    info.Gender = 1;
    QVERIFY(EditContact("/Book", info, 1));
    QCOMPARE(FindContactName("456", 0), QString());
    QCOMPARE(FindContactName("789", 0), QStringLiteral("Zoe"));
    QCOMPARE(GetContactsData("/Book")->Rows.at(1)->Cells[2].Text, QStringLiteral("Female"));
    QList<int> rows{0};
    QVERIFY(DeleteContacts("/Book", rows));
    QCOMPARE(FindContactName("801", 0), QString());
    ClearContacts();
    QCOMPARE(FindContactName("789", 0), QString());
    QVERIFY(ContactsStore.isEmpty());
}

void ContactsTest::deleteRemovesInDescendingOrderAndKeepsUnknownKeys()
{
    QJsonArray contacts;
    for (int i = 0; i < 5; ++i) {
        QJsonObject contact = ContactJson(QStringLiteral("C%1").arg(i), QStringLiteral("10%1").arg(i));
        contact.insert("Photo", QStringLiteral("photo%1.png").arg(i));
        contacts.append(contact);
    }
    QVERIFY(WriteBook("/Book", contacts, QJsonObject{{"Version", 3}, {"Owner", "me"}}));
    ReloadContacts();
    QList<int> rows{1, 3};
    QVERIFY(DeleteContacts("/Book", rows));
    QCOMPARE(rows, (QList<int>{3, 1}));
    const QJsonObject top = ReadBook("/Book");
    QCOMPARE(top["Version"].toInt(), 3);
    QCOMPARE(top["Owner"].toString(), QStringLiteral("me"));
    const QJsonArray left = top["Contacts"].toArray();
    QCOMPARE(left.size(), 3);
    QStringList names;
    for (const QJsonValue& contact : left)
        names << contact["Name"].toString();
    QCOMPARE(names, (QStringList{"C0", "C2", "C4"}));
    QCOMPARE(left[1]["Photo"].toString(), QStringLiteral("photo2.png"));
    const ZGridListData* grid = GetContactsData("/Book");
    QCOMPARE(grid->Rows.size(), 3);
    QCOMPARE(grid->Rows.at(2)->Cells[1].Text, QStringLiteral("C4"));

    // An edit keeps the keys the editor does not know, in that contact too.
    ContactInfo info;
    info.Name = "New C2";
    QVERIFY(EditContact("/Book", info, 1));
    const QJsonObject edited = ReadBook("/Book")["Contacts"].toArray()[1].toObject();
    QCOMPARE(edited["Name"].toString(), QStringLiteral("New C2"));
    QCOMPARE(edited["Photo"].toString(), QStringLiteral("photo2.png"));
    QCOMPARE(edited["Gender"].toInt(), 0);
    QCOMPARE(ReadBook("/Book")["Version"].toInt(), 3);
    // Duplicates count once.
    rows = {0, 0};
    QVERIFY(DeleteContacts("/Book", rows));
    QCOMPARE(grid->Rows.size(), 2);
    QCOMPARE(ReadBook("/Book")["Contacts"].toArray().size(), 2);
}

void ContactsTest::changesAreRefusedWithoutTouchingAnything()
{
    QVERIFY(WriteBook("/Book", {ContactJson("Anna", "801"), ContactJson("Bob", "802")}));
    QVERIFY(WriteBook("/Gone", {ContactJson("Carl", "803")}));
    ReloadContacts();
    QFile::remove(ContactsRoot + "/Gone");  // unreadable now, but still in the store
    const QJsonObject before = ReadBook("/Book");
    ContactInfo info;
    info.Name = "X";
    QList<int> outside{2};
    QList<int> negative{-1, 0};
    struct Case { const char* name; std::function<bool()> change; };
    const QList<Case> cases = {
        {"unknown key", [&] { return AddContact("/Nope", info); }},
        {"empty key", [&] { return AddContact("", info); }},
        {"unreadable book", [&] { return AddContact("/Gone", info); }},
        {"edit past the end", [&] { return EditContact("/Book", info, 2); }},
        {"edit negative", [&] { return EditContact("/Book", info, -1); }},
        {"delete past the end", [&] { return DeleteContacts("/Book", outside); }},
        {"delete negative", [&] { return DeleteContacts("/Book", negative); }},
    };
    for (const Case& c : cases) {
        QVERIFY2(!c.change(), c.name);
        QVERIFY2(ReadBook("/Book") == before, c.name);
        QVERIFY2(GetContactsData("/Book")->Rows.size() == 2, c.name);
    }
    // A file changed behind the store's back no longer lines up with the grid: positions are refused.
    QVERIFY(WriteBook("/Book", {ContactJson("Anna", "801")}));
    QVERIFY(!EditContact("/Book", info, 0));
    QList<int> first{0};
    QVERIFY(!DeleteContacts("/Book", first));
    QCOMPARE(ReadBook("/Book")["Contacts"].toArray().size(), 1);
}

void ContactsTest::failedWriteLeavesGridAndFileAlone()
{
    // A private mount namespace lets the test make a read-only group folder, which stops even root.
    if (::unshare(CLONE_NEWNS) != 0 || ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        QSKIP("cannot make a private mount namespace (needs root or CAP_SYS_ADMIN)");
    const QString group = ContactsRoot + "/Mounted";
    QDir().mkpath(group);
    const QByteArray folder = QFile::encodeName(group);
    if (::mount("tmpfs", folder.constData(), "tmpfs", 0, "size=1m") != 0)
        QSKIP("cannot mount a tmpfs");
    auto unmount = qScopeGuard([&] { ::umount2(folder.constData(), MNT_DETACH); });
    QJsonArray contacts;
    for (int i = 0; i < 5; ++i)
        contacts.append(ContactJson(QStringLiteral("C%1").arg(i), QStringLiteral("10%1").arg(i)));
    QVERIFY(WriteBook("/Mounted/Book", contacts));
    ReloadContacts();
    QVERIFY(::mount(nullptr, folder.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0);
    const QJsonObject before = ReadBook("/Mounted/Book");

    QList<int> rows{1, 3};
    QVERIFY(!DeleteContacts("/Mounted/Book", rows));
    ContactInfo info;
    info.Name = "X";
    info.PhoneNum = "999";
    QVERIFY(!AddContact("/Mounted/Book", info));
    QVERIFY(!EditContact("/Mounted/Book", info, 0));
    QCOMPARE(GetContactsData("/Mounted/Book")->Rows.size(), 5);
    QCOMPARE(GetContactsData("/Mounted/Book")->Rows.at(0)->Cells[1].Text, QStringLiteral("C0"));
    QCOMPARE(FindContactName("103", 0), QStringLiteral("C3"));
    QCOMPARE(FindContactName("999", 0), QString());
    QCOMPARE(ReadBook("/Mounted/Book"), before);
}

static const char* ReadSheetScript = R"PY(
import json, sys, openpyxl
ws = openpyxl.load_workbook(sys.argv[1]).worksheets[0]
rows = [[c.value for c in row] for row in ws.iter_rows()]
fmts = sorted({(c.number_format, c.alignment.horizontal) for row in ws.iter_rows() for c in row if c.value is not None})
types = sorted({c.data_type for row in ws.iter_rows() for c in row if c.value is not None})
widths = {}
for dim in ws.column_dimensions.values():
    for column in range(dim.min, dim.max + 1): widths[column] = dim.width
print(json.dumps({"rows": rows, "formats": fmts, "types": types, "widths": [widths.get(c) for c in range(1, 11)]}))
)PY";

static const QStringList Headings{"Name", "Gender", "Company", "Title", "Personal Tel", "Company Tel", "Address", "Remarks"};

void ContactsTest::exportWritesTickedRowsAsCentredText()
{
    QVERIFY(WriteBook("/Book", {ContactJson("Anna", "0801;802", "", "Acme", 1), ContactJson("Bob", "803"),
                               ContactJson("Carl", "13800138000", "555", "=HYPERLINK(\"x\")")}));
    ReloadContacts();
    ZGridListData* grid = GetContactsData("/Book");
    const QString path = QDir(ContactsRoot).filePath("../export.xlsx");
    grid->Rows.at(0)->Cells[0] = true;
    grid->Rows.at(2)->Cells[0] = true;
    QVERIFY(ExportContactsToExcel(grid, Headings, path));

    bool ok = false;
    const QJsonObject sheet = QJsonDocument::fromJson(RunPython(ReadSheetScript, {path}, &ok).toUtf8()).object();
    QVERIFY(ok);
    const QJsonArray rows = sheet["rows"].toArray();
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[0].toArray().toVariantList(), QJsonArray::fromStringList(Headings).toVariantList());
    // The empty company number is a blank cell.
    QCOMPARE(rows[1].toArray(), (QJsonArray{"Anna", "Female", "Acme", "Engineer", "0801;802", QJsonValue(),
                                            "Street 1", "note"}));
    QCOMPARE(rows[2].toArray()[0].toString(), QStringLiteral("Carl"));
    QCOMPARE(rows[2].toArray()[2].toString(), QStringLiteral("=HYPERLINK(\"x\")"));
    QCOMPARE(rows[2].toArray()[4].toString(), QStringLiteral("13800138000"));
    QCOMPARE(sheet["formats"].toArray().size(), 1);
    QCOMPARE(sheet["formats"].toArray()[0].toArray().toVariantList(), (QVariantList{"@", "center"}));
    QCOMPARE(sheet["types"].toArray().toVariantList(), QVariantList{"s"});
    // Stored widths carry the cell padding (20 shows as 20.71).
    const QJsonArray widths = sheet["widths"].toArray();
    for (int column = 0; column < 10; ++column)
        QVERIFY(qAbs(widths[column].toDouble() - (column == 1 ? 10 : 20)) < 1);
}

// Nothing to export is no failure: no book gives true and no file; no ticked contact gives a workbook with
// the headings alone, and the save's own result.
void ContactsTest::exportWithNothingToExport()
{
    QVERIFY(WriteBook("/Book", {ContactJson("Anna", "801"), ContactJson("Bob", "802")}));
    ReloadContacts();
    const QString none = QDir(ContactsRoot).filePath("../none.xlsx");
    QVERIFY(ExportContactsToExcel(nullptr, Headings, none));
    QVERIFY(!QFile::exists(none));

    const QString headingsOnly = QDir(ContactsRoot).filePath("../headings.xlsx");
    QVERIFY(ExportContactsToExcel(GetContactsData("/Book"), Headings, headingsOnly));
    bool ok = false;
    const QJsonObject sheet =
        QJsonDocument::fromJson(RunPython(ReadSheetScript, {headingsOnly}, &ok).toUtf8()).object();
    QVERIFY(ok);
    const QJsonArray rows = sheet["rows"].toArray();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].toArray().toVariantList(), QJsonArray::fromStringList(Headings).toVariantList());
    QCOMPARE(sheet["formats"].toArray()[0].toArray().toVariantList(), (QVariantList{"@", "center"}));

    // The save decides: a folder that does not exist fails.
    const QString missing = QDir(ContactsRoot).filePath("../missing/headings.xlsx");
    QVERIFY(!ExportContactsToExcel(GetContactsData("/Book"), Headings, missing));
    QVERIFY(!QFile::exists(missing));
}

void ContactsTest::exportReimportsEqual()
{
    QJsonArray contacts;
    for (int i = 0; i < 50; ++i)
        contacts.append(ContactJson(QStringLiteral("Name %1 名").arg(i), QStringLiteral("00%1;+86 10 %1").arg(i),
                                    QStringLiteral("7%1").arg(i), QStringLiteral("Co <%1> & \"x\"").arg(i), i % 2));
    QVERIFY(WriteBook("/Source", contacts));
    QVERIFY(WriteBook("/Target", {}));
    ReloadContacts();
    ZGridListData* source = GetContactsData("/Source");
    for (ZGridListRow* row : source->Rows)
        row->Cells[0] = true;
    const QString path = QDir(ContactsRoot).filePath("../roundtrip.xlsx");
    QVERIFY(ExportContactsToExcel(source, Headings, path));
    int skipped = -1;
    QVERIFY(ImportContactsFromExcel("/Target", path, &skipped));
    QCOMPARE(skipped, 0);
    QCOMPARE(ReadBook("/Target")["Contacts"].toArray(), contacts);
    const ZGridListData* target = GetContactsData("/Target");
    QCOMPARE(target->Rows.size(), 50);
    for (int row = 0; row < 50; ++row)
        for (int column = 1; column < 9; ++column)
            QCOMPARE(target->Rows.at(row)->Cells[column].Text, source->Rows.at(row)->Cells[column].Text);
    QCOMPARE(FindContactName("749", 0), QStringLiteral("Co <49> & \"x\""));
}

void ContactsTest::exportFromTheGridList()
{
    QVERIFY(WriteBook("/Book", {ContactJson("Anna", "801", "", "Acme", 1), ContactJson("Bob", "802")}));
    ReloadContacts();
    ZGridList list;
    const QStringList captions{"All", "Nom", "Sexe", "Société", "Poste", "Tél", "Tél société", "Adresse", "Remarques"};
    for (const QString& caption : captions)
        list.AddColumn(60, caption);
    list.ApplyColumn();
    const QString path = QDir(ContactsRoot).filePath("../grid.xlsx");
    QVERIFY(ExportContactsToExcel(&list, path));  // no book shown: nothing to do
    QVERIFY(!QFile::exists(path));
    list.SetDataSource(GetContactsData("/Book"));
    list.UpdateData();
    GetContactsData("/Book")->Rows.at(1)->Cells[0] = true;
    QVERIFY(ExportContactsToExcel(&list, path));
    list.SetDataSource(nullptr);
    const QXlsx::Document xlsx(path);
    QVERIFY(xlsx.isLoadPackage());
    QCOMPARE(xlsx.read("A1").toString(), QStringLiteral("Nom"));
    QCOMPARE(xlsx.read("H1").toString(), QStringLiteral("Remarques"));
    QCOMPARE(xlsx.read("A2").toString(), QStringLiteral("Bob"));
    QCOMPARE(xlsx.dimension().toString(), QStringLiteral("A1:H2"));
}

void ContactsTest::importReadsOpenpyxlSheets()
{
    QVERIFY(WriteBook("/Book", {ContactJson("Anna", "801")}, QJsonObject{{"Version", 3}}));
    ReloadContacts();
    const QString path = QDir(ContactsRoot).filePath("../made.xlsx");
    bool ok = false;
    RunPython(QStringLiteral(R"PY(
import sys, openpyxl
wb = openpyxl.Workbook()
ws = wb.active
ws.append(["Name", "Gender", "Company", "Title", "Personal Tel", "Company Tel", "Address", "Remarks"])
ws.append(["Bob", " male ", "Bobco", "Boss", 13800138000, 5550100.0, "Road 2", None])
ws.append(["Hans", "Männlich", "X", "", 1, 2, "", ""])
ws.append(["Cleo", "FEMALE", None, None, 8021, None, None, 12.5])
ws.append([None, "Male"])
ws.append(["After the gap", "Male"])
wb.save(sys.argv[1])
)PY"), {path}, &ok);
    QVERIFY(ok);
    int skipped = -1;
    QVERIFY(ImportContactsFromExcel("/Book", path, &skipped));
    QCOMPARE(skipped, 1);  // "Männlich" is neither gender text
    const QJsonObject top = ReadBook("/Book");
    QCOMPARE(top["Version"].toInt(), 3);
    const QJsonArray contacts = top["Contacts"].toArray();
    QCOMPARE(contacts.size(), 3);
    QCOMPARE(contacts[1].toObject(),
             (QJsonObject{{"Name", "Bob"}, {"Gender", 0}, {"Company", "Bobco"}, {"Duty", "Boss"},
                          {"PhoneNum", "13800138000"}, {"CompanyNum", "5550100"}, {"CompanyAddr", "Road 2"},
                          {"Notes", ""}}));
    QCOMPARE(contacts[2]["Gender"].toInt(), 1);
    QCOMPARE(contacts[2]["Notes"].toString(), QStringLiteral("12.5"));
    const ZGridListData* grid = GetContactsData("/Book");
    QCOMPARE(grid->Rows.size(), 3);
    QCOMPARE(grid->Rows.at(1)->Cells[2].Text, QStringLiteral("Male"));
    QCOMPARE(grid->Rows.at(2)->Cells[2].Text, QStringLiteral("Female"));
    QCOMPARE(FindContactName("13800138000", 0), QStringLiteral("Bob"));
    QCOMPARE(FindContactName("5550100", 0), QStringLiteral("Bobco"));
}

void ContactsTest::importRefusesWhatIsNotAWorkbook()
{
    QVERIFY(WriteBook("/Book", {ContactJson("Anna", "801")}));
    ReloadContacts();
    const QString bookPath = ContactsRoot + "/Book";
    QFile book(bookPath);
    QVERIFY(book.open(QIODevice::ReadOnly));
    const QByteArray before = book.readAll();
    book.close();
    const QString text = QDir(ContactsRoot).filePath("../contacts.csv");
    QFile csv(text);
    QVERIFY(csv.open(QIODevice::WriteOnly));
    csv.write("Name,Gender\nBob,Male\n");
    csv.close();
    QVERIFY(!ImportContactsFromExcel("/Book", text));
    QVERIFY(!ImportContactsFromExcel("/Book", QDir(ContactsRoot).filePath("../missing.xlsx")));
    QVERIFY(!ImportContactsFromExcel("/Nope", text));
    QVERIFY(book.open(QIODevice::ReadOnly));
    QCOMPARE(book.readAll(), before);
    QCOMPARE(GetContactsData("/Book")->Rows.size(), 1);
}

void ContactsTest::createContactsFileNeverReplacesABook()
{
    const QModelIndex index = ContactsModel->NewFile(QModelIndex(), QString());
    const QString path = ContactsModel->FilePath(index);
    QCOMPARE(path, ContactsRoot + "/New");
    CreateContactsFile(path);
    QCOMPARE(ReadBook("/New"), (QJsonObject{{"Contacts", QJsonArray()}}));
    ReloadContacts();
    QVERIFY(GetContactsData("/New"));
    ContactInfo info;
    info.Name = "Anna";
    QVERIFY(AddContact("/New", info));
    CreateContactsFile(path);
    QCOMPARE(ReadBook("/New")["Contacts"].toArray().size(), 1);
}

QTEST_MAIN(ContactsTest)
#include "tst_contacts.moc"
