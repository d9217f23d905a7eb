// The library's own icon (widget box of Qt Designer): a rounded panel with a docked title strip.
#include "IconDrawing.h"

#include <QPainterPath>

static void DrawVelour(QPainter& p)
{
    const QColor body(72, 118, 196);
    const QColor strip(40, 70, 130);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(2.5, 3.5, 27, 25), 4, 4);
    p.fillPath(outline, body);
    p.save();
    p.setClipPath(outline);
    p.fillRect(QRectF(2, 3, 28, 7), strip);
    p.restore();
    p.setPen(QPen(QColor(255, 255, 255, 220), 1.5));
    p.drawLine(QPointF(7, 16), QPointF(25, 16));
    p.drawLine(QPointF(7, 21), QPointF(19, 21));
    p.setPen(QPen(QColor(20, 40, 80), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(outline);
}

// The same drawing as a PNG and as the icon file that Qt Designer's widget box shows.
static IconDrawingRegistration velourPng(QStringLiteral("Icons/Velour.png"), 32, 32, DrawVelour);
static IconDrawingRegistration velourIco(QStringLiteral("Icons/Velour.ico"), 32, 32, DrawVelour);
