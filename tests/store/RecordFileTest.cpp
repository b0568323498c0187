#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <optional>
#include <random>
#include <stdexcept>

#include "ReadOnlyFolder.h"
#include "store/Fields.h"
#include "store/Files.h"
#include "store/RecordFile.h"
#include "support/TempDir.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace stallmark {

using test::TempDir;
using Lines = std::vector<std::string>;
using namespace std::string_literals;

namespace {

std::string CrLf(const Lines& lines) {
    std::string s;
    for (const std::string& line : lines) s += line + "\r\n";
    return s;
}

// Repeated passes over neighbouring lines, swapping those that sort the wrong way round.
Lines BubbleSorted(Lines lines) {
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (size_t i = 0; i + 1 < lines.size(); ++i) {
            if (CompareRecordLines(lines[i], lines[i + 1]) > 0) {
                std::swap(lines[i], lines[i + 1]);
                swapped = true;
            }
        }
    }
    return lines;
}

std::string WeaponLine(std::mt19937& rng, int i) {
    static const char* kItems[] = {"Katana", "Broadsword", "War Axe", "Bow", "Kryss", "Halberd"};
    static const char* kMagic[] = {"Vanquishing", "Power", "Force", "Might", "Ruin"};
    return std::string(kItems[rng() % 6]) + "," + kMagic[rng() % 5] + "," + std::to_string(rng() % 3) +
           ",Accurate,Fortified," + std::to_string(rng() % 50000) + ",2003" + std::to_string(1000 + rng() % 200) +
           ",note " + std::to_string(i);
}

// The ordered insert and delete as the record file rules state them, line by line:
// the reference for the rewrite that copies the bytes around the changed place.
std::string ReferenceWrite(const std::string& bytes, const std::string& line, bool del) {
    std::vector<std::string_view> lines;
    SplitLines(bytes, lines);
    const bool blank = IsBlank(line);
    std::string out;
    bool done = false;
    for (const std::string_view old : lines) {
        if (!done && !blank) {
            if (del) {
                if (old == line) {
                    done = true;
                    continue;
                }
            } else if (CompareRecordLines(old, line) >= 0) {
                out += line + "\r\n";
                done = true;
            }
        }
        out += std::string(old) + "\r\n";
    }
    if (!del && !blank && !done) out += line + "\r\n";
    return out;
}

}  // namespace

// Files with every kind of line end (CR LF, LF, a CR of its own, no end on the last
// line), blank lines, equal lines and lines holding NUL: every insert and delete
// gives the file the reference gives, whatever part of it is copied as it stands.
TEST(RecordFile, InsertAndDeleteGiveTheFileOfTheLineByLineRewrite) {
    TempDir dir;
    const std::string path = dir.File("MWStock.dat");
    std::mt19937 rng(41);
    const std::vector<std::string> fields = {"", "a", "b", "ab", "B", "\xe9", "1000", "900", " ", "a\0"s, "x\ry"};
    const char* ends[] = {"\r\n", "\r\n", "\r\n", "\r\n", "\n", "\r\r\n"};
    auto randomLine = [&] {
        std::string line;
        const int count = static_cast<int>(rng() % 5);
        for (int f = 0; f < count; ++f) line += (f ? "," : "") + fields[rng() % fields.size()];
        return line;
    };
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> lines(rng() % 12);
        for (std::string& line : lines) line = randomLine();
        if (rng() % 2)
            std::stable_sort(lines.begin(), lines.end(),
                             [](const std::string& a, const std::string& b) { return CompareRecordLines(a, b) < 0; });
        std::string bytes;
        const bool allCrLf = rng() % 3 != 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            bytes += lines[i];
            if (i + 1 < lines.size() || rng() % 4 != 0) bytes += allCrLf ? "\r\n" : ends[rng() % 6];
        }
        const bool del = rng() % 2 == 0;
        const std::string line = del && !lines.empty() && rng() % 3 != 0 ? lines[rng() % lines.size()] : randomLine();
        dir.Write("MWStock.dat", bytes);
        WriteRecordLine(path, line, del);
        ASSERT_EQ(dir.Read("MWStock.dat"), ReferenceWrite(bytes, line, del))
            << "round " << round << ": " << testing::PrintToString(bytes) << " " << testing::PrintToString(line);
    }
    EXPECT_FALSE(dir.Exists("MWStock.tmp"));
}

// The same insert and delete on content already read: the file gets the same bytes,
// the content written comes back, and with it where the line went in or came out.
TEST(RecordFile, InsertAndDeleteOverKnownContentWriteTheSameAndSayWhere) {
    TempDir dir;
    const std::string path = dir.File("MWStock.dat");
    std::mt19937 rng(43);
    const std::vector<std::string> fields = {"", "a", "b", "ab", "B", "\xe9", "1000", "900", " ", "a\0"s, "x\ry"};
    const char* ends[] = {"\r\n", "\r\n", "\r\n", "\r\n", "\n", "\r\r\n"};
    auto randomLine = [&] {
        std::string line;
        const int count = static_cast<int>(rng() % 5);
        for (int f = 0; f < count; ++f) line += (f ? "," : "") + fields[rng() % fields.size()];
        return line;
    };
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> lines(rng() % 12);
        for (std::string& line : lines) line = randomLine();
        if (rng() % 2)
            std::stable_sort(lines.begin(), lines.end(),
                             [](const std::string& a, const std::string& b) { return CompareRecordLines(a, b) < 0; });
        std::string bytes;
        const bool allCrLf = rng() % 3 != 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            bytes += lines[i];
            if (i + 1 < lines.size() || rng() % 4 != 0) bytes += allCrLf ? "\r\n" : ends[rng() % 6];
        }
        const bool del = rng() % 2 == 0;
        const std::string line = del && !lines.empty() && rng() % 3 != 0 ? lines[rng() % lines.size()] : randomLine();
        dir.Write("MWStock.dat", bytes);
        const RecordLineWritten written = WriteRecordLineOver(path, bytes, line, del);
        const std::string expected = ReferenceWrite(bytes, line, del);
        const std::string context = "round " + std::to_string(round) + ": " + testing::PrintToString(bytes) + " " +
                                    testing::PrintToString(line);
        ASSERT_EQ(dir.Read("MWStock.dat"), expected) << context;
        ASSERT_EQ(std::string_view(written.content), expected) << context;
        std::vector<std::string_view> before, after;
        SplitLines(bytes, before);
        SplitLines(expected, after);
        bool crLf = bytes.empty() || bytes.ends_with("\r\n");
        for (std::size_t at = bytes.find('\n'); at != std::string::npos; at = bytes.find('\n', at + 1))
            crLf = crLf && at > 0 && bytes[at - 1] == '\r';
        EXPECT_EQ(written.crLf, crLf) << context;
        if (del) {
            const auto first = std::find(before.begin(), before.end(), std::string_view(line));
            EXPECT_EQ(written.changed, first != before.end() && !IsBlank(line)) << context;
            if (written.changed) {
                EXPECT_EQ(written.index, static_cast<std::size_t>(first - before.begin())) << context;
            }
        } else {
            EXPECT_EQ(written.changed, !IsBlank(line)) << context;
            if (written.changed) {
                ASSERT_LT(written.index, after.size()) << context;
                EXPECT_EQ(after[written.index], line) << context;
                EXPECT_EQ(after.size(), before.size() + 1) << context;
            }
        }
    }
    EXPECT_FALSE(dir.Exists("MWStock.tmp"));
}

TEST(RecordFile, AddingKeepsTheFileInOrder) {
    TempDir dir;
    const std::string path = dir.File("MWStock.dat");
    WriteRecordLine(path, "Bow,Power,0,", false);  // missing file
    EXPECT_EQ(dir.Read("MWStock.dat"), "Bow,Power,0,\r\n");
    WriteRecordLine(path, "Katana,Ruin,1,", false);  // last
    WriteRecordLine(path, "Axe,Force,0,", false);    // first
    WriteRecordLine(path, "Bow,Power,0,x", false);   // in front of the equal line
    WriteRecordLine(path, "   ", false);             // a blank line is never added
    EXPECT_EQ(dir.Read("MWStock.dat"), CrLf({"Axe,Force,0,", "Bow,Power,0,x", "Bow,Power,0,", "Katana,Ruin,1,"}));
    EXPECT_FALSE(dir.Exists("MWStock.tmp"));

    dir.Write("Empty.dat", "");
    WriteRecordLine(dir.File("Empty.dat"), "a,b", false);
    EXPECT_EQ(dir.Read("Empty.dat"), "a,b\r\n");
}

TEST(RecordFile, DeletingRemovesTheFirstExactlyEqualLine) {
    TempDir dir;
    const std::string path = dir.File("MWPrice.dat");
    dir.Write("MWPrice.dat", "a,1,x\nb,2,y\r\nb,2,y\nc,3,\xe9\0z\n"s);
    WriteRecordLine(path, "b,2,y", true);
    EXPECT_EQ(dir.Read("MWPrice.dat"), "a,1,x\r\nb,2,y\r\nc,3,\xe9\0z\r\n"s);
    WriteRecordLine(path, "B,2,y", true);  // not in the file: lines unchanged
    WriteRecordLine(path, "a,1,", true);   // equal in order is not equal
    EXPECT_EQ(dir.Read("MWPrice.dat"), "a,1,x\r\nb,2,y\r\nc,3,\xe9\0z\r\n"s);
    WriteRecordLine(path, "c,3,\xe9\0z"s, true);
    EXPECT_EQ(dir.Read("MWPrice.dat"), "a,1,x\r\nb,2,y\r\n");

    WriteRecordLine(dir.File("None.dat"), "a", true);  // a missing file is created empty
    EXPECT_TRUE(dir.Exists("None.dat"));
    EXPECT_EQ(dir.Read("None.dat"), "");
}

TEST(RecordFile, ALeftoverWorkingCopyNeverReplacesTheFile) {
    TempDir dir;
    dir.Write("MWStock.dat", "a,\r\nc,\r\n");
    dir.Write("MWStock.tmp", "z,half a file");
    WriteRecordLine(dir.File("MWStock.dat"), "b,", false);
    EXPECT_EQ(dir.Read("MWStock.dat"), "a,\r\nb,\r\nc,\r\n");
    EXPECT_FALSE(dir.Exists("MWStock.tmp"));

    dir.Write("MWStock.tmp", "z,half a file");
    dir.Write("MWStock.dat", "c,\r\na,\r\n");
    SortRecordFileAt(dir.File("MWStock.dat"));
    EXPECT_EQ(dir.Read("MWStock.dat"), "a,\r\nc,\r\n");
    EXPECT_FALSE(dir.Exists("MWStock.tmp"));
}

TEST(RecordFile, SortingGivesTheOrderOfTheBubbleSort) {
    TempDir dir;
    const std::string path = dir.File("Sort.dat");
    std::mt19937 rng(11);
    const char* fields[] = {"", "a", "b", "ab", "B", "\xe9", "1000", "900", " "};
    for (int round = 0; round < 3000; ++round) {
        Lines lines(rng() % 40);
        std::string bytes;
        for (std::string& line : lines) {
            const int count = 1 + static_cast<int>(rng() % 5);
            for (int f = 0; f < count; ++f) line += (f ? "," : "") + std::string(fields[rng() % 9]);
            bytes += line + (rng() % 2 ? "\r\n" : "\n");
        }
        const Lines expected = BubbleSorted(lines);
        Lines sorted = lines;
        SortRecordLines(sorted);
        ASSERT_EQ(sorted, expected) << "round " << round;
        if (round % 100 == 0) {  // and through the file
            dir.Write("Sort.dat", bytes);
            SortRecordFileAt(path);
            ASSERT_EQ(dir.Read("Sort.dat"), CrLf(expected)) << "round " << round;
        }
    }
}

// Two files sorted together end as each sorted on its own, one after the other, and what
// each holds comes back; a missing file stays missing.
TEST(RecordFile, TwoFilesSortTogetherAsOneAfterTheOther) {
    TempDir dir;
    std::mt19937 rng(13);
    const char* fields[] = {"", "a", "b", "ab", "B", "\xe9", "1000", "900", " "};
    auto randomFile = [&] {
        std::string bytes;
        const int lines = static_cast<int>(rng() % 60);
        for (int i = 0; i < lines; ++i) {
            const int count = 1 + static_cast<int>(rng() % 5);
            for (int f = 0; f < count; ++f) bytes += (f ? "," : "") + std::string(fields[rng() % 9]);
            if (i + 1 < lines || rng() % 3 != 0) bytes += rng() % 2 ? "\r\n" : "\n";
        }
        return bytes;
    };
    for (int round = 0; round < 60; ++round) {
        const std::string stock = randomFile(), prices = randomFile();
        const bool stockMissing = round % 10 == 3, pricesMissing = round % 10 == 7;
        for (const char* name : {"One.dat", "Two.dat", "A.dat", "B.dat"}) RemoveFile(dir.File(name));
        if (!stockMissing) {
            dir.Write("One.dat", stock);
            dir.Write("A.dat", stock);
        }
        if (!pricesMissing) {
            dir.Write("Two.dat", prices);
            dir.Write("B.dat", prices);
        }
        SortRecordFileAt(dir.File("A.dat"));
        SortRecordFileAt(dir.File("B.dat"));
        const SortedFiles sorted = SortRecordFilesAt(dir.File("One.dat"), dir.File("Two.dat"));
        ASSERT_EQ(dir.Exists("One.dat"), !stockMissing) << round;
        ASSERT_EQ(dir.Exists("Two.dat"), !pricesMissing) << round;
        if (!stockMissing) {
            ASSERT_EQ(dir.Read("One.dat"), dir.Read("A.dat")) << round;
            EXPECT_EQ(std::string_view(sorted.first), dir.Read("One.dat")) << round;
        } else {
            EXPECT_EQ(sorted.first, "") << round;
        }
        if (!pricesMissing) {
            ASSERT_EQ(dir.Read("Two.dat"), dir.Read("B.dat")) << round;
            EXPECT_EQ(std::string_view(sorted.second), dir.Read("Two.dat")) << round;
        } else {
            EXPECT_EQ(sorted.second, "") << round;
        }
    }
    EXPECT_FALSE(dir.Exists("One.tmp"));
    EXPECT_FALSE(dir.Exists("Two.tmp"));
}

// Large files whose lines share long beginnings (the same weapon, magic and
// figures, field after field), hold bytes next to the separator and the key's
// escapes, and end early or late: the sort gives the order of the comparison,
// equal lines in file order, which a stable sort by the comparison also gives.
TEST(RecordFile, LargeFilesSortInTheOrderOfTheComparison) {
    std::mt19937 rng(23);
    const std::vector<std::string> heads = {"Katana",
                                            "Katana ",
                                            "Kat",
                                            "Longsword",
                                            "",
                                            "\xC9p\xE9"
                                            "e longue",
                                            "Bow"};
    const std::vector<std::string> common = {"Vanquishing", "Vanquishing of the Long Name Here", "Power", "", "+"};
    const std::vector<std::string> odd = {"a", "a\0"s, "a\1", "a\1b", "\0"s, "\x01\x01", "\xFF", "-", "+", " ", ""};
    auto field = [&](int position) -> std::string {
        switch (rng() % 6) {
            case 0: return odd[rng() % odd.size()];
            case 1: return std::to_string(rng() % 1000);
            default: return position == 0 ? heads[rng() % heads.size()] : common[rng() % common.size()];
        }
    };
    for (const int count : {1000, 60000}) {
        Lines lines(static_cast<std::size_t>(count));
        for (std::string& line : lines) {
            if (rng() % 8 == 0) {  // a run of empty fields, as long as several key words
                line = heads[rng() % heads.size()] + std::string(rng() % 40, ',') + field(1) + "," + field(2);
                continue;
            }
            const int fields = static_cast<int>(rng() % 12);
            for (int f = 0; f < fields; ++f) line += (f ? "," : "") + field(f);
            if (rng() % 4 == 0) line += std::string(rng() % 3, ',');  // empty fields at the end
        }
        Lines expected = lines;
        std::stable_sort(expected.begin(), expected.end(),
                         [](const std::string& a, const std::string& b) { return CompareRecordLines(a, b) < 0; });
        Lines sorted = lines;
        SortRecordLines(sorted);
        ASSERT_EQ(sorted.size(), expected.size());
        for (std::size_t i = 0; i < sorted.size(); ++i)
            ASSERT_EQ(sorted[i], expected[i]) << "line " << i << " of " << count;

        TempDir dir;
        std::string bytes;
        for (const std::string& line : lines) bytes += line + "\r\n";
        dir.Write("Big.dat", bytes);
        SortRecordFileAt(dir.File("Big.dat"));
        ASSERT_EQ(dir.Read("Big.dat"), CrLf(expected));
    }
}

// The weapon files as players fill them: a few kinds of weapon, most lines alike
// for their first dozens of bytes.
TEST(RecordFile, WeaponFilesSortInTheOrderOfTheComparison) {
    std::mt19937 rng(31);
    Lines lines;
    for (int i = 0; i < 50000; ++i) lines.push_back(WeaponLine(rng, i % 7));
    Lines expected = lines;
    std::stable_sort(expected.begin(), expected.end(),
                     [](const std::string& a, const std::string& b) { return CompareRecordLines(a, b) < 0; });
    Lines sorted = lines;
    SortRecordLines(sorted);
    EXPECT_TRUE(sorted == expected);
    // Bubble passes on a part of it, to tie the stable sort to the reference.
    const Lines part(lines.begin(), lines.begin() + 600);
    Lines partSorted = part;
    SortRecordLines(partSorted);
    EXPECT_EQ(partSorted, BubbleSorted(part));
}

// Files of every shape the sort meets: leading fields with few texts and with many
// (one that turns out to hold too many only after thousands of lines), more leading
// fields than one number holds, long equal beginnings after them, and bytes 0 and 1
// after them. Each sorts as a stable sort by the comparison does.
TEST(RecordFile, FilesOfEveryShapeSortInTheOrderOfTheComparison) {
    std::mt19937 rng(47);
    auto number = [&](unsigned count) { return std::to_string(rng() % count); };
    const std::vector<std::function<std::string(int)>> shapes = {
        // Few texts in front, then many.
        [&](int) { return number(5) + "," + number(3) + "," + number(100000) + ",x," + number(9) + ",end"; },
        // The first field unique: nothing to rank.
        [&](int i) { return std::to_string(i * 7919 % 20011) + "," + number(3) + ",tail"; },
        // A second field whose texts multiply late in the file.
        [&](int i) { return number(4) + "," + (i < 15000 ? number(20) : number(100000)) + "," + number(50) + ",z"; },
        // Nine fields of a few hundred texts each: more than 64 bits of ranks.
        [&](int) {
            std::string line;
            for (int f = 0; f < 9; ++f) line += number(f % 2 ? 300 : 600) + ",";
            return line + "last";
        },
        // Long equal beginnings after ranked fields, some holding bytes 0 and 1.
        [&](int) {
            const std::string odd[] = {"a", "a\0"s, "a\1", "\1", "\0\0"s, "b"};
            return number(3) + "," + std::string(20, 'q') + odd[rng() % 6] + std::string(rng() % 3, 'r') + "," +
                   odd[rng() % 6] + "," + number(4) + std::string(rng() % 3, ',') + "," + "end";
        },
        // Lines without fields and empty fields anywhere.
        [&](int) {
            std::string line;
            const int fields = static_cast<int>(rng() % 6);
            for (int f = 0; f < fields; ++f) line += (f ? "," : "") + (rng() % 3 ? number(4) : std::string());
            return line;
        },
    };
    for (std::size_t shape = 0; shape < shapes.size(); ++shape) {
        Lines lines(20000);
        for (std::size_t i = 0; i < lines.size(); ++i) lines[i] = shapes[shape](static_cast<int>(i));
        Lines expected = lines;
        std::stable_sort(expected.begin(), expected.end(),
                         [](const std::string& a, const std::string& b) { return CompareRecordLines(a, b) < 0; });
        Lines sorted = lines;
        SortRecordLines(sorted);
        ASSERT_EQ(sorted.size(), expected.size());
        for (std::size_t i = 0; i < sorted.size(); ++i)
            ASSERT_EQ(sorted[i], expected[i]) << "shape " << shape << ", line " << i;
    }
}

TEST(RecordFile, SortKeysOrderLinesAsTheirComparison) {
    // Bytes around the separator and the key's own escapes, at random.
    const char alphabet[] = {',', ',', '\0', '\1', '\2', ' ', '+', '-', 'a', 'b', '\x7f', '\xff'};
    std::mt19937 rng(5);
    auto randomLine = [&] {
        std::string line(rng() % 9, ' ');
        for (char& c : line) c = alphabet[rng() % sizeof alphabet];
        return line;
    };
    for (int i = 0; i < 200000; ++i) {
        const std::string a = randomLine(), b = randomLine();
        const int compared = CompareRecordLines(a, b);
        const int byKey = RecordSortKey(a).compare(RecordSortKey(b));
        ASSERT_EQ(compared < 0, byKey < 0) << testing::PrintToString(a) << " " << testing::PrintToString(b);
        ASSERT_EQ(compared == 0, byKey == 0) << testing::PrintToString(a) << " " << testing::PrintToString(b);
    }
}

// A file's stamp stays while the file does, and changes with every rewrite, even one of
// the same size whose modification time is set back.
TEST(RecordFile, AStampChangesWithEveryRewrite) {
    TempDir dir;
    const std::string path = dir.File("MWStock.dat");
    EXPECT_FALSE(StampOf(path).exists);
    dir.Write("MWStock.dat", "Bow,Power,0,,,900,20261201,\r\n");
    const FileStamp first = StampOf(path);
    EXPECT_TRUE(first.exists);
    EXPECT_EQ(first.size, 29u);
    EXPECT_EQ(StampOf(path), first);

    const auto written = std::filesystem::last_write_time(path);
    {
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(16);
        file.write("8", 1);
    }
    std::filesystem::last_write_time(path, written);
    const FileStamp inPlace = StampOf(path);
    EXPECT_EQ(inPlace.size, first.size);
    EXPECT_EQ(inPlace.modified, first.modified);
    EXPECT_NE(inPlace, first);

    ReplaceFileAtomically(path, "Bow,Power,0,,,700,20261201,\r\n");
    std::filesystem::last_write_time(path, written);
    const FileStamp replaced = StampOf(path);
    EXPECT_NE(replaced.inode, inPlace.inode);
    EXPECT_NE(replaced, inPlace);
}

TEST(RecordFile, SortingOneLineOrNoneRewritesTheFile) {
    TempDir dir;
    dir.Write("One.dat", "only,line\n");
    SortRecordFileAt(dir.File("One.dat"));
    EXPECT_EQ(dir.Read("One.dat"), "only,line\r\n");
    dir.Write("Empty.dat", "");
    SortRecordFileAt(dir.File("Empty.dat"));
    EXPECT_EQ(dir.Read("Empty.dat"), "");
    SortRecordFileAt(dir.File("Missing.dat"));
    EXPECT_FALSE(dir.Exists("Missing.dat"));
}

// The sorted lines go out in blocks: lines that fill blocks exactly or nearly, lines
// longer than a block, and empty lines all come out whole, in order, each with CR LF.
TEST(RecordFile, SortedFilesComeOutWholeAcrossBlocks) {
    std::mt19937 rng(5);
    Lines lines;
    for (int i = 0; i < 6000; ++i) {
        const std::size_t size = i % 997 == 0 ? 300000 + rng() % 5 : i % 13 == 0 ? 0 : rng() % 120;
        std::string line = std::to_string(rng() % 50) + ",";
        while (line.size() < size) line += static_cast<char>('a' + rng() % 26);
        line.resize(size);
        lines.push_back(line);
    }
    Lines expected = lines;
    SortRecordLines(expected);
    TempDir dir;
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\n";
    dir.Write("Blocks.dat", bytes);
    SortRecordFileAt(dir.File("Blocks.dat"));
    EXPECT_TRUE(dir.Read("Blocks.dat") == CrLf(expected));
}

TEST(RecordFile, OrderedRewritesKeepLongLinesWhole) {
    // Loading cuts a line longer than kMaxLineBytes; rewriting the file must not.
    TempDir dir;
    const std::string path = dir.File("MWStock.dat");
    const std::string longLine = "Katana,Ruin,1," + std::string(kMaxLineBytes + 100, 'k');
    dir.Write("MWStock.dat", "Axe,x,0,\r\n" + longLine + "\r\n");
    WriteRecordLine(path, "Bow,y,0,", false);
    EXPECT_EQ(dir.Read("MWStock.dat"), CrLf({"Axe,x,0,", "Bow,y,0,", longLine}));
    WriteRecordLine(path, "Axe,x,0,", true);
    EXPECT_EQ(dir.Read("MWStock.dat"), CrLf({"Bow,y,0,", longLine}));
    dir.Write("MWStock.dat", longLine + "\r\nAxe,x,0,\r\n");
    SortRecordFileAt(path);
    EXPECT_EQ(dir.Read("MWStock.dat"), CrLf({"Axe,x,0,", longLine}));
}

#ifndef _WIN32
TEST(RecordFile, AnUnwritableFolderFailsWithTheSystemTextAndKeepsTheFile) {
    TempDir dir;
    const std::string path = dir.File("MWStock.dat");
    dir.Write("MWStock.dat", "c,\r\nb,\r\n");
    const std::string denied = std::generic_category().message(EACCES) + ": " + dir.File("MWStock.tmp");
    EXPECT_EQ(test::FailureInReadOnlyFolder(dir, [&] { WriteRecordLine(path, "a,", false); }), denied);
    EXPECT_EQ(test::FailureInReadOnlyFolder(dir, [&] { WriteRecordLine(path, "b,", true); }), denied);
    EXPECT_EQ(test::FailureInReadOnlyFolder(dir, [&] { SortRecordFileAt(path); }), denied);
    EXPECT_EQ(dir.Read("MWStock.dat"), "c,\r\nb,\r\n");
    EXPECT_FALSE(dir.Exists("MWStock.tmp"));
}

TEST(RecordFile, AReadOnlyFileOrALinkedOneIsHandledAsTheFile) {
    TempDir dir;
    const std::string path = dir.File("MWStock.dat");
    dir.Write("MWStock.dat", "c,\r\nb,\r\n");
    ::chmod(path.c_str(), 0444);
    EXPECT_THROW(WriteRecordLine(path, "a,", false), StoreError);
    EXPECT_THROW(WriteRecordLine(path, "b,", true), StoreError);
    EXPECT_THROW(SortRecordFileAt(path), StoreError);
    EXPECT_EQ(dir.Read("MWStock.dat"), "c,\r\nb,\r\n");
    // Sorted together with another file: a first file that cannot be written leaves the
    // second as it was; a second that cannot be written leaves the first sorted.
    dir.Write("MWPrice.dat", "z,\r\ny,\r\n");
    EXPECT_THROW(SortRecordFilesAt(path, dir.File("MWPrice.dat")), StoreError);
    EXPECT_EQ(dir.Read("MWStock.dat"), "c,\r\nb,\r\n");
    EXPECT_EQ(dir.Read("MWPrice.dat"), "z,\r\ny,\r\n");
    EXPECT_THROW(SortRecordFilesAt(dir.File("MWPrice.dat"), path), StoreError);
    EXPECT_EQ(dir.Read("MWPrice.dat"), "y,\r\nz,\r\n");
    EXPECT_EQ(dir.Read("MWStock.dat"), "c,\r\nb,\r\n");
    RemoveFile(dir.File("MWPrice.dat"));
    EXPECT_FALSE(dir.Exists("MWStock.tmp"));

    std::filesystem::create_directory(dir.Path() / "sync");
    dir.Write("sync/MWPrice.dat", "c,\r\nb,\r\n");
    std::filesystem::create_symlink(dir.Path() / "sync/MWPrice.dat", dir.Path() / "MWPrice.dat");
    SortRecordFileAt(dir.File("MWPrice.dat"));
    WriteRecordLine(dir.File("MWPrice.dat"), "a,", false);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path() / "MWPrice.dat"));
    EXPECT_EQ(dir.Read("sync/MWPrice.dat"), "a,\r\nb,\r\nc,\r\n");
}

namespace {

// Runs action in a child process. With killAfter, kills it that long after the child reports
// that it starts; otherwise waits for it. Returns the time from that report to the child's end.
std::chrono::nanoseconds RunInChild(const std::function<void()>& action,
                                    std::optional<std::chrono::nanoseconds> killAfter) {
    int fds[2];
    if (::pipe(fds) != 0) throw std::runtime_error("pipe");
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork");
    if (pid == 0) {
        ::close(fds[0]);
        const char go = 'g';
        if (::write(fds[1], &go, 1) != 1) ::_exit(3);
        try {
            action();
        } catch (...) {
            ::_exit(2);
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    char go = 0;
    const bool started = ::read(fds[0], &go, 1) == 1;
    const auto start = std::chrono::steady_clock::now();
    if (killAfter) {
        while (std::chrono::steady_clock::now() < start + *killAfter) {
        }
        ::kill(pid, SIGKILL);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    const auto took = std::chrono::steady_clock::now() - start;
    ::close(fds[0]);
    EXPECT_TRUE(started);
    // A child that finished on its own must have succeeded.
    if (WIFEXITED(status)) {
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    return std::chrono::duration_cast<std::chrono::nanoseconds>(took);
}

// Kills rewrites of the file at random moments; the file must always be whole.
void ExpectRewriteIsAtomic(TempDir& dir, const std::string& before, const std::string& after,
                           const std::function<void()>& rewrite) {
    const std::string name = "MWStock.dat";
    dir.Write(name, before);
    const std::chrono::nanoseconds took = RunInChild(rewrite, std::nullopt);
    ASSERT_EQ(dir.Read(name), after);

    std::mt19937 rng(5);
    int whole[2] = {0, 0};
    for (int round = 0; round < 20; ++round) {
        dir.Write(name, before);
        RunInChild(rewrite, took * 11 / 10 * static_cast<long>(rng() % 1001) / 1000);
        const std::string now = dir.Read(name);
        ASSERT_TRUE(now == before || now == after) << "round " << round << ": a file of " << now.size() << " bytes";
        ++whole[now == after];
    }
    // Whatever the kills left behind, the next rewrite gives the right file.
    dir.Write(name, before);
    rewrite();
    EXPECT_EQ(dir.Read(name), after);
    EXPECT_FALSE(dir.Exists("MWStock.tmp"));
    std::cout << "[          ] killed: old file " << whole[0] << " times, new file " << whole[1] << " times\n";
}

}  // namespace

TEST(RecordFile, AKilledRewriteLeavesTheOldOrTheNewFileWhole) {
    TempDir dir;
    std::mt19937 rng(9);
    Lines lines;
    for (int i = 0; i < 20000; ++i) lines.push_back(WeaponLine(rng, i));
    const std::string path = dir.File("MWStock.dat");

    Lines ordered = lines;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const std::string& a, const std::string& b) { return CompareRecordLines(a, b) < 0; });
    const std::string line = "Halberd,Might,1,Accurate,Fortified,100,20031105,inserted";
    Lines inserted = ordered;
    inserted.insert(std::find_if(inserted.begin(), inserted.end(),
                                 [&](const std::string& s) { return CompareRecordLines(s, line) >= 0; }),
                    line);

    ExpectRewriteIsAtomic(dir, CrLf(ordered), CrLf(inserted), [&] { WriteRecordLine(path, line, false); });
    ExpectRewriteIsAtomic(dir, CrLf(inserted), CrLf(ordered), [&] { WriteRecordLine(path, line, true); });
    ExpectRewriteIsAtomic(dir, CrLf(lines), CrLf(ordered), [&] { SortRecordFileAt(path); });
}
#endif

}  // namespace stallmark
