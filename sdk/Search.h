// Device search: from every local IPv4 address, five rounds of a broadcast of command 1 to port 6066, each
// request carrying the IDs found so far so that those recorders stay silent. New recorders are reported at
// once; progress runs from 0 to 100 over all addresses and rounds. Runs on the caller's thread with its own
// sockets and takes no connection lock.
#pragma once

#include "CalvoxSDK.h"
#include "platform/LocalAdapters.h"
#include "platform/Socket.h"

#include <optional>
#include <vector>

namespace calvox {

constexpr uint8_t kCmdSearch = 1;
constexpr int kSearchRounds = 5;
constexpr int kSearchWaitMs = 500;
constexpr int kMaxFoundDevices = 200;
constexpr int kSearchReplyPayload = 30;  // ID 20, firmware version 4, address 4, port 2

// Test hook, never exported: searches over the given local addresses instead of the machine's adapters, and
// sends each request to the given destinations instead of the broadcast address, so tests stay on loopback.
struct SearchOverride {
    std::optional<std::vector<net::LocalAdapter>> adapters;
    std::optional<std::vector<net::Address>> destinations;
};
void SetSearchOverride(const SearchOverride& override);
void ClearSearchOverride();

// The whole search; callback results are ignored. An empty callback searches without reporting. Returns 0.
int SearchDevice(const Calvox_EventCallback& callback);

}  // namespace calvox
