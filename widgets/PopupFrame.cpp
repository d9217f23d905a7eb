#include "PopupFrame.h"

#include "SudokuPatch.h"
#include "ZBase.h"
#include "ZDrawAPI.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

QRect PopupScreenGeometry(const QPoint& point)
{
    QScreen* screen = QGuiApplication::screenAt(point);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

namespace {

// One axis of PlacePopup: the screen spans [low, high), the popup `length` from `start`.
int PlaceOnAxis(int start, int flipped, int length, int low, int high, bool flip, bool onlyIfFits, bool clamp,
                bool* didFlip)
{
    if (flip && start + length > high && (!onlyIfFits || flipped >= low)) {
        start = flipped;
        *didFlip = true;
    }
    if (clamp)
        start = std::max(std::min(start, high - length), low);
    return start;
}

}  // namespace

PopupPlacement PlacePopup(const QPoint& screenPoint, const QPoint& preferred, const QPoint& flipped,
                          const QSize& size, int flags)
{
    PopupPlacement placement;
    placement.Position = preferred;
    const QRect S = PopupScreenGeometry(screenPoint);
    if (!S.isValid())
        return placement;
    const bool onlyIfFits = (flags & PopupFlipIfFits) != 0;
    bool flippedX = false;
    placement.Position.setX(PlaceOnAxis(preferred.x(), flipped.x(), size.width(), S.left(), S.right() + 1,
                                        (flags & PopupFlipX) != 0, onlyIfFits, (flags & PopupClampX) != 0,
                                        &flippedX));
    placement.Position.setY(PlaceOnAxis(preferred.y(), flipped.y(), size.height(), S.top(), S.bottom() + 1,
                                        (flags & PopupFlipY) != 0, onlyIfFits, (flags & PopupClampY) != 0,
                                        &placement.FlippedY));
    return placement;
}

void PaintPopupFrame(QPainter* painter, ZBase* popup, SudokuPatch& shadow)
{
    if (shadow.Size() != popup->size())
        shadow.Resize(popup->size());
    shadow.Paint(painter);
    const QRect body(QPoint(0, 0), QPoint(popup->width() - 5, popup->height() - 5));
    ZDrawAPI::DrawBackColor(painter, body, 0, popup->BackColor(), popup->BorderWidth());
    ZDrawAPI::DrawBorder(painter, body, 0, popup->BorderColor(), popup->Border(), popup->BorderWidth());
}
