// Entry functions of the fuzz targets. Each takes one input as libFuzzer hands it over and must never read or
// write out of bounds, leak a thread or hang, whatever the bytes. The libFuzzer programs (built only with
// CALVOX_FUZZ=ON and clang) and the corpus replay test of the default build call the same functions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace calvox::fuzz {

// Replies of a scripted recorder (and cloud relay) to one SDK command, heartbeat round, download or search.
int SdkReplies(const uint8_t* data, size_t size);
// Live-audio datagrams through the monitor's length check and reorder buffer.
int LiveAudio(const uint8_t* data, size_t size);
// An update server's HTTP response to HttpGet.
int HttpResponse(const uint8_t* data, size_t size);
// The first bytes of a firmware image: header decoding and the upload verdict.
int FirmwareHeader(const uint8_t* data, size_t size);
// A per-day index file: the view, the entry texts and the record search's walk over it.
int RecordIndex(const uint8_t* data, size_t size);
// A recorder WAV file searched for its record chunk.
int WavRecord(const uint8_t* data, size_t size);
// A workbook: either a raw file, or parts (hostile XML) packed into a zip by the target.
int Workbook(const uint8_t* data, size_t size);
// A contacts book file.
int ContactsBook(const uint8_t* data, size_t size);

// Adds a value to a sink the compiler cannot see through, so reads made only to check bounds stay.
void Keep(unsigned value);

struct Target {
    const char* name;  // also the name of the corpus folder
    int (*run)(const uint8_t* data, size_t size);
};
const std::vector<Target>& Targets();
const Target* FindTarget(const char* name);

}  // namespace calvox::fuzz
