// Heartbeat exports: start, the C variant, logout.
#include "CalvoxSDK.h"
#include "Callbacks.h"
#include "Device.h"
#include "HandleTable.h"
#include "Heartbeat.h"

CALVOX_API Calvox_Result CalvoxAPI_CreateHeartbeatThread(Calvox_DeviceHandle handle, const Calvox_EventCallback* cb)
{
    auto device = calvox::FindDevice(handle);
    if (!device || !calvox::IsCallable(cb))
        return Calvox_Result_InvalidArgument;
    return calvox::CreateHeartbeatThread(device, *cb);
}

CALVOX_API Calvox_Result CalvoxAPI_C_CreateHeartbeatThread(Calvox_DeviceHandle handle, Calvox_C_EventCallback fn)
{
    const Calvox_EventCallback callback = calvox::FromCFunction(fn);
    return CalvoxAPI_CreateHeartbeatThread(handle, &callback);
}

CALVOX_API Calvox_Result CalvoxAPI_Logout(Calvox_DeviceHandle handle)
{
    auto device = calvox::FindDevice(handle);
    if (!device)
        return Calvox_Result_InvalidArgument;
    return calvox::Logout(*device);
}
