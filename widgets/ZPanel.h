#pragma once
#include "ZContainer.h"

struct ZPanelPrivate;

// The plain container: paints its background (BackColor with Radius) and its bordered sides, and places its
// ZBase children by Dock and Anchor whenever it is resized, its area changes or a child asks for it.
class VELOUR_EXPORT ZPanel : public ZContainer
{
    Q_OBJECT

public:
    explicit ZPanel(QWidget* parent = nullptr);
    ~ZPanel() override;

    // The dock/anchor layout (ZContainer::DockAnchorLayout over the children that are not hidden). Run by
    // the library only from event(); an override that places some children itself may call this for the rest.
    virtual void ReLayout();

protected:
    void Paint(QPainter* painter) override;
    bool event(QEvent* e) override;

private:
    ZPanelPrivate* d_zpanel;
};
