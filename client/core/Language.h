#pragma once

// The client's texts. No visible text is written in code: every text comes from one of the built-in
// language files (INI, UTF-8, resource folder ":/locale"), loaded into g_LanguageTexts and into the
// Text<Group><key> globals, and applied to a window's widgets through the window's JSON text map
// (resource ":/<object name>.json": widget object name, or "Title", -> key of the window's group).
// All state is global and GUI-thread only; the one Language object, g_Language, exists for its signal.

#include "LanguageTexts.h"

#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>

class QWidget;

class Language : public QObject
{
    Q_OBJECT

public:
    // Lists the built-in languages (g_LanguageNames and the parallel lists) and writes the "OEM" file
    // beside the program when it is missing. Made once, by the main window, before the settings load.
    Language();
    ~Language() override;

    // The [Language] Name of every built-in file, in file-name order (g_LanguageNames).
    static const QStringList& Names();

    // Loads the language whose Name is `name` into g_LanguageTexts and the Text globals, reads the "OEM"
    // file for its title and font size, then emits LanguageChanged on g_Language. A name that is not one
    // of Names() loads the first built-in language, so the client never runs without texts.
    static void Load(const QString& name);

    // Fills the Text<Group><key> globals of Tips, Misc and Device from g_LanguageTexts. A group that the
    // loaded file lacks (or that is empty) leaves its globals as they were; a missing key empties its one.
    static void LoadTexts();

    // Writes "OEM" beside the program when it is missing: {"Title": {English name: window title}} for
    // every built-in language, a title from an extra "Language/*.ini" file beside the program winning
    // over the built-in one. Written once; never overwritten (an operator may have edited it).
    static void WriteOemFile();

    // Reads the window title for the language of that English name and the title font size from "OEM"
    // into g_OemTitle and g_OemFontSize. Without a readable "OEM" (or without a title for the language)
    // the title is the loaded language's [MainForm] 001; the size is 14 unless "OEM" gives a positive one.
    static void ReadOemFile(const QString& englishName);

    // Sets the texts of the window's widgets from the window's text map and its group of the loaded
    // language. An empty or missing text leaves a widget as it is; a member "Title" that names no widget
    // sets the title of a ZForm window.
    static void ApplyLanguage(QWidget* window);

signals:
    void LanguageChanged();
};

extern Language* g_Language;

extern QStringList g_LanguageNames;         // [Language] Name of each built-in file, file-name order
extern QStringList g_LanguageEnglishNames;  // parallel: [Language] EnglishName (key of its "OEM" title)
extern QStringList g_LanguageTitles;        // parallel: [MainForm] 001, the default window title
extern QMap<QString, QString> g_LanguageFiles;                   // Name -> resource path of the file
extern QMap<QString, QMap<QString, QString>> g_LanguageTexts;    // group -> key -> text, loaded language
extern QString g_OemTitle;                  // main-window title of the loaded language
extern int g_OemFontSize;                   // main-window title font size; 0 until a language loads
