#pragma once

#include "EndOfRun.h"

#include <QString>
#include <QThread>

#include <atomic>

class KesDevice;

// Downloads one recorder file (the device log) to a local path. The file replaces LocalPath only once it
// arrived whole and reached the disk; a failed or stopped download leaves no new file.
//
// Signals (queued to the receiver's thread): ProgressSignal(percent) after every block, DoneSignal(Errno) once,
// as the last act of the run: 0, or KesDevice::DownloadToFile's result (2 stopped or refused, 3 no reply, 21
// the local file cannot be created, 20 it cannot be written), 4 without a device.
class DownloadFileThread : public QThread
{
    Q_OBJECT

public:
    DownloadFileThread(KesDevice* device, const QString& devicePath, const QString& localPath);
    // A run still going is stopped and waited for: the run reads this object to its end.
    ~DownloadFileThread() override;

    // Set by the GUI thread; polled by the worker for every block (it cancels the download).
    std::atomic<bool> Stop{false};
    KesDevice* const Device;  // not owned
    const QString DevicePath;
    const QString LocalPath;

signals:
    void ProgressSignal(int Progress);
    void DoneSignal(int Errno);

protected:
    void run() override;

private:
    EndOfRun m_End;  // the run's end, seen by the destructor after its wait
};
