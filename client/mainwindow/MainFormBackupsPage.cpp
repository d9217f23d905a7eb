// The backups page: the drive list, start and stop, the backup log.
#include "MainForm.h"

#include "KesDevice.h"
#include "LanguageTexts.h"
#include "MainFormGlobals.h"
#include "MainFormUi.h"
#include "StorageControlList.h"
#include "WaitForm.h"
#include "WaitThread.h"

#include <QDateTime>

namespace {

// The newest line goes on top; the log keeps every line until the next run starts.
void AddBackupLog(ZItemList* log, const QString& message)
{
    log->InsetItem(0, QDateTime::currentDateTime().toString(QStringLiteral("[yyyy-MM-dd hh:mm:ss] ")) + message);
}

// "Device [Office] Start Backup".
QString DeviceLine(const KesDevice* device, const QString& text)
{
    return TextDevice001 + QStringLiteral(" [") + (device ? device->Name : QString()) + QStringLiteral("] ") + text;
}

} // namespace

void MainForm::BuildBackupsPage()
{
    g_StorageControlList = new StorageControlList(ui->StorageScrollArea);
    ui->StorageScrollPanel->SetScrollAreaSize(g_StorageControlList->size());
    connect(g_StorageControlList, &StorageControlList::StorageControlListEvent, this,
            &MainForm::StorageControlListEventDispose);
}

void MainForm::on_BackupButton_Clicked()
{
    if (!g_BackupThread->isRunning())
        g_BackupThread->Start();
}

void MainForm::on_BackupStopButton_Clicked()
{
    if (!g_BackupThread->isRunning())
        return;
    AddBackupLog(ui->BackupsStatusItemList, TextDevice037);
    g_WaitForm->Thread->Task = [] { g_BackupThread->Stop(); };
    g_WaitForm->Run();
}

void MainForm::StorageControlListEventDispose(int Event)
{
    if (Event == BackupPathChanged)
        AddBackupLog(ui->BackupsStatusItemList, TextDevice034);
    else if (Event == BackupPathFailed)
        AddBackupLog(ui->BackupsStatusItemList, TextDevice035);
}

void MainForm::BackupEvent(BackupEventType Event, KesDevice* Device, QString Text)
{
    ZItemList* log = ui->BackupsStatusItemList;
    // A run holds the backup root: the drive list stays disabled from its start to its end.
    const auto runGoes = [this](bool goes) {
        ui->BackupButton->setEnabled(!goes);
        ui->StorageScrollPanel->setEnabled(!goes);
    };
    switch (Event) {
    case BackupEvent_AutoCheck:
        AddBackupLog(log, QStringLiteral("Auto backup check"));
        break;
    case BackupEvent_Started:
        runGoes(true);
        log->SetItems(QStringList());
        AddBackupLog(log, TextDevice036);
        break;
    case BackupEvent_Finished:
        runGoes(false);
        AddBackupLog(log, TextDevice043);
        break;
    case BackupEvent_NoRoot:
        runGoes(false);
        AddBackupLog(log, TextDevice041);
        break;
    case BackupEvent_DeviceStarted:
        AddBackupLog(log, DeviceLine(Device, TextDevice036));
        break;
    case BackupEvent_DeviceDone:
        AddBackupLog(log, DeviceLine(Device, TextDevice040));
        break;
    case BackupEvent_DeviceFailed:
        AddBackupLog(log, DeviceLine(Device, TextDevice041));
        break;
    case BackupEvent_DeviceOffline:
        AddBackupLog(log, DeviceLine(Device, TextDevice018));
        break;
    case BackupEvent_FileStarted:
        AddBackupLog(log, TextDevice033 + QLatin1Char(' ') + Text);
        break;
    case BackupEvent_FileRetry:
        AddBackupLog(log, Text + TextDevice042);
        break;
    case BackupEvent_Paused:
        AddBackupLog(log, TextDevice038);
        break;
    case BackupEvent_Resumed:
        AddBackupLog(log, TextDevice039);
        break;
    }
}
