#include "SoftwareSetting.h"

#include "AutoStart.h"
#include "DataFolder.h"
#include "Language.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QLocale>
#include <QStringList>

#include <climits>
#include <cmath>

SoftwareSetting g_SoftwareSetting;

namespace {

const QString kSettingFile = QStringLiteral("SoftwareSetting");

bool BoolMember(const QJsonObject& object, const char* key)
{
    const QJsonValue value = object.value(QLatin1String(key));
    return value.isBool() && value.toBool();
}

// A number that is not a whole 32-bit value gives 0, like a missing member.
int IntMember(const QJsonObject& object, const char* key)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (!value.isDouble())
        return 0;
    const double number = value.toDouble();
    if (std::trunc(number) != number || number < INT_MIN || number > INT_MAX)
        return 0;
    return static_cast<int>(number);
}

}  // namespace

void LoadSoftwareSetting()
{
    QByteArray content;
    if (!ReadDataFile(kSettingFile, &content)) {
        DefaultSoftwareSetting();
        return;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(content, &error);
    if (error.error != QJsonParseError::NoError) {
        DefaultSoftwareSetting();
        return;
    }
    const QJsonObject object = document.object();
    SoftwareSetting& s = g_SoftwareSetting;

    const QJsonValue language = object.value(QLatin1String("Language"));
    if (!language.isString()) {
        DefaultSoftwareSetting();
        return;
    }
    s.Language = language.toString();
    const QJsonValue backupPath = object.value(QLatin1String("BackupPath"));
    if (!backupPath.isString()) {
        DefaultSoftwareSetting();
        return;
    }
    s.BackupPath = backupPath.toString();

    s.AutoBackup = BoolMember(object, "AutoBackup");
    s.BackupCycle = IntMember(object, "BackupCycle");
    s.AutoUpgrade = BoolMember(object, "AutoUpgrade");
    s.AutoStartup = BoolMember(object, "AutoStartup");
    s.AutoSyncTime = BoolMember(object, "AutoSyncTime");
    s.WarningPopup = BoolMember(object, "WarningPopup");
    s.WarningPopupTime = IntMember(object, "WarningPopupTime");
    s.StatusPopup = BoolMember(object, "StatusPopup");
    s.StatusPopupLocation = IntMember(object, "StatusPopupLocation");
    s.StatusPopupTime = IntMember(object, "StatusPopupTime");
    s.StatusPopupComingCall = BoolMember(object, "StatusPopupComingCall");
    s.StatusPopupOutgoingCall = BoolMember(object, "StatusPopupOutgoingCall");
    s.StatusPopupStrangeNumber = BoolMember(object, "StatusPopupStrangeNumber");
    s.NotesPopup = BoolMember(object, "NotesPopup");
    s.NotesPopupLocation = IntMember(object, "NotesPopupLocation");
    s.NotesPopupTime = IntMember(object, "NotesPopupTime");

    EnsureLanguageSetting();
}

bool SaveSoftwareSetting()
{
    const SoftwareSetting& s = g_SoftwareSetting;
    // The file is written even when the entry could not be made as asked: the other settings are good.
    const bool autoStartAsAsked = SetAutoStart(s.AutoStartup);

    QJsonObject object;
    object.insert(QLatin1String("Language"), s.Language);
    object.insert(QLatin1String("BackupPath"), s.BackupPath);
    object.insert(QLatin1String("AutoBackup"), s.AutoBackup);
    object.insert(QLatin1String("BackupCycle"), s.BackupCycle);
    object.insert(QLatin1String("AutoUpgrade"), s.AutoUpgrade);
    object.insert(QLatin1String("AutoStartup"), s.AutoStartup);
    object.insert(QLatin1String("AutoSyncTime"), s.AutoSyncTime);
    object.insert(QLatin1String("WarningPopup"), s.WarningPopup);
    object.insert(QLatin1String("WarningPopupTime"), s.WarningPopupTime);
    object.insert(QLatin1String("StatusPopup"), s.StatusPopup);
    object.insert(QLatin1String("StatusPopupLocation"), s.StatusPopupLocation);
    object.insert(QLatin1String("StatusPopupTime"), s.StatusPopupTime);
    object.insert(QLatin1String("StatusPopupComingCall"), s.StatusPopupComingCall);
    object.insert(QLatin1String("StatusPopupOutgoingCall"), s.StatusPopupOutgoingCall);
    object.insert(QLatin1String("StatusPopupStrangeNumber"), s.StatusPopupStrangeNumber);
    object.insert(QLatin1String("NotesPopup"), s.NotesPopup);
    object.insert(QLatin1String("NotesPopupLocation"), s.NotesPopupLocation);
    object.insert(QLatin1String("NotesPopupTime"), s.NotesPopupTime);

    const bool written = SaveDataFile(kSettingFile, QJsonDocument(object).toJson());
    return autoStartAsAsked && written;
}

void DefaultSoftwareSetting()
{
    const QString language = g_SoftwareSetting.Language;
    g_SoftwareSetting = SoftwareSetting();
    g_SoftwareSetting.Language = language;
    EnsureLanguageSetting();
    SaveSoftwareSetting();
}

void EnsureLanguageSetting()
{
    // The built-in languages begin with English, then Simplified Chinese.
    const QStringList& names = Language::Names();
    if (names.contains(g_SoftwareSetting.Language))
        return;
    g_SoftwareSetting.Language = names.value(QLocale().language() == QLocale::Chinese ? 1 : 0);
}
