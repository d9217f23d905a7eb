#include "StorageControlList.h"

#include "MainFormGlobals.h"
#include "StorageControl.h"

#include "backup/BackupThread.h"
#include "SoftwareSetting.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

// The backup folder itself; its drive's folder must be there already.
bool MakeBackupFolder(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return true;
    return QDir().mkdir(path);
}

// BackupPath := path, saved. On failure the old value goes back into memory and, since a failed save may
// still have written the file (the autostart entry failing after it), into the file as well.
bool SaveBackupPath(const QString& path)
{
    const QString old = g_SoftwareSetting.BackupPath;
    g_SoftwareSetting.BackupPath = path;
    if (SaveSoftwareSetting())
        return true;
    g_SoftwareSetting.BackupPath = old;
    SaveSoftwareSetting();
    return false;
}

} // namespace

StorageControlList::StorageControlList(QWidget* parent) : ZPanel(parent)
{
    Build(QDir::homePath(), LocalBackupDrives());
}

StorageControlList::StorageControlList(QWidget* parent, const QString& firstFolder,
                                       const QList<BackupDrive>& drives)
    : ZPanel(parent)
{
    Build(firstFolder, drives);
}

void StorageControlList::Build(const QString& firstFolder, const QList<BackupDrive>& drives)
{
    if (g_SoftwareSetting.BackupPath.isEmpty()) {
        g_SoftwareSetting.BackupPath = BackupFolderPath(firstFolder);
        SaveSoftwareSetting();  // a failure shows when a drive is checked or a backup runs
    }

    int x = 30;
    int y = 10;
    int count = 0;
    for (const BackupDrive& drive : drives) {
        auto tile = new StorageControl(this);
        tile->move(x, y);
        tile->SetName(BackupFolderPath(drive.Folder), drive.Label);
        tile->SetSpace(drive.Total, drive.Free);
        // Before the connections: the start-up state is no change.
        if (tile->Path == g_SoftwareSetting.BackupPath && !CheckedControl) {
            tile->SetChecked(true);
            CheckedControl = tile;
        }
        connect(tile, &StorageControl::CheckedChanged, this, &StorageControlList::ControlCheckedChangedEvent);
        connect(tile, &StorageControl::MouseDoubleClicked, this, &StorageControlList::ControlDoubleClickedEvent);
        ++count;
        if (count % 3 == 0) {
            x = 30;
            y += TileHeight;
        } else {
            x += TileWidth;
        }
    }
    resize(870, (count / 3 + 1) * TileHeight + 20);
    SetBackColor(Qt::transparent);
    qRegisterMetaType<StorageControlListEventType>("StorageControlListEventType");
}

void StorageControlList::ControlCheckedChangedEvent(bool state)
{
    auto tile = qobject_cast<StorageControl*>(sender());
    if (!state || !tile || tile == CheckedControl)
        return;
    // The backup worker reads BackupPath while it runs. The page disables the list only when the run's start
    // event arrives, so a click can come before that.
    const bool backupRuns = g_BackupThread && g_BackupThread->isRunning();
    if (backupRuns || !MakeBackupFolder(tile->Path) || !SaveBackupPath(tile->Path)) {
        tile->SetChecked(false);  // its event with false changes nothing
        emit StorageControlListEvent(BackupPathFailed);
        return;
    }
    StorageControl* previous = CheckedControl;
    CheckedControl = tile;
    if (previous)
        previous->SetChecked(false);
    emit StorageControlListEvent(BackupPathChanged);
}

void StorageControlList::ControlDoubleClickedEvent()
{
    auto tile = qobject_cast<StorageControl*>(sender());
    if (!tile)
        return;
    MakeBackupFolder(tile->Path);
    // From the path, not its text: a '#' or '?' in a folder name is part of the name, not of the URL.
    QDesktopServices::openUrl(QUrl::fromLocalFile(tile->Path));
}
