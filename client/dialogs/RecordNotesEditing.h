#pragma once

class KesDevice;
class QWidget;
class ZGridListData;

// The record page's notes entry for one row of its record list (the 12-column list of the record search):
// runs g_EditRecordNotesForm on the row's notes and stores an accepted text in the record's store, then shows
// it in the row. `target` is the search's: 0 the records of `device` (stored on the recorder under the wait
// panel; the user needs the Download permission), 1 the PC backup (SaveLocalRecordNotes). The record is the
// row's date (cell 1), channel (the value of cell 2, from 0) and index in that day's index file (UserData).
// Failures are shown in a message box over `parent` and leave the row as it was. True when the row changed.
bool EditRecordNotesOfRow(ZGridListData* list, int rowIndex, int target, KesDevice* device, QWidget* parent);
