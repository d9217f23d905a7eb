#include "workers/DownloadFirmwareThread.h"

#include "DataFolder.h"
#include "KesDevice.h"
#include "VersionText.h"

#include <QDir>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

const int kDownloadFailed = -1;

}  // namespace

DownloadFirmwareThread::DownloadFirmwareThread(KesDevice* device, const QString& firmwareFileName,
                                               const QString& localFolder)
    : Device(device)
    , FirmwareFileName(firmwareFileName)
    , LocalFolder(localFolder)
{
}

DownloadFirmwareThread::~DownloadFirmwareThread()
{
    Stop = true;
    wait();
    m_End.Seen();
}

QString DownloadFirmwareThread::DefaultFolder()
{
    return DataFilePath(QStringLiteral("Firmware")) + QLatin1Char('/');
}

bool DownloadFirmwareThread::IsFirmwareFileName(const QString& name)
{
    static const QRegularExpression model(QRegularExpression::anchoredPattern(QStringLiteral("[A-Za-z0-9_-]+")));
    if (!name.endsWith(QLatin1String(".bin")))
        return false;
    const QString stem = name.chopped(4);
    // A version holds no '-': the last one ends the model.
    const int dash = stem.lastIndexOf(QLatin1Char('-'));
    return dash > 0 && model.match(stem.left(dash)).hasMatch() && IsVersionText(stem.mid(dash + 1));
}

void DownloadFirmwareThread::run()
{
    const EndOfRun::AtExit end{m_End};
    emit DownloadDoneSignal(Download());
}

int DownloadFirmwareThread::Download()
{
    if (Device == nullptr || !IsFirmwareFileName(FirmwareFileName))
        return Calvox_Result_InvalidArgument;
    if (!QDir().mkpath(LocalFolder))
        return Calvox_Result_EmptyFile;
    QSaveFile file(LocalFolder + QLatin1Char('/') + FirmwareFileName);
    if (!file.open(QIODevice::WriteOnly))
        return Calvox_Result_EmptyFile;

    // The server announces the size twice: 0 when it has answered, then the body's length.
    qint64 total = 0;
    qint64 received = 0;
    int shown = 0;
    bool writeFailed = false;
    const Calvox_EventCallback callback = [&](Calvox_EventType type, int, unsigned char* data, int length) {
        if (Stop)
            return 1;
        if (type == Calvox_Event_FileSize) {
            if (length < 0)
                return 1;
            total = length;
        } else if (type == Calvox_Event_FileData) {
            // Nothing beyond the announced size is taken, so no data is taken before a size.
            if (length < 0 || (length > 0 && data == nullptr) || received + length > total)
                return 1;
            if (length == 0)
                return 0;
            if (file.write(reinterpret_cast<const char*>(data), length) != length) {
                writeFailed = true;
                return 1;
            }
            received += length;
            const int percent = static_cast<int>(received * 100 / total);
            if (percent != shown) {
                shown = percent;
                emit DownloadProgressSignal(percent);
            }
        }
        return 0;
    };
    const int r = CalvoxAPI_DownloadFirmware(Device->Handle, FirmwareFileName.toLocal8Bit().constData(), &callback);
    if (writeFailed) {
        file.cancelWriting();
        return Calvox_Result_FileError;
    }
    if (r != 0 || total == 0 || received != total) {
        file.cancelWriting();
        return r != 0 ? r : kDownloadFailed;
    }
    return file.commit() ? Calvox_Result_Ok : Calvox_Result_FileError;
}
