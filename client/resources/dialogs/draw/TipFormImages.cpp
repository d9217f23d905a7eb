// The message box's two icons, 50 x 50: a green disc with a tick (success) and a red disc with a cross (error).
#include "IconDrawing.h"

static void Disc(QPainter& p, const QColor& color)
{
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(QRectF(3, 3, 44, 44));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 4.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

VELOUR_DRAWING("TipForm/Correct.png", 50, 50)
{
    Disc(p, QColor(76, 175, 80));
    const QPointF tick[] = {{14.5, 25.5}, {22, 33}, {36, 18.5}};
    p.drawPolyline(tick, 3);
}

VELOUR_DRAWING("TipForm/Error.png", 50, 50)
{
    Disc(p, QColor(235, 87, 87));
    p.drawLine(QPointF(17, 17), QPointF(33, 33));
    p.drawLine(QPointF(33, 17), QPointF(17, 33));
}
