// The Memos page on the whole window, driven as a player drives it: a memo picked in
// the name box, and Save after a change to one memo. F is measured on Memos.dat in the
// same run. Memos.dat holds shop adverts with pauses, book pages and profiles in no
// particular order, about 2.4 KB each: 2,000 memos (5 MB) and 4,000 memos (10 MB).
// The sizes are memos, not lines, so STALLMARK_BENCH_SIZES does not apply here.
// Save's target holds the flush of Memos.dat to disk, measured in the same run in a row
// of its own: what any save that keeps the file whole through a crash must spend.

#include <QApplication>
#include <QComboBox>
#include <QPlainTextEdit>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "BenchSupport.h"
#include "WindowBench.h"
#include "controls/Text1252.h"
#include "store/Files.h"

using namespace stallmark;
using namespace stallmark::bench;

namespace {

const std::vector<std::string> kWords = {"vendor",
                                         "Britain",
                                         "bank",
                                         "prices",
                                         "best",
                                         "smith",
                                         "exceptional",
                                         "armour",
                                         "weapons",
                                         "reagents",
                                         "cheap",
                                         "come",
                                         "visit",
                                         "shop",
                                         "today",
                                         "Vesper",
                                         "Trinsic",
                                         "Moonglow",
                                         "the",
                                         "a",
                                         "of",
                                         "and",
                                         "for",
                                         "sale",
                                         "gold",
                                         "bulk",
                                         "orders",
                                         "caf\xE9",
                                         "fian\xE7"
                                         "ailles",
                                         "r\xEAve",
                                         "\x80"
                                         "5",
                                         "na\xEFve",
                                         "\xFF"
                                         "Ynez",
                                         "deeds",
                                         "runic",
                                         "hammers",
                                         "\x93quoted\x94",
                                         "chapter",
                                         "page",
                                         "dear",
                                         "reader",
                                         "yours",
                                         "truly"};
const std::vector<std::string> kTowns = {"Britain",    "Vesper", "Trinsic",  "Moonglow", "Yew",   "Minoc",
                                         "Skara Brae", "Jhelom", "Magincia", "Nujel'm",  "Ocllo", "Serpent's Hold"};

std::string Sentence(std::mt19937& rng, std::size_t length) {
    std::string line;
    while (line.size() < length) {
        if (!line.empty()) line += ' ';
        line += kWords[rng() % kWords.size()];
    }
    return line;
}

struct MemoData {
    std::string bytes;
    std::vector<std::string> names;  // in file order
    long lines = 0;
};

MemoData MakeMemos(int memos, unsigned seed = 2010) {
    std::mt19937 rng(seed);
    MemoData data;
    auto add = [&](const std::string& line) {
        data.bytes += line;
        data.bytes += "\r\n";
        ++data.lines;
    };
    for (int m = 0; m < memos; ++m) {
        const int kind = static_cast<int>(rng() % 3);
        const std::string town = kTowns[rng() % kTowns.size()];
        std::string name = kind == 0   ? "Advert " + town + " " + std::to_string(rng() % 10000)
                           : kind == 1 ? "book " + Sentence(rng, 8) + " p" + std::to_string(m)
                                       : "Profile " + town + std::to_string(m);
        if (name.size() > 40) name.resize(40);
        while (!name.empty() && name.back() == ' ') name.pop_back();
        data.names.push_back(name);
        add("[" + name + "]");
        const int lines = 20 + static_cast<int>(rng() % 41);  // 20 to 60, 40 on average
        for (int l = 0; l < lines; ++l) {
            const unsigned pick = rng() % 10;
            if (pick == 0)
                add("");
            else if (kind == 0 && pick == 1)
                add("\xAB" + std::to_string(5 + rng() % 60) + "\xBB");
            else
                add(Sentence(rng, 20 + rng() % 90));
        }
    }
    return data;
}

void RunSize(int memos) {
    const int runs = Runs();
    const MemoData data = MakeMemos(memos);

    BenchWindow w;
    w.settings.WriteInteger("LastPage", TStallmarkForm::pgMemos);
    w.dir.Write("Memos.dat", data.bytes);
    const std::string path = w.dir.File("Memos.dat");
    FloorOnce(path);
    w.Start();
    w.Painted();
    auto* box = w.Need<QComboBox>("Cb_MemoName");
    auto* editor = w.Need<QPlainTextEdit>("Memo_Memos");
    if (box->count() < 2) throw std::runtime_error("no memos in the name box");
    // Memos from all over the file, the later ones too.
    int n = 0;
    auto nextName = [&] { return FromBytes(data.names[(static_cast<size_t>(n++) * 7919) % data.names.size()]); };
    auto choose = [&](const QString& name) {
        const int index = box->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index < 1) throw std::runtime_error("memo not in the name box: " + name.toStdString());
        box->setCurrentIndex(index);
        emit box->activated(index);
    };
    const std::string size = std::to_string(memos) + " memos, " + std::to_string(data.bytes.size() / 1024) + " KB";
    {
        Row row;
        row.action = "Memos: a memo picked in the name box";
        row.size = data.lines;
        QString name;
        const Measured m = MeasureAgainstFloor(
            path, runs, [&] { name = nextName(); },
            [&] {
                choose(name);
                w.Painted();
            },
            true);
        row.value = m.action;
        row.floor = m.floor;
        row.target = TimesF(2);
        row.note = size + "; the memo's own bytes read from the file, the editor filled and painted";
        Record(row);
        if (editor->toPlainText().isEmpty()) std::printf("the memo shown is empty\n");
    }
    // What a save cannot do without: Memos.dat written whole and flushed to disk.
    Stats flush;
    {
        Row row;
        row.action = "Memos: flush to disk (replace Memos.dat)";
        row.size = data.lines;
        const std::string copy = w.dir.File("Copy.dat");
        row.value = flush = Measure(
            runs, [] {}, [&] { ReplaceFileAtomically(copy, data.bytes); });
        row.note = size + "; Memos.dat's bytes written to a working copy, synced, renamed over the file";
        Record(row);
    }
    {
        Row row;
        row.action = "Memos: Save after a change to one memo";
        row.size = data.lines;
        const Measured m = MeasureAgainstFloor(
            path, runs,
            [&] {
                choose(nextName());
                editor->moveCursor(QTextCursor::End);
                editor->insertPlainText(QStringLiteral(" !"));
                w.Painted();
            },
            [&] {
                w.Click("Btn_MemoSave");
                w.Painted();
            },
            true);
        row.value = m.action;
        row.floor = m.floor;
        row.target = TimesFPlus(3, flush.median);
        row.note = size +
                   "; the new file written whole, synced and renamed over Memos.dat, the names and the memo shown "
                   "again; target: 3 F plus the flush of the file, measured in the same run";
        Record(row);
        if (!w.dialogs.boxes.empty()) std::printf("%zu message boxes were shown\n", w.dialogs.boxes.size());
    }
    w.Close();
}

}  // namespace

int main(int argc, char** argv) {
    unsetenv("STALLMARK_BENCH_SIZES");  // sizes in memos, see above
    return RunEachSize(argc, argv, {2000, 4000}, [&](int memos) {
        EnsureApplication(argc, argv);
        RunSize(memos);
    });
}
