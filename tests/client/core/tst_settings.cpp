// Software settings, volume and the autostart entry, against real files in a private XDG home.
#include "AutoStart.h"
#include "DataFolder.h"
#include "Language.h"
#include "ProgramFolder.h"
#include "TestFiles.h"
#include "SoftwareSetting.h"
#include "Volume.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QStringList kKeys = {
    "Language", "BackupPath", "AutoBackup", "BackupCycle", "AutoUpgrade", "AutoStartup",
    "AutoSyncTime", "WarningPopup", "WarningPopupTime", "StatusPopup", "StatusPopupLocation",
    "StatusPopupTime", "StatusPopupComingCall", "StatusPopupOutgoingCall", "StatusPopupStrangeNumber",
    "NotesPopup", "NotesPopupLocation", "NotesPopupTime"};


QString SettingPath()
{
    return g_DataPath + "/SoftwareSetting";
}

// What desktop-file-validate says; empty when it accepts the file. Null when the tool is not installed.
QString Validate(const QString& path)
{
    const QString tool = QStandardPaths::findExecutable("desktop-file-validate");
    if (tool.isEmpty())
        return QString();
    QProcess process;
    process.start(tool, {path});
    process.waitForFinished(10000);
    const QString output = QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    return process.exitCode() == 0 && !output.contains("error") ? QString("") : output;
}

// Undoes the string escapes and the Exec quoting of a one-argument Exec value.
QString UnquoteExec(QString value)
{
    QString unescaped;
    for (int i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            const QChar next = value[++i];
            unescaped += next == 'n' ? QChar('\n') : next == 't' ? QChar('\t') : next == 'r' ? QChar('\r') : next;
        } else {
            unescaped += value[i];
        }
    }
    if (!unescaped.startsWith('"') || !unescaped.endsWith('"'))
        return QString("<not quoted>");
    unescaped = unescaped.mid(1, unescaped.size() - 2);
    QString argument;
    for (int i = 0; i < unescaped.size(); ++i) {
        if (unescaped[i] == '\\' && i + 1 < unescaped.size())
            argument += unescaped[++i];
        else if (unescaped[i] == '%' && i + 1 < unescaped.size() && unescaped[i + 1] == '%')
            argument += unescaped[++i];
        else
            argument += unescaped[i];
    }
    return argument;
}

QString ExecOf(const QByteArray& entry)
{
    for (const QByteArray& line : entry.split('\n')) {
        if (line.startsWith("Exec="))
            return QString::fromUtf8(line.mid(5));
    }
    return QString();
}

}  // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void firstStartWritesDefaults_data();
    void firstStartWritesDefaults();
    void twoKeyFileLoadsAsWrittenAndIsNotRewritten();
    void badFilesGiveDefaults_data();
    void badFilesGiveDefaults();
    void unknownLanguageIsReplacedInMemoryOnly();
    void saveAndLoadRoundTrip();
    void saveReportsAFailedWrite();
    void volume_data();
    void volume();
    void autoStartFollowsTheSetting();
    void autoStartEntryQuotesAnyPath_data();
    void autoStartEntryQuotesAnyPath();
    void autoStartFailureFailsTheSave_data();
    void autoStartFailureFailsTheSave();
    void nothingButTheExpectedFilesIsWritten();

private:
    QTemporaryDir m_home;
    QScopedPointer<Language> m_language;  // the built-in language list, as the client has it before the load
};

void TestSettings::initTestCase()
{
    QVERIFY(m_home.isValid());
    SetProgramFolder(m_home.path() + "/program");
    m_language.reset(new Language);
    QCOMPARE(Language::Names().mid(0, 2), (QStringList{"English", "简体中文"}));
}

void TestSettings::init()
{
    QVERIFY(m_home.isValid());
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.path() + "/share"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.path() + "/config"));
    SetProgramFolder(m_home.path() + "/program");
    QVERIFY(InitDataFolder());
    QFile::remove(SettingPath());
    QFile::remove(g_DataPath + "/Volume");
    QFile::remove(AutoStartEntryPath());
    g_SoftwareSetting = SoftwareSetting();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestSettings::cleanup()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestSettings::firstStartWritesDefaults_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("language");
    QTest::newRow("English system") << QLocale(QLocale::English, QLocale::UnitedKingdom) << "English";
    QTest::newRow("German system") << QLocale(QLocale::German, QLocale::Germany) << "English";
    QTest::newRow("Chinese system") << QLocale(QLocale::Chinese, QLocale::China) << "简体中文";
    QTest::newRow("Chinese (Taiwan) system") << QLocale(QLocale::Chinese, QLocale::Taiwan) << "简体中文";
}

void TestSettings::firstStartWritesDefaults()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, language);
    QLocale::setDefault(locale);

    LoadSoftwareSetting();

    QCOMPARE(g_SoftwareSetting.Language, language);
    QJsonParseError error;
    const QJsonObject file = QJsonDocument::fromJson(ReadRaw(SettingPath()), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QStringList keys = kKeys;
    keys.sort();
    QCOMPARE(file.keys(), keys);
    const QJsonObject expected{
        {"Language", language}, {"BackupPath", ""}, {"AutoBackup", false}, {"BackupCycle", 0},
        {"AutoUpgrade", false}, {"AutoStartup", false}, {"AutoSyncTime", false}, {"WarningPopup", false},
        {"WarningPopupTime", 10}, {"StatusPopup", false}, {"StatusPopupLocation", 1}, {"StatusPopupTime", 10},
        {"StatusPopupComingCall", false}, {"StatusPopupOutgoingCall", false},
        {"StatusPopupStrangeNumber", false}, {"NotesPopup", false}, {"NotesPopupLocation", 0},
        {"NotesPopupTime", 10}};
    QCOMPARE(file, expected);
    QVERIFY(!QFileInfo::exists(AutoStartEntryPath()));
}

void TestSettings::twoKeyFileLoadsAsWrittenAndIsNotRewritten()
{
    const QByteArray content = R"({"Language": "English", "BackupPath": "/srv/backup/"})";
    WriteRaw(SettingPath(), content);
    const QDateTime modified = QFileInfo(SettingPath()).lastModified();
    g_SoftwareSetting.WarningPopupTime = 99;

    LoadSoftwareSetting();

    const SoftwareSetting& s = g_SoftwareSetting;
    QCOMPARE(s.Language, QString("English"));
    QCOMPARE(s.BackupPath, QString("/srv/backup/"));
    // Missing members are read as false and 0, not as the defaults.
    QCOMPARE(s.WarningPopupTime, 0);
    QCOMPARE(s.StatusPopupLocation, 0);
    QCOMPARE(s.StatusPopupTime, 0);
    QCOMPARE(s.NotesPopupTime, 0);
    QCOMPARE(s.BackupCycle, 0);
    QVERIFY(!s.AutoBackup && !s.AutoStartup && !s.StatusPopup && !s.NotesPopup);
    QCOMPARE(ReadRaw(SettingPath()), content);
    QCOMPARE(QFileInfo(SettingPath()).lastModified(), modified);
}

void TestSettings::badFilesGiveDefaults_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("language");  // what Language holds after the load (English locale)
    QTest::newRow("invalid JSON") << QByteArray("{\"Language\": \"English\", ") << "English";
    QTest::newRow("empty file") << QByteArray("") << "English";
    QTest::newRow("non-string Language") << QByteArray(R"({"Language": 5, "BackupPath": "/b/"})") << "English";
    QTest::newRow("missing Language") << QByteArray(R"({"BackupPath": "/b/"})") << "English";
    QTest::newRow("array document") << QByteArray(R"(["English"])") << "English";
    // The language read before BackupPath failed is kept.
    QTest::newRow("non-string BackupPath") << QByteArray(R"({"Language": "简体中文", "BackupPath": 1})")
                                           << "简体中文";
}

void TestSettings::badFilesGiveDefaults()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, language);
    WriteRaw(SettingPath(), content);
    g_SoftwareSetting.AutoBackup = true;
    g_SoftwareSetting.NotesPopupTime = 3;

    LoadSoftwareSetting();

    QCOMPARE(g_SoftwareSetting.Language, language);
    QCOMPARE(g_SoftwareSetting.BackupPath, QString());
    QVERIFY(!g_SoftwareSetting.AutoBackup);
    QCOMPARE(g_SoftwareSetting.NotesPopupTime, 10);
    QCOMPARE(g_SoftwareSetting.StatusPopupLocation, 1);
    // The defaults are written back.
    const QJsonObject file = QJsonDocument::fromJson(ReadRaw(SettingPath())).object();
    QCOMPARE(file.size(), 18);
    QCOMPARE(file.value("Language").toString(), language);
    QCOMPARE(file.value("WarningPopupTime").toInt(), 10);
}

void TestSettings::unknownLanguageIsReplacedInMemoryOnly()
{
    const QByteArray content = R"({"Language": "english", "BackupPath": "", "NotesPopupTime": 5,
                                   "AutoBackup": "yes", "BackupCycle": 2.5, "StatusPopupTime": 1e20})";
    WriteRaw(SettingPath(), content);
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));

    LoadSoftwareSetting();

    QCOMPARE(g_SoftwareSetting.Language, QString("简体中文"));  // the comparison is case-sensitive
    QCOMPARE(g_SoftwareSetting.NotesPopupTime, 5);
    QVERIFY(!g_SoftwareSetting.AutoBackup);             // not a bool
    QCOMPARE(g_SoftwareSetting.BackupCycle, 0);         // not a whole number
    QCOMPARE(g_SoftwareSetting.StatusPopupTime, 0);     // beyond 32 bits
    QCOMPARE(ReadRaw(SettingPath()), content);
}

void TestSettings::saveAndLoadRoundTrip()
{
    SoftwareSetting& s = g_SoftwareSetting;
    s.Language = "English";
    s.BackupPath = "/mnt/usb/Calvox backups/";
    s.AutoBackup = true;
    s.BackupCycle = 2;
    s.AutoUpgrade = true;
    s.AutoSyncTime = true;
    s.WarningPopup = true;
    s.WarningPopupTime = 30;
    s.StatusPopup = true;
    s.StatusPopupLocation = 0;
    s.StatusPopupTime = -1;
    s.StatusPopupComingCall = true;
    s.StatusPopupOutgoingCall = true;
    s.StatusPopupStrangeNumber = true;
    s.NotesPopup = true;
    s.NotesPopupLocation = 1;
    s.NotesPopupTime = 60;
    QVERIFY(SaveSoftwareSetting());
    const QByteArray saved = ReadRaw(SettingPath());
    QVERIFY(saved.startsWith("{\n    \"AutoBackup\": true,\n"));  // indented, members in key order

    g_SoftwareSetting = SoftwareSetting();
    LoadSoftwareSetting();
    QCOMPARE(s.BackupPath, QString("/mnt/usb/Calvox backups/"));
    QVERIFY(s.AutoBackup && s.AutoUpgrade && s.AutoSyncTime && s.WarningPopup && s.StatusPopup);
    QVERIFY(s.StatusPopupComingCall && s.StatusPopupOutgoingCall && s.StatusPopupStrangeNumber && s.NotesPopup);
    QCOMPARE(s.BackupCycle, 2);
    QCOMPARE(s.WarningPopupTime, 30);
    QCOMPARE(s.StatusPopupLocation, 0);
    QCOMPARE(s.StatusPopupTime, -1);
    QCOMPARE(s.NotesPopupLocation, 1);
    QCOMPARE(s.NotesPopupTime, 60);
    QCOMPARE(ReadRaw(SettingPath()), saved);
}

void TestSettings::saveReportsAFailedWrite()
{
    g_SoftwareSetting.Language = "English";
    QVERIFY(SaveSoftwareSetting());
    const QByteArray before = ReadRaw(SettingPath());
    const QString dataPath = g_DataPath;
    g_DataPath = m_home.path() + "/no/such/folder";
    g_SoftwareSetting.BackupPath = "/changed/";
    QVERIFY(!SaveSoftwareSetting());
    QCOMPARE(g_SoftwareSetting.BackupPath, QString("/changed/"));  // memory keeps the new values
    g_DataPath = dataPath;
    QCOMPARE(ReadRaw(SettingPath()), before);
}

void TestSettings::volume_data()
{
    QTest::addColumn<QByteArray>("content");  // "<missing>" for no file
    QTest::addColumn<int>("volume");
    QTest::addColumn<QByteArray>("fileAfter");
    QTest::newRow("missing file") << QByteArray("<missing>") << 100 << QByteArray("100");
    QTest::newRow("number") << QByteArray("35") << 35 << QByteArray("35");
    QTest::newRow("garbage") << QByteArray("abc") << 0 << QByteArray("abc");
    QTest::newRow("empty") << QByteArray("") << 0 << QByteArray("");
    QTest::newRow("line end from an editor") << QByteArray("80\n") << 80 << QByteArray("80\n");
}

void TestSettings::volume()
{
    QFETCH(QByteArray, content);
    QFETCH(int, volume);
    QFETCH(QByteArray, fileAfter);
    if (content != "<missing>")
        WriteRaw(g_DataPath + "/Volume", content);
    g_Volume = 55;
    LoadVolume();
    QCOMPARE(g_Volume, volume);
    QCOMPARE(ReadRaw(g_DataPath + "/Volume"), fileAfter);

    g_Volume = 7;
    SaveVolume();
    QCOMPARE(ReadRaw(g_DataPath + "/Volume"), QByteArray("7"));
}

void TestSettings::autoStartFollowsTheSetting()
{
    const QString entry = m_home.path() + "/config/autostart/scrivlet.desktop";
    QCOMPARE(AutoStartEntryPath(), entry);

    g_SoftwareSetting.Language = "English";
    g_SoftwareSetting.AutoStartup = true;
    QVERIFY(SaveSoftwareSetting());
    const QByteArray text = ReadRaw(entry);
    QVERIFY2(text.startsWith("[Desktop Entry]\n"), text.constData());
    QCOMPARE(UnquoteExec(ExecOf(text)), QCoreApplication::applicationFilePath());
    QVERIFY(QFileInfo(QCoreApplication::applicationFilePath()).isAbsolute());
    const QString complaints = Validate(entry);
    QVERIFY2(complaints.isEmpty(), qPrintable(complaints));

    g_SoftwareSetting.AutoStartup = false;
    QVERIFY(SaveSoftwareSetting());
    QVERIFY(!QFileInfo::exists(entry));
    QVERIFY(SetAutoStart(false));  // off when already off
}

// The settings file is still written, but the save reports the entry that is not as asked.
void TestSettings::autoStartFailureFailsTheSave_data()
{
    QTest::addColumn<bool>("on");
    QTest::newRow("on: configuration folder below a file") << true;
    QTest::newRow("off: a folder in the entry's place") << false;
}

void TestSettings::autoStartFailureFailsTheSave()
{
    QFETCH(bool, on);
    if (on) {
        WriteRaw(m_home.path() + "/plainfile", "x");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.path() + "/plainfile/config"));
    } else {
        QVERIFY(QDir().mkpath(AutoStartEntryPath() + "/inside"));
    }
    g_SoftwareSetting.Language = "English";
    g_SoftwareSetting.AutoStartup = on;
    g_SoftwareSetting.BackupPath = "/kept/";
    QVERIFY(!SaveSoftwareSetting());
    QCOMPARE(QJsonDocument::fromJson(ReadRaw(SettingPath())).object().value("BackupPath").toString(),
             QString("/kept/"));
    if (!on)
        QVERIFY(QDir(AutoStartEntryPath()).removeRecursively());
}

void TestSettings::autoStartEntryQuotesAnyPath_data()
{
    QTest::addColumn<QString>("program");
    QTest::newRow("plain") << "/opt/calvox/CalvoxClient";
    QTest::newRow("blanks") << "/home/ann/My Programs/Calvox Client";
    QTest::newRow("shell characters") << "/opt/a\"b`c$d\\e/CalvoxClient";
    QTest::newRow("percent") << "/opt/100%/CalvoxClient %f";
    QTest::newRow("not Latin") << "/opt/录音/CalvoxClient";
}

void TestSettings::autoStartEntryQuotesAnyPath()
{
    QFETCH(QString, program);
    const QByteArray text = AutoStartEntryText(program).toUtf8();
    QCOMPARE(UnquoteExec(ExecOf(text)), program);
    const QString path = m_home.path() + "/quoted.desktop";
    WriteRaw(path, text);
    const QString complaints = Validate(path);
    QVERIFY2(complaints.isEmpty(), qPrintable(complaints + "\n" + QString::fromUtf8(text)));
}

void TestSettings::nothingButTheExpectedFilesIsWritten()
{
    // No registry-named file or folder appears: the settings layer writes only its own files.
    g_SoftwareSetting.Language = "English";
    g_SoftwareSetting.AutoStartup = true;
    QVERIFY(SaveSoftwareSetting());
    LoadVolume();
    QStringList files;
    for (const QString& root : {m_home.path() + "/config", m_home.path() + "/share"}) {
        QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next().mid(m_home.path().size());
    }
    files.sort();
    QCOMPARE(files, (QStringList{"/config/autostart/scrivlet.desktop", "/share/CalvoxClient/SoftwareSetting",
                                 "/share/CalvoxClient/Volume"}));
    QVERIFY(SetAutoStart(false));
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
