// UDP port mapping on the internet gateway, so that a recorder behind another NAT can reach this process's
// socket. Every mapping made is remembered process-wide and removed when the SDK ends.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

namespace calvox {

// The external ports this process has mapped, without duplicates.
class PortMappingList {
public:
    // False when the port is listed already.
    bool Add(std::uint16_t externalPort);
    bool Contains(std::uint16_t externalPort) const;
    std::vector<std::uint16_t> Ports() const;
    bool Empty() const;

    // Runs `action` on every listed port while holding the list's lock, then empties the list.
    template <typename Action>
    void TakeAll(Action action)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (std::uint16_t port : ports_)
            action(port);
        ports_.clear();
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::uint16_t> ports_;
};

PortMappingList& ProcessPortMappings();

// A conflicting gateway answers 718 for a port in use; the search upward stops after this many tries (and
// never goes past 65535), so a gateway that answers 718 to everything cannot hold a login for long.
constexpr int kMaxPortMappingTries = 64;

// Maps `internalPort` of this host on the gateway, trying external ports from `firstExternalPort` upward while
// the gateway reports a conflict. Returns the external port mapped (listed in ProcessPortMappings()), or 0 when
// there is no gateway or it refused.
std::uint16_t MapPort(std::uint16_t internalPort, std::uint16_t firstExternalPort, const char* protocol,
                      const char* description);

// Deletes every mapping in ProcessPortMappings() ("UDP") and empties the list; the SDK's exit calls it.
// Nothing is discovered when nothing was mapped. When no gateway answers, the list is kept.
void RemoveAllPortMappings();

} // namespace calvox
