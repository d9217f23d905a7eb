#pragma once

#include "EndOfRun.h"

#include <QString>
#include <QThread>

#include <atomic>

class KesDevice;

// Fetches a firmware image of the device's model from the update server into LocalFolder + "/" +
// FirmwareFileName. The name must be "<model>-<a.b.c.d>.bin" (four dotted numbers of 0..255): it names a
// local file, so nothing else is taken. The image goes to a temporary file beside the target and replaces it
// only when every byte was written, exactly the announced number of bytes arrived and the file reached the
// disk: a failed or stopped download leaves no file of that name (an existing one stays as it was).
//
// Signals (queued to the receiver's thread): DownloadProgressSignal(percent) whenever the percentage of the
// announced size changes (none before the size is known), DownloadDoneSignal(Errno) once, as the last act of
// the run: 0; -1 when the server does not deliver the whole image (not found, cut short, no announced size,
// more than announced) or Stop ended it; 4 a refused file name or no device; 21 the folder or the file cannot
// be created; 20 the file cannot be written.
class DownloadFirmwareThread : public QThread
{
    Q_OBJECT

public:
    DownloadFirmwareThread(KesDevice* device, const QString& firmwareFileName, const QString& localFolder);
    // A run still going is stopped and waited for: the run reads this object to its end.
    ~DownloadFirmwareThread() override;

    // The folder the client downloads firmware into: "Firmware/" in the per-user data folder, which stays
    // writable when the program's own folder is not.
    static QString DefaultFolder();
    // "<model>-<a.b.c.d>.bin" with a model of letters, digits, '_' and '-' and four numbers of 0..255.
    static bool IsFirmwareFileName(const QString& name);

    // Set by the GUI thread; polled by the worker for every piece (it stops the download).
    std::atomic<bool> Stop{false};
    KesDevice* const Device;  // not owned
    const QString FirmwareFileName;
    const QString LocalFolder;

signals:
    void DownloadProgressSignal(int Progress);
    void DownloadDoneSignal(int Errno);

protected:
    void run() override;

private:
    int Download();
    EndOfRun m_End;  // the run's end, seen by the destructor after its wait
};
