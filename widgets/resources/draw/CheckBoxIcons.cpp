// The check box's tick: white on transparent, so that the check box recolours it to its flag colours.
#include "IconDrawing.h"

#include <QPainterPath>

VELOUR_DRAWING("Icons/CheckBox/CheckFlag.png", 16, 16)
{
    QPainterPath tick;
    tick.moveTo(3.5, 8.5);
    tick.lineTo(6.5, 11.5);
    tick.lineTo(12.5, 4.5);
    p.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
}
