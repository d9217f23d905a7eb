#include "RecordPlayback.h"

#include "store/RecordPaths.h"
#include "RecordTexts.h"

#include <QFile>

namespace {

constexpr int kBytesPerSecond = 8000;
constexpr int kBytesPerMinute = 60 * kBytesPerSecond;
constexpr int kMaxChannels = 64;

// The channel cell's number; 0 when it is none of 1..64.
int ChannelNumber(const QString& text)
{
    bool ok = false;
    const int channel = text.trimmed().toInt(&ok);
    return ok && channel >= 1 && channel <= kMaxChannels ? channel : 0;
}

QString DigitsOf(const QString& text)
{
    QString digits;
    for (const QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits.append(c);
    }
    return digits;
}

}  // namespace

QString PlayerTimeText(int bytes)
{
    if (bytes < 0)
        bytes = 0;
    const int minutes = bytes / kBytesPerMinute;
    const int seconds = bytes / kBytesPerSecond - 60 * minutes;
    return QStringLiteral("%1:%2").arg(minutes, 2, 10, QLatin1Char('0')).arg(seconds, 2, 10, QLatin1Char('0'));
}

int StepRowIndex(int lockedIndex, int rowCount, bool next)
{
    if (rowCount <= 0)
        return -1;
    if (lockedIndex < 0 || lockedIndex >= rowCount)
        return 0;
    const int index = next ? lockedIndex + 1 : lockedIndex - 1;
    return qBound(0, index, rowCount - 1);
}

QString RecordRowPlayPath(int target, const QString& timeText, const QString& channelText,
                          const QString& phoneText, const QString& deviceId)
{
    if (target != 0 && target != 1)
        return QString();
    const int channel = ChannelNumber(channelText);
    if (channel == 0)
        return QString();
    unsigned char year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    StringToDateTime(timeText, year, month, day, hour, minute, second);
    if (target == 0)
        return DeviceRecordPath(year, month, day, hour, minute, second, channel - 1);

    const QString folder = LocalChannelFolder(deviceId, year, month, day, channel - 1);
    if (folder.isEmpty())
        return QString();
    const QString baseName = RecordBaseName(year, month, day, hour, minute, second, channel - 1);
    const QString plain = folder + QLatin1Char('/') + LocalRecordFileName(baseName, QString());
    const QString digits = DigitsOf(phoneText);
    if (digits.isEmpty() || QFile::exists(plain))
        return plain;
    return folder + QLatin1Char('/') + LocalRecordFileName(baseName, digits);
}
