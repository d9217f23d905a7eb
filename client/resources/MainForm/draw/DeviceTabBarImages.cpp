// The device tab bar's arrows, white on transparent: the bar draws their white pixels grey, or in the theme
// colour under the mouse. Each is 10 x 20, the arrow centred on the 20-pixel height of a tab.
#include "IconDrawing.h"

#include <QPainterPath>

namespace {

const QColor kWhite(255, 255, 255);

// An open arrow head through three points, drawn with a 1.6-pixel round stroke.
void Chevron(QPainter& p, QPointF a, QPointF tip, QPointF b)
{
    p.setPen(QPen(kWhite, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(a);
    path.lineTo(tip);
    path.lineTo(b);
    p.drawPath(path);
}

} // namespace

// Scrolls the tabs back towards the first one.
VELOUR_DRAWING("DeviceTabBar/PrevButton.png", 10, 20)
{
    Chevron(p, QPointF(6.5, 5.5), QPointF(2.5, 10), QPointF(6.5, 14.5));
}

// Scrolls the tabs on towards the last one.
VELOUR_DRAWING("DeviceTabBar/NextButton.png", 10, 20)
{
    Chevron(p, QPointF(3.5, 5.5), QPointF(7.5, 10), QPointF(3.5, 14.5));
}

// Opens the list of every device: a filled triangle pointing down.
VELOUR_DRAWING("DeviceTabBar/MoreDeviceButton.png", 10, 20)
{
    QPainterPath path;
    path.moveTo(1, 7.5);
    path.lineTo(9, 7.5);
    path.lineTo(5, 12.5);
    path.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kWhite);
    p.drawPath(path);
}
