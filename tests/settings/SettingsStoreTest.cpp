#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "settings/MemorySettings.h"

namespace stallmark {

TEST(SettingsAccess, IntegersAndBooleansReadTheirDefaultUnlessDecimal) {
    MemorySettings s;
    EXPECT_EQ(s.ReadInteger("Left", 584), 584);
    s.WriteRaw("Left", "12x");
    EXPECT_EQ(s.ReadInteger("Left", 584), 584);
    s.WriteRaw("Left", " 12");
    EXPECT_EQ(s.ReadInteger("Left", 584), 584);
    s.WriteRaw("Left", "-12");
    EXPECT_EQ(s.ReadInteger("Left", 584), -12);
    s.WriteRaw("Left", "99999999999");
    EXPECT_EQ(s.ReadInteger("Left", 584), 584);

    s.WriteRaw("Maxi", "7");
    EXPECT_TRUE(s.ReadBool("Maxi", false));
    s.WriteRaw("Maxi", "0");
    EXPECT_FALSE(s.ReadBool("Maxi", true));
    s.WriteRaw("Maxi", "yes");
    EXPECT_TRUE(s.ReadBool("Maxi", true));
    s.WriteBool("Maxi", true);
    EXPECT_EQ(s.Strings().at("Maxi"), "1");
}

TEST(SettingsAccess, BulkDateIsEightBinaryBytes) {
    MemorySettings s;
    EXPECT_FALSE(s.ReadDateTime("Bulk Date"));
    s.WriteDateTime("Bulk Date", 37636.75);
    EXPECT_EQ(s.Binaries().at("Bulk Date").size(), 8u);
    EXPECT_DOUBLE_EQ(*s.ReadDateTime("Bulk Date"), 37636.75);
    s.WriteBinary("Bulk Date", {1, 2, 3});
    EXPECT_FALSE(s.ReadDateTime("Bulk Date"));
    s.WriteRaw("Bulk Date", "37636.75");
    EXPECT_FALSE(s.ReadDateTime("Bulk Date"));
}

TEST(SettingsAccess, ABulkDateThatNamesNoDateReadsAsUnreadable) {
    MemorySettings s;
    const double inf = std::numeric_limits<double>::infinity();
    for (double bad : {std::nan(""), inf, -inf, 1e300, -1e300, 2958466.0, -693594.0}) {
        s.WriteDateTime("Bulk Date", bad);
        EXPECT_FALSE(s.ReadDateTime("Bulk Date")) << bad;
    }
    // Every byte pattern of eight bytes reads as a date-time of the years 1 to 9999 or not at all.
    for (unsigned i = 0; i < 4096; ++i) {
        std::vector<std::uint8_t> bytes(8);
        for (unsigned k = 0; k < 8; ++k) bytes[k] = static_cast<std::uint8_t>((i * 2654435761u) >> (k * 3));
        bytes[7] = static_cast<std::uint8_t>(i);
        s.WriteBinary("Bulk Date", bytes);
        if (auto value = s.ReadDateTime("Bulk Date")) {
            EXPECT_TRUE(std::isfinite(*value));
            EXPECT_GE(*value, -693593.0);
            EXPECT_LT(*value, 2958466.0);
        }
    }
    s.WriteDateTime("Bulk Date", -693593.0);  // 1 January of the year 1
    EXPECT_EQ(s.ReadDateTime("Bulk Date"), -693593.0);
}

TEST(SettingsAccess, IntegersOutOfRangeReadTheDefault) {
    MemorySettings s;
    for (const char* text :
         {"2147483648", "-2147483649", "99999999999999999999999999999", "+", "-", "+-1", "", "1e9", "0x10", "\xff"}) {
        s.WriteRaw("Left", text);
        EXPECT_EQ(s.ReadInteger("Left", 584), 584) << text;
        EXPECT_EQ(ParseDecimalInteger(text), std::nullopt) << text;
    }
    s.WriteRaw("Left", "-2147483648");
    EXPECT_EQ(s.ReadInteger("Left", 584), -2147483647 - 1);
}

}  // namespace stallmark
