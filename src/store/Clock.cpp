#include "store/Clock.h"

#include <chrono>
#include <cmath>
#include <ctime>

namespace stallmark {

namespace {

// Days from 1970-01-01 to y-m-d (Howard Hinnant's civil calendar algorithm).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& y, int& m, int& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long yy = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}

constexpr long long kUnixEpochDays = 25569;  // 1970-01-01 as days since 1899-12-30
constexpr double kFirstDay = -693593;        // 0001-01-01
constexpr double kEndDay = 2958466;          // 10000-01-01, the first day after the range

}  // namespace

DateTime Clock::Today() const { return std::floor(Now()); }

DateTime SystemClock::Now() const {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    return EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                          local.tm_sec);
}

bool IsValidDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int last = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
    return day <= last;
}

DateTime EncodeDate(int year, int month, int day) {
    return static_cast<DateTime>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
                                 kUnixEpochDays);
}

DateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second) {
    return EncodeDate(year, month, day) + (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

bool IsValidDateTime(DateTime value) { return std::isfinite(value) && value >= kFirstDay && value < kEndDay; }

bool DecodeDate(DateTime value, int& year, int& month, int& day) {
    if (!IsValidDateTime(value)) {
        year = month = day = 0;
        return false;
    }
    const long long days = static_cast<long long>(std::floor(value)) - kUnixEpochDays;
    CivilFromDays(days, year, month, day);
    return true;
}

}  // namespace stallmark
