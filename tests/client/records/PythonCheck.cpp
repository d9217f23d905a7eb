#include "PythonCheck.h"

#include <QProcess>
#include <QtDebug>

QString RunPython(const QString& script, const QStringList& arguments, bool* ok)
{
    QProcess process;
    process.start(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral("-c"), script} + arguments);
    const bool finished = process.waitForFinished(120000);
    *ok = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!*ok)
        qWarning().noquote() << "python failed:" << process.readAllStandardError();
    return QString::fromUtf8(process.readAllStandardOutput());
}
