#include "ZTreeView.h"

#include <QEvent>
#include <QTreeView>

ZTreeView::ZTreeView(QWidget* parent)
    : ZBase(parent)
    , TreeView(new QTreeView(this))
{
    TreeView->move(0, 0);
    TreeView->resize(size());
    TreeView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(TreeView, &QWidget::customContextMenuRequested, this, &ZTreeView::CustomContextMenuEvent);
    if (DesignerMode)
        SetPassiveObjectName(TreeView);
}

ZTreeView::~ZTreeView()
{
    delete TreeView;
}

void ZTreeView::CustomContextMenuEvent(const QPoint& pos)
{
    emit ItemRightClicked(pos, TreeView->indexAt(pos));
}

void ZTreeView::Paint(QPainter*)
{
}

bool ZTreeView::event(QEvent* e)
{
    switch (e->type()) {
    case QEvent::Resize:
        TreeView->resize(size());
        break;
    case QEvent::StyleChange:
        TreeView->setStyleSheet(styleSheet());
        break;
    default:
        break;
    }
    return ZBase::event(e);
}
