#pragma once

#include <QString>

// Starting the client with the desktop session: an XDG autostart entry "scrivlet.desktop" in
// $XDG_CONFIG_HOME/autostart (~/.config/autostart by default) that runs the program by its absolute path.

// On: writes the entry for the running program (QCoreApplication::applicationFilePath()). Off: removes the entry.
// True when the entry is as asked afterwards.
bool SetAutoStart(bool on);

// Where the entry lives.
QString AutoStartEntryPath();

// The entry's text for a program path: plain desktop-entry text, the path quoted and escaped in Exec so that
// blanks, quotes, '$', '%' and backslashes reach the launcher unchanged.
QString AutoStartEntryText(const QString& programPath);
