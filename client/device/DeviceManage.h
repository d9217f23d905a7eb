#pragma once

#include "CalvoxSDK.h"
#include "LocalDeviceInfo.h"

#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <QStringList>

#include <vector>

class KesDevice;

// What changed in the device list, carried by DeviceManage::DeviceListChanged.
enum DeviceManageEvent {
    DeviceAdded = 0,         // Device: the new device; Index: 0 (not its list position)
    DeviceRemoved = 1,       // Device: the removed device, alive during the signal; Index: its former position
    DeviceChanged = 2,       // Device: the changed device; Index: its position
    LocalDeviceChanged = 3,  // Device: null; Index: 0
};
Q_DECLARE_METATYPE(DeviceManageEvent)

class DeviceHold;

// The registered recorders: starts and ends the SDK, loads the devices registered in the data folder, adds,
// removes and updates them (each change is written to disk first and takes effect only when the write succeeded)
// and reports every change with DeviceListChanged. Also keeps the local device list (LocalDeviceList.cpp) and
// scrambles stored passwords. One object, created by the main window on the GUI thread before any device exists;
// the list functions are static and reach the object through g_DeviceManage.
//
// Threads. The list and every change to it belong to the GUI thread (the thread of the DeviceManage object):
// - AddDevice, RemoveDevice, UpdateDevice and SaveDeviceVersion may be called from any thread; a caller on
//   another thread has the GUI thread do the list change and the signal (and waits for it), so DeviceListChanged
//   with a device is always emitted on the GUI thread and reaches GUI receivers directly. Such a caller needs the
//   GUI thread's event loop running (a wait panel's local loop is enough).
// - RemoveDevice: the device leaves the list, the index file is written, then DeviceRemoved is emitted while the
//   device is alive and receivers may use it. Afterwards the calling thread stops the device's threads (its
//   auto-login run ends, its heartbeat is stopped and joined) and the device is deleted on the GUI thread behind
//   every event it had queued there, and only once no worker holds it (DeviceHold). The device's own file stays.
// - The relayed DeviceEventSignal below carries a device's heartbeat events to the GUI thread and drops those of a
//   device that has left the list meanwhile. Receivers connected to a KesDevice's own signal still get the events
//   it queued before removal (Qt delivers queued calls of a deleted sender too), but always before the deletion.
// - Workers walk the list with HoldDevices/HoldDevice: a hold keeps the device alive; the plain accessors
//   (DeviceCount, GetDevice, FindDevice, ...) lock the list for the call itself and suit the GUI thread.
class DeviceManage : public QObject
{
    Q_OBJECT

public:
    // CalvoxAPI_Init, the meta types, the line-state icons g_StatusIcons[0..9] (those not yet loaded) and the
    // local device list's lookup for the record store. Sets g_DeviceManage.
    DeviceManage();
    // Deletes every listed device in list order, then removed ones not yet deleted, then CalvoxAPI_Exit.
    // Workers that use devices must have ended.
    ~DeviceManage() override;

    static int DeviceCount();
    // Null when index is out of range.
    static KesDevice* GetDevice(int index);
    // The first device whose Name is exactly name; null when none.
    static KesDevice* FindDevice(const QString& name);
    // −1 when the device is not listed.
    static int IndexOfDevice(KesDevice* device);
    // Names of the devices whose SDK connection is online, in list order.
    static QStringList ConnectedDeviceNames();
    // 1: not a valid ID (20 ASCII letters or digits the SDK accepts); 2: a listed device has it; else 0.
    static int CheckDeviceID(const QString& id);
    // 2 when a listed device has exactly this name, else 0.
    static int CheckDeviceName(const QString& name);

    // A hold on the listed device at index / named name / on every listed device in list order. Empty holds
    // for what is not listed.
    static DeviceHold HoldDevice(int index);
    static DeviceHold HoldDevice(const QString& name);
    static std::vector<DeviceHold> HoldDevices();

    // Loads the devices named by "Devices/DeviceIndex" (20 bytes per ID). False only when the folder cannot be
    // made. An index whose length is not a multiple of 20 loads nothing; a slice that is no valid ID and a
    // device file that is missing, damaged, or repeats a listed name or ID skip that device only.
    static bool LoadDevices();
    // One device file (name relative to the data folder); lists the device, emits DeviceAdded and starts the
    // auto-login when the file asks for it.
    static bool LoadDevice(const QString& fileName);
    // Lists a device made by KesDevice::Create: its file, then the index. False (device not listed, still the
    // caller's) when its ID is invalid or listed already, or a write failed; the index on disk is then as it was.
    static bool AddDevice(KesDevice* device);
    // See the class comment. False when index is out of range or the index file cannot be written (the device
    // stays listed at index).
    static bool RemoveDevice(int index);
    // Writes the device's file and its local-list entry; emits DeviceChanged. False when the device is not
    // listed or its file cannot be written.
    static bool UpdateDevice(KesDevice* device);
    // "Devices/" + ID as indented JSON, written atomically; false for an invalid ID.
    static bool SaveDeviceFile(KesDevice* device);
    // The listed IDs, concatenated, to "Devices/DeviceIndex", written atomically.
    static bool SaveDeviceIndex();
    // Writes the device's current firmware version into its file when it differs from the stored one, then
    // emits DeviceChanged.
    static void SaveDeviceVersion(KesDevice* device);

    // The stored form of a saved password: Base64 of its UTF-8 bytes without padding, odd-indexed characters
    // first ("abc" <-> "WjYJ"). Not encryption: it only keeps the password from being read at a glance.
    static QString EncodePassword(const QString& password);
    static QString DecodePassword(const QString& text);

    // The local device list (LocalDeviceList.cpp): per device name, the device's ID, outside-line digit and
    // channels, kept for backed-up records in the file "LocalDeviceList" of the backup folder, keyed there by ID.
    // All functions may be called from any thread; the map and the file are guarded by one lock.
    // Refills the map from the file; emits LocalDeviceChanged when the file was read.
    static bool LoadLocalDeviceList();
    // Writes the device's entry into the file; adds it to the map (and emits) when its name is new there.
    static bool AddLocalDevice(KesDevice* device);
    // The same, only for a device the file lists already; for a name the map holds only CircuitOutNum changes.
    static bool UpdateLocalDevice(KesDevice* device);
    // The map's entry for a device name, null when none. GUI thread: the pointer stays valid until the entry is
    // removed or the list is loaded again (no copy of the map can move it); ChannelFlags may be changed through it.
    static LocalDeviceInfo* GetLocalDevice(const QString& name);
    // A copy of the entry, for any thread; false when the map has no such name.
    static bool CopyLocalDevice(const QString& name, LocalDeviceInfo* info);
    // The map's names in ascending order.
    static QStringList LocalDeviceNames();

signals:
    void DeviceListChanged(DeviceManageEvent Event, KesDevice* Device, int Index);
    // A listed device's DeviceEventSignal, re-emitted on the GUI thread; dropped when the device has left the list
    // before the event arrived.
    void DeviceEventSignal(KesDevice* Device, Calvox_EventType Event, unsigned char* Data, int Length);
};

extern DeviceManage* g_DeviceManage;

// Keeps a listed device from being deleted while a worker uses it, even when the GUI removes it meanwhile (the
// device then leaves the list at once and is deleted after the last hold ends). Move-only; empty when the device
// was not listed at the time of the hold.
class DeviceHold
{
public:
    DeviceHold() = default;
    ~DeviceHold();
    DeviceHold(DeviceHold&& other) noexcept;
    DeviceHold& operator=(DeviceHold&& other) noexcept;
    DeviceHold(const DeviceHold&) = delete;
    DeviceHold& operator=(const DeviceHold&) = delete;

    KesDevice* Device() const { return m_Device; }
    KesDevice* operator->() const { return m_Device; }
    explicit operator bool() const { return m_Device != nullptr; }
    void Release();

private:
    friend class DeviceManage;
    explicit DeviceHold(KesDevice* heldDevice) : m_Device(heldDevice) {}
    KesDevice* m_Device = nullptr;
};
