// The memo file's sections and the playback items, as bytes.
#include <gtest/gtest.h>

#include "lists/memos/MemoFile.h"

namespace stallmark::memos {

namespace {

using Lines = std::vector<std::string>;

// Every byte from 0x80 to 0xFF, the five the code page leaves undefined among them.
std::string HighBytes() {
    std::string bytes;
    for (int b = 0x80; b <= 0xFF; ++b) bytes += static_cast<char>(b);
    return bytes;
}

}  // namespace

TEST(MemoSections, HeadersAndTheirNames) {
    EXPECT_TRUE(IsHeaderLine("[Advert]"));
    EXPECT_TRUE(IsHeaderLine("[a]b"));  // a "]" anywhere will do
    EXPECT_FALSE(IsHeaderLine(" [Advert]"));
    EXPECT_FALSE(IsHeaderLine("[Advert"));
    EXPECT_FALSE(IsHeaderLine(""));
    EXPECT_EQ(HeaderName("[a]b"), "a]");  // the line without its first and last character
    EXPECT_EQ(HeaderName("[ Book 1 ]"), "Book 1");
    EXPECT_EQ(HeaderName("[]"), "");

    const std::string file = "loose line\r\n[Zeta]\r\nz\r\n[  ]\r\n[alpha]\nA\n[Zeta]\r\n[Book ]";
    EXPECT_EQ(SectionNames(file), Lines({"Zeta", "alpha", "Zeta", "Book"}));
}

TEST(MemoSections, ReadingTakesTheFirstSectionAndEmptiesBlankLines) {
    const std::string file =
        "before\r\n[Advert]\r\nVendor at Britain bank\r\n    \r\n\t\r\n\r\n  words  "
        "\r\n[Next]\r\nx\r\n[Advert]\r\nsecond\r\n";
    bool found = false;
    EXPECT_EQ(MemoLines(file, "Advert", &found), Lines({"Vendor at Britain bank", "", "", "", "  words  "}));
    EXPECT_TRUE(found);
    EXPECT_EQ(MemoLines(file, "advert", &found), Lines());  // names keep their case
    EXPECT_FALSE(found);
    EXPECT_EQ(MemoLines(file, "Next", &found), Lines({"x"}));
    // A last memo without a line end after its last line.
    EXPECT_EQ(MemoLines("[a]\r\none\r\ntwo", "a"), Lines({"one", "two"}));
}

TEST(MemoSections, SavingAMiddleSectionLeavesEveryOtherByteAsItWas) {
    // The other sections hold LF-only line ends, a lone CR, high bytes and lines before
    // the first header: none of it may change.
    const std::string before = "no memo\n[First]\r\nfirst\rline\n" + HighBytes() + "\r\n";
    const std::string middle = "[Middle]\r\nold 1\r\nold 2\r\n\r\n";
    const std::string after = "[Last]\nlast\n\n";
    const std::string saved = WithMemo(before + middle + after, "Middle",
                                       {"new", "",
                                        "\xAB"
                                        "5\xBB"});
    EXPECT_EQ(saved, before +
                         "[Middle]\r\nnew\r\n\r\n\xAB"
                         "5\xBB\r\n" +
                         after);
}

TEST(MemoSections, OnlyTheFirstOfTwoSectionsWithOneNameIsSavedOrDeleted) {
    const std::string file = "[Twin]\r\none\r\n[Other]\r\no\r\n[Twin]\r\ntwo\r\n";
    EXPECT_EQ(WithMemo(file, "Twin", {"changed"}), "[Twin]\r\nchanged\r\n[Other]\r\no\r\n[Twin]\r\ntwo\r\n");
    EXPECT_EQ(WithoutMemo(file, "Twin"), "[Other]\r\no\r\n[Twin]\r\ntwo\r\n");
    EXPECT_EQ(FindSection(file, "Twin").begin, 0u);
    EXPECT_EQ(FindSection(file, "Twin").end, 13u);
}

TEST(MemoSections, NewMemosGoToTheEndOnALineOfTheirOwn) {
    EXPECT_EQ(WithMemo("", "Advert", {"a", "b"}), "[Advert]\r\na\r\nb\r\n");
    EXPECT_EQ(WithMemo("[x]\r\nlast line without end", "Advert", {}), "[x]\r\nlast line without end\r\n[Advert]\r\n");
    EXPECT_EQ(WithMemo("[x]\nlf\n", "advert", {"a"}), "[x]\nlf\n[advert]\r\na\r\n");
    // The same name in other letters is another memo.
    EXPECT_EQ(WithMemo("[Advert]\r\nA\r\n", "ADVERT", {"B"}), "[Advert]\r\nA\r\n[ADVERT]\r\nB\r\n");
}

TEST(MemoSections, DeletingTheLastSectionRemovesItToTheEnd) {
    EXPECT_EQ(WithoutMemo("[a]\r\n1\r\n[b]\r\n2\r\n\r\n3", "b"), "[a]\r\n1\r\n");
    EXPECT_EQ(WithoutMemo("pre\r\n[only]\r\nx\r\n", "only"), "pre\r\n");
    EXPECT_EQ(WithoutMemo("[a]\r\n1\r\n", "missing"), "[a]\r\n1\r\n");
}

TEST(MemoSections, HighBytesSurviveASaveExactly) {
    const Lines lines = {HighBytes(), "\x81\x8D\x8F\x90\x9D",
                         "caf\xE9 \xAB"
                         "3\xBB"};
    const std::string saved = WithMemo("[Other]\r\n\xA0\xFF\r\n", "Pr\xEEx", lines);
    EXPECT_EQ(MemoLines(saved, "Pr\xEEx"), lines);
    EXPECT_EQ(saved.substr(0, 13), "[Other]\r\n\xA0\xFF\r\n");
}

TEST(MemoSections, TheProfileBecomesTheFirstMemo) {
    EXPECT_EQ(ProfileAsMemos("Ann of Britain\r\nSmith"), "[My Profile]\r\nAnn of Britain\r\nSmith\r\n");
    EXPECT_EQ(ProfileAsMemos("one\ntwo\n"), "[My Profile]\r\none\r\ntwo\r\n");
    EXPECT_EQ(ProfileAsMemos(""), "[My Profile]\r\n");
}

TEST(MemoSections, LengthCountsEachCharacterAndEachLineEnd) {
    EXPECT_EQ(MemoLength({"ab", ""}), 4);
    EXPECT_EQ(MemoLength({}), 0);
    EXPECT_EQ(MemoLength({"\t"}), 2);
}

TEST(MemoPlayItems, TextAndPausesSplitAtTheMarkers) {
    EXPECT_EQ(BuildPlayList({"Welcome to my shop",
                             "\xAB"
                             "2\xBB",
                             "Farewell"}),
              Lines({"Welcome to my shop",
                     "\xAB"
                     "2",
                     "Farewell"}));
    // Items keep their blanks; blank pieces are no items.
    EXPECT_EQ(BuildPlayList({"Buy now \xAB"
                             "30\xBB cheap",
                             "   ", "",
                             " \xAB"
                             "5\xBB "}),
              Lines({"Buy now ",
                     "\xAB"
                     "30",
                     " cheap",
                     "\xAB"
                     "5"}));
    // A closing mark with no open marker is dropped.
    EXPECT_EQ(BuildPlayList({"a\xBB"
                             "b"}),
              Lines({"ab"}));
    // Letters in a marker make a pause item that does nothing.
    EXPECT_EQ(BuildPlayList({"\xAB"
                             "soon\xBB"}),
              Lines({"\xAB"
                     "soon"}));
    EXPECT_EQ(PauseSeconds("\xAB"
                           "soon"),
              0);
}

TEST(MemoPlayItems, AnOpenMarkerRunsAcrossLineEnds) {
    // The first line is still a pause of 5; the second becomes part of a pause, so it is
    // never typed, until a closing mark ends it.
    EXPECT_EQ(BuildPlayList({"\xAB"
                             "5",
                             "Never typed", "still \xBB typed"}),
              Lines({"\xAB"
                     "5",
                     "\xAB"
                     "Never typed",
                     "\xAB"
                     "still ",
                     " typed"}));
    // A second opening mark ends the open one as a pause of its own.
    EXPECT_EQ(BuildPlayList({"\xAB"
                             "4 \xAB"
                             "6\xBB"
                             "x"}),
              Lines({"\xAB"
                     "4 ",
                     "\xAB"
                     "6",
                     "x"}));
}

TEST(MemoPlayItems, PauseLengthsAreHeldTo99999Seconds) {
    EXPECT_EQ(PauseSeconds("\xAB"
                           "2"),
              2);
    EXPECT_EQ(PauseSeconds("\xAB"
                           "99999"),
              99999);
    EXPECT_EQ(PauseSeconds("\xAB"
                           "100000"),
              99999);
    EXPECT_EQ(PauseSeconds("\xAB"
                           "2000000000"),
              99999);  // typed by hand
    EXPECT_EQ(PauseSeconds("\xAB"
                           "99999999999999"),
              99999);
    EXPECT_EQ(PauseSeconds("\xAB"
                           "0"),
              0);
    EXPECT_EQ(PauseSeconds("\xAB"
                           "-5"),
              0);
    EXPECT_EQ(PauseSeconds("2"), 0);  // not a pause item
}

}  // namespace stallmark::memos
