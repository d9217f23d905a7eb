#pragma once

#include "RecordIndexEntry.h"

#include <QString>

// Names of records on the recorder and in the local backup tree. Years are stored as year - 2000; channels
// are counted from 1 in names and paths ("CH03"), and every number is written with two digits, '0'-padded.
//
// Recorder:  /RecordFiles/YYMM/DD/CHnn.Index and /RecordFiles/YYMM/DD/CHnn/<base name>.wav
// Local:     <BackupPath><device ID>/YYMM/DD/CHnn.Index and .../CHnn/<base name>[-<phone digits>].wav
// Base name: YYMMDDhhmmss-CHnn.

// "YYMMDDhhmmss-CHnn" of the entry's start and the channel (counted from 0).
QString RecordBaseName(const RecordIndexEntry& entry, int channelIndex);
// The same from a record key's fields.
QString RecordBaseName(int year, int month, int day, int hour, int minute, int second, int channelIndex);

// "/RecordFiles/YYMM/DD/CHnn.Index", channel counted from 0.
QString DeviceIndexPath(int year, int month, int day, int channelIndex);
// "/RecordFiles/YYMM/DD/CHnn/<base name>.wav".
QString DeviceRecordPath(const RecordIndexEntry& entry, int channelIndex);
// The same from a record key's fields.
QString DeviceRecordPath(int year, int month, int day, int hour, int minute, int second, int channelIndex);

// "<base name>-<digits>.wav", or "<base name>.wav" without phone digits: a record file's name on the PC.
QString LocalRecordFileName(const QString& baseName, const QString& phoneDigits);

// A device ID may name a folder of the backup tree only when it is one plain path component: not empty, not
// "." or "..", without '/', '\\' or NUL. The ID comes from a file in the backup folder, so it is checked before
// it becomes a path.
bool IsValidDeviceFolderName(const QString& id);

// <BackupPath><id>; empty when the ID is not a valid folder name.
QString LocalDeviceFolder(const QString& id);
// <device folder>/YYMM; empty when the ID is not valid.
QString LocalMonthFolder(const QString& id, int year, int month);
// <device folder>/YYMM/DD; empty when the ID is not valid.
QString LocalDayFolder(const QString& id, int year, int month, int day);
// <day folder>/CHnn, channel counted from 0; empty when the ID is not valid.
QString LocalChannelFolder(const QString& id, int year, int month, int day, int channelIndex);
// <day folder>/CHnn.Index, channel counted from 0; empty when the ID is not valid.
QString LocalIndexPath(const QString& id, int year, int month, int day, int channelIndex);
// <channel folder>/<local record file name>; empty when the ID is not valid.
QString LocalRecordPath(const QString& id, const RecordIndexEntry& entry, int channelIndex);
