#include "Upnp.h"

#include "TimeScale.h"

#include <miniupnpc/miniupnpc.h>
#include <miniupnpc/upnpcommands.h>

#include <mutex>
#include <string>

namespace calvox {
namespace {

class MiniUpnpGateway final : public UpnpGateway {
public:
    MiniUpnpGateway(const UPNPUrls& urls, const IGDdatas& data, const char* lanAddress)
        : urls_(urls), data_(data), lanAddress_(lanAddress)
    {
    }
    ~MiniUpnpGateway() override { FreeUPNPUrls(&urls_); }

    int AddPortMapping(std::uint16_t externalPort, std::uint16_t internalPort, const char* protocol,
                       const char* description) override
    {
        const std::string external = std::to_string(externalPort);
        const std::string internal = std::to_string(internalPort);
        // Lease 0: the mapping lasts until it is deleted at exit (or the gateway restarts).
        return UPNP_AddPortMapping(urls_.controlURL, data_.first.servicetype, external.c_str(), internal.c_str(),
                                   lanAddress_.c_str(), description, protocol, nullptr, "0");
    }

    int DeletePortMapping(std::uint16_t externalPort, const char* protocol) override
    {
        const std::string external = std::to_string(externalPort);
        return UPNP_DeletePortMapping(urls_.controlURL, data_.first.servicetype, external.c_str(), protocol,
                                      nullptr);
    }

private:
    UPNPUrls urls_;
    IGDdatas data_;
    std::string lanAddress_;
};

class MiniUpnpDiscovery final : public UpnpDiscovery {
public:
    std::unique_ptr<UpnpGateway> Discover() override
    {
        int error = 0;
        // An empty MiniSSDPd path keeps the library from asking a local MiniSSDPd daemon; any local port,
        // IPv4, TTL 2.
        UPNPDev* devices = upnpDiscover(ScaledMs(2000), nullptr, "", UPNP_LOCAL_PORT_ANY, 0, 2, &error);
        if (!devices)
            return nullptr;
        UPNPUrls urls{};
        IGDdatas data{};
        char lanAddress[64] = {};
        const int found = UPNP_GetValidIGD(devices, &urls, &data, lanAddress, sizeof lanAddress);
        freeUPNPDevlist(devices);
        if (found == 0)
            return nullptr;
        return std::make_unique<MiniUpnpGateway>(urls, data, lanAddress);
    }
};

std::mutex g_discoveryMutex;
std::shared_ptr<UpnpDiscovery> g_discovery;

} // namespace

std::shared_ptr<UpnpDiscovery> CreateMiniUpnpDiscovery()
{
    return std::make_shared<MiniUpnpDiscovery>();
}

void SetUpnpDiscovery(std::shared_ptr<UpnpDiscovery> discovery)
{
    std::lock_guard<std::mutex> lock(g_discoveryMutex);
    g_discovery = std::move(discovery);
}

std::shared_ptr<UpnpDiscovery> CurrentUpnpDiscovery()
{
    std::lock_guard<std::mutex> lock(g_discoveryMutex);
    if (!g_discovery)
        g_discovery = CreateMiniUpnpDiscovery();
    return g_discovery;
}

} // namespace calvox
