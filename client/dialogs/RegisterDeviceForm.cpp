#include "RegisterDeviceForm.h"

#include "ui_RegisterDeviceForm.h"

#include "DeviceManage.h"
#include "DialogFrame.h"
#include "LanguageTexts.h"

RegisterDeviceForm::RegisterDeviceForm(QWidget* parent) : ZForm(parent), ui(new Ui::RegisterDeviceForm)
{
    ui->setupUi(this);
    FollowLanguageAndSkin(this);
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
        ShowInputTip(ui->DeviceIDLineEdit, TextTips003);
        return;
    }
    switch (DeviceManage::CheckDeviceID(ID)) {
    case 1:
        ShowInputTip(ui->DeviceIDLineEdit, TextTips004);
        return;
    case 2:
        ShowInputTip(ui->DeviceIDLineEdit, TextTips007);
        return;
    default:
        break;
    }
    Name = ui->DeviceNameLineEdit->Text().trimmed();
    if (Name.isEmpty()) {
        ShowInputTip(ui->DeviceNameLineEdit, TextTips005);
        return;
    }
    if (DeviceManage::CheckDeviceName(Name) == 2) {
        ShowInputTip(ui->DeviceNameLineEdit, TextTips006);
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
    ApplyDialogSkin(this);
}
