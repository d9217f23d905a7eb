#pragma once

#include "RecordIndexEntry.h"

#include <QByteArray>
#include <QString>

// A per-channel, per-day index file (CH<nn>.Index) as the recorder writes it: a 512-byte header whose bytes
// 0..509 are the presence bitmap (record i present when bit i mod 8 of byte i / 8 is set, least significant bit
// first) and whose bytes 510..511 are the little-endian count of present records, then one 128-byte
// RecordIndexEntry per record in recording order. A deleted record keeps its entry and loses its bit.
//
// The view never reads outside the bytes it was given: a file shorter than its header holds nothing, a trailing
// partial entry is not a record, and no more records are seen than the bitmap can address (4080), so a huge or
// damaged file cannot make a reader walk entries that no bit describes.
class RecordIndexFile
{
public:
    static constexpr int HeaderSize = 512;
    static constexpr int BitmapSize = 510;
    static constexpr int CountOffset = 510;
    static constexpr int EntrySize = static_cast<int>(sizeof(RecordIndexEntry));
    static constexpr int MaxRecords = BitmapSize * 8;

    RecordIndexFile(const unsigned char* data, qint64 size);
    explicit RecordIndexFile(const QByteArray& bytes);

    // False for a file shorter than its header.
    bool HasHeader() const { return m_size >= HeaderSize; }
    // Entries in the file: (size - 512) / 128, at most MaxRecords; 0 without a header.
    int RecordCount() const { return m_records; }
    // The count the header claims (not checked against the bitmap); 0 without a header.
    int PresentCount() const;
    // Bit index of the bitmap; false outside 0 .. MaxRecords - 1 or without a header.
    bool IsPresent(int index) const;
    // Copies entry index (0 .. RecordCount() - 1) into *entry; false outside the file.
    bool ReadEntry(int index, RecordIndexEntry* entry) const;

    // Offset of entry index in the file.
    static qint64 EntryOffset(int index) { return HeaderSize + static_cast<qint64>(EntrySize) * index; }

private:
    const unsigned char* m_data;
    qint64 m_size;
    int m_records;
};

// The texts of an entry's byte fields, each held to its field whatever its length byte says.
// Key: Latin-1 of the first KeyLength bytes (at most 20), cut at a NUL.
QString RecordKeyText(const RecordIndexEntry& entry);
// Extension: Latin-1 of the first ExtensionLength bytes (at most 10), cut at a NUL.
QString RecordExtensionText(const RecordIndexEntry& entry);
// Notes: UTF-8 up to the NUL; a field without a NUL is read to its end (65 bytes).
QString RecordNotesText(const RecordIndexEntry& entry);
// Phone digits (only ASCII digits of the first PhoneLength bytes, at most 20).
QString RecordPhoneText(const RecordIndexEntry& entry);
