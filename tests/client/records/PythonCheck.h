#pragma once

#include <QString>

// Runs a Python script with the system interpreter (the one that has openpyxl) so that workbooks are checked and
// made by an independent implementation. Returns the script's standard output; *ok is false when the script
// failed (its error output is printed).
QString RunPython(const QString& script, const QStringList& arguments, bool* ok);
