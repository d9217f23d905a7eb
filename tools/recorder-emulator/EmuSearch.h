// How an emulated recorder answers a device search (command 1): with its ID, firmware version, address and
// port, unless its ID is among those the request lists as found already.
//
// Per recorder through Recorder::State<SearchIdentity>().
#pragma once

#include "Emulator.h"

#include <cstdint>

namespace calvox::emu {

struct SearchIdentity {
    uint32_t firmwareVersion = 0x02010305;
    // Network order; 0 answers with the address the recorder is bound to (set it when bound to 0.0.0.0).
    uint32_t advertisedAddress = 0;
};

}  // namespace calvox::emu
