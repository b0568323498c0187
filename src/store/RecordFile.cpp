#include "store/RecordFile.h"

#include <algorithm>
#include <cstdint>
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

// The lines' indexes in the stable order of their sort keys, which is the
// order of repeated passes swapping neighbours that compare the wrong way
// round. The keys share one buffer; their first eight bytes, as a number,
// settle most comparisons without touching it.
template <typename Line>
std::vector<std::size_t> SortedOrder(const std::vector<Line>& lines) {
    struct Entry {
        std::uint64_t head;
        std::size_t start;
        std::size_t size;
        std::size_t line;
    };
    std::string buffer;
    std::size_t total = 0;
    for (const Line& line : lines) total += std::string_view(line).size();
    buffer.reserve(total + total / 8);
    std::vector<Entry> entries;
    entries.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t start = buffer.size();
        AppendSortKey(lines[i], buffer);
        const std::size_t size = buffer.size() - start;
        std::uint64_t head = 0;
        for (std::size_t b = 0; b < 8; ++b)
            head = (head << 8) | (b < size ? static_cast<unsigned char>(buffer[start + b]) : 0u);
        entries.push_back({head, start, size, i});
    }
    const std::string_view all(buffer);
    std::stable_sort(entries.begin(), entries.end(), [all](const Entry& a, const Entry& b) {
        if (a.head != b.head) return a.head < b.head;
        return all.substr(a.start, a.size) < all.substr(b.start, b.size);
    });
    std::vector<std::size_t> order;
    order.reserve(entries.size());
    for (const Entry& e : entries) order.push_back(e.line);
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
