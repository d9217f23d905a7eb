#include "GridTestSupport.h"
#include "ZGridList.h"
#include "ZScrollBar.h"

#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QWheelEvent>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace GridTest;

namespace {

int CountColor(const QImage& image, const QRect& r, const QColor& color)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += image.pixelColor(x, y) == color;
    return n;
}

QRect CellRect(int slot, int column)
{
    return QRect(column * ColumnWidth, HeaderHeight + slot * RowHeight, ColumnWidth, RowHeight);
}

// A control for control cells: paints itself red and records what the grid hands it.
class Probe : public ZBase
{
public:
    using ZBase::ZBase;
    QVector<QEvent::Type> Events;
    QVector<QPoint> Points;

protected:
    void Paint(QPainter* p) override { p->fillRect(rect(), Qt::red); }
    bool event(QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            Points << static_cast<QMouseEvent*>(e)->pos();
            Q_FALLTHROUGH();
        case QEvent::Enter:
        case QEvent::Leave:
            Events << e->type();
            break;
        default:
            break;
        }
        return ZBase::event(e);
    }
};

} // namespace

class TestZGridList : public QObject
{
    Q_OBJECT

private slots:
    // Painting
    void RowColoursFollowStoreIndexes();
    void RowsVisibleFalsePaintsNoRows();
    void CheckCellsBlankUntilFlagColour();
    void LockedRowText();
    void NoColumnsNoHeaderNoRows();
    void ScrolledPaintStartsAtTheRightRow();
    void ScreenAfterScrollingMatchesAFullPaint_data();
    void ScreenAfterScrollingMatchesAFullPaint();
    void HeaderGridLines();
    void ContentSpansTheArea();

    // Input
    void HeaderClickEmitsColumnKeepsSelection();
    void RightClickSelectsThenEmits();
    void CheckToggleEmitsRowClicked();
    void ClickBelowLastRowClearsSelection();
    void DoubleClickPassesColumnOrMinusOne_data();
    void DoubleClickPassesColumnOrMinusOne();
    void ColumnResize_data();
    void ColumnResize();
    void UpdateDataResetsSelectionLockedRowAndScroll();

    // Embedded controls
    void ControlCellPaintsAndReceivesMouse();
    void ControlsAreForgottenWhenTheStoreDeletesThem();
};

void TestZGridList::RowColoursFollowStoreIndexes()
{
    ZGridList grid;
    Setup(grid);
    std::unique_ptr<ZGridListData> data(MakeStore(6));
    data->Rows[1]->Visible = false; // hidden: takes no space and shifts no colour
    grid.SetDataSource(data.get());
    grid.UpdateData();
    const QImage image = grid.grab().toImage();
    // Visible rows 0, 2, 3, 4, 5 in slots 0..4: index parity decides, not slot parity.
    const QColor expected[] = {DoubleBack, DoubleBack, SingleBack, DoubleBack, SingleBack};
    for (int slot = 0; slot < 5; ++slot)
        QCOMPARE(image.pixelColor(CellRect(slot, 2).center()), expected[slot]);
    // Below the last row: the background.
    QCOMPARE(image.pixelColor(CellRect(5, 2).center()), Back);
    QCOMPARE(grid.ScrollSize().height(), 5 * RowHeight);
}

void TestZGridList::RowsVisibleFalsePaintsNoRows()
{
    ZGridList grid;
    Setup(grid);
    std::unique_ptr<ZGridListData> data(MakeStore(3));
    data->RowsVisible = false;
    grid.SetDataSource(data.get());
    grid.UpdateData();
    const QImage image = grid.grab().toImage();
    QCOMPARE(CountColor(image, QRect(0, HeaderHeight, 320, 200 - HeaderHeight), Back), 320 * (200 - HeaderHeight));
    // The header still shows.
    QCOMPARE(image.pixelColor(ColumnWidth / 2, 2), HeaderBack);
}

void TestZGridList::CheckCellsBlankUntilFlagColour()
{
    ZGridList grid;
    Setup(grid);
    std::unique_ptr<ZGridListData> data(MakeStore(2));
    data->Rows[0]->Cells[1] = true;
    data->Rows[1]->Cells[1] = false;
    grid.SetDataSource(data.get());
    grid.UpdateData();
    const QImage blank = grid.grab().toImage();
    QCOMPARE(CountColor(blank, CellRect(0, 1), DoubleBack), ColumnWidth * RowHeight);
    QCOMPARE(CountColor(blank, CellRect(1, 1), SingleBack), ColumnWidth * RowHeight);

    const QColor flag(255, 0, 255);
    grid.SetCheckFlagColor(flag);
    const QImage marked = grid.grab().toImage();
    const int checkedPixels = CountColor(marked, CellRect(0, 1), flag);
    const int uncheckedPixels = CountColor(marked, CellRect(1, 1), flag);
    QVERIFY(uncheckedPixels > 0);
    // The checked mark has a tick in its frame.
    QVERIFY(checkedPixels > uncheckedPixels);
    // Centred: the mark stays clear of the cell's edges.
    QCOMPARE(CountColor(marked, QRect(ColumnWidth, HeaderHeight, 20, RowHeight), flag), 0);
}

void TestZGridList::LockedRowText()
{
    ZGridList grid;
    Setup(grid);
    std::unique_ptr<ZGridListData> data(MakeStore(3));
    for (ZGridListRow* row : data->Rows)
        row->Cells[0] = QStringLiteral("WWWWW");
    grid.SetDataSource(data.get());
    grid.UpdateData();
    grid.LockedRow = data->Rows[1];
    const QImage image = grid.grab().toImage();
    QVERIFY(CountColor(image, CellRect(1, 0), LockedFore) > 0);
    QCOMPARE(CountColor(image, CellRect(1, 0), RowFore), 0);
    QVERIFY(CountColor(image, CellRect(0, 0), RowFore) > 0);
    QCOMPARE(CountColor(image, CellRect(0, 0), LockedFore), 0);
    // The pen goes back after the locked row.
    QVERIFY(CountColor(image, CellRect(2, 0), RowFore) > 0);
}

void TestZGridList::NoColumnsNoHeaderNoRows()
{
    ZGridList grid;
    grid.SetBackColor(Back);
    grid.SetColumnHeaderBackColor(HeaderBack);
    grid.SetDoubleRowBackColor(DoubleBack);
    grid.resize(200, 100);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    std::unique_ptr<ZGridListData> data(MakeStore(3));
    grid.SetDataSource(data.get());
    grid.UpdateData();
    const QImage image = grid.grab().toImage();
    QCOMPARE(CountColor(image, image.rect(), Back), 200 * 100);
}

void TestZGridList::ScrolledPaintStartsAtTheRightRow()
{
    ZGridList grid;
    Setup(grid);
    std::unique_ptr<ZGridListData> data(MakeStore(1000));
    // Hidden rows before the scroll position: the first drawn row is found by visible position.
    for (int i = 0; i < 100; i += 2)
        data->Rows[i]->Visible = false;
    grid.SetDataSource(data.get());
    grid.UpdateData();
    QCOMPARE(grid.ScrollSize().height(), 950 * RowHeight);
    // Visible rows: 1, 3, ..., 99 (50 of them), then 100, 101, ... Slot 60 is row 110.
    grid.SetVScrollBarValue(60 * RowHeight + 5);
    Settle();
    const QImage image = grid.grab().toImage();
    // Row 110 is even (partly scrolled off: 15 px left), row 111 odd below it.
    QCOMPARE(image.pixelColor(CellRect(0, 2).topLeft() + QPoint(10, 2)), DoubleBack);
    QCOMPARE(image.pixelColor(CellRect(0, 2).topLeft() + QPoint(10, 17)), SingleBack);
    // Clicking where row 111 shows selects row 111.
    Click(&grid, QPoint(100, HeaderHeight + 20));
    QCOMPARE(grid.SelectedRowIndex(), 111);
}

void TestZGridList::ScreenAfterScrollingMatchesAFullPaint_data()
{
    QTest::addColumn<QColor>("back");
    QTest::newRow("opaque: rows moved on screen") << Back;
    QTest::newRow("translucent: painted anew") << QColor(255, 255, 255, 128);
}

// Scroll steps move the rows already on screen and paint only the uncovered strip: what ends up on screen
// must be what a full paint draws.
void TestZGridList::ScreenAfterScrollingMatchesAFullPaint()
{
    QFETCH(QColor, back);
    ZGridList grid;
    Setup(grid);
    grid.SetBackColor(back);
    std::unique_ptr<ZGridListData> data(MakeStore(500));
    for (int i = 0; i < 500; ++i) {
        data->Rows[i]->Cells[1] = QStringLiteral("%1 text").arg(i * 7919 % 1000);
        data->Rows[i]->Visible = i % 5 != 3;
    }
    grid.SetDataSource(data.get());
    grid.UpdateData();
    Settle();
    auto screen = [&grid] { return grid.screen()->grabWindow(grid.winId()).toImage().convertToFormat(QImage::Format_RGB32); };
    auto full = [&grid] { return grid.grab().toImage().convertToFormat(QImage::Format_RGB32); };
    const int steps[] = {7, 20, 33, 1, -15, 60, -200, 145, 3000, -2999, 13};
    for (int step : steps) {
        grid.SetVScrollBarValue(grid.VScrollBarValue() + step);
        Settle();
        QCOMPARE(screen(), full());
    }
    // Wheel steps as the user scrolls.
    for (int i = 0; i < 5; ++i) {
        QWheelEvent we(QPointF(50, 100), QPointF(grid.mapToGlobal(QPoint(50, 100))), QPoint(), QPoint(0, -120),
                       Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&grid, &we);
        Settle();
    }
    QCOMPARE(screen(), full());
}

// Columns narrower than the grid: the content is as wide as the area beside a visible vertical bar, so
// the header and a selected row reach the right edge, and no horizontal bar shows. It follows the grid's
// size and the rows as they come and go.
void TestZGridList::ContentSpansTheArea()
{
    ZGridList grid;
    Setup(grid); // 3 columns of 80 in 320 x 200
    const int bar = grid.VScrollBar()->width();
    std::unique_ptr<ZGridListData> few(MakeStore(3));
    std::unique_ptr<ZGridListData> many(MakeStore(50));
    grid.SetDataSource(few.get());
    grid.UpdateData();
    Settle();
    QCOMPARE(grid.ScrollSize().width(), 320);
    QVERIFY(!grid.HScrollBar()->isVisible());
    Click(&grid, CellCentre(1, 0));
    QImage image = grid.grab().toImage();
    QCOMPARE(image.pixelColor(319, CellCentre(1, 0).y()), SelectedBack);
    QCOMPARE(image.pixelColor(319, HeaderHeight / 2), HeaderBack);

    struct Step
    {
        const char* what;
        ZGridListData* store;
        QSize size;
        int scrollWidth;
        bool hBar;
    };
    const Step steps[] = {
        {"rows past the bottom", many.get(), QSize(320, 200), 320 - bar, false},
        {"wider grid", many.get(), QSize(500, 200), 500 - bar, false},
        {"narrower than the columns", many.get(), QSize(200, 200), 240, true},
        {"back to its size", many.get(), QSize(320, 200), 320 - bar, false},
        {"few rows again", few.get(), QSize(320, 200), 320, false},
    };
    for (const Step& step : steps) {
        grid.SetDataSource(step.store);
        grid.UpdateData();
        grid.resize(step.size);
        Settle();
        QVERIFY2(grid.ScrollSize().width() == step.scrollWidth,
                 qPrintable(QStringLiteral("%1: %2").arg(step.what).arg(grid.ScrollSize().width())));
        QVERIFY2(grid.HScrollBar()->isVisible() == step.hBar, step.what);
        QVERIFY2(grid.VScrollBar()->isVisible() == (step.store == many.get()), step.what);
    }
    // A selected row beside the vertical bar reaches the bar.
    grid.SetDataSource(many.get());
    grid.UpdateData();
    Settle();
    Click(&grid, CellCentre(2, 0));
    image = grid.grab().toImage();
    QCOMPARE(image.pixelColor(319 - bar, CellCentre(2, 0).y()), SelectedBack);
    grid.SetDataSource(nullptr);
}

void TestZGridList::HeaderGridLines()
{
    ZGridList grid;
    Setup(grid);
    const QColor line(255, 0, 0);
    grid.SetColumnHeaderGridLineColor(QColor(255, 0, 0, 0));
    QCOMPARE(CountColor(grid.grab().toImage(), QRect(0, 0, 320, HeaderHeight), line), 0);
    grid.SetColumnHeaderGridLineColor(line);
    const QImage image = grid.grab().toImage();
    // Right edges of columns 0 and 1, not of the last column; the bottom edge across the header.
    QCOMPARE(image.pixelColor(ColumnWidth - 1, 5), line);
    QCOMPARE(image.pixelColor(2 * ColumnWidth - 1, 5), line);
    QCOMPARE(image.pixelColor(3 * ColumnWidth - 1, 5), HeaderBack);
    QCOMPARE(image.pixelColor(300, HeaderHeight - 1), line);
    QCOMPARE(image.pixelColor(300, HeaderHeight), Back);
}

void TestZGridList::HeaderClickEmitsColumnKeepsSelection()
{
    ZGridList grid;
    Setup(grid);
    std::unique_ptr<ZGridListData> data(MakeStore(3));
    grid.SetDataSource(data.get());
    grid.UpdateData();
    Click(&grid, CellCentre(1, 0));
    QCOMPARE(grid.SelectedRowIndex(), 1);

    QSignalSpy header(&grid, &ZGridList::ColumnHeaderClicked);
    QSignalSpy rows(&grid, &ZGridList::RowClicked);
    Click(&grid, QPoint(2 * ColumnWidth + 20, HeaderHeight / 2));
    QCOMPARE(header.count(), 1);
    QCOMPARE(header.at(0).at(0).toInt(), 2);
    QCOMPARE(rows.count(), 0);
    QCOMPARE(grid.SelectedRowIndex(), 1);
    QCOMPARE(grid.SelectedRow, data->Rows[1]);
}

void TestZGridList::RightClickSelectsThenEmits()
{
    ZGridList grid;
    Setup(grid);
    std::unique_ptr<ZGridListData> data(MakeStore(4));
    grid.SetDataSource(data.get());
    grid.UpdateData();
    int selectedAtSignal = -2;
    // The client reads the selection in its slot (and may lock the store there: the grid has let it go).
    connect(&grid, &ZGridList::RightClicked, &grid, [&] {
        data->Lock();
        data->Unlock();
        selectedAtSignal = grid.SelectedRowIndex();
    });
    QSignalSpy rows(&grid, &ZGridList::RowClicked);
    Click(&grid, CellCentre(2, 1), Qt::RightButton);
    QCOMPARE(selectedAtSignal, 2);
    QCOMPARE(rows.count(), 0);
    // Right-click below the rows: no row selected, still emitted.
    selectedAtSignal = -2;
    Click(&grid, QPoint(10, 190), Qt::RightButton);
    QCOMPARE(selectedAtSignal, -1);
    QVERIFY(grid.SelectedRow == nullptr);
}

void TestZGridList::CheckToggleEmitsRowClicked()
{
    ZGridList grid;
    Setup(grid);
    std::unique_ptr<ZGridListData> data(MakeStore(3));
    data->Rows[2]->Cells[1] = false;
    grid.SetDataSource(data.get());
    grid.UpdateData();
    QSignalSpy rows(&grid, &ZGridList::RowClicked);
    Click(&grid, CellCentre(2, 1));
    QCOMPARE(data->Rows[2]->Cells[1].Value, qintptr(1));
    QCOMPARE(rows.count(), 1);
    QCOMPARE(rows.at(0).at(0).toInt(), 2);
    QCOMPARE(rows.at(0).at(1).toInt(), 1);
    Click(&grid, CellCentre(2, 1));
    QCOMPARE(data->Rows[2]->Cells[1].Value, qintptr(0));
    // A text cell is left alone but still reports the click.
    Click(&grid, CellCentre(2, 0));
    QCOMPARE(data->Rows[2]->Cells[0].Type, 0);
    QCOMPARE(rows.count(), 3);
    // A check cell in a column the grid does not show (store wider than the grid) is never toggled.
    std::unique_ptr<ZGridListData> wide(MakeStore(1, 5));
    wide->Rows[0]->Cells[3] = true;
    grid.SetDataSource(wide.get());
    grid.UpdateData();
    Click(&grid, QPoint(3 * ColumnWidth + 10, HeaderHeight + 5));
    QCOMPARE(wide->Rows[0]->Cells[3].Value, qintptr(1));
}

void TestZGridList::ClickBelowLastRowClearsSelection()
{
    ZGridList grid;
    Setup(grid);
    std::unique_ptr<ZGridListData> data(MakeStore(3));
    grid.SetDataSource(data.get());
    grid.UpdateData();
    Click(&grid, CellCentre(0, 0));
    QCOMPARE(grid.SelectedRowIndex(), 0);
    QCOMPARE(grid.grab().toImage().pixelColor(CellRect(0, 2).center()), SelectedBack);
    QSignalSpy rows(&grid, &ZGridList::RowClicked);
    QSignalSpy right(&grid, &ZGridList::RightClicked);
    Click(&grid, CellCentre(5, 0));
    QCOMPARE(grid.SelectedRowIndex(), -1);
    QVERIFY(grid.SelectedRow == nullptr);
    QCOMPARE(rows.count(), 0);
    QCOMPARE(right.count(), 0);
    QCOMPARE(grid.grab().toImage().pixelColor(CellRect(0, 2).center()), DoubleBack);
}

void TestZGridList::DoubleClickPassesColumnOrMinusOne_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("emitted");
    QTest::newRow("column 1") << CellCentre(1, 1) << 1 << 1 << 1;
    QTest::newRow("right of the last column") << QPoint(3 * ColumnWidth + 30, HeaderHeight + 45) << 2 << -1 << 1;
    QTest::newRow("below the rows") << CellCentre(6, 1) << -1 << -1 << 0;
    QTest::newRow("header") << QPoint(20, 10) << -1 << -1 << 0;
}

void TestZGridList::DoubleClickPassesColumnOrMinusOne()
{
    QFETCH(QPoint, pos);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, emitted);
    ZGridList grid;
    Setup(grid);
    std::unique_ptr<ZGridListData> data(MakeStore(3));
    grid.SetDataSource(data.get());
    grid.UpdateData();
    QSignalSpy dbl(&grid, &ZGridList::RowDoubleClicked);
    Click(&grid, pos);
    Mouse(&grid, QEvent::MouseButtonDblClick, Qt::LeftButton, pos);
    Mouse(&grid, QEvent::MouseButtonRelease, Qt::LeftButton, pos);
    QCOMPARE(dbl.count(), emitted);
    if (emitted) {
        QCOMPARE(dbl.at(0).at(0).toInt(), row);
        QCOMPARE(dbl.at(0).at(1).toInt(), column);
    }
    // The right button double-clicks nothing.
    Mouse(&grid, QEvent::MouseButtonDblClick, Qt::RightButton, pos);
    QCOMPARE(dbl.count(), emitted);
}

void TestZGridList::ColumnResize_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("width");
    QTest::newRow("wider") << true << 25 << 105;
    QTest::newRow("past the right edge") << true << 150 << 230;
    QTest::newRow("narrower stops at 10") << true << -300 << 10;
    QTest::newRow("disabled") << false << -30 << 80;
}

void TestZGridList::ColumnResize()
{
    QFETCH(bool, enabled);
    QFETCH(int, dx);
    QFETCH(int, width);
    ZGridList grid;
    Setup(grid);
    std::unique_ptr<ZGridListData> data(MakeStore(3));
    grid.SetDataSource(data.get());
    grid.UpdateData();
    grid.SetCanChangeColumnWidth(enabled);
    QSignalSpy header(&grid, &ZGridList::ColumnHeaderClicked);

    const QPoint edge(ColumnWidth - 2, HeaderHeight / 2); // the rightmost 4 px of column 0
    Hover(&grid, edge);
    QCOMPARE(grid.testAttribute(Qt::WA_SetCursor), enabled);
    if (enabled)
        QCOMPARE(grid.cursor().shape(), Qt::SizeHorCursor);
    Mouse(&grid, QEvent::MouseButtonPress, Qt::LeftButton, edge);
    // Drag in small steps: the same column keeps resizing even when the pointer leaves it.
    for (int i = 1; i <= 10; ++i)
        Hover(&grid, edge + QPoint(dx * i / 10, 0));
    Mouse(&grid, QEvent::MouseButtonRelease, Qt::LeftButton, edge + QPoint(dx, 0));
    QCOMPARE(grid.Columns[0].Width, width);
    QCOMPARE(grid.Columns[1].Width, ColumnWidth);
    // The content spans at least the 320-pixel area; only columns wider than it bring the horizontal bar.
    QCOMPARE(grid.ScrollSize().width(), std::max(width + 2 * ColumnWidth, 320));
    QCOMPARE(grid.HScrollBar()->isVisible(), width + 2 * ColumnWidth > 320);
    // A resize is not a header click; with resizing off the edge is an ordinary header cell.
    QCOMPARE(header.count(), enabled ? 0 : 1);
    // After the release, moving no longer resizes.
    Hover(&grid, edge + QPoint(dx + 40, 0));
    QCOMPARE(grid.Columns[0].Width, width);
    if (enabled) {
        Hover(&grid, CellCentre(1, 1));
        QCOMPARE(grid.cursor().shape(), Qt::ArrowCursor);
    } else {
        QVERIFY(!grid.testAttribute(Qt::WA_SetCursor));
    }
}

void TestZGridList::UpdateDataResetsSelectionLockedRowAndScroll()
{
    ZGridList grid;
    Setup(grid);
    std::unique_ptr<ZGridListData> data(MakeStore(100));
    grid.SetDataSource(data.get());
    grid.UpdateData();
    // The columns are narrower than the area beside the vertical bar: the content takes that width.
    QCOMPARE(grid.ScrollSize(), QSize(320 - grid.VScrollBar()->width(), 100 * RowHeight));
    grid.SetVScrollBarValue(300);
    Click(&grid, CellCentre(0, 0));
    QCOMPARE(grid.SelectedRowIndex(), 15);
    grid.LockedRow = data->Rows[3];
    data->RemoveRow(99);
    grid.UpdateData();
    QVERIFY(grid.SelectedRow == nullptr);
    QVERIFY(grid.LockedRow == nullptr);
    QCOMPARE(grid.VScrollBarValue(), 0);
    QCOMPARE(grid.ScrollSize().height(), 99 * RowHeight);
    // Detaching: no rows, no scroll height after the next UpdateData.
    grid.SetDataSource(nullptr);
    grid.UpdateData();
    QCOMPARE(grid.ScrollSize().height(), 0);
    QCOMPARE(grid.SelectedRowIndex(), -1);
}

void TestZGridList::ControlCellPaintsAndReceivesMouse()
{
    ZGridList grid;
    Setup(grid);
    std::unique_ptr<ZGridListData> data(MakeStore(3));
    auto* probe = new Probe;
    probe->resize(40, 10);
    data->Rows[1]->Cells[1] = static_cast<const ZBase*>(probe);
    auto* filled = new Probe;
    filled->SetDock(DockType::Fill);
    data->Rows[2]->Cells[2] = static_cast<const ZBase*>(filled);
    grid.SetDataSource(data.get());
    grid.UpdateData();
    // Fill controls take the cell's size.
    QCOMPARE(filled->size(), QSize(ColumnWidth, RowHeight));

    // Painted centred in its cell: 40 x 10 in 80 x 20 leaves 20 px and 5 px around it.
    const QImage image = grid.grab().toImage();
    const QRect cell = CellRect(1, 1);
    QCOMPARE(CountColor(image, cell, QColor(Qt::red)), 40 * 10);
    QCOMPARE(image.pixelColor(cell.topLeft() + QPoint(20, 5)), QColor(Qt::red));
    QCOMPARE(image.pixelColor(cell.topLeft() + QPoint(19, 5)), SingleBack);
    QCOMPARE(CountColor(image, CellRect(2, 2), QColor(Qt::red)), ColumnWidth * RowHeight);

    // Input in the control's own coordinates; the row is not selected by a click the control takes.
    QSignalSpy rows(&grid, &ZGridList::RowClicked);
    const QPoint inside = cell.topLeft() + QPoint(25, 8);
    Hover(&grid, inside);
    QCOMPARE(probe->Events.value(0), QEvent::Enter);
    Mouse(&grid, QEvent::MouseButtonPress, Qt::LeftButton, inside);
    // The release outside the control still goes to it, relative to it.
    Mouse(&grid, QEvent::MouseButtonRelease, Qt::LeftButton, inside + QPoint(100, 0));
    QCOMPARE(probe->Events.mid(1, 3), (QVector<QEvent::Type>{QEvent::MouseMove, QEvent::MouseButtonPress,
                                                             QEvent::MouseButtonRelease}));
    QCOMPARE(probe->Points.at(1), QPoint(5, 3));
    QCOMPARE(probe->Points.at(2), QPoint(105, 3));
    QCOMPARE(rows.count(), 0);
    QCOMPARE(grid.SelectedRowIndex(), -1);
    // Leaving the control for a plain cell: Leave, and the plain cell is clickable again.
    Click(&grid, CellCentre(0, 1));
    QCOMPARE(probe->Events.last(), QEvent::Leave);
    QCOMPARE(grid.SelectedRowIndex(), 0);
    QCOMPARE(rows.count(), 1);
}

void TestZGridList::ControlsAreForgottenWhenTheStoreDeletesThem()
{
    ZGridList grid;
    Setup(grid);
    std::unique_ptr<ZGridListData> data(MakeStore(2));
    QPointer<Probe> probe = new Probe;
    probe->resize(ColumnWidth, RowHeight);
    data->Rows[0]->Cells[0] = static_cast<const ZBase*>(probe.data());
    grid.SetDataSource(data.get());
    grid.UpdateData();
    const QPoint inside = CellCentre(0, 0);
    Hover(&grid, inside);
    Mouse(&grid, QEvent::MouseButtonPress, Qt::LeftButton, inside);
    // The client clears the store while the control is hovered and pressed, before UpdateData arrives.
    data->Clear();
    QVERIFY(probe.isNull());
    Mouse(&grid, QEvent::MouseButtonRelease, Qt::LeftButton, inside);
    Hover(&grid, CellCentre(1, 0));
    QEvent leave(QEvent::HoverLeave);
    QCoreApplication::sendEvent(&grid, &leave);
    grid.UpdateData();
    QCOMPARE(grid.ScrollSize().height(), 0);
}

QTEST_MAIN(TestZGridList)
#include "tst_ZGridList.moc"
