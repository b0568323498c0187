#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <random>
#include <system_error>

#include "store/Files.h"
#include "support/TempDir.h"

#ifndef _WIN32
#include <sys/resource.h>
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

TEST(Files, LoadingCutsLongLinesAndCountsThem) {
    TempDir dir;
    const std::string ten = "0123456789";
    // With a limit of 10: a line of exactly 10 (also before CR LF), one of 11, one of 12
    // whose CR LF falls across the cut, a long one, and a long last line without an end.
    dir.Write("f.dat", ten + "\r\n" + ten + "a\n" + ten + "ab\r\nshort\n" + std::string(100000, 'x') + "\r\n\r\n" +
                           ten + "\r" + "\n" + ten + "tail");
    LineReader reader(dir.File("f.dat"), 10);
    EXPECT_EQ(reader.CutLinesMessage(), "");
    Lines got;
    std::vector<size_t> cut;
    std::string_view line;
    while (reader.Next(line)) {
        got.emplace_back(line);
        if (reader.LastLineCut()) cut.push_back(reader.LineNumber());
    }
    EXPECT_EQ(got, (Lines{ten, ten, ten, "short", std::string(10, 'x'), "", ten, ten}));
    EXPECT_EQ(cut, (std::vector<size_t>{2, 3, 5, 8}));
    EXPECT_EQ(reader.LineNumber(), 8u);
    EXPECT_EQ(reader.CutLines(), 4u);
    EXPECT_EQ(reader.FirstCutLine(), 2u);
    EXPECT_EQ(reader.CutLinesMessage(),
              "Line 2 of f.dat and 3 more lines are longer than 10 characters and were cut on loading; "
              "the file itself is unchanged.");
    EXPECT_FALSE(reader.Next(line));
    EXPECT_EQ(ReadLines(dir.File("f.dat"), 10), got);

    // The file is as it was, and read whole it gives every line whole.
    EXPECT_EQ(ReadWithReader(dir.File("f.dat"))[4], std::string(100000, 'x'));
    EXPECT_EQ(CutLinesMessage("MWStock.dat", 7, 1),
              "Line 7 of MWStock.dat is longer than 65536 characters and was cut on loading; the file itself is "
              "unchanged.");
}

TEST(Files, ListsLoadWithTheDocumentedLimitAndCopiesStayWhole) {
    TempDir dir;
    const std::string longLine(kMaxLineBytes + 1, 'y');
    dir.Write("General.dat", "a\r\n" + std::string(kMaxLineBytes, 'z') + "\r\n" + longLine + "\r\nb\r\n");
    const Lines lines = ReadLines(dir.File("General.dat"), kMaxLineBytes);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], std::string(kMaxLineBytes, 'z'));
    EXPECT_EQ(lines[2], std::string(kMaxLineBytes, 'y'));
    EXPECT_EQ(lines[3], "b");
    LineReader reader(dir.File("General.dat"), kMaxLineBytes);
    EXPECT_EQ(reader.MaxLineBytes(), 65536u);
    std::string line;
    while (reader.Next(line)) {
    }
    EXPECT_EQ(reader.FirstCutLine(), 3u);
    EXPECT_EQ(reader.CutLines(), 1u);
    EXPECT_EQ(reader.CutLinesMessage(),
              "Line 3 of General.dat is longer than 65536 characters and was cut on loading; the file itself is "
              "unchanged.");

    // Without a limit (copying a file line by line) every line comes whole.
    EXPECT_EQ(ReadLines(dir.File("General.dat"))[2], longLine);
    LineReader whole(dir.File("General.dat"));
    while (whole.Next(line)) {
    }
    EXPECT_EQ(whole.CutLines(), 0u);
    EXPECT_EQ(whole.CutLinesMessage(), "");
}

#ifndef _WIN32
TEST(Files, TheRestOfALongLineIsSkippedWithoutBeingHeld) {
    TempDir dir;
    // A sparse file: one line of 128 MiB of zero bytes, then a short line.
    const std::string path = dir.File("Huge.dat");
    constexpr off_t kSize = off_t{128} << 20;
    {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        ASSERT_EQ(::ftruncate(::fileno(f), kSize), 0);
        ASSERT_EQ(std::fseek(f, 0, SEEK_END), 0);
        std::fputs("\r\nlast", f);
        std::fclose(f);
    }
    rusage before{};
    ::getrusage(RUSAGE_SELF, &before);
    LineReader reader(path, kMaxLineBytes);
    std::string_view line;
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line.size(), kMaxLineBytes);
    EXPECT_EQ(line.find_first_not_of('\0'), std::string_view::npos);
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line, "last");
    EXPECT_FALSE(reader.Next(line));
    rusage after{};
    ::getrusage(RUSAGE_SELF, &after);
    // Kilobytes: far less than the line, which a reader that held it would have needed twice.
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 32L * 1024);
}
#endif

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

// Pieces of every size, across the writer's buffer and longer than it, arrive whole
// and in order.
TEST(Files, AWriterPassesOnPiecesOfEverySize) {
    TempDir dir;
    std::string expected;
    ReplaceFileAtomically(dir.File("General.dat"), [&](FileWriter& out) {
        std::mt19937 rng(5);
        auto write = [&](const std::string& piece) {
            out.Write(piece);
            expected += piece;
        };
        for (int i = 0; i < 40000; ++i) {
            const std::string piece(rng() % 90, static_cast<char>('a' + i % 26));
            if (i % 3 != 0) {
                write(piece);
                continue;
            }
            out.WritePieces({piece, ",", piece, "\r\n"});  // a line of pieces, across the buffer's end too
            expected += piece + "," + piece + "\r\n";
        }
        write(std::string(3u << 20, 'L'));  // longer than any buffer
        write("");
        write(std::string((1u << 20) - 3, 'M'));
        out.WritePieces({std::string(1u << 20, 'P'), "!"});  // more than the buffer holds
        expected += std::string(1u << 20, 'P') + "!";
        out.WriteLine("end");
        expected += "end\r\n";
    });
    EXPECT_EQ(dir.Read("General.dat"), expected);
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

TEST(Files, AReadOnlyFileIsNeverReplaced) {
    TempDir dir;
    dir.Write("MWStock.dat", "b,\r\na,\r\n");
    const std::string path = dir.File("MWStock.dat");
    ::chmod(path.c_str(), 0444);
    EXPECT_TRUE(IsReadOnlyFile(path));
    const std::string refused = "File is read-only: " + path;
    auto failure = [](const std::function<void()>& action) -> std::string {
        try {
            action();
        } catch (const StoreError& e) {
            return e.what();
        }
        return "no error";
    };
    EXPECT_EQ(failure([&] { ReplaceFileAtomically(path, "new\r\n"); }), refused);
    EXPECT_EQ(failure([&] { WriteLines(path, {"new"}); }), refused);
    EXPECT_EQ(failure([&] { CreateEmptyFile(path); }), refused);
    EXPECT_EQ(dir.Read("MWStock.dat"), "b,\r\na,\r\n");
    EXPECT_FALSE(dir.Exists("MWStock.tmp"));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u);

    // Any write permission at all makes it an ordinary file again.
    ::chmod(path.c_str(), 0464);
    EXPECT_FALSE(IsReadOnlyFile(path));
    ReplaceFileAtomically(path, "new\r\n");
    EXPECT_EQ(dir.Read("MWStock.dat"), "new\r\n");
    EXPECT_FALSE(IsReadOnlyFile(dir.File("Missing.dat")));
    EXPECT_FALSE(IsReadOnlyFile(dir.Folder()));
}

TEST(Files, ALinkIsWrittenThroughAndStaysALink) {
    TempDir dir;
    std::filesystem::create_directory(dir.Path() / "sync");
    dir.Write("sync/General.dat", "old\r\n");
    std::filesystem::create_symlink("sync/General.dat", dir.Path() / "General.dat");        // relative
    std::filesystem::create_symlink(dir.Path() / "General.dat", dir.Path() / "Chain.dat");  // to a link
    EXPECT_EQ(LinkTarget(dir.File("General.dat")), dir.File("sync/General.dat"));
    EXPECT_EQ(LinkTarget(dir.File("Chain.dat")), dir.File("sync/General.dat"));
    EXPECT_EQ(LinkTarget(dir.File("sync/General.dat")), dir.File("sync/General.dat"));

    ReplaceFileAtomically(dir.File("General.dat"), "new\r\n");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path() / "General.dat"));
    EXPECT_EQ(dir.Read("sync/General.dat"), "new\r\n");
    WriteLines(dir.File("Chain.dat"), {"chained"});
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path() / "Chain.dat"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path() / "General.dat"));
    EXPECT_EQ(dir.Read("sync/General.dat"), "chained\r\n");
    EXPECT_FALSE(dir.Exists("General.tmp"));
    EXPECT_FALSE(dir.Exists("sync/General.tmp"));

    // A link to a file that is not there yet creates it; a read-only target is refused.
    std::filesystem::create_symlink(dir.Path() / "sync/New.dat", dir.Path() / "New.dat");
    ReplaceFileAtomically(dir.File("New.dat"), "n");
    EXPECT_EQ(dir.Read("sync/New.dat"), "n");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path() / "New.dat"));
    ::chmod(dir.File("sync/New.dat").c_str(), 0444);
    EXPECT_THROW(ReplaceFileAtomically(dir.File("New.dat"), "m"), StoreError);
    EXPECT_EQ(dir.Read("sync/New.dat"), "n");

    // Links in a loop name no file.
    std::filesystem::create_symlink("Loop2.dat", dir.Path() / "Loop1.dat");
    std::filesystem::create_symlink("Loop1.dat", dir.Path() / "Loop2.dat");
    try {
        ReplaceFileAtomically(dir.File("Loop1.dat"), "x");
        FAIL() << "no error";
    } catch (const StoreError& e) {
        EXPECT_EQ(e.Code(), ELOOP);
    }
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path() / "Loop1.dat"));
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

TEST(Files, CountLineFeedsCountsEveryLfAndNothingElse) {
    EXPECT_EQ(CountLineFeeds(""), 0u);
    EXPECT_EQ(CountLineFeeds("no end"), 0u);
    EXPECT_EQ(CountLineFeeds("a\r\nb\rc\n\n"), 3u);
    std::string many(100000, 'x');
    for (std::size_t i = 0; i < many.size(); i += 7) many[i] = '\n';
    EXPECT_EQ(CountLineFeeds(many), static_cast<std::size_t>(std::count(many.begin(), many.end(), '\n')));
    // Nothing but line feeds, far past what one pass of counters holds, and every length
    // and start around a block of sixteen.
    const std::string feeds(255 * 16 * 3 + 21, '\n');
    EXPECT_EQ(CountLineFeeds(feeds), feeds.size());
    std::string mixed = many.substr(0, 300) + feeds.substr(0, 5000);
    for (std::size_t start = 0; start < 20; ++start)
        for (std::size_t size = 0; size + start <= mixed.size(); size += size < 40 ? 1 : 97) {
            const std::string_view part = std::string_view(mixed).substr(start, size);
            ASSERT_EQ(CountLineFeeds(part), static_cast<std::size_t>(std::count(part.begin(), part.end(), '\n')))
                << start << " " << size;
        }
}

}  // namespace stallmark
