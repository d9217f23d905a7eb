// The record notes editor run as the record page runs it: the text's colour follows its UTF-8 length, Confirm
// takes a text of at most 64 bytes, Cancel keeps the last accepted notes.

#include "DialogTestSupport.h"

#include "EditRecordNotesForm.h"
#include "LanguageTexts.h"

#include "ZButton.h"
#include "ZLineEdit.h"

#include <QTimer>
#include <QToolTip>
#include <QtTest>

#include <functional>

class EditRecordNotesFormTest : public DialogTestCase
{
    Q_OBJECT

    // Runs Exec(notes) and, once the run has started, does `inside` on the shown editor.
    int Run(EditRecordNotesForm& form, const QString& notes, std::function<void(ZLineEdit*)> inside)
    {
        QTimer::singleShot(0, &form, [&form, inside]() { inside(form.findChild<ZLineEdit*>("NotesLineEdit")); });
        return form.Exec(notes);
    }

    static void Press(EditRecordNotesForm& form, const char* name)
    {
        QTest::mouseClick(form.findChild<ZButton*>(QLatin1String(name)), Qt::LeftButton);
    }

private slots:
    void init()
    {
        if (TextTips018.isEmpty())
            Language::Load(Language::Names().first());
    }

    void confirmTakesTextsThatFit_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("empty") << QString() << true;
        QTest::newRow("64 ASCII") << QString(64, QLatin1Char('a')) << true;
        QTest::newRow("65 ASCII") << QString(65, QLatin1Char('a')) << false;
        QTest::newRow("32 x 2 bytes") << QString(32, QChar(0xE9)) << true;
        QTest::newRow("33 x 2 bytes") << QString(33, QChar(0xE9)) << false;
        QTest::newRow("blanks kept") << QStringLiteral("  call back  ") << true;
    }

    void confirmTakesTextsThatFit()
    {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        EditRecordNotesForm form(m_Main.get());
        form.Notes = QStringLiteral("before");
        bool stayedOpen = false;
        QColor colour;
        const int result = Run(form, QStringLiteral("old"), [&](ZLineEdit* line) {
            line->SetText(text);
            colour = line->ForeColor();
            QToolTip::hideText();
            Press(form, "ConfirmButton");
            // Refused: the tooltip names the fault and the run goes on with the text.
            stayedOpen = QToolTip::text() == TextTips018;
            if (stayedOpen) {
                QCOMPARE(line->Text(), text);
                QToolTip::hideText();
                Press(form, "CancelButton");
            }
        });
        QCOMPARE(colour, accepted ? QColor(100, 100, 100) : QColor(255, 0, 0));
        QCOMPARE(stayedOpen, !accepted);
        QCOMPARE(result, accepted ? 1 : 0);
        QCOMPARE(form.Notes, accepted ? text : QStringLiteral("before"));
    }

    void cancelKeepsTheNotes()
    {
        EditRecordNotesForm form(m_Main.get());
        form.Notes = QStringLiteral("kept");
        const int result = Run(form, QStringLiteral("kept"), [&](ZLineEdit* line) {
            QTest::keyClicks(line, QStringLiteral(" more"));
            Press(form, "CancelButton");
        });
        QCOMPARE(result, 0);
        QCOMPARE(form.Notes, QStringLiteral("kept"));
    }

    // A red text from the last run that is opened again with a short text is grey again, and vice versa, also
    // when the text handed in is the one the line already holds.
    void colourFollowsTheTextHandedIn()
    {
        EditRecordNotesForm form(m_Main.get());
        QColor colour;
        const QString tooLong(65, QLatin1Char('b'));
        for (const QString& notes : {tooLong, tooLong, QString(), QString()}) {
            Run(form, notes, [&](ZLineEdit* line) {
                colour = line->ForeColor();
                Press(form, "CancelButton");
            });
            QCOMPARE(colour, notes.isEmpty() ? QColor(100, 100, 100) : QColor(255, 0, 0));
        }
    }
};

QTEST_MAIN(EditRecordNotesFormTest)
#include "tst_edit_record_notes_form.moc"
