#pragma once
#include "ZPanel.h"

#include <QPixmap>

struct ZTabPagePrivate;

// One page of a ZTabControl: a panel that fills the control's page area and, when made with its own tab
// button, the button that stands for it in the tab strip. The button's look comes from the page's TabBar*
// properties; the per-state ones (image, back, fore and border colour) have one value for the normal and one
// for the selected state. A page made without a button ignores the button's setters; its getters then give
// the defaults (empty text, invalid colours, no border).
class VELOUR_EXPORT ZTabPage : public ZPanel
{
    Q_OBJECT
    Q_PROPERTY(DockType::Types Dock READ Dock DESIGNABLE false)
    Q_PROPERTY(PositionFlag::Flags Anchor READ Anchor DESIGNABLE false)
    Q_PROPERTY(int Radius READ Radius DESIGNABLE false)
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(QPoint TextOffset READ TextOffset WRITE SetTextOffset)
    Q_PROPERTY(QPixmap TabBarImage READ TabBarImage WRITE SetTabBarImage)
    Q_PROPERTY(QPixmap TabBarImageSelected READ TabBarImageSelected WRITE SetTabBarImageSelected)
    Q_PROPERTY(QColor TabBarBackColor READ TabBarBackColor WRITE SetTabBarBackColor)
    Q_PROPERTY(QColor TabBarBackColorSelected READ TabBarBackColorSelected WRITE SetTabBarBackColorSelected)
    Q_PROPERTY(QColor TabBarBackColorHover READ TabBarBackColorHover WRITE SetTabBarBackColorHover)
    Q_PROPERTY(QColor TabBarBackColorPress READ TabBarBackColorPress WRITE SetTabBarBackColorPress)
    Q_PROPERTY(QColor TabBarForeColor READ TabBarForeColor WRITE SetTabBarForeColor)
    Q_PROPERTY(QColor TabBarForeColorSelected READ TabBarForeColorSelected WRITE SetTabBarForeColorSelected)
    Q_PROPERTY(QColor TabBarForeColorHover READ TabBarForeColorHover WRITE SetTabBarForeColorHover)
    Q_PROPERTY(PositionFlag::Flags TabBarBorder READ TabBarBorder WRITE SetTabBarBorder)
    Q_PROPERTY(int TabBarBorderWidth READ TabBarBorderWidth WRITE SetTabBarBorderWidth)
    Q_PROPERTY(QColor TabBarBorderColor READ TabBarBorderColor WRITE SetTabBarBorderColor)
    Q_PROPERTY(QColor TabBarBorderColorSelected READ TabBarBorderColorSelected WRITE SetTabBarBorderColorSelected)
    Q_PROPERTY(QColor TabBarBorderColorHover READ TabBarBorderColorHover WRITE SetTabBarBorderColorHover)

public:
    // Layout files create pages with the parent only: they get their own tab button.
    explicit ZTabPage(QWidget* parent = nullptr, bool ownTabButton = true);
    ~ZTabPage() override;

    QString Text() const;
    QPoint TextOffset() const;
    const QPixmap& TabBarImage() const;
    const QPixmap& TabBarImageSelected() const;
    const QColor& TabBarBackColor() const;
    const QColor& TabBarBackColorSelected() const;
    QColor TabBarBackColorHover() const;
    QColor TabBarBackColorPress() const;
    const QColor& TabBarForeColor() const;
    const QColor& TabBarForeColorSelected() const;
    QColor TabBarForeColorHover() const;
    PositionFlag::Flags TabBarBorder() const;
    int TabBarBorderWidth() const;
    const QColor& TabBarBorderColor() const;
    const QColor& TabBarBorderColorSelected() const;
    QColor TabBarBorderColorHover() const;

    // Button pass-through.
    void SetText(const QString& text);
    void SetTextOffset(const QPoint& offset);
    void SetTabBarBackColorHover(const QColor& color);
    void SetTabBarBackColorPress(const QColor& color);
    void SetTabBarForeColorHover(const QColor& color);
    void SetTabBarBorder(QFlags<PositionFlag::Flag> sides);
    void SetTabBarBorderWidth(int width);
    void SetTabBarBorderColorHover(const QColor& color);
    // Per state: stored, and passed to the button while the page is in that state.
    void SetTabBarImage(const QPixmap& image);
    void SetTabBarImageSelected(const QPixmap& image);
    void SetTabBarBackColor(const QColor& color);
    void SetTabBarBackColorSelected(const QColor& color);
    void SetTabBarForeColor(const QColor& color);
    void SetTabBarForeColorSelected(const QColor& color);
    void SetTabBarBorderColor(const QColor& color);
    void SetTabBarBorderColorSelected(const QColor& color);

    // Written by the tab control: the button takes the selected state's look and shows no hover.
    void SetSelected(bool selected);

protected:
    bool event(QEvent* e) override;

private:
    friend class ZTabControl;
    // The page's tab button (null without one); the tab control takes it into its strip.
    class ZButton* Button() const;

    ZTabPagePrivate* d_ztabpage;
};
