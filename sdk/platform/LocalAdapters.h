// The local IPv4 addresses a device search broadcasts from.
#pragma once

#include <cstdint>
#include <vector>

namespace calvox::net {

struct LocalAdapter {
    uint32_t address;  // network order
    uint32_t mask;     // network order
};

// Every nonzero IPv4 address of every interface that is up, loopback excepted, in the system's order.
std::vector<LocalAdapter> ListLocalAdapters();

}  // namespace calvox::net
