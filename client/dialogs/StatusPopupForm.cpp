#include "StatusPopupForm.h"

#include "PopupStyle.h"
#include "Skin.h"

#include "ui_StatusPopupForm.h"

StatusPopupForm::StatusPopupForm(QWidget* parent) : PopupForm(parent), ui(new Ui::StatusPopupForm)
{
    Q_INIT_RESOURCE(PopupForm);
    ui->setupUi(this);
    FinishConstruction();
}

StatusPopupForm::~StatusPopupForm()
{
    delete ui;
}

void StatusPopupForm::OwnSkin()
{
    ui->NotesTextEdit->setStyleSheet(PopupTextEditStyle());
    ui->Logo->SetImageColor(g_ThemeColor);
    ui->Logo->SetImageColorHover(g_ThemeColor);
}

void StatusPopupForm::Popup(int corner, int seconds, bool outbound)
{
    ui->NameLabel->SetText(Name);
    ui->PhoneNumLabel->SetText(PhoneNum);
    ui->CompanyLabel->SetText(Company);
    // Plain text: a note holding markup shows the markup, it is not rendered.
    ui->NotesTextEdit->setPlainText(Notes);
    ui->EditButton->setEnabled(Name.isEmpty());

    QStringList parts = Title().split(QLatin1Char('|'), Qt::KeepEmptyParts, Qt::CaseSensitive);
    if (parts.size() < 2)
        parts.append(QString());
    SetTitle(outbound ? parts[1] : parts[0]);

    StartPopup(corner, seconds, ui->CloselButton);
}

void StatusPopupForm::on_CloselButton_Clicked()
{
    ClosePopup();
}

void StatusPopupForm::on_EditButton_Clicked()
{
    emit EditButtonClicked();
    ClosePopup();
}
