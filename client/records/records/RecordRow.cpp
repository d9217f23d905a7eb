#include "records/RecordRow.h"

#include "contacts/Contacts.h"
#include "records/RecordIndexFile.h"
#include "records/RecordTypeLabels.h"

#include "RecordTexts.h"
#include "ZGridListRow.h"

QString TalkTimeText(int seconds)
{
    if (seconds == 0)
        return QStringLiteral("--/--");
    const QLatin1Char zero('0');
    return QStringLiteral("%1:%2").arg(seconds / 60, 2, 10, zero).arg(seconds % 60, 2, 10, zero);
}

QString RecordTypeText(int type)
{
    // The language's list changes only when a language is loaded; each thread keeps its split copy.
    thread_local QString source;
    thread_local QStringList labels;
    const QString& current = RecordTypeLabelList();
    if (current != source) {
        source = current;
        labels = current.split(QLatin1Char('|'));
    }
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
    cells[1] = RecordTimeToString(entry);
    // A text assignment keeps the Value, so the values follow the texts.
    cells[2] = QString::number(channelIndex + 1);
    cells[2].Value = channelIndex;
    cells[3] = channelName;
    cells[4] = RecordTypeText(entry.Type);
    cells[4].Value = entry.Type;
    const int talk = entry.TalkTime;
    cells[5] = TalkTimeText(talk);
    cells[5].Value = talk;
    cells[6] = entry.Rings ? QString::number(entry.Rings) : QString();
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
