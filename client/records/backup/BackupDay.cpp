#include "backup/BackupDay.h"

#include <QDir>

#include <algorithm>

namespace {

// The value of a name made of exactly `digits` ASCII digits, else -1.
int NumberName(const QString& name, int digits)
{
    if (name.size() != digits)
        return -1;
    int value = 0;
    for (const QChar c : name) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

QList<int> SubfolderNumbers(const QString& folder, int digits)
{
    QList<int> numbers;
    const QStringList names = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        const int n = NumberName(name, digits);
        if (n >= 0)
            numbers << n;
    }
    std::sort(numbers.begin(), numbers.end(), std::greater<int>());
    return numbers;
}

}  // namespace

bool BackupDay::IsWellFormed() const
{
    return Year >= 0 && Year <= 99 && Month >= 1 && Month <= 12 && Day >= 1 && Day <= 31;
}

bool LocalResumeDay(const QString& deviceFolder, const BackupDay& limit, BackupDay* day)
{
    int found = 0;
    for (const int month : SubfolderNumbers(deviceFolder, 4)) {
        BackupDay candidate{month / 100, month % 100, 31};
        if (!candidate.IsWellFormed() || candidate.Year * 100 + candidate.Month > limit.Year * 100 + limit.Month)
            continue;
        const QString monthFolder = deviceFolder + QLatin1Char('/') + QStringLiteral("%1").arg(month, 4, 10, QLatin1Char('0'));
        for (const int d : SubfolderNumbers(monthFolder, 2)) {
            candidate.Day = d;
            if (!candidate.IsWellFormed() || candidate.Key() > limit.Key())
                continue;
            *day = candidate;
            if (++found == 2)
                return true;
        }
    }
    return found > 0;
}
