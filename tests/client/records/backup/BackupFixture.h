#pragma once

// The backup worker's test rig: a data folder, a backup folder and the device list of the client, with
// recorders of the in-process emulator registered as devices and logged in; and a collector of the worker's
// events as it emits them.

#include "backup/BackupThread.h"
#include "DataFolder.h"
#include "DeviceManage.h"
#include "KesDevice.h"
#include "SoftwareSetting.h"

#include "EmuFiles.h"
#include "Emulator.h"
#include "RecordTree.h"

#include <QElapsedTimer>
#include <QFile>
#include <mutex>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>
#include <vector>

namespace emu = calvox::emu;

struct BackupEvent {
    int Type;
    KesDevice* Device;
    QString Text;
};

// Every event of a BackupThread, recorded on the thread that emits it. OnEvent (when set) runs there too, so a
// test can act at an exact point of the worker's progress.
class BackupEvents : public QObject
{
public:
    explicit BackupEvents(BackupThread* thread)
    {
        connect(thread, &BackupThread::EventSignal, this,
                [this](BackupEventType type, KesDevice* device, const QString& text) {
                    const BackupEvent event{int(type), device, text};
                    // OnEvent is read under the lock too: a test waits for the worker with QThread::wait, whose
                    // ordering the thread sanitizer cannot see, and then only its next lock orders what came before.
                    std::function<void(const BackupEvent&)> onEvent;
                    {
                        std::lock_guard<std::mutex> lock(m_Mutex);
                        m_Events.push_back(event);
                        onEvent = OnEvent;
                    }
                    if (onEvent)
                        onEvent(event);
                },
                Qt::DirectConnection);
    }

    QList<BackupEvent> All() const
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        QList<BackupEvent> events;
        for (const BackupEvent& e : m_Events)
            events.append(e);
        return events;
    }
    QList<int> Types() const
    {
        QList<int> types;
        for (const BackupEvent& e : All())
            types << e.Type;
        return types;
    }
    int Count(int type) const { return Types().count(type); }
    bool WaitFor(int type, int count = 1, int ms = 20000) const
    {
        QElapsedTimer timer;
        timer.start();
        while (Count(type) < count) {
            if (timer.elapsed() > ms)
                return false;
            QTest::qWait(5);
        }
        return true;
    }
    void Clear()
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Events.clear();
    }

    std::function<void(const BackupEvent&)> OnEvent;

private:
    mutable std::mutex m_Mutex;
    // A vector, copied element by element: the copy-on-write of a shared QList is done in Qt's own code,
    // where the thread sanitizer cannot see that the lock orders it.
    std::vector<BackupEvent> m_Events;
};

inline QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A fresh data folder, backup folder and device list (which starts and ends the SDK).
class BackupRig
{
public:
    struct Unit {
        emu::Recorder* Recorder = nullptr;
        KesDevice* Device = nullptr;
        QString Storage;  // the recorder's storage root
    };

    BackupRig()
    {
        g_DataPath = m_Data.path();
        MakeDataFolder(QStringLiteral("Devices"));
        g_SoftwareSetting = SoftwareSetting();
        g_SoftwareSetting.BackupPath = m_Backup.path() + QLatin1Char('/');
        m_Manage = std::make_unique<DeviceManage>();
    }
    ~BackupRig()
    {
        m_Manage.reset();
        m_Emulator.Stop();
    }

    // A recorder with its own storage, registered as a device of that name; logged in and online when asked.
    Unit Add(const QString& name, const char* id, bool online = true)
    {
        Unit unit;
        m_Storages.push_back(std::make_unique<QTemporaryDir>());
        unit.Storage = m_Storages.back()->path();
        emu::RecorderConfig config;
        config.id = id;
        config.port = 0;
        unit.Recorder = m_Emulator.Add(config);
        if (unit.Recorder == nullptr)
            return Unit();
        emu::ServeFiles(*unit.Recorder, unit.Storage.toStdString());
        unit.Device = KesDevice::Create(name, QString::fromLatin1(id));
        if (unit.Device == nullptr)
            return Unit();
        unit.Device->SetNetAddr(QStringLiteral("127.0.0.1"), unit.Recorder->Port());
        unit.Device->UserName = QStringLiteral("admin");
        unit.Device->Password = QStringLiteral("admin");
        if (!DeviceManage::AddDevice(unit.Device)) {
            delete unit.Device;
            return Unit();
        }
        if (online && !GoOnline(unit.Device))
            return Unit();
        return unit;
    }

    static bool GoOnline(KesDevice* device)
    {
        if (device->Login() != 0)
            return false;
        device->CreateHeartbeatThread();
        QElapsedTimer timer;
        timer.start();
        while (CalvoxAPI_ConnectStatus(device->Handle) != Calvox_Connect_Online) {
            if (timer.elapsed() > 10000)
                return false;
            QTest::qWait(10);
        }
        return true;
    }

    QString BackupPath() const { return g_SoftwareSetting.BackupPath; }

private:
    QTemporaryDir m_Data;
    QTemporaryDir m_Backup;
    emu::Emulator m_Emulator;
    std::vector<std::unique_ptr<QTemporaryDir>> m_Storages;
    std::unique_ptr<DeviceManage> m_Manage;
};

inline emu::FixtureRecord Record(int year, int month, int day, int hour, int minute, int channel, int type = 0,
                                 const std::string& phone = std::string(), uint32_t audioBytes = 3000)
{
    emu::FixtureRecord r;
    r.year = static_cast<uint8_t>(year - 2000);
    r.month = static_cast<uint8_t>(month);
    r.day = static_cast<uint8_t>(day);
    r.hour = static_cast<uint8_t>(hour);
    r.minute = static_cast<uint8_t>(minute);
    r.channel = channel;
    r.type = static_cast<uint8_t>(type);
    r.phone = phone;
    r.audioBytes = audioBytes;
    return r;
}

// Device paths the recorder was asked to download, in order (begin requests of command 29).
inline QStringList DownloadedPaths(const emu::Recorder& recorder)
{
    QStringList paths;
    for (const emu::LoggedRequest& r : recorder.Log()) {
        if (r.command != 29 || r.dropped || r.payload.size() < 3 || r.payload[0] != 0)
            continue;
        paths << QString::fromLatin1(reinterpret_cast<const char*>(r.payload.data()) + 2);
    }
    return paths;
}
