// Line control: dial, SMDR text, reboot, play a file on a line, take a line off hook. The recorder keeps each
// request in DeviceRecords::lineRequests so tests can read what arrived.
#include "EmuRecords.h"
#include "EmuSessions.h"

#include <algorithm>
#include <cstring>

namespace calvox::emu {
namespace {

bool ChannelOk(Exchange& x, size_t minimumPayload)
{
    const std::vector<uint8_t>& p = x.request.payload;
    if (p.size() < minimumPayload || p[0] >= x.recorder.Channels()) {
        x.Reply(kStatusBadRequest);
        return false;
    }
    return true;
}

void Keep(Exchange& x, std::vector<uint8_t> argument)
{
    x.recorder.State<DeviceRecords>().lineRequests.push_back(
        DeviceRecords::LineRequest{x.request.command, x.request.payload[0], std::move(argument)});
    x.Reply(0);
}

}  // namespace

void RegisterCommandsLineControl(CommandTable& table)
{
    table.Register(37, [](Exchange& x) {
        if (!ChannelOk(x, 2))
            return;
        const std::vector<uint8_t>& p = x.request.payload;
        if (p.size() < 2u + p[1]) {
            x.Reply(kStatusBadRequest);
            return;
        }
        Keep(x, std::vector<uint8_t>(p.begin() + 2, p.begin() + 2 + p[1]));
    });
    table.Register(38, [](Exchange& x) {
        const std::string& text = x.recorder.State<DeviceRecords>().smdrText;
        const size_t length = std::min<size_t>(text.size(), 255);
        std::vector<uint8_t> reply(1 + length);
        reply[0] = static_cast<uint8_t>(length);
        std::memcpy(reply.data() + 1, text.data(), length);
        x.Reply(0, reply);
    });
    table.Register(39, [](Exchange& x) {
        ++x.recorder.State<DeviceRecords>().reboots;
        x.Reply(0);
    });
    table.Register(42, [](Exchange& x) {
        if (!ChannelOk(x, 2))
            return;
        const std::vector<uint8_t>& p = x.request.payload;
        const auto end = std::find(p.begin() + 1, p.end(), 0);
        if (end == p.end() || end - (p.begin() + 1) > 27) {
            x.Reply(kStatusBadRequest);  // a file name is zero-terminated and at most 27 bytes
            return;
        }
        Keep(x, std::vector<uint8_t>(p.begin() + 1, end));
    });
    table.Register(45, [](Exchange& x) {
        if (ChannelOk(x, 2))
            Keep(x, {x.request.payload[1]});
    });
}

}  // namespace calvox::emu
