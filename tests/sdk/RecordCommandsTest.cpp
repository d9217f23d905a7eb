// Record and file commands against the emulated recorder's record tree: days, newest and oldest day, notes,
// record deletion with the wait command, file removal and the paths the recorder refuses.
#include "FilesFixture.h"

#include "Datagram.h"

#include "RecordTree.h"

#include <cstring>

using namespace calvox;
using namespace calvox::test;

namespace {

class RecordCommandsTest : public FilesFixture {
protected:
    emu::FixtureRecord Record(uint8_t year, uint8_t month, uint8_t day, int channel, uint8_t hour = 9)
    {
        emu::FixtureRecord r;
        r.year = year;
        r.month = month;
        r.day = day;
        r.hour = hour;
        r.minute = 30;
        r.second = 12;
        r.channel = channel;
        r.talkSeconds = 61;
        r.phone = "5550100";
        return r;
    }

    Calvox_RecordKey Key(const emu::FixtureRecord& r, uint16_t index)
    {
        Calvox_RecordKey k{};
        k.Year = r.year;
        k.Month = r.month;
        k.Day = r.day;
        k.Hour = r.hour;
        k.Minute = r.minute;
        k.Second = r.second;
        k.Channel = static_cast<uint8_t>(r.channel - 1);
        k.HasRecording = 1;
        k.Index[0] = static_cast<uint8_t>(index);
        k.Index[1] = static_cast<uint8_t>(index >> 8);
        return k;
    }

    std::vector<uint8_t> IndexFile(const emu::FixtureRecord& r)
    {
        return ReadFile(storage.Path() + emu::IndexDevicePath(r.year, r.month, r.day, r.channel));
    }
};

TEST_F(RecordCommandsTest, DaysAndNewestAndOldestComeFromTheTree)
{
    uint8_t y = 0, m = 0, d = 0;
    ASSERT_EQ(CalvoxAPI_GetLatestRecordTime(handle, &y, &m, &d), 0);
    EXPECT_EQ((std::vector<int>{y, m, d}), (std::vector<int>{0, 0, 0}));  // no records yet

    for (const auto& r : {Record(24, 3, 15, 3), Record(24, 3, 1, 1), Record(24, 3, 31, 2), Record(23, 12, 5, 1),
                          Record(25, 1, 2, 4)})
        ASSERT_GE(emu::AddFixtureRecord(storage.Path(), r), 0);
    // A day folder without index files holds no records.
    std::filesystem::create_directories(storage.Path() + "/RecordFiles/2403/20");

    uint8_t days[32];
    std::memset(days, 0xEE, sizeof days);
    ASSERT_EQ(CalvoxAPI_GetDayListFromMonthDir(handle, 24, 3, days), 0);
    for (int i = 0; i < 32; ++i)
        EXPECT_EQ(days[i] != 0, i == 1 || i == 15 || i == 31) << i;
    EXPECT_EQ(Payloads(33).back(), (std::vector<uint8_t>{24, 3}));

    ASSERT_EQ(CalvoxAPI_GetLatestRecordTime(handle, &y, &m, &d), 0);
    EXPECT_EQ((std::vector<int>{y, m, d}), (std::vector<int>{25, 1, 2}));
    ASSERT_EQ(CalvoxAPI_GetEarliestRecordTime(handle, &y, &m, &d), 0);
    EXPECT_EQ((std::vector<int>{y, m, d}), (std::vector<int>{23, 12, 5}));
}

TEST_F(RecordCommandsTest, DayListIsClearedOnAnyFailure)
{
    recorder->SetHandler(33, {});
    uint8_t days[32];
    std::memset(days, 0xEE, sizeof days);
    EXPECT_EQ(CalvoxAPI_GetDayListFromMonthDir(handle, 24, 3, days), Calvox_Result_NoReply);
    EXPECT_EQ(std::count(days, days + 32, 0), 32);

    recorder->SetHandler(33, [](emu::Exchange& x) { x.Reply(0, std::vector<uint8_t>(31, 1)); });  // short
    std::memset(days, 0xEE, sizeof days);
    EXPECT_EQ(CalvoxAPI_GetDayListFromMonthDir(handle, 24, 3, days), Calvox_Result_Refused);
    EXPECT_EQ(std::count(days, days + 32, 0), 32);
}

TEST_F(RecordCommandsTest, DeleteAnsweredWithOneWaitsAndSucceeds)
{
    const auto r0 = Record(24, 3, 15, 2, 9), r1 = Record(24, 3, 15, 2, 10);
    ASSERT_EQ(emu::AddFixtureRecord(storage.Path(), r0), 0);
    ASSERT_EQ(emu::AddFixtureRecord(storage.Path(), r1), 1);
    const std::string wav1 =
        storage.Path() + emu::WavDevicePath(r1.year, r1.month, r1.day, r1.hour, r1.minute, r1.second, r1.channel);
    ASSERT_TRUE(std::filesystem::exists(wav1));

    const Calvox_RecordKey key = Key(r1, 1);
    ASSERT_EQ(CalvoxAPI_DeleteRecord(handle, &key), 0);
    EXPECT_EQ(recorder->CountRequests(2), 1u);
    const auto index = IndexFile(r1);
    EXPECT_EQ(index[0], 0x01);                      // record 1 no longer present
    EXPECT_EQ(index[510] | (index[511] << 8), 1);  // one record left
    EXPECT_FALSE(std::filesystem::exists(wav1));
    const auto request = Payloads(35).back();
    ASSERT_EQ(request.size(), 14u);
    EXPECT_EQ(std::memcmp(request.data() + 4, &key, 10), 0);
    // The general wait is back to its normal length.
    EXPECT_EQ(FindDevice(handle)->general->Timeout(), 1000);

    // The recorder reports the record as gone; its status comes back unchanged.
    EXPECT_EQ(CalvoxAPI_DeleteRecord(handle, &key), emu::kStatusNoSuchRecord);
}

TEST_F(RecordCommandsTest, DeleteSucceedsEvenWhenTheWaitGetsNoReply)
{
    recorder->SetHandler(2, {});
    const auto r = Record(24, 3, 15, 1);
    ASSERT_EQ(emu::AddFixtureRecord(storage.Path(), r), 0);
    const Calvox_RecordKey key = Key(r, 0);
    EXPECT_EQ(CalvoxAPI_DeleteRecord(handle, &key), 0);
    EXPECT_EQ(recorder->CountRequests(2), 5u);
}

// A retried delete carries the same sequence byte, so the recorder does not take it for a second delete; the
// next delete carries a new one.
TEST_F(RecordCommandsTest, SequenceByteAdvancesPerDeleteAndMarksRetries)
{
    const auto r = Record(24, 3, 15, 1);
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(emu::AddFixtureRecord(storage.Path(), r), i);
    emu::Faults faults;
    faults.seed = 4;
    faults.dropReplies = 0.4;
    recorder->SetFaults(faults);
    Calvox_RecordKey key = Key(r, 0);
    ASSERT_EQ(CalvoxAPI_DeleteRecord(handle, &key), 0);
    key = Key(r, 1);
    ASSERT_EQ(CalvoxAPI_DeleteRecord(handle, &key), 0);
    std::vector<uint8_t> sequences;
    for (const auto& p : Payloads(35))
        if (sequences.empty() || sequences.back() != p[0])
            sequences.push_back(p[0]);
    EXPECT_EQ(sequences, (std::vector<uint8_t>{1, 2}));
    EXPECT_EQ(WithState<emu::FileStore>([](emu::FileStore& s) { return s.recordsDeleted; }), 2);
    const auto index = IndexFile(r);
    EXPECT_EQ(index[0], 0x04);
    EXPECT_EQ(index[510], 1);
}

TEST_F(RecordCommandsTest, NotesAreWrittenIntoTheEntry)
{
    const auto r = Record(24, 3, 15, 4);
    ASSERT_EQ(emu::AddFixtureRecord(storage.Path(), r), 0);
    ASSERT_EQ(emu::AddFixtureRecord(storage.Path(), r), 1);
    const std::string notes(64, 'n');
    ASSERT_EQ(CalvoxAPI_EditRecordNotes(handle, 1, 24, 3, 15, 3, notes.c_str()), 0);
    auto index = IndexFile(r);
    const size_t entry1 = 512 + 128;
    EXPECT_EQ(std::string(index.begin() + entry1 + 63, index.begin() + entry1 + 127), notes);
    EXPECT_EQ(index[entry1 + 127], 0);
    ASSERT_EQ(CalvoxAPI_EditRecordNotes(handle, 1, 24, 3, 15, 3, "short"), 0);
    index = IndexFile(r);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(index.data() + entry1 + 63)), "short");
    EXPECT_EQ(index[512 + 63], 0);  // record 0 untouched

    const size_t sent = recorder->CountRequests(34);
    EXPECT_EQ(CalvoxAPI_EditRecordNotes(handle, 1, 24, 3, 15, 3, std::string(65, 'n').c_str()),
              Calvox_Result_InvalidArgument);
    // 65536 would travel as 0 and change the first record of the day.
    EXPECT_EQ(CalvoxAPI_EditRecordNotes(handle, 65536, 24, 3, 15, 3, "x"), Calvox_Result_InvalidArgument);
    EXPECT_EQ(CalvoxAPI_EditRecordNotes(handle, -1, 24, 3, 15, 3, "x"), Calvox_Result_InvalidArgument);
    EXPECT_EQ(recorder->CountRequests(34), sent);
    EXPECT_EQ(CalvoxAPI_EditRecordNotes(handle, 2, 24, 3, 15, 3, "x"), emu::kStatusNoSuchRecord);
}

TEST_F(RecordCommandsTest, RemoveFileAndRefusedPaths)
{
    WriteFile(storage.Path() + "/Log/device.log", {1, 2, 3});
    WriteFile(local.Path() + "/outside", {9});
    ASSERT_EQ(CalvoxAPI_RemoveFile(handle, "/Log/device.log"), 0);
    EXPECT_FALSE(std::filesystem::exists(storage.Path() + "/Log/device.log"));
    EXPECT_EQ(CalvoxAPI_RemoveFile(handle, "/Log/device.log"), emu::kStatusNoSuchFile);

    const std::string escape = "/../" + std::filesystem::path(local.Path()).filename().string() + "/outside";
    for (const std::string& path : {escape, std::string("/Log/.."), std::string("Log/x"), std::string("")})
        EXPECT_EQ(CalvoxAPI_RemoveFile(handle, path.c_str()), emu::kStatusPathRefused) << path;
    EXPECT_TRUE(std::filesystem::exists(local.Path() + "/outside"));

    const size_t sent = recorder->CountRequests(30);
    EXPECT_EQ(CalvoxAPI_RemoveFile(handle, ("/" + std::string(kMaxPayload, 'p')).c_str()),
              Calvox_Result_InvalidArgument);
    EXPECT_EQ(CalvoxAPI_RemoveFile(handle, nullptr), Calvox_Result_InvalidArgument);
    EXPECT_EQ(recorder->CountRequests(30), sent);
}

TEST_F(RecordCommandsTest, FixtureFilesHaveTheRecorderLayout)
{
    auto r = Record(24, 3, 15, 3);
    r.notes = "first call";
    ASSERT_EQ(emu::AddFixtureRecord(storage.Path(), r), 0);
    const auto index = IndexFile(r);
    ASSERT_EQ(index.size(), 640u);
    EXPECT_EQ(index[0], 1);
    EXPECT_EQ(index[510], 1);
    const uint8_t head[] = {24, 3, 15, 9, 30, 12, 0, 0, 61, 0, 7};
    EXPECT_EQ(std::memcmp(index.data() + 512, head, sizeof head), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(index.data() + 512 + 63)), "first call");

    const auto wav = ReadFile(storage.Path() + "/RecordFiles/2403/15/CH03/240315093012-CH03.wav");
    ASSERT_GT(wav.size(), 44u + 132u);
    EXPECT_EQ(std::string(wav.begin() + 36, wav.begin() + 40), "Vorn");
    EXPECT_EQ(wav[40], 132);
    EXPECT_EQ(std::memcmp(wav.data() + 44, index.data() + 512, 128), 0);
    EXPECT_EQ(wav[44 + 128], 2);  // channel index from 0

    // Through the SDK, byte for byte.
    std::vector<uint8_t> received;
    Calvox_EventCallback callback = [&](Calvox_EventType type, int, unsigned char* data, int length) {
        if (type == Calvox_Event_FileData)
            received.insert(received.end(), data, data + length);
        return 0;
    };
    ASSERT_EQ(CalvoxAPI_DownloadFile(handle, "/RecordFiles/2403/15/CH03.Index", &callback), 0);
    EXPECT_EQ(received, index);
}

}  // namespace
