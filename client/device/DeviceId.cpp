#include "DeviceId.h"

namespace {

bool IsIdCharacter(ushort c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

bool IsValidDeviceId(const QString& id)
{
    if (id.size() != kDeviceIdLength)
        return false;
    for (const QChar c : id) {
        if (!IsIdCharacter(c.unicode()))
            return false;
    }
    return true;
}

bool IsValidDeviceId(const char* bytes)
{
    if (bytes == nullptr)
        return false;
    for (int i = 0; i < kDeviceIdLength; ++i) {
        if (!IsIdCharacter(static_cast<unsigned char>(bytes[i])))
            return false;
    }
    return true;
}
