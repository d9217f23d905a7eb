#pragma once

#include "PopupForm.h"

#include "CalvoxSDK.h"

#include <QPointer>
#include <QString>

class KesDevice;

namespace Ui {
class RecordPopupForm;
}

// The record pop-up: a recording has finished; shows its number (with the phone book's name and company) and
// takes notes for the record, which Add Keywords stores on the recorder at once.
class RecordPopupForm : public PopupForm
{
    Q_OBJECT

public:
    // The main window passes no parent: the pop-up is a top-level window of its own.
    explicit RecordPopupForm(QWidget* parent = nullptr);
    ~RecordPopupForm() override;

    // Filled by the caller before Popup.
    QString PhoneNum;
    QString Name;
    QString Company;
    // The record's channel, counted from 0.
    int Channel = 0;
    // The recorder that made the record. Not owned; becomes null when the device is removed and deleted, and
    // Add Keywords then fails without sending anything.
    QPointer<KesDevice> Device;
    // The finished record as the recorder described it: its date, its index in that day's index file.
    Calvox_CurrentRecordInfo RecordInfo = {};

    // Places the pop-up in the lower left (corner 0) or lower right corner, shows the texts and counts
    // `seconds` down (below 1: stays until closed).
    void Popup(int corner, int seconds);

private slots:
    // Grey while the notes fit their 64 bytes, red beyond; the first keystroke ends the countdown for good.
    void on_NotesLineEdit_TextChanged();
    void on_CloselButton_Clicked();
    // Sends the notes to the recorder (on this thread) and closes on success; on failure shows the failure
    // text above the line and stays open.
    void on_AddNotesButton_Clicked();

private:
    void OwnSkin() override;
    Ui::RecordPopupForm* ui;
};
