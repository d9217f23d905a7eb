#include "store/RecordStore.h"

#include "store/LocalRecordDevice.h"
#include "store/RecordIndexFile.h"
#include "store/RecordPaths.h"
#include "store/RecordSearch.h"

#include "FileIo.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

void GetLocalDayList(const QString& deviceId, unsigned char year, unsigned char month, unsigned char days[32])
{
    std::memset(days, 0, 32);
    const QString monthFolder = LocalMonthFolder(deviceId, year, month);
    if (monthFolder.isEmpty())
        return;
    const QStringList names = QDir(monthFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        bool ok = false;
        const int day = name.toInt(&ok);
        if (name.size() == 2 && ok && day >= 1 && day <= 31)
            days[day] = 1;
    }
}

namespace {

// Largest value among the sub-folders of folder whose names have `width` characters; names that are not
// numbers count as 0.
int LargestFolderNumber(const QString& folder, int width)
{
    int largest = 0;
    const QStringList names = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : names)
        if (name.size() == width)
            largest = qMax(largest, name.toInt());
    return largest;
}

}  // namespace

bool GetLocalLatestRecordTime(const QString& deviceId, unsigned char* year, unsigned char* month,
                              unsigned char* day)
{
    *year = *month = *day = 0;
    const QString device = LocalDeviceFolder(deviceId);
    if (device.isEmpty())
        return true;
    const int newest = LargestFolderNumber(device, 4);
    if (newest > 0) {
        *year = static_cast<unsigned char>(newest / 100);
        *month = static_cast<unsigned char>(newest % 100);
        *day = static_cast<unsigned char>(
            LargestFolderNumber(LocalMonthFolder(deviceId, newest / 100, newest % 100), 2));
    }
    return true;
}

bool ReadWholeNativeFile(const char* path, unsigned char** buffer, int* size, bool* missing)
{
    return ReadWholeNativeFileAt(AT_FDCWD, path, buffer, size, missing);
}

bool ReadWholeNativeFileAt(int folder, const char* path, unsigned char** buffer, int* size, bool* missing)
{
    *buffer = nullptr;
    *size = 0;
    if (missing)
        *missing = false;
    const int fd = ::openat(folder, path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (missing)
            *missing = errno == ENOENT || errno == ENOTDIR;
        return false;
    }
    struct stat info;
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= INT_MAX;
    std::unique_ptr<unsigned char[]> data;
    const std::size_t length = ok ? static_cast<std::size_t>(info.st_size) : 0;
    if (ok && length > 0) {
        data.reset(new unsigned char[length]);
        std::size_t done = 0;
        while (ok && done < length) {
            const ssize_t got = ::read(fd, data.get() + done, length - done);
            if (got < 0 && errno == EINTR)
                continue;
            ok = got > 0;
            if (ok)
                done += static_cast<std::size_t>(got);
        }
    }
    ::close(fd);
    if (!ok)
        return false;
    *buffer = data.release();
    *size = static_cast<int>(length);
    return true;
}

bool ReadWholeFile(const QString& path, unsigned char** buffer, int* size)
{
    return ReadWholeNativeFile(QFile::encodeName(path).constData(), buffer, size, nullptr);
}

namespace {

constexpr qint64 FirstChunkOffset = 36;  // RIFF header (12) + format chunk (8 + 16)
constexpr quint32 VornSize = 132;        // entry, channel byte, three more

quint32 LittleEndian32(const unsigned char* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<quint32>(p[3]) << 24);
}

}  // namespace

bool ReadWavIndexEntry(const QString& path, RecordIndexEntry* entry, int* channel)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const qint64 fileSize = file.size();
    qint64 position = FirstChunkOffset;
    // Each step moves at least one header forward, so a walk ends at the file's end at the latest.
    while (position + 8 <= fileSize) {
        unsigned char header[8];
        if (!file.seek(position) || file.read(reinterpret_cast<char*>(header), 8) != 8)
            return false;
        const quint32 size = LittleEndian32(header + 4);
        position += 8;
        if (std::memcmp(header, "Vorn", 4) == 0) {
            if (size != VornSize)
                return false;
            unsigned char body[129];
            if (file.read(reinterpret_cast<char*>(body), sizeof body) != static_cast<qint64>(sizeof body))
                return false;
            std::memcpy(entry, body, sizeof(RecordIndexEntry));
            *channel = body[128];
            return true;
        }
        // The audio is stepped over as the recorder writes it; other chunks follow RIFF's even padding.
        const bool audio = std::memcmp(header, "data", 4) == 0;
        position += size + (audio ? 0 : (size & 1));
    }
    return false;
}

QByteArray Utf8Prefix(const QString& text, int maxBytes)
{
    QByteArray bytes = text.toUtf8();
    if (bytes.size() <= maxBytes)
        return bytes;
    int end = qMax(maxBytes, 0);
    // Step back over continuation bytes (10xxxxxx) to the start of the character that would be cut.
    while (end > 0 && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80)
        --end;
    bytes.truncate(end);
    return bytes;
}

namespace {

constexpr int NotesOffset = 63;
constexpr int NotesField = 65;
constexpr int NotesText = 64;  // the last byte stays the terminator

QString ChosenLocalDeviceId()
{
    LocalRecordDevice device;
    return FindLocalRecordDevice(g_RecordSearchCondition.Device, &device) ? device.ID : QString();
}

bool ReadIndexCopy(const QString& path, QByteArray* bytes)
{
    unsigned char* buffer = nullptr;
    int size = 0;
    if (path.isEmpty() || !ReadWholeFile(path, &buffer, &size))
        return false;
    *bytes = QByteArray(reinterpret_cast<const char*>(buffer), size);
    delete[] buffer;
    return true;
}

}  // namespace

bool SaveLocalRecordNotesOf(const QString& deviceId, int index, unsigned char year, unsigned char month,
                            unsigned char day, unsigned char channel, const QString& notes)
{
    const QString path = LocalIndexPath(deviceId, year, month, day, channel);
    QByteArray bytes;
    if (!ReadIndexCopy(path, &bytes))
        return false;
    if (index < 0 || index >= RecordIndexFile(bytes).RecordCount())
        return false;
    char* field = bytes.data() + RecordIndexFile::EntryOffset(index) + NotesOffset;
    std::memset(field, 0, NotesField);
    const QByteArray text = Utf8Prefix(notes, NotesText);
    std::memcpy(field, text.constData(), static_cast<std::size_t>(text.size()));
    return SaveFile(path, bytes);
}

bool SaveLocalRecordNotes(int index, unsigned char year, unsigned char month, unsigned char day,
                          unsigned char channel, const QString& notes)
{
    const QString id = ChosenLocalDeviceId();
    return !id.isEmpty() && SaveLocalRecordNotesOf(id, index, year, month, day, channel, notes);
}

bool DeleteLocalRecordOf(const QString& deviceId, const Calvox_RecordKey* key)
{
    const QString path = LocalIndexPath(deviceId, key->Year, key->Month, key->Day, key->Channel);
    QByteArray bytes;
    if (!ReadIndexCopy(path, &bytes))
        return false;
    const RecordIndexFile file(bytes);
    if (!file.HasHeader())
        return false;
    const int index = key->Index[0] | (key->Index[1] << 8);
    if (!file.IsPresent(index))
        return true;

    // The WAV names: the plain base name, and the one with the phone digits the backup gives a record.
    const QString base = RecordBaseName(key->Year, key->Month, key->Day, key->Hour, key->Minute, key->Second,
                                        key->Channel);
    const QString channelFolder =
        LocalChannelFolder(deviceId, key->Year, key->Month, key->Day, key->Channel) + QLatin1Char('/');
    QStringList wavPaths{channelFolder + LocalRecordFileName(base, QString())};
    RecordIndexEntry entry;
    if (file.ReadEntry(index, &entry)) {
        const QString digits = RecordPhoneText(entry);
        if (!digits.isEmpty())
            wavPaths << channelFolder + LocalRecordFileName(base, digits);
    }

    unsigned char header[RecordIndexFile::HeaderSize];
    std::memcpy(header, bytes.constData(), sizeof header);
    header[index / 8] &= static_cast<unsigned char>(~(1u << (index % 8)));
    const int count = file.PresentCount();
    const int left = count > 0 ? count - 1 : 0;
    header[RecordIndexFile::CountOffset] = static_cast<unsigned char>(left);
    header[RecordIndexFile::CountOffset + 1] = static_cast<unsigned char>(left >> 8);
    // The file goes only when the count says no record is left and no other bit says otherwise.
    bool anyPresent = false;
    for (int i = 0; i < RecordIndexFile::BitmapSize && !anyPresent; ++i)
        anyPresent = header[i] != 0;
    std::memcpy(bytes.data(), header, sizeof header);

    const bool indexDone = (left == 0 && !anyPresent) ? QFile::remove(path) : SaveFile(path, bytes);
    if (!indexDone)
        return false;
    for (const QString& wav : qAsConst(wavPaths))
        QFile::remove(wav);  // a missed call has none
    return true;
}

bool DeleteLocalRecord(const Calvox_RecordKey* key)
{
    const QString id = ChosenLocalDeviceId();
    return !id.isEmpty() && DeleteLocalRecordOf(id, key);
}
