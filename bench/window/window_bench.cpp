// The whole window in process: start-up on an empty data folder, and the General
// list on an unsorted General.dat, driven as a player drives it: start-up to the
// first paint, a press of the sort button, Save after an edit, and the memory the
// loaded list takes. F is measured on General.dat in the same run. Runs at 10k and
// 100k lines by default.

#include <QApplication>
#include <QComboBox>
#include <cstdio>
#include <stdexcept>

#include "BenchData.h"
#include "BenchSupport.h"
#include "WindowBench.h"
#include "controls/StringGrid.h"
#include "lists/trade/GeneralPage.h"
#include "store/Files.h"

using namespace stallmark;
using namespace stallmark::bench;

namespace {

constexpr int kColumns = 3;

void EmptyFolderStartup() {
    BenchWindow w;
    Row row;
    row.action = "Start-up to first paint, empty data folder (in process)";
    row.size = 0;
    w.Start();  // fonts and styles loaded once, as before any start
    row.value = Measure(
        Runs(), [&] { w.Close(); }, [&] { w.Start(); });
    row.target = AtMostMs(50);
    row.growth = Growth::None;
    Record(row);
    w.Close();
}

void RunSize(int lines) {
    const int runs = Runs();
    const std::string general = JoinLines(GeneralLines(lines));

    // Both windows measured for memory once shown on the screen and idle (exposed, painted,
    // their backing store made).
    auto settle = [] {
        for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
    };
    long emptyBytes = 0;
    {
        BenchWindow empty;
        empty.settings.WriteInteger("LastPage", TStallmarkForm::pgGeneral);
        empty.Start();
        empty.Painted();
        settle();
        emptyBytes = ResidentBytes();
        empty.Close();
    }

    BenchWindow w;
    w.settings.WriteInteger("LastPage", TStallmarkForm::pgGeneral);
    w.dir.Write("General.dat", general);
    const std::string path = w.dir.File("General.dat");
    FloorOnce(path);
    // What the page does after its first paint while it waits for the player: the sort's
    // ranks worked out, a slice of rows at each turn of the event loop, then the order
    // of the key the sort button goes to next.
    auto waitForPlayer = [&] {
        const auto* page = dynamic_cast<const TGeneralPage*>(w.form->Tab(TStallmarkForm::pgGeneral));
        if (page == nullptr) throw std::runtime_error("no General page");
        while (page->RankingAhead()) QCoreApplication::processEvents();
    };
    w.Start();
    w.Painted();
    waitForPlayer();  // the ranks it keeps count too
    settle();
    TStringGrid* grid = w.Need<TStringGrid>("SGrid_General");
    {
        Row row;
        row.action = "General: memory per grid cell after load";
        row.size = lines;
        row.unit = "B/cell";
        const double cells = static_cast<double>(grid->RowCount() - 1) * kColumns;
        row.value = StatsOf({static_cast<double>(ResidentBytes() - emptyBytes) / cells});
        row.target = AtMost(32);
        row.growth = Growth::Flat;
        row.note =
            "resident size of the process with the list loaded and its sort's ranks worked out, less the same "
            "window on no data, per cell";
        Record(row);
    }
    {
        Row row;
        row.action = "General: start-up to first paint (in process)";
        row.size = lines;
        const Measured m = MeasureAgainstFloor(
            path, runs,
            [&] {
                w.Close();
                WriteOnDisk(path, general);
            },
            [&] { w.Start(); });
        row.value = m.action;
        row.floor = m.floor;
        row.target = TimesFPlus(3, 50);
        row.note = "window built on an unsorted General.dat, list loaded, shown and painted once";
        Record(row);
    }
    // What a save cannot do without: the list's file written whole and flushed to disk.
    // The disk's speed drifts over a run (a flush takes from 0.6 to 2 ms here from one
    // minute to the next), so the allowance of each row below is the median of flushes
    // timed just before and just after its runs.
    const std::string copy = w.dir.File("Copy.dat");
    TimedAround flush([&] { ReplaceFileAtomically(copy, general); });
    const int half = (runs + 1) / 2;
    auto press = [&] {
        w.Click("Btn_GeneralSort");
        w.Painted();
    };
    // A press timed count times after setup, against F, with the flush timed around its
    // runs as the allowance of its target (5 F plus that flush).
    auto timePresses = [&](Row& row, int count, const std::function<void()>& setup) {
        flush.Time(half);
        const Measured m = MeasureAgainstFloor(path, count, setup, press);
        flush.Time(half);
        row.value = m.action;
        row.floor = m.floor;
        row.target = TimesFPlus(5, flush.Take().median);
        row.growth = Growth::NLogN;
    };
    {
        Row row;
        row.action = "General: flush to disk (replace a file of n lines)";
        row.size = lines;
        flush.Time(runs);
        row.value = flush.Take();
        row.note = "General.dat's bytes written to a working copy, synced, renamed over the file";
        Record(row);
    }
    {
        // The first press after the list is loaded from its unsorted file: nothing of
        // an earlier sort to go on.
        Row row;
        row.action = "General: first sort press after start-up (sort + save)";
        row.size = lines;
        auto startOnUnsorted = [&] {
            w.Close();
            WriteOnDisk(path, general);
            w.Start();
            w.Painted();
        };
        {
            Row ahead;
            ahead.action = "General: work after first paint, while the window waits (ranks, next order)";
            ahead.size = lines;
            const Measured m = MeasureAgainstFloor(path, runs, startOnUnsorted, waitForPlayer);
            ahead.value = m.action;
            ahead.floor = m.floor;
            ahead.growth = Growth::NLogN;
            ahead.note =
                "the event loop run until the sort's ranks and the next key's order are worked out, after the first "
                "paint; the window answers input between slices of rows";
            Record(ahead);
        }
        timePresses(row, runs, [&] {
            startOnUnsorted();
            waitForPlayer();
        });
        row.note =
            "window started on the unsorted file before each press and left until it waits for the player (not "
            "timed, see the row above); target as below";
        Record(row);
        // The rows below start from a list just loaded and in front of the player.
        startOnUnsorted();
        waitForPlayer();
        grid = w.Need<TStringGrid>("SGrid_General");
    }
    {
        // Each press moves to the next key (Description, Value, Type, ...): the rows
        // are never already in the order asked for. Between two presses the player looks
        // at the list: the window does what it does while it waits (timed in the row
        // after this one).
        Row row;
        row.action = "General: sort button pressed (sort + save)";
        row.size = lines;
        timePresses(row, std::max(runs, 6), waitForPlayer);
        row.note =
            "the list loaded unsorted; the presses go round the three keys, the window left until it waits for the "
            "player before each; target: 5 F plus the flush of the file, timed just before and after the presses "
            "(the median)";
        Record(row);
    }
    {
        Row row;
        row.action = "General: work after a sort press, while the window waits";
        row.size = lines;
        const Measured m = MeasureAgainstFloor(path, std::max(runs, 6), press, waitForPlayer);
        row.value = m.action;
        row.floor = m.floor;
        row.growth = Growth::NLogN;
        row.note =
            "the event loop run after a press until the order of the key the button goes to next is worked out "
            "and the texts it brings on screen are laid out";
        Record(row);
    }
    {
        Row row;
        row.action = "General: Save after editing one value";
        row.size = lines;
        grid = w.Need<TStringGrid>("SGrid_General");
        int n = 0;
        flush.Time(half);
        const Measured m = MeasureAgainstFloor(
            path, runs,
            [&] {
                grid->setRow(1 + (n * 7919) % (grid->RowCount() - 1));
                w.Click("Btn_GenEdit");
                grid->setCells(2, grid->Row(), QString::number(1000 + n++));
                w.Painted();
            },
            [&] {
                w.Click("Btn_GenSave");
                w.Painted();
            });
        row.value = m.action;
        row.floor = m.floor;
        flush.Time(half);
        row.target = TimesFPlus(8, flush.Take().median);
        row.growth = Growth::NLogN;
        row.note =
            "check, sort and write of the whole list, the page brought up to date; target: 8 F plus the flush of the "
            "file, timed just before and after the saves (the median)";
        Record(row);
        if (!w.dialogs.boxes.empty()) std::printf("%zu message boxes were shown\n", w.dialogs.boxes.size());
    }
    w.Close();
}

}  // namespace

int main(int argc, char** argv) {
    return RunEachSize(argc, argv, kListSizes, [&](int lines) {
        EnsureApplication(argc, argv);
        if (lines == Sizes(kListSizes).front()) EmptyFolderStartup();
        RunSize(lines);
    });
}
