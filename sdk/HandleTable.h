// Maps the int handles of the exports to connection objects. Handles count from 1 and are never reused, so a
// stale handle finds nothing instead of another recorder's connection. Lookups return a shared reference that
// keeps the object alive while an export runs, even when another thread deletes the handle meanwhile.
#pragma once

#include <memory>

struct Calvox_Device;

namespace calvox {

int AddDevice(std::shared_ptr<Calvox_Device> device);  // the new handle; also stored in device->handle
std::shared_ptr<Calvox_Device> FindDevice(int handle);
// Raw pointer for the accessors, which take no reference (their pointers are valid until deletion anyway).
Calvox_Device* PeekDevice(int handle);
std::shared_ptr<Calvox_Device> RemoveDevice(int handle);  // null when unknown

}  // namespace calvox
