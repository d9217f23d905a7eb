// The settings page's rules without a window: size texts, the position indicator, port fields, announcement
// names and the reading of the recorder's announcement list.
#include "settings/SettingRules.h"

#include "CalvoxSDK.h"

#include <QtTest>

#include <cstring>

class SettingRulesTest : public QObject
{
    Q_OBJECT

private slots:
    void SizeTexts_data()
    {
        QTest::addColumn<int>("megabytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0 << "0MB";
        QTest::newRow("1024 stays megabytes") << 1024 << "1024MB";
        QTest::newRow("1025 is gigabytes") << 1025 << "1.00GB";
        QTest::newRow("1536") << 1536 << "1.50GB";
        QTest::newRow("30000") << 30000 << "29.30GB";
        QTest::newRow("12000") << 12000 << "11.72GB";
    }
    void SizeTexts()
    {
        QFETCH(int, megabytes);
        QFETCH(QString, text);
        QCOMPARE(StorageSizeText(megabytes), text);
    }

    void Indicator_data()
    {
        QTest::addColumn<int>("location");
        QTest::addColumn<int>("value");
        QTest::newRow("top") << 0 << 0;
        QTest::newRow("below bookmark 2's margin") << 279 << 0;
        QTest::newRow("bookmark 2's margin") << 280 << 12;
        QTest::newRow("bookmark 3") << 960 << 23;
        QTest::newRow("just before bookmark 4's margin") << 1179 << 23;
        QTest::newRow("bookmark 9's margin") << 3460 << 89;
        QTest::newRow("just before bookmark 10's margin") << 3759 << 89;
        QTest::newRow("bookmark 10's margin is 100 pixels") << 3760 << 100;
        QTest::newRow("bottom") << 4005 << 100;
    }
    void Indicator()
    {
        QFETCH(int, location);
        QFETCH(int, value);
        const qintptr tags[10] = {0, 480, 960, 1380, 1710, 2070, 2760, 3220, 3660, 3860};
        QCOMPARE(BookmarkIndicatorValue(location, tags), value);
    }

    void Ports_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("port");
        QTest::newRow("6066") << "6066" << true << 6066;
        QTest::newRow("65535") << "65535" << true << 65535;
        QTest::newRow("65536") << "65536" << false << 0;
        QTest::newRow("70000 would connect to 4464") << "70000" << false << 0;
        QTest::newRow("negative") << "-1" << false << 0;
        QTest::newRow("beyond a long long") << "99999999999999999999999" << false << 0;
        QTest::newRow("not a number is port 0") << "abc" << true << 0;
    }
    void Ports()
    {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        QFETCH(int, port);
        int got = -7;
        QCOMPARE(PortFieldValue(text, &got), accepted);
        if (accepted)
            QCOMPARE(got, port);
    }

    void AnnouncementNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("plain") << "hello.wav" << true;
        QTest::newRow("no dot") << "Greeting" << true;
        QTest::newRow("non-ASCII") << QString::fromUtf8("h\xc3\xa9llo.wav") << false;
        QTest::newRow("backslash") << "a\\b.wav" << false;
        QTest::newRow("colon") << "a:b.wav" << false;
        QTest::newRow("star") << "a*.wav" << false;
        QTest::newRow("question mark") << "a?.wav" << false;
        QTest::newRow("quote") << "a\".wav" << false;
        QTest::newRow("angle") << "a<b>.wav" << false;
        QTest::newRow("bar") << "a|b.wav" << false;
        QTest::newRow("newline") << "a\nb.wav" << false;
        QTest::newRow("delete character") << QStringLiteral("a\x7f.wav") << false;
        QTest::newRow("empty") << "" << false;
    }
    void AnnouncementNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, allowed);
        QCOMPARE(IsAnnouncementFileName(name), allowed);
    }

    void ListedNamesThatNameAnotherPlaceAreNotDeleted()
    {
        QVERIFY(IsListedAnnouncementName(QStringLiteral("busy.wav")));
        QVERIFY(IsListedAnnouncementName(QStringLiteral("..a")));
        QVERIFY(!IsListedAnnouncementName(QStringLiteral("../Upgrade/Image.bin")));
        QVERIFY(!IsListedAnnouncementName(QStringLiteral("..")));
        QVERIFY(!IsListedAnnouncementName(QStringLiteral(".")));
        QVERIFY(!IsListedAnnouncementName(QString()));
    }

    void PlayBackListIsReadWithinItsSlots()
    {
        Calvox_PlayBackFileList list;
        std::memset(&list, 0, sizeof list);
        QVERIFY(PlayBackFileNames(nullptr).isEmpty());
        QVERIFY(PlayBackFileNames(&list).isEmpty());

        list.Count = 255;  // more than the record holds: its 20 slots are read, no byte beyond
        for (int i = 0; i < 20; ++i)
            std::memset(list.Names[i], 'a' + i, 28);  // no terminator: the slot ends the name
        list.Names[1][3] = 0;
        list.Names[2][0] = static_cast<char>(0xe9);
        list.Names[2][1] = 0;
        const QStringList names = PlayBackFileNames(&list);
        QCOMPARE(names.size(), 20);
        QCOMPARE(names[0], QString(28, QLatin1Char('a')));
        QCOMPARE(names[1], QStringLiteral("bbb"));
        QCOMPARE(names[2], QString(QChar(0xe9)));  // shown as Latin-1
        QCOMPARE(names[19], QString(28, QLatin1Char('t')));

        list.Count = 2;
        QCOMPARE(PlayBackFileNames(&list).size(), 2);
    }
};

QTEST_GUILESS_MAIN(SettingRulesTest)
#include "tst_setting_rules.moc"
