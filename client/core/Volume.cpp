#include "Volume.h"

#include "DataFolder.h"

#include <QByteArray>

int g_Volume = 100;

namespace {
const QString kVolumeFile = QStringLiteral("Volume");
}

void LoadVolume()
{
    QByteArray content;
    if (ReadDataFile(kVolumeFile, &content)) {
        g_Volume = content.trimmed().toInt();  // 0 when it is not a number
        return;
    }
    g_Volume = 100;
    SaveVolume();
}

void SaveVolume()
{
    SaveDataFile(kVolumeFile, QByteArray::number(g_Volume));
}
