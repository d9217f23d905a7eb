#pragma once
#include "ZBaseButton.h"

struct ZCheckBoxPrivate;

// A 16-pixel check box, vertically centred at the left, with its caption 21 pixels further right. A click
// checks an unchecked box; a checked box is cleared only while UncheckWhenClicked is set (with it cleared
// the box behaves like a radio item). The tick is the white image "://Icons/CheckBox/CheckFlag.png"
// recoloured to CheckFlagColor (CheckFlagColorDisabled when disabled); until that colour is set no tick
// shows. Colours with alpha 0 are not drawn.
class VELOUR_EXPORT ZCheckBox : public ZBaseButton
{
    Q_OBJECT
    Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
    Q_PROPERTY(bool UncheckWhenClicked READ UncheckWhenClicked WRITE SetUncheckWhenClicked)
    Q_PROPERTY(QColor CheckFlagColor READ CheckFlagColor WRITE SetCheckFlagColor)
    Q_PROPERTY(QColor CheckFlagColorDisabled READ CheckFlagColorDisabled WRITE SetCheckFlagColorDisabled)
    Q_PROPERTY(QColor CheckRectColor READ CheckRectColor WRITE SetCheckRectColor)
    Q_PROPERTY(QColor CheckRectColorHover READ CheckRectColorHover WRITE SetCheckRectColorHover)
    Q_PROPERTY(QColor CheckRectColorDisabled READ CheckRectColorDisabled WRITE SetCheckRectColorDisabled)
    Q_PROPERTY(QColor CheckRectBackColor READ CheckRectBackColor WRITE SetCheckRectBackColor)
    Q_PROPERTY(QColor CheckRectBackColorDisabled READ CheckRectBackColorDisabled WRITE SetCheckRectBackColorDisabled)

public:
    explicit ZCheckBox(QWidget* parent = nullptr);
    ~ZCheckBox() override;

    bool Checked() const;
    bool UncheckWhenClicked() const;
    const QColor& CheckFlagColor() const;
    const QColor& CheckFlagColorDisabled() const;
    const QColor& CheckRectColor() const;
    const QColor& CheckRectColorHover() const;
    const QColor& CheckRectColorDisabled() const;
    const QColor& CheckRectBackColor() const;
    const QColor& CheckRectBackColorDisabled() const;

    // Emits CheckedChanged only when the state changes.
    void SetChecked(bool checked);
    void SetUncheckWhenClicked(bool uncheck);
    // Recolour the tick.
    void SetCheckFlagColor(const QColor& color);
    void SetCheckFlagColorDisabled(const QColor& color);
    void SetCheckRectColor(const QColor& color);
    void SetCheckRectColorHover(const QColor& color);
    void SetCheckRectColorDisabled(const QColor& color);
    void SetCheckRectBackColor(const QColor& color);
    void SetCheckRectBackColorDisabled(const QColor& color);

signals:
    void CheckedChanged(bool Checked);

protected:
    void Paint(QPainter* painter) override;
    void ClickedEvent() override;

private:
    ZCheckBoxPrivate* d_zcheckbox;
};
