#include "ZGridListRow.h"

ZGridListRow::ZGridListRow(int columnCount)
    : m_CellCount(columnCount > 0 ? columnCount : 0)
{
    Cells = new ZGridListCell[m_CellCount];
}

ZGridListRow::~ZGridListRow()
{
    delete[] Cells;
}
