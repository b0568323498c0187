// Record files without the window: the weapon files sorted by Reorder, one line
// sorted in memory, one ordered insert (what Save writes), each against F on the
// same file. Runs at 10k, 100k and 1M lines by default, each size in a fresh process.

#include <cstdio>
#include <string>
#include <vector>

#include "BenchData.h"
#include "BenchSupport.h"
#include "store/Files.h"
#include "store/RecordFile.h"

using namespace stallmark;
using namespace stallmark::bench;

namespace {

void RunSize(int lines) {
    const int runs = Runs();
    ScratchFolder folder;
    std::vector<std::string> stock = WeaponStockLines(lines);
    const std::vector<std::string> prices = WeaponPriceLines(lines);
    const std::string stockUnsorted = JoinLines(stock);
    const std::string pricesUnsorted = JoinLines(prices);
    std::vector<std::string> sorted = stock;
    SortRecordLines(sorted);
    const std::string stockSorted = JoinLines(sorted);
    const std::string stockPath = folder.File("MWStock.dat");
    const std::string pricePath = folder.File("MWPrice.dat");
    folder.Write("MWStock.dat", stockUnsorted);
    folder.Write("MWPrice.dat", pricesUnsorted);
    FloorOnce(stockPath);  // the file in the cache

    {
        Row row;
        row.action = "F: read + split into field views (MWStock.dat)";
        row.size = lines;
        std::vector<double> floors;
        for (int i = 0; i < runs; ++i) floors.push_back(FloorOnce(stockPath));
        row.value = StatsOf(floors);
        row.target = {};
        row.note = "the yardstick of every row: bytes read whole, every line cut into views of its fields";
        Record(row);
    }
    // What a rewrite cannot do without: the new file written whole and flushed to disk.
    {
        Row row;
        row.action = "Store: flush to disk (replace a one-line file)";
        row.size = lines;
        const std::string small = folder.File("Small.dat");
        row.value = Measure(
            runs, [] {}, [&] { ReplaceFileAtomically(small, "Katana,x,0,\r\n"); });
        row.growth = Growth::None;
        Record(row);
    }
    // The flushes the rewrites' targets allow for: each timed on its own in a row here, and
    // the allowance of a rewrite timed again just before and just after its runs.
    const std::string copy = folder.File("Copy.dat"), copy2 = folder.File("Copy2.dat");
    TimedAround sync([&] { ReplaceFileAtomically(copy, stockSorted); });
    TimedAround syncBoth([&] {
        ReplaceFileAtomically(copy, stockUnsorted);
        ReplaceFileAtomically(copy2, pricesUnsorted);
    });
    const int half = (runs + 1) / 2;
    // The measured rewrite, and the median of the flushes timed around it.
    auto around = [&](TimedAround& flush, const std::function<Measured()>& measure, Measured& measured) {
        flush.Time(half);
        measured = measure();
        flush.Time(half);
        return flush.Take().median;
    };
    {
        Row row;
        row.action = "Store: flush to disk (replace a file of n lines)";
        row.size = lines;
        sync.Time(runs);
        row.value = sync.Take();
        row.note = "the sorted stock file written whole to a working copy, synced, renamed over the file";
        Record(row);
    }
    {
        Row row;
        row.action = "Store: flush to disk (replace both weapon files)";
        row.size = lines;
        syncBoth.Time(runs);
        row.value = syncBoth.Take();
        Record(row);
    }
    {
        Row row;
        row.action = "Store: Reorder, both weapon files sorted";
        row.size = lines;
        Measured m;
        const double allowance = around(
            syncBoth,
            [&] {
                return MeasureAgainstFloor(
                    {stockPath, pricePath}, runs,
                    [&] {
                        folder.Write("MWStock.dat", stockUnsorted);
                        folder.Write("MWPrice.dat", pricesUnsorted);
                    },
                    [&] {
                        SortRecordFileAt(stockPath);
                        SortRecordFileAt(pricePath);
                    });
            },
            m);
        row.value = m.action;
        row.floor = m.floor;
        row.target = TimesFPlus(5, allowance);
        row.growth = Growth::NLogN;
        row.note =
            "two unsorted files of n lines each, read, sorted, written and flushed to disk; F of both "
            "files; target: 5 F plus the flush of both files, timed just before and after the runs (the median)";
        Record(row);
    }
    {
        Row row;
        row.action = "Store: record sort in memory (SortRecordLines)";
        row.size = lines;
        std::vector<std::string> work;
        // Each run sorts lines made anew, one after another, as the old-file conversion
        // reads them: a copy over the lines a sort left behind would reuse their texts'
        // memory in the sorted order, scattered against the lines' order, which no player's
        // file ever is (it made a run two to three times slower).
        const Measured m = MeasureAgainstFloor(
            stockPath, runs,
            [&] {
                std::vector<std::string>().swap(work);
                work = stock;
            },
            [&] { SortRecordLines(work); });
        if (work != sorted) std::puts("sort order differs from the first sort");
        row.value = m.action;
        row.floor = m.floor;
        row.growth = Growth::NLogN;
        Record(row);
    }
    {
        Row row;
        row.action = "Store: ordered insert of one line (Save writes)";
        row.size = lines;
        const std::string line = "Katana,Might,1,Accurate,Durable,2500,20040612,from the bank";
        Measured m;
        const double allowance = around(
            sync,
            [&] {
                return MeasureAgainstFloor(
                    stockPath, runs, [&] { folder.Write("MWStock.dat", stockSorted); },
                    [&] { WriteRecordLine(stockPath, line, false); });
            },
            m);
        row.value = m.action;
        row.floor = m.floor;
        row.target = TimesFPlus(1, allowance);
        row.note =
            "target: 1 F plus one flush to disk of a file that size, timed just before and after the runs (the "
            "median)";
        Record(row);
    }
}

}  // namespace

int main(int argc, char** argv) { return RunEachSize(argc, argv, kListSizes, RunSize); }
