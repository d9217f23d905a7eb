#pragma once

#include <QtGlobal>

#include <cstdint>

// One call record as the recorder stores it: 128 bytes, in a per-channel, per-day index file after its
// 512-byte header and in the record-information chunk of each WAV file. Multi-byte fields are little-endian.
#pragma pack(push, 1)
struct RecordIndexEntry {
    uint8_t Year;             // year - 2000
    uint8_t Month;            // 1-12
    uint8_t Day;              // 1-31
    uint8_t Hour;             // start of the call
    uint8_t Minute;
    uint8_t Second;
    uint8_t Type;             // RecordType
    uint8_t Rings;
    uint16_t TalkTime;        // seconds
    uint8_t PhoneLength;      // bytes of PhoneNumber in use; may exceed the field in a damaged file
    uint8_t KeyLength;        // bytes of Key in use
    uint8_t ExtensionLength;  // bytes of Extension in use
    uint8_t PhoneNumber[20];  // only ASCII digits count
    uint8_t Key[20];          // Latin-1
    uint8_t Extension[10];    // Latin-1
    uint8_t Notes[65];        // UTF-8, NUL-terminated in a sound file: at most 64 bytes of text and the NUL
};
#pragma pack(pop)

static_assert(sizeof(RecordIndexEntry) == 128, "the recorder's record entry is 128 bytes");
static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "TalkTime is read in place as little-endian");

// The kind of a record (RecordIndexEntry::Type).
enum class RecordType : uint8_t {
    Inbound = 0,
    Outbound = 1,
    Missed = 2,
    KeyControl = 3,
    VoiceTrigger = 4,
    Continuous = 5,
    AutoAnswer = 6,
    Timing = 7,
    Polarity = 8
};
