#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "lists/bulk/BulkRecords.h"
#include "store/GameNames.h"

namespace stallmark {

namespace {

constexpr BulkState kGreen = BulkState::Filled, kRed = BulkState::Missing, kGrey = BulkState::Partly;

LargeOrder Large(std::string_view line) {
    const std::optional<LargeOrder> order = ReadLargeOrder(line);
    EXPECT_TRUE(order) << line;
    return order.value_or(LargeOrder{});
}

SmallOrder Small(std::string_view line) {
    const std::optional<SmallOrder> order = ReadSmallOrder(line);
    EXPECT_TRUE(order) << line;
    return order.value_or(SmallOrder{});
}

std::vector<BulkState> PiecesOf(const BulkMatch& m, std::size_t order, int count) {
    return {m.pieces.begin() + m.firstPiece[order], m.pieces.begin() + m.firstPiece[order] + count};
}

}  // namespace

TEST(BulkRecords, LinesTextsAndBackAgain) {
    const LargeOrder large = Large("1,1,2,010");
    EXPECT_EQ(large, (LargeOrder{1, 1, 2, 10}));
    EXPECT_EQ(LargeOrderText(large), "Dull-Copper - Exceptional - Plate-Male - 10 (60)");
    EXPECT_EQ(LargeOrderLine(large), "1,1,2,010");
    EXPECT_EQ(LargeTextToLine("Dull-Copper - Exceptional - Plate-Male - 10 (60)"), "1,1,2,010");

    const SmallOrder small = Small("0,0,1,9,015");
    EXPECT_EQ(SmallOrderText(small), "Iron - Normal - Chainmail - Tunic - 15");
    EXPECT_EQ(SmallOrderLine(small), "0,0,1,9,015");
    EXPECT_EQ(SmallTextToLine("Iron - Normal - Chainmail - Tunic - 15"), "0,0,1,9,015");

    // The totals in brackets: the amount times the kind's pieces (4, 3, 6, 6).
    EXPECT_EQ(LargeOrderText({0, 0, 0, 10}), "Iron - Normal - Ringmail - 10 (40)");
    EXPECT_EQ(LargeOrderText({8, 1, 3, 20}), "Valorite - Exceptional - Plate-Female - 20 (120)");
    EXPECT_EQ(LargeOrderText({0, 0, 1, 0}), "Iron - Normal - Chainmail - 0 (0)");
    EXPECT_EQ(LargeOrderLine({0, 0, 1, 0}), "0,0,1,000");
    EXPECT_EQ(SmallOrderLine({0, 0, 2, 20, 100}), "0,0,2,20,100");
    EXPECT_EQ(SmallOrderText({5, 1, 2, 20, 100}), "Gold - Exceptional - Plate - Tunic-Female - 100");
}

TEST(BulkRecords, EveryOrderTurnsIntoItsTextAndTheTextBackIntoItsLine) {
    int checked = 0;
    for (int ore = 0; ore < 9; ++ore)
        for (int quality = 0; quality < 2; ++quality)
            for (int amount : {0, 5, 95, 100, 1000}) {
                for (int kind = 0; kind < 4; ++kind) {
                    const LargeOrder o{ore, quality, kind, amount};
                    EXPECT_EQ(LargeTextToLine(LargeOrderText(o)), LargeOrderLine(o));
                    EXPECT_EQ(ReadLargeOrder(LargeOrderLine(o)), o);
                    ++checked;
                }
                for (int piece = 0; piece < 21; ++piece) {
                    if (ArmourPieces[static_cast<std::size_t>(piece)].empty()) continue;
                    const SmallOrder o{ore, quality, piece / 7, piece, amount};
                    EXPECT_EQ(SmallTextToLine(SmallOrderText(o)), SmallOrderLine(o)) << SmallOrderText(o);
                    EXPECT_EQ(ReadSmallOrder(SmallOrderLine(o)), o);
                    ++checked;
                }
            }
    EXPECT_EQ(checked, 9 * 2 * 5 * (4 + 14));
}

TEST(BulkRecords, LinesThatHoldNoOrderAreRefused) {
    // Indexes outside their tables, a piece of another kind's row or an empty slot, blank
    // and short lines, fields that are no numbers, a negative amount.
    for (const char* line :
         {"12,0,0,010", "9,0,0,010", "-1,0,0,010", "0,2,0,010", "0,0,4,010", "0,0,0,-5", "", "   ", ",,,", "0,0,0",
          "0,0,0,abc", "Iron,0,0,010", "0,0,0,1.5", "0,0,0,99999999999", "+-1,0,0,1"})
        EXPECT_FALSE(ReadLargeOrder(line)) << line;
    for (const char* line : {"0,0,2,25,010", "0,0,0,9,010", "0,0,0,5,010", "0,0,3,21,010", "0,0,1,6,010",
                             "0,0,2,13,010", "0,0,0,0", "", "0,0,0,0,", "0,0,0,-1,010"})
        EXPECT_FALSE(ReadSmallOrder(line)) << line;
    // Read as comma text: blanks after a comma are skipped, quoted items lose their
    // quotes, items after the amount are ignored, leading zeros and a plus sign are fine.
    EXPECT_EQ(ReadLargeOrder("0, 0,1,  15"), (LargeOrder{0, 0, 1, 15}));
    EXPECT_EQ(ReadLargeOrder("\"1\",0,2,010"), (LargeOrder{1, 0, 2, 10}));
    EXPECT_EQ(ReadLargeOrder("00,0,+3,010,x"), (LargeOrder{0, 0, 3, 10}));
    EXPECT_EQ(ReadSmallOrder("8,1,2,20,100,,"), (SmallOrder{8, 1, 2, 20, 100}));
}

TEST(BulkRecords, TextsThatNameNoOrderGiveNoOrderBack) {
    EXPECT_EQ(LargeTextToLine("Gloves"), ",,,000");
    EXPECT_FALSE(ReadLargeOrder(LargeTextToLine("Gloves")));
    EXPECT_EQ(SmallTextToLine("Iron - Normal - Ringmail - Coif - 10"), "0,0,0,,010");
    EXPECT_FALSE(ReadSmallOrder(SmallTextToLine("Iron - Normal - Ringmail - Coif - 10")));
    EXPECT_EQ(SmallTextToLine(""), ",,,,000");
}

TEST(BulkRecords, PieceKeysAreTheSmallOrdersThatFillThePieces) {
    EXPECT_EQ(PieceKey("Iron - Normal - Ringmail - 10 (40)", "Gloves"), "Iron - Normal - Ringmail - Gloves - 10");
    EXPECT_EQ(PieceKey("Gold - Normal - Plate-Female - 20 (120)", "Tunic"),
              "Gold - Normal - Plate - Tunic-Female - 20");
    EXPECT_EQ(PieceKey("Dull-Copper - Exceptional - Plate-Male - 10 (60)", "Tunic"),
              "Dull-Copper - Exceptional - Plate - Tunic-Male - 10");
    EXPECT_EQ(PieceKey("Iron - Normal - Chainmail - 15 (45)", "Tunic"), "Iron - Normal - Chainmail - Tunic - 15");
    // The matching works on the orders themselves; it finds exactly the small order
    // whose text is the piece key, for every piece of every kind.
    for (int kind = 0; kind < 4; ++kind) {
        const LargeOrder order{1, 1, kind, 15};
        const auto pieces = LargeOrderPieces(kind);
        for (int i = 0; i < static_cast<int>(pieces.size()); ++i) {
            const std::optional<SmallOrder> piece = PieceOrder(order, i);
            ASSERT_TRUE(piece) << kind << " " << i;
            EXPECT_EQ(SmallOrderText(*piece), PieceKey(LargeOrderText(order), pieces[static_cast<std::size_t>(i)]));
        }
        EXPECT_FALSE(PieceOrder(order, static_cast<int>(pieces.size())));
    }
}

TEST(BulkRecords, MatchingFillsPiecesOnlyWithTheSameKindPieceAndAmount) {
    const std::vector<LargeOrder> large = {Large("0,0,3,020")};  // Iron Normal Plate-Female 20
    // Tunic-Female of 20 fills the tunic; Tunic-Male of 20 and Tunic-Female of 15 do not.
    const std::vector<SmallOrder> small = {Small("0,0,2,19,020"), Small("0,0,2,20,020"), Small("0,0,2,20,015")};
    const BulkMatch m = MatchBulkOrders(large, small);
    // Plate pieces: Arms, Gorget, Gloves, Helm, Legs, Tunic.
    EXPECT_EQ(PiecesOf(m, 0, 6), (std::vector<BulkState>{kRed, kRed, kRed, kRed, kRed, kGreen}));
    EXPECT_EQ(m.small, (std::vector<BulkState>{kRed, kGreen, kRed}));
    EXPECT_EQ(m.large, (std::vector<BulkState>{kGrey}));
}

TEST(BulkRecords, LargeOrdersAreGreenGreyOrRed) {
    const std::vector<LargeOrder> large = {
        Large("0,0,1,010"),  // Chainmail 10: all three pieces held
        Large("0,0,0,010"),  // Ringmail 10: Gloves held only
        Large("0,1,0,010"),  // Exceptional Ringmail 10: nothing held
        Large("0,0,1,010"),  // the same Chainmail order again: filled by the same small orders
    };
    const std::vector<SmallOrder> small = {
        Small("0,0,1,7,010"), Small("0,0,1,8,010"), Small("0,0,1,9,010"),  // Coif, Leggings, Tunic
        Small("0,0,0,0,010"),                                              // Ringmail Gloves
        Small("0,0,0,0,010"),                                              // the same again
        Small("0,0,0,1,015"),                                              // Leggings of 15: no match
    };
    const BulkMatch m = MatchBulkOrders(large, small);
    EXPECT_EQ(m.large, (std::vector<BulkState>{kGreen, kGrey, kRed, kGreen}));
    EXPECT_EQ(PiecesOf(m, 1, 4),
              (std::vector<BulkState>{kGreen, kRed, kRed, kRed}));  // Gloves, Sleeves, Leggings, Tunic
    EXPECT_EQ(PiecesOf(m, 2, 4), (std::vector<BulkState>(4, kRed)));
    EXPECT_EQ(m.small, (std::vector<BulkState>{kGreen, kGreen, kGreen, kGreen, kGreen, kRed}));
    // No large orders: every small order is red; no small ones: every large order red.
    EXPECT_EQ(MatchBulkOrders({}, small).small, std::vector<BulkState>(6, kRed));
    EXPECT_EQ(MatchBulkOrders(large, {}).large, std::vector<BulkState>(4, kRed));
    const BulkMatch none = MatchBulkOrders({}, {});
    EXPECT_TRUE(none.large.empty() && none.small.empty() && none.pieces.empty());
}

TEST(BulkRecords, ListLinesUseTheGamesShortNames) {
    EXPECT_EQ(BulkListLine("Dull-Copper - Exceptional - Plate-Female - 10 (60)"), "DCopp-Plate(F)-10(60) *");
    EXPECT_EQ(BulkListLine("Iron - Normal - Ringmail - 20 (80)"), "Iron-Ring-20(80)");
    EXPECT_EQ(BulkListLine("Iron - Normal - Plate - Tunic-Female - 10"), "Iron-Plate-Tunic(F)-10");
    EXPECT_EQ(BulkListLine("Dull-Copper - Normal - Ringmail - Leggings - 15"), "DCopp-Ring-Legs-15");
    EXPECT_EQ(BulkListLine("Gold - Exceptional - Chainmail - Coif - 20"), "Gold-Chain-Coif-20 *");
    // Each replacement on its own.
    EXPECT_EQ(BulkListLine("Agapite - Exceptional - Plate-Male - 5 (30)"), "Agapite-Plate-5(30) *");
    EXPECT_EQ(BulkListLine("Verite - Normal - Plate - Tunic-Male - 5"), "Verite-Plate-Tunic-5");
    EXPECT_EQ(BulkListLine("Shadow - Normal - Ringmail - Sleeves - 10"), "Shadow-Ring-Sleeve-10");
    EXPECT_EQ(BulkListLine("Bronze - Normal - Chainmail - 15 (45)"), "Bronze-Chain-15(45)");
    // Each replacement applies once, in the table's order.
    EXPECT_EQ(BulkListLine("Leggings Leggings"), "LegsLeggings");
    EXPECT_EQ(BulkListLine("a-Normal-Normal-b"), "a-Normal-b");
    EXPECT_EQ(BulkListLine("Exceptional"), "Exceptional *");
    EXPECT_EQ(BulkListLine(""), "");
}

TEST(BulkRecords, SortingFollowsOreQualityKindPieceAmount) {
    std::vector<std::string> lines = {"8,0,0,0,010",  "0,0,0,3,100", "0,1,0,0,010", "0,0,2,20,010", "0,0,0,3,095",
                                      "0,0,2,14,010", "0,0,1,7,010", "0,0,0,3,095", "1,0,0,0,005"};
    SortBulkLines(lines);
    EXPECT_EQ(lines,
              (std::vector<std::string>{"0,0,0,3,095", "0,0,0,3,095", "0,0,0,3,100", "0,0,1,7,010", "0,0,2,14,010",
                                        "0,0,2,20,010", "0,1,0,0,010", "1,0,0,0,005", "8,0,0,0,010"}));
    // By bytes: a comma sorts before the digits, whatever a locale's collation makes of it.
    std::vector<std::string> bytes = {"0,0,0,010", "0,0,00,010", "0,0,0,0100"};
    SortBulkLines(bytes);
    EXPECT_EQ(bytes, (std::vector<std::string>{"0,0,0,010", "0,0,0,0100", "0,0,00,010"}));
}

TEST(BulkRecords, AnAddedLineGoesWhereAppendingAndSortingPutsIt) {
    // A sorted file: the new line after every line that equals it.
    const std::string equal = "0,0,1,9,015";  // a line of its own, told apart from the file's by its address
    std::vector<std::string_view> lines = {"0,0,0,3,095", "0,0,1,9,015", "8,0,0,0,010"};
    InsertBulkLine(lines, equal);
    EXPECT_EQ(lines, (std::vector<std::string_view>{"0,0,0,3,095", "0,0,1,9,015", "0,0,1,9,015", "8,0,0,0,010"}));
    EXPECT_EQ(lines[2].data(), equal.data());
    InsertBulkLine(lines, "9,0,0,0,010");
    EXPECT_EQ(lines.back(), "9,0,0,0,010");
    // A file out of order (edited by hand) is sorted whole.
    std::vector<std::string_view> unsorted = {"8,0,0,0,010", "0,0,0,3,100"};
    InsertBulkLine(unsorted, "0,0,0,3,095");
    EXPECT_EQ(unsorted, (std::vector<std::string_view>{"0,0,0,3,095", "0,0,0,3,100", "8,0,0,0,010"}));
    std::vector<std::string_view> none;
    InsertBulkLine(none, "0,0,0,010");
    EXPECT_EQ(none, (std::vector<std::string_view>{"0,0,0,010"}));
    std::vector<std::string_view> views = {"1,0,0,010", "0,1,0,010", "0,0,0,010"};
    SortBulkLines(views);
    EXPECT_EQ(views, (std::vector<std::string_view>{"0,0,0,010", "0,1,0,010", "1,0,0,010"}));
}

TEST(BulkRecords, TimerCaptionIsDaysHoursMinutes) {
    const DateTime start = EncodeDateTime(2026, 12, 7, 8, 25, 0);
    EXPECT_EQ(BulkTimerCaption(start, start + 1 + 2 / 24.0 + 5 / 1440.0), "01:02:05");
    EXPECT_EQ(BulkTimerCaption(start, start + 3 / 1440.0), "00:00:03");
    EXPECT_EQ(BulkTimerCaption(start, start + (23 * 3600 + 59 * 60 + 45) / 86400.0), "01:00:00");
    EXPECT_EQ(BulkTimerCaption(start, start + 29 / 86400.0), "00:00:00");
    EXPECT_EQ(BulkTimerCaption(start, start + 31 / 86400.0), "00:00:01");
    EXPECT_EQ(BulkTimerCaption(start, start + 123.5), "123:12:00");
    // A start after now, or one that names no moment.
    EXPECT_EQ(BulkTimerCaption(start, start - 2), "00:00:00");
    EXPECT_EQ(BulkTimerCaption(std::numeric_limits<double>::quiet_NaN(), start), "00:00:00");
    EXPECT_EQ(BulkTimerCaption(-std::numeric_limits<double>::infinity(), start), "00:00:00");
    EXPECT_EQ(BulkTimerCaption(1e300, start), "00:00:00");
}

TEST(BulkRecords, TimerHintNamesTheStart) {
    EXPECT_EQ(BulkTimerHint(EncodeDateTime(2026, 12, 7, 8, 5, 0)), "Reset - 07/12/2026 08:05");
    EXPECT_EQ(BulkTimerHint(EncodeDateTime(2003, 1, 15, 23, 59, 59)), "Reset - 15/01/2003 23:59");
    EXPECT_EQ(BulkTimerHint(std::numeric_limits<double>::quiet_NaN()), "Reset - ");
}

}  // namespace stallmark
