// The user commands (24 to 27) work on the accounts the login checks (LoginState::users), so an account added
// through them can log in. The recorder serves its table as a fixed number of 48-byte wire entries: [0] name
// length (0 = empty slot), [1..19] name, [20..35] password MD5, [36..43] channel mask, [44..47] permission word.
//
// Per recorder through Recorder::State<UserSlots>(); tests edit it holding Recorder::StateMutex().
#pragma once

#include "EmuSessions.h"

#include <cstdint>
#include <vector>

namespace calvox::emu {

constexpr uint8_t kStatusNameExists = 102;
constexpr uint8_t kStatusTableFull = 103;
constexpr uint8_t kStatusNoSuchUser = 104;

struct UserSlots {
    size_t slots = 32;  // 32 x 48 bytes: more than one part of 1364 bytes
};

// The table as served: max(slots, accounts) wire entries, the accounts first.
std::vector<uint8_t> UserTableWire(const LoginState& login, size_t slots);

}  // namespace calvox::emu
