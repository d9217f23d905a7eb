#include "SudokuPatch.h"

#include <QPainter>

SudokuPatch::SudokuPatch(const QPixmap& source, int top, int bottom, int left, int right)
{
    const int mw = source.width() - left - right;
    const int mh = source.height() - top - bottom;
    if (mw < 0 || mh < 0 || top < 0 || bottom < 0 || left < 0 || right < 0)
        return;
    m_Top = top;
    m_Bottom = bottom;
    m_Left = left;
    m_Right = right;
    auto cut = [&source](int x, int y, int w, int h) { return (w > 0 && h > 0) ? source.copy(x, y, w, h) : QPixmap(); };
    m_Pieces[TopLeft] = cut(0, 0, left, top);
    m_Pieces[TopEdge] = cut(left, 0, mw, top);
    m_Pieces[TopRight] = cut(left + mw, 0, right, top);
    m_Pieces[LeftEdge] = cut(0, top, left, mh);
    m_Pieces[Center] = cut(left, top, mw, mh);
    m_Pieces[RightEdge] = cut(left + mw, top, right, mh);
    m_Pieces[BottomLeft] = cut(0, top + mh, left, bottom);
    m_Pieces[BottomEdge] = cut(left, top + mh, mw, bottom);
    m_Pieces[BottomRight] = cut(left + mw, top + mh, right, bottom);
}

void SudokuPatch::Resize(const QSize& size)
{
    m_Result = QPixmap(size);
    m_Result.fill(Qt::transparent);
    if (m_Result.isNull())
        return;
    const int mw = size.width() - m_Left - m_Right;
    const int mh = size.height() - m_Top - m_Bottom;
    QPainter p(&m_Result);
    auto corner = [&p](const QPixmap& piece, int x, int y) {
        if (!piece.isNull())
            p.drawPixmap(x, y, piece);
    };
    auto stretched = [&p](const QPixmap& piece, int x, int y, int w, int h) {
        if (piece.isNull() || w <= 0 || h <= 0)
            return;
        p.drawPixmap(x, y, piece.scaled(w, h, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    };
    corner(m_Pieces[TopLeft], 0, 0);
    stretched(m_Pieces[TopEdge], m_Left, 0, mw, m_Top);
    corner(m_Pieces[TopRight], m_Left + mw, 0);
    stretched(m_Pieces[LeftEdge], 0, m_Top, m_Left, mh);
    if (!SkipCenter)
        stretched(m_Pieces[Center], m_Left, m_Top, mw, mh);
    stretched(m_Pieces[RightEdge], m_Left + mw, m_Top, m_Right, mh);
    corner(m_Pieces[BottomLeft], 0, m_Top + mh);
    stretched(m_Pieces[BottomEdge], m_Left, m_Top + mh, mw, m_Bottom);
    corner(m_Pieces[BottomRight], m_Left + mw, m_Top + mh);
}

void SudokuPatch::Paint(QPainter* p)
{
    if (!m_Result.isNull())
        p->drawPixmap(0, 0, m_Result);
}

QSize SudokuPatch::Size() const
{
    return m_Result.isNull() ? QSize() : m_Result.size();
}
