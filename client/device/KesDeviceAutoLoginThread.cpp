#include "KesDeviceAutoLoginThread.h"

#include "KesDevice.h"

void KesDeviceAutoLoginThread::run()
{
    KesDevice* d = Device;
    const Calvox_DeviceHandle h = d->Handle;
    if (d->Login() != 0 || CalvoxAPI_GetStorageStatus(h) != 0 || CalvoxAPI_GetNetStatus(h) != 0 ||
        d->GetTime() != 0 || CalvoxAPI_GetPlayBackFileList(h) != 0 || CalvoxAPI_GetBaseSetting(h) != 0)
        return;
    for (int c = 0; c < d->Channels; ++c) {
        if (CalvoxAPI_GetChannelSetting(h, c) != 0)
            return;
        d->UpdateChannelRow(c, CalvoxAPI_ChannelSetting(h, c));
    }
    if (CalvoxAPI_GetKeyControlSetting(h) != 0 || CalvoxAPI_GetNetSetting(h) != 0 ||
        CalvoxAPI_GetSMDRSetting(h) != 0)
        return;
    if (CalvoxAPI_GetUserList(h) != 0)
        return;
    d->UpdateUserTable();
    // Older recorders may not know these two groups: their answers do not stop the login.
    CalvoxAPI_GetRecordTimeSetting(h);
    CalvoxAPI_GetScheduledRestartSetting(h);
    d->GetNewVersionInfo();
    d->CreateHeartbeatThread();
}
