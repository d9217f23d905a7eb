// The drive list's picture, drawn in code and written below client/resources by the mainform-draw-images
// target. The picture fills its 54 x 28 label exactly: a style sheet background repeats a smaller image.
#include "IconDrawing.h"

#include <QLinearGradient>

// A hard disk seen from the front: a grey case lit from above, a darker front strip with a status light and
// a few vents.
VELOUR_DRAWING("StorageControl/HardDisk.png", 54, 28)
{
    const QRectF body(5.5, 3.5, 43, 21);
    QLinearGradient light(body.topLeft(), body.bottomLeft());
    light.setColorAt(0.0, QColor(236, 238, 241));
    light.setColorAt(1.0, QColor(196, 200, 206));
    p.setPen(QPen(QColor(140, 145, 152), 1));
    p.setBrush(light);
    p.drawRoundedRect(body, 4, 4);

    const QRectF front(8.5, 15.5, 37, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 155, 162));
    p.drawRoundedRect(front, 2, 2);

    p.setBrush(QColor(96, 200, 110));
    p.drawEllipse(QPointF(41.5, 18.5), 1.6, 1.6);

    p.setBrush(QColor(120, 125, 132));
    for (int i = 0; i < 4; ++i)
        p.drawRect(QRectF(11.5 + i * 4, 17.5, 2, 2));

    p.setPen(QPen(QColor(255, 255, 255, 160), 1));
    p.drawLine(QPointF(9, 5.5), QPointF(45, 5.5));
}
