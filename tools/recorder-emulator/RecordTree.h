// The record tree a recorder keeps on its storage, written and read on disk below a root folder:
//   /RecordFiles/YYMM/DD/CHnn.Index      one per channel (nn from 01) and day: a 512-byte header (presence
//                                        bitmap in bytes 0-509, u16 count of present records at 510), then one
//                                        128-byte entry per record in the order recorded
//   /RecordFiles/YYMM/DD/CHnn/<name>.wav the call, name YYMMDDhhmmss-CHnn, with a "Vorn" chunk holding the
//                                        entry and the channel index
// Tests build fixtures with AddFixtureRecord; the record commands read and edit the same files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace calvox::emu {

constexpr int kIndexHeaderSize = 512;
constexpr int kIndexBitmapSize = 510;
constexpr int kIndexEntrySize = 128;
constexpr int kEntryNotesOffset = 63;
constexpr int kEntryNotesSize = 65;  // 64 bytes of text and the terminator

struct FixtureRecord {
    uint8_t year = 24;  // year - 2000
    uint8_t month = 1;
    uint8_t day = 1;
    uint8_t hour = 0;
    uint8_t minute = 0;
    uint8_t second = 0;
    int channel = 1;  // counted from 1
    uint8_t type = 0;  // 0 Inbound, 1 Outbound, 2 Missed (no WAV file), ...
    uint8_t rings = 0;
    uint16_t talkSeconds = 0;
    std::string phone;      // up to 20 bytes
    std::string key;        // up to 20 bytes
    std::string extension;  // up to 10 bytes
    std::string notes;      // up to 64 bytes
    uint32_t audioBytes = 800;  // A-law bytes in the WAV file; no WAV file for a missed call
};

struct RecordDay {
    uint8_t year;  // year - 2000
    uint8_t month;
    uint8_t day;
    bool operator<(const RecordDay& o) const;
};

// Device paths below the root: "/RecordFiles/YYMM/DD/CHnn.Index" and ".../CHnn/YYMMDDhhmmss-CHnn.wav".
std::string IndexDevicePath(uint8_t year, uint8_t month, uint8_t day, int channel);
std::string WavDevicePath(uint8_t year, uint8_t month, uint8_t day, uint8_t hour, uint8_t minute, uint8_t second,
                          int channel);

// The 128-byte entry of a record as the recorder stores it.
std::vector<uint8_t> EncodeEntry(const FixtureRecord& record);

// Appends the record to its day's index file (created with an empty header when missing), marks it present,
// and writes its WAV file (not for a missed call). Returns the record's index in the file, -1 on failure.
int AddFixtureRecord(const std::string& root, const FixtureRecord& record);

// Days whose folder holds at least one index file, in date order.
std::vector<RecordDay> ListRecordDays(const std::string& root);

}  // namespace calvox::emu
