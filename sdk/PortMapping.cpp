#include "PortMapping.h"

#include "Upnp.h"

#include <algorithm>

namespace calvox {

bool PortMappingList::Add(std::uint16_t externalPort)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (std::find(ports_.begin(), ports_.end(), externalPort) != ports_.end())
        return false;
    ports_.push_back(externalPort);
    return true;
}

bool PortMappingList::Contains(std::uint16_t externalPort) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return std::find(ports_.begin(), ports_.end(), externalPort) != ports_.end();
}

std::vector<std::uint16_t> PortMappingList::Ports() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return ports_;
}

bool PortMappingList::Empty() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return ports_.empty();
}

PortMappingList& ProcessPortMappings()
{
    static PortMappingList list;
    return list;
}

std::uint16_t MapPort(std::uint16_t internalPort, std::uint16_t firstExternalPort, const char* protocol,
                      const char* description)
{
    // Discovery and the mapping requests run without the list's lock: they can take seconds.
    std::unique_ptr<UpnpGateway> gateway = CurrentUpnpDiscovery()->Discover();
    if (!gateway)
        return 0;
    unsigned external = firstExternalPort;
    for (int tries = 0; external != 0 && external <= 65535 && tries < kMaxPortMappingTries; ++tries, ++external) {
        const int result = gateway->AddPortMapping(std::uint16_t(external), internalPort, protocol, description);
        if (result == 0) {
            ProcessPortMappings().Add(std::uint16_t(external));
            return std::uint16_t(external);
        }
        if (result != kUpnpConflictInMappingEntry)
            return 0;
    }
    return 0;
}

void RemoveAllPortMappings()
{
    if (ProcessPortMappings().Empty())
        return;
    std::unique_ptr<UpnpGateway> gateway = CurrentUpnpDiscovery()->Discover();
    if (!gateway)
        return;
    ProcessPortMappings().TakeAll([&](std::uint16_t port) { gateway->DeletePortMapping(port, "UDP"); });
}

} // namespace calvox
