#include "lists/trade/GeneralFile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "store/Files.h"

namespace stallmark {

namespace {

// Whether text holds byte b: eight bytes at a time (a byte equal to b leaves a zero
// byte in the word xor b's pattern), the last eight overlapping the word before.
bool Holds(std::string_view text, char b) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL, kHighs = 0x8080808080808080ULL;
    auto hasZero = [](std::uint64_t v) { return ((v - kOnes) & ~v & kHighs) != 0; };
    const std::uint64_t pattern = kOnes * static_cast<unsigned char>(b);
    const char* p = text.data();
    const std::size_t n = text.size();
    if (n < 8) {
        for (std::size_t i = 0; i < n; ++i)
            if (p[i] == b) return true;
        return false;
    }
    std::uint64_t w = 0;
    for (std::size_t i = 0; i + 8 <= n; i += 8) {
        std::memcpy(&w, p + i, 8);
        if (hasZero(w ^ pattern)) return true;
    }
    std::memcpy(&w, p + n - 8, 8);
    return hasZero(w ^ pattern);
}

}  // namespace

bool GeneralRowBreaksLine(const GeneralRow& row) { return Holds(row[0], '\n') || Holds(row[1], '\n'); }

bool IsPlainGeneralRow(const GeneralRow& row) {
    const std::string_view value = row[2];
    const bool plainValue = !value.empty() && value.size() <= static_cast<std::size_t>(kGeneralMaxValue) &&
                            (value.size() == 1 || value[0] != '0') &&
                            std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
    auto clean = [](std::string_view text, int limit) {
        return text.empty() ||
               (static_cast<unsigned char>(text.front()) > ' ' && static_cast<unsigned char>(text.back()) > ' ' &&
                text.size() <= static_cast<std::size_t>(limit) && !Holds(text, ','));
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
