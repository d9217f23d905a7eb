#include "RegisterDeviceForm.h"

#include "ui_RegisterDeviceForm.h"

#include "DeviceManage.h"
#include "Language.h"
#include "LanguageTexts.h"
#include "Skin.h"

#include <QToolTip>

namespace {

// A refusal is shown just above the field's left end, where the eye already is.
void ShowTipAt(QWidget* field, const QString& text)
{
    QToolTip::showText(field->mapToGlobal(QPoint(2, -10)), text);
}

}  // namespace

RegisterDeviceForm::RegisterDeviceForm(QWidget* parent) : ZForm(parent), ui(new Ui::RegisterDeviceForm)
{
    ui->setupUi(this);
    connect(g_Language, &Language::LanguageChanged, this, &RegisterDeviceForm::LanguageChangedEvent);
    connect(g_Skin, &Skin::SkinChanged, this, &RegisterDeviceForm::SkinChangedEvent);
}

RegisterDeviceForm::~RegisterDeviceForm()
{
    delete ui;
}

int RegisterDeviceForm::Exec(const QString& id)
{
    ui->DeviceNameLineEdit->SetText(QString());
    ui->DeviceIDLineEdit->SetText(id);
    ui->DeviceIDLineEdit->setEnabled(id.isEmpty());
    return exec(true);
}

void RegisterDeviceForm::on_RegisterButton_Clicked()
{
    ID = ui->DeviceIDLineEdit->Text().trimmed();
    if (ID.isEmpty()) {
        ShowTipAt(ui->DeviceIDLineEdit, TextTips003);
        return;
    }
    switch (DeviceManage::CheckDeviceID(ID)) {
    case 1:
        ShowTipAt(ui->DeviceIDLineEdit, TextTips004);
        return;
    case 2:
        ShowTipAt(ui->DeviceIDLineEdit, TextTips007);
        return;
    default:
        break;
    }
    Name = ui->DeviceNameLineEdit->Text().trimmed();
    if (Name.isEmpty()) {
        ShowTipAt(ui->DeviceNameLineEdit, TextTips005);
        return;
    }
    if (DeviceManage::CheckDeviceName(Name) == 2) {
        ShowTipAt(ui->DeviceNameLineEdit, TextTips006);
        return;
    }
    exit(1);
}

void RegisterDeviceForm::on_CancelButton_Clicked()
{
    exit(0);
}

void RegisterDeviceForm::LanguageChangedEvent()
{
    Language::ApplyLanguage(this);
}

void RegisterDeviceForm::SkinChangedEvent()
{
    Skin::ApplySkin(this);
    SetTitleBackColor(g_ThemeColor);
    SetForeColor(g_TextColor);
}
