// Programs point the SDK at a cloud relay with CALVOX_CLOUD_SERVER=host:port, read when the first remote login
// needs it. Its own binary: the relay address is taken once per process.
#include "FakeCloudRelay.h"
#include "SessionFixture.h"

#include <cstdlib>

namespace calvox::test {
namespace {

using CloudEnvironmentTest = SessionFixture;

TEST_F(CloudEnvironmentTest, RemoteLoginAsksTheRelayNamedInTheEnvironment)
{
    emu::FakeCloudRelay relay;
    ASSERT_TRUE(relay.Start("127.0.0.1", 0));
    relay.Register({kId, recorder->Address(), false, recorder});
    ASSERT_EQ(::setenv("CALVOX_CLOUD_SERVER", relay.AddressText().c_str(), 1), 0);
    CalvoxAPI_SetNetAddr(handle, "127.0.0.1", 9);  // the discard port: only the relay can bring the login home

    EXPECT_EQ(LoginAs("admin", "admin", 1), 0);
    EXPECT_EQ(relay.CountRequests(0), 1u);
    relay.Stop();
}

}  // namespace
}  // namespace calvox::test
