#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <random>
#include <system_error>

#include "store/Files.h"
#include "support/TempDir.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace stallmark {

using test::TempDir;
using Lines = std::vector<std::string>;

namespace {

Lines ReadWithReader(const std::string& path) {
    Lines lines;
    LineReader reader(path);
    std::string line;
    while (reader.Next(line)) lines.push_back(line);
    return lines;
}

}  // namespace

TEST(Files, LinesEndWithCrLfOrLfAndTheLastEndIsOptional) {
    TempDir dir;
    const std::pair<std::string, Lines> cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\nc", {"a", "b", "c"}},
        {"a\r\n", {"a"}},
        {"a\n\n", {"a", ""}},
        {"\r\n", {""}},
        {"a\rb\n", {"a\rb"}},  // a lone CR is data
        {"a\r\r\n", {"a\r"}},
        {"x\r", {"x\r"}},
    };
    for (const auto& [bytes, expected] : cases) {
        dir.Write("f.dat", bytes);
        EXPECT_EQ(ReadLines(dir.File("f.dat")), expected) << testing::PrintToString(bytes);
        std::vector<std::string_view> views;
        SplitLines(bytes, views);
        EXPECT_EQ(Lines(views.begin(), views.end()), expected);
    }
}

TEST(Files, EveryByteButLineFeedSurvivesReadingAndWriting) {
    TempDir dir;
    std::string line;
    for (int c = 0; c < 256; ++c)
        if (c != '\n') line.push_back(static_cast<char>(c));
    line.push_back('x');  // so the CR inside is not the last byte
    WriteLines(dir.File("f.dat"), {line, std::string("\0\0", 2), "\xab\xbb"});
    EXPECT_EQ(dir.Read("f.dat"), line + "\r\n" + std::string("\0\0\r\n", 4) + "\xab\xbb\r\n");
    EXPECT_EQ(ReadLines(dir.File("f.dat")), (Lines{line, std::string("\0\0", 2), "\xab\xbb"}));
}

TEST(Files, LongLinesAndLinesAcrossTheReadBuffer) {
    TempDir dir;
    // A CR LF split exactly at the first buffer boundary, a line of several megabytes, then
    // many short lines with mixed ends.
    std::mt19937 rng(3);
    Lines expected = {std::string((1 << 20) - 1, 'a')};
    std::string bytes = expected[0] + "\r\n";
    std::string huge(5 << 20, '\0');
    for (char& c : huge) {
        c = static_cast<char>(rng() % 256);
        if (c == '\n') c = 'n';
    }
    huge.back() = 'z';
    expected.push_back(huge);
    bytes += huge + "\n";
    for (int i = 0; i < 20000; ++i) {
        std::string s(rng() % 300, 'b');
        s += std::to_string(i);
        expected.push_back(s);
        bytes += s + (i % 2 ? "\r\n" : "\n");
    }
    dir.Write("big.dat", bytes);
    EXPECT_EQ(ReadWithReader(dir.File("big.dat")), expected);
    EXPECT_EQ(ReadFileBytes(dir.File("big.dat")), bytes);
}

TEST(Files, ReplaceFileAtomicallyWritesThroughTheWorkingCopy) {
    TempDir dir;
    dir.Write("General.dat", "old\r\n");
    dir.Write("General.tmp", "left over from a crash");
    ReplaceFileAtomically(dir.File("General.dat"), "new\r\n");
    EXPECT_EQ(dir.Read("General.dat"), "new\r\n");
    EXPECT_FALSE(dir.Exists("General.tmp"));

    ReplaceFileAtomically(dir.File("Memos.dat"), "m", dir.File("Memos.tmp"));
    EXPECT_EQ(dir.Read("Memos.dat"), "m");
    EXPECT_FALSE(dir.Exists("Memos.tmp"));
}

TEST(Files, AFailedWriteLeavesTheFileAndNoWorkingCopy) {
    TempDir dir;
    dir.Write("General.dat", "old\r\n");
    EXPECT_THROW(ReplaceFileAtomically(dir.File("General.dat"),
                                       [](FileWriter& out) {
                                           out.WriteLine("half");
                                           throw StoreError("stopped");
                                       }),
                 StoreError);
    EXPECT_EQ(dir.Read("General.dat"), "old\r\n");
    EXPECT_FALSE(dir.Exists("General.tmp"));
}

#ifndef _WIN32
TEST(Files, ErrorsCarryTheSystemTextAndThePath) {
    TempDir dir;
    const std::string missing = dir.File("Missing.dat");
    try {
        ReadLines(missing);
        FAIL() << "no error";
    } catch (const StoreError& e) {
        EXPECT_EQ(std::string(e.what()), std::generic_category().message(ENOENT) + ": " + missing);
        EXPECT_EQ(e.Code(), ENOENT);
    }

    // The working copy's name is taken by a folder: the write fails, the file stays whole.
    dir.Write("General.dat", "old\r\n");
    std::filesystem::create_directory(dir.Path() / "General.tmp");
    dir.Write("General.tmp/keep", "x");
    try {
        WriteLines(dir.File("General.dat"), {"new"});
        FAIL() << "no error";
    } catch (const StoreError& e) {
        EXPECT_EQ(std::string(e.what()), std::generic_category().message(EISDIR) + ": " + dir.File("General.tmp"));
    }
    EXPECT_EQ(dir.Read("General.dat"), "old\r\n");
    EXPECT_EQ(dir.Read("General.tmp/keep"), "x");

    // A folder that is not there.
    EXPECT_THROW(WriteLines(dir.File("General.dat/x.dat"), {"new"}), StoreError);
}

TEST(Files, ReplacingKeepsThePermissions) {
    TempDir dir;
    dir.Write("General.dat", "old");
    ::chmod(dir.File("General.dat").c_str(), 0640);
    ReplaceFileAtomically(dir.File("General.dat"), "new");
    struct stat st {};
    ASSERT_EQ(::stat(dir.File("General.dat").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}
#endif

TEST(Files, NamesAndFolderEntries) {
    EXPECT_EQ(WorkingCopyPath("/d/MWStock.dat", "tmp"), "/d/MWStock.tmp");
    EXPECT_EQ(WorkingCopyPath("/d/Stock.dat", "old"), "/d/Stock.old");
    EXPECT_EQ(WorkingCopyPath("/d/x.tmp", "tmp"), "/d/x.tmp.tmp");
    EXPECT_EQ(FileNameOf("/d/e/Stock.old"), "Stock.old");
    EXPECT_EQ(FileNameOf("Stock.old"), "Stock.old");

    TempDir dir;
    EXPECT_FALSE(FileExists(dir.File("a.dat")));
    CreateEmptyFile(dir.File("a.dat"));
    EXPECT_TRUE(FileExists(dir.File("a.dat")));
    EXPECT_EQ(dir.Read("a.dat"), "");
    dir.Write("b.dat", "b");
    RenameFile(dir.File("b.dat"), dir.File("a.dat"));
    EXPECT_EQ(dir.Read("a.dat"), "b");
    EXPECT_FALSE(FileExists(dir.File("b.dat")));
    RemoveFile(dir.File("a.dat"));
    RemoveFile(dir.File("a.dat"));  // already gone: no error
    EXPECT_FALSE(FileExists(dir.File("a.dat")));
    EXPECT_THROW(RenameFile(dir.File("none.dat"), dir.File("a.dat")), StoreError);
}

}  // namespace stallmark
