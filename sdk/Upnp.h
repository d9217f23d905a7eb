// The two UPnP steps the SDK needs from an internet gateway — find it, then add or delete a port mapping —
// behind a small interface, so that tests can put a fake gateway in place of the network.
#pragma once

#include <cstdint>
#include <memory>

namespace calvox {

// UPnP error "ConflictInMappingEntry": the external port is mapped to another client already.
constexpr int kUpnpConflictInMappingEntry = 718;

// One gateway found by discovery, usable until it is destroyed. Both calls return the UPnP result:
// 0 when the gateway did it, a UPnP error code (718, 714, ...) or a negative library error otherwise.
class UpnpGateway {
public:
    virtual ~UpnpGateway() = default;
    virtual int AddPortMapping(std::uint16_t externalPort, std::uint16_t internalPort, const char* protocol,
                               const char* description) = 0;
    virtual int DeletePortMapping(std::uint16_t externalPort, const char* protocol) = 0;
};

class UpnpDiscovery {
public:
    virtual ~UpnpDiscovery() = default;
    // The gateway of the local network, or null when none answered. May be called from several threads.
    virtual std::unique_ptr<UpnpGateway> Discover() = 0;
};

// MiniUPnPc: SSDP multicast discovery (2000 ms, scaled by the test time scale) and SOAP requests to the
// gateway it selects. It sends to the real network, so a test may use it only inside a private network
// namespace.
std::shared_ptr<UpnpDiscovery> CreateMiniUpnpDiscovery();

// The discovery the port mapping uses, process-wide; MiniUPnPc unless replaced. Passing null restores
// MiniUPnPc. Tests install a fake gateway here before anything maps a port.
void SetUpnpDiscovery(std::shared_ptr<UpnpDiscovery> discovery);
std::shared_ptr<UpnpDiscovery> CurrentUpnpDiscovery();

} // namespace calvox
