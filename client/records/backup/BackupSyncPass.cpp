#include "backup/BackupSyncPass.h"

#include <QFile>

#include <set>
#include <string>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The index copy in a part file beside its target, written, not yet synced; Fd -1 when that failed.
PartFile WriteIndexPart(const FinishItem& item)
{
    PartFile part;
    part.Target = QFile::encodeName(item.IndexPath);
    part.Part = part.Target + ".part";
    part.Fd = ::open(part.Part.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (part.Fd >= 0 && !WriteAll(part.Fd, item.IndexCopy.constData(), static_cast<size_t>(item.IndexCopy.size()))) {
        ::close(part.Fd);
        part.Fd = -1;
    }
    if (part.Fd < 0)
        ::unlink(part.Part.constData());
    return part;
}

// The folder holding a path in file-system encoding.
std::string FolderOf(const QByteArray& name)
{
    const int slash = name.lastIndexOf('/');
    return slash > 0 ? std::string(name.constData(), static_cast<size_t>(slash)) : std::string("/");
}

bool SyncFolders(const std::set<std::string>& folders)
{
    for (const std::string& folder : folders) {
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return false;
        const bool synced = ::fsync(fd) == 0;
        ::close(fd);
        if (!synced)
            return false;
    }
    return true;
}

// Renames each part in order while ok; closes them all and removes every part not under its name. False when
// a rename failed (or ok was false already).
bool RenameInOrder(std::vector<PartFile>* parts, bool ok)
{
    for (PartFile& part : *parts) {
        ok = ok && ::rename(part.Part.constData(), part.Target.constData()) == 0;
        if (!ok)
            ::unlink(part.Part.constData());
    }
    parts->clear();
    return ok;
}

bool CloseAll(std::vector<PartFile>* parts)
{
    bool ok = true;
    for (PartFile& part : *parts) {
        ok = ::close(part.Fd) == 0 && ok;
        part.Fd = -1;
    }
    return ok;
}

}  // namespace

bool FinishGroup(std::vector<FinishItem>* group, bool abandon)
{
    // Records in the order fetched, then the index copies in channel-day order.
    std::vector<PartFile> records, indexes;
    std::set<std::string> channelFolders, dayFolders;
    bool ok = !abandon;
    for (FinishItem& item : *group) {
        records.insert(records.end(), item.Parts.begin(), item.Parts.end());
        item.Parts.clear();
        if (!ok || !item.EndsChannelDay)
            continue;
        const PartFile index = WriteIndexPart(item);
        ok = index.Fd >= 0;
        if (ok)
            indexes.push_back(index);
        if (item.Fetched) {
            channelFolders.insert(QFile::encodeName(item.ChannelFolder).toStdString());
            dayFolders.insert(FolderOf(QFile::encodeName(item.ChannelFolder)));
        }
    }
    if (ok) {
        for (const std::vector<PartFile>* parts : {&records, &indexes})
            for (const PartFile& part : *parts)
                ::sync_file_range(part.Fd, 0, 0, SYNC_FILE_RANGE_WRITE);  // a hint: the fsync below is the guarantee
        for (const std::vector<PartFile>* parts : {&records, &indexes})
            for (const PartFile& part : *parts)
                ok = ok && ::fsync(part.Fd) == 0;
    }
    ok = CloseAll(&records) && ok;
    ok = CloseAll(&indexes) && ok;
    ok = RenameInOrder(&records, ok);
    // The folders of the renamed records (and the channel folders' own entries) before any index copy names them.
    ok = ok && SyncFolders(channelFolders) && SyncFolders(dayFolders);
    std::set<std::string> indexFolders;
    for (const PartFile& part : indexes)
        indexFolders.insert(FolderOf(part.Target));
    ok = RenameInOrder(&indexes, ok);
    ok = ok && SyncFolders(indexFolders);
    group->clear();
    return ok;
}
