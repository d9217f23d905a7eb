// Device search over loopback: the search's internal override replaces the adapter list with 127.0.0.1 and
// 127.0.0.2 and the broadcast destination with the emulated recorders' unicast addresses, so nothing leaves
// this machine.
#include "CalvoxSDK.h"
#include "Search.h"
#include "TimeScale.h"

#include "DatagramStream.h"
#include "EmuSearch.h"
#include "Emulator.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <string>
#include <vector>

using namespace calvox;

namespace {

net::LocalAdapter Loopback(const char* address)
{
    return {inet_addr(address), inet_addr("255.0.0.0")};
}

class SearchTest : public ::testing::Test {
protected:
    void SetUp() override { SetTimeScale(0.05); }
    void TearDown() override
    {
        ClearSearchOverride();
        emulator.Stop();
        SetTimeScale(1);
    }

    emu::Recorder* AddRecorder(const std::string& id)
    {
        emu::RecorderConfig config;
        config.id = id;
        config.port = 0;
        emu::Recorder* r = emulator.Add(config);
        EXPECT_NE(r, nullptr);
        return r;
    }

    void SearchOver(std::vector<net::LocalAdapter> adapters, const std::vector<emu::Recorder*>& recorders)
    {
        SearchOverride o;
        o.adapters = std::move(adapters);
        o.destinations.emplace();
        for (const emu::Recorder* r : recorders)
            o.destinations->push_back(r->Address());
        SetSearchOverride(o);
        Calvox_EventCallback callback = [this](Calvox_EventType type, int handle, unsigned char* data, int length) {
            EXPECT_EQ(handle, 0);
            if (type == Calvox_Event_Progress) {
                progress.push_back(length);
            } else if (type == Calvox_Event_FoundDevice) {
                Calvox_FoundDeviceInfo info;
                std::memcpy(&info, data, sizeof info);
                found.push_back(info);
                ++reported;
            }
            return 1;  // ignored by the search
        };
        ASSERT_EQ(CalvoxAPI_SearchDevice(&callback), 0);
    }

    emu::Emulator emulator;
    std::vector<int> progress;
    std::vector<Calvox_FoundDeviceInfo> found;
    std::atomic<int> reported{0};  // found.size(), for the emulator's thread
};

TEST_F(SearchTest, TwoAddressesReportTenSteps)
{
    SearchOver({Loopback("127.0.0.1"), Loopback("127.0.0.2")}, {});
    EXPECT_EQ(progress, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
}

TEST_F(SearchTest, NoAddressReportsOneHundredOnce)
{
    SearchOver({}, {});
    EXPECT_EQ(progress, (std::vector<int>{100}));
}

TEST_F(SearchTest, ThreeAddressesEndAtOneHundred)
{
    SearchOver({Loopback("127.0.0.1"), Loopback("127.0.0.2"), Loopback("127.0.0.3")}, {});
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), 100);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
}

TEST_F(SearchTest, RecorderSeenOnBothAddressesIsReportedOnceWithItsDetails)
{
    // Later requests list the recorder only once its reply arrived: at a 250-ms round it arrives within the
    // first one also on a busy machine (a 25-ms round was missed there).
    SetTimeScale(0.5);
    emu::Recorder* r = AddRecorder("6A000000000000000042");  // KES2216H, 16 channels
    {
        std::lock_guard<std::mutex> lock(r->StateMutex());
        r->State<emu::SearchIdentity>().firmwareVersion = 0x02000708;
    }
    SearchOver({Loopback("127.0.0.1"), Loopback("127.0.0.2")}, {r});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(std::string(found[0].ID, 20), "6A000000000000000042");
    EXPECT_STREQ(found[0].Model, "KES2216H");
    EXPECT_EQ(found[0].Channels, 16);
    EXPECT_STREQ(found[0].FirmwareVersion, "2.0.7.8");
    EXPECT_STREQ(found[0].Address, "127.0.0.1");
    EXPECT_EQ(found[0].Port, r->Port());
    // It answered once; every later request listed it, from either address.
    const auto log = r->Log();
    ASSERT_EQ(log.size(), 10u);
    EXPECT_TRUE(log[0].payload.empty());
    for (size_t i = 1; i < log.size(); ++i)
        EXPECT_EQ(std::string(log[i].payload.begin(), log[i].payload.end()), "6A000000000000000042");
    EXPECT_EQ(log[5].from.sin_addr.s_addr, inet_addr("127.0.0.2"));
}

TEST_F(SearchTest, UnknownModelIsNotReportedButListedInLaterRequests)
{
    SetTimeScale(0.5);  // the replies arrive within the first round, as above
    emu::Recorder* unknown = AddRecorder("z0000000000000000001");
    emu::Recorder* known = AddRecorder("0A000000000000000001");
    SearchOver({Loopback("127.0.0.1")}, {unknown, known});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(std::string(found[0].ID, 20), "0A000000000000000001");
    const auto log = known->Log();
    ASSERT_EQ(log.size(), 5u);
    const std::string second(log[1].payload.begin(), log[1].payload.end());
    EXPECT_EQ(second.size(), 40u);
    EXPECT_NE(second.find("z0000000000000000001"), std::string::npos);
}

// One recorder answers for many: the 200th new ID ends the search at once, before any further round.
TEST_F(SearchTest, TwoHundredthRecorderEndsTheSearchAtOnce)
{
    // The 200 replies must all arrive within the first round, and none may be lost. So the round lasts 10 s (a
    // busy machine delivered them after a real 500 ms round, which then reported its 10 %), and the recorder
    // sends 20 replies at a time, each batch once the searcher has taken the one before (a starved searcher's
    // socket buffer can overflow, and lost IDs would come in the second round). The search still ends at once.
    SetTimeScale(20);
    emu::Recorder* crowd = AddRecorder("0A000000000000000000");
    crowd->SetHandler(1, [this](emu::Exchange& x) {
        int known = 0;  // replies sent that name a known model: each is reported once taken
        for (int i = 0; i < 210; ++i) {
            char id[21];
            std::snprintf(id, sizeof id, "%c%019d", i % 7 == 0 ? 'z' : '2', i);
            std::vector<uint8_t> reply(30, 0);
            std::memcpy(reply.data(), id, 20);
            x.Reply(0, reply);
            known += i % 7 == 0 ? 0 : 1;
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (i % 20 == 19 && reported < known && std::chrono::steady_clock::now() < giveUp)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    SearchOver({Loopback("127.0.0.1"), Loopback("127.0.0.2")}, {crowd});
    EXPECT_EQ(crowd->CountRequests(1), 1u);
    EXPECT_EQ(progress, (std::vector<int>{100}));
    // Of the first 200 IDs, every seventh names an unknown model.
    EXPECT_EQ(found.size(), 200u - 29u);
}

// A machine that answers the search with datagrams that are no reply, every 100 ms for 30 s: each round still
// ends its wait after its own request, so the search ends after five waits, and the real recorder is found.
TEST_F(SearchTest, AFloodOfNonRepliesDoesNotHoldTheSearch)
{
    SetTimeScale(0.5);  // 250 ms per round
    emu::Recorder* real = AddRecorder("4A000000000000000001");
    emu::Recorder* noisy = AddRecorder("noisy");
    test::DatagramStream flood(*noisy, test::Datagram(1, 1, 0));
    noisy->SetHandler(1, [&flood](emu::Exchange& x) { flood.Start(x.request.from); });
    const auto start = std::chrono::steady_clock::now();
    SearchOver({Loopback("127.0.0.1")}, {noisy, real});
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(elapsed, 5 * 250 + 1000);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(progress.back(), 100);
}

TEST_F(SearchTest, AdapterListSkipsLoopback)
{
    for (const net::LocalAdapter& a : net::ListLocalAdapters()) {
        EXPECT_NE(a.address & inet_addr("255.0.0.0"), inet_addr("127.0.0.0"));
        EXPECT_NE(a.address, 0u);
    }
}

}  // namespace
