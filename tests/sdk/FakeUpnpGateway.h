// A gateway for the port-mapping code that lives in memory: tests choose whether it exists, which external
// ports conflict (718) or are refused, and read back every mapping request.
#pragma once

#include "Upnp.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace calvox::test {

class FakeUpnpGateway : public UpnpDiscovery, public std::enable_shared_from_this<FakeUpnpGateway> {
public:
    struct Mapping {
        std::uint16_t internalPort;
        std::string protocol;
        std::string description;
    };

    // Settings (before use).
    bool present = true;
    std::set<std::uint16_t> conflicts;      // answered with 718
    std::map<std::uint16_t, int> refusals;  // answered with the given error

    std::unique_ptr<UpnpGateway> Discover() override;

    int Discoveries() const;
    int AddRequests() const;
    std::map<std::uint16_t, Mapping> Mappings() const;
    std::vector<std::uint16_t> Deleted() const;

private:
    class Session;
    mutable std::mutex mutex_;
    int discoveries_ = 0;
    int addRequests_ = 0;
    std::map<std::uint16_t, Mapping> mappings_;
    std::vector<std::uint16_t> deleted_;
};

// Installs a fake gateway as the process's UPnP discovery for one scope and clears the process's mapping list
// before and after, so tests do not see each other's mappings; the previous discovery comes back afterwards.
class ScopedFakeGateway {
public:
    ScopedFakeGateway();
    ~ScopedFakeGateway();
    FakeUpnpGateway& operator*() { return *gateway_; }
    FakeUpnpGateway* operator->() { return gateway_.get(); }

private:
    std::shared_ptr<FakeUpnpGateway> gateway_;
    std::shared_ptr<UpnpDiscovery> previous_;
};

} // namespace calvox::test
