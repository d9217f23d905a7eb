// Settings groups: one Get and one Set each. A Set must carry exactly marker, record, marker; anything else is
// refused and the stored record stays as it was.
#include "EmuRecords.h"
#include "EmuSessions.h"

#include <cstring>

namespace calvox::emu {
namespace {

// True when bytes [at, at + 8 + size) of the payload are marker, record, marker and nothing follows.
bool MarkedRecord(const std::vector<uint8_t>& payload, size_t at, size_t size)
{
    return payload.size() == at + 8 + size && GetU32(payload, at) == kSettingMarker &&
           GetU32(payload, at + 4 + size) == kSettingMarker;
}

template <size_t N>
void RegisterGroup(CommandTable& table, uint8_t getCode, uint8_t setCode,
                   std::array<uint8_t, N> DeviceRecords::*member)
{
    table.Register(getCode, [member](Exchange& x) {
        const auto& record = x.recorder.State<DeviceRecords>().*member;
        x.Reply(0, record.data(), record.size());
    });
    table.Register(setCode, [member](Exchange& x) {
        if (!MarkedRecord(x.request.payload, 0, N)) {
            x.Reply(kStatusBadRecord);
            return;
        }
        auto& record = x.recorder.State<DeviceRecords>().*member;
        std::memcpy(record.data(), x.request.payload.data() + 4, N);
        x.Reply(0);
    });
}

}  // namespace

void RegisterCommandsSettings(CommandTable& table)
{
    RegisterGroup(table, 14, 15, &DeviceRecords::base);
    RegisterGroup(table, 18, 19, &DeviceRecords::keyControl);
    RegisterGroup(table, 20, 21, &DeviceRecords::net);
    RegisterGroup(table, 22, 23, &DeviceRecords::smdr);
    RegisterGroup(table, 40, 41, &DeviceRecords::recordTime);
    RegisterGroup(table, 43, 44, &DeviceRecords::scheduledRestart);

    table.Register(16, [](Exchange& x) {
        const std::vector<uint8_t>& p = x.request.payload;
        if (p.empty() || p[0] >= x.recorder.Channels()) {
            x.Reply(kStatusBadRequest);
            return;
        }
        const auto& record = x.recorder.State<DeviceRecords>().channel[p[0]];
        x.Reply(0, record.data(), record.size());
    });
    table.Register(17, [](Exchange& x) {
        const std::vector<uint8_t>& p = x.request.payload;
        if (p.empty() || p[0] >= x.recorder.Channels()) {
            x.Reply(kStatusBadRequest);
            return;
        }
        if (!MarkedRecord(p, 4, 980)) {
            x.Reply(kStatusBadRecord);
            return;
        }
        std::memcpy(x.recorder.State<DeviceRecords>().channel[p[0]].data(), p.data() + 8, 980);
        x.Reply(0);
    });
}

}  // namespace calvox::emu
