// The user table commands against the emulated recorder: reading in parts, add, edit, delete, the recorder's
// refusals, and hostile table sizes and name lengths.
#include "FilesFixture.h"

#include "EmuUsers.h"
#include "Md5.h"

#include <cstring>

using namespace calvox;
using namespace calvox::test;

namespace {

emu::UserAccount Account(const std::string& name, uint64_t mask, uint32_t permission)
{
    emu::UserAccount u;
    u.name = name;
    Md5OfText(("pw-" + name).c_str(), u.passwordMd5.data());
    u.channelMask = mask;
    u.permission = permission;
    return u;
}

Calvox_UserInfo Info(const std::string& name, bool manageUsers = false)
{
    Calvox_UserInfo u{};
    std::memcpy(u.Name, name.data(), std::min<size_t>(name.size(), sizeof u.Name));
    u.ManageUsers = manageUsers;
    u.Download = 1;
    u.Channels[0] = 1;
    u.Channels[63] = 1;
    return u;
}

std::array<uint8_t, 16> Md5Of(const char* text)
{
    std::array<uint8_t, 16> digest{};
    Md5OfText(text, digest.data());
    return digest;
}

class UsersTest : public FilesFixture {
protected:
    // The recorder's accounts (its default administrator included).
    std::vector<emu::UserAccount> Accounts()
    {
        return WithState<emu::LoginState>([](emu::LoginState& l) { return l.users; });
    }
    const emu::UserAccount* Find(const std::vector<emu::UserAccount>& accounts, const std::string& name)
    {
        for (const emu::UserAccount& a : accounts)
            if (a.name == name)
                return &a;
        return nullptr;
    }
};

TEST_F(UsersTest, TableLargerThanOnePartIsReadInParts)
{
    WithState<emu::UserSlots>([](emu::UserSlots& s) { s.slots = 40; });  // 1920 bytes: parts of 1364 and 556
    WithState<emu::LoginState>([](emu::LoginState& l) {
        l.users.clear();
        for (int i = 0; i < 30; ++i)
            l.users.push_back(Account("user" + std::to_string(i), 1ull << i, static_cast<uint32_t>(i % 32)));
    });
    ASSERT_EQ(CalvoxAPI_GetUserList(handle), 0);
    const auto requests = Payloads(24);
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0][0], 0);
    EXPECT_EQ(emu::GetU32(requests[1], 4), 0u);
    EXPECT_EQ(requests[1][8] | (requests[1][9] << 8), 1364);
    EXPECT_EQ(emu::GetU32(requests[2], 4), 1364u);
    EXPECT_EQ(requests[2][8] | (requests[2][9] << 8), 556);

    const Calvox_UserList* list = CalvoxAPI_UserList(handle);
    ASSERT_EQ(list->Count, 30u);
    for (int i = 0; i < 30; ++i) {
        const Calvox_UserInfo& u = list->Entries[i];
        const std::string name = "user" + std::to_string(i);
        EXPECT_EQ(u.NameLength, name.size());
        EXPECT_EQ(std::string(u.Name, u.NameLength), name);
        const uint8_t permissions[5] = {u.ManageUsers, u.ChangeSetting, u.Download, u.Delete, u.Monitor};
        for (int k = 0; k < 5; ++k)
            EXPECT_EQ(permissions[k], (i % 32 >> k) & 1) << name << " bit " << k;
        for (int c = 0; c < 64; ++c)
            EXPECT_EQ(u.Channels[c], c == i ? 1 : 0) << name << " channel " << c;
    }
}

TEST_F(UsersTest, AddEditDeleteReachTheRecorder)
{
    Calvox_UserInfo u = Info("clerk");
    ASSERT_EQ(CalvoxAPI_AddUser(handle, &u, "secret"), 0);
    auto stored = Accounts();
    const emu::UserAccount* clerk = Find(stored, "clerk");
    ASSERT_NE(clerk, nullptr);
    EXPECT_EQ(clerk->passwordMd5, Md5Of("secret"));
    EXPECT_EQ(clerk->channelMask, (1ull << 0) | (1ull << 63));
    EXPECT_EQ(clerk->permission, static_cast<uint32_t>(Calvox_Permission_Download));

    // Without a password the recorder keeps the old one.
    u.Monitor = 1;
    u.Channels[63] = 0;
    ASSERT_EQ(CalvoxAPI_EditUser(handle, &u, nullptr), 0);
    stored = Accounts();
    clerk = Find(stored, "clerk");
    ASSERT_NE(clerk, nullptr);
    EXPECT_EQ(clerk->passwordMd5, Md5Of("secret"));
    EXPECT_EQ(clerk->channelMask, 1ull);
    EXPECT_EQ(clerk->permission, static_cast<uint32_t>(Calvox_Permission_Download | Calvox_Permission_Monitor));
    EXPECT_EQ(Payloads(26).back()[0], 0);
    ASSERT_EQ(CalvoxAPI_EditUser(handle, &u, "changed"), 0);
    stored = Accounts();
    ASSERT_NE(Find(stored, "clerk"), nullptr);
    EXPECT_EQ(Find(stored, "clerk")->passwordMd5, Md5Of("changed"));

    ASSERT_EQ(CalvoxAPI_DeleteUser(handle, &u), 0);
    EXPECT_EQ(Find(Accounts(), "clerk"), nullptr);
    EXPECT_EQ(CalvoxAPI_DeleteUser(handle, &u), emu::kStatusNoSuchUser);
}

TEST_F(UsersTest, RecorderRefusesAnExistingNameAndAFullTable)
{
    WithState<emu::UserSlots>([](emu::UserSlots& s) { s.slots = 3; });  // the administrator takes one
    Calvox_UserInfo a = Info("a"), b = Info("b"), c = Info("c");
    EXPECT_EQ(CalvoxAPI_AddUser(handle, &a, "x"), 0);
    EXPECT_EQ(CalvoxAPI_AddUser(handle, &a, "x"), 102);
    EXPECT_EQ(CalvoxAPI_AddUser(handle, &b, "x"), 0);
    EXPECT_EQ(CalvoxAPI_AddUser(handle, &c, "x"), 103);
}

// A 19-character name fills its field without a terminator; the permission bytes behind it are not part of it.
TEST_F(UsersTest, NineteenCharacterNameWithManageUsersIsAccepted)
{
    const std::string name(19, 'N');
    Calvox_UserInfo u = Info(name, true);
    ASSERT_EQ(CalvoxAPI_AddUser(handle, &u, "pw"), 0);
    EXPECT_EQ(Payloads(25).back()[0], 19);
    ASSERT_EQ(CalvoxAPI_EditUser(handle, &u, "pw2"), 0);
    EXPECT_EQ(Payloads(26).back()[4], 19);
    ASSERT_EQ(CalvoxAPI_GetUserList(handle), 0);
    const Calvox_UserList* list = CalvoxAPI_UserList(handle);
    ASSERT_EQ(list->Count, 2u);  // the administrator first
    EXPECT_EQ(list->Entries[1].NameLength, 19);
    EXPECT_EQ(std::string(list->Entries[1].Name, 19), name);
    EXPECT_EQ(list->Entries[1].ManageUsers, 1);
    ASSERT_EQ(CalvoxAPI_DeleteUser(handle, &u), 0);
    EXPECT_EQ(Payloads(27).back()[0], 19);

    Calvox_UserInfo empty{};
    EXPECT_EQ(CalvoxAPI_AddUser(handle, &empty, "pw"), Calvox_Result_InvalidArgument);
    EXPECT_EQ(CalvoxAPI_AddUser(handle, nullptr, "pw"), Calvox_Result_InvalidArgument);
    EXPECT_EQ(recorder->CountRequests(25), 1u);
}

// Scripted tables: the size the recorder announces and the parts it sends.
TEST_F(UsersTest, HostileSizesAndNameLengths)
{
    struct Case {
        const char* what;
        int sizeReplyLength;           // bytes of the size reply's payload
        uint32_t total;                // the announced size
        int partDelta;                 // added to each part reply's length
        int result;
        uint32_t count;                // entries afterwards
    } cases[] = {
        {"size reply too short", 3, 96, 0, Calvox_Result_Refused, 0},
        {"size reply too long", 5, 96, 0, Calvox_Result_Refused, 0},
        {"four gigabytes announced", 4, 0xFFFFFFFFu, 0, Calvox_Result_Refused, 0},
        {"part too short", 4, 96, -1, Calvox_Result_Refused, 0},
        {"part too long", 4, 96, +1, Calvox_Result_Refused, 0},
        {"100 bytes: two entries, 4 spare bytes", 4, 100, 0, 0, 2},
        {"below one entry", 4, 47, 0, 0, 0},
    };
    for (const Case& c : cases) {
        // The case is copied: the recorder's thread may still answer a late retry after the test has ended.
        recorder->SetHandler(24, [c](emu::Exchange& x) {
            const auto& p = x.request.payload;
            if (p[0] == 0) {
                std::vector<uint8_t> size;
                emu::PutU32(size, 0, c.total);
                size.resize(static_cast<size_t>(c.sizeReplyLength));
                x.Reply(0, size);
                return;
            }
            const uint32_t length = static_cast<uint32_t>(p[8] | (p[9] << 8));
            std::vector<uint8_t> part(static_cast<size_t>(static_cast<int>(length) + c.partDelta), 0);
            // Entries with names whose length byte claims 200.
            for (size_t at = 0; at + 48 <= part.size(); at += 48) {
                part[at] = 200;
                std::memset(part.data() + at + 1, 'x', 19);
                part[at + 20] = 0x7F;  // into the password digest: never part of a name
            }
            x.Reply(0, part);
        });
        EXPECT_EQ(CalvoxAPI_GetUserList(handle), c.result) << c.what;
        const Calvox_UserList* list = CalvoxAPI_UserList(handle);
        EXPECT_EQ(list->Count, c.count) << c.what;
        for (uint32_t i = 0; i < list->Count; ++i) {
            EXPECT_EQ(list->Entries[i].NameLength, 19) << c.what;
            EXPECT_EQ(std::string(list->Entries[i].Name, 19), std::string(19, 'x')) << c.what;
        }
    }
}

// The user commands and the login share the recorder's accounts: an administrator logged in adds a clerk,
// who can then log in with the password given, with the permissions given.
TEST_F(UsersTest, AddedUserLogsIn)
{
    ASSERT_EQ(CalvoxAPI_SetNetAddr(handle, "127.0.0.1", recorder->Port()), 0);
    ASSERT_EQ(CalvoxAPI_SetUserPassword(handle, emu::kDefaultUser, 5, emu::kDefaultPassword), 0);
    ASSERT_EQ(CalvoxAPI_Login(handle, 0), 0);
    Calvox_UserInfo clerk = Info("clerk");
    ASSERT_EQ(CalvoxAPI_AddUser(handle, &clerk, "s3cret"), 0);

    ASSERT_EQ(CalvoxAPI_SetUserPassword(handle, "clerk", 5, "wrong"), 0);
    EXPECT_EQ(CalvoxAPI_Login(handle, 0), 101);
    ASSERT_EQ(CalvoxAPI_SetUserPassword(handle, "clerk", 5, "s3cret"), 0);
    ASSERT_EQ(CalvoxAPI_Login(handle, 0), 0);
    EXPECT_EQ(CalvoxAPI_Permission_Download(handle), 1);
    EXPECT_EQ(CalvoxAPI_Permission_ManageUsers(handle), 0);
    EXPECT_EQ(CalvoxAPI_Permission_Channel(handle, 0), 1);
    EXPECT_EQ(CalvoxAPI_Permission_Channel(handle, 1), 0);

    // Logged in, the file commands work as before.
    WriteFile(storage.Path() + "/f.bin", RandomBytes(3000, 9));
    const Calvox_EventCallback ignore = [](Calvox_EventType, int, unsigned char*, int) { return 0; };
    EXPECT_EQ(CalvoxAPI_DownloadFile(handle, "/f.bin", &ignore), 0);
}

}  // namespace
