#include <gtest/gtest.h>

#include <string>

#include "store/Windows1252.h"

namespace stallmark {

TEST(Windows1252, EveryByteHasACodePointThatLeadsBackToIt) {
    for (int b = 0; b < 256; ++b) {
        const char32_t cp = CodePointOf1252(static_cast<unsigned char>(b));
        EXPECT_EQ(ByteOf1252(cp), b) << b;
    }
    EXPECT_EQ(CodePointOf1252(0x80), U'\u20AC');
    EXPECT_EQ(CodePointOf1252(0x9F), U'\u0178');
    EXPECT_EQ(CodePointOf1252(0xAB), U'\u00AB');
    // The five bytes the code page leaves undefined are the C1 controls of the same number.
    for (unsigned char b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        EXPECT_EQ(CodePointOf1252(b), static_cast<char32_t>(b));
        EXPECT_FALSE(IsDefined1252(b));
    }
    int defined = 0;
    for (int b = 0; b < 256; ++b) defined += IsDefined1252(static_cast<unsigned char>(b));
    EXPECT_EQ(defined, 251);
}

TEST(Windows1252, CodePointsOutsideTheCodePageHaveNoByte) {
    // Across the whole of the first plane: a byte only for the code point of that byte.
    int mapped = 0;
    for (char32_t cp = 0; cp < 0x10000; ++cp) {
        const int b = ByteOf1252(cp);
        if (b < 0) continue;
        ++mapped;
        ASSERT_EQ(CodePointOf1252(static_cast<unsigned char>(b)), cp) << static_cast<unsigned>(cp);
    }
    EXPECT_EQ(mapped, 256);
    EXPECT_EQ(ByteOf1252(0x80), -1);  // a C1 control the code page gives to the euro sign
    EXPECT_EQ(ByteOf1252(0x4E2D), -1);
    EXPECT_EQ(ByteOf1252(0x1F600), -1);
}

TEST(Windows1252, EveryByteSurvivesUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::string utf8 = Cp1252ToUtf8(all);
    EXPECT_EQ(Utf8ToCp1252(utf8), all);
    EXPECT_EQ(Cp1252ToUtf8("\x80\xE9"), "\xE2\x82\xAC\xC3\xA9");
    EXPECT_EQ(Cp1252ToUtf8("\x81"), "\xC2\x81");
}

TEST(Windows1252, OnlyWellFormedUtf8Decodes) {
    char32_t cp = 0;
    EXPECT_EQ(DecodeUtf8("a", 0, cp), 1u);
    EXPECT_EQ(cp, U'a');
    EXPECT_EQ(DecodeUtf8("\xF0\x9F\x98\x80", 0, cp), 4u);
    EXPECT_EQ(cp, U'\U0001F600');
    EXPECT_EQ(DecodeUtf8("\xF4\x8F\xBF\xBF", 0, cp), 4u);  // the last code point
    EXPECT_EQ(cp, 0x10FFFFu);
    for (const char* bad : {"\x80", "\xC0\xAF", "\xC1\xBF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                            "\xF5\x80\x80\x80", "\xC3", "\xE2\x82", "\xC3\x28", "\xFF"})
        EXPECT_EQ(DecodeUtf8(bad, 0, cp), 0u) << testing::PrintToString(std::string(bad));
    EXPECT_EQ(DecodeUtf8("a", 1, cp), 0u);  // past the end

    // One replacement per byte of a sequence that is not UTF-8; one per character the code
    // page lacks.
    EXPECT_EQ(Utf8ToCp1252("a\xC0\xAF"
                           "b"),
              "a??b");
    EXPECT_EQ(Utf8ToCp1252("\xED\xA0\x80"), "???");
    EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD!", '_'), "_!");
    EXPECT_EQ(Utf8ToCp1252("\xE2\x80\xB9\xC2\xA0"), "\x8B\xA0");
}

TEST(Windows1252, EncodingWritesTheShortestForm) {
    const std::pair<char32_t, std::string> cases[] = {
        {0x7F, "\x7F"},
        {0x80, "\xC2\x80"},
        {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"},
        {0xFFFF, "\xEF\xBF\xBF"},
        {0x10000, "\xF0\x90\x80\x80"},
        {0xD800, "\xEF\xBF\xBD"},    // a surrogate is no character
        {0x110000, "\xEF\xBF\xBD"},  // nor is anything past the last plane
    };
    for (const auto& [cp, bytes] : cases) {
        std::string out;
        AppendUtf8(out, cp);
        EXPECT_EQ(out, bytes) << static_cast<unsigned>(cp);
        char32_t back = 0;
        EXPECT_EQ(DecodeUtf8(out, 0, back), out.size());
    }
}

}  // namespace stallmark
