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
    const QStringList& labels = TextDevice032;
    if (type >= 0 && type < labels.size())
        return labels.at(type);
    return QStringLiteral("Unknown");
}

void FillRecordRow(ZGridListRow* row, const RecordIndexEntry& entry, int channelIndex, const QString& channelName,
                   const QString& phone, const QString& contact, const QString& extension, const QString& notes,
                   qintptr userData)
{
    ZGridListCell* cells = row->Cells;
    cells[0] = false;
    cells[1] = StartText(entry);
    // A text assignment keeps the Value, so the values follow the texts.
    cells[2] = channelIndex >= 0 && channelIndex < 255 ? SmallNumberText(channelIndex + 1)
                                                       : QString::number(channelIndex + 1);
    cells[2].Value = channelIndex;
    cells[3] = channelName;
    cells[4] = RecordTypeText(entry.Type);
    cells[4].Value = entry.Type;
    const int talk = entry.TalkTime;
    cells[5] = TalkTimeText(talk);
    cells[5].Value = talk;
    cells[6] = entry.Rings ? SmallNumberText(entry.Rings) : QString();
    cells[7] = phone;
    cells[8] = contact;
    cells[9] = RecordKeyText(entry);
    cells[10] = extension;
    cells[11] = notes;
    row->UserData = reinterpret_cast<void*>(userData);
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
