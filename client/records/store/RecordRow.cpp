#include "store/RecordRow.h"

#include "contacts/Contacts.h"
#include "store/RecordIndexFile.h"

#include "LanguageTexts.h"
#include "ZGridListRow.h"

#include <array>

namespace {

// Appends the number in decimal with at least `width` digits, '0'-padded. A search fills hundreds of thousands
// of rows, so the texts are built by hand rather than through QString::arg.
void AppendNumber(QChar*& out, unsigned number, int width)
{
    char digits[10];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number != 0);
    for (int i = count; i < width; ++i)
        *out++ = QLatin1Char('0');
    while (count > 0)
        *out++ = QLatin1Char(digits[--count]);
}

// RecordTimeToString's text: "yyyy-MM-dd hh:mm:ss".
QString StartText(const RecordIndexEntry& entry)
{
    QChar buffer[32];
    QChar* out = buffer;
    AppendNumber(out, entry.Year + 2000u, 4);
    *out++ = QLatin1Char('-');
    AppendNumber(out, entry.Month, 2);
    *out++ = QLatin1Char('-');
    AppendNumber(out, entry.Day, 2);
    *out++ = QLatin1Char(' ');
    AppendNumber(out, entry.Hour, 2);
    *out++ = QLatin1Char(':');
    AppendNumber(out, entry.Minute, 2);
    *out++ = QLatin1Char(':');
    AppendNumber(out, entry.Second, 2);
    return QString(buffer, static_cast<int>(out - buffer));
}

// Decimal texts of 0..255, made once per thread and shared by every row (channel numbers, ring counts).
const QString& SmallNumberText(int number)
{
    thread_local const std::array<QString, 256> texts = [] {
        std::array<QString, 256> made;
        for (int i = 0; i < 256; ++i)
            made[i] = QString::number(i);
        return made;
    }();
    return texts[static_cast<std::size_t>(number)];
}

}  // namespace

QString TalkTimeText(int seconds)
{
    if (seconds <= 0)
        return QStringLiteral("--/--");
    QChar buffer[24];
    QChar* out = buffer;
    AppendNumber(out, static_cast<unsigned>(seconds / 60), 2);
    *out++ = QLatin1Char(':');
    AppendNumber(out, static_cast<unsigned>(seconds % 60), 2);
    return QString(buffer, static_cast<int>(out - buffer));
}

QString RecordTypeText(int type)
{
    // Record searches fill rows on worker threads: the texts are copied under the language's lock.
    const QStringList labels = TextForThread(TextDevice032);
    if (type >= 0 && type < labels.size())
        return labels.at(type);
    return QStringLiteral("Unknown");
}

RecordRowTexts::RecordRowTexts()
    // Record searches fill rows on worker threads: the texts are copied under the language's lock.
    : m_TypeLabels(TextForThread(TextDevice032))
    , m_Unknown(QStringLiteral("Unknown"))
{
}

const QString& RecordRowTexts::TypeText(int type) const
{
    return type >= 0 && type < m_TypeLabels.size() ? m_TypeLabels.at(type) : m_Unknown;
}

const QString& RecordRowTexts::TalkTimeText(uint16_t seconds)
{
    if (seconds >= m_TalkTimes.size())
        m_TalkTimes.resize(std::size_t(seconds) + 1);
    QString& text = m_TalkTimes[seconds];
    if (text.isNull())
        text = ::TalkTimeText(seconds);
    return text;
}

namespace {

void FillCells(ZGridListRow* row, const RecordIndexEntry& entry, int channelIndex, const QString& channelName,
               const QString& phone, const QString& contact, const QString& extension, const QString& notes,
               qintptr userData, const QString& typeText, const QString& talkText)
{
    ZGridListCell* cells = row->Cells;
    cells[0] = false;
    cells[1] = StartText(entry);
    // A text assignment keeps the Value, so the values follow the texts.
    cells[2] = channelIndex >= 0 && channelIndex < 255 ? SmallNumberText(channelIndex + 1)
                                                       : QString::number(channelIndex + 1);
    cells[2].Value = channelIndex;
    cells[3] = channelName;
    cells[4] = typeText;
    cells[4].Value = entry.Type;
    cells[5] = talkText;
    cells[5].Value = entry.TalkTime;
    cells[6] = entry.Rings ? SmallNumberText(entry.Rings) : QString();
    cells[7] = phone;
    cells[8] = contact;
    cells[9] = RecordKeyText(entry);
    cells[10] = extension;
    cells[11] = notes;
    row->UserData = reinterpret_cast<void*>(userData);
}

}  // namespace

void FillRecordRow(ZGridListRow* row, const RecordIndexEntry& entry, int channelIndex, const QString& channelName,
                   const QString& phone, const QString& contact, const QString& extension, const QString& notes,
                   qintptr userData)
{
    FillCells(row, entry, channelIndex, channelName, phone, contact, extension, notes, userData,
              RecordTypeText(entry.Type), TalkTimeText(entry.TalkTime));
}

void FillRecordRow(ZGridListRow* row, const RecordIndexEntry& entry, int channelIndex, const QString& channelName,
                   const QString& phone, const QString& contact, const QString& extension, const QString& notes,
                   qintptr userData, RecordRowTexts& texts)
{
    FillCells(row, entry, channelIndex, channelName, phone, contact, extension, notes, userData,
              texts.TypeText(entry.Type), texts.TalkTimeText(entry.TalkTime));
}

void FillRecordRowFromEntry(ZGridListRow* row, const RecordIndexEntry& entry, int channelIndex, qintptr userData)
{
    const QString phone = RecordPhoneText(entry);
    FillRecordRow(row, entry, channelIndex, QString(), phone, FindContactName(phone, 0), RecordExtensionText(entry),
                  RecordNotesText(entry), userData);
}

void FillRecordRowFromEntry(ZGridListRow* row, const RecordIndexEntry* entry, int channelIndex, QString* path)
{
    FillRecordRowFromEntry(row, *entry, channelIndex, reinterpret_cast<qintptr>(path));
}
