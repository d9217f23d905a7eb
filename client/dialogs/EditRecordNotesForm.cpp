#include "EditRecordNotesForm.h"

#include "DialogFrame.h"
#include "LanguageTexts.h"
#include "RecordNotes.h"

#include "ui_EditRecordNotesForm.h"

EditRecordNotesForm* g_EditRecordNotesForm = nullptr;

EditRecordNotesForm::EditRecordNotesForm(QWidget* parent) : ZForm(parent), ui(new Ui::EditRecordNotesForm)
{
    ui->setupUi(this);
    FollowLanguageAndSkin(this);
}

EditRecordNotesForm::~EditRecordNotesForm()
{
    delete ui;
}

int EditRecordNotesForm::Exec(const QString& notes)
{
    ui->NotesLineEdit->SetText(notes);
    // SetText is silent when the text stays the same: the colour must follow the text all the same.
    on_NotesLineEdit_TextChanged();
    return exec(true);
}

void EditRecordNotesForm::on_ConfirmButton_Clicked()
{
    const QString text = ui->NotesLineEdit->Text();
    if (!RecordNotesFit(text)) {
        ui->NotesLineEdit->SetForeColor(RecordNotesColor(text));
        ShowInputTip(ui->NotesLineEdit, TextTips018);
        return;
    }
    Notes = text;
    exit(1);
}

void EditRecordNotesForm::on_CancelButton_Clicked()
{
    exit(0);
}

void EditRecordNotesForm::on_NotesLineEdit_TextChanged()
{
    ui->NotesLineEdit->SetForeColor(RecordNotesColor(ui->NotesLineEdit->Text()));
}

void EditRecordNotesForm::LanguageChangedEvent()
{
    Language::ApplyLanguage(this);
}

void EditRecordNotesForm::SkinChangedEvent()
{
    ApplyDialogSkin(this);
}
