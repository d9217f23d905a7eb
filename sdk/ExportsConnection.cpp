// Connection and login exports. An unknown or stale handle gives 4.
#include "CalvoxSDK.h"
#include "Device.h"
#include "HandleTable.h"
#include "Login.h"

#include <mutex>

CALVOX_API Calvox_Result CalvoxAPI_SetNetAddr(Calvox_DeviceHandle handle, const char* host, unsigned short port)
{
    auto device = calvox::FindDevice(handle);
    return device ? calvox::SetNetAddr(*device, host, port) : Calvox_Result_InvalidArgument;
}

CALVOX_API Calvox_Result CalvoxAPI_SetUserPassword(Calvox_DeviceHandle handle, const char* user, int userLength,
                                                   const char* password)
{
    auto device = calvox::FindDevice(handle);
    return device ? calvox::SetUserPassword(*device, user, userLength, password) : Calvox_Result_InvalidArgument;
}

CALVOX_API Calvox_Result CalvoxAPI_Login(Calvox_DeviceHandle handle, int remoteLogin)
{
    auto device = calvox::FindDevice(handle);
    if (!device)
        return Calvox_Result_InvalidArgument;
    {
        // The heartbeat reads the flag when it reconnects.
        std::lock_guard<std::mutex> lock(device->commandMutex);
        device->viaCloud = static_cast<uint8_t>(remoteLogin);
    }
    return calvox::Login(*device);
}
