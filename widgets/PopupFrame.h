#pragma once
// Library-internal helpers of the popups (combo list, menu): where they may open and how their frame looks.

#include <QPoint>
#include <QRect>
#include <QSize>

class QPainter;
class SudokuPatch;
class ZBase;

// The geometry of the screen that holds point; the primary screen's when no screen holds it (a point
// between or beyond the screens); an invalid rectangle when there is no screen at all (the popup then
// opens at the point as asked).
QRect PopupScreenGeometry(const QPoint& point);

// How a popup may move off its preferred place to stay on the screen, per axis.
enum PopupPlaceFlag {
    PopupFlipX = 0x1,        // passing the screen's right edge, it opens at the flipped x (left of its anchor)
    PopupFlipY = 0x2,        // passing the bottom edge, it opens at the flipped y (above its anchor)
    PopupFlipIfFits = 0x4,   // ... only when the flipped place starts inside the screen
    PopupClampX = 0x8,       // then it is moved into the screen's left and right edges
    PopupClampY = 0x10,      // and into its top and bottom edges
};

struct PopupPlacement {
    QPoint Position;
    bool FlippedY = false;  // it opens above its anchor
};

// Where a popup of `size` opens: at `preferred` (its top left), moved as `flags` allow (PopupPlaceFlag) within the
// screen of `screenPoint` (PopupScreenGeometry); at `preferred` when there is no screen. The combo box's list and
// the menu both place themselves through this.
PopupPlacement PlacePopup(const QPoint& screenPoint, const QPoint& preferred, const QPoint& flipped,
                          const QSize& size, int flags);

// The popup's frame: the shadow nine-patch over the whole window (resized when the window's size changed),
// then the popup's background and border, square, over the window less the 4 shadow pixels on the right and
// at the bottom.
void PaintPopupFrame(QPainter* painter, ZBase* popup, SudokuPatch& shadow);
