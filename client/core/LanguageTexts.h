#pragma once

// The shared texts of the loaded language: one global per key of the groups [Tips], [Misc] and [Device],
// named Text<Group><key>. They start empty and change only when Language::Load loads a language; a key
// that the loaded file lacks leaves its global empty (its group present) or as it was (group absent).
// TextDevice031 (record-mode names, 7 items in English) and TextDevice032 (record-type names, indexed by
// RecordType, 9 items) are lists: the text split at every "|", empty parts kept.
// Written on the GUI thread only. The GUI thread reads them as they are; any other thread (the auto-login
// sequence, record search and backup workers) reads a text through TextForThread, which copies it under the
// lock that a language change holds while it replaces the texts. The copy keeps the text it got alive, so a
// row filled while the language changes shows the old or the new text, never a torn one; the next fill
// shows the new language.

#include <QString>
#include <QStringList>

QString TextForThread(const QString& text);
QStringList TextForThread(const QStringList& text);

extern QString TextTips001;
extern QString TextTips002;
extern QString TextTips003;
extern QString TextTips004;
extern QString TextTips005;
extern QString TextTips006;
extern QString TextTips007;
extern QString TextTips008;
extern QString TextTips009;
extern QString TextTips010;
extern QString TextTips011;
extern QString TextTips012;
extern QString TextTips013;
extern QString TextTips014;
extern QString TextTips015;
extern QString TextTips016;
extern QString TextTips017;
extern QString TextTips018;
extern QString TextTips019;
extern QString TextTips020;

extern QString TextMisc001;
extern QString TextMisc002;
extern QString TextMisc003;
extern QString TextMisc004;
extern QString TextMisc005;
extern QString TextMisc006;
extern QString TextMisc007;
extern QString TextMisc008;
extern QString TextMisc009;
extern QString TextMisc010;
extern QString TextMisc011;
extern QString TextMisc012;
extern QString TextMisc013;
extern QString TextMisc014;
extern QString TextMisc015;
extern QString TextMisc016;
extern QString TextMisc017;
extern QString TextMisc018;
extern QString TextMisc019;
extern QString TextMisc020;
extern QString TextMisc021;
extern QString TextMisc022;
extern QString TextMisc023;
extern QString TextMisc024;
extern QString TextMisc025;

extern QString TextDevice001;
extern QString TextDevice002;
extern QString TextDevice003;
extern QString TextDevice004;
extern QString TextDevice005;
extern QString TextDevice006;
extern QString TextDevice007;
extern QString TextDevice008;
extern QString TextDevice009;
extern QString TextDevice010;
extern QString TextDevice011;
extern QString TextDevice012;
extern QString TextDevice013;
extern QString TextDevice014;
extern QString TextDevice015;
extern QString TextDevice016;
extern QString TextDevice017;
extern QString TextDevice018;
extern QString TextDevice019;
extern QString TextDevice020;
extern QString TextDevice021;
extern QString TextDevice022;
extern QString TextDevice023;
extern QString TextDevice024;
extern QString TextDevice025;
extern QString TextDevice026;
extern QString TextDevice027;
extern QString TextDevice028;
extern QString TextDevice029;
extern QString TextDevice030;
extern QStringList TextDevice031;
extern QStringList TextDevice032;
extern QString TextDevice033;
extern QString TextDevice034;
extern QString TextDevice035;
extern QString TextDevice036;
extern QString TextDevice037;
extern QString TextDevice038;
extern QString TextDevice039;
extern QString TextDevice040;
extern QString TextDevice041;
extern QString TextDevice042;
extern QString TextDevice043;
extern QString TextDevice044;
