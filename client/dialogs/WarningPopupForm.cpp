#include "WarningPopupForm.h"

#include "PopupStyle.h"

#include "ui_WarningPopupForm.h"

WarningPopupForm::WarningPopupForm(QWidget* parent) : PopupForm(parent), ui(new Ui::WarningPopupForm)
{
    ui->setupUi(this);
    ui->NotesTextEdit->setTextInteractionFlags(Qt::NoTextInteraction);
    FinishConstruction();
}

WarningPopupForm::~WarningPopupForm()
{
    delete ui;
}

void WarningPopupForm::OwnSkin()
{
    ui->NotesTextEdit->setStyleSheet(PopupTextEditStyle());
}

void WarningPopupForm::Popup(int corner, int seconds)
{
    ui->NotesTextEdit->setPlainText(Message);
    StartPopup(corner, seconds, ui->CloselButton);
}

void WarningPopupForm::on_CloselButton_Clicked()
{
    ClosePopup();
}
