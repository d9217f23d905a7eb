#pragma once

#include "ZForm.h"

class GetVersionInfoThread;

namespace Ui {
class SoftwareSettingForm;
}

// The dialog of the client's own settings (language, automatic backup, upgrade, start and clock setting, the
// three pop-ups) and of its update check: the client's version, the latest one the update server offers, its
// notes and the Upgrade button. One instance, made by the main window after the settings were loaded; its
// constructor starts the update check, so the check runs at every start of the client.
//
// The controls are filled from g_SoftwareSetting only by the constructor; Confirm stores them all and saves,
// Cancel stores nothing. Both end the modal run with 0.
class SoftwareSettingForm : public ZForm
{
    Q_OBJECT

public:
    explicit SoftwareSettingForm(QWidget* parent);
    // Ends the update check within its bound (StopVersionCheck).
    ~SoftwareSettingForm() override;

    // The update check, for tests that drive it.
    GetVersionInfoThread* VersionCheck() const { return m_VersionThread; }

private slots:
    void on_WarningPopupCheckBox_CheckedChanged(bool Checked);
    void on_AutoBackupCheckBox_CheckedChanged(bool Checked);
    void on_StatusPopupCheckBox_CheckedChanged(bool Checked);
    void on_NotesPopupCheckBox_CheckedChanged(bool Checked);
    // Stores every control, saves (a failure box when the save or the autostart entry failed; the values stay
    // in memory), reloads the language when it changed, and ends with 0.
    void on_ConfirmButton_Clicked();
    void on_CancelButton_Clicked();
    // Hands over to the updater when the server offered another version; a failure box when it did not start.
    void on_UpgradeButton_Clicked();

private:
    template <typename F>
    friend void FollowLanguageAndSkin(F*);
    void LanguageChangedEvent();
    void SkinChangedEvent();

    // The version document arrived: version and notes shown; with AutoUpgrade stored on and another version
    // offered, the hand-over follows once no nested event loop runs.
    void VersionInfoEvent();
    // Launches the updater from the main event loop only: quitting the application inside a modal dialog, the
    // wait panel or a menu would cut the task or transfer it runs. Inside one, tries again a little later.
    void HandOverWhenIdle();

    Ui::SoftwareSettingForm* ui;
    GetVersionInfoThread* m_VersionThread = nullptr;
};
