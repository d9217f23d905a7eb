#pragma once

#include <QString>

#include <cstdint>

// One entry of the local device list, under a device name: what the backed-up records of that recorder need when
// it is not connected or no longer registered.
struct LocalDeviceInfo {
    QString ID;                  // names the device's folder in the backup tree
    int8_t CircuitOutNum = 0;    // outside-line digit as a character code ('0'..'9', '#', '*'), 0 for none
    int Channels = 0;
    bool ChannelFlags[64] = {};  // the record search's channel choice; all true for a new or loaded entry
};
