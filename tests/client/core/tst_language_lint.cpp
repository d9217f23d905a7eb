// Lint over every built-in language file and window text map: what a translator or an edit of the text
// table can break without anything failing at run time.

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSettings>
#include <QtTest>

namespace {

using Texts = QMap<QString, QMap<QString, QString>>;

// The value as the file means it: a quoted value without its quotes and escapes, else the raw value
// without the blanks at its ends. Qt's INI reader must give exactly this, as one text.
QString IntendedValue(QString raw, QString* problem)
{
    raw = raw.trimmed();
    if (!raw.startsWith('"')) {
        if (raw.contains(QRegularExpression("[,;\\\\\"]")))
            *problem = "unquoted value holds , ; \\ or \"";
        return raw;
    }
    QString text;
    for (int i = 1; i < raw.size(); ++i) {
        const QChar c = raw.at(i);
        if (c == '\\' && i + 1 < raw.size()) {
            const QChar n = raw.at(++i);
            if (n != '\\' && n != '"')
                *problem = QString("escape \\%1 in a quoted value").arg(n);
            text += n;
        } else if (c == '"') {
            if (i != raw.size() - 1)
                *problem = "text after the closing quote";
            return text.startsWith("@@") ? text.mid(1) : text;
        } else {
            text += c;
        }
    }
    *problem = "no closing quote";
    return text;
}

// Reads the raw file line by line and compares each value with what Qt's INI reader makes of it.
Texts LintAndRead(const QString& path, QStringList* errors)
{
    Texts raw;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        errors->append(path + ": cannot open");
        return raw;
    }
    const QByteArray bytes = file.readAll();
    if (bytes.contains("\n") && bytes.count("\n") != bytes.count("\r\n"))
        errors->append(path + ": line ends are not all CRLF");
    QString group;
    int number = 0;
    for (const QString& line : QString::fromUtf8(bytes).split("\r\n")) {
        ++number;
        const QString where = QString("%1:%2: ").arg(path).arg(number);
        if (line.trimmed().isEmpty())
            continue;
        if (line.startsWith('[')) {
            group = line.mid(1, line.indexOf(']') - 1);
            if (raw.contains(group))
                errors->append(where + "group [" + group + "] repeated");
            raw[group];
            continue;
        }
        const int eq = line.indexOf('=');
        if (eq < 0 || group.isEmpty()) {
            errors->append(where + "not key=value");
            continue;
        }
        const QString key = line.left(eq).trimmed();
        QString problem;
        const QString value = IntendedValue(line.mid(eq + 1), &problem);
        if (!problem.isEmpty())
            errors->append(where + problem);
        if (raw[group].contains(key))
            errors->append(where + "key repeated");
        raw[group].insert(key, value);
    }

    QSettings settings(path, QSettings::IniFormat);
    settings.setIniCodec("UTF-8");
    for (auto g = raw.constBegin(); g != raw.constEnd(); ++g) {
        for (auto k = g->constBegin(); k != g->constEnd(); ++k) {
            const QVariant read = settings.value(g.key() + "/" + k.key());
            const QString where = QString("%1: [%2] %3: ").arg(path, g.key(), k.key());
            if (read.type() != QVariant::String)
                errors->append(where + "read as " + read.typeName() + ", not one text");
            else if (read.toString() != k.value())
                errors->append(where + "read as \"" + read.toString() + "\", meant \"" + k.value() + "\"");
        }
    }
    return raw;
}

QStringList LanguageFiles()
{
    QStringList files;
    for (const QString& name : QDir(":/locale").entryList(QDir::Files, QDir::Name))
        files.append(":/locale/" + name);
    return files;
}

}  // namespace

class TestLanguageLint : public QObject
{
    Q_OBJECT

    Texts m_English;

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(language);
        QStringList errors;
        m_English = LintAndRead(":/locale/01_English.ini", &errors);
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join('\n')));
        QVERIFY(m_English.size() > 20);
    }

    void EveryFileMatchesEnglish_data()
    {
        QTest::addColumn<QString>("path");
        for (const QString& path : LanguageFiles())
            QTest::newRow(qPrintable(path)) << path;
    }

    // Same groups and keys as English, every value one text as the file means it, every list text with
    // the item count of the English one, no empty text except the window title.
    void EveryFileMatchesEnglish()
    {
        QFETCH(QString, path);
        QStringList errors;
        const Texts texts = LintAndRead(path, &errors);
        QVERIFY(!texts.value("Language").value("Name").isEmpty());
        QVERIFY(!texts.value("Language").value("EnglishName").isEmpty());
        if (texts.keys() != m_English.keys())
            errors.append("groups differ from English");
        for (auto g = m_English.constBegin(); g != m_English.constEnd(); ++g) {
            if (g.key() == "Language")
                continue;
            const QMap<QString, QString> own = texts.value(g.key());
            if (own.keys() != g->keys())
                errors.append(QString("[%1]: keys differ from English").arg(g.key()));
            for (auto k = g->constBegin(); k != g->constEnd(); ++k) {
                const QString where = QString("[%1] %2: ").arg(g.key(), k.key());
                if (!own.contains(k.key()))
                    continue;
                const QString text = own.value(k.key());
                if (text.count('|') != k.value().count('|'))
                    errors.append(where + QString("%1 items, English has %2")
                                              .arg(text.count('|') + 1).arg(k.value().count('|') + 1));
                if (text.isEmpty() && !(g.key() == "MainForm" && k.key() == "001"))
                    errors.append(where + "empty");
            }
        }
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join('\n')));
    }

    // Lists that the windows read back by index: their item counts are part of the program.
    void EnglishListsHaveTheirItemCounts()
    {
        const struct { const char* group; const char* key; int items; } lists[] = {
            {"Device", "031", 7}, {"Device", "032", 9},
            {"SoftwareSettingForm", "004", 3}, {"SoftwareSettingForm", "014", 2},
            {"DeviceManageForm", "003", 7}, {"DeviceManageForm", "004", 7}, {"DeviceManageForm", "005", 2},
            {"MonitorTabPage", "001", 11}, {"MonitorTabPage", "002", 4},
            {"RecordTabPage", "016", 2}, {"RecordTabPage", "017", 9}, {"RecordTabPage", "018", 12},
            {"RecordTabPage", "019", 7}, {"OnlineUserTabPage", "001", 5},
            {"ContactsTabPage", "001", 4}, {"ContactsTabPage", "002", 9}, {"ContactsTabPage", "003", 6},
            {"SettingTabPage", "064", 10}, {"SettingTabPage", "087", 7}, {"SettingTabPage", "088", 7},
            {"SettingTabPage", "130", 2}, {"SettingTabPage", "166", 3}, {"SettingTabPage", "170", 6},
            {"SettingTabPage", "181", 3}, {"AddUserForm", "001", 2}, {"ContactsEditForm", "001", 2},
            {"ContactsEditForm", "011", 2}, {"StatusPopupForm", "001", 2}, {"RecordStatisticsForm", "002", 19},
        };
        for (const auto& list : lists) {
            const QString text = m_English.value(list.group).value(list.key);
            QVERIFY2(text.split('|').size() == list.items,
                     qPrintable(QString("[%1] %2: \"%3\"").arg(list.group, list.key, text)));
        }
    }

    // Every window group has its map, and every map member names a key of its group.
    void EveryMapMemberIsAKeyOfItsGroup()
    {
        const QStringList windows = {
            "MainForm", "SoftwareSettingForm", "SkinForm", "DeviceManageForm", "RegisterDeviceForm", "DialForm",
            "MonitorTabPage", "RecordTabPage", "OnlineUserTabPage", "ContactsTabPage", "SettingTabPage",
            "BackupsTabPage", "AddUserForm", "ContactsEditForm", "EditRecordNotesForm", "ChannelSelectForm",
            "WeekSelectForm", "StatusPopupForm", "RecordPopupForm", "RecordStatisticsForm"};
        QStringList groups = m_English.keys();
        for (const char* shared : {"Language", "Tips", "Misc", "Device"})
            groups.removeOne(shared);
        QCOMPARE(QSet<QString>(groups.begin(), groups.end()), QSet<QString>(windows.begin(), windows.end()));

        QStringList errors;
        for (const QString& window : windows) {
            QFile file(":/" + window + ".json");
            if (!file.open(QIODevice::ReadOnly)) {
                errors.append(window + ": no map");
                continue;
            }
            QJsonParseError parse;
            const QJsonDocument map = QJsonDocument::fromJson(file.readAll(), &parse);
            if (parse.error != QJsonParseError::NoError || !map.isObject() || map.object().isEmpty()) {
                errors.append(window + ": map is not a JSON object with members");
                continue;
            }
            const QJsonObject members = map.object();
            for (auto m = members.constBegin(); m != members.constEnd(); ++m) {
                if (!m.value().isString() || !m_English.value(window).contains(m.value().toString()))
                    errors.append(QString("%1.json: %2 names no key of [%1]").arg(window, m.key()));
            }
        }
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join('\n')));
        // The maps as the windows name their widgets, spelling included.
        QCOMPARE(QDir(":/").entryList({"*.json"}).size(), windows.size());
    }

    void MapMembersAsTheWindowsNameThem()
    {
        const auto member = [](const QString& window, const QString& name) {
            QFile file(":/" + window + ".json");
            file.open(QIODevice::ReadOnly);
            return QJsonDocument::fromJson(file.readAll()).object().value(name).toString();
        };
        QCOMPARE(member("StatusPopupForm", "CloselButton"), QString("007"));
        QCOMPARE(member("RecordPopupForm", "CloselButton"), QString("007"));
        QCOMPARE(member("RegisterDeviceForm", "DeviceNamLabel"), QString("003"));
        QCOMPARE(member("SettingTabPage", "EnabelSMDRCheckBox"), QString("160"));
        QCOMPARE(member("SettingTabPage", "SMDRSettingLabel20"), QString("155"));
        QCOMPARE(member("SettingTabPage", "ScheduledRestartCheckBox7"), QString("188"));
        QCOMPARE(member("AddUserForm", "SelectAllChannelCheckBox"), QString("011"));
        QCOMPARE(member("MainForm", "Title"), QString("001"));
        QFile setting(":/SettingTabPage.json");
        QVERIFY(setting.open(QIODevice::ReadOnly));
        QCOMPARE(QJsonDocument::fromJson(setting.readAll()).object().size(), 234);
    }

    // The lint itself: values that Qt's INI reader would mangle are caught.
    void LintCatchesMangledValues_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("clean");
        QTest::newRow("quoted comma") << QByteArray("001=\"a, b\"") << true;
        QTest::newRow("quoted semicolon") << QByteArray("001=\"a; b\"") << true;
        QTest::newRow("quoted backslash") << QByteArray("001=\"a \\\\ b\"") << true;
        QTest::newRow("quoted blanks") << QByteArray("001=\"DHCP |Static IP\"") << true;
        QTest::newRow("plain") << QByteArray("001=Plain text") << true;
        QTest::newRow("comma") << QByteArray("001=a, b") << false;
        QTest::newRow("semicolon") << QByteArray("001=a; b") << false;
        QTest::newRow("backslash") << QByteArray("001=a \\ b") << false;
        QTest::newRow("variant") << QByteArray("001=\"@Variant(x)\"") << false;
        QTest::newRow("unclosed") << QByteArray("001=\"abc") << false;
    }

    void LintCatchesMangledValues()
    {
        QFETCH(QByteArray, line);
        QFETCH(bool, clean);
        QTemporaryDir dir;
        QFile file(dir.path() + "/x.ini");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[G]\r\n" + line + "\r\n");
        file.close();
        QStringList errors;
        LintAndRead(file.fileName(), &errors);
        QCOMPARE(errors.isEmpty(), clean);
    }
};

QTEST_MAIN(TestLanguageLint)
#include "tst_language_lint.moc"
