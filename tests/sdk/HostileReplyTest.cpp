// Replies that a faulty or hostile recorder (or relay) might send: too short for what the command reads, or
// announcing more entries or text than they carry. Each must give an error or be held to its field, and never
// make the SDK read or write past a buffer (run under ASan).
#include "DeviceCommands.h"
#include "Login.h"
#include "Request.h"
#include "EmuRecords.h"
#include "SessionFixture.h"

#include <functional>

namespace calvox::test {
namespace {

using HostileReplyTest = SessionFixture;

// Answers `command` with status 0 and exactly these payload bytes.
void Script(emu::Recorder& recorder, uint8_t command, std::vector<uint8_t> payload)
{
    recorder.SetHandler(command, [payload](emu::Exchange& x) { x.Reply(0, payload); });
}

TEST_F(HostileReplyTest, ShortRepliesGiveTwoAndChangeNothing)
{
    struct Case {
        const char* name;
        uint8_t command;
        size_t needed;  // payload bytes the command reads
        std::function<int()> run;
    };
    int voltage = 1234;
    Calvox_CurrentRecordInfo info{};
    info.Year = 99;
    unsigned length = 0;
    const char* text = nullptr;
    const std::vector<Case> cases = {
        {"storage", 5, 12, [&] { return CalvoxAPI_GetStorageStatus(handle); }},
        {"net status", 6, 4, [&] { return CalvoxAPI_GetNetStatus(handle); }},
        {"voltage", 7, 4, [&] { return CalvoxAPI_GetChannelVoltage(handle, 0, &voltage); }},
        {"channel status", 8, 28, [&] { return RefreshChannelStatus(*Device(), 0); }},
        {"online users", 9, 4, [&] { return RefreshOnlineUsers(*Device()); }},
        {"current record", 10, 30, [&] { return CalvoxAPI_GetCurrentRecordInfo(handle, 0, &info); }},
        {"time", 11, 7, [&] { return CalvoxAPI_GetTime(handle); }},
        {"play list", 13, 561, [&] { return CalvoxAPI_GetPlayBackFileList(handle); }},
        {"base", 14, 64, [&] { return CalvoxAPI_GetBaseSetting(handle); }},
        {"channel", 16, 980, [&] { return CalvoxAPI_GetChannelSetting(handle, 0); }},
        {"key control", 18, 428, [&] { return CalvoxAPI_GetKeyControlSetting(handle); }},
        {"network", 20, 24, [&] { return CalvoxAPI_GetNetSetting(handle); }},
        {"SMDR setting", 22, 64, [&] { return CalvoxAPI_GetSMDRSetting(handle); }},
        {"SMDR text", 38, 1, [&] { return CalvoxAPI_GetSMDR(handle, &length, &text); }},
        {"record time", 40, 120, [&] { return CalvoxAPI_GetRecordTimeSetting(handle); }},
        {"scheduled restart", 43, 16, [&] { return CalvoxAPI_GetScheduledRestartSetting(handle); }},
        {"login", 3, 16, [&] { return LoginAs("admin", "admin"); }},
    };
    // Snapshot of everything a short reply could have touched.
    const Calvox_Device& d = *Device();
    auto snapshot = [&] {
        std::vector<uint8_t> s;
        auto add = [&](const void* p, size_t n) {
            s.insert(s.end(), static_cast<const uint8_t*>(p), static_cast<const uint8_t*>(p) + n);
        };
        add(&d.storageStatus, sizeof d.storageStatus);
        add(&d.netStatus, sizeof d.netStatus);
        add(d.channelStatus.data(), sizeof(Calvox_ChannelStatus) * d.channelStatus.size());
        add(&d.dateTime, sizeof d.dateTime);
        add(&d.playBackFileList, sizeof d.playBackFileList);
        add(&d.baseSetting, sizeof d.baseSetting);
        add(d.ChannelSettings(), sizeof(Calvox_ChannelSetting) * static_cast<size_t>(d.channelCount));
        add(&d.keyControlSetting, sizeof d.keyControlSetting);
        add(&d.netSetting, sizeof d.netSetting);
        add(&d.smdrSetting, sizeof d.smdrSetting);
        add(&d.recordTimeSetting, sizeof d.recordTimeSetting);
        add(&d.scheduledRestartSetting, sizeof d.scheduledRestartSetting);
        add(d.firmwareText, sizeof d.firmwareText);
        add(d.channelPermission, sizeof d.channelPermission);
        add(&d.permission, sizeof d.permission);
        s.push_back(static_cast<uint8_t>(d.onlineUserList.Count));
        return s;
    };
    const std::vector<uint8_t> before = snapshot();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (size_t shortBy : {size_t(1), c.needed}) {
            Script(*recorder, c.command, std::vector<uint8_t>(c.needed - shortBy, 0xEE));
            EXPECT_EQ(c.run(), 2) << c.needed - shortBy << " payload bytes";
        }
    }
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(voltage, 1234);
    EXPECT_EQ(info.Year, 99);
    EXPECT_EQ(text, nullptr);
}

TEST_F(HostileReplyTest, OnlineUserCountMustFitTheReply)
{
    std::vector<uint8_t> reply(4 + 2 * 40, 0);
    reply[0] = 3;  // three announced, two carried
    Script(*recorder, 9, reply);
    EXPECT_EQ(RefreshOnlineUsers(*Device()), 2);
    EXPECT_EQ(CalvoxAPI_OnlineUserList(handle)->Count, 0);

    reply[0] = 255;
    Script(*recorder, 9, reply);
    EXPECT_EQ(RefreshOnlineUsers(*Device()), 2);

    // Two entries, the first with a name length past its 19-byte field.
    reply[0] = 2;
    reply[4] = 200;
    std::fill(reply.begin() + 5, reply.begin() + 24, 'n');
    reply[44] = 3;
    std::copy_n("bob", 3, reply.begin() + 45);
    Script(*recorder, 9, reply);
    ASSERT_EQ(RefreshOnlineUsers(*Device()), 0);
    const Calvox_OnlineUserList* users = CalvoxAPI_OnlineUserList(handle);
    ASSERT_EQ(users->Count, 2);
    EXPECT_EQ(users->Entries[0].NameLength, 19);
    EXPECT_EQ(std::string(users->Entries[1].Name, users->Entries[1].NameLength), "bob");

    // An empty list replaces it.
    Script(*recorder, 9, {0, 0, 0, 0});
    ASSERT_EQ(RefreshOnlineUsers(*Device()), 0);
    EXPECT_EQ(CalvoxAPI_OnlineUserList(handle)->Count, 0);
}

TEST_F(HostileReplyTest, SmdrLengthMustFitTheReply)
{
    unsigned length = 0;
    const char* text = nullptr;
    std::vector<uint8_t> reply(1 + 10, 'x');
    reply[0] = 11;
    Script(*recorder, 38, reply);
    EXPECT_EQ(CalvoxAPI_GetSMDR(handle, &length, &text), 2);
    EXPECT_EQ(text, nullptr);

    reply.assign(1 + 255, 'y');
    reply[0] = 255;
    Script(*recorder, 38, reply);
    ASSERT_EQ(CalvoxAPI_GetSMDR(handle, &length, &text), 0);
    EXPECT_EQ(length, 100u);
}

TEST_F(HostileReplyTest, PlayListAndPhoneNumbersAreHeldToTheirFields)
{
    std::vector<uint8_t> list(561, 'z');  // no terminators anywhere
    list[0] = 250;
    Script(*recorder, 13, list);
    ASSERT_EQ(CalvoxAPI_GetPlayBackFileList(handle), 0);
    const Calvox_PlayBackFileList* files = CalvoxAPI_PlayBackFileList(handle);
    EXPECT_EQ(files->Count, 20);
    for (int k = 0; k < 20; ++k)
        EXPECT_EQ(std::strlen(files->Names[k]), 27u) << k;

    std::vector<uint8_t> status(28, 0);
    status[0] = 2;
    status[4 + 3] = 99;  // phone number length past its 20 bytes
    Script(*recorder, 8, status);
    bool stored = false;
    ASSERT_EQ(RefreshChannelStatus(*Device(), 2, &stored), 0);
    EXPECT_TRUE(stored);
    EXPECT_EQ(CalvoxAPI_ChannelStatus(handle, 2)->PhoneNumberLength, 20);

    status[0] = 1;  // answered for another channel: nothing stored
    status[4] = Calvox_Phone_Ring;
    Script(*recorder, 8, status);
    ASSERT_EQ(RefreshChannelStatus(*Device(), 2, &stored), 0);
    EXPECT_FALSE(stored);
    EXPECT_NE(CalvoxAPI_ChannelStatus(handle, 2)->LineState, Calvox_Phone_Ring);
    EXPECT_NE(CalvoxAPI_ChannelStatus(handle, 1)->LineState, Calvox_Phone_Ring);

    std::vector<uint8_t> record(30, 0);
    record[9] = 250;
    Script(*recorder, 10, record);
    Calvox_CurrentRecordInfo info{};
    ASSERT_EQ(CalvoxAPI_GetCurrentRecordInfo(handle, 0, &info), 0);
    EXPECT_EQ(info.PhoneNumberLength, 20);
}

TEST_F(HostileReplyTest, FullSizeDatagramsAreReadOnlyAsFarAsTheRecord)
{
    Script(*recorder, 14, std::vector<uint8_t>(4000, 0xAB));
    ASSERT_EQ(CalvoxAPI_GetBaseSetting(handle), 0);
    EXPECT_EQ(CalvoxAPI_BaseSetting(handle)->Bytes[63], 0xAB);
    Script(*recorder, 16, std::vector<uint8_t>(4000, 0xCD));
    ASSERT_EQ(CalvoxAPI_GetChannelSetting(handle, kChannels - 1), 0);
    EXPECT_EQ(CalvoxAPI_ChannelSetting(handle, kChannels - 1)->Bytes[979], 0xCD);
}

TEST_F(HostileReplyTest, ShortCloudRepliesGiveErrors)
{
    // A stand-in relay that answers the query with only part of its payload.
    emu::Recorder* relay = emulator.Add(emu::RecorderConfig{kId, "127.0.0.1", 0, {}});
    ASSERT_NE(relay, nullptr);
    relay->SetHandler(0, [](emu::Exchange& x) { x.ReplyAs(2, 0, 0, {127, 0, 0, 1, 0x10, 0x20}); });
    SetCloudServer(relay->Address());
    EXPECT_EQ(ConnectViaCloud(*Device()), 2);
    EXPECT_EQ(ntohs(Device()->DeviceAddress().sin_port), recorder->Port());
    SetCloudServer(net::Address{});
}

}  // namespace
}  // namespace calvox::test
