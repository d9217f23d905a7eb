#pragma once

#include "RecordIndexEntry.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

class ZGridListRow;

// The record list's row: 12 cells per record.
//   0 check box (unchecked)            Value: checked flag
//   1 start "yyyy-MM-dd hh:mm:ss"
//   2 channel number from 1            Value: channel index from 0
//   3 channel name (empty for local and dropped records)
//   4 type label, "Unknown" past the list   Value: RecordType
//   5 talk time "mm:ss", "--/--" for 0       Value: talk seconds
//   6 rings, empty for 0
//   7 phone digits, 8 contact, 9 key, 10 extension, 11 notes
// The values of cells 2, 4 and 5 are what the call statistics read.
constexpr int RecordColumnCount = 12;

// "mm:ss" with at least two digits each (65535 s gives "1092:15"); "--/--" for 0.
QString TalkTimeText(int seconds);
// The label of a record type from the loaded language's list ([Device] 032); "Unknown" for a type past its
// end (and for every type before a language is loaded).
QString RecordTypeText(int type);

// The texts that many rows of one fill share, made once and handed to every row (a search fills hundreds of
// thousands): the type labels as the loaded language had them when this was made, and each talk time's text.
// One per filling thread; not shared between threads.
class RecordRowTexts
{
public:
    RecordRowTexts();
    // RecordTypeText(type).
    const QString& TypeText(int type) const;
    // TalkTimeText(seconds).
    const QString& TalkTimeText(uint16_t seconds);

private:
    QStringList m_TypeLabels;
    QString m_Unknown;
    std::vector<QString> m_TalkTimes;  // by seconds, made on first use
};

// Fills the row's 12 cells as above and sets its UserData. The row must have 12 cells.
void FillRecordRow(ZGridListRow* row, const RecordIndexEntry& entry, int channelIndex, const QString& channelName,
                   const QString& phone, const QString& contact, const QString& extension, const QString& notes,
                   qintptr userData);
// The same with the shared texts of a fill.
void FillRecordRow(ZGridListRow* row, const RecordIndexEntry& entry, int channelIndex, const QString& channelName,
                   const QString& phone, const QString& contact, const QString& extension, const QString& notes,
                   qintptr userData, RecordRowTexts& texts);
// Fills the row from the entry alone: phone digits, the contact from the phone book (no outside-line prefix),
// extension and notes from their fields (each held to its field), empty channel name.
void FillRecordRowFromEntry(ZGridListRow* row, const RecordIndexEntry& entry, int channelIndex, qintptr userData);
// The same for a dropped WAV file: the row's UserData is path, a heap copy of the file's path that the caller
// keeps and frees.
void FillRecordRowFromEntry(ZGridListRow* row, const RecordIndexEntry* entry, int channelIndex, QString* path);
