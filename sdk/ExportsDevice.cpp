// Identity and accessor exports. Accessors take no lock and send nothing; an unknown handle or a channel
// outside 0..count-1 gives 0 or null.
#include "CalvoxSDK.h"
#include "Device.h"
#include "HandleTable.h"

using calvox::PeekDevice;

namespace {

bool ValidChannel(const Calvox_Device* d, int channel) { return d && d->HasChannel(channel); }

int PermissionBit(Calvox_DeviceHandle handle, uint32_t bit)
{
    const Calvox_Device* d = PeekDevice(handle);
    return d && (d->permission & bit) ? 1 : 0;
}

}  // namespace

CALVOX_API Calvox_Result CalvoxAPI_CheckDeviceID(const char* id)
{
    return calvox::ModelIndexOf(id) >= 0 ? Calvox_Result_Ok : Calvox_Result_InvalidArgument;
}

CALVOX_API Calvox_DeviceHandle CalvoxAPI_CreateDevice(const char* id)
{
    auto device = calvox::CreateDevice(id);
    return device ? calvox::AddDevice(std::move(device)) : 0;
}

CALVOX_API Calvox_Result CalvoxAPI_DeleteDevice(Calvox_DeviceHandle handle)
{
    auto device = calvox::RemoveDevice(handle);
    if (device)
        device->Stop();
    return Calvox_Result_Ok;  // the object goes with the last reference (normally this one)
}

CALVOX_API const char* CalvoxAPI_DeviceID(Calvox_DeviceHandle handle)
{
    Calvox_Device* d = PeekDevice(handle);
    return d ? d->id : nullptr;
}

CALVOX_API const char* CalvoxAPI_DeviceModel(Calvox_DeviceHandle handle)
{
    Calvox_Device* d = PeekDevice(handle);
    return d ? d->modelName : nullptr;
}

CALVOX_API const char* CalvoxAPI_FirmwareVersion(Calvox_DeviceHandle handle)
{
    Calvox_Device* d = PeekDevice(handle);
    return d ? d->firmwareText : nullptr;
}

CALVOX_API int CalvoxAPI_DeviceChannels(Calvox_DeviceHandle handle)
{
    Calvox_Device* d = PeekDevice(handle);
    return d ? d->channelCount : 0;
}

CALVOX_API int CalvoxAPI_IsSupportPlayBack(Calvox_DeviceHandle handle)
{
    Calvox_Device* d = PeekDevice(handle);
    return d ? calvox::Model(d->modelIndex).playback : 0;
}

CALVOX_API int CalvoxAPI_Permission_ManageUsers(Calvox_DeviceHandle h) { return PermissionBit(h, Calvox_Permission_ManageUsers); }
CALVOX_API int CalvoxAPI_Permission_ChangeSetting(Calvox_DeviceHandle h) { return PermissionBit(h, Calvox_Permission_ChangeSetting); }
CALVOX_API int CalvoxAPI_Permission_Download(Calvox_DeviceHandle h) { return PermissionBit(h, Calvox_Permission_Download); }
CALVOX_API int CalvoxAPI_Permission_Delete(Calvox_DeviceHandle h) { return PermissionBit(h, Calvox_Permission_Delete); }
CALVOX_API int CalvoxAPI_Permission_Monitor(Calvox_DeviceHandle h) { return PermissionBit(h, Calvox_Permission_Monitor); }

CALVOX_API int CalvoxAPI_Permission_Channel(Calvox_DeviceHandle handle, int channel)
{
    Calvox_Device* d = PeekDevice(handle);
    return ValidChannel(d, channel) && d->channelPermission[channel] ? 1 : 0;
}

CALVOX_API int CalvoxAPI_ConnectStatus(Calvox_DeviceHandle handle)
{
    Calvox_Device* d = PeekDevice(handle);
    return d ? d->connectStatus.load() : Calvox_Connect_Idle;
}

CALVOX_API Calvox_StorageStatus* CalvoxAPI_StorageStatus(Calvox_DeviceHandle handle)
{
    Calvox_Device* d = PeekDevice(handle);
    return d ? &d->storageStatus : nullptr;
}

CALVOX_API Calvox_NetStatus* CalvoxAPI_NetStatus(Calvox_DeviceHandle handle)
{
    Calvox_Device* d = PeekDevice(handle);
    return d ? &d->netStatus : nullptr;
}

CALVOX_API int CalvoxAPI_LastPhoneStatus(Calvox_DeviceHandle handle, int channel)
{
    Calvox_Device* d = PeekDevice(handle);
    return ValidChannel(d, channel) ? calvox::LoadField(&d->lastPhoneState[channel]) : 0;
}

CALVOX_API Calvox_ChannelStatus* CalvoxAPI_ChannelStatus(Calvox_DeviceHandle handle, int channel)
{
    Calvox_Device* d = PeekDevice(handle);
    return ValidChannel(d, channel) ? &d->channelStatus[static_cast<size_t>(channel)] : nullptr;
}

CALVOX_API Calvox_OnlineUserList* CalvoxAPI_OnlineUserList(Calvox_DeviceHandle handle)
{
    Calvox_Device* d = PeekDevice(handle);
    return d ? &d->onlineUserList : nullptr;
}

CALVOX_API int CalvoxAPI_CloudServerHasConnected(Calvox_DeviceHandle handle)
{
    Calvox_Device* d = PeekDevice(handle);
    return d && d->cloudServerFlag ? 1 : 0;
}

CALVOX_API int CalvoxAPI_SimulateOffHookIsEnabled(Calvox_DeviceHandle handle, int channel)
{
    Calvox_Device* d = PeekDevice(handle);
    return ValidChannel(d, channel) && calvox::LoadField(&d->playbackState[channel]) ? 1 : 0;
}

CALVOX_API Calvox_DateTime* CalvoxAPI_DateTime(Calvox_DeviceHandle handle)
{
    Calvox_Device* d = PeekDevice(handle);
    return d ? &d->dateTime : nullptr;
}

CALVOX_API Calvox_PlayBackFileList* CalvoxAPI_PlayBackFileList(Calvox_DeviceHandle handle)
{
    Calvox_Device* d = PeekDevice(handle);
    return d ? &d->playBackFileList : nullptr;
}

CALVOX_API Calvox_BaseSetting* CalvoxAPI_BaseSetting(Calvox_DeviceHandle handle)
{
    Calvox_Device* d = PeekDevice(handle);
    return d ? &d->baseSetting : nullptr;
}

CALVOX_API Calvox_ChannelSetting* CalvoxAPI_ChannelSetting(Calvox_DeviceHandle handle, int channel)
{
    Calvox_Device* d = PeekDevice(handle);
    return ValidChannel(d, channel) ? &d->ChannelSettings()[channel] : nullptr;
}

CALVOX_API Calvox_KeyControlSetting* CalvoxAPI_KeyControlSetting(Calvox_DeviceHandle handle)
{
    Calvox_Device* d = PeekDevice(handle);
    return d ? &d->keyControlSetting : nullptr;
}

CALVOX_API Calvox_NetSetting* CalvoxAPI_NetSetting(Calvox_DeviceHandle handle)
{
    Calvox_Device* d = PeekDevice(handle);
    return d ? &d->netSetting : nullptr;
}

CALVOX_API Calvox_SMDRSetting* CalvoxAPI_SMDRSetting(Calvox_DeviceHandle handle)
{
    Calvox_Device* d = PeekDevice(handle);
    return d ? &d->smdrSetting : nullptr;
}

CALVOX_API Calvox_UserList* CalvoxAPI_UserList(Calvox_DeviceHandle handle)
{
    Calvox_Device* d = PeekDevice(handle);
    return d ? &d->userList : nullptr;
}

CALVOX_API Calvox_RecordTimeSetting* CalvoxAPI_RecordTimeSetting(Calvox_DeviceHandle handle)
{
    Calvox_Device* d = PeekDevice(handle);
    return d ? &d->recordTimeSetting : nullptr;
}

CALVOX_API Calvox_ScheduledRestartSetting* CalvoxAPI_ScheduledRestartSetting(Calvox_DeviceHandle handle)
{
    Calvox_Device* d = PeekDevice(handle);
    return d ? &d->scheduledRestartSetting : nullptr;
}
