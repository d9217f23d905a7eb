#pragma once

#include "ZForm.h"

#include <array>

class ZCheckBox;

namespace Ui {
class WeekSelectForm;
}

// The weekday picker: the days (0 Sunday .. 6 Saturday) to which one day's settings are copied. The given
// day shows checked and greyed; the caller's seven flags are written, except the given day's, only after
// Confirm. The select-all box keeps its state between runs.
class WeekSelectForm : public ZForm
{
    Q_OBJECT

public:
    explicit WeekSelectForm(QWidget* parent);
    ~WeekSelectForm() override;

    // Runs the picker for `day` over flags[0..6]: 1 after Confirm, which writes every flag but the day's (all
    // seven for a day outside 0..6); 0 after Cancel or a close, flags untouched.
    int Exec(int day, bool* flags);

    void LanguageChangedEvent();
    void SkinChangedEvent();

private slots:
    void on_ConfirmButton_Clicked();
    void on_CancelButton_Clicked();
    void on_SelectAllWeekCheckBox_CheckedChanged(bool checked);

private:
    Ui::WeekSelectForm* ui;
    // Box i stands for day i, found by object name.
    std::array<ZCheckBox*, 7> m_Days{};
    // The day of the current or last run, for the select-all box.
    int m_Day = 0;
};
