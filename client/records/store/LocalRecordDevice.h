#pragma once

#include <QString>

// What the record store and the PC-backup search need of a device of the local device list: the ID that names
// its folder in the backup tree, its outside-line digit, its channel count and the record page's channel
// selection.
struct LocalRecordDevice {
    QString ID;
    char CircuitOutNum = 0;  // character code ('0'..'9', '#', '*'), 0 for none
    int Channels = 0;
    bool ChannelFlags[64] = {};
};

// Looks a device name up in the local device list (DeviceManage's); false when the list has no such name.
// SetLocalRecordDeviceLookup puts another lookup in its place (tests give their own devices); null restores
// the device list's.
using LocalRecordDeviceLookup = bool (*)(const QString& name, LocalRecordDevice* device);
void SetLocalRecordDeviceLookup(LocalRecordDeviceLookup lookup);
bool FindLocalRecordDevice(const QString& name, LocalRecordDevice* device);
