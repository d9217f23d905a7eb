// The knob of the skin colour page's three colour sliders: a white disc with a grey ring, readable over every
// hue, saturation and lightness the line behind it shows.
#include "IconDrawing.h"

VELOUR_DRAWING("SkinForm/ColorTrackBarButton.png", 13, 13)
{
    p.setPen(QPen(QColor(120, 120, 120), 1.2));
    p.setBrush(QColor(250, 250, 250));
    p.drawEllipse(QPointF(6.5, 6.5), 5.6, 5.6);
}
