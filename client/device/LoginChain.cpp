#include "LoginChain.h"

#include "KesDevice.h"

#include <functional>
#include <utility>

int RunLoginChain(KesDevice* device, LoginStep* failed)
{
    const std::pair<LoginStep, std::function<int()>> steps[] = {
        {LoginStep::Login, [device] { return device->Login(); }},
        {LoginStep::StorageStatus, [device] { return device->GetStorageStatus(); }},
        {LoginStep::NetStatus, [device] { return device->GetNetStatus(); }},
        {LoginStep::Time, [device] { return device->GetTime(); }},
        {LoginStep::PlayBackFileList, [device] { return device->GetPlayBackFileList(); }},
        {LoginStep::BaseSetting, [device] { return device->GetBaseSetting(); }},
        {LoginStep::ChannelSetting,
         [device] {
             for (int c = 0; c < device->Channels; ++c) {
                 if (const int r = device->GetChannelSetting(c); r != 0)
                     return r;
             }
             return 0;
         }},
        {LoginStep::KeyControlSetting, [device] { return device->GetKeyControlSetting(); }},
        {LoginStep::NetSetting, [device] { return device->GetNetSetting(); }},
        {LoginStep::SMDRSetting, [device] { return device->GetSMDRSetting(); }},
        {LoginStep::UserList, [device] { return device->GetUserList(); }},
    };
    for (const auto& step : steps) {
        if (const int r = step.second(); r != 0) {
            *failed = step.first;
            return r;
        }
    }
    device->GetRecordTimeSetting();
    device->GetScheduledRestartSetting();
    device->GetNewVersionInfo();
    *failed = LoginStep::None;
    return 0;
}
