#include "lists/bulk/BulkRecords.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

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

// The first count items of a line made of plain numbers ("0,1,2,010"), read in one pass;
// false when the line holds anything else there (blanks, quotes, letters, an empty item).
bool ReadPlainNumbers(std::string_view line, int* out, int count) {
    const char* p = line.data();
    const char* const end = p + line.size();
    for (int n = 0; n < count; ++n) {
        if (n > 0) {
            if (p == end || *p != ',') return false;
            ++p;
        }
        bool negative = false;
        if (p != end && (*p == '+' || *p == '-')) negative = *p++ == '-';
        if (p == end || *p < '0' || *p > '9') return false;
        long long value = 0;
        for (; p != end && *p >= '0' && *p <= '9'; ++p) {
            value = value * 10 + (*p - '0');
            if (value > 2147483648LL) return false;
        }
        if (value > 2147483647LL + (negative ? 1 : 0)) return false;
        out[n] = static_cast<int>(negative ? -value : value);
    }
    return p == end || *p == ',';
}

// The first count items of the line as whole numbers; false when there are fewer or one
// of them is no number.
bool ReadNumbers(std::string_view line, int* out, int count) {
    if (ReadPlainNumbers(line, out, count)) return true;
    // Anything else is read as comma text (quotes, blanks between items).
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

// A set of order keys in one open-addressed table.
class KeySet {
public:
    explicit KeySet(std::size_t expected) {
        std::size_t capacity = 16;
        while (capacity < expected * 2) capacity *= 2;
        slots_.assign(capacity, 0);
        mask_ = capacity - 1;
    }
    void Insert(std::uint64_t key) {
        const std::uint64_t stored = key | kUsed;
        for (std::size_t at = Home(key);; at = (at + 1) & mask_) {
            if (slots_[at] == stored) return;
            if (slots_[at] == 0) {
                slots_[at] = stored;
                return;
            }
        }
    }
    bool Contains(std::uint64_t key) const {
        const std::uint64_t stored = key | kUsed;
        for (std::size_t at = Home(key);; at = (at + 1) & mask_) {
            if (slots_[at] == stored) return true;
            if (slots_[at] == 0) return false;
        }
    }

private:
    static constexpr std::uint64_t kUsed = std::uint64_t{1} << 63;  // keys use 44 bits at most
    std::size_t Home(std::uint64_t key) const {
        return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 20) & mask_;
    }
    std::vector<std::uint64_t> slots_;
    std::size_t mask_ = 0;
};

// The set of small orders matching works with: a bit per order of an amount below 256
// (the game's amounts are 10 to 20; the bits of every ore, quality, kind and piece take
// 36 KB, which stay in the cache), a table for the rest.
class OrderSet {
public:
    static constexpr int kHeads = 9 * 2 * kSmallKinds * 21;
    static constexpr int kSmallAmounts = 256;

    explicit OrderSet(std::size_t expected) : bits_(kHeads * kSmallAmounts / 64, 0), others_(expected / 8) {}
    void Insert(const SmallOrder& o) {
        if (const int bit = Bit(o); bit >= 0)
            bits_[static_cast<std::size_t>(bit) / 64] |= std::uint64_t{1} << (bit % 64);
        else
            others_.Insert(KeyOf(o));
    }
    bool Contains(const SmallOrder& o) const {
        if (const int bit = Bit(o); bit >= 0) return (bits_[static_cast<std::size_t>(bit) / 64] >> (bit % 64)) & 1;
        return others_.Contains(KeyOf(o));
    }

private:
    static int Bit(const SmallOrder& o) {
        if (o.amount < 0 || o.amount >= kSmallAmounts) return -1;
        const int head = ((o.ore * 2 + o.quality) * kSmallKinds + o.kind) * 21 + o.piece;
        return head * kSmallAmounts + o.amount;
    }
    std::vector<std::uint64_t> bits_;
    KeySet others_;
};

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

namespace {

// The flat small-order piece of each piece of a large order, by kind and tree position:
// the piece's name in the small kind's row of ArmourPieces, a tunic of a plate kind as
// Tunic-Male or Tunic-Female. -1 past the kind's pieces.
struct PieceTable {
    std::array<std::array<int, 8>, 4> flat{};
    PieceTable() {
        for (int kind = 0; kind < 4; ++kind) {
            flat[static_cast<std::size_t>(kind)].fill(-1);
            const std::span<const std::string_view> pieces = LargeOrderPieces(kind);
            const int small = SmallKindOf(kind);
            for (std::size_t i = 0; i < pieces.size(); ++i) {
                std::string_view name = pieces[i];
                if (name == "Tunic" && kind == 2) name = "Tunic-Male";
                if (name == "Tunic" && kind == 3) name = "Tunic-Female";
                for (int slot = 0; slot < kArmourPieceSlots; ++slot)
                    if (ArmourPieceName(small, slot) == name)
                        flat[static_cast<std::size_t>(kind)][i] = small * kArmourPieceSlots + slot;
            }
        }
    }
    int Flat(int kind, int index) const {
        if (kind < 0 || kind >= 4 || index < 0 || index >= 8) return -1;
        return flat[static_cast<std::size_t>(kind)][static_cast<std::size_t>(index)];
    }
};

const PieceTable& Pieces() {
    static const PieceTable table;
    return table;
}

}  // namespace

std::optional<SmallOrder> PieceOrder(const LargeOrder& order, int index) {
    const int flat = Pieces().Flat(order.kind, index);
    if (flat < 0) return std::nullopt;
    return SmallOrder{order.ore, order.quality, SmallKindOf(order.kind), flat, order.amount};
}

BulkMatch MatchBulkOrders(std::span<const LargeOrder> large, std::span<const SmallOrder> small) {
    BulkMatch m;
    OrderSet held(small.size());  // the small orders
    for (const SmallOrder& o : small) held.Insert(o);
    OrderSet used(large.size() * 6);  // the small orders that fill a piece
    m.large.reserve(large.size());
    m.firstPiece.reserve(large.size());
    m.pieces.reserve(large.size() * 6);
    for (const LargeOrder& order : large) {
        m.firstPiece.push_back(static_cast<std::uint32_t>(m.pieces.size()));
        int filled = 0, missing = 0;
        const int count = LargeOrderPieceCount(order.kind);
        SmallOrder piece{order.ore, order.quality, SmallKindOf(order.kind), 0, order.amount};
        for (int i = 0; i < count; ++i) {
            piece.piece = Pieces().Flat(order.kind, i);
            const bool found = held.Contains(piece);
            if (found) {
                used.Insert(piece);
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
    for (const SmallOrder& o : small) m.small.push_back(used.Contains(o) ? BulkState::Filled : BulkState::Missing);
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

void SortBulkLines(std::vector<std::string_view>& lines) {
    // Files kept by the program are sorted already: checked in one pass.
    if (!std::is_sorted(lines.begin(), lines.end())) std::stable_sort(lines.begin(), lines.end());
}

void InsertBulkLine(std::vector<std::string_view>& lines, std::string_view line) {
    if (std::is_sorted(lines.begin(), lines.end())) {
        // After every equal line, where a stable sort of the lines and the new one puts it.
        lines.insert(std::upper_bound(lines.begin(), lines.end(), line), line);
    } else {
        lines.push_back(line);
        std::stable_sort(lines.begin(), lines.end());
    }
}

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
