#include "ZBase.h"

#include "ZEvent.h"

#include <QPainter>

bool DesignerMode = false;

void SetPassiveObjectName(QObject* object)
{
    if (!object)
        return;
    object->setObjectName(QStringLiteral("__qt__passive_") + object->objectName());
    const QObjectList children = object->children();
    for (QObject* child : children)
        SetPassiveObjectName(child);
}

struct ZBasePrivate
{
    DockType::Types Dock = DockType::None;
    PositionFlag::Flags Anchor = PositionFlag::Top | PositionFlag::Left;
    int Radius = 0;
    QColor BackColor;
    QColor ForeColor;
    PositionFlag::Flags Border = PositionFlag::None;
    int BorderWidth = 0;
    QColor BorderColor;
    bool UserFlag = false;
    bool CanReLayoutParent = true;
    bool SetByLayout = false;
    bool BorderChangedPending = false;
    bool ChildDockChangedPending = false;
};

ZBase::ZBase(QWidget* parent)
    : QWidget(parent, Qt::WindowFlags())
    , d_zbase(new ZBasePrivate)
{
    setFocusPolicy(Qt::ClickFocus);
}

ZBase::~ZBase()
{
    delete d_zbase;
}

bool ZBase::IsPassive() const { return d_zbase->Dock != DockType::None; }
DockType::Types ZBase::Dock() const { return d_zbase->Dock; }
PositionFlag::Flags ZBase::Anchor() const { return d_zbase->Anchor; }
int ZBase::Radius() const { return d_zbase->Radius; }
const QColor& ZBase::BackColor() const { return d_zbase->BackColor; }
const QColor& ZBase::ForeColor() const { return d_zbase->ForeColor; }
PositionFlag::Flags ZBase::Border() const { return d_zbase->Border; }
int ZBase::BorderWidth() const { return d_zbase->BorderWidth; }
const QColor& ZBase::BorderColor() const { return d_zbase->BorderColor; }
bool ZBase::UserFlag() const { return d_zbase->UserFlag; }
bool ZBase::CanReLayoutParent() const { return d_zbase->CanReLayoutParent; }
bool ZBase::IsSetByLayout() const { return d_zbase->SetByLayout; }

void ZBase::SetDock(DockType::Types dock)
{
    if (d_zbase->Dock == dock)
        return;
    d_zbase->Dock = dock;
    if (d_zbase->CanReLayoutParent) {
        if (ZBase* container = qobject_cast<ZBase*>(parentWidget()))
            container->PostChildDockChangedEvent();
    }
}

void ZBase::SetAnchor(QFlags<PositionFlag::Flag> anchor)
{
    d_zbase->Anchor = anchor;
}

void ZBase::SetRadius(int radius)
{
    if (d_zbase->Radius == radius)
        return;
    d_zbase->Radius = radius;
    update();
}

void ZBase::SetBackColor(const QColor& color)
{
    if (d_zbase->BackColor == color)
        return;
    d_zbase->BackColor = color;
    update();
}

void ZBase::SetForeColor(const QColor& color)
{
    if (d_zbase->ForeColor == color)
        return;
    d_zbase->ForeColor = color;
    update();
}

void ZBase::SetBorderColor(const QColor& color)
{
    if (d_zbase->BorderColor == color)
        return;
    d_zbase->BorderColor = color;
    update();
}

void ZBase::SetBorder(QFlags<PositionFlag::Flag> sides)
{
    if (d_zbase->Border == sides)
        return;
    d_zbase->Border = sides;
    update();
    ZEvent::Post(this, ZEvent::BorderChanged, d_zbase->BorderChangedPending);
}

void ZBase::SetBorderWidth(int width)
{
    if (d_zbase->BorderWidth == width)
        return;
    d_zbase->BorderWidth = width;
    update();
    ZEvent::Post(this, ZEvent::BorderChanged, d_zbase->BorderChangedPending);
}

void ZBase::SetUserFlag(bool flag)
{
    d_zbase->UserFlag = flag;
}

void ZBase::SetCanReLayoutParent(bool can)
{
    d_zbase->CanReLayoutParent = can;
}

void ZBase::PostChildDockChangedEvent()
{
    ZEvent::Post(this, ZEvent::ChildDockChanged, d_zbase->ChildDockChangedPending);
}

void ZBase::LayoutSetGeometry(const QRect& r)
{
    if (r.size() == size()) {
        move(r.topLeft());
        return;
    }
    d_zbase->SetByLayout = true;
    setGeometry(r);
}

void ZBase::GridListPaint(QPainter* painter, const QPoint& offset)
{
    painter->save();
    painter->translate(QPointF(offset));
    painter->setFont(font());
    Paint(painter);
    painter->restore();
    const QObjectList& kids = children();
    for (QObject* child : kids) {
        if (ZBase* widget = qobject_cast<ZBase*>(child))
            widget->GridListPaint(painter, offset + widget->pos());
    }
}

bool ZBase::event(QEvent* e)
{
    switch (static_cast<int>(e->type())) {
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        if (d_zbase->CanReLayoutParent && !d_zbase->SetByLayout) {
            if (ZBase* container = qobject_cast<ZBase*>(parentWidget()))
                container->PostChildDockChangedEvent();
        }
        break;
    case ZEvent::ChildDockChanged:
        d_zbase->ChildDockChangedPending = false;
        return true;
    case ZEvent::BorderChanged:
        d_zbase->BorderChangedPending = false;
        return true;
    default:
        break;
    }
    return QWidget::event(e);
}

void ZBase::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Paint(&painter);
}
