#include "ZContainer.h"

#include "ZEvent.h"

struct ZContainerPrivate
{
    ZPadding Padding;
    bool AreaChangedPending = false;
    QRect ContainerArea;
};

ZContainer::ZContainer(QWidget* parent)
    : ZBase(parent)
    , d_zcontainer(new ZContainerPrivate)
{
}

ZContainer::~ZContainer()
{
    delete d_zcontainer;
}

const ZPadding& ZContainer::Padding() const
{
    return d_zcontainer->Padding;
}

void ZContainer::SetPadding(const ZPadding& padding)
{
    if (d_zcontainer->Padding == padding)
        return;
    d_zcontainer->Padding = padding;
    ComputeContainerArea();
}

const QRect& ZContainer::ContainerArea() const
{
    return d_zcontainer->ContainerArea;
}

void ZContainer::ComputeContainerArea()
{
    const ZPadding& pad = d_zcontainer->Padding;
    const int bw = BorderWidth();
    const PositionFlag::Flags sides = Border();
    const int x = pad.Left + ((sides & PositionFlag::Left) ? bw : 0);
    const int y = pad.Top + ((sides & PositionFlag::Top) ? bw : 0);
    const int w = width() - x - pad.Right - ((sides & PositionFlag::Right) ? bw : 0);
    const int h = height() - y - pad.Bottom - ((sides & PositionFlag::Bottom) ? bw : 0);
    d_zcontainer->ContainerArea = QRect(x, y, w, h);
    // Posted even when the rectangle is unchanged: the layout also runs for the child changes it batches.
    ZEvent::Post(this, ZEvent::ContainerAreaChanged, d_zcontainer->AreaChangedPending);
}

bool ZContainer::event(QEvent* e)
{
    switch (static_cast<int>(e->type())) {
    case QEvent::Resize:
    case ZEvent::BorderChanged:
        ComputeContainerArea();
        break;
    case ZEvent::ContainerAreaChanged:
        d_zcontainer->AreaChangedPending = false;
        return true;
    default:
        break;
    }
    return ZBase::event(e);
}

bool ZContainer::DockAnchorLayout(QSize& remembered, bool visibleOnly)
{
    const QRect area = d_zcontainer->ContainerArea;
    if (area.top() > area.bottom() || area.left() > area.right())
        return false;
    const int W = area.width();
    const int H = area.height();
    if (remembered.width() < 0 || remembered.height() < 0)
        remembered = QSize(W, H);
    const int dW = W - remembered.width();
    const int dH = H - remembered.height();

    int L = area.left();
    int T = area.top();
    int RW = W;
    int RH = H;
    int RE = area.right() + 1;
    int BE = area.bottom() + 1;

    const QObjectList& kids = children();
    for (QObject* object : kids) {
        ZBase* child = qobject_cast<ZBase*>(object);
        if (!child || child->isWindow())
            continue;
        const bool skipped = visibleOnly ? !child->isVisible() : child->isHidden();
        const DockType::Types dock = child->Dock();
        if (skipped && dock != DockType::None)
            continue;
        switch (dock) {
        case DockType::Top: {
            const int h = qMin(child->height(), RH);
            child->LayoutSetGeometry(QRect(L, T, RW, h));
            T += h;
            RH -= h;
            break;
        }
        case DockType::Bottom: {
            const int h = qMin(child->height(), RH);
            child->LayoutSetGeometry(QRect(L, BE - h, RW, h));
            BE -= h;
            RH -= h;
            break;
        }
        case DockType::Left: {
            const int w = qMin(child->width(), RW);
            child->LayoutSetGeometry(QRect(L, T, w, RH));
            L += w;
            RW -= w;
            break;
        }
        case DockType::Right: {
            const int w = qMin(child->width(), RW);
            child->LayoutSetGeometry(QRect(RE - w, T, w, RH));
            RE -= w;
            RW -= w;
            break;
        }
        case DockType::Fill:
            child->LayoutSetGeometry(QRect(L, T, RW, RH));
            RW = 0;
            RH = 0;
            break;
        case DockType::None:
        default: {
            const PositionFlag::Flags anchor = child->Anchor();
            if (anchor == (PositionFlag::Top | PositionFlag::Left) || (dW == 0 && dH == 0))
                break;
            QRect g = child->geometry();
            int x = g.x(), y = g.y(), w = g.width(), h = g.height();
            const bool left = anchor & PositionFlag::Left, right = anchor & PositionFlag::Right;
            const bool top = anchor & PositionFlag::Top, bottom = anchor & PositionFlag::Bottom;
            if (left && right)
                w += dW;
            else if (right)
                x += dW;
            else if (!left)
                x += dW / 2;
            if (top && bottom)
                h += dH;
            else if (bottom)
                y += dH;
            else if (!top)
                y += dH / 2;
            child->LayoutSetGeometry(QRect(x, y, w, h));
            break;
        }
        }
    }
    remembered = QSize(W, H);
    return true;
}
