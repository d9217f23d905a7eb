#pragma once

#include <QString>

// A recorder's ID names its file in the data folder ("Devices/" + ID) and its folder in the backup tree, so it is
// accepted only as exactly 20 ASCII letters or digits: no separator, dot, space or non-ASCII character can turn
// it into another path. Every place where an ID enters the client (registration, search results, the device
// index and device files, the local device list) checks it here.
constexpr int kDeviceIdLength = 20;

bool IsValidDeviceId(const QString& id);
// The same for the raw bytes of a record field (exactly kDeviceIdLength bytes, no terminator needed).
bool IsValidDeviceId(const char* bytes);
