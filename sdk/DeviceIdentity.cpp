#include "DeviceIdentity.h"

#include <cstring>

namespace calvox {
namespace {

const ModelInfo kModels[kModelCount] = {
    {"KES2201S", 1, 1},  {"KES2202S", 2, 1},  {"KES2204S", 4, 1}, {"KES2216H", 16, 1},
    {"KES32xxH", 64, 0}, {"KES42xxH", 64, 1}, {"KES52xxH", 8, 0},
};

}  // namespace

const ModelInfo& Model(int index) { return kModels[index]; }

int ModelIndexOf(const char* id)
{
    static const char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    if (!id || !*id)
        return -1;
    const char* p = std::strchr(kDigits, *id);
    if (!p)
        return -1;
    const int position = static_cast<int>(p - kDigits);
    return position < 2 * kModelCount ? position / 2 : -1;
}

}  // namespace calvox
