// The emulated recorder's accounts and logins: a user table keyed by name with the MD5 of each password,
// one session per client source address (a limit on how many), and the "behind NAT" mode in which the recorder
// only hears sources it has been told about (by the cloud relay's punch request).
//
// Per recorder through Recorder::State<LoginState>(); tests edit it holding Recorder::StateMutex().
#pragma once

#include "Emulator.h"

#include <netinet/in.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace calvox::emu {

// Statuses this emulator answers with besides the protocol's own (0 ok, 2 too many users, 101 wrong user or
// password).
constexpr uint8_t kStatusBadRequest = 5;   // payload too short or a field out of range
constexpr uint8_t kStatusBadRecord = 6;    // a Set whose size or markers are wrong
constexpr uint8_t kStatusSdkVersion = 105;  // the login's SDK version is not the one required

// The account every recorder starts with: "admin", password "admin", every permission and channel.
constexpr const char* kDefaultUser = "admin";
constexpr const char* kDefaultPassword = "admin";

using Md5Digest = std::array<uint8_t, 16>;

struct UserAccount {
    std::string name;             // at most 19 bytes
    Md5Digest passwordMd5{};
    uint64_t channelMask = ~0ull;  // bit i = channel i
    uint32_t permission = 0x1F;    // bit 0 ManageUsers .. bit 4 Monitor
};

struct Session {
    sockaddr_in from{};
    std::string user;
    uint32_t sdkVersion = 0;
    uint8_t loginTime[6] = {};  // year - 2000, month, day, hour, minute, second
};

struct LoginState {
    LoginState();

    std::vector<UserAccount> users;
    std::vector<Session> sessions;
    int sessionLimit = 4;
    uint32_t requiredSdkVersion = 0x02000708;  // 0 accepts any
    uint32_t firmwareVersion = 0x02010305;

    bool behindNat = false;
    std::vector<sockaddr_in> natAllowed;  // sources the recorder has sent to

    UserAccount* FindUser(const std::string& name);
    Session* FindSession(const sockaddr_in& from);
    bool NatAllows(const sockaddr_in& from) const;
};

bool SameAddress(const sockaddr_in& a, const sockaddr_in& b);

// Puts the recorder behind an emulated NAT: from now on requests from sources it was not told about
// (AllowThroughNat) go unanswered, whatever the command. Replaces this recorder's command overrides, so call it
// before setting any.
void PutBehindNat(Recorder& recorder);
// The recorder "sends out" to `to`: its NAT lets that source in from now on.
void AllowThroughNat(Recorder& recorder, const sockaddr_in& to);

}  // namespace calvox::emu
