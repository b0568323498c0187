#include "lists/trade/GeneralFile.h"

#include "store/Files.h"

namespace stallmark {

std::string GeneralFileContent(std::size_t count, const std::function<GeneralRow(std::size_t)>& row) {
    // One buffer, the rows' bytes as they are.
    std::string content;
    std::size_t size = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const GeneralRow r = row(i);
        size += r[0].size() + r[1].size() + r[2].size() + 4;
    }
    content.reserve(size);
    ForEachGeneralLine(count, row, [&](std::initializer_list<std::string_view> pieces) {
        for (const std::string_view piece : pieces) content += piece;
    });
    return content;
}

void WriteGeneralFile(const std::string& path, std::size_t count, const std::function<GeneralRow(std::size_t)>& row) {
    // Straight to the working copy, with no copy of the whole list in between.
    ReplaceFileAtomically(path, [&](FileWriter& out) { WriteGeneralLines(out, count, row); });
}

}  // namespace stallmark
