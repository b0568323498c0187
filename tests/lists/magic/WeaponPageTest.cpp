// The weapons page on the real window: loading, views, settings, search and pick lists.
#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QGroupBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

#include "lists/magic/WeaponFixture.h"
#include "lists/picklists/EditGridForm.h"
#include "lists/picklists/EditTextForm.h"
#include "lists/picklists/PickList.h"
#include "store/Files.h"
#include "store/RecordFile.h"

namespace stallmark::test {

namespace {

const std::string kStock =
    "Bow,Power,0,,Durable,900,20261201,\r\n"
    "Katana,Vanquishing,2,Supremely,Massive,12000,20261207,from bank\r\n"
    " ,Ghost,0,,,5,20261207,\r\n"
    "Katana,Power,1,Accurate,,1500,,\r\n"
    "Mace,Force,x,,,100,20261208,\r\n";

const std::map<std::string, std::string> kPickLists = {
    {"ListMwItem.dat", "Mace\r\nKatana\r\n\r\n  \r\nBow\r\n"},
    {"ListMwMagic.dat", "\"Power\",1\r\n\"Vanquishing\",2\r\nForce\r\n\"\",1\r\n"},
    {"ListMwAcc.dat", "Supremely\r\nAccurate\r\n"},
    {"ListMwDur.dat", "Massive\r\nDurable\r\n"},
    {"ListMwOther.dat", "from bank  \r\nask\r\n"},
};

std::map<std::string, std::string> With(std::map<std::string, std::string> files, const std::string& name,
                                        const std::string& content) {
    files[name] = content;
    return files;
}

QStringList Entries(QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
    return out;
}

}  // namespace

TEST(WeaponPage, StartsOnTheStockListWithDatesAgesAndAmounts) {
    WeaponFixture f;
    f.Open(With(kPickLists, "MWStock.dat", kStock));
    ASSERT_NE(f.page, nullptr);
    EXPECT_EQ(f.page->View(), MagicView::Stock);
    EXPECT_EQ(f.grid->RowTexts(0),
              QStringList({"Weapon", "Magic", "Accuracy", "Durability", "Special", "Other", "Date", "Age", "Price"}));
    EXPECT_EQ(f.Rows(), QStringList({"Bow|Power||Durable|||01/12/2026|7|900",
                                     "Katana|Vanquishing|Supremely|Massive|Silver|from bank|07/12/2026|1|12000",
                                     "Katana|Power|Accurate||Virtue||||1500", "Mace|Force|||||08/12/2026|0|100"}));
    EXPECT_EQ(f.grid->Row(), 1);
    EXPECT_EQ(f.Label("Lb_MWepDesc")->text(), "  Bow Durable Power = 900");
    EXPECT_EQ(f.Button("Btn_MWList")->text(), "Stock");
    EXPECT_EQ(f.Find<QGroupBox>("Gb_Display")->title(), "Stock");
    EXPECT_TRUE(f.Button("Btn_MWAdd")->isEnabled());
    EXPECT_TRUE(f.Button("Btn_MWSold")->isEnabled());
    EXPECT_FALSE(f.Label("Lb_MwWarn")->isVisible());
    // The button bars follow the button options (pictures only by default).
    EXPECT_EQ(f.Button("Btn_MWAdd")->tag(), BtnImage::Save);
    EXPECT_EQ(f.Button("Btn_MWAdd")->displayMode(), dmGlyphOnly);
    EXPECT_EQ(f.Button("Btn_MWAutoUpdateOn")->displayMode(), dmGlyphOnly);
    EXPECT_EQ(f.Button("Btn_MWAdd")->toolTip(), "Save current item");
    EXPECT_TRUE(f.Button("Btn_MWAutoUpdateOn")->isDown());
    EXPECT_EQ(f.grid->DefaultRowHeight(), 17);
    // Design widths; the Date and Age columns are never narrower than a date or a count of
    // days in the grid's font.
    const std::vector<int> design{74, 76, 52, 48, 47, 56, 48, 21};
    for (int c = 0; c < 6; ++c) EXPECT_EQ(f.grid->ColWidths(c), design[c]);
    for (int c = 6; c < 8; ++c) EXPECT_GE(f.grid->ColWidths(c), std::max(design[c], f.grid->MinColWidth(c)));
    EXPECT_GT(f.grid->MinColWidth(6), 0);
    EXPECT_GT(f.grid->MinColWidth(7), 0);
    EXPECT_EQ(f.grid->ColumnAlignment(7), Qt::AlignRight);
    EXPECT_EQ(f.grid->ColumnAlignment(8), Qt::AlignRight);
    EXPECT_EQ(f.grid->ColumnAlignment(6), Qt::AlignLeft);
    // The Price column takes what the others leave, at least 40.
    int others = 1;
    for (int c = 0; c < 8; ++c) others += f.grid->ColWidths(c) + 1;
    EXPECT_EQ(f.grid->ColWidths(8), std::max(40, f.grid->ClientWidth() - others));
    f.window.resize(900, 600);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(f.grid->ColWidths(8), f.grid->ClientWidth() - others);
    EXPECT_GT(f.grid->ColWidths(8), 40);
}

// The first fill takes the rows filled ahead while the file is as it was then and the
// page starts as they were filled (the stock view, no search, the same day); a file
// changed since is read again. Either way the grid is what the file holds, and the rows
// stand for their lines.
TEST(WeaponPage, FirstFillTakesTheRowsFilledAheadOnlyWhileTheyHold) {
    const QStringList rows({"Bow|Power||Durable|||01/12/2026|7|900",
                            "Katana|Vanquishing|Supremely|Massive|Silver|from bank|07/12/2026|1|12000",
                            "Katana|Power|Accurate||Virtue||||1500", "Mace|Force|||||08/12/2026|0|100"});
    for (const bool changed : {false, true}) {
        WeaponFixture f;
        for (const auto& [name, content] : With(kPickLists, "MWStock.dat", kStock)) f.dir.Write(name, content);
        const std::string path = f.dir.File("MWStock.dat");
        // Filled ahead to the end before the file changes.
        auto ahead = std::make_shared<std::optional<TMagicPage::FileAhead>>(
            TMagicPage::StartPreload(WeaponList(), path, f.clock)->Take());
        ASSERT_TRUE(ahead->has_value());
        if (changed) f.dir.Write("MWStock.dat", "Axe,Power,0,,,700,20261201,\r\n");
        f.page = &f.Build(WeaponList());
        f.grid = f.page->Grid();
        f.page->UsePreload(
            std::make_unique<Preload<TMagicPage::FileAhead>>([ahead] { return std::move(ahead->value()); }));
        f.Start();
        EXPECT_EQ(f.page->FilledAhead(), !changed);
        EXPECT_EQ(f.grid->RowTexts(0),
                  QStringList({"Weapon", "Magic", "Accuracy", "Durability", "Special", "Other", "Date", "Age", "Price"}));
        EXPECT_EQ(f.Rows(), changed ? QStringList({"Axe|Power|||||01/12/2026|7|700"}) : rows) << changed;
        EXPECT_EQ(f.Label("Lb_MWepDesc")->text(), changed ? "  Axe Power = 700" : "  Bow Durable Power = 900");
        if (!changed) {
            // Rows filled ahead stand for their lines: Sold takes the Katana's line away.
            f.SelectRow(2);
            f.Click("Btn_MWSold");
            EXPECT_EQ(f.Stock().find("Katana,Vanquishing"), std::string::npos);
            EXPECT_NE(f.Stock().find("Katana,Power,1"), std::string::npos);
        }
        // What the next fill shows is the file, read again once it changes.
        f.dir.Write("MWStock.dat", "Bow,Force,0,,,50,20261208,\r\n");
        f.Click("Btn_MWList");
        f.Click("Btn_MWList");
        EXPECT_FALSE(f.page->FilledAhead());
        EXPECT_EQ(f.Rows(), QStringList({"Bow|Force|||||08/12/2026|0|50"})) << changed;
    }
}

// The page started on another view takes only the bytes read ahead, and fills itself.
TEST(WeaponPage, FillAheadOfAnotherViewLeavesTheFillToThePage) {
    WeaponFixture f;
    for (const auto& [name, content] : With(kPickLists, "MWStock.dat", kStock)) f.dir.Write(name, content);
    const std::string path = f.dir.File("MWStock.dat");
    f.page = &f.Build(WeaponList());
    f.grid = f.page->Grid();
    f.page->UsePreload(TMagicPage::StartPreload(WeaponList(), path, f.clock));
    f.page->SetView(MagicView::Prices);
    EXPECT_FALSE(f.page->FilledAhead());
    f.page->SetView(MagicView::Stock);
    EXPECT_FALSE(f.page->FilledAhead());
    EXPECT_EQ(f.Rows().size(), 4);
}

TEST(WeaponPage, EmptyOrMissingFileShowsOneEmptyRow) {
    WeaponFixture f;
    f.Open();
    EXPECT_EQ(f.Rows(), QStringList({"||||||||"}));
    EXPECT_EQ(f.Label("Lb_MWepDesc")->text(), "  ");
    EXPECT_TRUE(f.dir.Exists("MWStock.dat"));
    // No file at all when the list is shown again: it is created empty.
    std::filesystem::remove(f.dir.File("MWPrice.dat"));
    f.Click("Btn_MWList");
    EXPECT_TRUE(f.dir.Exists("MWPrice.dat"));
    EXPECT_EQ(f.Rows(), QStringList({"||||||||"}));
}

TEST(WeaponPage, ListButtonTogglesPricesWithTheirDisplayOptions) {
    WeaponFixture f;
    f.settings.WriteInteger("MWStock TextCol", 0x0000FF);  // red
    f.settings.WriteInteger("MWPrice TextCol", 0xFF0000);  // blue
    f.settings.WriteInteger("MWPrice FontSize", 11);
    f.Open({{"MWStock.dat", kStock}, {"MWPrice.dat", "Katana,Power,0,,,5000,12,quick,20260115\r\nAxe,,0,,,1,,,\r\n"}});
    EXPECT_EQ(f.grid->TextColor(), QColor(255, 0, 0));
    EXPECT_EQ(f.Label("Lb_MWepDesc")->height(), 12);
    f.Click("Btn_MWList");
    EXPECT_EQ(f.page->View(), MagicView::Prices);
    EXPECT_EQ(f.Button("Btn_MWList")->text(), "Prices");
    EXPECT_EQ(f.Find<QGroupBox>("Gb_Display")->title(), "Prices");
    EXPECT_FALSE(f.Button("Btn_MWAdd")->isEnabled());
    EXPECT_FALSE(f.Button("Btn_MWSold")->isEnabled());
    EXPECT_EQ(f.Rows(), QStringList({"Katana|Power||||quick|15/01/2026|12|5000", "Axe||||||08/12/2026||1"}));
    EXPECT_EQ(f.grid->TextColor(), QColor(0, 0, 255));
    EXPECT_EQ(f.Label("Lb_MWepDesc")->height(), 16);
    EXPECT_EQ(f.page->FilePath(), f.dir.File("MWPrice.dat"));
    f.Click("Btn_MWList");
    EXPECT_EQ(f.page->View(), MagicView::Stock);
    EXPECT_EQ(f.grid->TextColor(), QColor(255, 0, 0));
    EXPECT_EQ(f.Items().size(), 4);
}

TEST(WeaponPage, ColumnWidthsRowHeightAndHiddenColumnsComeFromTheSettings) {
    WeaponFixture f;
    f.settings.WriteInteger("MWepRowHeight", 21);
    f.settings.WriteInteger("MWepColWidth4", 2);
    f.settings.WriteInteger("MWepColWidth6", -1);
    f.settings.WriteInteger("MWepColWidth1", 90);
    f.settings.WriteBool("MW AutoUpdate", false);
    f.Open();
    EXPECT_EQ(f.grid->DefaultRowHeight(), 21);
    EXPECT_EQ(f.grid->ColWidths(4), 40);
    EXPECT_EQ(f.grid->ColWidths(6), -1);
    EXPECT_EQ(f.grid->ColWidths(1), 90);
    EXPECT_TRUE(f.page->ColumnHidden(HideColumn::Date));
    EXPECT_FALSE(f.page->ColumnHidden(HideColumn::Age));
    EXPECT_FALSE(f.Button("Btn_MWAutoUpdateOn")->isDown());
    EXPECT_TRUE(f.Button("Btn_MWAutoUpdateOff")->isDown());
    EXPECT_TRUE(f.page->Popup(nullptr).hideDate);
    EXPECT_FALSE(f.page->Popup(nullptr).hideAge);

    // Showing the column again gives it 40; hiding Age hides it. Both last to the next start.
    f.page->HideColumnChanged(HideColumn::Date, false);
    EXPECT_EQ(f.grid->ColWidths(6), std::max(40, f.grid->MinColWidth(6)));
    EXPECT_FALSE(f.page->ColumnHidden(HideColumn::Date));
    f.page->HideColumnChanged(HideColumn::Age, true);
    EXPECT_EQ(f.grid->ColWidths(7), -1);
    EXPECT_TRUE(f.page->ColumnHidden(HideColumn::Age));
    f.grid->setColWidths(3, 1);
    f.Close();
    EXPECT_EQ(f.settings.ReadInteger("MWepColWidth7", 0), -1);
    EXPECT_EQ(f.settings.ReadInteger("MWepColWidth6", 0), std::max(40, f.grid->MinColWidth(6)));
    EXPECT_EQ(f.settings.ReadInteger("MWepColWidth3", 0), 40);
    EXPECT_EQ(f.settings.ReadInteger("MWepRowHeight", 0), 21);
    EXPECT_FALSE(f.settings.ReadBool("MW AutoUpdate", true));
}

TEST(WeaponPage, PriceListColoursWaitForThePriceView) {
    WeaponFixture f;
    f.Open();
    const QColor stockBack = f.grid->BackgroundColor();
    f.settings.WriteInteger("MWPrice BackCol", 0x00FFFF);  // yellow
    f.ApplyListOptions(2);
    EXPECT_EQ(f.grid->BackgroundColor(), stockBack);
    f.Click("Btn_MWList");
    EXPECT_EQ(f.grid->BackgroundColor(), QColor(255, 255, 0));
    f.settings.WriteInteger("MWPrice BackCol", 0xFF00FF);
    f.ApplyListOptions(2);  // shown at once while the price view is up
    EXPECT_EQ(f.grid->BackgroundColor(), QColor(255, 0, 255));
    f.Click("Btn_MWList");
    EXPECT_EQ(f.grid->BackgroundColor(), stockBack);
}

TEST(WeaponPage, PickListsLoadWithNoneFirstAndSortedWhereSorted) {
    WeaponFixture f;
    f.Open(kPickLists);
    EXPECT_EQ(Entries(f.Box("Cb_Weapon")), QStringList({"(None)", "Bow", "Katana", "Mace"}));
    EXPECT_EQ(Entries(f.Box("Cb_MWMagic")), QStringList({"(None)", "Power", "Vanquishing", "Force"}));
    EXPECT_EQ(Entries(f.Box("Cb_MWAcc")), QStringList({"(None)", "Supremely", "Accurate"}));
    EXPECT_EQ(Entries(f.Box("Cb_MWOther")), QStringList({"(None)", "ask", "from bank  "}));
    EXPECT_EQ(f.Box("Cb_Weapon")->maxVisibleItems(), 4);
    EXPECT_EQ(f.Box("Cb_Weapon")->currentText(), "");
    const QComboBox* magic = f.Box("Cb_MWMagic");
    EXPECT_EQ(ComboObjAt(*magic, 1)->code, 1);
    EXPECT_EQ(ComboObjAt(*magic, 2)->code, 2);
    EXPECT_EQ(ComboObjAt(*magic, 3)->code, 0);  // a line without quotes and comma: code 0
    EXPECT_FALSE(ComboObjAt(*magic, 0).has_value());
    // A missing pick list gives "(None)" alone, one drop-down line.
    EXPECT_EQ(Entries(f.Box("Cb_MWDur")), QStringList({"(None)", "Massive", "Durable"}));
    WeaponFixture g;
    g.Open();
    EXPECT_EQ(Entries(g.Box("Cb_MWDur")), QStringList({"(None)"}));
    EXPECT_EQ(g.Box("Cb_MWDur")->maxVisibleItems(), 1);
}

TEST(WeaponSearch, BoxesFilterAndNoneClearsTheCriterion) {
    WeaponFixture f;
    f.Open(With(kPickLists, "MWStock.dat", kStock));
    f.Choose("Cb_Weapon", "Katana");
    EXPECT_EQ(f.Items(), QStringList({"Katana", "Katana"}));
    f.Choose("Cb_MWDur", "Massive");
    EXPECT_EQ(f.Rows(), QStringList({"Katana|Vanquishing|Supremely|Massive|Silver|from bank|07/12/2026|1|12000"}));
    f.Choose("Cb_MWDur", "(None)");
    EXPECT_EQ(f.Box("Cb_MWDur")->currentIndex(), -1);
    EXPECT_EQ(f.Box("Cb_MWDur")->currentText(), "");
    EXPECT_EQ(f.Items(), QStringList({"Katana", "Katana"}));
    f.Choose("Cb_Weapon", "(None)");
    EXPECT_EQ(f.Items(), QStringList({"Bow", "Katana", "Katana", "Mace"}));
    // Nothing matches: one empty row.
    f.Choose("Cb_Weapon", "Bow");
    f.Choose("Cb_MWAcc", "Supremely");
    EXPECT_EQ(f.Rows(), QStringList({"||||||||"}));
}

TEST(WeaponSearch, SpecialBoxesWidenOneAnother) {
    WeaponFixture f;
    f.Open(With(kPickLists, "MWStock.dat", kStock));
    f.Check("Ckb_MWNone")->click();
    EXPECT_EQ(f.Items(), QStringList({"Bow", "Mace"}));  // "x" counts as code 0
    f.Check("Ckb_MWSilver")->click();
    EXPECT_EQ(f.Items(), QStringList({"Bow", "Katana", "Mace"}));
    f.Check("Ckb_MWNone")->click();
    f.Check("Ckb_MWVirtue")->click();
    EXPECT_EQ(f.Items(), QStringList({"Katana", "Katana"}));
}

TEST(WeaponSearch, MagicEntrySetsTheSpecialBoxesAndSearchesOnce) {
    WeaponFixture f;
    f.Open(With(kPickLists, "MWStock.dat", kStock));
    f.Check("Ckb_MWVirtue")->click();
    f.Check("Ckb_MWNone")->click();
    f.Choose("Cb_MWMagic", "Vanquishing");
    EXPECT_TRUE(f.Check("Ckb_MWSilver")->isChecked());
    EXPECT_FALSE(f.Check("Ckb_MWVirtue")->isChecked());
    EXPECT_TRUE(f.Check("Ckb_MWNone")->isChecked());  // kept
    EXPECT_EQ(f.Items(), QStringList({"Katana"}));
    f.Choose("Cb_MWMagic", "Force");
    EXPECT_FALSE(f.Check("Ckb_MWSilver")->isChecked());
    EXPECT_FALSE(f.Check("Ckb_MWVirtue")->isChecked());
    EXPECT_EQ(f.Items(), QStringList({"Mace"}));
    // "(None)" changes no special box.
    f.Check("Ckb_MWSilver")->click();
    f.Choose("Cb_MWMagic", "(None)");
    EXPECT_TRUE(f.Check("Ckb_MWSilver")->isChecked());
    EXPECT_EQ(f.Box("Cb_MWMagic")->currentText(), "");
}

TEST(WeaponSearch, AutoOffWaitsForSearchAndOtherTextDoesNotFilter) {
    WeaponFixture f;
    f.Open(With(kPickLists, "MWStock.dat", kStock));
    f.Click("Btn_MWAutoUpdateOff");
    EXPECT_FALSE(f.page->AutoUpdate());
    EXPECT_TRUE(f.Button("Btn_MWAutoUpdateOff")->isDown());
    EXPECT_FALSE(f.Button("Btn_MWAutoUpdateOn")->isDown());
    f.Choose("Cb_Weapon", "Mace");
    f.Check("Ckb_MWNone")->click();
    EXPECT_EQ(f.Items().size(), 4);
    // "(None)" is still cleared with auto search off.
    f.Choose("Cb_MWAcc", "(None)");
    EXPECT_EQ(f.Box("Cb_MWAcc")->currentText(), "");
    f.Click("Btn_MWSearch");
    EXPECT_EQ(f.Items(), QStringList({"Mace"}));

    // With auto search on, typing in Other reloads the grid (which shows what the file
    // holds now) but does not filter it.
    f.Click("Btn_MWAutoUpdateOn");
    f.Check("Ckb_MWNone")->click();
    f.Click("Btn_MWReset");
    EXPECT_EQ(f.Items().size(), 4);
    f.dir.Write("MWStock.dat", kStock + "Zweihander,,0,,,1,20261208,\r\n");
    f.Box("Cb_MWOther")->setEditText("from");
    EXPECT_EQ(f.Items().size(), 5);
}

// A search on the lines already read shows what the file holds: a file rewritten in
// place with the same size and its modification time set back, or replaced by another
// of the same size and time, is read again.
TEST(WeaponSearch, TheGridFollowsTheFileItsStampCannotHide) {
    WeaponFixture f;
    f.Open(With(kPickLists, "MWStock.dat", kStock));
    const std::filesystem::path path = f.dir.File("MWStock.dat");
    const auto written = std::filesystem::last_write_time(path);
    {
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(static_cast<std::streamoff>(kStock.find("100,")));
        file.write("700,", 4);
    }
    std::filesystem::last_write_time(path, written);
    ASSERT_EQ(std::filesystem::file_size(path), kStock.size());
    f.Box("Cb_MWOther")->setEditText("a");
    EXPECT_EQ(f.grid->RowTexts(4).join("|"), "Mace|Force|||||08/12/2026|0|700");

    std::string other = f.Stock();
    other.replace(other.find("700,"), 4, "800,");
    ReplaceFileAtomically(path.string(), other);
    std::filesystem::last_write_time(path, written);
    f.Box("Cb_MWOther")->setEditText("ab");
    EXPECT_EQ(f.grid->RowTexts(4).join("|"), "Mace|Force|||||08/12/2026|0|800");
}

// Searches on an unchanged file show the same rows, the selection kept, and the rows
// still remove their own lines; a new day shows new ages.
TEST(WeaponSearch, SearchesOnTheLinesReadKeepRowsLinesAndDays) {
    WeaponFixture f;
    f.Open(With(kPickLists, "MWStock.dat", kStock));
    const QStringList rows = f.Rows();
    f.SelectRow(3);
    f.Box("Cb_MWOther")->setEditText("a");
    f.Box("Cb_MWOther")->setEditText("ab");
    EXPECT_EQ(f.Rows(), rows);
    EXPECT_EQ(f.grid->Row(), 3);
    EXPECT_EQ(f.Label("Lb_MWepDesc")->text(), "  Katana Accurate Power = 1500");

    f.Choose("Cb_Weapon", "Katana");
    f.Choose("Cb_Weapon", "(None)");
    EXPECT_EQ(f.Rows(), rows);
    f.SelectRow(2);
    f.dialogs.boxAnswers.push_back(mbYes);
    f.Click("Btn_MWDelete");
    std::string expected = kStock;
    expected.erase(expected.find("Katana,Vanquishing"), expected.find(" ,Ghost") - expected.find("Katana,Vanquishing"));
    EXPECT_EQ(f.Stock(), expected);

    f.clock.Advance(1);
    f.Box("Cb_MWOther")->setEditText("abc");
    EXPECT_EQ(f.Rows(), QStringList({"Bow|Power||Durable|||01/12/2026|8|900", "Katana|Power|Accurate||Virtue||||1500",
                                     "Mace|Force|||||08/12/2026|1|100"}));
}

// The days a search keeps of the lines it read belong to those lines: a file whose dates
// change shows its new dates and ages, and so does the other view's file.
TEST(WeaponSearch, DatesKeptBetweenSearchesFollowTheFile) {
    WeaponFixture f;
    f.Open(With(With(kPickLists, "MWStock.dat", kStock), "MWPrice.dat",
                "Bow,Power,0,,Durable,900,12,,20261201\r\nMace,Force,0,,,100,3,,2026x201\r\n"));
    f.Choose("Cb_Weapon", "Katana");
    f.Choose("Cb_Weapon", "(None)");
    std::string changed = kStock;
    changed.replace(changed.find("20261201"), 8, "20251130");
    changed.replace(changed.find("20261208"), 8, "2026120 ");
    ReplaceFileAtomically(f.dir.File("MWStock.dat"), changed);
    f.Choose("Cb_Weapon", "Katana");
    f.Choose("Cb_Weapon", "(None)");
    EXPECT_EQ(f.Rows(), QStringList({"Bow|Power||Durable|||30/11/2025|373|900",
                                     "Katana|Vanquishing|Supremely|Massive|Silver|from bank|07/12/2026|1|12000",
                                     "Katana|Power|Accurate||Virtue||||1500", "Mace|Force|||||08/12/2026|0|100"}));
    f.Click("Btn_MWList");
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(f.Rows(), QStringList({"Bow|Power||Durable|||01/12/2026|12|900", "Mace|Force|||||08/12/2026|3|100"}))
            << round;
        f.Choose("Cb_Weapon", "Bow");
        f.Choose("Cb_Weapon", "(None)");
    }
}

// A line longer than the most a list loads is shown cut and said once, however often the
// list is searched; its row still stands for the whole line, so Delete removes all of it
// and the other lines stay byte for byte.
TEST(WeaponSearch, AnOverlongLineIsShownCutSaidOnceAndDeletedWhole) {
    WeaponFixture f;
    const std::string longLine = "Katana,Ruin,1,,,7,20261207," + std::string(kMaxLineBytes, 'k');
    const std::string stock =
        "Bow,Power,0,,Durable,900,20261201,\r\n" + longLine + "\r\nMace,Force,x,,,100,20261208,\r\n";
    f.Open(With(kPickLists, "MWStock.dat", stock));
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.dialogs.boxes[0].kind, MsgKind::Warning);
    EXPECT_EQ(f.dialogs.boxes[0].text,
              "Line 2 of MWStock.dat is longer than 65536 characters and was cut on loading; the file itself is "
              "unchanged.");
    ASSERT_EQ(f.grid->RowCount(), 4);
    EXPECT_EQ(f.grid->CellBytes(0, 2), "Katana");
    f.Choose("Cb_Weapon", "Katana");
    f.Choose("Cb_Weapon", "(None)");
    EXPECT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.Stock(), stock);

    f.SelectRow(2);
    f.dialogs.boxAnswers.push_back(mbYes);
    f.Click("Btn_MWDelete");
    EXPECT_EQ(f.Stock(), "Bow,Power,0,,Durable,900,20261201,\r\nMace,Force,x,,,100,20261208,\r\n");
}

// Lines of every form (line ends LF, CR LF and none, fewer fields than the layout, more,
// one longer than a field's place can say) show the same rows after searches as when
// first read, and each row still removes its own line.
TEST(WeaponSearch, SearchesAgainShowEveryFormOfLineAsReadFirst) {
    WeaponFixture f;
    const std::string longOther(70000, 'o');
    const std::string stock =
        "Bow,Power,0,,Durable,900,20261201,\n"
        "Katana,Power\r\n"
        "Mace,Force,1,,,100,20261208,note,extra,fields\r\n"
        "Katana,Ruin,2,,,5,20261207," +
        longOther + "\r\nAxe,,0,,,7,20261101,last";
    f.Open(With(kPickLists, "MWStock.dat", stock));
    const QStringList first = f.Rows();
    ASSERT_EQ(first.size(), 5);
    EXPECT_EQ(first[1], "Katana|Power|||||||0");
    EXPECT_EQ(first[2], "Mace|Force|||Virtue|note|08/12/2026|0|100");
    for (int round = 0; round < 2; ++round) {
        f.Choose("Cb_Weapon", "Katana");
        EXPECT_EQ(f.Items(), QStringList({"Katana", "Katana"}));
        f.Choose("Cb_Weapon", "(None)");
        EXPECT_EQ(f.Rows(), first) << round;
    }
    f.SelectRow(4);
    f.dialogs.boxAnswers.push_back(mbYes);
    f.Click("Btn_MWDelete");
    EXPECT_EQ(f.Stock(),
              "Bow,Power,0,,Durable,900,20261201,\r\nKatana,Power\r\n"
              "Mace,Force,1,,,100,20261208,note,extra,fields\r\nAxe,,0,,,7,20261101,last\r\n");
}

// The whole list shown again after a search is the list as the file holds it now: a
// file changed while the search showed part of it (grown, rewritten in place with its
// time set back, replaced by another of the same size and time) is read again.
TEST(WeaponSearch, TheWholeListAfterASearchFollowsTheFile) {
    WeaponFixture f;
    f.Open(With(kPickLists, "MWStock.dat", kStock));
    const std::filesystem::path path = f.dir.File("MWStock.dat");

    f.Choose("Cb_Weapon", "Katana");
    f.dir.Write("MWStock.dat", kStock + "Zweihander,,0,,,1,20261208,\r\n");
    f.Choose("Cb_Weapon", "(None)");
    EXPECT_EQ(f.Items(), QStringList({"Bow", "Katana", "Katana", "Mace", "Zweihander"}));

    const std::string grown = f.Stock();
    const auto written = std::filesystem::last_write_time(path);
    f.Choose("Cb_Weapon", "Katana");
    {
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(static_cast<std::streamoff>(grown.find("100,")));
        file.write("700,", 4);
    }
    std::filesystem::last_write_time(path, written);
    ASSERT_EQ(std::filesystem::file_size(path), grown.size());
    f.Choose("Cb_Weapon", "(None)");
    EXPECT_EQ(f.grid->RowTexts(4).join("|"), "Mace|Force|||||08/12/2026|0|700");

    std::string other = f.Stock();
    other.replace(other.find("700,"), 4, "800,");
    f.Choose("Cb_Weapon", "Katana");
    ReplaceFileAtomically(path.string(), other);
    std::filesystem::last_write_time(path, written);
    f.Choose("Cb_Weapon", "(None)");
    EXPECT_EQ(f.grid->RowTexts(4).join("|"), "Mace|Force|||||08/12/2026|0|800");
}

// The whole list shown again after searches is the one a fresh fill would show: the
// same rows and current row, each row removing its own line, the line Save added while
// the search showed part of the list, the ages of a new day, and the file of the view.
TEST(WeaponSearch, TheWholeListAfterASearchIsTheListAsFilled) {
    WeaponFixture f;
    f.Open(With(With(kPickLists, "MWStock.dat", kStock), "MWPrice.dat", "Bow,Power,0,,Durable,900,12,,20261201\r\n"));
    const QStringList whole = f.Rows();
    f.SelectRow(4);
    f.Choose("Cb_Weapon", "Katana");
    f.Choose("Cb_MWDur", "Massive");
    EXPECT_EQ(f.Items(), QStringList({"Katana"}));
    f.Choose("Cb_MWDur", "(None)");
    f.Choose("Cb_Weapon", "(None)");
    EXPECT_EQ(f.Rows(), whole);
    EXPECT_EQ(f.grid->Row(), 1);  // where the search's one row left it
    EXPECT_EQ(f.Label("Lb_MWepDesc")->text(), "  Bow Durable Power = 900");
    f.Choose("Cb_Weapon", "Katana");
    f.Choose("Cb_Weapon", "(None)");
    f.SelectRow(3);
    f.dialogs.boxAnswers.push_back(mbYes);
    f.Click("Btn_MWDelete");
    std::string stock = kStock;
    stock.erase(stock.find("Katana,Power"), stock.find("Mace,") - stock.find("Katana,Power"));
    EXPECT_EQ(f.Stock(), stock);
    EXPECT_EQ(f.Items(), QStringList({"Bow", "Katana", "Mace"}));

    // Save while the search shows the katanas only.
    f.Choose("Cb_Weapon", "Katana");
    f.Price()->setText("42");
    f.Click("Btn_MWAdd");
    EXPECT_EQ(f.Items(), QStringList({"Katana", "Katana"}));
    f.Choose("Cb_Weapon", "(None)");
    EXPECT_EQ(f.Items(), QStringList({"Bow", "Katana", "Katana", "Mace"}));

    // A new day while the search shows part of the list.
    f.Choose("Cb_Weapon", "Mace");
    f.clock.Advance(1);
    f.Choose("Cb_Weapon", "(None)");
    EXPECT_EQ(f.grid->RowTexts(4).join("|"), "Mace|Force|||||08/12/2026|1|100");

    // The price view while the stock list was put aside, then the stock view again.
    f.Choose("Cb_Weapon", "Bow");
    f.Click("Btn_MWList");
    EXPECT_EQ(f.Items(), QStringList({"Bow"}));
    f.Choose("Cb_Weapon", "(None)");
    EXPECT_EQ(f.Items(), QStringList({"Bow"}));
    f.Click("Btn_MWList");
    f.Choose("Cb_Weapon", "Bow");
    f.Choose("Cb_Weapon", "(None)");
    EXPECT_EQ(f.Items(), QStringList({"Bow", "Katana", "Katana", "Mace"}));
}

TEST(WeaponSearch, ResetEmptiesTheBoxesButKeepsNoSpecial) {
    WeaponFixture f;
    f.Open(With(kPickLists, "MWStock.dat", kStock));
    f.Choose("Cb_Weapon", "Katana");
    f.Choose("Cb_MWMagic", "Vanquishing");
    f.Choose("Cb_MWAcc", "Supremely");
    f.Choose("Cb_MWDur", "Massive");
    f.Box("Cb_MWOther")->setEditText("note");
    f.Check("Ckb_MWNone")->click();
    f.Price()->setText("12");
    f.Click("Btn_MWReset");
    for (const char* name : {"Cb_Weapon", "Cb_MWMagic", "Cb_MWAcc", "Cb_MWDur", "Cb_MWOther"})
        EXPECT_EQ(f.Box(name)->currentText(), "") << name;
    EXPECT_FALSE(f.Check("Ckb_MWSilver")->isChecked());
    EXPECT_TRUE(f.Check("Ckb_MWNone")->isChecked());
    EXPECT_EQ(f.Price()->text(), "");
    EXPECT_EQ(f.Items(), QStringList({"Bow", "Mace"}));
}

TEST(WeaponPickLists, TextEditorSavesCleanedEntriesAndKeepsTheChoice) {
    WeaponFixture f;
    f.Open(kPickLists);
    f.Choose("Cb_Weapon", "Katana");
    QStringList shown;
    f.dialogs.modalHandlers.push_back([&](QDialog& dialog) {
        auto* memo = dialog.findChild<QPlainTextEdit*>("Memo_Edit");
        shown = memo->toPlainText().split('\n');
        EXPECT_EQ(dialog.windowTitle(), "Edit List");
        EXPECT_EQ(dialog.findChild<TToolBtnSig*>("Btn_Ok")->displayMode(), dmGlyphOnly);
        EXPECT_EQ(dialog.findChild<TToolBtnSig*>("Btn_Cancel")->toolTip(), "Cancel changes");
        memo->setPlainText("  Zweihander\nBow, long \n\nKatana\n");
        dialog.findChild<QAbstractButton*>("Btn_Ok")->click();
        return dialog.result();
    });
    f.Click("Btn_WepWep");
    EXPECT_EQ(shown, QStringList({"Bow", "Katana", "Mace"}));
    EXPECT_EQ(f.dir.Read("ListMwItem.dat"), "Zweihander\r\nBow  long\r\nKatana\r\n");
    EXPECT_EQ(Entries(f.Box("Cb_Weapon")), QStringList({"(None)", "Bow  long", "Katana", "Zweihander"}));
    EXPECT_EQ(f.Box("Cb_Weapon")->currentText(), "Katana");
}

TEST(WeaponPickLists, CancelLeavesBoxAndFileAndOtherKeepsTrailingBlanks) {
    WeaponFixture f;
    f.Open(kPickLists);
    f.dialogs.modalHandlers.push_back([](QDialog& dialog) {
        dialog.findChild<QPlainTextEdit*>("Memo_Edit")->setPlainText("changed");
        dialog.findChild<QAbstractButton*>("Btn_Cancel")->click();
        return dialog.result();
    });
    f.Click("Btn_WepAcc");
    EXPECT_EQ(Entries(f.Box("Cb_MWAcc")), QStringList({"(None)", "Supremely", "Accurate"}));
    EXPECT_EQ(f.dir.Read("ListMwAcc.dat"), "Supremely\r\nAccurate\r\n");

    f.dialogs.modalHandlers.push_back([](QDialog& dialog) {
        dialog.findChild<QPlainTextEdit*>("Memo_Edit")->setPlainText(" west  \nask");
        dialog.findChild<QAbstractButton*>("Btn_Ok")->click();
        return dialog.result();
    });
    f.Click("Btn_MWOther");
    EXPECT_EQ(f.dir.Read("ListMwOther.dat"), "west  \r\nask\r\n");
    EXPECT_EQ(Entries(f.Box("Cb_MWOther")), QStringList({"(None)", "ask", "west  "}));
    // A missing list is created by the editor.
    f.dialogs.modalHandlers.push_back([](QDialog& dialog) {
        dialog.findChild<QPlainTextEdit*>("Memo_Edit")->setPlainText("Fine");
        dialog.findChild<QAbstractButton*>("Btn_Ok")->click();
        return dialog.result();
    });
    std::filesystem::remove(f.dir.File("ListMwDur.dat"));
    f.Click("Btn_WepDur");
    EXPECT_EQ(f.dir.Read("ListMwDur.dat"), "Fine\r\n");
}

TEST(WeaponPickLists, MagicGridEditorReadsEveryLineFormAndWritesQuotedLines) {
    WeaponFixture f;
    f.settings.WriteInteger("GridEditWidth", 300);
    f.Open(With(kPickLists, "ListMwMagic.dat",
                "\"Power\",1\r\nForce,2\r\nVanq\r\n\"Slaying, Undead\",2\r\n\r\n\"Fire\"\r\n"));
    f.Choose("Cb_MWMagic", "Force");
    QStringList shown;
    f.dialogs.modalHandlers.push_back([&](QDialog& dialog) {
        auto* editor = dynamic_cast<TEditGridForm*>(&dialog);
        EXPECT_NE(editor, nullptr);
        EXPECT_EQ(dialog.windowTitle(), "Weapon Magic");
        EXPECT_EQ(dialog.width(), 300);
        EXPECT_EQ(dialog.height(), 307);
        TStringGrid* grid = editor->Grid();
        EXPECT_EQ(grid->RowTexts(0), QStringList({"Magic", "Special"}));
        for (int r = 1; r < grid->RowCount(); ++r) shown << grid->RowTexts(r).join("|");
        // The special column is not typed into: selecting it selects the name.
        grid->setCurrentCell(1, 3);
        EXPECT_EQ(grid->Col(), 0);
        emit grid->cellDoubleClicked(1, 3);  // Vanq: (None) -> Virtue
        emit grid->cellDoubleClicked(1, 2);  // Force: Silver -> (None)
        emit grid->cellDoubleClicked(1, 2);  // -> Virtue
        emit grid->cellDoubleClicked(1, 2);  // -> Silver
        // Tab on the last row adds a row, as New does.
        grid->setCurrentCell(0, grid->RowCount() - 1);
        QTest::keyClick(grid, Qt::Key_Tab);
        EXPECT_EQ(grid->RowCount(), 7);
        EXPECT_EQ(grid->Row(), 6);
        grid->setCells(0, 6, "Ice, cold ");
        editor->Btn_NewClick();
        EXPECT_EQ(grid->Row(), 7);  // left empty: not written
        grid->setCells(0, 1, "");   // a blanked name goes
        dialog.findChild<QAbstractButton*>("Btn_Ok")->click();
        return dialog.result();
    });
    f.Click("Btn_WepMagic");
    EXPECT_EQ(shown,
              QStringList({"Power|Virtue", "Force|Silver", "Vanq|(None)", "Slaying, Undead|Silver", "Fire|(None)"}));
    EXPECT_EQ(f.dir.Read("ListMwMagic.dat"),
              "\"Force\",2\r\n\"Vanq\",1\r\n\"Slaying  Undead\",2\r\n\"Fire\",0\r\n\"Ice  cold \",0\r\n");
    EXPECT_EQ(Entries(f.Box("Cb_MWMagic")),
              QStringList({"(None)", "Force", "Vanq", "Slaying  Undead", "Fire", "Ice  cold "}));
    EXPECT_EQ(f.Box("Cb_MWMagic")->currentText(), "Force");
    EXPECT_EQ(ComboObjAt(*f.Box("Cb_MWMagic"), 2)->code, 1);
    EXPECT_EQ(f.settings.ReadInteger("GridEditWidth", 0), 300);
    EXPECT_EQ(f.settings.ReadInteger("GridEditHeight", 0), 307);

    // Cancel writes nothing.
    f.dialogs.modalHandlers.push_back([](QDialog& dialog) {
        dynamic_cast<TEditGridForm&>(dialog).Grid()->setCells(0, 1, "Changed");
        return QDialog::Rejected;
    });
    f.Click("Btn_WepMagic");
    EXPECT_EQ(f.Box("Cb_MWMagic")->itemText(1), "Force");
}

}  // namespace stallmark::test
