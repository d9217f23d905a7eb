#pragma once
#include "ZBase.h"

#include <QModelIndex>
#include <QPoint>

class QTreeView;

// Hosts a standard QTreeView in a ZBase so that it is placed and skinned like the library's own widgets. The
// application reaches the tree through TreeView (model, header, edit triggers, its signals). The tree fills
// the host; a style sheet set on the host passes to the tree. A context-menu request over the tree comes
// out as ItemRightClicked with the item under the point, an invalid index over empty space.
class VELOUR_EXPORT ZTreeView : public ZBase
{
    Q_OBJECT

public:
    explicit ZTreeView(QWidget* parent = nullptr);
    ~ZTreeView() override;

    // Owned; created with the host, at (0, 0).
    QTreeView* TreeView;

signals:
    // Pos in the tree's viewport coordinates, as Qt delivers it.
    void ItemRightClicked(const QPoint& Pos, const QModelIndex& Index);

public slots:
    void CustomContextMenuEvent(const QPoint& pos);

protected:
    void Paint(QPainter* painter) override;
    bool event(QEvent* e) override;
};
