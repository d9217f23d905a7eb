#include "AutoStart.h"

#include "FileIo.h"
#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// Exec quoting: inside double quotes '"', '`', '$' and '\' take a backslash; '%' is a field code unless doubled.
QString QuoteExecArgument(const QString& argument)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        else if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
        quoted += c;
    }
    return quoted + QLatin1Char('"');
}

// The string-value escapes of a desktop entry, applied to the key's whole value after the Exec quoting.
QString EscapeStringValue(const QString& value)
{
    QString escaped;
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '\\': escaped += QLatin1String("\\\\"); break;
        case '\n': escaped += QLatin1String("\\n"); break;
        case '\r': escaped += QLatin1String("\\r"); break;
        case '\t': escaped += QLatin1String("\\t"); break;
        default: escaped += c;
        }
    }
    return escaped;
}

}  // namespace

QString AutoStartEntryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/autostart/scrivlet.desktop");
}

QString AutoStartEntryText(const QString& programPath)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=%1\n"
                          "Exec=%2\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(QString::fromLatin1(kApplicationName), EscapeStringValue(QuoteExecArgument(programPath)));
}

bool SetAutoStart(bool on)
{
    const QString path = AutoStartEntryPath();
    if (!on)
        return !QFileInfo::exists(path) || QFile::remove(path);

    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).absoluteFilePath();
    return SaveFile(path, AutoStartEntryText(program).toUtf8());
}
