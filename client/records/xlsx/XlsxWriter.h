#pragma once

#include "xlsx/XlsxCellReference.h"
#include "xlsx/XlsxFormat.h"

#include <QString>
#include <QTemporaryFile>
#include <QVariant>

#include <map>
#include <memory>
#include <vector>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace QXlsx {

// Streams one worksheet through libxlsxwriter in constant-memory mode: each row goes to disk once a later row is
// written, so memory stays flat however many rows an export has. Rows must therefore come top to bottom; a write
// to a row above the current one fails. The workbook is built in a temporary file and copied into place by
// SaveAs with write-then-rename, so a failed save never leaves a half-written file at the target.
class XlsxWriter
{
public:
    XlsxWriter();
    ~XlsxWriter();
    XlsxWriter(const XlsxWriter&) = delete;
    XlsxWriter& operator=(const XlsxWriter&) = delete;

    bool Write(int row, int column, const QVariant& value, const Format& format);
    bool SetColumnWidth(int first, int last, double width);
    bool SetColumnFormat(int first, int last, const Format& format);
    CellRange Dimension() const { return m_dimension; }
    // Finishes the workbook on the first call (later writes fail) and places a copy at path. False when the
    // workbook could not be finished, when any earlier write failed, or when the copy did not reach the disk.
    bool SaveAs(const QString& path);

private:
    struct ColumnInfo
    {
        bool hasWidth = false;
        double width = 0;
        Format format;
    };

    bool Open();
    bool Finish();
    void ApplyColumns();
    lxw_format* NativeFormat(const Format& format);
    Format EffectiveFormat(int column, const Format& format) const;

    QTemporaryFile m_file;
    QByteArray m_fileName;
    lxw_workbook* m_workbook = nullptr;
    lxw_worksheet* m_sheet = nullptr;
    bool m_open = false;
    bool m_finished = false;
    bool m_failed = false;   // a write or the close failed: the workbook is missing data
    std::map<int, ColumnInfo> m_columns;
    std::vector<std::pair<Format, lxw_format*>> m_formats;  // few distinct formats: a list is enough
    CellRange m_dimension;
};

} // namespace QXlsx
