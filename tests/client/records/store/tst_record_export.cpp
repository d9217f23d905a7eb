// Record list workbook: checked rows only, column I left empty, text cells read back by openpyxl.
#include "PythonCheck.h"

#include "LanguageTexts.h"

#include "store/RecordExport.h"
#include "store/RecordRow.h"

#include "ZGridList.h"
#include "ZGridListData.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QStringList Headings = QStringLiteral(
    "All|Time|Channel|Channel Name|Type|Talk Time|Ring|Phone Number|Contact|Key|Extension|Notes").split('|');

// Every cell of the first sheet as [row][column] text (None as null), with the number format of each
// written cell and column I's cells, as JSON.
const char* ReadScript = R"(
import json, sys, openpyxl
ws = openpyxl.load_workbook(sys.argv[1]).active
rows = []
for row in ws.iter_rows(min_row=1, max_row=ws.max_row, max_col=12):
    rows.append([c.value for c in row])
formats = sorted({c.number_format for row in ws.iter_rows(min_row=1, max_row=ws.max_row, max_col=10) for c in row if c.value is not None})
types = sorted({type(c.value).__name__ for row in ws.iter_rows() for c in row if c.value is not None})
align = sorted({str(c.alignment.horizontal) for row in ws.iter_rows(max_col=10) for c in row if c.value is not None})
print(json.dumps({"rows": rows, "formats": formats, "types": types, "align": align,
                  "widthA": ws.column_dimensions["A"].width, "widthB": ws.column_dimensions["B"].width}))
)";

void AddRow(ZGridListData& table, bool checked, const QString& phone, const QString& notes)
{
    TextDevice032 = QStringList{"Inbound"};
    ZGridListRow* row = table.CreateRow();
    RecordIndexEntry entry = {};
    entry.Year = 24;
    entry.Month = 3;
    entry.Day = 15;
    entry.Hour = 9;
    entry.TalkTime = 75;
    entry.Rings = 2;
    FillRecordRow(row, entry, 0, "Reception", phone, "Anna", "12", notes, 0);
    row->Cells[0] = checked;
    row->Cells[0].Value = checked;
    table.AddRow(row);
}

}  // namespace

class RecordExportTest : public QObject
{
    Q_OBJECT

private slots:
    void checkedRowsOnly()
    {
        ZGridListData table(RecordColumnCount);
        AddRow(table, true, "0123", "first");
        AddRow(table, false, "999", "second");
        AddRow(table, true, "00441234567890123456", QString::fromUtf8("dritte Notiz äöü"));
        QTemporaryDir dir;
        const QString path = dir.filePath("records.xlsx");
        QVERIFY(ExportRecordsToExcel(&table, Headings, path));

        bool ok = false;
        const QString out = RunPython(ReadScript, {path}, &ok);
        QVERIFY(ok);
        const QJsonObject sheet = QJsonDocument::fromJson(out.toUtf8()).object();
        const QJsonArray rows = sheet["rows"].toArray();
        QCOMPARE(rows.size(), 3);
        const QJsonArray heading = rows[0].toArray();
        QCOMPARE(heading[0].toString(), QString("Time"));
        QCOMPARE(heading[7].toString(), QString("Contact"));
        QVERIFY(heading[8].isNull());  // column I
        QCOMPARE(heading[9].toString(), QString("Key"));
        QCOMPARE(heading[11].toString(), QString("Notes"));
        const QJsonArray first = rows[1].toArray();
        QCOMPARE(first[0].toString(), QString("2024-03-15 09:00:00"));
        QCOMPARE(first[1].toString(), QString("1"));
        QCOMPARE(first[2].toString(), QString("Reception"));
        QCOMPARE(first[3].toString(), QString("Inbound"));
        QCOMPARE(first[4].toString(), QString("01:15"));
        QCOMPARE(first[5].toString(), QString("2"));
        QCOMPARE(first[6].toString(), QString("0123"));  // stays text with its zero
        QVERIFY(first[8].isNull());
        QCOMPARE(first[10].toString(), QString("12"));
        QCOMPARE(first[11].toString(), QString("first"));
        const QJsonArray second = rows[2].toArray();
        QCOMPARE(second[6].toString(), QString("00441234567890123456"));
        QCOMPARE(second[11].toString(), QString::fromUtf8("dritte Notiz äöü"));
        QCOMPARE(sheet["formats"].toArray(), QJsonArray({"@"}));
        QCOMPARE(sheet["types"].toArray(), QJsonArray({"str"}));
        QCOMPARE(sheet["align"].toArray(), QJsonArray({"center"}));
        QCOMPARE(sheet["widthB"].toDouble() < sheet["widthA"].toDouble(), true);
    }

    void noTableWritesNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("none.xlsx");
        QVERIFY(ExportRecordsToExcel(nullptr, Headings, path));
        ZGridList grid;
        QVERIFY(ExportRecordsToExcel(&grid, path));
        QVERIFY(!QFileInfo::exists(path));
    }

    // The grid's own headings and table.
    void fromTheGrid()
    {
        ZGridList grid;
        for (const QString& heading : Headings)
            grid.AddColumn(60, heading);
        ZGridListData table(RecordColumnCount);
        AddRow(table, false, "1", "skipped");
        AddRow(table, true, "2", "kept");
        grid.SetDataSource(&table);
        QTemporaryDir dir;
        const QString path = dir.filePath("grid.xlsx");
        QVERIFY(ExportRecordsToExcel(&grid, path));
        grid.SetDataSource(nullptr);
        bool ok = false;
        const QJsonArray rows =
            QJsonDocument::fromJson(RunPython(ReadScript, {path}, &ok).toUtf8()).object()["rows"].toArray();
        QVERIFY(ok);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].toArray()[11].toString(), QString("Notes"));
        QCOMPARE(rows[1].toArray()[11].toString(), QString("kept"));
    }

    void saveFailureIsReported()
    {
        ZGridListData table(RecordColumnCount);
        AddRow(table, true, "1", "");
        QTemporaryDir dir;
        QVERIFY(!ExportRecordsToExcel(&table, Headings, dir.filePath("missing/folder/x.xlsx")));
    }
};

QTEST_MAIN(RecordExportTest)
#include "tst_record_export.moc"
