#pragma once
// Dates are stored as "yyyymmdd" and shown as "dd/mm/yyyy".

#include <string>
#include <string_view>

#include "store/Clock.h"

namespace stallmark {

// A stored date "yyyymmdd" or a shown date "dd/mm/yyyy" (the separators may also be "." or
// "-"), read day-month-year with its four-digit year. Any other text, or one that names no
// real date, gives clock.Now().
DateTime StoredDateToDate(std::string_view text, const Clock& clock);

// The date part of value as "yyyymmdd" (stored form) and as "dd/mm/yyyy" (shown form);
// empty for a value that names no date (IsValidDateTime).
std::string FormatStoredDate(DateTime value);
std::string FormatShownDate(DateTime value);

}  // namespace stallmark
