#include "store/Fields.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <emmintrin.h>
#define STALLMARK_SCAN_SSE2 1
#endif

#include "store/Windows1252.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#elif __has_include(<monetary.h>)
#include <langinfo.h>
#include <monetary.h>
#define STALLMARK_HAVE_STRFMON 1
#endif

namespace stallmark {

namespace {

bool IsSpaceOrControl(char c) { return static_cast<unsigned char>(c) <= 0x20; }

// Start and length of field n, or false when the line has fewer than n fields.
bool FindField(int n, char sep, std::string_view line, size_t& start, size_t& length) {
    if (n < 1) return false;
    size_t pos = 0;
    for (int i = 1; i < n; ++i) {
        const size_t next = line.find(sep, pos);
        if (next == std::string_view::npos) return false;
        pos = next + 1;
    }
    const size_t end = line.find(sep, pos);
    start = pos;
    length = (end == std::string_view::npos ? line.size() : end) - pos;
    return true;
}

#ifdef STALLMARK_HAVE_STRFMON
// Monetary text in the locale's character set, as Windows-1252 bytes.
std::string LocaleTextTo1252(const std::string& text) {
    const char* codeset = nl_langinfo(CODESET);
    if (codeset == nullptr || (std::strcmp(codeset, "UTF-8") != 0 && std::strcmp(codeset, "utf8") != 0)) return text;
    std::string out;
    for (size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        const size_t length = DecodeUtf8(text, i, cp);
        if (length == 0) {
            out.push_back('?');
            ++i;
            continue;
        }
        i += length;
        // The narrow and thin blanks some locales group digits with.
        if ((cp >= 0x2000 && cp <= 0x200A) || cp == 0x202F) cp = 0xA0;
        const int b = ByteOf1252(cp);
        out.push_back(b < 0 ? '?' : static_cast<char>(b));
    }
    return out;
}
#endif

#ifdef _WIN32
std::string LocaleText(LCTYPE type) {
    char buf[128];
    const int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buf, sizeof buf);
    return n > 0 ? std::string(buf, static_cast<size_t>(n - 1)) : std::string();
}
#endif

}  // namespace

std::string_view GetFieldView(int n, char sep, std::string_view line) {
    size_t start = 0, length = 0;
    if (!FindField(n, sep, line, start, length)) return {};
    return line.substr(start, length);
}

std::string GetField(int n, char sep, const std::string& line) { return std::string(GetFieldView(n, sep, line)); }

std::string SetField(int n, char sep, const std::string& line, const std::string& value) {
    size_t start = 0, length = 0;
    if (!FindField(n, sep, line, start, length)) return line;
    std::string out;
    out.reserve(line.size() - length + value.size());
    out.append(line, 0, start);
    out.append(value);
    out.append(line, start + length, std::string::npos);
    return out;
}

void SplitFieldViews(std::string_view line, char sep, std::vector<std::string_view>& out) {
    out.clear();
    size_t pos = 0;
    for (;;) {
        const size_t next = line.find(sep, pos);
        if (next == std::string_view::npos) {
            out.push_back(line.substr(pos));
            return;
        }
        out.push_back(line.substr(pos, next - pos));
        pos = next + 1;
    }
}

std::vector<std::string> SplitFields(std::string_view line, char sep) {
    std::vector<std::string> out;
    size_t pos = 0;
    for (;;) {
        const size_t next = line.find(sep, pos);
        if (next == std::string_view::npos) {
            out.emplace_back(line.substr(pos));
            return out;
        }
        out.emplace_back(line.substr(pos, next - pos));
        pos = next + 1;
    }
}

std::string PadFields(const std::string& line, int commas) {
    std::string out = line;
    for (long long have = static_cast<long long>(std::count(line.begin(), line.end(), ',')); have < commas; ++have)
        out.push_back(',');
    return out;
}

std::string Trim(std::string_view text) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsSpaceOrControl(text[begin])) ++begin;
    while (end > begin && IsSpaceOrControl(text[end - 1])) --end;
    return std::string(text.substr(begin, end - begin));
}

std::string CleanField(const std::string& text, bool keepRight) {
    size_t begin = 0;
    while (begin < text.size() && text[begin] == ' ') ++begin;
    std::string s = text.substr(begin);
    for (char& c : s)
        if (c == ',') c = ' ';
    if (!keepRight) return Trim(s);
    size_t left = 0;
    while (left < s.size() && IsSpaceOrControl(s[left])) ++left;
    return s.substr(left);
}

bool IsBlank(std::string_view text) {
    for (char c : text)
        if (!IsSpaceOrControl(c)) return false;
    return true;
}

int ToIntOrZero(std::string_view text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) return 0;
    long long value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return 0;
        value = value * 10 + (c - '0');
        if (value > -static_cast<long long>(INT_MIN)) return 0;
    }
    if (negative) value = -value;
    if (value > INT_MAX || value < INT_MIN) return 0;
    return static_cast<int>(value);
}

long long ToInt64OrZero(std::string_view text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) return 0;
    // Gathered as a magnitude, which may reach 2^63 for the most negative value.
    constexpr unsigned long long kLimit = static_cast<unsigned long long>(LLONG_MAX) + 1;
    unsigned long long value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return 0;
        const auto digit = static_cast<unsigned long long>(c - '0');
        if (value > (kLimit - digit) / 10) return 0;
        value = value * 10 + digit;
    }
    if (negative) return value == kLimit ? LLONG_MIN : -static_cast<long long>(value);
    return value == kLimit ? 0 : static_cast<long long>(value);
}

std::string GroupThousands(long long amount, char separator) {
    const bool negative = amount < 0;
    unsigned long long magnitude =
        negative ? 0ULL - static_cast<unsigned long long>(amount) : static_cast<unsigned long long>(amount);
    std::string digits = std::to_string(magnitude);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out.push_back(separator);
        out.push_back(digits[i]);
    }
    return negative ? "-" + out : out;
}

std::string SystemMoneyFormat(long long amount) {
#ifdef _WIN32
    std::string decimal = LocaleText(LOCALE_SMONDECIMALSEP);
    std::string thousand = LocaleText(LOCALE_SMONTHOUSANDSEP);
    std::string symbol = LocaleText(LOCALE_SCURRENCY);
    const std::string grouping = LocaleText(LOCALE_SMONGROUPING);
    CURRENCYFMTA format{};
    format.NumDigits = 0;
    format.LeadingZero = 0;
    format.Grouping = grouping.rfind("3;2", 0) == 0                                     ? 32
                      : (!grouping.empty() && grouping[0] >= '0' && grouping[0] <= '9') ? grouping[0] - '0'
                                                                                        : 3;
    format.lpDecimalSep = decimal.data();
    format.lpThousandSep = thousand.data();
    format.lpCurrencySymbol = symbol.data();
    format.PositiveOrder = static_cast<UINT>(ToIntOrZero(LocaleText(LOCALE_ICURRENCY)));
    format.NegativeOrder = static_cast<UINT>(ToIntOrZero(LocaleText(LOCALE_INEGCURR)));
    char buf[128];
    const std::string number = std::to_string(amount);
    const int n = GetCurrencyFormatA(LOCALE_USER_DEFAULT, 0, number.c_str(), &format, buf, sizeof buf);
    if (n > 0) return std::string(buf, static_cast<size_t>(n - 1));
    return GroupThousands(amount);
#elif defined(STALLMARK_HAVE_STRFMON)
    // strfmon takes a double, which holds every whole number up to 2^53 exactly.
    constexpr long long kExact = 1LL << 53;
    if (amount > kExact || amount < -kExact) return GroupThousands(amount);
    char buf[128];
    const ssize_t n = strfmon(buf, sizeof buf, "%.0n", static_cast<double>(amount));
    if (n < 0) return GroupThousands(amount);
    return LocaleTextTo1252(std::string(buf, static_cast<size_t>(n)));
#else
    return GroupThousands(amount);
#endif
}

namespace {

std::string DigitsOf(const std::string& text) {
    std::string digits;
    for (char c : text)
        if (c >= '0' && c <= '9') digits.push_back(c);
    return digits;
}

// format's form of a non-negative amount without a leading currency sign.
std::string MoneyOf(long long amount, const MoneyFormat& format) {
    std::string out = format ? format(amount) : SystemMoneyFormat(amount);
    if (out.size() > 1 && (out[0] < '0' || out[0] > '9')) out.erase(0, 1);
    return out;
}

}  // namespace

std::string DigitsToAmount(const std::string& text, bool money, const MoneyFormat& format) {
    const int amount = ToIntOrZero(DigitsOf(text));
    return money ? MoneyOf(amount, format) : std::to_string(amount);
}

std::string DigitsToAmount64(const std::string& text, bool money, const MoneyFormat& format) {
    const long long amount = ToInt64OrZero(DigitsOf(text));
    return money ? MoneyOf(amount, format) : std::to_string(amount);
}

std::string FormatMoney(long long amount, const MoneyFormat& format) {
    if (amount >= 0) return MoneyOf(amount, format);
    if (amount == LLONG_MIN) return GroupThousands(amount);  // its magnitude is no long long
    return "-" + MoneyOf(-amount, format);
}

int CompareRecordLines(std::string_view a, std::string_view b) {
    // The fields before the first differing byte are equal; the field holding that byte decides,
    // unless one of the lines has no comma after it (then its fields from there on are empty).
    const size_t shorter = a.size() < b.size() ? a.size() : b.size();
    int field = 1;
    size_t m = 0;
    while (m + 8 <= shorter) {
        std::uint64_t wa, wb;
        std::memcpy(&wa, a.data() + m, 8);
        std::memcpy(&wb, b.data() + m, 8);
        if (wa != wb) break;
        // Count the commas among these eight equal bytes.
        constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
        const std::uint64_t x = wa ^ 0x2C2C2C2C2C2C2C2CULL;  // zero bytes where the commas are
        field += std::popcount(~(((x & kLow7) + kLow7) | x | kLow7));
        m += 8;
    }
    for (; m < shorter && a[m] == b[m]; ++m)
        if (a[m] == ',') ++field;
    if (m == a.size() && m == b.size()) return 0;

    const size_t endA = a.find(',', m), endB = b.find(',', m);
    const bool fullA = endA != std::string_view::npos, fullB = endB != std::string_view::npos;
    if (fullA && fullB) {
        if (endA == m) return -field;  // a's field is the beginning of b's
        if (endB == m) return field;
        return static_cast<unsigned char>(a[m]) < static_cast<unsigned char>(b[m]) ? -field : field;
    }
    if (!fullA && !fullB) return 0;
    // One line has run out of fields: the first non-empty field of the other decides.
    const std::string_view rest = fullA ? a : b;
    const int sign = fullA ? 1 : -1;
    const size_t lastComma = m == 0 ? std::string_view::npos : a.rfind(',', m - 1);
    for (size_t pos = lastComma == std::string_view::npos ? 0 : lastComma + 1;; ++field) {
        const size_t end = rest.find(',', pos);
        if (end == std::string_view::npos) return 0;
        if (end > pos) return sign * field;
        pos = end + 1;
    }
}

std::string CommaTextJoin(const std::vector<std::string>& items) {
    // A lone empty item is written quoted so that it does not read back as no item at all.
    if (items.size() == 1 && items[0].empty()) return "\"\"";
    std::string out;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out.push_back(',');
        const std::string& item = items[i];
        bool quote = false;
        for (char c : item) {
            if (IsSpaceOrControl(c) || c == ',' || c == '"') {
                quote = true;
                break;
            }
        }
        if (!quote) {
            out += item;
            continue;
        }
        out.push_back('"');
        for (char c : item) {
            if (c == '"') out.push_back('"');
            out.push_back(c);
        }
        out.push_back('"');
    }
    return out;
}

std::vector<std::string> CommaTextSplit(std::string_view line) {
    std::vector<std::string> items;
    const size_t n = line.size();
    size_t i = 0;
    while (i < n && IsSpaceOrControl(line[i])) ++i;
    if (i == n) return items;
    for (;;) {
        std::string item;
        if (line[i] == '"') {
            ++i;
            while (i < n) {
                if (line[i] == '"') {
                    if (i + 1 < n && line[i + 1] == '"') {
                        item.push_back('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item.push_back(line[i++]);
            }
        } else {
            const size_t start = i;
            while (i < n && !IsSpaceOrControl(line[i]) && line[i] != ',') ++i;
            item.assign(line.substr(start, i - start));
        }
        items.push_back(std::move(item));
        while (i < n && IsSpaceOrControl(line[i])) ++i;
        if (i == n) break;
        if (line[i] == ',') {
            ++i;
            while (i < n && IsSpaceOrControl(line[i])) ++i;
            if (i == n) {
                items.emplace_back();  // a separator at the end leaves an empty last item
                break;
            }
        }
    }
    return items;
}

std::size_t ScanLine(std::string_view text, std::size_t begin, std::size_t want, std::size_t* commas,
                     std::size_t& found) {
    found = 0;
    const char* const data = text.data();
    const std::size_t size = text.size();
    // Once every comma wanted is found, only the line feed is looked for.
    const auto feedAfter = [&](std::size_t from) {
        const void* lf = from < size ? std::memchr(data + from, '\n', size - from) : nullptr;
        return lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - data) : std::string_view::npos;
    };
    if (want == 0) return feedAfter(begin);
    std::size_t at = begin;
#ifdef STALLMARK_SCAN_SSE2
    // Sixteen bytes at a time: a mask of the commas and line feeds among them, taken in order.
    const __m128i comma = _mm_set1_epi8(','), feed = _mm_set1_epi8('\n');
    for (; at + 16 <= size; at += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
        auto mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, comma), _mm_cmpeq_epi8(block, feed))));
        for (; mask != 0; mask &= mask - 1) {
            const std::size_t p = at + static_cast<std::size_t>(std::countr_zero(mask));
            if (data[p] == '\n') return p;
            commas[found++] = p;
            if (found == want) return feedAfter(p + 1);
        }
    }
#endif
    for (; at < size; ++at) {
        if (data[at] == '\n') return at;
        if (data[at] == ',') {
            commas[found++] = at;
            if (found == want) return feedAfter(at + 1);
        }
    }
    return std::string_view::npos;
}

}  // namespace stallmark
