#pragma once
#include "ZBase.h"

#include <QColor>

struct ZHourMinutePickerPrivate;

// A fixed 120 x 25 field that edits a time range shown as hh:mm-hh:mm. A click selects one of the four
// fields; the mouse wheel, the two arrow buttons and digit keys then change it (hours 0..23 and minutes
// 0..59, wrapping at the ends for the wheel and the arrows). The arrows are drawn once their colour is set:
// ButtonColor for the enabled state, ButtonColorDisable for the disabled one.
class VELOUR_EXPORT ZHourMinutePicker : public ZBase
{
    Q_OBJECT
    Q_PROPERTY(int StartHour READ StartHour WRITE SetStartHour)
    Q_PROPERTY(int StartMinute READ StartMinute WRITE SetStartMinute)
    Q_PROPERTY(int EndHour READ EndHour WRITE SetEndHour)
    Q_PROPERTY(int EndMinute READ EndMinute WRITE SetEndMinute)
    Q_PROPERTY(QColor ButtonColor READ ButtonColor WRITE SetButtonColor)
    Q_PROPERTY(QColor ButtonColorDisable READ ButtonColorDisable WRITE SetButtonColorDisable)
    Q_PROPERTY(QColor SelectedItemBackColor READ SelectedItemBackColor WRITE SetSelectedItemBackColor)
    Q_PROPERTY(QColor SelectedItemForeColor READ SelectedItemForeColor WRITE SetSelectedItemForeColor)

public:
    // Field numbers: even ones are hours, odd ones minutes.
    enum Field { NoField = -1, StartHourField = 0, StartMinuteField = 1, EndHourField = 2, EndMinuteField = 3 };

    explicit ZHourMinutePicker(QWidget* parent = nullptr);
    ~ZHourMinutePicker() override;

    int StartHour() const;
    int StartMinute() const;
    int EndHour() const;
    int EndMinute() const;
    const QColor& ButtonColor() const;
    const QColor& ButtonColorDisable() const;
    const QColor& SelectedItemBackColor() const;
    const QColor& SelectedItemForeColor() const;
    // The field being edited, NoField when none.
    int SelectedField() const;

    // Hours are clamped to 0..23, minutes to 0..59.
    void SetStartHour(int hour);
    void SetStartMinute(int minute);
    void SetEndHour(int hour);
    void SetEndMinute(int minute);
    void SetButtonColor(const QColor& color);
    void SetButtonColorDisable(const QColor& color);
    void SetSelectedItemBackColor(const QColor& color);
    void SetSelectedItemForeColor(const QColor& color);

protected:
    void Paint(QPainter* painter) override;
    bool event(QEvent* e) override;

private:
    void SetField(int field, int value);
    void StepSelected(int step);
    bool KeyPress(class QKeyEvent* e);

    ZHourMinutePickerPrivate* d_zhourminutepicker;
};
