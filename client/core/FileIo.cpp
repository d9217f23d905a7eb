#include "FileIo.h"

#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>

#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// After the rename the new directory entry itself must reach the disk, or a crash can bring the old file back.
void SyncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

FileWriteResult WriteFileAtomically(const QString& path, const void* data, qint64 length, FileAccess access)
{
    if (length < 0 || (data == nullptr && length > 0))
        return FileWriteResult::WriteFailed;

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return FileWriteResult::OpenFailed;
    // Before the first byte: the temporary file becomes the file, mode and all.
    if (access == FileAccess::OwnerOnly && ::fchmod(file.handle(), S_IRUSR | S_IWUSR) != 0) {
        file.cancelWriting();
        return FileWriteResult::WriteFailed;
    }

    const char* bytes = static_cast<const char*>(data);
    qint64 written = 0;
    while (written < length) {
        const qint64 n = file.write(bytes + written, length - written);
        if (n <= 0) {
            file.cancelWriting();
            return FileWriteResult::WriteFailed;
        }
        written += n;
    }
    // The data must be on the disk before the rename makes it the file; a full disk or an I/O error
    // shows here at the latest.
    if (!file.flush() || ::fsync(file.handle()) != 0) {
        file.cancelWriting();
        return FileWriteResult::WriteFailed;
    }
    if (!file.commit())
        return FileWriteResult::WriteFailed;

    // A symbolic link is written through (QSaveFile replaces its target), so sync the target's folder.
    SyncFolder(QFileInfo(QFileInfo(path).canonicalFilePath()).absolutePath());
    return FileWriteResult::Written;
}

bool SaveFile(const QString& path, const QByteArray& data, FileAccess access)
{
    return WriteFileAtomically(path, data.constData(), data.size(), access) == FileWriteResult::Written;
}

int ReadAllToNewBuffer(QIODevice* device, char** data)
{
    const qint64 size = device->size();
    if (size < 0 || size > INT_MAX)
        return -1;

    char* buffer = new char[size];
    qint64 total = 0;
    while (total < size) {
        const qint64 n = device->read(buffer + total, size - total);
        if (n < 0) {
            delete[] buffer;
            return -1;
        }
        if (n == 0)
            break;
        total += n;
    }
    *data = buffer;
    return static_cast<int>(total);
}
