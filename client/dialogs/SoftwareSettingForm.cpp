#include "SoftwareSettingForm.h"

#include "ui_SoftwareSettingForm.h"

#include "DialogFrame.h"
#include "GetVersionInfoThread.h"
#include "LanguageTexts.h"
#include "LaunchUpdater.h"
#include "SoftwareSetting.h"

#include <QThread>
#include <QTimer>

namespace {

// How often a waiting automatic hand-over looks whether the nested event loops have ended.
constexpr int kHandOverRetryMs = 250;

int TimeOf(ZLineEdit* field)
{
    return field->Text().toInt(nullptr, 10);  // text that is not a number gives 0
}

}  // namespace

SoftwareSettingForm::SoftwareSettingForm(QWidget* parent) : ZForm(parent), ui(new Ui::SoftwareSettingForm)
{
    ui->setupUi(this);

    const SoftwareSetting& s = g_SoftwareSetting;
    ui->LanguageComboBox->SetItems(Language::Names());
    ui->LanguageComboBox->SetSelectedIndex(Language::Names().indexOf(s.Language));

    // Every box starts unchecked: checking one enables its dependents through its slot.
    ui->AutoBackupCheckBox->SetChecked(s.AutoBackup);
    ui->AutoBackupComboBox->SetSelectedIndex(s.BackupCycle);
    ui->AutoUpgradeCheckBox->SetChecked(s.AutoUpgrade);
    ui->AutoStartupCheckBox->SetChecked(s.AutoStartup);
    ui->AutoSyncTimeCheckBox->SetChecked(s.AutoSyncTime);
    ui->WarningPopupCheckBox->SetChecked(s.WarningPopup);
    ui->WarningPopupLineEdit->SetText(QString::number(s.WarningPopupTime));
    ui->StatusPopupCheckBox->SetChecked(s.StatusPopup);
    ui->StatusPopupComboBox->SetSelectedIndex(s.StatusPopupLocation);
    ui->StatusPopupLineEdit->SetText(QString::number(s.StatusPopupTime));
    ui->StatusPopupCheckBox1->SetChecked(s.StatusPopupComingCall);
    ui->StatusPopupCheckBox2->SetChecked(s.StatusPopupOutgoingCall);
    ui->StatusPopupCheckBox3->SetChecked(s.StatusPopupStrangeNumber);
    ui->NotesPopupCheckBox->SetChecked(s.NotesPopup);
    ui->NotesPopupComboBox->SetSelectedIndex(s.NotesPopupLocation);
    ui->NotesPopupLineEdit->SetText(QString::number(s.NotesPopupTime));

    FollowLanguageAndSkin(this);
    ui->CurrentVersionLabel->SetText(ClientVersion);

    m_VersionThread = new GetVersionInfoThread();
    connect(m_VersionThread, &GetVersionInfoThread::GotVersionInfo, this, &SoftwareSettingForm::VersionInfoEvent);
    m_VersionThread->start();
}

SoftwareSettingForm::~SoftwareSettingForm()
{
    StopVersionCheck(m_VersionThread);
    m_VersionThread = nullptr;
    delete ui;
}

void SoftwareSettingForm::LanguageChangedEvent()
{
    Language::ApplyLanguage(this);
}

void SoftwareSettingForm::SkinChangedEvent()
{
    ApplyDialogSkin(this);
}

void SoftwareSettingForm::on_WarningPopupCheckBox_CheckedChanged(bool Checked)
{
    ui->WarningPopupLineEdit->setEnabled(Checked);
}

void SoftwareSettingForm::on_AutoBackupCheckBox_CheckedChanged(bool Checked)
{
    ui->AutoBackupComboBox->setEnabled(Checked);
}

void SoftwareSettingForm::on_StatusPopupCheckBox_CheckedChanged(bool Checked)
{
    ui->StatusPopupComboBox->setEnabled(Checked);
    ui->StatusPopupLineEdit->setEnabled(Checked);
    ui->StatusPopupCheckBox1->setEnabled(Checked);
    ui->StatusPopupCheckBox2->setEnabled(Checked);
    ui->StatusPopupCheckBox3->setEnabled(Checked);
}

void SoftwareSettingForm::on_NotesPopupCheckBox_CheckedChanged(bool Checked)
{
    ui->NotesPopupComboBox->setEnabled(Checked);
    ui->NotesPopupLineEdit->setEnabled(Checked);
}

void SoftwareSettingForm::on_ConfirmButton_Clicked()
{
    SoftwareSetting& s = g_SoftwareSetting;
    const QString language = ui->LanguageComboBox->SelectedText();
    const bool languageChanged = language != s.Language;
    s.Language = language;
    s.AutoBackup = ui->AutoBackupCheckBox->Checked();
    s.BackupCycle = ui->AutoBackupComboBox->SelectedIndex();
    s.AutoUpgrade = ui->AutoUpgradeCheckBox->Checked();
    s.AutoStartup = ui->AutoStartupCheckBox->Checked();
    s.AutoSyncTime = ui->AutoSyncTimeCheckBox->Checked();
    s.WarningPopup = ui->WarningPopupCheckBox->Checked();
    s.WarningPopupTime = TimeOf(ui->WarningPopupLineEdit);
    s.StatusPopup = ui->StatusPopupCheckBox->Checked();
    s.StatusPopupLocation = ui->StatusPopupComboBox->SelectedIndex();
    s.StatusPopupTime = TimeOf(ui->StatusPopupLineEdit);
    s.StatusPopupComingCall = ui->StatusPopupCheckBox1->Checked();
    s.StatusPopupOutgoingCall = ui->StatusPopupCheckBox2->Checked();
    s.StatusPopupStrangeNumber = ui->StatusPopupCheckBox3->Checked();
    s.NotesPopup = ui->NotesPopupCheckBox->Checked();
    s.NotesPopupLocation = ui->NotesPopupComboBox->SelectedIndex();
    s.NotesPopupTime = TimeOf(ui->NotesPopupLineEdit);

    // A failed save keeps the new values in memory (they act at once) and says so before the dialog ends.
    if (!SaveSoftwareSetting())
        ShowResultTip(false, TextTips002, this);
    if (languageChanged)
        Language::Load(language);
    exit(0);
}

void SoftwareSettingForm::on_CancelButton_Clicked()
{
    exit(0);
}

void SoftwareSettingForm::on_UpgradeButton_Clicked()
{
    if (!IsOfferedClientVersion(m_VersionThread->LatestVersion()))
        return;
    if (!LaunchUpdater())
        ShowResultTip(false, TextTips002, this);
}

void SoftwareSettingForm::VersionInfoEvent()
{
    ui->LatestVersionLabel->SetText(m_VersionThread->LatestVersion());
    ui->UpgradeInfoItemList->SetItems(m_VersionThread->UpdateNotes());
    if (g_SoftwareSetting.AutoUpgrade && IsOfferedClientVersion(m_VersionThread->LatestVersion()))
        HandOverWhenIdle();
}

void SoftwareSettingForm::HandOverWhenIdle()
{
    if (QThread::currentThread()->loopLevel() > 1) {
        QTimer::singleShot(kHandOverRetryMs, this, &SoftwareSettingForm::HandOverWhenIdle);
        return;
    }
    LaunchUpdater();  // a failure is logged there; the client runs on
}
