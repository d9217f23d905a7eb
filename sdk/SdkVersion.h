// The version of this SDK as recorders and firmware images know it (2.0.7.8): sent at every login, and the
// lowest SDK version a firmware image may require.
#pragma once

#include <cstdint>

namespace calvox {

constexpr uint32_t kSdkVersion = 0x02000708;

}  // namespace calvox
