#pragma once

#include "PopupForm.h"

#include <QString>

namespace Ui {
class WarningPopupForm;
}

// The alert pop-up: one message (a recorder without storage, a line that was lost) in a text box that cannot
// be selected or edited, and a close button. It has no text map: the close button keeps its layout caption
// until the countdown writes to it.
class WarningPopupForm : public PopupForm
{
    Q_OBJECT

public:
    // The main window passes no parent: the pop-up is a top-level window of its own.
    explicit WarningPopupForm(QWidget* parent = nullptr);
    ~WarningPopupForm() override;

    // Filled by the caller before Popup; shown as plain text.
    QString Message;

    // Places the pop-up in the lower left (corner 0) or lower right corner, shows Message and counts `seconds`
    // down (below 1: stays until closed).
    void Popup(int corner, int seconds);

private slots:
    void on_CloselButton_Clicked();

private:
    void OwnSkin() override;
    Ui::WarningPopupForm* ui;
};
