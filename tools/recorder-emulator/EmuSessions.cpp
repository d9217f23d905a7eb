#include "EmuSessions.h"

#include <cstring>

namespace calvox::emu {

LoginState::LoginState()
{
    // MD5 of "admin".
    static const Md5Digest kAdminDigest = {0x21, 0x23, 0x2f, 0x29, 0x7a, 0x57, 0xa5, 0xa7,
                                           0x43, 0x89, 0x4a, 0x0e, 0x4a, 0x80, 0x1f, 0xc3};
    users.push_back(UserAccount{kDefaultUser, kAdminDigest});
}

UserAccount* LoginState::FindUser(const std::string& name)
{
    for (UserAccount& u : users)
        if (u.name == name)
            return &u;
    return nullptr;
}

Session* LoginState::FindSession(const sockaddr_in& from)
{
    for (Session& s : sessions)
        if (SameAddress(s.from, from))
            return &s;
    return nullptr;
}

bool LoginState::NatAllows(const sockaddr_in& from) const
{
    if (!behindNat)
        return true;
    for (const sockaddr_in& a : natAllowed)
        if (SameAddress(a, from))
            return true;
    return false;
}

bool SameAddress(const sockaddr_in& a, const sockaddr_in& b)
{
    return a.sin_addr.s_addr == b.sin_addr.s_addr && a.sin_port == b.sin_port;
}

void PutBehindNat(Recorder& recorder)
{
    {
        std::lock_guard<std::mutex> lock(recorder.StateMutex());
        recorder.State<LoginState>().behindNat = true;
    }
    for (int command = 0; command < 256; ++command) {
        recorder.SetHandler(static_cast<uint8_t>(command), [command](Exchange& x) {
            if (!x.recorder.State<LoginState>().NatAllows(x.request.from))
                return;  // the NAT drops it before the recorder sees it
            if (const Handler* handler = DefaultCommands().Find(static_cast<uint8_t>(command)))
                (*handler)(x);
        });
    }
}

void AllowThroughNat(Recorder& recorder, const sockaddr_in& to)
{
    std::lock_guard<std::mutex> lock(recorder.StateMutex());
    LoginState& state = recorder.State<LoginState>();
    for (const sockaddr_in& a : state.natAllowed)
        if (SameAddress(a, to))
            return;
    state.natAllowed.push_back(to);
}

}  // namespace calvox::emu
