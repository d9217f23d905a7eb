#include "ZCheckBox.h"

#include "StoreIfChanged.h"
#include "ZDrawAPI.h"

#include <QPainter>

static const int BoxSize = 16;
static const int TextIndent = 21;

struct ZCheckBoxPrivate
{
    bool Checked = false;
    bool UncheckWhenClicked = true;
    QColor CheckFlagColor;
    QColor CheckFlagColorDisabled;
    QColor CheckRectColor;
    QColor CheckRectColorHover;
    QColor CheckRectColorDisabled;
    QColor CheckRectBackColor;
    QColor CheckRectBackColorDisabled;
    QImage CheckFlag;         // null until CheckFlagColor is set
    QImage CheckFlagDisabled; // null until CheckFlagColorDisabled is set
};

ZCheckBox::ZCheckBox(QWidget* parent)
    : ZBaseButton(parent)
    , d_zcheckbox(new ZCheckBoxPrivate)
{
    SetAlignment(Qt::AlignVCenter);
}

ZCheckBox::~ZCheckBox()
{
    delete d_zcheckbox;
}

bool ZCheckBox::Checked() const { return d_zcheckbox->Checked; }
bool ZCheckBox::UncheckWhenClicked() const { return d_zcheckbox->UncheckWhenClicked; }
const QColor& ZCheckBox::CheckFlagColor() const { return d_zcheckbox->CheckFlagColor; }
const QColor& ZCheckBox::CheckFlagColorDisabled() const { return d_zcheckbox->CheckFlagColorDisabled; }
const QColor& ZCheckBox::CheckRectColor() const { return d_zcheckbox->CheckRectColor; }
const QColor& ZCheckBox::CheckRectColorHover() const { return d_zcheckbox->CheckRectColorHover; }
const QColor& ZCheckBox::CheckRectColorDisabled() const { return d_zcheckbox->CheckRectColorDisabled; }
const QColor& ZCheckBox::CheckRectBackColor() const { return d_zcheckbox->CheckRectBackColor; }
const QColor& ZCheckBox::CheckRectBackColorDisabled() const { return d_zcheckbox->CheckRectBackColorDisabled; }

void ZCheckBox::SetChecked(bool checked)
{
    if (d_zcheckbox->Checked == checked)
        return;
    d_zcheckbox->Checked = checked;
    update();
    emit CheckedChanged(checked);
}

void ZCheckBox::SetUncheckWhenClicked(bool uncheck)
{
    d_zcheckbox->UncheckWhenClicked = uncheck;
}

static QImage TintedCheckFlag(const QColor& color)
{
    QImage image(QStringLiteral("://Icons/CheckBox/CheckFlag.png"));
    ZDrawAPI::ImageReplaceWhite(image, color);
    return image;
}

void ZCheckBox::SetCheckFlagColor(const QColor& color)
{
    if (!StoreIfChanged(d_zcheckbox->CheckFlagColor, color))
        return;
    d_zcheckbox->CheckFlag = TintedCheckFlag(color);
    if (isEnabled() && d_zcheckbox->Checked)
        update();
}

void ZCheckBox::SetCheckFlagColorDisabled(const QColor& color)
{
    if (!StoreIfChanged(d_zcheckbox->CheckFlagColorDisabled, color))
        return;
    d_zcheckbox->CheckFlagDisabled = TintedCheckFlag(color);
    if (!isEnabled() && d_zcheckbox->Checked)
        update();
}

// The colour setters repaint only when the changed colour is the one shown.
void ZCheckBox::SetCheckRectColor(const QColor& color)
{
    if (StoreIfChanged(d_zcheckbox->CheckRectColor, color) && isEnabled())
        update();
}

void ZCheckBox::SetCheckRectColorHover(const QColor& color)
{
    if (StoreIfChanged(d_zcheckbox->CheckRectColorHover, color) && isEnabled())
        update();
}

void ZCheckBox::SetCheckRectColorDisabled(const QColor& color)
{
    if (StoreIfChanged(d_zcheckbox->CheckRectColorDisabled, color) && !isEnabled())
        update();
}

void ZCheckBox::SetCheckRectBackColor(const QColor& color)
{
    if (StoreIfChanged(d_zcheckbox->CheckRectBackColor, color) && isEnabled())
        update();
}

void ZCheckBox::SetCheckRectBackColorDisabled(const QColor& color)
{
    if (StoreIfChanged(d_zcheckbox->CheckRectBackColorDisabled, color) && !isEnabled())
        update();
}

void ZCheckBox::Paint(QPainter* p)
{
    const ZCheckBoxPrivate* d = d_zcheckbox;
    const bool enabled = isEnabled();
    const int top = (height() - BoxSize) / 2;

    const QColor& back = enabled ? d->CheckRectBackColor : d->CheckRectBackColorDisabled;
    if (back.alpha() > 0)
        p->fillRect(QRect(0, top, BoxSize, BoxSize), back);
    if (d->Checked)
        ZDrawAPI::DrawImage(p, 0, top, enabled ? d->CheckFlag : d->CheckFlagDisabled);
    const QColor& frame =
        !enabled ? d->CheckRectColorDisabled : (IsHover() ? d->CheckRectColorHover : d->CheckRectColor);
    if (frame.alpha() > 0) {
        p->setPen(QPen(frame, 1));
        p->setBrush(Qt::NoBrush);
        p->drawRect(QRect(0, top, BoxSize - 1, BoxSize - 1));
    }
    if (!Text().isEmpty()) {
        p->setPen(ForeColor());
        p->drawText(QRect(QPoint(TextOffset().x() + TextIndent, TextOffset().y()), QPoint(width() - 2, height() - 2)),
                    int(Alignment()), Text());
    }
}

void ZCheckBox::ClickedEvent()
{
    if (!d_zcheckbox->Checked)
        SetChecked(true);
    else if (d_zcheckbox->UncheckWhenClicked)
        SetChecked(false);
}
