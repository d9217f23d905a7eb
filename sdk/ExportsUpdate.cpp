// Update exports: version documents and firmware images from the update server, and the check of a firmware
// file against the connected recorder. They run on the caller's thread and take no connection lock.
#include "CalvoxSDK.h"
#include "Callbacks.h"
#include "Device.h"
#include "Firmware.h"
#include "HandleTable.h"
#include "UpdateClient.h"

using calvox::IsCallable;

CALVOX_API Calvox_Result CalvoxAPI_GetNewVersionInfo(Calvox_DeviceHandle handle, const Calvox_EventCallback* callback)
{
    const auto device = calvox::FindDevice(handle);
    if (!device || !IsCallable(callback))
        return Calvox_Result_InvalidArgument;
    return calvox::FetchVersionDocument(device->modelName, handle, *callback);
}

CALVOX_API Calvox_Result CalvoxAPI_GetClientVersionInfo(const Calvox_EventCallback* callback)
{
    if (!IsCallable(callback))
        return Calvox_Result_InvalidArgument;
    return calvox::FetchVersionDocument("CalvoxClient", 0, *callback);
}

CALVOX_API int CalvoxAPI_DownloadFirmware(Calvox_DeviceHandle handle, const char* fileName,
                                          const Calvox_EventCallback* callback)
{
    const auto device = calvox::FindDevice(handle);
    if (!device || !fileName || !*fileName || !IsCallable(callback))
        return Calvox_Result_InvalidArgument;
    return calvox::DownloadFirmwareImage(device->modelName, fileName, handle, *callback);
}

CALVOX_API Calvox_Result CalvoxAPI_CheckFirmware(Calvox_DeviceHandle handle, const char* path)
{
    const auto device = calvox::FindDevice(handle);
    if (!device || !path)
        return Calvox_Result_InvalidArgument;
    calvox::FirmwareHeader header;
    if (!calvox::ReadFirmwareHeader(path, &header))
        return Calvox_Result_FileError;
    return calvox::JudgeFirmware(header, device->modelIndex, device->firmwareVersion);
}
