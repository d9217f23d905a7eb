#include "xlsx/XlsxReader.h"

#include <QDir>
#include <QFile>
#include <QVector>
#include <QXmlStreamReader>

#include <unzip.h>

#include <charconv>
#include <cmath>
#include <functional>

namespace QXlsx {

void XlsxSheet::SetCell(int row, int column, const QString& text)
{
    m_dimension.include(row, column);
    m_cells.insert(Key(row, column), text);
}

void XlsxSheet::Clear()
{
    m_cells.clear();
    m_dimension = CellRange();
}

QString XlsxReader::NumberText(const QString& raw)
{
    const QString text = raw.trimmed();
    // Whole numbers keep every digit as stored; a phone number longer than a double's precision stays intact.
    bool plainInteger = !text.isEmpty();
    for (int i = 0; i < text.size() && plainInteger; ++i)
        plainInteger = text[i].isDigit() || (i == 0 && text[i] == QLatin1Char('-') && text.size() > 1);
    if (plainInteger)
        return text;
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return text;
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value == 0 ? 0.0 : value,
                                      std::chars_format::fixed);
    if (result.ec != std::errc())
        return text;
    return QString::fromLatin1(buffer, int(result.ptr - buffer));
}

namespace {

class Package
{
public:
    explicit Package(const QString& path) : m_zip(unzOpen64(QFile::encodeName(path).constData())) {}
    ~Package()
    {
        if (m_zip)
            unzClose(m_zip);
    }
    bool IsOpen() const { return m_zip != nullptr; }

    bool Has(const QString& name) { return Locate(name); }

    // Feeds the entry to the parser piece by piece; handler sees every token. False when the entry is missing,
    // larger than the cap, damaged, or not well-formed XML, or when the handler refuses a token.
    bool Parse(const QString& name, const std::function<bool(QXmlStreamReader&)>& handler)
    {
        if (!Locate(name))
            return false;
        unz_file_info64 info;
        if (unzGetCurrentFileInfo64(m_zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK
            || info.uncompressed_size > quint64(XlsxReader::MaxEntrySize))
            return false;
        if (unzOpenCurrentFile(m_zip) != UNZ_OK)
            return false;
        QXmlStreamReader xml;
        QByteArray chunk(1 << 16, Qt::Uninitialized);
        qint64 total = 0;
        int depth = 0;
        bool rootClosed = false;
        bool eof = false;
        bool ok = true;
        while (ok) {
            while (!xml.atEnd()) {
                xml.readNext();
                if (xml.hasError())
                    break;
                if (xml.isStartElement())
                    ++depth;
                else if (xml.isEndElement() && --depth == 0)
                    rootClosed = true;
                if (!handler(xml)) {
                    ok = false;
                    break;
                }
            }
            if (!ok || (!xml.hasError() && xml.tokenType() == QXmlStreamReader::EndDocument))
                break;
            if (xml.error() != QXmlStreamReader::PrematureEndOfDocumentError) {
                ok = false;
                break;
            }
            if (eof) {
                ok = rootClosed;  // the whole document arrived; only a cut-off one is an error
                break;
            }
            const int n = unzReadCurrentFile(m_zip, chunk.data(), unsigned(chunk.size()));
            if (n < 0) {
                ok = false;
                break;
            }
            total += n;
            // The header's size may lie: count what actually comes out of the decompressor.
            if (total > XlsxReader::MaxEntrySize) {
                ok = false;
                break;
            }
            if (n == 0)
                eof = true;
            else
                xml.addData(QByteArray(chunk.constData(), n));
        }
        // A CRC mismatch shows up when the entry is closed after being read to its end.
        const int closeResult = unzCloseCurrentFile(m_zip);
        return ok && (!eof || closeResult == UNZ_OK);
    }

private:
    bool Locate(const QString& name)
    {
        const QByteArray encoded = name.toUtf8();
        // Package part names are case-insensitive; most writers keep the usual case.
        return unzLocateFile(m_zip, encoded.constData(), 1) == UNZ_OK
            || unzLocateFile(m_zip, encoded.constData(), 2) == UNZ_OK;
    }

    unzFile m_zip;
};

// Turns a relationship target of the workbook part into a package entry name.
QString ResolveTarget(const QString& target)
{
    QString name = target.startsWith(QLatin1Char('/')) ? target.mid(1) : QStringLiteral("xl/") + target;
    name = QDir::cleanPath(name);
    return name.startsWith(QLatin1String("../")) ? QString() : name;
}

bool ReadFirstSheetId(Package& package, QString* relationId)
{
    bool inSheets = false;
    return package.Parse(QStringLiteral("xl/workbook.xml"), [&](QXmlStreamReader& xml) {
        if (!relationId->isEmpty())
            return true;
        if (xml.isStartElement() && xml.name() == QLatin1String("sheets"))
            inSheets = true;
        else if (xml.isStartElement() && inSheets && xml.name() == QLatin1String("sheet")) {
            for (const QXmlStreamAttribute& attribute : xml.attributes())
                // r:id; the strict variant of the format names the relationships namespace differently.
                if (attribute.name() == QLatin1String("id") && !attribute.namespaceUri().isEmpty())
                    *relationId = attribute.value().toString();
        }
        return true;
    });
}

void ReadWorkbookRelations(Package& package, const QString& sheetId, QString* sheetPart, QString* stringsPart)
{
    package.Parse(QStringLiteral("xl/_rels/workbook.xml.rels"), [&](QXmlStreamReader& xml) {
        if (xml.isStartElement() && xml.name() == QLatin1String("Relationship")) {
            const QXmlStreamAttributes attributes = xml.attributes();
            const QString target = ResolveTarget(attributes.value(QLatin1String("Target")).toString());
            if (target.isEmpty())
                return true;
            if (!sheetId.isEmpty() && attributes.value(QLatin1String("Id")) == sheetId)
                *sheetPart = target;
            else if (attributes.value(QLatin1String("Type")).endsWith(QLatin1String("/sharedStrings")))
                *stringsPart = target;
        }
        return true;
    });
}

// Collects the text of <t> elements below the current element, leaving out phonetic runs (<rPh>).
class RichTextCollector
{
public:
    void Begin()
    {
        m_text.clear();
        m_inText = false;
        m_phoneticDepth = 0;
    }
    void Token(QXmlStreamReader& xml)
    {
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("rPh"))
                ++m_phoneticDepth;
            else if (xml.name() == QLatin1String("t") && m_phoneticDepth == 0)
                m_inText = true;
        } else if (xml.isEndElement()) {
            if (xml.name() == QLatin1String("rPh"))
                --m_phoneticDepth;
            else if (xml.name() == QLatin1String("t"))
                m_inText = false;
        } else if (xml.isCharacters() && m_inText) {
            m_text += xml.text();
        }
    }
    const QString& Text() const { return m_text; }

private:
    QString m_text;
    bool m_inText = false;
    int m_phoneticDepth = 0;
};

bool ReadSharedStrings(Package& package, const QString& part, QVector<QString>* strings)
{
    bool inItem = false;
    RichTextCollector collector;
    return package.Parse(part, [&](QXmlStreamReader& xml) {
        if (xml.isStartElement() && xml.name() == QLatin1String("si")) {
            inItem = true;
            collector.Begin();
        } else if (xml.isEndElement() && xml.name() == QLatin1String("si")) {
            inItem = false;
            strings->append(collector.Text());
        } else if (inItem) {
            collector.Token(xml);
        }
        return true;
    });
}

bool ReadSheet(Package& package, const QString& part, const QVector<QString>& strings, XlsxSheet* sheet)
{
    int row = 0;
    int column = 0;
    bool inCell = false;
    bool inValue = false;
    bool inInline = false;
    QString type;
    QString value;
    RichTextCollector inlineText;
    return package.Parse(part, [&](QXmlStreamReader& xml) {
        if (xml.isStartElement()) {
            const auto name = xml.name();
            if (name == QLatin1String("row")) {
                const QStringRef r = xml.attributes().value(QLatin1String("r"));
                bool ok = false;
                const int number = r.toInt(&ok);
                row = r.isEmpty() ? row + 1 : (ok ? number : -1);
                if (row < 1 || row > MaxRowCount)
                    return false;
                column = 0;
            } else if (name == QLatin1String("c")) {
                const QXmlStreamAttributes attributes = xml.attributes();
                const QStringRef r = attributes.value(QLatin1String("r"));
                if (r.isEmpty()) {
                    ++column;  // cells without an address follow the previous one
                } else {
                    const CellReference reference(r.toString());
                    if (!reference.isValid())
                        return false;
                    row = reference.row();
                    column = reference.column();
                }
                if (row < 1 || column < 1 || column > MaxColumnCount)
                    return false;
                type = attributes.value(QLatin1String("t")).toString();
                value.clear();
                inCell = true;
            } else if (inCell && name == QLatin1String("v")) {
                inValue = true;
            } else if (inCell && name == QLatin1String("is")) {
                inInline = true;
                inlineText.Begin();
            } else if (inInline) {
                inlineText.Token(xml);
            }
        } else if (xml.isEndElement()) {
            const auto name = xml.name();
            if (name == QLatin1String("v")) {
                inValue = false;
            } else if (name == QLatin1String("is")) {
                inInline = false;
            } else if (inInline) {
                inlineText.Token(xml);
            } else if (name == QLatin1String("c") && inCell) {
                inCell = false;
                QString text;
                if (type == QLatin1String("s")) {
                    bool ok = false;
                    const int index = value.trimmed().toInt(&ok);
                    if (!ok || index < 0 || index >= strings.size())
                        return false;
                    text = strings.at(index);
                } else if (type == QLatin1String("inlineStr")) {
                    text = inlineText.Text();
                } else if (type == QLatin1String("b")) {
                    text = value.trimmed() == QLatin1String("1") ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
                } else if (type == QLatin1String("str") || type == QLatin1String("e")) {
                    text = value;
                } else {
                    text = value.isEmpty() ? QString() : XlsxReader::NumberText(value);
                }
                if (!text.isEmpty())
                    sheet->SetCell(row, column, text);
            }
        } else if (xml.isCharacters()) {
            if (inValue)
                value += xml.text();
            else if (inInline)
                inlineText.Token(xml);
        }
        return true;
    });
}

} // namespace

bool XlsxReader::ReadFirstSheet(const QString& path, XlsxSheet* sheet)
{
    sheet->Clear();
    Package package(path);
    if (!package.IsOpen())
        return false;
    QString sheetId;
    if (!ReadFirstSheetId(package, &sheetId))
        return false;
    QString sheetPart;
    QString stringsPart;
    ReadWorkbookRelations(package, sheetId, &sheetPart, &stringsPart);
    if (sheetPart.isEmpty())
        sheetPart = QStringLiteral("xl/worksheets/sheet1.xml");
    if (stringsPart.isEmpty())
        stringsPart = QStringLiteral("xl/sharedStrings.xml");
    QVector<QString> strings;
    if (package.Has(stringsPart) && !ReadSharedStrings(package, stringsPart, &strings))
        return false;
    if (!ReadSheet(package, sheetPart, strings, sheet)) {
        sheet->Clear();
        return false;
    }
    return true;
}

} // namespace QXlsx
