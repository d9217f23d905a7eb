#include "FakeUpnpGateway.h"

#include "PortMapping.h"

namespace calvox::test {

class FakeUpnpGateway::Session : public UpnpGateway {
public:
    explicit Session(std::shared_ptr<FakeUpnpGateway> owner) : owner_(std::move(owner)) {}

    int AddPortMapping(std::uint16_t externalPort, std::uint16_t internalPort, const char* protocol,
                       const char* description) override
    {
        FakeUpnpGateway& g = *owner_;
        std::lock_guard<std::mutex> lock(g.mutex_);
        ++g.addRequests_;
        if (g.conflicts.count(externalPort))
            return kUpnpConflictInMappingEntry;
        auto refusal = g.refusals.find(externalPort);
        if (refusal != g.refusals.end())
            return refusal->second;
        g.mappings_[externalPort] = Mapping{internalPort, protocol, description};
        return 0;
    }

    int DeletePortMapping(std::uint16_t externalPort, const char* protocol) override
    {
        FakeUpnpGateway& g = *owner_;
        std::lock_guard<std::mutex> lock(g.mutex_);
        g.deleted_.push_back(externalPort);
        auto it = g.mappings_.find(externalPort);
        if (it == g.mappings_.end() || it->second.protocol != protocol)
            return 714;  // NoSuchEntryInArray
        g.mappings_.erase(it);
        return 0;
    }

private:
    std::shared_ptr<FakeUpnpGateway> owner_;
};

std::unique_ptr<UpnpGateway> FakeUpnpGateway::Discover()
{
    std::lock_guard<std::mutex> lock(mutex_);
    ++discoveries_;
    if (!present)
        return nullptr;
    return std::make_unique<Session>(shared_from_this());
}

int FakeUpnpGateway::Discoveries() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return discoveries_;
}

int FakeUpnpGateway::AddRequests() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return addRequests_;
}

std::map<std::uint16_t, FakeUpnpGateway::Mapping> FakeUpnpGateway::Mappings() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return mappings_;
}

std::vector<std::uint16_t> FakeUpnpGateway::Deleted() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return deleted_;
}

ScopedFakeGateway::ScopedFakeGateway()
    : gateway_(std::make_shared<FakeUpnpGateway>()), previous_(CurrentUpnpDiscovery())
{
    ProcessPortMappings().TakeAll([](std::uint16_t) {});
    SetUpnpDiscovery(gateway_);
}

ScopedFakeGateway::~ScopedFakeGateway()
{
    ProcessPortMappings().TakeAll([](std::uint16_t) {});
    SetUpnpDiscovery(previous_);
}

} // namespace calvox::test
