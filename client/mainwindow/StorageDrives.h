#pragma once

// The local folders the backup page offers as backup roots, one tile each: first the user's home folder, then
// every other mounted volume the user may write backups to (a USB disk, a second disk, a network share).

#include <QByteArray>
#include <QList>
#include <QString>

class QStorageInfo;

// One mounted volume as the system reports it, with all that the choice below depends on.
struct VolumeRecord {
    QString MountPoint;      // "/media/ann/Data"
    QByteArray Device;       // "/dev/sdb1", "server:/export", "tmpfs"
    QByteArray FileSystem;   // "ext4", "nfs4", "proc"
    QString Label;           // the volume's name, empty when it has none
    bool Valid = false;      // the system answered for this mount point
    bool Ready = false;      // mounted and with a medium
    bool ReadOnly = false;
    bool MayWrite = false;   // this user may create entries in the mount point (access W_OK)
    qint64 Total = 0;        // bytes
    qint64 Free = 0;         // bytes
};

// One tile of the drive list.
struct BackupDrive {
    QString Folder;          // where the folder "CalvoxBackups" goes, without a trailing slash (but "/")
    QString Label;           // the volume's name, or empty
    qint64 Total = 0;
    qint64 Free = 0;
};

// The tiles for a home folder on `homeVolume` and the mounted `volumes`, in their order: the home folder first,
// with its volume's sizes and no label; then each volume that is valid, ready, not read-only, a real file system
// (a block device below /dev/, or an nfs, nfs4, cifs or smb3 share), not on the home volume's device (a bind or
// second mount of it would offer the same disk twice), whose mount point the user may write. A volume whose
// sizes are unknown (total 0) or that is completely full (free 0) is left out, the home folder too.
QList<BackupDrive> SelectBackupDrives(const QString& home, const VolumeRecord& homeVolume,
                                      const QList<VolumeRecord>& volumes);

// The backup root below a drive's folder: folder + "/CalvoxBackups/" with a single slash between the two
// (a path starting "//" means something else on some systems).
QString BackupFolderPath(const QString& folder);

// What the system says about one volume, `MayWrite` asked of the system for the calling user.
VolumeRecord ReadVolumeRecord(const QStorageInfo& volume);

// SelectBackupDrives over QDir::homePath() and the volumes mounted now.
QList<BackupDrive> LocalBackupDrives();
