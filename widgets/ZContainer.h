#pragma once
#include "ZBase.h"
#include "ZPadding.h"

#include <QRect>

struct ZContainerPrivate;

// Base of every widget that holds other widgets: keeps the inner padding and the container area (the part
// of the widget left to children after padding and bordered sides), recomputed on resize and on border or
// padding changes; each recomputation posts one ContainerAreaChanged to the container itself.
class VELOUR_EXPORT ZContainer : public ZBase
{
    Q_OBJECT

public:
    explicit ZContainer(QWidget* parent = nullptr);
    ~ZContainer() override;

    const ZPadding& Padding() const;
    // Recomputes the container area when any of the four values changes.
    void SetPadding(const ZPadding& padding);
    // The rectangle, in the container's coordinates, that children may use; may be empty or negative
    // when padding and borders exceed the widget.
    const QRect& ContainerArea() const;

    void ComputeContainerArea();

protected:
    bool event(QEvent* e) override;

    // The dock/anchor placement of the ZBase children, shared by the containers that lay out children:
    // docked children take their side of the remaining area in children() order, Fill takes what is left;
    // undocked children follow the change of the area's size since the last run on the sides named by their
    // Anchor. rememberedAreaSize holds the area size of the last run ((-1, -1) before the first) and is
    // updated. With visibleOnly only visible children are placed, otherwise only hidden ones are skipped.
    // A skipped anchored child still follows the size change, so that it is in place when shown again.
    // Returns false (and changes nothing) when the container area is empty.
    bool DockAnchorLayout(QSize& rememberedAreaSize, bool visibleOnly);

private:
    ZContainerPrivate* d_zcontainer;
};
