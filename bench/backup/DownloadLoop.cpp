#include "DownloadLoop.h"

#include <QFile>

#include <cerrno>
#include <set>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool SyncPath(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

std::string Parent(const std::string& path) { return path.substr(0, path.rfind('/')); }

// Makes every missing folder of `folder` below `root`; the ones it made are added to *made.
bool MakeFolders(const std::string& root, const std::string& folder, std::set<std::string>* known,
                 std::vector<std::string>* made)
{
    if (folder.size() <= root.size() || known->count(folder))
        return true;
    if (!MakeFolders(root, Parent(folder), known, made))
        return false;
    if (::mkdir(folder.c_str(), 0755) == 0)
        made->push_back(folder);
    else if (errno != EEXIST)
        return false;
    known->insert(folder);
    return true;
}

}  // namespace

DownloadLoopResult RunDownloadLoop(Calvox_DeviceHandle handle, const std::vector<std::string>& devicePaths,
                                   const QString& root, bool durable)
{
    DownloadLoopResult result;
    const std::string base = QFile::encodeName(root).toStdString();
    std::set<std::string> known;
    std::vector<std::string> made;
    std::vector<int> open;
    auto fail = [&](const std::string& what) {
        for (const int fd : open)
            ::close(fd);
        result.Failure = what;
        return result;
    };

    std::vector<char> bytes;
    const Calvox_EventCallback collect = [&bytes](Calvox_EventType event, int, unsigned char* data, int length) {
        if (event == Calvox_Event_FileSize && length > 0)
            bytes.reserve(static_cast<size_t>(length));
        else if (event == Calvox_Event_FileData && length > 0)
            bytes.insert(bytes.end(), data, data + length);
        return 0;
    };
    for (const std::string& path : devicePaths) {
        const std::string target = base + path;
        if (!MakeFolders(base, Parent(target), &known, &made))
            return fail("cannot make the folder of " + target);
        bytes.clear();
        if (CalvoxAPI_DownloadFile(handle, path.c_str(), &collect) != 0)
            return fail("download of " + path + " failed");
        const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0)
            return fail("cannot create " + target);
        open.push_back(fd);
        // One write per file; a short one (a full disk) fails the run.
        if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
            return fail("cannot write " + target);
        result.Bytes += static_cast<qint64>(bytes.size());
        if (!durable) {
            ::close(fd);
            open.pop_back();
        } else {
            // Writeback starts now, while the next files arrive, so the pass at the end finds little to write.
            ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
        }
    }
    if (durable) {
        for (const int fd : open) {
            if (::fsync(fd) != 0)
                return fail("fsync of a record failed");
        }
        // Deepest folders first; then the folder that holds the first one made.
        for (auto folder = made.rbegin(); folder != made.rend(); ++folder) {
            if (!SyncPath(*folder))
                return fail("fsync of " + *folder + " failed");
        }
        if (!made.empty() && !SyncPath(Parent(made.front())))
            return fail("fsync of the root failed");
    }
    for (const int fd : open)
        ::close(fd);
    result.Ok = true;
    return result;
}
