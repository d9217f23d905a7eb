#pragma once

#include "ZForm.h"

#include <QString>

namespace Ui {
class EditRecordNotesForm;
}

// The record notes editor: one line of at most 64 bytes of UTF-8, run modally by the record page for the chosen
// record. Long-lived: made once with the main window as parent, hidden between runs.
class EditRecordNotesForm : public ZForm
{
    Q_OBJECT

public:
    explicit EditRecordNotesForm(QWidget* parent);
    ~EditRecordNotesForm() override;

    // Shows `notes` in the line and runs the editor centred over the main window: 1 when a text that fits was
    // confirmed (then in Notes), 0 on Cancel or any other end of the run (Notes unchanged).
    int Exec(const QString& notes);

    // The last confirmed text, as typed (not trimmed; may be empty).
    QString Notes;

private slots:
    void on_ConfirmButton_Clicked();
    void on_CancelButton_Clicked();
    void on_NotesLineEdit_TextChanged();

private:
    template <typename F>
    friend void FollowLanguageAndSkin(F*);
    void LanguageChangedEvent();
    void SkinChangedEvent();

    Ui::EditRecordNotesForm* ui;
};

extern EditRecordNotesForm* g_EditRecordNotesForm;
