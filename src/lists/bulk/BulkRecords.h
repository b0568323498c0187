#pragma once
// The bulk order deeds without any widget: the lines of "Lbod.dat" (large orders) and
// "Bod.dat" (small orders), the texts the trees show for them, the way back from a text
// to its line, the matching of the pieces of large orders against the small orders, the
// shortened lines of a listing and the bulk timer's caption.
//
// A large order line is ore,quality,kind,amount; a small order line is
// ore,quality,kind,piece,amount. Every field but the amount is an index into a table of
// GameNames.h (the piece a flat index kind * 7 + slot into ArmourPieces) and the amount
// has at least three digits ("%.3d"), so that sorting the lines by their bytes orders
// them by ore, quality, kind, piece and amount.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "store/Clock.h"

namespace stallmark {

inline constexpr const char* kLargeOrderFile = "Lbod.dat";
inline constexpr const char* kSmallOrderFile = "Bod.dat";

// State pictures of the trees (pictures of ImageList_16x16).
enum class BulkState : std::uint8_t {
    None = 0,
    Filled = 1,   // green tick: a small order fills a piece / every piece is filled
    Missing = 2,  // red cross: nothing fills it / no piece is filled
    Partly = 3,   // grey tick: some pieces of a large order are filled, some not
};

struct LargeOrder {
    int ore = 0;
    int quality = 0;
    int kind = 0;  // index into ArmourKinds (0 to 3)
    int amount = 0;
    friend bool operator==(const LargeOrder&, const LargeOrder&) = default;
};

struct SmallOrder {
    int ore = 0;
    int quality = 0;
    int kind = 0;   // 0 Ringmail, 1 Chainmail, 2 Plate
    int piece = 0;  // flat index into ArmourPieces: kind * 7 + slot
    int amount = 0;
    friend bool operator==(const SmallOrder&, const SmallOrder&) = default;
};

// The order a file line holds; none for a line that holds no order this program could
// have written: a blank line, a field that is not a whole number, an index outside its
// table (a piece of another kind's row or an empty slot included), a negative amount,
// or fewer fields than an order has. Extra fields after the amount are ignored.
std::optional<LargeOrder> ReadLargeOrder(std::string_view line);
std::optional<SmallOrder> ReadSmallOrder(std::string_view line);

// The line of an order, e.g. "1,1,2,010" and "0,0,1,9,015".
std::string LargeOrderLine(const LargeOrder& order);
std::string SmallOrderLine(const SmallOrder& order);

// The node text of an order: "Dull-Copper - Exceptional - Plate-Male - 10 (60)" (the
// amount, then the amount times the kind's piece count in brackets) and
// "Iron - Normal - Chainmail - Tunic - 15" (the kind by its short name, "Plate" for
// both plate kinds).
std::string LargeOrderText(const LargeOrder& order);
std::string SmallOrderText(const SmallOrder& order);

// The file line a node text stands for: " - " turned into ",", the items read as comma
// text, each name looked up in its table (a name not found leaves its field empty), the
// amount formatted "%.3d". Texts made by LargeOrderText / SmallOrderText give the line of
// their order back.
std::string LargeTextToLine(std::string_view text);
std::string SmallTextToLine(std::string_view text);

// The small-order text that fills the piece of a large order: built from the large
// order's text and the piece name as the trees show them. For the parent
// "Gold - Normal - Plate-Female - 20 (120)" and the piece "Tunic":
// "Gold - Normal - Plate - Tunic-Female - 20".
std::string PieceKey(std::string_view largeText, std::string_view piece);

// Where the small order that fills piece number `index` (in tree order) of a large order
// would stand; none for an index beyond the kind's pieces.
std::optional<SmallOrder> PieceOrder(const LargeOrder& order, int index);

// The states of both trees after matching. Each piece of each large order (in tree
// order) is filled when a small order with the same text exists; every such small order
// is marked filled, every other one missing.
struct BulkMatch {
    std::vector<BulkState> large;           // per large order
    std::vector<std::uint32_t> firstPiece;  // per large order: index of its first piece in pieces
    std::vector<BulkState> pieces;          // every piece of every large order, in tree order
    std::vector<BulkState> small;           // per small order
};
BulkMatch MatchBulkOrders(std::span<const LargeOrder> large, std::span<const SmallOrder> small);

// The line a listing types for a node text: blanks removed, " *" appended when the text
// holds "Exceptional", then the game's short names put in, each once:
// "Dull-Copper - Exceptional - Plate-Female - 10 (60)" gives "DCopp-Plate(F)-10(60) *".
std::string BulkListLine(std::string_view text);

// Sorts the lines of a bulk file by their bytes (stable).
void SortBulkLines(std::vector<std::string>& lines);
void SortBulkLines(std::vector<std::string_view>& lines);
// Adds line to lines and sorts them: the same order as appending it and sorting.
void InsertBulkLine(std::vector<std::string_view>& lines, std::string_view line);

// The timer's caption: the time from start to now rounded to the minute, as days, hours
// and minutes ("01:02:05"); "00:00:00" when now lies before start or either is no date.
std::string BulkTimerCaption(DateTime start, DateTime now);
// The timer's hint: "Reset - " and start as "dd/mm/yyyy hh:nn".
std::string BulkTimerHint(DateTime start);

}  // namespace stallmark
