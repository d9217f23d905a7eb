#include "ZTrackBar.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QtTest>

namespace {

// A shown bar of the given size (a hidden widget gets its resize event only when shown).
void Show(ZTrackBar& bar, int w, int h)
{
    bar.resize(w, h);
    bar.show();
    QCOMPARE(bar.size(), QSize(w, h));
}

void Mouse(ZTrackBar& bar, QEvent::Type type, QPointF pos, Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, pos, bar.mapToGlobal(pos.toPoint()), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&bar, &e);
}

// Records the bar's signals in the order they came.
struct Recorder
{
    QStringList Log;
    explicit Recorder(ZTrackBar& bar)
    {
        QObject::connect(&bar, &ZTrackBar::Value1Changed, [this](int v) { Log << QStringLiteral("V1 %1").arg(v); });
        QObject::connect(&bar, &ZTrackBar::Value2Changed, [this](int v) { Log << QStringLiteral("V2 %1").arg(v); });
        QObject::connect(&bar, &ZTrackBar::ManuallyDragChanged,
                         [this](int v) { Log << QStringLiteral("Drag %1").arg(v); });
    }
};

bool Near(QColor a, QColor b, int tolerance)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
        && qAbs(a.blue() - b.blue()) <= tolerance;
}

} // namespace

class TestZTrackBar : public QObject
{
    Q_OBJECT

private slots:
    void KnobPosition_data();
    void KnobPosition();
    void PressBesideKnobJumps();
    void PressOnKnobDragsAndReleaseEndsIt();
    void DragIsNotDisturbedBySetValue1();
    void DragEndsWhenTheBarIsDisabled();
    void RangeInvariants();
    void RangeChangeDuringDragKeepsValuesInRange();
    void RangeChangeMovesKnobAndFill();
    void KnobAsLongAsTheBar_data();
    void KnobAsLongAsTheBar();
    void SecondFillUsesWholeLength();
    void GradientPixel_data();
    void GradientPixel();
    void GradientStopsOfAnEarlierTypeAreDropped();
    void NormalFillsAndKnob();
    void KnobImageRecoloured();
    void TypeByName();
};

void TestZTrackBar::KnobPosition_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QSize>("button");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("location");

    const int h = OrientationType::Horizontal;
    const int v = OrientationType::Vertical;
    QTest::newRow("middle") << h << QSize(200, 20) << QSize(10, 10) << 0 << 100 << 50 << 95;
    QTest::newRow("start") << h << QSize(200, 20) << QSize(10, 10) << 0 << 100 << 0 << 0;
    QTest::newRow("end") << h << QSize(200, 20) << QSize(10, 10) << 0 << 100 << 100 << 190;
    QTest::newRow("clamped above") << h << QSize(200, 20) << QSize(10, 10) << 0 << 100 << 500 << 190;
    QTest::newRow("offset range") << h << QSize(110, 20) << QSize(10, 10) << 50 << 150 << 75 << 25;
    QTest::newRow("vertical") << v << QSize(20, 110) << QSize(10, 10) << 0 << 100 << 30 << 30;
    QTest::newRow("no knob size") << h << QSize(99, 20) << QSize(-1, -1) << 0 << 100 << 50 << 50;
    // The product exceeds 32 bits.
    QTest::newRow("large range") << h << QSize(1010, 20) << QSize(10, 10) << 0 << 2000000000 << 1000000000 << 500;
}

void TestZTrackBar::KnobPosition()
{
    QFETCH(int, orientation);
    QFETCH(QSize, size);
    QFETCH(QSize, button);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, value);
    QFETCH(int, location);

    ZTrackBar bar;
    bar.SetOrientation(OrientationType::Types(orientation));
    bar.SetButtonSize(button);
    bar.SetMaximum(maximum);
    bar.SetMinimum(minimum);
    Show(bar, size.width(), size.height());
    bar.SetValue1(value);
    QCOMPARE(bar.ButtonLocation(), location);
}

void TestZTrackBar::PressBesideKnobJumps()
{
    ZTrackBar bar;
    bar.SetButtonSize(QSize(10, 10));
    Show(bar, 200, 20);
    bar.SetValue1(50);
    QCOMPARE(bar.ButtonLocation(), 95);
    Recorder rec(bar);
    Mouse(bar, QEvent::MouseButtonPress, QPointF(149.6, 10));
    QCOMPARE(bar.Value1(), 78);
    QCOMPARE(bar.ButtonLocation(), 150);
    QCOMPARE(rec.Log, QStringList({"V1 78", "Drag 78"}));
    QVERIFY(!bar.IsDragging());
    Mouse(bar, QEvent::MouseButtonRelease, QPointF(149.6, 10));
    QCOMPARE(rec.Log.size(), 2);

    // Beyond the track's end the knob stops at the end; other buttons do nothing.
    Mouse(bar, QEvent::MouseButtonPress, QPointF(199, 10));
    QCOMPARE(bar.ButtonLocation(), 190);
    QCOMPARE(bar.Value1(), 100);
    Mouse(bar, QEvent::MouseButtonPress, QPointF(20, 10), Qt::RightButton);
    QCOMPARE(bar.Value1(), 100);
}

void TestZTrackBar::PressOnKnobDragsAndReleaseEndsIt()
{
    ZTrackBar bar;
    bar.SetButtonSize(QSize(10, 10));
    Show(bar, 200, 20);
    bar.SetValue1(50);
    Recorder rec(bar);
    Mouse(bar, QEvent::MouseButtonPress, QPointF(100, 10));
    QVERIFY(bar.IsDragging());
    QVERIFY(rec.Log.isEmpty());
    Mouse(bar, QEvent::MouseMove, QPointF(119, 10));
    QCOMPARE(bar.ButtonLocation(), 114);
    QCOMPARE(bar.Value1(), 60);
    Mouse(bar, QEvent::MouseMove, QPointF(400, 10)); // clamped to the end
    QCOMPARE(bar.ButtonLocation(), 190);
    QCOMPARE(bar.Value1(), 100);
    Mouse(bar, QEvent::MouseMove, QPointF(-100, 10)); // clamped to the start
    QCOMPARE(bar.ButtonLocation(), 0);
    QCOMPARE(bar.Value1(), 0);
    Mouse(bar, QEvent::MouseMove, QPointF(-100, 10)); // no movement, no signal
    Mouse(bar, QEvent::MouseButtonRelease, QPointF(-100, 10));
    QVERIFY(!bar.IsDragging());
    QCOMPARE(rec.Log, QStringList({"V1 60", "V1 100", "V1 0", "Drag 0"}));
}

void TestZTrackBar::DragIsNotDisturbedBySetValue1()
{
    ZTrackBar bar;
    bar.SetButtonSize(QSize(10, 10));
    Show(bar, 200, 20);
    bar.SetValue1(50);
    Mouse(bar, QEvent::MouseButtonPress, QPointF(100, 10));
    Recorder rec(bar);
    bar.SetValue1(10);
    bar.SetValue1WithoutEvent(20);
    QCOMPARE(bar.Value1(), 50);
    QCOMPARE(bar.ButtonLocation(), 95);
    bar.SetValue2(30); // the second value is not held by a drag
    QCOMPARE(bar.Value2(), 30);
    Mouse(bar, QEvent::MouseMove, QPointF(119, 10));
    QCOMPARE(bar.Value1(), 60);
    Mouse(bar, QEvent::MouseButtonRelease, QPointF(119, 10));
    QCOMPARE(rec.Log, QStringList({"V2 30", "V1 60", "Drag 60"}));
    bar.SetValue1(10);
    QCOMPARE(bar.Value1(), 10);
    bar.SetValue1WithoutEvent(20);
    QCOMPARE(bar.Value1(), 20);
    QCOMPARE(rec.Log.last(), QStringLiteral("V1 10"));
}

void TestZTrackBar::DragEndsWhenTheBarIsDisabled()
{
    ZTrackBar bar;
    bar.SetButtonSize(QSize(10, 10));
    Show(bar, 200, 20);
    Mouse(bar, QEvent::MouseButtonPress, QPointF(5, 10));
    QVERIFY(bar.IsDragging());
    QSignalSpy drag(&bar, &ZTrackBar::ManuallyDragChanged);
    bar.setEnabled(false);
    QVERIFY(!bar.IsDragging());
    QCOMPARE(drag.count(), 1);
    bar.setEnabled(true);
    bar.SetValue1(40); // the program's updates reach the knob again
    QCOMPARE(bar.Value1(), 40);
}

void TestZTrackBar::RangeInvariants()
{
    ZTrackBar bar;
    bar.SetMaximum(0);
    QCOMPARE(bar.Maximum(), 1);
    bar.SetMinimum(-5);
    QCOMPARE(bar.Minimum(), 0);
    bar.SetMaximum(100);
    bar.SetMinimum(100);
    QCOMPARE(bar.Minimum(), 99);
    bar.SetMinimum(500);
    QCOMPARE(bar.Minimum(), 99);
    QCOMPARE(bar.Value1(), 99);
    QCOMPARE(bar.Value2(), 99);

    ZTrackBar lowered;
    lowered.SetValue1(80);
    lowered.SetValue2(90);
    Recorder rec(lowered);
    lowered.SetMaximum(50);
    QCOMPARE(lowered.Value1(), 50);
    QCOMPARE(lowered.Value2(), 50);
    QCOMPARE(rec.Log, QStringList({"V1 50", "V2 50"}));
    lowered.SetValue1(-10);
    QCOMPARE(lowered.Value1(), 0);
    lowered.SetValue2(1000);
    QCOMPARE(lowered.Value2(), 50);
}

void TestZTrackBar::RangeChangeDuringDragKeepsValuesInRange()
{
    ZTrackBar bar;
    bar.SetButtonSize(QSize(10, 10));
    Show(bar, 200, 20);
    bar.SetValue1(80);
    const int pressX = bar.ButtonLocation() + 5;
    Mouse(bar, QEvent::MouseButtonPress, QPointF(pressX, 10));
    QVERIFY(bar.IsDragging());
    QSignalSpy changed(&bar, &ZTrackBar::Value1Changed);
    bar.SetMaximum(40);
    QCOMPARE(bar.Value1(), 40);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(bar.ButtonLocation(), 190);
    // The drag goes on from the knob's new place.
    Mouse(bar, QEvent::MouseMove, QPointF(pressX - 95, 10));
    QVERIFY(bar.Value1() >= bar.Minimum() && bar.Value1() <= bar.Maximum());
    QCOMPARE(bar.Value1(), 20);
    Mouse(bar, QEvent::MouseButtonRelease, QPointF(0, 10));
    QCOMPARE(bar.Value1(), 20);
}

void TestZTrackBar::RangeChangeMovesKnobAndFill()
{
    // The same values on a wider range stand nearer the start.
    ZTrackBar bar;
    bar.SetButtonSize(QSize(10, 10));
    Show(bar, 210, 20);
    bar.SetValue1(50);
    bar.SetValue2(50);
    QCOMPARE(bar.ButtonLocation(), 100);
    QCOMPARE(bar.MainLine2Length(), 105);
    bar.SetMaximum(200);
    QCOMPARE(bar.ButtonLocation(), 50);
    QCOMPARE(bar.MainLine2Length(), 52);
    bar.SetMinimum(50);
    QCOMPARE(bar.ButtonLocation(), 0);
    QCOMPARE(bar.MainLine2Length(), 0);
}

void TestZTrackBar::KnobAsLongAsTheBar_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QSize>("button");
    QTest::newRow("as wide") << int(OrientationType::Horizontal) << QSize(100, 10);
    QTest::newRow("wider") << int(OrientationType::Horizontal) << QSize(150, 10);
    QTest::newRow("as tall") << int(OrientationType::Vertical) << QSize(10, 100);
}

void TestZTrackBar::KnobAsLongAsTheBar()
{
    QFETCH(int, orientation);
    QFETCH(QSize, button);

    ZTrackBar bar;
    bar.SetOrientation(OrientationType::Types(orientation));
    bar.SetButtonSize(button);
    Show(bar, 100, 100);
    bar.SetValue1(70);
    QCOMPARE(bar.ButtonLocation(), 0);
    Recorder rec(bar);
    // Every press is on the knob; a drag cannot move it and sets the minimum.
    Mouse(bar, QEvent::MouseButtonPress, QPointF(50, 50));
    Mouse(bar, QEvent::MouseMove, QPointF(90, 90));
    Mouse(bar, QEvent::MouseMove, QPointF(2, 2));
    Mouse(bar, QEvent::MouseButtonRelease, QPointF(2, 2));
    QCOMPARE(bar.ButtonLocation(), 0);
    bar.ComputeValue();
    QCOMPARE(bar.Value1(), 0);
    QVERIFY(!bar.grab().isNull());
}

void TestZTrackBar::SecondFillUsesWholeLength()
{
    ZTrackBar bar;
    bar.SetButtonSize(QSize(10, 10));
    Show(bar, 200, 20);
    bar.SetValue2(50);
    QCOMPARE(bar.MainLine2Length(), 100);
    bar.resize(300, 20);
    QCOMPARE(bar.MainLine2Length(), 150);
    bar.SetOrientation(OrientationType::Vertical);
    QCOMPARE(bar.MainLine2Length(), 10);
}

void TestZTrackBar::GradientPixel_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QColor>("back");
    QTest::addColumn<double>("fraction");
    QTest::addColumn<QColor>("expected");

    QTest::newRow("hue at a half") << int(ZTrackBar::HslColorH) << QColor() << 0.5 << QColor(0, 255, 255);
    QTest::newRow("hue at a third") << int(ZTrackBar::HslColorH) << QColor() << 1.0 / 3 << QColor(0, 255, 0);
    QTest::newRow("saturation at a half") << int(ZTrackBar::HslColorS) << QColor::fromHsl(240, 40, 128) << 0.5
                                          << QColor::fromHsl(240, 128, 128);
    QTest::newRow("saturation of grey") << int(ZTrackBar::HslColorS) << QColor(90, 90, 90) << 0.9
                                        << QColor(90, 90, 90);
    QTest::newRow("lightness at a quarter") << int(ZTrackBar::HslColorL) << QColor() << 0.25 << QColor(64, 64, 64);
}

void TestZTrackBar::GradientPixel()
{
    QFETCH(int, type);
    QFETCH(QColor, back);
    QFETCH(double, fraction);
    QFETCH(QColor, expected);

    ZTrackBar bar;
    bar.SetMainLineBackColor(back);
    bar.SetType(ZTrackBar::TrackType(type));
    bar.resize(301, 20);
    const QImage image = bar.grab().toImage();
    const int x = qRound(300 * fraction);
    const QColor pixel = image.pixelColor(x, 10);
    QVERIFY2(Near(pixel, expected, 6), qPrintable(QStringLiteral("pixel %1 at x %2, expected %3")
                                                      .arg(pixel.name(), QString::number(x), expected.name())));
}

void TestZTrackBar::GradientStopsOfAnEarlierTypeAreDropped()
{
    ZTrackBar bar;
    bar.SetType(ZTrackBar::HslColorH);
    bar.SetType(ZTrackBar::HslColorL);
    bar.resize(301, 20);
    const QImage image = bar.grab().toImage();
    const QColor pixel = image.pixelColor(qRound(300.0 / 6), 10);
    QVERIFY2(Near(pixel, QColor(43, 43, 43), 6), qPrintable(pixel.name()));
}

void TestZTrackBar::NormalFillsAndKnob()
{
    ZTrackBar bar;
    bar.SetButtonSize(QSize(10, 16));
    bar.SetMainLineBackColor(Qt::gray);
    bar.SetMainLineFillColor1(Qt::blue);
    bar.SetMainLineFillColor2(Qt::green);
    bar.SetButtonColor(Qt::red);
    Show(bar, 210, 20);
    bar.SetValue1(50); // knob at 100
    bar.SetValue2(75); // second fill 157 long
    const QImage image = bar.grab().toImage();
    QCOMPARE(image.pixelColor(50, 10), QColor(Qt::blue));
    QCOMPARE(image.pixelColor(105, 3), QColor(Qt::red)); // the knob stands out of the 10-pixel line
    QCOMPARE(image.pixelColor(130, 10), QColor(Qt::green));
    QCOMPARE(image.pixelColor(180, 10), QColor(Qt::gray));
}

void TestZTrackBar::KnobImageRecoloured()
{
    QImage white(8, 8, QImage::Format_ARGB32);
    white.fill(Qt::white);
    ZTrackBar bar;
    bar.SetButtonSize(QSize(8, 8));
    bar.SetButtonImage(QPixmap::fromImage(white));
    bar.SetButtonColor(Qt::red);
    Show(bar, 100, 20);
    QCOMPARE(bar.grab().toImage().pixelColor(4, 10), QColor(Qt::white)); // drawn as it is
    bar.SetReplaceImageWhite(true);
    QCOMPARE(bar.grab().toImage().pixelColor(4, 10), QColor(Qt::red));
    bar.SetButtonColorDisabled(Qt::blue);
    bar.setEnabled(false);
    QCOMPARE(bar.grab().toImage().pixelColor(4, 10), QColor(Qt::blue));
}

void TestZTrackBar::TypeByName()
{
    ZTrackBar bar;
    QVERIFY(bar.setProperty("Type", QStringLiteral("HslColorS")));
    QCOMPARE(bar.Type(), ZTrackBar::HslColorS);
    QVERIFY(bar.setProperty("Orientation", QStringLiteral("Vertical")));
    QCOMPARE(bar.Orientation(), OrientationType::Vertical);
    QVERIFY(bar.setProperty("SudokuTBLR", QRect(1, 2, 3, 4)));
    QCOMPARE(bar.property("ButtonColorDisabled").value<QColor>(), QColor());
    QVERIFY(QMetaType::type("ZTrackBar::TrackType") != QMetaType::UnknownType);
}

QTEST_MAIN(TestZTrackBar)
#include "tst_ZTrackBar.moc"
