#include "xlsx/XlsxDocument.h"

#include "xlsx/XlsxReader.h"
#include "xlsx/XlsxWriter.h"

namespace QXlsx {

Document::Document(QObject* parent) : QObject(parent), m_writer(new XlsxWriter) {}

Document::Document(const QString& xlsxName, QObject* parent) : QObject(parent), m_sheet(new XlsxSheet)
{
    m_loaded = XlsxReader::ReadFirstSheet(xlsxName, m_sheet.get());
}

Document::~Document() = default;

bool Document::write(const CellReference& cell, const QVariant& value, const Format& format)
{
    return write(cell.row(), cell.column(), value, format);
}

bool Document::write(int row, int column, const QVariant& value, const Format& format)
{
    return m_writer && m_writer->Write(row, column, value, format);
}

QVariant Document::read(const CellReference& cell) const
{
    return read(cell.row(), cell.column());
}

QVariant Document::read(int row, int column) const
{
    if (!m_sheet || !m_sheet->HasCell(row, column))
        return QVariant();
    return m_sheet->Cell(row, column);
}

bool Document::setColumnWidth(int column, double width)
{
    return setColumnWidth(column, column, width);
}

bool Document::setColumnWidth(int firstColumn, int lastColumn, double width)
{
    return m_writer && m_writer->SetColumnWidth(firstColumn, lastColumn, width);
}

bool Document::setColumnFormat(int column, const Format& format)
{
    return setColumnFormat(column, column, format);
}

bool Document::setColumnFormat(int firstColumn, int lastColumn, const Format& format)
{
    return m_writer && m_writer->SetColumnFormat(firstColumn, lastColumn, format);
}

CellRange Document::dimension() const
{
    if (m_writer)
        return m_writer->Dimension();
    return m_sheet->Dimension();
}

bool Document::saveAs(const QString& name)
{
    return m_writer && m_writer->SaveAs(name);
}

} // namespace QXlsx
