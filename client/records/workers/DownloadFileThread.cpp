#include "workers/DownloadFileThread.h"

#include "KesDevice.h"

DownloadFileThread::DownloadFileThread(KesDevice* device, const QString& devicePath, const QString& localPath)
    : Device(device)
    , DevicePath(devicePath)
    , LocalPath(localPath)
{
}

DownloadFileThread::~DownloadFileThread()
{
    Stop = true;
    wait();
    m_End.Seen();
}

void DownloadFileThread::run()
{
    const EndOfRun::AtExit end{m_End};
    if (Device == nullptr) {
        emit DoneSignal(Calvox_Result_InvalidArgument);
        return;
    }
    const int r = Device->DownloadToFile(DevicePath, LocalPath, [this](int percent) {
        emit ProgressSignal(percent);
        return Stop ? 1 : 0;
    });
    emit DoneSignal(r);
}
