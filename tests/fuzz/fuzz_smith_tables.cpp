// The smith tables: the fuzzed bytes loaded as "ArmDesc.dat" and as "Armour.dat", line by
// line as the page reads them. Any bytes load without harm; a price line gives at most
// nine cells; a type's names and prices as a save writes them load as the same and are
// written again byte for byte; the save's price check leaves a number.

#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "lists/smith/SmithTable.h"
#include "store/Files.h"

using namespace stallmark;
using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::WriteScratch("ArmDesc.dat", fuzz::AsText(data, size));
    LineReader reader(path, kMaxLineBytes);
    std::string_view line;
    while (reader.Next(line)) {
        const smith::TypeNames names = smith::ParseDescriptionLine(line);
        const std::string written = smith::FormatDescriptionLine(names);
        const smith::TypeNames back = smith::ParseDescriptionLine(written);
        Check(smith::FormatDescriptionLine(back) == written, "a second save of a type's names changes its line");

        const std::vector<std::string> cells = smith::ParsePriceLine(line);
        Check(cells.size() <= static_cast<std::size_t>(smith::kOreCount), "a price line gives more than nine cells");
        const std::string prices = smith::FormatPriceLine(cells);
        Check(smith::FormatPriceLine(smith::ParsePriceLine(prices)) == prices,
              "a second save of a type's prices changes its line");
        for (int ore = 1; ore <= static_cast<int>(cells.size()); ++ore) {
            const std::string& cell = cells[static_cast<std::size_t>(ore) - 1];
            const smith::PriceCheck check = smith::CheckPrice(cell);
            Check(!check.price.empty() && check.price.size() <= static_cast<std::size_t>(smith::kMaxPriceDigits),
                  "the price check leaves no price");
            for (char c : check.price) Check(c >= '0' && c <= '9', "the price check leaves something else than digits");
            Check(!smith::CheckPrice(check.price).ask, "a checked price is questioned again");
            smith::PriceText(check.price, back.description, ore, true, true);
        }
    }
    return 0;
}
