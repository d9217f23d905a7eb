#include "store/LocalRecordSource.h"

#include "store/RecordPaths.h"
#include "store/RecordStore.h"

#include <QFile>

LocalRecordSource::LocalRecordSource(const QString& deviceId)
    : m_id(deviceId)
{
}

bool LocalRecordSource::LatestRecordDate(unsigned char* year, unsigned char* month, unsigned char* day)
{
    return GetLocalLatestRecordTime(m_id, year, month, day);
}

bool LocalRecordSource::DayList(unsigned char year, unsigned char month, unsigned char days[32])
{
    GetLocalDayList(m_id, year, month, days);
    return true;
}

RecordSearchSource::IndexResult LocalRecordSource::ReadIndex(unsigned char year, unsigned char month,
                                                             unsigned char day, int channel,
                                                             unsigned char** buffer, int* size)
{
    // Every channel of a day shares the folder: its path is made and encoded once per day.
    const int dayKey = (year << 16) | (month << 8) | day;
    if (dayKey != m_dayKey) {
        const QString folder = LocalDayFolder(m_id, year, month, day);
        if (folder.isEmpty())
            return IndexResult::Missing;
        m_dayKey = dayKey;
        m_dayPrefix = QFile::encodeName(folder) + "/CH";
    }
    if (channel < 0 || channel > 98)
        return IndexResult::Missing;
    const int number = channel + 1;
    const char name[] = {char('0' + number / 10), char('0' + number % 10), '.', 'I', 'n', 'd', 'e', 'x', '\0'};
    const QByteArray path = m_dayPrefix + name;
    bool missing = false;
    if (ReadWholeNativeFile(path.constData(), buffer, size, &missing))
        return IndexResult::Read;
    // Most channels record nothing on most days; only a file that is there but unreadable is a loss.
    return missing ? IndexResult::Missing : IndexResult::Failed;
}
