#pragma once
// Text helpers shared by every list: fields of a record line, numbers, amounts and
// the comma text of whole-line item lists. All text is bytes in Windows-1252; none of
// these functions touches a file.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace stallmark {

// The n-th field (from 1) of line, fields separated by sep. Empty when the line has
// fewer than n fields (or n < 1).
std::string GetField(int n, char sep, const std::string& line);
std::string_view GetFieldView(int n, char sep, std::string_view line);

// line with its n-th field replaced by value; every other byte unchanged. A line with
// fewer than n fields (or n < 1) is returned unchanged.
std::string SetField(int n, char sep, const std::string& line, const std::string& value);

// All fields of line, in order (an empty line gives one empty field).
std::vector<std::string> SplitFields(std::string_view line, char sep = ',');
// The same as views into line; out is cleared first and reused.
void SplitFieldViews(std::string_view line, char sep, std::vector<std::string_view>& out);

// line with "," appended until it holds at least commas commas.
std::string PadFields(const std::string& line, int commas);

// Leading blanks removed, every "," turned into a blank, then trimmed of blanks and
// control characters at both ends (only at the left end when keepRight is set).
std::string CleanField(const std::string& text, bool keepRight = false);

// True when text is empty after trimming blanks and control characters at both ends.
bool IsBlank(std::string_view text);

// Blanks and control characters (every byte up to 0x20) removed at both ends.
std::string Trim(std::string_view text);

// The integer that text spells: an optional sign and decimal digits only, within the
// range of int. 0 for anything else (empty text, blanks, other characters, overflow).
int ToIntOrZero(std::string_view text);
// The same within the range of a 64-bit integer (amounts of gold, totals).
long long ToInt64OrZero(std::string_view text);

// Formats a whole amount in the currency form of the system, without decimals, as
// Windows-1252 bytes (for example "$1,250" or "1.250 €").
using MoneyFormat = std::function<std::string(long long amount)>;

// The system's currency form: the user's currency settings on Windows, the monetary
// locale (strfmon) elsewhere; thousands separated with "," where neither is available
// (and, off Windows, for amounts beyond 2^53, which the locale's formatter cannot hold).
std::string SystemMoneyFormat(long long amount);

// amount with a "," between every group of three digits ("-1,234,567").
std::string GroupThousands(long long amount, char separator = ',');

// Every byte but "0" to "9" dropped, the rest read with ToIntOrZero and written back as a
// decimal integer ("" and "abc" give "0", "007" gives "7"). With money, the number is then
// formatted by format (SystemMoneyFormat when empty) and a leading non-digit is removed
// when the result is longer than one character (so "$1,250" becomes "1,250").
// The number is read within the range of int: "3000000000" gives "0".
std::string DigitsToAmount(const std::string& text, bool money, const MoneyFormat& format = {});
// The same read within the range of a 64-bit integer: "3000000000" gives "3000000000"; more
// than 19 significant digits give "0".
std::string DigitsToAmount64(const std::string& text, bool money, const MoneyFormat& format = {});

// amount in money form, as DigitsToAmount formats it (format, by default SystemMoneyFormat,
// then a leading non-digit removed), keeping the sign: a negative amount is "-" followed by
// the form of its magnitude ("-1,250"). For totals that can fall below zero.
std::string FormatMoney(long long amount, const MoneyFormat& format = {});

// 0 when a and b are equal, +i when a sorts after b, -i when before, where i (from 1) is
// the first field that differs. Only fields followed by a comma take part; a missing field
// counts as empty. Byte-wise, case-sensitive: "900" sorts after "1000".
int CompareRecordLines(std::string_view a, std::string_view b);

// Comma text: items joined by ","; an item holding a blank, a control character, a comma
// or a double quote is written in double quotes with inner quotes doubled.
std::string CommaTextJoin(const std::vector<std::string>& items);

// Reads comma text back: items end at a comma and, outside double quotes, at blanks and
// control characters; blanks at the start and after a separator are skipped; a quoted
// item loses its quotes and has doubled quotes made single; ",," gives an empty item.
std::vector<std::string> CommaTextSplit(std::string_view line);

// The line of text that starts at begin: returns where its line feed is (npos: none, the
// line runs to the end of text), and puts where its first commas lie, up to want of them,
// into commas (found: how many). Commas after the line feed are not the line's. Sixteen
// bytes at a time where the processor allows.
std::size_t ScanLine(std::string_view text, std::size_t begin, std::size_t want, std::size_t* commas,
                     std::size_t& found);

}  // namespace stallmark
