#include "store/LocalRecordSource.h"

#include "store/RecordPaths.h"
#include "store/RecordStore.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

LocalRecordSource::LocalRecordSource(const QString& deviceId)
    : m_id(deviceId)
{
}

LocalRecordSource::~LocalRecordSource()
{
    if (m_dayFolder >= 0)
        ::close(m_dayFolder);
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
    // Every channel of a day shares the folder: it is opened once per day and its files are opened relative to
    // it. A folder that cannot be opened leaves each file to be tried by its whole path, which tells a missing
    // file from an unreadable one just as well.
    const int dayKey = (year << 16) | (month << 8) | day;
    if (dayKey != m_dayKey) {
        const QString folder = LocalDayFolder(m_id, year, month, day);
        if (folder.isEmpty())
            return IndexResult::Missing;
        m_dayKey = dayKey;
        m_dayPath = QFile::encodeName(folder) + '/';
        if (m_dayFolder >= 0)
            ::close(m_dayFolder);
        m_dayFolder = ::open(m_dayPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    }
    if (channel < 0 || channel > 98)
        return IndexResult::Missing;
    const int number = channel + 1;
    const char name[] = {'C', 'H', char('0' + number / 10), char('0' + number % 10),
                         '.', 'I', 'n', 'd', 'e', 'x', '\0'};
    bool missing = false;
    const bool read = m_dayFolder >= 0
        ? ReadWholeNativeFileAt(m_dayFolder, name, buffer, size, &missing)
        : ReadWholeNativeFile((m_dayPath + name).constData(), buffer, size, &missing);
    if (read)
        return IndexResult::Read;
    // Most channels record nothing on most days; only a file that is there but unreadable is a loss.
    return missing ? IndexResult::Missing : IndexResult::Failed;
}
