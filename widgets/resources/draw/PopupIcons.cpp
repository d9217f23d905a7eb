// The popups' images: the small shadow around the drop-down list and the menu (a nine-patch source with
// 6-pixel margins; the popup's body covers its top-left part, so only 4 pixels show on the right and at the
// bottom), and the combo box's arrow (white on transparent, recoloured by the combo box).
#include "IconDrawing.h"

#include <QPainterPath>
#include <QtMath>

VELOUR_DRAWING("Icons/Shadow.png", 16, 16)
{
    // The body's rectangle, shifted by one pixel down and right; the shadow fades over 4 pixels around it.
    const double left = 1.0, top = 1.0, right = 13.0, bottom = 13.0, fade = 4.0;
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const double cx = x + 0.5;
            const double cy = y + 0.5;
            const double dx = qMax(0.0, qMax(left - cx, cx - right));
            const double dy = qMax(0.0, qMax(top - cy, cy - bottom));
            const double d = qSqrt(dx * dx + dy * dy);
            if (d >= fade)
                continue;
            const double f = 1.0 - d / fade;
            image.setPixel(x, y, qRgba(0, 0, 0, qRound(46 * f * qSqrt(f))));
        }
    }
    p.drawImage(0, 0, image);
}

VELOUR_DRAWING("Icons/ComboBox/DropDownIcon.png", 12, 9)
{
    QPainterPath chevron;
    chevron.moveTo(1.5, 2.5);
    chevron.lineTo(6.0, 7.0);
    chevron.lineTo(10.5, 2.5);
    p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(chevron);
}
