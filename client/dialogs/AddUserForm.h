#pragma once

#include "CalvoxSDK.h"
#include "ChannelCheckGrid.h"
#include "ZForm.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

class KesDevice;

namespace Ui {
class AddUserForm;
}

// The user editor: adds an account to a recorder or changes one (name, password, five permissions, the
// recorder's channels) and sends it itself under the wait panel. It closes with 1 only when the recorder
// accepted the account; a refusal is shown in a message box and the dialog stays open with its input. The
// account "admin" keeps everything but its password.
//
// The recorder names the account of an edit by the name the command carries and knows no rename: a name
// changed to another account's would overwrite that account. Such a name (one of the device's user table at
// Exec, other than the edited account's own) is refused with "Users name already exist" before anything is
// sent.
class AddUserForm : public ZForm
{
    Q_OBJECT

public:
    explicit AddUserForm(QWidget* parent);
    ~AddUserForm() override;

    // Add mode when user is null, else edit mode for that entry, which is read only here, before the run: the
    // caller may hand a copy that dies after Exec. 1 when the recorder accepted the account, 0 after Cancel or a
    // close.
    int Exec(KesDevice* device, const Calvox_UserInfo* user);

    void LanguageChangedEvent();
    void SkinChangedEvent();

private slots:
    void on_ConfirmButton_Clicked();
    void on_CancelButton_Clicked();
    void on_SelectAllPermissionCheckBox_CheckedChanged(bool checked);
    void on_SelectAllChannelCheckBox_CheckedChanged(bool checked);

private:
    // The device's channel count as the boxes use it (0..64).
    int ChannelCount() const;
    // The account as the recorder will receive it, from the fields.
    Calvox_UserInfo BuildRecord() const;

    Ui::AddUserForm* ui;
    ChannelChecks m_Boxes;
    bool m_Edit = false;
    KesDevice* m_Device = nullptr;
    // Edit mode: the edited account's name and the names of the device's user table, as the recorder has them.
    QByteArray m_EditedName;
    QList<QByteArray> m_TableNames;

    // Add and edit titles, from the language's title text; shared by every instance.
    static QStringList s_Titles;
};
