#include "ZProgressBar.h"

#include <QtTest>

namespace {

const QColor Empty(255, 255, 255);
const QColor Filled(200, 0, 0);
const QColor Frame(0, 0, 0);

// Columns of row y painted in exactly that colour.
int Columns(const QImage& image, int y, const QColor& colour)
{
    int n = 0;
    for (int x = 0; x < image.width(); ++x)
        n += image.pixelColor(x, y) == colour;
    return n;
}

// The widget painted on a transparent ground (grab() would fill the window background first).
QImage Shot(QWidget& w)
{
    QImage image(w.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    w.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}

} // namespace

class TestZProgressBar : public QObject
{
    Q_OBJECT

private slots:
    void Clamping_data();
    void Clamping();
    void SquareFill_data();
    void SquareFill();
    void SquareWithBorder();
    void Rounded();
};

void TestZProgressBar::Clamping_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("stored");
    QTest::newRow("below") << -5 << 0;
    QTest::newRow("far below") << INT_MIN << 0;
    QTest::newRow("zero") << 0 << 0;
    QTest::newRow("one") << 1 << 1;
    QTest::newRow("inside") << 57 << 57;
    QTest::newRow("full") << 100 << 100;
    QTest::newRow("above") << 250 << 100;
    QTest::newRow("far above") << INT_MAX << 100;
}

void TestZProgressBar::Clamping()
{
    QFETCH(int, set);
    QFETCH(int, stored);
    ZProgressBar bar;
    QCOMPARE(bar.Value(), 0);
    bar.SetValue(set);
    QCOMPARE(bar.Value(), stored);
    QVERIFY(bar.setProperty("Value", set));
    QCOMPARE(bar.property("Value").toInt(), stored);
}

void TestZProgressBar::SquareFill_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("percent");
    QTest::addColumn<int>("filled");
    QTest::newRow("101 px at 50 %") << 101 << 50 << 50;
    QTest::newRow("101 px at 0 %") << 101 << 0 << 0;
    QTest::newRow("101 px at 1 %") << 101 << 1 << 1;
    QTest::newRow("101 px at 100 %") << 101 << 100 << 101;
    QTest::newRow("200 px at 33 %") << 200 << 33 << 66;
    QTest::newRow("50 px at 1 %") << 50 << 1 << 0;
}

void TestZProgressBar::SquareFill()
{
    QFETCH(int, width);
    QFETCH(int, percent);
    QFETCH(int, filled);
    ZProgressBar bar;
    bar.resize(width, 12);
    bar.SetBackColor(Empty);
    bar.SetForeColor(Filled);
    bar.SetValue(percent);
    const QImage image = Shot(bar);
    for (int y : {0, 6, 11}) {
        QCOMPARE(Columns(image, y, Filled), filled);
        QCOMPARE(Columns(image, y, Empty), width - filled);
    }
    if (filled > 0)
        QCOMPARE(image.pixelColor(0, 6), Filled); // filled from the left
}

void TestZProgressBar::SquareWithBorder()
{
    ZProgressBar bar;
    bar.resize(104, 14);
    bar.SetBackColor(Empty);
    bar.SetForeColor(Filled);
    bar.SetBorderColor(Frame);
    bar.SetBorder(PositionFlag::All);
    bar.SetBorderWidth(2);
    bar.SetValue(50);
    const QImage image = Shot(bar);
    // The fill starts inside the border and covers W * 50 / 100 columns.
    QCOMPARE(image.pixelColor(1, 7), Frame);
    QCOMPARE(image.pixelColor(2, 7), Filled);
    QCOMPARE(Columns(image, 7, Filled), 52);
    QCOMPARE(image.pixelColor(2, 1), Frame);
    QCOMPARE(image.pixelColor(2, 12), Frame);
}

void TestZProgressBar::Rounded()
{
    ZProgressBar bar;
    bar.resize(120, 20);
    bar.SetRadius(6);
    bar.SetBackColor(Empty);
    bar.SetForeColor(Filled);
    bar.SetBorderColor(Frame);
    bar.SetBorderWidth(1);

    // At 0 % only the background and the outline.
    QImage image = Shot(bar);
    QCOMPARE(Columns(image, 10, Filled), 0);
    QCOMPARE(image.pixelColor(60, 10), Empty);
    QCOMPARE(image.pixelColor(0, 10), Frame);
    QCOMPARE(image.pixelColor(119, 10), Frame);
    QCOMPARE(image.pixelColor(0, 0).alpha(), 0); // the corner is cut off

    bar.SetValue(50);
    image = Shot(bar);
    QCOMPARE(image.pixelColor(20, 10), Filled);
    QCOMPARE(image.pixelColor(50, 10), Filled);
    QCOMPARE(image.pixelColor(80, 10), Empty);
    // The outline is whole whatever the fill.
    QCOMPARE(image.pixelColor(0, 10), Frame);
    QCOMPARE(image.pixelColor(119, 10), Frame);
    QCOMPARE(image.pixelColor(30, 0), Frame);

    // No border width, no outline.
    bar.SetBorderWidth(0);
    image = Shot(bar);
    QCOMPARE(image.pixelColor(30, 0), Filled);
    QCOMPARE(image.pixelColor(90, 19), Empty);
}

QTEST_MAIN(TestZProgressBar)
#include "tst_ZProgressBar.moc"
