// User table commands: read in parts (24), add (25), edit (26), delete (27).
#include "EmuUsers.h"

#include <algorithm>
#include <cstring>

namespace calvox::emu {

std::vector<uint8_t> UserTableWire(const LoginState& login, size_t slots)
{
    const std::vector<UserAccount>& users = login.users;
    std::vector<uint8_t> wire(std::max(slots, users.size()) * 48, 0);
    for (size_t i = 0; i < users.size(); ++i) {
        uint8_t* e = wire.data() + i * 48;
        const UserAccount& u = users[i];
        e[0] = static_cast<uint8_t>(std::min<size_t>(u.name.size(), 19));
        std::memcpy(e + 1, u.name.data(), e[0]);
        std::memcpy(e + 20, u.passwordMd5.data(), 16);
        for (int k = 0; k < 8; ++k)
            e[36 + k] = static_cast<uint8_t>(u.channelMask >> (8 * k));
        for (int k = 0; k < 4; ++k)
            e[44 + k] = static_cast<uint8_t>(u.permission >> (8 * k));
    }
    return wire;
}

namespace {

uint64_t GetU64(const std::vector<uint8_t>& p, size_t at)
{
    return static_cast<uint64_t>(GetU32(p, at)) | (static_cast<uint64_t>(GetU32(p, at + 4)) << 32);
}

bool ReadName(const std::vector<uint8_t>& p, size_t lengthAt, std::string* name)
{
    const size_t length = p[lengthAt];
    if (length == 0 || length > 19 || p.size() < lengthAt + 1 + length)
        return false;
    name->assign(p.begin() + static_cast<long>(lengthAt + 1), p.begin() + static_cast<long>(lengthAt + 1 + length));
    return true;
}

void GetUserList(Exchange& x)
{
    const std::vector<uint8_t>& p = x.request.payload;
    const std::vector<uint8_t> wire =
        UserTableWire(x.recorder.State<LoginState>(), x.recorder.State<UserSlots>().slots);
    if (p.empty()) {
        x.Reply(kStatusBadRequest);
    } else if (p[0] == 0) {
        std::vector<uint8_t> size;
        PutU32(size, 0, static_cast<uint32_t>(wire.size()));
        x.Reply(0, size);
    } else if (p.size() >= 10) {
        const uint32_t offset = GetU32(p, 4);
        const uint32_t length = static_cast<uint32_t>(p[8] | (p[9] << 8));
        if (offset > wire.size() || length > wire.size() - offset) {
            x.Reply(kStatusBadRequest);
            return;
        }
        x.Reply(0, wire.data() + offset, length);
    } else {
        x.Reply(kStatusBadRequest);
    }
}

void AddUser(Exchange& x)
{
    const std::vector<uint8_t>& p = x.request.payload;
    LoginState& login = x.recorder.State<LoginState>();
    std::string name;
    if (p.size() < 48 || !ReadName(p, 0, &name)) {
        x.Reply(kStatusBadRequest);
        return;
    }
    if (login.FindUser(name)) {
        x.Reply(kStatusNameExists);
        return;
    }
    if (login.users.size() >= x.recorder.State<UserSlots>().slots) {
        x.Reply(kStatusTableFull);
        return;
    }
    UserAccount u;
    u.name = name;
    std::copy(p.begin() + 20, p.begin() + 36, u.passwordMd5.begin());
    u.channelMask = GetU64(p, 36);
    u.permission = GetU32(p, 44);
    login.users.push_back(u);
    x.Reply(0);
}

void EditUser(Exchange& x)
{
    const std::vector<uint8_t>& p = x.request.payload;
    LoginState& login = x.recorder.State<LoginState>();
    std::string name;
    if (p.size() < 52 || !ReadName(p, 4, &name)) {
        x.Reply(kStatusBadRequest);
        return;
    }
    UserAccount* u = login.FindUser(name);
    if (!u) {
        x.Reply(kStatusNoSuchUser);
        return;
    }
    if (p[0] == 1)
        std::copy(p.begin() + 24, p.begin() + 40, u->passwordMd5.begin());
    u->channelMask = GetU64(p, 40);
    u->permission = GetU32(p, 48);
    x.Reply(0);
}

void DeleteUser(Exchange& x)
{
    const std::vector<uint8_t>& p = x.request.payload;
    LoginState& login = x.recorder.State<LoginState>();
    std::string name;
    if (p.size() < 20 || !ReadName(p, 0, &name)) {
        x.Reply(kStatusBadRequest);
        return;
    }
    const auto it = std::find_if(login.users.begin(), login.users.end(),
                                 [&](const UserAccount& u) { return u.name == name; });
    if (it == login.users.end()) {
        x.Reply(kStatusNoSuchUser);
        return;
    }
    login.users.erase(it);
    x.Reply(0);
}

}  // namespace

void RegisterCommandsUsers(CommandTable& table)
{
    table.Register(24, GetUserList);
    table.Register(25, AddUser);
    table.Register(26, EditUser);
    table.Register(27, DeleteUser);
}

}  // namespace calvox::emu
