#include "DataFolder.h"

#include "FileIo.h"
#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

QString g_DataPath;

namespace {

bool IsAcceptedName(const QString& name)
{
    if (name.contains(QChar(0)))
        return false;
    const QStringList segments = name.split(QLatin1Char('/'));
    return !segments.contains(QStringLiteral(".."));
}

}  // namespace

bool InitDataFolder()
{
    // The folder is named after the client, not after whatever the executable file is called.
    QCoreApplication::setApplicationName(QString::fromLatin1(kApplicationName));
    g_DataPath = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!g_DataPath.isEmpty() && QDir().mkpath(g_DataPath))
        return true;
    g_DataPath = ProgramFolder();
    return QDir().mkpath(g_DataPath);
}

QString DataFilePath(const QString& name)
{
    if (!IsAcceptedName(name))
        return QString();
    return g_DataPath + QLatin1Char('/') + name;
}

bool MakeDataFolder(const QString& name)
{
    const QString path = DataFilePath(name);
    return !path.isEmpty() && QDir().mkpath(path);
}

int ReadDataFileToBuffer(const QString& name, char** data)
{
    const QString path = DataFilePath(name);
    if (path.isEmpty())
        return -1;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return ReadAllToNewBuffer(&file, data);
}

bool ReadDataFile(const QString& name, QByteArray* data)
{
    char* buffer = nullptr;
    const int length = ReadDataFileToBuffer(name, &buffer);
    if (length < 0)
        return false;
    *data = QByteArray(buffer, length);
    delete[] buffer;
    return true;
}

int WriteDataFile(const QString& name, const void* data, int length)
{
    // For an empty write a failure must still differ from `length`.
    const int notOpened = length == 0 ? -1 : 0;
    const QString path = DataFilePath(name);
    if (path.isEmpty())
        return notOpened;
    switch (WriteFileAtomically(path, data, length)) {
    case FileWriteResult::Written:
        return length;
    case FileWriteResult::OpenFailed:
        return notOpened;
    case FileWriteResult::WriteFailed:
        break;
    }
    return -1;
}

bool SaveDataFile(const QString& name, const QByteArray& data)
{
    return WriteDataFile(name, data.constData(), data.size()) == data.size();
}
