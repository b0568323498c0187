#pragma once
// "General.dat" without any widget: how the General page reads its lines into rows and
// writes its rows back. A line is Type,Description,Value (fields beyond the third are not
// part of the row); a line whose Type and Description are both blank holds no item. A row
// is written as its three cells joined by commas and ended by CR LF, bytes as they are.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "store/Fields.h"
#include "store/Files.h"

namespace stallmark {

inline constexpr const char* kGeneralFile = "General.dat";
inline constexpr int kGeneralMaxType = 25, kGeneralMaxDesc = 120, kGeneralMaxValue = 9;

// Type, Description and Value.
using GeneralRow = std::array<std::string_view, 3>;

// Lines cut on loading: how many, and the first one's number (from 1).
struct GeneralCut {
    std::size_t lines = 0;
    std::size_t first = 0;
};

// Calls item(row, line) for every line of text that holds an item, in file order: row's
// cells and the line (without its end) are views into text. Lines end at LF, a CR just
// before the LF dropped; the last line may lack its end. A line longer than kMaxLineBytes
// is taken cut to that length, and counted in cut.
template <typename Item>
void ForEachGeneralItem(std::string_view text, Item&& item, GeneralCut& cut) {
    const char* const data = text.data();
    const std::size_t size = text.size();
    std::size_t number = 0;
    for (std::size_t begin = 0; begin < size;) {
        ++number;
        // One pass finds the line's end and the commas after Type and Description, and the
        // one that ends Value.
        std::size_t commas[3] = {0, 0, 0}, found = 0;
        const std::size_t lf = ScanLine(text, begin, 3, commas, found);
        std::size_t end = lf != std::string_view::npos ? lf : size;
        const std::size_t next = end < size ? end + 1 : size;
        if (end < size && end > begin && data[end - 1] == '\r') --end;
        if (end - begin > kMaxLineBytes) {
            end = begin + kMaxLineBytes;
            if (cut.lines++ == 0) cut.first = number;
        }
        while (found > 0 && commas[found - 1] >= end) --found;  // past the end of a line cut
        GeneralRow row;  // missing fields stay empty
        std::size_t at = begin;
        for (int f = 0; f < 3 && at <= end; ++f) {
            const std::size_t fieldEnd = static_cast<std::size_t>(f) < found ? commas[f] : end;
            row[static_cast<std::size_t>(f)] = std::string_view(data + at, fieldEnd - at);
            at = fieldEnd + 1;
        }
        const std::string_view line(data + begin, end - begin);
        begin = next;
        if (IsBlank(row[0]) && IsBlank(row[1])) continue;
        item(row, line);
    }
}

template <typename Item>
void ForEachGeneralItem(std::string_view text, Item&& item) {
    GeneralCut cut;
    ForEachGeneralItem(text, std::forward<Item>(item), cut);
}

// What a save needs to know of a row, from one look at each of its texts.
struct GeneralRowLook {
    bool plain = false;       // IsPlainGeneralRow
    bool breaksLine = false;  // GeneralRowBreaksLine
};

namespace general_detail {

inline constexpr std::uint64_t kOnes = 0x0101010101010101ULL, kHighs = 0x8080808080808080ULL;

// Not zero when some byte of w is the byte repeated in pattern.
inline std::uint64_t Equal(std::uint64_t w, std::uint64_t pattern) {
    const std::uint64_t v = w ^ pattern;
    return (v - kOnes) & ~v & kHighs;
}

// Whether text holds a comma, and whether it holds a line feed: eight bytes at a time, the
// last eight overlapping the word before; a short text filled out with zero bytes.
inline void FindCommaAndFeed(std::string_view text, bool& comma, bool& feed) {
    constexpr std::uint64_t kCommas = kOnes * ',', kFeeds = kOnes * '\n';
    const char* p = text.data();
    const std::size_t n = text.size();
    std::uint64_t commas = 0, feeds = 0, w = 0;
    if (n < 8) {
        if (n > 0) std::memcpy(&w, p, n);
        commas = Equal(w, kCommas);
        feeds = Equal(w, kFeeds);
    } else {
        for (std::size_t i = 0; i + 8 <= n; i += 8) {
            std::memcpy(&w, p + i, 8);
            commas |= Equal(w, kCommas);
            feeds |= Equal(w, kFeeds);
        }
        std::memcpy(&w, p + n - 8, 8);
        commas |= Equal(w, kCommas);
        feeds |= Equal(w, kFeeds);
    }
    comma = commas != 0;
    feed = feeds != 0;
}

}  // namespace general_detail

inline GeneralRowLook LookAtGeneralRow(const GeneralRow& row) {
    const std::string_view value = row[2];
    bool plain = !value.empty() && value.size() <= static_cast<std::size_t>(kGeneralMaxValue) &&
                 (value.size() == 1 || value[0] != '0');
    for (const char c : value) plain = plain && c >= '0' && c <= '9';
    bool feeds = false;
    for (int t = 0; t < 2; ++t) {
        const std::string_view text = row[static_cast<std::size_t>(t)];
        if (text.empty()) continue;
        bool comma = false, feed = false;
        general_detail::FindCommaAndFeed(text, comma, feed);
        feeds = feeds || feed;
        plain = plain && !comma && static_cast<unsigned char>(text.front()) > ' ' &&
                static_cast<unsigned char>(text.back()) > ' ' &&
                text.size() <= static_cast<std::size_t>(t == 0 ? kGeneralMaxType : kGeneralMaxDesc);
    }
    return {plain, feeds};
}

// A row the save's check leaves as it is: a plain value (digits, no leading zero, at most
// kGeneralMaxValue) and a Type and Description without a comma, without blanks or control
// characters at either end, within their lengths.
inline bool IsPlainGeneralRow(const GeneralRow& row) { return LookAtGeneralRow(row).plain; }

// Type or Description holds a line feed (written out, the row would read back as two).
inline bool GeneralRowBreaksLine(const GeneralRow& row) { return LookAtGeneralRow(row).breaksLine; }

// The row, looked at as given, is written as one line that reads back as the grid shows
// it: plain, without a line feed, and not blank (a plain text is blank only when empty).
inline bool ReadsBackAsShown(const GeneralRow& row, const GeneralRowLook& look) {
    return look.plain && !look.breaksLine && !(row[0].empty() && row[1].empty());
}

// A row holds an item unless its Type and Description are both blank; only such rows
// are written.
inline bool HoldsGeneralItem(const GeneralRow& row) { return !IsBlank(row[0]) || !IsBlank(row[1]); }

// Each row (row(0) to row(count - 1)) that holds an item, as the pieces of its line,
// in order: line({Type, ",", Description, ",", Value, CR LF}).
template <typename Row, typename Line>
void ForEachGeneralLine(std::size_t count, const Row& row, Line&& line) {
    for (std::size_t i = 0; i < count; ++i) {
        const GeneralRow r = row(i);
        if (!HoldsGeneralItem(r)) continue;
        line({r[0], ",", r[1], ",", r[2], "\r\n"});
    }
}

// n bytes from `from` to `to`: a short text in two overlapping moves, with no call.
inline char* CopyGeneralText(char* to, const char* from, std::size_t n) {
    if (n >= 16) {
        std::memcpy(to, from, n);
    } else if (n >= 8) {
        std::uint64_t head = 0, tail = 0;
        std::memcpy(&head, from, 8);
        std::memcpy(&tail, from + n - 8, 8);
        std::memcpy(to, &head, 8);
        std::memcpy(to + n - 8, &tail, 8);
    } else if (n >= 4) {
        std::uint32_t head = 0, tail = 0;
        std::memcpy(&head, from, 4);
        std::memcpy(&tail, from + n - 4, 4);
        std::memcpy(to, &head, 4);
        std::memcpy(to + n - 4, &tail, 4);
    } else {
        for (std::size_t i = 0; i < n; ++i) to[i] = from[i];
    }
    return to + n;
}

// The same lines written to out, each put into the writer's buffer in one go with its
// texts taken straight from the row: a list of pieces in between costs more than the
// copies themselves.
template <typename Row>
void WriteGeneralLines(FileWriter& out, std::size_t count, const Row& row) {
    for (std::size_t i = 0; i < count; ++i) {
        const GeneralRow r = row(i);
        if (!HoldsGeneralItem(r)) continue;
        const std::string_view type = r[0], desc = r[1], value = r[2];
        char* at = out.Room(type.size() + desc.size() + value.size() + 4);
        if (at == nullptr) {
            out.WritePieces({type, ",", desc, ",", value, "\r\n"});
            continue;
        }
        at = CopyGeneralText(at, type.data(), type.size());
        *at++ = ',';
        at = CopyGeneralText(at, desc.data(), desc.size());
        *at++ = ',';
        at = CopyGeneralText(at, value.data(), value.size());
        at[0] = '\r';
        at[1] = '\n';
    }
}

// The file's content: each row (row(0) to row(count - 1)) that holds an item, as a line.
std::string GeneralFileContent(std::size_t count, const std::function<GeneralRow(std::size_t)>& row);

// Replaces the file at path with what GeneralFileContent gives, atomically.
void WriteGeneralFile(const std::string& path, std::size_t count, const std::function<GeneralRow(std::size_t)>& row);

}  // namespace stallmark
