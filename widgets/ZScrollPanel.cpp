#include "ZScrollPanel.h"

#include "ZDrawAPI.h"
#include "ZPanel.h"

#include <QChildEvent>
#include <QPointer>

struct ZScrollPanelPrivate
{
    QWidget* Viewport = nullptr;
    QPointer<ZPanel> Content; // the application may delete its content panel
};

ZScrollPanel::ZScrollPanel(QWidget* parent)
    : ZScrollContainer(true, true, parent)
    , d_zscrollpanel(new ZScrollPanelPrivate)
{
    d_zscrollpanel->Viewport = new QWidget(this);
    if (DesignerMode)
        SetPassiveObjectName(d_zscrollpanel->Viewport);
}

ZScrollPanel::~ZScrollPanel()
{
    delete d_zscrollpanel;
}

ZPanel* ZScrollPanel::ScrollWidget() const
{
    return d_zscrollpanel->Content;
}

const QSize& ZScrollPanel::ScrollAreaSize() const
{
    return ScrollSize();
}

void ZScrollPanel::SetScrollAreaSize(const QSize& size)
{
    if (size == ScrollSize())
        return;
    SetScrollSize(size);
    if (ZPanel* content = d_zscrollpanel->Content) {
        content->setMinimumSize(size.expandedTo(QSize(0, 0)));
        PlaceContent();
    }
}

// The content fills the viewport (its minimum size makes it at least the content size) and sits at the
// bars' positions.
void ZScrollPanel::PlaceContent()
{
    ZPanel* content = d_zscrollpanel->Content;
    if (!content)
        return;
    const QRect& area = ScrollArea();
    content->LayoutSetGeometry(QRect(-HScrollBarValue(), -VScrollBarValue(), area.width(), area.height()));
}

void ZScrollPanel::ScrollContainerAreaChangedEvent()
{
    d_zscrollpanel->Viewport->setGeometry(ScrollArea());
    PlaceContent();
}

void ZScrollPanel::HScrollBarValueChangedEvent(int x)
{
    ZPanel* content = d_zscrollpanel->Content;
    if (!content)
        return;
    content->move(-x, content->y());
    emit HScrollLocationChanged(x);
}

void ZScrollPanel::VScrollBarValueChangedEvent(int y)
{
    ZPanel* content = d_zscrollpanel->Content;
    if (!content)
        return;
    content->move(content->x(), -y);
    emit VScrollLocationChanged(y);
}

void ZScrollPanel::childEvent(QChildEvent* e)
{
    if (e->type() == QEvent::ChildPolished) {
        if (auto* panel = qobject_cast<ZPanel*>(e->child())) {
            // An earlier content panel is left where it is.
            d_zscrollpanel->Content = panel;
            const bool explicitlyHidden =
                panel->testAttribute(Qt::WA_WState_ExplicitShowHide) && panel->testAttribute(Qt::WA_WState_Hidden);
            panel->SetCanReLayoutParent(false);
            panel->SetDock(DockType::Fill);
            panel->setParent(d_zscrollpanel->Viewport);
            panel->setMinimumSize(ScrollSize().expandedTo(QSize(0, 0)));
            PlaceContent();
            // Re-parenting hides a widget; the content shows with the scroll panel unless it was hidden.
            if (!explicitlyHidden)
                panel->show();
        }
    }
    ZScrollContainer::childEvent(e);
}

void ZScrollPanel::Paint(QPainter* painter)
{
    const QRect r(0, 0, width(), height());
    ZDrawAPI::DrawBackColor(painter, r, Radius(), BackColor(), BorderWidth());
    ZDrawAPI::DrawBorder(painter, r, Radius(), BorderColor(), Border(), BorderWidth());
}
