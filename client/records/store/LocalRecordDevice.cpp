#include "store/LocalRecordDevice.h"

#include "DeviceManage.h"

#include <algorithm>
#include <atomic>
#include <iterator>

namespace {

std::atomic<LocalRecordDeviceLookup> Lookup{nullptr};

bool LookupLocalDeviceList(const QString& name, LocalRecordDevice* device)
{
    LocalDeviceInfo info;
    if (!DeviceManage::CopyLocalDevice(name, &info))
        return false;
    device->ID = info.ID;
    device->CircuitOutNum = static_cast<char>(info.CircuitOutNum);
    device->Channels = info.Channels;
    std::copy(std::begin(info.ChannelFlags), std::end(info.ChannelFlags), std::begin(device->ChannelFlags));
    return true;
}

}  // namespace

void SetLocalRecordDeviceLookup(LocalRecordDeviceLookup lookup)
{
    Lookup.store(lookup);
}

bool FindLocalRecordDevice(const QString& name, LocalRecordDevice* device)
{
    const LocalRecordDeviceLookup lookup = Lookup.load();
    return lookup != nullptr ? lookup(name, device) : LookupLocalDeviceList(name, device);
}
