#include "workers/UploadFileThread.h"

#include "KesDevice.h"

#include <QFile>

UploadFileThread::UploadFileThread(KesDevice* device, const QString& localPath, const QString& deviceFolder,
                                   const QString& deviceName)
    : Device(device)
    , LocalPath(localPath)
    , DeviceFolder(deviceFolder)
    , DeviceName(deviceName)
{
}

UploadFileThread::~UploadFileThread()
{
    Stop = true;
    wait();
    m_End.Seen();
}

void UploadFileThread::run()
{
    const EndOfRun::AtExit end{m_End};
    if (Device == nullptr) {
        emit UploadDoneSignal(Calvox_Result_InvalidArgument);
        return;
    }
    const QByteArray localPath = QFile::encodeName(LocalPath);
    const QByteArray deviceFolder = DeviceFolder.toLocal8Bit();
    const QByteArray deviceName = DeviceName.toLocal8Bit();
    const Calvox_EventCallback callback = [this](Calvox_EventType type, int, unsigned char*, int value) {
        if (Stop)
            return 1;
        if (type == Calvox_Event_Progress)
            emit UploadProgressSignal(value);
        return 0;
    };
    const int r = CalvoxAPI_UploadFile(Device->Handle, localPath.constData(), deviceFolder.constData(),
                                       DeviceName.isEmpty() ? nullptr : deviceName.constData(), &callback);
    emit UploadDoneSignal(r);
}
