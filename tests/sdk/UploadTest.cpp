// Block upload (command 28) against the emulated recorder: block sizes, progress, the end and cancel steps,
// local file problems, lost datagrams and a stale acknowledgement.
#include "DatagramStream.h"
#include "FilesFixture.h"

#include "Transfer.h"

#include <atomic>
#include <chrono>

using namespace calvox;
using namespace calvox::test;

namespace {

// Uploads that the test does not watch still need a callable callback.
const Calvox_EventCallback kIgnoreProgress = [](Calvox_EventType, int, unsigned char*, int) { return 0; };

class UploadTest : public FilesFixture {
protected:
    // Uploads a local file of these bytes to /Audio and records the progress events.
    int Upload(const std::vector<uint8_t>& bytes, const std::string& name = "hello.wav", int cancelAt = -1)
    {
        const std::string path = local.Path() + "/" + name;
        WriteFile(path, bytes);
        Calvox_EventCallback callback = [&](Calvox_EventType type, int h, unsigned char* data, int length) {
            EXPECT_EQ(type, Calvox_Event_Progress);
            EXPECT_EQ(h, handle);
            EXPECT_EQ(data, nullptr);
            progress.push_back(length);
            return length == cancelAt ? 1 : 0;
        };
        return CalvoxAPI_UploadFile(handle, path.c_str(), "/Audio", nullptr, &callback);
    }

    // The steps the recorder was asked for, in order. A request sent again because its answer was late (a
    // loaded machine) is the same datagram: it counts once.
    std::vector<uint8_t> SubCodes() const
    {
        std::vector<uint8_t> steps;
        const std::vector<uint8_t>* previous = nullptr;
        const auto payloads = Payloads(28);
        for (const auto& p : payloads) {
            if (previous == nullptr || p != *previous)
                steps.push_back(p.empty() ? 255 : p[0]);
            previous = &p;
        }
        return steps;
    }

    std::vector<int> progress;
};

TEST_F(UploadTest, FourKilobytesGoInThreeBlocksWithQuarterProgressThenEnd)
{
    // At the real wait: the recorder syncs the file before it acknowledges the end, and on a busy machine that
    // took longer than a scaled-down try, so the end was sent twice.
    SetTimeScale(1);
    const auto bytes = RandomBytes(4096, 1);
    ASSERT_EQ(Upload(bytes), 0);
    EXPECT_EQ(WithState<emu::FileStore>([](emu::FileStore& s) { return s.uploadBlockSizes; }),
              (std::vector<uint32_t>{1366, 1366, 1364}));
    EXPECT_EQ(progress, (std::vector<int>{25, 50, 75, 100}));
    EXPECT_EQ(SubCodes(), (std::vector<uint8_t>{0, 1, 1, 1, 2}));
    const auto begin = Payloads(28).front();
    EXPECT_EQ(std::string(begin.begin() + 2, begin.begin() + 2 + begin[1]), "/Audio/hello.wav");
    EXPECT_EQ(ReadFile(storage.Path() + "/Audio/hello.wav"), bytes);
}

TEST_F(UploadTest, OneByteReportsOneHundredOnce)
{
    ASSERT_EQ(Upload({0x42}), 0);
    EXPECT_EQ(progress, (std::vector<int>{100}));
    EXPECT_EQ(SubCodes(), (std::vector<uint8_t>{0, 1, 2}));
    EXPECT_EQ(ReadFile(storage.Path() + "/Audio/hello.wav"), (std::vector<uint8_t>{0x42}));
}

TEST_F(UploadTest, DeviceNameReplacesTheLocalName)
{
    const std::string path = local.Path() + "/local.bin";
    WriteFile(path, {1, 2, 3});
    ASSERT_EQ(CalvoxAPI_UploadFile(handle, path.c_str(), "/Audio", "greeting.wav", &kIgnoreProgress), 0);
    EXPECT_EQ(ReadFile(storage.Path() + "/Audio/greeting.wav"), (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(UploadTest, LocalProblemsAreReportedBeforeAnythingIsSent)
{
    WriteFile(local.Path() + "/empty.wav", {});
    WriteFile(local.Path() + "/" + std::string(28, 'n'), {1});
    WriteFile(local.Path() + "/" + std::string(27, 'n'), {1});
    WriteFile(local.Path() + "/caf\xC3\xA9.wav", {1});
    WriteFile(local.Path() + "/ok.wav", {1});
    std::filesystem::create_directory(local.Path() + "/folder.wav");
    const std::string longFolder = "/" + std::string(250, 'f');
    struct Case {
        std::string path;
        const char* folder;
        int result;
    } cases[] = {
        {local.Path() + "/missing.wav", "/Audio", Calvox_Result_FileError},
        {local.Path() + "/folder.wav", "/Audio", Calvox_Result_FileError},
        {local.Path() + "/empty.wav", "/Audio", Calvox_Result_EmptyFile},
        {local.Path() + "/" + std::string(28, 'n'), "/Audio", Calvox_Result_InvalidArgument},
        {local.Path() + "/caf\xC3\xA9.wav", "/Audio", Calvox_Result_InvalidArgument},
        // folder, "/" and name: 251 + 1 + 6 bytes do not fit the length byte
        {local.Path() + "/ok.wav", longFolder.c_str(), Calvox_Result_InvalidArgument},
        {local.Path() + "/ok.wav", nullptr, Calvox_Result_InvalidArgument},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CalvoxAPI_UploadFile(handle, c.path.c_str(), c.folder, nullptr, &kIgnoreProgress), c.result) << c.path;
    EXPECT_EQ(recorder->CountRequests(28), 0u);
    // The name counts from the last backslash too; 27 ASCII bytes is the longest name.
    const std::string windowsStyle = local.Path() + "/C:\\Users\\" + std::string(27, 'n');
    WriteFile(windowsStyle, {7});
    EXPECT_EQ(CalvoxAPI_UploadFile(handle, windowsStyle.c_str(), "/Audio", nullptr, &kIgnoreProgress), 0);
    EXPECT_EQ(ReadFile(storage.Path() + "/Audio/" + std::string(27, 'n')), (std::vector<uint8_t>{7}));
}

TEST_F(UploadTest, NonzeroCallbackCancelsAndTellsTheRecorder)
{
    ASSERT_EQ(Upload(RandomBytes(4096, 2), "hello.wav", 50), Calvox_Result_Refused);
    EXPECT_EQ(progress, (std::vector<int>{25, 50}));
    EXPECT_EQ(SubCodes(), (std::vector<uint8_t>{0, 1, 1, 3}));
    EXPECT_EQ(WithState<emu::FileStore>([](emu::FileStore& s) { return s.uploadsCancelled; }), 1);
    EXPECT_FALSE(std::filesystem::exists(storage.Path() + "/Audio/hello.wav"));
}

int CancelAtOnce(Calvox_EventType, int, unsigned char*, int) { return 1; }

TEST_F(UploadTest, CVariantCancelsAtTheFirstProgress)
{
    const std::string path = local.Path() + "/c.wav";
    WriteFile(path, RandomBytes(5000, 3));
    EXPECT_EQ(CalvoxAPI_C_UploadFile(handle, path.c_str(), "/Audio", nullptr, CancelAtOnce), Calvox_Result_Refused);
    EXPECT_EQ(SubCodes(), (std::vector<uint8_t>{0, 1, 3}));
}

TEST_F(UploadTest, RecorderRefusalEndsTheUploadWithItsStatus)
{
    const std::string path = local.Path() + "/x.wav";
    WriteFile(path, {1, 2});
    EXPECT_EQ(CalvoxAPI_UploadFile(handle, path.c_str(), "/../etc", nullptr, &kIgnoreProgress), emu::kStatusPathRefused);
    EXPECT_EQ(SubCodes(), (std::vector<uint8_t>{0}));
}

TEST_F(UploadTest, LostDatagramsBothWaysAreRetriedAndStoredOnce)
{
    emu::Faults faults;
    faults.seed = 11;
    faults.dropRequests = 0.05;
    faults.dropReplies = 0.05;
    recorder->SetFaults(faults);
    const auto bytes = RandomBytes(64 * 1024, 4);
    ASSERT_EQ(Upload(bytes), 0);
    EXPECT_EQ(ReadFile(storage.Path() + "/Audio/hello.wav"), bytes);
}

// The answer to block 0 comes a second time, late, while block 1 waits for its own. Taking it for block 1's
// acknowledgement would skip block 1 on the recorder.
TEST_F(UploadTest, LateAcknowledgementOfAnEarlierBlockIsNotTheNextOnes)
{
    const emu::Handler normal = *emu::DefaultCommands().Find(28);
    std::atomic<int> block1Seen{0};
    recorder->SetHandler(28, [&](emu::Exchange& x) {
        const auto& p = x.request.payload;
        if (p.size() >= 8 && p[0] == kUploadData && emu::GetU32(p, 4) == 1 && ++block1Seen == 1) {
            std::vector<uint8_t> staleAck(8, 0);
            staleAck[0] = kUploadData;  // block number 0 echoed
            x.Reply(0, staleAck);
            return;  // block 1 itself is lost this time
        }
        normal(x);
    });
    const auto bytes = RandomBytes(4096, 5);
    ASSERT_EQ(Upload(bytes), 0);
    EXPECT_EQ(block1Seen, 2);
    EXPECT_EQ(ReadFile(storage.Path() + "/Audio/hello.wav"), bytes);
}

TEST_F(UploadTest, SilentRecorderGivesNoReply)
{
    recorder->SetHandler(28, {});
    const std::string path = local.Path() + "/x.wav";
    WriteFile(path, {1});
    EXPECT_EQ(CalvoxAPI_UploadFile(handle, path.c_str(), "/Audio", nullptr, &kIgnoreProgress), Calvox_Result_NoReply);
    EXPECT_EQ(recorder->CountRequests(28), 5u);
}

// The begin step answered only by acknowledgements of an earlier upload's block, every 100 ms for 30 s: each
// try still ends one time-out after its send.
TEST_F(UploadTest, AFloodOfStaleAcknowledgementsDoesNotStretchAStep)
{
    SetTimeScale(0.1);  // five tries of 200 ms
    std::vector<uint8_t> staleAck(8, 0);
    staleAck[0] = kUploadData;
    DatagramStream flood(*recorder, Datagram(1, 28, 0, staleAck));
    recorder->SetHandler(28, [&flood](emu::Exchange& x) { flood.Start(x.request.from); });
    const std::string path = local.Path() + "/x.wav";
    WriteFile(path, {1});
    using std::chrono::steady_clock;
    const steady_clock::time_point start = steady_clock::now();
    EXPECT_EQ(CalvoxAPI_UploadFile(handle, path.c_str(), "/Audio", nullptr, &kIgnoreProgress), Calvox_Result_NoReply);
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(steady_clock::now() - start);
    EXPECT_LT(elapsed.count(), 5 * 200 + 1000);
    EXPECT_EQ(recorder->CountRequests(28), 5u);
}

}  // namespace
