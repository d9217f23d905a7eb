#pragma once

#include <QString>

// The player bar's rules that need no window: the time texts, the row the step buttons go to and the file a
// record-list row names.

// "mm:ss" of a byte count of audio at 8000 bytes a second, minutes and seconds at least two digits each
// (4,000,000 gives "08:20", 800,000,000 gives "1666:40"). Negative counts read as 0.
QString PlayerTimeText(int bytes);

// The row the previous (next = false) or next button plays: one before or after lockedIndex, held to
// 0..rowCount - 1; row 0 when the played row is no longer in the table (lockedIndex < 0). -1 without rows.
int StepRowIndex(int lockedIndex, int rowCount, bool next);

// The record a row of the record list names, from its "Time" cell (yyyy-MM-dd hh:mm:ss) and its "Channel"
// cell (the channel number from 1). Empty when the channel cell holds no channel 1..64.
//   target 0: the path on the recorder, "/RecordFiles/YYMM/DD/CHnn/YYMMDDhhmmss-CHnn.wav";
//   target 1: the file in the PC backup of the device whose folder is deviceId; when the plain name does not
//             exist and the phone cell holds digits, the name with "-<digits>" as the backup names such files
//             (not tested for existence). Empty when deviceId may not name a folder (it comes from a file).
// Any other target: empty (dropped files carry their own path).
QString RecordRowPlayPath(int target, const QString& timeText, const QString& channelText,
                          const QString& phoneText, const QString& deviceId);
