#include "ZGridListData.h"

#include <algorithm>

ZGridListData::ZGridListData(int columnCount)
    : ColumnCount(columnCount > 0 ? columnCount : 0)
{
}

ZGridListData::~ZGridListData()
{
    qDeleteAll(Rows);
}

ZGridListRow* ZGridListData::CreateRow() const
{
    return new ZGridListRow(ColumnCount);
}

void ZGridListData::AddRow(ZGridListRow* row)
{
    Rows.append(row);
}

void ZGridListData::RemoveRow(int index)
{
    if (index < 0 || index >= Rows.size())
        return;
    delete Rows.takeAt(index);
}

void ZGridListData::Clear()
{
    const QList<ZGridListRow*> rows = std::move(Rows);
    Rows = QList<ZGridListRow*>();
    qDeleteAll(rows);
}

void ZGridListData::Sort(int column)
{
    if (column < 0 || column >= ColumnCount)
        return;
    std::lock_guard<std::mutex> guard(m_Mutex);
    if (column == SortColumn) {
        SortDescending = !SortDescending;
    } else {
        SortColumn = column;
        SortDescending = false;
    }
    // A row added by hand may have fewer cells than the store's columns: it sorts as an empty text.
    auto key = [column](const ZGridListRow* row) -> const QString& {
        static const QString empty;
        return (row && column < row->CellCount()) ? row->Cells[column].Text : empty;
    };
    if (SortDescending)
        std::sort(Rows.begin(), Rows.end(), [&](const ZGridListRow* a, const ZGridListRow* b) { return key(b) < key(a); });
    else
        std::sort(Rows.begin(), Rows.end(), [&](const ZGridListRow* a, const ZGridListRow* b) { return key(a) < key(b); });
}

void ZGridListData::Lock()
{
    m_Mutex.lock();
}

void ZGridListData::Unlock()
{
    m_Mutex.unlock();
}

bool ZGridListData::TryLock()
{
    return m_Mutex.try_lock();
}
