#include "store/RecordExport.h"

#include "store/RecordRow.h"
#include "xlsx/XlsxDocument.h"

#include "ZGridList.h"
#include "ZGridListData.h"

namespace {

// Sheet column of grid column 1..11: I is left out.
int SheetColumn(int gridColumn)
{
    return gridColumn <= 8 ? gridColumn : gridColumn + 1;
}

}  // namespace

bool ExportRecordsToExcel(const ZGridListData* data, const QStringList& headings, const QString& path)
{
    QXlsx::Document xlsx;
    QXlsx::Format format;
    format.setHorizontalAlignment(QXlsx::Format::AlignHCenter);
    format.setNumberFormatIndex(49);  // text
    xlsx.setColumnFormat(1, 10, format);
    xlsx.setColumnWidth(1, 20);
    xlsx.setColumnWidth(2, 5, 10);
    xlsx.setColumnWidth(6, 10, 20);
    if (!data)
        return true;
    if (data->ColumnCount < RecordColumnCount)
        return false;

    for (int column = 1; column < RecordColumnCount; ++column)
        xlsx.write(QXlsx::CellReference(1, SheetColumn(column)), headings.value(column));
    int sheetRow = 2;
    for (const ZGridListRow* row : data->Rows) {
        if (row->Cells[0].Value == 0)
            continue;
        for (int column = 1; column < RecordColumnCount; ++column)
            xlsx.write(QXlsx::CellReference(sheetRow, SheetColumn(column)), row->Cells[column].Text);
        ++sheetRow;
    }
    return xlsx.saveAs(path);
}

bool ExportRecordsToExcel(const ZGridList* grid, const QString& path)
{
    QStringList headings;
    for (const ZGridListColumn& column : grid->Columns)
        headings << column.Text;
    return ExportRecordsToExcel(grid->DataSource(), headings, path);
}
