#include "StorageDrives.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const qint64 GiB = qint64(1) << 30;

// The home folder's volume: the root file system, which a user may not write at its top.
VolumeRecord HomeVolume()
{
    VolumeRecord v;
    v.MountPoint = QStringLiteral("/");
    v.Device = "/dev/nvme0n1p2";
    v.FileSystem = "ext4";
    v.Valid = v.Ready = true;
    v.MayWrite = false;
    v.Total = 500 * GiB;
    v.Free = 120 * GiB;
    return v;
}

// A volume that belongs in the list; each case below spoils one thing of it.
VolumeRecord UsbVolume()
{
    VolumeRecord v;
    v.MountPoint = QStringLiteral("/media/ann/Data");
    v.Device = "/dev/sdb1";
    v.FileSystem = "vfat";
    v.Label = QStringLiteral("Data");
    v.Valid = v.Ready = v.MayWrite = true;
    v.Total = 64 * GiB;
    v.Free = 10 * GiB;
    return v;
}

struct VolumeCase {
    const char* name;
    std::function<void(VolumeRecord&)> change;
    bool listed;
};

} // namespace

TEST(StorageDrives, EachVolumeRule)
{
    const VolumeCase cases[] = {
        {"USB volume", [](VolumeRecord&) {}, true},
        {"proc", [](VolumeRecord& v) { v.MountPoint = "/proc"; v.Device = "proc"; v.FileSystem = "proc"; }, false},
        {"tmpfs", [](VolumeRecord& v) { v.MountPoint = "/run/user/1000"; v.Device = "tmpfs"; v.FileSystem = "tmpfs"; },
         false},
        {"overlay", [](VolumeRecord& v) { v.Device = "overlay"; v.FileSystem = "overlay"; }, false},
        {"read-only", [](VolumeRecord& v) { v.ReadOnly = true; }, false},
        {"not writable by the user", [](VolumeRecord& v) { v.MayWrite = false; }, false},
        {"total 0", [](VolumeRecord& v) { v.Total = 0; v.Free = 0; }, false},
        {"total unknown", [](VolumeRecord& v) { v.Total = -1; }, false},
        {"free 0", [](VolumeRecord& v) { v.Free = 0; }, false},
        {"not ready", [](VolumeRecord& v) { v.Ready = false; }, false},
        {"not valid", [](VolumeRecord& v) { v.Valid = false; }, false},
        {"second mount of the home device",
         [](VolumeRecord& v) { v.MountPoint = "/srv/data"; v.Device = "/dev/nvme0n1p2"; v.FileSystem = "ext4"; }, false},
        {"nfs", [](VolumeRecord& v) { v.Device = "nas:/export/ann"; v.FileSystem = "nfs"; }, true},
        {"nfs4", [](VolumeRecord& v) { v.Device = "nas:/export/ann"; v.FileSystem = "nfs4"; }, true},
        {"cifs", [](VolumeRecord& v) { v.Device = "//nas/ann"; v.FileSystem = "cifs"; }, true},
        {"smb3", [](VolumeRecord& v) { v.Device = "//nas/ann"; v.FileSystem = "smb3"; }, true},
        {"sshfs", [](VolumeRecord& v) { v.Device = "ann@host:"; v.FileSystem = "fuse.sshfs"; }, false},
    };
    for (const VolumeCase& c : cases) {
        SCOPED_TRACE(c.name);
        VolumeRecord volume = UsbVolume();
        c.change(volume);
        const QList<BackupDrive> drives = SelectBackupDrives(QStringLiteral("/home/ann"), HomeVolume(), {volume});
        ASSERT_EQ(drives.size(), c.listed ? 2 : 1);
        if (c.listed) {
            EXPECT_EQ(drives[1].Folder, volume.MountPoint);
            EXPECT_EQ(drives[1].Label, volume.Label);
            EXPECT_EQ(drives[1].Total, volume.Total);
            EXPECT_EQ(drives[1].Free, volume.Free);
        }
    }
}

TEST(StorageDrives, HomeFirstThenVolumesInMountOrder)
{
    VolumeRecord root = HomeVolume();  // the home volume's own mount is not listed a second time
    VolumeRecord usb = UsbVolume();
    VolumeRecord share = UsbVolume();
    share.MountPoint = QStringLiteral("/mnt/share");
    share.Device = "nas:/export";
    share.FileSystem = "nfs4";
    share.Label.clear();
    const QList<BackupDrive> drives =
        SelectBackupDrives(QStringLiteral("/home/ann"), HomeVolume(), {root, share, usb});
    ASSERT_EQ(drives.size(), 3);
    EXPECT_EQ(drives[0].Folder, QStringLiteral("/home/ann"));
    EXPECT_TRUE(drives[0].Label.isEmpty());
    EXPECT_EQ(drives[0].Total, 500 * GiB);
    EXPECT_EQ(drives[0].Free, 120 * GiB);
    EXPECT_EQ(drives[1].Folder, QStringLiteral("/mnt/share"));
    EXPECT_EQ(drives[2].Folder, QStringLiteral("/media/ann/Data"));
}

TEST(StorageDrives, HomeOnAFullOrUnknownVolumeIsLeftOut)
{
    VolumeRecord full = HomeVolume();
    full.Free = 0;
    VolumeRecord unknown;  // the system could not tell
    for (const VolumeRecord& home : {full, unknown}) {
        const QList<BackupDrive> drives = SelectBackupDrives(QStringLiteral("/home/ann"), home, {UsbVolume()});
        ASSERT_EQ(drives.size(), 1);
        EXPECT_EQ(drives[0].Folder, QStringLiteral("/media/ann/Data"));
    }
}

TEST(StorageDrives, BackupFolderHasOneSlash)
{
    EXPECT_EQ(BackupFolderPath(QStringLiteral("/home/ann")), QStringLiteral("/home/ann/CalvoxBackups/"));
    EXPECT_EQ(BackupFolderPath(QStringLiteral("/media/ann/Data/")), QStringLiteral("/media/ann/Data/CalvoxBackups/"));
    EXPECT_EQ(BackupFolderPath(QStringLiteral("/")), QStringLiteral("/CalvoxBackups/"));
}
