// The application font: the program folder's "MSYH.TTC" when present, else "Microsoft YaHei" substituted with an
// installed CJK font.
#include "FontSetup.h"
#include "ProgramFolder.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>
#include <QTemporaryDir>
#include <QtTest>

class TestFontSetup : public QObject {
    Q_OBJECT
private slots:
    void missingFontFileFallsBackToYaHeiWithCjkSubstitute();
    void fontFileFromProgramFolderIsUsed();
};

void TestFontSetup::missingFontFileFallsBackToYaHeiWithCjkSubstitute()
{
    QTemporaryDir program;
    QVERIFY(program.isValid());
    SetProgramFolder(program.path());

    const QFont font = SetupApplicationFont();
    QCOMPARE(font.family(), QString("Microsoft YaHei"));
    QCOMPARE(font.pixelSize(), 12);
    QCOMPARE(QApplication::font().family(), QString("Microsoft YaHei"));
    QCOMPARE(QApplication::font().pixelSize(), 12);

    // Both names the windows use resolve to a font that has Chinese glyphs.
    for (const QString& family : {QString("Microsoft YaHei"), QString("微软雅黑")}) {
        QFont asked(family);
        asked.setPixelSize(12);
        const QRawFont raw = QRawFont::fromFont(asked, QFontDatabase::SimplifiedChinese);
        QVERIFY2(raw.isValid(), qPrintable(family));
        QVERIFY2(raw.supportsCharacter(QChar(0x5F55)), qPrintable(family + " -> " + raw.familyName()));  // 录
    }
    QVERIFY(!QFont::substitutes("Microsoft YaHei").isEmpty());
}

void TestFontSetup::fontFileFromProgramFolderIsUsed()
{
    const QString source = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";
    if (!QFile::exists(source))
        QSKIP("fonts-wqy-microhei is not installed: no font file to stand in for MSYH.TTC");
    QTemporaryDir program;
    QVERIFY(program.isValid());
    QVERIFY(QFile::copy(source, program.path() + "/MSYH.TTC"));
    SetProgramFolder(program.path());

    const QFont font = SetupApplicationFont();
    QCOMPARE(font.family(), QString("WenQuanYi Micro Hei"));
    QCOMPARE(font.pixelSize(), 12);
    QCOMPARE(QApplication::font().family(), font.family());
}

QTEST_MAIN(TestFontSetup)
#include "tst_font_setup.moc"
