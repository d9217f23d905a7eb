#pragma once
#include "ZGridListColumn.h"
#include "ZGridListData.h"
#include "ZScrollContainer.h"

#include <QList>
#include <QVector>

class QMouseEvent;
struct ZGridListPrivate;

// The skinned table. It draws a header strip (in the container's top padding, ColumnHeaderHeight high) and
// the rows of a ZGridListData that it shows but never owns, visiting only the visible columns and rows, so
// a frame costs the same for a hundred rows as for a million. One row is selected (SelectedRow, a pointer,
// so it survives sorting); columns are resized by dragging the rightmost 4 pixels of a header cell.
//
// Using it: AddColumn ... ApplyColumn (or SetColumnWidth); fill a store; SetDataSource(store); UpdateData().
// After every change of the store's rows call UpdateData() again: it re-reads the store, clears the
// selection, LockedRow and hover, and scrolls to the top left. Before deleting a store, give the grid another
// one (or null) with SetDataSource.
//
// Threads: the grid lives on the user-interface thread. Every read or write of the store's rows it does
// (painting, scroll size, hover, presses, check toggling, SelectedRowIndex, UpdateData) happens under the
// store's TryLock and never waits: while a worker holds the store, the rows area shows the background, hover
// and selection stay as they were, presses on rows are dropped, and the grid tries again a few milliseconds
// later on its own. Signals are emitted after the store is unlocked, so a slot may Lock or Sort the store.
//
// Cells (ZGridListCell::Type):
//   text     centred, single line, clipped to the cell; LockedRow's text in LockedRowForeColor;
//   image    the QImage centred at its own size (the image is the caller's);
//   check    the checked or unchecked mark, centred; nothing until CheckFlagColor is set; a left click on
//            the cell inverts Value and emits RowClicked;
//   control  an embedded ZBase widget (the cell owns it; its parent and visibility stay the client's).
//
// Embedded controls (the contract for widgets shown in control cells, e.g. a combo box):
//   - Painting: for every drawn control cell the grid moves the control, within its own parent, to the
//     centre of the cell ((column width - width) / 2, (RowHeight - height) / 2) and calls
//     control->GridListPaint(painter, cell top-left + control->pos()): the control's Paint runs with the
//     grid's painter translated to the control's top-left and clipped to the rows area, then its ZBase
//     children the same way (visible or not). Paint must therefore draw from the painter it is given and
//     its own geometry and state only; it must not assume it paints on its own widget or that it is shown.
//   - Size: a control docked Fill gets (0, 0, column width, RowHeight) at UpdateData, at ApplyColumn and
//     while its column is resized (CellControlLayout); other controls keep the size they have.
//   - Input: under the pointer, the deepest enabled child of the control (or the control itself) receives
//     the grid's mouse press, double click and move as a QMouseEvent in its own coordinates through its
//     event(); the release goes to the widget that got the press (also when it happens outside it), and so
//     do moves with a button held; Enter and Leave are sent as the pointer crosses controls. A ZLineEdit
//     that is pressed gets a FocusIn, the grid as its update hook, and from then on the grid's key presses
//     and shortcut overrides, until another control is pressed, the grid loses the focus, or UpdateData /
//     SetDataSource runs (it then gets a FocusOut and its hook back). Repaints: the grid repaints after
//     every event a control took; a control that changes at other times asks for a repaint through the
//     grid (update() on a widget that is not shown paints nothing).
//   - Lifetime: the grid keeps hovered, pressed and focused controls as QPointers and forgets them at
//     UpdateData, SetDataSource and destruction, so a store that deletes its controls never leaves the grid
//     with a dangling one.
class VELOUR_EXPORT ZGridList : public ZScrollContainer
{
    Q_OBJECT
    Q_PROPERTY(bool CanChangeColumnWidth READ CanChangeColumnWidth WRITE SetCanChangeColumnWidth)
    Q_PROPERTY(int ColumnHeaderHeight READ ColumnHeaderHeight WRITE SetColumnHeaderHeight)
    Q_PROPERTY(QColor ColumnHeaderBackColor READ ColumnHeaderBackColor WRITE SetColumnHeaderBackColor)
    Q_PROPERTY(QColor ColumnHeaderBackColorHover READ ColumnHeaderBackColorHover WRITE SetColumnHeaderBackColorHover)
    Q_PROPERTY(QColor ColumnHeaderForeColor READ ColumnHeaderForeColor WRITE SetColumnHeaderForeColor)
    Q_PROPERTY(QColor ColumnHeaderForeColorHover READ ColumnHeaderForeColorHover WRITE SetColumnHeaderForeColorHover)
    Q_PROPERTY(QColor ColumnHeaderGridLineColor READ ColumnHeaderGridLineColor WRITE SetColumnHeaderGridLineColor)
    Q_PROPERTY(int RowHeight READ RowHeight WRITE SetRowHeight)
    Q_PROPERTY(QColor SingleRowBackColor READ SingleRowBackColor WRITE SetSingleRowBackColor)
    Q_PROPERTY(QColor DoubleRowBackColor READ DoubleRowBackColor WRITE SetDoubleRowBackColor)
    Q_PROPERTY(QColor SelectedRowBackColor READ SelectedRowBackColor WRITE SetSelectedRowBackColor)
    Q_PROPERTY(QColor RowForeColor READ RowForeColor WRITE SetRowForeColor)
    Q_PROPERTY(QColor LockedRowForeColor READ LockedRowForeColor WRITE SetLockedRowForeColor)
    Q_PROPERTY(QColor CheckFlagColor READ CheckFlagColor WRITE SetCheckFlagColor)

public:
    explicit ZGridList(QWidget* parent = nullptr);
    ~ZGridList() override;

    // Width and header text of every column. The client may rewrite the texts (then ApplyColumn) or empty
    // the list and add columns again.
    QList<ZGridListColumn> Columns;
    // The selected row, or null. Only compared with the store's row pointers, never read through, so it is
    // harmless when the store has deleted the row in the meantime.
    ZGridListRow* SelectedRow = nullptr;
    // The row whose text cells are drawn in LockedRowForeColor (the record being played); null by default.
    ZGridListRow* LockedRow = nullptr;

    bool CanChangeColumnWidth() const;
    int ColumnHeaderHeight() const;
    const QColor& ColumnHeaderBackColor() const;
    const QColor& ColumnHeaderBackColorHover() const;
    const QColor& ColumnHeaderForeColor() const;
    const QColor& ColumnHeaderForeColorHover() const;
    const QColor& ColumnHeaderGridLineColor() const;
    int RowHeight() const;
    const QColor& SingleRowBackColor() const;
    const QColor& DoubleRowBackColor() const;
    const QColor& SelectedRowBackColor() const;
    const QColor& RowForeColor() const;
    const QColor& LockedRowForeColor() const;
    const QColor& CheckFlagColor() const;

    // Stored only.
    void SetCanChangeColumnWidth(bool can);
    // Also the container's top padding (the header lives there).
    void SetColumnHeaderHeight(int height);
    void SetColumnHeaderBackColor(const QColor& color);
    void SetColumnHeaderBackColorHover(const QColor& color);
    void SetColumnHeaderForeColor(const QColor& color);
    void SetColumnHeaderForeColorHover(const QColor& color);
    // Grid lines are drawn only when the colour's alpha is above 0.
    void SetColumnHeaderGridLineColor(const QColor& color);
    // The scroll size follows at the next UpdateData. Heights below 1 show no rows.
    void SetRowHeight(int height);
    void SetSingleRowBackColor(const QColor& color);
    void SetDoubleRowBackColor(const QColor& color);
    void SetSelectedRowBackColor(const QColor& color);
    void SetRowForeColor(const QColor& color);
    void SetLockedRowForeColor(const QColor& color);
    // Tints the white check mark images with the colour; until it is set, check cells draw nothing.
    void SetCheckFlagColor(const QColor& color);

    // Appends a column; nothing is recomputed until ApplyColumn.
    void AddColumn(int width, const QString& text);
    // Recomputes the total width, scrolls to the left, lays out Fill controls again and repaints.
    void ApplyColumn();
    // Replaces every column by columns of these widths with empty texts, then ApplyColumn.
    void SetColumnWidth(const QVector<int>& widths);

    // Shows another store (or none). Never waits for the old or the new store's lock. Forgets hover,
    // pressed and focused controls; call UpdateData next.
    void SetDataSource(ZGridListData* data);
    ZGridListData* DataSource() const;
    // Index of SelectedRow in the store; -1 without a store or selection, when the row is no longer in the
    // store, or while a worker holds the store.
    int SelectedRowIndex();
    // Re-reads the store: selection, LockedRow, hover and controls cleared; scroll size recomputed (later,
    // on its own, when a worker holds the store); both scroll values 0; repaints.
    void UpdateData();

    // The header rectangle (ColumnHeaderHeight pixels directly above the container area) and the rows
    // rectangle (the container area).
    void ComputeDrawArea();
    // Sum of the column widths, but at least the scroll area's width (the container area less a visible
    // vertical bar), so the content spans the area without a horizontal bar; sets the scroll size when it
    // changed. Runs again whenever the scroll area changes.
    void ComputeColumnTotalWidth();
    // RowHeight times the visible rows of the store (0 without one); sets the scroll size when it changed.
    // Reads the store under TryLock: false (and a retry later) when a worker holds it.
    bool ComputeRowTotalHeight();
    // First drawn column or row, and how many of its pixels are scrolled off, for a scroll value.
    void ComputeDrawColumnStartIndex(int value);
    void ComputeDrawRowStartIndex(int value);
    // Gives the Fill-docked controls in that column the cell's size (store under TryLock).
    void CellControlLayout(int column);
    // The header strip. Painting only.
    void DrawColumnsHeader(QPainter* painter);
    // The rows. The caller holds the store's lock (Paint TryLocks it).
    void DrawRow(QPainter* painter);
    // Hover tracking for a position in the grid: hovered column and row, header and resize-edge flags, the
    // point inside the hovered cell, the cursor. Reads the store under TryLock; false when a worker holds
    // it, and then nothing changed.
    bool MouseMoveDispose(const QPoint& pos);
    // Hands a mouse event to the embedded control under the hovered cell (see the class comment); point is
    // in the hovered cell's coordinates. True when a control took it.
    bool ForwardMouseEvent(QEvent* event, const QPoint& point);

signals:
    void ColumnHeaderClicked(int ColumnIndex);
    void RowClicked(int RowIndex, int ColumnIndex);
    void RowDoubleClicked(int RowIndex, int ColumnIndex);
    void RightClicked();

protected:
    void Paint(QPainter* painter) override;
    bool event(QEvent* e) override;
    void ScrollContainerAreaChangedEvent() override;
    void HScrollBarValueChangedEvent(int value) override;
    void VScrollBarValueChangedEvent(int value) override;

private:
    // Parts that run with the store locked by the caller.
    void HoverLocked(const QPoint& pos);
    // Hover tracking, then the control widget under pos (null when none) and pos in its coordinates.
    QWidget* TrackLocked(const QPoint& pos, QPoint& local);
    QWidget* ControlTargetLocked(QPoint& point);
    bool RecountRowsLocked();
    void CollectControlsLocked(int column);
    void LayOutCollectedControls();
    // Delivery of a mouse event to a control found under the lock, after unlocking.
    bool DeliverToControl(QEvent* event, QWidget* target, const QPoint& local);
    void SetHoverControl(QWidget* target, const QPoint& local);
    void DropControls();
    void DropFocusControl();
    void MousePress(QMouseEvent* e);
    void MouseRelease(QMouseEvent* e);
    void MouseDoubleClick(QMouseEvent* e);
    void HoverMove(const QPoint& pos);
    // The store was busy: try again shortly (repaint, and finish an UpdateData that could not read it).
    void RetryLater();
    void Retry();
    int VisibleRowToIndex(int slot) const;

    ZGridListPrivate* d_zgridlist;
};
