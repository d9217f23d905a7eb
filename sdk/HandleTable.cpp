#include "HandleTable.h"

#include "Device.h"

#include <map>
#include <mutex>

namespace calvox {
namespace {

struct Table {
    std::mutex mutex;
    std::map<int, std::shared_ptr<Calvox_Device>> devices;
    int next = 1;
};

Table& TheTable()
{
    static Table* table = new Table;  // never destroyed: exports may run during static destruction
    return *table;
}

}  // namespace

int AddDevice(std::shared_ptr<Calvox_Device> device)
{
    Table& t = TheTable();
    std::lock_guard<std::mutex> lock(t.mutex);
    if (t.next <= 0)
        return 0;  // 2^31 handles used up
    const int handle = t.next++;
    device->handle = handle;
    t.devices.emplace(handle, std::move(device));
    return handle;
}

std::shared_ptr<Calvox_Device> FindDevice(int handle)
{
    Table& t = TheTable();
    std::lock_guard<std::mutex> lock(t.mutex);
    auto it = t.devices.find(handle);
    return it == t.devices.end() ? nullptr : it->second;
}

Calvox_Device* PeekDevice(int handle)
{
    Table& t = TheTable();
    std::lock_guard<std::mutex> lock(t.mutex);
    auto it = t.devices.find(handle);
    return it == t.devices.end() ? nullptr : it->second.get();
}

std::shared_ptr<Calvox_Device> RemoveDevice(int handle)
{
    Table& t = TheTable();
    std::lock_guard<std::mutex> lock(t.mutex);
    auto it = t.devices.find(handle);
    if (it == t.devices.end())
        return nullptr;
    auto device = std::move(it->second);
    t.devices.erase(it);
    return device;
}

}  // namespace calvox
