// The wait panel's spinner, 8 frames of 100 x 100: eight dots on a ring, the leading dot white (the panel
// recolours white to the theme colour) and the seven behind it grey, fading with their distance from it.
#include "IconDrawing.h"

#include <QtMath>

static void SpinnerFrame(QPainter& p, int lead)
{
    p.setPen(Qt::NoPen);
    for (int dot = 0; dot < 8; ++dot) {
        const qreal angle = qDegreesToRadians(-90.0 + 45.0 * dot);
        const QPointF centre(50 + 30 * qCos(angle), 50 + 30 * qSin(angle));
        const int behind = (lead - dot + 8) % 8;
        if (behind == 0)
            p.setBrush(Qt::white);
        else
            p.setBrush(QColor(160, 160, 160, 200 - 22 * behind));
        const qreal radius = behind == 0 ? 8.0 : 7.0 - 0.4 * behind;
        p.drawEllipse(centre, radius, radius);
    }
}

VELOUR_DRAWING("WaitForm/1.png", 100, 100) { SpinnerFrame(p, 0); }
VELOUR_DRAWING("WaitForm/2.png", 100, 100) { SpinnerFrame(p, 1); }
VELOUR_DRAWING("WaitForm/3.png", 100, 100) { SpinnerFrame(p, 2); }
VELOUR_DRAWING("WaitForm/4.png", 100, 100) { SpinnerFrame(p, 3); }
VELOUR_DRAWING("WaitForm/5.png", 100, 100) { SpinnerFrame(p, 4); }
VELOUR_DRAWING("WaitForm/6.png", 100, 100) { SpinnerFrame(p, 5); }
VELOUR_DRAWING("WaitForm/7.png", 100, 100) { SpinnerFrame(p, 6); }
VELOUR_DRAWING("WaitForm/8.png", 100, 100) { SpinnerFrame(p, 7); }
