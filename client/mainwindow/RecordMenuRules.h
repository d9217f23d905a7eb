#pragma once

#include <QString>

// Which items of the record list's menu may be chosen, in menu order.
struct RecordMenuItems {
    bool Play = false;
    bool Dial = false;
    bool EditKeyword = false;
    bool Download = false;
    bool Delete = false;
    bool ExportExcel = false;
    bool AddToContacts = false;
};

// The list's state when the menu opens:
struct RecordMenuState {
    int Target = 0;              // the last search's: 0 a recorder, 1 the PC backup, 2 dropped files
    bool DeviceOnline = false;   // target 0: the searched recorder is listed and online
    bool RowSelected = false;
    QString SelectedTalkTime;    // the selected row's "Talk Time" cell
    bool AnyChecked = false;     // some row of the list is checked
};

// Nothing for dropped files or an offline recorder. Otherwise Play needs a selected row with audio (talk time
// not "--/--"); Dial, Edit Keyword and Add to Contacts a selected row; Download, Delete and Export Excel a
// checked row. Download takes records off a recorder only, so it stays off for the PC backup.
RecordMenuItems RecordMenuEnabled(const RecordMenuState& state);
