// What an emulated recorder stores for the status, settings and line-control commands: every record as raw
// bytes of its exact firmware size, so tests can compare what the SDK sends and receives byte for byte.
//
// Per recorder through Recorder::State<DeviceRecords>(); tests edit it holding Recorder::StateMutex().
#pragma once

#include "Emulator.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace calvox::emu {

constexpr uint32_t kSettingMarker = 0x55AAAA55;
constexpr int kEmuMaxChannels = 64;

struct DeviceRecords {
    DeviceRecords();

    // Status.
    uint32_t storageState = 1;
    uint32_t storageSize1 = 30000;  // megabytes
    uint32_t storageSize2 = 12000;
    std::array<uint8_t, 4> netStatus{};  // the recorder's address, network order (0: its bind address)
    std::array<int32_t, kEmuMaxChannels> voltage{};
    std::array<std::array<uint8_t, 24>, kEmuMaxChannels> channelStatus{};
    std::array<std::array<uint8_t, 30>, kEmuMaxChannels> currentRecord{};
    std::array<uint8_t, 7> dateTime{};
    std::array<uint8_t, 561> playBackFiles{};

    // Settings, one per group.
    std::array<uint8_t, 64> base{};
    std::vector<std::array<uint8_t, 980>> channel = std::vector<std::array<uint8_t, 980>>(kEmuMaxChannels);
    std::array<uint8_t, 428> keyControl{};
    std::array<uint8_t, 24> net{};
    std::array<uint8_t, 64> smdr{};
    std::array<uint8_t, 120> recordTime{};
    std::array<uint8_t, 16> scheduledRestart{};

    // Line control.
    std::string smdrText;   // served by command 38 (its length byte can announce up to 255)
    int reboots = 0;
    struct LineRequest {
        uint8_t command;
        int channel;
        std::vector<uint8_t> argument;  // the dialled number, the file name, or the off-hook byte
    };
    std::vector<LineRequest> lineRequests;
};

}  // namespace calvox::emu
