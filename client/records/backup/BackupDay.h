#pragma once

#include <QString>

// A recorder day as the record tree names it: year - 2000 (0..99), month 1-12, day 1-31. Days compare by their
// key YYMMDD, so 31 January comes before 1 February.
struct BackupDay {
    int Year = 0;
    int Month = 0;
    int Day = 0;

    int Key() const { return Year * 10000 + Month * 100 + Day; }
    // Year 0..99, month 1-12, day 1-31 (the tree's names; a day need not exist in its month).
    bool IsWellFormed() const;
};

// The day a run starts from in the local backup tree below deviceFolder: the second newest day not after
// `limit`, or the newest when there is only one. The run fetches the days in order and makes a day's folders
// only once every day before the previous one is complete on the disk, so the two newest days are the only ones
// a killed run may have left incomplete. Month folders are named by four digits YYMM with MM 1-12, day folders
// inside them by two digits 01-31; other names (and files) are not backup days and are ignored. False when there
// is no such day.
bool LocalResumeDay(const QString& deviceFolder, const BackupDay& limit, BackupDay* day);
