// The settings page's device log: the recorder's log file as lines, refreshed, downloaded and deleted.
#include "MainForm.h"

#include "DialogFrame.h"
#include "KesDevice.h"
#include "LanguageTexts.h"
#include "MainFormUi.h"
#include "ProgressOperations.h"

#include <QFileDialog>

void MainForm::FillLogList(KesDevice* device)
{
    if (device != SettingDevice())
        return;
    const bool enabled = device != nullptr && CalvoxAPI_ConnectStatus(device->Handle) == 2;
    if (enabled) {
        // One copy: a refresh on the wait thread may replace the lines meanwhile.
        ui->LogItemList->SetItems(device->LogLines.Get());
        ui->LogItemList->SetVScrollBarValue(ui->LogItemList->ScrollSize().height());
    } else {
        ui->LogItemList->SetItems(QStringList());
    }
    ui->UpdateLogButton->setEnabled(enabled);
    ui->DownloadLogButton->setEnabled(enabled);
    ui->DeleteLogButton->setEnabled(enabled);
}

void MainForm::on_UpdateLogButton_Clicked()
{
    DeviceHold hold;
    int result = -1;
    if (!RunOnSettingDevice([](KesDevice* device) { return device->UpdateLog(); }, &hold, &result))
        return;
    if (result == 0)
        FillLogList(hold.Device());
    else if (result != 20)  // no log file: the list stays as it was, without a word
        ShowResultTip(false, TextDevice005, this);
}

void MainForm::on_DeleteLogButton_Clicked()
{
    DeviceHold hold;
    int result = -1;
    if (!RunOnSettingDevice([](KesDevice* device) { return device->DeleteLog(); }, &hold, &result))
        return;
    if (result == 0)
        FillLogList(hold.Device());
    else
        ShowResultTip(false, TextDevice030, this);
}

void MainForm::on_DownloadLogButton_Clicked()
{
    KesDevice* device = OnlineSettingDevice();
    if (device == nullptr)
        return;
    const QString path = QFileDialog::getSaveFileName(nullptr, TextMisc009, QString(), tr("Text Files(*.txt)"));
    if (path.isEmpty())
        return;
    DeviceHold hold = HoldDevice(device);
    if (!hold)
        return;
    DownloadLogWithProgress(device, path, this);
}
