// The General list with 100,000 items: start-up to first paint, Save (check,
// sort, write) and a press of the sort button, each against F, the time to
// read "General.dat" and split every line into its fields, measured in the
// same run. Prints one line per figure.

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <random>

#include "app/PageControl.h"
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

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int items = argc > 1 ? std::atoi(argv[1]) : 100000;

    test::TempDir dir;
    dir.Write("General.dat", MakeFile(items));
    const std::string path = dir.File("General.dat");
    FloorMs(path);  // warm the file cache
    double floor = 1e9;
    for (int i = 0; i < 5; ++i) floor = std::min(floor, FloorMs(path));

    MemorySettings settings;
    settings.WriteInteger("LastPage", TStallmarkForm::pgGeneral);
    FixedClock clock(EncodeDate(2026, 12, 8));
    test::ScriptedDialogs dialogs;
    FakeGameWindows windows;
    CountingPacer pacer(&windows);
    AppContext context{dialogs, clock, settings, dir.Folder(), windows, pacer};

    QElapsedTimer t;
    t.start();
    TStallmarkForm form(context);
    form.show();
    QCoreApplication::sendPostedEvents();
    form.grab();  // first paint
    const double load = t.nsecsElapsed() / 1e6;

    auto* page = static_cast<TGeneralPage*>(form.PageList(TStallmarkForm::pgGeneral));
    t.restart();
    page->SaveGeneralList();
    const double save = t.nsecsElapsed() / 1e6;

    auto* sort = form.findChild<QAbstractButton*>("Btn_GeneralSort");
    t.restart();
    sort->click();  // next key: sorts and saves
    const double sortPress = t.nsecsElapsed() / 1e6;
    t.restart();
    page->SortGeneralList();
    const double sortOnly = t.nsecsElapsed() / 1e6;

    std::printf("items %d, boxes shown %zu\n", page->Grid()->RowCount() - 1, dialogs.boxes.size());
    std::printf("F (read + split)        %8.1f ms\n", floor);
    std::printf("start-up to first paint %8.1f ms  = %.2f F  (target <= 3 F + 50 ms)\n", load, load / floor);
    std::printf("save (check+sort+write) %8.1f ms  = %.2f F  (target <= 8 F)\n", save, save / floor);
    std::printf("sort button (sort+save) %8.1f ms  = %.2f F\n", sortPress, sortPress / floor);
    std::printf("sort alone              %8.1f ms  = %.2f F  (target <= 5 F)\n", sortOnly, sortOnly / floor);
    form.close();
    return 0;
}
