// The dial pad's command buttons, 24 x 24: back (close the pad), the dial button's three states (dial out in
// green, hang up in red, unavailable in grey) and backspace.
#include "IconDrawing.h"

#include <QPainterPath>

static void Handset(QPainter& p, const QColor& color, bool hungUp)
{
    QPainterPath handset;
    handset.moveTo(5, 6);
    handset.cubicTo(4, 8, 4, 10, 6, 13);
    handset.cubicTo(8, 16, 11, 19, 14, 20);
    handset.cubicTo(16, 21, 18, 20, 19, 19);
    handset.lineTo(16.5, 16);
    handset.cubicTo(15.5, 15.5, 14.5, 15.5, 14, 16.5);
    handset.cubicTo(11.5, 15.5, 9, 13, 8, 10.5);
    handset.cubicTo(9, 10, 9, 9, 8.5, 8);
    handset.closeSubpath();
    p.save();
    if (hungUp) {
        // Put down: turned over so that the receiver points down.
        p.translate(12, 12);
        p.rotate(135);
        p.translate(-12, -12);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPath(handset);
    p.restore();
}

VELOUR_DRAWING("DialForm/DialButtonDialOut.png", 24, 24)
{
    Handset(p, QColor(60, 180, 90), false);
}

VELOUR_DRAWING("DialForm/DialButtonHangUp.png", 24, 24)
{
    Handset(p, QColor(230, 70, 70), true);
}

VELOUR_DRAWING("DialForm/DialButtonDisable.png", 24, 24)
{
    Handset(p, QColor(190, 190, 190), false);
}

VELOUR_DRAWING("DialForm/ReturnButton.png", 24, 24)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(100, 100, 100), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath back;
    back.moveTo(19, 18);
    back.cubicTo(19, 12, 15, 9, 10, 9);
    back.lineTo(5, 9);
    p.drawPath(back);
    const QPointF head[] = {{9, 5}, {5, 9}, {9, 13}};
    p.drawPolyline(head, 3);
}

VELOUR_DRAWING("DialForm/BackspaceButton.png", 24, 24)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(100, 100, 100), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF outline[] = {{8, 6}, {21, 6}, {21, 18}, {8, 18}, {3, 12}};
    p.drawPolygon(outline, 5);
    p.drawLine(QPointF(11, 9), QPointF(17, 15));
    p.drawLine(QPointF(17, 9), QPointF(11, 15));
}
