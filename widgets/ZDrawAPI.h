#pragma once
#include "PositionFlag.h"
#include "VelourGlobal.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>

class QPainter;
class QWidget;

// The shared painting routines of the skinned widgets. Stateless: static functions only.
class VELOUR_EXPORT ZDrawAPI
{
public:
    ZDrawAPI() = delete;

    // Blends per channel: (first * (255 - w) + second * w) / 255, w = weight limited to 0..255 (below 1 gives
    // first, 256 and above gives second). The result is opaque.
    static QColor ComputeAlphaColor(const QColor& first, QColor second, int weight);

    // Gives every pixel whose RGB equals from's RGB the RGB of to, keeping the pixel's own alpha. Nothing
    // happens for a null image or an invalid to. An image that is not 32-bit RGB/ARGB (indexed, 24-bit,
    // premultiplied ...) is converted to non-premultiplied ARGB32 first, so colours compare as drawn.
    static void ImageReplaceColor(QImage& image, const QColor& from, const QColor& to);
    // Tints a white (monochrome) icon: ImageReplaceColor(image, white, to).
    static void ImageReplaceWhite(QImage& image, const QColor& to);

    // Fills r with color; with radius >= 1 as an antialiased rounded rectangle inset by half the border
    // width, so that it meets a border of that width drawn by DrawBorder. Nothing for a transparent or invalid
    // colour.
    static void DrawBackColor(QPainter* p, const QRect& r, int radius, const QColor& color, int borderWidth);
    // Draws width pixel lines on the chosen sides of a (0, 0, r.width, r.height) rectangle (only r's size
    // counts). With radius >= 1 the whole rounded outline is stroked whatever sides holds (it must be
    // non-empty). Nothing for width 0 or below, no sides or a transparent or invalid colour.
    static void DrawBorder(QPainter* p, const QRect& r, int radius, const QColor& color,
                           QFlags<PositionFlag::Flag> sides, int width);
    // Centres the image in a rectangle of r's size placed at (0, 0) (r's position is not added).
    static void DrawImage(QPainter* p, const QRect& r, const QImage& image);
    // Draws the image with its top-left at (x, y).
    static void DrawImage(QPainter* p, int x, int y, const QImage& image);

    // The deepest child of w under point (in w's coordinates), looking at the top-most children first and
    // skipping hidden and/or disabled ones on request. Returns w itself when no child holds the point;
    // point is left in the coordinates of the returned widget.
    static QWidget* GetChildAt(QWidget* w, QPoint& point, bool skipHidden, bool skipDisabled);
};
