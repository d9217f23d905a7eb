#include "store/RecordPaths.h"

#include "store/RecordIndexFile.h"

#include "SoftwareSetting.h"

namespace {

QString Two(int number)
{
    return QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
}

QString ChannelName(int channelIndex)
{
    return QStringLiteral("CH") + Two(channelIndex + 1);
}

QString Month(int year, int month)
{
    return Two(year) + Two(month);
}

QString MonthDay(int year, int month, int day)
{
    return Month(year, month) + QLatin1Char('/') + Two(day);
}

}  // namespace

QString RecordBaseName(int year, int month, int day, int hour, int minute, int second, int channelIndex)
{
    return Two(year) + Two(month) + Two(day) + Two(hour) + Two(minute) + Two(second) + QLatin1Char('-')
        + ChannelName(channelIndex);
}

QString RecordBaseName(const RecordIndexEntry& entry, int channelIndex)
{
    return RecordBaseName(entry.Year, entry.Month, entry.Day, entry.Hour, entry.Minute, entry.Second,
                          channelIndex);
}

QString DeviceIndexPath(int year, int month, int day, int channelIndex)
{
    return QStringLiteral("/RecordFiles/") + MonthDay(year, month, day) + QLatin1Char('/')
        + ChannelName(channelIndex) + QStringLiteral(".Index");
}

QString DeviceRecordPath(int year, int month, int day, int hour, int minute, int second, int channelIndex)
{
    return QStringLiteral("/RecordFiles/") + MonthDay(year, month, day) + QLatin1Char('/') + ChannelName(channelIndex)
        + QLatin1Char('/') + RecordBaseName(year, month, day, hour, minute, second, channelIndex)
        + QStringLiteral(".wav");
}

QString DeviceRecordPath(const RecordIndexEntry& entry, int channelIndex)
{
    return DeviceRecordPath(entry.Year, entry.Month, entry.Day, entry.Hour, entry.Minute, entry.Second,
                            channelIndex);
}

QString LocalRecordFileName(const QString& baseName, const QString& phoneDigits)
{
    return phoneDigits.isEmpty() ? baseName + QStringLiteral(".wav")
                                 : baseName + QLatin1Char('-') + phoneDigits + QStringLiteral(".wav");
}

bool IsValidDeviceFolderName(const QString& id)
{
    if (id.isEmpty() || id == QLatin1String(".") || id == QLatin1String(".."))
        return false;
    for (const QChar c : id)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.isNull())
            return false;
    return true;
}

QString LocalDeviceFolder(const QString& id)
{
    if (!IsValidDeviceFolderName(id))
        return QString();
    return g_SoftwareSetting.BackupPath + id;
}

QString LocalMonthFolder(const QString& id, int year, int month)
{
    const QString device = LocalDeviceFolder(id);
    return device.isEmpty() ? QString() : device + QLatin1Char('/') + Month(year, month);
}

QString LocalDayFolder(const QString& id, int year, int month, int day)
{
    const QString device = LocalDeviceFolder(id);
    return device.isEmpty() ? QString() : device + QLatin1Char('/') + MonthDay(year, month, day);
}

QString LocalChannelFolder(const QString& id, int year, int month, int day, int channelIndex)
{
    const QString folder = LocalDayFolder(id, year, month, day);
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + ChannelName(channelIndex);
}

QString LocalIndexPath(const QString& id, int year, int month, int day, int channelIndex)
{
    const QString folder = LocalDayFolder(id, year, month, day);
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + ChannelName(channelIndex) + QStringLiteral(".Index");
}

QString LocalRecordPath(const QString& id, const RecordIndexEntry& entry, int channelIndex)
{
    const QString folder = LocalChannelFolder(id, entry.Year, entry.Month, entry.Day, channelIndex);
    if (folder.isEmpty())
        return QString();
    return folder + QLatin1Char('/') + LocalRecordFileName(RecordBaseName(entry, channelIndex), RecordPhoneText(entry));
}
