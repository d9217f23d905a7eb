// Every built-in language file present, loaded the way the client loads it: its [Language] names as the
// language list expects them, every group and key of English after Language::Load, every shared text
// global filled, and every window's fixture receiving a text of the language for each of its widgets.
// Data-driven over the files present, so a language file added later is covered without editing this.

#include "Language.h"
#include "LanguageFixture.h"
#include "LanguageTextTable.h"
#include "LanguageTexts.h"
#include "ProgramFolder.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The built-in languages: file name, the language's own name and its English name (the key of its title
// in "OEM"). Names are what the settings store, so they are fixed letter for letter.
const struct { const char* file; const char* name; const char* englishName; } kLanguages[] = {
    {"01_English.ini", "English", "English"},
    {"02_Simplified Chinese.ini", "简体中文", "SimplifiedChinese"},
    {"03_Traditional Chinese.ini", "繁體中文", "TraditionalChinese"},
    {"04_Arabic.ini", "عربى", "Arabic"},
    {"05_French.ini", "Français", "French"},
    {"06_German.ini", "Deutsche", "German"},
    {"07_Greek.ini", "Ελληνικά", "Greek"},
    {"08_Hindi.ini", "हिंदी", "Hindi"},
    {"09_Italian.ini", "Italiano", "Italian"},
    {"10_Persian.ini", "فارسی", "Persian"},
    {"11_Polish.ini", "Polski", "Polish"},
    {"12_Portuguese.ini", "Português", "Portuguse"},
    {"13_Romanian.ini", "Română", "Romanian"},
    {"14_Russian.ini", "русский", "Russian"},
    {"15_Spanish.ini", "Español", "Spanish"},
    {"16_Thai.ini", "ไทย", "Thai"},
    {"17_Vietnamese.ini", "Tiếng việt", "Vietnamese"},
};

const QStringList kSharedGroups = {"Language", "Tips", "Misc", "Device"};

QStringList KeysOf(const QMap<QString, QString>& group)
{
    return group.keys();
}

}  // namespace

class TestLanguageEvery : public QObject
{
    Q_OBJECT

    QTemporaryDir m_ProgramFolder;
    QMap<QString, QMap<QString, QString>> m_English;

private slots:
    void initTestCase()
    {
        QVERIFY(m_ProgramFolder.isValid());
        SetProgramFolder(m_ProgramFolder.path());
        new Language;
        Language::Load("English");
        m_English = g_LanguageTexts;
        QVERIFY(m_English.size() > kSharedGroups.size());
    }

    void cleanupTestCase()
    {
        delete g_Language;
    }

    void Languages_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < Language::Names().size(); ++i)
            QTest::newRow(qPrintable(QFileInfo(g_LanguageFiles.value(Language::Names().at(i))).fileName())) << i;
    }

    void Languages()
    {
        QFETCH(int, index);
        const QString name = Language::Names().at(index);
        const QString file = QFileInfo(g_LanguageFiles.value(name)).fileName();

        // A built-in file, named as the language list expects.
        bool known = false;
        for (const auto& language : kLanguages) {
            if (file != QLatin1String(language.file))
                continue;
            known = true;
            QCOMPARE(name, QString::fromUtf8(language.name));
            QCOMPARE(g_LanguageEnglishNames.at(index), QString::fromUtf8(language.englishName));
        }
        QVERIFY2(known, qPrintable(file + " is no built-in language file"));

        QSignalSpy changed(g_Language, &Language::LanguageChanged);
        Language::Load(name);
        QCOMPARE(changed.count(), 1);

        // Every group and key that English has, and no other.
        QCOMPARE(g_LanguageTexts.keys(), m_English.keys());
        for (auto group = m_English.constBegin(); group != m_English.constEnd(); ++group)
            QVERIFY2(KeysOf(g_LanguageTexts.value(group.key())) == KeysOf(group.value()),
                     qPrintable("[" + group.key() + "] keys differ from English"));

        // Every shared text global filled; the two lists with the item counts the windows index.
        QStringList empty;
        for (const TextGroupGlobals& group : TextGlobalGroups()) {
            for (const TextGlobal& global : group.Globals) {
                const bool blank = global.Text ? global.Text->isEmpty()
                                               : global.List->join(QString()).trimmed().isEmpty();
                if (blank)
                    empty << group.Group + "/" + global.Key;
            }
        }
        QVERIFY2(empty.isEmpty(), qPrintable("empty texts: " + empty.join(", ")));
        QCOMPARE(TextDevice031.size(), 7);
        QCOMPARE(TextDevice032.size(), 9);
        QVERIFY(!TextDevice032.contains(QString()));

        // Every window: each widget of its map gets the language's text of its key.
        QStringList wrong;
        for (auto group = m_English.constBegin(); group != m_English.constEnd(); ++group) {
            if (kSharedGroups.contains(group.key()))
                continue;
            const QMap<QString, QString> texts = g_LanguageTexts.value(group.key());
            FixtureWindow fixture = MakeFixtureWindow(group.key());
            QVERIFY2(!fixture.Members.isEmpty(), qPrintable(group.key() + ": no text map"));
            Language::ApplyLanguage(fixture.Form.get());
            for (const FixtureMember& member : fixture.Members) {
                if (!member.Widget && member.Name != "Title")
                    continue;
                const QString text = texts.value(member.Key);
                // Only the main window's title may be empty: the title then comes from "OEM".
                const bool emptyTitle = text.isEmpty() && group.key() == "MainForm";
                const QString expected = emptyTitle ? QString(kDesignText) : text;
                const QString shown = FixtureText(fixture, member);
                if (shown != expected || (!emptyTitle && shown == kDesignText))
                    wrong << QString("%1.%2 (%3): \"%4\"").arg(group.key(), member.Name, member.Key, shown);
            }
        }
        QVERIFY2(wrong.isEmpty(), qPrintable("not applied: " + wrong.join("\n")));
    }
};

QTEST_MAIN(TestLanguageEvery)
#include "tst_language_every.moc"
