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

// The newest day of the local backup tree below deviceFolder that is not after `limit`: month folders named by
// four digits YYMM with MM 1-12, day folders inside them named by two digits 01-31. Other names (and files) are
// not backup days and are ignored. False when there is none.
bool NewestLocalDay(const QString& deviceFolder, const BackupDay& limit, BackupDay* newest);
