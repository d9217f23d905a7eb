#include "backup/BackupFileFetch.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <vector>
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
        // Blocks are gathered and written in large pieces: a write per 1 KB block costs the transfer time.
        if (m_Pending.size() + static_cast<size_t>(length) > kWriteChunk && !Flush()) {
            WriteFailed = true;
            return 1;
        }
        m_Pending.insert(m_Pending.end(), data, data + length);
        Received += length;
        return 0;
    }

    // Writes what is gathered; false on a write error.
    bool Flush()
    {
        if (!WriteAll(Fd, m_Pending.data(), m_Pending.size()))
            return false;
        m_Pending.clear();
        return true;
    }

private:
    static constexpr size_t kWriteChunk = 256 * 1024;
    std::vector<char> m_Pending;
};

}  // namespace

FileFetchResult FetchFileToBackup(Calvox_DeviceHandle handle, const QString& devicePath, const QString& localPath,
                                  const std::atomic<bool>& cancel, int* code, PartFile* part)
{
    *code = 0;
    part->Target = QFile::encodeName(localPath);
    part->Part = part->Target + ".part";
    PartWriter writer;
    writer.Cancel = &cancel;
    writer.Fd = ::open(part->Part.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (writer.Fd < 0)
        return FileFetchResult::LocalError;

    const Calvox_EventCallback callback = [&writer](Calvox_EventType e, int h, unsigned char* d, int l) {
        return writer(e, h, d, l);
    };
    *code = CalvoxAPI_DownloadFile(handle, devicePath.toLatin1().constData(), &callback);

    FileFetchResult result = FileFetchResult::Done;
    if (!writer.WriteFailed && *code == 0 && !writer.Flush())
        writer.WriteFailed = true;
    if (writer.WriteFailed)
        result = FileFetchResult::LocalError;
    else if (writer.Cancelled)
        result = FileFetchResult::Cancelled;
    else if (*code == Calvox_Result_FileError)
        result = FileFetchResult::Missing;
    else if (*code != 0 || writer.Refused || writer.Size < 0 || writer.Received != writer.Size)
        result = FileFetchResult::Failed;
    if (result == FileFetchResult::Done) {
        part->Fd = writer.Fd;
        return result;
    }
    ::close(writer.Fd);
    ::unlink(part->Part.constData());
    return result;
}

bool WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}
