#include "Language.h"

#include "LanguageFile.h"
#include "LanguageTextTable.h"

#include <QDir>
#include <QFileInfo>

Language* g_Language = nullptr;

QStringList g_LanguageNames;
QStringList g_LanguageEnglishNames;
QStringList g_LanguageTitles;
QMap<QString, QString> g_LanguageFiles;
QMap<QString, QMap<QString, QString>> g_LanguageTexts;
QString g_OemTitle;
int g_OemFontSize = 0;

static void InitLanguageResources()
{
    // The files live in the static core library; this pulls its resource object into the program.
    Q_INIT_RESOURCE(language);
}

Language::Language()
{
    InitLanguageResources();
    if (!g_Language)
        g_Language = this;

    g_LanguageNames.clear();
    g_LanguageEnglishNames.clear();
    g_LanguageTitles.clear();
    g_LanguageFiles.clear();

    const QFileInfoList files = QDir(QStringLiteral(":/locale"))
                                    .entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& file : files) {
        const LanguageTable table = ReadLanguageFile(file.filePath());
        const QString name = table.value(QStringLiteral("Language")).value(QStringLiteral("Name"));
        const QString englishName = table.value(QStringLiteral("Language")).value(QStringLiteral("EnglishName"));
        if (name.isEmpty() || englishName.isEmpty())
            continue;
        g_LanguageTitles.append(table.value(QStringLiteral("MainForm")).value(QStringLiteral("001")));
        g_LanguageNames.append(name);
        g_LanguageEnglishNames.append(englishName);
        g_LanguageFiles.insert(name, file.filePath());
    }

    WriteOemFile();
}

Language::~Language()
{
    if (g_Language == this)
        g_Language = nullptr;
}

const QStringList& Language::Names()
{
    return g_LanguageNames;
}

void Language::Load(const QString& name)
{
    QString chosen = name;
    if (!g_LanguageFiles.contains(chosen) && !g_LanguageNames.isEmpty())
        chosen = g_LanguageNames.first();

    g_LanguageTexts.clear();
    const QString path = g_LanguageFiles.value(chosen);
    if (!path.isEmpty())
        g_LanguageTexts = ReadLanguageFile(path);

    const int index = g_LanguageNames.indexOf(chosen);
    ReadOemFile(index >= 0 ? g_LanguageEnglishNames.at(index) : QString());
    LoadTexts();

    if (g_Language)
        emit g_Language->LanguageChanged();
}

void Language::LoadTexts()
{
    // Other threads copy texts meanwhile (TextForThread).
    std::lock_guard<std::mutex> lock(TextGlobalsMutex());
    for (const TextGroupGlobals& group : TextGlobalGroups()) {
        const auto found = g_LanguageTexts.constFind(group.Group);
        if (found == g_LanguageTexts.constEnd() || found->isEmpty())
            continue;
        for (const TextGlobal& global : group.Globals) {
            const QString text = found->value(global.Key);
            if (global.Text)
                *global.Text = text;
            else
                *global.List = text.split(QLatin1Char('|'), Qt::KeepEmptyParts);
        }
    }
}
