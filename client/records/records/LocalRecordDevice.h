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

// Looks a device name up in the local device list; false when the list has no such name. The device list
// installs its lookup at start-up (SetLocalRecordDeviceLookup); without one every name is unknown.
using LocalRecordDeviceLookup = bool (*)(const QString& name, LocalRecordDevice* device);
void SetLocalRecordDeviceLookup(LocalRecordDeviceLookup lookup);
bool FindLocalRecordDevice(const QString& name, LocalRecordDevice* device);
