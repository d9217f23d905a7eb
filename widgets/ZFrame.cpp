#include "ZFrame.h"

#include <QtGlobal>

ZFrame::Hit ZFrame::HitTest(const QPoint& point, const QSize& size, bool canResize, bool shadow, bool maximised,
                            bool overTitlePanel)
{
    if (canResize && !maximised) {
        const int e = shadow ? ShadowMargin + EdgeWidth : EdgeWidth;
        const int mx = size.width() - e;
        const int my = size.height() - e;
        const int x = point.x();
        const int y = point.y();
        if (x < e)
            return y < e ? TopLeft : (y > my ? BottomLeft : Left);
        if (x > mx)
            return y < e ? TopRight : (y > my ? BottomRight : Right);
        if (y < e)
            return Top;
        if (y > my)
            return Bottom;
    }
    return overTitlePanel ? Caption : None;
}

Qt::Edges ZFrame::Edges(Hit hit)
{
    switch (hit) {
    case Left: return Qt::LeftEdge;
    case Right: return Qt::RightEdge;
    case Top: return Qt::TopEdge;
    case Bottom: return Qt::BottomEdge;
    case TopLeft: return Qt::TopEdge | Qt::LeftEdge;
    case TopRight: return Qt::TopEdge | Qt::RightEdge;
    case BottomLeft: return Qt::BottomEdge | Qt::LeftEdge;
    case BottomRight: return Qt::BottomEdge | Qt::RightEdge;
    case None:
    case Caption:
        break;
    }
    return Qt::Edges();
}

Qt::CursorShape ZFrame::Cursor(Hit hit)
{
    switch (hit) {
    case Left:
    case Right: return Qt::SizeHorCursor;
    case Top:
    case Bottom: return Qt::SizeVerCursor;
    case TopLeft:
    case BottomRight: return Qt::SizeFDiagCursor;
    case TopRight:
    case BottomLeft: return Qt::SizeBDiagCursor;
    case None:
    case Caption:
        break;
    }
    return Qt::ArrowCursor;
}

QRect ZFrame::ResizedGeometry(const QRect& start, Qt::Edges edges, const QPoint& delta, const QSize& minimum,
                              const QSize& maximum)
{
    const int minW = qMax(0, minimum.width());
    const int minH = qMax(0, minimum.height());
    const int maxW = qMax(minW, maximum.width());
    const int maxH = qMax(minH, maximum.height());
    int left = start.left();
    int top = start.top();
    int right = start.left() + start.width(); // one past the last column
    int bottom = start.top() + start.height();
    if (edges & Qt::LeftEdge)
        left = qBound(right - maxW, left + delta.x(), right - minW);
    else if (edges & Qt::RightEdge)
        right = qBound(left + minW, right + delta.x(), left + maxW);
    if (edges & Qt::TopEdge)
        top = qBound(bottom - maxH, top + delta.y(), bottom - minH);
    else if (edges & Qt::BottomEdge)
        bottom = qBound(top + minH, bottom + delta.y(), top + maxH);
    return QRect(left, top, right - left, bottom - top);
}
