// Whole-window timings, offscreen:
// - start-up of the main window on an empty data folder, to first shown;
// - the General list with 100,000 items: start-up to first paint, Save
//   (check, sort, write) and a press of the sort button, each against F, the
//   time to read "General.dat" and split every line into its fields (the
//   list held as strings), measured in the same run.
// Optional argument: the number of General items (default 100,000).

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>

#include "app/StallmarkForm.h"
#include "controls/StringGrid.h"
#include "game/FakeGameWindows.h"
#include "lists/trade/GeneralPage.h"
#include "settings/MemorySettings.h"
#include "store/Fields.h"
#include "store/Files.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

using namespace stallmark;

namespace {

// Everything a main window is given, on a fresh folder and empty settings.
struct Window {
    test::TempDir dir;
    MemorySettings settings;
    FixedClock clock{EncodeDate(2026, 12, 8)};
    test::ScriptedDialogs dialogs;
    FakeGameWindows windows;
    CountingPacer pacer{&windows};
    std::unique_ptr<TStallmarkForm> form;

    // Builds and shows the window and paints it once; returns the milliseconds taken.
    double Start() {
        AppContext context{dialogs, clock, settings, dir.Folder(), windows, pacer};
        QElapsedTimer t;
        t.start();
        form = std::make_unique<TStallmarkForm>(context);
        form->show();
        QCoreApplication::sendPostedEvents();
        form->grab();
        return t.nsecsElapsed() / 1e6;
    }
};

std::string MakeFile(int items) {
    static const char* kTypes[] = {"Tools", "Dyes", "Cloth", "Reagents", "Scrolls", "Potions", "Gems", "Boards"};
    static const char* kWords[] = {"blue", "fine", "heavy", "old", "bright", "dark", "small", "large", "rare"};
    std::mt19937 rng(7);
    std::string out;
    for (int i = 0; i < items; ++i) {
        out += kTypes[rng() % 8];
        out += ',';
        out += kWords[rng() % 9];
        out += ' ';
        out += kWords[rng() % 9];
        out += " item ";
        out += std::to_string(rng() % 100000);
        out += ',';
        out += std::to_string(rng() % 1000000);
        out += "\r\n";
    }
    return out;
}

double FloorMs(const std::string& path) {
    QElapsedTimer t;
    t.start();
    // The list held in memory as strings, one vector of fields per line.
    std::vector<std::vector<std::string>> rows;
    LineReader reader(path);
    std::string_view line;
    while (reader.Next(line)) rows.push_back(SplitFields(line));
    if (rows.empty()) std::puts("empty file");
    return t.nsecsElapsed() / 1e6;
}

void StartupFigures() {
    std::vector<double> runs;
    for (int i = 0; i < 11; ++i) {
        Window w;
        runs.push_back(w.Start());
        w.form->close();
    }
    const double first = runs.front();  // includes loading fonts and styles once
    std::sort(runs.begin(), runs.end());
    std::printf(
        "start-up to first shown, empty folder: first %.1f ms, best %.1f ms, median %.1f ms"
        " (target <= 50 ms)\n",
        first, runs.front(), runs[runs.size() / 2]);
}

void GeneralFigures(int items) {
    Window w;
    w.dir.Write("General.dat", MakeFile(items));
    const std::string path = w.dir.File("General.dat");
    FloorMs(path);  // warm the file cache
    double floor = 1e9;
    for (int i = 0; i < 5; ++i) floor = std::min(floor, FloorMs(path));

    w.settings.WriteInteger("LastPage", TStallmarkForm::pgGeneral);
    const double load = w.Start();
    auto* page = dynamic_cast<TGeneralPage*>(w.form->Tab(TStallmarkForm::pgGeneral));
    QElapsedTimer t;
    t.start();
    page->SaveGeneralList();
    const double save = t.nsecsElapsed() / 1e6;
    auto* sort = w.form->findChild<QAbstractButton*>("Btn_GeneralSort");
    t.restart();
    sort->click();  // next key: sorts and saves
    const double sortPress = t.nsecsElapsed() / 1e6;
    t.restart();
    page->SortGeneralList();
    const double sortOnly = t.nsecsElapsed() / 1e6;

    std::printf("General items %d, boxes shown %zu\n", page->Grid()->RowCount() - 1, w.dialogs.boxes.size());
    std::printf("F (read + split)        %8.1f ms\n", floor);
    std::printf("start-up to first paint %8.1f ms  = %.2f F  (target <= 3 F + 50 ms)\n", load, load / floor);
    std::printf("save (check+sort+write) %8.1f ms  = %.2f F  (target <= 8 F)\n", save, save / floor);
    std::printf("sort button (sort+save) %8.1f ms  = %.2f F\n", sortPress, sortPress / floor);
    std::printf("sort alone              %8.1f ms  = %.2f F  (target <= 5 F)\n", sortOnly, sortOnly / floor);
    w.form->close();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    StartupFigures();
    GeneralFigures(argc > 1 ? std::atoi(argv[1]) : 100000);
    return 0;
}
