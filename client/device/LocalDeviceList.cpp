// The local device list: the map from device name to LocalDeviceInfo and its file "LocalDeviceList" in the backup
// folder (a JSON object keyed by device ID). The backup worker adds entries while the GUI reads and updates them,
// so one lock guards the map and every read-modify-write of the file; the file is replaced atomically.
#include "DeviceManage.h"

#include "DeviceId.h"
#include "FileIo.h"
#include "KesDevice.h"
#include "SoftwareSetting.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <map>
#include <memory>
#include <mutex>

namespace {

struct LocalListState {
    std::mutex Mutex;
    // Entries live on the heap and the map is never shared, so a pointer to an entry stays put until the entry
    // is erased.
    std::map<QString, std::unique_ptr<LocalDeviceInfo>> Entries;
};

LocalListState& LocalList()
{
    static LocalListState state;
    return state;
}

// Without a backup folder there is no file: an empty path must not become a file in the working folder.
QString LocalListPath()
{
    const QString folder = g_SoftwareSetting.BackupPath;
    return folder.isEmpty() ? QString() : folder + QStringLiteral("LocalDeviceList");
}

enum class ReadResult { Read, NotOpened, NotJson };

ReadResult ReadLocalListFile(const QString& path, QJsonObject* root)
{
    if (path.isEmpty())
        return ReadResult::NotOpened;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ReadResult::NotOpened;
    const QByteArray content = file.readAll();
    file.close();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(content, &error);
    if (error.error != QJsonParseError::NoError)
        return ReadResult::NotJson;
    *root = document.object();
    return ReadResult::Read;
}

int8_t CircuitOutNumOf(KesDevice* device)
{
    const Calvox_BaseSetting* setting = CalvoxAPI_BaseSetting(device->Handle);
    return setting != nullptr ? static_cast<int8_t>(setting->Bytes[4]) : 0;
}

QJsonObject FileEntry(KesDevice* device, int8_t circuitOutNum)
{
    return QJsonObject{{QStringLiteral("Name"), device->Name},
                       {QStringLiteral("Channels"), device->Channels},
                       {QStringLiteral("CircuitOutNum"), circuitOutNum}};
}

std::unique_ptr<LocalDeviceInfo> NewEntry(const QString& id, int8_t circuitOutNum, int channels)
{
    auto entry = std::make_unique<LocalDeviceInfo>();
    entry->ID = id;
    entry->CircuitOutNum = circuitOutNum;
    entry->Channels = channels;
    for (bool& flag : entry->ChannelFlags)
        flag = true;
    return entry;
}

void EmitLocalDeviceChanged()
{
    if (g_DeviceManage != nullptr)
        emit g_DeviceManage->DeviceListChanged(LocalDeviceChanged, nullptr, 0);
}

// Writes the device's entry into the file, then brings the map up to date; `onlyListed` refuses a device the
// file does not list. Returns whether it wrote; *added tells whether the map gained an entry.
bool WriteLocalEntry(KesDevice* device, bool onlyListed, bool* added)
{
    *added = false;
    if (device == nullptr || !IsValidDeviceId(device->ID))
        return false;
    LocalListState& s = LocalList();
    std::lock_guard<std::mutex> lock(s.Mutex);
    const QString path = LocalListPath();
    QJsonObject root;
    const ReadResult read = ReadLocalListFile(path, &root);
    if (onlyListed && (read != ReadResult::Read || !root.contains(device->ID)))
        return false;
    if (path.isEmpty())
        return false;
    // A file that is not JSON is replaced by one holding this device only.
    if (read != ReadResult::Read)
        root = QJsonObject();
    const int8_t circuitOutNum = CircuitOutNumOf(device);
    root.insert(device->ID, FileEntry(device, circuitOutNum));
    if (!SaveFile(path, QJsonDocument(root).toJson(QJsonDocument::Indented)))
        return false;

    auto it = s.Entries.find(device->Name);
    if (it == s.Entries.end()) {
        s.Entries.emplace(device->Name, NewEntry(device->ID, circuitOutNum, device->Channels));
        *added = true;
    } else if (onlyListed) {
        it->second->CircuitOutNum = circuitOutNum;
    }
    return true;
}

}  // namespace

bool DeviceManage::LoadLocalDeviceList()
{
    {
        LocalListState& s = LocalList();
        std::lock_guard<std::mutex> lock(s.Mutex);
        s.Entries.clear();
        QJsonObject root;
        if (ReadLocalListFile(LocalListPath(), &root) != ReadResult::Read)
            return false;
        for (auto it = root.constBegin(); it != root.constEnd(); ++it) {
            // The ID names a folder of the backup tree.
            if (!IsValidDeviceId(it.key()))
                continue;
            const QJsonObject value = it.value().toObject();
            if (value.isEmpty())
                continue;
            const QString name = value.value(QStringLiteral("Name")).toString();
            // The count sizes loops over the entry's 64 channel flags: a damaged file must not widen them.
            const int channels = qBound(0, value.value(QStringLiteral("Channels")).toInt(0), 64);
            s.Entries[name] = NewEntry(it.key(), static_cast<int8_t>(value.value(QStringLiteral("CircuitOutNum")).toInt(0)),
                                       channels);
        }
    }
    EmitLocalDeviceChanged();
    return true;
}

bool DeviceManage::AddLocalDevice(KesDevice* device)
{
    bool added = false;
    if (!WriteLocalEntry(device, false, &added))
        return false;
    if (added)
        EmitLocalDeviceChanged();
    return true;
}

bool DeviceManage::UpdateLocalDevice(KesDevice* device)
{
    bool added = false;
    if (!WriteLocalEntry(device, true, &added))
        return false;
    if (added)
        EmitLocalDeviceChanged();
    return true;
}

LocalDeviceInfo* DeviceManage::GetLocalDevice(const QString& name)
{
    LocalListState& s = LocalList();
    std::lock_guard<std::mutex> lock(s.Mutex);
    const auto it = s.Entries.find(name);
    return it != s.Entries.end() ? it->second.get() : nullptr;
}

bool DeviceManage::CopyLocalDevice(const QString& name, LocalDeviceInfo* info)
{
    LocalListState& s = LocalList();
    std::lock_guard<std::mutex> lock(s.Mutex);
    const auto it = s.Entries.find(name);
    if (it == s.Entries.end())
        return false;
    *info = *it->second;
    return true;
}

QStringList DeviceManage::LocalDeviceNames()
{
    QStringList names;
    LocalListState& s = LocalList();
    std::lock_guard<std::mutex> lock(s.Mutex);
    for (const auto& entry : s.Entries)
        names << entry.first;
    return names;
}
