// Status commands 5 to 13: storage, network, line voltage, channel status, online users (the sessions),
// the record that has just ended, the clock and the playable files (with storage: its "/PlayBackFiles").
#include "EmuFiles.h"
#include "EmuRecords.h"
#include "EmuSessions.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

namespace calvox::emu {
namespace {

// The channel in payload byte 0, when the request has it and the recorder has that channel.
bool RequestChannel(Exchange& x, int* channel)
{
    if (x.request.payload.empty() || x.request.payload[0] >= x.recorder.Channels()) {
        x.Reply(kStatusBadRequest);
        return false;
    }
    *channel = x.request.payload[0];
    return true;
}

template <size_t N>
void ReplyBytes(Exchange& x, const std::array<uint8_t, N>& bytes)
{
    x.Reply(0, bytes.data(), bytes.size());
}

DeviceRecords& Records(Exchange& x) { return x.recorder.State<DeviceRecords>(); }

// A recorder with storage lists the files of its "/PlayBackFiles" folder, in name order: the first 20 whose
// names fit a 28-byte slot with their terminator. Without storage it answers the record the test set.
std::array<uint8_t, 561> PlayBackFiles(Exchange& x)
{
    const FileStore& store = x.recorder.State<FileStore>();
    std::string folder;
    if (!DevicePathToLocal(store, "/PlayBackFiles", &folder))
        return Records(x).playBackFiles;
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str()); dir != nullptr) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            struct stat st {};
            if (name.size() > 27 || ::stat((folder + "/" + name).c_str(), &st) != 0 || !S_ISREG(st.st_mode))
                continue;
            names.push_back(name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    if (names.size() > 20)
        names.resize(20);
    std::array<uint8_t, 561> list{};
    list[0] = static_cast<uint8_t>(names.size());
    for (size_t i = 0; i < names.size(); ++i)
        std::memcpy(list.data() + 1 + 28 * i, names[i].data(), names[i].size());
    return list;
}

}  // namespace

void RegisterCommandsStatus(CommandTable& table)
{
    table.Register(5, [](Exchange& x) {
        const DeviceRecords& r = Records(x);
        std::vector<uint8_t> reply;
        PutU32(reply, 0, r.storageSize1);
        PutU32(reply, 4, r.storageSize2);
        PutU32(reply, 8, r.storageState);
        x.Reply(0, reply);
    });
    table.Register(6, [](Exchange& x) {
        std::array<uint8_t, 4> address = Records(x).netStatus;
        if (address == std::array<uint8_t, 4>{}) {
            const sockaddr_in own = x.recorder.Address();
            std::memcpy(address.data(), &own.sin_addr.s_addr, 4);
        }
        ReplyBytes(x, address);
    });
    table.Register(7, [](Exchange& x) {
        int channel;
        if (!RequestChannel(x, &channel))
            return;
        std::vector<uint8_t> reply;
        PutU32(reply, 0, static_cast<uint32_t>(Records(x).voltage[channel]));
        x.Reply(0, reply);
    });
    table.Register(8, [](Exchange& x) {
        int channel;
        if (!RequestChannel(x, &channel))
            return;
        std::vector<uint8_t> reply(4 + 24, 0);
        reply[0] = static_cast<uint8_t>(channel);
        std::memcpy(reply.data() + 4, Records(x).channelStatus[channel].data(), 24);
        x.Reply(0, reply);
    });
    table.Register(9, [](Exchange& x) {
        const LoginState& state = x.recorder.State<LoginState>();
        std::vector<uint8_t> reply;
        PutU32(reply, 0, static_cast<uint32_t>(state.sessions.size()));
        for (const Session& s : state.sessions) {
            uint8_t entry[40] = {};
            entry[0] = static_cast<uint8_t>(s.user.size());
            std::memcpy(entry + 1, s.user.data(), s.user.size());
            std::memcpy(entry + 20, &s.from.sin_addr.s_addr, 4);
            std::memcpy(entry + 30, s.loginTime, 6);
            std::memcpy(entry + 36, &s.sdkVersion, 4);  // little-endian host
            reply.insert(reply.end(), entry, entry + sizeof entry);
        }
        x.Reply(0, reply);
    });
    table.Register(10, [](Exchange& x) {
        int channel;
        if (RequestChannel(x, &channel))
            ReplyBytes(x, Records(x).currentRecord[channel]);
    });
    table.Register(11, [](Exchange& x) { ReplyBytes(x, Records(x).dateTime); });
    table.Register(12, [](Exchange& x) {
        DeviceRecords& r = Records(x);
        if (x.request.payload.size() < r.dateTime.size()) {
            x.Reply(kStatusBadRequest);
            return;
        }
        std::memcpy(r.dateTime.data(), x.request.payload.data(), r.dateTime.size());
        x.Reply(0);
    });
    table.Register(13, [](Exchange& x) { ReplyBytes(x, PlayBackFiles(x)); });
}

}  // namespace calvox::emu
