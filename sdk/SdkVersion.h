// The version of this SDK as recorders and firmware images know it (2.0.7.8): sent at login, and compared
// with the lowest SDK version a firmware image names.
#pragma once

#include <cstdint>

namespace calvox {

constexpr uint32_t kSdkVersion = 0x02000708;

}  // namespace calvox
