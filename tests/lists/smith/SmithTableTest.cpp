// The smith table's file lines, price check, texts and type moves, without widgets;
// and the two files written together.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <numeric>

#include "lists/smith/SmithTable.h"
#include "store/Files.h"
#include "support/TempDir.h"

namespace stallmark::smith {

namespace {

using Cells = std::vector<std::string>;

}  // namespace

TEST(SmithTable, DescriptionLinesAreDescriptionThenShortName) {
    const TypeNames names = ParseDescriptionLine("Fine plate tunic,Plate tunic,left over");
    EXPECT_EQ(names.description, "Fine plate tunic");
    EXPECT_EQ(names.shortName, "Plate tunic");
    EXPECT_EQ(ParseDescriptionLine("No short name").shortName, "");
    EXPECT_EQ(ParseDescriptionLine(",Tunic").description, "");
    EXPECT_EQ(ParseDescriptionLine(",Tunic").shortName, "Tunic");
}

TEST(SmithTable, DescriptionLinesAreCutThenCleaned) {
    TypeNames cut;
    EXPECT_EQ(FormatDescriptionLine({" Plate, fine ", "P,T"}, &cut), "Plate  fine,P T");
    EXPECT_EQ(cut.description, " Plate, fine ");  // the grid keeps what was typed, only cut
    // Cut first: a comma beyond the limit never reaches the file, and what is left is
    // trimmed after the cut.
    const std::string description = std::string(119, 'd') + " ,tail";
    const std::string shortName = std::string(24, 's') + " x";
    EXPECT_EQ(FormatDescriptionLine({description, shortName}, &cut),
              std::string(119, 'd') + "," + std::string(24, 's'));
    EXPECT_EQ(cut.description, std::string(119, 'd') + " ");
    EXPECT_EQ(cut.shortName, std::string(24, 's') + " ");
    EXPECT_EQ(FormatDescriptionLine({"", ""}), ",");
}

TEST(SmithTable, PriceLinesReadNineItemsAtMost) {
    EXPECT_EQ(ParsePriceLine("1500,1600,,1800"), (Cells{"1500", "1600", " ", "1800"}));
    EXPECT_EQ(ParsePriceLine("1,2,3,4,5,6,7,8,9,10,11"), (Cells{"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
    EXPECT_EQ(ParsePriceLine(""), Cells{});
    EXPECT_EQ(ParsePriceLine(",,,,,,,,"), Cells(9, " "));
    // Comma text: a blank outside quotes ends an item.
    EXPECT_EQ(ParsePriceLine("1 2,\"3 4\""), (Cells{"1", "2", "3 4"}));
}

TEST(SmithTable, PriceLinesWriteNineItemsAndReadBack) {
    EXPECT_EQ(FormatPriceLine(Cells(9, "")), ",,,,,,,,");
    EXPECT_EQ(FormatPriceLine({"1", " ", "3"}), "1,,3,,,,,,");
    const Cells prices{"100", "200", "300", "400", "500", "600", "700", "800", "999999999"};
    EXPECT_EQ(FormatPriceLine(prices), "100,200,300,400,500,600,700,800,999999999");
    EXPECT_EQ(ParsePriceLine(FormatPriceLine(prices)), prices);
    // Whatever a cell holds comes back the same.
    const Cells odd{"1 2", "a\"b", "x,y"};
    Cells back = ParsePriceLine(FormatPriceLine(odd));
    back.resize(3);
    EXPECT_EQ(back, odd);
}

TEST(SmithTable, PriceCheck) {
    struct Case {
        const char* cell;
        const char* price;
        bool ask;
    };
    const Case cases[] = {
        {"", "0", false},
        {"   ", "0", false},
        {"0", "0", false},
        {"1500", "1500", false},
        {"123456789", "123456789", false},
        {"007", "7", true},
        {"1,500", "1500", true},
        {"12a", "12", true},
        {"abc", "0", true},
        {" 7", "7", true},
        {"1234567890", "123456789", true},
        {"00000000012", "0", true},  // only the first nine characters count
    };
    for (const Case& c : cases) {
        const PriceCheck check = CheckPrice(c.cell);
        EXPECT_EQ(check.price, c.price) << c.cell;
        EXPECT_EQ(check.ask, c.ask) << c.cell;
    }
}

TEST(SmithTable, PriceWarningNamesTheOreAsTheWarningsSpellIt) {
    EXPECT_EQ(PriceWarning(2, "Plate tunic", "007", "7"),
              "Dull Copper Plate tunic\n\rInvalid Value 007\n\rAltered to 7 !");
    EXPECT_EQ(PriceWarning(9, "Helm", "x", "0"), "Valorite Helm\n\rInvalid Value x\n\rAltered to 0 !");
}

TEST(SmithTable, PriceTexts) {
    EXPECT_EQ(PriceText("1500", "Plate tunic", 2, true, true), "1500,Plate tunic - Dull-Copper");
    EXPECT_EQ(PriceText("1500", "Plate tunic", 2, true, false), "1500");
    EXPECT_EQ(PriceText("1500", "Plate tunic", 2, false, true), "Plate tunic - Dull-Copper");
    EXPECT_EQ(PriceText("1500", "Plate tunic", 2, false, false), "");
    // No comma after a blank price.
    EXPECT_EQ(PriceText(" ", "Helm", 1, true, true), " Helm - Iron");
    EXPECT_EQ(PlainPriceText("1500", "Plate tunic", 9), "1500,Plate tunic - Valorite");
    EXPECT_EQ(PlainPriceText("", "Helm", 1), ",Helm - Iron");
    EXPECT_EQ(SentOreName(0), "");
    EXPECT_EQ(SentOreName(10), "");
}

TEST(SmithTable, MovedOrderIsARemoveAndInsert) {
    EXPECT_EQ(MovedOrder(4, 3, 0), (std::vector<int>{3, 0, 1, 2}));  // the last to the top
    EXPECT_EQ(MovedOrder(4, 0, 3), (std::vector<int>{1, 2, 3, 0}));
    EXPECT_EQ(MovedOrder(4, 1, 2), (std::vector<int>{0, 2, 1, 3}));
    EXPECT_EQ(MovedOrder(4, 2, 1), (std::vector<int>{0, 2, 1, 3}));
    // Every move of up to seven types keeps every type exactly once, in the right place.
    for (int count = 1; count <= 7; ++count)
        for (int from = 0; from < count; ++from)
            for (int to = 0; to < count; ++to) {
                std::vector<int> expected(static_cast<size_t>(count));
                std::iota(expected.begin(), expected.end(), 0);
                expected.erase(expected.begin() + from);
                expected.insert(expected.begin() + to, from);
                EXPECT_EQ(MovedOrder(count, from, to), expected) << count << ": " << from << " -> " << to;
            }
}

TEST(SmithTable, MovedOrderKeepsEverythingForMovesOutOfRange) {
    EXPECT_EQ(MovedOrder(3, 1, 1), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(MovedOrder(3, -1, 1), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(MovedOrder(3, 0, 3), (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(MovedOrder(0, 0, 0).empty());
}

// ---------------------------------------------------------------- files written together

TEST(ReplaceFilesAtomically, WritesEveryFileAndLeavesNoWorkingCopy) {
    test::TempDir dir;
    dir.Write("Armour.dat", "old prices\r\n");
    std::size_t replaced = 9;
    ReplaceFilesAtomically({{dir.File("Armour.dat"), "1,2\r\n"}, {dir.File("ArmDesc.dat"), "Helm,H\r\n"}}, &replaced);
    EXPECT_EQ(replaced, 2u);
    EXPECT_EQ(dir.Read("Armour.dat"), "1,2\r\n");
    EXPECT_EQ(dir.Read("ArmDesc.dat"), "Helm,H\r\n");
    EXPECT_FALSE(dir.Exists("Armour.tmp"));
    EXPECT_FALSE(dir.Exists("ArmDesc.tmp"));
}

TEST(ReplaceFilesAtomically, AFailedSecondWriteLeavesBothFilesAsTheyWere) {
    test::TempDir dir;
    dir.Write("Armour.dat", "old prices\r\n");
    dir.Write("ArmDesc.dat", "old names\r\n");
    // The second working copy cannot be made: something else holds its name.
    std::filesystem::create_directories(dir.Path() / "ArmDesc.tmp" / "inside");
    std::size_t replaced = 9;
    EXPECT_THROW(
        ReplaceFilesAtomically({{dir.File("Armour.dat"), "new prices\r\n"}, {dir.File("ArmDesc.dat"), "new names\r\n"}},
                               &replaced),
        StoreError);
    EXPECT_EQ(replaced, 0u);
    EXPECT_EQ(dir.Read("Armour.dat"), "old prices\r\n");
    EXPECT_EQ(dir.Read("ArmDesc.dat"), "old names\r\n");
    EXPECT_FALSE(dir.Exists("Armour.tmp"));  // the first working copy, written whole, is gone
}

TEST(ReplaceFilesAtomically, AReadOnlyFileStopsItBeforeAnythingIsWritten) {
    test::TempDir dir;
    dir.Write("Armour.dat", "old prices\r\n");
    dir.Write("ArmDesc.dat", "old names\r\n");
    std::filesystem::permissions(dir.Path() / "ArmDesc.dat", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    std::filesystem::permissions(dir.Path() / "ArmDesc.dat",
                                 std::filesystem::perms::group_write | std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    EXPECT_THROW(ReplaceFilesAtomically(
                     {{dir.File("Armour.dat"), "new prices\r\n"}, {dir.File("ArmDesc.dat"), "new names\r\n"}}),
                 StoreError);
    EXPECT_EQ(dir.Read("Armour.dat"), "old prices\r\n");
    EXPECT_EQ(dir.Read("ArmDesc.dat"), "old names\r\n");
    EXPECT_FALSE(dir.Exists("Armour.tmp"));
    std::filesystem::permissions(dir.Path() / "ArmDesc.dat", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
}

}  // namespace stallmark::smith
