// Language: the built-in language list, the "OEM" title file beside the program, loading a language into
// the text table and the Text globals.

#include "Language.h"
#include "ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QJsonObject ReadJson(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

void WriteFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(data), qint64(data.size()));
}

const char* const EnglishTitle = "Raridariva Rivid Ederoz";

}  // namespace

class TestLanguage : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_Folder;
    QString Oem() const { return m_Folder->path() + "/OEM"; }

private slots:
    void init()
    {
        m_Folder.reset(new QTemporaryDir);
        QVERIFY(m_Folder->isValid());
        SetProgramFolder(m_Folder->path());
    }

    void cleanup()
    {
        delete g_Language;
        QVERIFY(!g_Language);
    }

    void BuiltInLanguagesInFileOrder()
    {
        new Language;
        QVERIFY(Language::Names().size() >= 2);
        QCOMPARE(Language::Names().at(0), QString("English"));
        QCOMPARE(Language::Names().at(1), QString::fromUtf8("简体中文"));
        QCOMPARE(g_LanguageEnglishNames.mid(0, 2), QStringList({"English", "SimplifiedChinese"}));
        QCOMPARE(g_LanguageFiles.value("English"), QString(":/locale/01_English.ini"));
        QCOMPARE(g_LanguageTitles.at(0), QString(EnglishTitle));  // stored in quotes, read without them
        QCOMPARE(g_LanguageTitles.at(1), QString());
        QCOMPARE(g_LanguageNames.size(), g_LanguageEnglishNames.size());
        QCOMPARE(g_LanguageNames.size(), g_LanguageTitles.size());
        // A second object lists the same languages, not twice as many.
        const QStringList names = Language::Names();
        delete g_Language;
        new Language;
        QCOMPARE(Language::Names(), names);
    }

    void OemFirstStartWritesEveryBuiltInTitle()
    {
        new Language;
        const QJsonObject oem = ReadJson(Oem());
        QCOMPARE(oem.keys(), QStringList({"Title"}));  // no "Size" is written
        const QJsonObject titles = oem.value("Title").toObject();
        QCOMPARE(titles.size(), g_LanguageNames.size());
        for (int i = 0; i < g_LanguageNames.size(); ++i)
            QCOMPARE(titles.value(g_LanguageEnglishNames.at(i)), QJsonValue(g_LanguageTitles.at(i)));
        QCOMPARE(titles.value("English").toString(), QString(EnglishTitle));
        QCOMPARE(titles.value("SimplifiedChinese"), QJsonValue(QString()));
        QVERIFY(QDir(m_Folder->path()).entryList(QDir::Files | QDir::Hidden) == QStringList({"OEM"}));
    }

    void OemTakesTrimmedTitleOfExtraLanguageFile()
    {
        WriteFile(m_Folder->path() + "/Language/a.ini",
                  "[Language]\r\nName=English\r\n[MainForm]\r\n001=\"  First Title  \"\r\n");
        WriteFile(m_Folder->path() + "/Language/b.ini",  // same Name, later file: wins
                  "[Language]\r\nName=English\r\n[MainForm]\r\n001=\"   Our Recorder, Office Edition \"\r\n");
        const QByteArray chinese = "[Language]\r\nName=" + QString::fromUtf8("简体中文").toUtf8() + "\r\n";
        WriteFile(m_Folder->path() + "/Language/c1.ini",  // unquoted comma: one title all the same
                  chinese + "[MainForm]\r\n001= Calvox, " + QString::fromUtf8("中文").toUtf8() + " \r\n");
        WriteFile(m_Folder->path() + "/Language/c2.ini",  // blank title: ignored
                  chinese + "[MainForm]\r\n001=\"   \"\r\n");
        WriteFile(m_Folder->path() + "/Language/c3.ini",  // no Name: ignored
                  "[MainForm]\r\n001=Nameless\r\n");
        WriteFile(m_Folder->path() + "/Language/d.txt",  // not *.ini
                  "[Language]\r\nName=English\r\n[MainForm]\r\n001=Wrong\r\n");
        QDir().mkpath(m_Folder->path() + "/Language/e.ini");  // a folder, not a file
        new Language;
        const QJsonObject titles = ReadJson(Oem()).value("Title").toObject();
        QCOMPARE(titles.value("English").toString(), QString("Our Recorder, Office Edition"));
        QCOMPARE(titles.value("SimplifiedChinese").toString(), QString::fromUtf8("Calvox, 中文"));
    }

    void ExistingOemIsNeverRewritten()
    {
        const QByteArray edited = "{\"Size\": 20, \"Title\": {\"English\": \"Edited\"}}";
        WriteFile(Oem(), edited);
        WriteFile(m_Folder->path() + "/Language/a.ini", "[Language]\r\nName=English\r\n[MainForm]\r\n001=Other\r\n");
        new Language;
        QFile file(Oem());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), edited);
        Language::Load("English");
        QCOMPARE(g_OemTitle, QString("Edited"));
        QCOMPARE(g_OemFontSize, 20);
    }

    void OemSize_data()
    {
        QTest::addColumn<QByteArray>("oem");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("title");
        QTest::newRow("size 20") << QByteArray("{\"Size\": 20, \"Title\": {\"English\": \"T\"}}") << 20 << "T";
        QTest::newRow("no size") << QByteArray("{\"Title\": {\"English\": \"T\"}}") << 14 << "T";
        QTest::newRow("size 0") << QByteArray("{\"Size\": 0, \"Title\": {\"English\": \"T\"}}") << 14 << "T";
        QTest::newRow("negative") << QByteArray("{\"Size\": -5}") << 14 << EnglishTitle;
        QTest::newRow("fraction") << QByteArray("{\"Size\": 12.5}") << 14 << EnglishTitle;
        QTest::newRow("text") << QByteArray("{\"Size\": \"20\"}") << 14 << EnglishTitle;
        QTest::newRow("empty object") << QByteArray("{}") << 14 << EnglishTitle;
        QTest::newRow("title not text") << QByteArray("{\"Title\": {\"English\": 5}}") << 14 << EnglishTitle;
        QTest::newRow("title emptied") << QByteArray("{\"Title\": {\"English\": \"\"}}") << 14 << "";
        QTest::newRow("not JSON") << QByteArray("{\"Size\": 20,") << 14 << EnglishTitle;
        QTest::newRow("array") << QByteArray("[20]") << 14 << EnglishTitle;
    }

    void OemSize()
    {
        QFETCH(QByteArray, oem);
        QFETCH(int, size);
        QFETCH(QString, title);
        WriteFile(Oem(), oem);
        new Language;
        Language::Load("English");
        QCOMPARE(g_OemFontSize, size);
        QCOMPARE(g_OemTitle, title);
    }

    void OemEditedAfterStartTakesEffectAtNextLoad()
    {
        new Language;
        Language::Load("English");
        QCOMPARE(g_OemFontSize, 14);
        WriteFile(Oem(), "{\"Size\": 20, \"Title\": {\"English\": \"New\"}}");
        QCOMPARE(g_OemFontSize, 14);
        Language::Load("English");
        QCOMPARE(g_OemFontSize, 20);
        QCOMPARE(g_OemTitle, QString("New"));
    }

    void UnwritableProgramFolderFallsBackToLanguageTitle_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("missing folder") << QString("/missing");  // below the temporary folder
        QTest::newRow("read-only file system") << QString("/proc");  // refused even to root
    }

    void UnwritableProgramFolderFallsBackToLanguageTitle()
    {
        QFETCH(QString, folder);
        const QString path = folder == "/proc" ? folder : m_Folder->path() + folder;
        SetProgramFolder(path);
        new Language;
        QVERIFY(!QFileInfo::exists(path + "/OEM"));
        Language::Load("English");
        QCOMPARE(g_OemTitle, QString(EnglishTitle));
        QCOMPARE(g_OemFontSize, 14);
    }

    void LoadFillsTextsAndSignalsOncePerLoad()
    {
        new Language;
        QSignalSpy changed(g_Language, &Language::LanguageChanged);
        Language::Load("English");
        QCOMPARE(changed.count(), 1);
        QCOMPARE(TextTips001, QString("Operation completely"));
        QCOMPARE(TextMisc025, QString("Total"));
        QCOMPARE(TextDevice042, QString("Download failed, retry in progress"));
        QCOMPARE(TextDevice031.size(), 7);
        QCOMPARE(TextDevice032.size(), 9);
        QCOMPARE(TextDevice032.at(8), QString("Polarity"));
        QCOMPARE(g_LanguageTexts.value("SettingTabPage").value("130"), QString("DHCP |Static IP"));
        QCOMPARE(g_LanguageTexts.value("Language").value("Name"), QString("English"));

        Language::Load(QString::fromUtf8("简体中文"));
        QCOMPARE(changed.count(), 2);
        QCOMPARE(TextMisc001, QString::fromUtf8("是"));
        QCOMPARE(TextDevice031.size(), 7);
        QCOMPARE(TextDevice032.size(), 9);
        QCOMPARE(g_OemTitle, QString());  // the Chinese files carry no window title

        Language::Load("English");
        QCOMPARE(changed.count(), 3);
        QCOMPARE(TextMisc001, QString("Yes"));
    }

    void LoadOfUnknownNameLoadsFirstLanguage()
    {
        new Language;
        Language::Load(QString::fromUtf8("简体中文"));
        QSignalSpy changed(g_Language, &Language::LanguageChanged);
        Language::Load("Klingon");
        QCOMPARE(changed.count(), 1);
        QCOMPARE(TextMisc001, QString("Yes"));
        QCOMPARE(g_OemTitle, QString(EnglishTitle));
    }

    void LoadTextsKeepsAbsentGroupsAndEmptiesMissingKeys()
    {
        new Language;
        Language::Load("English");
        g_LanguageTexts.remove("Tips");                    // group absent: kept
        g_LanguageTexts["Misc"] = {{"001", "Oui"}};        // key 002 missing: emptied
        g_LanguageTexts["Device"] = {{"031", ""}};         // empty list text: one empty item
        Language::LoadTexts();
        QCOMPARE(TextTips001, QString("Operation completely"));
        QCOMPARE(TextMisc001, QString("Oui"));
        QCOMPARE(TextMisc002, QString());
        QCOMPARE(TextDevice031, QStringList({""}));
        QCOMPARE(TextDevice032, QStringList({""}));
        g_LanguageTexts["Tips"] = {};                      // group present but empty: kept
        Language::LoadTexts();
        QCOMPARE(TextTips001, QString("Operation completely"));
        g_LanguageTexts["Device"] = {{"032", "a||b"}};     // empty parts are kept
        Language::LoadTexts();
        QCOMPARE(TextDevice032, QStringList({"a", "", "b"}));
    }
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
