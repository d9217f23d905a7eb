#pragma once
#include "ZBaseButton.h"

#include <QImage>
#include <QPixmap>

struct ZFrameButtonPrivate;

// Library-internal push button of the form's title bar (the system buttons) and of the tab strip (a tab
// page's tab): state colours, an optional image whose white pixels can be recoloured, and Clicked().
// Its setters carry the names of the library's push button so that either serves the same callers.
class ZFrameButton : public ZBaseButton
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
    explicit ZFrameButton(QWidget* parent = nullptr);
    ~ZFrameButton() override;

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
    // Stored without comparing; rebuilds the drawn images.
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

    ZFrameButtonPrivate* d_zframebutton;
};
