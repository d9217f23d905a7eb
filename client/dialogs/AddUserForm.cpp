#include "AddUserForm.h"

#include "DialogFrame.h"
#include "KesDevice.h"
#include "LanguageTexts.h"
#include "WaitForm.h"
#include "WaitThread.h"
#include "ui_AddUserForm.h"

#include <cstring>

namespace {

constexpr int kNameField = 19;

// The name bytes of an entry: up to the first zero byte, never past the field (a 19-byte name has none).
QByteArray EntryName(const Calvox_UserInfo& user)
{
    return QByteArray(user.Name, static_cast<int>(qstrnlen(user.Name, kNameField)));
}

// Results of the recorder's user commands that the editor names.
constexpr int kNameExists = 102;
constexpr int kTableFull = 103;

}  // namespace

QStringList AddUserForm::s_Titles;

AddUserForm::AddUserForm(QWidget* parent) : ZForm(parent), ui(new Ui::AddUserForm)
{
    ui->setupUi(this);
    m_Boxes = CreateChannelChecks(ui->ChannelPermissionPanel);
    FollowLanguageAndSkin(this);
}

AddUserForm::~AddUserForm()
{
    delete ui;
}

int AddUserForm::ChannelCount() const
{
    return m_Device != nullptr ? qBound(0, m_Device->Channels, 64) : 0;
}

int AddUserForm::Exec(KesDevice* device, const Calvox_UserInfo* user)
{
    m_Device = device;
    m_Edit = user != nullptr;
    m_EditedName = m_Edit ? EntryName(*user) : QByteArray();
    m_TableNames.clear();
    if (m_Edit && device != nullptr) {
        for (const Calvox_UserInfo& entry : device->CopyUserEntries())
            m_TableNames.append(EntryName(entry));
    }
    const bool editable = !m_Edit || m_EditedName != "admin";

    SetTitle(s_Titles.value(m_Edit ? 1 : 0));
    ui->UserNameLineEdit->SetText(QString::fromLatin1(m_EditedName));
    ui->UserNameLineEdit->setEnabled(editable);
    ui->PasswordLineEdit1->SetText(QString());
    ui->PasswordLineEdit2->SetText(QString());

    const struct {
        ZCheckBox* box;
        uint8_t value;
    } permissions[] = {
        {ui->ManageUsersPermissionCheckBox, m_Edit ? user->ManageUsers : uint8_t(0)},
        {ui->ChangeSettingPermissionCheckBox, m_Edit ? user->ChangeSetting : uint8_t(0)},
        {ui->DownloadPermissionCheckBox, m_Edit ? user->Download : uint8_t(0)},
        {ui->DeletePermissionCheckBox, m_Edit ? user->Delete : uint8_t(0)},
        {ui->MonitorPermissionCheckBox, m_Edit ? user->Monitor : uint8_t(0)},
    };
    for (const auto& p : permissions) {
        p.box->setEnabled(editable);
        p.box->SetChecked(p.value != 0);
    }
    ui->SelectAllPermissionCheckBox->setEnabled(editable);
    ui->SelectAllChannelCheckBox->setEnabled(editable);

    const int count = ChannelCount();
    for (int i = 0; i < 64; ++i) {
        ZCheckBox* box = m_Boxes[static_cast<size_t>(i)];
        box->SetChecked(i < count && m_Edit && user->Channels[i] != 0);
        box->setEnabled(i < count && editable);
    }
    return exec(true);
}

Calvox_UserInfo AddUserForm::BuildRecord() const
{
    Calvox_UserInfo record;
    std::memset(&record, 0, sizeof record);
    // Latin-1 as the recorder stores names; a character outside it goes out as "?".
    const QByteArray name = ui->UserNameLineEdit->Text().toLatin1().left(kNameField);
    std::memcpy(record.Name, name.constData(), static_cast<size_t>(name.size()));
    record.ManageUsers = ui->ManageUsersPermissionCheckBox->Checked() ? 1 : 0;
    record.ChangeSetting = ui->ChangeSettingPermissionCheckBox->Checked() ? 1 : 0;
    record.Download = ui->DownloadPermissionCheckBox->Checked() ? 1 : 0;
    record.Delete = ui->DeletePermissionCheckBox->Checked() ? 1 : 0;
    record.Monitor = ui->MonitorPermissionCheckBox->Checked() ? 1 : 0;
    const int count = ChannelCount();
    for (int i = 0; i < count; ++i)
        record.Channels[i] = m_Boxes[static_cast<size_t>(i)]->Checked() ? 1 : 0;
    return record;
}

void AddUserForm::on_ConfirmButton_Clicked()
{
    const QString& password1 = ui->PasswordLineEdit1->Text();
    const QString& password2 = ui->PasswordLineEdit2->Text();
    if (ui->UserNameLineEdit->Text().isEmpty()) {
        ShowInputTip(ui->UserNameLineEdit, TextTips010);
        return;
    }
    if (!m_Edit && password1.isEmpty()) {
        ShowInputTip(ui->PasswordLineEdit1, TextTips011);
        return;
    }
    if (!m_Edit && password2.isEmpty()) {
        ShowInputTip(ui->PasswordLineEdit2, TextTips011);
        return;
    }
    if (password1 != password2) {
        ShowInputTip(ui->PasswordLineEdit2, TextTips015);
        return;
    }

    const Calvox_UserInfo record = BuildRecord();
    const QByteArray name = EntryName(record);
    if (m_Edit && name != m_EditedName && m_TableNames.contains(name)) {
        ShowResultTip(false, TextTips016, this);
        return;
    }

    // The task works on copies taken here and touches no widget.
    int result = -1;
    KesDevice* device = m_Device;
    const bool edit = m_Edit;
    const QString password = password1;
    g_WaitForm->Thread->Task = [&]() {
        result = edit ? device->EditUser(&record, password) : device->AddUser(&record, password);
    };
    if (!g_WaitForm->Run())
        result = -1;

    switch (result) {
    case 0:
        exit(1);
        break;
    case kNameExists:
        ShowResultTip(false, TextTips016, this);
        break;
    case kTableFull:
        ShowResultTip(false, TextTips017, this);
        break;
    default:
        ShowResultTip(false, TextDevice005, this);
        break;
    }
}

void AddUserForm::on_CancelButton_Clicked()
{
    exit(0);
}

void AddUserForm::on_SelectAllPermissionCheckBox_CheckedChanged(bool checked)
{
    for (ZCheckBox* box : {ui->DownloadPermissionCheckBox, ui->DeletePermissionCheckBox, ui->MonitorPermissionCheckBox,
                           ui->ChangeSettingPermissionCheckBox, ui->ManageUsersPermissionCheckBox})
        box->SetChecked(checked);
}

void AddUserForm::on_SelectAllChannelCheckBox_CheckedChanged(bool checked)
{
    const int count = ChannelCount();
    for (int i = 0; i < count; ++i)
        m_Boxes[static_cast<size_t>(i)]->SetChecked(checked);
}

void AddUserForm::LanguageChangedEvent()
{
    Language::ApplyLanguage(this);
    s_Titles = Title().split(QLatin1Char('|'));
    if (s_Titles.size() < 2)
        s_Titles.append(QString());
}

void AddUserForm::SkinChangedEvent()
{
    ApplyDialogSkin(this);
}
