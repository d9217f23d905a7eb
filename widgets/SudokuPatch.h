#pragma once
#include "VelourGlobal.h"

#include <QPixmap>
#include <QSize>

class QPainter;

// A nine-patch picture: the source is cut by four margins into nine pieces; Resize builds a picture of any
// size whose corners keep their size while the edges and the centre stretch. Copyable by value.
class VELOUR_EXPORT SudokuPatch
{
public:
    // A source smaller than its margins gives a patch that draws nothing (all margins 0, no pieces).
    SudokuPatch(const QPixmap& source, int top, int bottom, int left, int right);

    // Builds the result picture of that size; callers compare Size() first, as building costs a redraw.
    void Resize(const QSize& size);
    // Draws the last built picture at (0, 0).
    void Paint(QPainter* p);
    // The size of the last built picture (null before the first Resize).
    QSize Size() const;

    int Top() const { return m_Top; }
    int Bottom() const { return m_Bottom; }
    int Left() const { return m_Left; }
    int Right() const { return m_Right; }
    const QPixmap& Result() const { return m_Result; }

    // When true, Resize leaves the middle transparent (a shadow around a window).
    bool SkipCenter = false;

private:
    enum Piece { TopLeft, TopEdge, TopRight, LeftEdge, Center, RightEdge, BottomLeft, BottomEdge, BottomRight };
    int m_Top = 0;
    int m_Bottom = 0;
    int m_Left = 0;
    int m_Right = 0;
    QPixmap m_Pieces[9];
    QPixmap m_Result;
};
