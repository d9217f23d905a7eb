#pragma once

#include <QString>

// The client's own options, kept in the data file "SoftwareSetting" as one JSON object whose member names are
// the field names below. Written on the GUI thread; the backup worker reads the backup fields from its thread.
struct SoftwareSetting {
    QString Language;                      // name of the chosen built-in language
    QString BackupPath;                    // folder that receives local record backups, ending in "/"
    bool AutoBackup = false;
    int BackupCycle = 0;                   // 0 daily, 1 weekly, 2 monthly
    bool AutoUpgrade = false;
    bool AutoStartup = false;              // mirrored to the autostart entry on every save
    bool AutoSyncTime = false;
    bool WarningPopup = false;
    int WarningPopupTime = 10;             // seconds
    bool StatusPopup = false;
    int StatusPopupLocation = 1;           // 0 lower left corner, 1 lower right corner
    int StatusPopupTime = 10;              // seconds
    bool StatusPopupComingCall = false;
    bool StatusPopupOutgoingCall = false;
    bool StatusPopupStrangeNumber = false;
    bool NotesPopup = false;
    int NotesPopupLocation = 0;            // 0 lower left corner, 1 lower right corner
    int NotesPopupTime = 10;               // seconds
};

extern SoftwareSetting g_SoftwareSetting;

// Fills g_SoftwareSetting from "SoftwareSetting". A missing or malformed file, or a "Language" or "BackupPath"
// that is missing or not a string, gives the defaults (DefaultSoftwareSetting, which writes the file). Otherwise
// every other member is taken as it stands (a missing or mistyped bool is false, a missing or mistyped number 0),
// the language is checked with EnsureLanguageSetting, and the file is not rewritten.
void LoadSoftwareSetting();

// Applies AutoStartup to the autostart entry, then writes the 18 settings (also when the entry failed); true when
// the entry is as asked and the file is complete on disk.
bool SaveSoftwareSetting();

// Every field but Language to its default, then EnsureLanguageSetting and SaveSoftwareSetting.
void DefaultSoftwareSetting();

// When Language is not exactly one of the built-in language names (Language::Names(): the Language object must
// exist), sets it to the Chinese one on a system whose locale language is Chinese, else to the first (English).
void EnsureLanguageSetting();
