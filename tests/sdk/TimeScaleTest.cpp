// The time-scale hook: programs that load the shared library set it through the environment (CTest sets
// CALVOX_TIME_SCALE=0.05 for this binary), white-box tests through SetTimeScale.
#include "TimeScale.h"

#include <gtest/gtest.h>

using namespace calvox;

TEST(TimeScale, ReadFromTheEnvironmentAndScalesEveryWait)
{
    EXPECT_DOUBLE_EQ(TimeScale(), 0.05);
    EXPECT_EQ(ScaledMs(1000), 50);
    EXPECT_EQ(ScaledMs(5000), 250);
    EXPECT_EQ(ScaledMs(10), 1) << "never rounds a wait down to nothing";
    EXPECT_EQ(ScaledMs(0), 0);

    SetTimeScale(1);
    EXPECT_EQ(ScaledMs(2000), 2000);
    SetTimeScale(0);   // ignored
    SetTimeScale(-3);  // ignored
    EXPECT_EQ(ScaledMs(2000), 2000);
}
