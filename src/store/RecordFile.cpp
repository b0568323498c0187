#include "store/RecordFile.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>
#if defined(_MSC_VER) && !defined(__clang__)
#include <stdlib.h>
#endif
#include <string_view>
#include <vector>

#include "store/Fields.h"
#include "store/Files.h"

namespace stallmark {

void WriteRecordLine(const std::string& path, const std::string& line, bool del) {
    const bool exists = FileExists(path);
    const bool blank = IsBlank(line);
    // The new content is built in the working copy while the file stays in place; only the
    // finished copy is renamed over it. A working copy left by an interrupted run is overwritten.
    ReplaceFileAtomically(
        path,
        [&](FileWriter& out) {
            if (!exists) {
                if (!del && !blank) out.WriteLine(line);
                return;
            }
            LineReader in(path);
            bool done = false;
            std::string_view old;
            while (in.Next(old)) {
                if (!done && !blank) {
                    if (del) {
                        if (old == line) {
                            done = true;
                            continue;
                        }
                    } else if (CompareRecordLines(old, line) >= 0) {
                        out.WriteLine(line);
                        done = true;
                    }
                }
                out.WriteLine(old);
            }
            if (!del && !blank && !done) out.WriteLine(line);
        },
        WorkingCopyPath(path, "tmp"));
}

namespace {

// Appends the sort key of a line (see RecordSortKey) to out.
void AppendSortKey(std::string_view line, std::string& out) {
    // Only the fields followed by a comma take part: everything before the last comma.
    const std::size_t lastComma = line.rfind(',');
    if (lastComma == std::string_view::npos) return;
    const std::string_view fields = line.substr(0, lastComma);
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
                out.push_back('\1');  // 0 and 1 become 1 1 and 1 2, keeping their order
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

// The lines' indexes in the stable order of their sort keys, which is the
// order of repeated passes swapping neighbours that compare the wrong way round.
//
// The keys are sorted sixteen bytes at a time, most significant first: all lines by
// their first sixteen key bytes, then each run of lines equal so far by the next
// sixteen, and so on. Every pass compares numbers held in the entries, and each
// line's bytes are fetched once per pass, so the cost stays n log n however far
// apart the lines lie in memory. Equal keys keep the order of their lines.
template <typename Line>
std::vector<std::size_t> SortedOrder(const std::vector<Line>& lines) {
    std::vector<SortEntry> entries(lines.size());
    std::string escaped;                                         // keys of the rare lines holding bytes 0 or 1
    std::vector<std::pair<std::size_t, std::size_t>> escapedAt;  // entry, start in escaped
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line(lines[i]);
        const std::size_t lastComma = line.rfind(',');
        std::size_t size = lastComma == std::string_view::npos ? 0 : lastComma;
        while (size > 0 && line[size - 1] == ',') --size;  // empty fields at the end count as missing
        if (std::memchr(line.data(), '\0', size) != nullptr || std::memchr(line.data(), '\1', size) != nullptr) {
            const std::size_t start = escaped.size();
            AppendSortKey(line, escaped);
            escapedAt.emplace_back(i, start);
            size = escaped.size() - start;
        }
        if (size > std::numeric_limits<std::uint32_t>::max() || i > std::numeric_limits<std::uint32_t>::max())
            throw StoreError("A line is too long to sort");
        entries[i] = {0, 0, line.data(), static_cast<std::uint32_t>(size), static_cast<std::uint32_t>(i)};
        if (escapedAt.empty() || escapedAt.back().first != i) LoadDigits(entries[i], 0);  // the line is at hand now
    }
    for (const auto& [entry, start] : escapedAt) {
        entries[entry].key = escaped.data() + start;
        LoadDigits(entries[entry], 0);
    }

    // Runs still to sort: [begin, end) of entries equal in their first depth key bytes.
    struct Run {
        std::size_t begin, end, depth;
    };
    std::vector<Run> runs;
    if (entries.size() > 1) runs.push_back({0, entries.size(), 0});
    while (!runs.empty()) {
        const Run run = runs.back();
        runs.pop_back();
        const std::size_t depth = run.depth;
        if (depth > 0)
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
    std::vector<std::size_t> order;
    order.reserve(entries.size());
    for (const SortEntry& e : entries) order.push_back(e.line);
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

void SortRecordFileAt(const std::string& path) {
    if (!FileExists(path)) return;
    const std::string bytes = ReadFileBytes(path);
    std::vector<std::string_view> lines;
    SplitLines(bytes, lines);
    const std::vector<std::size_t> order = SortedOrder(lines);
    ReplaceFileAtomically(
        path,
        [&](FileWriter& out) {
            for (std::size_t i : order) out.WriteLine(lines[i]);
        },
        WorkingCopyPath(path, "tmp"));
}

}  // namespace stallmark
