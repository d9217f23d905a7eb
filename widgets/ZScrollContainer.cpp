#include "ZScrollContainer.h"

#include "ZEvent.h"
#include "ZScrollBar.h"

#include <QWheelEvent>

#include <algorithm>

struct ZScrollContainerPrivate
{
    QSize ScrollSize{-1, -1};
    int WheelStepPixel = 10;
    int ScrollBarSize = 10;
    int SliderMinimumSize = 20;
    int SliderRadius = 0;
    QColor SliderColor;
    QColor SliderColorHover;
    ZScrollBar* HBar = nullptr;
    ZScrollBar* VBar = nullptr;
    QRect ScrollArea;
};

ZScrollContainer::ZScrollContainer(bool hScrollBar, bool vScrollBar, QWidget* parent)
    : ZContainer(parent)
    , d_zscrollcontainer(new ZScrollContainerPrivate)
{
    ZScrollContainerPrivate* d = d_zscrollcontainer;
    auto makeBar = [this, d](OrientationType::Types orientation, const char* name) {
        auto* bar = new ZScrollBar(orientation, this);
        bar->SetCanReLayoutParent(false);
        bar->SetSliderMinimumSize(d->SliderMinimumSize);
        bar->hide();
        bar->resize(d->ScrollBarSize, d->ScrollBarSize);
        if (DesignerMode) {
            bar->setObjectName(QLatin1String(name));
            SetPassiveObjectName(bar);
        }
        return bar;
    };
    if (hScrollBar) {
        d->HBar = makeBar(OrientationType::Horizontal, "HScrollBar");
        connect(d->HBar, &ZScrollBar::ValueChanged, this, [this](int v) { HScrollBarValueChangedEvent(v); });
    }
    if (vScrollBar) {
        d->VBar = makeBar(OrientationType::Vertical, "VScrollBar");
        connect(d->VBar, &ZScrollBar::ValueChanged, this, [this](int v) { VScrollBarValueChangedEvent(v); });
    }
}

ZScrollContainer::~ZScrollContainer()
{
    delete d_zscrollcontainer;
}

const QSize& ZScrollContainer::ScrollSize() const { return d_zscrollcontainer->ScrollSize; }
int ZScrollContainer::WheelStepPixel() const { return d_zscrollcontainer->WheelStepPixel; }
int ZScrollContainer::ScrollBarSize() const { return d_zscrollcontainer->ScrollBarSize; }
int ZScrollContainer::SliderMinimumSize() const { return d_zscrollcontainer->SliderMinimumSize; }
int ZScrollContainer::SliderRadius() const { return d_zscrollcontainer->SliderRadius; }
const QColor& ZScrollContainer::SliderColor() const { return d_zscrollcontainer->SliderColor; }
const QColor& ZScrollContainer::SliderColorHover() const { return d_zscrollcontainer->SliderColorHover; }
const QRect& ZScrollContainer::ScrollArea() const { return d_zscrollcontainer->ScrollArea; }
ZScrollBar* ZScrollContainer::HScrollBar() const { return d_zscrollcontainer->HBar; }
ZScrollBar* ZScrollContainer::VScrollBar() const { return d_zscrollcontainer->VBar; }

int ZScrollContainer::HScrollBarValue() const
{
    return d_zscrollcontainer->HBar ? d_zscrollcontainer->HBar->Value() : 0;
}

int ZScrollContainer::VScrollBarValue() const
{
    return d_zscrollcontainer->VBar ? d_zscrollcontainer->VBar->Value() : 0;
}

void ZScrollContainer::SetScrollSize(const QSize& size)
{
    if (d_zscrollcontainer->ScrollSize == size)
        return;
    d_zscrollcontainer->ScrollSize = size;
    ReLayout();
}

void ZScrollContainer::SetWheelStepPixel(int pixels)
{
    d_zscrollcontainer->WheelStepPixel = pixels;
}

void ZScrollContainer::SetScrollBarSize(int size)
{
    ZScrollContainerPrivate* d = d_zscrollcontainer;
    size = std::max(size, 0);
    if (d->ScrollBarSize == size)
        return;
    d->ScrollBarSize = size;
    if (d->HBar)
        d->HBar->resize(d->HBar->width(), size);
    if (d->VBar)
        d->VBar->resize(size, d->VBar->height());
    ReLayout();
}

void ZScrollContainer::SetSliderMinimumSize(int size)
{
    ZScrollContainerPrivate* d = d_zscrollcontainer;
    if (size < 1 || d->SliderMinimumSize == size)
        return;
    d->SliderMinimumSize = size;
    for (ZScrollBar* bar : {d->HBar, d->VBar}) {
        if (bar)
            bar->SetSliderMinimumSize(size);
    }
}

void ZScrollContainer::SetSliderRadius(int radius)
{
    ZScrollContainerPrivate* d = d_zscrollcontainer;
    radius = std::max(radius, 0);
    if (d->SliderRadius == radius)
        return;
    d->SliderRadius = radius;
    for (ZScrollBar* bar : {d->HBar, d->VBar}) {
        if (bar)
            bar->SetSliderRadius(radius);
    }
}

void ZScrollContainer::SetSliderColor(const QColor& color)
{
    ZScrollContainerPrivate* d = d_zscrollcontainer;
    if (d->SliderColor == color)
        return;
    d->SliderColor = color;
    for (ZScrollBar* bar : {d->HBar, d->VBar}) {
        if (bar)
            bar->SetSliderColor(color);
    }
}

void ZScrollContainer::SetSliderColorHover(const QColor& color)
{
    ZScrollContainerPrivate* d = d_zscrollcontainer;
    if (d->SliderColorHover == color)
        return;
    d->SliderColorHover = color;
    for (ZScrollBar* bar : {d->HBar, d->VBar}) {
        if (bar)
            bar->SetSliderColorHover(color);
    }
}

void ZScrollContainer::SetHScrollBarValue(int value)
{
    if (d_zscrollcontainer->HBar)
        d_zscrollcontainer->HBar->SetValue(value);
}

void ZScrollContainer::SetVScrollBarValue(int value)
{
    if (d_zscrollcontainer->VBar)
        d_zscrollcontainer->VBar->SetValue(value);
}

void ZScrollContainer::ReLayout()
{
    ZScrollContainerPrivate* d = d_zscrollcontainer;
    const QRect A = ContainerArea();
    int w = A.width();
    int h = A.height();
    const int SW = d->ScrollSize.width();
    const int SH = d->ScrollSize.height();

    bool needH = false;
    bool needV = false;
    if (d->HBar && w < SW) {
        needH = true;
        h -= d->HBar->height();
    }
    // The vertical bar narrows the content: a width that fitted may not fit any more.
    if (d->VBar && h < SH) {
        needV = true;
        w -= d->VBar->width();
        if (d->HBar && !needH && w < SW) {
            needH = true;
            h -= d->HBar->height();
        }
    }

    // A move of the area (padding or border on the top or left side) counts as well as a new size: the
    // subclass places its viewport at the scroll area's position.
    const QRect area(A.left(), A.top(), w, h);
    if (area != d->ScrollArea) {
        d->ScrollArea = area;
        ScrollContainerAreaChangedEvent();
        // The subclass may size its content to the new area; SetScrollSize then laid everything out anew.
        if (d->ScrollSize != QSize(SW, SH))
            return;
    }

    if (ZScrollBar* bar = d->HBar) {
        if (bar->isHidden() == needH)
            bar->setVisible(needH);
        if (!needH)
            bar->SetValue(0);
        bar->setGeometry(A.left(), A.bottom() - bar->height() + 1, w, bar->height());
        bar->SetTotalSize(SW);
        // A longer bar has a smaller range: a value past its new end comes back to the end.
        bar->SetValue(bar->Value());
        HScrollBarValueChangedEvent(bar->Value());
    }
    if (ZScrollBar* bar = d->VBar) {
        if (bar->isHidden() == needV)
            bar->setVisible(needV);
        if (!needV)
            bar->SetValue(0);
        bar->setGeometry(A.right() - bar->width() + 1, A.top(), bar->width(), h);
        bar->SetTotalSize(SH);
        // A longer bar has a smaller range: a value past its new end comes back to the end.
        bar->SetValue(bar->Value());
        VScrollBarValueChangedEvent(bar->Value());
    }
}

bool ZScrollContainer::event(QEvent* e)
{
    ZScrollContainerPrivate* d = d_zscrollcontainer;
    switch (static_cast<int>(e->type())) {
    case QEvent::Wheel:
        if (d->VBar && !d->VBar->isHidden()) {
            auto* we = static_cast<QWheelEvent*>(e);
            // Only the vertical angle: a sideways swipe does not scroll vertically. A notch is 120 eighths
            // of a degree, 15 degrees per step; smaller high-resolution deltas round to no step.
            const int degrees = qRound(we->angleDelta().y() * 0.125);
            if (degrees != 0) {
                const int steps = qRound(degrees / 15.0);
                d->VBar->SetValue(d->VBar->Value() - steps * d->WheelStepPixel);
            }
            we->accept();
            return true;
        }
        break;
    case ZEvent::ContainerAreaChanged:
        ReLayout();
        break;
    default:
        break;
    }
    return ZContainer::event(e);
}
