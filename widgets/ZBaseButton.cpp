#include "ZBaseButton.h"

#include <QMouseEvent>
#include <QPointer>

static constexpr int AlignmentBits = 0x1FF;

struct ZBaseButtonPrivate
{
    QString Text;
    QPoint TextOffset{0, 0};
    int Alignment = Qt::AlignCenter;
    bool CanHover = true;
    bool Hover = false;
    bool Pressed = false;
};

ZBaseButton::ZBaseButton(QWidget* parent)
    : ZBase(parent)
    , d_zbasebutton(new ZBaseButtonPrivate)
{
}

ZBaseButton::~ZBaseButton()
{
    delete d_zbasebutton;
}

const QString& ZBaseButton::Text() const { return d_zbasebutton->Text; }
const QPoint& ZBaseButton::TextOffset() const { return d_zbasebutton->TextOffset; }
Qt::Alignment ZBaseButton::Alignment() const { return Qt::Alignment(d_zbasebutton->Alignment); }
bool ZBaseButton::CanHover() const { return d_zbasebutton->CanHover; }
bool ZBaseButton::IsHover() const { return d_zbasebutton->Hover; }
bool ZBaseButton::IsPressed() const { return d_zbasebutton->Pressed; }

void ZBaseButton::SetText(const QString& text)
{
    if (d_zbasebutton->Text == text)
        return;
    d_zbasebutton->Text = text;
    update();
}

void ZBaseButton::SetTextOffset(const QPoint& offset)
{
    if (d_zbasebutton->TextOffset == offset)
        return;
    d_zbasebutton->TextOffset = offset;
    update();
}

void ZBaseButton::SetAlignment(QFlags<Qt::AlignmentFlag> alignment)
{
    const int bits = int(alignment) & AlignmentBits;
    if (d_zbasebutton->Alignment == bits)
        return;
    d_zbasebutton->Alignment = bits;
    update();
}

void ZBaseButton::SetCanHover(bool canHover)
{
    if (d_zbasebutton->CanHover == canHover)
        return;
    d_zbasebutton->CanHover = canHover;
    if (!canHover)
        d_zbasebutton->Hover = false;
}

bool ZBaseButton::event(QEvent* e)
{
    ZBaseButtonPrivate* d = d_zbasebutton;
    const bool enabled = !testAttribute(Qt::WA_Disabled);
    switch (e->type()) {
    case QEvent::MouseButtonPress: {
        auto* me = static_cast<QMouseEvent*>(e);
        if (enabled && me->button() == Qt::LeftButton) {
            d->Pressed = true;
            update();
        }
        break;
    }
    case QEvent::MouseButtonRelease: {
        if (!enabled)
            break;
        auto* me = static_cast<QMouseEvent*>(e);
        if (me->button() == Qt::LeftButton) {
            d->Pressed = false;
            update();
            if (rect().contains(me->localPos().toPoint())) {
                // A click may close and delete the button's window; touch nothing of it afterwards.
                QPointer<ZBaseButton> alive(this);
                ClickedEvent();
                if (!alive)
                    return true;
            }
        }
        // Consumed so that QWidget does not pass the release on to the parent; Qt Designer needs it.
        if (!DesignerMode)
            return true;
        break;
    }
    case QEvent::MouseMove: {
        if (enabled && d->CanHover) {
            const bool inside = rect().contains(static_cast<QMouseEvent*>(e)->localPos().toPoint());
            if (inside != d->Hover) {
                d->Hover = inside;
                update();
            }
        }
        break;
    }
    case QEvent::Enter:
    case QEvent::Leave:
        if (enabled && d->CanHover) {
            d->Hover = e->type() == QEvent::Enter;
            update();
        }
        break;
    case QEvent::Hide:
        d->Hover = false;
        d->Pressed = false;
        break;
    case QEvent::EnabledChange:
        if (!isEnabled()) {
            d->Hover = false;
            d->Pressed = false;
        }
        break;
    default:
        break;
    }
    return ZBase::event(e);
}
