#pragma once

#include <QString>

// Cell addresses of the workbook layer. Rows and columns count from 1, as the sheet shows them ("A1" is row 1,
// column 1). A reference outside the sheet's limits (1048576 rows, 16384 columns) is invalid.

namespace QXlsx {

constexpr int MaxRowCount = 1048576;
constexpr int MaxColumnCount = 16384;

class CellReference
{
public:
    CellReference() = default;
    CellReference(int row, int column);
    // "A1", "XFD1048576", also with "$" marks ("$B$2"); anything else gives an invalid reference.
    CellReference(const QString& cell);
    CellReference(const char* cell);

    int row() const { return m_row; }
    int column() const { return m_column; }
    bool isValid() const;
    QString toString() const;

    // "A" for 1, "Z" for 26, "AA" for 27; empty outside 1 .. MaxColumnCount.
    static QString columnName(int column);

    bool operator==(const CellReference& other) const
    {
        return m_row == other.m_row && m_column == other.m_column;
    }

private:
    int m_row = -1;
    int m_column = -1;
};

// A rectangle of cells; invalid when empty.
class CellRange
{
public:
    CellRange() = default;
    CellRange(int firstRow, int firstColumn, int lastRow, int lastColumn);

    int firstRow() const { return m_firstRow; }
    int firstColumn() const { return m_firstColumn; }
    int lastRow() const { return m_lastRow; }
    int lastColumn() const { return m_lastColumn; }
    int rowCount() const { return isValid() ? m_lastRow - m_firstRow + 1 : 0; }
    int columnCount() const { return isValid() ? m_lastColumn - m_firstColumn + 1 : 0; }
    bool isValid() const;
    // "A1:C4", or "A1" for a single cell; empty when invalid.
    QString toString() const;
    // Grows the range to hold the cell; an invalid range becomes that one cell.
    void include(int row, int column);

private:
    int m_firstRow = -1;
    int m_firstColumn = -1;
    int m_lastRow = -2;
    int m_lastColumn = -2;
};

} // namespace QXlsx
