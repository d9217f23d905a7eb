// TEMPORARY: where the status records of EmuHeartbeat.h live until the emulator's status command family is on
// this branch; then these three functions return its records instead and this file goes.
#include "EmuHeartbeat.h"

namespace calvox::emu {

struct StatusStandIn {
    StatusStandIn()
    {
        for (auto& s : channelStatus)
            s[0] = kLineOnHook;
    }
    uint32_t storageState = 1;
    std::array<std::array<uint8_t, 24>, kHeartbeatMaxChannels> channelStatus{};
    std::array<std::array<uint8_t, 30>, kHeartbeatMaxChannels> currentRecord{};
};

std::array<uint8_t, 24>& ChannelStatusRecord(Recorder& r, int channel)
{
    return r.State<StatusStandIn>().channelStatus[static_cast<size_t>(channel)];
}

std::array<uint8_t, 30>& CurrentRecordRecord(Recorder& r, int channel)
{
    return r.State<StatusStandIn>().currentRecord[static_cast<size_t>(channel)];
}

uint32_t& StorageStateField(Recorder& r) { return r.State<StatusStandIn>().storageState; }

}  // namespace calvox::emu
