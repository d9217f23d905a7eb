#pragma once

#include <QString>
#include <QStringList>

class ZGridList;
class ZGridListData;

// Writes the checked rows (cell 0 set) of a record table to a workbook, in table order: row 1 the headings of
// grid columns 1..11, then one sheet row per checked record. Cells 1..8 go to sheet columns A..H and cells
// 9..11 to J..L; column I stays empty (the check column is not exported). Columns A..J are centred text ("@"),
// so numbers such as "0123" stay as written. True when the workbook reached the disk; true without writing
// anything when there is no table. headings: the grid's 12 column texts (index 0, the check column, unused).
bool ExportRecordsToExcel(const ZGridListData* data, const QStringList& headings, const QString& path);

// The same for the record grid: its table and its column headings. True without writing anything when the grid
// shows no table.
bool ExportRecordsToExcel(const ZGridList* grid, const QString& path);
