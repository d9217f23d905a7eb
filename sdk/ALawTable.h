#pragma once

#include <cstdint>

namespace calvox {

// A-law code (one byte as the recorder sends it) to a 16-bit linear sample.
// This is the G.711 expansion except in the top segment (codes 32..47 and 160..175), where every
// magnitude is one less than G.711's: the recorders' own players use this table, and recordings
// must sound (and compare) the same here.
extern const int16_t kALawTable[256];

}  // namespace calvox
