// The General page's file: any bytes load without harm; every row holds an item; a row
// the save's check leaves alone is written back as the very line it was read from (up to
// a third comma); what a save writes loads as the same rows and is written again byte for
// byte.

#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "lists/trade/GeneralFile.h"

using namespace stallmark;
using fuzz::Check;

namespace {

std::vector<GeneralRow> Rows(std::string_view text) {
    std::vector<GeneralRow> rows;
    ForEachGeneralItem(text, [&](const GeneralRow& row, std::string_view line) {
        Check(!IsBlank(row[0]) || !IsBlank(row[1]), "a row without an item");
        for (std::string_view cell : row) {
            Check(cell.find('\n') == std::string_view::npos, "a cell holds a line end");
            Check(
                cell.empty() || (cell.data() >= line.data() && cell.data() + cell.size() <= line.data() + line.size()),
                "a cell lies outside its line");
        }
        Check(row[0].find(',') == std::string_view::npos && row[1].find(',') == std::string_view::npos &&
                  row[2].find(',') == std::string_view::npos,
              "a cell holds a comma");
        // A row the check leaves alone is written back as its line (up to a third comma:
        // what follows is not part of the row).
        if (IsPlainGeneralRow(row)) {
            std::size_t rowEnd = 0;
            for (int commas = 0; rowEnd < line.size(); ++rowEnd)
                if (line[rowEnd] == ',' && ++commas == 3) break;
            Check(
                GeneralFileContent(1, [&](std::size_t) { return row; }) == std::string(line.substr(0, rowEnd)) + "\r\n",
                "a plain row is not written back as its line");
        }
        rows.push_back(row);
    });
    return rows;
}

std::string Content(const std::vector<GeneralRow>& rows) {
    return GeneralFileContent(rows.size(), [&](std::size_t i) { return rows[i]; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::AsText(data, size);
    const std::vector<GeneralRow> rows = Rows(text);
    const std::string saved = Content(rows);
    const std::vector<GeneralRow> again = Rows(saved);
    Check(again == rows, "the saved file loads as other rows");
    Check(Content(again) == saved, "a second save changes the file");
    return 0;
}
