// The search listener: command 1 from a client lists the 20-byte IDs found so far; a recorder not among them
// answers with ID, firmware version, IPv4 address (network order) and port (little-endian).
#include "EmuSearch.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cstring>

namespace calvox::emu {
namespace {

void Search(Exchange& x)
{
    if (x.request.origin != 0)
        return;
    char id[20] = {};
    std::memcpy(id, x.recorder.Id().data(), std::min<size_t>(20, x.recorder.Id().size()));
    const std::vector<uint8_t>& listed = x.request.payload;
    for (size_t at = 0; at + 20 <= listed.size(); at += 20)
        if (std::memcmp(listed.data() + at, id, 20) == 0)
            return;  // found already: stay silent

    const SearchIdentity& identity = x.recorder.State<SearchIdentity>();
    std::vector<uint8_t> reply(30, 0);
    std::memcpy(reply.data(), id, 20);
    PutU32(reply, 20, identity.firmwareVersion);
    const uint32_t address = identity.advertisedAddress ? identity.advertisedAddress
                                                        : x.recorder.Address().sin_addr.s_addr;
    std::memcpy(reply.data() + 24, &address, 4);
    PutU16(reply, 28, x.recorder.Port());
    x.Reply(0, reply);
}

}  // namespace

void RegisterCommandsSearch(CommandTable& table) { table.Register(1, Search); }

}  // namespace calvox::emu
