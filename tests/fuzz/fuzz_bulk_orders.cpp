// The bulk order files: the fuzzed bytes loaded as "Lbod.dat" and as "Bod.dat", as the
// page reads them. Any bytes load without harm; an order read from a line is written back
// as a line that reads as the same order; the trees' text of an order leads back to its
// line; the matching gives a state to every order and every piece.

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "lists/bulk/BulkRecords.h"
#include "store/Fields.h"
#include "store/Files.h"

using namespace stallmark;
using fuzz::Check;

namespace {

template <typename Order, typename Read, typename Line, typename Text, typename TextToLine>
std::vector<Order> Load(const std::string& path, Read read, Line line, Text text, TextToLine textToLine) {
    std::vector<Order> orders;
    LineReader reader(path, kMaxLineBytes);
    std::string_view stored;
    while (reader.Next(stored)) {
        const std::optional<Order> order = read(stored);
        if (!order) continue;
        Check(order->amount >= 0, "an order with a negative amount");
        const std::string written = line(*order);
        const std::optional<Order> back = read(written);
        Check(back && *back == *order, "a written order reads back otherwise");
        Check(textToLine(text(*order)) == written, "an order's text does not lead back to its line");
        BulkListLine(text(*order));
        orders.push_back(*order);
    }
    return orders;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::AsText(data, size);
    const std::vector<LargeOrder> large = Load<LargeOrder>(fuzz::WriteScratch(kLargeOrderFile, text), ReadLargeOrder,
                                                           LargeOrderLine, LargeOrderText, LargeTextToLine);
    const std::vector<SmallOrder> small = Load<SmallOrder>(fuzz::WriteScratch(kSmallOrderFile, text), ReadSmallOrder,
                                                           SmallOrderLine, SmallOrderText, SmallTextToLine);

    const BulkMatch match = MatchBulkOrders(large, small);
    Check(match.large.size() == large.size() && match.firstPiece.size() == large.size(),
          "the matching misses a large order");
    Check(match.small.size() == small.size(), "the matching misses a small order");
    for (std::size_t i = 0; i < large.size(); ++i) {
        Check(match.firstPiece[i] <= match.pieces.size(), "a large order's pieces lie outside the pieces");
        // Each piece of a large order has the small order that would fill it.
        const std::string parent = LargeOrderText(large[i]);
        for (int piece = 0; piece < 8; ++piece) {
            const std::optional<SmallOrder> filler = PieceOrder(large[i], piece);
            if (!filler) continue;
            const std::optional<SmallOrder> back = ReadSmallOrder(SmallOrderLine(*filler));
            Check(back && *back == *filler, "a piece's order reads back otherwise");
        }
        PieceKey(parent, "Tunic");
    }
    for (BulkState state : match.small)
        Check(state == BulkState::Filled || state == BulkState::Missing, "a small order without its state");

    // The file sorted as a save sorts it: the same lines, in byte order.
    std::vector<std::string_view> lines;
    SplitLines(text, lines);
    std::vector<std::string_view> sorted = lines;
    SortBulkLines(sorted);
    for (std::size_t i = 1; i < sorted.size(); ++i)
        Check(sorted[i - 1] <= sorted[i], "the sort left lines out of order");
    std::vector<std::string_view> a = lines, b = sorted;
    std::sort(a.begin(), a.end());
    Check(a == b, "the sort lost or made up lines");
    return 0;
}
