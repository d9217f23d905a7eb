#pragma once

// Reading back the folders a test's program wrote.
#include <QDir>
#include <QDirIterator>
#include <QString>
#include <QStringList>

// Files below a folder, relative to it, sorted.
inline QStringList FilesBelow(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}
