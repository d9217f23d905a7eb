#pragma once

#include <QString>
#include <QStringList>

class ZGridListData;

// Writes a statistics table to a workbook: row 1 the headers (one per column, A to S), then one worksheet row
// per table row in table order, every cell the table cell's text stored as text ("@"), centred; column A is
// 10 wide, B to S 20. True only when the whole workbook reached the disk (written aside, then renamed).
bool ExportRecordStatistics(const ZGridListData& table, const QStringList& headers, const QString& xlsxPath);
