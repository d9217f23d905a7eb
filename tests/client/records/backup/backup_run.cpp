// A second client for the backup tests: registers one recorder, logs in and backs it up, so that a test can kill
// it in the middle of a file. Arguments: data folder, backup folder (ending in '/'), the recorder's port on
// 127.0.0.1, its device ID. Exits 0 after a run in which the device got through.
#include "backup/BackupThread.h"
#include "DataFolder.h"
#include "DeviceManage.h"
#include "KesDevice.h"
#include "SoftwareSetting.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: backup_run <data folder> <backup folder/> <port> <device ID>\n");
        return 2;
    }
    g_DataPath = args[1];
    MakeDataFolder(QStringLiteral("Devices"));
    g_SoftwareSetting.BackupPath = args[2];
    DeviceManage manage;
    KesDevice* device = KesDevice::Create(QStringLiteral("Office"), args[4]);
    if (device == nullptr || !DeviceManage::AddDevice(device))
        return 3;
    device->SetNetAddr(QStringLiteral("127.0.0.1"), args[3].toInt());
    device->UserName = QStringLiteral("admin");
    device->Password = QStringLiteral("admin");
    if (device->Login() != 0)
        return 4;
    device->CreateHeartbeatThread();
    for (int i = 0; i < 1000 && CalvoxAPI_ConnectStatus(device->Handle) != Calvox_Connect_Online; ++i)
        QThread::msleep(10);
    BackupThread backup;
    bool done = false;
    QObject::connect(&backup, &BackupThread::EventSignal, [&done](BackupEventType event, KesDevice*, QString) {
        if (event == BackupEvent_DeviceDone)
            done = true;
    });
    backup.Start();
    backup.wait();
    QCoreApplication::processEvents();
    return done ? 0 : 1;
}
