// The contacts page as the operator meets it: the real main window over a contacts folder of its own, the tree
// and grid menus opened with the mouse, the contact editor and the file dialogs answered as the operator would.
// What the page did is read back from the book files it wrote.

#include "MainFormRig.h"

#include "DeviceDialogFixture.h"
#include "PythonCheck.h"

#include "ContactsEditForm.h"
#include "DialForm.h"
#include "MainFormGlobals.h"
#include "MainFormUi.h"
#include "contacts/Contacts.h"
#include "contacts/ZFileSystemModel.h"

#include "ZButton.h"
#include "ZComboBox.h"
#include "ZGridListData.h"
#include "ZLineEdit.h"
#include "ZTabControl.h"
#include "ZTreeView.h"

#include <QContextMenuEvent>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QTreeView>
#include <QtTest>

namespace {

// A book file holding these contacts: name, gender number, phone.
QByteArray BookFile(const QList<std::tuple<QString, int, QString>>& contacts)
{
    QJsonArray array;
    for (const auto& [name, gender, phone] : contacts) {
        array.append(QJsonObject{{"Name", name}, {"Gender", gender}, {"Company", name + " Ltd"}, {"Duty", ""},
                                 {"PhoneNum", phone}, {"CompanyNum", ""}, {"CompanyAddr", ""}, {"Notes", ""}});
    }
    return QJsonDocument(QJsonObject{{"Contacts", array}}).toJson();
}

// Answers the next file dialog with `path`.
template <class T>
T* EditorChild(const char* name)
{
    return g_ContactsEditForm->findChild<T*>(QLatin1String(name));
}

void PressEditor(const char* name)
{
    QTest::mouseClick(EditorChild<ZButton>(name), Qt::LeftButton);
}

} // namespace

class ContactsPageTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainFormRig> m_Rig;
    MainForm* m_Form = nullptr;

    QString BookPath(const QString& key) const { return m_Rig->DataFile("Contacts" + key); }

    QByteArray BookBytes(const QString& key) const
    {
        QFile file(BookPath(key));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QJsonArray Contacts(const QString& key) const
    {
        return QJsonDocument::fromJson(BookBytes(key)).object().value("Contacts").toArray();
    }

    // The names in a book file, in order.
    QStringList Names(const QString& key) const
    {
        QStringList names;
        for (const QJsonValue& contact : Contacts(key))
            names << contact.toObject().value("Name").toString();
        return names;
    }

    // The in-place editor naming a node, while it is open.
    QLineEdit* NameEditor() const
    {
        for (QLineEdit* editor : Tree()->viewport()->findChildren<QLineEdit*>())
            if (editor->isVisible())
                return editor;
        return nullptr;
    }

    ZGridList* Grid() const { return m_Form->ui->ContactsGridList; }
    QTreeView* Tree() const { return m_Form->ui->ContactsTreeView->TreeView; }

    // The names the grid shows, in order.
    QStringList GridNames() const
    {
        QStringList names;
        if (ZGridListData* data = Grid()->DataSource()) {
            for (const ZGridListRow* row : data->Rows)
                names << row->Cells[1].Text;
        }
        return names;
    }

    QString Ticks() const
    {
        QString ticks;
        if (ZGridListData* data = Grid()->DataSource()) {
            for (const ZGridListRow* row : data->Rows)
                ticks += row->Cells[0].Value != 0 ? QLatin1Char('x') : QLatin1Char('.');
        }
        return ticks;
    }

    // The tree node of a path below the contacts folder ("Friends/Book1").
    QModelIndex Node(const QString& path) const
    {
        QModelIndex node;
        for (const QString& name : path.split('/')) {
            QModelIndex child;
            for (int row = 0; row < ContactsModel->rowCount(node) && !child.isValid(); ++row) {
                const QModelIndex candidate = ContactsModel->index(row, 0, node);
                if (ContactsModel->data(candidate).toString() == name)
                    child = candidate;
            }
            if (!child.isValid())
                qFatal("no node %s", qPrintable(path));
            node = child;
        }
        return node;
    }

    // A right click on the node, or beside the items for the invalid index.
    void RightClickTree(const QModelIndex& node) const
    {
        QWidget* viewport = Tree()->viewport();
        const QPoint at = node.isValid() ? Tree()->visualRect(node).center() : QPoint(20, viewport->height() - 5);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
        QApplication::sendEvent(viewport, &event);
    }

    // A right click on a grid row, or below the rows for -1.
    void RightClickGrid(int row) const
    {
        const QPoint at = row >= 0 ? RowPoint(Grid(), row) : QPoint(100, Grid()->height() - 5);
        HoverAt(Grid(), at);
        QTest::mouseClick(Grid(), Qt::RightButton, Qt::NoModifier, at);
    }

    // Ticks or unticks a row with a click on its check cell.
    void ClickCheck(int row) const
    {
        const QPoint at(20, RowPoint(Grid(), row).y());
        HoverAt(Grid(), at);
        QTest::mouseClick(Grid(), Qt::LeftButton, Qt::NoModifier, at);
    }

    void ClickCheckHeader() const
    {
        const QPoint at(20, Grid()->BorderWidth() + Grid()->ColumnHeaderHeight() / 2);
        HoverAt(Grid(), at);
        QTest::mouseClick(Grid(), Qt::LeftButton, Qt::NoModifier, at);
    }

    void DoubleClickRow(int row) const
    {
        const QPoint at(100, RowPoint(Grid(), row).y());
        HoverAt(Grid(), at);
        QTest::mouseClick(Grid(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(Grid(), Qt::LeftButton, Qt::NoModifier, at);
    }

    void OpenBook(const QString& path) const
    {
        // A double click on a group also folds it.
        Tree()->expandAll();
        const QModelIndex node = Node(path);
        const QPoint at = Tree()->visualRect(node).center();
        QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(Tree()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }

    // Opens a menu with `open` and, once it shows, notes which items are enabled ("1" or "0" each) and chooses
    // item `choose`, or closes it without a choice for -1.
    static QString UseMenu(ZMenu* menu, int choose, const std::function<void()>& open)
    {
        QObject scope;
        QString enabled = QStringLiteral("<menu not shown>");
        When(&scope, [menu] { return menu->isVisible(); }, [menu, choose, &enabled] {
            enabled.clear();
            for (int i = 0; i < menu->ItemCount(); ++i)
                enabled += menu->Item(i)->Enabled ? QLatin1Char('1') : QLatin1Char('0');
            if (choose >= 0)
                ChooseMenuItem(menu, choose);
            else
                menu->close();
        });
        open();
        return enabled;
    }

    QString TreeMenu(const QString& path, int choose)
    {
        const QModelIndex node = path.isEmpty() ? QModelIndex() : Node(path);
        return UseMenu(g_ContactsTreeMenu, choose, [this, node] { RightClickTree(node); });
    }

    QString GridMenu(int row, int choose)
    {
        return UseMenu(g_ContactsGridListMenu, choose, [this, row] { RightClickGrid(row); });
    }

    // Does `act` in the contact editor once it shows.
    static void InEditor(QObject* scope, const std::function<void()>& act)
    {
        When(scope, [] { return g_ContactsEditForm->isVisible(); }, act);
    }

private slots:
    void init()
    {
        m_Rig = std::make_unique<MainFormRig>();
        QDir().mkpath(m_Rig->DataFile("Contacts/Friends"));
        QDir().mkpath(m_Rig->DataFile("Contacts/Empty"));
        QVERIFY(m_Rig->WriteDataFile("Contacts/Friends/Book1",
                                     BookFile({{"Ann", 1, "801"}, {"Bob", 0, "802"}, {"Cid", 0, "803"}})));
        QVERIFY(m_Rig->WriteDataFile("Contacts/Work", BookFile({{"Dan", 0, "804"}})));
        m_Form = m_Rig->Start();
        QVERIFY(m_Form->Started());
        m_Form->resize(1200, 800);
        m_Form->ui->MainTabControl->SetSelectedIndex(4);
        Tree()->expandAll();
        QCoreApplication::processEvents();
        QCOMPARE(GenderTexts[1], QStringLiteral("Female"));
    }

    void cleanup()
    {
        m_Rig.reset();
        m_Form = nullptr;
    }

    void menusEnableWhatTheClickedPlaceAllows()
    {
        // Rename, Add grouping, Add address book, Delete.
        QCOMPARE(TreeMenu(QString(), -1), QStringLiteral("0110"));  // beside the items: the root folder
        QCOMPARE(TreeMenu("Friends/Book1", -1), QStringLiteral("1001"));
        QCOMPARE(TreeMenu("Friends", -1), QStringLiteral("1111"));

        // Add, Edit, Delete, Dial, Export Excel, Import Excel.
        QCOMPARE(GridMenu(-1, -1), QStringLiteral("000000"));  // no book open
        OpenBook("Friends/Book1");
        QCOMPARE(GridMenu(-1, -1), QStringLiteral("100001"));  // nothing selected, nothing ticked
        QCOMPARE(GridMenu(1, -1), QStringLiteral("110101"));   // a row selected
        ClickCheck(0);
        QCOMPARE(GridMenu(1, -1), QStringLiteral("111111"));
        QCOMPARE(GridMenu(-1, -1), QStringLiteral("101011"));  // ticked, nothing selected
    }

    void doubleClickOpensABookAndNotAGroup()
    {
        OpenBook("Friends");
        QCOMPARE(m_Form->ui->ContactsNameLabel->Text(), QString());
        QVERIFY(Grid()->DataSource() == nullptr);

        OpenBook("Friends/Book1");
        QCOMPARE(m_Form->ui->ContactsNameLabel->Text(), QStringLiteral("  /Friends/Book1"));
        QCOMPARE(Grid()->whatsThis(), QStringLiteral("/Friends/Book1"));
        QCOMPARE(GridNames(), (QStringList{"Ann", "Bob", "Cid"}));
        QCOMPARE(Grid()->DataSource()->Rows.at(0)->Cells[2].Text, QStringLiteral("Female"));
    }

    void addGroupingAndAddressBookMakeThemAndStartNaming()
    {
        QObject scope;
        TreeMenu(QString(), 1);  // Add grouping, in the root folder
        QVERIFY(QFileInfo(m_Rig->DataFile("Contacts/New")).isDir());
        QVERIFY(NameEditor());
        QLineEdit* editor = NameEditor();
        QTest::keyClicks(editor, "Family");
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(QFileInfo(m_Rig->DataFile("Contacts/Family")).isDir());
        QVERIFY(!QFileInfo::exists(m_Rig->DataFile("Contacts/New")));

        TreeMenu("Family", 2);  // Add address book
        QCOMPARE(QJsonDocument::fromJson(BookBytes("/Family/New")).object(), (QJsonObject{{"Contacts", QJsonArray()}}));
        QVERIFY(GetContactsData("/Family/New") != nullptr);
        QVERIFY(EditorChild<ZComboBox>("ContactsListComboBox")->Items().contains("/Family/New"));
        QVERIFY(NameEditor());
    }

    void addingBelowAGroupThatIsGoneWritesNothing()
    {
        // The tree still shows the group; on disk it became a regular file (as no folder can be made below a
        // file, this holds for every user).
        const QString gone = m_Rig->DataFile("Contacts/Empty");
        QVERIFY(QDir().rmdir(gone));
        QVERIFY(m_Rig->WriteDataFile("Contacts/Empty", "not a folder"));
        const QStringList before = QDir(m_Rig->DataFile("Contacts")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

        for (int item : {1, 2}) {  // Add grouping, Add address book
            QCOMPARE(TreeMenu("Empty", item), QStringLiteral("1111"));
            QVERIFY(!NameEditor());
        }
        QCOMPARE(QDir(m_Rig->DataFile("Contacts")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        QVERIFY(QFileInfo(m_Rig->DataFile("Contacts")).isDir());
        QCOMPARE(m_Rig->ReadDataFile("Contacts/Empty"), QByteArray("not a folder"));
        QCOMPARE(ContactsStore.keys(), (QStringList{"/Friends/Book1", "/Work"}));
    }

    void editingShowsTheContactAndSavesIt()
    {
        QObject scope;
        OpenBook("Friends/Book1");
        int gender = -1;
        QString name, book;
        InEditor(&scope, [&] {
            gender = EditorChild<ZComboBox>("GenderComboBox")->SelectedIndex();
            name = EditorChild<ZLineEdit>("NameLineEdit")->Text();
            book = EditorChild<ZComboBox>("ContactsListComboBox")->SelectedText();
            EditorChild<ZLineEdit>("CompanyLineEdit")->SetText("Acme");
            PressEditor("ConfirmButton");
        });
        DoubleClickRow(0);
        QCOMPARE(gender, 1);  // "Female"
        QCOMPARE(name, QStringLiteral("Ann"));
        QCOMPARE(book, QStringLiteral("/Friends/Book1"));
        const QJsonObject ann = Contacts("/Friends/Book1").at(0).toObject();
        QCOMPARE(ann.value("Company").toString(), QStringLiteral("Acme"));
        QCOMPARE(ann.value("Gender").toInt(), 1);
        QCOMPARE(Names("/Friends/Book1"), (QStringList{"Ann", "Bob", "Cid"}));
        QCOMPARE(Grid()->DataSource()->Rows.at(0)->Cells[3].Text, QStringLiteral("Acme"));

        // The menu's Edit edits the selected row; a cancel changes nothing.
        const QByteArray saved = BookBytes("/Friends/Book1");
        InEditor(&scope, [&] {
            gender = EditorChild<ZComboBox>("GenderComboBox")->SelectedIndex();
            name = EditorChild<ZLineEdit>("NameLineEdit")->Text();
            EditorChild<ZLineEdit>("NameLineEdit")->SetText("Changed");
            PressEditor("CancelButton");
        });
        GridMenu(1, 1);
        QCOMPARE(name, QStringLiteral("Bob"));
        QCOMPARE(gender, 0);
        QCOMPARE(BookBytes("/Friends/Book1"), saved);
    }

    void choosingAnotherBookMovesTheContact()
    {
        QObject scope;
        OpenBook("Friends/Book1");
        InEditor(&scope, [] {
            ZComboBox* books = EditorChild<ZComboBox>("ContactsListComboBox");
            books->SetSelectedIndex(books->Items().indexOf("/Work"));
            PressEditor("ConfirmButton");
        });
        DoubleClickRow(1);
        QCOMPARE(Names("/Friends/Book1"), (QStringList{"Ann", "Cid"}));
        QCOMPARE(Names("/Work"), (QStringList{"Dan", "Bob"}));
        QCOMPARE(GridNames(), (QStringList{"Ann", "Cid"}));
        QCOMPARE(GetContactsData("/Work")->Rows.size(), 2);
    }

    void aMoveToABookThatCannotTakeItKeepsTheContact()
    {
        QObject scope;
        OpenBook("Friends/Book1");
        // The target book's file turned into something that is not a book after it was loaded.
        QVERIFY(m_Rig->WriteDataFile("Contacts/Work", "{ broken"));
        const QByteArray before = BookBytes("/Friends/Book1");
        InEditor(&scope, [] {
            ZComboBox* books = EditorChild<ZComboBox>("ContactsListComboBox");
            books->SetSelectedIndex(books->Items().indexOf("/Work"));
            PressEditor("ConfirmButton");
        });
        DoubleClickRow(0);
        QVERIFY(!g_ContactsEditForm->isVisible());
        QCOMPARE(BookBytes("/Friends/Book1"), before);
        QCOMPARE(GridNames(), (QStringList{"Ann", "Bob", "Cid"}));
        QCOMPARE(BookBytes("/Work"), QByteArray("{ broken"));
    }

    void checkHeaderTicksAllThenClearsAll()
    {
        OpenBook("Friends/Book1");
        ClickCheckHeader();
        QCOMPARE(Ticks(), QStringLiteral("xxx"));
        ClickCheckHeader();
        QCOMPARE(Ticks(), QStringLiteral("..."));
        ClickCheck(1);
        QCOMPARE(Ticks(), QStringLiteral(".x."));
        ClickCheckHeader();
        QCOMPARE(Ticks(), QStringLiteral("xxx"));
        ClickCheck(2);
        ClickCheckHeader();  // one unticked: all ticked again
        QCOMPARE(Ticks(), QStringLiteral("xxx"));
    }

    void deleteRemovesTheTickedContactsAndTheOpenBook()
    {
        OpenBook("Friends/Book1");
        ClickCheck(0);
        ClickCheck(2);
        GridMenu(-1, 2);  // Delete
        QCOMPARE(Names("/Friends/Book1"), (QStringList{"Bob"}));
        QCOMPARE(GridNames(), (QStringList{"Bob"}));

        TreeMenu("Friends/Book1", 3);  // Delete the open book
        QVERIFY(!QFileInfo::exists(BookPath("/Friends/Book1")));
        QVERIFY(Grid()->DataSource() == nullptr);
        QCOMPARE(Grid()->whatsThis(), QString());
        QCOMPARE(m_Form->ui->ContactsNameLabel->Text(), QString());
        QCOMPARE(GridMenu(-1, -1), QStringLiteral("000000"));
    }

    void tickedContactsAreExportedAndImportedIntoAnotherBook()
    {
        QObject scope;
        QTemporaryDir folder;
        const QString workbook = folder.filePath("contacts.xlsx");
        OpenBook("Friends/Book1");
        ClickCheck(0);
        ClickCheck(2);
        TipCatcher tips;
        AnswerFileDialog(&scope, workbook);
        GridMenu(-1, 4);  // Export Excel
        QTRY_COMPARE(tips.Seen, QStringList{"Operation completely"});

        bool ok = false;
        const QString rows = RunPython(QStringLiteral(R"PY(
import sys, openpyxl
for row in openpyxl.load_workbook(sys.argv[1]).active.iter_rows(values_only=True):
    print("|".join("" if v is None else str(v) for v in row))
)PY"),
                                       {workbook}, &ok);
        QVERIFY(ok);
        QCOMPARE(rows.trimmed().split('\n'),
                 (QStringList{"Name|Gender|Company|Title|Personal Tel|Company Tel|Address|Remarks",
                              "Ann|Female|Ann Ltd||801|||", "Cid|Male|Cid Ltd||803|||"}));

        OpenBook("Work");
        AnswerFileDialog(&scope, workbook);
        GridMenu(-1, 5);  // Import Excel
        QTRY_COMPARE(tips.Seen.size(), 2);
        QCOMPARE(tips.Seen.at(1), QStringLiteral("Operation completely"));
        QCOMPARE(Names("/Work"), (QStringList{"Dan", "Ann", "Cid"}));
        QCOMPARE(Contacts("/Work").at(1).toObject().value("Gender").toInt(), 1);
        QCOMPARE(GridNames(), (QStringList{"Dan", "Ann", "Cid"}));

        // A file that is not a workbook: failure, the book as it was.
        const QByteArray before = BookBytes("/Work");
        AnswerFileDialog(&scope, BookPath("/Work"));
        GridMenu(-1, 5);
        QTRY_COMPARE(tips.Seen.size(), 3);
        QCOMPARE(tips.Seen.at(2), QStringLiteral("Operation failed"));
        QCOMPARE(BookBytes("/Work"), before);
    }

    void addPutsTheContactInTheChosenBookAndDialTakesItsNumber()
    {
        QObject scope;
        OpenBook("Work");
        QString phone = QStringLiteral("<not empty>");
        InEditor(&scope, [&phone] {
            phone = EditorChild<ZLineEdit>("PhoneNumLineEdit")->Text();
            EditorChild<ZLineEdit>("NameLineEdit")->SetText("Eve");
            EditorChild<ZLineEdit>("PhoneNumLineEdit")->SetText("805");
            PressEditor("ConfirmButton");
        });
        GridMenu(-1, 0);  // Add
        QCOMPARE(phone, QString());
        QCOMPARE(Names("/Work"), (QStringList{"Dan", "Eve"}));
        QCOMPARE(GridNames(), (QStringList{"Dan", "Eve"}));

        GridMenu(1, 3);  // Dial
        QVERIFY(g_DialForm->isVisible());
        QCOMPARE(g_DialForm->findChild<ZLabel*>("PhoneNumberLabel")->Text(), QStringLiteral("805"));
        g_DialForm->close();
    }
};

QTEST_MAIN(ContactsPageTest)
#include "tst_contacts_page.moc"
