#include "ZPanel.h"

#include "ZDrawAPI.h"
#include "ZEvent.h"

struct ZPanelPrivate
{
    QSize RememberedAreaSize{-1, -1};
};

ZPanel::ZPanel(QWidget* parent)
    : ZContainer(parent)
    , d_zpanel(new ZPanelPrivate)
{
}

ZPanel::~ZPanel()
{
    delete d_zpanel;
}

void ZPanel::Paint(QPainter* painter)
{
    const QRect r(0, 0, width(), height());
    ZDrawAPI::DrawBackColor(painter, r, Radius(), BackColor(), BorderWidth());
    ZDrawAPI::DrawBorder(painter, r, Radius(), BorderColor(), Border(), BorderWidth());
}

void ZPanel::ReLayout()
{
    DockAnchorLayout(d_zpanel->RememberedAreaSize, false);
}

bool ZPanel::event(QEvent* e)
{
    switch (static_cast<int>(e->type())) {
    case ZEvent::ChildDockChanged:
    case ZEvent::ContainerAreaChanged:
    case QEvent::ChildRemoved:
        ReLayout();
        break;
    default:
        break;
    }
    return ZContainer::event(e);
}
