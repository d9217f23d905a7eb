#pragma once

#include "RecordIndexEntry.h"
#include "CalvoxSDK.h"

#include <QString>

// The local backup copy of the recorders' records (tree and names in RecordPaths.h) and the record-information
// chunk of the recorder's WAV files. Free functions without state; they report by their result and never show
// messages. Edits of an index copy rewrite the whole file through a temporary file that is synced and renamed
// over it, so a failed edit leaves the old file and is reported.

// Clears days[0..31] and sets days[d] = 1 for every sub-folder of <device folder>/YYMM whose name has two
// characters and reads as d in 1..31.
void GetLocalDayList(const QString& deviceId, unsigned char year, unsigned char month, unsigned char days[32]);

// The newest local day: the largest four-character month folder (YYMM as a number) and in it the largest
// two-character day folder. All three 0 when the device folder holds none. Always true.
bool GetLocalLatestRecordTime(const QString& deviceId, unsigned char* year, unsigned char* month,
                              unsigned char* day);

// Reads the regular file whole into a new[] buffer of its size, which the caller frees with delete[]. False (and
// *buffer null) when the file cannot be opened, is larger than an int can count, or is not read whole: a partly
// read buffer is never returned. An empty file gives true, a null buffer and size 0.
bool ReadWholeFile(const QString& path, unsigned char** buffer, int* size);
// The same for a path in the file system's encoding; *missing (when given) tells a file that is not there
// (nor its folder) from one that could not be read.
bool ReadWholeNativeFile(const char* path, unsigned char** buffer, int* size, bool* missing);
// The same for a path relative to an open folder (a descriptor), as openat resolves it: the kernel then walks
// only the path's own components, not the folder's again for every file.
bool ReadWholeNativeFileAt(int folder, const char* path, unsigned char** buffer, int* size, bool* missing);

// Reads the RecordIndexEntry and the channel (counted from 0) out of the "Vorn" chunk of a recorder WAV file.
// Chunks are walked from offset 36 (after the RIFF header and a 16-byte format chunk): "data" is stepped over
// by its size, any other chunk by its size rounded up to even; "Vorn" must hold exactly 132 bytes (the entry,
// the channel byte, three more). False when the file cannot be read, a chunk header or the "Vorn" body is cut
// short, or "Vorn" has another size.
bool ReadWavIndexEntry(const QString& path, RecordIndexEntry* entry, int* channel);

// Writes notes into record `index` of the local index copy of that day and channel (counted from 0) of the
// device chosen on the record page (g_RecordSearchCondition.Device in the local device list). The notes
// field (entry bytes 63..127) is cleared, then takes the UTF-8 form of the notes, cut to at most 64 bytes at a
// character boundary, so byte 127 stays the terminator and nothing outside the field changes. False when the
// device is not in the list, the file cannot be read, the record is not in the file, or the write fails.
bool SaveLocalRecordNotes(int index, unsigned char year, unsigned char month, unsigned char day,
                          unsigned char channel, const QString& notes);
// The same for the device folder named by deviceId.
bool SaveLocalRecordNotesOf(const QString& deviceId, int index, unsigned char year, unsigned char month,
                            unsigned char day, unsigned char channel, const QString& notes);

// Deletes the record named by key (date, time, channel from 0, index in the day's index file) from the local
// copy of the device chosen on the record page. A record whose presence bit is already clear changes nothing
// (true). Otherwise its bit is cleared and the count lowered by one; when no record is left the index file is
// removed, else it is rewritten. Only after that succeeded do the record's WAV files go, under both names the
// backup may have given them (<base name>.wav and <base name>-<digits>.wav). False when the device is not in
// the list, the index cannot be read or is shorter than its header, or the index edit fails (then nothing
// changed).
bool DeleteLocalRecord(const Calvox_RecordKey* key);
// The same for the device folder named by deviceId.
bool DeleteLocalRecordOf(const QString& deviceId, const Calvox_RecordKey* key);

// Cuts the UTF-8 form of text to at most maxBytes bytes without splitting a character.
QByteArray Utf8Prefix(const QString& text, int maxBytes);
