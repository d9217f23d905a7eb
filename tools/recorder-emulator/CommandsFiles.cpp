// Block upload (command 28), block download (29) and file removal (30) on the recorder's storage.
#include "EmuFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace calvox::emu {
namespace {

constexpr uint32_t kDownloadBlock = 1024;

std::vector<uint8_t> Echo(uint8_t step, uint32_t block = 0, bool withBlock = false)
{
    std::vector<uint8_t> p(withBlock ? 8 : 1, 0);
    p[0] = step;
    if (withBlock)
        PutU32(p, 4, block);
    return p;
}

bool MakeParentFolders(const std::string& path)
{
    for (size_t at = 1; at < path.size(); ++at) {
        if (path[at] != '/')
            continue;
        const std::string part = path.substr(0, at);
        if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

// Write then rename: a reader of the storage never sees half a file.
bool StoreFile(const std::string& path, const std::vector<uint8_t>& data)
{
    const std::string temporary = path + ".part";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n <= 0) {
            ::close(fd);
            ::unlink(temporary.c_str());
            return false;
        }
        done += static_cast<size_t>(n);
    }
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    if (!synced || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool ReadRegularFile(const std::string& path, std::vector<uint8_t>* data)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    data->resize(static_cast<size_t>(st.st_size));
    in.read(reinterpret_cast<char*>(data->data()), static_cast<std::streamsize>(data->size()));
    data->resize(static_cast<size_t>(in.gcount()));
    return true;
}

void Upload(Exchange& x)
{
    const std::vector<uint8_t>& p = x.request.payload;
    FileStore& store = x.recorder.State<FileStore>();
    FileStore::Upload& up = store.upload;
    if (p.empty()) {
        x.Reply(kStatusBadRequest);
        return;
    }
    switch (p[0]) {
    case 0: {  // begin: [1] length n, [2..n+1] folder "/" name
        if (p.size() < 2 || p.size() < 2u + p[1]) {
            x.Reply(kStatusBadRequest, Echo(0));
            return;
        }
        std::string local;
        if (!DevicePathToLocal(store, std::string(p.begin() + 2, p.begin() + 2 + p[1]), &local)) {
            x.Reply(kStatusPathRefused, Echo(0));
            return;
        }
        if (!MakeParentFolders(local)) {
            x.Reply(kStatusStorage, Echo(0));
            return;
        }
        up = FileStore::Upload{};
        up.open = true;
        up.path = local;
        x.Reply(0, Echo(0));
        return;
    }
    case 1: {  // block: [4..7] number, [8..11] count, [12..] bytes
        if (p.size() < 12) {
            x.Reply(kStatusBadRequest, Echo(1));
            return;
        }
        const uint32_t block = GetU32(p, 4);
        const uint32_t count = GetU32(p, 8);
        if (count > p.size() - 12) {
            x.Reply(kStatusBadRequest, Echo(1, block, true));
            return;
        }
        if (up.open && block == up.nextBlock) {
            up.data.insert(up.data.end(), p.begin() + 12, p.begin() + 12 + count);
            store.uploadBlockSizes.push_back(count);
            ++up.nextBlock;
            x.Reply(0, Echo(1, block, true));
        } else if (up.open && block + 1 == up.nextBlock) {
            x.Reply(0, Echo(1, block, true));  // our answer was lost: acknowledge again, store nothing twice
        } else {
            x.Reply(kStatusTransferState, Echo(1, block, true));
        }
        return;
    }
    case 2:  // end
        if (!up.open) {
            x.Reply(up.lastEnded ? 0 : kStatusTransferState, Echo(2));
            return;
        }
        up.open = false;
        if (!StoreFile(up.path, up.data)) {
            x.Reply(kStatusStorage, Echo(2));
            return;
        }
        up.lastEnded = true;
        up.data.clear();
        ++store.uploadsCompleted;
        x.Reply(0, Echo(2));
        return;
    case 3:  // cancel
        if (up.open)
            ++store.uploadsCancelled;
        up = FileStore::Upload{};
        x.Reply(0, Echo(3));
        return;
    default:
        x.Reply(kStatusBadRequest);
    }
}

void Download(Exchange& x)
{
    const std::vector<uint8_t>& p = x.request.payload;
    FileStore& store = x.recorder.State<FileStore>();
    FileStore::Download& down = store.download;
    if (p.empty() || (p[0] != 2 && p.size() < 2)) {
        x.Reply(kStatusBadRequest);
        return;
    }
    switch (p[0]) {
    case 0: {  // begin: [1] sequence, [2..] path and its terminator
        std::string path, local;
        if (!TerminatedText(p, 2, &path)) {
            x.Reply(kStatusBadRequest);
            return;
        }
        if (!DevicePathToLocal(store, path, &local)) {
            x.Reply(kStatusPathRefused);
            return;
        }
        std::vector<uint8_t> data;
        if (!ReadRegularFile(local, &data)) {
            x.Reply(kStatusNoSuchFile);
            return;
        }
        down.open = true;
        down.sequence = p[1];
        down.data = std::move(data);
        std::vector<uint8_t> size;
        PutU32(size, 0, static_cast<uint32_t>(down.data.size()));
        x.Reply(0, size);
        return;
    }
    case 1: {  // block: [1] sequence, [4..7] index
        if (p.size() < 8) {
            x.Reply(kStatusBadRequest);
            return;
        }
        const uint32_t index = GetU32(p, 4);
        std::vector<uint8_t> reply;
        PutU32(reply, 0, index);
        const uint64_t offset = static_cast<uint64_t>(index) * kDownloadBlock;
        if (!down.open || p[1] != down.sequence || offset >= down.data.size()) {
            x.Reply(kStatusTransferState, reply);
            return;
        }
        const size_t count = std::min<size_t>(kDownloadBlock, down.data.size() - offset);
        reply.insert(reply.end(), down.data.begin() + static_cast<long>(offset),
                     down.data.begin() + static_cast<long>(offset + count));
        x.Reply(0, reply);
        return;
    }
    case 2:  // end
        down = FileStore::Download{};
        x.Reply(0);
        return;
    default:
        x.Reply(kStatusBadRequest);
    }
}

void RemoveFile(Exchange& x)
{
    FileStore& store = x.recorder.State<FileStore>();
    std::string path, local;
    if (!TerminatedText(x.request.payload, 0, &path)) {
        x.Reply(kStatusBadRequest);
        return;
    }
    if (!DevicePathToLocal(store, path, &local)) {
        x.Reply(kStatusPathRefused);
        return;
    }
    struct stat st {};
    if (::lstat(local.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        x.Reply(kStatusNoSuchFile);
        return;
    }
    x.Reply(::unlink(local.c_str()) == 0 ? 0 : kStatusStorage);
}

}  // namespace

void RegisterCommandsFiles(CommandTable& table)
{
    table.Register(28, Upload);
    table.Register(29, Download);
    table.Register(30, RemoveFile);
}

}  // namespace calvox::emu
