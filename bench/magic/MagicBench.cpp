// The weapons page on the whole window, driven as a player drives it: a search box
// changed, a key typed in Other, Save of one item, Reorder from the popup menu,
// start-up to the first paint, and the memory the loaded page takes. F is measured
// on MWStock.dat in the same run. The armour page the same way (without Reorder and
// memory), F on MA1Stock.dat. Runs at 10k and 100k lines by default.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <cstdio>

#include "BenchData.h"
#include "BenchSupport.h"
#include "WindowBench.h"
#include "controls/StringGrid.h"
#include "store/Files.h"
#include "store/RecordFile.h"

using namespace stallmark;
using namespace stallmark::bench;

namespace {

constexpr int kColumns = 9;

void WritePickLists(BenchWindow& w) {
    for (const NamedFile& f : WeaponPickLists()) w.dir.Write(f.name, f.bytes);
}

// The row of a stock file written whole to a working copy and flushed to disk: the share
// of a rewrite that is the disk's, added to the rewrite's target.
Stats FlushRow(BenchWindow& w, const char* action, int lines, int runs, const std::string& bytes) {
    Row row;
    row.action = action;
    row.size = lines;
    const std::string copy = w.dir.File("Copy.dat");
    Stats flush = Measure(
        runs, [] {}, [&] { ReplaceFileAtomically(copy, bytes); });
    row.value = flush;
    Record(row);
    return flush;
}

void RunSize(int lines) {
    const int runs = Runs();
    std::vector<std::string> stock = WeaponStockLines(lines);
    std::vector<std::string> prices = WeaponPriceLines(lines);
    const std::string stockUnsorted = JoinLines(stock);
    const std::string pricesUnsorted = JoinLines(prices);
    SortRecordLines(stock);
    SortRecordLines(prices);
    const std::string stockSorted = JoinLines(stock);
    const std::string pricesSorted = JoinLines(prices);

    // Memory: the window on pick lists alone, then on the full files.
    long emptyBytes = 0;
    {
        BenchWindow empty;
        WritePickLists(empty);
        empty.Start();
        empty.Painted();
        emptyBytes = ResidentBytes();
        empty.Close();
    }

    BenchWindow w;
    WritePickLists(w);
    w.dir.Write("MWStock.dat", stockSorted);
    w.dir.Write("MWPrice.dat", pricesSorted);
    const std::string stockPath = w.dir.File("MWStock.dat");
    FloorOnce(stockPath);
    w.Start();
    w.Painted();
    TStringGrid* grid = w.Need<TStringGrid>("SGrid_MWDisplay");
    const int shown = grid->RowCount() - 1;
    {
        Row row;
        row.action = "Weapons: memory per grid cell after load";
        row.size = lines;
        row.unit = "B/cell";
        const double perCell =
            static_cast<double>(ResidentBytes() - emptyBytes) / (static_cast<double>(shown) * kColumns);
        row.value = StatsOf({perCell});
        row.target = AtMost(32);
        row.growth = Growth::Flat;
        row.note = "resident size of the process with the page loaded, less the same window on no data, per cell shown";
        Record(row);
    }
    if (shown != lines) std::printf("the grid shows %d of %d lines\n", shown, lines);

    {
        Row row;
        row.action = "Weapons: start-up to first paint (in process)";
        row.size = lines;
        const Measured m = MeasureAgainstFloor(
            stockPath, runs, [&] { w.Close(); }, [&] { w.Start(); });
        row.value = m.action;
        row.floor = m.floor;
        row.target = TimesFPlus(5, 50);
        row.note = "window built, both weapon files loaded, shown and painted once";
        Record(row);
    }
    grid = w.Need<TStringGrid>("SGrid_MWDisplay");

    QComboBox* weapon = w.Need<QComboBox>("Cb_Weapon");
    const int first = weapon->findText(QString::fromLatin1(WeaponNames()[0].c_str()));
    {
        Row row;
        row.action = "Weapons: search, one box to an entry";
        row.size = lines;
        const Measured m = MeasureAgainstFloor(
            stockPath, runs,
            [&] {
                weapon->setCurrentIndex(0);
                w.Painted();
            },
            [&] {
                weapon->setCurrentIndex(first);
                w.Painted();
            });
        row.value = m.action;
        row.floor = m.floor;
        row.target = TimesF(2);
        Record(row);
    }
    {
        Row row;
        row.action = "Weapons: search, one box back to (None)";
        row.size = lines;
        const Measured m = MeasureAgainstFloor(
            stockPath, runs,
            [&] {
                weapon->setCurrentIndex(first);
                w.Painted();
            },
            [&] {
                weapon->setCurrentIndex(0);
                w.Painted();
            });
        row.value = m.action;
        row.floor = m.floor;
        row.target = TimesF(2);
        Record(row);
    }
    {
        Row row;
        row.action = "Weapons: one key typed in Other";
        row.size = lines;
        QLineEdit* edit = w.Need<QComboBox>("Cb_MWOther")->lineEdit();
        edit->setFocus();
        int n = 0;
        const Measured m = MeasureAgainstFloor(
            stockPath, runs, [] {},
            [&] {
                QTest::keyClick(edit, (n++ % 2) ? Qt::Key_Backspace : Qt::Key_A);
                w.Painted();
            });
        row.value = m.action;
        row.floor = m.floor;
        row.target = TimesF(2);
        row.note = "every key reloads the whole list (Other does not filter)";
        Record(row);
        edit->clear();
        w.Painted();
    }
    // What a rewrite cannot do without: the weapon files written whole and flushed to disk.
    const Stats flush = FlushRow(w, "Weapons: flush to disk (replace the stock file)", lines, runs, stockSorted);
    Stats flushBoth;
    {
        Row row;
        row.action = "Weapons: flush to disk (replace both files)";
        row.size = lines;
        const std::string copy = w.dir.File("Copy.dat"), copy2 = w.dir.File("Copy2.dat");
        row.value = flushBoth = Measure(
            runs, [] {},
            [&] {
                ReplaceFileAtomically(copy, stockUnsorted);
                ReplaceFileAtomically(copy2, pricesUnsorted);
            });
        Record(row);
    }
    {
        Row row;
        row.action = "Weapons: Save of one item";
        row.size = lines;
        QComboBox* magic = w.Need<QComboBox>("Cb_MWMagic");
        QLineEdit* price = w.Need<QLineEdit>("Ed_MWPrice");
        const Measured m = MeasureAgainstFloor(
            stockPath, runs,
            [&] {
                WriteOnDisk(w.dir.File("MWStock.dat"), stockSorted);
                weapon->setCurrentIndex(first);
                magic->setCurrentIndex(magic->findText(QString::fromLatin1(MagicNames()[1].c_str())));
                price->setText(QStringLiteral("1500"));
                w.Painted();
            },
            [&] {
                w.Click("Btn_MWAdd");
                w.Painted();
            });
        row.value = m.action;
        row.floor = m.floor;
        row.target = TimesFPlus(3, flush.median);
        row.note =
            "ordered insert (file read, written, flushed) and the reload through the search; target: 3 F "
            "plus the flush of the stock file, measured in the same run";
        Record(row);
        if (!w.dialogs.boxes.empty()) std::printf("a message box was shown during Save\n");
        w.Click("Btn_MWReset");
        w.Painted();
    }
    {
        Row row;
        row.action = "Weapons: Reorder (both files)";
        row.size = lines;
        QAction* reorder = nullptr;
        const Measured m = MeasureAgainstFloor(
            {stockPath, w.dir.File("MWPrice.dat")}, runs,
            [&] {
                WriteOnDisk(w.dir.File("MWStock.dat"), stockUnsorted);
                WriteOnDisk(w.dir.File("MWPrice.dat"), pricesUnsorted);
                reorder = w.OpenMenu("Mp_Reorder");
            },
            [&] {
                w.ChooseMenuItem(reorder);
                w.Painted();
            });
        row.value = m.action;
        row.floor = m.floor;
        row.target = TimesFPlus(5, flushBoth.median);
        row.growth = Growth::NLogN;
        row.note =
            "both files unsorted, sorted and rewritten, then the grid reloaded; F of both files; target: "
            "5 F plus the flush of both files, measured in the same run";
        Record(row);
        if (w.dir.Read("MWStock.dat") != stockSorted) std::printf("Reorder left the stock file out of order\n");
    }
    w.Close();
}

// The armour page, shown at start-up, on MA1Stock.dat of the given size (the weapon files
// empty): start-up, the search both ways, a key in Other and Save, each against F on
// the armour stock file.
void RunArmourSize(int lines) {
    const int runs = Runs();
    std::vector<std::string> stock = ArmourStockLines(lines);
    std::vector<std::string> prices = ArmourPriceLines(lines);
    const std::string stockUnsorted = JoinLines(stock);
    SortRecordLines(stock);
    SortRecordLines(prices);
    const std::string stockSorted = JoinLines(stock);

    BenchWindow w;
    for (const NamedFile& f : ArmourPickLists()) w.dir.Write(f.name, f.bytes);
    w.settings.WriteInteger("LastPage", 1);  // the armour page is the one painted
    w.dir.Write("MA1Stock.dat", stockUnsorted);
    w.dir.Write("MA1Price.dat", JoinLines(prices));
    const std::string stockPath = w.dir.File("MA1Stock.dat");
    FloorOnce(stockPath);
    {
        Row row;
        row.action = "Armour: start-up to first paint (in process)";
        row.size = lines;
        const Measured m = MeasureAgainstFloor(
            stockPath, runs, [&] { w.Close(); }, [&] { w.Start(); });
        row.value = m.action;
        row.floor = m.floor;
        row.target = TimesFPlus(5, 50);
        row.note = "window built, both armour files loaded (stock unsorted), the armour page shown and painted once";
        Record(row);
    }
    const int shown = w.Need<TStringGrid>("SGrid_MArmDisplay")->RowCount() - 1;
    if (shown != lines) std::printf("the armour grid shows %d of %d lines\n", shown, lines);

    QComboBox* item = w.Need<QComboBox>("Cb_MAItem");
    const int first = item->findText(QString::fromLatin1(ArmourNames()[0].c_str()));
    {
        Row row;
        row.action = "Armour: search, one box to an entry";
        row.size = lines;
        const Measured m = MeasureAgainstFloor(
            stockPath, runs,
            [&] {
                item->setCurrentIndex(0);
                w.Painted();
            },
            [&] {
                item->setCurrentIndex(first);
                w.Painted();
            });
        row.value = m.action;
        row.floor = m.floor;
        row.target = TimesF(2);
        Record(row);
    }
    {
        Row row;
        row.action = "Armour: search, one box back to (None)";
        row.size = lines;
        const Measured m = MeasureAgainstFloor(
            stockPath, runs,
            [&] {
                item->setCurrentIndex(first);
                w.Painted();
            },
            [&] {
                item->setCurrentIndex(0);
                w.Painted();
            });
        row.value = m.action;
        row.floor = m.floor;
        row.target = TimesF(2);
        Record(row);
    }
    {
        Row row;
        row.action = "Armour: one key typed in Other";
        row.size = lines;
        QLineEdit* edit = w.Need<QComboBox>("Cb_MAOther")->lineEdit();
        edit->setFocus();
        int n = 0;
        const Measured m = MeasureAgainstFloor(
            stockPath, runs, [] {},
            [&] {
                QTest::keyClick(edit, (n++ % 2) ? Qt::Key_Backspace : Qt::Key_A);
                w.Painted();
            });
        row.value = m.action;
        row.floor = m.floor;
        row.target = TimesF(2);
        row.note = "every key reloads the whole list (Other does not filter)";
        Record(row);
        edit->clear();
        w.Painted();
    }
    // The stock file written whole and flushed to disk: the share of Save that is the disk's.
    const Stats flush = FlushRow(w, "Armour: flush to disk (replace the stock file)", lines, runs, stockSorted);
    {
        Row row;
        row.action = "Armour: Save of one item";
        row.size = lines;
        QComboBox* magic = w.Need<QComboBox>("Cb_MAMagic");
        QLineEdit* price = w.Need<QLineEdit>("Ed_MAPrice");
        const Measured m = MeasureAgainstFloor(
            stockPath, runs,
            [&] {
                WriteOnDisk(w.dir.File("MA1Stock.dat"), stockSorted);
                item->setCurrentIndex(first);
                magic->setCurrentIndex(magic->findText(QString::fromLatin1(ArmourMagicNames()[1].c_str())));
                price->setText(QStringLiteral("1500"));
                w.Painted();
            },
            [&] {
                w.Click("Btn_MAAdd");
                w.Painted();
            });
        row.value = m.action;
        row.floor = m.floor;
        row.target = TimesFPlus(3, flush.median);
        row.note =
            "ordered insert (file read, written, flushed) and the reload through the search; target: 3 F "
            "plus the flush of the stock file, measured in the same run";
        Record(row);
        if (!w.dialogs.boxes.empty()) std::printf("a message box was shown during the armour Save\n");
    }
    w.Close();
}

}  // namespace

int main(int argc, char** argv) {
    return RunEachSize(argc, argv, kListSizes, [&](int lines) {
        EnsureApplication(argc, argv);
        RunSize(lines);
        RunArmourSize(lines);
    });
}
