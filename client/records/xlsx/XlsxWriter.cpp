#include "xlsx/XlsxWriter.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <xlsxwriter.h>

#include <algorithm>

namespace QXlsx {

XlsxWriter::XlsxWriter()
    : m_file(QDir::tempPath() + QStringLiteral("/calvox-workbook-XXXXXX.xlsx"))
{
}

XlsxWriter::~XlsxWriter()
{
    // An unsaved workbook still owns libxlsxwriter's memory and temporary files: close it into our temp file,
    // which QTemporaryFile then removes.
    if (m_open && !m_finished)
        workbook_close(m_workbook);
}

bool XlsxWriter::Open()
{
    if (m_open)
        return !m_finished;
    if (!m_file.open())
        return false;
    m_fileName = QFile::encodeName(m_file.fileName());
    m_file.close();  // libxlsxwriter opens the name itself; the QTemporaryFile only reserves and removes it
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    m_workbook = workbook_new_opt(m_fileName.constData(), &options);
    if (!m_workbook)
        return false;
    m_sheet = workbook_add_worksheet(m_workbook, nullptr);
    if (!m_sheet) {
        workbook_close(m_workbook);
        m_workbook = nullptr;
        return false;
    }
    m_open = true;
    return true;
}

Format XlsxWriter::EffectiveFormat(int column, const Format& format) const
{
    if (format.isValid())
        return format;
    // A cell written without a format shows its column's format, as a spreadsheet user expects.
    const auto it = m_columns.find(column);
    return it == m_columns.end() ? Format() : it->second.format;
}

lxw_format* XlsxWriter::NativeFormat(const Format& format)
{
    if (!format.isValid())
        return nullptr;
    for (const auto& known : m_formats)
        if (known.first == format)
            return known.second;
    lxw_format* native = workbook_add_format(m_workbook);
    if (!native)
        return nullptr;
    if (format.horizontalAlignment() != Format::AlignHGeneral)
        format_set_align(native, static_cast<uint8_t>(format.horizontalAlignment()));
    if (format.hasNumberFormat())
        format_set_num_format_index(native, static_cast<uint8_t>(format.numberFormatIndex()));
    m_formats.emplace_back(format, native);
    return native;
}

bool XlsxWriter::Write(int row, int column, const QVariant& value, const Format& format)
{
    if (!CellReference(row, column).isValid() || !Open()) {
        m_failed = true;
        return false;
    }
    lxw_format* native = NativeFormat(EffectiveFormat(column, format));
    const lxw_row_t r = static_cast<lxw_row_t>(row - 1);
    const lxw_col_t c = static_cast<lxw_col_t>(column - 1);
    lxw_error error = LXW_NO_ERROR;
    switch (static_cast<int>(value.type())) {
    case QMetaType::UnknownType:
        if (!native)
            return true;
        error = worksheet_write_blank(m_sheet, r, c, native);
        break;
    case QMetaType::Bool:
        error = worksheet_write_boolean(m_sheet, r, c, value.toBool(), native);
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        error = worksheet_write_number(m_sheet, r, c, value.toDouble(), native);
        break;
    default: {
        // Always a string: text that begins with "=" stays text and never becomes a formula.
        const QByteArray text = value.toString().toUtf8();
        error = worksheet_write_string(m_sheet, r, c, text.constData(), native);
        break;
    }
    }
    if (error != LXW_NO_ERROR) {
        m_failed = true;
        return false;
    }
    m_dimension.include(row, column);
    return true;
}

bool XlsxWriter::SetColumnWidth(int first, int last, double width)
{
    if (m_finished || first < 1 || last > MaxColumnCount || first > last || width < 0)
        return false;
    for (int c = first; c <= last; ++c) {
        m_columns[c].hasWidth = true;
        m_columns[c].width = width;
    }
    return true;
}

bool XlsxWriter::SetColumnFormat(int first, int last, const Format& format)
{
    if (m_finished || first < 1 || last > MaxColumnCount || first > last)
        return false;
    for (int c = first; c <= last; ++c)
        m_columns[c].format = format;
    return true;
}

void XlsxWriter::ApplyColumns()
{
    // The workbook keeps one entry per column range; overlapping ranges make spreadsheet programs complain, so
    // widths and formats set separately are merged into runs of neighbouring columns that agree on both.
    auto it = m_columns.begin();
    while (it != m_columns.end()) {
        const int first = it->first;
        int last = first;
        const ColumnInfo& info = it->second;
        auto next = std::next(it);
        while (next != m_columns.end() && next->first == last + 1 && next->second.hasWidth == info.hasWidth
               && (!info.hasWidth || next->second.width == info.width) && next->second.format == info.format) {
            last = next->first;
            ++next;
        }
        const double width = info.hasWidth ? info.width : LXW_DEF_COL_WIDTH;
        worksheet_set_column(m_sheet, static_cast<lxw_col_t>(first - 1), static_cast<lxw_col_t>(last - 1), width,
                             NativeFormat(info.format));
        it = next;
    }
}

bool XlsxWriter::Finish()
{
    if (m_finished)
        return true;
    if (!Open())
        return false;
    ApplyColumns();
    const lxw_error error = workbook_close(m_workbook);
    m_workbook = nullptr;
    m_sheet = nullptr;
    m_finished = true;
    if (error != LXW_NO_ERROR)
        m_failed = true;
    return true;
}

bool XlsxWriter::SaveAs(const QString& path)
{
    if (!Finish() || m_failed)
        return false;
    QFile source(m_file.fileName());
    if (!source.open(QIODevice::ReadOnly))
        return false;
    QSaveFile target(path);
    if (!target.open(QIODevice::WriteOnly))
        return false;
    QByteArray buffer;
    while (!source.atEnd()) {
        buffer = source.read(1 << 20);
        if (buffer.isEmpty() && source.error() != QFileDevice::NoError)
            return false;  // QSaveFile discards the partial copy
        if (target.write(buffer) != buffer.size())
            return false;
    }
    return target.commit();  // flushes to disk, then renames over the target
}

} // namespace QXlsx
