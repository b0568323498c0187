#pragma once
// Date-times are days since 1899-12-30 with the time of day as the fraction,
// the form the bulk timer keeps in the settings ("Bulk Date").

namespace stallmark {

using DateTime = double;

class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime Now() const = 0;
    // Today at midnight.
    DateTime Today() const;
};

// The machine's local date and time.
class SystemClock final : public Clock {
public:
    DateTime Now() const override;
};

// A clock that shows whatever it is set to; for tests and benchmarks.
class FixedClock final : public Clock {
public:
    explicit FixedClock(DateTime now = 0) : now_(now) {}
    DateTime Now() const override { return now_; }
    void Set(DateTime now) { now_ = now; }
    void Advance(double days) { now_ += days; }

private:
    DateTime now_;
};

// Calendar arithmetic (proleptic Gregorian).
DateTime EncodeDate(int year, int month, int day);
DateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second);
// The calendar date of value. A value that is no valid date-time (see IsValidDateTime)
// gives false and 0, 0, 0.
bool DecodeDate(DateTime value, int& year, int& month, int& day);
bool IsValidDate(int year, int month, int day);
// Whether value is a finite date-time within the years 1 to 9999. Any other double (NaN,
// an infinity, 1e300, a date of the year 10000) names no date and reads as unreadable.
bool IsValidDateTime(DateTime value);

}  // namespace stallmark
