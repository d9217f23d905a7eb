#include "Config.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(Config, ServerAddressTexts)
{
    struct Case {
        const char* text;
        bool ok;
        const char* host;
        std::uint16_t port;
    } const cases[] = {
        {"127.0.0.1:4000", true, "127.0.0.1", 4000},
        {"relay.example", true, "relay.example", 3478},
        {"127.0.0.2:", true, "127.0.0.2", 3478},
        {"127.0.0.2:0", true, "127.0.0.2", 3478},
        {"127.0.0.2:65536", true, "127.0.0.2", 3478},
        {"127.0.0.2:12ab", true, "127.0.0.2", 3478},
        {"127.0.0.2:65535", true, "127.0.0.2", 65535},
        {"", false, "", 0},
        {":4000", false, "", 0},
        {nullptr, false, "", 0},
    };
    for (const Case& c : cases) {
        calvox::ServerAddress address;
        const bool ok = calvox::ParseServerAddress(c.text, 3478, &address);
        EXPECT_EQ(ok, c.ok) << (c.text ? c.text : "(null)");
        if (ok && c.ok) {
            EXPECT_EQ(address.host, c.host);
            EXPECT_EQ(address.port, c.port);
        }
    }
}

TEST(Config, CloudServerFollowsTheEnvironment)
{
    ::setenv("CALVOX_CLOUD_SERVER", "127.0.0.9:5000", 1);
    calvox::ServerAddress address = calvox::CloudServerSetting();
    EXPECT_EQ(address.host, "127.0.0.9");
    EXPECT_EQ(address.port, 5000);

    ::unsetenv("CALVOX_CLOUD_SERVER");
    address = calvox::CloudServerSetting();
    EXPECT_FALSE(address.host.empty());
    EXPECT_EQ(address.port, 3478);
}

} // namespace
