#include "ZFrame.h"

#include <QtTest>

Q_DECLARE_METATYPE(ZFrame::Hit)

class TestZFrame : public QObject
{
    Q_OBJECT

private slots:
    void HitTest_data();
    void HitTest();
    void EdgesAndCursors();
    void ResizedGeometry_data();
    void ResizedGeometry();
};

void TestZFrame::HitTest_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<bool>("canResize");
    QTest::addColumn<bool>("shadow");
    QTest::addColumn<bool>("maximised");
    QTest::addColumn<bool>("overTitle");
    QTest::addColumn<ZFrame::Hit>("hit");

    // A 432 x 332 host: a 400 x 300 form inside a 16-pixel shadow margin. The band is 21 pixels with a
    // shadow (margin and 5 pixels of the form), 5 without.
    QTest::newRow("shadow: 20 px from the left, midway") << QPoint(20, 166) << true << true << false << false << ZFrame::Left;
    QTest::newRow("no shadow: 20 px from the left") << QPoint(20, 166) << true << false << false << false << ZFrame::None;
    QTest::newRow("no shadow: 4 px from the left") << QPoint(4, 166) << true << false << false << false << ZFrame::Left;
    QTest::newRow("shadow: first column inside the form past the band") << QPoint(21, 166) << true << true << false << false << ZFrame::None;
    QTest::newRow("top-left corner") << QPoint(3, 3) << true << true << false << false << ZFrame::TopLeft;
    QTest::newRow("top-right corner") << QPoint(430, 20) << true << true << false << false << ZFrame::TopRight;
    QTest::newRow("bottom-left corner") << QPoint(0, 331) << true << true << false << false << ZFrame::BottomLeft;
    QTest::newRow("bottom-right corner") << QPoint(412, 312) << true << true << false << false << ZFrame::BottomRight;
    QTest::newRow("right edge: last pixel of the band") << QPoint(412, 100) << true << true << false << false << ZFrame::Right;
    QTest::newRow("right edge: just inside") << QPoint(411, 100) << true << true << false << false << ZFrame::None;
    QTest::newRow("top edge beats the title panel") << QPoint(200, 18) << true << true << false << true << ZFrame::Top;
    QTest::newRow("bottom edge") << QPoint(200, 320) << true << true << false << false << ZFrame::Bottom;
    QTest::newRow("caption below the band") << QPoint(200, 30) << true << true << false << true << ZFrame::Caption;
    QTest::newRow("a system button on the title") << QPoint(400, 30) << true << true << false << false << ZFrame::None;
    QTest::newRow("form body") << QPoint(200, 200) << true << true << false << false << ZFrame::None;
    QTest::newRow("maximised: no edges") << QPoint(2, 2) << true << true << true << false << ZFrame::None;
    QTest::newRow("maximised: caption at the window's top") << QPoint(200, 2) << true << true << true << true << ZFrame::Caption;
    QTest::newRow("cannot resize: no edges") << QPoint(2, 166) << false << true << false << false << ZFrame::None;
    QTest::newRow("cannot resize: caption still drags") << QPoint(200, 5) << false << true << false << true << ZFrame::Caption;
}

void TestZFrame::HitTest()
{
    QFETCH(QPoint, point);
    QFETCH(bool, canResize);
    QFETCH(bool, shadow);
    QFETCH(bool, maximised);
    QFETCH(bool, overTitle);
    QFETCH(ZFrame::Hit, hit);
    QCOMPARE(ZFrame::HitTest(point, QSize(432, 332), canResize, shadow, maximised, overTitle), hit);
}

void TestZFrame::EdgesAndCursors()
{
    QCOMPARE(ZFrame::Edges(ZFrame::TopLeft), Qt::TopEdge | Qt::LeftEdge);
    QCOMPARE(ZFrame::Edges(ZFrame::BottomRight), Qt::BottomEdge | Qt::RightEdge);
    QCOMPARE(ZFrame::Edges(ZFrame::Right), Qt::Edges(Qt::RightEdge));
    QCOMPARE(ZFrame::Edges(ZFrame::Caption), Qt::Edges());
    QCOMPARE(ZFrame::Cursor(ZFrame::Left), Qt::SizeHorCursor);
    QCOMPARE(ZFrame::Cursor(ZFrame::Bottom), Qt::SizeVerCursor);
    QCOMPARE(ZFrame::Cursor(ZFrame::TopLeft), Qt::SizeFDiagCursor);
    QCOMPARE(ZFrame::Cursor(ZFrame::BottomLeft), Qt::SizeBDiagCursor);
    QCOMPARE(ZFrame::Cursor(ZFrame::Caption), Qt::ArrowCursor);
}

void TestZFrame::ResizedGeometry_data()
{
    QTest::addColumn<int>("edges");
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<QRect>("result");

    // Start (100, 100, 400, 300), minimum 232 x 132, maximum 600 x 500.
    QTest::newRow("right wider") << int(Qt::RightEdge) << QPoint(30, 99) << QRect(100, 100, 430, 300);
    QTest::newRow("right below minimum") << int(Qt::RightEdge) << QPoint(-500, 0) << QRect(100, 100, 232, 300);
    QTest::newRow("right beyond maximum") << int(Qt::RightEdge) << QPoint(900, 0) << QRect(100, 100, 600, 300);
    QTest::newRow("left keeps the right edge") << int(Qt::LeftEdge) << QPoint(-50, 0) << QRect(50, 100, 450, 300);
    QTest::newRow("left stops at the minimum") << int(Qt::LeftEdge) << QPoint(300, 0) << QRect(268, 100, 232, 300);
    QTest::newRow("top-left") << int(Qt::TopEdge | Qt::LeftEdge) << QPoint(10, 20) << QRect(110, 120, 390, 280);
    QTest::newRow("top stops at the minimum") << int(Qt::TopEdge) << QPoint(0, 500) << QRect(100, 268, 400, 132);
    QTest::newRow("bottom-right") << int(Qt::BottomEdge | Qt::RightEdge) << QPoint(-10, 50) << QRect(100, 100, 390, 350);
}

void TestZFrame::ResizedGeometry()
{
    QFETCH(int, edges);
    QFETCH(QPoint, delta);
    QFETCH(QRect, result);
    QCOMPARE(ZFrame::ResizedGeometry(QRect(100, 100, 400, 300), Qt::Edges(edges), delta, QSize(232, 132),
                                     QSize(600, 500)),
             result);
}

QTEST_GUILESS_MAIN(TestZFrame)
#include "tst_ZFrame.moc"
