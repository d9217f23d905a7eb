// The identity, accessor and conversion exports, used through the shared library as programs use them.
#include <CalvoxSDK.h>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <thread>
#include <cstring>
#include <dirent.h>
#include <string>

namespace {

struct ModelCase {
    const char* id;
    const char* model;
    int channels;
    int playback;
};

int CountEntries(const char* dir)
{
    DIR* d = opendir(dir);
    if (!d)
        return -1;
    int n = 0;
    while (dirent* e = readdir(d))
        n += e->d_name[0] != '.';
    closedir(d);
    return n;
}

}  // namespace

TEST(DeviceIdentity, EveryIdClassGivesItsModel)
{
    const ModelCase cases[] = {
        {"0000000000000000000A", "KES2201S", 1, 1},  {"1", "KES2201S", 1, 1},
        {"2ABC", "KES2202S", 2, 1},                  {"3", "KES2202S", 2, 1},
        {"4", "KES2204S", 4, 1},                     {"5", "KES2204S", 4, 1},
        {"6", "KES2216H", 16, 1},                    {"7", "KES2216H", 16, 1},
        {"8", "KES32xxH", 64, 0},                    {"9", "KES32xxH", 64, 0},
        {"A", "KES42xxH", 64, 1},                    {"B", "KES42xxH", 64, 1},
        {"C", "KES52xxH", 8, 0},                     {"D0000000000000000000", "KES52xxH", 8, 0},
    };
    for (const ModelCase& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(CalvoxAPI_CheckDeviceID(c.id), 0);
        const Calvox_DeviceHandle h = CalvoxAPI_CreateDevice(c.id);
        ASSERT_NE(h, 0);
        EXPECT_STREQ(CalvoxAPI_DeviceModel(h), c.model);
        EXPECT_EQ(CalvoxAPI_DeviceChannels(h), c.channels);
        EXPECT_EQ(CalvoxAPI_IsSupportPlayBack(h), c.playback);
        EXPECT_EQ(std::strncmp(CalvoxAPI_DeviceID(h), c.id, 20), 0);
        EXPECT_EQ(CalvoxAPI_DeleteDevice(h), 0);
    }
}

TEST(DeviceIdentity, InvalidIdsAreRejected)
{
    for (const char* id : {"E", "Z", "z", "a", "", "-1", " 1"}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(CalvoxAPI_CheckDeviceID(id), 4);
        EXPECT_EQ(CalvoxAPI_CreateDevice(id), 0);
    }
    EXPECT_EQ(CalvoxAPI_CheckDeviceID(nullptr), 4);
    EXPECT_EQ(CalvoxAPI_CreateDevice(nullptr), 0);
}

TEST(DeviceIdentity, FullTwentyCharacterIdNeedNotBeTerminated)
{
    char id[21];
    std::memcpy(id, "6123456789ABCDEFGHIJ", 20);
    id[20] = 'X';  // the byte after the ID is not part of it
    const Calvox_DeviceHandle h = CalvoxAPI_CreateDevice(id);
    ASSERT_NE(h, 0);
    EXPECT_EQ(std::memcmp(CalvoxAPI_DeviceID(h), "6123456789ABCDEFGHIJ", 20), 0);
    CalvoxAPI_DeleteDevice(h);
}

TEST(DeviceObject, StartsZeroedWithLineStatesNone)
{
    const Calvox_DeviceHandle h = CalvoxAPI_CreateDevice("6");
    ASSERT_NE(h, 0);
    EXPECT_EQ(CalvoxAPI_ConnectStatus(h), Calvox_Connect_Idle);
    EXPECT_STREQ(CalvoxAPI_FirmwareVersion(h), "");
    EXPECT_EQ(CalvoxAPI_Permission_ManageUsers(h) + CalvoxAPI_Permission_ChangeSetting(h) +
                  CalvoxAPI_Permission_Download(h) + CalvoxAPI_Permission_Delete(h) + CalvoxAPI_Permission_Monitor(h),
              0);
    EXPECT_EQ(CalvoxAPI_CloudServerHasConnected(h), 0);
    for (int ch = 0; ch < 16; ++ch) {
        ASSERT_NE(CalvoxAPI_ChannelStatus(h, ch), nullptr);
        EXPECT_EQ(CalvoxAPI_ChannelStatus(h, ch)->LineState, Calvox_Phone_None);
        EXPECT_EQ(CalvoxAPI_LastPhoneStatus(h, ch), Calvox_Phone_None);
        EXPECT_EQ(CalvoxAPI_Permission_Channel(h, ch), 0);
        EXPECT_EQ(CalvoxAPI_SimulateOffHookIsEnabled(h, ch), 0);
        ASSERT_NE(CalvoxAPI_ChannelSetting(h, ch), nullptr);
    }
    // Empty lists; their entries already point at the storage every refresh fills in place.
    EXPECT_EQ(CalvoxAPI_OnlineUserList(h)->Count, 0);
    EXPECT_NE(CalvoxAPI_OnlineUserList(h)->Entries, nullptr);
    EXPECT_EQ(CalvoxAPI_UserList(h)->Count, 0u);
    EXPECT_NE(CalvoxAPI_UserList(h)->Entries, nullptr);
    const Calvox_RecordTimeSetting zeroRecordTime = {};
    const Calvox_ScheduledRestartSetting zeroRestart = {};
    EXPECT_EQ(std::memcmp(CalvoxAPI_RecordTimeSetting(h), &zeroRecordTime, sizeof zeroRecordTime), 0);
    EXPECT_EQ(std::memcmp(CalvoxAPI_ScheduledRestartSetting(h), &zeroRestart, sizeof zeroRestart), 0);
    for (void* p : {static_cast<void*>(CalvoxAPI_StorageStatus(h)), static_cast<void*>(CalvoxAPI_NetStatus(h)),
                    static_cast<void*>(CalvoxAPI_DateTime(h)), static_cast<void*>(CalvoxAPI_PlayBackFileList(h)),
                    static_cast<void*>(CalvoxAPI_BaseSetting(h)), static_cast<void*>(CalvoxAPI_KeyControlSetting(h)),
                    static_cast<void*>(CalvoxAPI_NetSetting(h)), static_cast<void*>(CalvoxAPI_SMDRSetting(h))})
        EXPECT_NE(p, nullptr);
    CalvoxAPI_DeleteDevice(h);
}

TEST(DeviceObject, ChannelsOutsideTheCountAreRejected)
{
    const Calvox_DeviceHandle h = CalvoxAPI_CreateDevice("4");  // 4 channels
    ASSERT_NE(h, 0);
    for (int ch : {-1, 4, 64, 1000, -2147483647 - 1}) {
        SCOPED_TRACE(ch);
        EXPECT_EQ(CalvoxAPI_ChannelSetting(h, ch), nullptr);
        EXPECT_EQ(CalvoxAPI_ChannelStatus(h, ch), nullptr);
        EXPECT_EQ(CalvoxAPI_Permission_Channel(h, ch), 0);
        EXPECT_EQ(CalvoxAPI_LastPhoneStatus(h, ch), 0);
        EXPECT_EQ(CalvoxAPI_SimulateOffHookIsEnabled(h, ch), 0);
    }
    EXPECT_NE(CalvoxAPI_ChannelSetting(h, 3), nullptr);
    CalvoxAPI_DeleteDevice(h);
}

TEST(DeviceHandles, StaleAndUnknownHandlesGiveNothing)
{
    const Calvox_DeviceHandle first = CalvoxAPI_CreateDevice("2");
    ASSERT_GT(first, 0);
    EXPECT_EQ(CalvoxAPI_DeleteDevice(first), 0);
    const Calvox_DeviceHandle second = CalvoxAPI_CreateDevice("2");
    ASSERT_GT(second, 0);
    EXPECT_NE(second, first) << "handles are never reused";
    for (Calvox_DeviceHandle stale : {first, 0, -5, second + 1000}) {
        SCOPED_TRACE(stale);
        EXPECT_EQ(CalvoxAPI_DeviceID(stale), nullptr);
        EXPECT_EQ(CalvoxAPI_DeviceModel(stale), nullptr);
        EXPECT_EQ(CalvoxAPI_DeviceChannels(stale), 0);
        EXPECT_EQ(CalvoxAPI_ChannelSetting(stale, 0), nullptr);
        EXPECT_EQ(CalvoxAPI_BaseSetting(stale), nullptr);
        EXPECT_EQ(CalvoxAPI_ConnectStatus(stale), 0);
        EXPECT_EQ(CalvoxAPI_DeleteDevice(stale), 0);
    }
    EXPECT_STREQ(CalvoxAPI_DeviceModel(second), "KES2202S") << "deleting stale handles left the live one alone";
    CalvoxAPI_DeleteDevice(second);
}

TEST(DeviceHandles, HundredCreateDeleteCyclesLeaveNoThreadsOrDescriptors)
{
    // Warm up once, so lazily created process state does not count.
    CalvoxAPI_DeleteDevice(CalvoxAPI_CreateDevice("A"));
    const int threads = CountEntries("/proc/self/task");
    const int descriptors = CountEntries("/proc/self/fd");
    ASSERT_GT(threads, 0);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 100; ++i) {
        const Calvox_DeviceHandle h = CalvoxAPI_CreateDevice(i % 2 ? "A" : "0");
        ASSERT_NE(h, 0) << "cycle " << i;
        ASSERT_EQ(CalvoxAPI_DeleteDevice(h), 0);
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    // A joined thread can linger in /proc for a moment on a loaded machine; a leaked one stays.
    for (int i = 0; i < 100 && CountEntries("/proc/self/task") != threads; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(CountEntries("/proc/self/task"), threads);
    EXPECT_EQ(CountEntries("/proc/self/fd"), descriptors);
    // Deleting an idle connection must not wait out a socket time-out (that would take 100 s here).
    EXPECT_LT(elapsed, std::chrono::seconds(30));
}

TEST(DeviceHandles, DeleteOfAnIdleConnectionReturnsPromptly)
{
    const Calvox_DeviceHandle h = CalvoxAPI_CreateDevice("2");
    ASSERT_NE(h, 0);
    const auto start = std::chrono::steady_clock::now();
    CalvoxAPI_DeleteDevice(h);
    // Waiting out the one-second socket time-out is the fault; a loaded machine may still be slow.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(800));
}

TEST(Conversions, VersionsAndAddresses)
{
    char out[16];
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(CalvoxAPI_VersionToString(0x02000708, out), 7);
    EXPECT_STREQ(out, "2.0.7.8");
    for (int i = 8; i < 16; ++i)
        EXPECT_EQ(out[i], 0) << "the rest of the 16 bytes is cleared";
    EXPECT_EQ(CalvoxAPI_VersionToString(0xFFFFFFFF, out), 15);
    EXPECT_STREQ(out, "255.255.255.255");

    EXPECT_EQ(CalvoxAPI_IPaddressToString(inet_addr("10.0.0.1"), out), 8);
    EXPECT_STREQ(out, "10.0.0.1");
    EXPECT_EQ(CalvoxAPI_IPaddressToString(inet_addr("192.168.1.200"), out), 13);
    EXPECT_STREQ(out, "192.168.1.200");

    EXPECT_EQ(CalvoxAPI_StringToVersion("2.0.7.8"), 0x02000708u);
    EXPECT_EQ(CalvoxAPI_StringToIPaddress("10.0.0.1"), inet_addr("10.0.0.1"));
    EXPECT_EQ(CalvoxAPI_StringToIPaddress("127.1"), inet_addr("127.0.0.1")) << "classic short forms";
    EXPECT_EQ(CalvoxAPI_StringToIPaddress("0x7f.0.0.1"), inet_addr("127.0.0.1"));
    for (const char* bad : {"", "1.2.3.256", "host.example", "1.2.3.4.5"})
        EXPECT_EQ(CalvoxAPI_StringToIPaddress(bad), 0xFFFFFFFFu) << bad;
    EXPECT_EQ(CalvoxAPI_StringToIPaddress(nullptr), 0xFFFFFFFFu);
    // Round trip.
    EXPECT_EQ(CalvoxAPI_IPaddressToString(CalvoxAPI_StringToIPaddress("172.16.5.4"), out), 10);
    EXPECT_STREQ(out, "172.16.5.4");
}

TEST(Library, InitAndExitWithoutConnections)
{
    EXPECT_EQ(CalvoxAPI_Init(), 0);
    EXPECT_EQ(CalvoxAPI_Exit(), 0);
}

TEST(PublicRecords, SizesOfTheSharedRecords)
{
    EXPECT_EQ(sizeof(Calvox_FoundDeviceInfo), sizeof(void*) == 4 ? 64u : 72u);
    EXPECT_EQ(offsetof(Calvox_NetSetting, Port), 18u);
    EXPECT_EQ(offsetof(Calvox_OnlineUser, ClientVersion), 36u);
    EXPECT_EQ(offsetof(Calvox_CurrentRecordInfo, Index), 6u);
}
