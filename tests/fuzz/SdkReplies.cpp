// The SDK against a scripted recorder: input byte 0 picks the command (or heartbeat round, download, search),
// byte 1 its argument, the rest is the recorder's script (ScriptedRecorder.h). After each command everything
// the SDK took from the replies is read back as a program would, so a field not held to its size shows.
#include "FuzzEntries.h"
#include "ScriptedRecorder.h"

#include "CalvoxSDK.h"
#include "Device.h"
#include "DeviceCommands.h"
#include "HandleTable.h"
#include "Heartbeat.h"
#include "Login.h"
#include "MonitorSession.h"
#include "Request.h"
#include "Search.h"
#include "TimeScale.h"
#include "Transfer.h"
#include "Upnp.h"

#include <arpa/inet.h>

#include <cstring>
#include <memory>

namespace calvox::fuzz {
namespace {

// No gateway: the port mapping of a cloud login must not go looking on the network.
class NoGateway : public UpnpDiscovery {
public:
    std::unique_ptr<UpnpGateway> Discover() override { return nullptr; }
};

void Touch(const void* data, size_t size)
{
    unsigned sum = 0;
    for (size_t i = 0; i < size; ++i)
        sum += static_cast<const uint8_t*>(data)[i];
    Keep(sum);
}

void TouchText(const char* text, size_t field)
{
    Touch(text, strnlen(text, field));
}

struct Rig {
    Rig()
    {
        SetTimeScale(0.001);  // every wait of the SDK is a millisecond
        SetUpnpDiscovery(std::make_shared<NoGateway>());
        handle = CalvoxAPI_CreateDevice("4B000000000000000007");  // four channels
        device = FindDevice(handle);
        if (!device)
            std::abort();
        device->SetDeviceAddress(recorder.Address());
        SetCloudServer(recorder.Address());
        SearchOverride search;
        search.adapters = std::vector<net::LocalAdapter>{{htonl(INADDR_LOOPBACK), htonl(0xFF000000)}};
        search.destinations = std::vector<net::Address>{recorder.Address()};
        SetSearchOverride(search);
    }
    ScriptedRecorder recorder;
    int handle = 0;
    std::shared_ptr<Calvox_Device> device;
};

Rig& TheRig()
{
    static Rig* rig = new Rig;  // never destroyed: the fuzzer may end the process at any point
    return *rig;
}

int Callback(Calvox_EventType type, int, unsigned char* data, int length)
{
    if (type == Calvox_Event_FileData && data && length > 0)
        Touch(data, static_cast<size_t>(length));
    if (type == Calvox_Event_FoundDevice && data) {
        const auto* info = reinterpret_cast<const Calvox_FoundDeviceInfo*>(data);
        Touch(info->ID, sizeof info->ID);
        TouchText(info->Model, 64);
        Touch(info->FirmwareVersion, std::strlen(info->FirmwareVersion));
        Touch(info->Address, std::strlen(info->Address));
    }
    return 0;
}

void ReadBack(Calvox_Device& d)
{
    const Calvox_OnlineUserList& online = d.onlineUserList;
    for (uint32_t i = 0; i < static_cast<uint32_t>(online.Count); ++i)
        Touch(online.Entries[i].Name, online.Entries[i].NameLength);
    for (uint32_t i = 0; i < d.userList.Count; ++i)
        Touch(d.userList.Entries[i].Name, d.userList.Entries[i].NameLength);
    for (int i = 0; i < d.playBackFileList.Count && i < 20; ++i)
        Touch(d.playBackFileList.Names[i], std::strlen(d.playBackFileList.Names[i]));
    for (const Calvox_ChannelStatus& s : d.channelStatus)
        Touch(s.PhoneNumber, s.PhoneNumberLength);
    TouchText(d.firmwareText, sizeof d.firmwareText);
}

void Run(Rig& rig, uint8_t selector, uint8_t argument)
{
    Calvox_Device& d = *rig.device;
    const int channel = argument % d.channelCount;
    const Calvox_EventCallback callback = Callback;
    switch (selector % 24) {
    case 0: GetStorageStatus(d); break;
    case 1: GetNetStatus(d); break;
    case 2: {
        int voltage = 0;
        GetChannelVoltage(d, channel, &voltage);
        break;
    }
    case 3: RefreshChannelStatus(d, channel); break;
    case 4: RefreshOnlineUsers(d); break;
    case 5: {
        Calvox_CurrentRecordInfo info{};
        if (GetCurrentRecordInfo(d, channel, &info) == 0)
            Touch(info.PhoneNumber, info.PhoneNumberLength);
        break;
    }
    case 6: GetTime(d); break;
    case 7: GetPlayBackFileList(d); break;
    case 8: GetSetting(d, SettingGroup::Base); break;
    case 9: GetSetting(d, SettingGroup::KeyControl); break;
    case 10: GetSetting(d, SettingGroup::Net); break;
    case 11: GetSetting(d, SettingGroup::SMDR); break;
    case 12: GetSetting(d, SettingGroup::RecordTime); break;
    case 13: GetSetting(d, SettingGroup::ScheduledRestart); break;
    case 14: GetChannelSetting(d, channel); break;
    case 15: {
        unsigned length = 0;
        const char* text = nullptr;
        if (GetSMDR(d, &length, &text) == 0)
            Touch(text, length);
        break;
    }
    case 16: CalvoxAPI_GetUserList(rig.handle); break;
    case 17: LoginRequest(d); break;
    case 18: {
        ConnectViaCloud(d);
        d.SetDeviceAddress(rig.recorder.Address());
        break;
    }
    case 19: DownloadFile(d, "/RecordFiles/2401/01/CH01.Index", &callback); break;
    case 20: {
        // Heartbeat rounds until the script runs out, with every channel permitted.
        std::memset(d.channelPermission, 1, sizeof d.channelPermission);
        d.connectStatus = argument & 1 ? Calvox_Connect_Offline : Calvox_Connect_Idle;
        d.heartbeatRun = true;
        HeartbeatLoop(rig.device, callback);
        break;
    }
    case 21: SearchDevice(callback); break;
    case 22: {
        uint8_t year, month, day, days[32];
        CalvoxAPI_GetLatestRecordTime(rig.handle, &year, &month, &day);
        CalvoxAPI_GetEarliestRecordTime(rig.handle, &year, &month, &day);
        CalvoxAPI_GetDayListFromMonthDir(rig.handle, 24, 1, days);
        break;
    }
    case 23: {
        const Calvox_RecordKey key{24, 1, 1, 12, 0, 0, static_cast<uint8_t>(channel), 1, {argument, 0}};
        CalvoxAPI_DeleteRecord(rig.handle, &key);
        break;
    }
    }
    ReadBack(d);
}

}  // namespace

int SdkReplies(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    Rig& rig = TheRig();
    Calvox_Device& d = *rig.device;
    rig.recorder.Load(data + 2, size - 2, [&d] { d.heartbeatRun = false; });
    Run(rig, data[0], data[1]);
    d.heartbeatRun = false;
    d.connectStatus = Calvox_Connect_Idle;
    return 0;
}

}  // namespace calvox::fuzz
