// Addresses of the servers outside the recorder network. Each has a default built into the library that the
// environment can override with "host:port" (or just "host"), so tests and installations can point the SDK
// elsewhere without rebuilding it.
#pragma once

#include <cstdint>
#include <string>

namespace calvox {

struct ServerAddress {
    std::string host;
    std::uint16_t port = 0;
};

// Parses "host" or "host:port". A missing or unusable port (empty, 0, above 65535, not a number) gives
// defaultPort; an empty host or null text gives false.
bool ParseServerAddress(const char* text, std::uint16_t defaultPort, ServerAddress* out);

// The value of environment variable `variable` when it parses, else the default.
ServerAddress ServerFromEnvironment(const char* variable, const char* defaultHost, std::uint16_t defaultPort);

// The cloud relay as configured: CALVOX_CLOUD_SERVER, else the build's CALVOX_DEFAULT_CLOUD_SERVER, at UDP
// port 3478 unless the text names another.
ServerAddress CloudServerSetting();

// The update server as configured: CALVOX_UPDATE_SERVER, else the build's CALVOX_DEFAULT_UPDATE_SERVER, at TCP
// port 81 unless the text names another. Read at every request.
constexpr std::uint16_t kUpdateServerPort = 81;
ServerAddress UpdateServerSetting();

} // namespace calvox
