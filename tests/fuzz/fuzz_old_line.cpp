// The conversion of a line of an older file, for each of the four lists: the new line has
// at least its layout's fields, keeps the old line in front, fills the fields it must, and
// converting it again changes nothing.

#include <algorithm>
#include <string>

#include "FuzzSupport.h"
#include "store/DataFolder.h"
#include "store/Fields.h"

using namespace stallmark;
using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string line(fuzz::AsText(data, size));
    const OldListKind kinds[] = {OldListKind::WeaponStock, OldListKind::WeaponPrices, OldListKind::ArmourStock,
                                 OldListKind::ArmourPrices};
    const int commas[] = {7, 8, 5, 6};
    for (int k = 0; k < 4; ++k) {
        const std::string converted = ConvertOldRecordLine(line, kinds[k], "20240101");
        Check(std::count(converted.begin(), converted.end(), ',') >= commas[k], "too few fields");
        const bool weapons = k < 2;
        Check(!IsBlank(GetField(weapons ? 6 : 4, ',', converted)), "price left blank");
        Check(!IsBlank(GetField(weapons ? 7 : 5, ',', converted)), "date left blank");
        Check(ConvertOldRecordLine(converted, kinds[k], "20240101") == converted, "a second conversion changed it");
        // Only the fields the conversion fills differ from the old line's.
        const auto oldFields = SplitFields(PadFields(line, commas[k]));
        const auto newFields = SplitFields(converted);
        Check(oldFields.size() == newFields.size(), "the number of fields changed");
        for (std::size_t f = 0; f < oldFields.size(); ++f)
            if (oldFields[f] != newFields[f]) Check(IsBlank(oldFields[f]) || oldFields[f] == "Silver", "a field lost");
    }
    return 0;
}
