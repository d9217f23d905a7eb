#include "Config.h"

#include "Datagram.h"

#include <cstdlib>
#include <cstring>

#ifndef CALVOX_DEFAULT_CLOUD_SERVER
#define CALVOX_DEFAULT_CLOUD_SERVER "cloud.calvox.net"
#endif
#ifndef CALVOX_DEFAULT_UPDATE_SERVER
#define CALVOX_DEFAULT_UPDATE_SERVER "update.calvox.net"
#endif

namespace calvox {

bool ParseServerAddress(const char* text, std::uint16_t defaultPort, ServerAddress* out)
{
    if (!text)
        return false;
    std::string value(text);
    std::uint16_t port = defaultPort;
    const std::size_t colon = value.rfind(':');
    if (colon != std::string::npos) {
        const std::string portText = value.substr(colon + 1);
        value.resize(colon);
        char* end = nullptr;
        const unsigned long parsed = std::strtoul(portText.c_str(), &end, 10);
        if (!portText.empty() && *end == '\0' && parsed > 0 && parsed <= 65535)
            port = std::uint16_t(parsed);
    }
    if (value.empty())
        return false;
    out->host = value;
    out->port = port;
    return true;
}

ServerAddress ServerFromEnvironment(const char* variable, const char* defaultHost, std::uint16_t defaultPort)
{
    ServerAddress address;
    if (ParseServerAddress(std::getenv(variable), defaultPort, &address))
        return address;
    address.host = defaultHost;
    address.port = defaultPort;
    return address;
}

ServerAddress CloudServerSetting()
{
    return ServerFromEnvironment("CALVOX_CLOUD_SERVER", CALVOX_DEFAULT_CLOUD_SERVER, kCloudPort);
}

ServerAddress UpdateServerSetting()
{
    return ServerFromEnvironment("CALVOX_UPDATE_SERVER", CALVOX_DEFAULT_UPDATE_SERVER, kUpdateServerPort);
}

} // namespace calvox
