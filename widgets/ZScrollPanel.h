#pragma once
#include "ZScrollContainer.h"

class ZPanel;
struct ZScrollPanelPrivate;

// The general scrolling panel. A ZPanel created as a direct child of the scroll panel (by a form layout or
// by the application) becomes its content, ScrollWidget(), when Qt polishes it (at the latest when the
// scroll panel is first shown): it is moved into a clipping viewport, docked Fill, and given ScrollAreaSize
// as its minimum size, so it is at least as large as the content and at least as large as the viewport.
// The application puts its scrolled widgets into that panel. The bars move it; every placement reports the
// positions through HScrollLocationChanged / VScrollLocationChanged.
class VELOUR_EXPORT ZScrollPanel : public ZScrollContainer
{
    Q_OBJECT
    Q_PROPERTY(QSize ScrollAreaSize READ ScrollAreaSize WRITE SetScrollAreaSize)

public:
    explicit ZScrollPanel(QWidget* parent = nullptr);
    ~ZScrollPanel() override;

    // The adopted content panel; null until one is adopted.
    ZPanel* ScrollWidget() const;
    // The same value as ScrollSize.
    const QSize& ScrollAreaSize() const;
    // Nothing when unchanged; otherwise the new content size, also as the content panel's minimum size.
    // The content keeps its scroll position (limited to the new range).
    void SetScrollAreaSize(const QSize& size);

signals:
    void HScrollLocationChanged(int X);
    void VScrollLocationChanged(int Y);

protected:
    void Paint(QPainter* painter) override;
    void ScrollContainerAreaChangedEvent() override;
    void HScrollBarValueChangedEvent(int x) override;
    void VScrollBarValueChangedEvent(int y) override;
    void childEvent(QChildEvent* e) override;

private:
    void PlaceContent();

    ZScrollPanelPrivate* d_zscrollpanel;
};
