// The string grid alone, nine weapon columns filled from a weapon price file:
// a reload of every row (read, split, store, as a page reload does) against F on the
// same file, the first paint, scrolling and repainting, and memory per cell.
// Runs at 10k, 100k and 1M rows by default.

#include <QApplication>
#include <QPixmap>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "BenchData.h"
#include "BenchSupport.h"
#include "controls/StringGrid.h"
#include "store/Fields.h"
#include "store/Files.h"

using namespace stallmark;
using namespace stallmark::bench;

namespace {

constexpr int kCols = 9;

// One pass over the bytes, as a page's reload makes it: each line found and cut into its
// fields in place by the store's line scan (a CR before the LF dropped), the row stored
// at once.
void Fill(TStringGrid* grid, const std::string& path) {
    const std::string bytes = ReadFileBytes(path);
    const std::size_t lines = CountLineFeeds(bytes) + (!bytes.empty() && bytes.back() != '\n' ? 1 : 0);
    grid->BeginUpdate();
    grid->setRowCount(2);
    grid->ClearCells();
    grid->setRowTexts(0, QStringLiteral("Weapon,Magic,Accuracy,Durability,Special,Other,Date,Age,Price").split(u','));
    grid->setRowCount(static_cast<int>(lines) + 1);
    const std::string_view text(bytes);
    std::string_view fields[kCols];
    std::size_t commas[kCols];
    int r = 1;
    for (std::size_t begin = 0; begin < text.size();) {
        // A comma after the last column's text ends it; whatever follows is not shown.
        std::size_t found = 0;
        const std::size_t eol = ScanLine(text, begin, kCols, commas, found);
        std::size_t stop = eol == std::string_view::npos ? text.size() : eol;
        const std::size_t next = eol == std::string_view::npos ? text.size() : eol + 1;
        if (eol != std::string_view::npos && stop > begin && text[stop - 1] == '\r') --stop;
        std::size_t n = 0;
        for (std::size_t f = begin; n < kCols; ++n) {
            const std::size_t to = n < found ? commas[n] : stop;
            fields[n] = text.substr(f, to - f);
            if (n >= found) {
                ++n;
                break;
            }
            f = to + 1;
        }
        grid->setRowBytes(r++, std::span<const std::string_view>(fields, n));
        begin = next;
    }
    grid->EndUpdate();
}

void RunSize(int rows) {
    const int runs = Runs();
    ScratchFolder folder;
    folder.Write("MWPrice.dat", JoinLines(WeaponPriceLines(rows)));
    const std::string path = folder.File("MWPrice.dat");

    QWidget window;
    window.resize(338, 526);
    auto* grid = new TStringGrid(&window);
    grid->setGeometry(4, 4, 330, 500);
    grid->setColCount(kCols);
    grid->setDefaultRowHeight(17);
    const int widths[kCols] = {74, 76, 52, 48, 47, 56, 48, 21, 40};
    for (int c = 0; c < kCols; ++c) grid->setColWidths(c, widths[c]);
    grid->setColumnAlignment(7, Qt::AlignRight);
    grid->setColumnAlignment(8, Qt::AlignRight);
    grid->setRowSelect(true);
    window.show();
    QApplication::processEvents();
    (void)grid->grab();
    const long before = ResidentBytes();
    FloorOnce(path);
    Fill(grid, path);
    {
        Row row;
        row.action = "Grid: memory per cell, 9 weapon columns";
        row.size = rows;
        row.unit = "B/cell";
        row.value = StatsOf({static_cast<double>(ResidentBytes() - before) / (static_cast<double>(rows) * kCols)});
        row.target = AtMost(32);
        row.growth = Growth::Flat;
        Record(row);
    }
    {
        Row row;
        row.action = "Grid: reload of every row (read, split, store)";
        row.size = rows;
        const Measured m = MeasureAgainstFloor(
            path, runs, [] {}, [&] { Fill(grid, path); });
        row.value = m.action;
        row.floor = m.floor;
        row.target = TimesF(2);
        Record(row);
    }
    auto paintRow = [&](const char* action, int count, const std::function<void()>& setup,
                        const std::function<void()>& step) {
        Row row;
        row.action = action;
        row.size = rows;
        row.value = Measure(count, setup, step);
        row.target = AtMostMs(10);
        row.growth = Growth::Flat;
        Record(row);
    };
    QPixmap shot;
    // At least 41 runs of each paint: a paint takes a millisecond or two, and on a busy
    // machine the median of 20 still moved by half from one size to the next.
    const int paints = std::max(runs, 41);
    // A reload of 1M lines goes through some 150 MB and leaves nothing of the paint's
    // code and data in the processor's caches; one of 10k lines leaves nearly all of it.
    // The paint after a reload is timed from caches as cold at every size (a reload, then
    // a pass through more memory than the largest reload touches), so that what the
    // figure says from one size to the next is the paint's own work.
    std::vector<char> flood;
    auto coldCaches = [&] {
        if (flood.empty()) flood.assign(std::size_t{256} << 20, 0);
        for (std::size_t i = 0; i < flood.size(); i += 64) ++flood[i];
    };
    paintRow(
        "Grid: first paint after a reload (caches cold)", paints,
        [&] {
            Fill(grid, path);
            coldCaches();
        },
        [&] { shot = grid->grab(); });
    paintRow(
        "Grid: scroll to the end and paint", paints,
        [&] {
            grid->setRow(1);
            shot = grid->grab();
        },
        [&] {
            grid->setRow(grid->RowCount() - 1);
            shot = grid->grab();
        });
    paintRow(
        "Grid: repaint", paints, [] {}, [&] { shot = grid->grab(); });
    int i = 0;
    paintRow(
        "Grid: scroll anywhere and paint", paints, [] {},
        [&] {
            grid->setTopRow((i++ * 1999) % rows + 1);
            shot = grid->grab();
        });
}

}  // namespace

int main(int argc, char** argv) {
    return RunEachSize(argc, argv, kListSizes, [&](int rows) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        RunSize(rows);
    });
}
