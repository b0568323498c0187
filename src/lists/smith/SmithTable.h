#pragma once
// The smith price table without its widgets: how the two files' lines are read and
// written, how a price is checked, what is sent for a price, and where the types go
// when one is moved. The page keeps the table in its two grids and calls these.
//
// "ArmDesc.dat": one line per armour type, the description, a comma and the short
// name. "Armour.dat": one line per type, in the same order, its nine prices (ore 1 to
// ore 9) as comma text.

#include <string>
#include <string_view>
#include <vector>

namespace stallmark::smith {

inline constexpr int kOreCount = 9;          // price rows 1 (Iron) to 9 (Valorite)
inline constexpr int kMaxPriceDigits = 9;    // characters of one price
inline constexpr int kMaxShortName = 25;     // characters of a short name
inline constexpr int kMaxDescription = 120;  // characters of a description

// --- "ArmDesc.dat" ---

struct TypeNames {
    std::string description;
    std::string shortName;
};

// Field 1 is the description, field 2 the short name (anything after a second comma is
// not part of either).
TypeNames ParseDescriptionLine(std::string_view line);

// One line of the file: the description cut to kMaxDescription characters and the short
// name cut to kMaxShortName, each then cleaned (commas become blanks, blanks trimmed).
// cut receives the two texts as cut, before cleaning, for the grid to show.
std::string FormatDescriptionLine(const TypeNames& names, TypeNames* cut = nullptr);

// --- "Armour.dat" ---

// The price cells of one line, ore 1 first: at most kOreCount items; an empty item is a
// single blank (so that the cell shows it was read), items after the ninth are dropped.
// A short line gives fewer cells; the rest of the column stays empty.
std::vector<std::string> ParsePriceLine(std::string_view line);

// One line from a type's price cells (missing ones count as empty): comma text of the
// nine prices, a blank cell written as an empty item ("" for all nine is eight commas).
std::string FormatPriceLine(const std::vector<std::string>& prices);

// --- the price check ---

struct PriceCheck {
    std::string price;  // what the cell is to hold
    bool ask = false;   // the cell held something else than a plain number: ask first
};

// An empty (blank) cell becomes "0" without asking. Otherwise the digits among the first
// kMaxPriceDigits characters make the price, without leading zeros ("0" when there are
// none); when that differs from the cell, the player is asked before it is changed.
PriceCheck CheckPrice(const std::string& cell);

// The question before a price is corrected: the ore as the warning names it (row 1 to
// 9), the type's description, the cell's text and the corrected price.
std::string PriceWarning(int oreRow, const std::string& description, const std::string& cell, const std::string& price);

// --- the text of one price ---

// The ore of price row oreRow (1 for Iron) as the game spells it; empty outside 1 to 9.
std::string_view SentOreName(int oreRow);

// The text sent to the game: the price when withValue, then, when withDescription, a
// comma (only after a text that is not blank), the description, " - " and the ore.
std::string PriceText(const std::string& price, const std::string& description, int oreRow, bool withValue,
                      bool withDescription);
// The text of the hint and the label: price, ",", description, " - ", ore, always.
std::string PlainPriceText(const std::string& price, const std::string& description, int oreRow);

// --- moving a type ---

// The old positions in their new order after the type at from was moved to position to
// (the others keep their order). Positions outside 0 .. count - 1, or from == to, leave
// the order as it is.
std::vector<int> MovedOrder(int count, int from, int to);

}  // namespace stallmark::smith
