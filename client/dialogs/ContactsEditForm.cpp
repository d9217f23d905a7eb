#include "ContactsEditForm.h"

#include "DialogFrame.h"
#include "LanguageTexts.h"

#include "contacts/Contacts.h"

#include "ui_ContactsEditForm.h"

#include <QStringList>

ContactsEditForm::ContactsEditForm(QWidget* parent) : ZForm(parent), ui(new Ui::ContactsEditForm)
{
    ui->setupUi(this);
    FollowLanguageAndSkin(this);
}

ContactsEditForm::~ContactsEditForm()
{
    delete ui;
}

void ContactsEditForm::UpdateBookList()
{
    ui->ContactsListComboBox->SetItems(ContactsStore.keys());
}

int ContactsEditForm::Exec(bool edit, const QString& phone)
{
    // A second request while the editor is open (the call pop-ups stay clickable under it) would overwrite
    // the fields the operator is typing into.
    if (m_Running)
        return 0;

    ZComboBox* books = ui->ContactsListComboBox;
    books->SetSelectedIndex(-1);
    books->SetSelectedIndex(books->Items().indexOf(BookPath));

    SetTitle(m_Titles[edit ? 1 : 0]);
    const ContactInfo shown = edit ? Contact : ContactInfo();
    ui->NameLineEdit->SetText(shown.Name);
    ui->GenderComboBox->SetSelectedIndex(shown.Gender);
    ui->CompanyLineEdit->SetText(shown.Company);
    ui->DutyLineEdit->SetText(shown.Duty);
    ui->PhoneNumLineEdit->SetText(edit ? shown.PhoneNum : phone);
    ui->CompanyNumLineEdit->SetText(shown.CompanyNum);
    ui->CompanyAddrLineEdit->SetText(shown.CompanyAddr);
    // Plain text: notes that look like markup stay as typed.
    ui->NotesTextEdit->setPlainText(shown.Notes);

    m_Running = true;
    const int result = exec(true);
    m_Running = false;
    return result;
}

void ContactsEditForm::on_ConfirmButton_Clicked()
{
    if (ui->NameLineEdit->Text().isEmpty()) {
        ShowInputTip(ui->NameLineEdit, TextTips005);
        return;
    }
    if (ui->ContactsListComboBox->SelectedIndex() < 0) {
        ShowInputTip(ui->ContactsListComboBox, TextTips014);
        return;
    }
    BookPath = ui->ContactsListComboBox->SelectedText();
    Contact.Name = ui->NameLineEdit->Text();
    Contact.Gender = ui->GenderComboBox->SelectedIndex();
    Contact.Company = ui->CompanyLineEdit->Text();
    Contact.Duty = ui->DutyLineEdit->Text();
    Contact.PhoneNum = ui->PhoneNumLineEdit->Text();
    Contact.CompanyNum = ui->CompanyNumLineEdit->Text();
    Contact.CompanyAddr = ui->CompanyAddrLineEdit->Text();
    Contact.Notes = ui->NotesTextEdit->toPlainText();
    exit(1);
}

void ContactsEditForm::on_CancelButton_Clicked()
{
    exit(0);
}

void ContactsEditForm::LanguageChangedEvent()
{
    Language::ApplyLanguage(this);
    const QStringList genders = ui->GenderComboBox->Items();
    for (int i = 0; i < 2 && i < genders.size(); ++i)
        GenderTexts[i] = genders.at(i);
    RelabelContactGenders();

    QStringList titles = Title().split(QLatin1Char('|'), Qt::KeepEmptyParts);
    if (titles.size() < 2)
        titles.append(QString());
    m_Titles[0] = titles.at(0);
    m_Titles[1] = titles.at(1);
}

void ContactsEditForm::SkinChangedEvent()
{
    ApplyDialogSkin(this);
    ui->NotesTextEdit->setStyleSheet(
        QStringLiteral("QTextEdit{    color:rgb(100,100,100);    background-color:transparent;    border:1px solid "
                       "rgb(230,230,230);    selection-color:rgb(%4,%5,%6);    selection-background-color:rgb(%1,%2,"
                       "%3);}QTextEdit:hover{    border-color:rgb(%1,%2,%3);}QTextEdit:focus{    border-color:rgb(%1,"
                       "%2,%3);}")
            .arg(g_ThemeRed)
            .arg(g_ThemeGreen)
            .arg(g_ThemeBlue)
            .arg(g_TextRed)
            .arg(g_TextGreen)
            .arg(g_TextBlue));
}
