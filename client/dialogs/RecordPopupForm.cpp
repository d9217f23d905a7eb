#include "RecordPopupForm.h"

#include "DialogFrame.h"
#include "KesDevice.h"
#include "LanguageTexts.h"
#include "RecordNotes.h"
#include "Skin.h"

#include "ui_RecordPopupForm.h"

RecordPopupForm::RecordPopupForm(QWidget* parent) : PopupForm(parent), ui(new Ui::RecordPopupForm)
{
    Q_INIT_RESOURCE(PopupForm);
    ui->setupUi(this);
    FinishConstruction();
}

RecordPopupForm::~RecordPopupForm()
{
    delete ui;
}

void RecordPopupForm::OwnSkin()
{
    ui->Logo->SetImageColor(g_ThemeColor);
    ui->Logo->SetImageColorHover(g_ThemeColor);
}

void RecordPopupForm::Popup(int corner, int seconds)
{
    ui->NameLabel->SetText(Name);
    ui->PhoneNumLabel->SetText(PhoneNum);
    ui->CompanyLabel->SetText(Company);
    StartPopup(corner, seconds, ui->CloselButton);
}

void RecordPopupForm::on_NotesLineEdit_TextChanged()
{
    ui->NotesLineEdit->SetForeColor(RecordNotesColor(ui->NotesLineEdit->Text()));
    StopCountdown();
}

void RecordPopupForm::on_CloselButton_Clicked()
{
    ClosePopup();
}

void RecordPopupForm::on_AddNotesButton_Clicked()
{
    int result = 4;
    if (KesDevice* device = Device.data()) {
        result = device->EditRecordNotes(RecordInfo.Index, RecordInfo.Year, RecordInfo.Month, RecordInfo.Day,
                                         static_cast<unsigned char>(Channel), ui->NotesLineEdit->Text());
    }
    if (result == 0) {
        ClosePopup();
        return;
    }
    ShowInputTip(ui->NotesLineEdit, TextTips002);
}
