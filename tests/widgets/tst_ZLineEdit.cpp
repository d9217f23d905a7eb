#include "ZLineEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QtTest>

namespace {

// Sends one key press straight to the field. Printable keys get Qt's key code for the character, so that the
// key table sees what a keyboard would give; text may hold several characters (compressed keystrokes).
bool Key(ZLineEdit& edit, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    return QApplication::sendEvent(&edit, &press);
}

void Type(ZLineEdit& edit, const QString& text)
{
    for (const QChar c : text)
        Key(edit, c.toUpper().unicode(), Qt::NoModifier, QString(c));
}

void Paste(ZLineEdit& edit, const QString& clipboard)
{
    QGuiApplication::clipboard()->setText(clipboard);
    Key(edit, Qt::Key_V, Qt::ControlModifier);
}

void Mouse(ZLineEdit& edit, QEvent::Type type, int x, Qt::MouseButton button = Qt::LeftButton,
           Qt::MouseButtons buttons = Qt::LeftButton)
{
    const QPointF pos(x, edit.height() / 2);
    QMouseEvent e(type, pos, edit.mapToGlobal(pos.toPoint()), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&edit, &e);
}

int Width(const ZLineEdit& edit, const QString& s)
{
    return QFontMetrics(edit.font()).horizontalAdvance(s);
}

// The caret stands inside the text area and nothing is scrolled back past the text's start.
void CheckCaretInView(const ZLineEdit& edit)
{
    const int caretX = Width(edit, edit.DisplayText().left(edit.CaretIndex()));
    QVERIFY2(edit.ScrollOffset() >= 0, qPrintable(QString::number(edit.ScrollOffset())));
    QVERIFY(caretX - edit.ScrollOffset() >= 0);
    QVERIFY(caretX - edit.ScrollOffset() < edit.TextArea().width());
}

} // namespace

class TestZLineEdit : public QObject
{
    Q_OBJECT

private slots:
    void Filter_data();
    void Filter();
    void FilterKeepsControlCharactersForAscii();
    void CompressedKeysInsertOnlyAcceptedText();
    void PasteReplacesSelectionAtCaret();
    void MaximumLength();
    void OverlongTextTakesNoInsertion();
    void ReadOnly();
    void ReadOnlyFieldPassesTabOn();
    void Password();
    void PasswordSelectionIsNeverDrawn();
    void SwitchingToPasswordKeepsShownTextUntilChange();
    void SetTextStoresAsGiven();
    void CopyAndCut();
    void CopyWithoutSelectionKeepsClipboard();
    void LongTextKeepsCaretVisible();
    void DeletingWhileScrolledShiftsTextRight();
    void ShiftArrows();
    void MouseSelection();
    void DragWithoutAnchorSelectsNothing();
    void HitTestRoundsToNearestGap();
    void RightClickAndDoubleClick();
    void TextAreaFollowsResizeAndBorder();
    void CaretBlinksWhileFocused();
    void FocusOutClearsSelection();
    void InputMethodCommit();
    void UpdateHookTakesRepaints();
    void PropertiesByName();
};

void TestZLineEdit::Filter_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pasted");

    const QString arabicThree = QString(QChar(0x0663));
    const QString half = QString(QChar(0x00BD));
    QTest::newRow("Normal") << int(TextType::Normal) << QStringLiteral("aé 1-*#") << QStringLiteral("aé 1-*#")
                            << QStringLiteral("aé 1-*#");
    QTest::newRow("ASCII") << int(TextType::ASCII) << QStringLiteral("abé日1~") << QStringLiteral("ab1~")
                           << QStringLiteral("ab1~");
    QTest::newRow("Number") << int(TextType::Number) << (QStringLiteral("x1-2.3.4e") + arabicThree + half)
                            << (QStringLiteral("1-2.3.4") + arabicThree + half)
                            << (QStringLiteral("1-2.3.4") + arabicThree + half);
    // A password field takes anything typed, but never pastes.
    QTest::newRow("Password") << int(TextType::Password) << QStringLiteral("pä ss!") << QStringLiteral("pä ss!")
                              << QString();
    QTest::newRow("IPaddress") << int(TextType::IPaddress) << QStringLiteral("12ab34") << QStringLiteral("1234")
                               << QStringLiteral("1234");
    QTest::newRow("IPaddress separators") << int(TextType::IPaddress) << QStringLiteral("192.168.1:1-2")
                                          << QStringLiteral("192.168.112") << QStringLiteral("192.168.112");
    QTest::newRow("MACaddress") << int(TextType::MACaddress) << QStringLiteral("00-1A:bc:Gz.f")
                                << QStringLiteral("001A:bc:f") << QStringLiteral("001A:bc:f");
    QTest::newRow("PhoneNumber") << int(TextType::PhoneNumber) << QStringLiteral("+86 (10) *#5a")
                                 << QStringLiteral("8610*#5") << QStringLiteral("8610*#5");
}

void TestZLineEdit::Filter()
{
    QFETCH(int, type);
    QFETCH(QString, input);
    QFETCH(QString, typed);
    QFETCH(QString, pasted);

    ZLineEdit byKeys;
    byKeys.SetTextType(TextType::Types(type));
    Type(byKeys, input);
    QCOMPARE(byKeys.Text(), typed);
    QCOMPARE(byKeys.CaretIndex(), typed.size());

    ZLineEdit byPaste;
    byPaste.SetTextType(TextType::Types(type));
    QSignalSpy changed(&byPaste, &ZLineEdit::TextChanged);
    Paste(byPaste, input);
    QCOMPARE(byPaste.Text(), pasted);
    QCOMPARE(changed.count(), pasted.isEmpty() ? 0 : 1);

    QString checked = input;
    byKeys.CheckText(checked);
    QCOMPARE(checked, typed);
}

void TestZLineEdit::FilterKeepsControlCharactersForAscii()
{
    ZLineEdit edit;
    edit.SetTextType(TextType::ASCII);
    QString s = QStringLiteral("a\tb\x01\x7f") + QChar(0x80) + QChar(0xD83D) + QChar(0xDE00);
    edit.CheckText(s);
    QCOMPARE(s, QStringLiteral("a\tb\x01\x7f"));
}

void TestZLineEdit::CompressedKeysInsertOnlyAcceptedText()
{
    // With key compression several keystrokes come as one event: the rejected ones must not ride along.
    ZLineEdit edit;
    edit.SetTextType(TextType::IPaddress);
    Key(edit, Qt::Key_1, Qt::NoModifier, QStringLiteral("1a2"));
    QCOMPARE(edit.Text(), QStringLiteral("12"));
    Key(edit, Qt::Key_A, Qt::NoModifier, QStringLiteral("ab"));
    QCOMPARE(edit.Text(), QStringLiteral("12"));
}

void TestZLineEdit::PasteReplacesSelectionAtCaret()
{
    ZLineEdit edit;
    edit.SetTextType(TextType::IPaddress);
    edit.SetText(QStringLiteral("10.0.0.9"));
    Key(edit, Qt::Key_End); // not handled: the caret stays at 0
    QCOMPARE(edit.CaretIndex(), 0);
    Key(edit, Qt::Key_Right);
    Key(edit, Qt::Key_Right);
    Key(edit, Qt::Key_Right, Qt::ShiftModifier);
    Key(edit, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(edit.SelectedText(), QStringLiteral(".0"));
    Paste(edit, QStringLiteral("12ab34"));
    QCOMPARE(edit.Text(), QStringLiteral("101234.0.9"));
    QCOMPARE(edit.CaretIndex(), 6);
    QVERIFY(edit.SelectedText().isEmpty());
}

void TestZLineEdit::MaximumLength()
{
    ZLineEdit edit;
    edit.SetTextMaxLength(5);
    Type(edit, QStringLiteral("abcd"));
    QSignalSpy changed(&edit, &ZLineEdit::TextChanged);
    Paste(edit, QStringLiteral("xyz"));
    QCOMPARE(edit.Text(), QStringLiteral("abcdx"));
    QCOMPARE(changed.count(), 1);
    Type(edit, QStringLiteral("q"));
    Paste(edit, QStringLiteral("r"));
    edit.AppendText(QStringLiteral("s"));
    QCOMPARE(edit.Text(), QStringLiteral("abcdx"));
    QCOMPARE(changed.count(), 1);

    // A selection makes room: the typed character replaces it.
    edit.SelectAll();
    Type(edit, QStringLiteral("z"));
    QCOMPARE(edit.Text(), QStringLiteral("z"));
}

void TestZLineEdit::OverlongTextTakesNoInsertion()
{
    ZLineEdit edit;
    edit.SetTextMaxLength(3);
    edit.SetText(QStringLiteral("123456"));
    QCOMPARE(edit.Text(), QStringLiteral("123456"));
    QSignalSpy changed(&edit, &ZLineEdit::TextChanged);
    Type(edit, QStringLiteral("7"));
    Paste(edit, QStringLiteral("8"));
    edit.InsertText(2, QStringLiteral("9"));
    QCOMPARE(edit.Text(), QStringLiteral("123456"));
    QCOMPARE(edit.CaretIndex(), 0);
    QCOMPARE(changed.count(), 0);

    // Lowering the limit below the text's length has the same effect; deleting still works.
    ZLineEdit lowered;
    lowered.SetText(QStringLiteral("abcdef"));
    lowered.SetTextMaxLength(2);
    Type(lowered, QStringLiteral("g"));
    QCOMPARE(lowered.Text(), QStringLiteral("abcdef"));
    Key(lowered, Qt::Key_Delete);
    QCOMPARE(lowered.Text(), QStringLiteral("bcdef"));
}

void TestZLineEdit::ReadOnly()
{
    ZLineEdit edit;
    edit.SetText(QStringLiteral("fixed"));
    edit.SetReadOnly(true);
    QSignalSpy changed(&edit, &ZLineEdit::TextChanged);

    Key(edit, Qt::Key_Right);
    Type(edit, QStringLiteral("x"));
    Key(edit, Qt::Key_Delete);
    Key(edit, Qt::Key_Backspace);
    QCOMPARE(edit.Text(), QStringLiteral("fixed"));

    edit.SelectAll();
    Paste(edit, QStringLiteral("pasted"));
    QCOMPARE(edit.Text(), QStringLiteral("fixed"));

    // Cut only copies.
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    Key(edit, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(edit.Text(), QStringLiteral("fixed"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("fixed"));
    QCOMPARE(changed.count(), 0);

    // Selecting and copying still work.
    Key(edit, Qt::Key_Right);
    Key(edit, Qt::Key_Left, Qt::ShiftModifier);
    Key(edit, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("d"));

    // Input-method text is refused too.
    QInputMethodEvent im;
    im.setCommitString(QStringLiteral("ime"));
    QApplication::sendEvent(&edit, &im);
    QCOMPARE(edit.Text(), QStringLiteral("fixed"));
    QCOMPARE(changed.count(), 0);
}

void TestZLineEdit::ReadOnlyFieldPassesTabOn()
{
    QWidget window;
    ZLineEdit first(&window);
    ZLineEdit second(&window);
    second.move(0, 40);
    first.SetReadOnly(true);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    first.setFocus();
    QTRY_VERIFY(first.hasFocus());
    QTest::keyClick(&first, Qt::Key_Tab);
    QTRY_VERIFY(second.hasFocus());
}

void TestZLineEdit::Password()
{
    ZLineEdit edit;
    edit.SetTextType(TextType::Password);
    QVERIFY(!edit.testAttribute(Qt::WA_InputMethodEnabled));
    Type(edit, QStringLiteral("secret"));
    QCOMPARE(edit.Text(), QStringLiteral("secret"));
    QCOMPARE(edit.DisplayText(), QStringLiteral("******"));

    QGuiApplication::clipboard()->setText(QStringLiteral("clip"));
    Key(edit, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(edit.SelectedText(), QStringLiteral("secret"));
    Key(edit, Qt::Key_C, Qt::ControlModifier);
    Key(edit, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("clip"));
    QCOMPARE(edit.Text(), QStringLiteral("secret"));
    Key(edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit.Text(), QStringLiteral("secret"));

    // The next typed character replaces the whole (invisibly) selected text.
    Type(edit, QStringLiteral("n"));
    QCOMPARE(edit.Text(), QStringLiteral("n"));
    QCOMPARE(edit.DisplayText(), QStringLiteral("*"));

    edit.SetTextType(TextType::Normal);
    QVERIFY(edit.testAttribute(Qt::WA_InputMethodEnabled));
}

void TestZLineEdit::PasswordSelectionIsNeverDrawn()
{
    const QColor selection(255, 0, 0);
    auto redPixels = [&](TextType::Types type) {
        ZLineEdit edit;
        edit.resize(150, 30);
        edit.SetBackColor(Qt::white);
        edit.SetForeColor(Qt::black);
        edit.SetSelectedTextBackColor(selection);
        edit.SetSelectedTextForeColor(Qt::white);
        edit.SetTextType(type);
        edit.SetText(QStringLiteral("hidden"));
        edit.SelectAll();
        const QImage image = edit.grab().toImage().convertToFormat(QImage::Format_RGB32);
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += QColor(image.pixel(x, y)) == selection;
        return count;
    };
    QVERIFY(redPixels(TextType::Normal) > 20);
    QCOMPARE(redPixels(TextType::Password), 0);
}

void TestZLineEdit::SwitchingToPasswordKeepsShownTextUntilChange()
{
    ZLineEdit edit;
    edit.SetText(QStringLiteral("abc"));
    edit.SetTextType(TextType::Password);
    QCOMPARE(edit.DisplayText(), QStringLiteral("abc"));
    edit.AppendText(QStringLiteral("d"));
    QCOMPARE(edit.DisplayText(), QStringLiteral("****"));
}

void TestZLineEdit::SetTextStoresAsGiven()
{
    ZLineEdit edit;
    edit.SetTextType(TextType::PhoneNumber);
    edit.SetTextMaxLength(4);
    QSignalSpy changed(&edit, &ZLineEdit::TextChanged);
    edit.SetText(QStringLiteral("+44 (0) 20 7946"));
    QCOMPARE(edit.Text(), QStringLiteral("+44 (0) 20 7946"));
    QCOMPARE(edit.CaretIndex(), 0);
    QCOMPARE(edit.ScrollOffset(), 0);
    QCOMPARE(changed.count(), 1);
    edit.SetText(QStringLiteral("+44 (0) 20 7946"));
    QCOMPARE(changed.count(), 1);
    edit.SetTextWithoutEvent(QStringLiteral("5"));
    QCOMPARE(edit.Text(), QStringLiteral("5"));
    QCOMPARE(changed.count(), 1);

    // A selection of the old text does not survive a new text: typing then only inserts.
    ZLineEdit selected;
    selected.SetText(QStringLiteral("0123456789"));
    selected.SelectAll();
    selected.SetText(QStringLiteral("ab"));
    QVERIFY(selected.SelectedText().isEmpty());
    QCOMPARE(selected.SelectionAnchor(), -1);
    Type(selected, QStringLiteral("x"));
    QCOMPARE(selected.Text(), QStringLiteral("xab"));
}

void TestZLineEdit::CopyAndCut()
{
    ZLineEdit edit;
    edit.SetText(QStringLiteral("hello world"));
    edit.SelectAll();
    Key(edit, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("hello world"));

    Key(edit, Qt::Key_Right); // drops the selection; the caret stays at the end
    for (int i = 0; i < 5; ++i)
        Key(edit, Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(edit.SelectedText(), QStringLiteral("world"));
    QSignalSpy changed(&edit, &ZLineEdit::TextChanged);
    Key(edit, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("world"));
    QCOMPARE(edit.Text(), QStringLiteral("hello "));
    QCOMPARE(edit.CaretIndex(), 6);
    QCOMPARE(changed.count(), 1);
}

void TestZLineEdit::CopyWithoutSelectionKeepsClipboard()
{
    ZLineEdit edit;
    edit.SetText(QStringLiteral("text"));
    QGuiApplication::clipboard()->setText(QStringLiteral("keep me"));
    Key(edit, Qt::Key_C, Qt::ControlModifier);
    Key(edit, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("keep me"));
    QCOMPARE(edit.Text(), QStringLiteral("text"));
}

void TestZLineEdit::LongTextKeepsCaretVisible()
{
    ZLineEdit edit;
    edit.resize(60, 24);
    edit.show();
    const QString text = QStringLiteral("the quick brown fox jumps over the lazy dog");
    for (const QChar c : text) {
        Type(edit, QString(c));
        CheckCaretInView(edit);
    }
    QVERIFY(edit.ScrollOffset() > 0);
    for (int i = 0; i < text.size() + 3; ++i) {
        Key(edit, Qt::Key_Left);
        CheckCaretInView(edit);
    }
    QCOMPARE(edit.ScrollOffset(), 0);
    for (int i = 0; i < 20; ++i) {
        Key(edit, Qt::Key_Right);
        CheckCaretInView(edit);
    }
    for (int i = 0; i < 10; ++i) {
        Key(edit, Qt::Key_Delete);
        CheckCaretInView(edit);
        Key(edit, Qt::Key_Backspace);
        CheckCaretInView(edit);
    }
    edit.SelectAll();
    Key(edit, Qt::Key_Backspace);
    QVERIFY(edit.Text().isEmpty());
    QCOMPARE(edit.ScrollOffset(), 0);
    CheckCaretInView(edit);
}

void TestZLineEdit::DeletingWhileScrolledShiftsTextRight()
{
    ZLineEdit edit;
    edit.resize(60, 24);
    edit.show();
    edit.SetText(QStringLiteral("0123456789abcdefghij"));
    for (int i = 0; i < 20; ++i)
        Key(edit, Qt::Key_Right);
    const int scrolled = edit.ScrollOffset();
    QVERIFY(scrolled > 0);
    const int lastWidth = Width(edit, QStringLiteral("j"));
    Key(edit, Qt::Key_Backspace);
    // The text right of the caret stays where it was: the field scrolls back by what was removed.
    QCOMPARE(edit.ScrollOffset(), qMax(0, scrolled - lastWidth));
    for (int i = 0; i < 19; ++i) {
        Key(edit, Qt::Key_Backspace);
        QVERIFY(edit.ScrollOffset() >= 0);
    }
    QCOMPARE(edit.ScrollOffset(), 0);
}

void TestZLineEdit::ShiftArrows()
{
    ZLineEdit edit;
    edit.SetText(QStringLiteral("abcd"));
    Key(edit, Qt::Key_Left, Qt::ShiftModifier);
    QVERIFY(edit.SelectedText().isEmpty());
    QCOMPARE(edit.CaretIndex(), 0);

    Key(edit, Qt::Key_Right);
    Key(edit, Qt::Key_Right, Qt::ShiftModifier);
    Key(edit, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(edit.SelectedText(), QStringLiteral("bc"));
    QCOMPARE(edit.SelectionAnchor(), 1);
    QCOMPARE(edit.SelectionEnd(), 3);
    Key(edit, Qt::Key_Right, Qt::ShiftModifier);
    Key(edit, Qt::Key_Right, Qt::ShiftModifier); // at the end: nothing more
    QCOMPARE(edit.SelectedText(), QStringLiteral("bcd"));
    QCOMPARE(edit.CaretIndex(), 4);

    // Back over the anchor: the selection turns to the other side.
    for (int i = 0; i < 4; ++i)
        Key(edit, Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(edit.SelectedText(), QStringLiteral("a"));
    QCOMPARE(edit.CaretIndex(), 0);

    // A plain arrow drops the selection.
    Key(edit, Qt::Key_Right);
    QVERIFY(edit.SelectedText().isEmpty());
    QCOMPARE(edit.SelectionAnchor(), -1);
    QCOMPARE(edit.CaretIndex(), 1);
}

void TestZLineEdit::MouseSelection()
{
    ZLineEdit edit;
    edit.resize(200, 24);
    edit.show();
    edit.SetText(QStringLiteral("abcdefgh"));
    const int left = edit.TextArea().left();
    const int afterB = left + Width(edit, QStringLiteral("ab"));
    const int afterF = left + Width(edit, QStringLiteral("abcdef"));
    Mouse(edit, QEvent::MouseButtonPress, afterB);
    QCOMPARE(edit.CaretIndex(), 2);
    QCOMPARE(edit.SelectionAnchor(), 2);
    QVERIFY(edit.SelectedText().isEmpty());
    Mouse(edit, QEvent::MouseMove, afterF, Qt::NoButton);
    QCOMPARE(edit.SelectedText(), QStringLiteral("cdef"));
    Mouse(edit, QEvent::MouseMove, left, Qt::NoButton);
    QCOMPARE(edit.SelectedText(), QStringLiteral("ab"));
    Mouse(edit, QEvent::MouseButtonRelease, left, Qt::LeftButton, Qt::NoButton);
    Type(edit, QStringLiteral("Z"));
    QCOMPARE(edit.Text(), QStringLiteral("Zcdefgh"));
}

void TestZLineEdit::DragWithoutAnchorSelectsNothing()
{
    ZLineEdit edit;
    edit.resize(200, 24);
    edit.show();
    edit.SetText(QStringLiteral("abcdefgh"));
    // No press in the field: a drag coming in from elsewhere has no start to select from.
    Mouse(edit, QEvent::MouseMove, 100, Qt::NoButton);
    QVERIFY(edit.SelectedText().isEmpty());
    QCOMPARE(edit.SelectionEnd(), -1);
    QCOMPARE(edit.CaretIndex(), 0);
    Type(edit, QStringLiteral("x"));
    QCOMPARE(edit.Text(), QStringLiteral("xabcdefgh"));

    // A right-button drag after a left press does not select either.
    Mouse(edit, QEvent::MouseButtonPress, 10);
    Mouse(edit, QEvent::MouseButtonRelease, 10, Qt::LeftButton, Qt::NoButton);
    Mouse(edit, QEvent::MouseMove, 100, Qt::NoButton, Qt::RightButton);
    QVERIFY(edit.SelectedText().isEmpty());
}

void TestZLineEdit::HitTestRoundsToNearestGap()
{
    ZLineEdit edit;
    edit.resize(200, 24);
    edit.show();
    edit.SetText(QStringLiteral("WWW"));
    const int w = Width(edit, QStringLiteral("W"));
    struct Case { int x; int index; };
    const Case cases[] = {{-5, 0}, {0, 0}, {w / 2 - 1, 0}, {(w + 1) / 2, 1}, {w + 1, 1}, {3 * w, 3}, {500, 3}};
    for (const Case& c : cases) {
        edit.ComputeCaretIndex(0); // reset to a known place first
        edit.ComputeCaretIndex(c.x);
        QVERIFY2(edit.CaretIndex() == c.index, qPrintable(QStringLiteral("x %1 gave %2, expected %3")
                                                              .arg(c.x).arg(edit.CaretIndex()).arg(c.index)));
    }
    ZLineEdit empty;
    empty.ComputeCaretIndex(40);
    QCOMPARE(empty.CaretIndex(), 0);
}

void TestZLineEdit::RightClickAndDoubleClick()
{
    ZLineEdit edit;
    edit.resize(200, 24);
    edit.show();
    edit.SetText(QStringLiteral("text"));
    QSignalSpy right(&edit, &ZLineEdit::RightClicked);
    Mouse(edit, QEvent::MouseButtonPress, 30, Qt::RightButton, Qt::RightButton);
    QCOMPARE(right.count(), 1);
    QCOMPARE(edit.SelectionAnchor(), -1);
    Mouse(edit, QEvent::MouseButtonDblClick, 10);
    QCOMPARE(edit.SelectedText(), QStringLiteral("text"));
    QCOMPARE(edit.CaretIndex(), 4);

    // A disabled field takes neither keys nor clicks.
    edit.setEnabled(false);
    Type(edit, QStringLiteral("x"));
    Key(edit, Qt::Key_Backspace);
    Mouse(edit, QEvent::MouseButtonPress, 30, Qt::RightButton, Qt::RightButton);
    QCOMPARE(edit.Text(), QStringLiteral("text"));
    QCOMPARE(right.count(), 1);
}

void TestZLineEdit::TextAreaFollowsResizeAndBorder()
{
    ZLineEdit edit;
    edit.resize(200, 30);
    edit.show(); // a hidden widget gets its resize event when shown
    QCOMPARE(edit.TextArea(), QRect(4, 4, 192, 22));
    edit.resize(100, 20);
    QCOMPARE(edit.TextArea(), QRect(4, 4, 92, 12));
    edit.SetBorderWidth(2);
    edit.SetBorder(PositionFlag::Left | PositionFlag::Top);
    QCoreApplication::sendPostedEvents(&edit);
    QCOMPARE(edit.TextArea(), QRect(6, 6, 90, 10));
    edit.SetBorder(PositionFlag::All);
    QCoreApplication::sendPostedEvents(&edit);
    QCOMPARE(edit.TextArea(), QRect(6, 6, 88, 8));

    // Fresh from the constructor, before any resize arrives.
    ZLineEdit fresh;
    QVERIFY(fresh.TextArea().width() > 0);
}

void TestZLineEdit::CaretBlinksWhileFocused()
{
    ZLineEdit edit;
    QVERIFY(!edit.CaretVisible());
    QFocusEvent in(QEvent::FocusIn, Qt::OtherFocusReason);
    QApplication::sendEvent(&edit, &in);
    QVERIFY(edit.CaretVisible());
    QElapsedTimer clock;
    clock.start();
    QTRY_VERIFY_WITH_TIMEOUT(!edit.CaretVisible(), 2000);
    QVERIFY2(clock.elapsed() >= 400, qPrintable(QString::number(clock.elapsed())));
    QTRY_VERIFY_WITH_TIMEOUT(edit.CaretVisible(), 2000);
    QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
    QApplication::sendEvent(&edit, &out);
    QVERIFY(!edit.CaretVisible());
    QTest::qWait(600);
    QVERIFY(!edit.CaretVisible());
}

void TestZLineEdit::FocusOutClearsSelection()
{
    ZLineEdit edit;
    edit.SetText(QStringLiteral("abc"));
    edit.SelectAll();
    QSignalSpy focusOut(&edit, &ZLineEdit::FocusOut);
    QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
    QApplication::sendEvent(&edit, &out);
    QCOMPARE(focusOut.count(), 1);
    QVERIFY(edit.SelectedText().isEmpty());
    QCOMPARE(edit.SelectionAnchor(), -1);
}

void TestZLineEdit::InputMethodCommit()
{
    ZLineEdit edit;
    edit.SetTextType(TextType::PhoneNumber);
    edit.SetText(QStringLiteral("12"));
    edit.SelectAll();
    QInputMethodEvent im;
    im.setCommitString(QStringLiteral("+3x4#"));
    QApplication::sendEvent(&edit, &im);
    QCOMPARE(edit.Text(), QStringLiteral("34#"));

    QInputMethodEvent rejected;
    rejected.setCommitString(QStringLiteral("abc"));
    QSignalSpy changed(&edit, &ZLineEdit::TextChanged);
    QApplication::sendEvent(&edit, &rejected);
    QCOMPARE(edit.Text(), QStringLiteral("34#"));
    QCOMPARE(changed.count(), 0);
}

void TestZLineEdit::UpdateHookTakesRepaints()
{
    // A grid hosting the field in a cell gets its repaints; the field itself is then never repainted.
    struct Host : ZBase
    {
        using ZBase::ZBase;
        int Paints = 0;
        void Paint(QPainter*) override { ++Paints; }
    };
    QWidget window;
    window.resize(300, 100);
    Host host(&window);
    host.setGeometry(0, 50, 300, 50);
    ZLineEdit edit(&window);
    edit.resize(100, 24);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY(host.Paints > 0);
    const int before = host.Paints;
    edit.SetUpdateHook(&host);
    edit.SetSelectedTextBackColor(Qt::blue);
    QTRY_VERIFY(host.Paints > before);
}

void TestZLineEdit::PropertiesByName()
{
    ZLineEdit edit;
    QVERIFY(edit.setProperty("TextType", QStringLiteral("MACaddress")));
    QCOMPARE(edit.TextType(), TextType::MACaddress);
    QVERIFY(edit.setProperty("TextMaxLength", 17));
    QVERIFY(edit.setProperty("ReadOnly", true));
    QVERIFY(edit.setProperty("Text", QStringLiteral("00:11")));
    QCOMPARE(edit.property("Text").toString(), QStringLiteral("00:11"));
    QCOMPARE(edit.property("TextMaxLength").toInt(), 17);
    QVERIFY(edit.ReadOnly());
    QCOMPARE(edit.focusPolicy(), Qt::StrongFocus);
    QVERIFY(edit.testAttribute(Qt::WA_KeyCompression));
}

QTEST_MAIN(TestZLineEdit)
#include "tst_ZLineEdit.moc"
