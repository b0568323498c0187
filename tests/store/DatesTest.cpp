#include <gtest/gtest.h>

#include <cmath>

#include "store/Dates.h"

namespace stallmark {

TEST(Dates, StoredAndShownFormsReadBackAsTheSameDate) {
    FixedClock clock(EncodeDateTime(2024, 6, 1, 12, 0, 0));
    const DateTime d = StoredDateToDate("20030115", clock);
    EXPECT_EQ(d, EncodeDate(2003, 1, 15));
    EXPECT_EQ(FormatShownDate(d), "15/01/2003");
    EXPECT_EQ(StoredDateToDate("15/01/2003", clock), d);
    EXPECT_EQ(FormatStoredDate(StoredDateToDate("15/01/2003", clock)), "20030115");
    EXPECT_EQ(StoredDateToDate("15.01.2003", clock), d);
    EXPECT_EQ(FormatStoredDate(EncodeDateTime(2003, 1, 15, 23, 59, 0)), "20030115");
    // Four-digit years: no century guessing.
    EXPECT_EQ(FormatStoredDate(StoredDateToDate("19291231", clock)), "19291231");
    EXPECT_EQ(FormatShownDate(StoredDateToDate("20991231", clock)), "31/12/2099");
}

TEST(Dates, EveryDayRoundTrips) {
    FixedClock clock(0);
    for (DateTime day = EncodeDate(1990, 1, 1); day < EncodeDate(2040, 1, 1); day += 1) {
        ASSERT_EQ(StoredDateToDate(FormatStoredDate(day), clock), day);
        ASSERT_EQ(StoredDateToDate(FormatShownDate(day), clock), day);
    }
}

TEST(Dates, UnreadableTextGivesTheCurrentDateAndTime) {
    FixedClock clock(EncodeDateTime(2024, 6, 1, 18, 0, 0));
    for (const char* bad : {"", "0", "2003011", "200301150", "20031301", "20030229", "2003O115", "00000101",
                            "31/02/2003", "15/01-2003", "15 01 2003", "1/1/2003  ", "abcdefgh"})
        EXPECT_EQ(StoredDateToDate(bad, clock), clock.Now()) << bad;
}

TEST(Dates, ADoubleThatNamesNoDateFormatsAsNothing) {
    for (double value : {std::nan(""), HUGE_VAL, -HUGE_VAL, 1e300, -1e300, 2958466.0}) {
        EXPECT_EQ(FormatStoredDate(value), "") << value;
        EXPECT_EQ(FormatShownDate(value), "") << value;
    }
    EXPECT_EQ(FormatStoredDate(2958465.5), "99991231");
    EXPECT_EQ(FormatShownDate(-693593.0), "01/01/0001");
}

}  // namespace stallmark
