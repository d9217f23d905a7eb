// The call statistics: the counting over a record list as the record search leaves it, and the window run as the
// record page runs it.

#include "DialogTestSupport.h"
#include "ModalTestHelpers.h"

#include "PythonCheck.h"

#include "LanguageTexts.h"
#include "RecordStatistics.h"
#include "RecordStatisticsForm.h"

#include "ZButton.h"
#include "ZGridList.h"
#include "ZGridListData.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <map>
#include <memory>
#include <tuple>
#include <vector>

namespace {

// One record as the statistics read it: channel index, channel name, record type, talk seconds.
using Record = std::tuple<int, QString, int, int>;

std::unique_ptr<ZGridListData> RecordList(const std::vector<Record>& records)
{
    auto list = std::make_unique<ZGridListData>(12);
    for (const auto& [channel, name, type, seconds] : records) {
        ZGridListRow* row = list->CreateRow();
        row->Cells[2] = QString::number(channel + 1);
        row->Cells[2].Value = channel;
        row->Cells[3] = name;
        row->Cells[4] = QStringLiteral("type");
        row->Cells[4].Value = type;
        row->Cells[5] = QStringLiteral("talk");
        row->Cells[5].Value = seconds;
        list->AddRow(row);
    }
    return list;
}

// The 19 texts of a statistics row: channel and name, then every counter 0 or 00:00:00 but those given
// (by column).
QStringList Expected(const QString& channel, const QString& name, const std::map<int, QString>& set)
{
    QStringList row{channel, name};
    for (int column = 2; column < StatisticsColumnCount; ++column) {
        const bool isTime = column >= 4 && column % 2 == 0;
        row << (set.count(column) ? set.at(column) : isTime ? QStringLiteral("00:00:00") : QStringLiteral("0"));
    }
    return row;
}

QList<QStringList> Texts(const ZGridListData& table)
{
    QList<QStringList> rows;
    for (const ZGridListRow* row : table.Rows) {
        QStringList texts;
        for (int column = 0; column < row->CellCount(); ++column)
            texts << row->Cells[column].Text;
        rows << texts;
    }
    return rows;
}

// Missed, Inbound, Outbound, Auto-Answer, Voice Trigger, Key Control, Timing, Polarity, Total (count columns).
enum { MissedCol = 2, InboundCol = 3, OutboundCol = 5, TimingCol = 13, TotalCol = 17 };

const std::vector<Record> Fixture = {
    {5, "A", 2, 12}, {5, "B", 0, 3725}, {1, "C", 7, 59}, {1, "C", 5, 600}, {1, "C", -1, 5}, {64, "X", 0, 9},
    {-1, "Y", 0, 9}};

const QList<QStringList> FixtureTable = {
    Expected("2", "C", {{TimingCol, "1"}, {TimingCol + 1, "00:00:59"}, {TotalCol, "1"}, {TotalCol + 1, "00:00:59"}}),
    Expected("6", "A",
             {{MissedCol, "1"}, {InboundCol, "1"}, {InboundCol + 1, "01:02:05"}, {TotalCol, "2"},
              {TotalCol + 1, "01:02:17"}}),
    Expected("Total", "",
             {{MissedCol, "1"}, {InboundCol, "1"}, {InboundCol + 1, "01:02:05"}, {TimingCol, "1"},
              {TimingCol + 1, "00:00:59"}, {TotalCol, "3"}, {TotalCol + 1, "01:03:16"}}),
};

// The first sheet as JSON: every cell's value as [row][column] (None as null), the value types, number
// formats and horizontal alignments of the written cells, and the width of every column A to S.
const char* ReadScript = R"(
import json, sys, openpyxl
from openpyxl.utils import get_column_letter
ws = openpyxl.load_workbook(sys.argv[1]).active
cells = [c for row in ws.iter_rows() for c in row if c.value is not None]
widths = {}
for dim in ws.column_dimensions.values():
    for n in range(dim.min or 1, (dim.max or 0) + 1):
        widths[get_column_letter(n)] = dim.width
print(json.dumps({"rows": [[c.value for c in row] for row in ws.iter_rows(max_col=19)],
                  "types": sorted({type(c.value).__name__ for c in cells}),
                  "formats": sorted({c.number_format for c in cells}),
                  "align": sorted({str(c.alignment.horizontal) for c in cells}),
                  "widths": widths}))
)";

QJsonObject ReadWorkbook(const QString& path)
{
    bool ok = false;
    const QString out = RunPython(QString::fromLatin1(ReadScript), {path}, &ok);
    return ok ? QJsonDocument::fromJson(out.toUtf8()).object() : QJsonObject();
}

QList<QStringList> SheetTexts(const QJsonObject& sheet)
{
    QList<QStringList> rows;
    for (const QJsonValue& row : sheet["rows"].toArray()) {
        QStringList texts;
        for (const QJsonValue& cell : row.toArray())
            texts << (cell.isNull() ? QString() : cell.toString());
        rows << texts;
    }
    return rows;
}

} // namespace

class RecordStatisticsTest : public DialogTestCase
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        DialogTestCase::initTestCase();
        Language::Load(QStringLiteral("English"));
    }

    // Channels in ascending order whatever the list's order, the first name of a channel, Missed time only in
    // the total, Continuous and unknown types counted nowhere, indexes outside the recorder's 64 left out.
    void countsTheFixture()
    {
        const auto list = RecordList(Fixture);
        std::unique_ptr<ZGridListData> table(CountRecordStatistics(*list, QStringLiteral("Total")));
        QCOMPARE(table->ColumnCount, StatisticsColumnCount);
        QCOMPARE(Texts(*table), FixtureTable);
    }

    void countsEveryType_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("column");  // the count column it feeds; -1 none
        QTest::newRow("Inbound") << 0 << 3;
        QTest::newRow("Outbound") << 1 << 5;
        QTest::newRow("Auto-Answer") << 6 << 7;
        QTest::newRow("Voice Trigger") << 4 << 9;
        QTest::newRow("Key Control") << 3 << 11;
        QTest::newRow("Timing") << 7 << 13;
        QTest::newRow("Polarity") << 8 << 15;
        QTest::newRow("Continuous") << 5 << -1;
        QTest::newRow("past the list") << 9 << -1;
    }

    void countsEveryType()
    {
        QFETCH(int, type);
        QFETCH(int, column);
        const auto list = RecordList({{0, "first", type, 3725}, {63, "last", type, 1}});
        std::unique_ptr<ZGridListData> table(CountRecordStatistics(*list, QStringLiteral("All")));
        std::map<int, QString> first, last, total;
        if (column > 0) {
            first = {{column, "1"}, {column + 1, "01:02:05"}, {TotalCol, "1"}, {TotalCol + 1, "01:02:05"}};
            last = {{column, "1"}, {column + 1, "00:00:01"}, {TotalCol, "1"}, {TotalCol + 1, "00:00:01"}};
            total = {{column, "2"}, {column + 1, "01:02:06"}, {TotalCol, "2"}, {TotalCol + 1, "01:02:06"}};
        }
        const QList<QStringList> expected{Expected("1", "first", first), Expected("64", "last", last),
                                          Expected("All", "", total)};
        QCOMPARE(Texts(*table), expected);
    }

    // Hours are not capped; the counters do not wrap at 16 bits.
    void longTimesAndEmptyLists()
    {
        const auto many = RecordList(std::vector<Record>(6, Record{2, "long", 0, 60000}));
        std::unique_ptr<ZGridListData> table(CountRecordStatistics(*many, QStringLiteral("Total")));
        QCOMPARE(Texts(*table).first(), Expected("3", "long", {{InboundCol, "6"}, {InboundCol + 1, "100:00:00"},
                                                               {TotalCol, "6"}, {TotalCol + 1, "100:00:00"}}));
        QCOMPARE(StatisticsDurationText(0xFFFFFFFFu), QStringLiteral("1193046:28:15"));

        const auto none = RecordList({});
        table.reset(CountRecordStatistics(*none, QStringLiteral("Total")));
        QCOMPARE(Texts(*table), QList<QStringList>{Expected("Total", "", {})});
    }

    // The window: nothing to count shows nothing; a run shows the table of its own list, the total labelled in
    // the current language; Confirm ends it with 0; the next run's table replaces the last one.
    void windowShowsTheTableOfEachRun()
    {
        RecordStatisticsForm form(m_Main.get());
        QCOMPARE(form.Exec(nullptr), 0);
        auto list = RecordList(Fixture);
        list->RowsVisible = false;
        QCOMPARE(form.Exec(list.get()), 0);
        QVERIFY(!form.isVisible());
        list->RowsVisible = true;

        auto* grid = form.findChild<ZGridList*>(QStringLiteral("GridList"));
        QList<QStringList> shown;
        for (const std::vector<Record>& records : {Fixture, std::vector<Record>{{7, "D", 1, 61}}}) {
            list = RecordList(records);
            When(this, [&] { return form.isVisible(); }, [&] {
                shown = Texts(*grid->DataSource());
                QTest::mouseClick(form.findChild<ZButton*>(QStringLiteral("ConfirmButton")), Qt::LeftButton);
            });
            QCOMPARE(form.Exec(list.get()), 0);
            list.reset();  // the table stays the window's own
            QVERIFY(grid->DataSource() != nullptr);
        }
        QCOMPARE(shown, (QList<QStringList>{
                            Expected("8", "D", {{OutboundCol, "1"}, {OutboundCol + 1, "00:01:01"}, {TotalCol, "1"},
                                                {TotalCol + 1, "00:01:01"}}),
                            Expected(TextMisc025, "", {{OutboundCol, "1"}, {OutboundCol + 1, "00:01:01"},
                                                       {TotalCol, "1"}, {TotalCol + 1, "00:01:01"}})}));
        QCOMPARE(grid->Columns.size(), StatisticsColumnCount);
    }

    // Runs the window on `records`; inside, presses Export once per file name in `answers` (each the file
    // question's answer) and notes the message boxes that follow, then Confirm.
    // The window is made as the main window makes it, before the language `language` is loaded.
    QStringList ExportFrom(const std::vector<Record>& records, QStringList answers,
                           const QString& language = QStringLiteral("English"))
    {
        RecordStatisticsForm form(m_Main.get());
        Language::Load(language);
        RecordStatisticsForm::AskExportFileName = [&answers] { return answers.takeFirst(); };
        const auto list = RecordList(records);
        TipCatcher tips;
        When(this, [&] { return form.isVisible(); }, [&] {
            while (!answers.isEmpty())
                QTest::mouseClick(form.findChild<ZButton*>(QStringLiteral("ExportButton")), Qt::LeftButton);
            QTest::mouseClick(form.findChild<ZButton*>(QStringLiteral("ConfirmButton")), Qt::LeftButton);
        });
        form.Exec(list.get());
        RecordStatisticsForm::AskExportFileName = nullptr;
        return tips.Seen;
    }

    // The workbook holds what the window shows, every cell centred text; the headers stand over their columns
    // (Inbound before Outbound, as the counting fills them); a repeated export replaces the file.
    void exportWritesTheShownTable()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("stats.xlsx"));
        QCOMPARE(ExportFrom({{3, "old", 0, 1}}, {path}), QStringList());
        QCOMPARE(ExportFrom(Fixture, {QString(), path}), QStringList());  // a cancelled question writes nothing

        const QJsonObject sheet = ReadWorkbook(path);
        QList<QStringList> rows = SheetTexts(sheet);
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows.takeFirst(), QStringLiteral("Channel|Channel Name|Missed|Inbound|Time(Inbound)|Outbound|"
                                                  "Time(Outbound)|Auto-Answer|Time(Auto-Answer)|Voice Trigger|"
                                                  "Time(Voice Trigger)|Key Control|Time(Key Control)|Timing|"
                                                  "Time(Timing)|Polarity|Time(Polarity)|Total|Time(Total)")
                                       .split('|'));
        QList<QStringList> expected = FixtureTable;
        expected.last()[0] = TextMisc025;
        expected.last()[1] = QString();  // an empty text is an empty cell
        QCOMPARE(rows, expected);
        QCOMPARE(sheet["types"].toArray(), QJsonArray{"str"});
        QCOMPARE(sheet["formats"].toArray(), QJsonArray{"@"});
        QCOMPARE(sheet["align"].toArray(), QJsonArray{"center"});
        const QJsonObject widths = sheet["widths"].toObject();
        QVERIFY2(qAbs(widths["A"].toDouble() - 10) < 1, qPrintable(QString::number(widths["A"].toDouble())));
        for (char column = 'B'; column <= 'S'; ++column)
            QVERIFY2(qAbs(widths[QString(QChar(column))].toDouble() - 20) < 1, qPrintable(QString(QChar(column))));
    }

    // The headers follow the language; a save that cannot reach the disk says so and leaves no file.
    void exportFollowsTheLanguageAndReportsFailure()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("de.xlsx"));
        ExportFrom(Fixture, {path}, QStringLiteral("Deutsche"));
        const QList<QStringList> rows = SheetTexts(ReadWorkbook(path));
        QVERIFY(!rows.isEmpty());
        QCOMPARE(rows.first().mid(3, 4), (QStringList{"Eingehend", "Dauer (eingehend)", "Ausgehend", "Dauer (ausgehend)"}));
        QCOMPARE(rows.last().first(), QStringLiteral("Gesamt"));

        const QString missing = dir.filePath(QStringLiteral("no/such/folder/x.xlsx"));
        const QStringList tips = ExportFrom(Fixture, {missing});
        QCOMPARE(tips, QStringList{TextTips002});
        QVERIFY(!QFileInfo::exists(missing));
        QCOMPARE(QDir(dir.filePath(QStringLiteral("no"))).exists(), false);
    }
};

QTEST_MAIN(RecordStatisticsTest)
#include "tst_record_statistics_form.moc"
