#pragma once

#include <QByteArray>

// The main window's size and the column widths of its three big grids, kept in the data file "GridListSetting"
// (indented JSON: Width, Height, MonitorWidth[11], RecordWidth[12], ContactsColumns[9]). Read once when the main
// window is built, so the grids start with the widths the operator left; written once, when the operator exits
// through the tray menu. GUI thread only.
struct GridListSettingData {
    static constexpr int kMonitorColumns = 11;
    static constexpr int kRecordColumns = 12;
    static constexpr int kContactsColumns = 9;

    int Width = 0;   // main form at the last exit; never applied at start
    int Height = 0;
    int MonitorWidth[kMonitorColumns] = {};
    int RecordWidth[kRecordColumns] = {};
    int ContactsColumns[kContactsColumns] = {};
};

extern GridListSettingData GridListSetting;

// Puts the default widths into the three arrays; Width and Height stay.
void DefaultGridListSetting();

// Fills GridListSetting from the file. A file that cannot be read or parsed gives the defaults; a missing or
// empty array, or a RecordWidth that is not exactly 12 long, gives the defaults for all three arrays (Width and
// Height keep what the file said). A single width that is missing, not a whole number or outside 10..10,000
// takes its column's default: a drag never makes a column narrower than 10, and a 0 would hide a column no one
// could grab again.
void LoadGridListSetting();

// Same as LoadGridListSetting over the file's bytes.
void ParseGridListSetting(const QByteArray& json);

// Writes GridListSetting to the file (atomically); true when it reached the disk. Exit does not report a failure.
bool SaveGridListSetting();

// The file's content for GridListSetting.
QByteArray GridListSettingJson();
