// Fields, numbers and amounts of one line against their rules. The input is a line, and
// after the first LF a second text used as a field value and as the other line compared.

#include <algorithm>
#include <charconv>
#include <climits>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "store/Fields.h"

using namespace stallmark;
using fuzz::Check;

namespace {

// A strict decimal integer of type T (an optional sign and digits only), or 0.
template <typename T>
T ReferenceInteger(std::string_view text) {
    // One sign at most: "+-122" is no number.
    const bool plus = !text.empty() && text[0] == '+';
    if (plus) text.remove_prefix(1);
    if (text.empty() || text[0] == '+' || (text[0] == '-' && (plus || text.size() == 1))) return 0;
    T value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() ? value : 0;
}

int ReferenceCompare(std::string_view a, std::string_view b) {
    std::vector<std::string> fa = SplitFields(a), fb = SplitFields(b);
    fa.pop_back();  // the last field takes no part
    fb.pop_back();
    const std::size_t n = std::max(fa.size(), fb.size());
    fa.resize(n);
    fb.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const int r = fa[i].compare(fb[i]);
        if (r != 0) return r > 0 ? static_cast<int>(i + 1) : -static_cast<int>(i + 1);
    }
    return 0;
}

std::string DigitsOf(std::string_view text) {
    std::string digits;
    for (char c : text)
        if (c >= '0' && c <= '9') digits.push_back(c);
    return digits;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = fuzz::AsText(data, size);
    const std::size_t lf = input.find('\n');
    const std::string line(input.substr(0, lf));
    const std::string other(lf == std::string_view::npos ? std::string_view() : input.substr(lf + 1));

    const std::vector<std::string> fields = SplitFields(line);
    std::string joined;
    for (std::size_t i = 0; i < fields.size(); ++i) joined += (i ? "," : "") + fields[i];
    Check(joined == line, "fields do not join back into the line");
    std::string value = other;
    std::replace(value.begin(), value.end(), ',', ';');
    const int count = static_cast<int>(fields.size());
    for (int n = -1; n <= count + 1; ++n) {
        const bool inside = n >= 1 && n <= count;
        Check(GetField(n, ',', line) == (inside ? fields[static_cast<std::size_t>(n - 1)] : ""), "GetField");
        const std::string set = SetField(n, ',', line, value);
        if (!inside) {
            Check(set == line, "SetField outside the line changed it");
            continue;
        }
        std::vector<std::string> expected = fields;
        expected[static_cast<std::size_t>(n - 1)] = value;
        Check(SplitFields(set) == expected, "SetField touched another field");
    }
    const int commas = size > 0 ? data[0] % 16 : 0;
    const std::string padded = PadFields(line, commas);
    Check(padded.compare(0, line.size(), line) == 0, "PadFields changed the line");
    Check(std::count(padded.begin(), padded.end(), ',') >= commas, "PadFields too short");

    const std::string clean = CleanField(line);
    Check(clean.find(',') == std::string::npos, "CleanField kept a comma");
    Check(clean.empty() ||
              (static_cast<unsigned char>(clean.front()) > 0x20 && static_cast<unsigned char>(clean.back()) > 0x20),
          "CleanField left blanks at an end");
    Check(IsBlank(line) == Trim(line).empty(), "IsBlank and Trim disagree");

    Check(ToIntOrZero(line) == ReferenceInteger<int>(line), "ToIntOrZero");
    Check(ToInt64OrZero(line) == ReferenceInteger<long long>(line), "ToInt64OrZero");
    const std::string digits = DigitsOf(line);
    Check(DigitsToAmount(line, false) == std::to_string(ReferenceInteger<int>(digits)), "DigitsToAmount");
    Check(DigitsToAmount64(line, false) == std::to_string(ReferenceInteger<long long>(digits)), "DigitsToAmount64");
    const auto grouped = [](long long n) { return "$" + GroupThousands(n); };
    const long long amount = ToInt64OrZero(line);
    const std::string money = FormatMoney(amount, grouped);
    Check((amount < 0) == (!money.empty() && money[0] == '-'), "FormatMoney lost the sign");
    std::string magnitude = std::to_string(amount);
    if (magnitude[0] == '-') magnitude.erase(0, 1);
    Check(DigitsOf(money) == magnitude, "FormatMoney changed the digits");

    const int ab = CompareRecordLines(line, other);
    Check(ab == -CompareRecordLines(other, line), "CompareRecordLines is not antisymmetric");
    Check(ab == ReferenceCompare(line, other), "CompareRecordLines breaks its rule");
    return 0;
}
