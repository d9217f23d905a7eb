// BackupThread: its control from the GUI thread, the minute check, "LastBackupTime" and the run over the device
// list. The copy of one device is BackupDevice.cpp.
#include "backup/BackupThread.h"

#include "DataFolder.h"
#include "DeviceManage.h"
#include "KesDevice.h"
#include "SoftwareSetting.h"

#include <QDir>
#include <QtEndian>

#include <chrono>
#include <vector>

namespace {

const char kLastBackupTimeFile[] = "LastBackupTime";

}  // namespace

BackupThread::BackupThread()
{
    qRegisterMetaType<BackupEventType>("BackupEventType");
    connect(&m_Timer, &QTimer::timeout, this, &BackupThread::AutoBackupCheck);
    m_Timer.start(60000);
}

BackupThread::~BackupThread()
{
    Stop();
}

bool BackupThread::isRunning() const
{
    if (QThread::isRunning())
        return true;
    m_End.Seen();
    return false;
}

void BackupThread::StartWorker()
{
    m_Stop = false;
    {
        std::lock_guard<std::mutex> lock(m_WakeMutex);
        m_Pause = false;
    }
    start(QThread::InheritPriority);
}

void BackupThread::Start()
{
    if (!isRunning())
        StartWorker();
}

void BackupThread::Stop()
{
    if (!isRunning())
        return;
    {
        std::lock_guard<std::mutex> lock(m_WakeMutex);
        m_Stop = true;
        m_Pause = true;
    }
    m_Wake.notify_all();
    wait();
    m_End.Seen();
}

void BackupThread::Pause()
{
    std::lock_guard<std::mutex> lock(m_WakeMutex);
    m_Pause = true;
}

void BackupThread::Resume()
{
    {
        std::lock_guard<std::mutex> lock(m_WakeMutex);
        m_Pause = false;
    }
    m_Wake.notify_all();
}

bool BackupThread::WaitWhilePaused()
{
    std::unique_lock<std::mutex> lock(m_WakeMutex);
    m_Wake.wait(lock, [this] { return m_Stop || !m_Pause; });
    return !m_Stop;
}

bool BackupThread::SleepUnlessStopped(int ms)
{
    std::unique_lock<std::mutex> lock(m_WakeMutex);
    m_Wake.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_Stop.load(); });
    return !m_Stop;
}

int BackupThread::ReadLastBackupTime()
{
    QByteArray bytes;
    if (!ReadDataFile(QString::fromLatin1(kLastBackupTimeFile), &bytes) || bytes.size() != 4)
        return 0;
    return qFromLittleEndian<qint32>(bytes.constData());
}

bool BackupThread::SaveLastBackupTime()
{
    char bytes[4];
    qToLittleEndian<qint32>(DayNumber(QDate::currentDate()), bytes);
    return SaveDataFile(QString::fromLatin1(kLastBackupTimeFile), QByteArray(bytes, 4));
}

int BackupThread::DayNumber(const QDate& date)
{
    return static_cast<int>(date.toJulianDay());
}

bool BackupThread::BackupDue(int last, const QDate& today, int cycle)
{
    static const int kCycleDays[] = {0, 7, 30};
    if (cycle < 0 || cycle > 2)
        return false;
    return last < DayNumber(today) - kCycleDays[cycle];
}

void BackupThread::AutoBackupCheck()
{
    AutoBackupCheckOn(QDate::currentDate());
}

void BackupThread::AutoBackupCheckOn(const QDate& today)
{
    if (!g_SoftwareSetting.AutoBackup || isRunning())
        return;
    const int last = ReadLastBackupTime();
    emit EventSignal(BackupEvent_AutoCheck, nullptr, QString());
    if (BackupDue(last, today, g_SoftwareSetting.BackupCycle) && !isRunning())
        StartWorker();
}

void BackupThread::run()
{
    const EndOfRun::AtExit end{m_End};
    const QString root = g_SoftwareSetting.BackupPath;
    if (root.isEmpty() || !QDir().mkpath(root)) {
        emit EventSignal(BackupEvent_NoRoot, nullptr, QString());
        return;
    }
    emit EventSignal(BackupEvent_Started, nullptr, QString());

    // Every listed device must get through before the run counts as a backup: one that fails or is offline
    // keeps "LastBackupTime" old, so the next minute check tries again.
    bool everyDevice = true;
    std::vector<DeviceHold> holds = DeviceManage::HoldDevices();
    for (DeviceHold& hold : holds) {
        KesDevice* device = hold.Device();
        // A device removed since the run began is no longer backed up.
        if (device == nullptr || DeviceManage::IndexOfDevice(device) < 0) {
            hold.Release();
            continue;
        }
        if (CalvoxAPI_ConnectStatus(device->Handle) != Calvox_Connect_Online) {
            everyDevice = false;
            emit EventSignal(BackupEvent_DeviceOffline, device, QString());
        } else {
            emit EventSignal(BackupEvent_DeviceStarted, device, QString());
            if (BackupDevice(device)) {
                emit EventSignal(BackupEvent_DeviceDone, device, QString());
            } else {
                everyDevice = false;
                emit EventSignal(BackupEvent_DeviceFailed, device, QString());
            }
        }
        // The removal of a device deletes it behind the events queued here, once no hold is left.
        hold.Release();
        if (m_Stop) {
            everyDevice = everyDevice && &hold == &holds.back();
            break;
        }
    }
    if (everyDevice)
        SaveLastBackupTime();
    emit EventSignal(BackupEvent_Finished, nullptr, QString());
}
