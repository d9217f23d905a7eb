// The DeviceManage object, the list accessors, holds, and the list changes with their threading.
#include "DeviceManage.h"

#include "CallQueue.h"
#include "DeviceId.h"
#include "DeviceListState.h"
#include "KesDevice.h"
#include "KesDeviceAutoLoginThread.h"
#include "StatusIcons.h"

#include <QImage>
#include <QThread>

#include <future>
#include <memory>

DeviceManage* g_DeviceManage = nullptr;

namespace {

// The GUI thread's queue for calls from other threads; a child of g_DeviceManage, set and cleared with it.
CallQueue* g_GuiCalls = nullptr;

const char* const kStatusIconPaths[kLineStateIconCount] = {
    "://MainForm/MonitorPage/Lost.png",
    "://MainForm/MonitorPage/OnHook.png",
    "://MainForm/MonitorPage/OffHook.png",
    "://MainForm/MonitorPage/Ring.png",
    "://MainForm/MonitorPage/InComing.png",
    "://MainForm/MonitorPage/OutComing.png",
    "://MainForm/MonitorPage/AutoReply.png",
    "://MainForm/MonitorPage/SoundCtrlEnable.png",
    "://MainForm/MonitorPage/SoundCtrlDisable.png",
    "://MainForm/MonitorPage/NotSupport.png",
};

bool OnGuiThread()
{
    return g_DeviceManage == nullptr || QThread::currentThread() == g_DeviceManage->thread();
}

// The last step of a removal, on the GUI thread: every event the device queued there before its threads stopped
// has been delivered, and no worker holds it.
void DeleteRetired(KesDevice* device)
{
    DeviceListState& s = DeviceList();
    {
        std::lock_guard<std::mutex> lock(s.Mutex);
        if (!s.Retired.remove(device))
            return;  // the DeviceManage destructor took it already
    }
    delete device;
}

void ScheduleDeletion(KesDevice* device)
{
    if (g_DeviceManage == nullptr) {
        DeleteRetired(device);
        return;
    }
    // Queued behind everything the device's heartbeat posted to the GUI thread before it was stopped.
    g_GuiCalls->Post([device] { DeleteRetired(device); });
}

// On the GUI thread: takes the device at index off the list, writes the index, and announces the removal.
bool TakeDevice(int index, KesDevice** taken)
{
    DeviceListState& s = DeviceList();
    KesDevice* device = nullptr;
    {
        std::lock_guard<std::mutex> lock(s.Mutex);
        if (index < 0 || index >= s.Devices.size())
            return false;
        device = s.Devices.takeAt(index);
    }
    if (!DeviceManage::SaveDeviceIndex()) {
        std::lock_guard<std::mutex> lock(s.Mutex);
        s.Devices.insert(index, device);
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(s.Mutex);
        s.Serials.remove(device);
        s.Retired.insert(device, false);
    }
    // The event relay stays connected until the device is deleted (its serial is gone, so what it still sends is
    // dropped): disconnecting it here would race with the heartbeat emitting through it.
    // The heartbeat stops updating the tables and signalling; receivers see the device as it is now.
    device->Closing = true;
    if (g_DeviceManage != nullptr)
        emit g_DeviceManage->DeviceListChanged(DeviceRemoved, device, index);
    *taken = device;
    return true;
}

// On the removing thread, after the signal: nothing of the device runs any more when this returns, except what
// workers holding it do themselves.
void StopDevice(KesDevice* device)
{
    device->AutoLoginThread->WaitForEnd();
    // Stops and joins the heartbeat (its last callbacks return at once: Closing is set).
    CalvoxAPI_Logout(device->Handle);
    bool deleteNow = false;
    {
        DeviceListState& s = DeviceList();
        std::lock_guard<std::mutex> lock(s.Mutex);
        s.Retired[device] = true;
        deleteNow = !s.Holds.contains(device);
    }
    if (deleteNow)
        ScheduleDeletion(device);
}

}  // namespace

DeviceListState& DeviceList()
{
    static DeviceListState state;
    return state;
}

bool RunOnGuiThread(const std::function<bool()>& work)
{
    if (OnGuiThread())
        return work();
    // The caller waits on a promise rather than on Qt's blocking call: its hand-over then goes through the C++
    // library's own synchronisation, which the thread sanitizer sees as well.
    auto done = std::make_shared<std::promise<bool>>();
    std::future<bool> result = done->get_future();
    g_GuiCalls->Post([done, work] { done->set_value(work()); });
    try {
        return result.get();
    } catch (const std::future_error&) {
        return false;  // the DeviceManage object went away before it ran the work
    }
}

void ListDevice(KesDevice* device)
{
    DeviceListState& s = DeviceList();
    quint64 serial = 0;
    {
        std::lock_guard<std::mutex> lock(s.Mutex);
        s.Devices.append(device);
        serial = s.NextSerial++;
        s.Serials.insert(device, serial);
    }
    if (g_DeviceManage == nullptr)
        return;
    // Runs on the heartbeat thread; the GUI thread re-emits the event only if the device is still the one listed.
    QObject::connect(
        device, &KesDevice::DeviceEventSignal, g_DeviceManage,
        [device, serial](KesDevice*, Calvox_EventType event, unsigned char* data, int length) {
            g_GuiCalls->Post([device, serial, event, data, length] {
                DeviceListState& state = DeviceList();
                {
                    std::lock_guard<std::mutex> lock(state.Mutex);
                    if (state.Serials.value(device) != serial)
                        return;
                }
                // Removal happens on this thread too, so the device stays listed during the signal.
                emit g_DeviceManage->DeviceEventSignal(device, event, data, length);
            });
        },
        Qt::DirectConnection);
}

void UnlistDevice(KesDevice* device)
{
    DeviceListState& s = DeviceList();
    {
        std::lock_guard<std::mutex> lock(s.Mutex);
        s.Devices.removeOne(device);
        s.Serials.remove(device);
    }
    if (g_DeviceManage != nullptr)
        QObject::disconnect(device, &KesDevice::DeviceEventSignal, g_DeviceManage, nullptr);
}

DeviceManage::DeviceManage()
{
    CalvoxAPI_Init();
    qRegisterMetaType<Calvox_EventType>("Calvox_EventType");
    qRegisterMetaType<DeviceManageEvent>("DeviceManageEvent");
    qRegisterMetaType<unsigned char*>();
    Q_INIT_RESOURCE(StatusIcons);
    for (int i = 0; i < kLineStateIconCount; ++i) {
        if (g_StatusIcons[i] == nullptr)
            g_StatusIcons[i] = new QImage(QString::fromLatin1(kStatusIconPaths[i]));
    }
    g_GuiCalls = new CallQueue(this);
    g_DeviceManage = this;
}

DeviceManage::~DeviceManage()
{
    DeviceListState& s = DeviceList();
    QList<KesDevice*> devices;
    QList<KesDevice*> retired;
    {
        std::lock_guard<std::mutex> lock(s.Mutex);
        devices.swap(s.Devices);
        retired = s.Retired.keys();
        s.Retired.clear();
        s.Serials.clear();
        s.Holds.clear();
    }
    for (KesDevice* device : devices)
        delete device;
    for (KesDevice* device : retired)
        delete device;
    g_DeviceManage = nullptr;
    g_GuiCalls = nullptr;  // deleted with this object, dropping what it still holds
    CalvoxAPI_Exit();
}

int DeviceManage::DeviceCount()
{
    DeviceListState& s = DeviceList();
    std::lock_guard<std::mutex> lock(s.Mutex);
    return s.Devices.size();
}

KesDevice* DeviceManage::GetDevice(int index)
{
    DeviceListState& s = DeviceList();
    std::lock_guard<std::mutex> lock(s.Mutex);
    return index >= 0 && index < s.Devices.size() ? s.Devices.at(index) : nullptr;
}

KesDevice* DeviceManage::FindDevice(const QString& name)
{
    DeviceListState& s = DeviceList();
    std::lock_guard<std::mutex> lock(s.Mutex);
    for (KesDevice* device : qAsConst(s.Devices)) {
        if (device->Name == name)
            return device;
    }
    return nullptr;
}

int DeviceManage::IndexOfDevice(KesDevice* device)
{
    DeviceListState& s = DeviceList();
    std::lock_guard<std::mutex> lock(s.Mutex);
    return s.Devices.indexOf(device);
}

QStringList DeviceManage::ConnectedDeviceNames()
{
    QStringList names;
    DeviceListState& s = DeviceList();
    std::lock_guard<std::mutex> lock(s.Mutex);
    for (KesDevice* device : qAsConst(s.Devices)) {
        if (CalvoxAPI_ConnectStatus(device->Handle) == Calvox_Connect_Online)
            names << device->Name;
    }
    return names;
}

int DeviceManage::CheckDeviceID(const QString& id)
{
    if (!IsValidDeviceId(id) || CalvoxAPI_CheckDeviceID(id.toLatin1().constData()) != 0)
        return 1;
    DeviceListState& s = DeviceList();
    std::lock_guard<std::mutex> lock(s.Mutex);
    for (KesDevice* device : qAsConst(s.Devices)) {
        if (device->ID == id)
            return 2;
    }
    return 0;
}

int DeviceManage::CheckDeviceName(const QString& name)
{
    return FindDevice(name) != nullptr ? 2 : 0;
}

DeviceHold DeviceManage::HoldDevice(int index)
{
    DeviceListState& s = DeviceList();
    std::lock_guard<std::mutex> lock(s.Mutex);
    if (index < 0 || index >= s.Devices.size())
        return DeviceHold();
    KesDevice* device = s.Devices.at(index);
    ++s.Holds[device];
    return DeviceHold(device);
}

DeviceHold DeviceManage::HoldDevice(const QString& name)
{
    DeviceListState& s = DeviceList();
    std::lock_guard<std::mutex> lock(s.Mutex);
    for (KesDevice* device : qAsConst(s.Devices)) {
        if (device->Name == name) {
            ++s.Holds[device];
            return DeviceHold(device);
        }
    }
    return DeviceHold();
}

std::vector<DeviceHold> DeviceManage::HoldDevices()
{
    std::vector<DeviceHold> holds;
    DeviceListState& s = DeviceList();
    std::lock_guard<std::mutex> lock(s.Mutex);
    for (KesDevice* device : qAsConst(s.Devices)) {
        ++s.Holds[device];
        holds.push_back(DeviceHold(device));
    }
    return holds;
}

bool DeviceManage::AddDevice(KesDevice* device)
{
    if (device == nullptr || !IsValidDeviceId(device->ID))
        return false;
    return RunOnGuiThread([device] {
        if (IndexOfDevice(device) >= 0 || CheckDeviceID(device->ID) == 2)
            return false;
        if (!SaveDeviceFile(device))
            return false;
        ListDevice(device);
        if (!SaveDeviceIndex()) {
            UnlistDevice(device);
            return false;
        }
        if (g_DeviceManage != nullptr)
            emit g_DeviceManage->DeviceListChanged(DeviceAdded, device, 0);
        return true;
    });
}

bool DeviceManage::RemoveDevice(int index)
{
    KesDevice* device = nullptr;
    if (!RunOnGuiThread([index, &device] { return TakeDevice(index, &device); }))
        return false;
    StopDevice(device);
    return true;
}

bool DeviceManage::UpdateDevice(KesDevice* device)
{
    return RunOnGuiThread([device] {
        const int index = IndexOfDevice(device);
        if (device == nullptr || index < 0)
            return false;
        if (!SaveDeviceFile(device))
            return false;
        UpdateLocalDevice(device);
        if (g_DeviceManage != nullptr)
            emit g_DeviceManage->DeviceListChanged(DeviceChanged, device, index);
        return true;
    });
}

DeviceHold::~DeviceHold()
{
    Release();
}

DeviceHold::DeviceHold(DeviceHold&& other) noexcept : m_Device(other.m_Device)
{
    other.m_Device = nullptr;
}

DeviceHold& DeviceHold::operator=(DeviceHold&& other) noexcept
{
    if (this != &other) {
        Release();
        m_Device = other.m_Device;
        other.m_Device = nullptr;
    }
    return *this;
}

void DeviceHold::Release()
{
    KesDevice* device = m_Device;
    if (device == nullptr)
        return;
    m_Device = nullptr;
    bool deleteNow = false;
    {
        DeviceListState& s = DeviceList();
        std::lock_guard<std::mutex> lock(s.Mutex);
        auto it = s.Holds.find(device);
        if (it == s.Holds.end())
            return;  // the DeviceManage destructor cleared the holds
        if (--it.value() > 0)
            return;
        s.Holds.erase(it);
        // A removed device whose threads are stopped waited for this hold.
        deleteNow = s.Retired.value(device, false);
    }
    if (deleteNow)
        ScheduleDeletion(device);
}
