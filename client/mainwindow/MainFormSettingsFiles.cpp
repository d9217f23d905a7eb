// The settings page's file operations: firmware upgrades from a local image and from the update server, the
// recorder's announcement files (upload, delete, and the lists that offer them).
#include "MainForm.h"

#include "DialogFrame.h"
#include "KesDevice.h"
#include "LanguageTexts.h"
#include "MainFormGlobals.h"
#include "MainFormUi.h"
#include "ProgressOperations.h"
#include "ScaledWait.h"
#include "settings/SettingRules.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QThread>

namespace {

// Why a firmware image is refused, for KesDevice::CheckFirmware's nonzero results.
QString FirmwareRefusal(int result)
{
    if (result == 40)
        return TextDevice024;
    if (result == 41)
        return TextDevice025;
    return TextDevice026;
}

// Reads the recorder's announcement list under the wait panel; true when it was read.
bool ReadPlayBackFiles(KesDevice* device)
{
    int result = -1;
    return MainForm::RunWaitTask([device] { return device->GetPlayBackFileList(); }, &result) && result == 0;
}

} // namespace

void MainForm::RestartAfterUpgrade(KesDevice* device)
{
    int result = -1;
    // The recorder needs a moment before it stops answering; the panel stays up meanwhile.
    const bool ran = RunWaitTask(
        [device] {
            const int reboot = device->Reboot();
            if (reboot == 0)
                QThread::msleep(static_cast<unsigned long>(ScaledWaitMs(5000)));
            return reboot;
        },
        &result);
    ShowResultTip(ran && result == 0, ran && result == 0 ? TextDevice029 : TextDevice028, this);
}

void MainForm::on_ManualUpgradeButton_Clicked()
{
    KesDevice* device = OnlineSettingDevice();
    if (device == nullptr)
        return;
    // "All (*)": "*.*" would hide names without a dot.
    const QString path =
        QFileDialog::getOpenFileName(nullptr, TextMisc009, QString(), tr("Images (*.bin);;All (*)"));
    if (path.isEmpty())
        return;
    DeviceHold hold = HoldDevice(device);
    if (!hold)
        return;
    if (const int check = device->CheckFirmware(path); check != 0) {
        ShowResultTip(false, FirmwareRefusal(check), this);
        return;
    }
    if (ManualUpgradeWithProgress(device, path, this) == ProgressResult::Succeeded)
        RestartAfterUpgrade(device);
}

void MainForm::on_OnlineUpgradeButton_Clicked()
{
    KesDevice* device = OnlineSettingDevice();
    if (device == nullptr || !device->HasNewVersion())
        return;
    const QString firmware = device->FirmwareFileName;
    if (firmware.isEmpty())
        return;
    DeviceHold hold = HoldDevice(device);
    if (!hold)
        return;
    // The server's image is checked like a local one before it goes to the recorder: a wrong or damaged
    // image would otherwise be flashed.
    const auto check = [device](const QString& image) {
        const int result = device->CheckFirmware(image);
        return result == 0 ? QString() : FirmwareRefusal(result);
    };
    if (OnlineUpgradeWithProgress(device, firmware, this, check) == ProgressResult::Succeeded)
        RestartAfterUpgrade(device);
}

void MainForm::on_UploadAudioFileButton_Clicked()
{
    KesDevice* device = OnlineSettingDevice();
    if (device == nullptr)
        return;
    const QString path = QFileDialog::getOpenFileName(nullptr, TextMisc009);
    if (path.isEmpty())
        return;
    // The recorder keeps single-byte names, and the name becomes part of a path on it.
    if (!IsAnnouncementFileName(QFileInfo(path).fileName())) {
        ShowResultTip(false, TextMisc011, this);
        return;
    }
    DeviceHold hold = HoldDevice(device);
    if (!hold)
        return;
    g_BackupThread->Pause();
    UploadAnnouncementWithProgress(device, path, this);
    if (ReadPlayBackFiles(device))
        FillPlayBackFiles(device);
    else
        ShowResultTip(false, TextDevice011, this);
    g_BackupThread->Resume();
}

void MainForm::on_DeleteAudioFileButton_Clicked()
{
    KesDevice* device = OnlineSettingDevice();
    const int index = ui->PlayBackFilesItemList->SelectedIndex();
    if (device == nullptr || index < 0 || index >= ui->PlayBackFilesItemList->Items().size())
        return;
    DeviceHold hold = HoldDevice(device);
    if (!hold)
        return;
    const QString name = ui->PlayBackFilesItemList->Items().at(index);
    // A listed name that would reach another file or folder is not deleted.
    int result = -1;
    if (IsListedAnnouncementName(name)) {
        if (!RunWaitTask([device, name] { return device->RemoveFile(QStringLiteral("/PlayBackFiles/") + name); },
                         &result))
            result = -1;
    }
    if (result != 0) {
        ShowResultTip(false, TextDevice030, this);
        return;
    }
    if (ReadPlayBackFiles(device))
        FillPlayBackFiles(device);
    else
        ShowResultTip(false, TextDevice011, this);
}

void MainForm::FillPlayBackFiles(KesDevice* device)
{
    if (device != SettingDevice())
        return;
    QStringList names;
    if (device != nullptr && CalvoxAPI_ConnectStatus(device->Handle) == 2)
        names = PlayBackFileNames(CalvoxAPI_PlayBackFileList(device->Handle));

    ui->PlayBackFilesItemList->SetItems(names);
    QList<ZComboBox*> combos{ui->AnnouncementComboBox};
    for (ZComboBox* combo : AllDayLongReplyComboBoxes)
        combos << combo;
    for (ZComboBox* combo : ReplyTimeSlotComboBoxes)
        combos << combo;
    for (ZComboBox* combo : GroupComboBoxes)
        combos << combo;
    // By name: a new file sorting before the chosen one would move the index onto another file, which a Save
    // would then write.
    for (ZComboBox* combo : combos) {
        const QString chosen = combo->SelectedText();
        combo->SetItems(names);
        combo->SetSelectedIndex(KeepChosenName(names, chosen));
    }
}
