#include "store/RecordFile.h"

#include <algorithm>
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
    const std::size_t start = out.size();
    for (std::size_t i = 0; i < lastComma; ++i) {
        const auto byte = static_cast<unsigned char>(line[i]);
        if (byte == ',') {
            out.push_back('\0');  // a field's end sorts before any byte a field can hold
        } else if (byte <= 1) {
            out.push_back('\1');  // 0 and 1 become 1 1 and 1 2, keeping their order
            out.push_back(static_cast<char>(byte + 1));
        } else {
            out.push_back(static_cast<char>(byte));
        }
    }
    // Empty fields at the end compare equal to missing ones.
    while (out.size() > start && out.back() == '\0') out.pop_back();
}

// Stable order of the lines by their sort keys, which is the order of
// repeated passes swapping neighbours that compare the wrong way round. The
// keys share one buffer.
template <typename Line>
void StableSortByKey(std::vector<Line>& lines) {
    std::string buffer;
    std::size_t total = 0;
    for (const Line& line : lines) total += std::string_view(line).size();
    buffer.reserve(total + total / 8);
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    spans.reserve(lines.size());
    for (const Line& line : lines) {
        const std::size_t start = buffer.size();
        AppendSortKey(line, buffer);
        spans.emplace_back(start, buffer.size() - start);
    }
    auto key = [&](std::size_t i) { return std::string_view(buffer).substr(spans[i].first, spans[i].second); };
    std::vector<std::size_t> order(lines.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return key(a) < key(b); });
    std::vector<Line> sorted;
    sorted.reserve(lines.size());
    for (std::size_t i : order) sorted.push_back(std::move(lines[i]));
    lines = std::move(sorted);
}

}  // namespace

std::string RecordSortKey(std::string_view line) {
    std::string key;
    AppendSortKey(line, key);
    return key;
}

void SortRecordLines(std::vector<std::string>& lines) { StableSortByKey(lines); }

void SortRecordFileAt(const std::string& path) {
    if (!FileExists(path)) return;
    const std::string bytes = ReadFileBytes(path);
    std::vector<std::string_view> lines;
    SplitLines(bytes, lines);
    StableSortByKey(lines);
    ReplaceFileAtomically(
        path,
        [&lines](FileWriter& out) {
            for (std::string_view line : lines) out.WriteLine(line);
        },
        WorkingCopyPath(path, "tmp"));
}

}  // namespace stallmark
