// The registered-device files in the data folder: "Devices/DeviceIndex" (the listed IDs, 20 bytes each, in list
// order) and one JSON file "Devices/" + ID per device. Every write replaces its file atomically.
#include "DeviceManage.h"

#include "DataFolder.h"
#include "DeviceId.h"
#include "DeviceListState.h"
#include "KesDevice.h"
#include "KesDeviceAutoLoginThread.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString kDevicesFolder = QStringLiteral("Devices/");
const QString kDeviceIndexFile = QStringLiteral("Devices/DeviceIndex");

bool ReadJsonObject(const QString& fileName, QJsonObject* object)
{
    QByteArray content;
    if (!ReadDataFile(fileName, &content))
        return false;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(content, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    *object = document.object();
    return true;
}

}  // namespace

bool DeviceManage::LoadDevices()
{
    if (!MakeDataFolder(kDevicesFolder))
        return false;
    QByteArray index;
    if (!ReadDataFile(kDeviceIndexFile, &index) || index.isEmpty())
        return true;
    // A length that is not a whole number of IDs means the file is damaged: load none rather than guess.
    if (index.size() % kDeviceIdLength != 0)
        return true;
    for (int offset = 0; offset < index.size(); offset += kDeviceIdLength) {
        const QString id = QString::fromUtf8(index.constData() + offset, kDeviceIdLength);
        if (IsValidDeviceId(id))
            LoadDevice(kDevicesFolder + id);
    }
    return true;
}

bool DeviceManage::LoadDevice(const QString& fileName)
{
    QJsonObject object;
    if (!ReadJsonObject(fileName, &object))
        return false;
    const QString name = object.value(QStringLiteral("Name")).toString();
    if (CheckDeviceName(name) != 0)
        return false;
    // The file's own ID names the device; it becomes a file name again when the device is saved.
    const QString id = object.value(QStringLiteral("ID")).toString();
    if (CheckDeviceID(id) != 0)
        return false;
    KesDevice* device = KesDevice::Create(name, id);
    if (device == nullptr)
        return false;
    device->Version = object.value(QStringLiteral("Version")).toString();
    device->SetNetAddr(object.value(QStringLiteral("IPaddress")).toString(),
                       object.value(QStringLiteral("Port")).toInt(0));
    device->UserName = object.value(QStringLiteral("UserName")).toString();
    device->Password = DecodePassword(object.value(QStringLiteral("Password")).toString());
    device->SavePassword = object.value(QStringLiteral("SavePassword")).toBool(false);
    device->AutoLogin = object.value(QStringLiteral("AutoLogin")).toBool(false);
    device->RemoteLogin = object.value(QStringLiteral("RemoteLogin")).toBool(false);

    ListDevice(device);
    if (g_DeviceManage != nullptr)
        emit g_DeviceManage->DeviceListChanged(DeviceAdded, device, 0);
    if (device->AutoLogin)
        device->AutoLoginThread->start();
    return true;
}

bool DeviceManage::SaveDeviceFile(KesDevice* device)
{
    if (device == nullptr || !IsValidDeviceId(device->ID))
        return false;
    QJsonObject object;
    object.insert(QStringLiteral("ID"), device->ID);
    object.insert(QStringLiteral("Name"), device->Name);
    object.insert(QStringLiteral("Version"), device->Version.Get());
    object.insert(QStringLiteral("IPaddress"), device->IPaddress);
    object.insert(QStringLiteral("Port"), device->Port.toInt());
    object.insert(QStringLiteral("UserName"), device->UserName);
    object.insert(QStringLiteral("Password"), device->SavePassword ? EncodePassword(device->Password) : QString());
    object.insert(QStringLiteral("SavePassword"), device->SavePassword);
    object.insert(QStringLiteral("AutoLogin"), device->AutoLogin);
    object.insert(QStringLiteral("RemoteLogin"), device->RemoteLogin);
    return MakeDataFolder(kDevicesFolder) &&
           SaveDataFile(kDevicesFolder + device->ID, QJsonDocument(object).toJson(QJsonDocument::Indented));
}

bool DeviceManage::SaveDeviceIndex()
{
    QByteArray index;
    {
        DeviceListState& s = DeviceList();
        std::lock_guard<std::mutex> lock(s.Mutex);
        for (const KesDevice* device : qAsConst(s.Devices))
            index += device->ID.toUtf8();
    }
    return MakeDataFolder(kDevicesFolder) && SaveDataFile(kDeviceIndexFile, index);
}

void DeviceManage::SaveDeviceVersion(KesDevice* device)
{
    if (device == nullptr)
        return;
    RunOnGuiThread([device] {
        if (!IsValidDeviceId(device->ID))
            return false;
        const QString fileName = kDevicesFolder + device->ID;
        QJsonObject object;
        if (!ReadJsonObject(fileName, &object))
            return false;
        const QString version = device->Version.Get();
        if (object.value(QStringLiteral("Version")).toString() == version)
            return false;
        object.insert(QStringLiteral("Version"), version);
        if (!SaveDataFile(fileName, QJsonDocument(object).toJson(QJsonDocument::Indented)))
            return false;
        if (g_DeviceManage != nullptr)
            emit g_DeviceManage->DeviceListChanged(DeviceChanged, device, IndexOfDevice(device));
        return true;
    });
}
