#include "ZGridList.h"

#include "ZDrawAPI.h"
#include "ZGridListTextCache.h"
#include "ZLabel.h"
#include "ZLineEdit.h"
#include "ZPanel.h"

#include <QCursor>
#include <QFocusEvent>
#include <QHoverEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

// The store's lock for one piece of GUI work: taken only when free, released at the end of the scope (or
// earlier, before signals are emitted or controls run code that may lock the store themselves).
class StoreTryLock
{
public:
    explicit StoreTryLock(ZGridListData* data)
        : m_Data(data)
        , m_Locked(data && data->TryLock())
    {
    }
    ~StoreTryLock() { Unlock(); }
    StoreTryLock(const StoreTryLock&) = delete;
    StoreTryLock& operator=(const StoreTryLock&) = delete;

    // A store is attached and a worker holds it.
    bool Busy() const { return m_Data && !m_Locked; }
    void Unlock()
    {
        if (m_Locked) {
            m_Locked = false;
            m_Data->Unlock();
        }
    }

private:
    ZGridListData* m_Data;
    bool m_Locked;
};

int ClampToInt(qint64 v)
{
    return int(std::clamp<qint64>(v, 0, INT_MAX));
}

// A busy store is tried again after this many milliseconds.
constexpr int RetryIntervalMs = 15;
// Rightmost pixels of a header cell that start a column resize.
constexpr int ResizeEdgeWidth = 4;
constexpr int MinimumColumnWidth = 10;

} // namespace

struct ZGridListPrivate
{
    bool CanChangeColumnWidth = true;
    int ColumnHeaderHeight = 30;
    QColor ColumnHeaderBackColor;
    QColor ColumnHeaderBackColorHover;
    QColor ColumnHeaderForeColor;
    QColor ColumnHeaderForeColorHover;
    QColor ColumnHeaderGridLineColor;
    int RowHeight = 20;
    QColor SingleRowBackColor;
    QColor DoubleRowBackColor;
    QColor SelectedRowBackColor;
    QColor RowForeColor;
    QColor LockedRowForeColor;
    QColor CheckFlagColor;

    QImage CheckedImage;
    QImage UncheckImage;

    QRect HeaderRect;
    QRect RowsRect;
    int DrawColumnStart = 0;
    int DrawColumnHidden = 0;
    int DrawRowStart = 0;
    int DrawRowHidden = 0;
    int ColumnTotalWidth = 0;
    int RowTotalHeight = 0;

    bool InHeader = false;
    bool OnResizeEdge = false;
    bool Resizing = false;
    bool ResizeCursor = false;
    int HoverColumn = -1;
    int HoverRow = -1;
    QPoint ResizeAnchor;
    QPoint PointInCell;

    ZGridListData* Data = nullptr;

    // Store indexes of the visible rows, by their position on screen, as counted at the last UpdateData;
    // empty while every row is visible (the usual case: position = index, no memory per row).
    QVector<int> VisibleRows;
    bool AllRowsVisible = true;
    int VisibleRowCount = 0;
    // UpdateData could not read the store yet.
    bool RecountPending = false;
    QTimer* RetryTimer = nullptr;
    ZGridListTextCache TextCache;
    // The part of the widget the current paint event asks for (null outside a paint event: everything).
    QRect PaintRect;
    // Vertical scroll value of the last drawn rows, for moving them on screen instead of drawing them again.
    int LastVScroll = 0;

    // Controls of control cells. The store deletes them (with their rows) whenever its owner clears it, so
    // they are held weakly.
    QPointer<QWidget> HoverControl;
    QPointer<QWidget> PressControl;
    QPointer<ZBase> FocusControl;
    // Grid position of the pressed widget's top-left: releases and drags are delivered relative to it.
    QPoint PressOrigin;
    // Controls found under the store's lock, with their columns, to be sized once it is released.
    QVector<QPair<QPointer<ZBase>, int>> ControlsToLayOut;
};

ZGridList::ZGridList(QWidget* parent)
    : ZScrollContainer(true, true, parent)
    , d_zgridlist(new ZGridListPrivate)
{
    setAttribute(Qt::WA_Hover, true);
    ZPadding padding;
    padding.Top = d_zgridlist->ColumnHeaderHeight;
    SetPadding(padding);
    d_zgridlist->RetryTimer = new QTimer(this);
    d_zgridlist->RetryTimer->setSingleShot(true);
    d_zgridlist->RetryTimer->setInterval(RetryIntervalMs);
    connect(d_zgridlist->RetryTimer, &QTimer::timeout, this, &ZGridList::Retry);
    ComputeDrawArea();
}

ZGridList::~ZGridList()
{
    DropControls();
    delete d_zgridlist;
}

bool ZGridList::CanChangeColumnWidth() const { return d_zgridlist->CanChangeColumnWidth; }
int ZGridList::ColumnHeaderHeight() const { return d_zgridlist->ColumnHeaderHeight; }
const QColor& ZGridList::ColumnHeaderBackColor() const { return d_zgridlist->ColumnHeaderBackColor; }
const QColor& ZGridList::ColumnHeaderBackColorHover() const { return d_zgridlist->ColumnHeaderBackColorHover; }
const QColor& ZGridList::ColumnHeaderForeColor() const { return d_zgridlist->ColumnHeaderForeColor; }
const QColor& ZGridList::ColumnHeaderForeColorHover() const { return d_zgridlist->ColumnHeaderForeColorHover; }
const QColor& ZGridList::ColumnHeaderGridLineColor() const { return d_zgridlist->ColumnHeaderGridLineColor; }
int ZGridList::RowHeight() const { return d_zgridlist->RowHeight; }
const QColor& ZGridList::SingleRowBackColor() const { return d_zgridlist->SingleRowBackColor; }
const QColor& ZGridList::DoubleRowBackColor() const { return d_zgridlist->DoubleRowBackColor; }
const QColor& ZGridList::SelectedRowBackColor() const { return d_zgridlist->SelectedRowBackColor; }
const QColor& ZGridList::RowForeColor() const { return d_zgridlist->RowForeColor; }
const QColor& ZGridList::LockedRowForeColor() const { return d_zgridlist->LockedRowForeColor; }
const QColor& ZGridList::CheckFlagColor() const { return d_zgridlist->CheckFlagColor; }

void ZGridList::SetCanChangeColumnWidth(bool can)
{
    d_zgridlist->CanChangeColumnWidth = can;
}

void ZGridList::SetColumnHeaderHeight(int height)
{
    if (d_zgridlist->ColumnHeaderHeight == height)
        return;
    d_zgridlist->ColumnHeaderHeight = height;
    ZPadding padding;
    padding.Top = height;
    SetPadding(padding);
    ComputeDrawArea();
    update();
}

namespace {
void StoreColor(QColor& field, const QColor& color, QWidget* w)
{
    if (field == color)
        return;
    field = color;
    w->update();
}
} // namespace

void ZGridList::SetColumnHeaderBackColor(const QColor& c) { StoreColor(d_zgridlist->ColumnHeaderBackColor, c, this); }
void ZGridList::SetColumnHeaderBackColorHover(const QColor& c) { StoreColor(d_zgridlist->ColumnHeaderBackColorHover, c, this); }
void ZGridList::SetColumnHeaderForeColor(const QColor& c) { StoreColor(d_zgridlist->ColumnHeaderForeColor, c, this); }
void ZGridList::SetColumnHeaderForeColorHover(const QColor& c) { StoreColor(d_zgridlist->ColumnHeaderForeColorHover, c, this); }
void ZGridList::SetColumnHeaderGridLineColor(const QColor& c) { StoreColor(d_zgridlist->ColumnHeaderGridLineColor, c, this); }
void ZGridList::SetSingleRowBackColor(const QColor& c) { StoreColor(d_zgridlist->SingleRowBackColor, c, this); }
void ZGridList::SetDoubleRowBackColor(const QColor& c) { StoreColor(d_zgridlist->DoubleRowBackColor, c, this); }
void ZGridList::SetSelectedRowBackColor(const QColor& c) { StoreColor(d_zgridlist->SelectedRowBackColor, c, this); }
void ZGridList::SetRowForeColor(const QColor& c) { StoreColor(d_zgridlist->RowForeColor, c, this); }
void ZGridList::SetLockedRowForeColor(const QColor& c) { StoreColor(d_zgridlist->LockedRowForeColor, c, this); }

void ZGridList::SetRowHeight(int height)
{
    if (d_zgridlist->RowHeight == height)
        return;
    d_zgridlist->RowHeight = height;
    update();
}

void ZGridList::SetCheckFlagColor(const QColor& color)
{
    ZGridListPrivate* d = d_zgridlist;
    if (d->CheckFlagColor == color)
        return;
    d->CheckFlagColor = color;
    d->CheckedImage = QImage(QStringLiteral("://Icons/GridList/Checked.png"));
    d->UncheckImage = QImage(QStringLiteral("://Icons/GridList/Uncheck.png"));
    ZDrawAPI::ImageReplaceWhite(d->CheckedImage, color);
    ZDrawAPI::ImageReplaceWhite(d->UncheckImage, color);
    update();
}

// ---------------------------------------------------------------------------------------------------------
// Columns, store, totals

void ZGridList::AddColumn(int width, const QString& text)
{
    Columns.append(ZGridListColumn(width, text));
}

void ZGridList::ApplyColumn()
{
    ComputeColumnTotalWidth();
    SetHScrollBarValue(0);
    ComputeDrawColumnStartIndex(HScrollBarValue());
    // Fill-docked controls follow their column's new width.
    StoreTryLock lock(d_zgridlist->Data);
    if (lock.Busy()) {
        d_zgridlist->RecountPending = true;
        RetryLater();
    } else if (d_zgridlist->Data) {
        CollectControlsLocked(-1);
    }
    lock.Unlock();
    LayOutCollectedControls();
    update();
}

void ZGridList::SetColumnWidth(const QVector<int>& widths)
{
    Columns.clear();
    for (int w : widths)
        Columns.append(ZGridListColumn(w, QString()));
    ApplyColumn();
}

void ZGridList::SetDataSource(ZGridListData* data)
{
    // Only the grid reads this pointer, and only on this thread: swapping it needs no lock, so a store that
    // a worker is filling never blocks the user interface here.
    ZGridListData* d = d_zgridlist->Data;
    if (d == data)
        return;
    DropControls();
    d_zgridlist->Data = data;
    d_zgridlist->HoverRow = -1;
    d_zgridlist->HoverColumn = -1;
}

ZGridListData* ZGridList::DataSource() const
{
    return d_zgridlist->Data;
}

int ZGridList::SelectedRowIndex()
{
    ZGridListPrivate* d = d_zgridlist;
    if (!d->Data || !SelectedRow)
        return -1;
    StoreTryLock lock(d->Data);
    if (lock.Busy())
        return -1;
    return d->Data->Rows.indexOf(SelectedRow);
}

void ZGridList::UpdateData()
{
    ZGridListPrivate* d = d_zgridlist;
    SelectedRow = nullptr;
    LockedRow = nullptr;
    d->HoverRow = -1;
    d->HoverColumn = -1;
    d->InHeader = false;
    d->OnResizeEdge = false;
    DropControls();
    d->RecountPending = true;
    {
        StoreTryLock lock(d->Data);
        if (lock.Busy()) {
            RetryLater();
        } else {
            RecountRowsLocked();
            if (d->Data)
                CollectControlsLocked(-1);
            d->RecountPending = false;
        }
    }
    LayOutCollectedControls();
    SetHScrollBarValue(0);
    SetVScrollBarValue(0);
    ComputeDrawColumnStartIndex(0);
    ComputeDrawRowStartIndex(0);
    update();
}

void ZGridList::ComputeDrawArea()
{
    ZGridListPrivate* d = d_zgridlist;
    const QRect& A = ContainerArea();
    d->HeaderRect = QRect(A.left(), A.top() - d->ColumnHeaderHeight, A.width(), d->ColumnHeaderHeight);
    d->RowsRect = A;
}

void ZGridList::ComputeColumnTotalWidth()
{
    // At least the width left to the rows beside a visible vertical bar: the content then spans the whole
    // area, yet columns that fit never ask for a horizontal bar. The scroll area follows the bars, and a
    // change of it brings the grid back here (ScrollContainerAreaChangedEvent).
    qint64 total = 0;
    for (const ZGridListColumn& c : qAsConst(Columns))
        total += std::max(c.Width, 0);
    const int width = std::max(ClampToInt(total), ScrollArea().width());
    if (width == d_zgridlist->ColumnTotalWidth && ScrollSize().width() == width)
        return;
    d_zgridlist->ColumnTotalWidth = width;
    SetScrollSize(QSize(width, d_zgridlist->RowTotalHeight));
}

bool ZGridList::ComputeRowTotalHeight()
{
    StoreTryLock lock(d_zgridlist->Data);
    if (lock.Busy()) {
        d_zgridlist->RecountPending = true;
        RetryLater();
        return false;
    }
    return RecountRowsLocked();
}

bool ZGridList::RecountRowsLocked()
{
    ZGridListPrivate* d = d_zgridlist;
    d->VisibleRows.clear();
    d->AllRowsVisible = true;
    d->VisibleRowCount = 0;
    if (d->Data) {
        const QList<ZGridListRow*>& rows = d->Data->Rows;
        const int count = rows.size();
        int visible = 0;
        for (int i = 0; i < count; ++i) {
            const ZGridListRow* row = rows.at(i);
            if (row && row->Visible) {
                if (!d->AllRowsVisible)
                    d->VisibleRows.append(i);
                ++visible;
            } else if (d->AllRowsVisible) {
                // The first hidden row: from here on positions and indexes differ.
                d->AllRowsVisible = false;
                d->VisibleRows.reserve(count);
                for (int j = 0; j < i; ++j)
                    d->VisibleRows.append(j);
            }
        }
        d->VisibleRowCount = visible;
    }
    const int height = ClampToInt(qint64(std::max(d->RowHeight, 0)) * d->VisibleRowCount);
    if (height != d->RowTotalHeight || ScrollSize().height() != height) {
        d->RowTotalHeight = height;
        SetScrollSize(QSize(d->ColumnTotalWidth, height));
    }
    return true;
}

int ZGridList::VisibleRowToIndex(int slot) const
{
    const ZGridListPrivate* d = d_zgridlist;
    if (slot < 0 || slot >= d->VisibleRowCount)
        return -1;
    return d->AllRowsVisible ? slot : d->VisibleRows.at(slot);
}

void ZGridList::ComputeDrawColumnStartIndex(int value)
{
    ZGridListPrivate* d = d_zgridlist;
    d->DrawColumnStart = 0;
    d->DrawColumnHidden = 0;
    int left = std::max(value, 0);
    for (int c = 0; c < Columns.size(); ++c) {
        const int w = Columns.at(c).Width;
        if (w > left) {
            d->DrawColumnStart = c;
            d->DrawColumnHidden = left;
            return;
        }
        left -= std::max(w, 0);
    }
}

void ZGridList::ComputeDrawRowStartIndex(int value)
{
    // Positions come from the visible-row table built at UpdateData, so the start row is found without a
    // walk over the store: scrolling costs the same at row 10 as at row 1,000,000.
    ZGridListPrivate* d = d_zgridlist;
    d->DrawRowStart = 0;
    d->DrawRowHidden = 0;
    if (d->RowHeight < 1 || value < 0)
        return;
    const int index = VisibleRowToIndex(value / d->RowHeight);
    if (index < 0)
        return;
    d->DrawRowStart = index;
    d->DrawRowHidden = value % d->RowHeight;
}

void ZGridList::CellControlLayout(int column)
{
    StoreTryLock lock(d_zgridlist->Data);
    if (lock.Busy()) {
        d_zgridlist->RecountPending = true;
        RetryLater();
        return;
    }
    if (d_zgridlist->Data && column >= 0)
        CollectControlsLocked(column);
    lock.Unlock();
    LayOutCollectedControls();
}

// column -1: every column, in one pass over the rows. Only collects: the controls are sized after the store
// is unlocked, as a resize may run the client's code, which may lock the store.
void ZGridList::CollectControlsLocked(int column)
{
    ZGridListPrivate* d = d_zgridlist;
    const int n = std::min(d->Data->ColumnCount, int(Columns.size()));
    const int first = column < 0 ? 0 : column;
    const int last = column < 0 ? n - 1 : std::min(column, n - 1);
    for (ZGridListRow* row : qAsConst(d->Data->Rows)) {
        if (!row || first > last)
            continue;
        const int end = std::min(last, row->CellCount() - 1);
        for (int c = first; c <= end; ++c) {
            const ZGridListCell& cell = row->Cells[c];
            if (cell.Type == ZGridListCell::ControlCell && cell.Value)
                d->ControlsToLayOut.append({reinterpret_cast<ZBase*>(cell.Value), c});
        }
    }
}

void ZGridList::LayOutCollectedControls()
{
    ZGridListPrivate* d = d_zgridlist;
    const QVector<QPair<QPointer<ZBase>, int>> controls = std::move(d->ControlsToLayOut);
    d->ControlsToLayOut.clear();
    for (const auto& entry : controls) {
        ZBase* control = entry.first;
        if (!control || entry.second >= Columns.size())
            continue;
        if (control->Dock() == DockType::Fill)
            control->LayoutSetGeometry(QRect(0, 0, Columns.at(entry.second).Width, d->RowHeight));
        if (auto* panel = qobject_cast<ZPanel*>(control))
            panel->ComputeContainerArea();
        else if (auto* label = qobject_cast<ZLabel*>(control))
            label->UpdateTextBounding();
    }
}

// ---------------------------------------------------------------------------------------------------------
// Painting

void ZGridList::Paint(QPainter* painter)
{
    ZGridListPrivate* d = d_zgridlist;
    const QRect r(0, 0, width(), height());
    ZDrawAPI::DrawBackColor(painter, r, Radius(), BackColor(), BorderWidth());
    ZDrawAPI::DrawBorder(painter, r, Radius(), BorderColor(), Border(), BorderWidth());
    ComputeDrawArea();
    if (!Columns.isEmpty())
        DrawColumnsHeader(painter);
    if (!d->Data)
        return;
    StoreTryLock lock(d->Data);
    if (lock.Busy()) {
        // A worker is filling the store: the rows area keeps the background this time.
        RetryLater();
        return;
    }
    DrawRow(painter);
}

void ZGridList::DrawColumnsHeader(QPainter* p)
{
    ZGridListPrivate* d = d_zgridlist;
    const QRect& H = d->HeaderRect;
    if (H.isEmpty())
        return;
    p->save();
    p->setClipRect(H);
    if (d->ColumnHeaderBackColor.isValid())
        p->fillRect(H, d->ColumnHeaderBackColor);
    p->setPen(d->ColumnHeaderForeColor);
    const int count = Columns.size();
    int x = H.left() - d->DrawColumnHidden;
    for (int c = d->DrawColumnStart; c < count && x <= H.right(); ++c) {
        const ZGridListColumn& column = Columns.at(c);
        const QRect cell(x, H.top(), column.Width, d->ColumnHeaderHeight);
        if (d->InHeader && d->HoverColumn == c) {
            if (d->ColumnHeaderBackColorHover.isValid())
                p->fillRect(cell, d->ColumnHeaderBackColorHover);
            p->setPen(d->ColumnHeaderForeColorHover);
            if (!column.Text.isEmpty())
                p->drawText(cell, Qt::AlignCenter | Qt::TextSingleLine, column.Text);
            p->setPen(d->ColumnHeaderForeColor);
        } else if (!column.Text.isEmpty()) {
            p->drawText(cell, Qt::AlignCenter | Qt::TextSingleLine, column.Text);
        }
        x += column.Width;
    }
    if (d->ColumnHeaderGridLineColor.isValid() && d->ColumnHeaderGridLineColor.alpha() > 0) {
        p->setPen(d->ColumnHeaderGridLineColor);
        x = H.left() - d->DrawColumnHidden;
        for (int c = d->DrawColumnStart; c < count - 1; ++c) {
            x += Columns.at(c).Width;
            if (x - 1 > H.right())
                break;
            p->drawLine(x - 1, H.top(), x - 1, H.bottom());
        }
        p->drawLine(H.left(), H.bottom(), H.right(), H.bottom());
    }
    p->restore();
}

void ZGridList::DrawRow(QPainter* p)
{
    ZGridListPrivate* d = d_zgridlist;
    ZGridListData* data = d->Data;
    if (!data || !data->RowsVisible || d->RowHeight < 1)
        return;
    const int n = std::min(data->ColumnCount, int(Columns.size()));
    if (n <= 0)
        return;
    const QRect& R = d->RowsRect;
    if (R.isEmpty())
        return;
    const QList<ZGridListRow*>& rows = data->Rows;
    const int count = rows.size();
    const int rowHeight = d->RowHeight;

    p->save();
    p->setClipRect(R);
    p->setPen(d->RowForeColor);
    d->TextCache.SetFont(p->font());
    const int xStart = R.left() - d->DrawColumnHidden;
    int y = R.top() - d->DrawRowHidden;
    // The start row was found at the last scroll change; a worker may have shortened the store since.
    // Rows and cells outside the region being painted are only counted (a scroll step paints a few rows).
    const QRect dirty = d->PaintRect.isNull() ? R : (d->PaintRect & R);
    for (int i = d->DrawRowStart; i < count && y <= dirty.bottom(); ++i) {
        ZGridListRow* row = rows.at(i);
        if (!row || !row->Visible)
            continue;
        if (y + rowHeight <= dirty.top()) {
            y += rowHeight;
            continue;
        }
        const QColor& back = row == SelectedRow ? d->SelectedRowBackColor
                                                : (i % 2 == 0 ? d->DoubleRowBackColor : d->SingleRowBackColor);
        if (back.isValid())
            p->fillRect(QRect(xStart, y, R.right() - xStart + 1, rowHeight), back);
        const bool locked = row == LockedRow;
        const int cells = std::min(n, row->CellCount());
        int x = xStart;
        for (int c = d->DrawColumnStart; c < cells; ++c) {
            const int w = Columns.at(c).Width;
            if (x + w <= dirty.left()) {
                x += w;
                continue;
            }
            const ZGridListCell& cell = row->Cells[c];
            switch (cell.Type) {
            case ZGridListCell::TextCell:
                if (!cell.Text.isEmpty()) {
                    if (locked)
                        p->setPen(d->LockedRowForeColor);
                    d->TextCache.DrawCentred(p, QRect(x, y, w, rowHeight), cell.Text);
                    if (locked)
                        p->setPen(d->RowForeColor);
                }
                break;
            case ZGridListCell::ImageCell:
                if (const QImage* image = reinterpret_cast<const QImage*>(cell.Value)) {
                    if (!image->isNull())
                        p->drawImage(x + (w - image->width()) / 2, y + (rowHeight - image->height()) / 2, *image);
                }
                break;
            case ZGridListCell::CheckCell: {
                const QImage& image = cell.Value ? d->CheckedImage : d->UncheckImage;
                if (!image.isNull())
                    p->drawImage(x + (w - image.width()) / 2, y + (rowHeight - image.height()) / 2, image);
                break;
            }
            case ZGridListCell::ControlCell:
                if (ZBase* control = reinterpret_cast<ZBase*>(cell.Value)) {
                    const QPoint at((w - control->width()) / 2, (rowHeight - control->height()) / 2);
                    if (control->pos() != at)
                        control->move(at);
                    control->GridListPaint(p, QPoint(x, y) + at);
                }
                break;
            default:
                break;
            }
            x += w;
            if (x > dirty.right())
                break;
        }
        y += rowHeight;
    }
    p->restore();
}

// ---------------------------------------------------------------------------------------------------------
// Hover tracking and input

bool ZGridList::MouseMoveDispose(const QPoint& pos)
{
    StoreTryLock lock(d_zgridlist->Data);
    if (lock.Busy()) {
        RetryLater();
        return false;
    }
    HoverLocked(pos);
    return true;
}

void ZGridList::HoverLocked(const QPoint& pos)
{
    ZGridListPrivate* d = d_zgridlist;
    ComputeDrawArea();
    d->HoverRow = -1;
    d->HoverColumn = -1;
    d->InHeader = false;
    d->OnResizeEdge = false;

    const QRect& H = d->HeaderRect;
    int cellX = 0;
    int x = pos.x() + d->DrawColumnHidden - H.left();
    for (int c = d->DrawColumnStart; c < Columns.size(); ++c) {
        const int w = Columns.at(c).Width;
        if (x < w) {
            d->HoverColumn = c;
            cellX = x;
            if (pos.y() <= H.bottom() && x >= w - ResizeEdgeWidth && d->CanChangeColumnWidth)
                d->OnResizeEdge = true;
            break;
        }
        x -= w;
    }
    if (pos.y() <= H.bottom())
        d->InHeader = true;

    int cellY = 0;
    if (!d->InHeader && d->Data && d->RowHeight > 0) {
        // The same walk as painting: from the start row, skipping hidden rows.
        const QList<ZGridListRow*>& rows = d->Data->Rows;
        const int count = rows.size();
        int y = d->DrawRowHidden + pos.y() - d->RowsRect.top();
        for (int i = d->DrawRowStart; i < count && y >= 0; ++i) {
            const ZGridListRow* row = rows.at(i);
            if (!row || !row->Visible)
                continue;
            if (y < d->RowHeight) {
                d->HoverRow = i;
                cellY = y;
                break;
            }
            y -= d->RowHeight;
        }
    }
    if (d->HoverRow >= 0 && d->HoverColumn >= 0)
        d->PointInCell = QPoint(cellX, cellY);

    if (d->CanChangeColumnWidth && d->OnResizeEdge != d->ResizeCursor) {
        d->ResizeCursor = d->OnResizeEdge;
        setCursor(d->OnResizeEdge ? Qt::SizeHorCursor : Qt::ArrowCursor);
    }
}

QWidget* ZGridList::TrackLocked(const QPoint& pos, QPoint& local)
{
    HoverLocked(pos);
    local = d_zgridlist->PointInCell;
    return ControlTargetLocked(local);
}

QWidget* ZGridList::ControlTargetLocked(QPoint& point)
{
    ZGridListPrivate* d = d_zgridlist;
    if (!d->Data || d->HoverRow < 0 || d->HoverColumn < 0 || d->InHeader)
        return nullptr;
    const int n = std::min(d->Data->ColumnCount, int(Columns.size()));
    if (d->HoverColumn >= n || d->HoverRow >= d->Data->Rows.size())
        return nullptr;
    const ZGridListRow* row = d->Data->Rows.at(d->HoverRow);
    if (!row || d->HoverColumn >= row->CellCount())
        return nullptr;
    const ZGridListCell& cell = row->Cells[d->HoverColumn];
    if (cell.Type != ZGridListCell::ControlCell || !cell.Value)
        return nullptr;
    ZBase* control = reinterpret_cast<ZBase*>(cell.Value);
    if (!control->geometry().contains(point))
        return nullptr;
    point -= control->pos();
    // Hidden children count: painting draws them too, and the children of a control that the client never
    // shows are all hidden in Qt's sense.
    return ZDrawAPI::GetChildAt(control, point, false, true);
}

bool ZGridList::ForwardMouseEvent(QEvent* event, const QPoint& point)
{
    ZGridListPrivate* d = d_zgridlist;
    if (event->type() == QEvent::MouseButtonRelease) {
        // A release belongs to the widget that got the press, wherever the pointer is now.
        if (!d->PressControl)
            return false;
        auto* me = static_cast<QMouseEvent*>(event);
        return DeliverToControl(event, d->PressControl, me->pos() - d->PressOrigin);
    }
    StoreTryLock lock(d->Data);
    if (lock.Busy()) {
        RetryLater();
        return false;
    }
    QPoint local = point;
    QWidget* target = ControlTargetLocked(local);
    lock.Unlock();
    if (event->type() == QEvent::HoverMove || event->type() == QEvent::MouseMove)
        SetHoverControl(target, local);
    if (!target)
        return false;
    return DeliverToControl(event, target, local);
}

void ZGridList::SetHoverControl(QWidget* target, const QPoint& local)
{
    ZGridListPrivate* d = d_zgridlist;
    if (d->HoverControl == target)
        return;
    QPointer<QWidget> old = d->HoverControl;
    d->HoverControl = target;
    if (old) {
        QEvent leave(QEvent::Leave);
        static_cast<QObject*>(old.data())->event(&leave);
    }
    if (target) {
        QEnterEvent enter(local, local, mapToGlobal(local));
        static_cast<QObject*>(target)->event(&enter);
    }
}

// Delivered straight to the widget's event(): the controls are not shown, and Qt's own delivery would pass
// an ignored event on to their parents.
bool ZGridList::DeliverToControl(QEvent* event, QWidget* target, const QPoint& local)
{
    ZGridListPrivate* d = d_zgridlist;
    QPointer<QWidget> alive(target);
    const QEvent::Type type = event->type();
    Qt::MouseButton button = Qt::NoButton;
    Qt::MouseButtons buttons = Qt::NoButton;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    QPoint gridPos;
    if (type == QEvent::HoverMove) {
        auto* he = static_cast<QHoverEvent*>(event);
        modifiers = he->modifiers();
        gridPos = he->pos();
    } else {
        auto* me = static_cast<QMouseEvent*>(event);
        button = me->button();
        buttons = me->buttons();
        modifiers = me->modifiers();
        gridPos = me->pos();
    }

    if (type == QEvent::MouseButtonPress) {
        d->PressControl = target;
        d->PressOrigin = gridPos - local;
        if (target != d->FocusControl.data()) {
            DropFocusControl();
            if (auto* edit = qobject_cast<ZLineEdit*>(target)) {
                QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
                static_cast<QObject*>(edit)->event(&in);
                if (alive) {
                    d->FocusControl = edit;
                    edit->SetUpdateHook(this);
                }
            }
        }
    } else if (type == QEvent::MouseButtonRelease) {
        d->PressControl = nullptr;
    }
    if (!alive)
        return true;

    const QEvent::Type sent = type == QEvent::HoverMove ? QEvent::MouseMove : type;
    QMouseEvent me(sent, QPointF(local), QPointF(local), QPointF(mapToGlobal(gridPos)), button, buttons, modifiers);
    static_cast<QObject*>(target)->event(&me);
    return true;
}

void ZGridList::DropFocusControl()
{
    ZGridListPrivate* d = d_zgridlist;
    QPointer<ZBase> focus = d->FocusControl;
    d->FocusControl = nullptr;
    if (!focus)
        return;
    if (auto* edit = qobject_cast<ZLineEdit*>(focus.data()))
        edit->SetUpdateHook(nullptr);
    QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
    static_cast<QObject*>(focus.data())->event(&out);
}

void ZGridList::DropControls()
{
    ZGridListPrivate* d = d_zgridlist;
    d->HoverControl = nullptr;
    d->PressControl = nullptr;
    DropFocusControl();
}

void ZGridList::MousePress(QMouseEvent* e)
{
    ZGridListPrivate* d = d_zgridlist;
    const QPoint pos = e->pos();
    StoreTryLock lock(d->Data);
    if (lock.Busy()) {
        // Neither the row under the pointer nor the selection can be read: the press is dropped rather than
        // acted on with stale rows, and the grid repaints once the worker is done.
        RetryLater();
        return;
    }
    QPoint local;
    if (QWidget* target = TrackLocked(pos, local)) {
        lock.Unlock();
        SetHoverControl(target, local);
        DeliverToControl(e, target, local);
        update();
        return;
    }

    int headerClicked = -1;
    int rowClicked = -1;
    int rowClickedColumn = -1;
    bool rightClicked = false;
    if (d->OnResizeEdge) {
        d->Resizing = true;
        d->ResizeAnchor = pos;
    } else if (d->Data) {
        if (!d->InHeader)
            SelectedRow = d->HoverRow >= 0 ? d->Data->Rows.at(d->HoverRow) : nullptr;
        if (e->button() != Qt::LeftButton) {
            rightClicked = true;
        } else if (d->HoverColumn >= 0) {
            if (d->InHeader) {
                headerClicked = d->HoverColumn;
            } else if (d->HoverRow >= 0) {
                ZGridListRow* row = d->Data->Rows.at(d->HoverRow);
                const int n = std::min(d->Data->ColumnCount, int(Columns.size()));
                if (d->HoverColumn < n && d->HoverColumn < row->CellCount()) {
                    ZGridListCell& cell = row->Cells[d->HoverColumn];
                    if (cell.Type == ZGridListCell::CheckCell)
                        cell.Value = cell.Value ? 0 : 1;
                }
                rowClicked = d->HoverRow;
                rowClickedColumn = d->HoverColumn;
            }
        }
    } else if (e->button() != Qt::LeftButton) {
        rightClicked = true;
    }
    lock.Unlock();

    // A slot may close the window that holds the grid.
    QPointer<ZGridList> alive(this);
    if (rightClicked)
        emit RightClicked();
    if (alive && headerClicked >= 0)
        emit ColumnHeaderClicked(headerClicked);
    if (alive && rowClicked >= 0)
        emit RowClicked(rowClicked, rowClickedColumn);
    if (alive)
        update();
}

void ZGridList::MouseRelease(QMouseEvent* e)
{
    ZGridListPrivate* d = d_zgridlist;
    d->Resizing = false;
    if (!MouseMoveDispose(e->pos()) && !d->PressControl)
        return;
    if (ForwardMouseEvent(e, d->PointInCell))
        update();
}

void ZGridList::MouseDoubleClick(QMouseEvent* e)
{
    ZGridListPrivate* d = d_zgridlist;
    StoreTryLock lock(d->Data);
    if (lock.Busy()) {
        RetryLater();
        return;
    }
    QPoint local;
    if (QWidget* target = TrackLocked(e->pos(), local)) {
        lock.Unlock();
        DeliverToControl(e, target, local);
        update();
        return;
    }
    const int row = d->HoverRow;
    const int column = d->HoverColumn;
    lock.Unlock();
    if (e->button() == Qt::LeftButton && row >= 0)
        emit RowDoubleClicked(row, column);
}

void ZGridList::HoverMove(const QPoint& pos)
{
    ZGridListPrivate* d = d_zgridlist;
    if (d->Resizing) {
        const int c = d->HoverColumn;
        if (c >= 0 && c < Columns.size()) {
            ZGridListColumn& column = Columns[c];
            column.Width = std::max(MinimumColumnWidth, column.Width + (pos.x() - d->ResizeAnchor.x()));
            d->ResizeAnchor = pos;
            ComputeColumnTotalWidth();
            ComputeDrawColumnStartIndex(HScrollBarValue());
            CellControlLayout(c);
            update();
        }
        return;
    }
    StoreTryLock lock(d->Data);
    if (lock.Busy()) {
        RetryLater();
        return;
    }
    QPoint local;
    QWidget* target = TrackLocked(pos, local);
    lock.Unlock();
    SetHoverControl(target, local);
    // While a control holds the pointer (a button is down on it), moves reach it as drags instead.
    if (target && !d->PressControl) {
        QHoverEvent he(QEvent::HoverMove, pos, pos);
        DeliverToControl(&he, target, local);
    }
    update();
}

bool ZGridList::event(QEvent* e)
{
    ZGridListPrivate* d = d_zgridlist;
    QPointer<ZGridList> alive(this);
    switch (e->type()) {
    case QEvent::MouseButtonPress:
        MousePress(static_cast<QMouseEvent*>(e));
        break;
    case QEvent::MouseButtonRelease:
        MouseRelease(static_cast<QMouseEvent*>(e));
        break;
    case QEvent::MouseButtonDblClick:
        MouseDoubleClick(static_cast<QMouseEvent*>(e));
        break;
    case QEvent::MouseMove: {
        auto* me = static_cast<QMouseEvent*>(e);
        if (me->buttons() != Qt::NoButton && d->PressControl) {
            DeliverToControl(e, d->PressControl, me->pos() - d->PressOrigin);
            update();
        }
        break;
    }
    case QEvent::HoverMove:
        HoverMove(static_cast<QHoverEvent*>(e)->pos());
        break;
    case QEvent::HoverLeave:
        if (!d->Resizing) {
            d->HoverRow = -1;
            d->HoverColumn = -1;
            d->InHeader = false;
            SetHoverControl(nullptr, QPoint());
            update();
        }
        break;
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
        if (ZBase* focus = d->FocusControl) {
            if (static_cast<QObject*>(focus)->event(e) && e->isAccepted())
                return true;
        }
        break;
    case QEvent::FocusOut:
        DropFocusControl();
        break;
    case QEvent::Paint: {
        d->PaintRect = static_cast<QPaintEvent*>(e)->rect();
        const bool handled = ZScrollContainer::event(e);
        d->PaintRect = QRect();
        return handled;
    }
    default:
        break;
    }
    if (!alive)
        return true;
    return ZScrollContainer::event(e);
}

void ZGridList::ScrollContainerAreaChangedEvent()
{
    ComputeDrawArea();
    ComputeColumnTotalWidth();
}

void ZGridList::HScrollBarValueChangedEvent(int value)
{
    ComputeDrawColumnStartIndex(value);
    update();
}

void ZGridList::VScrollBarValueChangedEvent(int value)
{
    ZGridListPrivate* d = d_zgridlist;
    const int dy = d->LastVScroll - value;
    d->LastVScroll = value;
    ComputeDrawRowStartIndex(value);
    if (dy == 0)
        return;
    // The rows already on screen move with Qt's scroll (pixels copied in the window's backing store) and
    // only the uncovered strip is painted: a scroll step then costs a few rows, not a screenful. Qt copies
    // pixels only for a widget that paints every pixel itself, which the grid does when its background is
    // opaque and square; otherwise, or for a jump of a page or more, everything is painted again.
    const QRect area = ScrollArea() & d->RowsRect;
    const QColor& back = BackColor();
    const bool opaque = back.isValid() && back.alpha() == 255 && Radius() < 1;
    if (!opaque || !isVisible() || std::abs(dy) >= area.height() || d->RecountPending) {
        update();
        return;
    }
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    scroll(0, dy, area);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void ZGridList::RetryLater()
{
    if (!d_zgridlist->RetryTimer->isActive())
        d_zgridlist->RetryTimer->start();
}

void ZGridList::Retry()
{
    ZGridListPrivate* d = d_zgridlist;
    if (d->RecountPending) {
        StoreTryLock lock(d->Data);
        if (lock.Busy()) {
            RetryLater();
            return;
        }
        RecountRowsLocked();
        if (d->Data)
            CollectControlsLocked(-1);
        d->RecountPending = false;
        lock.Unlock();
        LayOutCollectedControls();
        ComputeDrawRowStartIndex(VScrollBarValue());
    }
    update();
}
