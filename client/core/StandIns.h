#pragma once

// Temporary stand-ins for the data-folder module (program folder, data-file read and write), used by
// Language and Skin until that module is in this branch. Tests redirect both folders.

#include <QByteArray>
#include <QString>

QString StandInProgramFolder();
void SetStandInProgramFolder(const QString& folder);

void SetStandInDataFolder(const QString& folder);
bool StandInReadDataFile(const QString& name, QByteArray* data);
int StandInWriteDataFile(const QString& name, const void* data, int length);
