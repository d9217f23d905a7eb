#include "Language.h"

#include "FileIo.h"
#include "LanguageFile.h"
#include "ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

static QString OemPath()
{
    return ProgramFolder() + QStringLiteral("/OEM");
}

// Titles from the extra language files beside the program, by language Name; a later file (by file name)
// replaces an earlier one of the same Name.
static QMap<QString, QString> ExtraTitles()
{
    QMap<QString, QString> titles;
    const QFileInfoList files = QDir(ProgramFolder() + QStringLiteral("/Language/"))
                                    .entryInfoList({QStringLiteral("*.ini")}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QFileInfo& file : files) {
        const LanguageTable table = ReadLanguageFile(file.filePath());
        const QString name = table.value(QStringLiteral("Language")).value(QStringLiteral("Name"));
        if (name.isEmpty())
            continue;
        const QString title = table.value(QStringLiteral("MainForm")).value(QStringLiteral("001")).trimmed();
        if (!title.isEmpty())
            titles.insert(name, title);
    }
    return titles;
}

void Language::WriteOemFile()
{
    if (QFileInfo::exists(OemPath()))
        return;
    const QMap<QString, QString> extra = ExtraTitles();
    QJsonObject titles;
    for (int i = 0; i < g_LanguageNames.size(); ++i)
        titles.insert(g_LanguageEnglishNames.at(i), extra.value(g_LanguageNames.at(i), g_LanguageTitles.at(i)));
    QJsonObject root;
    root.insert(QStringLiteral("Title"), titles);
    // Written to a temporary file and renamed: a failed write never leaves a half "OEM" that would then
    // count as present and never be written again. A read-only program folder simply gets none.
    SaveFile(OemPath(), QJsonDocument(root).toJson());
}

void Language::ReadOemFile(const QString& englishName)
{
    // Without a usable "OEM" (an installed program folder is read-only, so it may never have been
    // written) the window still gets the language's own title and a readable font size.
    g_OemTitle = g_LanguageTexts.value(QStringLiteral("MainForm")).value(QStringLiteral("001"));
    g_OemFontSize = 14;

    QJsonObject root;
    if (!ReadJsonObjectFile(OemPath(), &root))
        return;

    const QJsonValue size = root.value(QStringLiteral("Size"));
    if (size.isDouble() && size.toDouble() == size.toInt() && size.toInt() > 0)
        g_OemFontSize = size.toInt();

    const QJsonValue title = root.value(QStringLiteral("Title")).toObject().value(englishName);
    if (title.isString())
        g_OemTitle = title.toString();
}
