#include "records/LocalRecordSource.h"

#include "records/RecordPaths.h"
#include "records/RecordStore.h"

#include <QFileInfo>

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
    const QString path = LocalIndexPath(m_id, year, month, day, channel);
    if (path.isEmpty())
        return IndexResult::Missing;
    if (ReadWholeFile(path, buffer, size))
        return IndexResult::Read;
    // Most channels record nothing on most days; only a file that is there but unreadable is a loss.
    return QFileInfo::exists(path) ? IndexResult::Failed : IndexResult::Missing;
}
