#pragma once

#include <QList>
#include <QUrl>

class ZGridListData;

// The record list's tables as the record page handles them on the GUI thread. Every read and write of a
// table's rows here holds the table's lock: a recorder's own table is also touched by its heartbeat.

// Whether some row of the table has its check cell (cell 0) set. False for a null table.
bool AnyRecordChecked(ZGridListData* table);

// The header of the check column: when some row is unchecked every row becomes checked, else every row is
// unchecked. Nothing for a null or empty table.
void ToggleAllRecordChecks(ZGridListData* table);

// A 12-column table of the dropped files that are recorder WAV files: the path contains ".wav" (exactly so,
// "X.WAV" is not taken) and the file carries the record information. Each row's UserData is a heap copy of
// its path. Null when no file qualified.
ZGridListData* DroppedRecordTable(const QList<QUrl>& urls);

// Frees the path strings of a table made by DroppedRecordTable, then the table itself. Call it only when no
// grid shows the table any longer. Nothing for null.
void DeleteDroppedRecordTable(ZGridListData* table);
