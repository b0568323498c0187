#pragma once
// What every benchmark shares: the sizes to run, timing of runs (min and median),
// the floor F, the result rows and where they go.
//
// F, the floor, is the time to read a data file whole and split every line into
// its fields as views (no string per field): the least any list can do with that
// file. It is measured on the same file, in the same process, interleaved with
// the runs of the action it is compared with, so a busy machine slows both.
//
// Rows are printed as they are measured and appended, one tab-separated line each,
// to $STALLMARK_BENCH_OUT/<program>.tsv when that variable names a folder; the
// program bench_report turns those files into the final table and JSON.
//
// Environment:
//   STALLMARK_BENCH_SIZES  line counts to run, e.g. "10000 100000"; by default
//                          each program runs its own sizes (the lists' programs
//                          kListSizes: 10k, 100k and 1M)
//   STALLMARK_BENCH_RUNS   runs per figure, at least 5 (default 5)
//   STALLMARK_BENCH_OUT    folder for the result files (no files when unset)

#include <functional>
#include <string>
#include <vector>

namespace stallmark::bench {

// The sizes to run: STALLMARK_BENCH_SIZES when set, else defaults.
std::vector<int> Sizes(const std::vector<int>& defaults);
// The sizes every list is measured at unless told otherwise.
inline const std::vector<int> kListSizes{10000, 100000, 1000000};
int Runs();

// Milliseconds on the steady clock.
double NowMs();

struct Stats {
    double min = 0;
    double median = 0;
    std::vector<double> runs;
};
Stats StatsOf(std::vector<double> values);

// F once on the file at path, in milliseconds: the lesser of a read into the
// ordinary heap and one into large pages (see BigMemory), each timed whole.
double FloorOnce(const std::string& path);
// Writes a data file as a player's file is before a timed action: on the disk, not left
// waiting in the cache (an action's own sync would otherwise wait for it too).
void WriteOnDisk(const std::string& path, const std::string& bytes);
// The field count of the last FloorOnce (a check that it did the work).
std::size_t LastFloorFields();

struct Measured {
    Stats action;  // ms
    Stats floor;   // ms, F on the given file
};

// runs times: setup (not timed), F on floorPath, then the action, each timed apart.
// One run of each goes first untimed when warmUp is set.
Measured MeasureAgainstFloor(const std::string& floorPath, int runs, const std::function<void()>& setup,
                             const std::function<void()>& action, bool warmUp = false);
// The same for an action on several files: F of a run is the sum of F on each of them.
Measured MeasureAgainstFloor(const std::vector<std::string>& floorPaths, int runs, const std::function<void()>& setup,
                             const std::function<void()>& action, bool warmUp = false);
// runs times: setup (not timed), then the action (timed).
Stats Measure(int runs, const std::function<void()>& setup, const std::function<void()>& action);

// An allowance timed around an action's runs: the disk's speed drifts from one minute to
// the next, so a flush a target allows for is timed just before a row's runs and again
// just after them (never between them, where it would slow the action's own flush), and
// the row's allowance is the median of those times.
class TimedAround {
public:
    explicit TimedAround(std::function<void()> work) : work_(std::move(work)) {}
    // Times the work n times.
    void Time(int n) {
        for (int i = 0; i < n; ++i) {
            const double start = NowMs();
            work_();
            times_.push_back(NowMs() - start);
        }
    }
    // The times taken since the last call; they are then forgotten.
    Stats Take() {
        Stats taken = StatsOf(times_);
        times_.clear();
        return taken;
    }

private:
    std::function<void()> work_;
    std::vector<double> times_;
};

// What a figure must stay within.
struct Target {
    enum Kind { None, TimesF, TimesFPlusMs, Ms, AtMost } kind = None;
    double factor = 0;  // TimesF, TimesFPlusMs: times F; Ms, AtMost: the limit
    double plus = 0;    // TimesFPlusMs: milliseconds added
    std::string Text() const;
    // Whether a median figure holds, given F's median.
    bool Holds(double median, double floorMedian) const;
};
Target TimesF(double factor);
Target TimesFPlus(double factor, double ms);
Target AtMostMs(double ms);
Target AtMost(double value);  // for figures that are not times (bytes per cell)

// How a figure should grow with the size: in step with F (or the line count when
// there is no F), as n log n, not at all, or not judged.
enum class Growth { Linear, NLogN, Flat, None };

struct Row {
    std::string action;  // what the player does, e.g. "Weapons: Reorder (both files)"
    long size = 0;       // lines of the file the action works on
    std::string unit = "ms";
    Stats value;
    Stats floor;  // empty (no runs) when the figure is not compared with F
    Target target;
    Growth growth = Growth::Linear;
    std::string note;  // anything the reader must know, shown under the table
};

// Prints the row and appends it to the program's result file.
void Record(const Row& row);
// Names the result file (by default the program's file name).
void SetProgramName(const std::string& name);

// The process's resident size in bytes, after returning free heap to the system.
long ResidentBytes();

// Runs body(size) once per size, each in a fresh process (this program started again
// with "--size N"), so that memory and caches of one size do not carry into the next.
// Called with "--size N", runs body(N) here. Returns the exit code for main.
int RunEachSize(int argc, char** argv, const std::vector<int>& defaults, const std::function<void(int)>& body);

// A folder of its own under the system's temporary folder, removed with everything
// in it when this goes away.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    void Write(const std::string& name, const std::string& bytes) const;

private:
    std::string path_;
};

}  // namespace stallmark::bench
