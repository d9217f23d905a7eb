#pragma once

#include <QString>

class ZGridListData;

// The call statistics of a record list (the record page's 12-column table): one row per channel that has
// records, in ascending channel order, then a total row. Columns:
//    0 channel number from 1      1 channel name (of the channel's first record)
//    2 missed count
//    3/4 Inbound count/time       5/6 Outbound          7/8 Auto-Answer      9/10 Voice Trigger
//   11/12 Key Control             13/14 Timing          15/16 Polarity       17/18 total count/time
// Counts are decimal text, times "h:mm:ss" with at least two hour digits. A Missed record counts as missed and
// adds its talk time to the total time only; Continuous records and unknown types count nowhere, yet their
// channel still gets a row. The total row reads totalLabel in column 0 and nothing in column 1.
constexpr int StatisticsColumnCount = 19;

// A new table (the caller owns it) built from the records' cells 2 (channel index), 3 (channel name), 4 (type)
// and 5 (talk seconds), read from their Value and Text. A row whose channel index lies outside 0..63, or that
// has too few cells, is left out whole: it names no channel of a recorder.
ZGridListData* CountRecordStatistics(const ZGridListData& records, const QString& totalLabel);

// "%1:%2:%3" (hours, minutes, seconds), each at least two digits; hours are not capped (360000 s: 100:00:00).
QString StatisticsDurationText(quint32 seconds);
