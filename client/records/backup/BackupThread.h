#pragma once

#include "EndOfRun.h"

#include <QDate>
#include <QMetaType>
#include <QString>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <condition_variable>
#include <mutex>

class KesDevice;

// What the backup worker reports through BackupThread::EventSignal. Device and text as noted; the others carry a
// null device and an empty text.
enum BackupEventType {
    BackupEvent_AutoCheck = 0,        // the minute check ran (AutoBackup on, no run going); from the GUI thread
    BackupEvent_Started = 1,
    BackupEvent_Finished = 2,
    BackupEvent_NoRoot = 3,           // backup folder not set or not creatable; the run ends
    BackupEvent_DeviceStarted = 4,    // device
    BackupEvent_DeviceDone = 5,       // device
    BackupEvent_DeviceFailed = 6,     // device
    BackupEvent_DeviceOffline = 7,    // device: not connected, skipped
    BackupEvent_FileStarted = 8,      // device, local WAV path
    BackupEvent_FileRetry = 9,        // device, local WAV path: the download failed, retried after a pause
    BackupEvent_Paused = 10,          // device, local WAV path
    BackupEvent_Resumed = 11,         // device, local WAV path: the same file is fetched again
};
Q_DECLARE_METATYPE(BackupEventType)

// Copies every connected recorder's records into the backup tree below g_SoftwareSetting.BackupPath: per channel
// and day the recorder's index file, byte for byte, and the WAV file of every present record that has audio.
// One run is one pass over the device list; a minute timer starts runs by itself when AutoBackup is on and the
// BackupCycle has passed since "LastBackupTime".
//
// What a run guarantees:
// - A WAV file is fetched into "<name>.part" and renamed to its name only when it is complete and on the disk, so
//   a file under its own name is always whole; files that exist already are never fetched again.
// - A day's index copy is written (atomically) only after all WAV files of that channel and day are there, so an
//   interrupted run repeats that channel and day next time.
// - A run starts each device from its second newest well-formed local day (YYMM/DD with month 1-12 and day 1-31)
//   not after the recorder's newest record (the newest when there is only one), and from the recorder's oldest
//   record when there is none. Files are finished (synced, renamed) while later ones arrive, but a day's folders
//   are made only once the days before the previous one are complete, so no day before that one is left behind.
// - A file whose download keeps failing ends its device with event 6 after a few tries, at once when the local
//   write fails or the recorder goes offline; the run goes on with the next device.
// - "LastBackupTime" is saved only when every listed device got through the run, so a device that failed or was
//   offline makes the next minute check try again.
//
// Threads: the object lives on the GUI thread; Start, Stop, Pause, Resume and the timer run there, run() on the
// worker. Flags are atomics; Pause and Stop wake a worker that waits. Devices are held (DeviceHold) while the
// worker uses them, so removing a device meanwhile is safe. Stop must be called before the devices and the SDK go
// away at shutdown; the destructor calls it too.
class BackupThread : public QThread
{
    Q_OBJECT

public:
    // Registers the meta type and starts the 60-second check timer.
    BackupThread();
    ~BackupThread() override;

    // Hides QThread::isRunning for callers that hold a BackupThread: a "no" also orders the ended run's writes
    // (files, settings it read) before the caller's next step in a way the thread sanitizer sees (EndOfRun).
    bool isRunning() const;
    // Starts a run unless one is going.
    void Start();
    // Ends a running run at its next check (at once inside a file transfer or a pause) and waits for the worker.
    // Nothing when no run is going.
    void Stop();
    // The worker cancels the file transfer in progress (event 10) and waits until Resume, then fetches the same
    // file again (event 11). Used while the main window needs the recorder for its own transfers.
    void Pause();
    void Resume();

    // "LastBackupTime" of the data folder: a 4-byte little-endian day number. 0 when the file is missing or not
    // exactly 4 bytes.
    static int ReadLastBackupTime();
    // Writes today's day number; true when it reached the disk.
    static bool SaveLastBackupTime();
    // The day number stored in "LastBackupTime": the Julian day of the date. Older versions stored a count of
    // (year - 2000) * 365 + month * 30 + day, which is always far below any Julian day, so such a value simply
    // reads as an old backup.
    static int DayNumber(const QDate& date);
    // Whether a backup is due on `today` after the backup of day number `last`: cycle 0 daily (another day),
    // 1 weekly (more than 7 days), 2 monthly (more than 30 days); any other cycle never.
    static bool BackupDue(int last, const QDate& today, int cycle);

public slots:
    // The minute check: with AutoBackup on and no run going, emits event 0 and starts a run when one is due.
    void AutoBackupCheck();
    // The same check as on `today` (the timer passes the current date).
    void AutoBackupCheckOn(const QDate& today);

signals:
    void EventSignal(BackupEventType Event, KesDevice* Device, QString Text);

protected:
    void run() override;

private:
    friend class BackupDeviceRun;

    // Copies one device's records; false when its backup failed or was stopped.
    bool BackupDevice(KesDevice* device);
    // Waits while paused; false as soon as the stop flag is set.
    bool WaitWhilePaused();
    // Sleeps up to ms, ends early on Stop; false when stopped.
    bool SleepUnlessStopped(int ms);
    void StartWorker();

    QTimer m_Timer;
    std::atomic<bool> m_Stop{false};
    std::atomic<bool> m_Pause{false};
    std::mutex m_WakeMutex;
    std::condition_variable m_Wake;
    EndOfRun m_End;
};
