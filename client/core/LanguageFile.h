#pragma once

// Reading a language INI file. Internal to the core library.

#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QVariant>

using LanguageTable = QMap<QString, QMap<QString, QString>>;  // group -> key -> text

// Every group and key of the file, read with Qt's INI format and the UTF-8 codec (resource or disk path).
// An unreadable or missing file gives an empty table.
LanguageTable ReadLanguageFile(const QString& path);

// Reads the file (resource or disk) as one JSON object; false when it cannot be opened, does not parse or
// holds something else than an object.
bool ReadJsonObjectFile(const QString& path, QJsonObject* object);

// The text of an INI value. The built-in files quote every value, but an extra file written by hand may
// hold an unquoted comma, which Qt's INI reader turns into a list: join it back rather than lose the text.
QString LanguageFileText(const QVariant& value);
