#include "ZSwitchButton.h"

#include "StoreIfChanged.h"
#include "ZDrawAPI.h"

#include <QPainter>

struct ZSwitchButtonPrivate
{
    bool Checked = false;
    QString LeftText;
    QString RightText;
    QColor CheckedBackColor;
    QColor CheckedFontColor;
};

ZSwitchButton::ZSwitchButton(QWidget* parent)
    : ZBaseButton(parent)
    , d_zswitchbutton(new ZSwitchButtonPrivate)
{
}

ZSwitchButton::~ZSwitchButton()
{
    delete d_zswitchbutton;
}

bool ZSwitchButton::Checked() const { return d_zswitchbutton->Checked; }
const QString& ZSwitchButton::LeftText() const { return d_zswitchbutton->LeftText; }
const QString& ZSwitchButton::RightText() const { return d_zswitchbutton->RightText; }
const QColor& ZSwitchButton::CheckedBackColor() const { return d_zswitchbutton->CheckedBackColor; }
const QColor& ZSwitchButton::CheckedFontColor() const { return d_zswitchbutton->CheckedFontColor; }

void ZSwitchButton::SetChecked(bool checked)
{
    if (d_zswitchbutton->Checked == checked)
        return;
    d_zswitchbutton->Checked = checked;
    update();
    emit CheckedChanged(checked);
}

void ZSwitchButton::SetLeftText(const QString& text)
{
    if (StoreIfChanged(d_zswitchbutton->LeftText, text))
        update();
}

void ZSwitchButton::SetRightText(const QString& text)
{
    if (StoreIfChanged(d_zswitchbutton->RightText, text))
        update();
}

void ZSwitchButton::SetCheckedBackColor(const QColor& color)
{
    if (StoreIfChanged(d_zswitchbutton->CheckedBackColor, color))
        update();
}

void ZSwitchButton::SetCheckedFontColor(const QColor& color)
{
    if (StoreIfChanged(d_zswitchbutton->CheckedFontColor, color))
        update();
}

void ZSwitchButton::Paint(QPainter* p)
{
    const ZSwitchButtonPrivate* d = d_zswitchbutton;
    const QRect r(0, 0, width(), height());
    const int half = width() / 2;
    const QRect left(0, 0, half, height());
    const QRect right(half, 0, half, height());
    const QRect& highlighted = d->Checked ? right : left;

    ZDrawAPI::DrawBackColor(p, r, Radius(), BackColor(), BorderWidth());
    p->save();
    p->setClipRect(highlighted);
    ZDrawAPI::DrawBackColor(p, r, Radius(), d->CheckedBackColor, BorderWidth());
    p->restore();
    p->setClipRect(r);
    const int centre = Qt::AlignHCenter | Qt::AlignVCenter;
    p->setPen(d->Checked ? ForeColor() : d->CheckedFontColor);
    p->drawText(left, centre, d->LeftText);
    p->setPen(d->Checked ? d->CheckedFontColor : ForeColor());
    p->drawText(right, centre, d->RightText);
    ZDrawAPI::DrawBorder(p, r, Radius(), BorderColor(), Border(), BorderWidth());
}

void ZSwitchButton::ClickedEvent()
{
    SetChecked(!d_zswitchbutton->Checked);
}
