// Comma text: any line splits without harm, items written back read back the same, and a
// split line joined and split again gives the same items. The input is also taken as a
// list of items separated by NUL bytes.

#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "store/Fields.h"

using namespace stallmark;
using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = fuzz::AsText(data, size);
    const std::vector<std::string> split = CommaTextSplit(input);
    Check(CommaTextSplit(CommaTextJoin(split)) == split, "a split line does not come back the same");

    std::vector<std::string> items;
    if (!input.empty()) {
        std::size_t start = 0;
        for (;;) {
            const std::size_t nul = input.find('\0', start);
            items.emplace_back(input.substr(start, nul == std::string_view::npos ? nul : nul - start));
            if (nul == std::string_view::npos) break;
            start = nul + 1;
        }
    }
    // NUL inside an item is kept by the quotes as well; the items here hold none.
    Check(CommaTextSplit(CommaTextJoin(items)) == items, "written items do not read back");
    return 0;
}
