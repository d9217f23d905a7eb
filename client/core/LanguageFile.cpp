#include "LanguageFile.h"

#include <QFile>
#include <QJsonDocument>
#include <QSettings>
#include <QStringList>

LanguageTable ReadLanguageFile(const QString& path)
{
    LanguageTable table;
    QSettings file(path, QSettings::IniFormat);
    file.setIniCodec("UTF-8");
    const QStringList groups = file.childGroups();
    for (const QString& group : groups) {
        file.beginGroup(group);
        QMap<QString, QString>& texts = table[group];
        const QStringList keys = file.childKeys();
        for (const QString& key : keys)
            texts.insert(key, LanguageFileText(file.value(key)));
        file.endGroup();
    }
    return table;
}

bool ReadJsonObjectFile(const QString& path, QJsonObject* object)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    *object = document.object();
    return true;
}

QString LanguageFileText(const QVariant& value)
{
    // Qt's reader splits "a, b" into ("a", "b") and drops the blanks around the parts.
    if (value.type() == QVariant::StringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}
