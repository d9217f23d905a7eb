#include "LanguageTexts.h"
#include "LanguageTextTable.h"

QString TextTips001;
QString TextTips002;
QString TextTips003;
QString TextTips004;
QString TextTips005;
QString TextTips006;
QString TextTips007;
QString TextTips008;
QString TextTips009;
QString TextTips010;
QString TextTips011;
QString TextTips012;
QString TextTips013;
QString TextTips014;
QString TextTips015;
QString TextTips016;
QString TextTips017;
QString TextTips018;
QString TextTips019;
QString TextTips020;

QString TextMisc001;
QString TextMisc002;
QString TextMisc003;
QString TextMisc004;
QString TextMisc005;
QString TextMisc006;
QString TextMisc007;
QString TextMisc008;
QString TextMisc009;
QString TextMisc010;
QString TextMisc011;
QString TextMisc012;
QString TextMisc013;
QString TextMisc014;
QString TextMisc015;
QString TextMisc016;
QString TextMisc017;
QString TextMisc018;
QString TextMisc019;
QString TextMisc020;
QString TextMisc021;
QString TextMisc022;
QString TextMisc023;
QString TextMisc024;
QString TextMisc025;

QString TextDevice001;
QString TextDevice002;
QString TextDevice003;
QString TextDevice004;
QString TextDevice005;
QString TextDevice006;
QString TextDevice007;
QString TextDevice008;
QString TextDevice009;
QString TextDevice010;
QString TextDevice011;
QString TextDevice012;
QString TextDevice013;
QString TextDevice014;
QString TextDevice015;
QString TextDevice016;
QString TextDevice017;
QString TextDevice018;
QString TextDevice019;
QString TextDevice020;
QString TextDevice021;
QString TextDevice022;
QString TextDevice023;
QString TextDevice024;
QString TextDevice025;
QString TextDevice026;
QString TextDevice027;
QString TextDevice028;
QString TextDevice029;
QString TextDevice030;
QStringList TextDevice031;
QStringList TextDevice032;
QString TextDevice033;
QString TextDevice034;
QString TextDevice035;
QString TextDevice036;
QString TextDevice037;
QString TextDevice038;
QString TextDevice039;
QString TextDevice040;
QString TextDevice041;
QString TextDevice042;
QString TextDevice043;
QString TextDevice044;

const QVector<TextGroupGlobals>& TextGlobalGroups()
{
    static const QVector<TextGroupGlobals> groups = {
        {QStringLiteral("Tips"), {
            {QStringLiteral("001"), &TextTips001, nullptr},
            {QStringLiteral("002"), &TextTips002, nullptr},
            {QStringLiteral("003"), &TextTips003, nullptr},
            {QStringLiteral("004"), &TextTips004, nullptr},
            {QStringLiteral("005"), &TextTips005, nullptr},
            {QStringLiteral("006"), &TextTips006, nullptr},
            {QStringLiteral("007"), &TextTips007, nullptr},
            {QStringLiteral("008"), &TextTips008, nullptr},
            {QStringLiteral("009"), &TextTips009, nullptr},
            {QStringLiteral("010"), &TextTips010, nullptr},
            {QStringLiteral("011"), &TextTips011, nullptr},
            {QStringLiteral("012"), &TextTips012, nullptr},
            {QStringLiteral("013"), &TextTips013, nullptr},
            {QStringLiteral("014"), &TextTips014, nullptr},
            {QStringLiteral("015"), &TextTips015, nullptr},
            {QStringLiteral("016"), &TextTips016, nullptr},
            {QStringLiteral("017"), &TextTips017, nullptr},
            {QStringLiteral("018"), &TextTips018, nullptr},
            {QStringLiteral("019"), &TextTips019, nullptr},
            {QStringLiteral("020"), &TextTips020, nullptr},
        }},
        {QStringLiteral("Misc"), {
            {QStringLiteral("001"), &TextMisc001, nullptr},
            {QStringLiteral("002"), &TextMisc002, nullptr},
            {QStringLiteral("003"), &TextMisc003, nullptr},
            {QStringLiteral("004"), &TextMisc004, nullptr},
            {QStringLiteral("005"), &TextMisc005, nullptr},
            {QStringLiteral("006"), &TextMisc006, nullptr},
            {QStringLiteral("007"), &TextMisc007, nullptr},
            {QStringLiteral("008"), &TextMisc008, nullptr},
            {QStringLiteral("009"), &TextMisc009, nullptr},
            {QStringLiteral("010"), &TextMisc010, nullptr},
            {QStringLiteral("011"), &TextMisc011, nullptr},
            {QStringLiteral("012"), &TextMisc012, nullptr},
            {QStringLiteral("013"), &TextMisc013, nullptr},
            {QStringLiteral("014"), &TextMisc014, nullptr},
            {QStringLiteral("015"), &TextMisc015, nullptr},
            {QStringLiteral("016"), &TextMisc016, nullptr},
            {QStringLiteral("017"), &TextMisc017, nullptr},
            {QStringLiteral("018"), &TextMisc018, nullptr},
            {QStringLiteral("019"), &TextMisc019, nullptr},
            {QStringLiteral("020"), &TextMisc020, nullptr},
            {QStringLiteral("021"), &TextMisc021, nullptr},
            {QStringLiteral("022"), &TextMisc022, nullptr},
            {QStringLiteral("023"), &TextMisc023, nullptr},
            {QStringLiteral("024"), &TextMisc024, nullptr},
            {QStringLiteral("025"), &TextMisc025, nullptr},
        }},
        {QStringLiteral("Device"), {
            {QStringLiteral("001"), &TextDevice001, nullptr},
            {QStringLiteral("002"), &TextDevice002, nullptr},
            {QStringLiteral("003"), &TextDevice003, nullptr},
            {QStringLiteral("004"), &TextDevice004, nullptr},
            {QStringLiteral("005"), &TextDevice005, nullptr},
            {QStringLiteral("006"), &TextDevice006, nullptr},
            {QStringLiteral("007"), &TextDevice007, nullptr},
            {QStringLiteral("008"), &TextDevice008, nullptr},
            {QStringLiteral("009"), &TextDevice009, nullptr},
            {QStringLiteral("010"), &TextDevice010, nullptr},
            {QStringLiteral("011"), &TextDevice011, nullptr},
            {QStringLiteral("012"), &TextDevice012, nullptr},
            {QStringLiteral("013"), &TextDevice013, nullptr},
            {QStringLiteral("014"), &TextDevice014, nullptr},
            {QStringLiteral("015"), &TextDevice015, nullptr},
            {QStringLiteral("016"), &TextDevice016, nullptr},
            {QStringLiteral("017"), &TextDevice017, nullptr},
            {QStringLiteral("018"), &TextDevice018, nullptr},
            {QStringLiteral("019"), &TextDevice019, nullptr},
            {QStringLiteral("020"), &TextDevice020, nullptr},
            {QStringLiteral("021"), &TextDevice021, nullptr},
            {QStringLiteral("022"), &TextDevice022, nullptr},
            {QStringLiteral("023"), &TextDevice023, nullptr},
            {QStringLiteral("024"), &TextDevice024, nullptr},
            {QStringLiteral("025"), &TextDevice025, nullptr},
            {QStringLiteral("026"), &TextDevice026, nullptr},
            {QStringLiteral("027"), &TextDevice027, nullptr},
            {QStringLiteral("028"), &TextDevice028, nullptr},
            {QStringLiteral("029"), &TextDevice029, nullptr},
            {QStringLiteral("030"), &TextDevice030, nullptr},
            {QStringLiteral("031"), nullptr, &TextDevice031},
            {QStringLiteral("032"), nullptr, &TextDevice032},
            {QStringLiteral("033"), &TextDevice033, nullptr},
            {QStringLiteral("034"), &TextDevice034, nullptr},
            {QStringLiteral("035"), &TextDevice035, nullptr},
            {QStringLiteral("036"), &TextDevice036, nullptr},
            {QStringLiteral("037"), &TextDevice037, nullptr},
            {QStringLiteral("038"), &TextDevice038, nullptr},
            {QStringLiteral("039"), &TextDevice039, nullptr},
            {QStringLiteral("040"), &TextDevice040, nullptr},
            {QStringLiteral("041"), &TextDevice041, nullptr},
            {QStringLiteral("042"), &TextDevice042, nullptr},
            {QStringLiteral("043"), &TextDevice043, nullptr},
            {QStringLiteral("044"), &TextDevice044, nullptr},
        }},
    };
    return groups;
}

std::mutex& TextGlobalsMutex()
{
    static std::mutex mutex;
    return mutex;
}

QString TextForThread(const QString& text)
{
    std::lock_guard<std::mutex> lock(TextGlobalsMutex());
    return text;
}

QStringList TextForThread(const QStringList& text)
{
    std::lock_guard<std::mutex> lock(TextGlobalsMutex());
    return text;
}
