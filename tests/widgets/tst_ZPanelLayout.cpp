#include "ZPanel.h"

#include <QPainter>
#include <QtTest>

namespace {

class Child : public ZBase
{
public:
    using ZBase::ZBase;

protected:
    void Paint(QPainter*) override {}
};

void Settle()
{
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

// One child of a layout case: how it is made, and where it must end up.
struct ChildSpec
{
    DockType::Types Dock;
    int Anchor;
    QRect Start;
    QRect Expected;
    bool Hidden = false;
};

} // namespace

Q_DECLARE_METATYPE(QVector<ChildSpec>)

class TestZPanelLayout : public QObject
{
    Q_OBJECT

private slots:
    void Layout_data();
    void Layout();
    void ContainerArea_data();
    void ContainerArea();
    void HiddenChildTakesNoSpaceAndFollowsWhenShown();
    void FirstLayoutKeepsAnchoredChildren();
    void RemovedChildFreesItsSpace();
    void PaintsBackgroundAndBorder();
};

void TestZPanelLayout::Layout_data()
{
    QTest::addColumn<QSize>("panelSize");
    QTest::addColumn<QSize>("resizeTo"); // invalid: no resize after the first layout
    QTest::addColumn<int>("borderWidth");
    QTest::addColumn<QVector<int>>("padding"); // Top, Bottom, Left, Right
    QTest::addColumn<QVector<ChildSpec>>("children");

    const int TL = PositionFlag::Top | PositionFlag::Left;
    const QVector<int> noPadding{0, 0, 0, 0};
    QTest::newRow("top, left, fill in order")
        << QSize(400, 300) << QSize() << 0 << noPadding
        << QVector<ChildSpec>{{DockType::Top, TL, QRect(0, 0, 10, 30), QRect(0, 0, 400, 30)},
                              {DockType::Left, TL, QRect(0, 0, 100, 10), QRect(0, 30, 100, 270)},
                              {DockType::Fill, TL, QRect(5, 5, 10, 10), QRect(100, 30, 300, 270)}};
    QTest::newRow("fill first takes everything")
        << QSize(400, 300) << QSize() << 0 << noPadding
        << QVector<ChildSpec>{{DockType::Fill, TL, QRect(5, 5, 10, 10), QRect(0, 0, 400, 300)},
                              {DockType::Top, TL, QRect(0, 0, 10, 30), QRect(0, 0, 0, 0)},
                              {DockType::Left, TL, QRect(0, 0, 100, 10), QRect(0, 0, 0, 0)}};
    QTest::newRow("bottom and right from the far edges")
        << QSize(400, 300) << QSize() << 0 << noPadding
        << QVector<ChildSpec>{{DockType::Bottom, TL, QRect(0, 0, 10, 40), QRect(0, 260, 400, 40)},
                              {DockType::Right, TL, QRect(0, 0, 50, 10), QRect(350, 0, 50, 260)},
                              {DockType::Fill, TL, QRect(0, 0, 1, 1), QRect(0, 0, 350, 260)}};
    QTest::newRow("oversize top gets the area height")
        << QSize(400, 300) << QSize() << 0 << noPadding
        << QVector<ChildSpec>{{DockType::Top, TL, QRect(0, 0, 10, 500), QRect(0, 0, 400, 300)},
                              {DockType::Left, TL, QRect(0, 0, 100, 10), QRect(0, 300, 100, 0)},
                              {DockType::Bottom, TL, QRect(0, 0, 10, 20), QRect(100, 300, 300, 0)}};
    QTest::newRow("anchors after growing by 100 x 60")
        << QSize(400, 300) << QSize(500, 360) << 0 << noPadding
        << QVector<ChildSpec>{
               {DockType::None, PositionFlag::Top | PositionFlag::Right, QRect(350, 10, 20, 20), QRect(450, 10, 20, 20)},
               {DockType::None, PositionFlag::Top | PositionFlag::Left | PositionFlag::Right, QRect(350, 40, 20, 20),
                QRect(350, 40, 120, 20)},
               {DockType::None, PositionFlag::None, QRect(350, 70, 20, 20), QRect(400, 100, 20, 20)},
               {DockType::None, PositionFlag::Right, QRect(350, 100, 20, 20), QRect(450, 130, 20, 20)},
               {DockType::None, PositionFlag::Left | PositionFlag::Bottom, QRect(10, 100, 20, 20), QRect(10, 160, 20, 20)},
               {DockType::None, PositionFlag::All & ~PositionFlag::Right, QRect(40, 100, 20, 20), QRect(40, 100, 20, 80)},
               {DockType::None, TL, QRect(70, 100, 20, 20), QRect(70, 100, 20, 20)}};
    QTest::newRow("odd shrink truncates toward zero")
        << QSize(400, 300) << QSize(395, 295) << 0 << noPadding
        << QVector<ChildSpec>{{DockType::None, PositionFlag::None, QRect(100, 100, 20, 20), QRect(98, 98, 20, 20)}};
    QTest::newRow("odd growth truncates toward zero")
        << QSize(400, 300) << QSize(405, 305) << 0 << noPadding
        << QVector<ChildSpec>{{DockType::None, PositionFlag::None, QRect(100, 100, 20, 20), QRect(102, 102, 20, 20)}};
    QTest::newRow("padding and border reduce the area")
        << QSize(200, 100) << QSize() << 2 << QVector<int>{5, 5, 10, 30}
        << QVector<ChildSpec>{{DockType::Top, TL, QRect(0, 0, 10, 20), QRect(12, 7, 158, 20)},
                              {DockType::Fill, TL, QRect(0, 0, 1, 1), QRect(12, 27, 158, 68)}};
    QTest::newRow("hidden children take no space")
        << QSize(400, 300) << QSize() << 0 << noPadding
        << QVector<ChildSpec>{{DockType::Top, TL, QRect(1, 2, 10, 30), QRect(1, 2, 10, 30), true},
                              {DockType::Fill, TL, QRect(0, 0, 1, 1), QRect(0, 0, 400, 300)}};
}

void TestZPanelLayout::Layout()
{
    QFETCH(QSize, panelSize);
    QFETCH(QSize, resizeTo);
    QFETCH(int, borderWidth);
    QFETCH(QVector<int>, padding);
    QFETCH(QVector<ChildSpec>, children);

    ZPanel panel;
    panel.resize(panelSize);
    if (borderWidth) {
        panel.SetBorder(PositionFlag::Left | PositionFlag::Top);
        panel.SetBorderWidth(borderWidth);
    }
    ZPadding pad;
    pad.Top = padding[0];
    pad.Bottom = padding[1];
    pad.Left = padding[2];
    pad.Right = padding[3];
    panel.SetPadding(pad);
    QVector<Child*> widgets;
    for (const ChildSpec& spec : children) {
        auto* w = new Child(&panel);
        w->setGeometry(spec.Start);
        w->SetAnchor(PositionFlag::Flags(spec.Anchor));
        w->SetDock(spec.Dock);
        w->setHidden(spec.Hidden);
        widgets.append(w);
    }
    panel.show();
    Settle();
    if (resizeTo.isValid()) {
        panel.resize(resizeTo);
        Settle();
    }
    for (int i = 0; i < widgets.size(); ++i) {
        const QRect expected = children[i].Expected;
        const QRect actual = widgets[i]->geometry();
        if (expected.isEmpty()) // zero-size placements: only the size matters to Qt's geometry
            QCOMPARE(actual.size(), expected.size());
        else
            QCOMPARE(actual, expected);
    }
}

void TestZPanelLayout::ContainerArea_data()
{
    QTest::addColumn<int>("border");
    QTest::addColumn<int>("width");
    QTest::addColumn<QVector<int>>("padding");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("none") << 0 << 0 << QVector<int>{0, 0, 0, 0} << QRect(0, 0, 200, 100);
    QTest::newRow("left top 2, padding") << int(PositionFlag::Left | PositionFlag::Top) << 2
                                         << QVector<int>{5, 5, 10, 30} << QRect(12, 7, 158, 88);
    QTest::newRow("all sides 3") << int(PositionFlag::All) << 3 << QVector<int>{0, 0, 0, 0} << QRect(3, 3, 194, 94);
    QTest::newRow("width without sides") << 0 << 9 << QVector<int>{1, 2, 3, 4} << QRect(3, 1, 193, 97);
    QTest::newRow("larger than the widget") << 0 << 0 << QVector<int>{60, 60, 0, 0} << QRect(0, 60, 200, -20);
}

void TestZPanelLayout::ContainerArea()
{
    QFETCH(int, border);
    QFETCH(int, width);
    QFETCH(QVector<int>, padding);
    QFETCH(QRect, expected);
    ZPanel panel;
    panel.resize(200, 100);
    panel.show();
    panel.SetBorder(PositionFlag::Flags(border));
    panel.SetBorderWidth(width);
    ZPadding pad;
    pad.Top = padding[0];
    pad.Bottom = padding[1];
    pad.Left = padding[2];
    pad.Right = padding[3];
    panel.SetPadding(pad);
    Settle();
    QCOMPARE(panel.ContainerArea(), expected);
}

// A hidden docked child takes no space and gets it back when shown; a hidden anchored child still follows
// the container's resize, so it is in place when shown again.
void TestZPanelLayout::HiddenChildTakesNoSpaceAndFollowsWhenShown()
{
    ZPanel panel;
    panel.resize(400, 300);
    auto* top = new Child(&panel);
    top->resize(10, 30);
    top->SetDock(DockType::Top);
    auto* fill = new Child(&panel);
    fill->SetDock(DockType::Fill);
    auto* anchored = new Child(&panel);
    anchored->setGeometry(350, 250, 20, 20);
    anchored->SetAnchor(PositionFlag::Right | PositionFlag::Bottom);
    panel.show();
    Settle();
    QCOMPARE(fill->geometry(), QRect(0, 30, 400, 270));

    anchored->hide();
    panel.resize(500, 360);
    Settle();
    anchored->show();
    Settle();
    QCOMPARE(anchored->geometry(), QRect(450, 310, 20, 20));

    top->hide();
    top->SetDock(DockType::Top); // unchanged: no request; the next resize lays out again
    panel.resize(500, 361);
    Settle();
    QCOMPARE(fill->geometry(), QRect(0, 0, 500, 361));
    QCOMPARE(top->geometry(), QRect(0, 0, 500, 30)); // kept while hidden

    top->show();
    panel.resize(500, 360);
    Settle();
    QCOMPARE(top->geometry(), QRect(0, 0, 500, 30));
    QCOMPARE(fill->geometry(), QRect(0, 30, 500, 330));
}

void TestZPanelLayout::FirstLayoutKeepsAnchoredChildren()
{
    ZPanel panel;
    panel.resize(100, 100);
    auto* child = new Child(&panel);
    child->setGeometry(80, 80, 10, 10);
    child->SetAnchor(PositionFlag::All);
    panel.resize(300, 300); // before the first layout: not a change the child follows
    panel.show();
    Settle();
    QCOMPARE(child->geometry(), QRect(80, 80, 10, 10));
}

void TestZPanelLayout::RemovedChildFreesItsSpace()
{
    ZPanel panel;
    panel.resize(200, 100);
    auto* left = new Child(&panel);
    left->resize(50, 10);
    left->SetDock(DockType::Left);
    auto* fill = new Child(&panel);
    fill->SetDock(DockType::Fill);
    panel.show();
    Settle();
    QCOMPARE(fill->geometry(), QRect(50, 0, 150, 100));
    delete left;
    QCOMPARE(fill->geometry(), QRect(0, 0, 200, 100)); // ChildRemoved lays out at once
}

void TestZPanelLayout::PaintsBackgroundAndBorder()
{
    ZPanel panel;
    panel.resize(40, 30);
    panel.SetBackColor(QColor(0, 200, 0));
    panel.SetBorderColor(QColor(200, 0, 0));
    panel.SetBorder(PositionFlag::Bottom);
    panel.SetBorderWidth(3);
    QImage image(40, 30, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    panel.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    QCOMPARE(image.pixel(20, 10), qRgb(0, 200, 0));
    QCOMPARE(image.pixel(20, 29), qRgb(200, 0, 0));
    QCOMPARE(image.pixel(20, 27), qRgb(200, 0, 0));
    QCOMPARE(image.pixel(20, 26), qRgb(0, 200, 0));
}

QTEST_MAIN(TestZPanelLayout)
#include "tst_ZPanelLayout.moc"
