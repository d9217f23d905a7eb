#include "RecordQuickRange.h"

namespace {

unsigned char YearByte(int year)
{
    return static_cast<unsigned char>((year + 48) % 256);
}

void SetWindowBytes(unsigned char* bytes, int year, int month, int day, int hour, int minute)
{
    bytes[0] = YearByte(year);
    bytes[1] = static_cast<unsigned char>(month);
    bytes[2] = static_cast<unsigned char>(day);
    bytes[3] = static_cast<unsigned char>(hour);
    bytes[4] = static_cast<unsigned char>(minute);
}

}  // namespace

bool RecordQuickRangeStart(RecordQuickRange range, int year, int month, int day, int dayOfWeek, int* startYear,
                           int* startMonth, int* startDay)
{
    int first = 1;
    switch (range) {
    case RecordQuickRange::ThreeDays:
        first = day - 2;
        break;
    case RecordQuickRange::Week:
        first = dayOfWeek == 7 ? day : day - dayOfWeek;
        break;
    case RecordQuickRange::Month:
        first = 1;
        break;
    }
    int y = year;
    int m = month;
    if (first < 1) {
        first = 1;
        if (m == 1) {
            if (y < 2002)
                return false;
            m = 12;
            --y;
        } else {
            --m;
        }
    }
    *startYear = y;
    *startMonth = m;
    *startDay = first;
    return true;
}

bool RecordQuickRangeWindow(RecordQuickRange range, int year, int month, int day, int dayOfWeek,
                            unsigned char start[7], unsigned char end[7])
{
    int y = 0;
    int m = 0;
    int d = 0;
    if (!RecordQuickRangeStart(range, year, month, day, dayOfWeek, &y, &m, &d))
        return false;
    SetWindowBytes(start, y, m, d, 0, 0);
    SetWindowBytes(end, year, month, day, 23, 59);
    return true;
}
