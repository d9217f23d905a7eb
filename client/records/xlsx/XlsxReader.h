#pragma once

#include "xlsx/XlsxCellReference.h"

#include <QHash>
#include <QString>

namespace QXlsx {

// The cells of one worksheet as text: strings as written, numbers as plain decimals (no exponent, no ".0"),
// booleans as TRUE or FALSE, errors as their code ("#N/A"). Empty cells are absent.
class XlsxSheet
{
public:
    QString Cell(int row, int column) const { return m_cells.value(Key(row, column)); }
    bool HasCell(int row, int column) const { return m_cells.contains(Key(row, column)); }
    CellRange Dimension() const { return m_dimension; }
    int CellCount() const { return m_cells.size(); }

    void SetCell(int row, int column, const QString& text);
    void Clear();

private:
    static quint64 Key(int row, int column) { return (quint64(quint32(row)) << 16) | quint32(column); }

    QHash<quint64, QString> m_cells;
    CellRange m_dimension;
};

// Reads the first worksheet of an .xlsx workbook with minizip and QXmlStreamReader. Every entry is read in
// pieces against a size cap, so a damaged or hostile file cannot exhaust memory; cell addresses and shared
// string indices from the file are checked before use.
class XlsxReader
{
public:
    // Largest uncompressed size read from one entry of the package.
    static constexpr qint64 MaxEntrySize = 256ll << 20;

    // False when the file cannot be opened, is not a zip package, has no workbook part or holds malformed XML.
    static bool ReadFirstSheet(const QString& path, XlsxSheet* sheet);

    // A number cell's stored text as the sheet shows it in general format: "13800138000", "0.5", "-3".
    static QString NumberText(const QString& raw);
};

} // namespace QXlsx
