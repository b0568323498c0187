#include <gtest/gtest.h>

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

}  // namespace stallmark
