#pragma once

// The record page's quick time ranges ("Three Days", "Week", "Month"), worked out from today's date alone so
// that the rule can be checked for any day.

enum class RecordQuickRange {
    ThreeDays,  // today and the two days before
    Week,       // from the most recent Sunday (today when it is a Sunday)
    Month       // from the 1st of this month
};

// The first day of the range for today = year-month-day, dayOfWeek 1 Monday to 7 Sunday. A start that would
// fall before the 1st of this month is widened to the 1st of the previous month (so on the 2nd, three days
// reach back to the 1st of the previous month, not to its last day). False, with nothing written, when that
// step back leaves January of a year before 2002: the recorders' year byte then has no previous year to give.
bool RecordQuickRangeStart(RecordQuickRange range, int year, int month, int day, int dayOfWeek, int* startYear,
                           int* startMonth, int* startDay);

// The search window of the range: start = its first day at 00:00, end = today at 23:59, as the record search
// reads them (year byte (year + 48) mod 256, month, day, hour, minute; the last two bytes are left alone).
// False, with nothing written, when no range is formed (see above).
bool RecordQuickRangeWindow(RecordQuickRange range, int year, int month, int day, int dayOfWeek,
                            unsigned char start[7], unsigned char end[7]);
