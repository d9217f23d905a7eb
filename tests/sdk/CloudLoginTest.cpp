// Remote login through the fake cloud relay on 127.0.0.1: the relay's answer, hole punching with a recorder
// behind an emulated NAT, a silent relay, and the UPnP mapping every remote login attempts.
#include "DatagramStream.h"
#include "FakeCloudRelay.h"
#include "Login.h"
#include "PortMapping.h"
#include "Request.h"
#include "SessionFixture.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <memory>

namespace calvox::test {
namespace {

// A UDP socket on loopback that nobody answers from: the "public address" the relay reports for a recorder
// behind NAT, where the client's punch datagram ends.
class DeadEnd {
public:
    DeadEnd()
    {
        fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in a = Loopback(0);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        socklen_t length = sizeof a;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &length);
        address_ = a;
        timeval tv{0, 200000};
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    }
    ~DeadEnd() { ::close(fd_); }
    sockaddr_in Address() const { return address_; }
    uint16_t Port() const { return ntohs(address_.sin_port); }
    // The next datagram that arrived (empty when none).
    std::vector<uint8_t> Receive()
    {
        std::vector<uint8_t> buffer(4096);
        const ssize_t n = ::recv(fd_, buffer.data(), buffer.size(), 0);
        buffer.resize(n > 0 ? static_cast<size_t>(n) : 0);
        return buffer;
    }

private:
    int fd_ = -1;
    sockaddr_in address_{};
};

class CloudLoginTest : public SessionFixture {
protected:
    void SetUp() override
    {
        SessionFixture::SetUp();
        ASSERT_TRUE(relay.Start("127.0.0.1", 0));
        SetCloudServer(net::MakeAddress(htonl(INADDR_LOOPBACK), relay.Port()));
    }
    void TearDown() override
    {
        relay.Stop();
        SetCloudServer(net::Address{});
        SessionFixture::TearDown();
    }

    // Where the SDK would send now: its address is pointed at `port` on loopback first, so a login that
    // succeeds proves the cloud connection moved it.
    void AimAt(uint16_t port) { ASSERT_EQ(CalvoxAPI_SetNetAddr(handle, "127.0.0.1", port), 0); }
    uint16_t DevicePort() const { return ntohs(Device()->DeviceAddress().sin_port); }

    emu::FakeCloudRelay relay;
    DeadEnd elsewhere;
};

TEST_F(CloudLoginTest, NatFlagZeroTakesTheRelaysAddressWithoutPunching)
{
    relay.Register({kId, recorder->Address(), false, recorder});
    AimAt(elsewhere.Port());
    CalvoxAPI_SetUserPassword(handle, "admin", 5, "admin");

    ASSERT_EQ(CalvoxAPI_Login(handle, 1), 0);
    EXPECT_EQ(DevicePort(), recorder->Port());
    ASSERT_EQ(relay.CountRequests(0), 1u);
    EXPECT_EQ(relay.Log()[0].payload, std::vector<uint8_t>(kId, kId + 20));
    EXPECT_EQ(relay.CountRequests(1), 0u);
    EXPECT_EQ(recorder->CountRequests(0), 0u) << "no punch datagram without NAT";
}

TEST_F(CloudLoginTest, NatFlagOnePunchesAndLogsInWhereTheAnswerCameFrom)
{
    emu::PutBehindNat(*recorder);
    DeadEnd publicAddress;  // the relay's idea of the recorder; the answer comes from the recorder's own port
    relay.Register({kId, publicAddress.Address(), true, recorder});
    AimAt(recorder->Port());
    CalvoxAPI_SetUserPassword(handle, "admin", 5, "admin");
    EXPECT_EQ(CalvoxAPI_Login(handle, 0), 3) << "behind NAT the recorder must not hear an unknown client";

    ASSERT_EQ(CalvoxAPI_Login(handle, 1), 0);
    EXPECT_EQ(DevicePort(), recorder->Port());
    EXPECT_EQ(relay.CountRequests(1), 1u);
    const std::vector<uint8_t> punchRequest = relay.Log().back().payload;
    const sockaddr_in pa = publicAddress.Address();
    ASSERT_EQ(punchRequest.size(), 6u);
    EXPECT_EQ(std::memcmp(punchRequest.data(), &pa.sin_addr.s_addr, 4), 0);
    EXPECT_EQ(punchRequest[4] | punchRequest[5] << 8, publicAddress.Port());
    EXPECT_EQ(publicAddress.Receive(), (std::vector<uint8_t>{'K', 'W', 0, 0, 0, 0})) << "the punch datagram";
}

// The same at the SDK's real waits (1000 ms per round), as a program runs it.
TEST_F(CloudLoginTest, PunchedLoginAtRealTimeOuts)
{
    SetTimeScale(1);
    emu::PutBehindNat(*recorder);
    DeadEnd publicAddress;
    relay.Register({kId, publicAddress.Address(), true, recorder});
    AimAt(elsewhere.Port());
    CalvoxAPI_SetUserPassword(handle, "admin", 5, "admin");
    ASSERT_EQ(CalvoxAPI_Login(handle, 1), 0);
    EXPECT_EQ(DevicePort(), recorder->Port());
    EXPECT_EQ(relay.CountRequests(1), 1u) << "one punch round is enough";
}

TEST_F(CloudLoginTest, SilentRelayGivesThreeAndKeepsTheOldAddress)
{
    relay.SetSilent(true);
    CalvoxAPI_SetUserPassword(handle, "admin", 5, "admin");
    EXPECT_EQ(ConnectViaCloud(*Device()), 3);
    EXPECT_EQ(DevicePort(), recorder->Port());
    EXPECT_EQ(relay.CountRequests(0), 5u);
    EXPECT_EQ(CalvoxAPI_Login(handle, 1), 0) << "the login goes on to the old address";
}

TEST_F(CloudLoginTest, RelayStatusEndsTheConnection)
{
    relay.SetQueryStatus(9);
    EXPECT_EQ(ConnectViaCloud(*Device()), 9);
    EXPECT_EQ(DevicePort(), recorder->Port());
}

TEST_F(CloudLoginTest, OnlyARecorderAnswerWithStatusZeroEndsThePunchSearch)
{
    // A peer at the public address answers every punch with a refusal and a relay-origin datagram: five
    // rounds pass without a connection.
    emu::Recorder* peer = emulator.Add(emu::RecorderConfig{kId, "127.0.0.1", 0, {}});
    ASSERT_NE(peer, nullptr);
    peer->SetHandler(0, [](emu::Exchange& x) {
        x.Reply(7);
        x.ReplyAs(2, 0, 0);
    });
    relay.Register({kId, peer->Address(), true, nullptr});
    EXPECT_EQ(ConnectViaCloud(*Device()), 3);
    EXPECT_EQ(peer->CountRequests(0), 5u);
    EXPECT_EQ(DevicePort(), recorder->Port());

    // Rounds go on past those answers: a refusal, then the relay's datagram, then the recorder's own answer.
    // (One answer per round: the command queue holds one datagram at a time.)
    peer->ClearLog();
    auto round = std::make_shared<int>(0);
    peer->SetHandler(0, [round](emu::Exchange& x) {
        switch ((*round)++) {
        case 0: x.Reply(7); break;
        case 1: x.ReplyAs(2, 0, 0); break;
        default: x.Reply(0); break;
        }
    });
    EXPECT_EQ(ConnectViaCloud(*Device()), 0);
    EXPECT_EQ(peer->CountRequests(0), 3u);
    EXPECT_EQ(DevicePort(), peer->Port());
}

// Cloud replies to some other request arrive every 100 ms for 30 s while the client punches towards a
// recorder that never answers: each round still ends one time-out after its punch, so the login gives up the
// relay in time and goes on to the address it had.
TEST_F(CloudLoginTest, AFloodOfForeignCloudRepliesDoesNotStretchTheLogin)
{
    SetTimeScale(0.25);  // 250 ms per wait; the flood is faster
    DeadEnd publicAddress;
    relay.Register({kId, publicAddress.Address(), true, nullptr});
    emu::Recorder* source = emulator.Add(emu::RecorderConfig{"flood", "127.0.0.1", 0, {}});
    ASSERT_NE(source, nullptr);
    DatagramStream flood(*source, Datagram(kOriginCloud, 7, 0, {10, 0, 0, 1}));
    flood.Start(Loopback(Device()->channel.LocalPort()));
    CalvoxAPI_SetUserPassword(handle, "admin", 5, "admin");

    using std::chrono::steady_clock;
    const steady_clock::time_point start = steady_clock::now();
    EXPECT_EQ(CalvoxAPI_Login(handle, 1), 0);
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(steady_clock::now() - start);
    // The query, five rounds of a punch request and a wait, the login: twelve waits at most.
    EXPECT_LT(elapsed.count(), 12 * 250 + 1000);
    // Five rounds; a loaded machine may also retry a punch request whose answer came after its try.
    EXPECT_GE(relay.CountRequests(1), 5u);
    EXPECT_EQ(DevicePort(), recorder->Port());
}

TEST_F(CloudLoginTest, RemoteLoginsMapOnePortPastTheConflicts)
{
    gateway->conflicts = {6066, 6067};
    relay.Register({kId, recorder->Address(), false, recorder});
    CalvoxAPI_SetUserPassword(handle, "admin", 5, "admin");
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(CalvoxAPI_Login(handle, 1), 0);

    EXPECT_EQ(ProcessPortMappings().Ports(), std::vector<uint16_t>{6068});
    const auto mappings = gateway->Mappings();
    ASSERT_EQ(mappings.count(6068), 1u);
    EXPECT_EQ(mappings.at(6068).internalPort, Device()->channel.LocalPort());
    EXPECT_EQ(mappings.at(6068).protocol, "UDP");
    EXPECT_EQ(mappings.at(6068).description, "Calvox");
    EXPECT_EQ(gateway->Discoveries(), 3) << "every remote login attempts the mapping";

    EXPECT_EQ(CalvoxAPI_Exit(), 0);
    EXPECT_EQ(gateway->Deleted(), std::vector<uint16_t>{6068});
    EXPECT_TRUE(gateway->Mappings().empty());
}

TEST_F(CloudLoginTest, NoGatewayStillLogsIn)
{
    gateway->present = false;
    relay.Register({kId, recorder->Address(), false, recorder});
    CalvoxAPI_SetUserPassword(handle, "admin", 5, "admin");
    EXPECT_EQ(CalvoxAPI_Login(handle, 1), 0);
    EXPECT_TRUE(ProcessPortMappings().Empty());
    EXPECT_EQ(CalvoxAPI_Exit(), 0);
    EXPECT_EQ(gateway->Discoveries(), 1) << "nothing mapped: the exit does not look for a gateway";
}

TEST_F(CloudLoginTest, DirectLoginTouchesNeitherRelayNorGateway)
{
    relay.Register({kId, recorder->Address(), false, recorder});
    EXPECT_EQ(LoginAs("admin", "admin", 0x100), 0) << "only the low byte of remoteLogin is the flag";
    EXPECT_EQ(relay.Log().size(), 0u);
    EXPECT_EQ(gateway->Discoveries(), 0);
}

}  // namespace
}  // namespace calvox::test
