#include "RecordQuickRange.h"

#include <gtest/gtest.h>

namespace {

struct QuickRangeCase {
    int year, month, day, dayOfWeek;  // today, dayOfWeek 1 Monday to 7 Sunday
    RecordQuickRange range;
    bool formed;
    int startYear, startMonth, startDay;
};

const char* RangeName(RecordQuickRange range)
{
    switch (range) {
    case RecordQuickRange::ThreeDays:
        return "three days";
    case RecordQuickRange::Week:
        return "week";
    case RecordQuickRange::Month:
        return "month";
    }
    return "?";
}

}  // namespace

TEST(RecordQuickRange, StartDayForEachRangeAndDay)
{
    using R = RecordQuickRange;
    const QuickRangeCase cases[] = {
        // A Wednesday in mid-month: no step back.
        {2024, 7, 10, 3, R::ThreeDays, true, 2024, 7, 8},
        {2024, 7, 10, 3, R::Week, true, 2024, 7, 7},
        {2024, 7, 10, 3, R::Month, true, 2024, 7, 1},
        // The 2nd (a Saturday): three days and the week both reach into February and start on its 1st.
        {2024, 3, 2, 6, R::ThreeDays, true, 2024, 2, 1},
        {2024, 3, 2, 6, R::Week, true, 2024, 2, 1},
        {2024, 3, 2, 6, R::Month, true, 2024, 3, 1},
        // The 3rd, a Sunday: three days start on the 1st, the week is that Sunday alone.
        {2024, 3, 3, 7, R::ThreeDays, true, 2024, 3, 1},
        {2024, 3, 3, 7, R::Week, true, 2024, 3, 3},
        {2024, 3, 3, 7, R::Month, true, 2024, 3, 1},
        // January steps back into December of the year before.
        {2025, 1, 2, 4, R::ThreeDays, true, 2024, 12, 1},
        {2025, 1, 2, 4, R::Week, true, 2024, 12, 1},
        {2025, 1, 2, 4, R::Month, true, 2025, 1, 1},
        {2030, 1, 1, 2, R::ThreeDays, true, 2029, 12, 1},
        // A step back from January before 2002 forms no range; the month range needs no step back.
        {2001, 1, 2, 2, R::ThreeDays, false, 0, 0, 0},
        {2001, 1, 2, 2, R::Week, false, 0, 0, 0},
        {2001, 1, 2, 2, R::Month, true, 2001, 1, 1},
        {2002, 1, 1, 2, R::ThreeDays, true, 2001, 12, 1},
    };
    for (const QuickRangeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << "-" << c.day << " " << RangeName(c.range));
        int y = -1, m = -1, d = -1;
        ASSERT_EQ(RecordQuickRangeStart(c.range, c.year, c.month, c.day, c.dayOfWeek, &y, &m, &d), c.formed);
        if (c.formed) {
            EXPECT_EQ(y, c.startYear);
            EXPECT_EQ(m, c.startMonth);
            EXPECT_EQ(d, c.startDay);
        } else {
            EXPECT_EQ(y, -1);
        }
    }
}

TEST(RecordQuickRange, WindowBytesRunFromStartMidnightToToday2359)
{
    unsigned char start[7] = {0, 0, 0, 0, 0, 0xAA, 0xBB};
    unsigned char end[7] = {0, 0, 0, 0, 0, 0xCC, 0xDD};
    ASSERT_TRUE(RecordQuickRangeWindow(RecordQuickRange::ThreeDays, 2025, 1, 2, 4, start, end));
    const unsigned char wantStart[7] = {24, 12, 1, 0, 0, 0xAA, 0xBB};
    const unsigned char wantEnd[7] = {25, 1, 2, 23, 59, 0xCC, 0xDD};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(start[i], wantStart[i]) << "start byte " << i;
        EXPECT_EQ(end[i], wantEnd[i]) << "end byte " << i;
    }

    // No range: both windows keep what an earlier search left.
    EXPECT_FALSE(RecordQuickRangeWindow(RecordQuickRange::ThreeDays, 2001, 1, 2, 2, start, end));
    EXPECT_EQ(start[0], 24);
    EXPECT_EQ(end[3], 23);
}
