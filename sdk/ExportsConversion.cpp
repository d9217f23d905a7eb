// Text conversions of addresses and versions.
#include "CalvoxSDK.h"

#include <arpa/inet.h>
#include <cstdio>
#include <cstring>

CALVOX_API uint32_t CalvoxAPI_StringToIPaddress(const char* text)
{
    // inet_addr keeps the classic rules: "a.b.c.d", "a.b.c", "a.b", "a", octal and hex parts.
    return text ? ::inet_addr(text) : INADDR_NONE;
}

CALVOX_API uint32_t CalvoxAPI_StringToVersion(const char* text) { return ntohl(CalvoxAPI_StringToIPaddress(text)); }

CALVOX_API int CalvoxAPI_IPaddressToString(uint32_t address, char out[16])
{
    if (!out)
        return 0;
    std::memset(out, 0, 16);
    // Network order as read into a little-endian u32: the first number is the lowest byte.
    return std::snprintf(out, 16, "%d.%d.%d.%d", static_cast<int>(address & 0xFF), static_cast<int>((address >> 8) & 0xFF),
                         static_cast<int>((address >> 16) & 0xFF), static_cast<int>(address >> 24));
}

CALVOX_API int CalvoxAPI_VersionToString(uint32_t version, char out[16])
{
    if (!out)
        return 0;
    std::memset(out, 0, 16);
    return std::snprintf(out, 16, "%d.%d.%d.%d", static_cast<int>(version >> 24), static_cast<int>((version >> 16) & 0xFF),
                         static_cast<int>((version >> 8) & 0xFF), static_cast<int>(version & 0xFF));
}
