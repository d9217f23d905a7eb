// The main window's images, drawn in code and written below client/resources by the mainform-draw-images
// target. The top-bar glyphs, the player's knob and the bookmark knob are white on transparent: the widgets
// draw their white pixels in the theme colour. The tab images lie on the tab bar's accent blue, which is the
// same in every state, so the selected image draws the selection itself (a lighter band and a marker).
#include "IconDrawing.h"

#include <QPainterPath>
#include <QtMath>

namespace {

const QColor kWhite(255, 255, 255);
const QColor kGrey(120, 120, 120);

void Fill(QPainter& p, const QColor& colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
}

void Stroke(QPainter& p, const QColor& colour, qreal width)
{
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
}

// A telephone handset, its ear at the top left and mouth at the bottom right, inside the square r.
QPainterPath Handset(const QRectF& r)
{
    const qreal s = r.width() / 24.0;
    QPainterPath path;
    path.moveTo(r.left() + 6.6 * s, r.top() + 2.0 * s);
    path.lineTo(r.left() + 9.6 * s, r.top() + 7.4 * s);
    path.lineTo(r.left() + 7.4 * s, r.top() + 9.6 * s);
    path.cubicTo(r.left() + 8.8 * s, r.top() + 12.6 * s, r.left() + 11.4 * s, r.top() + 15.2 * s,
                 r.left() + 14.4 * s, r.top() + 16.6 * s);
    path.lineTo(r.left() + 16.6 * s, r.top() + 14.4 * s);
    path.lineTo(r.left() + 22.0 * s, r.top() + 17.4 * s);
    path.lineTo(r.left() + 22.0 * s, r.top() + 19.4 * s);
    path.cubicTo(r.left() + 21.0 * s, r.top() + 21.8 * s, r.left() + 18.8 * s, r.top() + 22.4 * s,
                 r.left() + 16.6 * s, r.top() + 21.6 * s);
    path.cubicTo(r.left() + 10.0 * s, r.top() + 19.0 * s, r.left() + 5.0 * s, r.top() + 14.0 * s,
                 r.left() + 2.4 * s, r.top() + 7.4 * s);
    path.cubicTo(r.left() + 1.6 * s, r.top() + 5.2 * s, r.left() + 2.2 * s, r.top() + 3.0 * s,
                 r.left() + 4.6 * s, r.top() + 2.0 * s);
    path.closeSubpath();
    return path;
}

QPainterPath Triangle(QPointF a, QPointF b, QPointF c)
{
    QPainterPath path;
    path.moveTo(a);
    path.lineTo(b);
    path.lineTo(c);
    path.closeSubpath();
    return path;
}

} // namespace

// ---------------------------------------------------------------- top bar (white glyphs)

// The program's mark: a handset beside the bars of a recorded sound.
VELOUR_DRAWING("MainForm/Logo.png", 39, 28)
{
    Fill(p, kWhite);
    p.drawPath(Handset(QRectF(0, 2, 24, 24)));
    const qreal bars[] = {6, 14, 20, 11, 16, 8};
    for (int i = 0; i < 6; ++i) {
        const qreal h = bars[i];
        p.drawRoundedRect(QRectF(22 + i * 3, 14 - h / 2, 2, h), 1, 1);
    }
}

// The skin choice: a paint palette with three holes.
VELOUR_DRAWING("MainForm/SkinButton.png", 18, 15)
{
    QPainterPath palette;
    palette.addEllipse(QRectF(0.5, 0.5, 17, 14));
    QPainterPath holes;
    holes.addEllipse(QRectF(4, 3, 3, 3));
    holes.addEllipse(QRectF(8.5, 2.5, 3, 3));
    holes.addEllipse(QRectF(12, 5.5, 3, 3));
    holes.addEllipse(QRectF(9, 9.5, 4.5, 4.5)); // the thumb notch
    Fill(p, kWhite);
    p.drawPath(palette.subtracted(holes));
}

// The recorders: two stacked boxes with their front lights.
VELOUR_DRAWING("MainForm/DeviceManageButton.png", 18, 15)
{
    QPainterPath boxes;
    boxes.addRoundedRect(QRectF(0.5, 0.5, 17, 6.5), 1.5, 1.5);
    boxes.addRoundedRect(QRectF(0.5, 8, 17, 6.5), 1.5, 1.5);
    QPainterPath lights;
    lights.addEllipse(QRectF(12.5, 2.5, 2.5, 2.5));
    lights.addEllipse(QRectF(12.5, 10, 2.5, 2.5));
    lights.addRect(QRectF(3, 3, 6, 1.5));
    lights.addRect(QRectF(3, 10.5, 6, 1.5));
    Fill(p, kWhite);
    p.drawPath(boxes.subtracted(lights));
}

// The dial pad: three rows of three keys.
VELOUR_DRAWING("MainForm/DialButton.png", 18, 15)
{
    Fill(p, kWhite);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawEllipse(QRectF(2.5 + col * 5, 0.5 + row * 5, 3.6, 3.6));
}

// ---------------------------------------------------------------- player bar

VELOUR_DRAWING("MainForm/PlayButton.png", 17, 23)
{
    Fill(p, kWhite);
    QPainterPath path = Triangle(QPointF(2, 1.5), QPointF(16, 11.5), QPointF(2, 21.5));
    p.setPen(QPen(kWhite, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
}

// Shown on the play button while a record plays: two bars of the play triangle's height.
VELOUR_DRAWING("MainForm/PauseButton.png", 17, 23)
{
    Fill(p, kWhite);
    p.drawRoundedRect(QRectF(3, 2, 4, 19), 1.2, 1.2);
    p.drawRoundedRect(QRectF(10, 2, 4, 19), 1.2, 1.2);
}

VELOUR_DRAWING("MainForm/PrevButton.png", 15, 19)
{
    Fill(p, kWhite);
    p.drawRoundedRect(QRectF(1, 2, 2.5, 15), 1, 1);
    p.setPen(QPen(kWhite, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(Triangle(QPointF(14, 2), QPointF(5, 9.5), QPointF(14, 17)));
}

VELOUR_DRAWING("MainForm/NextButton.png", 15, 19)
{
    Fill(p, kWhite);
    p.drawRoundedRect(QRectF(11.5, 2, 2.5, 15), 1, 1);
    p.setPen(QPen(kWhite, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(Triangle(QPointF(1, 2), QPointF(10, 9.5), QPointF(1, 17)));
}

// The muted speaker, grey on the white player bar (the button does not recolour it).
VELOUR_DRAWING("MainForm/Mute.png", 18, 19)
{
    QPainterPath speaker;
    speaker.moveTo(1, 6.5);
    speaker.lineTo(4.5, 6.5);
    speaker.lineTo(9.5, 2);
    speaker.lineTo(9.5, 17);
    speaker.lineTo(4.5, 12.5);
    speaker.lineTo(1, 12.5);
    speaker.closeSubpath();
    Fill(p, kGrey);
    p.drawPath(speaker);
    Stroke(p, kGrey, 1.6);
    p.drawLine(QPointF(12, 7), QPointF(17, 12));
    p.drawLine(QPointF(17, 7), QPointF(12, 12));
}

// The sounding speaker, the mute image's speaker with two sound arcs in place of the cross.
VELOUR_DRAWING("MainForm/Vocal.png", 18, 19)
{
    QPainterPath speaker;
    speaker.moveTo(1, 6.5);
    speaker.lineTo(4.5, 6.5);
    speaker.lineTo(9.5, 2);
    speaker.lineTo(9.5, 17);
    speaker.lineTo(4.5, 12.5);
    speaker.lineTo(1, 12.5);
    speaker.closeSubpath();
    Fill(p, kGrey);
    p.drawPath(speaker);
    Stroke(p, kGrey, 1.5);
    p.drawArc(QRectF(7.5, 6, 6, 7), -60 * 16, 120 * 16);
    p.drawArc(QRectF(7, 3, 10, 13), -60 * 16, 120 * 16);
}

// The track bars' knob: a white disc with a faint rim, drawn in the knob colour.
VELOUR_DRAWING("MainForm/TrackBarButton.png", 14, 14)
{
    Fill(p, QColor(255, 255, 255, 90));
    p.drawEllipse(QRectF(0, 0, 14, 14));
    Fill(p, kWhite);
    p.drawEllipse(QRectF(2, 2, 10, 10));
}

// ---------------------------------------------------------------- settings page bookmarks

// The bookmark column's rail, a nine-patch: round 9-pixel ends, a stretchable middle.
VELOUR_DRAWING("MainForm/SettingPage/SettingBookmarkTrackBar.png", 9, 30)
{
    Fill(p, QColor(230, 230, 230));
    p.drawRoundedRect(QRectF(2.5, 0.5, 4, 29), 2, 2);
}

VELOUR_DRAWING("MainForm/SettingPage/SettingBookmarkTrackBarButton.png", 9, 9)
{
    Fill(p, kWhite);
    p.drawEllipse(QRectF(0.5, 0.5, 8, 8));
}

// ---------------------------------------------------------------- tab images (120 x 90, on the accent blue)

namespace {

// The pictogram's frame: 44 x 44 in the middle of the tab.
const QRectF kGlyph(38, 23, 44, 44);

void MonitorGlyph(QPainter& p, const QColor& c)
{
    // A screen with a live line signal.
    Stroke(p, c, 3);
    p.drawRoundedRect(kGlyph.adjusted(1.5, 5, -1.5, -9), 4, 4);
    p.drawLine(QPointF(kGlyph.center().x() - 9, kGlyph.bottom() - 2), QPointF(kGlyph.center().x() + 9,
                                                                             kGlyph.bottom() - 2));
    QPainterPath pulse;
    const qreal y = kGlyph.top() + 21;
    pulse.moveTo(kGlyph.left() + 8, y);
    pulse.lineTo(kGlyph.left() + 15, y);
    pulse.lineTo(kGlyph.left() + 19, y - 9);
    pulse.lineTo(kGlyph.left() + 24, y + 9);
    pulse.lineTo(kGlyph.left() + 28, y - 4);
    pulse.lineTo(kGlyph.left() + 30, y);
    pulse.lineTo(kGlyph.left() + 36, y);
    Stroke(p, c, 2.5);
    p.drawPath(pulse);
}

void RecordGlyph(QPainter& p, const QColor& c)
{
    // A record list with the play mark.
    Stroke(p, c, 3);
    for (int i = 0; i < 4; ++i) {
        const qreal y = kGlyph.top() + 8 + i * 10;
        p.drawLine(QPointF(kGlyph.left() + 4, y), QPointF(kGlyph.left() + (i < 2 ? 40 : 22), y));
    }
    Fill(p, c);
    p.drawPath(Triangle(QPointF(kGlyph.left() + 28, kGlyph.top() + 26), QPointF(kGlyph.left() + 42,
                        kGlyph.top() + 35), QPointF(kGlyph.left() + 28, kGlyph.top() + 44)));
}

void UserGlyph(QPainter& p, const QColor& c)
{
    // Two people: the online users.
    Fill(p, c);
    p.drawEllipse(QRectF(kGlyph.left() + 12, kGlyph.top() + 4, 16, 16));
    QPainterPath body;
    body.moveTo(kGlyph.left() + 2, kGlyph.bottom() - 4);
    body.cubicTo(kGlyph.left() + 2, kGlyph.top() + 24, kGlyph.left() + 38, kGlyph.top() + 24,
                 kGlyph.left() + 38, kGlyph.bottom() - 4);
    body.closeSubpath();
    p.drawPath(body);
    Stroke(p, c, 3);
    p.drawArc(QRectF(kGlyph.left() + 28, kGlyph.top() + 6, 12, 12), -60 * 16, 200 * 16);
    p.drawArc(QRectF(kGlyph.left() + 30, kGlyph.top() + 24, 16, 26), 0, 90 * 16);
}

void SettingGlyph(QPainter& p, const QColor& c)
{
    // A gear with eight teeth.
    const QPointF centre = kGlyph.center();
    QPainterPath gear;
    gear.addEllipse(centre, 15, 15);
    for (int i = 0; i < 8; ++i) {
        QPainterPath tooth;
        tooth.addRoundedRect(QRectF(-4.5, -21, 9, 10), 2, 2);
        QTransform t;
        t.translate(centre.x(), centre.y());
        t.rotate(i * 45);
        gear = gear.united(t.map(tooth));
    }
    QPainterPath hole;
    hole.addEllipse(centre, 6.5, 6.5);
    Fill(p, c);
    p.drawPath(gear.subtracted(hole));
}

void ContactsGlyph(QPainter& p, const QColor& c)
{
    // An address book with a person on its cover and the index tabs.
    Stroke(p, c, 3);
    const QRectF book(kGlyph.left() + 5, kGlyph.top() + 2, 32, 40);
    p.drawRoundedRect(book, 3, 3);
    p.drawLine(QPointF(book.right() + 3, book.top() + 9), QPointF(book.right() + 3, book.top() + 15));
    p.drawLine(QPointF(book.right() + 3, book.top() + 24), QPointF(book.right() + 3, book.top() + 30));
    Fill(p, c);
    p.drawEllipse(QRectF(book.center().x() - 6, book.top() + 8, 12, 12));
    QPainterPath body;
    body.moveTo(book.center().x() - 11, book.bottom() - 8);
    body.cubicTo(book.center().x() - 11, book.top() + 20, book.center().x() + 11, book.top() + 20,
                 book.center().x() + 11, book.bottom() - 8);
    body.closeSubpath();
    p.drawPath(body);
}

void BackupsGlyph(QPainter& p, const QColor& c)
{
    // A drive with the arrow of a copy into it.
    Stroke(p, c, 3);
    const QRectF drive(kGlyph.left() + 2, kGlyph.top() + 26, 40, 16);
    p.drawRoundedRect(drive, 3, 3);
    Fill(p, c);
    p.drawEllipse(QRectF(drive.right() - 10, drive.center().y() - 2.5, 5, 5));
    p.drawRect(QRectF(kGlyph.center().x() - 3, kGlyph.top() + 1, 6, 14));
    p.drawPath(Triangle(QPointF(kGlyph.center().x() - 10, kGlyph.top() + 13),
                        QPointF(kGlyph.center().x() + 10, kGlyph.top() + 13),
                        QPointF(kGlyph.center().x(), kGlyph.top() + 23)));
}

// Normal: the pictogram in half-transparent white. Selected: a lighter band across the tab, a white marker
// at its left edge and the pictogram in full white.
void Tab(QPainter& p, bool selected, void (*glyph)(QPainter&, const QColor&))
{
    if (selected) {
        Fill(p, QColor(255, 255, 255, 56));
        p.drawRect(QRectF(0, 0, 120, 90));
        Fill(p, kWhite);
        p.drawRect(QRectF(0, 0, 5, 90));
    }
    glyph(p, selected ? kWhite : QColor(255, 255, 255, 165));
}

} // namespace

VELOUR_DRAWING("MainForm/MonitorTabNormal.png", 120, 90) { Tab(p, false, MonitorGlyph); }
VELOUR_DRAWING("MainForm/MonitorTabSelected.png", 120, 90) { Tab(p, true, MonitorGlyph); }
VELOUR_DRAWING("MainForm/RecordTabNormal.png", 120, 90) { Tab(p, false, RecordGlyph); }
VELOUR_DRAWING("MainForm/RecordTabSelected.png", 120, 90) { Tab(p, true, RecordGlyph); }
VELOUR_DRAWING("MainForm/UserTabNormal.png", 120, 90) { Tab(p, false, UserGlyph); }
VELOUR_DRAWING("MainForm/UserTabSelected.png", 120, 90) { Tab(p, true, UserGlyph); }
VELOUR_DRAWING("MainForm/SettingTabNormal.png", 120, 90) { Tab(p, false, SettingGlyph); }
VELOUR_DRAWING("MainForm/SettingTabSelected.png", 120, 90) { Tab(p, true, SettingGlyph); }
VELOUR_DRAWING("MainForm/ContactsTabNormal.png", 120, 90) { Tab(p, false, ContactsGlyph); }
VELOUR_DRAWING("MainForm/ContactsTabSelected.png", 120, 90) { Tab(p, true, ContactsGlyph); }
VELOUR_DRAWING("MainForm/BackupsTabNormal.png", 120, 90) { Tab(p, false, BackupsGlyph); }
VELOUR_DRAWING("MainForm/BackupsTabSelected.png", 120, 90) { Tab(p, true, BackupsGlyph); }
