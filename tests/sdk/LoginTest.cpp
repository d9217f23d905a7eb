// Direct login against the emulated recorder: credentials, the login request's bytes, what the reply sets,
// and the recorder's refusals.
#include "Login.h"
#include "SessionFixture.h"

#include <string>
#include <vector>

namespace calvox::test {
namespace {

using LoginTest = SessionFixture;

std::string Text(const std::vector<uint8_t>& bytes, size_t from, size_t length)
{
    return std::string(reinterpret_cast<const char*>(bytes.data() + from), length);
}

TEST_F(LoginTest, RightPasswordSetsFirmwarePermissionsAndChannels)
{
    // Channels 0 and 2 of four; ChangeSetting, Download and Monitor.
    AddUser("operator", "secret", 0x5, 0x16);
    WithState<emu::LoginState>([](emu::LoginState& s) { s.firmwareVersion = 0x0201030A; });

    ASSERT_EQ(LoginAs("operator", "secret"), 0);
    EXPECT_STREQ(CalvoxAPI_FirmwareVersion(handle), "2.1.3.10");
    EXPECT_EQ(CalvoxAPI_DeviceChannels(handle), kChannels);
    EXPECT_EQ(CalvoxAPI_Permission_ManageUsers(handle), 0);
    EXPECT_EQ(CalvoxAPI_Permission_ChangeSetting(handle), 1);
    EXPECT_EQ(CalvoxAPI_Permission_Download(handle), 1);
    EXPECT_EQ(CalvoxAPI_Permission_Delete(handle), 0);
    EXPECT_EQ(CalvoxAPI_Permission_Monitor(handle), 1);
    const int expected[kChannels] = {1, 0, 1, 0};
    for (int c = 0; c < kChannels; ++c)
        EXPECT_EQ(CalvoxAPI_Permission_Channel(handle, c), expected[c]) << "channel " << c;

    // The request: ID, SDK version 2.0.7.8 little-endian, MD5 of "secret", name length, name.
    const std::vector<uint8_t> p = LastPayload(3);
    ASSERT_EQ(p.size(), 41u + 8);
    EXPECT_EQ(Text(p, 0, 20), kId);
    EXPECT_EQ(std::vector<uint8_t>(p.begin() + 20, p.begin() + 24), (std::vector<uint8_t>{0x08, 0x07, 0x00, 0x02}));
    const uint8_t secretMd5[16] = {0x5e, 0xbe, 0x22, 0x94, 0xec, 0xd0, 0xe0, 0xf0,
                                   0x8e, 0xab, 0x76, 0x90, 0xd2, 0xa6, 0xee, 0x69};
    EXPECT_EQ(std::memcmp(p.data() + 24, secretMd5, 16), 0);
    EXPECT_EQ(p[40], 8);
    EXPECT_EQ(Text(p, 41, 8), "operator");
}

TEST_F(LoginTest, TheDefaultAccountAndAnEmptyPasswordLogIn)
{
    EXPECT_EQ(LoginAs(emu::kDefaultUser, emu::kDefaultPassword), 0);
    AddUser("guest", "");
    EXPECT_EQ(LoginAs("guest", ""), 0);
    EXPECT_EQ(CalvoxAPI_SetUserPassword(handle, "guest", 5, nullptr), 0);  // no password: the empty one
    EXPECT_EQ(CalvoxAPI_Login(handle, 0), 0);
}

TEST_F(LoginTest, WrongNameOrPasswordGives101AndKeepsWhatTheLastLoginSet)
{
    AddUser("operator", "secret", 0x1, 0x2);
    ASSERT_EQ(LoginAs("operator", "secret"), 0);
    WithState<emu::LoginState>([](emu::LoginState& s) { s.firmwareVersion = 0x09090909; });

    EXPECT_EQ(LoginAs("operator", "Secret"), 101);
    EXPECT_EQ(LoginAs("operato", "secret"), 101);
    EXPECT_STREQ(CalvoxAPI_FirmwareVersion(handle), "2.1.3.5");
    EXPECT_EQ(CalvoxAPI_Permission_ChangeSetting(handle), 1);
    EXPECT_EQ(CalvoxAPI_Permission_Channel(handle, 0), 1);
}

TEST_F(LoginTest, NineteenByteNameIsAcceptedTwentyIsRefusedAndKeepsTheOldName)
{
    const std::string nineteen = "abcdefghijklmnopqrs";
    AddUser(nineteen, "pw");
    ASSERT_EQ(LoginAs(nineteen.c_str(), "pw"), 0);
    EXPECT_EQ(LastPayload(3)[40], 19);

    EXPECT_EQ(CalvoxAPI_SetUserPassword(handle, "abcdefghijklmnopqrst", 20, "other"), 4);
    EXPECT_EQ(CalvoxAPI_SetUserPassword(handle, "x", -1, "other"), 4);
    ASSERT_EQ(CalvoxAPI_Login(handle, 0), 0) << "the refused call must keep the old name and password";
    EXPECT_EQ(Text(LastPayload(3), 41, 19), nineteen);
}

TEST_F(LoginTest, OnlyTheGivenLengthOfTheNameIsSent)
{
    AddUser("adm", "admin");
    ASSERT_EQ(CalvoxAPI_SetUserPassword(handle, "admin", 3, "admin"), 0);
    ASSERT_EQ(CalvoxAPI_Login(handle, 0), 0);
    const std::vector<uint8_t> p = LastPayload(3);
    ASSERT_EQ(p.size(), 41u + 3);
    EXPECT_EQ(Text(p, 41, 3), "adm");
}

TEST_F(LoginTest, TheRecorderChecksTheSdkVersion)
{
    ASSERT_EQ(LoginAs("admin", "admin"), 0);
    WithState<emu::LoginState>([](emu::LoginState& s) { s.requiredSdkVersion = 0x02000709; });
    EXPECT_EQ(CalvoxAPI_Login(handle, 0), emu::kStatusSdkVersion);
}

TEST_F(LoginTest, SessionLimitGivesTwoToANewSourceOnly)
{
    WithState<emu::LoginState>([](emu::LoginState& s) { s.sessionLimit = 1; });
    ASSERT_EQ(LoginAs("admin", "admin"), 0);

    // Another connection has another local port, so it is another session.
    const Calvox_DeviceHandle second = CalvoxAPI_CreateDevice(kId);
    ASSERT_NE(second, 0);
    CalvoxAPI_SetNetAddr(second, "127.0.0.1", recorder->Port());
    CalvoxAPI_SetUserPassword(second, "admin", 5, "admin");
    EXPECT_EQ(CalvoxAPI_Login(second, 0), 2);
    CalvoxAPI_DeleteDevice(second);

    EXPECT_EQ(CalvoxAPI_Login(handle, 0), 0) << "logging in again from the same source is the same session";
}

TEST_F(LoginTest, SilentRecorderGivesThreeAfterFiveTries)
{
    recorder->SetHandler(3, nullptr);
    EXPECT_EQ(LoginAs("admin", "admin"), 3);
    EXPECT_EQ(recorder->CountRequests(3), 5u);
}

TEST_F(LoginTest, UnknownHandleGivesFour)
{
    EXPECT_EQ(CalvoxAPI_SetNetAddr(0, "127.0.0.1", 1), 4);
    EXPECT_EQ(CalvoxAPI_SetUserPassword(987654, "a", 1, "b"), 4);
    EXPECT_EQ(CalvoxAPI_Login(987654, 0), 4);
    EXPECT_EQ(CalvoxAPI_SetNetAddr(handle, nullptr, 1), 4);
}

// The heartbeat's reconnect calls the internal login with the flags stored by the export.
TEST_F(LoginTest, InternalLoginRepeatsTheStoredLogin)
{
    ASSERT_EQ(LoginAs("admin", "admin"), 0);
    EXPECT_EQ(Login(Device().get()), 0);
    EXPECT_EQ(recorder->CountRequests(3), 2u);
}

}  // namespace
}  // namespace calvox::test
