#include "ZPanel.h"
#include "ZScrollBar.h"
#include "ZScrollContainer.h"
#include "ZScrollPanel.h"

#include <QMouseEvent>
#include <QSignalSpy>
#include <QWheelEvent>
#include <QtTest>
#include <QtTest/qtestspontaneevent.h>

namespace {

void Settle()
{
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

// Sends a mouse event with the buttons a real drag would carry (held while moving, none after release).
void SendMouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, QPoint pos)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

// A scroll container that records its hooks.
class Scroller : public ZScrollContainer
{
public:
    using ZScrollContainer::ZScrollContainer;
    int AreaChanges = 0;
    QVector<int> HValues;
    QVector<int> VValues;

protected:
    void Paint(QPainter*) override {}
    void ScrollContainerAreaChangedEvent() override { ++AreaChanges; }
    void HScrollBarValueChangedEvent(int v) override { HValues << v; }
    void VScrollBarValueChangedEvent(int v) override { VValues << v; }
};

// A parent that counts the wheel events passed on to it.
class WheelCatcher : public QWidget
{
public:
    int Wheels = 0;

protected:
    void wheelEvent(QWheelEvent* e) override
    {
        ++Wheels;
        e->accept();
    }
};

} // namespace

class TestZScroll : public QObject
{
    Q_OBJECT

private slots:
    void SliderArithmetic_data();
    void SliderArithmetic();
    void Drag_data();
    void Drag();
    void OnlyLeftPressOnSliderDrags();
    void ShrinkingContentLowersValue();
    void Wheel_data();
    void Wheel();
    void BarDecision_data();
    void BarDecision();
    void BarGeometryFollowsArea();
    void ScrollBarSizeAndSliderProperties();
    void PanelAdoptsItsPanelChild();
    void PanelKeepsScrollWhenContentGrows();
    void PanelPropertiesByName();
    void DesignerNamesInnerWidgetsPassive();
};

void TestZScroll::SliderArithmetic_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("expectedValue");
    QTest::addColumn<int>("sliderStart");
    QTest::addColumn<int>("sliderLength");

    const int V = OrientationType::Vertical;
    const int H = OrientationType::Horizontal;
    QTest::newRow("400 over 100, top") << V << 100 << 400 << 0 << 0 << 0 << 25;
    QTest::newRow("400 over 100, end") << V << 100 << 400 << 300 << 300 << 75 << 25;
    QTest::newRow("400 over 100, inside") << V << 100 << 400 << 40 << 40 << 10 << 25;
    QTest::newRow("400 over 100, truncated") << V << 100 << 400 << 43 << 43 << 10 << 25;
    QTest::newRow("past the end is clamped") << V << 100 << 400 << 1000 << 300 << 75 << 25;
    QTest::newRow("negative is clamped") << V << 100 << 400 << -7 << 0 << 0 << 25;
    QTest::newRow("minimum slider") << V << 100 << 1000 << 450 << 450 << 40 << 20;
    QTest::newRow("minimum slider, end") << V << 100 << 1000 << 900 << 900 << 80 << 20;
    QTest::newRow("content fits") << V << 100 << 50 << 10 << 0 << 0 << 100;
    QTest::newRow("content equals bar") << V << 100 << 100 << 10 << 0 << 0 << 100;
    QTest::newRow("bar shorter than minimum slider") << V << 15 << 400 << 200 << 200 << 0 << 15;
    QTest::newRow("horizontal") << H << 200 << 800 << 600 << 600 << 150 << 50;
}

void TestZScroll::SliderArithmetic()
{
    QFETCH(int, orientation);
    QFETCH(int, length);
    QFETCH(int, total);
    QFETCH(int, value);
    QFETCH(int, expectedValue);
    QFETCH(int, sliderStart);
    QFETCH(int, sliderLength);

    const bool horizontal = orientation == OrientationType::Horizontal;
    ZScrollBar bar{OrientationType::Types(orientation)};
    bar.resize(horizontal ? QSize(length, 10) : QSize(10, length));
    bar.SetTotalSize(total);
    QSignalSpy spy(&bar, &ZScrollBar::ValueChanged);
    bar.SetValue(value);
    QCOMPARE(bar.Value(), expectedValue);
    QCOMPARE(spy.count(), expectedValue == 0 ? 0 : 1);
    const QRect expected = horizontal ? QRect(sliderStart, 0, sliderLength, 10) : QRect(0, sliderStart, 10, sliderLength);
    QCOMPARE(bar.SliderRect(), expected);
    bar.SetValue(value); // the same value again: no signal
    QCOMPARE(spy.count(), expectedValue == 0 ? 0 : 1);
}

void TestZScroll::Drag_data()
{
    QTest::addColumn<int>("startValue");
    QTest::addColumn<int>("pressAt");
    QTest::addColumn<QVector<int>>("moves");
    QTest::addColumn<int>("expectedValue");
    QTest::addColumn<int>("sliderStart");
    QTest::addColumn<QVector<int>>("emitted");

    // A 100-px bar over 400 px: slider 25 px, travel 75, 4 content pixels per slider pixel.
    QTest::newRow("10 px down") << 0 << 5 << QVector<int>{15} << 40 << 10 << QVector<int>{40};
    QTest::newRow("in two moves") << 0 << 5 << QVector<int>{10, 20} << 60 << 15 << QVector<int>{20, 60};
    QTest::newRow("first slider pixel") << 0 << 0 << QVector<int>{10} << 40 << 10 << QVector<int>{40};
    QTest::newRow("onto the end") << 0 << 5 << QVector<int>{80} << 300 << 75 << QVector<int>{300};
    QTest::newRow("past the end") << 0 << 5 << QVector<int>{300} << 300 << 75 << QVector<int>{300};
    QTest::newRow("past the end twice") << 0 << 5 << QVector<int>{300, 400} << 300 << 75 << QVector<int>{300};
    QTest::newRow("above the top") << 0 << 5 << QVector<int>{-50} << 0 << 0 << QVector<int>{};
    QTest::newRow("back from the end") << 300 << 80 << QVector<int>{70} << 260 << 65 << QVector<int>{260};
    QTest::newRow("press beside the slider") << 0 << 50 << QVector<int>{60} << 0 << 0 << QVector<int>{};
}

void TestZScroll::Drag()
{
    QFETCH(int, startValue);
    QFETCH(int, pressAt);
    QFETCH(QVector<int>, moves);
    QFETCH(int, expectedValue);
    QFETCH(int, sliderStart);
    QFETCH(QVector<int>, emitted);

    ZScrollBar bar(OrientationType::Vertical);
    bar.resize(10, 100);
    bar.SetTotalSize(400);
    bar.SetValue(startValue);
    QSignalSpy spy(&bar, &ZScrollBar::ValueChanged);
    SendMouse(&bar, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(5, pressAt));
    for (int y : moves)
        SendMouse(&bar, QEvent::MouseMove, Qt::LeftButton, QPoint(5, y));
    SendMouse(&bar, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(5, moves.last()));
    QCOMPARE(bar.Value(), expectedValue);
    QCOMPARE(bar.SliderRect().top(), sliderStart);
    QVector<int> seen;
    for (const QList<QVariant>& args : spy)
        seen << args.at(0).toInt();
    QCOMPARE(seen, emitted);
    // After the release moving does nothing.
    SendMouse(&bar, QEvent::MouseMove, Qt::NoButton, QPoint(5, 0));
    QCOMPARE(bar.Value(), expectedValue);
}

void TestZScroll::OnlyLeftPressOnSliderDrags()
{
    ZScrollBar bar(OrientationType::Horizontal);
    bar.resize(100, 10);
    bar.SetTotalSize(400);
    QMouseEvent right(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    right.setAccepted(false);
    QVERIFY(QCoreApplication::sendEvent(&bar, &right)); // every press is consumed
    SendMouse(&bar, QEvent::MouseMove, Qt::RightButton, QPoint(30, 5));
    QCOMPARE(bar.Value(), 0);
    SendMouse(&bar, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(5, 5));
    SendMouse(&bar, QEvent::MouseMove, Qt::LeftButton, QPoint(15, 5));
    QCOMPARE(bar.Value(), 40);
    // A right release does not end a left drag.
    SendMouse(&bar, QEvent::MouseButtonRelease, Qt::RightButton, QPoint(15, 5));
    SendMouse(&bar, QEvent::MouseMove, Qt::LeftButton, QPoint(20, 5));
    QCOMPARE(bar.Value(), 60);
}

void TestZScroll::ShrinkingContentLowersValue()
{
    ZScrollBar bar(OrientationType::Vertical);
    bar.resize(10, 100);
    bar.SetTotalSize(400);
    bar.SetValue(250);
    QSignalSpy spy(&bar, &ZScrollBar::ValueChanged);
    bar.SetTotalSize(300);
    QCOMPARE(bar.Value(), 200);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), 200);
    QCOMPARE(bar.SliderRect(), QRect(0, 67, 10, 33));
    bar.SetTotalSize(50); // content now fits: never negative
    QCOMPARE(bar.Value(), 0);
    bar.SetTotalSize(-10);
    QCOMPARE(bar.TotalSize(), 0);
    QCOMPARE(bar.Value(), 0);
    QCOMPARE(bar.SliderRect(), QRect(0, 0, 10, 100));
}

void TestZScroll::Wheel_data()
{
    QTest::addColumn<QSize>("content");
    QTest::addColumn<QPoint>("angleDelta");
    QTest::addColumn<int>("expectedValue");
    QTest::addColumn<bool>("parentGetsIt");

    const QSize tall(80, 1000);
    QTest::newRow("one notch up") << tall << QPoint(0, 120) << 90 << false;
    QTest::newRow("one notch down") << tall << QPoint(0, -120) << 110 << false;
    QTest::newRow("three notches") << tall << QPoint(0, -360) << 130 << false;
    QTest::newRow("high resolution 40: no step, consumed") << tall << QPoint(0, 40) << 100 << false;
    QTest::newRow("high resolution 60: one step") << tall << QPoint(0, 60) << 90 << false;
    QTest::newRow("sideways swipe") << tall << QPoint(120, 0) << 100 << false;
    QTest::newRow("sideways with a little vertical") << tall << QPoint(240, 8) << 100 << false;
    QTest::newRow("no vertical bar: the parent scrolls") << QSize(80, 50) << QPoint(0, 120) << 0 << true;
    QTest::newRow("only a horizontal bar: the parent scrolls") << QSize(500, 50) << QPoint(0, 120) << 0 << true;
}

void TestZScroll::Wheel()
{
    QFETCH(QSize, content);
    QFETCH(QPoint, angleDelta);
    QFETCH(int, expectedValue);
    QFETCH(bool, parentGetsIt);

    WheelCatcher parent;
    parent.resize(300, 300);
    auto* s = new Scroller(true, true, &parent);
    s->setGeometry(0, 0, 100, 100);
    parent.show();
    s->SetScrollSize(content);
    Settle();
    s->SetVScrollBarValue(100);
    QCOMPARE(s->VScrollBarValue(), content.height() > 100 ? 100 : 0);

    QWheelEvent e(QPointF(50, 50), QPointF(s->mapToGlobal(QPoint(50, 50))), QPoint(), angleDelta, Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    // Qt passes an ignored wheel event on to the parent only when it came from the system; sendEvent would
    // mark it as synthesized, notify keeps the mark.
    QSpontaneKeyEvent::setSpontaneous(&e);
    qApp->notify(s, &e);
    QCOMPARE(s->VScrollBarValue(), expectedValue);
    QCOMPARE(parent.Wheels, parentGetsIt ? 1 : 0);
}

void TestZScroll::BarDecision_data()
{
    QTest::addColumn<QSize>("content");
    QTest::addColumn<bool>("hShown");
    QTest::addColumn<bool>("vShown");
    QTest::addColumn<QSize>("scrollArea");

    // A 100 x 100 container with 10-px bars.
    QTest::newRow("fits") << QSize(100, 100) << false << false << QSize(100, 100);
    QTest::newRow("unset") << QSize(-1, -1) << false << false << QSize(100, 100);
    QTest::newRow("tall") << QSize(50, 150) << false << true << QSize(90, 100);
    QTest::newRow("wide") << QSize(150, 50) << true << false << QSize(100, 90);
    QTest::newRow("wide, then too tall under the bar") << QSize(150, 95) << true << true << QSize(90, 90);
    QTest::newRow("tall, then too wide beside the bar") << QSize(95, 150) << true << true << QSize(90, 90);
    QTest::newRow("tall, exactly fits beside the bar") << QSize(90, 150) << false << true << QSize(90, 100);
    QTest::newRow("both") << QSize(400, 400) << true << true << QSize(90, 90);
}

void TestZScroll::BarDecision()
{
    QFETCH(QSize, content);
    QFETCH(bool, hShown);
    QFETCH(bool, vShown);
    QFETCH(QSize, scrollArea);

    Scroller s(true, true);
    s.resize(100, 100);
    s.show();
    Settle();
    s.SetHScrollBarValue(5); // no bar shown yet: stays 0
    QCOMPARE(s.HScrollBarValue(), 0);
    s.SetScrollSize(content);
    QCOMPARE(s.HScrollBar()->isVisible(), hShown);
    QCOMPARE(s.VScrollBar()->isVisible(), vShown);
    QCOMPARE(s.ScrollArea(), QRect(QPoint(0, 0), scrollArea));
    if (hShown)
        QCOMPARE(s.HScrollBar()->geometry(), QRect(0, 90, scrollArea.width(), 10));
    if (vShown)
        QCOMPARE(s.VScrollBar()->geometry(), QRect(90, 0, 10, scrollArea.height()));
    // Each layout ends with both hooks at the bars' values.
    QVERIFY(!s.HValues.isEmpty() && !s.VValues.isEmpty());
    QCOMPARE(s.HValues.last(), 0);
    QCOMPARE(s.VValues.last(), 0);
}

void TestZScroll::BarGeometryFollowsArea()
{
    Scroller s(true, true);
    s.resize(120, 110);
    s.SetPadding(ZPadding{5, 5, 10, 10}); // Top, Bottom, Left, Right
    s.SetBorder(PositionFlag::All);
    s.SetBorderWidth(1);
    s.show();
    s.SetScrollSize(QSize(500, 500));
    Settle();
    // Area: x 11 .. 108 (98 wide), y 6 .. 103 (98 high).
    QCOMPARE(s.ContainerArea(), QRect(11, 6, 98, 98));
    QCOMPARE(s.ScrollArea(), QRect(11, 6, 88, 88));
    QCOMPARE(s.HScrollBar()->geometry(), QRect(11, 94, 88, 10));
    QCOMPARE(s.VScrollBar()->geometry(), QRect(99, 6, 10, 88));

    // Moving the area without resizing it still tells the subclass.
    const int before = s.AreaChanges;
    s.SetPadding(ZPadding{5, 5, 12, 8});
    Settle();
    QCOMPARE(s.ScrollArea(), QRect(13, 6, 88, 88));
    QCOMPARE(s.AreaChanges, before + 1);

    // Scrolled to the end, a growing container lowers the value to the new end and says so.
    s.SetVScrollBarValue(1000);
    QCOMPARE(s.VScrollBarValue(), 500 - 88);
    s.resize(120, 210);
    Settle();
    QCOMPARE(s.VScrollBarValue(), 500 - 188);
    QCOMPARE(s.VValues.last(), 500 - 188);
}

void TestZScroll::ScrollBarSizeAndSliderProperties()
{
    Scroller s(true, true);
    s.resize(100, 100);
    s.show();
    s.SetScrollSize(QSize(400, 400));
    Settle();
    s.SetScrollBarSize(6);
    QCOMPARE(s.ScrollArea().size(), QSize(94, 94));
    QCOMPARE(s.VScrollBar()->geometry(), QRect(94, 0, 6, 94));
    s.SetScrollBarSize(-3);
    QCOMPARE(s.ScrollBarSize(), 0);
    QCOMPARE(s.ScrollArea().size(), QSize(100, 100));

    s.SetSliderMinimumSize(0); // ignored
    QCOMPARE(s.SliderMinimumSize(), 20);
    s.SetSliderMinimumSize(30);
    QCOMPARE(s.VScrollBar()->SliderMinimumSize(), 30);
    s.SetSliderRadius(-2);
    QCOMPARE(s.SliderRadius(), 0);
    s.SetSliderRadius(4);
    s.SetSliderColor(QColor(1, 2, 3));
    s.SetSliderColorHover(QColor(4, 5, 6));
    for (ZScrollBar* bar : {s.HScrollBar(), s.VScrollBar()}) {
        QCOMPARE(bar->SliderRadius(), 4);
        QCOMPARE(bar->SliderColor(), QColor(1, 2, 3));
        QCOMPARE(bar->SliderColorHover(), QColor(4, 5, 6));
    }

    // The slider is painted in its colour, the hover colour while the mouse is over the bar.
    s.SetSliderRadius(0);
    s.SetScrollBarSize(10);
    Settle();
    ZScrollBar* bar = s.VScrollBar();
    QImage shot = bar->grab().toImage();
    QCOMPARE(shot.pixelColor(5, 5), QColor(1, 2, 3));
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(bar, &enter);
    shot = bar->grab().toImage();
    QCOMPARE(shot.pixelColor(5, 5), QColor(4, 5, 6));
}

void TestZScroll::PanelAdoptsItsPanelChild()
{
    QWidget window;
    window.resize(400, 400);
    auto* sp = new ZScrollPanel(&window);
    sp->setGeometry(0, 0, 300, 300);
    sp->SetScrollAreaSize(QSize(500, 700));
    auto* content = new ZPanel(sp);
    content->setObjectName(QStringLiteral("ScrollArea"));
    auto* inner = new ZPanel(content);
    inner->setGeometry(10, 400, 50, 50);
    QCOMPARE(sp->ScrollWidget(), nullptr);

    QSignalSpy hSpy(sp, &ZScrollPanel::HScrollLocationChanged);
    QSignalSpy vSpy(sp, &ZScrollPanel::VScrollLocationChanged);
    window.show();
    Settle();

    QCOMPARE(sp->ScrollWidget(), content);
    QVERIFY(content->parentWidget() != sp);
    QVERIFY(content->isVisible());
    QVERIFY(inner->isVisible());
    QCOMPARE(content->Dock(), DockType::Fill);
    QCOMPARE(content->minimumSize(), QSize(500, 700));
    QCOMPARE(sp->ScrollArea(), QRect(0, 0, 290, 290));
    QCOMPARE(content->parentWidget()->geometry(), QRect(0, 0, 290, 290));
    QCOMPARE(content->geometry(), QRect(0, 0, 500, 700));
    QVERIFY(sp->HScrollBar()->isVisible());
    QVERIFY(sp->VScrollBar()->isVisible());

    hSpy.clear();
    vSpy.clear();
    sp->SetVScrollBarValue(100);
    QCOMPARE(content->pos(), QPoint(0, -100));
    QCOMPARE(vSpy.count(), 1);
    QCOMPARE(vSpy.at(0).at(0).toInt(), 100);
    sp->SetHScrollBarValue(1000); // limited to 500 - 290
    QCOMPARE(content->pos(), QPoint(-210, -100));
    QCOMPARE(hSpy.count(), 1);
    QCOMPARE(hSpy.at(0).at(0).toInt(), 210);
    // The inner widget is where the viewport shows it.
    QCOMPARE(inner->mapTo(sp, QPoint(0, 0)), QPoint(10 - 210, 400 - 100));

    // The wheel moves the content too.
    vSpy.clear();
    QWheelEvent wheel(QPointF(50, 50), QPointF(sp->mapToGlobal(QPoint(50, 50))), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(sp, &wheel);
    QCOMPARE(content->y(), -110);
    QCOMPARE(vSpy.count(), 1);
    QCOMPARE(vSpy.at(0).at(0).toInt(), 110);

    // The same size again changes nothing.
    hSpy.clear();
    vSpy.clear();
    sp->SetScrollAreaSize(QSize(500, 700));
    QCOMPARE(hSpy.count() + vSpy.count(), 0);

    // Content that fits hides the bars, scrolls back to 0 and fills the viewport.
    sp->SetScrollAreaSize(QSize(100, 100));
    QVERIFY(!sp->HScrollBar()->isVisible());
    QVERIFY(!sp->VScrollBar()->isVisible());
    QCOMPARE(sp->VScrollBarValue(), 0);
    QCOMPARE(content->geometry(), QRect(0, 0, 300, 300));
    QCOMPARE(vSpy.last().at(0).toInt(), 0);
}

void TestZScroll::PanelKeepsScrollWhenContentGrows()
{
    ZScrollPanel sp;
    sp.resize(200, 200);
    sp.SetScrollAreaSize(QSize(190, 1000));
    auto* content = new ZPanel(&sp);
    sp.show();
    Settle();
    QCOMPARE(sp.ScrollWidget(), content);
    sp.SetVScrollBarValue(300);
    sp.SetScrollAreaSize(QSize(190, 2000));
    QCOMPARE(sp.VScrollBarValue(), 300);
    QCOMPARE(content->geometry(), QRect(0, -300, 190, 2000));

    // A panel added while the scroll panel is shown is adopted too; the earlier one stays where it is.
    auto* second = new ZPanel(&sp);
    Settle();
    QCOMPARE(sp.ScrollWidget(), second);
    QVERIFY(second->isVisible());
    QCOMPARE(second->geometry(), QRect(0, -300, 190, 2000));
    QVERIFY(content->parentWidget() != &sp);

    // Deleting the content leaves the panel without one.
    delete second;
    QCOMPARE(sp.ScrollWidget(), nullptr);
    sp.SetVScrollBarValue(10);
}

void TestZScroll::PanelPropertiesByName()
{
    ZScrollPanel sp;
    QVERIFY(sp.setProperty("ScrollAreaSize", QSize(720, 4500)));
    QCOMPARE(sp.ScrollSize(), QSize(720, 4500));
    QVERIFY(sp.setProperty("WheelStepPixel", 20));
    QCOMPARE(sp.WheelStepPixel(), 20);
    QVERIFY(sp.setProperty("SliderRadius", 5));
    QVERIFY(sp.setProperty("SliderColor", QColor(230, 230, 230)));
    QVERIFY(sp.setProperty("SliderColorHover", QColor(82, 178, 250)));
    QVERIFY(sp.setProperty("ScrollBarSize", 8));
    QVERIFY(sp.setProperty("SliderMinimumSize", 25));
    QCOMPARE(sp.VScrollBar()->SliderColorHover(), QColor(82, 178, 250));
    QCOMPARE(sp.HScrollBar()->SliderMinimumSize(), 25);
    QCOMPARE(sp.VScrollBar()->width(), 8);
}

// In Qt Designer the bars and the viewport must stay clickable: their names carry the passive prefix.
void TestZScroll::DesignerNamesInnerWidgetsPassive()
{
    DesignerMode = true;
    ZScrollPanel sp;
    DesignerMode = false;
    QCOMPARE(sp.HScrollBar()->objectName(), QStringLiteral("__qt__passive_HScrollBar"));
    QCOMPARE(sp.VScrollBar()->objectName(), QStringLiteral("__qt__passive_VScrollBar"));
    int passiveWidgets = 0;
    for (QWidget* child : sp.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        passiveWidgets += child->objectName().startsWith(QLatin1String("__qt__passive_"));
    QCOMPARE(passiveWidgets, 3);

    ZScrollPanel plain;
    QVERIFY(plain.VScrollBar()->objectName().isEmpty());
}

QTEST_MAIN(TestZScroll)
#include "tst_ZScroll.moc"
