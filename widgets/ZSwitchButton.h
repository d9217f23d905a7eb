#pragma once
#include "ZBaseButton.h"

struct ZSwitchButtonPrivate;

// A two-halved toggle with a text on each half: unchecked highlights the left half, checked the right one.
// A click toggles it. With an odd width the last pixel column belongs to neither half.
class VELOUR_EXPORT ZSwitchButton : public ZBaseButton
{
    Q_OBJECT
    Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
    Q_PROPERTY(QString LeftText READ LeftText WRITE SetLeftText)
    Q_PROPERTY(QString RightText READ RightText WRITE SetRightText)
    Q_PROPERTY(QColor CheckedBackColor READ CheckedBackColor WRITE SetCheckedBackColor)
    Q_PROPERTY(QColor CheckedFontColor READ CheckedFontColor WRITE SetCheckedFontColor)

public:
    explicit ZSwitchButton(QWidget* parent = nullptr);
    ~ZSwitchButton() override;

    bool Checked() const;
    const QString& LeftText() const;
    const QString& RightText() const;
    const QColor& CheckedBackColor() const;
    const QColor& CheckedFontColor() const;

    // Emits CheckedChanged only when the state changes.
    void SetChecked(bool checked);
    void SetLeftText(const QString& text);
    void SetRightText(const QString& text);
    void SetCheckedBackColor(const QColor& color);
    void SetCheckedFontColor(const QColor& color);

signals:
    void CheckedChanged(bool Checked);

protected:
    void Paint(QPainter* painter) override;
    void ClickedEvent() override;

private:
    ZSwitchButtonPrivate* d_zswitchbutton;
};
