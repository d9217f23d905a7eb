#include "RecordStatisticsExport.h"

#include "RecordStatistics.h"

#include "xlsx/XlsxDocument.h"

#include "ZGridListData.h"

bool ExportRecordStatistics(const ZGridListData& table, const QStringList& headers, const QString& xlsxPath)
{
    QXlsx::Document workbook;
    QXlsx::Format columnFormat;
    columnFormat.setHorizontalAlignment(QXlsx::Format::AlignHCenter);
    columnFormat.setNumberFormatIndex(49);
    workbook.setColumnFormat(1, StatisticsColumnCount, columnFormat);
    workbook.setColumnWidth(1, 10);
    workbook.setColumnWidth(2, StatisticsColumnCount, 20);

    for (int column = 0; column < StatisticsColumnCount; ++column)
        workbook.write(1, column + 1, headers.value(column));
    qint64 worksheetRow = 2;
    for (const ZGridListRow* row : table.Rows) {
        for (int column = 0; column < StatisticsColumnCount && column < row->CellCount(); ++column)
            workbook.write(static_cast<int>(worksheetRow), column + 1, row->Cells[column].Text);
        ++worksheetRow;
    }
    return workbook.saveAs(xlsxPath);
}
