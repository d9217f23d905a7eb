// The grid's check marks: white on transparent, recoloured by the grid to its CheckFlagColor.
#include "IconDrawing.h"

#include <QPainterPath>

namespace {
void DrawCheckFrame(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Qt::white, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(1.5, 1.5, 11.0, 11.0), 2.0, 2.0);
}
} // namespace

VELOUR_DRAWING("Icons/GridList/Uncheck.png", 14, 14)
{
    DrawCheckFrame(p);
}

VELOUR_DRAWING("Icons/GridList/Checked.png", 14, 14)
{
    DrawCheckFrame(p);
    QPainterPath tick;
    tick.moveTo(3.8, 7.2);
    tick.lineTo(6.0, 9.5);
    tick.lineTo(10.3, 4.6);
    p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
}
