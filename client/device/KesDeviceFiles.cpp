// Downloads, the recorder's log file and the newest firmware on the update server.
#include "KesDevice.h"

#include "DownloadSinks.h"
#include "VersionText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QSaveFile>

#include <cstring>

namespace {

const char kLogPath[] = "/RecordFiles/Log.txt";

int DownloadWith(Calvox_DeviceHandle handle, const QString& devicePath, const Calvox_EventCallback& callback)
{
    return CalvoxAPI_DownloadFile(handle, devicePath.toLatin1().constData(), &callback);
}

}  // namespace

int KesDevice::DownloadToBuffer(const QString& devicePath, unsigned char** buffer, int* length)
{
    *buffer = nullptr;
    BufferDownload sink;
    const int r = DownloadWith(Handle, devicePath,
                               [&sink](Calvox_EventType e, int h, unsigned char* d, int l) { return sink(e, h, d, l); });
    if (r != 0)
        return r;
    *length = sink.Size();
    *buffer = sink.Take();
    return r;
}

namespace {

// The file goes to a temporary file beside localPath, renamed over it only after the whole download arrived
// and reached the disk: a failed or cancelled download leaves an existing copy as it was and no new file.
int DownloadToSaveFile(Calvox_DeviceHandle handle, const QString& devicePath, const QString& localPath,
                       volatile bool* stop, std::function<int(int)> progress)
{
    QSaveFile file(localPath);
    if (!file.open(QIODevice::WriteOnly))
        return Calvox_Result_EmptyFile;
    FileDownload sink(&file, stop, std::move(progress));
    const int r = DownloadWith(handle, devicePath,
                               [&sink](Calvox_EventType e, int h, unsigned char* d, int l) { return sink(e, h, d, l); });
    if (r != 0) {
        file.cancelWriting();
        // A local write that failed (a full disk) is the file's error, not a cancel by the user.
        return sink.WriteFailed() ? Calvox_Result_FileError : r;
    }
    return file.commit() ? 0 : Calvox_Result_FileError;
}

}  // namespace

int KesDevice::DownloadToFile(const QString& devicePath, const QString& localPath, volatile bool* stop)
{
    return DownloadToSaveFile(Handle, devicePath, localPath, stop, nullptr);
}

int KesDevice::DownloadToFile(const QString& devicePath, const QString& localPath, std::function<int(int)> progress)
{
    return DownloadToSaveFile(Handle, devicePath, localPath, nullptr, std::move(progress));
}

int KesDevice::UpdateLog()
{
    LogLines = QStringList();
    BufferDownload sink(1);
    const int r = DownloadWith(Handle, QString::fromLatin1(kLogPath),
                               [&sink](Calvox_EventType e, int h, unsigned char* d, int l) { return sink(e, h, d, l); });
    if (r != 0)
        return r;
    unsigned char* bytes = sink.Take();
    if (bytes == nullptr)
        return r;
    bytes[sink.Received()] = 0;
    const char* text = reinterpret_cast<const char*>(bytes);
    LogLines = QString::fromUtf8(text, static_cast<int>(std::strlen(text)))
                   .split(QStringLiteral("\r\n"), Qt::KeepEmptyParts, Qt::CaseSensitive);
    delete[] bytes;
    return r;
}

int KesDevice::DeleteLog()
{
    const int r = RemoveFile(QString::fromLatin1(kLogPath));
    if (r == 0)
        LogLines = QStringList();
    return r;
}

void KesDevice::GetNewVersionInfo()
{
    UpdateNotes = QStringList();
    const Calvox_EventCallback callback = [this](Calvox_EventType event, int, unsigned char* data, int length) {
        if (event != Calvox_Event_FileData || data == nullptr || length < 0)
            return 0;
        const QJsonDocument document =
            QJsonDocument::fromJson(QByteArray(reinterpret_cast<const char*>(data), length));
        if (document.isNull())
            return 0;
        const QJsonObject reply = document.object();
        // The version names the firmware file to fetch: anything but a plain version (missing, "2.5.1.5 ", a
        // path) offers no upgrade and names no file, and replaces what an earlier reply offered.
        QString version = reply.value(QStringLiteral("Version")).toString();
        if (!IsVersionText(version))
            version.clear();
        const bool chinese = QLocale().language() == QLocale::Chinese;
        QStringList notes;
        notes.append(chinese ? QStringLiteral("更新说明 : ") : QStringLiteral("Updates : "));
        const QJsonArray lines =
            reply.value(chinese ? QStringLiteral("Updates-Chinese") : QStringLiteral("Updates-English")).toArray();
        for (const QJsonValue& line : lines) {
            if (line.isString())
                notes.append(line.toString());
        }
        NewVersion = version;
        FirmwareFileName = version.isEmpty() ? QString() : Model + QStringLiteral("-") + version + QStringLiteral(".bin");
        UpdateNotes = notes;
        return 0;
    };
    CalvoxAPI_GetNewVersionInfo(Handle, &callback);
}

bool KesDevice::HasNewVersion() const
{
    // No version on offer is no upgrade, whatever the recorder runs ("" would read as -1).
    if (!IsVersionText(NewVersion.Get()))
        return false;
    const auto current = static_cast<int32_t>(CalvoxAPI_StringToVersion(Version.Get().toLatin1().constData()));
    const auto newest = static_cast<int32_t>(CalvoxAPI_StringToVersion(NewVersion.Get().toLatin1().constData()));
    return current < newest;
}
