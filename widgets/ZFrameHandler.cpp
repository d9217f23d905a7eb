#include "ZFrameHandler.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QStyleHints>
#include <QWidget>
#include <QWindow>

ZFrameHandler::ZFrameHandler(QWidget* host)
    : QObject(host)
    , m_Host(host)
{
}

ZFrameHandler::~ZFrameHandler()
{
    if (m_Window)
        m_Window->removeEventFilter(this);
}

void ZFrameHandler::Attach()
{
    QWindow* window = m_Host->windowHandle();
    if (window == m_Window)
        return;
    if (m_Window)
        m_Window->removeEventFilter(this);
    m_Window = window;
    m_Drag = Drag::None;
    m_EdgeCursor = false;
    if (window)
        window->installEventFilter(this);
}

bool ZFrameHandler::Dragging() const
{
    return m_Drag == Drag::Move || m_Drag == Drag::Resize;
}

bool ZFrameHandler::eventFilter(QObject* watched, QEvent* e)
{
    if (watched != m_Window)
        return false;
    switch (e->type()) {
    case QEvent::MouseButtonPress:
        return MousePress(static_cast<QMouseEvent*>(e));
    case QEvent::MouseMove:
        return MouseMove(static_cast<QMouseEvent*>(e));
    case QEvent::MouseButtonRelease:
        return MouseRelease(static_cast<QMouseEvent*>(e));
    case QEvent::MouseButtonDblClick:
        return MouseDoubleClick(static_cast<QMouseEvent*>(e));
    case QEvent::Leave:
        if (m_Drag == Drag::None)
            ShowCursorFor(ZFrame::None, QPoint(-1, -1));
        return false;
    default:
        return false;
    }
}

bool ZFrameHandler::MousePress(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !HitAt)
        return false;
    const ZFrame::Hit hit = HitAt(e->localPos().toPoint());
    if (hit == ZFrame::None)
        return false;
    // The hook may close or delete the window.
    QPointer<ZFrameHandler> alive(this);
    if (NonClientPressed)
        NonClientPressed();
    if (!alive || !m_Window || !m_Host->isVisible())
        return true;
    m_PressGlobal = e->globalPos();
    m_StartGeometry = m_Host->geometry();
    if (hit == ZFrame::Caption) {
        m_Drag = Drag::CaptionPending;
        return true;
    }
    m_Edges = ZFrame::Edges(hit);
    if (m_Window->startSystemResize(m_Edges))
        m_Drag = Drag::None;
    else
        m_Drag = Drag::Resize;
    return true;
}

bool ZFrameHandler::MouseMove(QMouseEvent* e)
{
    const QPoint delta = e->globalPos() - m_PressGlobal;
    switch (m_Drag) {
    case Drag::CaptionPending:
        if (!(e->buttons() & Qt::LeftButton)) {
            m_Drag = Drag::None;
            return true;
        }
        if (delta.manhattanLength() < QGuiApplication::styleHints()->startDragDistance())
            return true;
        if (m_Host->isMaximized() || m_Host->isFullScreen() || m_Window->startSystemMove()) {
            m_Drag = Drag::None;
            return true;
        }
        m_Drag = Drag::Move;
        Q_FALLTHROUGH();
    case Drag::Move:
        m_Host->move(m_StartGeometry.topLeft() + delta);
        return true;
    case Drag::Resize:
        m_Host->setGeometry(ZFrame::ResizedGeometry(m_StartGeometry, m_Edges, delta, m_Host->minimumSize(),
                                                    m_Host->maximumSize()));
        return true;
    case Drag::None:
        break;
    }
    if (e->buttons() != Qt::NoButton || !HitAt)
        return false;
    const ZFrame::Hit hit = HitAt(e->localPos().toPoint());
    const bool edge = hit != ZFrame::None && hit != ZFrame::Caption;
    ShowCursorFor(hit, e->localPos().toPoint());
    // Over an edge the widgets below take no hover, as with a native frame.
    return edge;
}

bool ZFrameHandler::MouseRelease(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || m_Drag == Drag::None)
        return false;
    m_Drag = Drag::None;
    return true;
}

bool ZFrameHandler::MouseDoubleClick(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !HitAt)
        return false;
    const ZFrame::Hit hit = HitAt(e->localPos().toPoint());
    if (hit == ZFrame::None)
        return false;
    m_Drag = Drag::None;
    if (hit == ZFrame::Caption && CaptionDoubleClicked)
        CaptionDoubleClicked();
    return true;
}

void ZFrameHandler::ShowCursorFor(ZFrame::Hit hit, const QPoint& pos)
{
    const bool edge = hit != ZFrame::None && hit != ZFrame::Caption;
    if (edge) {
        m_Window->setCursor(ZFrame::Cursor(hit));
        m_EdgeCursor = true;
        return;
    }
    if (!m_EdgeCursor)
        return;
    m_EdgeCursor = false;
    // Give the window back the cursor of the widget under the mouse.
    QWidget* w = m_Host->childAt(pos);
    while (w && w != m_Host && !w->testAttribute(Qt::WA_SetCursor))
        w = w->parentWidget();
    if (w && w->testAttribute(Qt::WA_SetCursor))
        m_Window->setCursor(w->cursor());
    else
        m_Window->unsetCursor();
}
