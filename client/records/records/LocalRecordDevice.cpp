#include "records/LocalRecordDevice.h"

#include <atomic>

namespace {
std::atomic<LocalRecordDeviceLookup> Lookup{nullptr};
}

void SetLocalRecordDeviceLookup(LocalRecordDeviceLookup lookup)
{
    Lookup.store(lookup);
}

bool FindLocalRecordDevice(const QString& name, LocalRecordDevice* device)
{
    const LocalRecordDeviceLookup lookup = Lookup.load();
    return lookup != nullptr && lookup(name, device);
}
