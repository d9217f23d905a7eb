#include "SectionFields.h"

#include <QRegularExpression>
#include <QtEndian>

#include <cstring>

namespace {

// A decimal number as typed, held to [low, high]; false for a text that is not one. Digits beyond what a long
// long holds are still a number, beyond either end.
bool HeldDecimal(const QString& text, qlonglong low, qlonglong high, qlonglong* value)
{
    static const QRegularExpression decimal(QStringLiteral("^\\s*([+-]?)(\\d+)\\s*$"));
    const QRegularExpressionMatch match = decimal.match(text);
    if (!match.hasMatch())
        return false;
    bool fits = false;
    qlonglong number = match.captured(2).toLongLong(&fits);
    if (!fits)
        number = high + 1;
    if (match.captured(1) == QLatin1String("-"))
        number = -number;
    *value = qBound(low, number, high);
    return true;
}

}  // namespace

QString FieldText(const uint8_t* field, int size, int length)
{
    return QString::fromLatin1(reinterpret_cast<const char*>(field), qBound(0, length, size));
}

int PutFieldText(uint8_t* field, int size, const QString& text)
{
    const QByteArray bytes = text.toLatin1().left(size);
    std::memset(field, 0, static_cast<size_t>(size));
    std::memcpy(field, bytes.constData(), static_cast<size_t>(bytes.size()));
    return bytes.size();
}

uint8_t ByteFieldValue(const QString& text)
{
    qlonglong value = 0;
    if (!HeldDecimal(text, 0, 255, &value))
        return 0;
    return static_cast<uint8_t>(value);
}

uint8_t HoldTimeValue(const QString& milliseconds)
{
    qlonglong value = 0;
    if (!HeldDecimal(milliseconds, 0, 25500, &value))
        return 0;
    return static_cast<uint8_t>(value / 100);
}

int ListIndexOf(int stored, int count)
{
    return stored >= 0 && stored < count ? stored : -1;
}

uint8_t ListIndexByte(int selected, uint8_t stored)
{
    return selected >= 0 && selected <= 255 ? static_cast<uint8_t>(selected) : stored;
}

int FileNameIndex(const uint8_t* field28, const QStringList& names)
{
    const void* end = std::memchr(field28, 0, 28);
    if (end == nullptr)
        return -1;
    const QString name = QString::fromLatin1(reinterpret_cast<const char*>(field28),
                                             static_cast<int>(static_cast<const uint8_t*>(end) - field28));
    return names.indexOf(name);
}

QString MacAddressText(const uint8_t* mac)
{
    QString text = QStringLiteral("%1:%2:%3:%4:%5:%6");
    for (int i = 0; i < 6; ++i)
        text = text.arg(mac[i], 2, 16, QLatin1Char('0'));
    return text.toUpper();
}

bool MacAddressValue(const QString& text, uint8_t* mac)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 6)
        return false;
    for (int i = 0; i < 6; ++i)
        mac[i] = static_cast<uint8_t>(parts[i].toUInt(nullptr, 16));
    return true;
}

bool StaticAddressValue(const QString& text, uint32_t* address)
{
    static const QRegularExpression dotted(QStringLiteral("^(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})$"));
    const QRegularExpressionMatch match = dotted.match(text);
    if (!match.hasMatch())
        return false;
    uint32_t host = 0;
    for (int part = 1; part <= 4; ++part) {
        const uint32_t value = match.captured(part).toUInt();
        if (value > 255)
            return false;
        host = (host << 8) | value;
    }
    if (host == 0xFFFFFFFFu)
        return false;
    *address = qToBigEndian(host);
    return true;
}

bool NetPortValue(const QString& text, uint16_t* port)
{
    static const QRegularExpression digits(QStringLiteral("^\\d{1,5}$"));
    if (!digits.match(text).hasMatch())
        return false;
    const uint value = text.toUInt();
    if (value < 1 || value > 65535)
        return false;
    *port = static_cast<uint16_t>(value);
    return true;
}

bool ClockInStep(const uint8_t* recorder, const uint8_t* pc)
{
    if (recorder[0] != pc[0] || recorder[1] != pc[1] || recorder[2] != pc[2])
        return false;
    return qAbs((recorder[3] * 60 + recorder[4]) - (pc[3] * 60 + pc[4])) <= 2;
}

QString ClockText(const uint8_t* stamp)
{
    return QStringLiteral("%1-%2-%3 %4:%5")
        .arg(stamp[0] + 2000, 4, 10, QLatin1Char('0'))
        .arg(stamp[1], 2, 10, QLatin1Char('0'))
        .arg(stamp[2], 2, 10, QLatin1Char('0'))
        .arg(stamp[3], 2, 10, QLatin1Char('0'))
        .arg(stamp[4], 2, 10, QLatin1Char('0'));
}
