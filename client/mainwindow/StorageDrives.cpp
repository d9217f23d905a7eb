#include "StorageDrives.h"

#include <QDir>
#include <QFile>
#include <QStorageInfo>

#include <unistd.h>

namespace {

bool HasSpace(const VolumeRecord& volume)
{
    return volume.Valid && volume.Ready && volume.Total > 0 && volume.Free > 0;
}

// Disks and partitions are block devices; pseudo file systems (proc, sysfs, tmpfs, overlay) name no device
// file. Network shares have no device file either, so they are recognised by their file system.
bool IsRealFileSystem(const VolumeRecord& volume)
{
    if (volume.Device.startsWith("/dev/"))
        return true;
    static const QByteArray shares[] = {"nfs", "nfs4", "cifs", "smb3"};
    for (const QByteArray& share : shares) {
        if (volume.FileSystem == share)
            return true;
    }
    return false;
}

} // namespace

QList<BackupDrive> SelectBackupDrives(const QString& home, const VolumeRecord& homeVolume,
                                      const QList<VolumeRecord>& volumes)
{
    QList<BackupDrive> drives;
    if (HasSpace(homeVolume))
        drives.append({home, QString(), homeVolume.Total, homeVolume.Free});
    for (const VolumeRecord& volume : volumes) {
        if (!HasSpace(volume) || volume.ReadOnly || !volume.MayWrite || !IsRealFileSystem(volume))
            continue;
        if (homeVolume.Valid && volume.Device == homeVolume.Device)
            continue;
        drives.append({volume.MountPoint, volume.Label, volume.Total, volume.Free});
    }
    return drives;
}

QString BackupFolderPath(const QString& folder)
{
    const QString name = QStringLiteral("CalvoxBackups/");
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

VolumeRecord ReadVolumeRecord(const QStorageInfo& volume)
{
    VolumeRecord record;
    record.MountPoint = volume.rootPath();
    record.Device = volume.device();
    record.FileSystem = volume.fileSystemType();
    record.Label = volume.name();
    record.Valid = volume.isValid();
    record.Ready = volume.isReady();
    record.ReadOnly = volume.isReadOnly();
    record.MayWrite = record.Valid && ::access(QFile::encodeName(record.MountPoint).constData(), W_OK) == 0;
    record.Total = volume.bytesTotal();
    record.Free = volume.bytesFree();
    return record;
}

QList<BackupDrive> LocalBackupDrives()
{
    const QString home = QDir::homePath();
    QList<VolumeRecord> volumes;
    const QList<QStorageInfo> mounted = QStorageInfo::mountedVolumes();
    for (const QStorageInfo& volume : mounted)
        volumes.append(ReadVolumeRecord(volume));
    return SelectBackupDrives(home, ReadVolumeRecord(QStorageInfo(home)), volumes);
}
