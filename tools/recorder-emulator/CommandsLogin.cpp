// Login (command 3) and the answer to a client's hole-punching datagram (command 0).
#include "EmuSessions.h"

#include <algorithm>
#include <cstring>
#include <ctime>

namespace calvox::emu {
namespace {

constexpr size_t kLoginFixedPayload = 41;  // ID 20, SDK version 4, MD5 16, name length 1

void Login(Exchange& x)
{
    const std::vector<uint8_t>& p = x.request.payload;
    if (p.size() < kLoginFixedPayload || p[40] > 19 || p.size() < kLoginFixedPayload + p[40]) {
        x.Reply(kStatusBadRequest);
        return;
    }
    if (std::memcmp(p.data(), x.recorder.Id().data(), std::min<size_t>(20, x.recorder.Id().size())) != 0) {
        x.Reply(kStatusBadRequest);  // a login meant for another recorder
        return;
    }
    LoginState& state = x.recorder.State<LoginState>();
    const uint32_t sdkVersion = GetU32(p, 20);
    if (state.requiredSdkVersion != 0 && sdkVersion != state.requiredSdkVersion) {
        x.Reply(kStatusSdkVersion);
        return;
    }
    const std::string name(reinterpret_cast<const char*>(p.data() + kLoginFixedPayload), p[40]);
    const UserAccount* user = state.FindUser(name);
    if (!user || std::memcmp(user->passwordMd5.data(), p.data() + 24, 16) != 0) {
        x.Reply(101);
        return;
    }
    Session* session = state.FindSession(x.request.from);
    if (!session) {
        if (static_cast<int>(state.sessions.size()) >= state.sessionLimit) {
            x.Reply(2);
            return;
        }
        state.sessions.emplace_back();
        session = &state.sessions.back();
        session->from = x.request.from;
    }
    session->user = name;
    session->sdkVersion = sdkVersion;
    const std::time_t now = std::time(nullptr);
    std::tm t{};
    gmtime_r(&now, &t);
    const uint8_t loginTime[6] = {static_cast<uint8_t>(t.tm_year - 100), static_cast<uint8_t>(t.tm_mon + 1),
                                  static_cast<uint8_t>(t.tm_mday),       static_cast<uint8_t>(t.tm_hour),
                                  static_cast<uint8_t>(t.tm_min),        static_cast<uint8_t>(t.tm_sec)};
    std::memcpy(session->loginTime, loginTime, sizeof loginTime);

    std::vector<uint8_t> reply;
    PutU32(reply, 0, state.firmwareVersion);
    PutU32(reply, 4, static_cast<uint32_t>(user->channelMask));
    PutU32(reply, 8, static_cast<uint32_t>(user->channelMask >> 32));
    PutU32(reply, 12, user->permission);
    x.Reply(0, reply);
}

}  // namespace

void RegisterCommandsLogin(CommandTable& table)
{
    table.Register(0, [](Exchange& x) {
        if (x.request.origin == 0)
            x.Reply(0);  // the punch arrived: the way in is open
    });
    table.Register(3, Login);
}

}  // namespace calvox::emu
