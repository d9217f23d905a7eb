#pragma once

#include "CalvoxSDK.h"

#include <QList>
#include <QString>

class ZGridListData;

// One ticked row of a record grid, copied out of the grid so that a worker never reads the grid while the
// GUI may change it.
struct TickedRecord {
    unsigned char Year = 0;  // year - 2000
    unsigned char Month = 0;
    unsigned char Day = 0;
    unsigned char Hour = 0;
    unsigned char Minute = 0;
    unsigned char Second = 0;
    int Channel = 0;            // as shown, 1 = first channel
    bool HasRecording = false;  // the talk-time cell is not "--/--" (a missed call has no WAV file)
    quint16 Index = 0;          // the record's position in its CHnn.Index file (the row's UserData)
    QString PhoneDigits;        // the ASCII digits of the phone cell
};

// The ticked rows of a record grid (cell 0 Value nonzero), in grid order, read under the grid's lock:
// cell 1 the start "yyyy-MM-dd hh:mm:ss", cell 2 the channel number, cell 5 the talk time, cell 7 the phone
// number, UserData the index. A null grid gives none.
QList<TickedRecord> CopyTickedRecords(ZGridListData* rows);

// "YYMMDDhhmmss-CHnn".
QString TickedRecordBaseName(const TickedRecord& record);
// "/RecordFiles/YYMM/DD/CHnn/<base name>.wav".
QString TickedRecordDevicePath(const TickedRecord& record);
// The 10-byte key that names the record to the recorder and to the local store: the time, the channel counted
// from 0, the has-recording flag and the index, little-endian.
Calvox_RecordKey TickedRecordKey(const TickedRecord& record);
