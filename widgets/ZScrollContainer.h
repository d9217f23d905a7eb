#pragma once
#include "ZContainer.h"

#include <QColor>
#include <QRect>
#include <QSize>

class ZScrollBar;
struct ZScrollContainerPrivate;

// Abstract base of every scrolling widget (scroll panel, grid list, item list, drop-down list). It owns up to
// two ZScrollBars, decides from the content size (ScrollSize) and the container area which of them are
// needed, places them along the bottom and the right of the area, turns the vertical wheel into movement of
// the vertical bar, and tells the subclass through three hooks:
//   ScrollContainerAreaChangedEvent()  the scroll area (container area less the visible bars) changed; the
//                                      subclass may call SetScrollSize here (the layout then starts anew);
//   HScrollBarValueChangedEvent(x) / VScrollBarValueChangedEvent(y)  a bar moved. Both are also called at
//   the end of every ReLayout, so that a subclass always ends a layout with its content at the bars' values.
class VELOUR_EXPORT ZScrollContainer : public ZContainer
{
    Q_OBJECT
    Q_PROPERTY(int WheelStepPixel READ WheelStepPixel WRITE SetWheelStepPixel)
    Q_PROPERTY(int ScrollBarSize READ ScrollBarSize WRITE SetScrollBarSize)
    Q_PROPERTY(int SliderMinimumSize READ SliderMinimumSize WRITE SetSliderMinimumSize)
    Q_PROPERTY(int SliderRadius READ SliderRadius WRITE SetSliderRadius)
    Q_PROPERTY(QColor SliderColor READ SliderColor WRITE SetSliderColor)
    Q_PROPERTY(QColor SliderColorHover READ SliderColorHover WRITE SetSliderColorHover)

public:
    ZScrollContainer(bool hScrollBar, bool vScrollBar, QWidget* parent = nullptr);
    ~ZScrollContainer() override;

    // Size of the scrolled content; (-1, -1) until set.
    const QSize& ScrollSize() const;
    int WheelStepPixel() const;
    int ScrollBarSize() const;
    int SliderMinimumSize() const;
    int SliderRadius() const;
    const QColor& SliderColor() const;
    const QColor& SliderColorHover() const;
    // The part of the container area left to the content after the visible bars.
    const QRect& ScrollArea() const;
    // The bars (null when not requested at construction).
    ZScrollBar* HScrollBar() const;
    ZScrollBar* VScrollBar() const;
    // Scroll positions in content pixels (0 without that bar).
    int HScrollBarValue() const;
    int VScrollBarValue() const;

    // Lays out at once when the size changes.
    void SetScrollSize(const QSize& size);
    // Pixels scrolled per wheel notch (15 degrees).
    void SetWheelStepPixel(int pixels);
    // Thickness of both bars; negative counts as 0. Lays out when it changes.
    void SetScrollBarSize(int size);
    // Values below 1 are ignored.
    void SetSliderMinimumSize(int size);
    void SetSliderRadius(int radius);
    void SetSliderColor(const QColor& color);
    void SetSliderColorHover(const QColor& color);
    // Limited to the bar's range; nothing without that bar.
    void SetHScrollBarValue(int value);
    void SetVScrollBarValue(int value);

    // Decides which bars are needed, places them, updates the scroll area and calls the hooks.
    void ReLayout();

protected:
    virtual void ScrollContainerAreaChangedEvent() = 0;
    virtual void HScrollBarValueChangedEvent(int value) = 0;
    virtual void VScrollBarValueChangedEvent(int value) = 0;

    // Wheel: vertical scrolling while the vertical bar shows; ContainerAreaChanged: ReLayout.
    bool event(QEvent* e) override;

private:
    ZScrollContainerPrivate* d_zscrollcontainer;
};
