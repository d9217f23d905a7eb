// The backups page: the drive list, start and stop, the backup log.
#include "MainForm.h"

void MainForm::BuildBackupsPage()
{
    // g_StorageControlList: made here by the drive list's code.
}

void MainForm::StorageControlListEventDispose(int Event)
{
    Q_UNUSED(Event);
}

void MainForm::BackupEvent(BackupEventType Event, KesDevice* Device, QString Text)
{
    Q_UNUSED(Event);
    Q_UNUSED(Device);
    Q_UNUSED(Text);
}
