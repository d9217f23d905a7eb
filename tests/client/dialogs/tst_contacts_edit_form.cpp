// The contact editor run as the main window runs it: members filled before Exec, read back after a confirm, the
// entry then stored through the contacts store; texts and gender names following the language.

#include "DialogTestSupport.h"
#include "ModalTestHelpers.h"
#include "WindowSystem.h"

#include "ContactsEditForm.h"
#include "LanguageTexts.h"

#include "contacts/Contacts.h"

#include "ZButton.h"
#include "ZComboBox.h"
#include "ZGridListData.h"
#include "ZLineEdit.h"

#include <QFile>
#include <QTextEdit>
#include <QToolTip>
#include <QtTest>

#include <functional>

class ContactsEditFormTest : public DialogTestCase
{
    Q_OBJECT

    ContactsEditForm* m_Form = nullptr;

    template <class T>
    T* Child(const char* name)
    {
        return m_Form->findChild<T*>(QLatin1String(name));
    }
    void Press(const char* name) { QTest::mouseClick(Child<ZButton>(name), Qt::LeftButton); }

    // Runs Exec(edit, phone) and, once the editor shows, does `inside` on it.
    int Run(bool edit, const QString& phone, const std::function<void()>& inside)
    {
        When(this, [this] { return m_Form->isVisible(); }, inside);
        return m_Form->Exec(edit, phone);
    }

private slots:
    void initTestCase()
    {
        DialogTestCase::initTestCase();
        InitContacts();
        QDir().mkpath(ContactsRoot + "/Friends");
        for (const char* key : {"/Friends/Book1", "/Work"})
            CreateContactsFile(ContactsRoot + QLatin1String(key));
        ReloadContacts();
        QCOMPARE(ContactsStore.keys(), (QStringList{"/Friends/Book1", "/Work"}));
    }
    void cleanupTestCase()
    {
        FreeContacts();
        DialogTestCase::cleanupTestCase();
    }
    void init()
    {
        m_Form = new ContactsEditForm(m_Main.get());
        Language::Load(QStringLiteral("English"));
        emit g_Skin->SkinChanged();
        m_Form->UpdateBookList();
    }
    void cleanup()
    {
        QToolTip::hideText();
        delete m_Form;
        m_Form = nullptr;
    }

    // What the editor shows, field by field, in the order of ContactInfo, the book first.
    QStringList Shown()
    {
        return {Child<ZComboBox>("ContactsListComboBox")->SelectedText(),
                Child<ZLineEdit>("NameLineEdit")->Text(),
                QString::number(Child<ZComboBox>("GenderComboBox")->SelectedIndex()),
                Child<ZLineEdit>("CompanyLineEdit")->Text(),
                Child<ZLineEdit>("DutyLineEdit")->Text(),
                Child<ZLineEdit>("PhoneNumLineEdit")->Text(),
                Child<ZLineEdit>("CompanyNumLineEdit")->Text(),
                Child<ZLineEdit>("CompanyAddrLineEdit")->Text(),
                Child<QTextEdit>("NotesTextEdit")->toPlainText()};
    }
    static QStringList Fields(const QString& book, const ContactInfo& c)
    {
        return {book, c.Name, QString::number(c.Gender), c.Company, c.Duty, c.PhoneNum, c.CompanyNum, c.CompanyAddr,
                c.Notes};
    }
    static ContactInfo Sample()
    {
        ContactInfo c;
        c.Name = QStringLiteral("Ann Lee");
        c.Gender = 1;
        c.Company = QStringLiteral("Acme");
        c.Duty = QStringLiteral("Buyer");
        c.PhoneNum = QStringLiteral("5551;5552");
        c.CompanyNum = QStringLiteral("5550");
        c.CompanyAddr = QStringLiteral("1 Main St");
        c.Notes = QStringLiteral("<b>x</b>\n  two ");  // markup-like, a line break, blanks at both ends
        return c;
    }

    // An edit shows every member, the notes as typed; an add that follows shows the number handed in, the first
    // gender and nothing else of the edit, with the same book.
    void editShowsTheEntryAndAddStartsEmpty()
    {
        m_Form->BookPath = QStringLiteral("/Work");
        m_Form->Contact = Sample();
        QStringList shown;
        QString title;
        auto look = [&] {
            shown = Shown();
            title = m_Form->Title();
            Press("CancelButton");
        };
        QCOMPARE(Run(true, QStringLiteral("999"), look), 0);
        QCOMPARE(shown, Fields("/Work", Sample()));
        QCOMPARE(title, QStringLiteral("Edit Contacts"));

        QCOMPARE(Run(false, QStringLiteral("5551234"), look), 0);
        QCOMPARE(shown, (QStringList{"/Work", "", "0", "", "", "5551234", "", "", ""}));
        QCOMPARE(title, QStringLiteral("New Contacts"));
        // Cancel left the members alone.
        QCOMPARE(Fields(m_Form->BookPath, m_Form->Contact), Fields("/Work", Sample()));
    }

    // Confirm takes every field into its own member, the notes unchanged, and the entry stores as typed.
    void confirmTakesEveryField()
    {
        m_Form->BookPath = QStringLiteral("/Work");
        const ContactInfo typed = Sample();
        const int result = Run(false, QString(), [&] {
            Child<ZComboBox>("ContactsListComboBox")->SetSelectedIndex(0);
            QTest::keyClicks(Child<ZLineEdit>("NameLineEdit"), typed.Name);
            Child<ZComboBox>("GenderComboBox")->SetSelectedIndex(typed.Gender);
            QTest::keyClicks(Child<ZLineEdit>("CompanyLineEdit"), typed.Company);
            QTest::keyClicks(Child<ZLineEdit>("DutyLineEdit"), typed.Duty);
            QTest::keyClicks(Child<ZLineEdit>("PhoneNumLineEdit"), typed.PhoneNum);
            QTest::keyClicks(Child<ZLineEdit>("CompanyNumLineEdit"), typed.CompanyNum);
            QTest::keyClicks(Child<ZLineEdit>("CompanyAddrLineEdit"), typed.CompanyAddr);
            Child<QTextEdit>("NotesTextEdit")->setPlainText(typed.Notes);
            Press("ConfirmButton");
        });
        QCOMPARE(result, 1);
        QCOMPARE(Fields(m_Form->BookPath, m_Form->Contact), Fields("/Friends/Book1", typed));

        QVERIFY(AddContact(m_Form->BookPath, m_Form->Contact));
        const ZGridListData* book = GetContactsData(QStringLiteral("/Friends/Book1"));
        const ZGridListRow* row = book->Rows.last();
        QCOMPARE(row->Cells[ContactsNotesColumn].Text, typed.Notes);
        QCOMPARE(row->Cells[ContactsGenderColumn].Text, QStringLiteral("Female"));
        QCOMPARE(FindContactName(QStringLiteral("5552"), 0), typed.Name);

        // Opened again for an edit, the stored notes come back unchanged.
        m_Form->Contact.Notes = row->Cells[ContactsNotesColumn].Text;
        QString notes;
        Run(true, QString(), [&] {
            notes = Child<QTextEdit>("NotesTextEdit")->toPlainText();
            Press("ConfirmButton");
        });
        QCOMPARE(notes, typed.Notes);
        QCOMPARE(m_Form->Contact.Notes, typed.Notes);
    }

    // A refused confirm names the field at fault and keeps the run and the members; a name of blanks is a name.
    void confirmRefusesAnEmptyNameAndNoBook_data()
    {
        QTest::addColumn<QString>("book");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("tip");    // empty: accepted
        QTest::addColumn<QString>("field");
        QTest::newRow("empty name") << "/Work" << "" << "005" << "NameLineEdit";
        QTest::newRow("blank name") << "/Work" << "  " << "" << "";
        QTest::newRow("book no longer loaded") << "/Gone" << "Bo" << "014" << "ContactsListComboBox";
        QTest::newRow("no book yet") << "" << "Bo" << "014" << "ContactsListComboBox";
    }
    void confirmRefusesAnEmptyNameAndNoBook()
    {
        QFETCH(QString, book);
        QFETCH(QString, name);
        QFETCH(QString, tip);
        QFETCH(QString, field);
        const QString expectedTip = tip.isEmpty() ? QString() : tip == "005" ? TextTips005 : TextTips014;
        m_Form->BookPath = book;
        m_Form->Contact = Sample();
        QString selected = QStringLiteral("<not run>");
        QString tipText;
        QString tipField;
        QString nameAfter;
        const int result = Run(true, QString(), [&] {
            selected = Child<ZComboBox>("ContactsListComboBox")->SelectedText();
            Child<ZLineEdit>("NameLineEdit")->SetText(name);
            QToolTip::hideText();
            Press("ConfirmButton");
            tipText = QToolTip::text();
            if (tipText.isEmpty())
                return;  // accepted: the run is ending
            tipField = TipFieldAmong({Child<ZLineEdit>("NameLineEdit"), Child<ZComboBox>("ContactsListComboBox")});
            nameAfter = Child<ZLineEdit>("NameLineEdit")->Text();
            QToolTip::hideText();
            Press("CancelButton");
        });
        QCOMPARE(selected, book == "/Work" ? book : QString());
        QCOMPARE(tipText, expectedTip);
        if (tip.isEmpty()) {
            QCOMPARE(result, 1);
            QCOMPARE(m_Form->Contact.Name, name);
            return;
        }
        QCOMPARE(result, 0);
        QCOMPARE(tipField, field);
        QCOMPARE(nameAfter, name);
        QCOMPARE(Fields(m_Form->BookPath, m_Form->Contact), Fields(book, Sample()));
    }

    // A close from the window system ends the run like Cancel.
    void closeKeepsTheMembers()
    {
        m_Form->BookPath = QStringLiteral("/Work");
        m_Form->Contact = Sample();
        bool closed = false;
        const int result = Run(true, QString(), [&] {
            Child<ZLineEdit>("NameLineEdit")->SetText(QStringLiteral("changed"));
            closed = WindowSystemClose(m_Form->HostWindow());
        });
        QVERIFY(closed);
        QCOMPARE(result, 0);
        QCOMPARE(Fields(m_Form->BookPath, m_Form->Contact), Fields("/Work", Sample()));
    }

    // A second request while the editor is open (a call pop-up's add) is turned away: the open run keeps what
    // the operator typed and confirms it.
    void nestedExecLeavesTheOpenRunAlone()
    {
        m_Form->BookPath = QStringLiteral("/Work");
        int nested = -1;
        QStringList before, after;
        QString titleBefore, titleAfter;
        const int result = Run(false, QStringLiteral("111"), [&] {
            QTest::keyClicks(Child<ZLineEdit>("NameLineEdit"), QStringLiteral("Typed"));
            before = Shown();
            titleBefore = m_Form->Title();
            nested = m_Form->Exec(true, QStringLiteral("222"));
            after = Shown();
            titleAfter = m_Form->Title();
            Press("ConfirmButton");
        });
        QCOMPARE(nested, 0);
        QCOMPARE(after, before);
        QCOMPARE(titleAfter, titleBefore);
        QCOMPARE(result, 1);
        QCOMPARE(m_Form->Contact.Name, QStringLiteral("Typed"));
        QCOMPARE(m_Form->Contact.PhoneNum, QStringLiteral("111"));
    }

    // A language change renames the editor and the genders, and the rows already loaded (from a book file and
    // by an add) show the new gender names while keeping their numbers.
    void languageChangeRenamesGenders()
    {
        QFile file(ContactsRoot + QStringLiteral("/Loaded"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(R"({"Contacts": [{"Name": "Eve", "Gender": 1, "PhoneNum": "7771"}]})");
        file.close();
        ReloadContacts();
        const ZGridListRow* loaded = GetContactsData(QStringLiteral("/Loaded"))->Rows.value(0);
        QVERIFY(loaded);
        QCOMPARE(loaded->Cells[ContactsGenderColumn].Text, QStringLiteral("Female"));
        ContactInfo female = Sample();
        female.PhoneNum = QStringLiteral("7770");
        QVERIFY(AddContact(QStringLiteral("/Work"), female));
        const ZGridListRow* row = GetContactsData(QStringLiteral("/Work"))->Rows.last();
        QCOMPARE(row->Cells[ContactsGenderColumn].Text, QStringLiteral("Female"));

        Language::Load(QStringLiteral("Deutsche"));
        QCOMPARE(GenderTexts[0], QStringLiteral("Männlich"));
        QCOMPARE(GenderTexts[1], QStringLiteral("Weiblich"));
        QCOMPARE(Child<ZComboBox>("GenderComboBox")->Items(), (QStringList{"Männlich", "Weiblich"}));
        for (const ZGridListRow* shown : {loaded, row}) {
            QCOMPARE(shown->Cells[ContactsGenderColumn].Text, QStringLiteral("Weiblich"));
            QCOMPARE(shown->Cells[ContactsGenderColumn].Value, qintptr(1));
        }

        QStringList titles;
        for (bool edit : {false, true})
            Run(edit, QString(), [&] {
                titles << m_Form->Title();
                Press("CancelButton");
            });
        QCOMPARE(titles, (QStringList{"Neuer Kontakt", "Kontakt bearbeiten"}));
        Language::Load(QStringLiteral("English"));
        for (const ZGridListRow* shown : {loaded, row})
            QCOMPARE(shown->Cells[ContactsGenderColumn].Text, QStringLiteral("Female"));
    }
};

QTEST_MAIN(ContactsEditFormTest)
#include "tst_contacts_edit_form.moc"
