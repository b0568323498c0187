#include "lists/bulk/BulkRecords.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <unordered_set>

#include "store/Fields.h"
#include "store/GameNames.h"

namespace stallmark {

namespace {

constexpr int kSmallKinds = 3;  // Ringmail, Chainmail, Plate
constexpr long long kMsPerDay = 86400000;

// A whole number as ToIntOrZero reads one (optional sign, decimal digits, within int),
// but telling "0" from text that is no number.
bool ReadInt(std::string_view text, int& value) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '+' || text.front() == '-')) return false;
    }
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

// True when every byte can stand in a plain line of numbers: a line made of digits,
// signs and commas only splits at its commas, as comma text reads it.
bool PlainNumbers(std::string_view line) {
    return std::all_of(line.begin(), line.end(),
                       [](char c) { return (c >= '0' && c <= '9') || c == ',' || c == '-' || c == '+'; });
}

// The first count items of the line as whole numbers; false when there are fewer or one
// of them is no number.
bool ReadNumbers(std::string_view line, int* out, int count) {
    if (PlainNumbers(line)) {
        int n = 0;
        std::size_t start = 0;
        while (n < count) {
            const std::size_t comma = line.find(',', start);
            const std::string_view item =
                line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
            if (!ReadInt(item, out[n])) return false;
            ++n;
            if (comma == std::string_view::npos) break;
            start = comma + 1;
        }
        return n == count;
    }
    const std::vector<std::string> items = CommaTextSplit(line);
    if (static_cast<int>(items.size()) < count) return false;
    for (int i = 0; i < count; ++i)
        if (!ReadInt(items[static_cast<std::size_t>(i)], out[i])) return false;
    return true;
}

bool InRange(int value, std::size_t size) { return value >= 0 && static_cast<std::size_t>(value) < size; }

std::string Amount3(int amount) {
    char buf[16];
    const int n = std::snprintf(buf, sizeof buf, "%.3d", amount);
    return std::string(buf, static_cast<std::size_t>(std::max(n, 0)));
}

void ReplaceFirst(std::string& text, std::string_view find, std::string_view by) {
    const std::size_t at = text.find(find);
    if (at != std::string::npos) text.replace(at, find.size(), by);
}

// " - " turned into "," and the result read as comma text.
std::vector<std::string> TextItems(std::string_view text) {
    std::string joined(text);
    for (std::size_t at = joined.find(" - "); at != std::string::npos; at = joined.find(" - ", at + 1))
        joined.replace(at, 3, ",");
    return CommaTextSplit(joined);
}

std::string Item(const std::vector<std::string>& items, std::size_t i) {
    return i < items.size() ? items[i] : std::string();
}

std::string IndexField(int index) { return index >= 0 ? std::to_string(index) : std::string(); }

// The small-order kind of a large order's kind: both plate kinds are "Plate".
int SmallKindOf(int largeKind) { return std::min(largeKind, kSmallKinds - 1); }

// A number that stands for a small order; equal orders (equal texts) give equal keys.
std::uint64_t KeyOf(const SmallOrder& o) {
    const auto head = static_cast<std::uint64_t>(((o.ore * 2 + o.quality) * kSmallKinds + o.kind) * 21 + o.piece);
    return (head << 32) | static_cast<std::uint32_t>(o.amount);
}

}  // namespace

std::optional<LargeOrder> ReadLargeOrder(std::string_view line) {
    int v[4];
    if (!ReadNumbers(line, v, 4)) return std::nullopt;
    const LargeOrder o{v[0], v[1], v[2], v[3]};
    if (!InRange(o.ore, OreNames.size()) || !InRange(o.quality, QualityNames.size()) ||
        !InRange(o.kind, ArmourKinds.size()) || o.amount < 0)
        return std::nullopt;
    return o;
}

std::optional<SmallOrder> ReadSmallOrder(std::string_view line) {
    int v[5];
    if (!ReadNumbers(line, v, 5)) return std::nullopt;
    const SmallOrder o{v[0], v[1], v[2], v[3], v[4]};
    if (!InRange(o.ore, OreNames.size()) || !InRange(o.quality, QualityNames.size()) || !InRange(o.kind, kSmallKinds) ||
        o.amount < 0)
        return std::nullopt;
    // The piece must be a named slot of the order's own kind.
    if (o.piece < o.kind * kArmourPieceSlots || o.piece >= (o.kind + 1) * kArmourPieceSlots) return std::nullopt;
    if (ArmourPieceName(o.kind, o.piece - o.kind * kArmourPieceSlots).empty()) return std::nullopt;
    return o;
}

std::string LargeOrderLine(const LargeOrder& o) {
    return std::to_string(o.ore) + ',' + std::to_string(o.quality) + ',' + std::to_string(o.kind) + ',' +
           Amount3(o.amount);
}

std::string SmallOrderLine(const SmallOrder& o) {
    return std::to_string(o.ore) + ',' + std::to_string(o.quality) + ',' + std::to_string(o.kind) + ',' +
           std::to_string(o.piece) + ',' + Amount3(o.amount);
}

std::string LargeOrderText(const LargeOrder& o) {
    std::string text;
    text.reserve(48);
    text += NameAt(OreNames, o.ore);
    text += " - ";
    text += NameAt(QualityNames, o.quality);
    text += " - ";
    text += NameAt(ArmourKinds, o.kind);
    text += " - ";
    text += std::to_string(o.amount);
    text += " (";
    text += std::to_string(static_cast<long long>(o.amount) * LargeOrderPieceCount(o.kind));
    text += ')';
    return text;
}

std::string SmallOrderText(const SmallOrder& o) {
    std::string text;
    text.reserve(48);
    text += NameAt(OreNames, o.ore);
    text += " - ";
    text += NameAt(QualityNames, o.quality);
    text += " - ";
    text += ArmourKindShortName(o.kind);
    text += " - ";
    text += NameAt(ArmourPieces, o.piece);
    text += " - ";
    text += std::to_string(o.amount);
    return text;
}

std::string LargeTextToLine(std::string_view text) {
    const std::vector<std::string> items = TextItems(text);
    return IndexField(IndexOfName(OreNames, Item(items, 0))) + ',' +
           IndexField(IndexOfName(QualityNames, Item(items, 1))) + ',' +
           IndexField(IndexOfName(ArmourKinds, Item(items, 2))) + ',' + Amount3(ToIntOrZero(Item(items, 3)));
}

std::string SmallTextToLine(std::string_view text) {
    const std::vector<std::string> items = TextItems(text);
    int kind = -1;
    for (int k = 0; k < static_cast<int>(ArmourKinds.size()) && kind < 0; ++k)
        if (!Item(items, 2).empty() && ArmourKindShortName(k) == Item(items, 2)) kind = k;
    int piece = -1;
    if (kind >= 0)
        for (int slot = 0; slot < kArmourPieceSlots && piece < 0; ++slot)
            if (!Item(items, 3).empty() && ArmourPieceName(kind, slot) == Item(items, 3))
                piece = kind * kArmourPieceSlots + slot;
    return IndexField(IndexOfName(OreNames, Item(items, 0))) + ',' +
           IndexField(IndexOfName(QualityNames, Item(items, 1))) + ',' + IndexField(kind) + ',' + IndexField(piece) +
           ',' + Amount3(ToIntOrZero(Item(items, 4)));
}

std::string PieceKey(std::string_view largeText, std::string_view piece) {
    const std::size_t dash = largeText.rfind('-');
    if (dash == std::string_view::npos) return std::string(piece);
    // Up to and including the last "-" and the blank after it, the piece, then the rest.
    const std::size_t restAt = std::min(dash + 2, largeText.size());
    std::string key(largeText.substr(0, restAt));
    key += piece;
    key += " - ";
    key += largeText.substr(restAt);
    // The total in brackets and the blank before it go.
    const std::size_t bracket = key.find('(');
    if (bracket != std::string::npos) key.erase(bracket > 0 && key[bracket - 1] == ' ' ? bracket - 1 : bracket);
    // Small orders name both plate kinds "Plate" and tell the tunics apart instead.
    for (const auto& [kind, tunic] :
         {std::pair{"Plate-Male", "Tunic-Male"}, std::pair{"Plate-Female", "Tunic-Female"}}) {
        if (key.find(kind) == std::string::npos) continue;
        ReplaceFirst(key, kind, "Plate");
        ReplaceFirst(key, "Tunic", tunic);
        break;
    }
    return key;
}

std::optional<SmallOrder> PieceOrder(const LargeOrder& order, int index) {
    const std::span<const std::string_view> pieces = LargeOrderPieces(order.kind);
    if (index < 0 || static_cast<std::size_t>(index) >= pieces.size()) return std::nullopt;
    std::string_view name = pieces[static_cast<std::size_t>(index)];
    if (name == "Tunic" && order.kind == 2) name = "Tunic-Male";
    if (name == "Tunic" && order.kind == 3) name = "Tunic-Female";
    const int kind = SmallKindOf(order.kind);
    for (int slot = 0; slot < kArmourPieceSlots; ++slot)
        if (ArmourPieceName(kind, slot) == name)
            return SmallOrder{order.ore, order.quality, kind, kind * kArmourPieceSlots + slot, order.amount};
    return std::nullopt;
}

BulkMatch MatchBulkOrders(std::span<const LargeOrder> large, std::span<const SmallOrder> small) {
    BulkMatch m;
    std::unordered_set<std::uint64_t> held;  // the small orders
    held.reserve(small.size() * 2);
    for (const SmallOrder& o : small) held.insert(KeyOf(o));
    std::unordered_set<std::uint64_t> used;  // the small orders that fill a piece
    m.large.reserve(large.size());
    m.firstPiece.reserve(large.size());
    m.pieces.reserve(large.size() * 6);
    for (const LargeOrder& order : large) {
        m.firstPiece.push_back(static_cast<std::uint32_t>(m.pieces.size()));
        int filled = 0, missing = 0;
        const int count = LargeOrderPieceCount(order.kind);
        for (int i = 0; i < count; ++i) {
            const std::optional<SmallOrder> piece = PieceOrder(order, i);
            const bool found = piece && held.count(KeyOf(*piece)) > 0;
            if (found) {
                used.insert(KeyOf(*piece));
                ++filled;
            } else {
                ++missing;
            }
            m.pieces.push_back(found ? BulkState::Filled : BulkState::Missing);
        }
        m.large.push_back(filled > 0 && missing == 0  ? BulkState::Filled
                          : filled > 0 && missing > 0 ? BulkState::Partly
                                                      : BulkState::Missing);
    }
    m.small.reserve(small.size());
    for (const SmallOrder& o : small)
        m.small.push_back(used.count(KeyOf(o)) > 0 ? BulkState::Filled : BulkState::Missing);
    return m;
}

std::string BulkListLine(std::string_view text) {
    std::string line;
    line.reserve(text.size() + 2);
    for (char c : text)
        if (c != ' ') line += c;
    if (line.find("Exceptional") != std::string::npos) line += " *";
    static constexpr std::pair<std::string_view, std::string_view> kShort[] = {
        {"-Exceptional-", "-"},       {"-Normal-", "-"},       {"Dull-Copper", "DCopp"},     {"Ringmail", "Ring"},
        {"Chainmail", "Chain"},       {"Plate-Male", "Plate"}, {"Plate-Female", "Plate(F)"}, {"Tunic-Male", "Tunic"},
        {"Tunic-Female", "Tunic(F)"}, {"Leggings", "Legs"},    {"Sleeves", "Sleeve"},
    };
    for (const auto& [find, by] : kShort) ReplaceFirst(line, find, by);
    return line;
}

void SortBulkLines(std::vector<std::string>& lines) { std::stable_sort(lines.begin(), lines.end()); }

std::string BulkTimerCaption(DateTime start, DateTime now) {
    long long minutes = 0;
    if (IsValidDateTime(start) && IsValidDateTime(now) && now > start) minutes = std::llround((now - start) * 1440.0);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.2lld:%.2d:%.2d", minutes / 1440, static_cast<int>(minutes % 1440 / 60),
                  static_cast<int>(minutes % 60));
    return buf;
}

std::string BulkTimerHint(DateTime start) {
    std::string hint = "Reset - ";
    if (!IsValidDateTime(start)) return hint;
    const long long ms = std::llround(start * static_cast<double>(kMsPerDay));
    const long long day = ms >= 0 ? ms / kMsPerDay : -((-ms + kMsPerDay - 1) / kMsPerDay);
    const long long inDay = ms - day * kMsPerDay;
    int year = 0, month = 0, dayOfMonth = 0;
    if (!DecodeDate(static_cast<DateTime>(day), year, month, dayOfMonth)) return hint;
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.2d/%.2d/%.4d %.2d:%.2d", dayOfMonth, month, year,
                  static_cast<int>(inDay / 3600000), static_cast<int>(inDay / 60000 % 60));
    return hint + buf;
}

}  // namespace stallmark
