#include "StandIns.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

namespace {
QString s_ProgramFolder;
QString s_DataFolder;
}

QString StandInProgramFolder()
{
    return s_ProgramFolder.isEmpty() ? QCoreApplication::applicationDirPath() : s_ProgramFolder;
}

void SetStandInProgramFolder(const QString& folder)
{
    s_ProgramFolder = folder;
}

void SetStandInDataFolder(const QString& folder)
{
    s_DataFolder = folder;
}

bool StandInReadDataFile(const QString& name, QByteArray* data)
{
    QFile file(s_DataFolder + QLatin1Char('/') + name);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *data = file.readAll();
    return true;
}

int StandInWriteDataFile(const QString& name, const void* data, int length)
{
    QSaveFile file(s_DataFolder + QLatin1Char('/') + name);
    if (!file.open(QIODevice::WriteOnly))
        return 0;
    const qint64 written = file.write(static_cast<const char*>(data), length);
    if (written != length || !file.commit())
        return -1;
    return length;
}
