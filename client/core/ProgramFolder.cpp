#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString& ProgramFolderOverride()
{
    static QString path;
    return path;
}
}  // namespace

QString ProgramFolder()
{
    const QString& path = ProgramFolderOverride();
    return path.isEmpty() ? QCoreApplication::applicationDirPath() : path;
}

void SetProgramFolder(const QString& path)
{
    ProgramFolderOverride() = path.isEmpty() ? QString() : QDir::cleanPath(path);
}
