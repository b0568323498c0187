#pragma once
// The record work of the magic item lists, shared by every list description: a file line
// to the texts of a grid row and back, the search filter, and the item's description as
// sent to the game or shown as a hint. Plain bytes (Windows-1252), no widgets.

#include <array>
#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lists/magic/MagicList.h"
#include "store/Clock.h"

namespace stallmark {

// The texts of one grid row, by what each column shows.
struct MagicCells {
    std::array<std::string, kMagicColRoles> text;
    // The price field of the line the row was read from, when known: written back as it
    // stands while the Price cell still shows it, so a price the player did not change
    // is never rewritten.
    std::optional<std::string> storedPrice;
    std::string& operator[](MagicCol role) { return text[static_cast<size_t>(role)]; }
    const std::string& operator[](MagicCol role) const { return text[static_cast<size_t>(role)]; }
};

// The special status: code "1" is "Virtue", "2" is "Silver", anything else none (empty).
const char* SpecialText(int code);
// "Silver" -> 2, "Virtue" -> 1, anything else 0.
int SpecialCode(std::string_view text);

// A line's fields: its text between the commas, views into the line.
using MagicFields = std::vector<std::string_view>;

// The texts of a row as views into the line and into the buffers here, valid until the
// next fill of the same object and while the line lives: the fast form for a grid fill.
struct MagicRowViews {
    std::array<std::string_view, kMagicColRoles> text;
    std::string_view operator[](MagicCol role) const { return text[static_cast<size_t>(role)]; }
    char date[10];
    char age[24];
    std::string price;
};
// What a fill learned of a line's date (the date stocked in a stock line, the date sold in
// a price line), kept for the fills after it: the day of a date of the common form (eight
// digits), or one of these.
inline constexpr std::int32_t kDateUnread = INT32_MIN;        // not read yet
inline constexpr std::int32_t kDateUncommon = INT32_MIN + 1;  // another form: read each time
// date: null, or what is known of the line's date, read and updated here.
bool LineToViews(const MagicListDesc& list, MagicView view, const MagicFields& fields, const Clock& clock, DateTime now,
                 MagicRowViews& row, std::int32_t* date = nullptr);

// Fills cells from the fields of one line of view. False (cells untouched) when the
// line's item field is blank. now: the current date and time (for ages).
bool LineToCells(const MagicListDesc& list, MagicView view, const MagicFields& fields, const Clock& clock, DateTime now,
                 MagicCells& cells);
bool LineToCells(const MagicListDesc& list, MagicView view, std::string_view line, const Clock& clock,
                 MagicCells& cells);

// The file line for a row. Stock: a stock row as a stock line. Prices: a price row as a
// price line (date sold from its Date cell). Sale: a stock row as the price line of its
// sale: age from its Age cell, date sold today, or the day it was stocked when the list
// sells on the stock date.
enum class MagicLineFor { Stock, Prices, Sale };
std::string CellsToLine(const MagicListDesc& list, MagicLineFor form, const MagicCells& cells, const Clock& clock);

// What the detail boxes search for. A blank text does not restrict; the three special
// boxes restrict only when at least one is checked, and then widen one another.
struct MagicSearch {
    std::string item, magic, accuracy, durability;
    bool none = false, silver = false, virtue = false;
    bool operator==(const MagicSearch&) const = default;
};
bool MatchesSearch(const MagicListDesc& list, MagicView view, const MagicSearch& search, const MagicFields& fields);
// False when the search lets every line through (MatchesSearch is then true for any line).
bool SearchRestricts(const MagicListDesc& list, const MagicSearch& search);

// The item's description from a row: the price and "," first when withValue (not for the
// hint) and the price cell is not blank; then, when withDescription or for the hint, the
// item followed by the other parts that are not blank (durability, accuracy, "Silver",
// magic, other; virtue is never named), each after one blank; for the hint " = " and the
// price last. Empty when the item cell is blank.
std::string DescribeCells(const MagicListDesc& list, const MagicCells& cells, bool withValue, bool withDescription,
                          bool forHint);

// The fields of a line of view split into views (at least as many as the layout has).
void SplitMagicLine(const MagicListDesc& list, MagicView view, std::string_view line, MagicFields& fields);

}  // namespace stallmark
