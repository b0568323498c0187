// Figures for the string grid with 100,000 rows of 9 weapon-like columns:
//   F       read the data file and split every line at its commas
//   fill    read, split and put every field into the grid (BeginUpdate/EndUpdate)
//   first paint, scroll to the end, repaint (grab() on the offscreen platform)
//   memory  RSS of the filled grid above the process before it, per cell
// Run: QT_QPA_PLATFORM=offscreen controls_bench [rows]
#include <malloc.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPixmap>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "controls/StringGrid.h"
#include "controls/Text1252.h"

using stallmark::TStringGrid;

namespace {

long RssBytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

void WriteWeaponFile(const std::string& path, int rows) {
    static const char* weapons[] = {"Longsword",     "Katana",         "War Axe",       "Halberd",
                                    "Broadsword",    "Bardiche",       "Kryss",         "War Fork",
                                    "Composite Bow", "Heavy Crossbow", "Quarter Staff", "Double Axe"};
    static const char* magic[] = {"Vanquishing", "Power",     "Force",      "Might",     "Ruin",
                                  "Silver",      "Lightning", "Clumsiness", "Feeblemind"};
    static const char* acc[] = {"", "Accurate", "Surpassingly", "Eminently", "Exceedingly", "Supremely"};
    static const char* dur[] = {"", "Durable", "Substantial", "Massive", "Fortified", "Indestructible"};
    static const char* other[] = {"", "", "", "Blessed", "Exceptional", "Slayer", "Cursed"};
    std::mt19937 rng(1234);
    auto pick = [&](auto& table) { return table[rng() % (sizeof table / sizeof table[0])]; };
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < rows; ++i) {
        char date[16];
        std::snprintf(date, sizeof date, "20%02u%02u%02u", static_cast<unsigned>(10 + rng() % 15),
                      static_cast<unsigned>(1 + rng() % 12), static_cast<unsigned>(1 + rng() % 28));
        out << pick(weapons) << ',' << pick(magic) << ',' << rng() % 3 << ',' << pick(acc) << ',' << pick(dur) << ','
            << 500 + rng() % 60000 << ',' << rng() % 400 << ',' << pick(other) << ',' << date << "\r\n";
    }
}

// Splits one line at its commas into at most `max` views.
int Split(std::string_view line, std::string_view* fields, int max) {
    int n = 0;
    size_t start = 0;
    while (n < max) {
        const size_t comma = line.find(',', start);
        if (comma == std::string_view::npos) {
            fields[n++] = line.substr(start);
            break;
        }
        fields[n++] = line.substr(start, comma - start);
        start = comma + 1;
    }
    return n;
}

std::string_view TrimCr(const std::string& line) {
    std::string_view v(line);
    if (!v.empty() && v.back() == '\r') v.remove_suffix(1);
    return v;
}

double Ms(const QElapsedTimer& t) { return t.nsecsElapsed() / 1e6; }

// CPU time of this thread: the machine may be shared, so F and fill are
// compared on what this thread itself spent.
double CpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

void Report(const char* what, double value, const char* unit, double target, const char* targetText) {
    std::printf("%-44s %10.2f %-6s %s %s\n", what, value, unit, value <= target ? "ok  " : "OVER", targetText);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    const int cols = 9;
    const std::string path = (QDir::tempPath() + "/stallmark_grid_bench.dat").toStdString();
    WriteWeaponFile(path, rows);

    QWidget window;
    window.resize(338, 526);
    TStringGrid* grid = new TStringGrid(&window);
    grid->setGeometry(4, 4, 330, 500);
    grid->setColCount(cols);
    grid->setDefaultRowHeight(17);
    const int widths[cols] = {74, 76, 52, 48, 47, 56, 48, 21, 40};
    for (int c = 0; c < cols; ++c) grid->setColWidths(c, widths[c]);
    grid->setRowTexts(0, QString("Weapon,Magic,Accuracy,Durability,Special,Other,Date,Age,Price").split(','));
    grid->setColumnAlignment(7, Qt::AlignRight);
    grid->setColumnAlignment(8, Qt::AlignRight);
    grid->setRowSelect(true);
    window.show();
    QApplication::processEvents();
    (void)grid->grab();
    malloc_trim(0);
    const long rssBefore = RssBytes();

    // F and fill, measured in turns (the machine may be busy), best of seven;
    // each fill is a complete reload, as a page does. The first fill also
    // pays for fresh memory and is reported apart.
    auto readAndSplit = [&] {
        const double t0 = CpuMs();
        std::ifstream in(path, std::ios::binary);
        std::string line;
        std::string_view fields[cols];
        size_t checksum = 0;
        while (std::getline(in, line))
            checksum += static_cast<size_t>(Split(TrimCr(line), fields, cols)) + fields[0].size();
        if (checksum == 0) std::puts("");
        return CpuMs() - t0;
    };
    auto fillGrid = [&] {
        const double t0 = CpuMs();
        grid->BeginUpdate();
        grid->setRowCount(2);
        grid->ClearCells();
        grid->setRowTexts(0, QString("Weapon,Magic,Accuracy,Durability,Special,Other,Date,Age,Price").split(','));
        grid->setRowCount(rows + 1);
        std::ifstream in(path, std::ios::binary);
        std::string line;
        std::string_view fields[cols];
        int r = 1;
        while (std::getline(in, line)) {
            const int n = Split(TrimCr(line), fields, cols);
            grid->setRowBytes(r, std::span<const std::string_view>(fields, static_cast<size_t>(n)));
            ++r;
        }
        grid->EndUpdate();
        return CpuMs() - t0;
    };
    double f = readAndSplit();
    const double firstFill = fillGrid();
    double fill = firstFill;
    for (int round = 0; round < 7; ++round) {
        f = std::min(f, readAndSplit());
        fill = std::min(fill, fillGrid());
    }

    QElapsedTimer t;
    t.start();
    QPixmap shot = grid->grab();
    const double firstPaint = Ms(t);

    t.restart();
    grid->setRow(grid->RowCount() - 1);
    shot = grid->grab();
    const double scrollEnd = Ms(t);

    std::vector<double> repaints;
    for (int i = 0; i < 50; ++i) {
        t.restart();
        shot = grid->grab();
        repaints.push_back(Ms(t));
    }
    std::vector<double> scrolls;
    for (int i = 0; i < 50; ++i) {
        t.restart();
        grid->setTopRow((i * 1999) % rows + 1);
        shot = grid->grab();
        scrolls.push_back(Ms(t));
    }
    std::sort(repaints.begin(), repaints.end());
    std::sort(scrolls.begin(), scrolls.end());

    malloc_trim(0);
    const long rssAfter = RssBytes();
    const double cells = static_cast<double>(rows) * cols;
    const double perCell = (rssAfter - rssBefore) / cells;

    // For comparison: the literal row-by-row pattern through QString, without BeginUpdate.
    QElapsedTimer lit;
    lit.start();
    {
        grid->setRowCount(2);
        std::ifstream in(path, std::ios::binary);
        std::string line;
        std::string_view fields[cols];
        int r = 1;
        while (std::getline(in, line)) {
            const int n = Split(TrimCr(line), fields, cols);
            grid->setRowCount(r + 1);
            for (int c = 0; c < n; ++c) grid->setCells(c, r, stallmark::FromBytes(fields[c].data(), fields[c].size()));
            ++r;
        }
        grid->Flush();
    }
    const double literal = Ms(lit);

    std::printf("string grid, %d rows x %d columns (%.0f cells), offscreen\n", rows, cols, cells);
    std::printf("%-44s %10.2f ms\n", "F: read and split the file (CPU, best of 8)", f);
    std::printf("%-44s %10.2f ms\n", "fill: read, split and store (CPU, best of 8)", fill);
    Report("fill minus F (the grid's own share)", fill - f, "ms", f, "(target <= 1 F)");
    std::printf("%-44s %10.2f F\n", "fill total / F", fill / f);
    std::printf("%-44s %10.2f ms\n", "first fill into fresh memory (CPU)", firstFill);
    Report("first paint (grab)", firstPaint, "ms", 10, "(target <= 10 ms)");
    Report("scroll to the end + paint", scrollEnd, "ms", 10, "(target <= 10 ms)");
    Report("repaint, median of 50", repaints[repaints.size() / 2], "ms", 10, "(target <= 10 ms)");
    Report("repaint, worst of 50", repaints.back(), "ms", 10, "(target <= 10 ms)");
    Report("scroll somewhere + paint, worst of 50", scrolls.back(), "ms", 10, "(target <= 10 ms)");
    Report("memory above the empty grid, per cell", perCell, "bytes", 32, "(target <= 32 bytes)");
    std::printf("%-44s %10.2f MB\n", "memory above the empty grid, total", (rssAfter - rssBefore) / 1048576.0);
    std::printf("%-44s %10.2f ms\n", "literal fill (RowCount per line, QString)", literal);
    std::remove(path.c_str());
    return 0;
}
