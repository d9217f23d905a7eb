// TEMPORARY: login (any user) and the status commands 5, 8, 9 and 10 over the records of EmuStatusStandIns.cpp,
// until the emulator's login and status command family is on this branch; then this file goes.
#include "EmuHeartbeat.h"

#include <cstring>

namespace calvox::emu {

void RegisterCommandsStatusStandIns(CommandTable& table)
{
    table.Register(3, [](Exchange& x) {
        std::vector<uint8_t> reply;
        PutU32(reply, 0, 0x02010305);
        PutU32(reply, 4, 0xFFFFFFFF);
        PutU32(reply, 8, 0xFFFFFFFF);
        PutU32(reply, 12, 0x1F);
        x.Reply(0, reply);
    });
    table.Register(5, [](Exchange& x) {
        std::vector<uint8_t> reply;
        PutU32(reply, 0, 30000);
        PutU32(reply, 4, 12000);
        PutU32(reply, 8, StorageStateField(x.recorder));
        x.Reply(0, reply);
    });
    table.Register(8, [](Exchange& x) {
        if (x.request.payload.empty() || x.request.payload[0] >= x.recorder.Channels()) {
            x.Reply(5);
            return;
        }
        const int channel = x.request.payload[0];
        std::vector<uint8_t> reply(4 + 24, 0);
        reply[0] = static_cast<uint8_t>(channel);
        std::memcpy(reply.data() + 4, ChannelStatusRecord(x.recorder, channel).data(), 24);
        x.Reply(0, reply);
    });
    table.Register(9, [](Exchange& x) {
        std::vector<uint8_t> reply(4 + 40, 0);
        reply[0] = 1;
        reply[4] = 5;
        std::memcpy(reply.data() + 5, "admin", 5);
        x.Reply(0, reply);
    });
    table.Register(10, [](Exchange& x) {
        if (x.request.payload.empty() || x.request.payload[0] >= x.recorder.Channels()) {
            x.Reply(5);
            return;
        }
        const auto& record = CurrentRecordRecord(x.recorder, x.request.payload[0]);
        x.Reply(0, record.data(), record.size());
    });
}

}  // namespace calvox::emu
