#include "LaunchUpdater.h"

#include "ProgramFolder.h"
#include "Skin.h"
#include "VersionText.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QtGlobal>

const QString ClientVersion = QStringLiteral("2.5.1.5");

bool IsOfferedClientVersion(const QString& latestVersion)
{
    return IsVersionText(latestVersion) && latestVersion != ClientVersion;
}

QString UpdaterPath()
{
    return QDir(ProgramFolder()).absoluteFilePath(QStringLiteral("Upgrade"));
}

QStringList UpdaterArguments()
{
    return {QStringLiteral("%1").arg(g_ThemeColor.rgb(), 6, 16, QLatin1Char('0')),
            QStringLiteral("%1").arg(g_TextColor.rgb(), 6, 16, QLatin1Char('0'))};
}

bool LaunchUpdater()
{
    // Detached: the updater outlives the client, which it is about to replace.
    if (!QProcess::startDetached(UpdaterPath(), UpdaterArguments(), QDir::currentPath())) {
        qWarning("The updater %s could not be started", qPrintable(UpdaterPath()));
        return false;
    }
    QCoreApplication::exit(0);
    return true;
}
