#include <gtest/gtest.h>

#include "store/Clock.h"

namespace stallmark {

TEST(Clock, EncodesDaysSince18991230AndBack) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
    EXPECT_EQ(EncodeDate(2003, 1, 15), 37636);
    for (DateTime d : {0.0, 1.0, 36525.0, 37636.75, 73050.0}) {
        int y, m, day;
        DecodeDate(d, y, m, day);
        EXPECT_EQ(EncodeDate(y, m, day), static_cast<int>(d));
    }
    EXPECT_DOUBLE_EQ(EncodeDateTime(2003, 1, 15, 18, 0, 0), 37636.75);
}

TEST(Clock, ValidDatesFollowLeapYears) {
    EXPECT_TRUE(IsValidDate(2000, 2, 29));
    EXPECT_FALSE(IsValidDate(1900, 2, 29));
    EXPECT_TRUE(IsValidDate(2024, 2, 29));
    EXPECT_FALSE(IsValidDate(2023, 2, 29));
    EXPECT_FALSE(IsValidDate(2023, 13, 1));
    EXPECT_FALSE(IsValidDate(2023, 4, 31));
}

TEST(Clock, FixedClockTodayDropsTheTime) {
    FixedClock clock(37636.75);
    EXPECT_EQ(clock.Today(), 37636);
    clock.Advance(0.5);
    EXPECT_EQ(clock.Today(), 37637);
}

}  // namespace stallmark
