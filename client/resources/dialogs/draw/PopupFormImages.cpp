// The pictures of the pop-ups, 80 x 80, drawn in white on transparent: the pop-ups draw them recoloured in the
// theme colour (their white is replaced). A ringing handset for the call pop-up, a note with a pen for the
// record pop-up.
#include "IconDrawing.h"

#include <QPainterPath>

static void Handset(QPainter& p, const QColor& color)
{
    QPainterPath handset;
    handset.moveTo(18, 22);
    handset.cubicTo(14, 26, 14, 34, 20, 44);
    handset.cubicTo(27, 55, 36, 63, 47, 67);
    handset.cubicTo(53, 69, 58, 67, 61, 63);
    handset.lineTo(53, 54);
    handset.cubicTo(50, 52, 47, 53, 45, 55);
    handset.cubicTo(38, 52, 31, 45, 28, 38);
    handset.cubicTo(30, 36, 31, 33, 29, 30);
    handset.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPath(handset);
}

VELOUR_DRAWING("PopupForm/IncomingRing.png", 80, 80)
{
    Handset(p, Qt::white);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(38, 14, 28, 28), 0 * 16, 90 * 16);
    p.drawArc(QRectF(32, 6, 44, 44), 0 * 16, 90 * 16);
}

VELOUR_DRAWING("PopupForm/EditNotes.png", 80, 80)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawRoundedRect(QRectF(14, 10, 42, 58), 4, 4);
    for (int y : {24, 34, 44})
        p.drawLine(QPointF(22, y), QPointF(46, y));
    // The pen across the lower right corner.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    const QPointF pen[] = {{64, 34}, {72, 42}, {48, 66}, {38, 70}, {40, 58}};
    p.drawPolygon(pen, 5);
}
