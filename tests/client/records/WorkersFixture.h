#pragma once

// Rigs of the transfer-worker tests: an emulated recorder on 127.0.0.1 with its storage in a temporary folder
// and a logged-in KesDevice pointed at it; record grids filled as the record search fills them; a raw HTTP
// server for the update server; a small tmpfs for a full disk.

#include "KesDevice.h"
#include "RecordIndexEntry.h"
#include "ZGridListData.h"
#include "store/RecordRow.h"

#include "EmuFiles.h"
#include "Emulator.h"
#include "RecordTree.h"

#include "LocalHttpServer.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace emu = calvox::emu;

// One emulated recorder serving a storage folder, and a registered device logged in to it as admin.
struct RecorderRig {
    static constexpr const char* kId = "4B000000000000000007";  // KES2204S, 4 channels

    RecorderRig()
    {
        if (!storage.isValid())
            return;
        emu::RecorderConfig config;
        config.id = kId;
        config.bindAddress = "127.0.0.1";
        config.port = 0;
        recorder = emulator.Add(config);
        if (recorder == nullptr)
            return;
        emu::ServeFiles(*recorder, storage.path().toStdString());
        device.reset(KesDevice::Create(QStringLiteral("Office"), QString::fromLatin1(kId)));
        if (!device)
            return;
        device->SetNetAddr(QStringLiteral("127.0.0.1"), recorder->Port());
        device->UserName = QStringLiteral("admin");
        device->Password = QStringLiteral("admin");
        loggedIn = device->Login() == 0;
    }
    ~RecorderRig()
    {
        device.reset();
        emulator.Stop();
    }
    bool Ready() const { return loggedIn; }

    // The recorder's file at a device path ("/PlayBackFiles/x"), empty when it has none.
    QByteArray DeviceFile(const QString& devicePath) const
    {
        QFile file(storage.path() + devicePath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    bool DeviceFileExists(const QString& devicePath) const { return QFile::exists(storage.path() + devicePath); }

    int RecordsDeleted()
    {
        std::lock_guard<std::mutex> lock(recorder->StateMutex());
        return recorder->State<emu::FileStore>().recordsDeleted;
    }

    QTemporaryDir storage;
    emu::Emulator emulator;
    emu::Recorder* recorder = nullptr;
    std::unique_ptr<KesDevice> device;
    bool loggedIn = false;
};

// The 128-byte entry the recorder keeps for a fixture record.
inline RecordIndexEntry EntryOf(const emu::FixtureRecord& record)
{
    RecordIndexEntry entry;
    const std::vector<uint8_t> bytes = emu::EncodeEntry(record);
    std::memcpy(&entry, bytes.data(), sizeof entry);
    return entry;
}

// Appends the record-list row of a record (ticked or not) as the record search makes it.
inline void AddRecordRow(ZGridListData* grid, const emu::FixtureRecord& record, int index, bool ticked)
{
    ZGridListRow* row = grid->CreateRow();
    const RecordIndexEntry entry = EntryOf(record);
    FillRecordRow(row, entry, record.channel - 1, QString(), QString::fromStdString(record.phone), QString(),
                  QString(), QString(), index);
    row->Cells[0] = ticked;
    grid->Lock();
    grid->AddRow(row);
    grid->Unlock();
}

// "YYMMDDhhmmss-CHnn" of a fixture record.
inline QString BaseNameOf(const emu::FixtureRecord& r)
{
    return QString::asprintf("%02d%02d%02d%02d%02d%02d-CH%02d", r.year, r.month, r.day, r.hour, r.minute, r.second,
                             r.channel);
}

// Every file in a folder, hidden ones (a temporary file) included.
inline QStringList FilesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

inline QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

inline QByteArray PatternBytes(int size, int seed)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 31 + seed * 7) & 0xff);
    return bytes;
}

// Runs the event loop until the thread has finished and every queued signal it sent was delivered.
template <class Thread>
bool RunToEnd(Thread& thread, int timeoutMs = 30000)
{
    QEventLoop loop;
    QObject::connect(&thread, &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    thread.start();
    loop.exec();
    const bool ended = thread.wait(1000);
    QCoreApplication::processEvents();
    return ended;
}


// A tmpfs of a few pages mounted on a folder, seen by the calling thread and the threads it starts later: the
// calling thread first moves into a mount namespace of its own (private propagation), so nothing outside this
// process sees the mount. Needs CAP_SYS_ADMIN over the mount namespace (root, or root of a user namespace);
// Error() tells why it could not be made.
class SmallTmpfs
{
public:
    SmallTmpfs(const QString& folder, int kilobytes)
        : m_Folder(QFile::encodeName(folder))
    {
        if (::unshare(CLONE_NEWNS) != 0) {
            m_Error = QStringLiteral("unshare(CLONE_NEWNS): ") + QString::fromLocal8Bit(std::strerror(errno));
            return;
        }
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            m_Error = QStringLiteral("private mounts: ") + QString::fromLocal8Bit(std::strerror(errno));
            return;
        }
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0700";
        if (::mount("tmpfs", m_Folder.constData(), "tmpfs", MS_NOSUID | MS_NODEV, options.constData()) != 0) {
            m_Error = QStringLiteral("mount tmpfs: ") + QString::fromLocal8Bit(std::strerror(errno));
            return;
        }
        m_Mounted = true;
    }
    ~SmallTmpfs()
    {
        if (m_Mounted)
            ::umount2(m_Folder.constData(), MNT_DETACH);
    }
    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;

    bool Mounted() const { return m_Mounted; }
    QString Error() const { return m_Error; }

private:
    QByteArray m_Folder;
    bool m_Mounted = false;
    QString m_Error;
};
