#include "WeekSelectForm.h"

#include "DialogFrame.h"
#include "ui_WeekSelectForm.h"

WeekSelectForm::WeekSelectForm(QWidget* parent) : ZForm(parent), ui(new Ui::WeekSelectForm)
{
    ui->setupUi(this);
    for (int i = 0; i < 7; ++i)
        m_Days[static_cast<size_t>(i)] = findChild<ZCheckBox*>(QStringLiteral("WeekCheck0%1").arg(i));
    FollowLanguageAndSkin(this);
}

WeekSelectForm::~WeekSelectForm()
{
    delete ui;
}

int WeekSelectForm::Exec(int day, bool* flags)
{
    m_Day = day;
    for (int i = 0; i < 7; ++i) {
        ZCheckBox* box = m_Days[static_cast<size_t>(i)];
        box->SetChecked(i == day);
        box->setEnabled(i != day);
    }
    const int result = exec(true);
    if (result == 0)
        return 0;
    for (int i = 0; i < 7; ++i) {
        if (i != day)
            flags[i] = m_Days[static_cast<size_t>(i)]->Checked();
    }
    return result;
}

void WeekSelectForm::LanguageChangedEvent()
{
    Language::ApplyLanguage(this);
}

void WeekSelectForm::SkinChangedEvent()
{
    ApplyDialogSkin(this);
}

void WeekSelectForm::on_ConfirmButton_Clicked()
{
    exit(1);
}

void WeekSelectForm::on_CancelButton_Clicked()
{
    exit(0);
}

void WeekSelectForm::on_SelectAllWeekCheckBox_CheckedChanged(bool checked)
{
    for (int i = 0; i < 7; ++i) {
        if (i != m_Day)
            m_Days[static_cast<size_t>(i)]->SetChecked(checked);
    }
}
