#include "ChannelSelectForm.h"

#include "DialogFrame.h"
#include "ui_ChannelSelectForm.h"

ChannelSelectForm::ChannelSelectForm(QWidget* parent) : ZForm(parent), ui(new Ui::ChannelSelectForm)
{
    ui->setupUi(this);
    m_Boxes = CreateChannelChecks(ui->ChannelPermissionPanel);
    FollowLanguageAndSkin(this);
}

ChannelSelectForm::~ChannelSelectForm()
{
    delete ui;
}

int ChannelSelectForm::Exec(int count, bool* flags)
{
    m_Count = qBound(0, count, 64);
    for (int i = 0; i < 64; ++i) {
        ZCheckBox* box = m_Boxes[static_cast<size_t>(i)];
        const bool live = i < m_Count;
        box->SetChecked(live && flags[i]);
        box->setEnabled(live);
    }
    const int result = exec(true);
    if (result == 0)
        return 0;
    for (int i = 0; i < m_Count; ++i)
        flags[i] = m_Boxes[static_cast<size_t>(i)]->Checked();
    return result;
}

void ChannelSelectForm::LanguageChangedEvent()
{
    Language::ApplyLanguage(this);
}

void ChannelSelectForm::SkinChangedEvent()
{
    ApplyDialogSkin(this);
}

void ChannelSelectForm::on_ConfirmButton_Clicked()
{
    exit(1);
}

void ChannelSelectForm::on_CancelButton_Clicked()
{
    exit(0);
}

void ChannelSelectForm::on_SelectAllChannelCheckBox_CheckedChanged(bool checked)
{
    for (int i = 0; i < m_Count; ++i)
        m_Boxes[static_cast<size_t>(i)]->SetChecked(checked);
}
