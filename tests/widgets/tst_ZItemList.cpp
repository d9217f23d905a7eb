#include "ZItemList.h"

#include <QMouseEvent>
#include <QtTest>

namespace {

void Press(QWidget* w, QPoint pos, Qt::MouseButton button = Qt::LeftButton)
{
    QMouseEvent e(QEvent::MouseButtonPress, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, button,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

void Settle()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible()) {
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w));
        }
    }
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

} // namespace

class TestZItemList : public QObject
{
    Q_OBJECT

private slots:
    void ClickTogglesAndBelowLastDeselects();
    void CannotSelectWhenDisabled();
    void HitTestMatchesPaintedRows_data();
    void HitTestMatchesPaintedRows();
    void ScrolledHitTestAndPaint();
    void ContentSize();
    void SelectionKeepingAndClamping();
};

void TestZItemList::ClickTogglesAndBelowLastDeselects()
{
    ZItemList list;
    list.resize(200, 200);
    list.SetItems({"a", "b", "c"});
    Settle();
    Press(&list, QPoint(10, 25));
    QCOMPARE(list.SelectedIndex(), 1);
    Press(&list, QPoint(10, 25), Qt::RightButton); // any button: the selected line again deselects
    QCOMPARE(list.SelectedIndex(), -1);
    Press(&list, QPoint(10, 45));
    QCOMPARE(list.SelectedIndex(), 2);
    Press(&list, QPoint(10, 150));
    QCOMPARE(list.SelectedIndex(), -1);
}

void TestZItemList::CannotSelectWhenDisabled()
{
    ZItemList list;
    list.resize(200, 200);
    list.SetItems({"a", "b"});
    list.SetSelectedIndex(0);
    list.SetCanSelectItem(false);
    Settle();
    Press(&list, QPoint(10, 25));
    Press(&list, QPoint(10, 5));
    QCOMPARE(list.SelectedIndex(), 0);
}

void TestZItemList::HitTestMatchesPaintedRows_data()
{
    // Padding Top 5, Bottom 5, Left 10, Right 10; lines of 20 px: line i spans y = 5 + 20 i .. 24 + 20 i and
    // x = 10 .. 189.
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<int>("index");
    QTest::newRow("top padding") << QPoint(50, 2) << -1;
    QTest::newRow("first line top") << QPoint(50, 5) << 0;
    QTest::newRow("first line bottom") << QPoint(50, 24) << 0;
    QTest::newRow("second line") << QPoint(50, 25) << 1;
    QTest::newRow("last line") << QPoint(50, 64) << 2;
    QTest::newRow("below the last line") << QPoint(50, 65) << -1;
    QTest::newRow("left padding") << QPoint(5, 30) << -1;
    QTest::newRow("right padding") << QPoint(195, 30) << -1;
    QTest::newRow("right edge of the line") << QPoint(189, 30) << 1;
}

void TestZItemList::HitTestMatchesPaintedRows()
{
    QFETCH(QPoint, pos);
    QFETCH(int, index);
    ZItemList list;
    list.resize(200, 200);
    list.SetPadding(QRect(5, 5, 10, 10));
    list.SetItems({"a", "b", "c"});
    list.SetItemBackColorSelected(Qt::red);
    list.SetBackColor(Qt::white);
    Settle();
    QCOMPARE(list.ItemAt(pos), index);
    Press(&list, pos);
    QCOMPARE(list.SelectedIndex(), index);
    if (index >= 0) {
        // What was hit is what is painted there.
        QCOMPARE(list.grab().toImage().pixelColor(pos), QColor(Qt::red));
    }
}

void TestZItemList::ScrolledHitTestAndPaint()
{
    ZItemList list;
    list.resize(100, 100);
    list.SetPadding(QRect(5, 5, 0, 0));
    QStringList items;
    for (int i = 0; i < 50; ++i)
        items << QString::number(i);
    list.SetItems(items);
    list.SetItemBackColorSelected(Qt::red);
    list.SetBackColor(Qt::white);
    Settle();
    QCOMPARE(list.ScrollSize().height(), 50 * 20 + 10);
    // Scrolled 27 px: line 1 (content 25..44) shows at y = -2 .. 17, line 2 at 18 .. 37.
    list.SetVScrollBarValue(27);
    Settle();
    QCOMPARE(list.ItemAt(QPoint(10, 0)), 1);
    QCOMPARE(list.ItemAt(QPoint(10, 17)), 1);
    QCOMPARE(list.ItemAt(QPoint(10, 18)), 2);
    list.SetSelectedIndex(1);
    const QImage image = list.grab().toImage();
    QCOMPARE(image.pixelColor(10, 0), QColor(Qt::red));
    QCOMPARE(image.pixelColor(10, 17), QColor(Qt::red));
    QCOMPARE(image.pixelColor(10, 18), QColor(Qt::white));
}

void TestZItemList::ContentSize()
{
    ZItemList list;
    list.SetPadding(QRect(3, 3, 5, 5));
    list.SetItems({});
    QCOMPARE(list.ScrollSize(), QSize(10, 6));
    const QFontMetrics fm(list.font());
    list.SetItems({"short", "a much longer line"});
    QCOMPARE(list.ScrollSize(), QSize(fm.horizontalAdvance("a much longer line") + 10, 2 * 20 + 6));
    list.SetItemHeight(30);
    QCOMPARE(list.ScrollSize().height(), 2 * 30 + 6);
    QCOMPARE(list.setProperty("PaddingTBLR", QRect(0, 0, 0, 0)), true);
    QCOMPARE(list.ScrollSize().height(), 60);
}

void TestZItemList::SelectionKeepingAndClamping()
{
    ZItemList list;
    list.SetItems({"a", "b", "c"});
    list.SetSelectedIndex(-7);
    QCOMPARE(list.SelectedIndex(), -1);
    list.SetSelectedIndex(50);
    QCOMPARE(list.SelectedIndex(), 2);
    list.InsetItem(0, "z");
    QCOMPARE(list.SelectedIndex(), 2); // now names "b"
    list.InsetItem(9, "out of range");
    list.InsetItem(-1, "out of range");
    QCOMPARE(list.Items(), (QStringList{"z", "a", "b", "c"}));
    list.InsetItem(4, "end");
    list.AddItem("last");
    QCOMPARE(list.Items().last(), QStringLiteral("last"));
    QCOMPARE(list.SelectedIndex(), 2);
    list.SetItems({"x"});
    QCOMPARE(list.SelectedIndex(), -1);
}

QTEST_MAIN(TestZItemList)
#include "tst_ZItemList.moc"
