#include "backup/BackupFileFetch.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Writes the transfer into an open descriptor, held to the announced size.
struct PartWriter {
    int Fd = -1;
    const std::atomic<bool>* Cancel = nullptr;
    qint64 Size = -1;
    qint64 Received = 0;
    bool Cancelled = false;
    bool WriteFailed = false;
    bool Refused = false;

    int operator()(Calvox_EventType event, int, unsigned char* data, int length)
    {
        if (event == Calvox_Event_FileSize) {
            if (Size >= 0 || length < 0) {
                Refused = true;
                return 1;
            }
            Size = length;
            return 0;
        }
        if (event != Calvox_Event_FileData)
            return 0;
        if (Cancel->load()) {
            Cancelled = true;
            return 1;
        }
        if (Size < 0 || length < 0 || (length > 0 && data == nullptr) || length > Size - Received) {
            Refused = true;
            return 1;
        }
        const unsigned char* p = data;
        int left = length;
        while (left > 0) {
            const ssize_t n = ::write(Fd, p, static_cast<size_t>(left));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                WriteFailed = true;
                return 1;
            }
            p += n;
            left -= static_cast<int>(n);
        }
        Received += length;
        return 0;
    }
};

}  // namespace

FileFetchResult FetchFileToBackup(Calvox_DeviceHandle handle, const QString& devicePath, const QString& localPath,
                                  const std::atomic<bool>& cancel, int* code)
{
    *code = 0;
    const QByteArray target = QFile::encodeName(localPath);
    const QByteArray part = target + ".part";
    PartWriter writer;
    writer.Cancel = &cancel;
    writer.Fd = ::open(part.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (writer.Fd < 0)
        return FileFetchResult::LocalError;

    const Calvox_EventCallback callback = [&writer](Calvox_EventType e, int h, unsigned char* d, int l) {
        return writer(e, h, d, l);
    };
    *code = CalvoxAPI_DownloadFile(handle, devicePath.toLatin1().constData(), &callback);

    FileFetchResult result = FileFetchResult::Done;
    if (writer.WriteFailed)
        result = FileFetchResult::LocalError;
    else if (writer.Cancelled)
        result = FileFetchResult::Cancelled;
    else if (*code == Calvox_Result_FileError)
        result = FileFetchResult::Missing;
    else if (*code != 0 || writer.Refused || writer.Size < 0 || writer.Received != writer.Size)
        result = FileFetchResult::Failed;
    else if (::fsync(writer.Fd) != 0)
        result = FileFetchResult::LocalError;

    if (::close(writer.Fd) != 0 && result == FileFetchResult::Done)
        result = FileFetchResult::LocalError;
    if (result == FileFetchResult::Done && ::rename(part.constData(), target.constData()) != 0)
        result = FileFetchResult::LocalError;
    if (result != FileFetchResult::Done)
        ::unlink(part.constData());
    return result;
}

bool SyncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}
