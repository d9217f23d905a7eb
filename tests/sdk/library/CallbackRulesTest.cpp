// Every export that takes a callback refuses a missing one with 4 before it sends anything or starts a thread:
// an empty std::function would otherwise throw on an SDK thread.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "CalvoxSDK.h"
#include "../EmulatedDevice.h"

using namespace calvox;
using namespace calvox::test;

TEST(CallbackRules, MissingCallbackGivesFourAndSendsNothing)
{
    EmulatedDevice rig;
    ASSERT_TRUE(rig.Ready());
    const int h = rig.handle;
    const Calvox_EventCallback empty;
    const char* local = "/etc/hostname";
    struct Case {
        const char* name;
        std::function<int()> call;
    } cases[] = {
        {"SearchDevice null", [] { return CalvoxAPI_SearchDevice(nullptr); }},
        {"SearchDevice empty", [&] { return CalvoxAPI_SearchDevice(&empty); }},
        {"C_SearchDevice", [] { return CalvoxAPI_C_SearchDevice(nullptr); }},
        {"CreateHeartbeatThread null", [&] { return CalvoxAPI_CreateHeartbeatThread(h, nullptr); }},
        {"CreateHeartbeatThread empty", [&] { return CalvoxAPI_CreateHeartbeatThread(h, &empty); }},
        {"C_CreateHeartbeatThread", [&] { return CalvoxAPI_C_CreateHeartbeatThread(h, nullptr); }},
        {"UploadFile null", [&] { return CalvoxAPI_UploadFile(h, local, "/Audio", "x.wav", nullptr); }},
        {"UploadFile empty", [&] { return CalvoxAPI_UploadFile(h, local, "/Audio", "x.wav", &empty); }},
        {"C_UploadFile", [&] { return CalvoxAPI_C_UploadFile(h, local, "/Audio", "x.wav", nullptr); }},
        {"DownloadFile null", [&] { return CalvoxAPI_DownloadFile(h, "/RecordFiles/Log.txt", nullptr); }},
        {"DownloadFile empty", [&] { return CalvoxAPI_DownloadFile(h, "/RecordFiles/Log.txt", &empty); }},
        {"C_DownloadFile", [&] { return CalvoxAPI_C_DownloadFile(h, "/RecordFiles/Log.txt", nullptr); }},
        {"GetNewVersionInfo", [&] { return CalvoxAPI_GetNewVersionInfo(h, &empty); }},
        {"DownloadFirmware", [&] { return CalvoxAPI_DownloadFirmware(h, "x.bin", &empty); }},
        {"GetClientVersionInfo", [&] { return CalvoxAPI_GetClientVersionInfo(&empty); }},
    };
    for (const Case& c : cases) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(c.call(), 4) << c.name;
        // Refused at once: no search round, no retry wait.
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200)) << c.name;
    }
    // A heartbeat thread would have polled by now (its round is scaled down with the rig's waits).
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_TRUE(rig.recorder->Log().empty());
}
