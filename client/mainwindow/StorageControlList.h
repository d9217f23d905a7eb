#pragma once

#include "StorageDrives.h"
#include "ZPanel.h"

#include <QList>
#include <QMetaType>
#include <QString>

class StorageControl;

// What the drive list reports after the operator checked a tile.
enum StorageControlListEventType {
    BackupPathChanged = 0,  // the tile's folder exists and is the saved BackupPath
    BackupPathFailed = 1    // the folder cannot be made or the settings cannot be saved: nothing changed
};
Q_DECLARE_METATYPE(StorageControlListEventType)

// The backup page's drive list: one StorageControl per drive, three to a row, 870 pixels wide. Built once; the
// drives are not re-read while the program runs.
//
// The checked tile is always the drive of g_SoftwareSetting.BackupPath (none when that is no listed drive's
// folder). Checking another tile makes its folder (one level), saves it as BackupPath and then unchecks the old
// tile; when either step fails, the new tile is unchecked again and BackupPath stays as it was, in memory and in
// the settings file. While a backup runs (g_BackupThread) no other tile can be checked: the change fails the same
// way. A double click on a tile makes its folder and opens it in the desktop's file browser.
class StorageControlList : public ZPanel
{
    Q_OBJECT

public:
    // The drives of this system (LocalBackupDrives), the home folder being the first drive.
    explicit StorageControlList(QWidget* parent);
    // The given drives. An empty BackupPath becomes the backup folder of `firstFolder` and is saved, whether or
    // not that folder is among the drives.
    StorageControlList(QWidget* parent, const QString& firstFolder, const QList<BackupDrive>& drives);

    StorageControl* CheckedControl = nullptr;

    static const int TileWidth = 280;
    static const int TileHeight = 56;

signals:
    void StorageControlListEvent(StorageControlListEventType Event);

private slots:
    void ControlCheckedChangedEvent(bool state);
    void ControlDoubleClickedEvent();

private:
    void Build(const QString& firstFolder, const QList<BackupDrive>& drives);
};
