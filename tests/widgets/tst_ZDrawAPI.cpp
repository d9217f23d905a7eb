#include "SudokuPatch.h"
#include "ZDrawAPI.h"

#include <QPainter>
#include <QPushButton>
#include <QtTest>

class TestZDrawAPI : public QObject
{
    Q_OBJECT

private slots:
    void ComputeAlphaColor_data();
    void ComputeAlphaColor();
    void ImageReplaceWhite_keepsAlphaAndSkipsNearWhite();
    void ImageReplaceWhite_convertsOtherFormats_data();
    void ImageReplaceWhite_convertsOtherFormats();
    void ImageReplaceColor_ignoresNullImageAndInvalidColour();
    void DrawBorder_squareSidesHitExactPixels();
    void DrawBorder_nothingForZeroWidthOrNoSides();
    void DrawBackColor_roundedFillsInsideCorners();
    void DrawImage_centresInRectangleSize();
    void SudokuPatch_keepsCornersAndStretchesRest();
    void SudokuPatch_sourceSmallerThanMarginsIsTransparent();
    void GetChildAt_descendsAndSkips();
};

void TestZDrawAPI::ComputeAlphaColor_data()
{
    QTest::addColumn<QColor>("first");
    QTest::addColumn<QColor>("second");
    QTest::addColumn<int>("weight");
    QTest::addColumn<QColor>("expected");
    const QColor black(0, 0, 0), white(255, 255, 255);
    QTest::newRow("half") << black << white << 128 << QColor(128, 128, 128, 255);
    QTest::newRow("zero gives first") << QColor(10, 20, 30) << white << 0 << QColor(10, 20, 30);
    QTest::newRow("negative gives first") << QColor(10, 20, 30) << white << -5 << QColor(10, 20, 30);
    QTest::newRow("255 gives second") << black << QColor(1, 2, 3) << 255 << QColor(1, 2, 3);
    QTest::newRow("1000 gives second") << black << QColor(1, 2, 3) << 1000 << QColor(1, 2, 3);
    // (200 * 155 + 100 * 100) / 255 = 160.78 -> 160; (0 * 155 + 255 * 100) / 255 = 100
    QTest::newRow("truncates") << QColor(200, 0, 50) << QColor(100, 255, 50) << 100 << QColor(160, 100, 50);
    QTest::newRow("alpha is opaque") << QColor(0, 0, 0, 10) << QColor(255, 255, 255, 20) << 1 << QColor(1, 1, 1, 255);
}

void TestZDrawAPI::ComputeAlphaColor()
{
    QFETCH(QColor, first);
    QFETCH(QColor, second);
    QFETCH(int, weight);
    QFETCH(QColor, expected);
    QCOMPARE(ZDrawAPI::ComputeAlphaColor(first, second, weight).rgba(), expected.rgba());
}

void TestZDrawAPI::ImageReplaceWhite_keepsAlphaAndSkipsNearWhite()
{
    QImage image(3, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(255, 255, 255, 128)); // half-transparent white
    image.setPixel(1, 0, qRgba(254, 255, 255, 255)); // near white
    image.setPixel(2, 0, qRgba(255, 255, 255, 255));
    ZDrawAPI::ImageReplaceWhite(image, QColor(10, 20, 30));
    QCOMPARE(image.pixel(0, 0), qRgba(10, 20, 30, 128));
    QCOMPARE(image.pixel(1, 0), qRgba(254, 255, 255, 255));
    QCOMPARE(image.pixel(2, 0), qRgba(10, 20, 30, 255));
}

void TestZDrawAPI::ImageReplaceWhite_convertsOtherFormats_data()
{
    QTest::addColumn<int>("format");
    QTest::newRow("indexed") << int(QImage::Format_Indexed8);
    QTest::newRow("mono") << int(QImage::Format_Mono);
    QTest::newRow("24-bit") << int(QImage::Format_RGB888);
    QTest::newRow("16-bit") << int(QImage::Format_RGB16);
    QTest::newRow("premultiplied") << int(QImage::Format_ARGB32_Premultiplied);
    QTest::newRow("rgb32") << int(QImage::Format_RGB32);
}

// Images that are not 32-bit unpremultiplied are converted first: an 8-bit or 24-bit buffer walked as 32-bit
// pixels would be overrun (caught by the address sanitizer), a premultiplied half-white would not match.
void TestZDrawAPI::ImageReplaceWhite_convertsOtherFormats()
{
    QFETCH(int, format);
    QImage source(37, 23, QImage::Format_ARGB32);
    source.fill(qRgba(0, 0, 0, 255));
    for (int x = 0; x < 37; ++x)
        source.setPixel(x, 11, qRgba(255, 255, 255, 255));
    QImage image = source.convertToFormat(QImage::Format(format), Qt::ThresholdDither);
    QVERIFY(!image.isNull());
    ZDrawAPI::ImageReplaceWhite(image, QColor(0, 128, 255));
    QVERIFY(image.format() == QImage::Format_ARGB32 || image.format() == QImage::Format_RGB32);
    QCOMPARE(image.pixel(18, 11), qRgba(0, 128, 255, 255));
    QCOMPARE(image.pixel(36, 11), qRgba(0, 128, 255, 255));
    QCOMPARE(image.pixel(18, 3), qRgba(0, 0, 0, 255));

    // Half-transparent white, premultiplied in memory, is still white.
    QImage premultiplied(4, 4, QImage::Format_ARGB32_Premultiplied);
    premultiplied.fill(QColor(255, 255, 255, 128));
    ZDrawAPI::ImageReplaceWhite(premultiplied, QColor(255, 0, 0));
    QCOMPARE(qAlpha(premultiplied.pixel(1, 1)), 128);
    QCOMPARE(premultiplied.pixelColor(1, 1).red(), 255);
    QCOMPARE(premultiplied.pixelColor(1, 1).green(), 0);
}

void TestZDrawAPI::ImageReplaceColor_ignoresNullImageAndInvalidColour()
{
    QImage null;
    ZDrawAPI::ImageReplaceWhite(null, Qt::red);
    QVERIFY(null.isNull());
    QImage image(2, 2, QImage::Format_Indexed8);
    image.setColorCount(1);
    image.setColor(0, qRgb(255, 255, 255));
    image.fill(0);
    ZDrawAPI::ImageReplaceWhite(image, QColor());
    QCOMPARE(image.format(), QImage::Format_Indexed8); // untouched, not even converted
}

static QImage Canvas(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

void TestZDrawAPI::DrawBorder_squareSidesHitExactPixels()
{
    QImage image = Canvas(10, 10);
    {
        QPainter p(&image);
        ZDrawAPI::DrawBorder(&p, QRect(0, 0, 10, 10), 0, QColor(200, 0, 0), PositionFlag::Top | PositionFlag::Left, 2);
    }
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const bool expected = x < 2 || y < 2;
            QCOMPARE(image.pixel(x, y), expected ? qRgba(200, 0, 0, 255) : qRgba(0, 0, 0, 0));
        }
    }

    // Bottom|Right width 1 on a rectangle placed elsewhere: only its size counts.
    QImage other = Canvas(10, 10);
    {
        QPainter p(&other);
        ZDrawAPI::DrawBorder(&p, QRect(50, 50, 10, 10), 0, QColor(0, 0, 200), PositionFlag::Bottom | PositionFlag::Right, 1);
    }
    QCOMPARE(other.pixel(9, 0), qRgba(0, 0, 200, 255));
    QCOMPARE(other.pixel(0, 9), qRgba(0, 0, 200, 255));
    QCOMPARE(other.pixel(8, 8), qRgba(0, 0, 0, 0));
}

void TestZDrawAPI::DrawBorder_nothingForZeroWidthOrNoSides()
{
    QImage image = Canvas(10, 10);
    {
        QPainter p(&image);
        ZDrawAPI::DrawBorder(&p, image.rect(), 0, Qt::red, PositionFlag::All, 0);
        ZDrawAPI::DrawBorder(&p, image.rect(), 0, Qt::red, PositionFlag::All, -3);
        ZDrawAPI::DrawBorder(&p, image.rect(), 0, Qt::red, PositionFlag::None, 2);
        ZDrawAPI::DrawBorder(&p, image.rect(), 3, QColor(255, 0, 0, 0), PositionFlag::All, 2);
    }
    QCOMPARE(image, Canvas(10, 10));
}

void TestZDrawAPI::DrawBackColor_roundedFillsInsideCorners()
{
    QImage image = Canvas(100, 30);
    {
        QPainter p(&image);
        ZDrawAPI::DrawBackColor(&p, QRect(0, 0, 100, 30), 4, QColor(0, 150, 0), 1);
        QVERIFY(!p.testRenderHint(QPainter::Antialiasing)); // left as it was found
    }
    QCOMPARE(image.pixel(50, 15), qRgba(0, 150, 0, 255));
    QCOMPARE(image.pixel(2, 15), qRgba(0, 150, 0, 255));
    QCOMPARE(image.pixel(97, 15), qRgba(0, 150, 0, 255));
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);   // rounded corner
    QCOMPARE(qAlpha(image.pixel(99, 29)), 0); // rounded corner

    QImage square = Canvas(20, 20);
    {
        QPainter p(&square);
        ZDrawAPI::DrawBackColor(&p, QRect(5, 5, 10, 10), 0, QColor(1, 2, 3), 7);
        ZDrawAPI::DrawBackColor(&p, QRect(0, 0, 20, 20), 0, QColor(9, 9, 9, 0), 0); // transparent: nothing
    }
    QCOMPARE(square.pixel(5, 5), qRgba(1, 2, 3, 255));
    QCOMPARE(square.pixel(14, 14), qRgba(1, 2, 3, 255));
    QCOMPARE(qAlpha(square.pixel(4, 4)), 0);
    QCOMPARE(qAlpha(square.pixel(15, 15)), 0);
}

void TestZDrawAPI::DrawImage_centresInRectangleSize()
{
    QImage dot(3, 3, QImage::Format_ARGB32);
    dot.fill(QColor(0, 0, 255));
    QImage image = Canvas(20, 20);
    {
        QPainter p(&image);
        // (10 - 3) / 2 = 3; the rectangle's position (100, 100) is not added.
        ZDrawAPI::DrawImage(&p, QRect(100, 100, 10, 10), dot);
        ZDrawAPI::DrawImage(&p, 15, 15, dot);
        ZDrawAPI::DrawImage(&p, 0, 0, QImage());
    }
    QCOMPARE(image.pixel(3, 3), qRgba(0, 0, 255, 255));
    QCOMPARE(image.pixel(5, 5), qRgba(0, 0, 255, 255));
    QCOMPARE(qAlpha(image.pixel(2, 2)), 0);
    QCOMPARE(qAlpha(image.pixel(6, 6)), 0);
    QCOMPARE(image.pixel(15, 15), qRgba(0, 0, 255, 255));
    QCOMPARE(qAlpha(image.pixel(14, 14)), 0);
}

// A 48 x 48 source, margins 16: nine regions in distinct colours, plus one marker pixel in three corners
// that must land at the same offset from its corner after the resize (corners are not scaled).
void TestZDrawAPI::SudokuPatch_keepsCornersAndStretchesRest()
{
    const QRgb colours[9] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 0), qRgb(0, 255, 255),
                             qRgb(255, 0, 255), qRgb(128, 0, 0), qRgb(0, 128, 0), qRgb(0, 0, 128)};
    QImage source(48, 48, QImage::Format_ARGB32);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x)
            source.setPixel(x, y, colours[(y / 16) * 3 + x / 16]);
    const QRgb marker = qRgb(17, 34, 51);
    source.setPixel(3, 5, marker);   // top-left
    source.setPixel(42, 2, marker);  // top-right: 10 px into the corner
    source.setPixel(40, 44, marker); // bottom-right
    SudokuPatch patch(QPixmap::fromImage(source), 16, 16, 16, 16);
    QVERIFY(patch.Size().isNull() || patch.Size().isEmpty());
    patch.Resize(QSize(200, 100));
    QCOMPARE(patch.Size(), QSize(200, 100));
    QImage result = patch.Result().toImage().convertToFormat(QImage::Format_ARGB32);

    QCOMPARE(result.pixel(3, 5), marker);
    QCOMPARE(result.pixel(200 - 16 + 10, 2), marker);
    QCOMPARE(result.pixel(200 - 8, 100 - 4), marker);
    QCOMPARE(result.pixel(15, 15), colours[0]);
    QCOMPARE(result.pixel(100, 8), colours[1]);
    QCOMPARE(result.pixel(199, 0), colours[2]);
    QCOMPARE(result.pixel(8, 50), colours[3]);
    QCOMPARE(result.pixel(16, 16), colours[4]);
    QCOMPARE(result.pixel(100, 50), colours[4]);
    QCOMPARE(result.pixel(183, 83), colours[4]);
    QCOMPARE(result.pixel(190, 50), colours[5]);
    QCOMPARE(result.pixel(0, 99), colours[6]);
    QCOMPARE(result.pixel(100, 90), colours[7]);
    QCOMPARE(result.pixel(184, 84), colours[8]);

    patch.SkipCenter = true;
    patch.Resize(QSize(200, 100));
    result = patch.Result().toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(qAlpha(result.pixel(100, 50)), 0);
    QCOMPARE(qAlpha(result.pixel(16, 16)), 0);
    QCOMPARE(result.pixel(100, 8), colours[1]);
    QCOMPARE(result.pixel(3, 5), marker);

    // Smaller than the margins: the edges and centre have no room and are left out, the corners overlap.
    patch.Resize(QSize(20, 20));
    QCOMPARE(patch.Size(), QSize(20, 20));
}

void TestZDrawAPI::SudokuPatch_sourceSmallerThanMarginsIsTransparent()
{
    QImage source(20, 20, QImage::Format_ARGB32);
    source.fill(Qt::red);
    SudokuPatch patch(QPixmap::fromImage(source), 16, 16, 16, 16);
    QCOMPARE(patch.Top() + patch.Bottom() + patch.Left() + patch.Right(), 0);
    patch.Resize(QSize(64, 40));
    const QImage result = patch.Result().toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(result.size(), QSize(64, 40));
    for (const QPoint& pt : {QPoint(0, 0), QPoint(32, 20), QPoint(63, 39)})
        QCOMPARE(qAlpha(result.pixel(pt)), 0);

    SudokuPatch negative(QPixmap::fromImage(source), -4, 0, 0, 0);
    negative.Resize(QSize(8, 8));
    QCOMPARE(qAlpha(negative.Result().toImage().pixel(4, 4)), 0);
}

void TestZDrawAPI::GetChildAt_descendsAndSkips()
{
    QWidget root;
    root.resize(200, 200);
    auto* panel = new QWidget(&root);
    panel->setGeometry(10, 10, 100, 100);
    auto* button = new QPushButton(panel);
    button->setGeometry(20, 20, 30, 30);
    auto* hidden = new QWidget(&root);
    hidden->setGeometry(150, 150, 40, 40);
    hidden->hide();
    root.show();

    QPoint point(35, 35);
    QCOMPARE(ZDrawAPI::GetChildAt(&root, point, true, true), static_cast<QWidget*>(button));
    QCOMPARE(point, QPoint(5, 5));

    button->setEnabled(false);
    point = QPoint(35, 35);
    QCOMPARE(ZDrawAPI::GetChildAt(&root, point, true, true), panel);
    QCOMPARE(point, QPoint(25, 25));
    point = QPoint(35, 35);
    QCOMPARE(ZDrawAPI::GetChildAt(&root, point, true, false), static_cast<QWidget*>(button));

    point = QPoint(160, 160);
    QCOMPARE(ZDrawAPI::GetChildAt(&root, point, true, true), &root);
    point = QPoint(160, 160);
    QCOMPARE(ZDrawAPI::GetChildAt(&root, point, false, true), hidden);

    point = QPoint(500, 500); // outside the start widget: the start widget, point unchanged
    QCOMPARE(ZDrawAPI::GetChildAt(&root, point, true, true), &root);
    QCOMPARE(point, QPoint(500, 500));
}

QTEST_MAIN(TestZDrawAPI)
#include "tst_ZDrawAPI.moc"
