#pragma once

#include "xlsx/XlsxCellReference.h"
#include "xlsx/XlsxFormat.h"

#include <QObject>
#include <QString>
#include <QVariant>

#include <memory>

namespace QXlsx {

class XlsxSheet;
class XlsxWriter;

// One workbook with one worksheet, either new (written, then saved) or opened from a file (read). The classes
// keep the names and calls of the QXlsx workbook API, which the export code is written against; underneath,
// libxlsxwriter writes and minizip reads.
//
// Writing streams rows to disk as they come (see XlsxWriter): write rows top to bottom, and set column widths
// and formats before the cells that should take them. A cell written with a default Format takes its column's
// format. Strings are always stored as text, never as formulas. Any failed write makes saveAs fail, so a
// workbook missing cells is never reported as saved.
//
// Reading gives every cell as text (see XlsxSheet): read() returns a QString, or an invalid QVariant for an
// empty cell. A document opened from a file is read-only.
class Document : public QObject
{
    Q_OBJECT

public:
    explicit Document(QObject* parent = nullptr);
    // Opens and reads the first worksheet of xlsxName; isLoadPackage() tells whether that worked.
    explicit Document(const QString& xlsxName, QObject* parent = nullptr);
    ~Document() override;

    bool write(const CellReference& cell, const QVariant& value, const Format& format = Format());
    bool write(int row, int column, const QVariant& value, const Format& format = Format());
    QVariant read(const CellReference& cell) const;
    QVariant read(int row, int column) const;

    bool setColumnWidth(int column, double width);
    bool setColumnWidth(int firstColumn, int lastColumn, double width);
    bool setColumnFormat(int column, const Format& format);
    bool setColumnFormat(int firstColumn, int lastColumn, const Format& format);

    // The used area: written cells of a new workbook, non-empty cells of an opened one.
    CellRange dimension() const;

    // True when the document was opened from a file that is a readable workbook.
    bool isLoadPackage() const { return m_loaded; }

    // Finishes a new workbook and writes it to name through a temporary file and a rename; true only when the
    // whole workbook reached the disk. May be called again to write further copies; writes after it fail.
    bool saveAs(const QString& name);

private:
    std::unique_ptr<XlsxWriter> m_writer;
    std::unique_ptr<XlsxSheet> m_sheet;
    bool m_loaded = false;
};

} // namespace QXlsx
