#pragma once

#include "PopupForm.h"

#include <QString>

namespace Ui {
class StatusPopupForm;
}

// The call pop-up: a ringing line's caller or a number dialled out, with the phone book's name, company and
// notes when it knows the number, and New Contacts for a number it does not know.
class StatusPopupForm : public PopupForm
{
    Q_OBJECT

public:
    // The main window passes no parent: the pop-up is a top-level window of its own.
    explicit StatusPopupForm(QWidget* parent = nullptr);
    ~StatusPopupForm() override;

    // Filled by the caller before Popup.
    QString PhoneNum;
    QString Name;
    QString Company;
    QString Notes;

    // Places the pop-up in the lower left (corner 0) or lower right corner, shows the texts, takes the title's
    // inbound or outbound part (the text map's title split at "|") and counts `seconds` down (below 1: stays
    // until closed). New Contacts is offered only for a caller without a name.
    void Popup(int corner, int seconds, bool outbound);

signals:
    // New Contacts was pressed; the pop-up closes right after. Receivers copy PhoneNum now if they need it.
    void EditButtonClicked();

private slots:
    void on_CloselButton_Clicked();
    void on_EditButton_Clicked();

private:
    void OwnSkin() override;
    Ui::StatusPopupForm* ui;
};
