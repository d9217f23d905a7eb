#pragma once

// The settings page's rules that need no window: texts made from device values, the checks of the operator's
// input, and the reading of the recorder's announcement list.

#include <QString>
#include <QStringList>

struct Calvox_PlayBackFileList;
enum class LoginStep;

// A size in megabytes as the page shows it: up to 1024 "<n>MB" (general format, 6 significant digits), above
// "<n/1024 with two decimals>GB".
QString StorageSizeText(int megabytes);

// The value of the settings page's position indicator (0 to 100) for a scroll position, from the ten bookmark
// buttons' scroll positions (Tags): the last section whose bookmark lies less than 200 pixels below the
// position (100 for the last section) is the one shown.
int BookmarkIndicatorValue(int location, const qintptr (&bookmarkTags)[10]);

// A port field's text as the login and save take it. A text that is not a number is port 0 (the field's
// filter lets little else through); a number outside 0..65535 is refused (false), since the SDK would keep
// only its low 16 bits.
bool PortFieldValue(const QString& text, int* port);

// Whether a local file name may go to the recorder as an announcement: not empty, printable ASCII only, none
// of \ / : * ? " < > |. The recorder's file system holds single-byte names and the name becomes part of a
// device path.
bool IsAnnouncementFileName(const QString& name);

// Whether a name from the recorder's announcement list may be joined to "/PlayBackFiles/" for a delete: a name
// with a '/' or "." or ".." would name another file or folder.
bool IsListedAnnouncementName(const QString& name);

// The names of the recorder's announcement list, in its order: min(Count, 20) slots, each read up to its
// terminator within its 28 bytes, as Latin-1. Empty for a null record.
QStringList PlayBackFileNames(const Calvox_PlayBackFileList* list);

// What a login from the settings page says when its chain stopped at `step` with `code`: the login's own
// failures by code (no reply, wrong account, too many users, anything else), every later step by its group.
QString LoginFailureText(LoginStep step, int code);

// The index an announcement combo box selects after its items were replaced by `names`: that of the name it
// had chosen, -1 when that name is gone or none was chosen.
int KeepChosenName(const QStringList& names, const QString& chosen);
