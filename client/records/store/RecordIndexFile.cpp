#include "store/RecordIndexFile.h"

#include "RecordTexts.h"

#include <algorithm>
#include <cstring>

RecordIndexFile::RecordIndexFile(const unsigned char* data, qint64 size)
    : m_data(data)
    , m_size(data ? std::max<qint64>(size, 0) : 0)
{
    const qint64 entries = m_size >= HeaderSize ? (m_size - HeaderSize) / EntrySize : 0;
    m_records = static_cast<int>(std::min<qint64>(entries, MaxRecords));
}

RecordIndexFile::RecordIndexFile(const QByteArray& bytes)
    : RecordIndexFile(reinterpret_cast<const unsigned char*>(bytes.constData()), bytes.size())
{
}

int RecordIndexFile::PresentCount() const
{
    if (!HasHeader())
        return 0;
    return m_data[CountOffset] | (m_data[CountOffset + 1] << 8);
}

bool RecordIndexFile::IsPresent(int index) const
{
    if (!HasHeader() || index < 0 || index >= MaxRecords)
        return false;
    return (m_data[index / 8] >> (index % 8)) & 1;
}

bool RecordIndexFile::ReadEntry(int index, RecordIndexEntry* entry) const
{
    if (index < 0 || index >= m_records)
        return false;
    std::memcpy(entry, m_data + EntryOffset(index), sizeof(RecordIndexEntry));
    return true;
}

namespace {

// Latin-1 of the first length bytes of a field of size N, the length held to the field and cut at a NUL.
template <std::size_t N>
QString BoundedLatin1(const uint8_t (&field)[N], int length)
{
    const std::size_t bounded = std::min<std::size_t>(static_cast<std::size_t>(std::max(length, 0)), N);
    const void* nul = std::memchr(field, 0, bounded);
    const std::size_t end = nul ? static_cast<std::size_t>(static_cast<const uint8_t*>(nul) - field) : bounded;
    return QString::fromLatin1(reinterpret_cast<const char*>(field), static_cast<int>(end));
}

}  // namespace

QString RecordKeyText(const RecordIndexEntry& entry)
{
    return BoundedLatin1(entry.Key, entry.KeyLength);
}

QString RecordExtensionText(const RecordIndexEntry& entry)
{
    return BoundedLatin1(entry.Extension, entry.ExtensionLength);
}

QString RecordNotesText(const RecordIndexEntry& entry)
{
    // Most records have no notes: the static empty text rather than a new allocation per record.
    if (entry.Notes[0] == 0)
        return QString::fromLatin1("", 0);
    const void* nul = std::memchr(entry.Notes, 0, sizeof(entry.Notes));
    const std::size_t end = nul ? static_cast<std::size_t>(static_cast<const uint8_t*>(nul) - entry.Notes)
                                : sizeof(entry.Notes);
    return QString::fromUtf8(reinterpret_cast<const char*>(entry.Notes), static_cast<int>(end));
}

QString RecordPhoneText(const RecordIndexEntry& entry)
{
    return PhoneNumberToString(entry.PhoneNumber, entry.PhoneLength);
}
