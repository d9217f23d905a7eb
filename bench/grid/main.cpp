// Fills, sorts and paints a ZGridList and a QTableView (over a QAbstractTableModel, the view with its default
// settings but for the same row height and column width) with the same rows of twelve text cells and prints
// min/median/max of five interleaved runs of each and the ratio of medians. Frames: at rest (the same content
// again), a scroll step of three rows, a page scrolled per frame and a jump to a far row per frame (all new
// content). Usage: grid-bench [rows ...] (default 100000 1000000). Runs headless (offscreen platform unless
// QT_QPA_PLATFORM says otherwise).
#include "ZGridList.h"
#include "ZGridListData.h"
#include "Spread.h"

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
constexpr int PageFrames = 100;
constexpr int Runs = 5;
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
    double PageUs = 0;
    double JumpUs = 0;
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
// at rest a repaint of the whole widget; otherwise whatever the widget repaints when its first shown row moves
// (the table view moves the unchanged pixels and paints only the uncovered rows; the grid paints anew): three
// rows per frame, a page per frame, a jump to a far row per frame. painted is the widget whose paint events are
// counted (the table's viewport), so that the figures are known to be paints. showRow(r) makes row r the first
// shown one.
template <typename RepaintAll, typename ShowRow>
void MeasurePaint(QWidget* painted, int rows, Figures& f, RepaintAll repaintAll, ShowRow showRow)
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

    const int pageRows = ViewSize.height() / RowHeight;
    const int last = std::max(0, rows - pageRows);
    auto frames = [&](int count, auto nextRow) {
        t.start();
        for (int i = 0; i < count; ++i) {
            showRow(nextRow(i));
            QCoreApplication::sendPostedEvents(); // the update request that the move posted
        }
        return double(t.nsecsElapsed()) / 1e3 / count;
    };
    const int middle = rows / 2;
    counter.Paints = 0;
    f.ScrollUs = frames(ScrollFrames, [&](int i) { return std::min(last, middle + (i + 1) * ScrollRowsPerFrame); });
    f.ScrollPaints = double(counter.Paints) / ScrollFrames;
    showRow(0);
    QCoreApplication::sendPostedEvents();
    f.PageUs = frames(PageFrames, [&](int i) { return std::min(last, (i + 1) * pageRows % std::max(1, last)); });
    quint32 seed = 12345;
    f.JumpUs = frames(PageFrames, [&](int) {
        seed = seed * 1664525u + 1013904223u;
        return int(seed % quint32(last + 1));
    });
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
    MeasurePaint(&grid, rows, f, [&grid] { grid.repaint(); }, [&grid](int row) { grid.SetVScrollBarValue(row * RowHeight); });
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
    bar->setValue(rows / 2);  // scrolling per item, the view's default: the bar counts rows
    // The view's own repaint leaves its viewport and header alone: all three, as a full repaint would.
    auto repaintAll = [&view] {
        view.repaint();
        view.horizontalHeader()->viewport()->repaint();
        view.viewport()->repaint();
    };
    MeasurePaint(view.viewport(), rows, f, repaintAll, [bar](int row) { bar->setValue(row); });
    view.setModel(nullptr);
    return f;
}

// One figure of both widgets over the runs: min/median/max of each and the ratio of the medians (Q/Z).
void PrintFigure(const char* name, const std::vector<Figures>& g, const std::vector<Figures>& q,
                 double Figures::*field)
{
    std::vector<double> a, b;
    for (const Figures& f : g)
        a.push_back(f.*field);
    for (const Figures& f : q)
        b.push_back(f.*field);
    const bench::Spread z = bench::SpreadOf(a), t = bench::SpreadOf(b);
    std::printf("  %-16s ZGridList %10.1f %10.1f %10.1f   QTableView %10.1f %10.1f %10.1f   Q/Z %6.2f\n", name, z.min,
                z.median, z.max, t.min, t.median, t.max, z.median != 0 ? t.median / z.median : 0.0);
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
                "fill: rows made and shown; sort: by one column and shown again; rest: a repaint of the whole\n"
                "widget; scroll: %d rows per frame; page: a page per frame; jump: a far row per frame (us/frame);\n"
                "bytes/row: heap in use after the fill. min, median, max of %d interleaved runs; Q/Z: ratio of\n"
                "medians (the machine is shared).\n\n",
                Columns, ColumnWidth, RowHeight, ViewSize.width(), ViewSize.height(),
                qPrintable(QGuiApplication::platformName()), ScrollRowsPerFrame, Runs);
    for (int rows : counts) {
        std::vector<Figures> g, q;
        // Alternating runs, so that a burst of load on the shared machine hits both widgets alike.
        for (int run = 0; run < Runs; ++run) {
            g.push_back(RunGrid(rows));
            q.push_back(RunTable(rows));
        }
        std::printf("%d rows (paints per frame, grid: rest %.1f scroll %.1f; table: rest %.1f scroll %.1f)\n", rows,
                    g[0].RestPaints, g[0].ScrollPaints, q[0].RestPaints, q[0].ScrollPaints);
        PrintFigure("fill ms", g, q, &Figures::FillMs);
        PrintFigure("sort ms", g, q, &Figures::SortMs);
        PrintFigure("rest us/frame", g, q, &Figures::RestUs);
        PrintFigure("scroll us/frame", g, q, &Figures::ScrollUs);
        PrintFigure("page us/frame", g, q, &Figures::PageUs);
        PrintFigure("jump us/frame", g, q, &Figures::JumpUs);
        PrintFigure("bytes/row", g, q, &Figures::BytesPerRow);
        std::printf("\n");
    }
    return 0;
}
