#pragma once
#include "OrientationType.h"
#include "ZBase.h"

#include <QRect>

struct ZScrollBarPrivate;

// The thin skinned bar of the scrolling widgets: only a slider, no arrows and no track paging. The slider is
// dragged with the left button; its length shows how much of the content (TotalSize, in content pixels) the
// bar's own length shows, with SliderMinimumSize as the shortest slider. Value is the scroll position in
// content pixels, 0 .. max(0, TotalSize - bar length). A scroll container places and sizes its bars itself.
class VELOUR_EXPORT ZScrollBar : public ZBase
{
    Q_OBJECT

public:
    ZScrollBar(OrientationType::Types orientation, QWidget* parent = nullptr);
    ~ZScrollBar() override;

    OrientationType::Types Orientation() const;
    int TotalSize() const;
    int Value() const;
    int SliderMinimumSize() const;
    int SliderRadius() const;
    const QColor& SliderColor() const;
    const QColor& SliderColorHover() const;
    // Where the slider is drawn, in the bar's coordinates.
    const QRect& SliderRect() const;

    // Negative totals count as 0; a value past the new end is lowered to it (and ValueChanged emitted).
    void SetTotalSize(int total);
    // Clamped to 0 .. max(0, TotalSize - bar length); emits ValueChanged when the stored value changes.
    void SetValue(int value);
    void SetSliderMinimumSize(int size);
    // Negative radii count as 0.
    void SetSliderRadius(int radius);
    void SetSliderColor(const QColor& color);
    void SetSliderColorHover(const QColor& color);

signals:
    void ValueChanged(int value);

protected:
    void Paint(QPainter* painter) override;
    bool event(QEvent* e) override;

private:
    void UpdateSliderGeometry();
    int Length() const;

    ZScrollBarPrivate* d_zscrollbar;
};
