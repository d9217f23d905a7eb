#pragma once

#include "EndOfRun.h"

#include <QString>
#include <QThread>

#include <atomic>

class KesDevice;

// Sends a local file to the recorder: DeviceFolder + "/" + DeviceName, or the local file's own name when
// DeviceName is empty (the firmware upgrade sends "/Upgrade", "Image.bin"; announcements keep their names).
//
// Signals (queued to the receiver's thread): UploadProgressSignal(percent) as the SDK reports it,
// UploadDoneSignal(Errno) once, as the last act of the run: the SDK's result (20 the local file cannot be
// opened, 21 it is empty, 22 it cannot be read, 2 cancelled, 4 a name the recorder cannot take or no device).
class UploadFileThread : public QThread
{
    Q_OBJECT

public:
    UploadFileThread(KesDevice* device, const QString& localPath, const QString& deviceFolder,
                     const QString& deviceName);
    // A run still going is stopped and waited for: the run reads this object to its end.
    ~UploadFileThread() override;

    // Set by the GUI thread; polled by the worker in every SDK callback (it cancels the upload).
    std::atomic<bool> Stop{false};
    KesDevice* const Device;  // not owned
    const QString LocalPath;
    const QString DeviceFolder;
    const QString DeviceName;

signals:
    void UploadProgressSignal(int Progress);
    void UploadDoneSignal(int Errno);

protected:
    void run() override;

private:
    EndOfRun m_End;  // the run's end, seen by the destructor after its wait
};
