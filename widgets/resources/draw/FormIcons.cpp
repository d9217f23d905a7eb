// The frameless window's images: the four system button glyphs (white on transparent, recoloured by the
// form) and the two drop shadows around a window (nine-patch sources with 16-pixel margins, empty middle).
#include "IconDrawing.h"

#include <QtMath>

static void Glyph(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(Qt::NoBrush);
}

VELOUR_DRAWING("Icons/ZForm/MinimizeButton.png", 10, 10)
{
    Glyph(p);
    p.drawLine(0, 5, 9, 5);
}

VELOUR_DRAWING("Icons/ZForm/MaximizeButton.png", 10, 10)
{
    Glyph(p);
    p.drawRect(0, 0, 9, 9);
}

VELOUR_DRAWING("Icons/ZForm/RestoreButton.png", 10, 10)
{
    Glyph(p);
    p.drawRect(0, 2, 7, 7);
    p.drawLine(2, 0, 9, 0);
    p.drawLine(9, 0, 9, 7);
    p.drawLine(2, 0, 2, 1);
    p.drawLine(8, 7, 9, 7);
}

VELOUR_DRAWING("Icons/ZForm/CloseButton.png", 10, 10)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Qt::white, 1.2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(0.5, 0.5), QPointF(9.5, 9.5));
    p.drawLine(QPointF(9.5, 0.5), QPointF(0.5, 9.5));
}

// A soft shadow falling off with the distance from the window's edge (power 1.5: dark at the edge, a long
// faint tail).
static void Shadow(QPainter& p, int strongest)
{
    const int size = 48;
    const double margin = 16.0;
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double cx = x + 0.5;
            const double cy = y + 0.5;
            const double dx = qMax(0.0, qMax(margin - cx, cx - (size - margin)));
            const double dy = qMax(0.0, qMax(margin - cy, cy - (size - margin)));
            const double d = qSqrt(dx * dx + dy * dy);
            if (d <= 0.0 || d >= margin)
                continue;
            const double f = 1.0 - d / margin;
            image.setPixel(x, y, qRgba(0, 0, 0, qRound(strongest * f * qSqrt(f))));
        }
    }
    p.drawImage(0, 0, image);
}

VELOUR_DRAWING("Icons/ZForm/ShadowActive.png", 48, 48)
{
    Shadow(p, 75);
}

VELOUR_DRAWING("Icons/ZForm/ShadowInactive.png", 48, 48)
{
    Shadow(p, 38);
}
