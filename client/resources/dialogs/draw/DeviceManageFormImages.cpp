// The device management page's two strip buttons: white glyphs on transparent, drawn over the button's theme
// colour.
#include "IconDrawing.h"

// Add a device: a plus sign.
VELOUR_DRAWING("DeviceManageForm/AddDeviceButton.png", 15, 15)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(3, 7, 9, 1), Qt::white);
    p.fillRect(QRect(7, 3, 1, 9), Qt::white);
}

// Search the network: a magnifying glass.
VELOUR_DRAWING("DeviceManageForm/FindDeviceButton.png", 18, 15)
{
    p.setPen(QPen(Qt::white, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(8.0, 6.5), 3.6, 3.6);
    p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.7, 9.2), QPointF(13.3, 11.8));
}
