#pragma once

#include <QString>
#include <QStringList>

// The client's own version, which the update check compares with the server's.
extern const QString ClientVersion;

// True when the server's version text hands over to the updater: four dotted numbers (IsVersionText) that
// differ from ClientVersion as text. Any different version counts, an older one too (the server decides which
// client to run); anything else - empty, trailing blanks, an error page - never does.
bool IsOfferedClientVersion(const QString& latestVersion);

// The program that installs a new client: "Upgrade" in the program folder.
QString UpdaterPath();

// The updater's two arguments: the theme colour and the text colour, each its ARGB value as lower-case
// hexadecimal of at least six digits (ff52b2fa ffffffff for the default theme).
QStringList UpdaterArguments();

// Starts the updater by its absolute path, detached, in the client's working folder, and when it started ends
// the application's event loops with exit code 0. When it did not start (missing, not executable) the client
// runs on and the result is false.
bool LaunchUpdater();
