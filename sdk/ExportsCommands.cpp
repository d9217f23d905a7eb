// Status, settings and line-control exports: each forwards to its command on the connection object. An unknown
// or stale handle gives 4.
#include "CalvoxSDK.h"
#include "Device.h"
#include "DeviceCommands.h"
#include "HandleTable.h"

namespace {

using calvox::SettingGroup;

template <typename Command>
Calvox_Result WithDevice(Calvox_DeviceHandle handle, Command command)
{
    auto device = calvox::FindDevice(handle);
    return device ? command(*device) : Calvox_Result_InvalidArgument;
}

Calvox_Result Get(Calvox_DeviceHandle handle, SettingGroup group)
{
    return WithDevice(handle, [&](Calvox_Device& d) { return calvox::GetSetting(d, group); });
}

Calvox_Result Set(Calvox_DeviceHandle handle, SettingGroup group, void* record)
{
    return WithDevice(handle, [&](Calvox_Device& d) { return calvox::SetSetting(d, group, record); });
}

}  // namespace

CALVOX_API Calvox_Result CalvoxAPI_GetStorageStatus(Calvox_DeviceHandle handle)
{
    return WithDevice(handle, [](Calvox_Device& d) { return calvox::GetStorageStatus(d); });
}

CALVOX_API Calvox_Result CalvoxAPI_GetNetStatus(Calvox_DeviceHandle handle)
{
    return WithDevice(handle, [](Calvox_Device& d) { return calvox::GetNetStatus(d); });
}

CALVOX_API Calvox_Result CalvoxAPI_GetChannelVoltage(Calvox_DeviceHandle handle, int channel, int* voltage)
{
    return WithDevice(handle, [&](Calvox_Device& d) { return calvox::GetChannelVoltage(d, channel, voltage); });
}

CALVOX_API Calvox_Result CalvoxAPI_GetCurrentRecordInfo(Calvox_DeviceHandle handle, int channel,
                                                        Calvox_CurrentRecordInfo* out)
{
    return WithDevice(handle, [&](Calvox_Device& d) { return calvox::GetCurrentRecordInfo(d, channel, out); });
}

CALVOX_API Calvox_Result CalvoxAPI_GetTime(Calvox_DeviceHandle handle)
{
    return WithDevice(handle, [](Calvox_Device& d) { return calvox::GetTime(d); });
}

CALVOX_API Calvox_Result CalvoxAPI_SetTime(Calvox_DeviceHandle handle, const Calvox_DateTime* time)
{
    return WithDevice(handle, [&](Calvox_Device& d) { return calvox::SetTime(d, time); });
}

CALVOX_API Calvox_Result CalvoxAPI_GetPlayBackFileList(Calvox_DeviceHandle handle)
{
    return WithDevice(handle, [](Calvox_Device& d) { return calvox::GetPlayBackFileList(d); });
}

CALVOX_API Calvox_Result CalvoxAPI_GetBaseSetting(Calvox_DeviceHandle h) { return Get(h, SettingGroup::Base); }
CALVOX_API Calvox_Result CalvoxAPI_SetBaseSetting(Calvox_DeviceHandle h, Calvox_BaseSetting* record)
{
    return Set(h, SettingGroup::Base, record);
}

CALVOX_API Calvox_Result CalvoxAPI_GetChannelSetting(Calvox_DeviceHandle handle, int channel)
{
    return WithDevice(handle, [&](Calvox_Device& d) { return calvox::GetChannelSetting(d, channel); });
}

CALVOX_API Calvox_Result CalvoxAPI_SetChannelSetting(Calvox_DeviceHandle handle, int channel,
                                                     Calvox_ChannelSetting* record)
{
    return WithDevice(handle, [&](Calvox_Device& d) { return calvox::SetChannelSetting(d, channel, record); });
}

CALVOX_API Calvox_Result CalvoxAPI_GetKeyControlSetting(Calvox_DeviceHandle h)
{
    return Get(h, SettingGroup::KeyControl);
}
CALVOX_API Calvox_Result CalvoxAPI_SetKeyControlSetting(Calvox_DeviceHandle h, Calvox_KeyControlSetting* record)
{
    return Set(h, SettingGroup::KeyControl, record);
}

CALVOX_API Calvox_Result CalvoxAPI_GetNetSetting(Calvox_DeviceHandle h) { return Get(h, SettingGroup::Net); }
CALVOX_API Calvox_Result CalvoxAPI_SetNetSetting(Calvox_DeviceHandle h, Calvox_NetSetting* record)
{
    return Set(h, SettingGroup::Net, record);
}

CALVOX_API Calvox_Result CalvoxAPI_GetSMDRSetting(Calvox_DeviceHandle h) { return Get(h, SettingGroup::SMDR); }
CALVOX_API Calvox_Result CalvoxAPI_SetSMDRSetting(Calvox_DeviceHandle h, Calvox_SMDRSetting* record)
{
    return Set(h, SettingGroup::SMDR, record);
}

CALVOX_API Calvox_Result CalvoxAPI_GetRecordTimeSetting(Calvox_DeviceHandle h)
{
    return Get(h, SettingGroup::RecordTime);
}
CALVOX_API Calvox_Result CalvoxAPI_SetRecordTimeSetting(Calvox_DeviceHandle h, Calvox_RecordTimeSetting* record)
{
    return Set(h, SettingGroup::RecordTime, record);
}

CALVOX_API Calvox_Result CalvoxAPI_GetScheduledRestartSetting(Calvox_DeviceHandle h)
{
    return Get(h, SettingGroup::ScheduledRestart);
}
CALVOX_API Calvox_Result CalvoxAPI_SetScheduledRestartSetting(Calvox_DeviceHandle h,
                                                              Calvox_ScheduledRestartSetting* record)
{
    return Set(h, SettingGroup::ScheduledRestart, record);
}

CALVOX_API Calvox_Result CalvoxAPI_Dial(Calvox_DeviceHandle handle, int channel, const char* number,
                                        unsigned char length)
{
    return WithDevice(handle, [&](Calvox_Device& d) { return calvox::Dial(d, channel, number, length); });
}

CALVOX_API Calvox_Result CalvoxAPI_OffHook(Calvox_DeviceHandle handle, int channel, int value)
{
    return WithDevice(handle, [&](Calvox_Device& d) { return calvox::OffHook(d, channel, value); });
}

CALVOX_API Calvox_Result CalvoxAPI_PlayAudioFile(Calvox_DeviceHandle handle, int channel, const char* name)
{
    return WithDevice(handle, [&](Calvox_Device& d) { return calvox::PlayAudioFile(d, channel, name); });
}

CALVOX_API Calvox_Result CalvoxAPI_GetSMDR(Calvox_DeviceHandle handle, unsigned* length, const char** text)
{
    return WithDevice(handle, [&](Calvox_Device& d) { return calvox::GetSMDR(d, length, text); });
}

CALVOX_API Calvox_Result CalvoxAPI_Reboot(Calvox_DeviceHandle handle)
{
    return WithDevice(handle, [](Calvox_Device& d) { return calvox::Reboot(d); });
}
