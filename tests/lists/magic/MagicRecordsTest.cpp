#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "lists/magic/MagicRecords.h"
#include "store/Dates.h"

namespace stallmark {
namespace {

const MagicListDesc& W() { return WeaponList(); }

MagicCells Stock(const std::string& line, const FixedClock& clock) {
    MagicCells cells;
    EXPECT_TRUE(LineToCells(W(), MagicView::Stock, line, clock, cells)) << line;
    return cells;
}

std::vector<std::string> Row(const MagicCells& cells) {
    std::vector<std::string> out;
    for (const MagicColumn& column : W().columns) out.push_back(cells[column.role]);
    return out;
}

TEST(MagicRecords, WeaponLayout) {
    EXPECT_EQ(W().Commas(MagicView::Stock), 7);
    EXPECT_EQ(W().Commas(MagicView::Prices), 8);
    EXPECT_EQ(W().Field(MagicPart::Special, MagicView::Stock), 3);
    EXPECT_EQ(W().Field(MagicPart::Other, MagicView::Prices), 8);
    EXPECT_EQ(W().Field(MagicPart::DateSold, MagicView::Prices), 9);
    EXPECT_EQ(W().Field(MagicPart::DateSold, MagicView::Stock), 0);
    EXPECT_EQ(W().Column(MagicCol::Price), 8);
    EXPECT_EQ(W().Column(MagicCol::Special), 4);
}

TEST(MagicRecords, StockLineShowsDateAgeSpecialAndAmount) {
    FixedClock clock(EncodeDateTime(2026, 12, 8, 10, 30, 0));
    EXPECT_EQ(Row(Stock("Katana,Vanquishing,2,Supremely,Massive,0012000,20261207,from bank", clock)),
              (std::vector<std::string>{"Katana", "Vanquishing", "Supremely", "Massive", "Silver", "from bank",
                                        "07/12/2026", "1", "12000"}));
    EXPECT_EQ(Row(Stock("Bow,,1,,,,20261208,", clock)),
              (std::vector<std::string>{"Bow", "", "", "", "Virtue", "", "08/12/2026", "0", "0"}));
    // A short line has its missing fields empty; a blank date shows no date and no age.
    EXPECT_EQ(Row(Stock("Axe,Power", clock)), (std::vector<std::string>{"Axe", "Power", "", "", "", "", "", "", "0"}));
}

TEST(MagicRecords, AgesCountWholeDaysAcrossMidnight) {
    FixedClock clock(EncodeDateTime(2026, 12, 8, 23, 59, 59));
    EXPECT_EQ(Stock("A,,0,,,1,20261208,", clock)[MagicCol::Age], "0");
    EXPECT_EQ(Stock("A,,0,,,1,20261207,", clock)[MagicCol::Age], "1");
    clock.Set(EncodeDateTime(2026, 12, 9, 0, 0, 1));
    EXPECT_EQ(Stock("A,,0,,,1,20261208,", clock)[MagicCol::Age], "1");
    EXPECT_EQ(Stock("A,,0,,,1,20251209,", clock)[MagicCol::Age], "365");
    // A date that cannot be read counts as now: today's date, age 0.
    EXPECT_EQ(Stock("A,,0,,,1,2026x208,", clock)[MagicCol::Date], "09/12/2026");
    EXPECT_EQ(Stock("A,,0,,,1,2026x208,", clock)[MagicCol::Age], "0");
}

TEST(MagicRecords, UnknownSpecialCodesShowNothingAndWriteBackAsNone) {
    FixedClock clock(EncodeDate(2026, 12, 8));
    for (const char* code : {"3", "Silver", "x", ""}) {
        const std::string line = std::string("Katana,Power,") + code + ",,,5,20261201,";
        const MagicCells cells = Stock(line, clock);
        EXPECT_EQ(cells[MagicCol::Special], "") << code;
        EXPECT_EQ(CellsToLine(W(), MagicLineFor::Stock, cells, clock), "Katana,Power,0,,,5,20261201,") << code;
    }
}

TEST(MagicRecords, BlankItemLinesAreRejected) {
    FixedClock clock;
    MagicCells cells;
    cells[MagicCol::Item] = "keep";
    EXPECT_FALSE(LineToCells(W(), MagicView::Stock, " ,Power,0,,,5,20261201,", clock, cells));
    EXPECT_FALSE(LineToCells(W(), MagicView::Stock, "", clock, cells));
    EXPECT_EQ(cells[MagicCol::Item], "keep");
}

TEST(MagicRecords, PriceLinesShowDateSoldAndStoredAge) {
    FixedClock clock(EncodeDateTime(2026, 12, 8, 10, 0, 0));
    MagicCells cells;
    ASSERT_TRUE(LineToCells(W(), MagicView::Prices, "Katana,Power,0,,,900,12,x,20260115", clock, cells));
    EXPECT_EQ(cells[MagicCol::Date], "15/01/2026");
    EXPECT_EQ(cells[MagicCol::Age], "12");
    EXPECT_EQ(CellsToLine(W(), MagicLineFor::Prices, cells, clock), "Katana,Power,0,,,900,12,x,20260115");
    // No date sold: today.
    ASSERT_TRUE(LineToCells(W(), MagicView::Prices, "Katana,Power,0,,,900,12,x,", clock, cells));
    EXPECT_EQ(cells[MagicCol::Date], "08/12/2026");
}

TEST(MagicRecords, RowsWriteBackCleanedWithTodayForBlankDates) {
    FixedClock clock(EncodeDateTime(2026, 12, 8, 10, 0, 0));
    MagicCells cells = Stock("Bow,Power,0,Accurate,Durable,100,,rare", clock);
    EXPECT_EQ(CellsToLine(W(), MagicLineFor::Stock, cells, clock), "Bow,Power,0,Accurate,Durable,100,20261208,rare");
    cells[MagicCol::Other] = " a, b ";
    cells[MagicCol::Price] = "1,250";
    cells[MagicCol::Special] = "Silver";
    EXPECT_EQ(CellsToLine(W(), MagicLineFor::Stock, cells, clock), "Bow,Power,2,Accurate,Durable,1250,20261208,a  b");
}

TEST(MagicRecords, SaleLineCarriesAgeAndDateSold) {
    FixedClock clock(EncodeDateTime(2026, 12, 8, 10, 0, 0));
    const MagicCells cells = Stock("Bow,Power,1,,,100,20261130,x", clock);
    EXPECT_EQ(CellsToLine(W(), MagicLineFor::Sale, cells, clock), "Bow,Power,1,,,100,8,x,20261208");
    // A list that sells on the stock date (the armour lists) stores the day it was stocked.
    MagicListDesc stockDated = W();
    stockDated.soldOnStockDate = true;
    EXPECT_EQ(CellsToLine(stockDated, MagicLineFor::Sale, cells, clock), "Bow,Power,1,,,100,8,x,20261130");
    // A stock row without a date has no age.
    EXPECT_EQ(CellsToLine(W(), MagicLineFor::Sale, Stock("Bow,,0,,,5,,", clock), clock), "Bow,,0,,,5,0,,20261208");
}

TEST(MagicRecords, DescriptionsForHintAndSend) {
    MagicCells cells;
    cells[MagicCol::Item] = "W";
    cells[MagicCol::Magic] = "M";
    cells[MagicCol::Accuracy] = "A";
    cells[MagicCol::Durability] = "D";
    cells[MagicCol::Special] = "Silver";
    cells[MagicCol::Price] = "12000";
    EXPECT_EQ(DescribeCells(W(), cells, true, true, true), "W D A Silver M = 12000");
    EXPECT_EQ(DescribeCells(W(), cells, true, true, false), "12000,W D A Silver M");
    EXPECT_EQ(DescribeCells(W(), cells, true, false, false), "12000,");
    EXPECT_EQ(DescribeCells(W(), cells, false, true, false), "W D A Silver M");
    EXPECT_EQ(DescribeCells(W(), cells, false, false, false), "");
    cells[MagicCol::Special] = "Virtue";
    cells[MagicCol::Other] = "fine";
    EXPECT_EQ(DescribeCells(W(), cells, false, false, true), "W D A M fine = 12000");
    cells[MagicCol::Accuracy] = " ";
    cells[MagicCol::Price] = "";
    EXPECT_EQ(DescribeCells(W(), cells, true, true, false), "W D M fine");
    cells[MagicCol::Item] = "";
    EXPECT_EQ(DescribeCells(W(), cells, true, true, true), "");
}

bool Matches(const MagicSearch& search, const std::string& line) {
    MagicFields fields;
    SplitMagicLine(W(), MagicView::Stock, line, fields);
    return MatchesSearch(W(), MagicView::Stock, search, fields);
}

TEST(MagicRecords, SearchByBoxesAndSpecialStatus) {
    const std::string none = "Katana,Power,0,Accurate,Durable,5,20260101,";
    const std::string virtue = "Katana,Power,1,Accurate,Durable,5,20260101,";
    const std::string silver = "Bow,Force,2,,Massive,5,20260101,";
    const std::string text = "Bow,Force,abc,,Massive,5,20260101,";
    MagicSearch search;
    for (const auto& line : {none, virtue, silver, text}) EXPECT_TRUE(Matches(search, line));
    search.item = "Katana";
    EXPECT_TRUE(Matches(search, none));
    EXPECT_FALSE(Matches(search, silver));
    search.item = "katana";  // exact, case-sensitive
    EXPECT_FALSE(Matches(search, none));
    search = {};
    search.none = search.silver = true;
    EXPECT_TRUE(Matches(search, none));
    EXPECT_FALSE(Matches(search, virtue));
    EXPECT_TRUE(Matches(search, silver));
    EXPECT_TRUE(Matches(search, text));  // not a number: code 0
    search = {};
    search.virtue = true;
    search.durability = "Durable";
    EXPECT_TRUE(Matches(search, virtue));
    EXPECT_FALSE(Matches(search, none));
    search = {};
    search.accuracy = "Accurate";
    search.magic = "Power";
    EXPECT_TRUE(Matches(search, none));
    EXPECT_FALSE(Matches(search, silver));
}

TEST(MagicRecords, PricesAre64BitAndWrittenBackAsStoredUnlessChanged) {
    FixedClock clock(EncodeDateTime(2026, 12, 8, 10, 0, 0));
    MagicCells cells = Stock("Katana,,0,,,3000000000,20261201,", clock);
    EXPECT_EQ(cells[MagicCol::Price], "3000000000");
    EXPECT_EQ(CellsToLine(W(), MagicLineFor::Stock, cells, clock), "Katana,,0,,,3000000000,20261201,");
    EXPECT_EQ(CellsToLine(W(), MagicLineFor::Sale, cells, clock), "Katana,,0,,,3000000000,7,,20261208");
    // Stored by hand: shown as its digits, written back as it was read.
    for (const char* stored : {"-5", "0012", "", "99999999999999999999"}) {
        cells = Stock(std::string("Katana,,0,,,") + stored + ",20261201,", clock);
        EXPECT_EQ(CellsToLine(W(), MagicLineFor::Stock, cells, clock),
                  std::string("Katana,,0,,,") + stored + ",20261201,")
            << stored;
    }
    EXPECT_EQ(Stock("Katana,,0,,,-5,20261201,", clock)[MagicCol::Price], "5");
    EXPECT_EQ(Stock("Katana,,0,,,99999999999999999999,20261201,", clock)[MagicCol::Price], "0");
    // A price the player changed is written as the amount the cell holds.
    cells = Stock("Katana,,0,,,-5,20261201,", clock);
    cells[MagicCol::Price] = "4000000000";
    EXPECT_EQ(CellsToLine(W(), MagicLineFor::Stock, cells, clock), "Katana,,0,,,4000000000,20261201,");
    cells.storedPrice.reset();
    cells[MagicCol::Price] = "5";
    EXPECT_EQ(CellsToLine(W(), MagicLineFor::Stock, cells, clock), "Katana,,0,,,5,20261201,");
}

const MagicListDesc& A() { return ArmourList(); }

TEST(MagicRecords, ArmourSearchesOnlyThePartsItHas) {
    // An armour line has no accuracy and no special status: boxes for them never restrict.
    MagicSearch search;
    search.accuracy = "Accurate";
    search.silver = true;
    MagicFields fields;
    SplitMagicLine(A(), MagicView::Stock, "Helm,Guarding,Massive,1200,20261130,x", fields);
    EXPECT_TRUE(MatchesSearch(A(), MagicView::Stock, search, fields));
    search.durability = "Durable";
    EXPECT_FALSE(MatchesSearch(A(), MagicView::Stock, search, fields));
    search.durability = "Massive";
    search.magic = "Guarding";
    EXPECT_TRUE(MatchesSearch(A(), MagicView::Stock, search, fields));
}

// What a fill keeps of a line's date changes nothing the next fills show: the views with it
// equal the views without, for every kind of date, in both views, on a later day too.
TEST(MagicRecords, KnownDatesShowAsReadDates) {
    const std::vector<std::string> stock = {"Katana,Power,0,,,5,20261207,x",
                                            "Bow,,1,,,7,20261208,",
                                            "Axe,,0,,,7,2026x208,",
                                            "Axe,,0,,,7,,",
                                            "Axe,,0,,,7,  ,",
                                            "Axe,,0,,,7,20260230,",
                                            "Axe,,0,,,7,00010101,",
                                            "Axe,,0,,,7,99991231,",
                                            "Axe,,0,,,7,2026120,",
                                            "Axe,,0,,,7,202612080,",
                                            "Axe"};
    const std::vector<std::string> prices = {"Katana,Power,0,,,900,12,x,20260115", "Katana,Power,0,,,900,12,x,",
                                             "Katana,Power,0,,,900,12,x,2026011", "Katana,Power,0,,,900,12,x,2026x115",
                                             "Katana"};
    FixedClock clock(EncodeDateTime(2026, 12, 8, 10, 30, 0));
    for (const MagicView view : {MagicView::Stock, MagicView::Prices}) {
        const auto& lines = view == MagicView::Stock ? stock : prices;
        std::vector<std::int32_t> known(lines.size(), kDateUnread);
        for (const DateTime now : {EncodeDateTime(2026, 12, 8, 10, 30, 0), EncodeDateTime(2026, 12, 8, 23, 0, 0),
                                   EncodeDateTime(2027, 3, 1, 0, 0, 1), EncodeDateTime(2020, 1, 1, 12, 0, 0)}) {
            clock.Set(now);
            for (size_t i = 0; i < lines.size(); ++i) {
                MagicFields fields;
                SplitMagicLine(W(), view, lines[i], fields);
                MagicRowViews plain, remembered;
                ASSERT_EQ(LineToViews(W(), view, fields, clock, now, plain),
                          LineToViews(W(), view, fields, clock, now, remembered, &known[i]))
                    << lines[i];
                for (size_t c = 0; c < plain.text.size(); ++c)
                    EXPECT_EQ(plain.text[c], remembered.text[c]) << lines[i] << " column " << c;
            }
        }
        // Each day of the common form was kept; the others are read each time.
        if (view == MagicView::Stock) {
            EXPECT_EQ(known[0], static_cast<std::int32_t>(EncodeDate(2026, 12, 7)));
            EXPECT_EQ(known[2], kDateUncommon);
            EXPECT_EQ(known[3], kDateUnread);  // a blank date is not read at all
            EXPECT_EQ(known[5], kDateUncommon);
        }
    }
}

TEST(MagicRecords, SearchRestrictsWhenSomeLineFailsIt) {
    EXPECT_FALSE(SearchRestricts(W(), MagicSearch{}));
    MagicSearch blank;
    blank.item = "  ";
    EXPECT_FALSE(SearchRestricts(W(), blank));
    for (int which = 0; which < 7; ++which) {
        MagicSearch search;
        switch (which) {
            case 0: search.item = "Katana"; break;
            case 1: search.magic = "Power"; break;
            case 2: search.accuracy = "Accurate"; break;
            case 3: search.durability = "Durable"; break;
            case 4: search.none = true; break;
            case 5: search.silver = true; break;
            case 6: search.virtue = true; break;
        }
        EXPECT_TRUE(SearchRestricts(W(), search)) << which;
        // The armour list has no accuracy and no special status: those never restrict it.
        EXPECT_EQ(SearchRestricts(A(), search), which <= 1 || which == 3) << which;
    }
}

TEST(MagicRecords, ShownDatesAgreeWithTheDateFunctions) {
    std::mt19937 rng(7);
    FixedClock clock(EncodeDateTime(2026, 12, 8, 10, 0, 0));
    for (int i = 0; i < 20000; ++i) {
        char date[9];
        std::snprintf(date, sizeof date, "%04u%02u%02u", static_cast<unsigned>(1 + rng() % 9999),
                      static_cast<unsigned>(rng() % 14), static_cast<unsigned>(rng() % 33));
        MagicCells cells;
        ASSERT_TRUE(LineToCells(W(), MagicView::Stock, std::string("A,,0,,,1,") + date + ",", clock, cells));
        const DateTime value = StoredDateToDate(date, clock);
        ASSERT_EQ(cells[MagicCol::Date], FormatShownDate(value)) << date;
        ASSERT_EQ(cells[MagicCol::Age], std::to_string(static_cast<long long>(std::trunc(clock.Now() - value))))
            << date;
    }
}

}  // namespace
}  // namespace stallmark
