#include "ZTabPage.h"

#include "ZButton.h"

#include <QEvent>
#include <QPointer>

struct ZTabPagePrivate
{
    // Owned; guarded, as the strip of a tab control it was taken into may be destroyed first.
    QPointer<ZButton> Button;
    QPixmap Image;
    QPixmap ImageSelected;
    QColor BackColor;
    QColor BackColorSelected;
    QColor ForeColor;
    QColor ForeColorSelected;
    QColor BorderColor;
    QColor BorderColorSelected;
    bool Selected = false;
};

ZTabPage::ZTabPage(QWidget* parent, bool ownTabButton)
    : ZPanel(parent)
    , d_ztabpage(new ZTabPagePrivate)
{
    if (ownTabButton) {
        d_ztabpage->Button = new ZButton(nullptr);
        d_ztabpage->Button->SetCanReLayoutParent(false);
        if (DesignerMode)
            SetPassiveObjectName(d_ztabpage->Button.data());
    }
    SetCanReLayoutParent(false);
    SetDock(DockType::Fill);
}

ZTabPage::~ZTabPage()
{
    delete d_ztabpage->Button.data();
    delete d_ztabpage;
}

ZButton* ZTabPage::Button() const
{
    return d_ztabpage->Button;
}

QString ZTabPage::Text() const
{
    return d_ztabpage->Button ? d_ztabpage->Button->Text() : QString();
}

QPoint ZTabPage::TextOffset() const
{
    return d_ztabpage->Button ? d_ztabpage->Button->TextOffset() : QPoint();
}

const QPixmap& ZTabPage::TabBarImage() const { return d_ztabpage->Image; }
const QPixmap& ZTabPage::TabBarImageSelected() const { return d_ztabpage->ImageSelected; }
const QColor& ZTabPage::TabBarBackColor() const { return d_ztabpage->BackColor; }
const QColor& ZTabPage::TabBarBackColorSelected() const { return d_ztabpage->BackColorSelected; }
const QColor& ZTabPage::TabBarForeColor() const { return d_ztabpage->ForeColor; }
const QColor& ZTabPage::TabBarForeColorSelected() const { return d_ztabpage->ForeColorSelected; }
const QColor& ZTabPage::TabBarBorderColor() const { return d_ztabpage->BorderColor; }
const QColor& ZTabPage::TabBarBorderColorSelected() const { return d_ztabpage->BorderColorSelected; }

QColor ZTabPage::TabBarBackColorHover() const
{
    return d_ztabpage->Button ? d_ztabpage->Button->BackColorHover() : QColor();
}

QColor ZTabPage::TabBarBackColorPress() const
{
    return d_ztabpage->Button ? d_ztabpage->Button->BackColorPress() : QColor();
}

QColor ZTabPage::TabBarForeColorHover() const
{
    return d_ztabpage->Button ? d_ztabpage->Button->ForeColorHover() : QColor();
}

PositionFlag::Flags ZTabPage::TabBarBorder() const
{
    return d_ztabpage->Button ? d_ztabpage->Button->Border() : PositionFlag::Flags(PositionFlag::None);
}

int ZTabPage::TabBarBorderWidth() const
{
    return d_ztabpage->Button ? d_ztabpage->Button->BorderWidth() : 0;
}

QColor ZTabPage::TabBarBorderColorHover() const
{
    return d_ztabpage->Button ? d_ztabpage->Button->BorderColorHover() : QColor();
}

void ZTabPage::SetText(const QString& text)
{
    if (d_ztabpage->Button)
        d_ztabpage->Button->SetText(text);
}

void ZTabPage::SetTextOffset(const QPoint& offset)
{
    if (d_ztabpage->Button)
        d_ztabpage->Button->SetTextOffset(offset);
}

void ZTabPage::SetTabBarBackColorHover(const QColor& color)
{
    if (d_ztabpage->Button)
        d_ztabpage->Button->SetBackColorHover(color);
}

void ZTabPage::SetTabBarBackColorPress(const QColor& color)
{
    if (d_ztabpage->Button)
        d_ztabpage->Button->SetBackColorPress(color);
}

void ZTabPage::SetTabBarForeColorHover(const QColor& color)
{
    if (d_ztabpage->Button)
        d_ztabpage->Button->SetForeColorHover(color);
}

void ZTabPage::SetTabBarBorder(QFlags<PositionFlag::Flag> sides)
{
    if (d_ztabpage->Button)
        d_ztabpage->Button->SetBorder(sides);
}

void ZTabPage::SetTabBarBorderWidth(int width)
{
    if (d_ztabpage->Button)
        d_ztabpage->Button->SetBorderWidth(width);
}

void ZTabPage::SetTabBarBorderColorHover(const QColor& color)
{
    if (d_ztabpage->Button)
        d_ztabpage->Button->SetBorderColorHover(color);
}

void ZTabPage::SetTabBarImage(const QPixmap& image)
{
    ZTabPagePrivate* d = d_ztabpage;
    if (!d->Button)
        return;
    d->Image = image;
    if (!d->Selected)
        d->Button->SetImage(image);
}

void ZTabPage::SetTabBarImageSelected(const QPixmap& image)
{
    ZTabPagePrivate* d = d_ztabpage;
    if (!d->Button)
        return;
    d->ImageSelected = image;
    if (d->Selected)
        d->Button->SetImage(image);
}

// The per-state colour setters: store a changed colour and hand it to the button while the page is in
// that state.
#define ZTABPAGE_STATE_COLOR(Setter, Field, ButtonSetter, WhenSelected)                                     \
    void ZTabPage::Setter(const QColor& color)                                                                \
    {                                                                                                         \
        ZTabPagePrivate* d = d_ztabpage;                                                                      \
        if (!d->Button || d->Field == color)                                                                  \
            return;                                                                                           \
        d->Field = color;                                                                                     \
        if (d->Selected == (WhenSelected))                                                                    \
            d->Button->ButtonSetter(color);                                                                   \
    }

ZTABPAGE_STATE_COLOR(SetTabBarBackColor, BackColor, SetBackColor, false)
ZTABPAGE_STATE_COLOR(SetTabBarBackColorSelected, BackColorSelected, SetBackColor, true)
ZTABPAGE_STATE_COLOR(SetTabBarForeColor, ForeColor, SetForeColor, false)
ZTABPAGE_STATE_COLOR(SetTabBarForeColorSelected, ForeColorSelected, SetForeColor, true)
ZTABPAGE_STATE_COLOR(SetTabBarBorderColor, BorderColor, SetBorderColor, false)
ZTABPAGE_STATE_COLOR(SetTabBarBorderColorSelected, BorderColorSelected, SetBorderColor, true)

#undef ZTABPAGE_STATE_COLOR

void ZTabPage::SetSelected(bool selected)
{
    ZTabPagePrivate* d = d_ztabpage;
    if (d->Selected == selected)
        return;
    d->Selected = selected;
    if (!d->Button)
        return;
    d->Button->SetCanHover(!selected);
    d->Button->SetImage(selected ? d->ImageSelected : d->Image);
    d->Button->SetBackColor(selected ? d->BackColorSelected : d->BackColor);
    d->Button->SetForeColor(selected ? d->ForeColorSelected : d->ForeColor);
    d->Button->SetBorderColor(selected ? d->BorderColorSelected : d->BorderColor);
}

bool ZTabPage::event(QEvent* e)
{
    if (e->type() == QEvent::FontChange && d_ztabpage->Button)
        d_ztabpage->Button->setFont(font());
    return ZPanel::event(e);
}
