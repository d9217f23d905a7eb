// Block download (command 29) against the emulated recorder: block requests per size, loss both ways,
// hostile sizes and blocks (never more than the announced size is delivered), cancel and the sequence byte.
#include "FilesFixture.h"

#include "Datagram.h"

#include "Transfer.h"

#include <atomic>
#include <climits>
#include <functional>
#include <thread>

using namespace calvox;
using namespace calvox::test;

namespace {

class DownloadTest : public FilesFixture {
protected:
    int Download(const std::string& devicePath, int cancelOnEvent = -1)
    {
        events.clear();
        Calvox_EventCallback callback = [&](Calvox_EventType type, int h, unsigned char* data, int length) {
            EXPECT_EQ(h, handle);
            events.push_back(type);
            if (type == Calvox_Event_FileSize) {
                EXPECT_EQ(data, nullptr);
                announced = length;
            } else if (type == Calvox_Event_FileData) {
                received.insert(received.end(), data, data + length);
            }
            return static_cast<int>(events.size()) - 1 == cancelOnEvent ? 1 : 0;
        };
        return CalvoxAPI_DownloadFile(handle, devicePath.c_str(), &callback);
    }

    // Block indexes requested, in order.
    std::vector<uint32_t> BlockRequests() const
    {
        std::vector<uint32_t> blocks;
        for (const auto& p : Payloads(29))
            if (p.size() >= 8 && p[0] == kDownloadBlock)
                blocks.push_back(emu::GetU32(p, 4));
        return blocks;
    }
    size_t EndRequests() const
    {
        size_t n = 0;
        for (const auto& p : Payloads(29))
            n += !p.empty() && p[0] == kDownloadEnd;
        return n;
    }

    std::vector<Calvox_EventType> events;
    std::vector<uint8_t> received;
    int announced = -1;
};

TEST_F(DownloadTest, BlocksFollowTheSize)
{
    struct Case {
        size_t size;
        std::vector<uint32_t> blocks;
    } cases[] = {{0, {}}, {1, {0}}, {1024, {0}}, {2048, {0, 1}}, {2049, {0, 1, 2}}};
    for (const Case& c : cases) {
        recorder->ClearLog();
        events.clear();
        received.clear();
        const auto bytes = RandomBytes(c.size, static_cast<uint32_t>(c.size));
        WriteFile(storage.Path() + "/f.bin", bytes);
        ASSERT_EQ(Download("/f.bin"), 0) << c.size;
        EXPECT_EQ(announced, static_cast<int>(c.size));
        EXPECT_EQ(BlockRequests(), c.blocks) << c.size;
        EXPECT_EQ(received, bytes) << c.size;
        EXPECT_EQ(events.size(), 1 + c.blocks.size());
        // An empty file needs no end; every other download ends with one.
        EXPECT_EQ(EndRequests(), c.size ? 1u : 0u) << c.size;
    }
}

TEST_F(DownloadTest, AFileArrivesWholeThroughLossBothWays)
{
    // 200 ms block waits, ten tries: a block is lost only when all ten are. At one try in five lost that is one
    // in ten million per block, and a busy machine must stall two seconds to lose one by lateness. The seed
    // fixes the losses only as long as the timing does, so these rates have to carry the test.
    SetTimeScale(0.1);
    emu::Faults faults;
    faults.seed = 7;
    faults.dropRequests = 0.1;
    faults.dropReplies = 0.1;
    recorder->SetFaults(faults);
    const auto bytes = RandomBytes(128 * 1024 + 100, 8);  // 129 blocks, the last one short
    WriteFile(storage.Path() + "/RecordFiles/big.wav", bytes);
    ASSERT_EQ(Download("/RecordFiles/big.wav"), 0);
    EXPECT_TRUE(received == bytes);
    EXPECT_GT(recorder->Log().size(), 129u * 17 / 16);  // the loss was real (about 129 / 0.81 requests)
}

TEST_F(DownloadTest, EachDownloadCarriesANewSequenceByte)
{
    WriteFile(storage.Path() + "/f.bin", RandomBytes(10, 1));
    ASSERT_EQ(Download("/f.bin"), 0);
    ASSERT_EQ(Download("/f.bin"), 0);
    std::vector<uint8_t> sequences;
    for (const auto& p : Payloads(29))
        if (p[0] == kDownloadBegin) {
            sequences.push_back(p[1]);
        }
    ASSERT_EQ(sequences.size(), 2u);
    EXPECT_NE(sequences[0], 0);
    EXPECT_NE(sequences[0], sequences[1]);
    for (const auto& p : Payloads(29))
        if (p[0] == kDownloadBlock) {
            EXPECT_TRUE(p[1] == sequences[0] || p[1] == sequences[1]);
        }
}

// The recorder's answers are scripted: a begin reply of `beginLength` bytes announcing `size`, and blocks
// whose data length is `blockLength(i)`.
struct HostileCase {
    const char* what;
    int beginLength;
    uint32_t size;
    std::function<int(uint32_t)> blockLength;  // < 0: a reply of (10 + value) bytes, shorter than a header
    int result;
};

TEST_F(DownloadTest, HostileSizesAndBlocksAreRefusedAndNeverOverDeliver)
{
    const HostileCase cases[] = {
        {"size above INT_MAX", 10, 0x80000000u, [](uint32_t) { return 1024; }, Calvox_Result_Refused},
        {"size 0xFFFFFFFF", 10, 0xFFFFFFFFu, [](uint32_t) { return 1024; }, Calvox_Result_Refused},
        {"begin reply too long", 11, 100, [](uint32_t) { return 100; }, Calvox_Result_Refused},
        {"begin reply too short", 9, 100, [](uint32_t) { return 100; }, Calvox_Result_Refused},
        {"block longer than 1024", 10, 4096, [](uint32_t) { return 2000; }, Calvox_Result_Refused},
        {"short block", 10, 4096, [](uint32_t i) { return i == 1 ? 1000 : 1024; }, Calvox_Result_Refused},
        {"last block past the size", 10, 1500, [](uint32_t) { return 1024; }, Calvox_Result_Refused},
        {"empty block", 10, 1500, [](uint32_t) { return 0; }, Calvox_Result_Refused},
        {"reply shorter than its header", 10, 1500, [](uint32_t) { return -2; }, Calvox_Result_Refused},
        {"honest", 10, 1500, [](uint32_t i) { return i == 0 ? 1024 : 476; }, Calvox_Result_Ok},
    };
    for (const HostileCase& c : cases) {
        // The case is copied: the recorder's thread may still answer a late retry after the test has ended.
        recorder->SetHandler(29, [c](emu::Exchange& x) {
            const auto& p = x.request.payload;
            std::vector<uint8_t> reply;
            if (p[0] == kDownloadBegin) {
                emu::PutU32(reply, 0, c.size);
                reply.resize(static_cast<size_t>(c.beginLength - 6), 0);
            } else if (p[0] == kDownloadBlock) {
                const uint32_t index = emu::GetU32(p, 4);
                const int length = c.blockLength(index);
                emu::PutU32(reply, 0, index);
                reply.resize(static_cast<size_t>(4 + length), 0xAA);
            }
            x.Reply(0, reply);
        });
        events.clear();
        received.clear();
        announced = -1;
        EXPECT_EQ(Download("/any"), c.result) << c.what;
        EXPECT_LE(received.size(), static_cast<size_t>(c.size)) << c.what;
        if (c.size > static_cast<uint32_t>(INT_MAX)) {
            EXPECT_TRUE(events.empty()) << c.what;
        }
    }
}

TEST_F(DownloadTest, CallbackCancelsWithoutAnEndRequest)
{
    WriteFile(storage.Path() + "/f.bin", RandomBytes(5000, 2));
    EXPECT_EQ(Download("/f.bin", 0), Calvox_Result_Refused);  // at the size
    EXPECT_TRUE(BlockRequests().empty());
    EXPECT_EQ(Download("/f.bin", 2), Calvox_Result_Refused);  // at the second block
    EXPECT_EQ(BlockRequests(), (std::vector<uint32_t>{0, 1}));
    EXPECT_EQ(EndRequests(), 0u);
}

TEST_F(DownloadTest, PathsTheRecorderRefusesOrThatDoNotFit)
{
    WriteFile(storage.Path() + "/f.bin", {1});
    EXPECT_EQ(Download("/RecordFiles/../../f.bin"), emu::kStatusPathRefused);
    EXPECT_EQ(Download("/RecordFiles/none.wav"), emu::kStatusNoSuchFile);
    EXPECT_TRUE(events.empty());
    const size_t sent = recorder->CountRequests(29);
    EXPECT_EQ(Download("/" + std::string(kMaxPayload, 'p')), Calvox_Result_InvalidArgument);
    EXPECT_EQ(Download("/" + std::string(kMaxPayload - 3, 'p')), Calvox_Result_InvalidArgument);
    EXPECT_EQ(recorder->CountRequests(29), sent);
    EXPECT_EQ(CalvoxAPI_DownloadFile(handle, nullptr, nullptr), Calvox_Result_InvalidArgument);
    // Longest path that fits: sub-code, sequence, path and terminator fill the datagram.
    EXPECT_EQ(Download("/" + std::string(kMaxPayload - 4, 'p')), emu::kStatusNoSuchFile);
}

TEST_F(DownloadTest, OneTransferPerConnectionAtATime)
{
    WriteFile(storage.Path() + "/f.bin", RandomBytes(64 * 1024, 3));
    std::atomic<int> inside{0};
    std::atomic<int> most{0};
    Calvox_EventCallback callback = [&](Calvox_EventType, int, unsigned char*, int) {
        const int now = ++inside;
        most = std::max(most.load(), now);
        std::this_thread::yield();
        --inside;
        return 0;
    };
    std::thread other([&] { EXPECT_EQ(CalvoxAPI_DownloadFile(handle, "/f.bin", &callback), 0); });
    EXPECT_EQ(CalvoxAPI_DownloadFile(handle, "/f.bin", &callback), 0);
    other.join();
    EXPECT_EQ(most.load(), 1);
}

}  // namespace
