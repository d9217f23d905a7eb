#include "ZFrameButton.h"

#include "ZDrawAPI.h"

#include <QPainter>

struct ZFrameButtonPrivate
{
    QColor BackColorHover;
    QColor BackColorPress;
    QColor ForeColorHover;
    QColor BorderColorHover;
    QPixmap Image;
    bool ReplaceImageColor = false;
    QColor ImageColor;
    QColor ImageColorHover;
    QImage NormalImage;
    QImage HoverImage;
};

ZFrameButton::ZFrameButton(QWidget* parent)
    : ZBaseButton(parent)
    , d_zframebutton(new ZFrameButtonPrivate)
{
}

ZFrameButton::~ZFrameButton()
{
    delete d_zframebutton;
}

const QColor& ZFrameButton::BackColorHover() const { return d_zframebutton->BackColorHover; }
const QColor& ZFrameButton::BackColorPress() const { return d_zframebutton->BackColorPress; }
const QColor& ZFrameButton::ForeColorHover() const { return d_zframebutton->ForeColorHover; }
const QColor& ZFrameButton::BorderColorHover() const { return d_zframebutton->BorderColorHover; }
const QPixmap& ZFrameButton::Image() const { return d_zframebutton->Image; }
bool ZFrameButton::ReplaceImageColor() const { return d_zframebutton->ReplaceImageColor; }
const QColor& ZFrameButton::ImageColor() const { return d_zframebutton->ImageColor; }
const QColor& ZFrameButton::ImageColorHover() const { return d_zframebutton->ImageColorHover; }

static bool StoreColor(QColor& field, const QColor& color)
{
    if (field == color)
        return false;
    field = color;
    return true;
}

void ZFrameButton::SetBackColorHover(const QColor& color)
{
    if (StoreColor(d_zframebutton->BackColorHover, color))
        update();
}

void ZFrameButton::SetBackColorPress(const QColor& color)
{
    if (StoreColor(d_zframebutton->BackColorPress, color))
        update();
}

void ZFrameButton::SetForeColorHover(const QColor& color)
{
    if (StoreColor(d_zframebutton->ForeColorHover, color))
        update();
}

void ZFrameButton::SetBorderColorHover(const QColor& color)
{
    if (StoreColor(d_zframebutton->BorderColorHover, color))
        update();
}

void ZFrameButton::SetImage(const QPixmap& image)
{
    d_zframebutton->Image = image;
    RebuildNormalImage();
    RebuildHoverImage();
    update();
}

void ZFrameButton::SetReplaceImageColor(bool replace)
{
    if (d_zframebutton->ReplaceImageColor == replace)
        return;
    d_zframebutton->ReplaceImageColor = replace;
    RebuildNormalImage();
    RebuildHoverImage();
    update();
}

void ZFrameButton::SetImageColor(const QColor& color)
{
    if (!StoreColor(d_zframebutton->ImageColor, color))
        return;
    RebuildNormalImage();
    update();
}

void ZFrameButton::SetImageColorHover(const QColor& color)
{
    if (!StoreColor(d_zframebutton->ImageColorHover, color))
        return;
    RebuildHoverImage();
    update();
}

void ZFrameButton::RebuildNormalImage()
{
    ZFrameButtonPrivate* d = d_zframebutton;
    if (d->Image.isNull()) {
        d->NormalImage = QImage();
        return;
    }
    d->NormalImage = d->Image.toImage().convertToFormat(QImage::Format_ARGB32);
    if (d->ReplaceImageColor)
        ZDrawAPI::ImageReplaceWhite(d->NormalImage, d->ImageColor);
}

void ZFrameButton::RebuildHoverImage()
{
    ZFrameButtonPrivate* d = d_zframebutton;
    if (d->Image.isNull() || !d->ReplaceImageColor) {
        d->HoverImage = QImage();
        return;
    }
    d->HoverImage = d->Image.toImage().convertToFormat(QImage::Format_ARGB32);
    ZDrawAPI::ImageReplaceWhite(d->HoverImage, d->ImageColorHover);
}

void ZFrameButton::Paint(QPainter* painter)
{
    const ZFrameButtonPrivate* d = d_zframebutton;
    const QRect r(0, 0, width(), height());
    const bool hover = IsHover();
    const QColor& back = IsPressed() ? d->BackColorPress : (hover ? d->BackColorHover : BackColor());
    ZDrawAPI::DrawBackColor(painter, r, Radius(), back, BorderWidth());
    const QImage& image = (hover && !d->HoverImage.isNull()) ? d->HoverImage : d->NormalImage;
    if (!image.isNull())
        ZDrawAPI::DrawImage(painter, r, image);
    ZDrawAPI::DrawBorder(painter, r, Radius(), hover ? d->BorderColorHover : BorderColor(), Border(), BorderWidth());
    if (!Text().isEmpty()) {
        painter->setPen(hover ? d->ForeColorHover : ForeColor());
        const QPoint& o = TextOffset();
        painter->drawText(QRect(QPoint(o.x(), o.y()), QPoint(width() - 2, height() - 2)), int(Alignment()), Text());
    }
}

void ZFrameButton::ClickedEvent()
{
    emit Clicked();
}
