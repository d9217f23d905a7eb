#include "SettingRules.h"

#include "CalvoxSDK.h"
#include "LanguageTexts.h"
#include "LoginChain.h"

#include <QRegularExpression>

QString StorageSizeText(int megabytes)
{
    if (megabytes <= 1024)
        return QString::number(megabytes, 'g', 6) + QStringLiteral("MB");
    return QString::number(megabytes / 1024.0, 'f', 2) + QStringLiteral("GB");
}

int BookmarkIndicatorValue(int location, const qintptr (&bookmarkTags)[10])
{
    // Signed comparisons: a Tag below the margin gives a negative threshold, which every position passes.
    if (static_cast<qint64>(location) >= static_cast<qint64>(bookmarkTags[9]) - 100)
        return 100;
    for (int b = 8; b >= 1; --b) {
        if (static_cast<qint64>(location) >= static_cast<qint64>(bookmarkTags[b]) - 200)
            return 12 + (b - 1) * 11;
    }
    return 0;
}

bool PortFieldValue(const QString& text, int* port)
{
    bool number = false;
    const qlonglong value = text.toLongLong(&number);
    if (!number) {
        // Digits beyond what a long long holds are a number all the same, and out of range.
        static const QRegularExpression digits(QStringLiteral("^\\s*[+-]?\\d+\\s*$"));
        if (digits.match(text).hasMatch())
            return false;
        *port = 0;
        return true;
    }
    if (value < 0 || value > 65535)
        return false;
    *port = static_cast<int>(value);
    return true;
}

bool IsAnnouncementFileName(const QString& name)
{
    if (name.isEmpty())
        return false;
    for (const QChar c : name) {
        const ushort u = c.unicode();
        if (u < 0x20 || u >= 0x7f)
            return false;
        if (QStringLiteral("\\/:*?\"<>|").contains(c))
            return false;
    }
    return true;
}

bool IsListedAnnouncementName(const QString& name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && name != QLatin1String(".") &&
           name != QLatin1String("..");
}

QStringList PlayBackFileNames(const Calvox_PlayBackFileList* list)
{
    QStringList names;
    if (list == nullptr)
        return names;
    const int count = qMin<int>(list->Count, 20);
    for (int i = 0; i < count; ++i)
        names << QString::fromLatin1(list->Names[i], static_cast<int>(qstrnlen(list->Names[i], 28)));
    return names;
}

QString LoginFailureText(LoginStep step, int code)
{
    switch (step) {
    case LoginStep::Login:
        if (code == 3)
            return TextDevice005;
        if (code == 101)
            return TextDevice006;
        if (code == 2)
            return TextDevice007;
        return TextDevice004;
    case LoginStep::StorageStatus:
        return TextDevice008;
    case LoginStep::NetStatus:
        return TextDevice009;
    case LoginStep::Time:
        return TextDevice010;
    case LoginStep::PlayBackFileList:
        return TextDevice011;
    case LoginStep::BaseSetting:
        return TextDevice012;
    case LoginStep::ChannelSetting:
        return TextDevice013;
    case LoginStep::KeyControlSetting:
        return TextDevice014;
    case LoginStep::NetSetting:
        return TextDevice015;
    case LoginStep::SMDRSetting:
        return TextDevice016;
    case LoginStep::UserList:
        return TextDevice017;
    case LoginStep::None:
        break;
    }
    return QString();
}

int KeepChosenName(const QStringList& names, const QString& chosen)
{
    return chosen.isEmpty() ? -1 : static_cast<int>(names.indexOf(chosen));
}
