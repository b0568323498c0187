// The Bulk page on the whole window, driven as a player drives it: start-up to the first
// paint with both trees loaded and matched, Delete of a small and of a large order, New
// Bulk and New Large through the "Bulk Order" dialog (each: rewrite, reload, match, the
// new order selected). The size is the number of small orders, with a quarter as many
// large ones; by default 20,000 and 5,000. F is reading and splitting both files,
// measured on the same files in the same run, next to each run of the action.
// Rows that rewrite a file have the flush of that file (measured in the same run) added
// to their target; the start-up on empty files shows the window's own share.

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QItemSelectionModel>
#include <QTreeView>
#include <cstdio>
#include <random>
#include <stdexcept>

#include "BenchSupport.h"
#include "WindowBench.h"
#include "controls/CaptionedControls.h"
#include "controls/ToolButton.h"
#include "lists/bulk/BulkInputForm.h"
#include "store/Files.h"

using namespace stallmark;
using namespace stallmark::bench;

namespace {

// Deeds as players hold them: mostly iron and the common ores, mostly normal quality,
// amounts of 10, 15 and 20, in the order they were handed out (not sorted).
struct Deeds {
    std::mt19937 random;
    explicit Deeds(unsigned seed) : random(seed) {}
    int Pick(std::initializer_list<double> weights) {
        std::discrete_distribution<int> d(weights);
        return d(random);
    }
    int Ore() { return Pick({40, 12, 9, 9, 8, 7, 6, 5, 4}); }
    int Quality() { return Pick({70, 30}); }
    int Amount() { return 10 + 5 * Pick({45, 30, 25}); }
};

std::string Amount3(int amount) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.3d", amount);
    return buf;
}

std::string LargeLines(int count, unsigned seed) {
    Deeds d(seed);
    std::string out;
    for (int i = 0; i < count; ++i) {
        const int ore = d.Ore(), quality = d.Quality(), kind = d.Pick({35, 30, 20, 15});
        out += std::to_string(ore) + ',' + std::to_string(quality) + ',' + std::to_string(kind) + ',' +
               Amount3(d.Amount()) + "\r\n";
    }
    return out;
}

std::string SmallLines(int count, unsigned seed) {
    static constexpr int kPieces[3][7] = {{0, 1, 2, 3}, {7, 8, 9}, {14, 15, 16, 17, 18, 19, 20}};
    static constexpr int kCounts[3] = {4, 3, 7};
    Deeds d(seed);
    std::string out;
    for (int i = 0; i < count; ++i) {
        const int ore = d.Ore(), quality = d.Quality(), kind = d.Pick({35, 30, 35});
        const int piece = kPieces[kind][std::uniform_int_distribution<int>(0, kCounts[kind] - 1)(d.random)];
        out += std::to_string(ore) + ',' + std::to_string(quality) + ',' + std::to_string(kind) + ',' +
               std::to_string(piece) + ',' + Amount3(d.Amount()) + "\r\n";
    }
    return out;
}

// runs times: setup (not timed), F on both files, then the action; one of each first,
// untimed.
Measured AgainstBothFiles(BenchWindow& w, int runs, const std::function<void()>& setup,
                          const std::function<void()>& action) {
    const std::string large = w.dir.File("Lbod.dat"), small = w.dir.File("Bod.dat");
    auto floor = [&] { return FloorOnce(large) + FloorOnce(small); };
    std::vector<double> floors, actions;
    for (int i = 0; i <= runs; ++i) {
        setup();
        const double f = floor();
        const double start = NowMs();
        action();
        const double took = NowMs() - start;
        if (i == 0) continue;
        floors.push_back(f);
        actions.push_back(took);
    }
    return {StatsOf(actions), StatsOf(floors)};
}

// Counts the paints of a tree's rows.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// Waits (events processed, with a deadline) until the tree has painted its rows again:
// what the player sees is on the screen.
void UntilPainted(QTreeView* tree, PaintCounter& counter, int before) {
    const double deadline = NowMs() + 5000;
    while (counter.paints == before) {
        if (NowMs() > deadline) throw std::runtime_error(tree->objectName().toStdString() + " was never painted");
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

// The window built, shown and painted with both trees on the screen. The offscreen
// platform shows a window only when its events are processed, so they are.
void StartPainted(BenchWindow& w) {
    w.Start();
    auto* large = w.Need<QTreeView>("Tv_Lbod");
    auto* small = w.Need<QTreeView>("Tv_Bod");
    PaintCounter largePaints, smallPaints;
    large->viewport()->installEventFilter(&largePaints);
    small->viewport()->installEventFilter(&smallPaints);
    UntilPainted(large, largePaints, 0);
    UntilPainted(small, smallPaints, 0);
    large->viewport()->removeEventFilter(&largePaints);
    small->viewport()->removeEventFilter(&smallPaints);
}

// A button pressed, then the tree it changed laid out and painted.
void Press(BenchWindow& w, const char* button, QTreeView* tree) {
    PaintCounter counter;
    tree->viewport()->installEventFilter(&counter);
    w.Click(button);
    UntilPainted(tree, counter, 0);
    tree->viewport()->removeEventFilter(&counter);
}

void Focus(BenchWindow& w, QTreeView* tree, int row) {
    QApplication::setActiveWindow(w.form.get());
    tree->selectionModel()->setCurrentIndex(tree->model()->index(row, 0), QItemSelectionModel::ClearAndSelect);
    tree->setFocus();
    w.Painted();
}

// The dialog filled in and confirmed: the choices by their list positions.
std::function<int(QDialog&)> Enter(int amount, int quality, int ore, int armour, int piece) {
    return [=](QDialog& dialog) {
        auto& form = static_cast<TBulkInputForm&>(dialog);
        form.AmountBox()->setCurrentIndex(amount);
        form.QualityBox()->setCurrentIndex(quality);
        form.OreBox()->setCurrentIndex(ore);
        form.ArmourBox()->setCurrentIndex(armour);
        if (!form.Large()) form.PieceBox()->setCurrentIndex(piece);
        form.findChild<TToolBtnSig*>(QStringLiteral("Btn_Ok"))->click();
        return dialog.result();
    };
}

void RunSize(int smallCount) {
    const int runs = Runs();
    const int largeCount = smallCount / 4;
    const long size = smallCount + largeCount;
    const std::string large = LargeLines(largeCount, 2011);
    const std::string small = SmallLines(smallCount, 2012);

    BenchWindow w;
    w.settings.WriteInteger("LastPage", TStallmarkForm::pgBulk);
    auto write = [&] {
        w.dir.Write("Lbod.dat", large);
        w.dir.Write("Bod.dat", small);
    };
    write();
    {
        Row row;
        row.action = "Bulk: start-up to first paint (in process)";
        row.size = size;
        const Measured m = AgainstBothFiles(
            w, runs,
            [&] {
                w.Close();
                write();
            },
            [&] { StartPainted(w); });
        row.value = m.action;
        row.floor = m.floor;
        row.target = TimesFPlus(5, 50);
        row.note = "both trees loaded from unsorted files, matched, shown and painted once; F reads both files";
        Record(row);
    }
    if (!w.dialogs.boxes.empty()) std::printf("%zu message boxes were shown\n", w.dialogs.boxes.size());

    {
        // The window's own share of the start-up: the same window on empty bulk files.
        Row row;
        row.action = "Bulk: start-up to first paint, no orders (in process)";
        row.size = size;
        const Measured m = AgainstBothFiles(
            w, runs,
            [&] {
                w.Close();
                w.dir.Write("Lbod.dat", "");
                w.dir.Write("Bod.dat", "");
            },
            [&] { StartPainted(w); });
        row.value = m.action;
        row.growth = Growth::None;
        row.note = "no target: the window built, shown and painted with both trees empty";
        Record(row);
        w.Close();
        write();
        StartPainted(w);
    }
    // The disk's part of every Delete and New: the new file written, synced to the disk
    // and renamed over the old one (the folder synced too), with nothing else. Each is
    // timed in a row of its own here; the allowance of a rewrite's target is the same
    // flush of a copy of the file, timed again just before and just after that rewrite's
    // runs, as the disk's speed drifts from one minute to the next.
    auto flushOf = [&](const char* action, const char* name) {
        Row row;
        row.action = action;
        row.size = size;
        const std::string path = w.dir.File(name);
        const std::string bytes = ReadFileBytes(path);
        const Measured m = AgainstBothFiles(
            w, runs, [] {}, [&] { ReplaceFileAtomically(path, bytes); });
        row.value = m.action;
        row.floor = m.floor;
        row.growth = Growth::None;
        row.note = "no target: the share of the rows below that the file system's sync takes";
        Record(row);
        return TimedAround([copy = w.dir.File(std::string(name) + ".copy"), bytes] {
            ReplaceFileAtomically(copy, bytes);
        });
    };
    TimedAround smallFlush = flushOf("Bulk: Bod.dat replaced alone (write, sync, rename)", "Bod.dat");
    TimedAround largeFlush = flushOf("Bulk: Lbod.dat replaced alone (write, sync, rename)", "Lbod.dat");
    // A Delete or New takes a few milliseconds: at least 21 runs of each, as at 5 one slow
    // moment of the disk moved a median by a quarter.
    const int presses = std::max(runs, 21);
    auto timeRewrite = [&](Row& row, TimedAround& flush, const std::function<void()>& setup,
                           const std::function<void()>& action) {
        flush.Time((presses + 1) / 2);
        const Measured m = AgainstBothFiles(w, presses, setup, action);
        flush.Time((presses + 1) / 2);
        row.value = m.action;
        row.floor = m.floor;
        row.target = TimesFPlus(8, flush.Take().median);
    };

    auto* smallTree = w.Need<QTreeView>("Tv_Bod");
    auto* largeTree = w.Need<QTreeView>("Tv_Lbod");
    int n = 0;
    {
        Row row;
        row.action = "Bulk: Delete a small order (rewrite, reload, match)";
        row.size = size;
        timeRewrite(
            row, smallFlush, [&] { Focus(w, smallTree, (n++ * 7919) % smallTree->model()->rowCount()); },
            [&] { Press(w, "Btn_BulkDelete", smallTree); });
        row.note =
            "the question answered Yes; the file replaced, the tree rebuilt and both trees matched again; target: 8 F "
            "plus the flush of the file, timed just before and after its runs (the median)";
        Record(row);
    }
    {
        Row row;
        row.action = "Bulk: Delete a large order (rewrite, reload, match)";
        row.size = size;
        timeRewrite(
            row, largeFlush, [&] { Focus(w, largeTree, (n++ * 613) % largeTree->model()->rowCount()); },
            [&] { Press(w, "Btn_BulkDelete", largeTree); });
        row.note = "as above, on the large orders";
        Record(row);
    }
    {
        Row row;
        row.action = "Bulk: New Bulk (append, sort, reload, match)";
        row.size = size;
        timeRewrite(
            row, smallFlush,
            [&] {
                w.dialogs.modalHandlers.push_back(Enter(n % 20, n % 2, n % 9, 2, n % 7));
                w.dialogs.boxAnswers = {mbYes, mbNo};  // add it even when held; keep the timer
                ++n;
            },
            [&] { Press(w, "Btn_BulkNew", smallTree); });
        row.note =
            "the dialog filled and confirmed; the file sorted and replaced, reloaded, matched, the order selected";
        Record(row);
    }
    {
        Row row;
        row.action = "Bulk: New Large (append, sort, reload, match)";
        row.size = size;
        timeRewrite(
            row, largeFlush,
            [&] {
                w.dialogs.modalHandlers.push_back(Enter(n % 20, n % 2, n % 9, n % 4, -1));
                w.dialogs.boxAnswers = {mbYes, mbNo};
                ++n;
            },
            [&] { Press(w, "Btn_BulkLNew", largeTree); });
        row.note = "as above, on the large orders";
        Record(row);
    }
    w.Close();
}

}  // namespace

int main(int argc, char** argv) {
    return RunEachSize(argc, argv, {20000}, [&](int smallOrders) {
        EnsureApplication(argc, argv);
        RunSize(smallOrders);
    });
}
