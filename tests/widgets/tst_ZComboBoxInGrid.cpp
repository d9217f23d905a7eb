#include "ZComboBox.h"
#include "ZComboDropDownBox.h"
#include "ZGridList.h"
#include "ZGridListData.h"

#include <QApplication>
#include <QHoverEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <memory>

// A combo box in a grid cell is only painted into the grid: the grid hands it the presses, and its list
// opens below the place where the grid painted it, also after scrolling; a row chosen there is reported.
class TestZComboBoxInGrid : public QObject
{
    Q_OBJECT

private slots:
    void ListOpensBelowThePaintedCombo();
};

namespace {

constexpr int HeaderHeight = 25;
constexpr int RowHeight = 30;
constexpr int ColumnWidth = 120;

void Settle()
{
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

void Send(QWidget* w, QEvent::Type type, const QPoint& pos)
{
    if (type == QEvent::HoverMove) {
        QHoverEvent e(type, pos, pos);
        QCoreApplication::sendEvent(w, &e);
        return;
    }
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

} // namespace

void TestZComboBoxInGrid::ListOpensBelowThePaintedCombo()
{
    ZGridList grid;
    grid.setGeometry(120, 90, 3 * ColumnWidth, 200);
    grid.SetColumnHeaderHeight(HeaderHeight);
    grid.SetRowHeight(RowHeight);
    for (int c = 0; c < 3; ++c)
        grid.AddColumn(ColumnWidth, QStringLiteral("C%1").arg(c));
    grid.ApplyColumn();
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));

    std::unique_ptr<ZGridListData> data(new ZGridListData(3));
    for (int i = 0; i < 12; ++i)
        data->AddRow(data->CreateRow());
    auto* combo = new ZComboBox;
    combo->resize(100, 24);
    combo->SetBorderWidth(1);
    combo->SetItems({"Off", "Record", "Monitor", "Both"});
    data->Rows[2]->Cells[1] = static_cast<const ZBase*>(combo);
    grid.SetDataSource(data.get());
    grid.UpdateData();
    Settle();
    grid.repaint();
    QSignalSpy chosen(combo, &ZComboBox::SelectedIndexChanged);

    // The combo sits centred in its cell; the list opens at its bottom-left corner (less the border).
    auto pressAndChoose = [&](const QPoint& cellTopLeft, int row, QPoint* opened) {
        const QPoint inCombo = cellTopLeft + QPoint(ColumnWidth / 2, RowHeight / 2);
        QTimer timer;
        timer.setSingleShot(true);
        bool ran = false;
        QObject::connect(&timer, &QTimer::timeout, &grid, [&]() {
            ran = true;
            auto* list = qobject_cast<ZComboDropDownBox*>(QApplication::activePopupWidget());
            if (!list)
                return;
            *opened = list->pos();
            ZComboBoxScrollArea* rows = list->Rows();
            const QPoint at(20, row * rows->ItemHeight + rows->ItemHeight / 2);
            QHoverEvent hover(QEvent::HoverMove, at, QPoint(-1, -1));
            QCoreApplication::sendEvent(rows, &hover);
            QTest::mouseClick(rows, Qt::LeftButton, Qt::NoModifier, at);
            if (list->isVisible())
                list->hide();
        });
        timer.start(0);
        Send(&grid, QEvent::HoverMove, inCombo);
        Send(&grid, QEvent::MouseButtonPress, inCombo);
        Send(&grid, QEvent::MouseButtonRelease, inCombo);
        return ran;
    };

    const QPoint centred((ColumnWidth - 100) / 2, (RowHeight - 24) / 2);
    QPoint cell(ColumnWidth, HeaderHeight + 2 * RowHeight);
    QPoint opened;
    QVERIFY(pressAndChoose(cell, 3, &opened));
    QCOMPARE(opened, grid.mapToGlobal(cell + centred) + QPoint(0, 24 - 1));
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(combo->SelectedIndex(), 3);

    // Scrolled by one row: painted one row higher, and the list follows.
    grid.SetVScrollBarValue(RowHeight);
    Settle();
    grid.repaint();
    cell.ry() -= RowHeight;
    QVERIFY(pressAndChoose(cell, 1, &opened));
    QCOMPARE(opened, grid.mapToGlobal(cell + centred) + QPoint(0, 24 - 1));
    QCOMPARE(combo->SelectedIndex(), 1);
    QCOMPARE(chosen.count(), 2);
}

QTEST_MAIN(TestZComboBoxInGrid)
#include "tst_ZComboBoxInGrid.moc"
