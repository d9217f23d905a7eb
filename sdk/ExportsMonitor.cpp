// Live monitor and audio player exports.
#include "AudioPlayer.h"
#include "CalvoxSDK.h"
#include "Device.h"
#include "HandleTable.h"
#include "MonitorSession.h"

CALVOX_API Calvox_Result CalvoxAPI_StartMonitor(Calvox_DeviceHandle handle, int channel)
{
    auto device = calvox::FindDevice(handle);
    if (!device)
        return Calvox_Result_InvalidArgument;
    return calvox::MonitorSession::Instance().Start(device, channel);
}

CALVOX_API Calvox_Result CalvoxAPI_StopMonitor(void)
{
    calvox::MonitorSession::Instance().End();
    return Calvox_Result_Ok;
}

CALVOX_API Calvox_Result CalvoxAPI_PlayerSetVolume(int percent)
{
    calvox::AudioPlayer::Instance().SetVolume(percent);
    return Calvox_Result_Ok;
}

CALVOX_API Calvox_Result CalvoxAPI_PlayerWriteData(const unsigned char* data)
{
    if (!data)
        return Calvox_Result_InvalidArgument;
    calvox::AudioPlayer::Instance().Write(data);
    return Calvox_Result_Ok;
}
