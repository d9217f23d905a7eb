#include "ZBase.h"
#include "ZGridListData.h"

#include <QPainter>
#include <QPointer>
#include <QtTest>

#include <thread>

namespace {

class Control : public ZBase
{
public:
    using ZBase::ZBase;

protected:
    void Paint(QPainter*) override {}
};

} // namespace

// Control cells own their widget: it goes with the cell, with the row and with the store, once, and is
// deleted when the cell is given other content.
class TestZGridListControlCell : public QObject
{
    Q_OBJECT

private slots:
    void ControlGoesWithCellRowAndStore();
    void ReassigningDeletesTheOldControlOnce();
    void ClearOnAWorkerDefersTheDeletion();
};

void TestZGridListControlCell::ControlGoesWithCellRowAndStore()
{
    QPointer<Control> inCell = new Control;
    {
        ZGridListCell cell;
        cell = inCell.data();
        QCOMPARE(cell.Type, 3);
        QCOMPARE(reinterpret_cast<Control*>(cell.Value), inCell.data());
    }
    QVERIFY(inCell.isNull());

    auto* data = new ZGridListData(2);
    QPointer<Control> inStore = new Control;
    QPointer<Control> removed = new Control;
    ZGridListRow* row = data->CreateRow();
    row->Cells[1] = inStore.data();
    data->AddRow(row);
    ZGridListRow* row2 = data->CreateRow();
    row2->Cells[0] = removed.data();
    data->AddRow(row2);
    data->RemoveRow(1);
    QVERIFY(removed.isNull());
    QVERIFY(!inStore.isNull());
    delete data;
    QVERIFY(inStore.isNull());
}

void TestZGridListControlCell::ReassigningDeletesTheOldControlOnce()
{
    ZGridListCell cell;
    QPointer<Control> first = new Control;
    cell = first.data();
    cell = first.data(); // the same control again: kept
    QVERIFY(!first.isNull());

    QPointer<Control> second = new Control;
    cell = second.data();
    QVERIFY(first.isNull());

    cell = QStringLiteral("text"); // a text cell now: the control went, and the cell forgets it
    QVERIFY(second.isNull());
    QCOMPARE(cell.Type, 0);
    QCOMPARE(cell.Value, qintptr(0));

    QPointer<Control> third = new Control;
    cell = third.data();
    cell = true;
    QVERIFY(third.isNull());
    QCOMPARE(cell.Type, 2);

    QPointer<Control> fourth = new Control;
    cell = fourth.data();
    cell = 12;
    QVERIFY(fourth.isNull());
    // The cell's destructor runs on a text cell: nothing is deleted twice (ASan).
}

void TestZGridListControlCell::ClearOnAWorkerDefersTheDeletion()
{
    ZGridListData data(1);
    QPointer<Control> control = new Control;
    ZGridListRow* row = data.CreateRow();
    row->Cells[0] = control.data();
    data.AddRow(row);
    std::thread worker([&] {
        data.Lock();
        data.Clear();
        data.Unlock();
    });
    worker.join();
    QVERIFY(!control.isNull()); // widgets die on their own thread
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(control.isNull());
}

QTEST_MAIN(TestZGridListControlCell)
#include "tst_ZGridListControlCell.moc"
