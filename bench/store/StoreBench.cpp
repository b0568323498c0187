// Record file speed on a weapon stock file of 100,000 lines. F, reading the file and
// cutting every line into its fields, is the yardstick: sorting should take at most 5 F,
// and one ordered insert at most 1 F plus one flush to disk (shown as Sync).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "store/Fields.h"
#include "store/Files.h"
#include "store/RecordFile.h"

namespace stallmark {
namespace {

constexpr int kLines = 100000;

std::string WeaponLine(std::mt19937& rng) {
    static const char* kItems[] = {"Katana",
                                   "Broadsword",
                                   "Longsword",
                                   "Viking Sword",
                                   "Scimitar",
                                   "Cutlass",
                                   "Kryss",
                                   "Dagger",
                                   "War Axe",
                                   "Double Axe",
                                   "Halberd",
                                   "Bardiche",
                                   "Spear",
                                   "Short Spear",
                                   "War Fork",
                                   "Pitchfork",
                                   "Bow",
                                   "Crossbow",
                                   "Heavy Crossbow",
                                   "Mace",
                                   "War Mace",
                                   "Maul",
                                   "Hammer Pick",
                                   "Club",
                                   "Black Staff",
                                   "Quarter Staff",
                                   "Gnarled Staff",
                                   "Scythe",
                                   "Large Battle Axe",
                                   "Two Handed Axe"};
    static const char* kMagic[] = {"Vanquishing", "Power",          "Force",     "Might", "Ruin",
                                   "Silver",      "Undead Slaying", "Lightning", "Fire",  "Clumsiness"};
    static const char* kAccuracy[] = {"", "Accurate", "Surpassingly", "Eminently", "Exceedingly", "Supremely"};
    static const char* kDurability[] = {"", "Durable", "Substantial", "Massive", "Fortified", "Indestructible"};
    static const char* kWords[] = {"from", "the",  "bank", "vendor", "west", "Britain", "Trinsic",
                                   "hunt", "deed", "keep", "sold",   "ask",  "guild"};
    std::string text;
    for (unsigned i = 0, n = 1 + rng() % 4; i < n; ++i) text += (i ? " " : "") + std::string(kWords[rng() % 13]);
    const std::string date =
        std::to_string(2003 + rng() % 3) + "0" + std::to_string(1 + rng() % 9) + std::to_string(10 + rng() % 18);
    return std::string(kItems[rng() % 30]) + "," + kMagic[rng() % 10] + "," + std::to_string(rng() % 3) + "," +
           kAccuracy[rng() % 6] + "," + kDurability[rng() % 6] + "," + std::to_string(100 * (1 + rng() % 400)) + "," +
           date + "," + text;
}

// The folder of the benchmark files, made once.
struct Files {
    std::filesystem::path folder;
    std::string unsortedBytes;
    std::string sortedBytes;
    std::string stock;     // sorted, as the weapon list keeps it
    std::string unsorted;  // a copy for the sort
    std::string small;

    Files() {
        folder = std::filesystem::temp_directory_path() / ("stallmark-bench-" + std::to_string(std::random_device()()));
        std::filesystem::create_directories(folder);
        std::mt19937 rng(2003);
        std::vector<std::string> lines;
        for (int i = 0; i < kLines; ++i) lines.push_back(WeaponLine(rng));
        for (const std::string& line : lines) unsortedBytes += line + "\r\n";
        SortRecordLines(lines);
        for (const std::string& line : lines) sortedBytes += line + "\r\n";
        stock = (folder / "MWStock.dat").string();
        unsorted = (folder / "MWPrice.dat").string();
        small = (folder / "Small.dat").string();
        ReplaceFileAtomically(stock, sortedBytes);
        ReplaceFileAtomically(unsorted, unsortedBytes);
    }
    ~Files() {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
};

Files& Data() {
    static Files files;
    return files;
}

// F: read the whole file and cut every line into its fields.
void BM_F_ReadAndSplit(benchmark::State& state) {
    Files& files = Data();
    for (auto _ : state) {
        std::vector<std::vector<std::string>> rows;
        rows.reserve(kLines);
        LineReader reader(files.stock);
        std::string_view line;
        while (reader.Next(line)) rows.push_back(SplitFields(line));
        benchmark::DoNotOptimize(rows.data());
        if (rows.size() != kLines) state.SkipWithError("wrong line count");
    }
}
BENCHMARK(BM_F_ReadAndSplit)->Unit(benchmark::kMillisecond);

void BM_SortRecordFile(benchmark::State& state) {
    Files& files = Data();
    for (auto _ : state) {
        state.PauseTiming();
        ReplaceFileAtomically(files.unsorted, files.unsortedBytes);
        state.ResumeTiming();
        SortRecordFileAt(files.unsorted);
    }
}
BENCHMARK(BM_SortRecordFile)->Unit(benchmark::kMillisecond);

// One ordered insert into the middle of the sorted file (reads, writes and syncs it all).
void BM_WriteRecordLineInsert(benchmark::State& state) {
    Files& files = Data();
    const std::string line = "Katana,Might,1,Accurate,Durable,2500,20040612,inserted";
    for (auto _ : state) {
        state.PauseTiming();
        ReplaceFileAtomically(files.stock, files.sortedBytes);
        state.ResumeTiming();
        WriteRecordLine(files.stock, line, false);
    }
}
BENCHMARK(BM_WriteRecordLineInsert)->Unit(benchmark::kMillisecond);

// The flush to disk alone: replacing a one-line file.
void BM_Sync(benchmark::State& state) {
    Files& files = Data();
    for (auto _ : state) ReplaceFileAtomically(files.small, "Katana,x,0,\r\n");
}
BENCHMARK(BM_Sync)->Unit(benchmark::kMillisecond);

void BM_CompareRecordLines(benchmark::State& state) {
    const std::string a = "Katana,Vanquishing,0,Accurate,Fortified,12000,20031105,Some other text";
    const std::string b = "Katana,Vanquishing,0,Accurate,Fortified,12000,20031106,Some other text";
    for (auto _ : state) benchmark::DoNotOptimize(CompareRecordLines(a, b));
}
BENCHMARK(BM_CompareRecordLines);

void BM_GetField(benchmark::State& state) {
    const std::string line = "Katana,Vanquishing,0,Accurate,Fortified,12000,20031105,Some other text";
    for (auto _ : state) {
        std::string field = GetField(6, ',', line);
        benchmark::DoNotOptimize(field.data());
    }
}
BENCHMARK(BM_GetField);

}  // namespace
}  // namespace stallmark

BENCHMARK_MAIN();
