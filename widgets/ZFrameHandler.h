#pragma once
#include "ZFrame.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>

#include <functional>

class QMouseEvent;
class QWidget;
class QWindow;

// Library-internal. Gives a frameless top-level widget the behaviour of a window frame: it filters the
// mouse events of the widget's QWindow, so it sees a press before any child widget does, asks HitAt where
// the press landed and then moves the window by its caption or resizes it by an edge. The window manager
// does the move or resize where the platform offers it (QWindow::startSystemMove/startSystemResize);
// where it does not (no window manager, the offscreen platform) the handler moves and resizes the widget
// itself, keeping it within its minimum and maximum size. A caption drag starts once the mouse has moved,
// so a double click on the caption is not taken for a drag. Edge cursors follow the mouse.
class ZFrameHandler : public QObject
{
    Q_OBJECT

public:
    // host: the top-level widget; its QWindow is watched from its first show on (Attach).
    explicit ZFrameHandler(QWidget* host);
    ~ZFrameHandler() override;

    // Where a point in host coordinates lands.
    std::function<ZFrame::Hit(const QPoint&)> HitAt;
    // A left press on the caption or an edge, before the move or resize begins.
    std::function<void()> NonClientPressed;
    // A left double click on the caption.
    std::function<void()> CaptionDoubleClicked;

    // Installs the filter on the host's current QWindow (again after the window was re-created).
    void Attach();
    // True while a move or resize by hand runs.
    bool Dragging() const;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    enum class Drag { None, CaptionPending, Move, Resize };

    bool MousePress(QMouseEvent* e);
    bool MouseMove(QMouseEvent* e);
    bool MouseRelease(QMouseEvent* e);
    bool MouseDoubleClick(QMouseEvent* e);
    void ShowCursorFor(ZFrame::Hit hit, const QPoint& pos);

    QWidget* m_Host;
    QPointer<QWindow> m_Window;
    Drag m_Drag = Drag::None;
    Qt::Edges m_Edges;
    QPoint m_PressGlobal;
    QRect m_StartGeometry;
    bool m_EdgeCursor = false;
};
