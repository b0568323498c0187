#include "store/Dates.h"

#include <cstdio>

namespace stallmark {

namespace {

// The number spelt by count digits at text[at]; -1 when one of them is not a digit.
int Digits(std::string_view text, size_t at, size_t count) {
    int value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool IsDateSeparator(char c) { return c == '/' || c == '.' || c == '-'; }

}  // namespace

DateTime StoredDateToDate(std::string_view text, const Clock& clock) {
    int year = -1, month = -1, day = -1;
    if (text.size() == 8) {
        year = Digits(text, 0, 4);
        month = Digits(text, 4, 2);
        day = Digits(text, 6, 2);
    } else if (text.size() == 10 && IsDateSeparator(text[2]) && text[5] == text[2]) {
        day = Digits(text, 0, 2);
        month = Digits(text, 3, 2);
        year = Digits(text, 6, 4);
    }
    if (!IsValidDate(year, month, day)) return clock.Now();
    return EncodeDate(year, month, day);
}

std::string FormatStoredDate(DateTime value) {
    int year, month, day;
    if (!DecodeDate(value, year, month, day)) return {};
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", year, month, day);
    return buf;
}

std::string FormatShownDate(DateTime value) {
    int year, month, day;
    if (!DecodeDate(value, year, month, day)) return {};
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", day, month, year);
    return buf;
}

}  // namespace stallmark
