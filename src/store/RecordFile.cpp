#include "store/RecordFile.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <exception>
#include <limits>
#include <numeric>
#include <system_error>
#include <thread>
#include <utility>
#if defined(_MSC_VER) && !defined(__clang__)
#include <stdlib.h>
#endif
#include <string_view>
#include <vector>

#include "store/Fields.h"
#include "store/Files.h"
#include "store/Prefetch.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace stallmark {

namespace {

// Bytes handed to the writer a part at a time, so that its buffer stays the size it is.
void WriteInPieces(FileWriter& out, std::string_view bytes) {
    constexpr std::size_t kPiece = 256 * 1024;
    for (std::size_t at = 0; at < bytes.size(); at += kPiece) out.Write(bytes.substr(at, kPiece));
}

}  // namespace

namespace {

// Where WriteRecordLine changes text: the line it adds goes in front of the first line
// that does not sort before it, the line it removes is the first exactly equal one.
struct LinePlace {
    std::size_t found = std::string_view::npos;  // where that line starts
    std::size_t foundEnd = 0;                    // and where the line after it starts
    std::size_t index = 0;                       // its number (from 0); else the lines counted
    bool crLf = true;                            // every line ends with CR LF
};

// One pass over the lines: the place, and whether every line already ends with CR LF, so
// that the bytes around that place can be written as they are.
LinePlace PlaceLine(std::string_view text, const std::string& line, bool del, bool blank) {
    LinePlace place;
    for (std::size_t begin = 0; begin < text.size();) {
        const std::size_t eol = text.find('\n', begin);
        const std::size_t end = eol == std::string_view::npos ? text.size() : eol;
        const bool withCr = end > begin && text[end - 1] == '\r';
        if (eol == std::string_view::npos || !withCr) place.crLf = false;
        if (place.found == std::string_view::npos && !blank) {
            const std::string_view old = text.substr(begin, end - (withCr && eol != std::string_view::npos) - begin);
            if (del ? old == line : CompareRecordLines(old, line) >= 0) {
                place.found = begin;
                place.foundEnd = eol == std::string_view::npos ? text.size() : eol + 1;
                if (!place.crLf) break;  // written line by line anyway
            } else {
                ++place.index;
            }
        }
        begin = eol == std::string_view::npos ? text.size() : eol + 1;
    }
    return place;
}

// The new content of a file holding text, to out (a FileWriter or a string).
template <typename Out>
void WriteChanged(Out& out, std::string_view text, const LinePlace& place, const std::string& line, bool del,
                  bool blank) {
    if (place.crLf) {
        // The bytes before the place, the change, the bytes after it.
        if (place.found == std::string_view::npos) {
            out.Bytes(text);
            if (!del && !blank) out.Line(line);
        } else {
            out.Bytes(text.substr(0, place.found));
            if (!del) out.Line(line);
            out.Bytes(text.substr(del ? place.foundEnd : place.found));
        }
        return;
    }
    // Some line ends differ: every line is written again with CR LF.
    std::vector<std::string_view> lines;
    SplitLines(text, lines);
    bool done = false;
    for (const std::string_view old : lines) {
        const std::size_t start = static_cast<std::size_t>(old.data() - text.data());
        if (!done && start == place.found) {
            done = true;
            if (del) continue;
            out.Line(line);
        }
        out.Line(old);
    }
    if (!del && !blank && !done) out.Line(line);
}

struct ToWriter {
    FileWriter& out;
    void Bytes(std::string_view bytes) { WriteInPieces(out, bytes); }
    void Line(std::string_view line) { out.WriteLine(line); }
};

struct ToString {
    BigBytes& out;
    void Bytes(std::string_view bytes) { out.append(bytes); }
    void Line(std::string_view line) {
        out.append(line);
        out.append("\r\n");
    }
};

}  // namespace

void WriteRecordLine(const std::string& path, const std::string& line, bool del) {
    const bool exists = FileExists(path);
    const bool blank = IsBlank(line);
    const std::string tempPath = WorkingCopyPath(path, "tmp");
    // The new content is built in the working copy while the file stays in place; only the
    // finished copy is renamed over it. A working copy left by an interrupted run is overwritten.
    if (!exists) {
        ReplaceFileAtomically(
            path,
            [&](FileWriter& out) {
                if (!del && !blank) out.WriteLine(line);
            },
            tempPath);
        return;
    }
    const BigBytes bytes = ReadBigFileBytes(path);
    const std::string_view text(bytes);
    const LinePlace place = PlaceLine(text, line, del, blank);
    ReplaceFileAtomically(
        path,
        [&](FileWriter& out) {
            ToWriter to{out};
            WriteChanged(to, text, place, line, del, blank);
        },
        tempPath);
}

RecordLineWritten WriteRecordLineOver(const std::string& path, std::string_view text, const std::string& line,
                                      bool del) {
    const bool blank = IsBlank(line);
    const LinePlace place = PlaceLine(text, line, del, blank);
    RecordLineWritten written;
    written.content.reserve(text.size() + line.size() + 2);
    ToString to{written.content};
    WriteChanged(to, text, place, line, del, blank);
    ReplaceFileAtomically(path, written.content, WorkingCopyPath(path, "tmp"));
    written.changed = del ? place.found != std::string_view::npos : !blank;
    written.index = place.index;
    written.crLf = place.crLf;
    return written;
}

namespace {

// Appends key bytes (fields separated by commas) to out in the form whose byte order
// is the order of the fields: each comma becomes 0, bytes 0 and 1 become 1 1 and 1 2
// (keeping their order), and ends of fields at the end are dropped.
void AppendKeyBytes(std::string_view fields, std::string& out) {
    const std::size_t start = out.size();
    if (fields.find_first_of(std::string_view("\0\1", 2)) == std::string_view::npos) {
        // The usual case: the bytes as they are, each comma turned into 0.
        out.append(fields);
        for (std::size_t i = start; i < out.size(); ++i)
            if (out[i] == ',') out[i] = '\0';
    } else {
        for (const char c : fields) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte == ',') {
                out.push_back('\0');
            } else if (byte <= 1) {
                out.push_back('\1');
                out.push_back(static_cast<char>(byte + 1));
            } else {
                out.push_back(c);
            }
        }
    }
    // A field's end (0) sorts before any byte a field can hold; empty fields
    // at the end compare equal to missing ones.
    while (out.size() > start && out.back() == '\0') out.pop_back();
}

// Appends the sort key of a line (see RecordSortKey) to out.
void AppendSortKey(std::string_view line, std::string& out) {
    // Only the fields followed by a comma take part: everything before the last comma.
    const std::size_t lastComma = line.rfind(',');
    if (lastComma == std::string_view::npos) return;
    AppendKeyBytes(line.substr(0, lastComma), out);
}

inline std::uint64_t Swap64(std::uint64_t v) {
#if defined(_MSC_VER) && !defined(__clang__)
    return _byteswap_uint64(v);
#else
    return __builtin_bswap64(v);
#endif
}

// One line to sort: where its key is, and sixteen key bytes from the depth being
// sorted as two numbers (the bytes in order, missing ones 0).
struct SortEntry {
    std::uint64_t high;
    std::uint64_t low;
    const char* key;     // in the line itself (commas not yet turned into 0) or in the escaped keys
    std::uint32_t size;  // of the key
    std::uint32_t line;
};

constexpr std::size_t kDigitBytes = 16;

// Eight key bytes (fewer when the key ends) with commas as 0, as a big-endian number.
inline std::uint64_t Digit(const char* bytes, std::size_t count) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, count < 8 ? count : 8);
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    const std::uint64_t x = word ^ 0x2C2C2C2C2C2C2C2CULL;
    const std::uint64_t commaHigh = ~(((x & kLow7) + kLow7) | x) & ~kLow7;  // high bit of each comma byte
    word &= ~((commaHigh >> 7) * 0xFF);
    if constexpr (std::endian::native == std::endian::little) word = Swap64(word);
    return word;
}

inline void LoadDigits(SortEntry& e, std::size_t depth) {
    const std::size_t left = e.size > depth ? e.size - depth : 0;
    e.high = left > 0 ? Digit(e.key + depth, left) : 0;
    e.low = left > 8 ? Digit(e.key + depth + 8, left - 8) : 0;
}

// Sorts each run [begin, end) of entries by the entries' key bytes (commas as 0),
// equal keys in the order of their line numbers.
//
// The keys are sorted sixteen bytes at a time, most significant first: the entries
// of a run by their first sixteen key bytes, then each part of it equal so far by
// the next sixteen, and so on. Every pass compares numbers held in the entries, and
// each key's bytes are fetched once per pass, so the cost stays n log n however far
// apart the keys lie in memory.
struct Run {
    std::size_t begin, end, depth;
};
void SortRunsByKeyBytes(std::vector<SortEntry>& entries, std::vector<Run> runs) {
    while (!runs.empty()) {
        const Run run = runs.back();
        runs.pop_back();
        const std::size_t depth = run.depth;
        for (std::size_t i = run.begin; i < run.end; ++i) LoadDigits(entries[i], depth);
        // Equal digits: the key that ends first is the smaller (the other holds zeros
        // there); keys going on past these bytes are sorted by the next ones.
        auto rest = [depth](const SortEntry& e) -> std::uint32_t {
            const std::size_t left = e.size > depth ? e.size - depth : 0;
            return static_cast<std::uint32_t>(left < kDigitBytes + 1 ? left : kDigitBytes + 1);
        };
        std::sort(entries.begin() + static_cast<std::ptrdiff_t>(run.begin),
                  entries.begin() + static_cast<std::ptrdiff_t>(run.end),
                  [&rest](const SortEntry& a, const SortEntry& b) {
                      if (a.high != b.high) return a.high < b.high;
                      if (a.low != b.low) return a.low < b.low;
                      const std::uint32_t ra = rest(a), rb = rest(b);
                      if (ra != rb) return ra < rb;
                      return a.line < b.line;
                  });
        for (std::size_t i = run.begin; i < run.end;) {
            std::size_t j = i + 1;
            if (rest(entries[i]) == kDigitBytes + 1) {
                while (j < run.end && entries[j].high == entries[i].high && entries[j].low == entries[i].low) ++j;
                if (j - i > 1) runs.push_back({i, j, depth + kDigitBytes});
            }
            i = j;
        }
    }
}

// The key of a line: its bytes before the last comma, empty fields at the end left
// out (they compare equal to missing ones).
inline std::string_view KeyOf(std::string_view line) {
    const std::size_t lastComma = line.rfind(',');
    std::size_t size = lastComma == std::string_view::npos ? 0 : lastComma;
    while (size > 0 && line[size - 1] == ',') --size;
    return line.substr(0, size);
}

// A hash of a few bytes, read eight at a time.
inline std::uint64_t HashBytes(const char* p, std::size_t n) {
    constexpr std::uint64_t kMul = 0x9E3779B97F4A7C15ULL;
    std::uint64_t h = n * kMul;
    std::uint64_t w = 0;
    if (n >= 8) {
        while (n > 8) {
            std::memcpy(&w, p, 8);
            h = (h ^ w) * kMul;
            h ^= h >> 29;
            p += 8;
            n -= 8;
        }
        std::memcpy(&w, p + n - 8, 8);  // the last eight, overlapping the word before
    } else if (n >= 4) {
        std::uint32_t a, b;
        std::memcpy(&a, p, 4);
        std::memcpy(&b, p + n - 4, 4);
        w = (static_cast<std::uint64_t>(a) << 32) | b;
    } else if (n > 0) {
        w = static_cast<std::uint64_t>(static_cast<unsigned char>(p[0])) << 16 |
            static_cast<std::uint64_t>(static_cast<unsigned char>(p[n / 2])) << 8 |
            static_cast<unsigned char>(p[n - 1]);
    }
    h = (h ^ w) * 0xD6E8FEB86659FD93ULL;
    return h ^ (h >> 32);
}

inline bool SameText(std::string_view a, std::string_view b) {
    const std::size_t n = a.size();
    if (n != b.size()) return false;
    if (n <= 16) {
        // Short texts, the usual case: two overlapping words from each end.
        std::uint64_t x[2] = {0, 0}, y[2] = {0, 0};
        if (n >= 8) {
            std::memcpy(&x[0], a.data(), 8);
            std::memcpy(&x[1], a.data() + n - 8, 8);
            std::memcpy(&y[0], b.data(), 8);
            std::memcpy(&y[1], b.data() + n - 8, 8);
        } else if (n >= 4) {
            std::uint32_t a0, a1, b0, b1;
            std::memcpy(&a0, a.data(), 4);
            std::memcpy(&a1, a.data() + n - 4, 4);
            std::memcpy(&b0, b.data(), 4);
            std::memcpy(&b1, b.data() + n - 4, 4);
            return a0 == b0 && a1 == b1;
        } else {
            for (std::size_t i = 0; i < n; ++i) {
                x[0] = x[0] << 8 | static_cast<unsigned char>(a[i]);
                y[0] = y[0] << 8 | static_cast<unsigned char>(b[i]);
            }
        }
        return x[0] == y[0] && x[1] == y[1];
    }
    return std::memcmp(a.data(), b.data(), n) == 0;
}

// The distinct texts of one field: each gets a number on first sight.
class FieldValues {
public:
    explicit FieldValues(std::size_t expected) {
        std::size_t slots = 64;
        while (slots < expected * 2) slots *= 2;
        slots_.assign(slots, 0);
    }

    std::uint32_t Number(std::string_view text) {
        const std::uint64_t hash = HashBytes(text.data(), text.size());
        std::size_t mask = slots_.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const std::uint32_t slot = slots_[i];
            if (slot == 0) {
                values_.push_back(text);
                hashes_.push_back(hash);
                slots_[i] = static_cast<std::uint32_t>(values_.size());
                if (values_.size() * 2 > slots_.size()) Grow();
                return static_cast<std::uint32_t>(values_.size() - 1);
            }
            if (hashes_[slot - 1] == hash && SameText(values_[slot - 1], text)) return slot - 1;
        }
    }

    const std::vector<std::string_view>& Values() const { return values_; }

private:
    void Grow() {
        std::vector<std::uint32_t> slots(slots_.size() * 2, 0);
        const std::size_t mask = slots.size() - 1;
        for (std::size_t v = 0; v < values_.size(); ++v) {
            std::size_t i = hashes_[v] & mask;
            while (slots[i] != 0) i = (i + 1) & mask;
            slots[i] = static_cast<std::uint32_t>(v + 1);
        }
        slots_.swap(slots);
    }

    std::vector<std::uint32_t> slots_;  // value number + 1, 0 for a free slot
    std::vector<std::string_view> values_;
    std::vector<std::uint64_t> hashes_;
};

// The places of the first commas of text, at most max of them; returns how many.
// Fields are short, so eight bytes are looked at a time.
inline std::size_t FindCommas(std::string_view text, std::size_t max, std::uint32_t* at) {
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    const std::size_t size = text.size();
    std::size_t found = 0;
    for (std::size_t i = 0; i < size && found < max; i += 8) {
        std::uint64_t word = 0;
        if (size - i >= 8) {
            std::memcpy(&word, text.data() + i, 8);
            if constexpr (std::endian::native == std::endian::big) word = Swap64(word);
        } else {
            for (std::size_t k = size - i; k-- > 0;)
                word = word << 8 | static_cast<unsigned char>(text[i + k]);  // byte i first, in the low bits
            word |= ~std::uint64_t{0} << (8 * (size - i));                   // no commas past the end
        }
        const std::uint64_t x = word ^ 0x2C2C2C2C2C2C2C2CULL;
        // The high bit of each comma byte (exact: no carries cross bytes).
        std::uint64_t commas = ~(((x & kLow7) + kLow7) | x | kLow7);
        while (commas != 0 && found < max) {
            at[found++] = static_cast<std::uint32_t>(i + static_cast<std::size_t>(std::countr_zero(commas)) / 8);
            commas &= commas - 1;
        }
    }
    return found;
}

// True when text holds a byte 0 or 1 (such keys are escaped for the byte sort).
inline bool HasLowBytes(std::string_view text) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL, kHigh = 0x8080808080808080ULL;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        if (((word - 2 * kOnes) & ~word & kHigh) != 0) return true;  // some byte below 2
    }
    for (; i < text.size(); ++i)
        if (static_cast<unsigned char>(text[i]) < 2) return true;
    return false;
}

// One line in the sort: the ranks of its leading fields, the first eight bytes of
// the fields after them (commas as 0, big-endian), and its line number.
struct HeadEntry {
    std::uint64_t ranks;
    std::uint64_t bytes;
    std::uint32_t line;
};

// Sorts entries by ranks, equal ones keeping their order: eleven bits at a time, the
// least significant first, over the bits in use.
void RadixSortByRanks(std::vector<HeadEntry>& entries, unsigned bits) {
    constexpr unsigned kBits = 11;
    constexpr std::uint64_t kMask = (1u << kBits) - 1;
    const std::size_t n = entries.size();
    const unsigned passes = (bits + kBits - 1) / kBits;
    if (passes == 0 || n < 2) return;
    std::vector<std::array<std::uint32_t, 1u << kBits>> counts(passes);
    for (auto& c : counts) c.fill(0);
    for (const HeadEntry& e : entries)
        for (unsigned p = 0; p < passes; ++p) ++counts[p][(e.ranks >> (kBits * p)) & kMask];
    std::vector<HeadEntry> other(n);
    for (unsigned p = 0; p < passes; ++p) {
        auto& count = counts[p];
        if (count[(entries[0].ranks >> (kBits * p)) & kMask] == n) continue;  // the same everywhere
        std::uint32_t sum = 0;
        for (std::uint32_t& c : count) {
            const std::uint32_t here = c;
            c = sum;
            sum += here;
        }
        for (const HeadEntry& e : entries) other[count[(e.ranks >> (kBits * p)) & kMask]++] = e;
        entries.swap(other);
    }
}

// The lines' indexes in the stable order of their sort keys, which is the
// order of repeated passes swapping neighbours that compare the wrong way round.
//
// Lines are compared field by field, so the leading fields that hold few distinct
// texts (the item, its magic, ...) are ranked once: their distinct texts are
// numbered, sorted, and every line gets the rank of its text (0 for an empty or
// missing field). The lines are sorted by those ranks, most significant first, then
// each run of equal ranks by the first eight bytes of the fields that follow
// (prices, dates, free text), and lines equal in those too by the rest of their
// bytes, sixteen at a time.
template <typename Line>
std::vector<std::size_t> SortedOrder(const std::vector<Line>& lines) {
    constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();
    constexpr std::size_t kMaxRanked = 8;
    const std::size_t n = lines.size();
    if (n >= kNone) throw StoreError("Too many lines to sort");
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), std::size_t{0});
    if (n < 2) return order;
    std::vector<std::string_view> keys(n);
    for (std::size_t i = 0; i < n; ++i) {
        keys[i] = KeyOf(std::string_view(lines[i]));
        if (keys[i].size() >= kNone) throw StoreError("A line is too long to sort");
    }

    // Number the texts of the leading fields, line by line. A field with more distinct
    // texts than this is left to the byte sort, and so are the fields after it.
    const std::size_t maxDistinct = std::clamp<std::size_t>(n / 32, 256, 0xFFF0);
    std::vector<FieldValues> fields;
    std::vector<std::uint16_t> numbers(n * kMaxRanked);  // 0: empty or missing, else text number + 1
    std::vector<std::uint32_t> restAt(n);                // where the fields after those numbered start
    std::vector<std::uint8_t> numbered(n);               // how many fields of the line were looked at
    std::size_t ranked = kMaxRanked;
    std::uint32_t commas[kMaxRanked];
    for (std::size_t i = 0; i < n; ++i) {
        const std::string_view key = keys[i];
        std::uint16_t* number = &numbers[i * kMaxRanked];
        const std::size_t found = FindCommas(key, ranked, commas);
        std::size_t start = 0;
        const std::size_t count = ranked;
        for (std::size_t f = 0; f < count && start < key.size(); ++f) {
            const std::size_t end = f < found ? commas[f] : key.size();
            if (end > start) {
                while (fields.size() <= f) fields.emplace_back(64);
                FieldValues& values = fields[f];
                number[f] = static_cast<std::uint16_t>(values.Number(key.substr(start, end - start)) + 1);
                if (values.Values().size() > maxDistinct) ranked = std::min(ranked, f);  // too many to rank
            }
            start = end + 1;
        }
        restAt[i] = static_cast<std::uint32_t>(std::min(start, key.size()));
        numbered[i] = static_cast<std::uint8_t>(count);
    }
    ranked = std::min(ranked, fields.size());
    // The ranks of as many of those fields as fit in 64 bits.
    unsigned rankBits = 0;
    std::vector<unsigned> widths;
    for (std::size_t f = 0; f < ranked; ++f) {
        const auto width = static_cast<unsigned>(std::bit_width(fields[f].Values().size()));
        if (rankBits + width > 64) {
            ranked = f;
            break;
        }
        widths.push_back(width);
        rankBits += width;
    }
    std::vector<std::vector<std::uint32_t>> ranks(ranked);
    for (std::size_t f = 0; f < ranked; ++f) {
        const std::vector<std::string_view>& texts = fields[f].Values();
        std::vector<std::uint32_t> byText(texts.size());
        std::iota(byText.begin(), byText.end(), 0u);
        std::sort(byText.begin(), byText.end(), [&](std::uint32_t a, std::uint32_t b) { return texts[a] < texts[b]; });
        ranks[f].assign(texts.size() + 1, 0);
        for (std::size_t r = 0; r < byText.size(); ++r) ranks[f][byText[r] + 1] = static_cast<std::uint32_t>(r + 1);
    }
    fields.clear();

    std::vector<HeadEntry> entries(n);
    std::string escaped;                                           // rests holding bytes 0 or 1, escaped
    std::vector<std::pair<std::uint32_t, std::size_t>> escapedAt;  // line, start in escaped (in line order)
    bool longRests = false;
    for (std::size_t i = 0; i < n; ++i) {
        const std::string_view key = keys[i];
        const std::uint16_t* number = &numbers[i * kMaxRanked];
        std::uint64_t rank = 0;
        for (std::size_t f = 0; f < ranked; ++f) rank = (widths[f] == 64 ? 0 : rank << widths[f]) | ranks[f][number[f]];
        if (numbered[i] != ranked) {  // looked at before a field turned out to hold too many texts
            const std::size_t found = ranked == 0 ? 0 : FindCommas(key, ranked, commas);
            restAt[i] = static_cast<std::uint32_t>(ranked == 0       ? 0
                                                   : found == ranked ? commas[ranked - 1] + 1
                                                                     : key.size());
        }
        std::string_view rest = key.substr(restAt[i]);
        if (HasLowBytes(rest)) {
            const std::size_t at = escaped.size();
            AppendKeyBytes(rest, escaped);
            escapedAt.emplace_back(static_cast<std::uint32_t>(i), at);
            rest = std::string_view(escaped).substr(at);
        }
        if (rest.size() > 8) longRests = true;
        entries[i] = {rank, rest.empty() ? 0 : Digit(rest.data(), rest.size()), static_cast<std::uint32_t>(i)};
    }
    numbers = {};
    numbered = {};

    // By the ranks, then each run of equal ranks by the next eight bytes.
    RadixSortByRanks(entries, rankBits);
    for (std::size_t b = 0; b < n;) {
        std::size_t e = b + 1;
        while (e < n && entries[e].ranks == entries[b].ranks) ++e;
        if (e - b > 1)
            std::sort(entries.begin() + static_cast<std::ptrdiff_t>(b),
                      entries.begin() + static_cast<std::ptrdiff_t>(e), [](const HeadEntry& x, const HeadEntry& y) {
                          return x.bytes != y.bytes ? x.bytes < y.bytes : x.line < y.line;
                      });
        b = e;
    }
    for (std::size_t i = 0; i < n; ++i) order[i] = entries[i].line;
    if (!longRests) return order;

    // Lines equal so far whose keys go on: by the bytes after the first eight.
    auto restOf = [&](std::uint32_t line) -> std::string_view {
        const auto it = std::lower_bound(escapedAt.begin(), escapedAt.end(), line,
                                         [](const auto& p, std::uint32_t l) { return p.first < l; });
        if (it == escapedAt.end() || it->first != line) return keys[line].substr(restAt[line]);
        const std::size_t end = it + 1 == escapedAt.end() ? escaped.size() : (it + 1)->second;
        return std::string_view(escaped).substr(it->second, end - it->second);
    };
    std::vector<SortEntry> deeper;
    std::vector<Run> runs;
    std::vector<std::size_t> placeAt;  // where each run goes back into the order
    for (std::size_t b = 0; b < n;) {
        std::size_t e = b + 1;
        while (e < n && entries[e].ranks == entries[b].ranks && entries[e].bytes == entries[b].bytes) ++e;
        if (e - b > 1) {
            const std::size_t first = deeper.size();
            bool goesOn = false;
            for (std::size_t i = b; i < e; ++i) {
                const std::string_view rest = restOf(entries[i].line);
                goesOn = goesOn || rest.size() > 8;
                deeper.push_back({0, 0, rest.data(), static_cast<std::uint32_t>(rest.size()), entries[i].line});
            }
            if (goesOn) {
                runs.push_back({first, deeper.size(), 8});
                placeAt.push_back(b);
            } else {
                deeper.resize(first);
            }
        }
        b = e;
    }
    SortRunsByKeyBytes(deeper, runs);
    for (std::size_t r = 0; r < runs.size(); ++r)
        for (std::size_t i = runs[r].begin; i < runs[r].end; ++i)
            order[placeAt[r] + (i - runs[r].begin)] = deeper[i].line;
    return order;
}

}  // namespace

std::string RecordSortKey(std::string_view line) {
    std::string key;
    AppendSortKey(line, key);
    return key;
}

void SortRecordLines(std::vector<std::string>& lines) {
    const std::vector<std::size_t> order = SortedOrder(lines);
    std::vector<std::string> sorted;
    sorted.reserve(lines.size());
    for (std::size_t i : order) sorted.push_back(std::move(lines[i]));
    lines = std::move(sorted);
}

namespace {

// A file's bytes, its lines and their sorted order.
struct SortedLines {
    BigBytes bytes;
    std::vector<std::string_view> lines;
    std::vector<std::size_t> order;
};

// Reads the file at path into sorted and puts its lines in order; false for a missing
// file. (The lines view the bytes: sorted is filled where it stands, never moved.)
bool ReadSorted(const std::string& path, SortedLines& sorted) {
    if (!FileExists(path)) return false;
    sorted.bytes = ReadBigFileBytes(path);
    SplitLines(sorted.bytes, sorted.lines);
    sorted.order = SortedOrder(sorted.lines);
    return true;
}

// Hands the sorted lines, each followed by CR LF, to put (which takes a run of bytes).
// They lie anywhere in the bytes read, and so do their places in `lines`: the places are
// asked for well ahead, the bytes a few lines ahead.
template <typename Put>
void GatherSorted(const SortedLines& sorted, Put&& put, std::size_t blockBytes) {
    constexpr std::size_t kAhead = 8, kFarAhead = 32;
    const std::vector<std::string_view>& lines = sorted.lines;
    const std::vector<std::size_t>& order = sorted.order;
    std::string block;
    block.resize(blockBytes);
    std::size_t used = 0;
    const std::size_t n = order.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i + kFarAhead < n) Prefetch(&lines[order[i + kFarAhead]]);
        if (i + kAhead < n) Prefetch(lines[order[i + kAhead]].data());
        const std::string_view line = lines[order[i]];
        if (block.size() - used < line.size() + 2) {
            put(std::string_view(block.data(), used));
            used = 0;
            if (line.size() + 2 > block.size()) {  // a line longer than a block goes alone
                put(line);
                put(std::string_view("\r\n", 2));
                continue;
            }
        }
        if (!line.empty()) std::memcpy(block.data() + used, line.data(), line.size());
        block[used + line.size()] = '\r';
        block[used + line.size() + 1] = '\n';
        used += line.size() + 2;
    }
    put(std::string_view(block.data(), used));
}

constexpr std::size_t kSortBlock = 256 * 1024;

// The sorted file as one text, written over the file.
BigBytes WriteSorted(const std::string& path, const SortedLines& sorted) {
    std::size_t total = 0;
    for (const std::string_view line : sorted.lines) total += line.size() + 2;
    BigBytes content;
    content.reserve(total);
    GatherSorted(
        sorted, [&](std::string_view bytes) { content.append(bytes); }, kSortBlock);
    ReplaceFileAtomically(path, content, WorkingCopyPath(path, "tmp"));
    return content;
}

}  // namespace

void SortRecordFileAt(const std::string& path) {
    SortedLines sorted;
    if (!ReadSorted(path, sorted)) return;
    ReplaceFileAtomically(
        path,
        [&](FileWriter& out) {
            // The lines are gathered into a block that is handed on whole.
            GatherSorted(
                sorted, [&](std::string_view bytes) { out.Write(bytes); }, kSortBlock);
        },
        WorkingCopyPath(path, "tmp"));
}

SortedFiles SortRecordFilesAt(const std::string& first, const std::string& second) {
    SortedLines secondSorted;
    bool secondExists = false;
    std::exception_ptr secondFailed;
    const auto sortSecond = [&] {
        try {
            secondExists = ReadSorted(second, secondSorted);
        } catch (...) {
            secondFailed = std::current_exception();
        }
    };
    std::thread worker;
    try {
        worker = std::thread(sortSecond);
    } catch (const std::system_error&) {
        // No thread to be had: the second file is sorted after the first is written.
    }
    struct Join {
        std::thread& worker;
        ~Join() {
            if (worker.joinable()) worker.join();
        }
    } join{worker};

    SortedFiles files;
    {
        SortedLines sorted;
        if (ReadSorted(first, sorted)) files.first = WriteSorted(first, sorted);
    }
    if (worker.joinable())
        worker.join();
    else
        sortSecond();
    if (secondFailed) std::rethrow_exception(secondFailed);
    if (secondExists) files.second = WriteSorted(second, secondSorted);
    return files;
}

FileStamp StampOf(const std::string& path) {
    FileStamp stamp;
#ifdef _WIN32
    HANDLE h = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return stamp;
    BY_HANDLE_FILE_INFORMATION info{};
    FILE_BASIC_INFO basic{};
    const bool ok = GetFileInformationByHandle(h, &info) != 0;
    const bool withChange = GetFileInformationByHandleEx(h, FileBasicInfo, &basic, sizeof basic) != 0;
    CloseHandle(h);
    if (!ok) return stamp;
    auto join = [](DWORD high, DWORD low) { return static_cast<std::uint64_t>(high) << 32 | low; };
    stamp.exists = true;
    stamp.device = info.dwVolumeSerialNumber;
    stamp.inode = join(info.nFileIndexHigh, info.nFileIndexLow);
    stamp.size = join(info.nFileSizeHigh, info.nFileSizeLow);
    stamp.modified =
        static_cast<std::int64_t>(join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime));
    stamp.changed = withChange ? basic.ChangeTime.QuadPart : 0;
#else
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return stamp;
    stamp.exists = true;
    stamp.device = static_cast<std::uint64_t>(st.st_dev);
    stamp.inode = static_cast<std::uint64_t>(st.st_ino);
    stamp.size = static_cast<std::uint64_t>(st.st_size);
#if defined(__APPLE__)
    const struct timespec modified = st.st_mtimespec, changed = st.st_ctimespec;
#else
    const struct timespec modified = st.st_mtim, changed = st.st_ctim;
#endif
    stamp.modified = static_cast<std::int64_t>(modified.tv_sec) * 1000000000 + modified.tv_nsec;
    stamp.changed = static_cast<std::int64_t>(changed.tv_sec) * 1000000000 + changed.tv_nsec;
#endif
    return stamp;
}

}  // namespace stallmark
