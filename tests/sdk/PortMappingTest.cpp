#include "FakeUpnpGateway.h"
#include "PortMapping.h"

#include <gtest/gtest.h>

#include <ifaddrs.h>
#include <net/if.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

using calvox::MapPort;
using calvox::ProcessPortMappings;
using calvox::RemoveAllPortMappings;
using calvox::test::ScopedFakeGateway;

TEST(PortMapping, ConflictsMoveUpAndThePortIsListedOnce)
{
    ScopedFakeGateway gateway;
    gateway->conflicts = {6066, 6067};

    EXPECT_EQ(MapPort(40001, 6066, "UDP", "Calvox"), 6068);
    EXPECT_EQ(MapPort(40001, 6066, "UDP", "Calvox"), 6068);  // the gateway keeps the same answer
    EXPECT_EQ(MapPort(40001, 6066, "UDP", "Calvox"), 6068);

    EXPECT_EQ(ProcessPortMappings().Ports(), std::vector<std::uint16_t>{6068});
    auto mappings = gateway->Mappings();
    ASSERT_EQ(mappings.size(), 1u);
    EXPECT_EQ(mappings[6068].internalPort, 40001);
    EXPECT_EQ(mappings[6068].protocol, "UDP");
    EXPECT_EQ(mappings[6068].description, "Calvox");
}

TEST(PortMapping, RefusalAndMissingGatewayRecordNothing)
{
    ScopedFakeGateway gateway;
    gateway->refusals[6066] = 501;
    EXPECT_EQ(MapPort(40001, 6066, "UDP", "Calvox"), 0);
    EXPECT_EQ(gateway->AddRequests(), 1);  // anything but 718 ends the search

    gateway->present = false;
    EXPECT_EQ(MapPort(40001, 6066, "UDP", "Calvox"), 0);
    EXPECT_TRUE(ProcessPortMappings().Empty());
}

TEST(PortMapping, ConflictSearchIsBounded)
{
    ScopedFakeGateway gateway;
    for (unsigned port = 6066; port <= 65535; ++port)
        gateway->conflicts.insert(std::uint16_t(port));
    EXPECT_EQ(MapPort(40001, 6066, "UDP", "Calvox"), 0);
    EXPECT_EQ(gateway->AddRequests(), calvox::kMaxPortMappingTries);

    // Near the top of the range the search stops at 65535 and never wraps to port 0.
    const int before = gateway->AddRequests();
    EXPECT_EQ(MapPort(40001, 65530, "UDP", "Calvox"), 0);
    EXPECT_EQ(gateway->AddRequests() - before, 6);
    EXPECT_TRUE(gateway->Mappings().empty());
}

TEST(PortMapping, ExitDeletesExactlyTheMappingsMade)
{
    ScopedFakeGateway gateway;
    gateway->conflicts = {6066};
    ASSERT_EQ(MapPort(40001, 6066, "UDP", "Calvox"), 6067);
    ASSERT_EQ(MapPort(40002, 7000, "UDP", "Calvox"), 7000);
    const int discoveries = gateway->Discoveries();

    RemoveAllPortMappings();
    EXPECT_EQ(gateway->Discoveries(), discoveries + 1);
    std::vector<std::uint16_t> deleted = gateway->Deleted();
    std::sort(deleted.begin(), deleted.end());
    EXPECT_EQ(deleted, (std::vector<std::uint16_t>{6067, 7000}));
    EXPECT_TRUE(gateway->Mappings().empty());
    EXPECT_TRUE(ProcessPortMappings().Empty());

    // A second exit has nothing left to do and does not even look for the gateway.
    RemoveAllPortMappings();
    EXPECT_EQ(gateway->Discoveries(), discoveries + 1);
    EXPECT_EQ(gateway->Deleted().size(), 2u);
}

TEST(PortMapping, ExitWithoutGatewayKeepsTheList)
{
    ScopedFakeGateway gateway;
    ASSERT_EQ(MapPort(40001, 6066, "UDP", "Calvox"), 6066);
    gateway->present = false;
    RemoveAllPortMappings();
    EXPECT_EQ(ProcessPortMappings().Ports(), std::vector<std::uint16_t>{6066});
    gateway->present = true;
    RemoveAllPortMappings();
    EXPECT_EQ(gateway->Deleted(), std::vector<std::uint16_t>{6066});
}

bool OnlyLoopbackInterfaces()
{
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return false;
    bool onlyLoopback = true;
    for (ifaddrs* a = list; a; a = a->ifa_next)
        if (!(a->ifa_flags & IFF_LOOPBACK))
            onlyLoopback = false;
    freeifaddrs(list);
    return onlyLoopback;
}

// The real MiniUPnPc sends SSDP multicast, so it runs only inside the test suite's private network namespace
// (which has nothing but loopback): there no gateway can answer and nothing leaves the machine.
TEST(PortMapping, MiniUpnpcWithoutGatewayMapsNothing)
{
    const char* netns = std::getenv("CALVOX_NETNS");
    if (!netns || std::strcmp(netns, "1") != 0 || !OnlyLoopbackInterfaces())
        GTEST_SKIP() << "needs the private network namespace of scripts/test";
    calvox::SetUpnpDiscovery(calvox::CreateMiniUpnpDiscovery());
    ProcessPortMappings().TakeAll([](std::uint16_t) {});
    EXPECT_EQ(MapPort(40001, 6066, "UDP", "Calvox"), 0);
    EXPECT_TRUE(ProcessPortMappings().Empty());
    calvox::SetUpnpDiscovery(nullptr);
}

} // namespace
