#pragma once
#include "ZGridListRow.h"

#include <QList>

#include <mutex>

// The table a grid shows: rows of typed cells, a sort state and the lock shared between worker threads and
// the user-interface thread. Plain data; the creator owns the store and every row added to it, a grid only
// points at it.
//
// Threads: a worker that fills a store another thread may look at brackets its work with Lock()/Unlock()
// (typically Clear, then CreateRow/AddRow in a loop). Painting only TryLock()s and skips the rows when busy.
// The lock is not recursive. Sort() takes the lock itself; the other operations do not.
class VELOUR_EXPORT ZGridListData
{
public:
    explicit ZGridListData(int columnCount);
    // Deletes every row (and the controls their cells hold).
    ~ZGridListData();
    ZGridListData(const ZGridListData&) = delete;
    ZGridListData& operator=(const ZGridListData&) = delete;

    // A new row with ColumnCount cells, not yet in the store: the caller owns it until AddRow.
    ZGridListRow* CreateRow() const;
    // Appends the row; the store owns it from now on.
    void AddRow(ZGridListRow* row);
    // Deletes the row at index; an index outside the rows does nothing.
    void RemoveRow(int index);
    // Deletes every row; the sort state, ColumnCount and RowsVisible stay.
    void Clear();

    // Sorts the rows by the Text of cell column (ordinal QString order; numbers compare as text, so "10"
    // comes before "9"; not stable). Sorting the current SortColumn again reverses the order, another column
    // sorts ascending. A column outside 0..ColumnCount-1 changes nothing. Takes the store's lock for the
    // whole sort, waiting for a worker that holds it, so rows are never permuted under a worker's feet: do
    // not call it while holding the lock. Tells no grid: call ZGridList::UpdateData afterwards.
    void Sort(int column);

    // The store's lock (blocking), and its release.
    void Lock();
    void Unlock();
    // Takes the lock when it is free; never waits. True when taken.
    bool TryLock();

    // Column whose texts the rows were last sorted by, and the direction.
    int SortColumn = 1;
    bool SortDescending = false;
    // The rows in display order; the store owns every one.
    QList<ZGridListRow*> Rows;
    // Cells per row made by CreateRow; fixed at construction.
    const int ColumnCount;
    // While false a grid showing this store draws no rows (its headers still).
    bool RowsVisible = true;

private:
    // std::mutex rather than QMutex: the thread sanitizer understands it.
    std::mutex m_Mutex;
};
