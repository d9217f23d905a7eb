// A workbook for the reader. Input byte 0, bit 0 set: the rest is the file as it lies on disk (a damaged zip).
// Otherwise the rest is four parts separated by "\n#part\n" - workbook, its relationships, shared strings and
// the first sheet - that the target packs into a well-formed package (bit 1: deflated, else stored), so the
// fuzzer works on the XML rather than on checksums. The cells read are walked afterwards.
#include "FuzzEntries.h"
#include "TempFile.h"

#include "xlsx/XlsxReader.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <zip.h>

#include <unistd.h>

#include <cstdlib>

namespace calvox::fuzz {
namespace {

const char* const kPartNames[] = {"xl/workbook.xml", "xl/_rels/workbook.xml.rels", "xl/sharedStrings.xml",
                                  "xl/worksheets/sheet1.xml"};

QString PackParts(const QByteArray& parts, bool deflate)
{
    const QString path = QDir::tempPath() + QStringLiteral("/calvox-fuzz-%1-book.xlsx").arg(::getpid());
    const QByteArray encoded = QFile::encodeName(path);
    zipFile zip = zipOpen64(encoded.constData(), APPEND_STATUS_CREATE);
    if (!zip)
        std::abort();
    const QByteArray separator("\n#part\n");
    int from = 0;
    for (const char* name : kPartNames) {
        if (from > parts.size())
            break;
        int to = parts.indexOf(separator, from);
        if (to < 0)
            to = parts.size();
        zip_fileinfo info{};
        if (zipOpenNewFileInZip64(zip, name, &info, nullptr, 0, nullptr, 0, nullptr, deflate ? Z_DEFLATED : 0,
                                  deflate ? Z_DEFAULT_COMPRESSION : 0, 0) != ZIP_OK ||
            zipWriteInFileInZip(zip, parts.constData() + from, unsigned(to - from)) != ZIP_OK ||
            zipCloseFileInZip(zip) != ZIP_OK)
            std::abort();
        from = to + separator.size();
    }
    if (zipClose(zip, nullptr) != ZIP_OK)
        std::abort();
    return path;
}

}  // namespace

int Workbook(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const QString path = data[0] & 1
        ? WriteTempFile("book.xlsx", data + 1, size - 1)
        : PackParts(QByteArray(reinterpret_cast<const char*>(data + 1), int(size - 1)), data[0] & 2);
    QXlsx::XlsxSheet sheet;
    if (QXlsx::XlsxReader::ReadFirstSheet(path, &sheet)) {
        const QXlsx::CellRange range = sheet.Dimension();
        // Every cell of a small sheet; the first cell of a large one.
        const bool small = range.lastRow() - range.firstRow() < 64 && range.lastColumn() - range.firstColumn() < 64;
        int length = 0;
        for (int row = range.firstRow(); row <= range.lastRow(); row += small ? 1 : range.lastRow())
            for (int column = range.firstColumn(); column <= range.lastColumn(); column += small ? 1 : range.lastColumn())
                length += sheet.Cell(row, column).size();
        Keep(unsigned(length));
    }
    return 0;
}

}  // namespace calvox::fuzz
