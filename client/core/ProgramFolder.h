#pragma once

#include <QString>

// The client's name: it names the per-user data folder and the single-instance socket, whatever the
// executable file is called.
constexpr char kApplicationName[] = "CalvoxClient";

// The folder that holds the program and the files shipped beside it ("OEM", "Model", "Language/", "Image/",
// "MSYH.TTC", the updater). It is the executable's folder unless SetProgramFolder redirected it.
QString ProgramFolder();

// Redirects ProgramFolder to another folder (tests, portable set-ups); an empty path restores the executable's
// folder. Call it on the GUI thread before anything reads the program folder.
void SetProgramFolder(const QString& path);
