#pragma once

#include "ChannelCheckGrid.h"
#include "ZForm.h"

namespace Ui {
class ChannelSelectForm;
}

// The channel picker: the caller's flags of a recorder's channels as 64 boxes, the first `count` live, the
// rest greyed; the flags are written back only after Confirm. The select-all box keeps its state between runs.
class ChannelSelectForm : public ZForm
{
    Q_OBJECT

public:
    explicit ChannelSelectForm(QWidget* parent);
    ~ChannelSelectForm() override;

    // Runs the picker over flags[0 .. count - 1] (count held to 0..64, so flags[64] on is never touched):
    // 1 after Confirm, which writes those flags; 0 after Cancel or a close, flags untouched.
    int Exec(int count, bool* flags);

    void LanguageChangedEvent();
    void SkinChangedEvent();

private slots:
    void on_ConfirmButton_Clicked();
    void on_CancelButton_Clicked();
    void on_SelectAllChannelCheckBox_CheckedChanged(bool checked);

private:
    Ui::ChannelSelectForm* ui;
    ChannelChecks m_Boxes;
    // The count of the current or last run, for the select-all box.
    int m_Count = 0;
};
