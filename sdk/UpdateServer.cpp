#include "UpdateServer.h"

#include <cctype>
#include <cstdlib>

#ifndef CALVOX_UPDATE_SERVER_DEFAULT
#define CALVOX_UPDATE_SERVER_DEFAULT "update.calvox.net:81"
#endif

namespace calvox {

bool ParseServerAddress(const char* text, UpdateServerAddress* address)
{
    if (!text || !address)
        return false;
    std::string s(text);
    UpdateServerAddress a;
    const size_t colon = s.rfind(':');
    if (colon != std::string::npos) {
        const std::string digits = s.substr(colon + 1);
        if (digits.empty() || digits.size() > 5)
            return false;
        for (unsigned char c : digits)
            if (!std::isdigit(c))
                return false;
        a.port = std::atoi(digits.c_str());
        if (a.port < 1 || a.port > 65535)
            return false;
        s.erase(colon);
    }
    if (s.empty())
        return false;
    for (unsigned char c : s)
        if (!(std::isalnum(c) || c == '.' || c == '-' || c == '_'))
            return false;
    a.host = s;
    *address = a;
    return true;
}

bool CurrentUpdateServer(UpdateServerAddress* address)
{
    const char* override = std::getenv("CALVOX_UPDATE_SERVER");
    return ParseServerAddress(override && *override ? override : CALVOX_UPDATE_SERVER_DEFAULT, address);
}

std::string UpdateServerUrl(const std::string& path)
{
    UpdateServerAddress a;
    if (!CurrentUpdateServer(&a))
        return std::string();
    return a.host + ":" + std::to_string(a.port) + "/" + path;
}

}  // namespace calvox
