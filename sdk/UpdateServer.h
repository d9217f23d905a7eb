#pragma once
// Where the update server is. The address is fixed when the SDK is built (CALVOX_UPDATE_SERVER in CMake)
// and the environment variable CALVOX_UPDATE_SERVER ("host" or "host:port") overrides it at run time, read
// at every request, so a deployment or a test can point the SDK at its own server.

#include <string>

namespace calvox {

constexpr int kUpdateServerDefaultPort = 81;

struct UpdateServerAddress {
    std::string host;
    int port = kUpdateServerDefaultPort;
};

// Parses "host" or "host:port" (IPv4 text or a name; port 1..65535). False on anything else.
bool ParseServerAddress(const char* text, UpdateServerAddress* address);

// The address in force now. False when the override (or the built-in value) is malformed: the SDK then
// contacts no server at all rather than a server nobody chose.
bool CurrentUpdateServer(UpdateServerAddress* address);

// "host:port/" + path for the server in force; empty when there is none.
std::string UpdateServerUrl(const std::string& path);

}  // namespace calvox
