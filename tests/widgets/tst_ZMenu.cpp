#include "ZMenu.h"
#include "ZMenuItem.h"

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

void Hover(QWidget* w, const QPoint& pos)
{
    QHoverEvent e(QEvent::HoverMove, pos, QPoint(-1, -1));
    QCoreApplication::sendEvent(w, &e);
}

void Leave(QWidget* w)
{
    QHoverEvent e(QEvent::HoverLeave, QPoint(-1, -1), QPoint(-1, -1));
    QCoreApplication::sendEvent(w, &e);
}

// The look the client gives its menus.
void Style(ZMenu& menu)
{
    ZPadding padding;
    padding.Top = 5;
    padding.Bottom = 5;
    padding.Left = 10;
    padding.Right = 30;
    menu.SetPadding(padding);
    menu.SetItemHeight(24);
    menu.SetBackColor(Qt::white);
    menu.SetForeColor(QColor(100, 100, 100));
    menu.SetBorder(PositionFlag::All);
    menu.SetBorderWidth(1);
    menu.SetBorderColor(QColor(230, 230, 230));
}

// The middle of item index's row, in the menu's coordinates.
QPoint Row(const ZMenu& menu, int index)
{
    return QPoint(20, menu.Padding().Top + index * menu.ItemHeight() + menu.ItemHeight() / 2);
}

// Runs exec at point with action queued to run inside its loop; the menu is closed afterwards if the
// action left it open, so that a failing test cannot hang.
ZMenuItem* ExecWith(ZMenu& menu, const QPoint& at, const std::function<void()>& action)
{
    QTimer::singleShot(0, &menu, [&]() {
        action();
        if (menu.isVisible())
            QTimer::singleShot(0, &menu, [&]() { menu.close(); });
    });
    return menu.exec(at);
}

} // namespace

class TestZMenu : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qRegisterMetaType<ZMenuItem*>(); }
    void ItemsAndWidth();
    void OpensWhereItFitsOnTheScreen_data();
    void OpensWhereItFitsOnTheScreen();
    void PressingAnItemChoosesIt();
    void DisabledItemKeepsTheMenuOpen();
    void PressOutsideReturnsNull();
    void AutoHideClosesOnLeave();
    void HoverItemChangedOncePerItem();
    void EscapeClosesWithoutChoice();
    void EmptyMenuIsAFrame();
};

void TestZMenu::ItemsAndWidth()
{
    ZMenu menu;
    const QFontMetrics fm = menu.fontMetrics();
    ZMenuItem* a = menu.AddItem("Play");
    ZMenuItem* b = menu.AddItem("Export to a workbook");
    QVERIFY(a->Enabled);
    QCOMPARE(a->UserData, nullptr);
    QCOMPARE(menu.ItemCount(), 2);
    QCOMPARE(menu.IndexOf(b), 1);
    QCOMPARE(menu.IndexOf(nullptr), -1);
    QCOMPARE(menu.TextWidth(), fm.horizontalAdvance("Export to a workbook"));

    // Texts set by index (the language texts); a shorter text never narrows the menu here.
    menu.SetItemText(1, "Dial");
    menu.SetItemText(7, "ignored");
    menu.SetItemText(-1, "ignored");
    QCOMPARE(b->Text, QStringLiteral("Dial"));
    QCOMPARE(menu.TextWidth(), fm.horizontalAdvance("Export to a workbook"));

    // RemoveItem re-measures what is left.
    menu.RemoveItem(5);
    QCOMPARE(menu.ItemCount(), 2);
    menu.RemoveItem(0);
    QCOMPARE(menu.ItemCount(), 1);
    QCOMPARE(menu.TextWidth(), fm.horizontalAdvance("Dial"));
    QPointer<ZMenuItem> left = menu.Item(0);

    // Clear deletes the items and keeps the width.
    menu.AddItem("A rather long caption");
    const int wide = menu.TextWidth();
    menu.Clear();
    QVERIFY(left.isNull());
    QCOMPARE(menu.ItemCount(), 0);
    menu.AddItem("x");
    QCOMPARE(menu.TextWidth(), wide);
    menu.RemoveItem(0);
    QCOMPARE(menu.TextWidth(), 0);
}

void TestZMenu::OpensWhereItFitsOnTheScreen_data()
{
    const QRect s = QGuiApplication::primaryScreen()->geometry();
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<bool>("left");
    QTest::addColumn<bool>("up");
    QTest::newRow("top-left") << s.topLeft() + QPoint(10, 10) << false << false;
    QTest::newRow("bottom-right corner") << s.bottomRight() - QPoint(5, 5) << true << true;
    QTest::newRow("right edge") << QPoint(s.right() - 5, s.top() + 20) << true << false;
    QTest::newRow("bottom edge") << QPoint(s.left() + 20, s.bottom() - 5) << false << true;
}

void TestZMenu::OpensWhereItFitsOnTheScreen()
{
    QFETCH(QPoint, at);
    QFETCH(bool, left);
    QFETCH(bool, up);
    ZMenu menu;
    Style(menu);
    for (const char* text : {"Channel Settings", "Monitor", "Dialing", "Play OGM"})
        menu.AddItem(text);
    QRect g;
    QVERIFY(!ExecWith(menu, at, [&]() { g = menu.geometry(); }));
    const int W = 10 + menu.TextWidth() + 30 + 4;
    const int H = 4 * 24 + 5 + 5 + 4;
    QCOMPARE(g.size(), QSize(W, H));
    QCOMPARE(g.x(), left ? at.x() - W : at.x());
    QCOMPARE(g.y(), up ? at.y() - H : at.y());
    QVERIFY(QGuiApplication::primaryScreen()->geometry().contains(g));
}

void TestZMenu::PressingAnItemChoosesIt()
{
    ZMenu menu;
    Style(menu);
    menu.AddItem("Rename");
    ZMenuItem* add = menu.AddItem("Add grouping");
    menu.AddItem("Delete");
    ZMenuItem* chosen = ExecWith(menu, QPoint(100, 100), [&]() {
        Hover(&menu, Row(menu, 1));
        QTest::mouseClick(&menu, Qt::LeftButton, Qt::NoModifier, Row(menu, 1));
    });
    QCOMPARE(chosen, add);
    QVERIFY(!menu.isVisible());
    // The next exec starts with nothing chosen.
    QCOMPARE(ExecWith(menu, QPoint(100, 100), [&]() { menu.close(); }), nullptr);
}

void TestZMenu::DisabledItemKeepsTheMenuOpen()
{
    ZMenu menu;
    Style(menu);
    ZMenuItem* play = menu.AddItem("Play");
    ZMenuItem* del = menu.AddItem("Delete");
    del->Enabled = false;
    bool openAfterDisabled = false;
    ZMenuItem* chosen = ExecWith(menu, QPoint(100, 100), [&]() {
        Hover(&menu, Row(menu, 1));
        QTest::mouseClick(&menu, Qt::LeftButton, Qt::NoModifier, Row(menu, 1));
        openAfterDisabled = menu.isVisible();
        Hover(&menu, Row(menu, 0));
        QTest::mouseClick(&menu, Qt::LeftButton, Qt::NoModifier, Row(menu, 0));
    });
    QVERIFY(openAfterDisabled);
    QCOMPARE(chosen, play);
}

void TestZMenu::PressOutsideReturnsNull()
{
    ZMenu menu;
    Style(menu);
    menu.AddItem("Play");
    menu.AddItem("Dial");
    // The last hovered item stays highlighted when the pointer leaves without a hover leave (the popup
    // holds the mouse): a press outside still chooses nothing.
    ZMenuItem* chosen = ExecWith(menu, QPoint(100, 100), [&]() {
        Hover(&menu, Row(menu, 1));
        QTest::mouseClick(&menu, Qt::LeftButton, Qt::NoModifier, QPoint(-40, 300));
    });
    QCOMPARE(chosen, nullptr);
    QVERIFY(!menu.isVisible());
}

void TestZMenu::AutoHideClosesOnLeave()
{
    ZMenu menu;
    Style(menu);
    menu.AddItem("Show");
    menu.AddItem("Exit");
    bool openAfterLeave = true;
    // Without AutoHide a leave only clears the hover.
    QCOMPARE(ExecWith(menu, QPoint(100, 100), [&]() {
                 Hover(&menu, Row(menu, 0));
                 Leave(&menu);
                 openAfterLeave = menu.isVisible();
                 menu.close();
             }),
             nullptr);
    QVERIFY(openAfterLeave);

    menu.SetAutoHide(true);
    QCOMPARE(ExecWith(menu, QPoint(100, 100), [&]() {
                 Hover(&menu, Row(menu, 1));
                 Leave(&menu);
                 openAfterLeave = menu.isVisible();
             }),
             nullptr);
    QVERIFY(!openAfterLeave);
}

void TestZMenu::HoverItemChangedOncePerItem()
{
    ZMenu menu;
    Style(menu);
    ZMenuItem* first = menu.AddItem("Add");
    ZMenuItem* second = menu.AddItem("Edit");
    second->Enabled = false; // disabled items are hovered too (and reported)
    QSignalSpy spy(&menu, &ZMenu::HoverItemChanged);
    ExecWith(menu, QPoint(100, 100), [&]() {
        Hover(&menu, Row(menu, 0));
        Hover(&menu, Row(menu, 0) + QPoint(5, 3)); // same item
        Hover(&menu, QPoint(20, 2));               // top padding: nothing
        Hover(&menu, QPoint(20, menu.height() - 5)); // bottom padding: nothing
        Hover(&menu, QPoint(0, Row(menu, 1).y()));  // left edge: nothing
        Hover(&menu, Row(menu, 1));
        Hover(&menu, Row(menu, 1));
        Hover(&menu, Row(menu, 0));
        menu.close();
    });
    QCOMPARE(spy.count(), 3);
    QCOMPARE(spy.at(0).at(0).toInt(), 0);
    QCOMPARE(spy.at(0).at(1).value<ZMenuItem*>(), first);
    QCOMPARE(spy.at(1).at(0).toInt(), 1);
    QCOMPARE(spy.at(1).at(1).value<ZMenuItem*>(), second);
    QCOMPARE(spy.at(2).at(0).toInt(), 0);
}

void TestZMenu::EscapeClosesWithoutChoice()
{
    ZMenu menu;
    Style(menu);
    menu.AddItem("Play");
    QCOMPARE(ExecWith(menu, QPoint(100, 100), [&]() {
                 Hover(&menu, Row(menu, 0));
                 QTest::keyClick(&menu, Qt::Key_Escape);
             }),
             nullptr);
    QVERIFY(!menu.isVisible());
}

void TestZMenu::EmptyMenuIsAFrame()
{
    ZMenu menu;
    Style(menu);
    QSize size;
    QCOMPARE(ExecWith(menu, QPoint(100, 100), [&]() {
                 size = menu.size();
                 QTest::mouseClick(&menu, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
             }),
             nullptr);
    QCOMPARE(size.height(), 5 + 5 + 4);
}

QTEST_MAIN(TestZMenu)
#include "tst_ZMenu.moc"
