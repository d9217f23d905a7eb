// Status, settings and line-control commands against the emulated recorder: every group round-trips byte for
// byte, the limits and checks before a Set, and what each line command puts on the wire.
#include "DeviceCommands.h"
#include "Request.h"
#include "SdkVersion.h"
#include "EmuFiles.h"
#include "EmuRecords.h"
#include "SessionFixture.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace calvox::test {
namespace {

using DeviceCommandsTest = SessionFixture;

std::vector<uint8_t> Pattern(size_t size, int seed)
{
    std::vector<uint8_t> v(size);
    for (size_t i = 0; i < size; ++i)
        v[i] = static_cast<uint8_t>(i * 7 + seed * 31 + 1);
    return v;
}

std::vector<uint8_t> Bytes(const void* data, size_t size)
{
    const auto* p = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(p, p + size);
}

std::vector<uint8_t> Marked(const uint8_t* record, size_t size, size_t at = 0)
{
    std::vector<uint8_t> v(at, 0);
    const uint8_t marker[4] = {0x55, 0xAA, 0xAA, 0x55};
    v.insert(v.end(), marker, marker + 4);
    v.insert(v.end(), record, record + size);
    v.insert(v.end(), marker, marker + 4);
    return v;
}

struct GroupCase {
    const char* name;
    uint8_t setCode;
    size_t size;
    std::function<int(Calvox_DeviceHandle)> get;
    std::function<int(Calvox_DeviceHandle, uint8_t*)> set;
    std::function<const uint8_t*(Calvox_DeviceHandle)> cached;
    std::function<uint8_t*(emu::DeviceRecords&)> stored;
    std::function<void(uint8_t*)> makeValid;  // so a pattern passes the checks unchanged
};

template <class R>
R* As(uint8_t* bytes)
{
    return reinterpret_cast<R*>(bytes);
}

const std::vector<GroupCase>& Groups()
{
    static const std::vector<GroupCase> groups = {
        {"base", 15, 64, CalvoxAPI_GetBaseSetting,
         [](Calvox_DeviceHandle h, uint8_t* r) { return CalvoxAPI_SetBaseSetting(h, As<Calvox_BaseSetting>(r)); },
         [](Calvox_DeviceHandle h) { return CalvoxAPI_BaseSetting(h)->Bytes; },
         [](emu::DeviceRecords& d) { return d.base.data(); },
         [](uint8_t* r) {
             r[2] %= 26;
             r[4] = '#';
             r[7] %= 31;
             r[10] %= 11;
             r[11] %= 11;
         }},
        {"key control", 19, 428, CalvoxAPI_GetKeyControlSetting,
         [](Calvox_DeviceHandle h, uint8_t* r) {
             return CalvoxAPI_SetKeyControlSetting(h, As<Calvox_KeyControlSetting>(r));
         },
         [](Calvox_DeviceHandle h) { return CalvoxAPI_KeyControlSetting(h)->Bytes; },
         [](emu::DeviceRecords& d) { return d.keyControl.data(); },
         [](uint8_t* r) {
             for (int k = 0; k < 10; ++k)
                 r[40 * k + 1] %= 11;
             r[400] %= 11;
         }},
        {"network", 21, 24, CalvoxAPI_GetNetSetting,
         [](Calvox_DeviceHandle h, uint8_t* r) { return CalvoxAPI_SetNetSetting(h, As<Calvox_NetSetting>(r)); },
         [](Calvox_DeviceHandle h) { return reinterpret_cast<const uint8_t*>(CalvoxAPI_NetSetting(h)); },
         [](emu::DeviceRecords& d) { return d.net.data(); }, [](uint8_t*) {}},
        {"SMDR", 23, 64, CalvoxAPI_GetSMDRSetting,
         [](Calvox_DeviceHandle h, uint8_t* r) { return CalvoxAPI_SetSMDRSetting(h, As<Calvox_SMDRSetting>(r)); },
         [](Calvox_DeviceHandle h) { return CalvoxAPI_SMDRSetting(h)->Bytes; },
         [](emu::DeviceRecords& d) { return d.smdr.data(); }, [](uint8_t*) {}},
        {"record time", 41, 120, CalvoxAPI_GetRecordTimeSetting,
         [](Calvox_DeviceHandle h, uint8_t* r) {
             return CalvoxAPI_SetRecordTimeSetting(h, As<Calvox_RecordTimeSetting>(r));
         },
         [](Calvox_DeviceHandle h) { return CalvoxAPI_RecordTimeSetting(h)->Bytes; },
         [](emu::DeviceRecords& d) { return d.recordTime.data(); }, [](uint8_t*) {}},
        {"scheduled restart", 44, 16, CalvoxAPI_GetScheduledRestartSetting,
         [](Calvox_DeviceHandle h, uint8_t* r) {
             return CalvoxAPI_SetScheduledRestartSetting(h, As<Calvox_ScheduledRestartSetting>(r));
         },
         [](Calvox_DeviceHandle h) { return CalvoxAPI_ScheduledRestartSetting(h)->Bytes; },
         [](emu::DeviceRecords& d) { return d.scheduledRestart.data(); },
         [](uint8_t* r) {
             r[1] %= 24;
             r[2] %= 60;
         }},
    };
    return groups;
}

TEST_F(DeviceCommandsTest, EverySettingsGroupRoundTripsByteForByte)
{
    for (const GroupCase& g : Groups()) {
        SCOPED_TRACE(g.name);
        // Get: the recorder's bytes land in the connection's record.
        const std::vector<uint8_t> onDevice = Pattern(g.size, 1);
        WithState<emu::DeviceRecords>(
            [&](emu::DeviceRecords& d) { std::copy(onDevice.begin(), onDevice.end(), g.stored(d)); });
        ASSERT_EQ(g.get(handle), 0);
        EXPECT_EQ(Bytes(g.cached(handle), g.size), onDevice);

        // Set: marker, record, marker on the wire; the recorder and the connection hold the record sent.
        std::vector<uint8_t> record = Pattern(g.size, 2);
        g.makeValid(record.data());
        const std::vector<uint8_t> sent = record;
        ASSERT_EQ(g.set(handle, record.data()), 0);
        EXPECT_EQ(record, sent) << "a valid record is sent unchanged";
        EXPECT_EQ(LastPayload(g.setCode), Marked(sent.data(), g.size));
        const std::vector<uint8_t> stored =
            WithState<emu::DeviceRecords>([&](emu::DeviceRecords& d) { return Bytes(g.stored(d), g.size); });
        EXPECT_EQ(stored, sent);
        EXPECT_EQ(Bytes(g.cached(handle), g.size), sent);

        // And back.
        ASSERT_EQ(g.get(handle), 0);
        EXPECT_EQ(Bytes(g.cached(handle), g.size), sent);
    }
}

TEST_F(DeviceCommandsTest, ChannelSettingsRoundTripPerChannel)
{
    const std::vector<uint8_t> other = WithState<emu::DeviceRecords>(
        [](emu::DeviceRecords& d) { return std::vector<uint8_t>(d.channel[2].begin(), d.channel[2].end()); });
    std::vector<uint8_t> record = Pattern(980, 3);
    record[902] = 4;
    record[903] = 120;
    const std::vector<uint8_t> sent = record;
    ASSERT_EQ(CalvoxAPI_SetChannelSetting(handle, 3, As<Calvox_ChannelSetting>(record.data())), 0);
    std::vector<uint8_t> expected = {3, 0, 0, 0};
    const std::vector<uint8_t> marked = Marked(sent.data(), 980);
    expected.insert(expected.end(), marked.begin(), marked.end());
    EXPECT_EQ(LastPayload(17), expected);
    WithState<emu::DeviceRecords>([&](emu::DeviceRecords& d) {
        EXPECT_EQ(std::vector<uint8_t>(d.channel[3].begin(), d.channel[3].end()), sent);
        EXPECT_EQ(std::vector<uint8_t>(d.channel[2].begin(), d.channel[2].end()), other);
    });

    ASSERT_EQ(CalvoxAPI_GetChannelSetting(handle, 2), 0);
    EXPECT_EQ(Bytes(CalvoxAPI_ChannelSetting(handle, 2), 980), other);
    ASSERT_EQ(CalvoxAPI_GetChannelSetting(handle, 3), 0);
    EXPECT_EQ(Bytes(CalvoxAPI_ChannelSetting(handle, 3), 980), sent);
    EXPECT_EQ(LastPayload(16), std::vector<uint8_t>{3});

    for (int bad : {kChannels, -1, 256}) {
        EXPECT_EQ(CalvoxAPI_GetChannelSetting(handle, bad), 4) << bad;
        EXPECT_EQ(CalvoxAPI_SetChannelSetting(handle, bad, As<Calvox_ChannelSetting>(record.data())), 4) << bad;
    }
    EXPECT_EQ(recorder->CountRequests(16), 2u);
    EXPECT_EQ(recorder->CountRequests(17), 1u);
}

// Each row: a byte of a record, the value the caller puts there, the value sent (and left in the caller's
// record, the recorder's and the connection's copy).
TEST_F(DeviceCommandsTest, LimitsChangeTheCallersRecordBeforeSending)
{
    struct Limit {
        const char* group;
        size_t offset;
        uint8_t given;
        uint8_t sent;
    } const limits[] = {
        {"base", 7, 31, 30},          {"base", 7, 30, 30},          {"base", 10, 11, 10},
        {"base", 11, 255, 10},        {"base", 2, 26, 25},          {"base", 2, 25, 25},
        {"channel", 902, 0, 1},       {"channel", 902, 11, 10},     {"channel", 902, 10, 10},
        {"channel", 903, 201, 200},   {"channel", 903, 200, 200},   {"scheduled restart", 1, 24, 0},
        {"scheduled restart", 1, 23, 23}, {"scheduled restart", 2, 60, 0}, {"scheduled restart", 2, 59, 59},
    };
    for (const Limit& l : limits) {
        SCOPED_TRACE(std::string(l.group) + " [" + std::to_string(l.offset) + "] = " + std::to_string(l.given));
        const std::string group = l.group;
        if (group == "channel") {
            Calvox_ChannelSetting record{};
            record.Bytes[902] = 5;
            record.Bytes[l.offset] = l.given;
            ASSERT_EQ(CalvoxAPI_SetChannelSetting(handle, 1, &record), 0);
            EXPECT_EQ(record.Bytes[l.offset], l.sent);
            EXPECT_EQ(LastPayload(17).at(8 + l.offset), l.sent);
            EXPECT_EQ(CalvoxAPI_ChannelSetting(handle, 1)->Bytes[l.offset], l.sent);
            continue;
        }
        const GroupCase& g = *std::find_if(Groups().begin(), Groups().end(),
                                           [&](const GroupCase& c) { return group == c.name; });
        std::vector<uint8_t> record(g.size, 0);
        record[l.offset] = l.given;
        ASSERT_EQ(g.set(handle, record.data()), 0);
        EXPECT_EQ(record[l.offset], l.sent);
        EXPECT_EQ(LastPayload(g.setCode).at(4 + l.offset), l.sent);
        EXPECT_EQ(g.cached(handle)[l.offset], l.sent);
    }
}

TEST_F(DeviceCommandsTest, RejectedRecordsAreNotSent)
{
    Calvox_BaseSetting base{};
    for (uint8_t outsideLine : {uint8_t(0), uint8_t('#'), uint8_t('*'), uint8_t('0'), uint8_t('9')}) {
        base.Bytes[4] = outsideLine;
        EXPECT_EQ(CalvoxAPI_SetBaseSetting(handle, &base), 0) << int(outsideLine);
    }
    for (uint8_t outsideLine : {uint8_t('A'), uint8_t('/'), uint8_t(':'), uint8_t(0x80)}) {
        base.Bytes[4] = outsideLine;
        base.Bytes[7] = 99;
        EXPECT_EQ(CalvoxAPI_SetBaseSetting(handle, &base), 4) << int(outsideLine);
        EXPECT_EQ(base.Bytes[7], 99) << "the digit check comes first and changes nothing";
    }
    // A loaded machine may answer after a scaled-down try's time-out: the retry repeats the same record. Which
    // records reached the recorder is the point, not how often.
    std::set<int> sent;
    for (const emu::LoggedRequest& request : recorder->Log())
        if (request.command == 15 && request.payload.size() > 4 + 4)
            sent.insert(request.payload[4 + 4]);  // after the marker
    EXPECT_EQ(sent, (std::set<int>{0, '#', '*', '0', '9'}));

    Calvox_KeyControlSetting keys{};
    keys.Bytes[361] = 10;
    keys.Bytes[400] = 10;
    EXPECT_EQ(CalvoxAPI_SetKeyControlSetting(handle, &keys), 0);
    keys.Bytes[361] = 11;  // key length of entry 9
    EXPECT_EQ(CalvoxAPI_SetKeyControlSetting(handle, &keys), 4);
    keys.Bytes[361] = 0;
    keys.Bytes[400] = 11;
    EXPECT_EQ(CalvoxAPI_SetKeyControlSetting(handle, &keys), 4);
    EXPECT_EQ(recorder->CountRequests(19), 1u);

    EXPECT_EQ(CalvoxAPI_SetBaseSetting(handle, nullptr), 4);
    EXPECT_EQ(CalvoxAPI_SetTime(handle, nullptr), 4);
    EXPECT_EQ(CalvoxAPI_GetBaseSetting(0), 4);
}

TEST_F(DeviceCommandsTest, RecorderRefusalOrSilenceLeavesTheRecordAlone)
{
    ASSERT_EQ(CalvoxAPI_GetBaseSetting(handle), 0);
    const std::vector<uint8_t> before = Bytes(CalvoxAPI_BaseSetting(handle), 64);

    recorder->SetHandler(15, [](emu::Exchange& x) { x.Reply(77); });
    Calvox_BaseSetting record{};
    record.Bytes[0] = 42;
    EXPECT_EQ(CalvoxAPI_SetBaseSetting(handle, &record), 77);
    recorder->SetHandler(14, nullptr);
    EXPECT_EQ(CalvoxAPI_GetBaseSetting(handle), 3);
    EXPECT_EQ(Bytes(CalvoxAPI_BaseSetting(handle), 64), before);
}

// The emulator's own check of a Set: what a recorder does with a record that lost a marker or a byte.
TEST_F(DeviceCommandsTest, EmulatorRefusesABadlyFramedSet)
{
    std::vector<uint8_t> good = Marked(Pattern(16, 5).data(), 16);
    std::vector<uint8_t> badFirst = good;
    badFirst[0] = 0x54;
    std::vector<uint8_t> badLast = good;
    badLast.back() = 0;
    std::vector<uint8_t> shortOne(good.begin(), good.end() - 1);
    for (const std::vector<uint8_t>& payload : {badFirst, badLast, shortOne}) {
        uint8_t buffer[4006] = {};
        buffer[3] = 44;
        std::copy(payload.begin(), payload.end(), buffer + 6);
        Calvox_Device& device = *Device();
        std::lock_guard<std::mutex> lock(device.commandMutex);
        EXPECT_EQ(RunCommand(device, buffer, static_cast<int>(payload.size())), emu::kStatusBadRecord);
    }
    const std::vector<uint8_t> stored = WithState<emu::DeviceRecords>(
        [](emu::DeviceRecords& d) { return Bytes(d.scheduledRestart.data(), 16); });
    EXPECT_NE(stored, Pattern(16, 5));
}

TEST_F(DeviceCommandsTest, StatusReadsFillTheirRecords)
{
    WithState<emu::DeviceRecords>([](emu::DeviceRecords& d) {
        d.storageState = 2;
        d.storageSize1 = 1024;
        d.storageSize2 = 77;
        d.voltage[2] = -12;
        d.dateTime = {26, 12, 10, 13, 14, 15, 4};
        for (int i = 0; i < 30; ++i)
            d.currentRecord[1][i] = static_cast<uint8_t>(i + 1);
        d.currentRecord[1][9] = 5;
    });
    ASSERT_EQ(CalvoxAPI_GetStorageStatus(handle), 0);
    EXPECT_EQ(CalvoxAPI_StorageStatus(handle)->State, 2u);
    EXPECT_EQ(CalvoxAPI_StorageStatus(handle)->Size1, 1024u);
    EXPECT_EQ(CalvoxAPI_StorageStatus(handle)->Size2, 77u);

    ASSERT_EQ(CalvoxAPI_GetNetStatus(handle), 0);
    EXPECT_EQ(CalvoxAPI_NetStatus(handle)->Address, htonl(INADDR_LOOPBACK));

    int voltage = 0;
    ASSERT_EQ(CalvoxAPI_GetChannelVoltage(handle, 2, &voltage), 0);
    EXPECT_EQ(voltage, -12);
    EXPECT_EQ(CalvoxAPI_GetChannelVoltage(handle, kChannels, &voltage), 4);
    EXPECT_EQ(CalvoxAPI_GetChannelVoltage(handle, -1, &voltage), 4);

    Calvox_CurrentRecordInfo info{};
    ASSERT_EQ(CalvoxAPI_GetCurrentRecordInfo(handle, 1, &info), 0);
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&info);
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(bytes[i], i == 9 ? 5 : i + 1) << i;
    EXPECT_EQ(info.Index, 7 | 8 << 8);

    ASSERT_EQ(CalvoxAPI_GetTime(handle), 0);
    EXPECT_EQ(CalvoxAPI_DateTime(handle)->Minute, 14);
    const Calvox_DateTime when = {27, 1, 2, 3, 4, 5, 6};
    ASSERT_EQ(CalvoxAPI_SetTime(handle, &when), 0);
    EXPECT_EQ(LastPayload(12), (std::vector<uint8_t>{27, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(CalvoxAPI_DateTime(handle)->Year, 27);
    WithState<emu::DeviceRecords>([](emu::DeviceRecords& d) { EXPECT_EQ(d.dateTime[5], 5); });

    ASSERT_EQ(CalvoxAPI_GetPlayBackFileList(handle), 0);
    EXPECT_EQ(CalvoxAPI_PlayBackFileList(handle)->Count, 2);
    EXPECT_STREQ(CalvoxAPI_PlayBackFileList(handle)->Names[1], "busy.wav");
}

TEST_F(DeviceCommandsTest, WithStorageThePlayBackListIsItsFolderInNameOrderAtMostTwenty)
{
    char folder[] = "/tmp/calvox-playback-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const std::string root = folder;
    const std::string files = root + "/PlayBackFiles";
    ASSERT_EQ(::mkdir(files.c_str(), 0755), 0);
    emu::ServeFiles(*recorder, root);

    ASSERT_EQ(CalvoxAPI_GetPlayBackFileList(handle), 0);
    EXPECT_EQ(CalvoxAPI_PlayBackFileList(handle)->Count, 0);

    std::vector<std::string> made;
    auto make = [&](const std::string& name) {
        if (FILE* f = std::fopen((files + "/" + name).c_str(), "w"))
            std::fclose(f);
        made.push_back(files + "/" + name);
    };
    for (int i = 21; i >= 0; --i)
        make("m" + std::to_string(100 + i) + ".wav");
    make(std::string(27, 'a'));  // fills its slot with the terminator: listed, and first
    make(std::string(28, 'b'));  // cannot be held by a slot: not listed
    ASSERT_EQ(::mkdir((files + "/folder").c_str(), 0755), 0);

    ASSERT_EQ(CalvoxAPI_GetPlayBackFileList(handle), 0);
    const Calvox_PlayBackFileList* list = CalvoxAPI_PlayBackFileList(handle);
    ASSERT_EQ(list->Count, 20);
    EXPECT_EQ(std::string(list->Names[0]), std::string(27, 'a'));
    EXPECT_STREQ(list->Names[1], "m100.wav");
    EXPECT_STREQ(list->Names[19], "m118.wav");

    for (const std::string& path : made)
        ::unlink(path.c_str());
    ::rmdir((files + "/folder").c_str());
    ::rmdir(files.c_str());
    ::rmdir(root.c_str());
}

TEST_F(DeviceCommandsTest, ChannelStatusAndOnlineUsersForTheHeartbeat)
{
    WithState<emu::DeviceRecords>([](emu::DeviceRecords& d) {
        d.channelStatus[1] = {3, 2, 0, 4, '5', '5', '5', '1'};
    });
    Calvox_Device& device = *Device();
    bool stored = false;
    ASSERT_EQ(RefreshChannelStatus(device, 1, &stored), 0);
    EXPECT_TRUE(stored);
    EXPECT_EQ(CalvoxAPI_ChannelStatus(handle, 1)->LineState, Calvox_Phone_Ring);
    EXPECT_EQ(CalvoxAPI_LastPhoneStatus(handle, 1), Calvox_Phone_None);
    EXPECT_EQ(std::string(CalvoxAPI_ChannelStatus(handle, 1)->PhoneNumber, 4), "5551");
    ASSERT_EQ(RefreshChannelStatus(device, 1, &stored), 0);
    EXPECT_EQ(CalvoxAPI_LastPhoneStatus(handle, 1), Calvox_Phone_Ring);
    EXPECT_EQ(RefreshChannelStatus(device, kChannels, &stored), 4);
    EXPECT_EQ(RefreshChannelStatus(device, -1, &stored), 4);

    ASSERT_EQ(LoginAs("admin", "admin"), 0);
    ASSERT_EQ(RefreshOnlineUsers(device), 0);
    const Calvox_OnlineUserList* users = CalvoxAPI_OnlineUserList(handle);
    ASSERT_EQ(users->Count, 1);
    EXPECT_EQ(users->Entries[0].NameLength, 5);
    EXPECT_EQ(std::string(users->Entries[0].Name, 5), "admin");
    EXPECT_EQ(users->Entries[0].Address, htonl(INADDR_LOOPBACK));
    EXPECT_EQ(users->Entries[0].ClientVersion, kSdkVersion);
}

TEST_F(DeviceCommandsTest, OffHookSendsStepsOf128)
{
    struct Case {
        int value;
        uint8_t sent;
    } const cases[] = {
        {0, 1}, {127, 1}, {128, 2}, {255, 2}, {256, 3}, {32511, 254}, {32512, 255}, {40000, 255}, {0x7FFFFFFF, 255},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(CalvoxAPI_OffHook(handle, 3, c.value), 0) << c.value;
        EXPECT_EQ(LastPayload(45), (std::vector<uint8_t>{3, c.sent})) << c.value;
    }
    const size_t sent = recorder->CountRequests(45);
    EXPECT_EQ(CalvoxAPI_OffHook(handle, kChannels, 0), 4);
    EXPECT_EQ(CalvoxAPI_OffHook(handle, -1, 0), 4);
    EXPECT_EQ(CalvoxAPI_OffHook(handle, 0, -1), 4);
    EXPECT_EQ(recorder->CountRequests(45), sent);
}

TEST_F(DeviceCommandsTest, LineControlCommands)
{
    ASSERT_EQ(CalvoxAPI_Dial(handle, 2, "0123456789*#", 12), 0);
    const std::vector<uint8_t> dialled = {2, 12, '0', '1', '2', '3', '4', '5', '6', '7', '8', '9', '*', '#'};
    EXPECT_EQ(LastPayload(37), dialled);
    EXPECT_EQ(CalvoxAPI_Dial(handle, kChannels, "1", 1), 4);
    EXPECT_EQ(CalvoxAPI_Dial(handle, 256, "1", 1), 4) << "channel 256 is not channel 0";
    EXPECT_EQ(CalvoxAPI_Dial(handle, -1, "1", 1), 4);
    EXPECT_EQ(CalvoxAPI_Dial(handle, 0, nullptr, 1), 4);
    EXPECT_EQ(recorder->CountRequests(37), 1u);

    const std::string longest(27, 'n');
    ASSERT_EQ(CalvoxAPI_PlayAudioFile(handle, 1, longest.c_str()), 0);
    std::vector<uint8_t> expected = {1};
    expected.insert(expected.end(), longest.begin(), longest.end());
    expected.push_back(0);
    EXPECT_EQ(LastPayload(42), expected);
    EXPECT_EQ(CalvoxAPI_PlayAudioFile(handle, 1, (longest + "x").c_str()), 4);
    EXPECT_EQ(CalvoxAPI_PlayAudioFile(handle, kChannels, "a.wav"), 4);
    EXPECT_EQ(CalvoxAPI_PlayAudioFile(handle, 0, nullptr), 4);
    EXPECT_EQ(recorder->CountRequests(42), 1u);

    ASSERT_EQ(CalvoxAPI_Reboot(handle), 0);
    EXPECT_EQ(WithState<emu::DeviceRecords>([](emu::DeviceRecords& d) { return d.reboots; }), 1);
}

TEST_F(DeviceCommandsTest, SmdrTextIsKeptUpToItsBuffer)
{
    unsigned length = 99;
    const char* text = nullptr;
    WithState<emu::DeviceRecords>([](emu::DeviceRecords& d) { d.smdrText = "EXT 201 0123456"; });
    ASSERT_EQ(CalvoxAPI_GetSMDR(handle, &length, &text), 0);
    ASSERT_EQ(length, 15u);
    EXPECT_EQ(std::string(text, length), "EXT 201 0123456");

    std::string longText;
    for (int i = 0; i < 200; ++i)
        longText += static_cast<char>('a' + i % 26);
    WithState<emu::DeviceRecords>([&](emu::DeviceRecords& d) { d.smdrText = longText; });
    ASSERT_EQ(CalvoxAPI_GetSMDR(handle, &length, &text), 0);
    ASSERT_EQ(length, 100u);
    EXPECT_EQ(std::string(text, length), longText.substr(0, 100));

    EXPECT_EQ(CalvoxAPI_GetSMDR(handle, nullptr, &text), 4);
}

}  // namespace
}  // namespace calvox::test
