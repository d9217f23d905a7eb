#include "DataFolder.h"

#include "FileIo.h"
#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>

#include <sys/stat.h>

QString g_DataPath;

namespace {

bool IsAcceptedName(const QString& name)
{
    if (name.contains(QChar(0)))
        return false;
    const QStringList segments = name.split(QLatin1Char('/'));
    return !segments.contains(QStringLiteral(".."));
}

constexpr mode_t kOwnerOnlyFolder = S_IRWXU;
constexpr mode_t kOwnerOnlyFile = S_IRUSR | S_IWUSR;

// Folders 0700 and files 0600 from `root` down; symbolic links are neither followed nor changed (what they
// point at is not ours to change).
void MakeTreeOwnerOnly(const QString& root)
{
    struct stat st {};
    const QByteArray rootPath = QFile::encodeName(root);
    if (::lstat(rootPath.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return;
    ::chmod(rootPath.constData(), kOwnerOnlyFolder);
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QByteArray path = QFile::encodeName(it.next());
        if (::lstat(path.constData(), &st) != 0)
            continue;
        if (S_ISDIR(st.st_mode))
            ::chmod(path.constData(), kOwnerOnlyFolder);
        else if (S_ISREG(st.st_mode))
            ::chmod(path.constData(), kOwnerOnlyFile);
    }
}

}  // namespace

bool InitDataFolder()
{
    // The folder is named after the client, not after whatever the executable file is called.
    QCoreApplication::setApplicationName(QString::fromLatin1(kApplicationName));
    g_DataPath = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!g_DataPath.isEmpty() && QDir().mkpath(g_DataPath)) {
        // The device files hold each recorder's password (scrambled, not encrypted): no other local user may
        // read anything here. Files an earlier version left readable are closed now as well.
        MakeTreeOwnerOnly(g_DataPath);
        return true;
    }
    // The program's folder is not ours to close; the device files in it are.
    g_DataPath = ProgramFolder();
    const bool made = QDir().mkpath(g_DataPath);
    MakeTreeOwnerOnly(g_DataPath + QStringLiteral("/Devices"));
    return made;
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
    switch (WriteFileAtomically(path, data, length, FileAccess::OwnerOnly)) {
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
