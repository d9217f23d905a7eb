// Transfer and search exports, with their C variants that take a plain function pointer.
#include "CalvoxSDK.h"
#include "Callbacks.h"
#include "Device.h"
#include "HandleTable.h"
#include "Search.h"
#include "Transfer.h"

using calvox::FromCFunction;
using calvox::IsCallable;

CALVOX_API Calvox_Result CalvoxAPI_UploadFile(Calvox_DeviceHandle handle, const char* localPath,
                                              const char* deviceFolder, const char* deviceName,
                                              const Calvox_EventCallback* callback)
{
    auto device = calvox::FindDevice(handle);
    if (!device || !IsCallable(callback))
        return Calvox_Result_InvalidArgument;
    return calvox::UploadFile(*device, localPath, deviceFolder, deviceName, callback);
}

CALVOX_API Calvox_Result CalvoxAPI_C_UploadFile(Calvox_DeviceHandle handle, const char* localPath,
                                                const char* deviceFolder, const char* deviceName,
                                                Calvox_C_EventCallback callback)
{
    const Calvox_EventCallback wrapped = FromCFunction(callback);
    return CalvoxAPI_UploadFile(handle, localPath, deviceFolder, deviceName, &wrapped);
}

CALVOX_API Calvox_Result CalvoxAPI_DownloadFile(Calvox_DeviceHandle handle, const char* devicePath,
                                                const Calvox_EventCallback* callback)
{
    auto device = calvox::FindDevice(handle);
    if (!device || !IsCallable(callback))
        return Calvox_Result_InvalidArgument;
    return calvox::DownloadFile(*device, devicePath, callback);
}

CALVOX_API Calvox_Result CalvoxAPI_C_DownloadFile(Calvox_DeviceHandle handle, const char* devicePath,
                                                  Calvox_C_EventCallback callback)
{
    const Calvox_EventCallback wrapped = FromCFunction(callback);
    return CalvoxAPI_DownloadFile(handle, devicePath, &wrapped);
}

CALVOX_API Calvox_Result CalvoxAPI_SearchDevice(const Calvox_EventCallback* callback)
{
    if (!IsCallable(callback))
        return Calvox_Result_InvalidArgument;
    return calvox::SearchDevice(*callback);
}

CALVOX_API Calvox_Result CalvoxAPI_C_SearchDevice(Calvox_C_EventCallback callback)
{
    const Calvox_EventCallback wrapped = FromCFunction(callback);
    return CalvoxAPI_SearchDevice(&wrapped);
}
