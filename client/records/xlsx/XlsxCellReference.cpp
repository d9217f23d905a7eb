#include "xlsx/XlsxCellReference.h"

#include <algorithm>

namespace QXlsx {

CellReference::CellReference(int row, int column) : m_row(row), m_column(column) {}

CellReference::CellReference(const char* cell) : CellReference(QString::fromLatin1(cell)) {}

CellReference::CellReference(const QString& cell)
{
    int i = 0;
    const int n = cell.size();
    if (i < n && cell[i] == QLatin1Char('$'))
        ++i;
    int column = 0;
    int letters = 0;
    while (i < n && cell[i] >= QLatin1Char('A') && cell[i] <= QLatin1Char('Z')) {
        if (++letters > 3)
            return;
        column = column * 26 + (cell[i].unicode() - 'A' + 1);
        ++i;
    }
    if (letters == 0)
        return;
    if (i < n && cell[i] == QLatin1Char('$'))
        ++i;
    int row = 0;
    int digits = 0;
    while (i < n && cell[i] >= QLatin1Char('0') && cell[i] <= QLatin1Char('9')) {
        if (++digits > 7)
            return;
        row = row * 10 + (cell[i].unicode() - '0');
        ++i;
    }
    if (digits == 0 || i != n)
        return;
    m_row = row;
    m_column = column;
}

bool CellReference::isValid() const
{
    return m_row >= 1 && m_row <= MaxRowCount && m_column >= 1 && m_column <= MaxColumnCount;
}

QString CellReference::columnName(int column)
{
    if (column < 1 || column > MaxColumnCount)
        return QString();
    QString name;
    while (column > 0) {
        const int digit = (column - 1) % 26;
        name.prepend(QChar('A' + digit));
        column = (column - 1) / 26;
    }
    return name;
}

QString CellReference::toString() const
{
    if (!isValid())
        return QString();
    return columnName(m_column) + QString::number(m_row);
}

CellRange::CellRange(int firstRow, int firstColumn, int lastRow, int lastColumn)
    : m_firstRow(firstRow), m_firstColumn(firstColumn), m_lastRow(lastRow), m_lastColumn(lastColumn)
{
}

bool CellRange::isValid() const
{
    return CellReference(m_firstRow, m_firstColumn).isValid() && CellReference(m_lastRow, m_lastColumn).isValid()
        && m_firstRow <= m_lastRow && m_firstColumn <= m_lastColumn;
}

QString CellRange::toString() const
{
    if (!isValid())
        return QString();
    const QString first = CellReference(m_firstRow, m_firstColumn).toString();
    if (m_firstRow == m_lastRow && m_firstColumn == m_lastColumn)
        return first;
    return first + QLatin1Char(':') + CellReference(m_lastRow, m_lastColumn).toString();
}

void CellRange::include(int row, int column)
{
    if (!isValid()) {
        *this = CellRange(row, column, row, column);
        return;
    }
    m_firstRow = std::min(m_firstRow, row);
    m_lastRow = std::max(m_lastRow, row);
    m_firstColumn = std::min(m_firstColumn, column);
    m_lastColumn = std::max(m_lastColumn, column);
}

} // namespace QXlsx
