// The request exchanges with retries, driven against the in-process recorder emulator.
#include "Datagram.h"
#include "Device.h"
#include "Request.h"
#include "TimeScale.h"

#include "DatagramStream.h"
#include "EmulatedDevice.h"
#include "Emulator.h"
#include "Transfer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <iterator>
#include <thread>

using namespace calvox;
using calvox::test::Datagram;
using calvox::test::DatagramStream;
using Clock = std::chrono::steady_clock;

namespace {

// Milliseconds since `start`, as a number that a failed expectation prints readably.
long long MsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

constexpr uint8_t kCmdTime = 11;  // any command with a payload will do; the handlers are scripted per test
constexpr uint8_t kCmdGetBaseSetting = 14;

struct RequestFixture : ::testing::Test {
    void SetUp() override
    {
        rig = std::make_unique<test::EmulatedDevice>();
        ASSERT_TRUE(rig->Ready());
        recorder = rig->recorder;
        device = rig->device;
    }
    void TearDown() override
    {
        device.reset();
        rig.reset();
    }
    // Request for the scripted command with a 2-byte payload.
    int Send(uint8_t command = kCmdTime)
    {
        request[kOffCommand] = command;
        request[6] = 0xAB;
        request[7] = 0xCD;
        return SendRequest(*device, *device->general, request, 2, reply);
    }
    size_t DroppedCount() const
    {
        size_t n = 0;
        for (const auto& r : recorder->Log())
            n += r.dropped;
        return n;
    }

    std::unique_ptr<test::EmulatedDevice> rig;
    emu::Recorder* recorder = nullptr;
    std::shared_ptr<Calvox_Device> device;
    uint8_t request[kDatagramSize] = {};
    uint8_t reply[kDatagramSize] = {};
};

void AnswerTime(emu::Exchange& x) { x.Reply(0, std::vector<uint8_t>{26, 1, 2, 3, 4, 5, 6}); }

}  // namespace

TEST_F(RequestFixture, RequestIsFramedAndTheMatchingReplyReturned)
{
    recorder->SetHandler(kCmdTime, AnswerTime);
    ASSERT_EQ(Send(), 13);
    EXPECT_EQ(reply[kOffCommand], kCmdTime);
    EXPECT_EQ(reply[6], 26);
    const auto log = recorder->Log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].origin, kOriginClient);
    EXPECT_EQ(log[0].status, 0);
    EXPECT_EQ(log[0].payload, (std::vector<uint8_t>{0xAB, 0xCD}));
    EXPECT_EQ(ntohs(log[0].from.sin_port), device->channel.LocalPort());
}

TEST_F(RequestFixture, ReplyOfAnotherCommandIsIgnoredAndTheWaitGoesOn)
{
    recorder->SetHandler(kCmdTime, [](emu::Exchange& x) {
        x.ReplyAs(1, 12, 0, {9, 9, 9});  // another command's reply
        x.ReplyAs(2, kCmdTime, 0, {});   // right command, wrong origin
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
        AnswerTime(x);
    });
    ASSERT_EQ(Send(), 13);
    EXPECT_EQ(reply[kOffCommand], kCmdTime);
    EXPECT_EQ(reply[6], 26);
    EXPECT_EQ(recorder->CountRequests(kCmdTime), 1u) << "the foreign replies must not have cost a retry";

    // Only foreign replies: every try waits out its time-out, then no reply.
    recorder->SetHandler(kCmdTime, [](emu::Exchange& x) { x.ReplyAs(1, 12, 0, {}); });
    recorder->ClearLog();
    EXPECT_EQ(Send(), -1);
    EXPECT_EQ(reply[kOffStatus], 3);
    EXPECT_EQ(recorder->CountRequests(kCmdTime), 5u);
}

TEST_F(RequestFixture, FourDropsThenSuccessOnTheFifthTry)
{
    recorder->SetHandler(kCmdTime, AnswerTime);
    emu::Faults faults;
    faults.dropFirstRequests = 4;
    recorder->SetFaults(faults);
    ASSERT_EQ(Send(), 13);
    EXPECT_EQ(recorder->CountRequests(kCmdTime), 5u);
    EXPECT_EQ(DroppedCount(), 4u);
}

TEST_F(RequestFixture, FiveDropsGiveNoReply)
{
    recorder->SetHandler(kCmdTime, AnswerTime);
    emu::Faults faults;
    faults.dropFirstRequests = 5;
    recorder->SetFaults(faults);
    EXPECT_EQ(Send(), -1);
    EXPECT_EQ(reply[kOffStatus], 3);
    EXPECT_EQ(recorder->CountRequests(kCmdTime), 5u);
}

TEST_F(RequestFixture, LateReplyToAnEarlierRequestIsNotTakenForTheNext)
{
    // A reply that arrived after its request gave up sits in the general matcher...
    const uint8_t stale[] = {'K', 'W', 1, kCmdTime, 0, 0, 77};
    device->channel.Dispatch(stale, sizeof stale, recorder->Address());
    // ...and a silent recorder must now give "no reply", not that stale answer.
    recorder->SetHandler(kCmdTime, nullptr);
    EXPECT_EQ(Send(), -1);
    EXPECT_EQ(reply[kOffStatus], 3);
}

TEST_F(RequestFixture, DuplicateAndDelayedRepliesStillGiveOneAnswer)
{
    recorder->SetHandler(kCmdTime, AnswerTime);
    emu::Faults faults;
    faults.duplicateReplies = 1;
    faults.delayMs = 10;
    recorder->SetFaults(faults);
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(Send(), 13) << "round " << i;
        EXPECT_EQ(reply[6], 26);
    }
}

TEST_F(RequestFixture, RunCommandResults)
{
    struct Case {
        const char* name;
        emu::Handler handler;
        int minPayload;
        int result;
    };
    const Case cases[] = {
        {"status 0 with the whole payload", AnswerTime, 7, 0},
        {"short reply with status 0", [](emu::Exchange& x) { x.Reply(0, std::vector<uint8_t>{1, 2}); }, 7, 2},
        {"bare header with status 0", [](emu::Exchange& x) { x.Reply(0); }, 1, 2},
        {"recorder status passed on", [](emu::Exchange& x) { x.Reply(101); }, 7, 101},
        {"no reply", nullptr, 0, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.handler)
            recorder->SetHandler(kCmdTime, c.handler);
        else
            recorder->SetHandler(kCmdTime, [](emu::Exchange&) {});
        uint8_t buffer[kDatagramSize] = {};
        buffer[kOffCommand] = kCmdTime;
        buffer[6] = 0x55;
        int length = -7;
        std::lock_guard<std::mutex> lock(device->commandMutex);
        EXPECT_EQ(RunCommand(*device, buffer, 1, c.minPayload, &length), c.result);
        if (c.result == 0) {
            EXPECT_EQ(length, 13);
            EXPECT_EQ(buffer[6], 26) << "the reply replaces the request buffer";
        } else {
            EXPECT_EQ(length, -7);
            EXPECT_EQ(buffer[6], 0x55) << "the request's payload is left as it was";
            if (c.result != 2) {
                EXPECT_EQ(buffer[kOffStatus], c.result);
            }
        }
    }
}

TEST_F(RequestFixture, BlockReplyWithTheWrongIndexIsIgnored)
{
    auto blockReply = [](emu::Exchange& x, uint32_t index) {
        std::vector<uint8_t> payload;
        emu::PutU32(payload, 0, index);
        payload.push_back(0xEE);
        x.Reply(0, payload);
    };
    recorder->SetHandler(kCmdDownload, [blockReply](emu::Exchange& x) {
        const uint32_t index = emu::GetU32(x.request.payload, 4);
        blockReply(x, index + 1);  // a block of another request
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
        blockReply(x, index);
    });
    uint8_t packet[kBlockPacketSize] = {};
    packet[kOffCommand] = kCmdDownload;
    packet[6] = 1;
    ASSERT_EQ(SendBlockRequest(*device, packet, reply, 7), 11);
    EXPECT_EQ(GetU32(reply + 6), 7u);
    EXPECT_EQ(reply[10], 0xEE);
    ASSERT_EQ(recorder->CountRequests(kCmdDownload), 1u);
    const auto request = recorder->Log()[0];
    ASSERT_EQ(request.payload.size(), 8u);
    EXPECT_EQ(emu::GetU32(request.payload, 4), 7u) << "block index at offset 10 of the packet";

    // Only wrong indexes: ten tries, then no reply.
    recorder->SetHandler(kCmdDownload, [blockReply](emu::Exchange& x) { blockReply(x, 99); });
    recorder->ClearLog();
    EXPECT_EQ(SendBlockRequest(*device, packet, reply, 8), -1);
    EXPECT_EQ(reply[kOffStatus], 3);
    EXPECT_EQ(recorder->CountRequests(kCmdDownload), 10u);
}

// A datagram that starts like a block reply but is too short to hold a whole header has no status byte: it is
// no answer (the caller would read its status past its end, in whatever the buffer held before), and the wait
// goes on for the block.
TEST_F(RequestFixture, BlockReplyShorterThanAHeaderIsIgnored)
{
    recorder->SetHandler(kCmdDownload, [](emu::Exchange& x) {
        for (size_t length = 3; length < kHeaderSize; ++length) {
            std::vector<uint8_t> cut = {'K', 'W', kOriginRecorder, kCmdDownload, 0};
            cut.resize(length);
            x.SendRaw(cut);
        }
        std::vector<uint8_t> payload;
        emu::PutU32(payload, 0, emu::GetU32(x.request.payload, 4));
        payload.push_back(0xEE);
        x.Reply(0, payload);
    });
    uint8_t packet[kBlockPacketSize] = {};
    packet[kOffCommand] = kCmdDownload;
    packet[6] = 1;
    std::fill(std::begin(reply), std::end(reply), uint8_t{0x77});  // what an earlier datagram left there
    ASSERT_EQ(SendBlockRequest(*device, packet, reply, 5), 11);
    EXPECT_EQ(reply[kOffStatus], 0);
    EXPECT_EQ(GetU32(reply + 6), 5u);
    EXPECT_EQ(reply[10], 0xEE);
}

TEST_F(RequestFixture, CloudRequestTakesOnlyCloudOriginReplies)
{
    // Real time-outs: the cloud's answer comes 15 ms after the recorder's, within any try, however busy the
    // machine; a retry would be counted as a second query.
    SetTimeScale(1);
    emu::RecorderConfig cloudConfig;
    cloudConfig.id = "cloud";
    cloudConfig.bindAddress = "127.0.0.2";
    cloudConfig.port = 0;
    emu::Recorder* cloud = rig->emulator.Add(cloudConfig);
    ASSERT_NE(cloud, nullptr);
    cloud->SetHandler(0, [](emu::Exchange& x) {
        x.ReplyAs(1, 0, 0, {1});  // a recorder's answer is not the cloud's
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
        x.ReplyAs(2, 0, 0, {10, 0, 0, 1, 0xB2, 0x17, 0});
    });
    SetCloudServer(cloud->Address());
    uint8_t buffer[kDatagramSize] = {};
    buffer[kOffCommand] = 0;
    std::memcpy(buffer + 6, emu::kDefaultId, 20);
    EXPECT_EQ(SendCloudRequest(*device, buffer, 20), 13);
    EXPECT_EQ(buffer[kOffOrigin], 2);
    EXPECT_EQ(GetU16(buffer + 10), 0x17B2);
    ASSERT_EQ(cloud->CountRequests(0), 1u);
    const auto query = cloud->Log()[0].payload;
    EXPECT_EQ(std::string(query.begin(), query.end()), emu::kDefaultId);

    SetCloudServer(net::Address{});
    EXPECT_EQ(SendCloudRequest(*device, buffer, 20), -1) << "no cloud server configured";
    EXPECT_EQ(buffer[kOffStatus], 3);
}

// At the real constants: five tries of 1000 ms each.
TEST_F(RequestFixture, SilenceGivesNoReplyAfterFiveSecondsAtRealConstants)
{
    SetTimeScale(1);
    recorder->SetHandler(kCmdTime, [](emu::Exchange&) {});
    const auto start = Clock::now();
    EXPECT_EQ(Send(), -1);
    const auto elapsed = Clock::now() - start;
    EXPECT_EQ(reply[kOffStatus], 3);
    EXPECT_EQ(recorder->CountRequests(kCmdTime), 5u);
    EXPECT_GE(elapsed, std::chrono::milliseconds(4900));
    EXPECT_LT(elapsed, std::chrono::milliseconds(7000));
}

// A peer that answers the first request with replies to another request, one every 100 ms for 30 s: each try
// still ends its time-out after its own send, so the call gives up after its tries' time-outs, not when the
// flood ends.
TEST_F(RequestFixture, AFloodOfForeignRepliesDoesNotStretchACommand)
{
    SetTimeScale(1);  // five tries of 1000 ms
    DatagramStream flood(*recorder, Datagram(kOriginRecorder, 12, 0, {1, 2, 3}));
    recorder->SetHandler(kCmdGetBaseSetting, [&flood](emu::Exchange& x) { flood.Start(x.request.from); });
    const auto start = Clock::now();
    EXPECT_EQ(CalvoxAPI_GetBaseSetting(rig->handle), 3);
    EXPECT_LT(MsSince(start), 5 * 1000 + 1000);
    EXPECT_EQ(recorder->CountRequests(kCmdGetBaseSetting), 5u);
    EXPECT_GE(flood.Sent(), 40) << "the flood ran beside the whole call";
}

TEST_F(RequestFixture, AFloodOfStaleBlocksDoesNotStretchADownload)
{
    SetTimeScale(0.1);  // ten tries of 200 ms for the block, the flood comes every 100 ms
    std::vector<uint8_t> staleBlock;
    emu::PutU32(staleBlock, 0, 999);  // a block of an earlier, larger transfer
    staleBlock.resize(4 + 1024, 0xEE);
    DatagramStream flood(*recorder, Datagram(kOriginRecorder, kCmdDownload, 0, staleBlock));
    recorder->SetHandler(kCmdDownload, [&flood](emu::Exchange& x) {
        if (x.request.payload[0] == kDownloadBegin) {
            std::vector<uint8_t> size;
            emu::PutU32(size, 0, 4096);
            x.Reply(0, size);
        } else {
            flood.Start(x.request.from);
        }
    });
    const Calvox_EventCallback ignore = [](Calvox_EventType, int, unsigned char*, int) { return 0; };
    const auto start = Clock::now();
    EXPECT_EQ(CalvoxAPI_DownloadFile(rig->handle, "/RecordFiles/Log.txt", &ignore), 3);
    EXPECT_LT(MsSince(start), 100 + 10 * 200 + 1000);
    EXPECT_EQ(recorder->CountRequests(kCmdDownload), 1u + 10u);
}

TEST_F(RequestFixture, AFloodOfForeignCloudRepliesDoesNotStretchACloudRequest)
{
    SetTimeScale(0.2);  // five tries of 200 ms
    emu::RecorderConfig cloudConfig;
    cloudConfig.id = "cloud";
    cloudConfig.port = 0;
    emu::Recorder* cloud = rig->emulator.Add(cloudConfig);
    ASSERT_NE(cloud, nullptr);
    DatagramStream flood(*cloud, Datagram(kOriginCloud, 7, 0, {10, 0, 0, 1}));
    cloud->SetHandler(0, [&flood](emu::Exchange& x) { flood.Start(x.request.from); });
    SetCloudServer(cloud->Address());
    uint8_t buffer[kDatagramSize] = {};
    std::memcpy(buffer + 6, emu::kDefaultId, 20);
    const auto start = Clock::now();
    EXPECT_EQ(SendCloudRequest(*device, buffer, 20), -1);
    const long long elapsed = MsSince(start);
    SetCloudServer(net::Address{});
    EXPECT_EQ(buffer[kOffStatus], 3);
    EXPECT_LT(elapsed, 5 * 200 + 1000);
    EXPECT_EQ(cloud->CountRequests(0), 5u);
}

TEST(NextSequence, SkipsZeroAfterWrapping)
{
    EXPECT_EQ(NextSequence(0), 1);
    EXPECT_EQ(NextSequence(254), 255);
    EXPECT_EQ(NextSequence(255), 1);
}
