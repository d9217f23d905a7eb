#include "RecordTexts.h"

#include <algorithm>
#include <cstring>

QString PhoneNumberToString(const unsigned char* field, int length, int fieldSize)
{
    if (field == nullptr || fieldSize <= 0)
        return QString();
    if (length == -1) {
        const void* nul = std::memchr(field, 0, static_cast<std::size_t>(fieldSize));
        const int end = nul ? static_cast<int>(static_cast<const unsigned char*>(nul) - field) : fieldSize;
        return QString::fromLatin1(reinterpret_cast<const char*>(field), end);
    }
    if (length <= 0)
        return QString();

    const int end = std::min(length, fieldSize);
    QString digits;
    digits.reserve(end);
    for (int i = 0; i < end; ++i) {
        if (field[i] >= '0' && field[i] <= '9')
            digits += QLatin1Char(static_cast<char>(field[i]));
    }
    return digits;
}

QString RecordTimeToString(const RecordIndexEntry& entry)
{
    const QLatin1Char zero('0');
    return QStringLiteral("%1-%2-%3 %4:%5:%6")
        .arg(entry.Year + 2000, 4, 10, zero)
        .arg(entry.Month, 2, 10, zero)
        .arg(entry.Day, 2, 10, zero)
        .arg(entry.Hour, 2, 10, zero)
        .arg(entry.Minute, 2, 10, zero)
        .arg(entry.Second, 2, 10, zero);
}

namespace {

// The number in text[position, position + count), 0 when absent or not a number.
int NumberAt(const QString& text, int position, int count)
{
    return text.midRef(position, count).toInt();
}

}  // namespace

void StringToDate(const QString& text, unsigned char& year, unsigned char& month, unsigned char& day)
{
    year = static_cast<unsigned char>(NumberAt(text, 0, 4) + 48);  // modulo 256
    month = static_cast<unsigned char>(NumberAt(text, 5, 2));
    day = static_cast<unsigned char>(NumberAt(text, 8, 2));
}

void StringToDateTime(const QString& text, unsigned char& year, unsigned char& month, unsigned char& day,
                      unsigned char& hour, unsigned char& minute, unsigned char& second)
{
    StringToDate(text, year, month, day);
    hour = static_cast<unsigned char>(NumberAt(text, 11, 2));
    minute = static_cast<unsigned char>(NumberAt(text, 14, 2));
    second = static_cast<unsigned char>(NumberAt(text, 17, 2));
}
