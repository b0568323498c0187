#include "lists/trade/GeneralFile.h"

#include <algorithm>

#include "store/Files.h"

namespace stallmark {

bool IsPlainGeneralRow(const GeneralRow& row) {
    const std::string_view value = row[2];
    const bool plainValue = !value.empty() && value.size() <= static_cast<std::size_t>(kGeneralMaxValue) &&
                            (value.size() == 1 || value[0] != '0') &&
                            std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
    auto clean = [](std::string_view text, int limit) {
        return text.empty() ||
               (static_cast<unsigned char>(text.front()) > ' ' && static_cast<unsigned char>(text.back()) > ' ' &&
                text.size() <= static_cast<std::size_t>(limit) && text.find(',') == std::string_view::npos);
    };
    return plainValue && clean(row[0], kGeneralMaxType) && clean(row[1], kGeneralMaxDesc);
}

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
