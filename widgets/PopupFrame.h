#pragma once
// Library-internal helpers of the popups (combo list, menu): where they may open and how their frame looks.

#include <QPoint>
#include <QRect>

class QPainter;
class SudokuPatch;
class ZBase;

// The geometry of the screen that holds point; the primary screen's when no screen holds it (a point
// between or beyond the screens); an invalid rectangle when there is no screen at all (the popup then
// opens at the point as asked).
QRect PopupScreenGeometry(const QPoint& point);

// The popup's frame: the shadow nine-patch over the whole window (resized when the window's size changed),
// then the popup's background and border, square, over the window less the 4 shadow pixels on the right and
// at the bottom.
void PaintPopupFrame(QPainter* painter, ZBase* popup, SudokuPatch& shadow);
