#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCollator>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <numeric>
#include <random>

#include "controls/StringGrid.h"
#include "controls/Text1252.h"
#include "lists/trade/GeneralPage.h"
#include "store/Fields.h"
#include "store/Files.h"
#include "support/PageFixture.h"
#include "support/TempDir.h"

namespace stallmark::test {

namespace {

// The General page on its own, with General.dat holding `file`.
struct GeneralFixture : PageFixture<TGeneralPage> {
    TGeneralPage* page = nullptr;
    TStringGrid* grid = nullptr;

    explicit GeneralFixture(const std::string& file = "", bool start = true) {
        dir.Write("General.dat", file);
        page = &Build();
        grid = page->Grid();
        if (start) Start();
    }

    QAbstractButton* Button(const char* name) { return Find<QAbstractButton>(name); }
    void Click(const char* name) {
        QAbstractButton* b = Button(name);
        ASSERT_TRUE(b && b->isEnabled()) << name;
        b->click();
    }
    QStringList Rows() {
        QStringList out;
        for (int r = 1; r < grid->RowCount(); ++r) out << grid->RowTexts(r).join("|");
        return out;
    }
    std::string File() { return dir.Read("General.dat"); }
    QString Count() { return Button("Btn_NoItems")->text(); }
};

}  // namespace

TEST(GeneralList, LoadsItemsSkipsBlankLinesAndCollectsTypes) {
    GeneralFixture f("Tools,Smith hammer,25\r\n,,\r\n  , ,\r\nDyes,Blue dye,100\nDYES,Red dye,90\ntools,Tongs,5,extra");
    EXPECT_EQ(f.Rows(),
              QStringList({"Tools|Smith hammer|25", "Dyes|Blue dye|100", "DYES|Red dye|90", "tools|Tongs|5"}));
    EXPECT_EQ(f.grid->RowTexts(0), QStringList({"Type", "Description", "Value"}));
    EXPECT_EQ(f.Count(), "No Items : 4");
    auto* types = f.Find<QComboBox>("Cb_OthType");
    ASSERT_EQ(types->count(), 2);
    EXPECT_EQ(types->itemText(0), "Dyes");
    EXPECT_EQ(types->itemText(1), "Tools");
    EXPECT_EQ(types->maxVisibleItems(), 2);
    EXPECT_FALSE(f.Button("Btn_GenSave")->isEnabled());
    EXPECT_TRUE(f.Button("Btn_GenSend")->isEnabled());
    EXPECT_EQ(f.grid->ColWidths(0), 62);
    EXPECT_EQ(f.grid->DefaultRowHeight(), 16);
}

// The first load takes the rows read ahead while the file is as it was then; a file
// changed since is read again. Either way the page is what the file holds.
TEST(GeneralList, FirstLoadTakesTheReadAheadOnlyWhileTheFileIsUnchanged) {
    const std::string lines = "Tools,Smith hammer,25\r\nDyes,Blue dye,100\r\n,,\r\nDYES,Red dye,9\xE9";
    const QStringList rows({"Tools|Smith hammer|25", "Dyes|Blue dye|100", QString::fromUtf8("DYES|Red dye|9\xC3\xA9")});
    {
        GeneralFixture f(lines, false);
        f.page->UsePreload(TGeneralPage::StartPreload(f.dir.File("General.dat")));
        f.Start();
        EXPECT_EQ(f.Rows(), rows);
        EXPECT_EQ(f.grid->RowTexts(0), QStringList({"Type", "Description", "Value"}));
        EXPECT_EQ(f.Count(), "No Items : 3");
        EXPECT_EQ(f.Find<QComboBox>("Cb_OthType")->count(), 2);
        // Loads after the first read the file.
        f.dir.Write("General.dat", "Reagents,Ginseng,5\r\n");
        f.page->LoadGeneralList();
        EXPECT_EQ(f.Rows(), QStringList({"Reagents|Ginseng|5"}));
    }
    {
        // Read ahead, then the file rewritten before the page loads.
        GeneralFixture f(lines, false);
        const std::string path = f.dir.File("General.dat");
        auto old = std::make_shared<TGeneralPage::FileLoad>();
        TGeneralPage::ReadFile(path, *old);
        f.page->UsePreload(std::make_unique<Preload<TGeneralPage::FileLoad>>([old] { return std::move(*old); }));
        f.dir.Write("General.dat", "Reagents,Ginseng,5\r\nReagents,Garlic,6\r\n");
        f.Start();
        EXPECT_EQ(f.Rows(), QStringList({"Reagents|Ginseng|5", "Reagents|Garlic|6"}));
        EXPECT_EQ(f.Count(), "No Items : 2");
    }
    {
        // A read ahead that failed (the file was missing then) leaves the load to read it.
        GeneralFixture f(lines, false);
        f.page->UsePreload(TGeneralPage::StartPreload(f.dir.File("Missing.dat")));
        f.Start();
        EXPECT_EQ(f.Rows(), rows);
    }
}

// Files of random lines (commas anywhere, blanks, CR on its own, every line end, a last
// line without one) load as the line reader and the field functions read them.
TEST(GeneralList, LoadReadsLinesAndFieldsAsTheFieldFunctions) {
    std::mt19937 rng(29);
    const char pieces[] = {'a', 'B', ',', ',', ' ', '\r', '\xE9', '1'};
    const char* ends[] = {"\r\n", "\n", "\r\n", "\r\r\n"};
    for (int round = 0; round < 100; ++round) {
        std::string file;
        const int lines = static_cast<int>(rng() % 12);
        for (int i = 0; i < lines; ++i) {
            const int size = static_cast<int>(rng() % 9);
            for (int k = 0; k < size; ++k) file += pieces[rng() % sizeof pieces];
            if (i + 1 < lines || rng() % 2) file += ends[rng() % 4];
        }
        if (round % 5 == 0) file += "Last,line\r";  // a CR that ends no line
        QStringList expected;
        {
            TempDir dir;
            dir.Write("x.dat", file);
            LineReader reader(dir.File("x.dat"));
            std::string_view line;
            while (reader.Next(line)) {
                const std::string_view type = GetFieldView(1, ',', line), desc = GetFieldView(2, ',', line);
                if (IsBlank(type) && IsBlank(desc)) continue;
                expected << QStringList({FromBytes(std::string(type)), FromBytes(std::string(desc)),
                                         FromBytes(std::string(GetFieldView(3, ',', line)))})
                                .join("|");
            }
        }
        GeneralFixture f(file);
        if (expected.isEmpty()) expected << "||";
        ASSERT_EQ(f.Rows(), expected) << "round " << round << ": " << testing::PrintToString(file);
    }
}

// A comma or a line feed is found wherever it stands in a Type or Description of any
// length, and only there.
TEST(GeneralList, CommasAndLineFeedsAreFoundAnywhereInTheTexts) {
    for (size_t length = 1; length <= 25; ++length) {
        const std::string plain(length, 'k');
        ASSERT_TRUE(IsPlainGeneralRow({plain, plain, "5"})) << length;
        ASSERT_FALSE(GeneralRowBreaksLine({plain, plain, "5"})) << length;
        for (size_t at = 1; at + 1 < length; ++at) {  // not at the ends, which blanks would also fail
            std::string comma = plain, feed = plain;
            comma[at] = ',';
            feed[at] = '\n';
            ASSERT_FALSE(IsPlainGeneralRow({comma, plain, "5"})) << length << " at " << at;
            ASSERT_FALSE(IsPlainGeneralRow({plain, comma, "5"})) << length << " at " << at;
            ASSERT_TRUE(GeneralRowBreaksLine({feed, plain, "5"})) << length << " at " << at;
            ASSERT_TRUE(GeneralRowBreaksLine({plain, feed, "5"})) << length << " at " << at;
            // Bytes that differ from a comma by one bit, or sit beside it, are not one.
            for (const char near : {'\x2D', '\x2B', '\xAC', '\x0C', '\x0B', '\x8A'}) {
                std::string other = plain;
                other[at] = near;
                ASSERT_TRUE(IsPlainGeneralRow({other, other, "5"})) << length << " at " << at << " " << int(near);
                ASSERT_FALSE(GeneralRowBreaksLine({other, other, "5"})) << length << " at " << at;
            }
        }
    }
}

// Lines of every length, over many buffers' worth, are written byte for byte as the
// content they make (a line that will not fit the buffer's rest starts the next one).
TEST(GeneralList, WritesLongFilesByteForByte) {
    std::mt19937 rng(71);
    std::vector<std::array<std::string, 3>> rows(60000);
    for (auto& row : rows)
        for (size_t col = 0; col < 3; ++col) {
            row[col].resize(rng() % (col == 1 ? 140 : 20));
            for (char& c : row[col]) c = static_cast<char>('!' + rng() % 200);
        }
    rows[777][1] = std::string(3 << 20, 'L');  // one line longer than the buffer
    auto row = [&](size_t i) { return GeneralRow{rows[i][0], rows[i][1], rows[i][2]}; };
    TempDir dir;
    WriteGeneralFile(dir.File("General.dat"), rows.size(), row);
    const std::string expected = GeneralFileContent(rows.size(), row);
    ASSERT_GT(expected.size(), size_t{8} << 20);
    EXPECT_TRUE(dir.Read("General.dat") == expected);
}

TEST(GeneralList, EmptyFileShowsOneEmptyRow) {
    GeneralFixture f;
    EXPECT_EQ(f.Rows(), QStringList({"||"}));
    EXPECT_EQ(f.Count(), "No Items : 1");
    // New reuses the empty row rather than adding a second.
    f.Click("Btn_GenNew");
    EXPECT_EQ(f.grid->RowCount(), 2);
    EXPECT_TRUE(f.page->IsEditing());
    EXPECT_EQ(f.grid->Col(), TGeneralPage::kColType);
}

TEST(GeneralList, SaveCorrectsValuesAndCleansTexts) {
    GeneralFixture f;
    f.Click("Btn_GenNew");
    f.grid->setRowTexts(1, {"Dyes, rare", "Blue, dark", "1,500 gp"});
    f.Click("Btn_GenNew");
    f.grid->setRowTexts(2, {"Tools", "Hammer", "0012"});
    f.Click("Btn_GenNew");
    f.grid->setRowTexts(3, {"Tools", "Tongs", ""});
    f.Click("Btn_GenSave");
    ASSERT_EQ(f.dialogs.boxes.size(), 2u);
    EXPECT_EQ(f.dialogs.boxes[0].text, "Blue, dark\n\rInvalid Value 1,500 gp\n\rAltered to 1500 !");
    EXPECT_EQ(f.dialogs.boxes[0].kind, MsgKind::Warning);
    EXPECT_EQ(f.dialogs.boxes[0].buttons, mbOK | mbCancel);
    EXPECT_EQ(f.dialogs.boxes[1].text, "Hammer\n\rInvalid Value 0012\n\rAltered to 12 !");
    EXPECT_EQ(f.File(), "Dyes  rare,Blue  dark,1500\r\nTools,Hammer,12\r\nTools,Tongs,0\r\n");
    EXPECT_FALSE(f.page->IsEditing());
    EXPECT_EQ(f.Count(), "No Items : 3");
}

TEST(GeneralList, CancelInTheValueBoxKeepsEditingAndTheFile) {
    GeneralFixture f("Tools,Hammer,25\r\n");
    f.Click("Btn_GenEdit");
    f.grid->setCells(2, 1, "12345678901");  // ten or more characters always ask
    f.dialogs.boxAnswers.push_back(mbCancel);
    f.Click("Btn_GenSave");
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.dialogs.boxes[0].text, "Hammer\n\rInvalid Value 12345678901\n\rAltered to 123456789 !");
    EXPECT_TRUE(f.page->IsEditing());
    EXPECT_EQ(f.File(), "Tools,Hammer,25\r\n");
    // Reset throws the edit away.
    f.Click("Btn_GenCancel");
    EXPECT_EQ(f.Rows(), QStringList({"Tools|Hammer|25"}));
    EXPECT_FALSE(f.page->IsEditing());
}

TEST(GeneralList, LongTextsAreCutWithABox) {
    GeneralFixture f;
    f.Click("Btn_GenNew");
    const QString type30 = QString(30, 'T');
    f.grid->setRowTexts(1, {type30, QString(130, 'd'), "5"});
    f.Click("Btn_GenSave");
    ASSERT_EQ(f.dialogs.boxes.size(), 2u);
    EXPECT_EQ(f.dialogs.boxes[0].text, QString(130, 'd') + "\n\rType truncated (25 Max)");
    EXPECT_EQ(f.dialogs.boxes[1].text, QString(120, 'd') + "\n\rDescription truncated (120 Max)");
    EXPECT_EQ(f.File(), std::string(25, 'T') + "," + std::string(120, 'd') + ",5\r\n");
}

TEST(GeneralList, SortKeysCycleAndOrderAsTheyShould) {
    GeneralFixture f("Dyes,Blue,100\r\nDye,Red,25\r\ndye,Amber,7\r\nTools,Axe,100\r\n");
    EXPECT_EQ(f.Button("Btn_GeneralSort")->text(), "Type");
    f.Click("Btn_GeneralSort");  // -> Description
    EXPECT_EQ(f.Button("Btn_GeneralSort")->text(), "Description");
    EXPECT_EQ(f.File(), "dye,Amber,7\r\nTools,Axe,100\r\nDyes,Blue,100\r\nDye,Red,25\r\n");
    f.Click("Btn_GeneralSort");  // -> Value: 25 before 100
    EXPECT_EQ(f.File(), "dye,Amber,7\r\nDye,Red,25\r\nDyes,Blue,100\r\nTools,Axe,100\r\n");
    f.Click("Btn_GeneralSort");  // -> Type: "Dye" before "Dyes", dye and Dye side by side
    const QStringList rows = f.Rows();
    EXPECT_EQ(rows.mid(2), QStringList({"Dyes|Blue|100", "Tools|Axe|100"}));
    EXPECT_TRUE(rows[0].startsWith("dye|") || rows[0].startsWith("Dye|"));
    EXPECT_TRUE(rows[1].startsWith("dye|") || rows[1].startsWith("Dye|"));

    // The key is kept between runs as 1, 2 or 3.
    f.Close();
    EXPECT_EQ(f.settings.Strings().at("General Sort"), "1");
}

namespace {

// The sort as it was first written, kept as the reference: every row's key built as a
// text (Type padded to the longest Type, Description padded, the value as "%.9d", in
// the order of the sort key), case-folded, given to the collator as a sort key, and the
// rows stably sorted by those keys. Returns the rows' texts in that order.
QStringList ReferenceSorted(const TStringGrid& grid, const QString& sortKey) {
    const int rows = grid.RowCount() - 1;
    qsizetype typeWidth = 0, descWidth = 0;
    for (int row = 1; row <= rows; ++row) {
        typeWidth = std::max(typeWidth, grid.Cells(0, row).size());
        descWidth = std::max(descWidth, grid.Cells(1, row).size());
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<QCollatorSortKey> keys;
    for (int row = 1; row <= rows; ++row) {
        const QString type = grid.Cells(0, row).leftJustified(typeWidth, ' ');
        const QString desc = grid.Cells(1, row).leftJustified(descWidth, ' ');
        const QString value = QString::asprintf("%.9d", ToIntOrZero(ToBytes(grid.Cells(2, row))));
        QString key;
        if (sortKey == "Description")
            key = desc + type + value;
        else if (sortKey == "Value")
            key = value + type + desc;
        else
            key = type + desc + value;
        keys.push_back(collator.sortKey(key.toCaseFolded()));
    }
    std::vector<int> order(static_cast<size_t>(rows));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return keys[a].compare(keys[b]) < 0; });
    QStringList out;
    for (int index : order) out << grid.RowTexts(index + 1).join("|");
    return out;
}

// Types and descriptions as players type them: letter case mixed, one a prefix of
// another, Windows-1252 letters that fold (É é, Š š, Ÿ ÿ, Œ œ, µ, ß), symbols and
// blanks around them, empty ones, long ones, and many repeats.
struct RandomRows {
    std::mt19937 rng;
    explicit RandomRows(unsigned seed) : rng(seed) {}

    std::string Text(bool description) {
        static const std::vector<std::string> words = {"Dye",
                                                       "Dyes",
                                                       "dye",
                                                       "DYES",
                                                       "dyes ",
                                                       "Tools",
                                                       "tools",
                                                       "TOOLS",
                                                       "Tool",
                                                       "D\xE9"
                                                       "cor",
                                                       "Decor",
                                                       "D\xC9"
                                                       "COR",
                                                       "\x8A"
                                                       "ale",
                                                       "\x9A"
                                                       "ale",
                                                       "\x9F"
                                                       "es",
                                                       "\xFF"
                                                       "es",
                                                       "\x8C"
                                                       "uvre",
                                                       "\x9C"
                                                       "uvre",
                                                       "\xB5"
                                                       "m",
                                                       "Stra\xDF"
                                                       "e",
                                                       "Strasse",
                                                       "\x80",
                                                       "\xAB"
                                                       "rare\xBB",
                                                       " ",
                                                       "",
                                                       "a",
                                                       "A",
                                                       "b",
                                                       "1",
                                                       "10",
                                                       "9",
                                                       "-",
                                                       "_",
                                                       "~",
                                                       "z",
                                                       "Z",
                                                       "\xE6",
                                                       "\xC6",
                                                       "x\ty",
                                                       "\x01",
                                                       "zz"};
        const unsigned count = description ? rng() % 5 : rng() % 2 + (rng() % 5 == 0 ? 1 : 0);
        std::string text;
        for (unsigned i = 0; i < count; ++i) {
            if (i > 0 && rng() % 3) text += ' ';
            text += words[rng() % words.size()];
        }
        if (rng() % 40 == 0) text += std::string(20 + rng() % 10, 'x');  // longer than the usual
        return text;
    }
    std::string Value() {
        // Ten-digit values and the nine-digit ones they begin with, whose keys do not line up.
        static const std::vector<std::string> odd = {"",          "0",          "00",        "007",       "abc",
                                                     "1,500",     "-5",         "+12",       "999999999", "1000000000",
                                                     "100000000", "2147483647", "214748364", " 5"};
        if (rng() % 4 == 0) return odd[rng() % odd.size()];
        return std::to_string(rng() % (rng() % 2 ? 100 : 100000));
    }
    // Fills the grid with count rows; with wide, some cells hold text outside Windows-1252.
    void Fill(TStringGrid& grid, int count, bool wide) {
        grid.setRowCount(count + 1);
        std::vector<std::array<std::string, 3>> made;
        for (int row = 1; row <= count; ++row) {
            std::array<std::string, 3> cells{Text(false), Text(true), Value()};
            if (!made.empty() && rng() % 6 == 0) cells = made[rng() % made.size()];  // an equal key
            made.push_back(cells);
            for (int col = 0; col < 3; ++col) grid.setCellBytes(col, row, cells[static_cast<size_t>(col)]);
            if (wide && rng() % 10 == 0)
                grid.setCells(
                    static_cast<int>(rng() % 2), row,
                    grid.Cells(0, row) + (rng() % 2 ? QString(QChar(0x03A9)) : QString::fromUcs4(U"\U0001F600")));
        }
    }
};

// Runs fn with the default locale set to locale, then sets it back.
template <typename Fn>
void WithLocale(const QLocale& locale, Fn fn) {
    const QLocale before;
    QLocale::setDefault(locale);
    fn();
    QLocale::setDefault(before);
}

}  // namespace

// The sort gives, row for row, the order of the reference: thousands of random rows in
// every sort key, in the C collation (worked out on the bytes) and in the collations of
// a few locales, with text outside Windows-1252 and values of every form.
TEST(GeneralList, SortGivesTheOrderOfTheReference) {
    GeneralFixture f("Dye,Red,1\r\n");
    const QString keys[] = {QStringLiteral("Type"), QStringLiteral("Description"), QStringLiteral("Value")};
    const std::vector<QLocale> locales = {QLocale::c(), QLocale(QLocale::English, QLocale::UnitedStates),
                                          QLocale(QLocale::French, QLocale::France),
                                          QLocale(QLocale::Czech, QLocale::CzechRepublic)};
    RandomRows random(17);
    for (const QLocale& locale : locales) {
        WithLocale(locale, [&] {
            const int rounds = locale == QLocale::c() ? 400 : 40;
            for (int round = 0; round < rounds; ++round) {
                // Now and then more rows than the sort ranks without dealing them into buckets.
                const int count = round % 100 == 99  ? 6000
                                  : round % 50 == 49 ? 2000
                                                     : static_cast<int>(random.rng() % 40) + 1;
                random.Fill(*f.grid, count, round % 7 == 3);
                const QString key = keys[random.rng() % 3];
                f.Button("Btn_GeneralSort")->setText(key);
                const QStringList expected = ReferenceSorted(*f.grid, key);
                f.page->SortGeneralList();
                ASSERT_EQ(f.Rows(), expected)
                    << locale.name().toStdString() << " round " << round << " by " << key.toStdString();
                // Sorting rows already in order leaves them.
                f.page->SortGeneralList();
                ASSERT_EQ(f.Rows(), expected) << locale.name().toStdString() << " round " << round << " again";
            }
        });
    }
}

TEST(GeneralList, UnknownSortSettingReadsAsType) {
    GeneralFixture f("", false);
    f.settings.WriteInteger("General Sort", 7);
    f.Start();
    EXPECT_EQ(f.Button("Btn_GeneralSort")->text(), "Type");
    f.Close();
    EXPECT_EQ(f.settings.Strings().at("General Sort"), "1");
}

// Rows in order but for a few changed ones (a save after an edit) end in the order of
// the reference, equal keys included, whichever key and however the few moved.
TEST(GeneralList, NearlySortedRowsEndInTheOrderOfTheReference) {
    GeneralFixture f("Dye,Red,1\r\n");
    const QString keys[] = {QStringLiteral("Type"), QStringLiteral("Description"), QStringLiteral("Value")};
    RandomRows random(29);
    WithLocale(QLocale::c(), [&] {
        for (int round = 0; round < 300; ++round) {
            const int count = round % 30 == 29 ? 3000 : static_cast<int>(random.rng() % 60) + 2;
            random.Fill(*f.grid, count, false);
            const QString key = keys[random.rng() % 3];
            f.Button("Btn_GeneralSort")->setText(key);
            f.page->SortGeneralList();
            ASSERT_EQ(f.Rows(), ReferenceSorted(*f.grid, key)) << round;
            // A few rows changed: new texts, another row's key, or blanks.
            const int changes = static_cast<int>(random.rng() % (round % 3 == 0 ? 20 : 3)) + 1;
            for (int c = 0; c < changes; ++c) {
                const int row = static_cast<int>(random.rng() % static_cast<unsigned>(count)) + 1;
                const int other = static_cast<int>(random.rng() % static_cast<unsigned>(count)) + 1;
                switch (random.rng() % 3) {
                    case 0:
                        f.grid->setCellBytes(static_cast<int>(random.rng() % 2), row, random.Text(true));
                        f.grid->setCellBytes(2, row, random.Value());
                        break;
                    case 1:
                        for (int col = 0; col < 3; ++col) f.grid->setCells(col, row, f.grid->Cells(col, other));
                        break;
                    default: f.grid->setCellBytes(2, row, random.Value());
                }
            }
            if (round % 2 == 0) {
                const QStringList expected = ReferenceSorted(*f.grid, key);
                f.page->SortGeneralList();
                ASSERT_EQ(f.Rows(), expected) << "round " << round << " by " << key.toStdString();
                continue;
            }
            // A save: the check (which finds where the rows step down as it goes) and
            // the sort; the rows are corrected first, so that the check changes nothing.
            ASSERT_TRUE(f.page->CheckGeneralList());
            const QStringList expected = ReferenceSorted(*f.grid, key);
            ASSERT_TRUE(f.page->SaveGeneralList());
            ASSERT_EQ(f.Rows(), expected) << "round " << round << " by " << key.toStdString() << " (save)";
        }
    });
}

// Pressing the sort button again and again reuses what the last sort learned of the
// texts only while they stay as they were: a text changed in place (same length, same
// place in the grid's memory), a row added or cleared, all show in the next order.
TEST(GeneralList, SortsOneAfterAnotherFollowEveryChangeOfText) {
    GeneralFixture f("Dye,Red,1\r\n");
    const QString keys[] = {QStringLiteral("Type"), QStringLiteral("Description"), QStringLiteral("Value")};
    RandomRows random(41);
    WithLocale(QLocale::c(), [&] {
        random.Fill(*f.grid, 1200, false);
        for (int round = 0; round < 90; ++round) {
            const int rows = f.grid->RowCount() - 1;
            const int row = static_cast<int>(random.rng() % static_cast<unsigned>(rows)) + 1;
            switch (round % 6) {
                case 1: {  // same length, written over the old text where it lies
                    std::string text = f.grid->CellBytes(1, row);
                    if (!text.empty()) text[0] = text[0] == 'a' ? 'z' : 'a';
                    f.grid->setCellBytes(1, row, text);
                    break;
                }
                case 2: f.grid->setCellBytes(0, row, random.Text(false)); break;
                case 3:
                    f.grid->setRowCount(rows + 2);
                    f.grid->setCellBytes(1, rows + 1, random.Text(true));
                    f.grid->setCellBytes(0, rows + 2, random.Text(false));
                    break;
                case 4: f.grid->DeleteRow(row); break;
                default: break;  // nothing changed: the next key's sort reuses the ranks
            }
            const QString key = keys[round % 3];
            f.Button("Btn_GeneralSort")->setText(key);
            const QStringList expected = ReferenceSorted(*f.grid, key);
            f.page->SortGeneralList();
            ASSERT_EQ(f.Rows(), expected) << "round " << round << " by " << key.toStdString();
        }
    });
}

namespace {

// A General.dat of rows the save's check leaves as they are (a press saves them).
std::string PlainRandomFile(RandomRows& random, int rows) {
    std::string file;
    for (int i = 0; i < rows;) {
        const std::string type = random.Text(false), desc = random.Text(true), value = random.Value();
        if (!IsPlainGeneralRow({type, desc, value}) || (type.empty() && desc.empty())) continue;
        file += type + "," + desc + "," + value + "\r\n";
        ++i;
    }
    return file;
}

// The sort button pressed three times (it moves the key on, so it comes round to each
// key): after each press the rows are in the reference's order.
void PressRoundTheKeys(GeneralFixture& f, int round) {
    for (int press = 0; press < 3; ++press) {
        const QString next = f.Button("Btn_GeneralSort")->text() == "Type"          ? "Description"
                             : f.Button("Btn_GeneralSort")->text() == "Description" ? "Value"
                                                                                    : "Type";
        const QStringList expected = ReferenceSorted(*f.grid, next);
        f.Click("Btn_GeneralSort");
        ASSERT_EQ(f.Rows(), expected) << "round " << round << " press " << press << " by " << next.toStdString();
    }
}

}  // namespace

// A long list's ranks are worked out from the file while the window goes on: the first
// sort after the load, and sorts after cells changed meanwhile, end as the reference.
TEST(GeneralList, SortsOfALongListJustLoadedEndAsTheReference) {
    RandomRows random(61);
    WithLocale(QLocale::c(), [&] {
        for (int round = 0; round < 6; ++round) {
            GeneralFixture f(PlainRandomFile(random, 5000), false);
            f.settings.WriteInteger("General Sort", round % 3 + 1);
            f.Start();
            if (round >= 3) {  // a cell changed before the first sort
                f.grid->setCellBytes(1, 1 + round * 7, "Changed " + std::to_string(round));
            }
            ASSERT_NO_FATAL_FAILURE(PressRoundTheKeys(f, round));
        }
    });
}

// The ranks worked out ahead while the window waits, a slice of rows at each turn of the
// event loop: whole, cut short by a change of cells (and started again), or overtaken by
// a press, every sort after ends as the reference; a save asks for them again.
TEST(GeneralList, RanksWorkedOutAheadLeaveEverySortAsTheReference) {
    RandomRows random(67);
    WithLocale(QLocale::c(), [&] {
        for (int round = 0; round < 5; ++round) {
            GeneralFixture f(PlainRandomFile(random, 3000), false);
            f.page->SetRankingSlice(400);
            f.settings.WriteInteger("General Sort", round % 3 + 1);
            f.Start();
            ASSERT_TRUE(f.page->RankingAhead()) << "a load asks for the ranks";
            f.window.show();
            f.grid->viewport()->repaint();  // the work starts after the grid's paint
            auto turns = [&](int count) {
                for (int i = 0; i < count && f.page->RankingAhead(); ++i) QCoreApplication::processEvents();
            };
            if (round == 0) turns(1000);
            if (round == 1 || round == 2) {
                for (int i = 0; i < 1000 && f.page->RowsRankedAhead() == 0; ++i) QCoreApplication::processEvents();
                ASSERT_EQ(f.page->RowsRankedAhead(), 400u);
                // A cell changed on the way: the work so far is dropped and done again.
                for (const int row : {3, 50, 150, 390})  // rows the first turn numbered
                    for (int col = 0; col < 2; ++col)
                        f.grid->setCellBytes(col, row, "0 changed " + std::to_string(row * round));
                if (round == 1) turns(1000);
            }
            if (round == 3) {
                turns(1000);
                f.grid->setCellBytes(0, 5, "Changed after");  // the ranks no longer fit
            }
            if (round == 0 || round == 1) {
                EXPECT_FALSE(f.page->RankingAhead()) << round;
            }
            if (round == 4) {
                // A save after an edit asks for them again, and they are worked out anew.
                turns(1000);
                f.grid->setRow(7);
                f.Click("Btn_GenEdit");
                f.grid->setCells(2, 7, QStringLiteral("123"));
                f.Click("Btn_GenSave");
                EXPECT_TRUE(f.page->RankingAhead());
                f.grid->viewport()->repaint();
                turns(1000);
                EXPECT_FALSE(f.page->RankingAhead());
            }
            ASSERT_NO_FATAL_FAILURE(PressRoundTheKeys(f, round));
        }
    });
}

// Between presses the window works out the order of the key the button goes to next
// and lays out the texts it brings on screen. Each press that takes that order ends as
// the reference, also after the grid was scrolled, and shows what the grid paints with
// nothing laid out ahead; a press after a cell changed, or before the window waited,
// sorts as the reference all the same.
TEST(GeneralList, PressesAfterTheWindowWaitedEndAsTheReferenceAndPaintAsEver) {
    RandomRows random(71);
    WithLocale(QLocale::c(), [&] {
        GeneralFixture f(PlainRandomFile(random, 1500), false);
        f.Start();
        f.window.show();
        auto wait = [&] {
            f.grid->viewport()->repaint();  // the work starts after the grid's paint
            for (int i = 0; i < 1000 && f.page->RankingAhead(); ++i) QCoreApplication::processEvents();
            ASSERT_FALSE(f.page->RankingAhead());
        };
        for (int press = 0; press < 8; ++press) {
            if (press == 2) f.grid->setTopRow(700);
            if (press != 5) {
                ASSERT_NO_FATAL_FAILURE(wait());
            }
            EXPECT_EQ(f.page->OrderedAhead(), press != 5) << press;
            if (press == 3) {  // changed after the order was worked out
                f.grid->setCellBytes(1, 1 + press * 11, "Aardvark hide " + std::to_string(press));
                f.grid->setCellBytes(2, 900, "7");
            }
            const QString next = f.Button("Btn_GeneralSort")->text() == "Type"          ? "Description"
                                 : f.Button("Btn_GeneralSort")->text() == "Description" ? "Value"
                                                                                        : "Type";
            const QStringList expected = ReferenceSorted(*f.grid, next);
            f.Click("Btn_GeneralSort");
            ASSERT_EQ(f.Rows(), expected) << "press " << press << " by " << next.toStdString();
            EXPECT_FALSE(f.page->OrderedAhead()) << "taken by the press, or dropped";
            // What the press shows, with the texts laid out ahead, is what a paint with
            // every text laid out anew shows (a change of font forgets the layouts).
            const QImage shown = f.grid->viewport()->grab().toImage();
            const QFont font = f.grid->font();
            QFont other = font;
            other.setPointSize(font.pointSize() + 3);
            f.grid->setFont(other);
            f.grid->setFont(font);
            EXPECT_EQ(shown, f.grid->viewport()->grab().toImage()) << "press " << press;
        }
    });
}

// After each save the type chooser holds what a load of the saved file puts in it: after
// edits of values and descriptions (which leave the chooser as it is), of types (a new
// one, the last row of a type given another, a type spelt another way), rows added and
// deleted, on lists where each type has one spelling and where some have two (whose
// first spelling in row order a sort can change).
TEST(GeneralList, TheTypeChooserAfterEachSaveIsWhatALoadOfTheFileShows) {
    std::mt19937 rng(73);
    auto items = [](GeneralFixture& f) {
        auto* box = f.Find<QComboBox>("Cb_OthType");
        QStringList out;
        for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
        return out;
    };
    WithLocale(QLocale::c(), [&] {
        for (const bool twoSpellings : {false, true}) {
            const std::vector<std::string> types =
                twoSpellings ? std::vector<std::string>{"Tools", "dyes", "Dyes", "Cloth", "DYES"}
                             : std::vector<std::string>{"Tools", "Dyes", "Cloth", "Reagents"};
            std::string file;
            for (int i = 0; i < 40; ++i)
                file += types[rng() % types.size()] + ",Item " + std::to_string(rng() % 1000) + "," +
                        std::to_string(rng() % 500) + "\r\n";
            GeneralFixture f(file, false);
            f.settings.WriteInteger("General Sort", 3);  // by value: the types come in any order
            f.Start();
            for (int round = 0; round < 40; ++round) {
                const int rows = f.grid->RowCount() - 1;
                const int row = 1 + static_cast<int>(rng() % static_cast<unsigned>(rows));
                const unsigned what = rng() % 10;
                if (what == 9 && rows > 2) {
                    f.grid->setRow(row);
                    f.dialogs.boxAnswers.push_back(mbYes);
                    f.Click("Btn_GenDelete");
                } else {
                    if (what == 8) {
                        f.Click("Btn_GenNew");
                    } else {
                        f.grid->setRow(row);
                        f.Click("Btn_GenEdit");
                    }
                    const int at = f.grid->Row();
                    if (what >= 6) {  // a type: one of the list's, or a new one now and then
                        const std::string type =
                            rng() % 4 == 0 ? "Kind " + std::to_string(round) : types[rng() % types.size()];
                        f.grid->setCells(0, at, QString::fromStdString(type));
                    }
                    if (what == 8 || what == 5) f.grid->setCells(1, at, QStringLiteral("Piece %1").arg(round));
                    f.grid->setCells(2, at, QString::number(rng() % 900));
                    f.Click("Btn_GenSave");
                }
                GeneralFixture loaded(f.File());
                ASSERT_EQ(items(f), items(loaded)) << "round " << round << (twoSpellings ? ", two spellings" : "");
            }
        }
    });
}

// Saves one after another look again only at the rows set since the last save: what
// they correct, announce, write and show is what a page that checks every row does, with
// rows set anywhere, added, deleted or left blank and the sort key changed between saves.
TEST(GeneralList, SavesAfterEditsEndAsASaveThatChecksEveryRow) {
    GeneralFixture f("Dye,Red,1\r\n");
    const QString keys[] = {QStringLiteral("Type"), QStringLiteral("Description"), QStringLiteral("Value")};
    RandomRows random(53);
    WithLocale(QLocale::c(), [&] {
        for (int list = 0; list < 6; ++list) {
            random.Fill(*f.grid, list == 5 ? 2500 : static_cast<int>(random.rng() % 80) + 2, list == 4);
            ASSERT_TRUE(f.page->SaveGeneralList());
            for (int round = 0; round < 30; ++round) {
                const int rows = f.grid->RowCount() - 1;
                auto anyRow = [&] { return static_cast<int>(random.rng() % static_cast<unsigned>(rows)) + 1; };
                const int changes = static_cast<int>(random.rng() % 4);
                for (int c = 0; c < changes; ++c) {
                    const int row = anyRow();
                    switch (random.rng() % 8) {
                        case 0: f.grid->setCellBytes(static_cast<int>(random.rng() % 2), row, random.Text(true)); break;
                        case 1:
                            f.grid->setCellBytes(2, row, random.Value());  // now and then one to correct
                            break;
                        case 2:
                            for (int col = 0; col < 3; ++col) f.grid->setCells(col, row, f.grid->Cells(col, anyRow()));
                            break;
                        case 3:  // a new row at the end, as New adds it
                            f.grid->setRowCount(rows + 1);
                            f.grid->setRowTexts(rows + 1, {"Tools", FromBytes(random.Text(true)), "3"});
                            break;
                        case 4:
                            if (rows > 1) f.grid->DeleteRow(row);
                            break;
                        case 5: f.Button("Btn_GeneralSort")->setText(keys[random.rng() % 3]); break;
                        default: f.grid->setCellBytes(2, row, std::to_string(random.rng() % 1000));
                    }
                }
                // The same rows on a page that has never saved.
                GeneralFixture full("Dye,Red,1\r\n");
                full.Button("Btn_GeneralSort")->setText(f.Button("Btn_GeneralSort")->text());
                full.grid->setRowCount(f.grid->RowCount());
                for (int row = 1; row < f.grid->RowCount(); ++row)
                    for (int col = 0; col < 3; ++col) full.grid->setCells(col, row, f.grid->Cells(col, row));
                const size_t boxes = f.dialogs.boxes.size();
                ASSERT_TRUE(f.page->SaveGeneralList());
                ASSERT_TRUE(full.page->SaveGeneralList());
                const std::string where = "list " + std::to_string(list) + " round " + std::to_string(round);
                ASSERT_EQ(f.File(), full.File()) << where;
                ASSERT_EQ(f.Rows(), full.Rows()) << where;
                ASSERT_EQ(f.dialogs.boxes.size() - boxes, full.dialogs.boxes.size()) << where;
                for (size_t b = 0; b < full.dialogs.boxes.size(); ++b)
                    ASSERT_EQ(f.dialogs.boxes[boxes + b].text, full.dialogs.boxes[b].text) << where;
            }
        }
    });
}

// Descriptions alike in their first 16, 32 or 48 characters, differing in case only,
// or only in trailing blanks, rank as the reference has them.
TEST(GeneralList, SortRanksTextsThatDifferLateOrOnlyInBlanks) {
    GeneralFixture f("Dye,Red,1\r\n");
    const std::string stem(47, 'm');
    const std::vector<std::string> descs = {stem.substr(0, 15) + "a",
                                            stem.substr(0, 16) + "a",
                                            stem.substr(0, 16),
                                            stem.substr(0, 16) + " ",
                                            stem.substr(0, 31) + "B",
                                            stem.substr(0, 31) + "b",
                                            stem.substr(0, 32) + "!",
                                            stem + "z",
                                            stem + "Z",
                                            stem + "z  ",
                                            stem,
                                            stem + "y" + std::string(30, 'q'),
                                            stem + "y" + std::string(30, 'Q') + "a",
                                            "",
                                            " ",
                                            "m",
                                            "M"};
    std::mt19937 rng(3);
    const int count = 3000;  // dealt into buckets first
    f.grid->setRowCount(count + 1);
    for (int row = 1; row <= count; ++row) {
        f.grid->setCellBytes(0, row, row % 3 ? "Dye" : "dye");
        f.grid->setCellBytes(1, row, descs[rng() % descs.size()]);
        f.grid->setCellBytes(2, row, std::to_string(rng() % 50));
    }
    WithLocale(QLocale::c(), [&] {
        for (const char* key : {"Description", "Type", "Value", "Description"}) {
            f.Button("Btn_GeneralSort")->setText(QString::fromLatin1(key));
            const QStringList expected = ReferenceSorted(*f.grid, QString::fromLatin1(key));
            f.page->SortGeneralList();
            ASSERT_EQ(f.Rows(), expected) << key;
        }
    });
}

// The sort button sorts and saves at once; rows the save corrects (anywhere in the
// list) are corrected in the grid, and the file holds the corrected rows in key order.
TEST(GeneralList, SortButtonSavesCorrectedRowsInKeyOrder) {
    std::string file;
    for (int i = 0; i < 400; ++i)
        file += (i % 2 ? "Tools" : "Dyes") + std::string(",") + "item number " + std::to_string((i * 7919) % 400) +
                " of the shop," + std::to_string(i * 3) + "\r\n";
    GeneralFixture f(file);
    ASSERT_EQ(f.grid->RowCount(), 401);
    for (int row : {1, 150, 151, 399, 400}) {
        f.grid->setCellBytes(1, row, "  corrected " + std::to_string(row) + "  ");
        f.grid->setCellBytes(2, row, "0" + std::to_string(row));
    }
    WithLocale(QLocale::c(), [&] {
        ASSERT_EQ(f.Button("Btn_GeneralSort")->text(), "Type");
        f.Click("Btn_GeneralSort");  // Description next
        ASSERT_EQ(f.Button("Btn_GeneralSort")->text(), "Description");
        EXPECT_EQ(f.dialogs.boxes.size(), 5u);  // one per corrected value
        const QStringList rows = f.Rows();
        EXPECT_EQ(rows, ReferenceSorted(*f.grid, "Description"));
        std::string expected;
        for (const QString& row : rows) expected += ToBytes(QString(row).replace(u'|', u',')) + "\r\n";
        EXPECT_EQ(f.File(), expected);
        EXPECT_NE(expected.find("Dyes,corrected 1,1\r\n"), std::string::npos);
        EXPECT_NE(expected.find("Tools,corrected 400,400\r\n"), std::string::npos);
        EXPECT_FALSE(f.dir.Exists("General.tmp"));  // the write the check stopped left nothing
    });
}

TEST(GeneralList, SaveKeepsTheSameItemSelectedAfterSorting) {
    GeneralFixture f("Apples,Green,5\r\nBeans,Brown,6\r\n");
    f.Click("Btn_GenNew");
    f.grid->setRowTexts(3, {"Aardvark", "Stuffed", "9"});
    f.Click("Btn_GenSave");
    EXPECT_EQ(f.grid->Row(), 1);
    EXPECT_EQ(f.Find<QLabel>("Lb_GeneralDesc")->text(), "  Stuffed = 9");
}

// The item saved is the one selected after the save: its texts matched exactly (case,
// Windows-1252 letters, a '?' that is no stand-in), the first of equal items taken.
TEST(GeneralList, SaveSelectsTheItemWithExactlyItsTexts) {
    const std::string file =
        "D\xE9" "cor,Vase,5\r\ndecor,Vase,5\r\nDecor,Vase,5\r\nDecor,Vase?,7\r\nDecor,Vase,5\r\nTools,Axe,1\r\n";
    struct Case {
        const char* what;
        QStringList texts;  // typed into a new row
        QStringList selected;
    };
    const Case cases[] = {
        {"plain", {"Decor", "Vase", "5"}, {"Decor", "Vase", "5"}},
        {"in other case", {"decor", "Vase", "5"}, {"decor", "Vase", "5"}},
        {"a letter of the code page", {QString::fromUtf8("D\xC3\xA9" "cor"), "Vase", "5"}, {QString::fromUtf8("D\xC3\xA9" "cor"), "Vase", "5"}},
        {"a question mark", {"Decor", "Vase?", "7"}, {"Decor", "Vase?", "7"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GeneralFixture f(file);
        f.Click("Btn_GenNew");
        f.grid->setRowTexts(f.grid->Row(), c.texts);
        f.Click("Btn_GenSave");
        EXPECT_EQ(f.grid->RowTexts(f.grid->Row()), c.selected);
        // The first row with those texts.
        for (int row = 1; row < f.grid->Row(); ++row) EXPECT_NE(f.grid->RowTexts(row), c.selected) << row;
    }
}

// After a save the page shows what the file holds, whether the file is read again or
// the grid is kept as written: rows, count and type chooser as a fresh load gives them;
// on a page just loaded, and on one saved before (whose save looks only at the rows
// set since).
TEST(GeneralList, SaveLeavesThePageAsALoadOfTheFileShowsIt) {
    auto types = [](GeneralFixture& f) {
        QStringList out;
        auto* box = f.Find<QComboBox>("Cb_OthType");
        for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
        return out;
    };
    const std::string file = "Tools,Tongs,5\r\nDyes,Blue dye,100\r\nTools,Hammer,25\r\nReagents,Pearl,4\r\n";
    struct Edit {
        const char* what;
        int row, col;
        QString text;
        bool added;  // typed into a new row instead
    };
    const Edit edits[] = {
        {"a value", 2, TGeneralPage::kColValue, "120", false},
        {"a new type", 0, TGeneralPage::kColType, "Zebra hides", true},
        {"a type in other case", 3, TGeneralPage::kColType, "TOOLS", false},
        {"the last of a type", 4, TGeneralPage::kColType, "Dyes", false},
        {"a row left blank", 0, TGeneralPage::kColDesc, "", true},
        {"a character without its byte", 1, TGeneralPage::kColDesc, QString::fromUtf8("Tongs \xC5\x81"), false},
        {"a line break inside", 1, TGeneralPage::kColDesc, "Tongs\nlong", false},
    };
    for (const bool savedBefore : {false, true})
    for (const Edit& edit : edits) {
        SCOPED_TRACE(std::string(edit.what) + (savedBefore ? ", saved before" : ""));
        GeneralFixture f(file);
        if (savedBefore) {
            f.Click("Btn_GenEdit");
            f.Click("Btn_GenSave");
        }
        if (edit.added) {
            f.Click("Btn_GenNew");
            const int row = f.grid->Row();
            f.grid->setEditorMode(false);
            if (!edit.text.isEmpty()) f.grid->setRowTexts(row, {edit.text, "Striped", "7"});
        } else {
            f.grid->setRow(edit.row);
            f.Click("Btn_GenEdit");
            f.grid->setEditorMode(false);
            f.grid->setCells(edit.col, edit.row, edit.text);
        }
        f.Click("Btn_GenSave");
        ASSERT_FALSE(f.page->IsEditing());
        GeneralFixture loaded(f.File());
        EXPECT_EQ(f.Rows(), loaded.Rows());
        EXPECT_EQ(f.Count(), loaded.Count());
        EXPECT_EQ(types(f), types(loaded));
    }
}

TEST(GeneralList, DeleteAsksFirstAndTheLastItemLeavesOneEmptyRow) {
    GeneralFixture f("Tools,Hammer,25\r\n");
    f.grid->setRow(1);
    f.dialogs.boxAnswers.push_back(mbNo);
    f.Click("Btn_GenDelete");
    EXPECT_EQ(f.dialogs.boxes.back().text, "Delete Hammer ?");
    EXPECT_EQ(f.dialogs.boxes.back().kind, MsgKind::Confirmation);
    EXPECT_EQ(f.File(), "Tools,Hammer,25\r\n");
    f.Click("Btn_GenDelete");
    EXPECT_EQ(f.File(), "");
    EXPECT_EQ(f.Rows(), QStringList({"||"}));
    EXPECT_EQ(f.Count(), "No Items : 1");
}

TEST(GeneralList, SendTypesTheRowWithTheGeneralOptions) {
    GeneralFixture f("Tools,Hammer,25\r\n");
    f.grid->setRow(1);
    f.Click("Btn_GenSend");
    EXPECT_EQ(f.windows.PostedText(f.game), std::string(21, '\b') + "25,Hammer\r");

    // Value and description both off: only the backspaces reach the game.
    f.options.sendRows[5].value = false;
    f.options.sendRows[5].description = false;
    f.windows.ClearLog();
    f.Click("Btn_GenSend");
    EXPECT_EQ(f.windows.PostedText(f.game), std::string(21, '\b'));

    // Description only, Cr off, no backspaces.
    f.options.sendRows[5].description = true;
    f.options.sendRows[5].enter = false;
    f.options.backSpc = 0;
    f.windows.ClearLog();
    f.page->SendToGame(nullptr);  // F2 on this page
    EXPECT_EQ(f.windows.PostedText(f.game), "Hammer");
}

TEST(GeneralList, KeyFilterLimitsLengthsAndDigits) {
    GeneralFixture f("Tools,Hammer,25\r\n");
    f.Click("Btn_GenEdit");
    QChar letter('x'), digit('7'), accent(QChar(0xE9));
    EXPECT_FALSE(f.page->SGrid_GeneralKeyPress(TGeneralPage::kColValue, 1, letter));
    EXPECT_TRUE(f.page->SGrid_GeneralKeyPress(TGeneralPage::kColValue, 1, digit));
    f.grid->setCells(0, 1, QString(25, 'a'));
    EXPECT_FALSE(f.page->SGrid_GeneralKeyPress(TGeneralPage::kColType, 1, letter));
    EXPECT_TRUE(f.page->SGrid_GeneralKeyPress(TGeneralPage::kColType, 1, accent));  // only 32-126 are checked
    f.grid->setCells(2, 1, QString(12, '1'));
    EXPECT_FALSE(f.page->SGrid_GeneralKeyPress(TGeneralPage::kColValue, 1, digit));
    EXPECT_EQ(f.grid->Cells(2, 1), QString(9, '1'));
    EXPECT_EQ(f.dialogs.beeps, 3);
}

TEST(GeneralList, TypingIntoTheGridGoesThroughTheFilter) {
    GeneralFixture f;
    f.Click("Btn_GenNew");
    f.grid->setCol(TGeneralPage::kColValue);
    f.grid->setEditorMode(true);
    auto* editor = f.grid->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "4a2");
    EXPECT_EQ(f.grid->Cells(2, 1), "42");
}

TEST(GeneralList, TypeChooserFillsTheRowOrJumpsToIt) {
    GeneralFixture f("Apples,Green,5\r\nBeans,Brown,6\r\n");
    auto* types = f.Find<QComboBox>("Cb_OthType");
    types->setCurrentIndex(types->findText("Beans"));
    f.page->Cb_OthTypeChange();
    EXPECT_EQ(f.grid->Row(), 2);
    // New with a type chosen puts it into the row and moves to the description.
    f.Click("Btn_GenNew");
    EXPECT_EQ(f.grid->Cells(0, 3), "Beans");
    EXPECT_EQ(f.grid->Col(), TGeneralPage::kColDesc);
    // Selecting a row shows its type in the chooser.
    f.Click("Btn_GenCancel");
    f.grid->setRow(1);
    EXPECT_EQ(types->currentText(), "Apples");
}

TEST(GeneralList, DoubleQuotesAndHighBytesRoundTrip) {
    GeneralFixture f;
    f.Click("Btn_GenNew");
    f.grid->setRowTexts(1, {"\"Quoted\"",
                            FromBytes("Caf\xE9 \xAB"
                                      "best\xBB"),
                            "3"});
    f.Click("Btn_GenSave");
    EXPECT_EQ(f.File(),
              "\"Quoted\",Caf\xE9 \xAB"
              "best\xBB,3\r\n");
    f.Click("Btn_GenEdit");
    f.Click("Btn_GenCancel");
    EXPECT_EQ(f.grid->RowTexts(1), QStringList({"\"Quoted\"",
                                                FromBytes("Caf\xE9 \xAB"
                                                          "best\xBB"),
                                                "3"}));
}

TEST(GeneralList, OpenEditIsSavedAtShutdownAndGridValuesAreKept) {
    GeneralFixture f;
    f.Click("Btn_GenNew");
    f.grid->setRowTexts(1, {"Tools", "Saw", "8"});
    f.grid->setColWidths(0, 80);
    f.Close();
    EXPECT_EQ(f.File(), "Tools,Saw,8\r\n");
    EXPECT_EQ(f.settings.Strings().at("General Col0"), "80");
    EXPECT_EQ(f.settings.Strings().at("RowHeight General"), "16");
}

TEST(GeneralList, StoredGridSizesAreReadWithTheirMinimumAndRange) {
    GeneralFixture f("", false);
    f.settings.WriteInteger("RowHeight General", 2);
    f.settings.WriteInteger("General Col1", 3);
    f.settings.WriteInteger("General Col2", 2147483647);
    f.Start();
    EXPECT_EQ(f.grid->DefaultRowHeight(), 6);
    EXPECT_EQ(f.grid->ColWidths(1), 6);
    EXPECT_LE(f.grid->ColWidths(2), 10000);
}

TEST(GeneralList, ValueColumnStretchesToTheGrid) {
    GeneralFixture f;
    f.window.resize(500, 526);
    QCoreApplication::sendPostedEvents();
    const int expected = std::max(f.grid->ClientWidth() - (62 + 1) - (159 + 1) - 1, 6);
    EXPECT_EQ(f.grid->ColWidths(2), expected);
}

TEST(GeneralList, DisplayOptionsApplyToTheGridAndLabel) {
    GeneralFixture f("", false);
    f.settings.WriteInteger("General BackCol", 0x0000FF);  // red
    f.settings.WriteBool("General LineRow", false);
    f.settings.WriteInteger("General FontSize", 11);
    f.Start();
    EXPECT_EQ(f.grid->BackgroundColor(), QColor(255, 0, 0));
    EXPECT_FALSE(f.grid->VertLines());
    EXPECT_TRUE(f.grid->HorzLines());
    EXPECT_EQ(f.grid->font().pointSize(), 11);
    EXPECT_EQ(f.Find<QLabel>("Lb_GeneralDesc")->height(), 16);
}

}  // namespace stallmark::test
