#pragma once

#include <QColor>
#include <QString>

// Record notes hold at most 64 bytes of UTF-8 wherever they are typed, sent or stored: the recorder's notes
// field is 65 bytes with its terminating NUL.
constexpr int kRecordNotesMaxBytes = 64;

// The text fits the field.
bool RecordNotesFit(const QString& notes);
// The colour of a notes line holding the text: grey while it fits, red beyond.
QColor RecordNotesColor(const QString& notes);
