#include "TempFile.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

#include <cstdlib>

namespace calvox::fuzz {

QString WriteTempFile(const char* name, const uint8_t* data, size_t size)
{
    const QString path = QDir::tempPath() + QStringLiteral("/calvox-fuzz-%1-%2").arg(::getpid()).arg(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) != static_cast<qint64>(size))
        std::abort();
    return path;
}

}  // namespace calvox::fuzz
