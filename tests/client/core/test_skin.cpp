// Skin: the text colour that goes on a theme colour, the "SkinSetting" file, re-colouring by class.

#include "Skin.h"
#include "DataFolder.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class TestSkin : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_Folder;
    QString SettingPath() const { return m_Folder->path() + "/SkinSetting"; }

    void WriteSetting(const QByteArray& data)
    {
        QFile file(SettingPath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(data);
    }

    QByteArray ReadSetting()
    {
        QFile file(SettingPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void init()
    {
        m_Folder.reset(new QTemporaryDir);
        QVERIFY(m_Folder->isValid());
        g_DataPath = m_Folder->path();
        new Skin;
        QVERIFY(g_Skin);
    }

    void cleanup()
    {
        delete g_Skin;
        QVERIFY(!g_Skin);
    }

    void TextColor_data()
    {
        QTest::addColumn<QColor>("theme");
        QTest::addColumn<QColor>("text");
        const QColor grey(100, 100, 100), white(Qt::white);
        QTest::newRow("white, L 1.0") << QColor(255, 255, 255) << grey;
        QTest::newRow("default, L 0.618") << QColor(82, 178, 250) << white;
        QTest::newRow("200,200,0, L 0.695") << QColor(200, 200, 0) << white;
        QTest::newRow("200,200,50, L 0.717") << QColor(200, 200, 50) << grey;
        QTest::newRow("black") << QColor(0, 0, 0) << white;
        QTest::newRow("yellow, L 0.886") << QColor(255, 255, 0) << grey;
    }

    void TextColor()
    {
        QFETCH(QColor, theme);
        QFETCH(QColor, text);
        Skin::SetThemeColor(theme);
        QCOMPARE(g_ThemeColor, theme);
        QCOMPARE(g_TextColor, text);
        QCOMPARE(g_TextColor.alpha(), 255);
        QCOMPARE((QVector<int>{g_ThemeRed, g_ThemeGreen, g_ThemeBlue}),
                 (QVector<int>{theme.red(), theme.green(), theme.blue()}));
        QCOMPARE((QVector<int>{g_TextRed, g_TextGreen, g_TextBlue}),
                 (QVector<int>{text.red(), text.green(), text.blue()}));
    }

    void ThemeColorIsOpaque()
    {
        Skin::SetThemeColor(QColor(10, 20, 30, 40));
        QCOMPARE(g_ThemeColor, QColor(10, 20, 30));
    }

    void Load_data()
    {
        QTest::addColumn<QByteArray>("file");  // "-" for no file
        QTest::addColumn<QColor>("theme");
        QTest::addColumn<bool>("saved");       // the default was written back
        QTest::newRow("default value") << QByteArray("{\"BackColor\": -11357446}") << QColor(82, 178, 250) << false;
        QTest::newRow("red") << QByteArray("{\"BackColor\": -65536}") << QColor(255, 0, 0) << false;
        QTest::newRow("no alpha stored") << QByteArray("{\"BackColor\": 255}") << QColor(0, 0, 255) << false;
        QTest::newRow("empty object") << QByteArray("{}") << QColor(0, 0, 0) << false;
        QTest::newRow("no file") << QByteArray("-") << QColor(82, 178, 250) << true;
        QTest::newRow("not JSON") << QByteArray("BackColor=1") << QColor(82, 178, 250) << true;
        QTest::newRow("empty file") << QByteArray("") << QColor(82, 178, 250) << true;
        QTest::newRow("array") << QByteArray("[-65536]") << QColor(82, 178, 250) << true;
    }

    void Load()
    {
        QFETCH(QByteArray, file);
        QFETCH(QColor, theme);
        QFETCH(bool, saved);
        if (file != "-")
            WriteSetting(file);
        QSignalSpy changed(g_Skin, &Skin::SkinChanged);
        Skin::Load();
        QCOMPARE(g_ThemeColor, theme);
        QCOMPARE(changed.count(), 1);
        if (saved)
            QCOMPARE(QJsonDocument::fromJson(ReadSetting()).object().value("BackColor").toInt(), -11357446);
        else
            QCOMPARE(ReadSetting(), file);  // a good file is not rewritten
    }

    void SaveWritesSignedArgb()
    {
        Skin::SetThemeColor(QColor(82, 178, 250));
        QSignalSpy changed(g_Skin, &Skin::SkinChanged);
        QVERIFY(Skin::Save());
        QCOMPARE(changed.count(), 1);
        const QByteArray data = ReadSetting();
        QCOMPARE(data, QJsonDocument(QJsonObject{{"BackColor", -11357446}}).toJson());
        QVERIFY(data.contains("\n    \"BackColor\": -11357446\n"));
        Skin::SetThemeColor(Qt::black);
        Skin::Load();
        QCOMPARE(g_ThemeColor, QColor(82, 178, 250));
    }

    void SaveFailureKeepsOldFileAndSignalsNothing()
    {
        WriteSetting("{\"BackColor\": -65536}");
        g_DataPath = "/proc";  // cannot be written, even by root
        Skin::SetThemeColor(QColor(1, 2, 3));
        QSignalSpy changed(g_Skin, &Skin::SkinChanged);
        QVERIFY(!Skin::Save());
        QCOMPARE(changed.count(), 0);
        // On the load path the default colour still applies, but no one is told.
        Skin::Load();
        QCOMPARE(g_ThemeColor, QColor(82, 178, 250));
        QCOMPARE(changed.count(), 0);
        QCOMPARE(ReadSetting(), QByteArray("{\"BackColor\": -65536}"));
    }
};

QTEST_MAIN(TestSkin)
#include "test_skin.moc"
