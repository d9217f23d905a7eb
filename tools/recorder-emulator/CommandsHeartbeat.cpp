// Command 4, the heartbeat: the recorder's state summary (EmuHeartbeat.h). The six request bytes (the header
// of the previous reply, as the SDK repeats it) are not checked.
#include "EmuHeartbeat.h"

namespace calvox::emu {

void RegisterCommandsHeartbeat(CommandTable& table)
{
    table.Register(4, [](Exchange& x) {
        std::vector<uint8_t> summary = HeartbeatSummary(x.recorder);
        HeartbeatState& h = x.recorder.State<HeartbeatState>();
        if (h.shortReplies > 0) {
            --h.shortReplies;
            summary.resize(4);
        }
        x.Reply(0, summary);
    });
}

}  // namespace calvox::emu
