// The memo file's sections and the playback items, as bytes.
#include <gtest/gtest.h>

#include <random>

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

    // Names are listed once each, blank ones left out; a blank name still ends a section.
    const std::string file = "loose line\r\n[Zeta]\r\nz\r\n[  ]\r\n[alpha]\nA\n[Zeta]\r\n[Book ]";
    const MemoIndex index = MemoIndex::Of(file);
    EXPECT_EQ(index.Names(), Lines({"Zeta", "alpha", "Book"}));
    EXPECT_EQ(index.Sections().size(), 5u);
    EXPECT_EQ(MemoLines(file, "Zeta"), Lines({"z"}));
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
    const MemoIndex index = MemoIndex::Of(file);
    ASSERT_NE(index.Find("Twin"), nullptr);
    EXPECT_EQ(index.Find("Twin")->begin, 0u);
    EXPECT_EQ(index.End(*index.Find("Twin")), 13u);
    EXPECT_EQ(index.Find("twin"), nullptr);
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

namespace {

Lines SplitAll(std::string_view text) {
    Lines lines;
    LineCursor cursor(text);
    std::string_view line;
    while (cursor.Next(line)) lines.emplace_back(line);
    return lines;
}

// The save and delete of a memo done line by line, the plain way: the first section of
// that name dropped and, when saving, the new one put in its place (or at the end).
Lines SavedLineByLine(const Lines& file, const std::string& name, const Lines* memo) {
    Lines out;
    bool inSection = false, done = false;
    auto put = [&] {
        if (memo == nullptr) return;
        out.push_back("[" + name + "]");
        out.insert(out.end(), memo->begin(), memo->end());
    };
    for (const std::string& line : file) {
        if (IsHeaderLine(line)) {
            if (inSection) {
                put();
                inSection = false;
                done = true;
            } else if (!done && HeaderName(line) == name) {
                inSection = true;
                continue;
            }
        } else if (inSection) {
            continue;
        }
        out.push_back(line);
    }
    if (inSection || !done) put();
    return out;
}

}  // namespace

TEST(MemoSections, EditsFollowedByTheIndexMatchAPlainRewriteAndAFreshIndex) {
    std::mt19937 random(7);
    const Lines pool = {"[a]",
                        "[b]",
                        "[ a ]",
                        "[]",
                        "[  ]",
                        "x]",
                        "[c",
                        "[a]tail]",
                        "text",
                        "",
                        "   ",
                        "x[b]",
                        "see [a] here",
                        "caf\xE9",
                        "\xAB"
                        "2\xBB",
                        "lone\rCR"};
    const Lines names = {"a", "b", "a]tail", "new", "A"};
    auto randomLines = [&](int most) {
        Lines lines;
        for (int i = static_cast<int>(random() % static_cast<unsigned>(most + 1)); i > 0; --i)
            lines.push_back(pool[random() % pool.size()]);
        return lines;
    };
    for (int round = 0; round < 200; ++round) {
        std::string content;
        for (const std::string& line : randomLines(12)) content += line + (random() % 3 == 0 ? "\n" : "\r\n");
        if (!content.empty() && random() % 4 == 0) content.pop_back();  // no end after the last line
        MemoIndex index = MemoIndex::Of(content);
        for (int step = 0; step < 8; ++step) {
            const std::string name = names[random() % names.size()];
            const Lines memo = randomLines(4);
            const bool deleting = random() % 3 == 0;
            const Lines expected = SavedLineByLine(SplitAll(content), name, deleting ? nullptr : &memo);
            content = EditMemo(content, index, name, deleting ? nullptr : &memo).content;
            ASSERT_EQ(SplitAll(content), expected) << round << "/" << step;
            const MemoIndex fresh = MemoIndex::Of(content);
            ASSERT_EQ(index.ContentSize(), content.size());
            ASSERT_EQ(index.Sections().size(), fresh.Sections().size()) << round << "/" << step;
            for (size_t i = 0; i < fresh.Sections().size(); ++i) {
                EXPECT_EQ(index.Sections()[i].name, fresh.Sections()[i].name);
                EXPECT_EQ(index.Sections()[i].begin, fresh.Sections()[i].begin);
            }
            EXPECT_EQ(index.Names(), fresh.Names());
        }
    }
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

TEST(MemoPlayItems, PauseLengthsOfAnyNumberOfDigitsAreHeldToo) {
    // Past what any integer holds: still a number, so still the longest pause.
    EXPECT_EQ(PauseLength("123456789012345678901234567890"), 99999);
    EXPECT_EQ(PauseSeconds("\xAB"
                           "000000000000000000000000000012"),
              12);
    EXPECT_EQ(PauseSeconds("\xAB"
                           "99999999999999999999999999999"),
              99999);
    EXPECT_EQ(PauseLength("+7"), 7);
    EXPECT_EQ(PauseLength("-123456789012345678901234567890"), 0);
    EXPECT_EQ(PauseLength(""), 0);
    EXPECT_EQ(PauseLength("+"), 0);
    EXPECT_EQ(PauseLength("12a"), 0);
    EXPECT_EQ(PauseLength(" 5"), 0);
}

}  // namespace stallmark::memos
