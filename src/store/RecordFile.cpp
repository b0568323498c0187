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

void SortRecordLines(std::vector<std::string>& lines) {
    std::stable_sort(lines.begin(), lines.end(),
                     [](const std::string& a, const std::string& b) { return CompareRecordLines(a, b) < 0; });
}

void SortRecordFileAt(const std::string& path) {
    if (!FileExists(path)) return;
    const std::string bytes = ReadFileBytes(path);
    std::vector<std::string_view> lines;
    SplitLines(bytes, lines);
    // The same order as repeated passes swapping neighbours that sort the wrong way round.
    std::stable_sort(lines.begin(), lines.end(),
                     [](std::string_view a, std::string_view b) { return CompareRecordLines(a, b) < 0; });
    ReplaceFileAtomically(
        path,
        [&lines](FileWriter& out) {
            for (std::string_view line : lines) out.WriteLine(line);
        },
        WorkingCopyPath(path, "tmp"));
}

}  // namespace stallmark
