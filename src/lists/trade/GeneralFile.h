#pragma once
// "General.dat" without any widget: how the General page reads its lines into rows and
// writes its rows back. A line is Type,Description,Value (fields beyond the third are not
// part of the row); a line whose Type and Description are both blank holds no item. A row
// is written as its three cells joined by commas and ended by CR LF, bytes as they are.

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "store/Fields.h"

namespace stallmark {

inline constexpr const char* kGeneralFile = "General.dat";
inline constexpr int kGeneralMaxType = 25, kGeneralMaxDesc = 120, kGeneralMaxValue = 9;

// Type, Description and Value.
using GeneralRow = std::array<std::string_view, 3>;

// Calls item(row, line) for every line of text that holds an item, in file order: row's
// cells and the line (without its end) are views into text. Lines end at LF, a CR just
// before the LF dropped; the last line may lack its end.
template <typename Item>
void ForEachGeneralItem(std::string_view text, Item&& item) {
    const char* const data = text.data();
    const std::size_t size = text.size();
    for (std::size_t begin = 0; begin < size;) {
        // One pass over the line finds its end and the commas after Type and Description.
        std::size_t commas[3] = {0, 0, 0};
        int found = 0;
        std::size_t end = begin;
        for (; end < size; ++end) {
            const char c = data[end];
            if (c == '\n') break;
            if (c == ',' && found < 3) commas[found++] = end;
        }
        const std::size_t next = end < size ? end + 1 : size;
        if (end < size && end > begin && data[end - 1] == '\r') --end;
        GeneralRow row;  // missing fields stay empty
        std::size_t at = begin;
        for (int f = 0; f < 3 && at <= end; ++f) {
            const std::size_t fieldEnd = f < found ? commas[f] : end;
            row[static_cast<std::size_t>(f)] = std::string_view(data + at, fieldEnd - at);
            at = fieldEnd + 1;
        }
        const std::string_view line(data + begin, end - begin);
        begin = next;
        if (IsBlank(row[0]) && IsBlank(row[1])) continue;
        item(row, line);
    }
}

// A row the save's check leaves as it is: a plain value (digits, no leading zero, at most
// kGeneralMaxValue) and a Type and Description without a comma, without blanks or control
// characters at either end, within their lengths.
bool IsPlainGeneralRow(const GeneralRow& row);

// The file's content: each row (row(0) to row(count - 1)) that holds an item, as a line.
std::string GeneralFileContent(std::size_t count, const std::function<GeneralRow(std::size_t)>& row);

// Replaces the file at path with GeneralFileContent, atomically.
void WriteGeneralFile(const std::string& path, std::size_t count, const std::function<GeneralRow(std::size_t)>& row);

}  // namespace stallmark
