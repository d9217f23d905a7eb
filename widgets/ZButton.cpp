#include "ZButton.h"

#include "StoreIfChanged.h"
#include "ZDrawAPI.h"

#include <QPainter>

struct ZButtonPrivate
{
    QColor BackColorHover;
    QColor BackColorPress;
    QColor ForeColorHover;
    QColor BorderColorHover;
    QPixmap Image;
    bool ReplaceImageColor = false;
    QColor ImageColor;
    QColor ImageColorHover;
    QImage NormalImage; // what is drawn normally
    QImage HoverImage;  // what is drawn while hovered, when not null
};

ZButton::ZButton(QWidget* parent)
    : ZBaseButton(parent)
    , d_zbutton(new ZButtonPrivate)
{
}

ZButton::~ZButton()
{
    delete d_zbutton;
}

const QColor& ZButton::BackColorHover() const { return d_zbutton->BackColorHover; }
const QColor& ZButton::BackColorPress() const { return d_zbutton->BackColorPress; }
const QColor& ZButton::ForeColorHover() const { return d_zbutton->ForeColorHover; }
const QColor& ZButton::BorderColorHover() const { return d_zbutton->BorderColorHover; }
const QPixmap& ZButton::Image() const { return d_zbutton->Image; }
bool ZButton::ReplaceImageColor() const { return d_zbutton->ReplaceImageColor; }
const QColor& ZButton::ImageColor() const { return d_zbutton->ImageColor; }
const QColor& ZButton::ImageColorHover() const { return d_zbutton->ImageColorHover; }

void ZButton::SetBackColorHover(const QColor& color)
{
    if (StoreIfChanged(d_zbutton->BackColorHover, color))
        update();
}

void ZButton::SetBackColorPress(const QColor& color)
{
    if (StoreIfChanged(d_zbutton->BackColorPress, color))
        update();
}

void ZButton::SetForeColorHover(const QColor& color)
{
    if (StoreIfChanged(d_zbutton->ForeColorHover, color))
        update();
}

void ZButton::SetBorderColorHover(const QColor& color)
{
    if (StoreIfChanged(d_zbutton->BorderColorHover, color))
        update();
}

void ZButton::SetImage(const QPixmap& image)
{
    d_zbutton->Image = image;
    RebuildNormalImage();
    RebuildHoverImage();
    update();
}

void ZButton::SetReplaceImageColor(bool replace)
{
    if (d_zbutton->ReplaceImageColor == replace)
        return;
    d_zbutton->ReplaceImageColor = replace;
    RebuildNormalImage();
    RebuildHoverImage();
    update();
}

void ZButton::SetImageColor(const QColor& color)
{
    if (!StoreIfChanged(d_zbutton->ImageColor, color))
        return;
    RebuildNormalImage();
    update();
}

void ZButton::SetImageColorHover(const QColor& color)
{
    if (!StoreIfChanged(d_zbutton->ImageColorHover, color))
        return;
    RebuildHoverImage();
    update();
}

void ZButton::RebuildNormalImage()
{
    ZButtonPrivate* d = d_zbutton;
    // A removed image is not drawn any more.
    d->NormalImage = d->Image.isNull() ? QImage() : d->Image.toImage().convertToFormat(QImage::Format_ARGB32);
    if (d->ReplaceImageColor)
        ZDrawAPI::ImageReplaceWhite(d->NormalImage, d->ImageColor);
}

void ZButton::RebuildHoverImage()
{
    ZButtonPrivate* d = d_zbutton;
    // Without recolouring, hovering shows the normal image: a hover image of an earlier picture or colour
    // setting would show something that is no longer set.
    if (d->Image.isNull() || !d->ReplaceImageColor) {
        d->HoverImage = QImage();
        return;
    }
    d->HoverImage = d->Image.toImage().convertToFormat(QImage::Format_ARGB32);
    ZDrawAPI::ImageReplaceWhite(d->HoverImage, d->ImageColorHover);
}

void ZButton::Paint(QPainter* p)
{
    const ZButtonPrivate* d = d_zbutton;
    const bool hover = IsHover();
    const QRect r(0, 0, width(), height());
    const QColor& back = IsPressed() ? d->BackColorPress : (hover ? d->BackColorHover : BackColor());
    ZDrawAPI::DrawBackColor(p, r, Radius(), back, BorderWidth());
    ZDrawAPI::DrawImage(p, r, hover && !d->HoverImage.isNull() ? d->HoverImage : d->NormalImage);
    ZDrawAPI::DrawBorder(p, r, Radius(), hover ? d->BorderColorHover : BorderColor(), Border(), BorderWidth());
    p->setPen(hover ? d->ForeColorHover : ForeColor());
    p->drawText(QRect(TextOffset(), QPoint(width() - 2, height() - 2)), int(Alignment()), Text());
}

void ZButton::ClickedEvent()
{
    emit Clicked();
}
