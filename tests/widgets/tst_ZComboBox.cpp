#include "ZComboBox.h"
#include "ZComboDropDownBox.h"
#include "ZScrollBar.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

// A widget that paints a combo into itself at an offset, as a grid paints the control of a cell.
class CellHost : public QWidget
{
public:
    ZComboBox* Combo = nullptr;
    QPoint Offset;
    int Paints = 0;

protected:
    void paintEvent(QPaintEvent*) override
    {
        ++Paints;
        QPainter p(this);
        if (Combo)
            Combo->GridListPaint(&p, Offset);
    }
};

QStringList Numbered(int count)
{
    QStringList items;
    for (int i = 0; i < count; ++i)
        items << QStringLiteral("Item %1").arg(i);
    return items;
}

ZComboDropDownBox* OpenList()
{
    return qobject_cast<ZComboDropDownBox*>(QApplication::activePopupWidget());
}

void Hover(QWidget* w, const QPoint& pos)
{
    QHoverEvent e(QEvent::HoverMove, pos, QPoint(-1, -1));
    QCoreApplication::sendEvent(w, &e);
}

// Runs action while the list is open: the press on the combo runs the list's own event loop, so the
// action is queued before the press. Returns whether the list was open when the action ran.
bool WhileOpen(ZComboBox* combo, const std::function<void(ZComboDropDownBox*)>& action,
               const QPoint& press = QPoint(10, 10))
{
    bool opened = false;
    // A timer of this call only: when the list does not open, it must not fire inside a later one.
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, combo, [&]() {
        ZComboDropDownBox* list = OpenList();
        opened = list && list->isVisible();
        if (list)
            action(list);
        // Never leave a test hanging in the loop.
        if (ZComboDropDownBox* still = OpenList())
            still->hide();
    });
    timer.start(0);
    QTest::mousePress(combo, Qt::LeftButton, Qt::NoModifier, press);
    QTest::mouseRelease(combo, Qt::LeftButton, Qt::NoModifier, press);
    return opened;
}

void ClickRow(ZComboDropDownBox* list, int row)
{
    ZComboBoxScrollArea* rows = list->Rows();
    const QPoint pos(20, row * rows->ItemHeight + rows->ItemHeight / 2);
    Hover(rows, pos);
    QTest::mouseClick(rows, Qt::LeftButton, Qt::NoModifier, pos);
}

} // namespace

class TestZComboBox : public QObject
{
    Q_OBJECT

private slots:
    void SelectionIsClampedAndReportedOnChange_data();
    void SelectionIsClampedAndReportedOnChange();
    void ListChangesClearTheSelection();
    void PressOpensTheListBelowWithCappedHeight_data();
    void PressOpensTheListBelowWithCappedHeight();
    void ClickingARowChoosesItOnce();
    void ClickingOutsideOrTheSelectedItemEmitsNothing();
    void PressOnTheComboWhileOpenDoesNotReopen();
    void NoListWhenDisabledOrEmpty();
    void ArrowOnlyOnceItsColourIsSet();
    void UnsetColoursDrawNothing();
    void ComboPaintedInACellOpensWhereItWasPainted();
    void ListOpensUpwardsAtTheBottomOfTheScreen();
    void DestroyedWhileOpen();
    void HoverPastTheLastItemKeepsTheHover();
};

void TestZComboBox::SelectionIsClampedAndReportedOnChange_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("expected");
    QTest::newRow("far below") << -5 << -1;
    QTest::newRow("none") << -1 << -1;
    QTest::newRow("first") << 0 << 0;
    QTest::newRow("last") << 2 << 2;
    QTest::newRow("past the end") << 99 << 2;
}

void TestZComboBox::SelectionIsClampedAndReportedOnChange()
{
    QFETCH(int, set);
    QFETCH(int, expected);
    ZComboBox combo;
    combo.SetItems({"a", "b", "c"});
    QSignalSpy spy(&combo, &ZComboBox::SelectedIndexChanged);
    combo.SetSelectedIndex(set);
    combo.SetSelectedIndex(set);
    QCOMPARE(combo.SelectedIndex(), expected);
    QCOMPARE(spy.count(), expected == -1 ? 0 : 1);
    if (expected >= 0) {
        QCOMPARE(spy.at(0).at(0).toInt(), expected);
        QCOMPARE(combo.SelectedText(), combo.Items().at(expected));
    } else {
        QCOMPARE(combo.SelectedText(), QString());
    }
    // The property goes through the same setter (form layouts set it by name).
    QVERIFY(combo.setProperty("SelectedIndex", -7));
    QCOMPARE(combo.SelectedIndex(), -1);
}

void TestZComboBox::ListChangesClearTheSelection()
{
    ZComboBox combo;
    combo.SetItems({"a", "b", "c"});
    combo.SetSelectedIndex(1);
    QSignalSpy spy(&combo, &ZComboBox::SelectedIndexChanged);

    combo.AddItem("d");
    QCOMPARE(combo.SelectedIndex(), -1);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.takeFirst().at(0).toInt(), -1);
    QCOMPARE(combo.Items(), QStringList({"a", "b", "c", "d"}));

    combo.SetSelectedIndex(3);
    combo.InsetItem(0, "first");
    combo.InsetItem(5, "last");  // count appends
    combo.InsetItem(99, "never"); // out of range: no item, still cleared
    combo.InsetItem(-1, "never");
    QCOMPARE(combo.Items(), QStringList({"first", "a", "b", "c", "d", "last"}));
    QCOMPARE(combo.SelectedIndex(), -1);

    combo.SetSelectedIndex(2);
    combo.RemoveItem(0);
    combo.RemoveItem(42);
    QCOMPARE(combo.Items(), QStringList({"a", "b", "c", "d", "last"}));
    QCOMPARE(combo.SelectedIndex(), -1);

    // SetItem replaces one text and keeps the selection; SetItems keeps it while it is still valid.
    combo.SetSelectedIndex(1);
    combo.SetItem(1, "B");
    combo.SetItem(5, "ignored");
    QCOMPARE(combo.SelectedText(), QStringLiteral("B"));
    combo.SetItems({"x", "y"});
    QCOMPARE(combo.SelectedIndex(), 1);
    spy.clear();
    combo.SetItems({"only"});
    QCOMPARE(combo.SelectedIndex(), -1);
    QCOMPARE(spy.count(), 1);
}

void TestZComboBox::PressOpensTheListBelowWithCappedHeight_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("borderWidth");
    QTest::addColumn<int>("listHeight");
    QTest::addColumn<bool>("scrolls");
    QTest::newRow("3 items") << 3 << 1 << 60 << false;
    QTest::newRow("7 items, wide border") << 7 << 3 << 140 << false;
    QTest::newRow("20 items") << 20 << 1 << 150 << true;
    QTest::newRow("20 items, no border") << 20 << 0 << 150 << true;
}

void TestZComboBox::PressOpensTheListBelowWithCappedHeight()
{
    QFETCH(int, count);
    QFETCH(int, borderWidth);
    QFETCH(int, listHeight);
    QFETCH(bool, scrolls);
    QWidget window;
    window.setGeometry(100, 80, 300, 300);
    auto* combo = new ZComboBox(&window);
    combo->setGeometry(20, 30, 120, 30);
    combo->SetItems(Numbered(count));
    combo->SetBorder(PositionFlag::All);
    combo->SetBorderWidth(borderWidth);
    combo->SetBackColor(Qt::white);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QRect geometry;
    bool vBar = false;
    QVERIFY(WhileOpen(combo, [&](ZComboDropDownBox* list) {
        geometry = list->geometry();
        vBar = list->VScrollBar()->isVisible();
        QCOMPARE(list->ContainerArea().height(), listHeight);
    }));
    QCOMPARE(geometry.topLeft(), combo->mapToGlobal(QPoint(0, combo->height() - borderWidth)));
    QCOMPARE(geometry.height(), listHeight + 4 + 2 * borderWidth);
    QCOMPARE(geometry.width(), combo->width() + 4);
    QCOMPARE(vBar, scrolls);
    QVERIFY(!combo->findChild<ZComboDropDownBox*>()); // a top-level popup, not a child
    QVERIFY(!OpenList());
}

void TestZComboBox::ClickingARowChoosesItOnce()
{
    ZComboBox combo;
    combo.resize(120, 30);
    combo.SetItems(Numbered(6));
    combo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&combo));
    QSignalSpy spy(&combo, &ZComboBox::SelectedIndexChanged);

    QVERIFY(WhileOpen(&combo, [](ZComboDropDownBox* list) { ClickRow(list, 3); }));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), 3);
    QCOMPARE(combo.SelectedIndex(), 3);
    QCOMPARE(combo.SelectedText(), QStringLiteral("Item 3"));
}

void TestZComboBox::ClickingOutsideOrTheSelectedItemEmitsNothing()
{
    ZComboBox combo;
    combo.setGeometry(50, 50, 120, 30);
    combo.SetItems(Numbered(4));
    combo.SetSelectedIndex(2);
    combo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&combo));
    QSignalSpy spy(&combo, &ZComboBox::SelectedIndexChanged);

    // Far away from the list: the popup receives the press and closes.
    QVERIFY(WhileOpen(&combo, [](ZComboDropDownBox* list) {
        QTest::mouseClick(list, Qt::LeftButton, Qt::NoModifier, QPoint(400, 400));
    }));
    // On the list's shadow margin (inside the popup window, outside the rows).
    QVERIFY(WhileOpen(&combo, [](ZComboDropDownBox* list) {
        QTest::mouseClick(list, Qt::LeftButton, Qt::NoModifier, QPoint(list->width() - 2, list->height() - 2));
    }));
    // The item that is already selected.
    QVERIFY(WhileOpen(&combo, [](ZComboDropDownBox* list) { ClickRow(list, 2); }));
    // A row hovered, then left, then a press outside.
    QVERIFY(WhileOpen(&combo, [](ZComboDropDownBox* list) {
        Hover(list->Rows(), QPoint(20, 10));
        QEvent leave(QEvent::HoverLeave);
        QCoreApplication::sendEvent(list->Rows(), &leave);
        QTest::mouseClick(list, Qt::LeftButton, Qt::NoModifier, QPoint(-30, -30));
    }));
    QCOMPARE(spy.count(), 0);
    QCOMPARE(combo.SelectedIndex(), 2);
}

void TestZComboBox::PressOnTheComboWhileOpenDoesNotReopen()
{
    // Counts the openings of any list; a list that opens again is closed at once so the test cannot hang.
    struct ShowCounter : QObject
    {
        int Shows = 0;
        bool eventFilter(QObject* o, QEvent* e) override
        {
            if (e->type() == QEvent::Show && qobject_cast<ZComboDropDownBox*>(o)) {
                if (++Shows > 1)
                    QTimer::singleShot(0, o, [o]() { static_cast<QWidget*>(o)->hide(); });
            }
            return false;
        }
    } counter;
    qApp->installEventFilter(&counter);

    QWidget window;
    window.setGeometry(50, 50, 300, 200);
    auto* combo = new ZComboBox(&window);
    combo->setGeometry(10, 10, 120, 30);
    combo->SetItems(Numbered(4));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Through the window system, as a real press: Qt hands it to the open popup and, after the popup
    // closed, replays it to the widget below, here the combo, which must not open its list again.
    QVERIFY(WhileOpen(combo, [&](ZComboDropDownBox*) {
        QTest::mousePress(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
        QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    }));
    QTest::qWait(50);
    QCOMPARE(counter.Shows, 1);

    // A press elsewhere in the window closes the list and reaches the widget there as usual.
    counter.Shows = 0;
    QVERIFY(WhileOpen(combo, [&](ZComboDropDownBox*) {
        QTest::mousePress(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(250, 150));
        QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(250, 150));
    }));
    QTest::qWait(50);
    QCOMPARE(counter.Shows, 1);
    QVERIFY(!OpenList());
    qApp->removeEventFilter(&counter);
}

void TestZComboBox::NoListWhenDisabledOrEmpty()
{
    ZComboBox combo;
    combo.resize(120, 30);
    combo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&combo));
    QVERIFY(!WhileOpen(&combo, [](ZComboDropDownBox*) {}));
    combo.SetItems({"a"});
    combo.setEnabled(false);
    QVERIFY(!WhileOpen(&combo, [](ZComboDropDownBox*) {}));
    combo.setEnabled(true);
    QVERIFY(WhileOpen(&combo, [](ZComboDropDownBox*) {}));
}

void TestZComboBox::ArrowOnlyOnceItsColourIsSet()
{
    ZComboBox combo;
    combo.resize(120, 30);
    combo.SetBackColor(Qt::white);
    const QRect arrowArea(120 - 19, (30 - 9) / 2, 12, 9);
    auto arrowPixels = [&](const QColor& colour) {
        const QImage shot = combo.grab().toImage();
        int n = 0;
        for (int y = arrowArea.top(); y <= arrowArea.bottom(); ++y)
            for (int x = arrowArea.left(); x <= arrowArea.right(); ++x)
                n += shot.pixelColor(x, y) == colour;
        return n;
    };
    const QColor red(255, 0, 0), grey(128, 128, 128);
    QCOMPARE(arrowPixels(red), 0);
    combo.SetDropDownButtonColor(red);
    QVERIFY(arrowPixels(red) > 3);
    // Disabled: the disabled arrow, not drawn until its colour is set.
    combo.setEnabled(false);
    QCOMPARE(arrowPixels(red), 0);
    QCOMPARE(arrowPixels(grey), 0);
    combo.SetDropDownButtonColorDisable(grey);
    QVERIFY(arrowPixels(grey) > 3);
    combo.setEnabled(true);
    combo.SetShowDropDownButton(false);
    QCOMPARE(arrowPixels(red), 0);
}

void TestZComboBox::UnsetColoursDrawNothing()
{
    // Colours come from the skin; until then the combo and its list leave what lies below them alone.
    ZComboBox combo;
    combo.resize(120, 30);
    combo.SetBorder(PositionFlag::All);
    combo.SetBorderWidth(1);
    combo.SetItems(Numbered(3));
    combo.SetSelectedIndex(-1);
    QImage image(combo.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    combo.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    QImage white(combo.size(), QImage::Format_ARGB32);
    white.fill(Qt::white);
    QCOMPARE(image, white);
}

void TestZComboBox::ComboPaintedInACellOpensWhereItWasPainted()
{
    CellHost host;
    host.setGeometry(60, 70, 400, 300);
    auto* combo = new ZComboBox; // a cell's control has no parent and is never shown itself
    combo->resize(100, 24);
    combo->SetBorderWidth(1);
    combo->SetItems(Numbered(3));
    host.Combo = combo;
    host.Offset = QPoint(150, 120);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    host.repaint();

    QPoint opened;
    bool repaintedWhileOpen = false;
    const int paints = host.Paints;
    QVERIFY(WhileOpen(combo, [&](ZComboDropDownBox* list) {
        opened = list->pos();
        // The grid shows the dropped-down look while the list is open.
        repaintedWhileOpen = QTest::qWaitFor([&]() { return host.Paints > paints; }, 1000);
    }));
    QCOMPARE(opened, host.mapToGlobal(host.Offset) + QPoint(0, 24 - 1));
    QVERIFY(repaintedWhileOpen);

    // Painted elsewhere later (the grid scrolled): the list follows.
    host.Offset = QPoint(10, 200);
    host.repaint();
    QVERIFY(WhileOpen(combo, [&](ZComboDropDownBox* list) { opened = list->pos(); }));
    QCOMPARE(opened, host.mapToGlobal(host.Offset) + QPoint(0, 24 - 1));
    delete combo;
}

void TestZComboBox::ListOpensUpwardsAtTheBottomOfTheScreen()
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    ZComboBox combo;
    combo.setGeometry(screen.right() - 60, screen.bottom() - 40, 120, 30);
    combo.SetItems(Numbered(5));
    combo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&combo));
    QRect list;
    QVERIFY(WhileOpen(&combo, [&](ZComboDropDownBox* l) { list = l->geometry(); }));
    QVERIFY2(screen.contains(list), qPrintable(QStringLiteral("%1,%2 %3x%4").arg(list.x()).arg(list.y())
                                                   .arg(list.width()).arg(list.height())));
    // The list's body ends where the combo begins.
    QCOMPARE(list.bottom() + 1 - 4, combo.mapToGlobal(QPoint(0, 0)).y());
}

void TestZComboBox::DestroyedWhileOpen()
{
    auto* window = new QWidget;
    window->resize(200, 200);
    auto* combo = new ZComboBox(window);
    combo->setGeometry(10, 10, 120, 30);
    combo->SetItems(Numbered(3));
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QPointer<ZComboBox> guard(combo);
    QTimer::singleShot(0, [window]() { delete window; });
    QTest::mousePress(combo, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QVERIFY(guard.isNull());
    QTRY_VERIFY(!OpenList());
}

void TestZComboBox::HoverPastTheLastItemKeepsTheHover()
{
    ZComboBox combo;
    combo.resize(120, 30);
    combo.SetItems(Numbered(2));
    ZComboBoxScrollArea* rows = nullptr;
    combo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&combo));
    int afterPast = -2, afterOutside = -2;
    QVERIFY(WhileOpen(&combo, [&](ZComboDropDownBox* list) {
        rows = list->Rows();
        rows->resize(rows->width(), 200); // room below the last item
        Hover(rows, QPoint(20, 30));
        Hover(rows, QPoint(20, 90));
        afterPast = rows->HoverIndex;
        Hover(rows, QPoint(0, 30)); // on the left edge: no row
        afterOutside = rows->HoverIndex;
    }));
    QCOMPARE(afterPast, 1);
    QCOMPARE(afterOutside, -1);
}

QTEST_MAIN(TestZComboBox)
#include "tst_ZComboBox.moc"
