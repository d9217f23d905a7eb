#include "Firmware.h"

#include <cstdio>
#include <cstring>

namespace calvox {

namespace {
uint32_t ReadLE32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
}  // namespace

FirmwareHeader DecodeFirmwareHeader(const uint8_t bytes[512])
{
    FirmwareHeader h;
    h.modelIndex = ReadLE32(bytes);
    h.firmwareVersion = ReadLE32(bytes + 4);
    h.minSdkVersion = ReadLE32(bytes + 8);
    std::memcpy(h.reserved, bytes + 12, sizeof h.reserved);
    return h;
}

bool ReadFirmwareHeader(const char* path, FirmwareHeader* header)
{
    if (!path || !header)
        return false;
    std::FILE* f = std::fopen(path, "rbe");
    if (!f)
        return false;
    uint8_t bytes[sizeof(FirmwareHeader)];
    const size_t n = std::fread(bytes, 1, sizeof bytes, f);
    std::fclose(f);
    if (n != sizeof bytes)
        return false;
    *header = DecodeFirmwareHeader(bytes);
    return true;
}

int JudgeFirmware(const FirmwareHeader& header, int deviceModelIndex, uint32_t deviceFirmwareVersion)
{
    if (deviceModelIndex < 0 || header.modelIndex != static_cast<uint32_t>(deviceModelIndex))
        return 20;
    if (deviceFirmwareVersion >= header.firmwareVersion)
        return 40;
    if (header.minSdkVersion > kSdkVersion)
        return 41;
    return 0;
}

}  // namespace calvox
