#include "workers/TickedRecords.h"

#include "store/RecordPaths.h"

#include "RecordTexts.h"
#include "ZGridListData.h"

namespace {

const int kCheckCell = 0;
const int kTimeCell = 1;
const int kChannelCell = 2;
const int kTalkTimeCell = 5;
const int kPhoneCell = 7;
const int kCellsRead = 8;

// The phone cell becomes part of a local file name: only its digits are taken, so no text from the grid can
// bring a path separator into that name.
QString DigitsOf(const QString& text)
{
    QString digits;
    for (const QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    }
    return digits;
}

}  // namespace

QList<TickedRecord> CopyTickedRecords(ZGridListData* rows)
{
    QList<TickedRecord> records;
    if (rows == nullptr)
        return records;
    rows->Lock();
    for (const ZGridListRow* row : rows->Rows) {
        if (row == nullptr || row->CellCount() < kCellsRead || row->Cells[kCheckCell].Value == 0)
            continue;
        TickedRecord record;
        StringToDateTime(row->Cells[kTimeCell].Text, record.Year, record.Month, record.Day, record.Hour,
                         record.Minute, record.Second);
        record.Channel = row->Cells[kChannelCell].Text.toInt();
        record.HasRecording = row->Cells[kTalkTimeCell].Text != QLatin1String("--/--");
        record.Index = static_cast<quint16>(reinterpret_cast<quintptr>(row->UserData));
        record.PhoneDigits = DigitsOf(row->Cells[kPhoneCell].Text);
        records.append(record);
    }
    rows->Unlock();
    return records;
}

QString TickedRecordBaseName(const TickedRecord& record)
{
    return RecordBaseName(record.Year, record.Month, record.Day, record.Hour, record.Minute, record.Second,
                          record.Channel - 1);
}

QString TickedRecordDevicePath(const TickedRecord& record)
{
    return DeviceRecordPath(record.Year, record.Month, record.Day, record.Hour, record.Minute, record.Second,
                            record.Channel - 1);
}

Calvox_RecordKey TickedRecordKey(const TickedRecord& record)
{
    Calvox_RecordKey key;
    key.Year = record.Year;
    key.Month = record.Month;
    key.Day = record.Day;
    key.Hour = record.Hour;
    key.Minute = record.Minute;
    key.Second = record.Second;
    key.Channel = static_cast<uint8_t>(record.Channel - 1);
    key.HasRecording = record.HasRecording ? 1 : 0;
    key.Index[0] = static_cast<uint8_t>(record.Index & 0xff);
    key.Index[1] = static_cast<uint8_t>(record.Index >> 8);
    return key;
}
