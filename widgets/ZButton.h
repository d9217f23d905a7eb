#pragma once
#include "ZBaseButton.h"

#include <QImage>
#include <QPixmap>

struct ZButtonPrivate;

// The push button of every form: a background, an optional centred image, a border and the caption, each
// with its own colour while the mouse is over the button (the background also while pressed). A white
// (monochrome) image can be recoloured at run time: with ReplaceImageColor its pure white pixels are drawn
// in ImageColor, or in ImageColorHover while hovered. The hover colours are used while hovered whatever
// they hold. Emits Clicked() when a left press is released on the button.
class VELOUR_EXPORT ZButton : public ZBaseButton
{
    Q_OBJECT
    Q_PROPERTY(QColor BackColorHover READ BackColorHover WRITE SetBackColorHover)
    Q_PROPERTY(QColor BackColorPress READ BackColorPress WRITE SetBackColorPress)
    Q_PROPERTY(QColor ForeColorHover READ ForeColorHover WRITE SetForeColorHover)
    Q_PROPERTY(QColor BorderColorHover READ BorderColorHover WRITE SetBorderColorHover)
    Q_PROPERTY(QPixmap Image READ Image WRITE SetImage)
    Q_PROPERTY(bool ReplaceImageColor READ ReplaceImageColor WRITE SetReplaceImageColor)
    Q_PROPERTY(QColor ImageColor READ ImageColor WRITE SetImageColor)
    Q_PROPERTY(QColor ImageColorHover READ ImageColorHover WRITE SetImageColorHover)

public:
    explicit ZButton(QWidget* parent = nullptr);
    ~ZButton() override;

    const QColor& BackColorHover() const;
    const QColor& BackColorPress() const;
    const QColor& ForeColorHover() const;
    const QColor& BorderColorHover() const;
    const QPixmap& Image() const;
    bool ReplaceImageColor() const;
    const QColor& ImageColor() const;
    const QColor& ImageColorHover() const;

    void SetBackColorHover(const QColor& color);
    void SetBackColorPress(const QColor& color);
    void SetForeColorHover(const QColor& color);
    void SetBorderColorHover(const QColor& color);
    // Always rebuilds the drawn images (a null pixmap removes the image).
    void SetImage(const QPixmap& image);
    void SetReplaceImageColor(bool replace);
    void SetImageColor(const QColor& color);
    void SetImageColorHover(const QColor& color);

signals:
    void Clicked();

protected:
    void Paint(QPainter* painter) override;
    void ClickedEvent() override;

private:
    void RebuildNormalImage();
    void RebuildHoverImage();

    ZButtonPrivate* d_zbutton;
};
