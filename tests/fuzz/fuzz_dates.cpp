// Dates: any text reads as a valid date or as the clock's time, and a valid one formats
// back to the same day; any eight bytes taken as a stored date-time either name a day of
// the years 1 to 9999 or none, without undefined behaviour.

#include <cmath>
#include <cstring>
#include <string>

#include "FuzzSupport.h"
#include "store/Dates.h"

using namespace stallmark;
using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::AsText(data, size);
    const FixedClock clock(45000.5);
    const DateTime read = StoredDateToDate(text, clock);
    if (read != clock.Now()) {
        Check(IsValidDateTime(read) && read == std::floor(read), "a read date is no whole day");
        Check(StoredDateToDate(FormatStoredDate(read), clock) == read, "stored form does not read back");
        Check(StoredDateToDate(FormatShownDate(read), clock) == read, "shown form does not read back");
    }

    if (size >= sizeof(double)) {
        double value = 0;
        std::memcpy(&value, data, sizeof value);
        int y = -1, m = -1, d = -1;
        const bool valid = DecodeDate(value, y, m, d);
        Check(valid == IsValidDateTime(value), "DecodeDate and IsValidDateTime disagree");
        if (valid) {
            Check(IsValidDate(y, m, d), "decoded an impossible date");
            Check(EncodeDate(y, m, d) == std::floor(value), "decoded the wrong day");
            Check(FormatStoredDate(value).size() == 8 && FormatShownDate(value).size() == 10, "date forms");
        } else {
            Check(FormatStoredDate(value).empty() && FormatShownDate(value).empty(), "an invalid date formatted");
        }
    }
    return 0;
}
