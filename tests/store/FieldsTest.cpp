#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>

#include "store/Fields.h"

namespace stallmark {

TEST(Fields, GetFieldCountsSeparatorsFromTheLeft) {
    EXPECT_EQ(GetField(3, ',', "a,b"), "");
    EXPECT_EQ(GetField(1, ',', ""), "");
    EXPECT_EQ(GetField(2, ',', "a,,c"), "");
    EXPECT_EQ(GetField(3, ',', "a,,c"), "c");
    EXPECT_EQ(GetField(1, ',', ",b"), "");
    EXPECT_EQ(GetField(2, ',', ",b"), "b");
    EXPECT_EQ(GetField(3, ',', "a,b,"), "");
    EXPECT_EQ(GetField(0, ',', "a,b"), "");
    EXPECT_EQ(GetField(2, '|', "a,b|c d|e"), "c d");
}

TEST(Fields, SetFieldReplacesOnlyThatField) {
    EXPECT_EQ(SetField(2, ',', "a,b,c", "Xy"), "a,Xy,c");
    EXPECT_EQ(SetField(1, ',', "a,b,c", ""), ",b,c");
    EXPECT_EQ(SetField(3, ',', "a,b,", "z"), "a,b,z");
    EXPECT_EQ(SetField(4, ',', "a,b,c", "z"), "a,b,c");  // fewer fields: unchanged
    EXPECT_EQ(SetField(0, ',', "a,b,c", "z"), "a,b,c");
    EXPECT_EQ(SetField(1, ',', "", "z"), "z");
    EXPECT_EQ(SetField(2, ',', std::string("\x00,\xff,\r", 5), "v"), std::string("\x00,v,\r", 5));
}

TEST(Fields, SplitFieldsGivesEveryField) {
    EXPECT_EQ(SplitFields("Katana,,0,"), (std::vector<std::string>{"Katana", "", "0", ""}));
    EXPECT_EQ(SplitFields(""), (std::vector<std::string>{""}));
    std::vector<std::string_view> views;
    SplitFieldViews("a;b", ';', views);
    EXPECT_EQ(views, (std::vector<std::string_view>{"a", "b"}));
}

TEST(Fields, PadCleanAndBlank) {
    EXPECT_EQ(PadFields("a,b", 3), "a,b,,");
    EXPECT_EQ(PadFields("a,b,c,d", 3), "a,b,c,d");
    EXPECT_EQ(PadFields("", 2), ",,");

    EXPECT_EQ(CleanField(" Fine, sharp "), "Fine  sharp");
    EXPECT_EQ(CleanField(",a,"), "a");
    EXPECT_EQ(CleanField("\t x \r\n"), "x");
    EXPECT_EQ(CleanField("  a, ", true), "a  ");
    EXPECT_EQ(CleanField("\xe9t\xe9"), "\xe9t\xe9");

    EXPECT_TRUE(IsBlank(""));
    EXPECT_TRUE(IsBlank(" \t\r\n"));
    EXPECT_TRUE(IsBlank(std::string_view("\0 ", 2)));
    EXPECT_FALSE(IsBlank(" a "));
    EXPECT_FALSE(IsBlank("\xa0"));
}

TEST(Fields, ToIntOrZeroAcceptsOnlyASignedDecimalInteger) {
    EXPECT_EQ(ToIntOrZero("12"), 12);
    EXPECT_EQ(ToIntOrZero("-5"), -5);
    EXPECT_EQ(ToIntOrZero("+7"), 7);
    EXPECT_EQ(ToIntOrZero("0007"), 7);
    EXPECT_EQ(ToIntOrZero("2147483647"), INT_MAX);
    EXPECT_EQ(ToIntOrZero("-2147483648"), INT_MIN);
    for (const char* bad : {"", "-", "+", " 1", "1 ", "1.5", "1,000", "0x10", "$10", "2147483648", "-2147483649",
                            "99999999999999999999", "--1", "1e3"})
        EXPECT_EQ(ToIntOrZero(bad), 0) << bad;
}

TEST(Fields, DigitsToAmountKeepsTheDigits) {
    EXPECT_EQ(DigitsToAmount("1,250 gp", false), "1250");
    EXPECT_EQ(DigitsToAmount("", false), "0");
    EXPECT_EQ(DigitsToAmount("abc", false), "0");
    EXPECT_EQ(DigitsToAmount("007", false), "7");
    EXPECT_EQ(DigitsToAmount("-40", false), "40");
    EXPECT_EQ(DigitsToAmount("99999999999", false), "0");  // too large for a number
}

TEST(Fields, DigitsToAmountMoneyDropsALeadingSymbol) {
    auto dollars = [](int n) { return "$" + GroupThousands(n); };
    EXPECT_EQ(DigitsToAmount("1250", true, dollars), "1,250");
    EXPECT_EQ(DigitsToAmount("", true, dollars), "0");
    auto euros = [](int n) { return GroupThousands(n, '.') + " \x80"; };
    EXPECT_EQ(DigitsToAmount("1250", true, euros), "1.250 \x80");
    auto bare = [](int) { return std::string("$"); };
    EXPECT_EQ(DigitsToAmount("5", true, bare), "$");  // a single character stays
    // The default in the C locale has neither symbol nor grouping.
    EXPECT_EQ(DigitsToAmount("1,250 gp", true), "1250");

    EXPECT_EQ(GroupThousands(0), "0");
    EXPECT_EQ(GroupThousands(999), "999");
    EXPECT_EQ(GroupThousands(1000), "1,000");
    EXPECT_EQ(GroupThousands(1234567), "1,234,567");
    EXPECT_EQ(GroupThousands(-1000), "-1,000");
}

TEST(Fields, CompareRecordLinesUsesTheFieldsBeforeTheLastComma) {
    EXPECT_EQ(CompareRecordLines("a,b,1", "a,b,2"), 0);
    EXPECT_EQ(CompareRecordLines("a,c,1", "a,b,1"), 2);
    EXPECT_EQ(CompareRecordLines("Axe,x,", "Bow,x,"), -1);
    EXPECT_EQ(CompareRecordLines("900,", "1000,"), 1);  // text, not numbers
    EXPECT_EQ(CompareRecordLines("a", "b"), 0);         // no field is followed by a comma
    EXPECT_EQ(CompareRecordLines("a,b", "a,b,c,"), -2);
    EXPECT_EQ(CompareRecordLines("a,,", "a,"), 0);  // a missing field counts as empty
    EXPECT_EQ(CompareRecordLines("ab,", "abc,"), -1);
    EXPECT_EQ(CompareRecordLines("axe,", "Axe,"), 1);  // case-sensitive
    EXPECT_EQ(CompareRecordLines("\xe9,", "z,"), 1);   // bytes above 0x7f sort last
    EXPECT_EQ(CompareRecordLines("\xbb,", "\xab,"), 1);
    EXPECT_EQ(CompareRecordLines("", ""), 0);
}

TEST(Fields, ToInt64OrZeroReadsTheWholeRangeAndNothingElse) {
    EXPECT_EQ(ToInt64OrZero("3000000000"), 3000000000LL);
    EXPECT_EQ(ToInt64OrZero("-3000000000"), -3000000000LL);
    EXPECT_EQ(ToInt64OrZero("+12"), 12);
    EXPECT_EQ(ToInt64OrZero("9223372036854775807"), LLONG_MAX);
    EXPECT_EQ(ToInt64OrZero("-9223372036854775808"), LLONG_MIN);
    EXPECT_EQ(ToInt64OrZero("000000000000000000000000042"), 42);
    for (const char* bad : {"", "+", "-", " 1", "1 ", "1e3", "0x10", "9223372036854775808", "-9223372036854775809",
                            "99999999999999999999", "18446744073709551616", "--1", "+-1", "1,000"})
        EXPECT_EQ(ToInt64OrZero(bad), 0) << bad;
}

TEST(Fields, AmountsBeyondTheRangeOfIntSurviveIn64Bits) {
    EXPECT_EQ(DigitsToAmount64("3000000000", false), "3000000000");
    EXPECT_EQ(DigitsToAmount64("3,000,000,000 gp", false), "3000000000");
    EXPECT_EQ(DigitsToAmount64("-40", false), "40");
    EXPECT_EQ(DigitsToAmount64("", false), "0");
    EXPECT_EQ(DigitsToAmount64("9223372036854775807", false), "9223372036854775807");
    EXPECT_EQ(DigitsToAmount64("99999999999999999999", false), "0");  // too large even here
    EXPECT_EQ(DigitsToAmount("3000000000", false), "0");              // the int form is unchanged

    auto dollars = [](long long n) { return "$" + GroupThousands(n); };
    EXPECT_EQ(DigitsToAmount64("3000000000", true, dollars), "3,000,000,000");
    // A format written for int still serves amounts in its range.
    auto pounds = [](int n) { return "\xA3" + GroupThousands(n); };
    EXPECT_EQ(DigitsToAmount("4000", true, pounds), "4,000");
}

TEST(Fields, FormatMoneyKeepsTheSign) {
    auto dollars = [](long long n) { return "$" + GroupThousands(n); };
    EXPECT_EQ(FormatMoney(1250, dollars), "1,250");
    EXPECT_EQ(FormatMoney(-1250, dollars), "-1,250");
    EXPECT_EQ(FormatMoney(0, dollars), "0");
    EXPECT_EQ(FormatMoney(-5000000000LL, dollars), "-5,000,000,000");
    EXPECT_EQ(FormatMoney(LLONG_MIN, dollars), "-9,223,372,036,854,775,808");
    auto euros = [](long long n) { return GroupThousands(n, '.') + " \x80"; };
    EXPECT_EQ(FormatMoney(-1250, euros), "-1.250 \x80");
    // Without a format: the system's, whose digits are those of the amount.
    const std::string system = FormatMoney(-3000000000LL);
    ASSERT_FALSE(system.empty());
    EXPECT_EQ(system[0], '-');
    std::string digits;
    for (char c : system)
        if (c >= '0' && c <= '9') digits.push_back(c);
    EXPECT_EQ(digits, "3000000000");
    std::string huge;
    for (char c : SystemMoneyFormat(LLONG_MAX))
        if (c >= '0' && c <= '9') huge.push_back(c);
    EXPECT_EQ(huge, "9223372036854775807");
}

namespace {

// CompareRecordLines as its rule reads: split, pad with empty fields, compare in turn.
int ReferenceCompare(const std::string& a, const std::string& b) {
    std::vector<std::string> fa = SplitFields(a), fb = SplitFields(b);
    fa.pop_back();  // the last field takes no part
    fb.pop_back();
    const size_t n = std::max(fa.size(), fb.size());
    fa.resize(n);
    fb.resize(n);
    for (size_t i = 0; i < n; ++i) {
        const int r = fa[i].compare(fb[i]);
        if (r != 0) return r > 0 ? static_cast<int>(i + 1) : -static_cast<int>(i + 1);
    }
    return 0;
}

}  // namespace

TEST(Fields, CompareRecordLinesMatchesItsRuleOnRandomLines) {
    std::mt19937 rng(1);
    const std::string alphabet = std::string(",,,,aab\xe9\x80 ") + std::string(1, '\0');
    for (int round = 0; round < 200000; ++round) {
        std::string a;
        for (size_t i = 0, n = rng() % 40; i < n; ++i) a.push_back(alphabet[rng() % alphabet.size()]);
        // Often b shares a long beginning with a.
        std::string b = a.substr(0, rng() % (a.size() + 1));
        for (size_t i = 0, n = rng() % 12; i < n; ++i) b.push_back(alphabet[rng() % alphabet.size()]);
        if (rng() % 2) std::swap(a, b);
        ASSERT_EQ(CompareRecordLines(a, b), ReferenceCompare(a, b))
            << testing::PrintToString(a) << " / " << testing::PrintToString(b);
    }
}

TEST(CommaText, JoinQuotesWhatWouldSplit) {
    EXPECT_EQ(CommaTextJoin({"", "", "", ""}), ",,,");
    EXPECT_EQ(CommaTextJoin({"Black Pearl", "12"}), "\"Black Pearl\",12");
    EXPECT_EQ(CommaTextJoin({"say \"hi\"", "a,b", "tab\there", "bare\"", "\xe9l\xe9"}),
              "\"say \"\"hi\"\"\",\"a,b\",\"tab\there\",\"bare\"\"\",\xe9l\xe9");
    EXPECT_EQ(CommaTextJoin({}), "");
    EXPECT_EQ(CommaTextJoin({""}), "\"\"");
}

TEST(CommaText, SplitAtCommasAndUnquotedBlanks) {
    using V = std::vector<std::string>;
    EXPECT_EQ(CommaTextSplit("a b"), (V{"a", "b"}));  // written by hand: two items
    EXPECT_EQ(CommaTextSplit("  a , b"), (V{"a", "b"}));
    EXPECT_EQ(CommaTextSplit("a,,c"), (V{"a", "", "c"}));
    EXPECT_EQ(CommaTextSplit(",,,"), (V{"", "", "", ""}));
    EXPECT_EQ(CommaTextSplit("a, ,b"), (V{"a", "", "b"}));
    EXPECT_EQ(CommaTextSplit("a,"), (V{"a", ""}));
    EXPECT_EQ(CommaTextSplit(""), V{});
    EXPECT_EQ(CommaTextSplit(" \t "), V{});
    EXPECT_EQ(CommaTextSplit("\"\""), (V{""}));
    EXPECT_EQ(CommaTextSplit("\"Black Pearl\",\"a \"\"b\"\"\""), (V{"Black Pearl", "a \"b\""}));
    EXPECT_EQ(CommaTextSplit("\"unterminated, text"), (V{"unterminated, text"}));
    EXPECT_EQ(CommaTextSplit("\"a\"b"), (V{"a", "b"}));
    EXPECT_EQ(CommaTextSplit("x\ty\r"), (V{"x", "y"}));
}

TEST(CommaText, EveryWrittenLineReadsBackAsTheSameItems) {
    std::mt19937 rng(7);
    const std::string alphabet = std::string("ab \",\t\x01\xe9\xff\x80", 10) + std::string(1, '\0');
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::string> items(rng() % 6);
        for (std::string& item : items) {
            const size_t length = rng() % 5;
            for (size_t i = 0; i < length; ++i) item.push_back(alphabet[rng() % alphabet.size()]);
        }
        ASSERT_EQ(CommaTextSplit(CommaTextJoin(items)), items) << CommaTextJoin(items);
    }
}

// The scan of one line against the plain byte-by-byte answer, on text of commas, line
// feeds, CRs and letters: every start, lines shorter and much longer than a block of the
// scan, the last line with or without its end, and any number of commas wanted.
TEST(Fields, LineScanFindsTheLineFeedAndTheFirstCommas) {
    std::mt19937 rng(11);
    const char alphabet[] = {',', ',', '\n', '\r', 'a', 'b', 'c', 'd', 'e', 'f'};
    for (int round = 0; round < 400; ++round) {
        std::string text(rng() % 120, 'x');
        const unsigned spread = 2 + rng() % 40;  // few line feeds make long lines
        for (char& c : text) c = rng() % spread < sizeof alphabet ? alphabet[rng() % sizeof alphabet] : 'z';
        for (std::size_t begin = 0; begin <= text.size(); ++begin) {
            for (std::size_t want : {0, 1, 3, 8, 40}) {
                std::size_t expectFeed = std::string::npos;
                std::vector<std::size_t> expectCommas;
                for (std::size_t at = begin; at < text.size(); ++at) {
                    if (text[at] == '\n') {
                        expectFeed = at;
                        break;
                    }
                    if (text[at] == ',' && expectCommas.size() < want) expectCommas.push_back(at);
                }
                std::vector<std::size_t> commas(want + 1, 999999);
                std::size_t found = 12345;
                const std::size_t feed = ScanLine(text, begin, want, commas.data(), found);
                ASSERT_EQ(feed, expectFeed) << text << " from " << begin << " want " << want;
                ASSERT_EQ(found, expectCommas.size()) << text << " from " << begin << " want " << want;
                commas.resize(found);
                ASSERT_EQ(commas, expectCommas) << text << " from " << begin << " want " << want;
            }
        }
    }
}

}  // namespace stallmark
