// The record sort against the order of repeated neighbour swaps, on the lines of the
// input; and the sort keys against the comparison.

#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "store/Fields.h"
#include "store/Files.h"
#include "store/RecordFile.h"

using namespace stallmark;
using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string_view> views;
    SplitLines(fuzz::AsText(data, size), views);
    if (views.size() > 200) views.resize(200);  // the reference is quadratic
    std::vector<std::string> lines(views.begin(), views.end());

    std::vector<std::string> reference = lines;
    for (bool swapped = true; swapped;) {
        swapped = false;
        for (std::size_t i = 0; i + 1 < reference.size(); ++i) {
            if (CompareRecordLines(reference[i], reference[i + 1]) > 0) {
                std::swap(reference[i], reference[i + 1]);
                swapped = true;
            }
        }
    }
    std::vector<std::string> sorted = lines;
    SortRecordLines(sorted);
    Check(sorted == reference, "the sort differs from the neighbour swaps");

    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        const int compared = CompareRecordLines(lines[i], lines[i + 1]);
        const int byKey = RecordSortKey(lines[i]).compare(RecordSortKey(lines[i + 1]));
        Check((compared < 0) == (byKey < 0) && (compared == 0) == (byKey == 0), "a sort key disagrees");
    }
    return 0;
}
