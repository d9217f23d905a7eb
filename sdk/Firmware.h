#pragma once
// The header at the start of every firmware image and the checks that decide whether an image may be
// uploaded to a recorder.

#include <cstdint>

#include "SdkVersion.h"

namespace calvox {

// The first 512 bytes of a firmware file, little-endian on disk. Only the first three words are read.
struct FirmwareHeader {
    uint32_t modelIndex;       // index in the model table
    uint32_t firmwareVersion;  // top byte = first number of the dotted version
    uint32_t minSdkVersion;    // lowest SDK version that can handle the image
    uint8_t reserved[500];
};
static_assert(sizeof(FirmwareHeader) == 512, "the firmware header is 512 bytes on disk");

// Reads the header from the file at path. False when the file cannot be opened or is shorter than 512 bytes.
bool ReadFirmwareHeader(const char* path, FirmwareHeader* header);

// Decodes the header from 512 bytes as they lie on disk, independent of the host's byte order.
FirmwareHeader DecodeFirmwareHeader(const uint8_t bytes[512]);

// The verdict on an image for a recorder of the given model running the given firmware:
// 20 another model, 40 not newer than the recorder's firmware, 41 needs an SDK newer than
// this one (kSdkVersion), 0 acceptable.
int JudgeFirmware(const FirmwareHeader& header, int deviceModelIndex, uint32_t deviceFirmwareVersion);

}  // namespace calvox
