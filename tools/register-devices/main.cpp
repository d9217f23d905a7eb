// Registers recorders in the client's data folder (XDG_DATA_HOME) as the device page does, so that scripts/run
// starts the client with devices that log in by themselves:
//   register-devices NAME ID ADDRESS PORT [NAME ID ADDRESS PORT]...
// Every device gets the account admin/admin, saved, with automatic login. A name already registered is left as
// it is. Exits 1 when the data folder cannot be made or a device cannot be written.
#include "DataFolder.h"
#include "DeviceManage.h"
#include "KesDevice.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.size() % 4 != 0) {
        std::fprintf(stderr, "usage: register-devices NAME ID ADDRESS PORT [NAME ID ADDRESS PORT]...\n");
        return 2;
    }
    if (!InitDataFolder()) {
        std::fprintf(stderr, "register-devices: no data folder\n");
        return 1;
    }
    DeviceManage manage;
    DeviceManage::LoadDevices();
    int failures = 0;
    for (int i = 0; i < args.size(); i += 4) {
        const QString name = args.at(i);
        if (DeviceManage::FindDevice(name))
            continue;
        KesDevice* device = KesDevice::Create(name, args.at(i + 1));
        device->SetNetAddr(args.at(i + 2), args.at(i + 3).toInt());
        device->UserName = device->Password = QStringLiteral("admin");
        device->SavePassword = true;
        device->AutoLogin = true;
        if (!DeviceManage::AddDevice(device)) {
            std::fprintf(stderr, "register-devices: %s not registered\n", qPrintable(name));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
