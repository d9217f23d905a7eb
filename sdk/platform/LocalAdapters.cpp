#include "platform/LocalAdapters.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

namespace calvox::net {

std::vector<LocalAdapter> ListLocalAdapters()
{
    std::vector<LocalAdapter> adapters;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return adapters;
    for (const ifaddrs* a = list; a; a = a->ifa_next) {
        if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET)
            continue;
        // A loopback broadcast never reaches a recorder, and a down interface cannot send at all.
        if (!(a->ifa_flags & IFF_UP) || (a->ifa_flags & IFF_LOOPBACK))
            continue;
        const uint32_t address = reinterpret_cast<const sockaddr_in*>(a->ifa_addr)->sin_addr.s_addr;
        if (address == 0)
            continue;
        uint32_t mask = 0;
        if (a->ifa_netmask && a->ifa_netmask->sa_family == AF_INET)
            mask = reinterpret_cast<const sockaddr_in*>(a->ifa_netmask)->sin_addr.s_addr;
        adapters.push_back({address, mask});
    }
    freeifaddrs(list);
    return adapters;
}

}  // namespace calvox::net
