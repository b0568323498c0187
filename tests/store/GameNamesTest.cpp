#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "store/GameNames.h"

namespace stallmark {

namespace {

std::vector<std::string> Names(std::span<const std::string_view> names) {
    return std::vector<std::string>(names.begin(), names.end());
}

}  // namespace

TEST(GameNames, TablesInFileOrder) {
    EXPECT_EQ(NameAt(OreNames, 1), "Dull-Copper");
    EXPECT_EQ(NameAt(SmithOreNames, 1), "Dull Copper");
    EXPECT_EQ(NameAt(OreNames, 8), "Valorite");
    for (int i = 0; i < 9; ++i) {
        if (i != 1) {
            EXPECT_EQ(OreNames[i], SmithOreNames[i]) << i;
        }
    }
    EXPECT_EQ(NameAt(QualityNames, 1), "Exceptional");
    EXPECT_EQ(NameAt(ArmourKinds, 3), "Plate-Female");
    // No name holds a blank: each is one item of comma text.
    for (std::string_view name : OreNames) EXPECT_EQ(name.find(' '), std::string_view::npos);
    for (std::string_view name : ArmourPieces) EXPECT_EQ(name.find(' '), std::string_view::npos);
}

TEST(GameNames, PiecesBySlotAndByLargeOrder) {
    // Small orders store kind * 7 + slot: 15 Normal Chainmail Tunic of Iron is 0,0,1,9,015.
    EXPECT_EQ(NameAt(ArmourPieces, 9), "Tunic");
    EXPECT_EQ(ArmourPieceName(1, 2), "Tunic");
    EXPECT_EQ(ArmourPieceName(0, 2), "Sleeves");
    EXPECT_EQ(ArmourPieceName(2, 6), "Tunic-Female");
    EXPECT_EQ(ArmourPieceName(0, 4), "");  // an empty slot
    EXPECT_EQ(IndexOfName(ArmourPieces, "Gorget"), 16);
    EXPECT_EQ(ArmourKindShortName(2), "Plate");
    EXPECT_EQ(ArmourKindShortName(3), "Plate");
    EXPECT_EQ(ArmourKindShortName(0), "Ringmail");

    EXPECT_EQ(Names(LargeOrderPieces(0)), (std::vector<std::string>{"Gloves", "Sleeves", "Leggings", "Tunic"}));
    EXPECT_EQ(Names(LargeOrderPieces(1)), (std::vector<std::string>{"Coif", "Leggings", "Tunic"}));
    EXPECT_EQ(Names(LargeOrderPieces(3)),
              (std::vector<std::string>{"Arms", "Gorget", "Gloves", "Helm", "Legs", "Tunic"}));
    const int counts[] = {4, 3, 6, 6};
    for (int kind = 0; kind < 4; ++kind) EXPECT_EQ(LargeOrderPieceCount(kind), counts[kind]);
}

TEST(GameNames, IndexesOutsideATableGiveNothing) {
    for (long long bad : {-1LL, 9LL, 100LL, static_cast<long long>(INT_MIN), LLONG_MAX, LLONG_MIN}) {
        EXPECT_EQ(NameAt(OreNames, bad), "") << bad;
        EXPECT_EQ(NameAt(ArmourPieces, bad == 9 ? 21 : bad), "") << bad;
        EXPECT_EQ(ArmourPieceName(bad, 0), "") << bad;
        EXPECT_EQ(ArmourPieceName(0, bad), "") << bad;
        EXPECT_EQ(ArmourKindShortName(bad), "") << bad;
        EXPECT_EQ(LargeOrderPieceCount(bad), 0) << bad;
    }
    EXPECT_EQ(ArmourPieceName(3, 0), "");
    EXPECT_EQ(ArmourPieceName(0, 7), "");  // not the next row's first slot
    EXPECT_EQ(IndexOfName(OreNames, "Dull Copper"), -1);
    EXPECT_EQ(IndexOfName(OreNames, "iron"), -1);
    EXPECT_EQ(IndexOfName(ArmourPieces, ""), -1);  // an empty slot is no name
    EXPECT_EQ(IndexOfName(QualityNames, "Normal"), 0);
}

}  // namespace stallmark
