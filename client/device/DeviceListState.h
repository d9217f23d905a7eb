#pragma once

// The device list behind DeviceManage's static functions, shared by its source files. Not part of the interface.

#include <QHash>
#include <QList>

#include <functional>
#include <mutex>

class KesDevice;

struct DeviceListState {
    // Guards every member. Never held while a signal is emitted or a device's thread is waited for.
    std::mutex Mutex;
    // The registered devices in "DeviceIndex" order; owns them.
    QList<KesDevice*> Devices;
    // Listed devices -> the number their event relay carries; a relayed event whose device no longer has this
    // number (removed, or a new device at a reused address) is dropped.
    QHash<KesDevice*, quint64> Serials;
    quint64 NextSerial = 1;
    // Holds of workers, per device (listed or removed).
    QHash<KesDevice*, int> Holds;
    // Removed devices not yet deleted -> whether their threads have been stopped.
    QHash<KesDevice*, bool> Retired;
};

DeviceListState& DeviceList();

// Runs `work` on the GUI thread (the DeviceManage object's) and returns its result: at once when called there or
// when there is no DeviceManage object, else through a blocking queued call.
bool RunOnGuiThread(const std::function<bool()>& work);

// Appends a device to the list (caller holds no lock) and relays its events; used by LoadDevice and AddDevice.
void ListDevice(KesDevice* device);
// Takes a device off the list again after a failed index write.
void UnlistDevice(KesDevice* device);
