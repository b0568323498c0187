// The line reader against the plain split of the same bytes: every line, cut to the limit
// the first input byte picks, with the right numbers and cut flags; the file unchanged.

#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "store/Files.h"

using namespace stallmark;
using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t limit = data[0] < 200 ? 1 + data[0] % 64 : LineReader::kWholeLines;
    const std::string_view text = fuzz::AsText(data + 1, size - 1);
    const std::string path = fuzz::WriteScratch("lines.dat", text);

    std::vector<std::string_view> expected;
    SplitLines(text, expected);
    LineReader reader(path, limit);
    std::size_t count = 0, cut = 0, firstCut = 0;
    std::string_view line;
    while (reader.Next(line)) {
        Check(count < expected.size(), "more lines than the text holds");
        const std::string_view whole = expected[count++];
        const bool long_ = whole.size() > limit;
        Check(line == whole.substr(0, long_ ? limit : whole.size()), "a line differs from the text");
        Check(reader.LastLineCut() == long_, "cut flag");
        Check(reader.LineNumber() == count, "line number");
        if (long_ && cut++ == 0) firstCut = count;
    }
    Check(count == expected.size(), "fewer lines than the text holds");
    Check(reader.CutLines() == cut && reader.FirstCutLine() == firstCut, "cut line count");
    Check(reader.CutLinesMessage().empty() == (cut == 0), "cut message");
    Check(ReadLines(path, limit).size() == count, "ReadLines");
    Check(ReadFileBytes(path) == text, "the file changed");
    return 0;
}
