#pragma once
#include "VelourGlobal.h"

#include <QPoint>
#include <QRect>
#include <QSize>

// The frame layer of the frameless windows: where a press on a window lands (caption, an edge, a corner or the
// client area), which edges and cursor belong to it, how a resize by hand changes a rectangle, and whether the
// display can show translucent windows. Pure functions; ZFormShadow and its frame handler act on them.
class VELOUR_EXPORT ZFrame
{
public:
    ZFrame() = delete;

    enum Hit { None, Caption, Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };

    // The shadow margin around a form inside its host window, when the display can show it.
    static constexpr int ShadowMargin = 16;
    // How far the resize edge reaches into the form itself.
    static constexpr int EdgeWidth = 5;

    // Where point (in the host window's coordinates) lands in a host window of that size. With canResize and
    // not maximised, the band of EdgeWidth pixels (EdgeWidth + ShadowMargin with a shadow) along each side
    // resizes, corners first. Otherwise, or inside the band, a point over the title panel itself (not over
    // a button on it, not over the form's body) is the caption; anything else is None (the widgets' own).
    static Hit HitTest(const QPoint& point, const QSize& size, bool canResize, bool shadow, bool maximised,
                       bool overTitlePanel);

    // The window edges that an edge or corner hit moves (none for Caption and None).
    static Qt::Edges Edges(Hit hit);
    // The cursor shown over a hit (the arrow for Caption and None).
    static Qt::CursorShape Cursor(Hit hit);

    // The window rectangle after dragging the given edges by delta from start: the dragged edges move, the
    // opposite ones stay; width and height are kept within minimum..maximum by stopping the dragged edge.
    static QRect ResizedGeometry(const QRect& start, Qt::Edges edges, const QPoint& delta, const QSize& minimum,
                                 const QSize& maximum);

    // True where windows can be translucent: under X11 only while a compositing manager runs (checked once
    // per process), on every other platform always. Without it a shadow margin would show as a black frame.
    static bool TranslucentWindows();
    // Replaces the answer of TranslucentWindows for the windows made afterwards: 0 no, 1 yes, -1 ask the
    // display again. For tests and for programs that know their display better.
    static void OverrideTranslucentWindows(int state);
};
