#pragma once

#include "ZForm.h"

namespace Ui {
class SingleProgressForm;
}

// The small modal window of one file transfer or deletion: a title, one line of text, a progress bar and one
// button. It holds no transfer logic (ProgressDriver drives it): every text comes from the caller, the button
// only reports its press. The window has no title-bar buttons, and a close from the window system (Alt+F4) or
// a program's close() of its host window counts as a press of the button, so that nothing but the button's
// handler ends a run. Coloured once, from the theme of its construction.
class SingleProgressForm : public ZForm
{
    Q_OBJECT

public:
    SingleProgressForm(const QString& title, QWidget* parent);
    ~SingleProgressForm() override;

    void SetText(const QString& text);
    void SetButtonText(const QString& text);
    // A percentage, 0..100.
    void SetValue(int value);

signals:
    void CancelButtonClicked();

private slots:
    void on_CancelButton_Clicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Ui::SingleProgressForm* ui;
};
