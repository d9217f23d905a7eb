#include "RecordNotes.h"

bool RecordNotesFit(const QString& notes)
{
    return notes.toUtf8().size() <= kRecordNotesMaxBytes;
}

QColor RecordNotesColor(const QString& notes)
{
    return RecordNotesFit(notes) ? QColor(100, 100, 100) : QColor(Qt::red);
}
