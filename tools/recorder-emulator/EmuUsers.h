// The emulated recorder's user table as the user commands (24 to 27) see it: a fixed number of slots, served
// as 48-byte wire entries ([0] name length, 0 = empty slot; [1..19] name; [20..35] password MD5; [36..43]
// channel mask; [44..47] permission word).
//
// Per recorder through Recorder::State<UserTable>(); tests edit it holding Recorder::StateMutex().
#pragma once

#include "Emulator.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace calvox::emu {

constexpr uint8_t kStatusNameExists = 102;
constexpr uint8_t kStatusTableFull = 103;
constexpr uint8_t kStatusNoSuchUser = 104;

struct TableUser {
    std::string name;  // 1 to 19 bytes
    std::array<uint8_t, 16> passwordMd5{};
    uint64_t channelMask = ~0ull;
    uint32_t permission = 0x1F;
};

struct UserTable {
    size_t slots = 32;  // 32 x 48 bytes: more than one part of 1364 bytes
    std::vector<TableUser> users;
    TableUser* Find(const std::string& name);
    std::vector<uint8_t> Wire() const;  // slots x 48 bytes
};

}  // namespace calvox::emu
