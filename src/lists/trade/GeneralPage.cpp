#include "lists/trade/GeneralPage.h"

#include <QCollator>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "controls/CaptionedControls.h"
#include "controls/Dialogs.h"
#include "controls/Icons.h"
#include "controls/StringGrid.h"
#include "controls/Text1252.h"
#include "controls/ToolButton.h"
#include "game/GameKeyboard.h"
#include "lists/GridSettings.h"
#include "lists/ListDisplay.h"
#include "lists/ListHost.h"
#include "lists/trade/GeneralFile.h"
#include "settings/SettingValues.h"
#include "store/Fields.h"
#include "store/Files.h"
#include "store/Prefetch.h"

namespace stallmark {

using namespace Qt::StringLiterals;

// The item rows' cells as Windows-1252 bytes: what the check, the sort and the write
// of a save work on, with no text object and no copy per cell. The bytes are viewed
// where the grid keeps them, so the views hold only while no cell of the grid changes
// and no row moves: whoever changes or moves them reads the rows again (ReadAll).
class GeneralRowBytes {
public:
    explicit GeneralRowBytes(const TStringGrid& grid) : grid_(grid), store_(grid.Store()) { ReadAll(); }
    GeneralRowBytes(const GeneralRowBytes&) = delete;
    GeneralRowBytes& operator=(const GeneralRowBytes&) = delete;

    void ReadAll() {
        rows_ = store_.Cols() < 3 ? 0 : std::max(std::min(store_.Rows(), grid_.RowCount()) - 1, 0);
        converted_.clear();
        wide_ = store_.HasWideText();
        sortedBy_.reset();
        sortedOnBytes_ = false;
        steps_.reset();
        knownAsShown_ = false;
        // Cells that cannot be viewed where they lie (text kept as UTF-16) are converted
        // once ('?' for the characters Windows-1252 lacks).
        if constexpr (std::endian::native == std::endian::little)
            if (!wide_) return;
        for (int i = 0; i < rows_; ++i)
            for (int col = 0; col < 3; ++col) {
                std::string_view view;
                if (store_.View(col, i + 1, view)) continue;
                std::string bytes;
                store_.AppendBytes(col, i + 1, bytes);
                converted_.emplace(Key(i, col), std::move(bytes));
            }
    }
    int Rows() const { return rows_; }
    [[gnu::always_inline]] std::string_view Cell(int i, int col) const {
        if constexpr (std::endian::native == std::endian::little)
            if (!wide_) return store_.ViewNarrow(col, i + 1);
        std::string_view view;
        if (store_.View(col, i + 1, view)) [[likely]]
            return view;
        return Converted(i, col);
    }
    // Some cell holds text that has no Windows-1252 bytes (typed into the grid).
    bool Wide() const { return wide_; }
    // The key the rows are known to be in order of (set by the sort, cleared by a read),
    // and whether that is the order on the bytes (every neighbour compared on them in
    // order, values lined up when the key starts with them).
    std::optional<int> SortedBy() const { return sortedBy_; }
    bool SortedOnBytes() const { return sortedOnBytes_; }
    void SetSortedBy(int key, bool onBytes) {
        sortedBy_ = key;
        sortedOnBytes_ = onBytes;
    }
    // Where the rows step down in the order of a key, when already found (cleared by a read).
    const std::vector<int>* StepsFor(int key) const {
        return steps_ && steps_->first == key ? &steps_->second : nullptr;
    }
    void SetSteps(int key, std::vector<int> steps) { steps_.emplace(key, std::move(steps)); }
    // Every row is known to be written as the grid shows it (plain, not blank, without a
    // line feed), found by a check; cleared by a read unless the read follows a move.
    bool KnownAsShown() const { return knownAsShown_; }
    void SetKnownAsShown(bool known) { knownAsShown_ = known; }

private:
    static size_t Key(int i, int col) { return static_cast<size_t>(i) * 3 + static_cast<size_t>(col); }
    [[gnu::noinline]] std::string_view Converted(int i, int col) const { return converted_.at(Key(i, col)); }
    const TStringGrid& grid_;
    const CellStore& store_;
    int rows_ = 0;
    std::unordered_map<size_t, std::string> converted_;
    bool wide_ = false;
    std::optional<int> sortedBy_;
    bool sortedOnBytes_ = false;
    std::optional<std::pair<int, std::vector<int>>> steps_;
    bool knownAsShown_ = false;
};

// The dense ranks of the item rows' Types and Descriptions (folded and padded) and
// their values' order, row for row, and the grid's count of changes when they were
// last right.
struct GeneralTextRanks {
    std::uint64_t stamp = 0;
    std::vector<std::uint32_t> type, desc, value;
    std::uint32_t typeMax = 0, descMax = 0;
    bool valuesLined = false;  // every value takes nine digits: value holds their order
    // Every row plain, not blank and without a line feed: the rows are written as the grid
    // shows them, and a save's check would leave each as it is.
    bool asShown = false;

    bool FitFor(const TStringGrid& grid, size_t rows) const {
        return stamp == grid.Store().Changes() && type.size() == rows && desc.size() == rows && value.size() == rows;
    }
    // order[k] is the row (from 0) that goes to place k.
    void Permute(const std::vector<int>& order) {
        for (std::vector<std::uint32_t>* column : {&type, &desc, &value}) {
            std::vector<std::uint32_t> moved(column->size());
            for (size_t k = 0; k < order.size(); ++k) moved[k] = (*column)[static_cast<size_t>(order[k])];
            column->swap(moved);
        }
    }
};

namespace {

constexpr int kDesignWidths[] = {62, 159, 70};
constexpr int kGeneralSendRow = 5;  // the options dialog's "General" row
const char* const kSortCaptions[] = {"Type", "Description", "Value"};

bool Blank(const QString& text) { return IsBlank(ToBytes(text)); }

QString Latin(const char* text) { return QString::fromLatin1(text); }

// The order of the sort keys in the C collation, on bytes: the Windows-1252 characters
// case-folded, ranked by code point (which is the order of their UTF-8 bytes). Exact
// only when every character folds to one character.
struct FoldedOrder {
    bool exact = true;
    std::array<std::uint8_t, 256> rank{};
    std::uint8_t blank = 0;
};

const FoldedOrder& Folded() {
    static const FoldedOrder order = [] {
        FoldedOrder o;
        std::array<char32_t, 256> folded{};
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            const QString text = FromBytes(&byte, 1).toCaseFolded();
            const QList<uint> code = text.toUcs4();
            if (code.size() != 1) o.exact = false;
            folded[static_cast<size_t>(b)] = code.isEmpty() ? 0 : code.front();
        }
        std::array<char32_t, 256> sorted = folded;
        std::sort(sorted.begin(), sorted.end());
        const auto end = std::unique(sorted.begin(), sorted.end());
        for (size_t b = 0; b < 256; ++b)
            o.rank[b] = static_cast<std::uint8_t>(std::lower_bound(sorted.begin(), end, folded[b]) - sorted.begin());
        o.blank = o.rank[static_cast<unsigned char>(' ')];
        return o;
    }();
    return order;
}

// a and b each padded with blanks to the same length, compared by folded rank.
int ComparePadded(std::string_view a, std::string_view b, const FoldedOrder& o) {
    const size_t common = std::min(a.size(), b.size());
    size_t i = 0;
    // Equal bytes rank equal: the common start is passed over eight bytes at a time.
    for (; i + 8 <= common; i += 8) {
        std::uint64_t x = 0, y = 0;
        std::memcpy(&x, a.data() + i, 8);
        std::memcpy(&y, b.data() + i, 8);
        if (x != y) break;
    }
    for (; i < common; ++i) {
        const int ra = o.rank[static_cast<unsigned char>(a[i])], rb = o.rank[static_cast<unsigned char>(b[i])];
        if (ra != rb) return ra < rb ? -1 : 1;
    }
    const bool aLonger = a.size() > b.size();
    const std::string_view rest = (aLonger ? a : b).substr(common);
    for (const char c : rest) {
        const int r = o.rank[static_cast<unsigned char>(c)];
        if (r != o.blank) return (r < o.blank) == aLonger ? -1 : 1;
    }
    return 0;
}

// The folded ranks of text's sixteen characters from at, padded with blanks, as two
// big-endian numbers.
void PaddedWords(std::string_view text, size_t at, const FoldedOrder& o, std::uint64_t& high, std::uint64_t& low) {
    unsigned char bytes[16];
    const size_t n = at < text.size() ? std::min<size_t>(text.size() - at, 16) : 0;
    if (n > 0) std::memcpy(bytes, text.data() + at, n);
    std::memset(bytes + n, ' ', 16 - n);
    high = 0;
    low = 0;
    for (size_t i = 0; i < 8; ++i) {
        high = high << 8 | o.rank[bytes[i]];
        low = low << 8 | o.rank[bytes[i + 8]];
    }
}

// Dense ranks of texts (equal ranks for texts equal once padded and folded), texts
// given by index into get(i) for i < count. Sixteen characters at a time: all texts by
// their first sixteen, then each run of texts equal so far by the next sixteen, as
// long as one of them goes on; equal texts cost one pass over their characters.
template <typename Get>
std::vector<std::uint32_t> RankPadded(size_t count, const Get& get, const FoldedOrder& o) {
    struct Entry {
        std::uint64_t high, low;
        std::uint32_t index;
        std::uint32_t length;  // the text's, kept at hand (texts lie all over memory)
    };
    std::vector<Entry> entries(count);
    for (size_t i = 0; i < count; ++i) {
        Entry& e = entries[i];
        const std::string_view text = get(i);
        PaddedWords(text, 0, o, e.high, e.low);
        e.index = static_cast<std::uint32_t>(i);
        e.length = static_cast<std::uint32_t>(std::min<size_t>(text.size(), UINT32_MAX));
    }
    auto before = [](const Entry& a, const Entry& b) {
        return a.high != b.high ? a.high < b.high : a.low != b.low ? a.low < b.low : a.index < b.index;
    };
    auto same = [](const Entry& a, const Entry& b) { return a.high == b.high && a.low == b.low; };
    if (count < 1024) {
        std::sort(entries.begin(), entries.end(), before);
    } else {
        // Dealt first into buckets by their first two characters, then each bucket
        // sorted: far fewer comparisons than one sort of them all.
        constexpr int kShift = 48;
        std::vector<std::uint32_t> start((size_t{1} << (64 - kShift)) + 1, 0);
        for (const Entry& e : entries) ++start[(e.high >> kShift) + 1];
        for (size_t b = 1; b < start.size(); ++b) start[b] += start[b - 1];
        std::vector<std::uint32_t> next(start.begin(), start.end() - 1);
        std::vector<Entry> dealt(count);
        for (const Entry& e : entries) dealt[next[e.high >> kShift]++] = e;
        for (size_t b = 0; b + 1 < start.size(); ++b)
            if (start[b + 1] - start[b] > 1) std::sort(dealt.begin() + start[b], dealt.begin() + start[b + 1], before);
        entries.swap(dealt);
    }
    // newRank[k]: entries[k] is above entries[k - 1].
    std::vector<std::uint8_t> newRank(count, 0);
    struct Run {
        size_t begin, end, at;
    };
    std::vector<Run> open;
    // Marks the runs of equal words in [begin, end) (compared from at) and keeps those
    // where some text is longer to be compared further.
    auto markRuns = [&](size_t begin, size_t end, size_t at) {
        for (size_t b = begin; b < end;) {
            if (b > begin) newRank[b] = 1;
            size_t e = b + 1;
            bool goesOn = entries[b].length > at + 16;
            for (; e < end && same(entries[e], entries[b]); ++e) goesOn = goesOn || entries[e].length > at + 16;
            if (e - b > 1 && goesOn) open.push_back({b, e, at + 16});
            b = e;
        }
    };
    if (count > 0) markRuns(0, count, 0);
    while (!open.empty()) {
        const Run run = open.back();
        open.pop_back();
        for (size_t k = run.begin; k < run.end; ++k)
            PaddedWords(get(entries[k].index), run.at, o, entries[k].high, entries[k].low);
        std::sort(entries.begin() + static_cast<std::ptrdiff_t>(run.begin),
                  entries.begin() + static_cast<std::ptrdiff_t>(run.end), before);
        markRuns(run.begin, run.end, run.at);
    }
    std::vector<std::uint32_t> rank(count);
    std::uint32_t r = 0;
    for (size_t k = 0; k < count; ++k) {
        r += newRank[k];
        rank[entries[k].index] = r;
    }
    return rank;
}

// A row's key, for SortKeyedRows.
struct KeyedRow {
    std::uint64_t key;
    std::uint32_t row;
};

// entries sorted on bits low .. low + bits - 1 of key(entry), equal keys in the order
// given: a digit of at most thirteen bits at a time from the lowest; the counts of every
// digit taken in one pass, and a digit all entries share passed over.
template <typename Entry, typename KeyOf>
void RadixSort(std::vector<Entry>& entries, unsigned low, unsigned bits, KeyOf key) {
    const size_t n = entries.size();
    if (n < 2 || bits == 0) return;
    std::vector<Entry> other(n);
    const unsigned passes = std::max(1u, (bits + 12) / 13);
    const unsigned digit = std::max(1u, (bits + passes - 1) / passes);
    const std::uint64_t mask = (std::uint64_t{1} << digit) - 1;
    const size_t width = size_t{1} << digit;
    std::vector<std::uint32_t> counts(passes * width, 0u);
    for (const Entry& e : entries)
        for (unsigned p = 0; p < passes; ++p) ++counts[p * width + ((key(e) >> (low + p * digit)) & mask)];
    for (unsigned p = 0; p < passes; ++p) {
        const unsigned shift = low + p * digit;
        std::uint32_t* count = counts.data() + p * width;
        if (count[(key(entries.front()) >> shift) & mask] == n) continue;
        std::uint32_t sum = 0;
        for (size_t b = 0; b < width; ++b) {
            const std::uint32_t here = count[b];
            count[b] = sum;
            sum += here;
        }
        for (const Entry& e : entries) other[count[(key(e) >> shift) & mask]++] = e;
        entries.swap(other);
    }
}

// keyed sorted by key (of at most bits bits), equal keys in the order given.
void SortKeyedRows(std::vector<KeyedRow>& keyed, unsigned bits) {
    RadixSort(keyed, 0, bits, [](const KeyedRow& e) { return e.key; });
}

// The rows 0 .. n - 1 in the order of their keys (of at most bits bits), equal keys in
// row order. When a key and its row fit in 64 bits together, the rows are sorted as
// such numbers (half the bytes moved of a key and a row side by side).
template <typename KeyAt>
std::vector<int> RowsByKey(size_t n, unsigned bits, KeyAt keyAt) {
    std::vector<int> order(n);
    const auto rowBits = static_cast<unsigned>(std::bit_width(n));
    if (bits + rowBits <= 64) {
        std::vector<std::uint64_t> packed(n);
        for (size_t i = 0; i < n; ++i) packed[i] = (bits > 0 ? keyAt(i) << rowBits : 0) | i;
        RadixSort(packed, rowBits, bits, [](std::uint64_t e) { return e; });
        const std::uint64_t rowMask = (std::uint64_t{1} << rowBits) - 1;
        for (size_t k = 0; k < n; ++k) order[k] = static_cast<int>(packed[k] & rowMask);
        return order;
    }
    std::vector<KeyedRow> keyed(n);
    for (size_t i = 0; i < n; ++i) keyed[i] = {keyAt(i), static_cast<std::uint32_t>(i)};
    SortKeyedRows(keyed, bits);
    for (size_t k = 0; k < n; ++k) order[k] = static_cast<int>(keyed[k].row);
    return order;
}

// The dense ranks of numbers (equal numbers rank equal, the smallest 0).
std::vector<std::uint32_t> DenseRanks(const std::vector<std::uint32_t>& numbers) {
    const size_t n = numbers.size();
    std::vector<KeyedRow> keyed(n);
    std::uint32_t max = 0;
    for (size_t i = 0; i < n; ++i) {
        keyed[i] = {numbers[i], static_cast<std::uint32_t>(i)};
        max = std::max(max, numbers[i]);
    }
    SortKeyedRows(keyed, static_cast<unsigned>(std::bit_width(max)));
    std::vector<std::uint32_t> rank(n);
    std::uint32_t r = 0;
    for (size_t k = 0; k < n; ++k) {
        if (k > 0 && keyed[k].key != keyed[k - 1].key) ++r;
        rank[keyed[k].row] = r;
    }
    return rank;
}

// The distinct texts of a column: each gets a number on first sight.
class Distinct {
public:
    std::uint32_t Number(std::string_view text) { return Number(text, Hash(text)); }
    // The hash of text, its slot in the table asked for ahead of Number(text, hash).
    std::uint64_t Fetch(std::string_view text) const {
        const std::uint64_t hash = Hash(text);
        if (!slots_.empty()) Prefetch(&slots_[static_cast<std::uint32_t>(hash) & (slots_.size() - 1)]);
        return hash;
    }
    std::uint32_t Number(std::string_view text, std::uint64_t hash) {
        if (values_.size() * 2 >= slots_.size()) Grow();
        const auto tag = static_cast<std::uint32_t>(hash);
        const size_t mask = slots_.size() - 1;
        for (size_t i = tag & mask;; i = (i + 1) & mask) {
            const std::uint64_t slot = slots_[i];
            if (slot == 0) {
                values_.push_back(text);
                slots_[i] = static_cast<std::uint64_t>(tag) << 32 | values_.size();
                return static_cast<std::uint32_t>(values_.size() - 1);
            }
            const auto number = static_cast<std::uint32_t>(slot) - 1;
            if (static_cast<std::uint32_t>(slot >> 32) == tag && values_[number] == text) return number;
        }
    }
    const std::vector<std::string_view>& Values() const { return values_; }

private:
    // Eight bytes at a time (the last eight overlapping the word before).
    static std::uint64_t Hash(std::string_view text) {
        constexpr std::uint64_t kMul = 0x9E3779B97F4A7C15ULL;
        std::uint64_t h = text.size() * kMul, w = 0;
        const char* p = text.data();
        size_t n = text.size();
        if (n >= 8) {
            for (; n > 8; p += 8, n -= 8) {
                std::memcpy(&w, p, 8);
                h = (h ^ w) * kMul;
                h ^= h >> 29;
            }
            std::memcpy(&w, p + n - 8, 8);
        } else if (n >= 4) {
            std::uint32_t low = 0, high = 0;  // overlapping when n < 8
            std::memcpy(&low, p, 4);
            std::memcpy(&high, p + n - 4, 4);
            w = static_cast<std::uint64_t>(high) << 32 | low;
        } else if (n > 0) {
            w = static_cast<unsigned char>(p[0]) | static_cast<unsigned>(static_cast<unsigned char>(p[n / 2])) << 8 |
                static_cast<unsigned>(static_cast<unsigned char>(p[n - 1])) << 16;
        }
        h = (h ^ w) * 0xD6E8FEB86659FD93ULL;
        return h ^ (h >> 32);
    }
    void Grow() {
        std::vector<std::uint64_t> table(std::max<size_t>(64, slots_.size() * 2), 0);
        const size_t mask = table.size() - 1;
        for (const std::uint64_t slot : slots_) {
            if (slot == 0) continue;
            size_t i = static_cast<size_t>(slot >> 32) & mask;
            while (table[i] != 0) i = (i + 1) & mask;
            table[i] = slot;
        }
        slots_.swap(table);
    }
    // The low half of the text's hash (which places it) beside its number + 1; 0 for a
    // free slot. Tables stay far below 2^32 slots.
    std::vector<std::uint64_t> slots_;
    std::vector<std::string_view> values_;
};

// The types of the rows, each once, in the spelling first seen; types that differ only in
// case are one. Each spelling is lower-cased once, and a type like the one before costs
// no lookup (a sorted list has its types in runs). The texts given must outlive it.
class TypeSpellings {
public:
    void Add(std::string_view type) {
        if (any_ && type == last_) return;
        any_ = true;
        last_ = type;
        const size_t known = spellings_.Values().size();
        if (spellings_.Number(type) == known &&
            lower_.insert(ToBytes(FromBytes(type.data(), type.size()).toLower())).second)
            types_.emplace_back(type);
    }
    const std::vector<std::string>& Types() const { return types_; }
    // What the pass found, told apart by how each type is spelt (see GeneralTypesSeen).
    std::unique_ptr<GeneralTypesSeen> Seen(std::uint64_t changes, int rows) const;

private:
    Distinct spellings_;
    std::unordered_set<std::string> lower_;
    std::string_view last_;
    bool any_ = false;
    std::vector<std::string> types_;  // in the order first seen
};

}  // namespace

// The types of the rows as a pass over them found them. A type spelt one way is shown in
// that spelling wherever its rows are; of one spelt several ways, the spelling of its first
// row is shown, which a sort can change. So while the Type column holds the same texts, the
// list is told again by looking at the rows from the top only until each type spelt several
// ways has come.
struct GeneralTypesSeen {
    std::uint64_t changes = 0;  // the Type column's count of changes at the pass
    int rows = 0;
    std::vector<std::string> single;  // each type spelt one way, in that spelling
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    // Each spelling of a type spelt several ways, with the number of that type.
    std::unordered_map<std::string, int, Hash, std::equal_to<>> several;
    int severalTypes = 0;

    // The types (each one's first spelling) of rows whose Type column holds the texts seen;
    // nullopt when a type spelt several ways is not among them.
    std::optional<std::vector<std::string>> Types(const GeneralRowBytes& rows) const {
        std::vector<std::string> types = single;
        std::vector<char> found(static_cast<size_t>(severalTypes), 0);
        int left = severalTypes;
        for (int i = 0; i < rows.Rows() && left > 0; ++i) {
            const std::string_view type = rows.Cell(i, TGeneralPage::kColType);
            const auto it = several.find(type);
            if (it == several.end() || found[static_cast<size_t>(it->second)]) continue;
            found[static_cast<size_t>(it->second)] = 1;
            --left;
            types.emplace_back(type);
        }
        if (left > 0) return std::nullopt;
        return types;
    }
};

namespace {

std::unique_ptr<GeneralTypesSeen> TypeSpellings::Seen(std::uint64_t changes, int rows) const {
    auto seen = std::make_unique<GeneralTypesSeen>();
    seen->changes = changes;
    seen->rows = rows;
    // The spellings met, by type (the spelling in lower case, as Add tells types apart).
    std::unordered_map<std::string, std::vector<std::string_view>> byType;
    for (const std::string_view spelling : spellings_.Values())
        byType[ToBytes(FromBytes(spelling.data(), spelling.size()).toLower())].push_back(spelling);
    for (const auto& [type, spellings] : byType) {
        if (spellings.size() == 1) {
            seen->single.emplace_back(spellings.front());
            continue;
        }
        for (const std::string_view spelling : spellings)
            seen->several.emplace(std::string(spelling), seen->severalTypes);
        ++seen->severalTypes;
    }
    return seen;
}

enum class SortBy { Type, Description, Value };

SortBy SortByCaption(const QString& caption) {
    return caption == u"Description"_s ? SortBy::Description : caption == u"Value"_s ? SortBy::Value : SortBy::Type;
}

// The key the sort button goes to from by.
SortBy NextSortBy(SortBy by) {
    return by == SortBy::Type ? SortBy::Description : by == SortBy::Description ? SortBy::Value : SortBy::Type;
}

bool CollatesOnBytes(const GeneralRowBytes& rows) {
    // A collator takes the default locale: asking the locale costs no collator.
    return Folded().exact && !rows.Wide() && QLocale().language() == QLocale::C;
}

// Rows a and b compared by key in the C collation, on the bytes; lined is false when
// their values do not both take nine digits, so that the parts after the value would
// not line up (a key that only the collated sort tells right).
int CompareRowsInC(const GeneralRowBytes& rows, int a, int b, SortBy by, bool& lined) {
    const FoldedOrder& o = Folded();
    const int type = TGeneralPage::kColType, desc = TGeneralPage::kColDesc, value = TGeneralPage::kColValue;
    auto compareValues = [&] {
        const int x = ToIntOrZero(rows.Cell(a, value)), y = ToIntOrZero(rows.Cell(b, value));
        lined = x >= 0 && x <= 999999999 && y >= 0 && y <= 999999999;
        if (lined) return x < y ? -1 : x > y ? 1 : 0;
        const std::string p = QString::asprintf("%.9d", x).toStdString(),
                          q = QString::asprintf("%.9d", y).toStdString();
        return p < q ? -1 : p > q ? 1 : 0;
    };
    lined = true;
    int compared = 0;
    if (by == SortBy::Value) {
        compared = compareValues();
        if (!lined) return compared;
        if (compared == 0) compared = ComparePadded(rows.Cell(a, type), rows.Cell(b, type), o);
        if (compared == 0) compared = ComparePadded(rows.Cell(a, desc), rows.Cell(b, desc), o);
    } else {
        const int first = by == SortBy::Type ? type : desc, second = by == SortBy::Type ? desc : type;
        compared = ComparePadded(rows.Cell(a, first), rows.Cell(b, first), o);
        if (compared == 0) compared = ComparePadded(rows.Cell(a, second), rows.Cell(b, second), o);
        if (compared == 0) compared = compareValues();
    }
    return compared;
}

// Rows out of order beyond this many are sorted whole.
constexpr size_t kFewSteps = 16;

// Where the rows step down in key order in the C collation (each i whose key is above
// row i + 1's), up to limit + 1 of them; nullopt when that cannot be told on the bytes.
std::optional<std::vector<int>> StepsDownInC(const GeneralRowBytes& rows, SortBy by, size_t limit) {
    if (!CollatesOnBytes(rows)) return std::nullopt;
    std::vector<int> steps;
    for (int i = 0; i + 1 < rows.Rows(); ++i) {
        bool lined = true;
        const int compared = CompareRowsInC(rows, i, i + 1, by, lined);
        if (by == SortBy::Value && !lined) return std::nullopt;
        if (compared > 0) {
            steps.push_back(i);
            if (steps.size() > limit) break;
        }
    }
    return steps;
}

// The order of rows that are in key order but for the few around the given steps (a
// save after an edit): those rows are taken out, and each put back where it belongs
// (after the rows of an equal key above it, before those below it: the order a stable
// sort gives). nullopt when the rows left are not in order either.
std::optional<std::vector<int>> OrderByMovingFew(const GeneralRowBytes& rows, SortBy by,
                                                 const std::vector<int>& steps) {
    std::vector<int> moving;
    for (const int i : steps) {
        if (moving.empty() || moving.back() < i) moving.push_back(i);
        moving.push_back(i + 1);
    }
    std::vector<int> kept;
    kept.reserve(static_cast<size_t>(rows.Rows()) - moving.size());
    size_t next = 0;
    for (int i = 0; i < rows.Rows(); ++i) {
        if (next < moving.size() && moving[next] == i) {
            ++next;
            continue;
        }
        kept.push_back(i);
    }
    // Row a goes before row b: by key, then by where they are now.
    bool unlined = false;
    auto before = [&](int a, int b) {
        bool lined = true;
        const int compared = CompareRowsInC(rows, a, b, by, lined);
        if (by == SortBy::Value && !lined) unlined = true;
        return compared < 0 || (compared == 0 && a < b);
    };
    // Rows that were neighbours before are in order; only the new neighbours are compared.
    for (size_t k = 0; k + 1 < kept.size(); ++k)
        if (kept[k + 1] != kept[k] + 1 && !before(kept[k], kept[k + 1])) return std::nullopt;
    for (const int row : moving) {
        const auto at = std::partition_point(kept.begin(), kept.end(), [&](int other) { return before(other, row); });
        kept.insert(at, row);
    }
    if (unlined) return std::nullopt;
    return kept;
}

}  // namespace

// The ranks of the rows worked out a slice of rows at a time (so that it can be done
// while the window waits for the player): each row's value read and its Type and
// Description numbered by distinct text, then every distinct text ranked once. The
// numbers hold views of the grid's texts: the work holds only while the grid's count
// of changes stays as it was at the start.
class GeneralRanking {
public:
    GeneralRanking(size_t rows, std::uint64_t stamp) : values_(rows), typeNo_(rows), descNo_(rows), stamp_(stamp) {}
    size_t Rows() const { return values_.size(); }
    size_t Numbered() const { return numbered_; }
    std::uint64_t Stamp() const { return stamp_; }
    // The rows from Numbered() up to end. The table slots a row's texts will look at
    // are fetched a few rows ahead.
    void Number(const GeneralRowBytes& rows, size_t end) {
        end = std::min(end, Rows());
        const size_t begin = numbered_;
        constexpr size_t kAhead = 8;
        std::uint64_t typeHash[kAhead], descHash[kAhead];
        auto hashAhead = [&](size_t i) {
            const int row = static_cast<int>(i);
            typeHash[i % kAhead] = types_.Fetch(rows.Cell(row, TGeneralPage::kColType));
            descHash[i % kAhead] = descs_.Fetch(rows.Cell(row, TGeneralPage::kColDesc));
        };
        for (size_t i = begin; i < std::min(begin + kAhead, end); ++i) hashAhead(i);
        for (size_t i = begin; i < end; ++i) {
            const int row = static_cast<int>(i);
            typeNo_[i] = types_.Number(rows.Cell(row, TGeneralPage::kColType), typeHash[i % kAhead]);
            descNo_[i] = descs_.Number(rows.Cell(row, TGeneralPage::kColDesc), descHash[i % kAhead]);
            if (i + kAhead < end) hashAhead(i + kAhead);
            const GeneralRow cells{rows.Cell(row, TGeneralPage::kColType), rows.Cell(row, TGeneralPage::kColDesc),
                                   rows.Cell(row, TGeneralPage::kColValue)};
            const int value = ToIntOrZero(cells[TGeneralPage::kColValue]);
            if (value < 0 || value > 999999999) nineDigits_ = false;
            values_[i] = static_cast<std::uint32_t>(value);
            if (asShown_) asShown_ = ReadsBackAsShown(cells, LookAtGeneralRow(cells));
        }
        numbered_ = std::max(numbered_, end);
    }
    // Every row numbered: the ranks. The values not all of nine digits are ranked as the
    // texts "%.9d" gives only when valueTexts (a key that has them last).
    void Finish(GeneralTextRanks& ranks, bool valueTexts) {
        const FoldedOrder& o = Folded();
        const size_t n = Rows();
        ranks.valuesLined = nineDigits_;
        ranks.asShown = asShown_;
        ranks.value.clear();
        if (nineDigits_) {
            // Ranked densely: fewer bits for the sort's key.
            ranks.value = DenseRanks(values_);
        } else if (valueTexts) {
            std::vector<std::string> texts(n);
            for (size_t i = 0; i < n; ++i)
                texts[i] = QString::asprintf("%.9d", static_cast<int>(values_[i])).toStdString();
            std::vector<std::uint32_t> byText(n);
            std::iota(byText.begin(), byText.end(), 0u);
            std::stable_sort(byText.begin(), byText.end(),
                             [&](std::uint32_t a, std::uint32_t b) { return texts[a] < texts[b]; });
            ranks.value.assign(n, 0);
            std::uint32_t r = 0;
            for (size_t k = 0; k < n; ++k) {
                if (k > 0 && texts[byText[k]] != texts[byText[k - 1]]) ++r;
                ranks.value[byText[k]] = r;
            }
        }
        // Each distinct text ranked once, and every row given its text's rank.
        auto rankColumn = [&](const Distinct& distinct, std::vector<std::uint32_t>& number, std::uint32_t& max) {
            const std::vector<std::string_view>& texts = distinct.Values();
            const std::vector<std::uint32_t> rank = RankPadded(
                texts.size(), [&](size_t k) { return texts[k]; }, o);
            for (std::uint32_t& v : number) v = rank[v];
            max = rank.empty() ? 0u : *std::max_element(rank.begin(), rank.end());
        };
        rankColumn(types_, typeNo_, ranks.typeMax);
        rankColumn(descs_, descNo_, ranks.descMax);
        ranks.type = std::move(typeNo_);
        ranks.desc = std::move(descNo_);
        ranks.stamp = stamp_;
    }

private:
    std::vector<std::uint32_t> values_, typeNo_, descNo_;
    Distinct types_, descs_;
    bool nineDigits_ = true;
    bool asShown_ = true;
    size_t numbered_ = 0;
    std::uint64_t stamp_;
};

namespace {

// The ranks of a key's three parts, in the order of the key.
struct RankedKey {
    const std::vector<std::uint32_t>* parts[3];
    std::uint32_t maxima[3];

    RankedKey(const GeneralTextRanks& ranks, SortBy by) {
        const std::uint32_t valueMax =
            ranks.value.empty() ? 0 : *std::max_element(ranks.value.begin(), ranks.value.end());
        const bool byDesc = by == SortBy::Description, byValue = by == SortBy::Value;
        parts[0] = byValue ? &ranks.value : byDesc ? &ranks.desc : &ranks.type;
        parts[1] = byValue || byDesc ? &ranks.type : &ranks.desc;
        parts[2] = byValue ? &ranks.desc : &ranks.value;
        maxima[0] = byValue ? valueMax : byDesc ? ranks.descMax : ranks.typeMax;
        maxima[1] = byValue || byDesc ? ranks.typeMax : ranks.descMax;
        maxima[2] = byValue ? ranks.descMax : valueMax;
    }
};

// StepsDownInC told from ranks that fit the rows (every part ranked, values lined up
// when the key starts with them): three numbers compared for each pair of neighbours.
std::optional<std::vector<int>> StepsDownOnRanks(const GeneralTextRanks& ranks, SortBy by, size_t rows,
                                                 size_t limit) {
    if (ranks.value.size() != rows || (by == SortBy::Value && !ranks.valuesLined)) return std::nullopt;
    const RankedKey key(ranks, by);
    const std::vector<std::uint32_t>&p0 = *key.parts[0], &p1 = *key.parts[1], &p2 = *key.parts[2];
    std::vector<int> steps;
    for (size_t i = 0; i + 1 < rows; ++i) {
        const bool down = p0[i] != p0[i + 1]   ? p0[i] > p0[i + 1]
                          : p1[i] != p1[i + 1] ? p1[i] > p1[i + 1]
                                               : p2[i] > p2[i + 1];
        if (down) {
            steps.push_back(static_cast<int>(i));
            if (steps.size() > limit) break;
        }
    }
    return steps;
}

// The order of the rows by key in the C collation, worked out on the bytes: every key
// part ranked (Type and Description padded and case-folded, Value as its nine digits),
// then the ranks sorted, equal keys in row order. nullopt when it cannot be done so
// exactly (a collation of the locale, text outside Windows-1252, a value that does
// not take nine digits in front of the other parts). The ranks are worked out first
// unless ranksFit.
std::optional<std::vector<int>> OrderInC(const GeneralRowBytes& rows, SortBy by, GeneralTextRanks& ranks,
                                         bool ranksFit, std::uint64_t stamp) {
    if (!CollatesOnBytes(rows)) return std::nullopt;
    const size_t n = static_cast<size_t>(rows.Rows());
    if (!ranksFit) {
        GeneralRanking ranking(n, stamp);
        ranking.Number(rows, n);
        ranking.Finish(ranks, by != SortBy::Value);
    }
    // By value first, the parts after it would not line up.
    if (by == SortBy::Value && !ranks.valuesLined) return std::nullopt;
    const RankedKey key(ranks, by);
    const auto& parts = key.parts;
    const auto& maxima = key.maxima;
    // The key: the parts' ranks side by side, the first most significant.
    const auto width1 = static_cast<unsigned>(std::bit_width(maxima[1]));
    const auto width2 = static_cast<unsigned>(std::bit_width(maxima[2]));
    const auto width0 = static_cast<unsigned>(std::bit_width(maxima[0]));
    struct Entry {
        std::uint64_t first, rest;
        std::uint32_t row;
    };
    const unsigned bits = width0 + width1 + width2;
    if (bits <= 64) {
        const std::vector<std::uint32_t>&p0 = *parts[0], &p1 = *parts[1], &p2 = *parts[2];
        return RowsByKey(n, bits, [&](size_t i) {
            return (width0 > 0 ? static_cast<std::uint64_t>(p0[i]) << (width1 + width2) : 0) |
                   (width1 > 0 ? static_cast<std::uint64_t>(p1[i]) << width2 : 0) | p2[i];
        });
    }
    std::vector<Entry> entries(n);
    for (size_t i = 0; i < n; ++i)
        entries[i] = {(*parts[0])[i], static_cast<std::uint64_t>((*parts[1])[i]) << width2 | (*parts[2])[i],
                      static_cast<std::uint32_t>(i)};
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.first != b.first ? a.first < b.first : a.rest != b.rest ? a.rest < b.rest : a.row < b.row;
    });
    std::vector<int> order(n);
    for (size_t k = 0; k < n; ++k) order[k] = static_cast<int>(entries[k].row);
    return order;
}

}  // namespace

TGeneralPage::TGeneralPage(ListHost& host, QWidget* page)
    : TEditableList(host, kFileName), ranks_(std::make_unique<GeneralTextRanks>()), page_(page) {
    setObjectName(u"GeneralList"_s);
    BuildControls(page);
    rankTimer_ = new QTimer(this);
    rankTimer_->setSingleShot(true);
    rankTimer_->setInterval(0);
    connect(rankTimer_, &QTimer::timeout, this, [this] { RankSlice(); });
}

TGeneralPage::~TGeneralPage() = default;

void TGeneralPage::BuildControls(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);

    auto button = [](QWidget* parent, const char* name, const char* caption, int image, const char* hint) {
        return MakeBarButton(parent, name, QString::fromLatin1(caption), image, QString::fromLatin1(hint));
    };
    auto panel = [&](const char* name) {
        auto* p = new TPanelResize(page);
        p->setObjectName(name);
        p->setFixedHeight(28);
        layout->addWidget(p);
        return p;
    };

    gbOthBtn_ = panel("Gb_OthBtn");
    EditButtons bar;
    bar.edit = button(gbOthBtn_, "Btn_GenEdit", "Edit", BtnImage::Edit, "Edit the selected item");
    bar.save = button(gbOthBtn_, "Btn_GenSave", "Save", BtnImage::Save, "Save the changes");
    bar.reset = button(gbOthBtn_, "Btn_GenCancel", "Reset", BtnImage::Reset, "Throw the changes away");
    bar.newItem = button(gbOthBtn_, "Btn_GenNew", "New", BtnImage::New, "Add a new item");
    bar.del = button(gbOthBtn_, "Btn_GenDelete", "Delete", BtnImage::Delete, "Delete the selected item");
    bar.send = button(gbOthBtn_, "Btn_GenSend", "Send", BtnImage::Send, "Send the selected item to the game");

    gbOthBtn2_ = panel("Gb_OthBtn2");
    btnSort_ = button(gbOthBtn2_, "Btn_GeneralSort", "Type", -1, "Sort key: press for the next one");
    auto* types = new TComboBoxSig(gbOthBtn2_);
    cbType_ = types;
    cbType_->setObjectName("Cb_OthType");
    cbType_->setToolTip(u"Item types"_s);
    cbType_->setEditable(false);
    cbType_->setMinimumContentsLength(10);
    btnNoItems_ = button(gbOthBtn2_, "Btn_NoItems", "No Items : 0", -1, "Number of items in the list");

    gbGeneral_ = new QGroupBox(u"General List"_s, page);
    gbGeneral_->setObjectName("Gb_General");
    auto* inner = new QVBoxLayout(gbGeneral_);
    inner->setContentsMargins(2, 2, 2, 2);
    grid_ = new TStringGrid(gbGeneral_);
    grid_->setObjectName("SGrid_General");
    grid_->setColCount(3);
    grid_->setFixedRows(1);
    grid_->setFixedCols(0);
    grid_->setRowCount(2);
    grid_->setDefaultRowHeight(16);
    for (int c = 0; c < 3; ++c) grid_->setColWidths(c, kDesignWidths[c]);
    grid_->setColumnAlignment(kColValue, Qt::AlignRight);
    grid_->setCellMargins(2, 2, 5);
    grid_->setTabs(true);
    inner->addWidget(grid_);
    layout->addWidget(gbGeneral_, 1);

    lbDesc_ = new QLabel(u"  "_s, page);
    lbDesc_->setObjectName("Lb_GeneralDesc");
    layout->addWidget(lbDesc_);

    WireButtons(bar);
    connect(btnSort_, &QAbstractButton::clicked, this, [this] { Btn_GeneralSortClick(); });
    connect(cbType_, &QComboBox::activated, this, [this] { Cb_OthTypeChange(); });
    connect(grid_, &TStringGrid::cellSelected, this, [this](int col, int row) { SGrid_GeneralSelectCell(col, row); });
    connect(grid_, &TStringGrid::cellClicked, this, [this] { SGrid_GeneralClick(); });
    connect(grid_, &TStringGrid::cellDoubleClicked, this, [this] { Btn_GenSendClick(); });
    grid_->setKeyFilter([this](int col, int row, QChar& ch) { return SGrid_GeneralKeyPress(col, row, ch); });
    // The page's own resize (a posted size message arrives the same way).
    page->installEventFilter(this);
    grid_->viewport()->installEventFilter(this);
}

QString TGeneralPage::Cell(int col, int row) const { return grid_->Cells(col, row); }

int TGeneralPage::ItemRows() const { return grid_->RowCount() - 1; }

void TGeneralPage::BrowsingChanged(bool browsing) { SetGridEditing(*grid_, !browsing); }

void TGeneralPage::SetCountCaption() { btnNoItems_->setText(u"No Items : "_s + QString::number(ItemRows())); }

void TGeneralPage::SelectTypeInCombo(const QString& type) {
    cbType_->setCurrentIndex(cbType_->findText(type, Qt::MatchFixedString));  // ignores case
}

void TGeneralPage::LoadGeneralList() {
    typesSeen_.reset();
    grid_->BeginUpdate();
    struct End {
        TStringGrid* g;
        ~End() { g->EndUpdate(); }
    } end{grid_};
    const auto header = [this] {
        grid_->setCells(kColType, 0, u"Type"_s);
        grid_->setCells(kColDesc, 0, u"Description"_s);
        grid_->setCells(kColValue, 0, u"Value"_s);
    };
    grid_->ClearCells();
    header();

    const QString remembered = cbType_->currentText();

    const std::string path = host_.DataFilePath(kFileName);
    std::vector<std::string> types;  // the first spelling of each type, in file order
    ReadWhole([&] {
        if (!FileExists(path)) return;
        // The grid keeps its rows when no line is an item.
        const int before = grid_->RowCount();
        FileLoad load;
        if (!TakeAhead(path, load)) {
            // Read into the memory the grid kept from its last load.
            grid_->SwapCells(load.cells);
            try {
                load.cells.ClearAll();
                ReadFile(path, load);
            } catch (...) {
                grid_->SwapCells(load.cells);
                header();
                throw;
            }
        }
        grid_->SwapCells(load.cells);
        grid_->setRowCount(load.rows > 1 ? load.rows : before);
        header();
        types = std::move(load.types);
        // A line longer than kMaxLineBytes is shown cut to that length, and said once.
        if (load.cut.lines > 0) CutOnLoading(CutLinesMessage(kFileName, load.cut.first, load.cut.lines));
    });
    SetTypeList(types, remembered);
    SetCountCaption();
    grid_->setEditorMode(false);
    WantRanks();
}

void TGeneralPage::ReadFile(const std::string& path, FileLoad& load) {
    load.path = path;
    load.stamp = StampOf(path);  // before the read: a change while reading shows as a change
    const BigBytes bytes = ReadBigFileBytes(path);
    const std::string_view text(bytes);
    // Room for every line at once; the rows left over go at the end.
    const size_t lines = std::min<size_t>(CountLineFeeds(text) + 1, INT_MAX - 2);
    load.cells.Resize(kColValue + 1, static_cast<int>(lines) + 1);
    TypeSpellings spellings;
    int r = 1;
    ForEachGeneralItem(
        text,
        [&](const GeneralRow& row, std::string_view) {
            load.cells.SetRowBytes(r, row.data(), static_cast<int>(row.size()));
            spellings.Add(row[kColType]);
            ++r;
        },
        load.cut);
    load.rows = r;
    load.types = spellings.Types();
}

std::unique_ptr<Preload<TGeneralPage::FileLoad>> TGeneralPage::StartPreload(const std::string& path) {
    return std::make_unique<Preload<FileLoad>>([path] {
        FileLoad load;
        ReadFile(path, load);
        return load;
    });
}

bool TGeneralPage::TakeAhead(const std::string& path, FileLoad& load) {
    if (!preload_) return false;
    std::optional<FileLoad> ahead = preload_->Take();
    preload_.reset();
    if (!ahead || ahead->path != path || !ahead->stamp.exists || StampOf(path) != ahead->stamp) return false;
    load = std::move(*ahead);
    return true;
}

void TGeneralPage::SetTypeList(const std::vector<std::string>& types, const QString& remembered) {
    QStringList typeList;
    typeList.reserve(static_cast<qsizetype>(types.size()));
    for (const std::string& t : types) typeList << FromBytes(t);
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // Types the collation holds equal come in the order of their texts, whatever the order
    // they were found in.
    std::sort(typeList.begin(), typeList.end(), [&](const QString& a, const QString& b) {
        const int order = collator.compare(a, b);
        return order != 0 ? order < 0 : a < b;
    });
    // The same types as the box shows (a save that added no type): the box is left as it
    // is, and only the remembered type chosen again; nothing in it is drawn anew.
    bool same = cbType_->count() == typeList.size();
    for (int i = 0; same && i < cbType_->count(); ++i) same = cbType_->itemText(i) == typeList[i];
    if (!same) {
        cbType_->clear();
        cbType_->addItems(typeList);
        cbType_->setMaxVisibleItems(std::max(std::min(static_cast<int>(typeList.size()), 20), 1));
    }
    const int chosen = Blank(remembered) ? -1 : cbType_->findText(remembered, Qt::MatchFixedString);  // ignores case
    if (!same || cbType_->currentIndex() != chosen) cbType_->setCurrentIndex(chosen);
}

void TGeneralPage::ShowSavedList() {
    const QString remembered = cbType_->currentText();
    GeneralRowBytes rows(*grid_);
    // A save that changed no type (its sort only moved rows) needs no pass over every row.
    const std::uint64_t typeChanges = grid_->Store().ColumnChanges(kColType);
    std::optional<std::vector<std::string>> types;
    if (typesSeen_ && typesSeen_->changes == typeChanges && typesSeen_->rows == rows.Rows())
        types = typesSeen_->Types(rows);
    if (!types) {
        TypeSpellings spellings;
        for (int i = 0; i < rows.Rows(); ++i) spellings.Add(rows.Cell(i, kColType));
        types = spellings.Types();
        typesSeen_ = spellings.Seen(typeChanges, rows.Rows());
    }
    SetTypeList(*types, remembered);
    SetCountCaption();
    grid_->setEditorMode(false);
    WantRanks();
}

void TGeneralPage::WantRanks() {
    rankingWanted_ = true;
    ranking_.reset();
    nextOrder_.reset();
    rankTimer_->stop();  // started by the grid's next paint
}

size_t TGeneralPage::RowsRankedAhead() const { return ranking_ ? ranking_->Numbered() : 0; }

void TGeneralPage::RankSlice() {
    if (!rankingWanted_) return;
    GeneralRowBytes rows(*grid_);
    const size_t n = static_cast<size_t>(rows.Rows());
    const std::uint64_t stamp = grid_->Store().Changes();
    if (n == 0 || !CollatesOnBytes(rows)) {
        rankingWanted_ = false;
        ranking_.reset();
        return;
    }
    if (ranks_->FitFor(*grid_, n)) {
        OrderAhead(rows);
        rankingWanted_ = false;
        ranking_.reset();
        return;
    }
    // The rows changed since the last slice: the numbers so far view old texts.
    if (ranking_ && (ranking_->Stamp() != stamp || ranking_->Rows() != n)) ranking_.reset();
    if (!ranking_) ranking_ = std::make_unique<GeneralRanking>(n, stamp);
    ranking_->Number(rows, ranking_->Numbered() + static_cast<size_t>(rankingSlice_));
    if (ranking_->Numbered() < n) {
        rankTimer_->start();
        return;
    }
    ranking_->Finish(*ranks_, true);  // the values as texts too, whatever key comes next
    ranking_.reset();
    rankTimer_->start();  // the next key's order at the next turn
}

void TGeneralPage::OrderAhead(const GeneralRowBytes& rows) {
    const SortBy next = NextSortBy(SortByCaption(btnSort_->text()));
    const std::uint64_t stamp = grid_->Store().Changes();
    if (nextOrder_ && nextOrder_->by == static_cast<int>(next) && nextOrder_->stamp == stamp) return;
    nextOrder_.reset();
    std::optional<std::vector<int>> order = OrderInC(rows, next, *ranks_, true, stamp);
    if (!order) return;
    // A press leaves the grid where it is: the rows on screen then hold the items that
    // come there in the new order.
    const int top = std::max(grid_->TopRow(), 1);
    const int end =
        std::min({top + grid_->VisibleRowCount() + 1, grid_->RowCount(), static_cast<int>(order->size()) + 1});
    std::vector<int> coming;
    for (int row = top; row < end; ++row) coming.push_back((*order)[static_cast<size_t>(row - 1)] + 1);
    grid_->LayOutAhead(coming);
    nextOrder_ = NextOrder{static_cast<int>(next), stamp, std::move(*order)};
}

bool TGeneralPage::CheckGeneralList() {
    GeneralRowBytes rows(*grid_);
    return CheckRows(rows);
}

bool TGeneralPage::CheckRows(GeneralRowBytes& rows) {
    // The usual row (a plain value, texts without a comma, blank ends or excess) is
    // left as it is; the others are corrected in the grid, in row order, and the rows
    // then read again (a correction may move the grid's texts). The same pass finds
    // where the rows step down in the order of the sort key, which the sort after the
    // check needs first (while that can be told on the bytes).
    //
    // After a save that left every row plain and in key order on the bytes, only the
    // rows set since (and their neighbours, for the order) are looked at.
    const SortBy by = SortByCaption(btnSort_->text());
    bool stepsKnown = CollatesOnBytes(rows);
    const int n = rows.Rows();
    int checkFrom = 0, checkTo = n;  // rows whose cells are checked
    int stepFrom = 1, stepTo = n;    // rows compared with the row before
    int setFirst = 0, setEnd = 0;
    // The rows not looked at were written as shown by that save: when the ones looked at
    // are as well, the write need not look at any.
    bool asShown = false;
    if (stepsKnown && checkedBy_ && grid_->Store().RowsSetSinceMark(setFirst, setEnd)) {
        asShown = !rows.Wide();
        // Grid rows to item rows (from 0).
        checkFrom = std::clamp(setFirst - 1, 0, n);
        checkTo = std::clamp(setEnd - 1, checkFrom, n);
        if (*checkedBy_ == static_cast<int>(by)) {
            stepFrom = std::max(checkFrom, 1);
            stepTo = std::min(checkTo + 1, n);
        }
    }
    std::vector<int> unusual, steps;
    const int from = std::min(checkFrom, stepFrom), to = std::max(checkTo, stepTo);
    for (int i = from; i < to; ++i) {
        if (i >= checkFrom && i < checkTo) {
            const GeneralRow cells{rows.Cell(i, kColType), rows.Cell(i, kColDesc), rows.Cell(i, kColValue)};
            const GeneralRowLook look = LookAtGeneralRow(cells);
            if (!look.plain) unusual.push_back(i + 1);
            if (!ReadsBackAsShown(cells, look)) asShown = false;
        }
        if (stepsKnown && i >= stepFrom && i < stepTo && steps.size() <= kFewSteps) {
            bool lined = true;
            if (CompareRowsInC(rows, i - 1, i, by, lined) > 0) steps.push_back(i - 1);
            if (by == SortBy::Value && !lined) stepsKnown = false;
        }
    }
    if (unusual.empty()) {
        if (stepsKnown) rows.SetSteps(static_cast<int>(by), std::move(steps));
        rows.SetKnownAsShown(asShown);
        return true;
    }
    bool checked = true;
    for (const int row : unusual)
        if (!CheckRow(row)) {
            checked = false;
            break;
        }
    rows.ReadAll();
    return checked;
}

bool TGeneralPage::CheckRow(int row) {
    Dialogs& dialogs = host_.HostDialogs();
    std::string value = grid_->CellBytes(kColValue, row);
    if (IsBlank(value)) {
        value.assign(1, '0');
        grid_->setCellBytes(kColValue, row, value);
    }
    const std::string corrected = DigitsToAmount(value.substr(0, kMaxValue), false);
    if (corrected != value) {
        const QString text = Cell(kColDesc, row) + u"\n\rInvalid Value "_s + FromBytes(value) + u"\n\rAltered to "_s +
                             FromBytes(corrected) + u" !"_s;
        if (dialogs.ShowMessageBox(text, MsgKind::Warning, mbOK | mbCancel) == mbCancel) return false;
        grid_->setCellBytes(kColValue, row, corrected);
    }

    auto clean = [&](int col, std::size_t limit, const QString& what, bool showCut) {
        const std::string old = grid_->CellBytes(col, row);
        std::string text = CleanField(old, false);
        const bool cut = text.size() > limit;
        // Cut, then trim again: a cut that ends in a blank would otherwise leave a
        // line that the next save changes once more.
        if (cut) text = CleanField(text.substr(0, limit), false);
        if (text != old) grid_->setCellBytes(col, row, text);
        if (cut) {
            const QString first = showCut ? FromBytes(text) : Cell(kColDesc, row);
            dialogs.ShowMessageBox(first + u"\n\r"_s + what + u" truncated ("_s + QString::number(limit) + u" Max)"_s,
                                   MsgKind::Warning, mbOK);
        }
    };
    clean(kColType, kMaxType, u"Type"_s, false);
    clean(kColDesc, kMaxDesc, u"Description"_s, true);
    return true;
}

void TGeneralPage::SortGeneralList() {
    if (ItemRows() < 1) return;
    GeneralRowBytes rows(*grid_);
    SortRows(rows);
}

void TGeneralPage::SortRows(GeneralRowBytes& rows) {
    if (rows.Rows() < 1) return;
    const SortBy by = SortByCaption(btnSort_->text());
    if (rows.SortedBy() == static_cast<int>(by)) return;
    // Rows in order, or nearly (a save after an edit), are not sorted again.
    const std::vector<int>* known = rows.StepsFor(static_cast<int>(by));
    const size_t count = static_cast<size_t>(rows.Rows());
    const bool ranksFit = ranks_->FitFor(*grid_, count);
    std::optional<std::vector<int>> order;
    bool ranked = false;  // the order is of the ranks, which fit the rows as they are
    // The order worked out ahead, when it is of this key and the rows as they are.
    std::optional<NextOrder> ahead = std::move(nextOrder_);
    nextOrder_.reset();
    if (ahead && ahead->by == static_cast<int>(by) && ahead->stamp == grid_->Store().Changes() &&
        ahead->order.size() == count && ranksFit && CollatesOnBytes(rows)) {
        order = std::move(ahead->order);
        ranked = true;
    }
    ahead.reset();
    std::optional<std::vector<int>> steps;
    if (!order) {
        if (known)
            steps = *known;
        else if (ranksFit && CollatesOnBytes(rows))
            steps = StepsDownOnRanks(*ranks_, by, count, kFewSteps);
        if (!known && !steps) steps = StepsDownInC(rows, by, kFewSteps);
        if (steps && steps->empty()) {
            rows.SetSortedBy(static_cast<int>(by), true);
            return;
        }
        if (steps && steps->size() <= kFewSteps) order = OrderByMovingFew(rows, by, *steps);
        if (!order && steps) {
            order = OrderInC(rows, by, *ranks_, ranksFit, grid_->Store().Changes());
            ranked = order.has_value();
        }
    }
    const bool onBytes = order.has_value();
    if (!order) order = CollatedOrder();
    bool moved = false;
    for (size_t k = 0; k < order->size() && !moved; ++k) moved = (*order)[k] != static_cast<int>(k);
    rows.SetSortedBy(static_cast<int>(by), onBytes);
    if (!moved) return;  // already in key order
    if (ranked) ranks_->Permute(*order);
    for (int& index : *order) index += 1;  // grid row numbers
    grid_->PermuteRows(*order);
    // The ranks go with their rows.
    if (ranked) ranks_->stamp = grid_->Store().Changes();
    // The grid's texts have moved: the rows are read again, now in key order.
    const bool asShown = rows.KnownAsShown();
    rows.ReadAll();
    rows.SetSortedBy(static_cast<int>(by), onBytes);
    rows.SetKnownAsShown(asShown);
}

std::vector<int> TGeneralPage::CollatedOrder() const {
    const int rows = ItemRows();
    qsizetype typeWidth = 0, descWidth = 0;
    for (int row = 1; row <= rows; ++row) {
        typeWidth = std::max(typeWidth, Cell(kColType, row).size());
        descWidth = std::max(descWidth, Cell(kColDesc, row).size());
    }
    const SortBy by = SortByCaption(btnSort_->text());
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(static_cast<size_t>(rows));
    for (int row = 1; row <= rows; ++row) {
        const QString type = Cell(kColType, row).leftJustified(typeWidth, u' ');
        const QString desc = Cell(kColDesc, row).leftJustified(descWidth, u' ');
        const QString value = QString::asprintf("%.9d", ToIntOrZero(ToBytes(Cell(kColValue, row))));
        const QString key = by == SortBy::Description ? desc + type + value
                            : by == SortBy::Value     ? value + type + desc
                                                      : type + desc + value;
        // Case is folded first so that the order ignores it whatever the
        // collation the system offers.
        keys.push_back(collator.sortKey(key.toCaseFolded()));
    }
    std::vector<int> order(static_cast<size_t>(rows));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return keys[a].compare(keys[b]) < 0; });
    return order;
}

bool TGeneralPage::SaveGeneralList() {
    GeneralRowBytes rows(*grid_);
    return SaveRows(rows);
}

namespace {

// Thrown out of a write that meets a row the save's check would correct.
struct UnusualRow {};

}  // namespace

bool TGeneralPage::SaveRows(GeneralRowBytes& rows, bool sorted) {
    writtenAsShown_ = false;
    if (!MayWrite()) return false;
    const std::string path = host_.DataFilePath(kFileName);
    auto write = [&](bool checking) {
        // Every row plain, none blank and no line break inside a text: each row is one
        // line, read back as the grid shows it.
        bool asShown = !rows.Wide();
        // Rows known to be written as shown (found so when their ranks were worked out, or
        // by the check) are not looked at again.
        const bool known = asShown && (rows.KnownAsShown() || (ranks_->asShown &&
                                                               ranks_->FitFor(*grid_, static_cast<size_t>(rows.Rows()))));
        ReplaceFileAtomically(path, [&](FileWriter& out) {
            WriteGeneralLines(out, static_cast<size_t>(rows.Rows()), [&](size_t i) {
                const int row = static_cast<int>(i);
                const GeneralRow cells{rows.Cell(row, kColType), rows.Cell(row, kColDesc), rows.Cell(row, kColValue)};
                if (known) return cells;
                const GeneralRowLook look = LookAtGeneralRow(cells);
                if (!look.plain && checking) throw UnusualRow{};
                if (!ReadsBackAsShown(cells, look)) asShown = false;
                return cells;
            });
        });
        writtenAsShown_ = asShown;
        // Every row plain and in key order on the bytes: the next check looks only at
        // the rows set from now on.
        const SortBy by = SortByCaption(btnSort_->text());
        if (asShown && rows.SortedBy() == static_cast<int>(by) && rows.SortedOnBytes()) {
            grid_->MarkRows();
            checkedBy_ = static_cast<int>(by);
        }
    };
    if (sorted) {
        // Rows just sorted (the sort button) are checked as they are written, in one pass:
        // the first row the check would correct drops the half-written working copy, and
        // the save goes the long way (check, sort again, write), as it would have anyway.
        try {
            write(true);
            return true;
        } catch (const UnusualRow&) {
        }
    }
    if (!CheckRows(rows)) return false;
    SortRows(rows);
    write(false);
    return true;
}

void TGeneralPage::StartGeneralEdit(bool isNew) {
    if (!host_.State().Ready) return;
    SetBrowsing(false);
    if (!isNew) {
        grid_->setCol(kColValue);
    } else if (cbType_->currentIndex() >= 0) {
        grid_->setEditorMode(false);
        grid_->setCells(kColType, grid_->Row(), cbType_->currentText());
        grid_->setCol(kColDesc);
    } else {
        grid_->setCol(kColType);
    }
    grid_->setEditorMode(true);
    grid_->setFocus();
}

void TGeneralPage::Btn_GenNewClick() {
    if (ItemRows() == 1 && Cell(kColType, 1).isEmpty() && Cell(kColDesc, 1).isEmpty() && Cell(kColValue, 1).isEmpty()) {
        grid_->setRow(1);
    } else {
        grid_->setEditorMode(false);
        grid_->setRowCount(grid_->RowCount() + 1);
        grid_->setRow(grid_->RowCount() - 1);
    }
    SetCountCaption();
    StartGeneralEdit(true);
}

void TGeneralPage::EndGeneralEdit(bool cancel) {
    grid_->setEditorMode(false);  // the open editor's text is already in its cell
    const int row = grid_->Row();
    const QString type = Cell(kColType, row), desc = Cell(kColDesc, row), value = Cell(kColValue, row);
    if (!cancel) {
        bool saved = false;
        Guard([&] { saved = SaveGeneralList(); });
        if (!saved) {
            grid_->setEditorMode(true);
            return;
        }
    }
    SetBrowsing(true);
    // A save that wrote every row as shown leaves the grid as a reload would: the file
    // is not read again.
    if (!cancel && writtenAsShown_)
        Guard([this] { ShowSavedList(); });
    else
        Guard([this] { LoadGeneralList(); });
    if (!cancel)
        FindGeneralItem(type, desc, value);
    else
        grid_->setRow(std::min(row, grid_->RowCount() - 1));
    ShowGeneralDesc(grid_->Row());
}

void TGeneralPage::FindGeneralItem(const QString& type, const QString& description, const QString& value) {
    if (Blank(type + description)) return;
    // Compared on the cells' bytes where they lie, when every cell and every text sought
    // has its bytes (no text object per cell).
    GeneralRowBytes rows(*grid_);
    std::string wanted[3];
    bool onBytes = !rows.Wide() && rows.Rows() == ItemRows();
    for (const auto& [col, text] : {std::pair{kColType, &type}, {kColDesc, &description}, {kColValue, &value}}) {
        if (Blank(*text)) continue;
        wanted[col] = ToBytes(*text);
        onBytes = onBytes && FromBytes(wanted[col]) == *text;
    }
    if (onBytes) {
        for (int i = 0; i < rows.Rows(); ++i) {
            bool matches = true;
            for (int col = 0; col < 3 && matches; ++col)
                matches = wanted[col].empty() || rows.Cell(i, col) == wanted[col];
            if (matches) {
                grid_->setRow(i + 1);
                return;
            }
        }
        return;
    }
    for (int row = 1; row < grid_->RowCount(); ++row) {
        // A cell of another length is another text (the length costs no text object).
        auto matches = [&](int col, const QString& wanted) {
            return Blank(wanted) || (grid_->CellLength(col, row) == wanted.size() && Cell(col, row) == wanted);
        };
        if (matches(kColType, type) && matches(kColDesc, description) && matches(kColValue, value)) {
            grid_->setRow(row);
            return;
        }
    }
}

QString TGeneralPage::GeneralItemText(bool forHint) const {
    const int row = grid_->Row();
    if (row < 1 || row >= grid_->RowCount()) return {};
    const QString desc = Cell(kColDesc, row);
    if (Blank(desc)) return {};
    const QString value = Cell(kColValue, row);
    if (forHint) return desc + u" = "_s + value;
    const SendRowOptions& options = host_.OptionValues().SendRow(kGeneralSendRow);
    QString text = options.value ? value : QString();
    if (options.description) {
        if (!Blank(text)) text += u',';
        text += desc;
    }
    return text;
}

void TGeneralPage::ShowGeneralDesc(int row) {
    QString text;
    if (row >= 1 && row < grid_->RowCount() && !Blank(Cell(kColDesc, row)))
        text = Cell(kColDesc, row) + u" = "_s + Cell(kColValue, row);
    lbDesc_->setText(u"  "_s + text);
}

void TGeneralPage::Btn_GenEditClick() { StartGeneralEdit(false); }
void TGeneralPage::Btn_GenSaveClick() { EndGeneralEdit(false); }
void TGeneralPage::Btn_GenCancelClick() { EndGeneralEdit(true); }

void TGeneralPage::Btn_GenDeleteClick() {
    const int row = grid_->Row();
    if (row < 1 || row >= grid_->RowCount()) return;
    if (host_.HostDialogs().ShowMessageBox(u"Delete "_s + Cell(kColDesc, row) + u" ?"_s, MsgKind::Confirmation,
                                           mbYes | mbNo) != mbYes)
        return;
    for (int col = 0; col < 3; ++col) grid_->setCells(col, row, QString());
    Guard([this] { SaveGeneralList(); });
    Guard([this] { LoadGeneralList(); });
    grid_->setRow(std::min(row, grid_->RowCount() - 1));
    ShowGeneralDesc(grid_->Row());
}

void TGeneralPage::Btn_GenSendClick() {
    const std::string text = ToBytes(GeneralItemText(false));
    const OptionsSnapshot& options = host_.OptionValues();
    host_.Keyboard().SendToGame(text, options.SendRow(kGeneralSendRow).enter, options.backSpc);
}

void TGeneralPage::Btn_GeneralSortClick() {
    const QString caption = btnSort_->text();
    btnSort_->setText(caption == u"Type"_s ? u"Description"_s : caption == u"Description"_s ? u"Value"_s : u"Type"_s);
    const bool editorShown = grid_->EditorMode();
    grid_->setEditorMode(false);
    // The rows read once: sorted, then saved (the save finds them in order).
    GeneralRowBytes rows(*grid_);
    SortRows(rows);
    Guard([&] { SaveRows(rows, true); });
    if (editorShown) grid_->setEditorMode(true);
    WantRanks();  // and with them the next key's order
}

void TGeneralPage::Cb_OthTypeChange() {
    if (!host_.State().Ready) return;
    if (grid_->Editing()) {
        if (cbType_->currentIndex() < 0) return;
        grid_->setEditorMode(false);
        grid_->setCells(kColType, grid_->Row(), cbType_->currentText());
        grid_->setFocus();
        grid_->setCol(kColDesc);
        grid_->setEditorMode(true);
    } else {
        FindGeneralItem(cbType_->currentText(), QString(), QString());
    }
}

void TGeneralPage::SGrid_GeneralSelectCell(int /*col*/, int row) {
    ShowGeneralDesc(row);
    if (row < 1 || row >= grid_->RowCount()) return;
    const QString type = Cell(kColType, row);
    if (!Blank(type) && type != cbType_->currentText()) SelectTypeInCombo(type);
}

void TGeneralPage::SGrid_GeneralClick() {
    const int row = grid_->Row();
    if (row >= 1 && row < grid_->RowCount()) {
        grid_->setHint(GeneralItemText(true));
        grid_->setShowHint(true);
    } else {
        grid_->setShowHint(false);
    }
}

bool TGeneralPage::SGrid_GeneralKeyPress(int col, int row, QChar& ch) {
    const char16_t code = ch.unicode();
    if (code == '\t' || code < 32 || code > 126) return true;
    bool accept = true;
    if (col == kColValue && !ch.isDigit()) accept = false;
    const int limit = col == kColType ? kMaxType : col == kColDesc ? kMaxDesc : kMaxValue;
    if (accept && row >= 1) {
        const QString text = Cell(col, row);
        if (text.size() > limit) grid_->setCells(col, row, text.left(limit));
        if (text.size() >= limit) accept = false;
    }
    if (!accept) host_.HostDialogs().Beep();
    return accept;
}

void TGeneralPage::Tab_GeneralResize() {
    int others = 0;
    for (int col = 0; col < kColValue; ++col) others += std::max(grid_->ColWidths(col), -1) + 1;
    const int width = std::max(grid_->ClientWidth() - others - 1, 6);
    if (grid_->ColWidths(kColValue) != width) grid_->setColWidths(kColValue, width);
}

void TGeneralPage::LoadList() { LoadGeneralList(); }

bool TGeneralPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == page_ && event->type() == QEvent::Resize) Tab_GeneralResize();
    // Painted: the work left for when the window waits starts after this paint.
    if (watched == grid_->viewport() && event->type() == QEvent::Paint && rankingWanted_ && !rankTimer_->isActive())
        rankTimer_->start();
    return QObject::eventFilter(watched, event);
}

void TGeneralPage::LoadSettings(SettingsStore& settings) {
    const int sort = ReadValue(settings, values::GeneralSort, 1);
    btnSort_->setText(Latin(kSortCaptions[sort == 2 ? 1 : sort == 3 ? 2 : 0]));
    ReadGridRowHeight(settings, values::RowHeightGeneral, *grid_, 6);
    ReadGridColWidths(settings, values::GeneralCol, *grid_, [](int, int width) { return std::max(width, 6); });
}

void TGeneralPage::SaveSettings(SettingsStore& settings) {
    const QString caption = btnSort_->text();
    WriteValue(settings, values::GeneralSort, caption == u"Description"_s ? 2 : caption == u"Value"_s ? 3 : 1);
    WriteGridColWidths(settings, values::GeneralCol, *grid_);
    WriteValue(settings, values::RowHeightGeneral, std::max(grid_->DefaultRowHeight(), 6));
}

std::vector<TStringGrid*> TGeneralPage::SizingGrids() { return {grid_}; }

PopupState TGeneralPage::Popup(const QWidget*) const {
    PopupState s;
    s.gridResize = true;
    s.gridResizeChecked = GridSizing();
    s.list1 = kListNumber;
    s.list1Caption = u"General List Options"_s;
    return s;
}

void TGeneralPage::ApplyListDisplay(int number, const ListDisplay& display) {
    if (number != kListNumber) return;
    ApplyGridDisplay(*grid_, display);
    ApplyLabelFont(*lbDesc_, display);
}

}  // namespace stallmark
