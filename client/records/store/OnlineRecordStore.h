#pragma once

#include <QString>

struct RecordSearchStore;

// The record search's own way to a connected recorder: the device of that name in DeviceManage's list, held for
// as long as the store lives. False when the list has no such device or it cannot describe its records.
bool FindDeviceListRecordStore(const QString& name, RecordSearchStore* store);
