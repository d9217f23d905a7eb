// Images the main window recolours with the theme: their pure white pixels become the theme colour (window and
// tray icon, monitor cells) or the text colour (calendar arrows); the style-sheet glyphs lie on theme-coloured
// backgrounds and stay white.
#include "IconDrawing.h"

#include <QPainterPath>

namespace {

const QColor kWhite(255, 255, 255);

void Fill(QPainter& p, const QColor& colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
}

QPainterPath Polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    bool first = true;
    for (const QPointF& point : points) {
        if (first)
            path.moveTo(point);
        else
            path.lineTo(point);
        first = false;
    }
    path.closeSubpath();
    return path;
}

// Headphones: the channel is being listened to.
void Headphones(QPainter& p, const QColor& c)
{
    p.setPen(QPen(c, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(2.5, 2.5, 11, 11), 0 * 16, 180 * 16);
    Fill(p, c);
    p.drawRoundedRect(QRectF(1.5, 8, 3.5, 6), 1.2, 1.2);
    p.drawRoundedRect(QRectF(11, 8, 3.5, 6), 1.2, 1.2);
}

// A loudspeaker with two waves: a recording is played into the line.
void Speaker(QPainter& p, const QColor& c)
{
    Fill(p, c);
    p.drawPath(Polygon({{1.5, 6}, {4.5, 6}, {8.5, 2.5}, {8.5, 13.5}, {4.5, 10}, {1.5, 10}}));
    p.setPen(QPen(c, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(7, 5, 5, 6), -60 * 16, 120 * 16);
    p.drawArc(QRectF(6.5, 2.5, 8, 11), -60 * 16, 120 * 16);
}

} // namespace

// The program's icon: a rounded tile (theme colour) with a light handset on it.
VELOUR_DRAWING("Icon.png", 64, 64)
{
    Fill(p, kWhite);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    Fill(p, QColor(236, 244, 250));
    const qreal s = 40.0 / 24.0;
    const QPointF o(12, 12);
    QPainterPath path;
    path.moveTo(o + QPointF(6.6, 2.0) * s);
    path.lineTo(o + QPointF(9.6, 7.4) * s);
    path.lineTo(o + QPointF(7.4, 9.6) * s);
    path.cubicTo(o + QPointF(8.8, 12.6) * s, o + QPointF(11.4, 15.2) * s, o + QPointF(14.4, 16.6) * s);
    path.lineTo(o + QPointF(16.6, 14.4) * s);
    path.lineTo(o + QPointF(22.0, 17.4) * s);
    path.lineTo(o + QPointF(22.0, 19.4) * s);
    path.cubicTo(o + QPointF(21.0, 21.8) * s, o + QPointF(18.8, 22.4) * s, o + QPointF(16.6, 21.6) * s);
    path.cubicTo(o + QPointF(10.0, 19.0) * s, o + QPointF(5.0, 14.0) * s, o + QPointF(2.4, 7.4) * s);
    path.cubicTo(o + QPointF(1.6, 5.2) * s, o + QPointF(2.2, 3.0) * s, o + QPointF(4.6, 2.0) * s);
    path.closeSubpath();
    p.drawPath(path);
}

VELOUR_DRAWING("MainForm/MonitorPage/Monitoring.png", 16, 16) { Headphones(p, kWhite); }
VELOUR_DRAWING("MainForm/MonitorPage/PlayBack.png", 16, 16) { Speaker(p, kWhite); }

// Month arrows of the calendar pop-up, drawn in the text colour on the theme-coloured navigation bar.
VELOUR_DRAWING("MainForm/DateTimeEditLeft.png", 16, 16)
{
    Fill(p, kWhite);
    p.drawPath(Polygon({{10.5, 3.5}, {10.5, 12.5}, {4.5, 8}}));
}
VELOUR_DRAWING("MainForm/DateTimeEditRight.png", 16, 16)
{
    Fill(p, kWhite);
    p.drawPath(Polygon({{5.5, 3.5}, {5.5, 12.5}, {11.5, 8}}));
}

// The date edits' drop-down arrow, on a theme-coloured square.
VELOUR_DRAWING("MainForm/DateTimeEditDropDownIcon.png", 12, 12)
{
    Fill(p, kWhite);
    p.drawPath(Polygon({{2.5, 4}, {9.5, 4}, {6, 8.5}}));
}

// Branch marks of the contacts tree: closed (pointing right) and open (pointing down).
VELOUR_DRAWING("MainForm/ContactsPage/TreeViewExpand.png", 12, 12)
{
    Fill(p, kWhite);
    p.drawPath(Polygon({{4, 2.5}, {4, 9.5}, {8.5, 6}}));
}
VELOUR_DRAWING("MainForm/ContactsPage/TreeViewNotExpand.png", 12, 12)
{
    Fill(p, kWhite);
    p.drawPath(Polygon({{2.5, 4}, {9.5, 4}, {6, 8.5}}));
}
