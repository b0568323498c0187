#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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

TEST(Clock, DoublesThatNameNoDateDecodeAsNothing) {
    const double inf = std::numeric_limits<double>::infinity();
    const double bad[] = {std::nan(""), inf, -inf, 1e300, -1e300, 2958466.0, -693594.0, 9.3e18, -9.3e18};
    for (double value : bad) {
        EXPECT_FALSE(IsValidDateTime(value)) << value;
        int y = 1, m = 1, d = 1;
        EXPECT_FALSE(DecodeDate(value, y, m, d)) << value;
        EXPECT_EQ(y + m + d, 0) << value;
    }
    // The first and the last day of the years 1 to 9999.
    int y, m, d;
    EXPECT_TRUE(DecodeDate(-693593.0, y, m, d));
    EXPECT_EQ(y * 10000 + m * 100 + d, 10101);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
    EXPECT_TRUE(DecodeDate(2958465.99, y, m, d));
    EXPECT_EQ(y * 10000 + m * 100 + d, 99991231);
    EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);
}

}  // namespace stallmark
