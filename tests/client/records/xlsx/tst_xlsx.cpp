#include "PythonCheck.h"
#include "xlsx/XlsxDocument.h"
#include "xlsx/XlsxReader.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using namespace QXlsx;

// Dumps the first sheet as JSON: per cell its value, type, alignment and number format; column widths.
static const char* DumpScript = R"PY(
import json, sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb.worksheets[0]
cells = {}
for row in ws.iter_rows():
    for c in row:
        if c.value is None: continue
        cells[c.coordinate] = {"v": c.value if not isinstance(c.value, float) else repr(c.value), "t": c.data_type,
                               "align": c.alignment.horizontal, "fmt": c.number_format}
widths = {k: v.width for k, v in ws.column_dimensions.items()}
print(json.dumps({"cells": cells, "widths": widths, "dim": ws.dimensions}))
)PY";

class XlsxTest : public QObject
{
    Q_OBJECT

private slots:
    void cellReferences_data();
    void cellReferences();
    void writtenWorkbookReadsBackInOpenpyxl();
    void failedWritesFailTheSave();
    void saveFailureLeavesTargetAlone();
    void readsOpenpyxlWorkbookWithSharedStrings();
    void readsOwnWorkbookWithInlineStrings();
    void numberText_data();
    void numberText();
    void rejectsFilesThatAreNotWorkbooks();

private:
    QTemporaryDir m_dir;
};

void XlsxTest::cellReferences_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::newRow("A1") << "A1" << 1 << 1;
    QTest::newRow("Z9") << "Z9" << 9 << 26;
    QTest::newRow("AA10") << "AA10" << 10 << 27;
    QTest::newRow("dollars") << "$B$2" << 2 << 2;
    QTest::newRow("last cell") << "XFD1048576" << 1048576 << 16384;
    QTest::newRow("column past the sheet") << "XFE1" << -1 << -1;
    QTest::newRow("row past the sheet") << "A1048577" << -1 << -1;
    QTest::newRow("row 0") << "A0" << -1 << -1;
    QTest::newRow("lower case") << "a1" << -1 << -1;
    QTest::newRow("no row") << "AB" << -1 << -1;
    QTest::newRow("trailing junk") << "A1:" << -1 << -1;
    QTest::newRow("four letters") << "AAAA1" << -1 << -1;
    QTest::newRow("huge row") << "A99999999999" << -1 << -1;
}

void XlsxTest::cellReferences()
{
    QFETCH(QString, text);
    QFETCH(int, row);
    QFETCH(int, column);
    const CellReference reference(text);
    QCOMPARE(reference.isValid(), row > 0);
    if (row > 0) {
        QCOMPARE(reference.row(), row);
        QCOMPARE(reference.column(), column);
        QCOMPARE(reference.toString(), QString(text).remove(QLatin1Char('$')));
        QCOMPARE(CellReference(QByteArray(text.toLatin1()).constData()).toString(), reference.toString());
    }
}

void XlsxTest::writtenWorkbookReadsBackInOpenpyxl()
{
    const QString path = m_dir.filePath(QStringLiteral("written.xlsx"));
    {
        Document xlsx;
        Format columns;
        columns.setHorizontalAlignment(Format::AlignHCenter);
        columns.setNumberFormatIndex(49);
        // Widths and formats set separately over overlapping ranges, as the exports do.
        QVERIFY(xlsx.setColumnFormat(1, 10, columns));
        QVERIFY(xlsx.setColumnWidth(1, 20));
        QVERIFY(xlsx.setColumnWidth(2, 10));
        QVERIFY(xlsx.setColumnWidth(3, 10, 20));
        QVERIFY(xlsx.write("A1", QStringLiteral("Name")));
        QVERIFY(xlsx.write("B1", QStringLiteral("Ünïcödé 名字")));
        QVERIFY(xlsx.write(CellReference(QStringLiteral("C2")), QStringLiteral("=1+1")));
        QVERIFY(xlsx.write(2, 4, 42));
        QVERIFY(xlsx.write(2, 12, QStringLiteral("right"), [] { Format f; f.setHorizontalAlignment(Format::AlignRight); return f; }()));
        QVERIFY(xlsx.write(3, 1, QStringLiteral("007")));
        QCOMPARE(xlsx.dimension().toString(), QStringLiteral("A1:L3"));
        QVERIFY(xlsx.saveAs(path));
    }
    bool ok = false;
    const QJsonObject dump = QJsonDocument::fromJson(RunPython(DumpScript, {path}, &ok).toUtf8()).object();
    QVERIFY(ok);
    const QJsonObject cells = dump["cells"].toObject();
    QCOMPARE(cells.size(), 6);
    const auto cell = [&](const char* name) { return cells[name].toObject(); };
    QCOMPARE(cell("A1")["v"].toString(), QStringLiteral("Name"));
    QCOMPARE(cell("B1")["v"].toString(), QStringLiteral("Ünïcödé 名字"));
    QCOMPARE(cell("C2")["v"].toString(), QStringLiteral("=1+1"));
    QCOMPARE(cell("C2")["t"].toString(), QStringLiteral("s"));  // text, not a formula
    QCOMPARE(cell("D2")["v"].toInt(), 42);
    QCOMPARE(cell("D2")["t"].toString(), QStringLiteral("n"));
    QCOMPARE(cell("A3")["v"].toString(), QStringLiteral("007"));
    for (const char* name : {"A1", "B1", "C2", "D2", "A3"}) {
        QCOMPARE(cell(name)["align"].toString(), QStringLiteral("center"));
        QCOMPARE(cell(name)["fmt"].toString(), QStringLiteral("@"));
    }
    // Column 12 has no column format: the cell keeps its own.
    QCOMPARE(cell("L2")["align"].toString(), QStringLiteral("right"));
    QCOMPARE(cell("L2")["fmt"].toString(), QStringLiteral("General"));
    const QJsonObject widths = dump["widths"].toObject();
    QVERIFY(qAbs(widths["A"].toDouble() - 20) < 1);
    QVERIFY(qAbs(widths["B"].toDouble() - 10) < 1);
    QVERIFY(qAbs(widths["C"].toDouble() - 20) < 1);
    QCOMPARE(dump["dim"].toString(), QStringLiteral("A1:L3"));
}

void XlsxTest::failedWritesFailTheSave()
{
    const QString path = m_dir.filePath(QStringLiteral("failed.xlsx"));
    struct Case { const char* name; std::function<bool(Document&)> badWrite; };
    const QList<Case> cases = {
        {"row above the streamed one", [](Document& d) { return d.write(1, 1, QStringLiteral("late")); }},
        {"cell outside the sheet", [](Document& d) { return d.write(0, 1, QStringLiteral("x")); }},
        {"string over the cell limit", [](Document& d) { return d.write(6, 1, QString(40000, QLatin1Char('x'))); }},
    };
    for (const Case& c : cases) {
        Document xlsx;
        QVERIFY(xlsx.write(1, 1, QStringLiteral("a")));
        QVERIFY(xlsx.write(5, 1, QStringLiteral("b")));
        QVERIFY2(!c.badWrite(xlsx), c.name);
        QVERIFY2(!xlsx.saveAs(path), c.name);
        QVERIFY2(!QFile::exists(path), c.name);
    }
    // A document opened for reading refuses writes and saves.
    Document opened(m_dir.filePath(QStringLiteral("nothing-here.xlsx")));
    QVERIFY(!opened.isLoadPackage());
    QVERIFY(!opened.write(1, 1, QStringLiteral("x")));
    QVERIFY(!opened.saveAs(path));
}

void XlsxTest::saveFailureLeavesTargetAlone()
{
    Document xlsx;
    QVERIFY(xlsx.write(1, 1, QStringLiteral("a")));
    QVERIFY(!xlsx.saveAs(m_dir.filePath(QStringLiteral("no/such/folder/x.xlsx"))));
    // The workbook is finished but still saveable elsewhere; writes after the save fail.
    const QString path = m_dir.filePath(QStringLiteral("second-try.xlsx"));
    QVERIFY(xlsx.saveAs(path));
    QVERIFY(!xlsx.write(2, 1, QStringLiteral("b")));
    Document back(path);
    QVERIFY(back.isLoadPackage());
    QCOMPARE(back.read("A1").toString(), QStringLiteral("a"));
}

// This openpyxl writes inline strings; SharedStringsScript moves them into a shared string table the way
// spreadsheet programs store them, with a rich-text item and a phonetic run that must not show.
static const char* SharedStringsScript = R"PY(
import re, sys, zipfile
def to_shared(src, dst, bad_index=False):
    zin = zipfile.ZipFile(src)
    strings = []
    def share(m):
        text = m.group(2)
        if text not in strings: strings.append(text)
        index = len(strings) + 5 if bad_index else strings.index(text)
        return '<c r="%s" t="s"><v>%d</v></c>' % (m.group(1), index)
    sheet = re.sub(r'<c r="([A-Z]+[0-9]+)" t="inlineStr"><is><t[^>]*>(.*?)</t></is></c>', share,
                   zin.read("xl/worksheets/sheet1.xml").decode())
    items = []
    for s in strings:
        if s == "RICH":
            items.append('<si><r><t>bold</t></r><r><rPr><b/></rPr><t xml:space="preserve"> part</t></r>'
                         '<rPh sb="0" eb="1"><t>ignored</t></rPh></si>')
        else:
            items.append('<si><t xml:space="preserve">%s</t></si>' % s)
    sst = ('<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="%d" uniqueCount="%d">%s</sst>'
           % (len(items), len(items), "".join(items)))
    zout = zipfile.ZipFile(dst, "w", zipfile.ZIP_DEFLATED)
    for item in zin.infolist():
        data = zin.read(item.filename)
        if item.filename == "xl/worksheets/sheet1.xml": data = sheet.encode()
        elif item.filename == "xl/_rels/workbook.xml.rels":
            data = data.replace(b"</Relationships>", b'<Relationship Id="rIdS" Target="sharedStrings.xml" '
                b'Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings"/></Relationships>')
        elif item.filename == "[Content_Types].xml":
            data = data.replace(b"</Types>", b'<Override PartName="/xl/sharedStrings.xml" ContentType='
                b'"application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/></Types>')
        zout.writestr(item, data)
    zout.writestr("xl/sharedStrings.xml", sst)
    zout.close()
)PY";

void XlsxTest::readsOpenpyxlWorkbookWithSharedStrings()
{
    const QString path = m_dir.filePath(QStringLiteral("shared.xlsx"));
    bool ok = false;
    RunPython(QString::fromLatin1(SharedStringsScript) + QStringLiteral(R"PY(
import openpyxl
wb = openpyxl.Workbook()
ws = wb.active
ws.title = "Contacts"
wb.create_sheet("Second")["A1"] = "not this one"
ws["A1"] = "Name"
ws["B1"] = "Ünïcödé 名字"
ws["A2"] = 13800138000
ws["B2"] = 12.0
ws["C2"] = 0.5
ws["D2"] = -3
ws["E2"] = 1e20
ws["F2"] = True
ws["G2"] = "  spaced &amp; <b>"
ws["A3"] = "RICH"
ws["C5"] = "Name"
wb.save(sys.argv[1] + ".inline.xlsx")
to_shared(sys.argv[1] + ".inline.xlsx", sys.argv[1])
)PY"), {path}, &ok);
    QVERIFY(ok);
    Document xlsx(path);
    QVERIFY(xlsx.isLoadPackage());
    QCOMPARE(xlsx.read("A1").toString(), QStringLiteral("Name"));
    QCOMPARE(xlsx.read("B1").toString(), QStringLiteral("Ünïcödé 名字"));
    QCOMPARE(xlsx.read("A2").toString(), QStringLiteral("13800138000"));
    QCOMPARE(xlsx.read("B2").toString(), QStringLiteral("12"));
    QCOMPARE(xlsx.read("C2").toString(), QStringLiteral("0.5"));
    QCOMPARE(xlsx.read("D2").toString(), QStringLiteral("-3"));
    QCOMPARE(xlsx.read("E2").toString(), QStringLiteral("100000000000000000000"));
    QCOMPARE(xlsx.read("F2").toString(), QStringLiteral("TRUE"));
    QCOMPARE(xlsx.read("G2").toString(), QStringLiteral("  spaced &amp; <b>"));
    QCOMPARE(xlsx.read("A3").toString(), QStringLiteral("bold part"));
    QCOMPARE(xlsx.read("C5").toString(), QStringLiteral("Name"));  // one shared string used twice
    QVERIFY(!xlsx.read("B3").isValid());
    QCOMPARE(xlsx.dimension().toString(), QStringLiteral("A1:G5"));

    // The same workbook as openpyxl stored it, with inline strings, reads the same.
    Document inlineXlsx(path + QStringLiteral(".inline.xlsx"));
    QVERIFY(inlineXlsx.isLoadPackage());
    QCOMPARE(inlineXlsx.read("B1").toString(), QStringLiteral("Ünïcödé 名字"));
    QCOMPARE(inlineXlsx.read("A2").toString(), QStringLiteral("13800138000"));
    QCOMPARE(inlineXlsx.read("G2").toString(), QStringLiteral("  spaced &amp; <b>"));
}

void XlsxTest::readsOwnWorkbookWithInlineStrings()
{
    // Our writer streams, so it stores inline strings: the reader must take those too.
    const QString path = m_dir.filePath(QStringLiteral("inline.xlsx"));
    {
        Document xlsx;
        for (int row = 1; row <= 300; ++row)
            for (int column = 1; column <= 3; ++column)
                QVERIFY(xlsx.write(row, column, QStringLiteral("r%1c%2 <&>\"'").arg(row).arg(column)));
        QVERIFY(xlsx.write(301, 2, 1234.25));
        QVERIFY(xlsx.saveAs(path));
    }
    bool ok = false;
    const QString types = RunPython(QStringLiteral(R"PY(
import sys, zipfile
print("inlineStr" in zipfile.ZipFile(sys.argv[1]).read("xl/worksheets/sheet1.xml").decode())
)PY"), {path}, &ok);
    QVERIFY(ok);
    QCOMPARE(types.trimmed(), QStringLiteral("True"));
    Document xlsx(path);
    QVERIFY(xlsx.isLoadPackage());
    QCOMPARE(xlsx.read(1, 1).toString(), QStringLiteral("r1c1 <&>\"'"));
    QCOMPARE(xlsx.read(300, 3).toString(), QStringLiteral("r300c3 <&>\"'"));
    QCOMPARE(xlsx.read(301, 2).toString(), QStringLiteral("1234.25"));
    QCOMPARE(xlsx.dimension().toString(), QStringLiteral("A1:C301"));
}

void XlsxTest::numberText_data()
{
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QString>("text");
    QTest::newRow("integer") << "13800138000" << "13800138000";
    QTest::newRow("beyond double precision") << "123456789012345678901" << "123456789012345678901";
    QTest::newRow("trailing .0") << "12.0" << "12";
    QTest::newRow("exponent") << "1.3800138E+10" << "13800138000";
    QTest::newRow("small exponent") << "1E-3" << "0.001";
    QTest::newRow("negative") << "-2.50" << "-2.5";
    QTest::newRow("negative zero") << "-0.0" << "0";
    QTest::newRow("not a number") << "abc" << "abc";
}

void XlsxTest::numberText()
{
    QFETCH(QString, raw);
    QFETCH(QString, text);
    QCOMPARE(XlsxReader::NumberText(raw), text);
}

void XlsxTest::rejectsFilesThatAreNotWorkbooks()
{
    const QString text = m_dir.filePath(QStringLiteral("text.xlsx"));
    QFile file(text);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Name,Gender\nAnna,Female\n");
    file.close();

    const QString zip = m_dir.filePath(QStringLiteral("plain.zip"));
    const QString badIndex = m_dir.filePath(QStringLiteral("badindex.xlsx"));
    const QString truncated = m_dir.filePath(QStringLiteral("truncated.xlsx"));
    const QString bomb = m_dir.filePath(QStringLiteral("bomb.xlsx"));
    bool ok = false;
    RunPython(QString::fromLatin1(SharedStringsScript) + QStringLiteral(R"PY(
import openpyxl
zipfile.ZipFile(sys.argv[1], "w").writestr("hello.txt", "hi")
wb = openpyxl.Workbook(); wb.active["A1"] = "x"; wb.save(sys.argv[2])
def rewrite(src, dst, name, change):
    zin = zipfile.ZipFile(src); zout = zipfile.ZipFile(dst, "w", zipfile.ZIP_DEFLATED)
    for item in zin.infolist():
        data = zin.read(item.filename)
        zout.writestr(item, change(data) if item.filename == name else data)
    zout.close()
to_shared(sys.argv[2], sys.argv[3], bad_index=True)
data = open(sys.argv[2], "rb").read(); open(sys.argv[4], "wb").write(data[:len(data) // 2])
rewrite(sys.argv[2], sys.argv[5], "xl/worksheets/sheet1.xml",
        lambda d: d.replace(b"</sheetData>", b"<row r='2'><c r='A2' t='str'><v>" + b"x" * (300 << 20) + b"</v></c></row></sheetData>"))
)PY"), {zip, m_dir.filePath(QStringLiteral("good.xlsx")), badIndex, truncated, bomb}, &ok);
    QVERIFY(ok);

    QVERIFY(Document(m_dir.filePath(QStringLiteral("good.xlsx"))).isLoadPackage());
    for (const QString& path : {text, zip, badIndex, truncated, bomb, m_dir.filePath(QStringLiteral("missing.xlsx")),
                                m_dir.path()}) {
        Document xlsx(path);
        QVERIFY2(!xlsx.isLoadPackage(), qPrintable(path));
        QVERIFY(!xlsx.read(1, 1).isValid());
        QVERIFY(!xlsx.dimension().isValid());
    }
}

QTEST_GUILESS_MAIN(XlsxTest)
#include "tst_xlsx.moc"
