// Fills, sorts and paints a ZGridList and a QTableView (over a QAbstractTableModel) with the same rows of
// twelve text cells and prints both figures and their ratio. Usage: grid-bench [rows ...] (default 100000
// 1000000). Runs headless (offscreen platform unless QT_QPA_PLATFORM says otherwise).
#include "ZGridList.h"
#include "ZGridListData.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QTableView>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <numeric>
#include <vector>

namespace {

constexpr int Columns = 12;
constexpr int ColumnWidth = 80;
constexpr int RowHeight = 20;
constexpr int RestFrames = 100;
constexpr int ScrollFrames = 300;
constexpr int ScrollRowsPerFrame = 3;
constexpr int Runs = 3;
const QSize ViewSize(1000, 600);

// The same text for both widgets: numbers spread over the rows, so that sorting has work to do.
QString CellText(int row, int column)
{
    const quint32 h = quint32(row) * 2654435761u + quint32(column) * 40503u;
    return QString::number(h % 1000003u) + QLatin1Char('-') + QString::number(column);
}

size_t HeapInUse()
{
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

double Ms(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

struct Figures
{
    double FillMs = 0;
    double SortMs = 0;
    double RestUs = 0;
    double ScrollUs = 0;
    double BytesPerRow = 0;
    double RestPaints = 0;
    double ScrollPaints = 0;
};

// Counts the paint events of the widgets it watches.
class PaintCounter : public QObject
{
public:
    int Paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        Paints += e->type() == QEvent::Paint;
        return false;
    }
};

// Frames through Qt's own repaint path (the widget's window paints into its backing store), as on screen:
// at rest a repaint of the whole widget; while scrolling whatever the widget repaints for a scroll step
// (the table view moves the unchanged pixels and paints only the uncovered rows; the grid paints anew).
// painted is the widget whose paint events are counted (the table's viewport), so that the figures are
// known to be paints.
template <typename RepaintAll, typename ScrollBy>
void MeasurePaint(QWidget* painted, Figures& f, RepaintAll repaintAll, ScrollBy scrollBy)
{
    PaintCounter counter;
    painted->installEventFilter(&counter);
    repaintAll(); // warm caches (glyphs, layouts)
    QElapsedTimer t;
    counter.Paints = 0;
    t.start();
    for (int i = 0; i < RestFrames; ++i)
        repaintAll();
    f.RestUs = double(t.nsecsElapsed()) / 1e3 / RestFrames;
    f.RestPaints = double(counter.Paints) / RestFrames;
    counter.Paints = 0;
    t.start();
    for (int i = 0; i < ScrollFrames; ++i) {
        scrollBy(ScrollRowsPerFrame);
        QCoreApplication::sendPostedEvents(); // the update request that the scroll posted
    }
    f.ScrollUs = double(t.nsecsElapsed()) / 1e3 / ScrollFrames;
    f.ScrollPaints = double(counter.Paints) / ScrollFrames;
    painted->removeEventFilter(&counter);
}

Figures RunGrid(int rows)
{
    Figures f;
    ZGridList grid;
    for (int c = 0; c < Columns; ++c)
        grid.AddColumn(ColumnWidth, QStringLiteral("Column %1").arg(c));
    grid.ApplyColumn();
    grid.SetRowHeight(RowHeight);
    grid.SetBackColor(Qt::white);
    grid.SetRowForeColor(Qt::black);
    grid.SetColumnHeaderForeColor(Qt::black);
    grid.SetDoubleRowBackColor(QColor(245, 245, 245));
    grid.SetSingleRowBackColor(Qt::white);
    grid.SetColumnHeaderBackColor(QColor(220, 220, 220));
    grid.SetColumnHeaderGridLineColor(Qt::gray);
    grid.resize(ViewSize);
    grid.show();
    QCoreApplication::processEvents();

    const size_t heapBefore = HeapInUse();
    QElapsedTimer t;
    t.start();
    auto* data = new ZGridListData(Columns);
    data->Lock();
    for (int r = 0; r < rows; ++r) {
        ZGridListRow* row = data->CreateRow();
        for (int c = 0; c < Columns; ++c)
            row->Cells[c] = CellText(r, c);
        data->AddRow(row);
    }
    data->Unlock();
    grid.SetDataSource(data);
    grid.UpdateData();
    f.FillMs = Ms(t);
    f.BytesPerRow = double(HeapInUse() - heapBefore) / rows;

    t.start();
    data->Sort(3);
    grid.UpdateData();
    f.SortMs = Ms(t);

    grid.SetVScrollBarValue(rows / 2 * RowHeight);
    MeasurePaint(&grid, f, [&grid] { grid.repaint(); }, [&grid](int n) { grid.SetVScrollBarValue(grid.VScrollBarValue() + n * RowHeight); });
    grid.SetDataSource(nullptr);
    delete data;
    return f;
}

// A plain table model over rows of strings, sorted through a row order, as an application would write it.
class TableModel : public QAbstractTableModel
{
public:
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(m_Order.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : Columns; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::DisplayRole)
            return m_Cells[size_t(m_Order[size_t(index.row())]) * Columns + size_t(index.column())];
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        return {};
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        if (role == Qt::DisplayRole && o == Qt::Horizontal)
            return QStringLiteral("Column %1").arg(section);
        return {};
    }
    void sort(int column, Qt::SortOrder order) override
    {
        emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        auto key = [this, column](int r) -> const QString& { return m_Cells[size_t(r) * Columns + size_t(column)]; };
        if (order == Qt::AscendingOrder)
            std::sort(m_Order.begin(), m_Order.end(), [&](int a, int b) { return key(a) < key(b); });
        else
            std::sort(m_Order.begin(), m_Order.end(), [&](int a, int b) { return key(b) < key(a); });
        emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }
    void Fill(int rows)
    {
        beginResetModel();
        m_Cells.reserve(size_t(rows) * Columns);
        m_Order.resize(size_t(rows));
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < Columns; ++c)
                m_Cells.push_back(CellText(r, c));
        }
        std::iota(m_Order.begin(), m_Order.end(), 0);
        endResetModel();
    }

private:
    std::vector<QString> m_Cells;
    std::vector<int> m_Order;
};

Figures RunTable(int rows)
{
    Figures f;
    QTableView view;
    view.verticalHeader()->hide();
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.verticalHeader()->setDefaultSectionSize(RowHeight);
    view.horizontalHeader()->setDefaultSectionSize(ColumnWidth);
    view.setAlternatingRowColors(true);
    view.setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    view.resize(ViewSize);
    view.show();
    QCoreApplication::processEvents();

    const size_t heapBefore = HeapInUse();
    QElapsedTimer t;
    t.start();
    auto model = std::make_unique<TableModel>();
    view.setModel(model.get());
    model->Fill(rows);
    QCoreApplication::sendPostedEvents();
    f.FillMs = Ms(t);
    f.BytesPerRow = double(HeapInUse() - heapBefore) / rows;

    t.start();
    view.sortByColumn(3, Qt::AscendingOrder);
    QCoreApplication::sendPostedEvents();
    f.SortMs = Ms(t);

    QScrollBar* bar = view.verticalScrollBar();
    bar->setValue(rows / 2 * RowHeight);
    // The view's own repaint leaves its viewport and header alone: all three, as a full repaint would.
    auto repaintAll = [&view] {
        view.repaint();
        view.horizontalHeader()->viewport()->repaint();
        view.viewport()->repaint();
    };
    MeasurePaint(view.viewport(), f, repaintAll, [bar](int n) { bar->setValue(bar->value() + n * RowHeight); });
    view.setModel(nullptr);
    return f;
}

Figures Best(const Figures& a, const Figures& b)
{
    Figures f = a;
    f.FillMs = std::min(a.FillMs, b.FillMs);
    f.SortMs = std::min(a.SortMs, b.SortMs);
    f.RestUs = std::min(a.RestUs, b.RestUs);
    f.ScrollUs = std::min(a.ScrollUs, b.ScrollUs);
    return f;
}

void Print(const char* name, int rows, const Figures& f)
{
    std::printf("%9d  %-10s %10.1f %10.1f %14.1f %16.1f %12.0f   (paints/frame %.1f, %.1f)\n", rows, name, f.FillMs,
                f.SortMs, f.RestUs, f.ScrollUs, f.BytesPerRow, f.RestPaints, f.ScrollPaints);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i)
        counts.push_back(std::max(1, atoi(argv[i])));
    if (counts.empty())
        counts = {100000, 1000000};

    std::printf("%d text columns of %d px, rows of %d px, view %dx%d, platform %s.\n"
                "fill: rows made and shown; sort: by one column and shown again; paint: a repaint of the\n"
                "whole widget at rest; scroll: %d rows per frame from the middle of the list, as Qt repaints it;\n"
                "bytes/row: heap in use after the fill. Best of %d runs (the machine is shared).\n\n",
                Columns, ColumnWidth, RowHeight, ViewSize.width(), ViewSize.height(),
                qPrintable(QGuiApplication::platformName()), ScrollRowsPerFrame, Runs);
    std::printf("%9s  %-10s %10s %10s %14s %16s %12s\n", "rows", "widget", "fill ms", "sort ms", "paint us/frame",
                "scroll us/frame", "bytes/row");
    for (int rows : counts) {
        Figures g = RunGrid(rows);
        Figures q = RunTable(rows);
        // Alternating runs, so that a burst of load on the shared machine hits both widgets alike.
        for (int run = 1; run < Runs; ++run) {
            g = Best(g, RunGrid(rows));
            q = Best(q, RunTable(rows));
        }
        Print("ZGridList", rows, g);
        Print("QTableView", rows, q);
        std::printf("%9s  %-10s %10.2f %10.2f %14.2f %16.2f %12.2f\n\n", "", "ratio Q/Z", q.FillMs / g.FillMs,
                    q.SortMs / g.SortMs, q.RestUs / g.RestUs, q.ScrollUs / g.ScrollUs, q.BytesPerRow / g.BytesPerRow);
    }
    return 0;
}
