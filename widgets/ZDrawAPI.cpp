#include "ZDrawAPI.h"

#include <QPainter>
#include <QPainterPath>
#include <QWidget>

QColor ZDrawAPI::ComputeAlphaColor(const QColor& first, QColor second, int weight)
{
    const int w = weight < 1 ? 0 : (weight >= 256 ? 255 : weight);
    auto mix = [w](int a, int b) { return (a * (255 - w) + b * w) / 255; };
    return QColor(mix(first.red(), second.red()), mix(first.green(), second.green()),
                  mix(first.blue(), second.blue()), 255);
}

void ZDrawAPI::ImageReplaceColor(QImage& image, const QColor& from, const QColor& to)
{
    if (image.isNull() || !to.isValid())
        return;
    // The pixel loop below reads 32-bit unpremultiplied pixels. Anything else (indexed, 24-bit, 16-bit,
    // premultiplied) is converted first: an indexed image would be overrun, a premultiplied one would
    // never match white where it is half transparent.
    if (image.format() != QImage::Format_ARGB32 && image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_ARGB32);
    if (image.isNull())
        return;
    const QRgb fromRgb = from.rgb() & 0x00FFFFFFu;
    const QRgb toRgb = to.rgb() & 0x00FFFFFFu;
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if ((line[x] & 0x00FFFFFFu) == fromRgb)
                line[x] = (line[x] & 0xFF000000u) | toRgb;
        }
    }
}

void ZDrawAPI::ImageReplaceWhite(QImage& image, const QColor& to)
{
    ImageReplaceColor(image, QColor(255, 255, 255), to);
}

// The rounded outline shared by the background and the border: inset by half the border width so that a
// stroke of that width lies inside the rectangle, on half-pixel coordinates for crisp antialiasing.
static QPainterPath RoundedPath(const QRect& r, int radius, int borderWidth)
{
    const int m = borderWidth / 2;
    const int o = borderWidth % 2;
    QPainterPath path;
    path.addRoundedRect(QRectF(r.left() + m + o - 0.5, r.top() + m + o - 0.5, r.width() - borderWidth - o + 1,
                               r.height() - borderWidth - o + 1),
                        radius, radius, Qt::AbsoluteSize);
    return path;
}

void ZDrawAPI::DrawBackColor(QPainter* p, const QRect& r, int radius, const QColor& color, int borderWidth)
{
    // An invalid colour (not set yet: colours come from the skin) draws nothing, as a transparent one.
    if (!color.isValid() || color.alpha() == 0)
        return;
    if (radius < 1) {
        p->fillRect(r, color);
        return;
    }
    const QPainterPath path = RoundedPath(r, radius, borderWidth);
    const bool wasAntialiased = p->testRenderHint(QPainter::Antialiasing);
    p->setRenderHint(QPainter::Antialiasing, true);
    p->fillPath(path, QBrush(color, Qt::SolidPattern));
    p->setRenderHint(QPainter::Antialiasing, wasAntialiased);
}

void ZDrawAPI::DrawBorder(QPainter* p, const QRect& r, int radius, const QColor& color,
                          QFlags<PositionFlag::Flag> sides, int width)
{
    if (width == 0 || sides == PositionFlag::None || !color.isValid() || color.alpha() == 0)
        return;
    if (radius < 1) {
        p->setPen(QPen(color));
        const int w = r.right() - r.left();
        const int h = r.bottom() - r.top();
        for (int i = 0; i < width; ++i) {
            if (sides & PositionFlag::Top)
                p->drawLine(0, i, w, i);
            if (sides & PositionFlag::Bottom)
                p->drawLine(0, h - i, w, h - i);
            if (sides & PositionFlag::Left)
                p->drawLine(i, 0, i, h);
            if (sides & PositionFlag::Right)
                p->drawLine(w - i, 0, w - i, h);
        }
        return;
    }
    const QPainterPath path = RoundedPath(r, radius, width);
    const bool wasAntialiased = p->testRenderHint(QPainter::Antialiasing);
    p->setRenderHint(QPainter::Antialiasing, true);
    p->strokePath(path, QPen(QBrush(color), width, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    p->setRenderHint(QPainter::Antialiasing, wasAntialiased);
}

void ZDrawAPI::DrawImage(QPainter* p, const QRect& r, const QImage& image)
{
    if (image.isNull())
        return;
    p->drawImage(QPoint((r.width() - image.width()) / 2, (r.height() - image.height()) / 2), image);
}

void ZDrawAPI::DrawImage(QPainter* p, int x, int y, const QImage& image)
{
    if (image.isNull())
        return;
    p->drawImage(QPoint(x, y), image);
}

QWidget* ZDrawAPI::GetChildAt(QWidget* w, QPoint& point, bool skipHidden, bool skipDisabled)
{
    QWidget* current = w;
    for (;;) {
        QWidget* found = nullptr;
        const QObjectList& children = current->children();
        for (int i = children.size() - 1; i >= 0; --i) {
            QWidget* child = qobject_cast<QWidget*>(children.at(i));
            if (!child || child->isWindow())
                continue;
            if (skipHidden && child->isHidden())
                continue;
            if (skipDisabled && child->testAttribute(Qt::WA_Disabled))
                continue;
            if (child->geometry().contains(point)) {
                found = child;
                break;
            }
        }
        if (!found)
            return current;
        point -= found->pos();
        current = found;
    }
}
