// The real broadcast path: two private network namespaces joined by a veth pair, created and removed by this
// test. The recorder listens on 0.0.0.0:6066 in one; the search runs in the other over its real adapter list
// (getifaddrs) and sends to 255.255.255.255, which leaves through the veth only. Nothing reaches this
// machine's own network. Skipped where namespaces cannot be made (no privilege).
#include "CalvoxSDK.h"
#include "Search.h"

#include "EmuSearch.h"
#include "Emulator.h"
#include "NamespaceThread.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace calvox;

namespace {

TEST(SearchNamespaceTest, FindsARecorderAcrossAVethPair)
{
    NamespaceThread recorderSide;
    if (!recorderSide.Error().empty())
        GTEST_SKIP() << "network namespaces cannot be made here (" << recorderSide.Error() << ")";
    NamespaceThread searcherSide;
    ASSERT_TRUE(searcherSide.Error().empty()) << searcherSide.Error();

    const std::string path = "PATH=/usr/sbin:/sbin:/usr/bin:/bin ";
    if (recorderSide.Shell(path + "ip link add cvxrec type veth peer name cvxsrch netns " +
                           std::to_string(searcherSide.Tid())) != 0)
        GTEST_SKIP() << "a veth pair cannot be made here (ip link add ... type veth failed)";
    ASSERT_EQ(recorderSide.Shell(path + "ip link set lo up && ip addr add 10.213.7.1/24 dev cvxrec && "
                                        "ip link set cvxrec up"),
              0);
    // The limited broadcast needs a route: the default one leads out of the veth.
    ASSERT_EQ(searcherSide.Shell(path + "ip link set lo up && ip addr add 10.213.7.2/24 dev cvxsrch && "
                                        "ip link set cvxsrch up && ip route add default dev cvxsrch"),
              0);

    emu::Emulator emulator;
    emu::Recorder* recorder = nullptr;
    recorderSide.Run([&] {
        emu::RecorderConfig config;
        config.id = "8B000000000000000123";  // KES32xxH, 64 channels
        config.bindAddress = "0.0.0.0";      // broadcasts arrive for the any-address only
        config.port = 6066;
        recorder = emulator.Add(config);
    });
    ASSERT_NE(recorder, nullptr);
    {
        std::lock_guard<std::mutex> lock(recorder->StateMutex());
        recorder->State<emu::SearchIdentity>().advertisedAddress = inet_addr("10.213.7.1");
    }

    std::vector<Calvox_FoundDeviceInfo> found;
    std::vector<int> progress;
    ClearSearchOverride();  // the real adapter list and the broadcast address
    searcherSide.Run([&] {
        Calvox_EventCallback callback = [&](Calvox_EventType type, int, unsigned char* data, int length) {
            if (type == Calvox_Event_FoundDevice) {
                Calvox_FoundDeviceInfo info;
                std::memcpy(&info, data, sizeof info);
                found.push_back(info);
            } else if (type == Calvox_Event_Progress) {
                progress.push_back(length);
            }
            return 0;
        };
        CalvoxAPI_SearchDevice(&callback);
    });
    emulator.Stop();

    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(std::string(found[0].ID, 20), "8B000000000000000123");
    EXPECT_STREQ(found[0].Model, "KES32xxH");
    EXPECT_STREQ(found[0].Address, "10.213.7.1");
    EXPECT_EQ(found[0].Port, 6066);
    // One local address (loopback is skipped): five rounds of 20.
    EXPECT_EQ(progress, (std::vector<int>{20, 40, 60, 80, 100}));
    const auto log = recorder->Log();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0].from.sin_addr.s_addr, inet_addr("10.213.7.2"));
}

}  // namespace
