#include "ZGridListColumn.h"
#include "ZGridListData.h"

#include <QImage>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <thread>
#include <type_traits>

// Rows and cells own what their cells hold: a copy would delete it twice.
static_assert(!std::is_copy_constructible<ZGridListCell>::value, "cells are not copyable");
static_assert(!std::is_copy_assignable<ZGridListCell>::value, "cells are not copy-assignable");
static_assert(!std::is_copy_constructible<ZGridListRow>::value, "rows are not copyable");
static_assert(!std::is_copy_assignable<ZGridListRow>::value, "rows are not copy-assignable");
static_assert(!std::is_copy_constructible<ZGridListData>::value, "stores are not copyable");
static_assert(sizeof(ZGridListCell::Value) == sizeof(void*), "a cell's value holds a pointer");

namespace {

ZGridListData* Store(const QStringList& column1)
{
    auto* data = new ZGridListData(3);
    for (const QString& text : column1) {
        ZGridListRow* row = data->CreateRow();
        row->Cells[0] = QStringLiteral("x");
        row->Cells[1] = text;
        row->Cells[2] = text + text;
        data->AddRow(row);
    }
    return data;
}

QStringList Column(const ZGridListData& data, int column)
{
    QStringList texts;
    for (const ZGridListRow* row : data.Rows)
        texts << row->Cells[column].Text;
    return texts;
}

} // namespace

class TestZGridListData : public QObject
{
    Q_OBJECT

private slots:
    void Construction();
    void SortState_data();
    void SortState();
    void SortOrdersByText();
    void RemoveRowAndClear();
    void CellAssignment();
    void Columns();
    void WorkerFillsWhileGuiTryLocksAndSorts();
};

void TestZGridListData::Construction()
{
    ZGridListData data(4);
    QCOMPARE(data.ColumnCount, 4);
    QCOMPARE(data.SortColumn, 1);
    QCOMPARE(data.SortDescending, false);
    QCOMPARE(data.RowsVisible, true);
    QVERIFY(data.Rows.isEmpty());
    ZGridListRow* row = data.CreateRow();
    QCOMPARE(row->CellCount(), 4);
    QCOMPARE(row->Visible, true);
    QCOMPARE(row->UserData, nullptr);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(row->Cells[i].Type, 0);
        QVERIFY(row->Cells[i].Text.isEmpty());
        QCOMPARE(row->Cells[i].Value, qintptr(0));
    }
    QVERIFY(data.Rows.isEmpty()); // not added yet
    delete row;
    QCOMPARE(ZGridListData(-3).ColumnCount, 0);
}

void TestZGridListData::SortState_data()
{
    QTest::addColumn<QVector<int>>("calls");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("descending");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("Sort(1) on a new store: descending") << QVector<int>{1} << 1 << true << QStringList{"c", "b", "a"};
    QTest::newRow("Sort(1) twice: ascending") << QVector<int>{1, 1} << 1 << false << QStringList{"a", "b", "c"};
    QTest::newRow("Sort(2): ascending") << QVector<int>{2} << 2 << false << QStringList{"a", "b", "c"};
    QTest::newRow("Sort(2) twice: descending") << QVector<int>{2, 2} << 2 << true << QStringList{"c", "b", "a"};
    QTest::newRow("Sort(1), Sort(2): ascending") << QVector<int>{1, 2} << 2 << false << QStringList{"a", "b", "c"};
    QTest::newRow("Sort(-1): nothing") << QVector<int>{-1} << 1 << false << QStringList{"b", "c", "a"};
    QTest::newRow("Sort(ColumnCount): nothing") << QVector<int>{3} << 1 << false << QStringList{"b", "c", "a"};
    QTest::newRow("Sort(2), Sort(-1): unchanged") << QVector<int>{2, -1} << 2 << false << QStringList{"a", "b", "c"};
}

void TestZGridListData::SortState()
{
    QFETCH(QVector<int>, calls);
    QFETCH(int, column);
    QFETCH(bool, descending);
    QFETCH(QStringList, order);
    QScopedPointer<ZGridListData> data(Store({"b", "c", "a"}));
    for (int c : calls)
        data->Sort(c);
    QCOMPARE(data->SortColumn, column);
    QCOMPARE(data->SortDescending, descending);
    QCOMPARE(Column(*data, 1), order);
}

void TestZGridListData::SortOrdersByText()
{
    QScopedPointer<ZGridListData> data(Store({"9", "10", "b", "B", "", "a"}));
    data->Sort(2); // by column 2 ("99", "1010", ...): ordinal, case-sensitive, numbers as text
    QCOMPARE(Column(*data, 1), (QStringList{"", "10", "9", "B", "a", "b"}));
    data->Sort(2);
    QCOMPARE(Column(*data, 1), (QStringList{"b", "a", "B", "9", "10", ""}));

    // Other cell types sort by their (usually empty) text; a hand-made short row sorts as empty.
    static const QImage icon(1, 1, QImage::Format_ARGB32);
    ZGridListRow* image = data->CreateRow();
    image->Cells[2] = &icon;
    data->AddRow(image);
    data->AddRow(new ZGridListRow(1));
    data->Sort(0);
    data->Sort(2);
    QCOMPARE(data->Rows.size(), 8);
    QVERIFY(data->Rows[0]->Cells[2 < data->Rows[0]->CellCount() ? 2 : 0].Text.isEmpty());
}

void TestZGridListData::RemoveRowAndClear()
{
    QScopedPointer<ZGridListData> data(Store({"a", "b", "c"}));
    data->RemoveRow(-1);
    data->RemoveRow(3);
    QCOMPARE(Column(*data, 1), (QStringList{"a", "b", "c"}));
    data->RemoveRow(1);
    QCOMPARE(Column(*data, 1), (QStringList{"a", "c"}));
    data->Sort(2);
    data->RowsVisible = false;
    data->Clear();
    QVERIFY(data->Rows.isEmpty());
    QCOMPARE(data->SortColumn, 2);
    QCOMPARE(data->SortDescending, false);
    QCOMPARE(data->RowsVisible, false);
    data->Clear();
    QVERIFY(data->Rows.isEmpty());
}

void TestZGridListData::CellAssignment()
{
    ZGridListCell cell;
    cell.Value = 77;
    cell = QStringLiteral("abc");
    QCOMPARE(cell.Type, 0);
    QCOMPARE(cell.Text, QStringLiteral("abc"));
    QCOMPARE(cell.Value, qintptr(77)); // a text keeps the value

    cell = 0;
    QCOMPARE(cell.Text, QStringLiteral("0"));
    QCOMPARE(cell.Value, qintptr(0));
    cell = -5;
    QCOMPARE(cell.Text, QStringLiteral("-5"));
    cell = 1234567;
    QCOMPARE(cell.Text, QStringLiteral("1234567"));

    cell = true;
    QCOMPARE(cell.Type, 2);
    QCOMPARE(cell.Value, qintptr(1));
    QCOMPARE(cell.Text, QStringLiteral("1234567")); // unchanged
    cell = false;
    QCOMPARE(cell.Value, qintptr(0));

    const QImage icon(4, 4, QImage::Format_ARGB32);
    cell = &icon;
    QCOMPARE(cell.Type, 1);
    QCOMPARE(reinterpret_cast<const QImage*>(cell.Value), &icon);

    cell = "literal"; // a string literal is text, not a check mark
    QCOMPARE(cell.Type, 0);
    QCOMPARE(cell.Text, QStringLiteral("literal"));
    cell = "Ä";
    QCOMPARE(cell.Text, QString(QChar(0xC4)));
}

void TestZGridListData::Columns()
{
    ZGridListColumn column;
    QCOMPARE(column.Width, 30);
    QVERIFY(column.Text.isEmpty());
    ZGridListColumn named(120, QStringLiteral("Number"));
    QCOMPARE(named.Width, 120);
    QCOMPARE(named.Text, QStringLiteral("Number"));
}

// A worker refills the store under its lock in a loop while this thread paints (TryLock, read every row,
// Unlock) and sorts. Sort takes the lock itself, so rows are never permuted while the worker changes them.
// Run under the address and thread sanitizers.
void TestZGridListData::WorkerFillsWhileGuiTryLocksAndSorts()
{
    ZGridListData data(3);
    std::atomic<bool> stop{false};
    std::atomic<int> fills{0};
    std::atomic<int> broken{0};
    std::thread worker([&] {
        int round = 0;
        while (!stop.load()) {
            data.Lock();
            data.Clear();
            const int count = 20 + round % 30;
            for (int i = 0; i < count; ++i) {
                ZGridListRow* row = data.CreateRow();
                row->Cells[0] = i;
                row->Cells[1] = QString::number((i * 7919 + round) % 1000);
                row->Cells[2] = (i % 2) == 0;
                row->UserData = &data;
                data.AddRow(row);
            }
            // Rows must still be complete and ours when we let go: a sort racing with us would mix them up.
            if (data.Rows.size() != count)
                ++broken;
            for (const ZGridListRow* row : data.Rows) {
                if (row->UserData != &data || row->CellCount() != 3)
                    ++broken;
            }
            data.Unlock();
            ++round;
            fills.store(round);
        }
    });

    int painted = 0, busy = 0, sorts = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (std::chrono::steady_clock::now() < end) {
        if (data.TryLock()) {
            int rows = 0;
            qint64 sum = 0;
            for (const ZGridListRow* row : data.Rows) {
                sum += row->Cells[1].Text.size() + row->Cells[2].Value;
                ++rows;
            }
            // While we hold the lock the worker cannot change the rows under us.
            QCOMPARE(data.Rows.size(), rows);
            Q_UNUSED(sum);
            data.Unlock();
            ++painted;
        } else {
            ++busy;
        }
        data.Sort(1 + sorts % 2);
        ++sorts;
    }
    stop.store(true);
    worker.join();
    QCOMPARE(broken.load(), 0);
    QVERIFY(fills.load() > 0);
    QVERIFY(painted > 0);
    QVERIFY(sorts > 0);
    qInfo("worker fills %d, paints %d, busy %d, sorts %d", fills.load(), painted, busy, sorts);

    // What the last sort left is in order once the worker is gone.
    data.Sort(1);
    for (int i = 1; i < data.Rows.size(); ++i) {
        const QString& a = data.Rows[i - 1]->Cells[1].Text;
        const QString& b = data.Rows[i]->Cells[1].Text;
        QVERIFY(data.SortDescending ? !(a < b) : !(b < a));
    }
}

QTEST_GUILESS_MAIN(TestZGridListData)
#include "tst_ZGridListData.moc"
