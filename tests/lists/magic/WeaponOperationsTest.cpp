// Save, Delete, Edit, Sold, Send, Send To Detail, Reorder and the warning blink of the
// weapons page, on the real window.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <filesystem>
#include <fstream>

#include "store/Files.h"

#include "lists/magic/WeaponFixture.h"

namespace stallmark::test {

namespace {

const std::map<std::string, std::string> kPickLists = {
    {"ListMwItem.dat", "Bow\r\nKatana\r\nMace\r\n"},
    {"ListMwMagic.dat", "\"Power\",1\r\n\"Vanquishing\",2\r\n\"Force\",0\r\n"},
    {"ListMwAcc.dat", "Accurate\r\nSupremely\r\n"},
    {"ListMwDur.dat", "Durable\r\nMassive\r\n"},
    {"ListMwOther.dat", "from bank\r\n"},
};

std::map<std::string, std::string> Files(const std::string& stock, const std::string& prices = "") {
    auto files = kPickLists;
    files["MWStock.dat"] = stock;
    files["MWPrice.dat"] = prices;
    return files;
}

}  // namespace

TEST(WeaponSave, WithoutWeaponWarnsAndWritesNothing) {
    WeaponFixture f;
    f.Open(Files("Bow,Power,0,,,900,20261201,\r\n"));
    f.Price()->setText("100");
    f.Click("Btn_MWAdd");
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.dialogs.boxes[0].text, "No Weapon Entered !");
    EXPECT_EQ(f.dialogs.boxes[0].kind, MsgKind::Warning);
    EXPECT_EQ(f.dialogs.boxes[0].buttons, mbOK);
    EXPECT_EQ(f.Stock(), "Bow,Power,0,,,900,20261201,\r\n");
}

TEST(WeaponSave, StoresTheBoxesInOrderAndSelectsTheNewRow) {
    WeaponFixture f;
    f.Open(Files("Bow,Power,0,,,900,20261201,\r\nMace,,0,,,5,20261201,\r\n"));
    f.Choose("Cb_Weapon", "Katana");
    f.Choose("Cb_MWMagic", "Vanquishing");
    f.Choose("Cb_MWAcc", "Supremely");
    f.Choose("Cb_MWDur", "Massive");
    f.Box("Cb_MWOther")->setEditText(" from, bank ");
    f.Choose("Cb_Weapon", "(None)");
    f.Choose("Cb_Weapon", "Katana");
    f.Price()->setText("12000");
    f.Click("Btn_MWAdd");
    EXPECT_TRUE(f.dialogs.boxes.empty());
    EXPECT_EQ(f.Stock(), "Bow,Power,0,,,900,20261201,\r\nKatana,Vanquishing,2,Supremely,Massive,12000," +
                             std::string(kToday) + ",from  bank\r\nMace,,0,,,5,20261201,\r\n");
    EXPECT_EQ(f.grid->Row(), 1);  // the search shows the Katana alone
    EXPECT_EQ(f.grid->Cells(0, 1), "Katana");
    EXPECT_EQ(f.Label("Lb_MWepDesc")->text(), "  Katana Massive Supremely Silver Vanquishing from  bank = 12000");
    f.Click("Btn_MWReset");
    EXPECT_EQ(f.Items(), QStringList({"Bow", "Katana", "Mace"}));
}

// Save on the lines the page already read: the file gets the ordered insert, and every
// search after it shows the rows a page reading that file afresh shows, each row still
// removing its own line; a file whose lines do not all end with CR LF is rewritten whole.
TEST(WeaponSave, OnTheLinesAlreadyReadShowsWhatTheFileHolds) {
    const std::string stock =
        "Bow,Power,0,,,900,20261201,\r\nKatana,Power,1,Accurate,,1500,,\r\nMace,,0,,,5,20261130,\r\n";
    for (const bool lfOnly : {false, true}) {
        SCOPED_TRACE(lfOnly ? "LF" : "CR LF");
        std::string file = stock;
        if (lfOnly)
            for (std::size_t at = file.find("\r\n"); at != std::string::npos; at = file.find("\r\n", at))
                file.erase(at, 1);
        WeaponFixture f;
        f.Open(Files(file));
        f.Choose("Cb_Weapon", "Katana");
        f.Choose("Cb_MWMagic", "Vanquishing");
        f.Price()->setText("12000");
        f.Click("Btn_MWAdd");
        const std::string saved =
            "Bow,Power,0,,,900,20261201,\r\nKatana,Power,1,Accurate,,1500,,\r\nKatana,Vanquishing,2,,,12000," +
            std::string(kToday) + ",\r\nMace,,0,,,5,20261130,\r\n";
        EXPECT_EQ(f.Stock(), saved);
        EXPECT_EQ(f.Rows(), QStringList({"Katana|Vanquishing|||Silver||08/12/2026|0|12000"}));
        EXPECT_EQ(f.grid->Row(), 1);

        WeaponFixture fresh;
        fresh.Open(Files(saved));
        f.Click("Btn_MWReset");
        EXPECT_EQ(f.Rows(), fresh.Rows());
        f.Choose("Cb_Weapon", "Katana");
        fresh.Choose("Cb_Weapon", "Katana");
        EXPECT_EQ(f.Rows(), fresh.Rows());
        f.SelectRow(2);
        f.dialogs.boxAnswers.push_back(mbYes);
        f.Click("Btn_MWDelete");
        std::string deleted = saved;
        deleted.erase(deleted.find("Katana,Vanquishing"), deleted.find("Mace,") - deleted.find("Katana,Vanquishing"));
        EXPECT_EQ(f.Stock(), deleted);
        EXPECT_EQ(f.Items(), QStringList({"Katana"}));
    }
}

// Save after the file changed behind the page's back, in ways its stamp may hide (the
// same size with the time set back, another file of the same size and time): the line
// goes into the file as it is now, and nothing in it is lost.
TEST(WeaponSave, AfterTheFileChangedAddsToTheFileAsItIs) {
    const std::string stock = "Bow,Power,0,,,900,20261201,\r\nMace,,0,,,5,20261130,\r\n";
    for (const bool replaced : {false, true}) {
        SCOPED_TRACE(replaced ? "replaced" : "rewritten in place");
        WeaponFixture f;
        f.Open(Files(stock));
        f.Choose("Cb_Weapon", "Katana");
        const std::filesystem::path path = f.dir.File("MWStock.dat");
        const auto written = std::filesystem::last_write_time(path);
        std::string changed = stock;
        changed.replace(changed.find("900,"), 4, "700,");
        if (replaced) {
            ReplaceFileAtomically(path.string(), changed);
        } else {
            std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
            file.seekp(static_cast<std::streamoff>(stock.find("900,")));
            file.write("700,", 4);
        }
        std::filesystem::last_write_time(path, written);
        f.Price()->setText("3");
        f.Click("Btn_MWAdd");
        EXPECT_EQ(f.Stock(), "Bow,Power,0,,,700,20261201,\r\nKatana,,0,,,3," + std::string(kToday) +
                                 ",\r\nMace,,0,,,5,20261130,\r\n");
        f.Click("Btn_MWReset");
        EXPECT_EQ(f.grid->RowTexts(1).join("|"), "Bow|Power|||||01/12/2026|7|700");
    }
}

// Save after another program wrote the file anew since the last search (more lines, some
// ended with LF alone, one with no end): the line goes into the file as it is then, the file
// is rewritten with CR LF, and the rows shown, before and after Reset, are those a page
// reading that file afresh shows, each row removing its own line. A file removed meanwhile
// is made anew with the saved line alone.
TEST(WeaponSave, AfterTheFileWasWrittenAnewShowsWhatTheFileHolds) {
    WeaponFixture f;
    f.Open(Files("Bow,Power,0,,,900,20261201,\r\n"));
    f.Choose("Cb_Weapon", "Katana");
    f.dir.Write("MWStock.dat",
                "Axe,,0,,,4,20261120,\nKatana,Force,0,,,77,20261125,\r\nKatana,Power,1,,Durable,15,20261001,extra,"
                "fields\nMace,,0,,,5,20261130");
    f.Price()->setText("12000");
    f.Click("Btn_MWAdd");
    const std::string saved = "Axe,,0,,,4,20261120,\r\nKatana,,0,,,12000," + std::string(kToday) +
                              ",\r\nKatana,Force,0,,,77,20261125,\r\nKatana,Power,1,,Durable,15,20261001,extra,"
                              "fields\r\nMace,,0,,,5,20261130\r\n";
    EXPECT_EQ(f.Stock(), saved);
    WeaponFixture fresh;
    fresh.Open(Files(saved));
    fresh.Choose("Cb_Weapon", "Katana");
    EXPECT_EQ(f.Rows(), fresh.Rows());
    EXPECT_EQ(f.grid->Row(), 1);
    EXPECT_EQ(f.grid->Cells(8, 1), "12000");
    f.SelectRow(3);
    f.dialogs.boxAnswers.push_back(mbYes);
    f.Click("Btn_MWDelete");
    std::string deleted = saved;
    deleted.erase(deleted.find("Katana,Power"), deleted.find("Mace,") - deleted.find("Katana,Power"));
    EXPECT_EQ(f.Stock(), deleted);
    f.Click("Btn_MWReset");
    WeaponFixture after;
    after.Open(Files(deleted));
    EXPECT_EQ(f.Rows(), after.Rows());

    std::filesystem::remove(f.dir.File("MWStock.dat"));
    f.Choose("Cb_Weapon", "Bow");
    f.Price()->setText("8");
    f.Click("Btn_MWAdd");
    EXPECT_EQ(f.Stock(), "Bow,,0,,,8," + std::string(kToday) + ",\r\n");
    EXPECT_EQ(f.Items(), QStringList({"Bow"}));
}

TEST(WeaponSave, MissingOrNegativePriceAsksFirst) {
    WeaponFixture f;
    f.Open(Files(""));
    f.Choose("Cb_Weapon", "Bow");
    f.Price()->setText("-5");
    f.dialogs.boxAnswers.push_back(mbNo);
    f.Click("Btn_MWAdd");
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.dialogs.boxes[0].text, "Value missing or incorrect\n\rare you sure you want to continue ?");
    EXPECT_EQ(f.dialogs.boxes[0].kind, MsgKind::Confirmation);
    EXPECT_EQ(f.dialogs.boxes[0].buttons, mbYes | mbNo);
    EXPECT_EQ(f.Stock(), "");
    f.dialogs.boxAnswers.push_back(mbYes);
    f.Click("Btn_MWAdd");
    EXPECT_EQ(f.Stock(), "Bow,,0,,,5," + std::string(kToday) + ",\r\n");
    f.Price()->clear();
    f.Click("Btn_MWAdd");  // an empty box: asked, and Yes stores 0
    EXPECT_EQ(f.Stock(), "Bow,,0,,,0," + std::string(kToday) + ",\r\nBow,,0,,,5," + kToday + ",\r\n");
}

TEST(WeaponSave, AnItemTheSearchHidesIsStoredButNotSelected) {
    WeaponFixture f;
    f.Open(Files("Bow,,1,,,1,20261201,\r\nMace,,2,,,5,20261201,\r\n"));
    // Silver and Virtue search both kinds, but an item saved with both is stored as none.
    f.Check("Ckb_MWSilver")->click();
    f.Check("Ckb_MWVirtue")->click();
    f.Choose("Cb_Weapon", "Katana");
    f.Choose("Cb_Weapon", "(None)");
    EXPECT_EQ(f.Items(), QStringList({"Bow", "Mace"}));
    f.SelectRow(2);
    f.Choose("Cb_Weapon", "Katana");
    f.Price()->setText("7");
    f.Click("Btn_MWAdd");
    EXPECT_EQ(f.Stock(),
              "Bow,,1,,,1,20261201,\r\nKatana,,0,,,7," + std::string(kToday) + ",\r\nMace,,2,,,5,20261201,\r\n");
    EXPECT_EQ(f.Rows(), QStringList({"||||||||"}));
    EXPECT_EQ(f.grid->Row(), 1);
    EXPECT_EQ(f.Label("Lb_MWepDesc")->text(), "  ");
}

TEST(WeaponSave, TwoSpecialBoxesStoreNoneAndBlinkTheWarning) {
    WeaponFixture f;
    f.Open(Files(""));
    f.Choose("Cb_Weapon", "Katana");
    f.Price()->setText("100");
    f.Check("Ckb_MWSilver")->click();
    f.Check("Ckb_MWVirtue")->click();
    f.Click("Btn_MWAdd");
    EXPECT_EQ(f.Stock(), "Katana,,0,,,100," + std::string(kToday) + ",\r\n");
    EXPECT_EQ(f.page->WarnFlashTicks(), 10);
    QLabel* warn = f.Label("Lb_MwWarn");
    EXPECT_EQ(warn->text(), "Weapon special status set to None");
    std::vector<QColor> colours;
    for (int tick = 0; tick < 10; ++tick) {
        f.Tick();
        colours.push_back(warn->palette().color(QPalette::WindowText));
        EXPECT_EQ(warn->isVisible(), tick < 9) << tick;
    }
    EXPECT_EQ(colours[0], QColor(255, 0, 0));  // starts red
    EXPECT_NE(colours[1], QColor(255, 0, 0));
    EXPECT_EQ(colours[8], QColor(255, 0, 0));
    EXPECT_EQ(f.page->WarnFlashTicks(), 0);
    f.Tick();
    EXPECT_FALSE(warn->isVisible());
    // Silver and No Special together count as two as well.
    f.Check("Ckb_MWVirtue")->click();
    f.Check("Ckb_MWNone")->click();
    f.Click("Btn_MWAdd");
    EXPECT_EQ(f.page->WarnFlashTicks(), 10);
}

TEST(WeaponEdit, RewritesTheRowInPlaceWithoutReloading) {
    WeaponFixture f;
    f.Open(Files("Bow,Power,0,,,900,,\r\nKatana,Force,2,Accurate,,500,20261201,old\r\nMace,,0,,,5,20261201,\r\n"));
    // All boxes blank: the line is written back unchanged, a blank date as today.
    f.SelectRow(1);
    f.Click("Btn_MWEdit");
    EXPECT_EQ(f.Stock(), "Bow,Power,0,,,900," + std::string(kToday) +
                             ",\r\nKatana,Force,2,Accurate,,500,20261201,old\r\nMace,,0,,,5,20261201,\r\n");
    EXPECT_TRUE(f.dialogs.boxes.empty());

    // Only "No Special" checked keeps Silver; the weapon cell never changes.
    f.Click("Btn_MWAutoUpdateOff");
    f.SelectRow(2);
    f.Check("Ckb_MWNone")->click();
    f.Choose("Cb_Weapon", "Mace");
    f.Choose("Cb_MWDur", "Massive");
    f.Box("Cb_MWOther")->setEditText("new, note");
    f.Price()->setText("1,200gp");
    f.Click("Btn_MWEdit");
    EXPECT_EQ(f.grid->RowTexts(2).join("|"), "Katana|Force|Accurate|Massive|Silver|new  note|01/12/2026|7|1200");
    EXPECT_EQ(f.Stock(),
              "Bow,Power,0,,,900," + std::string(kToday) +
                  ",\r\nKatana,Force,2,Accurate,Massive,1200,20261201,new  note\r\nMace,,0,,,5,20261201,\r\n");
    // Virtue alone sets Virtue; the edited row stays where it was until the next reload.
    f.Check("Ckb_MWNone")->click();
    f.Choose("Cb_MWDur", "(None)");
    f.Choose("Cb_MWMagic", "Power");  // checks Virtue
    f.Click("Btn_MWEdit");
    EXPECT_EQ(f.grid->RowTexts(2).join("|"), "Katana|Power|Accurate|Massive|Virtue|new  note|01/12/2026|7|1200");
    EXPECT_NE(f.Stock().find("Katana,Power,1,Accurate,Massive,1200,20261201,new  note\r\n"), std::string::npos);
    EXPECT_EQ(f.Stock().find("Katana,Force"), std::string::npos);
}

TEST(WeaponSold, MovesTheRowToThePriceListAndSelectsTheNextRow) {
    WeaponFixture f;
    f.Open(Files("Bow,Power,1,,,900,20261130,x\r\nKatana,,0,,,50,,\r\nMace,,0,,,5,20261201,\r\n",
                 "Axe,,0,,,1,3,,20260101\r\n"));
    f.SelectRow(3);
    f.Click("Btn_MWSold");
    EXPECT_TRUE(f.dialogs.boxes.empty());
    EXPECT_EQ(f.Stock(), "Bow,Power,1,,,900,20261130,x\r\nKatana,,0,,,50,,\r\n");
    EXPECT_EQ(f.Prices(), "Axe,,0,,,1,3,,20260101\r\nMace,,0,,,5,7,," + std::string(kToday) + "\r\n");
    EXPECT_EQ(f.page->View(), MagicView::Stock);
    EXPECT_EQ(f.grid->Row(), 2);  // the new last row
    EXPECT_EQ(f.Label("Lb_MWepDesc")->text(), "  Katana = 50");
    f.SelectRow(1);
    f.Click("Btn_MWSold");
    EXPECT_EQ(f.grid->Row(), 1);
    EXPECT_NE(f.Prices().find("Bow,Power,1,,,900,8,x," + std::string(kToday)), std::string::npos);
    f.Click("Btn_MWSold");  // the only row: its blank date gives age 0
    EXPECT_EQ(f.Stock(), "");
    EXPECT_NE(f.Prices().find("Katana,,0,,,50,0,," + std::string(kToday)), std::string::npos);
    EXPECT_EQ(f.Rows(), QStringList({"||||||||"}));
    EXPECT_EQ(f.grid->Row(), 1);
    // The empty row sells nothing.
    const std::string prices = f.Prices();
    f.page->SoldClick();
    EXPECT_EQ(f.Prices(), prices);
}

TEST(WeaponPrices, BigAndHandStoredPricesSurviveEditAndSold) {
    WeaponFixture f;
    f.Open(Files("Bow,,0,,,-5,20261201,\r\nKatana,,0,,,3000000000,20261201,\r\n"));
    EXPECT_EQ(f.Rows(), QStringList({"Bow||||||01/12/2026|7|5", "Katana||||||01/12/2026|7|3000000000"}));
    // Edit with nothing filled in rewrites nothing; Sold carries the price over as stored.
    f.SelectRow(1);
    f.Click("Btn_MWEdit");
    f.SelectRow(2);
    f.Click("Btn_MWEdit");
    EXPECT_EQ(f.Stock(), "Bow,,0,,,-5,20261201,\r\nKatana,,0,,,3000000000,20261201,\r\n");
    f.Click("Btn_MWSold");
    f.SelectRow(1);
    f.Click("Btn_MWSold");
    EXPECT_EQ(f.Stock(), "");
    EXPECT_EQ(f.Prices(), "Bow,,0,,,-5,7,,20261208\r\nKatana,,0,,,3000000000,7,,20261208\r\n");
    // A price the player types replaces the stored one.
    f.Click("Btn_MWList");
    f.SelectRow(1);
    f.Price()->setText("900");
    f.Click("Btn_MWEdit");
    EXPECT_EQ(f.Prices(), "Bow,,0,,,900,7,,20261208\r\nKatana,,0,,,3000000000,7,,20261208\r\n");
}

TEST(WeaponDelete, AsksAndRemovesExactlyTheRowsLine) {
    WeaponFixture f;
    const std::string prices = "Katana,Power,0,,,900,3,x,20261101\r\nKatana,Power,0,,,900,3,x,20261105\r\n";
    f.Open(Files("Bow,,0,,,1,20261201,\r\nMace,Ruin,3,,,5,20261201,\r\n", prices));
    f.Click("Btn_MWList");
    f.SelectRow(2);
    f.dialogs.boxAnswers.push_back(mbNo);
    f.Click("Btn_MWDelete");
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.dialogs.boxes[0].text, "Delete Katana ?");
    EXPECT_EQ(f.dialogs.boxes[0].buttons, mbYes | mbNo);
    EXPECT_EQ(f.Prices(), prices);
    f.dialogs.boxAnswers.push_back(mbYes);
    f.Click("Btn_MWDelete");
    EXPECT_EQ(f.Prices(), "Katana,Power,0,,,900,3,x,20261101\r\n");
    EXPECT_EQ(f.Rows(), QStringList({"Katana|Power||||x|01/11/2026|3|900"}));
    // A stored line the grid would write differently (special code 3) still goes.
    f.Click("Btn_MWList");
    f.SelectRow(2);
    f.Click("Btn_MWDelete");
    EXPECT_EQ(f.Stock(), "Bow,,0,,,1,20261201,\r\n");
    // The empty row of an empty list asks nothing.
    f.dir.Write("MWStock.dat", "");
    f.Click("Btn_MWSearch");
    f.dialogs.Clear();
    f.Click("Btn_MWDelete");
    EXPECT_TRUE(f.dialogs.boxes.empty());
}

TEST(WeaponSend, TypesValueAndDescriptionWithTheWeaponRowOptions) {
    WeaponFixture f;
    f.Open(Files("Katana,Vanquishing,2,Supremely,Massive,12000,20261207,from bank\r\n"));
    f.Click("Btn_MWSend");
    const std::string sent = f.windows.PostedText(f.game);
    EXPECT_EQ(sent, std::string(21, '\b') + "12000,Katana Massive Supremely Silver Vanquishing from bank\r");
    // Without the value and Enter, with 2 backspaces; a double click sends too.
    f.options.sendRows[1].value = false;
    f.options.sendRows[1].enter = false;
    f.options.backSpc = 2;
    f.windows.ClearLog();
    emit f.grid->cellDoubleClicked(0, 1);
    EXPECT_EQ(f.windows.PostedText(f.game),
              std::string(3, '\b') + "Katana Massive Supremely Silver Vanquishing from bank");
    // F2 on the weapons page sends as well.
    f.windows.ClearLog();
    f.page->SendToGame(nullptr);
    EXPECT_FALSE(f.windows.PostedText(f.game).empty());
}

TEST(WeaponSendToDetail, FillsTheBoxesQuietly) {
    WeaponFixture f;
    f.Open(Files("Bow,,0,,,1,20261201,\r\nKatana,Vanquishing,2,Supremely,Massive,12000,20261207,from bank\r\n"));
    ASSERT_EQ(f.Items().size(), 2);
    f.SelectRow(2);
    f.Check("Ckb_MWNone")->setChecked(true);
    f.Check("Ckb_MWVirtue")->setChecked(true);
    f.page->SendToDetail();
    EXPECT_EQ(f.Box("Cb_Weapon")->currentText(), "Katana");
    EXPECT_EQ(f.Box("Cb_MWMagic")->currentText(), "Vanquishing");
    EXPECT_EQ(f.Box("Cb_MWAcc")->currentText(), "Supremely");
    EXPECT_EQ(f.Box("Cb_MWDur")->currentText(), "Massive");
    EXPECT_EQ(f.Box("Cb_MWOther")->currentText(), "from bank");
    EXPECT_EQ(f.Price()->text(), "12000");
    EXPECT_TRUE(f.Check("Ckb_MWSilver")->isChecked());
    EXPECT_FALSE(f.Check("Ckb_MWVirtue")->isChecked());
    EXPECT_FALSE(f.Check("Ckb_MWNone")->isChecked());
    // No reload: both rows still shown although the boxes now say Katana.
    EXPECT_EQ(f.Items().size(), 2);
    // A cell with no entry in its box selects none.
    f.dir.Write("MWStock.dat", "Lance,Odd,0,,,3,20261201,\r\n");
    f.Click("Btn_MWReset");
    f.page->SendToDetail();
    EXPECT_EQ(f.Box("Cb_Weapon")->currentText(), "");
    EXPECT_EQ(f.Price()->text(), "3");
}

TEST(WeaponReorder, SortsBothFilesAndSearchesAsAfterAChange) {
    WeaponFixture f;
    f.Open(Files("Mace,,0,,,5,20261201,\r\nBow,,0,,,1,20261201,\r\n",
                 "Zed,,0,,,1,2,,20260101\r\nAxe,,0,,,1,2,,20260101\r\n"));
    EXPECT_EQ(f.Items(), QStringList({"Mace", "Bow"}));
    f.Click("Btn_MWAutoUpdateOff");
    ASSERT_TRUE(f.page->Popup(nullptr).reorder);
    f.page->Reorder();
    EXPECT_EQ(f.Stock(), "Bow,,0,,,1,20261201,\r\nMace,,0,,,5,20261201,\r\n");
    EXPECT_EQ(f.Prices(), "Axe,,0,,,1,2,,20260101\r\nZed,,0,,,1,2,,20260101\r\n");
    EXPECT_EQ(f.Items(), QStringList({"Mace", "Bow"}));  // auto search off: not reloaded
    f.Click("Btn_MWAutoUpdateOn");
    EXPECT_EQ(f.Items(), QStringList({"Bow", "Mace"}));
    f.dir.Write("MWStock.dat", "Mace,,0,,,5,20261201,\r\nAxe,,0,,,1,20261201,\r\n");
    f.page->Reorder();
    EXPECT_EQ(f.Items(), QStringList({"Axe", "Mace"}));
}

// Reorder shows the files as written, whichever view is up: the rows of the sorted file
// through the search, each removing its own line, and searches after it on those lines.
TEST(WeaponReorder, ShowsTheSortedFileOfTheViewAndItsRowsRemoveTheirLines) {
    WeaponFixture f;
    f.Open(Files("Mace,,0,,,5,20261201,\r\nBow,,0,,,1,20261201,\nKatana,,1,,,3,20261201,\r\nBow,,0,,,2,20261130,",
                 "Mace,,0,,,1,2,,20260101\r\nBow,,0,,,1,2,,20260101\r\nBow,,0,,,0,3,,20260102\r\n"));
    f.Choose("Cb_Weapon", "Bow");
    f.page->Reorder();
    const std::string stock =
        "Bow,,0,,,1,20261201,\r\nBow,,0,,,2,20261130,\r\nKatana,,1,,,3,20261201,\r\nMace,,0,,,5,20261201,\r\n";
    EXPECT_EQ(f.Stock(), stock);
    EXPECT_EQ(f.Rows(), QStringList({"Bow||||||01/12/2026|7|1", "Bow||||||30/11/2026|8|2"}));
    f.Choose("Cb_Weapon", "(None)");
    EXPECT_EQ(f.Items(), QStringList({"Bow", "Bow", "Katana", "Mace"}));
    f.SelectRow(2);
    f.dialogs.boxAnswers.push_back(mbYes);
    f.Click("Btn_MWDelete");
    EXPECT_EQ(f.Stock(), "Bow,,0,,,1,20261201,\r\nKatana,,1,,,3,20261201,\r\nMace,,0,,,5,20261201,\r\n");

    f.Click("Btn_MWList");
    f.Choose("Cb_Weapon", "Bow");
    f.page->Reorder();
    EXPECT_EQ(f.Prices(), "Bow,,0,,,0,3,,20260102\r\nBow,,0,,,1,2,,20260101\r\nMace,,0,,,1,2,,20260101\r\n");
    EXPECT_EQ(f.Rows(), QStringList({"Bow||||||02/01/2026|3|0", "Bow||||||01/01/2026|2|1"}));
    f.Choose("Cb_Weapon", "(None)");
    EXPECT_EQ(f.Items(), QStringList({"Bow", "Bow", "Mace"}));
}

// After the page itself rewrote a file, the rows not reloaded still remove their own
// lines, and the next search shows what the file holds.
TEST(WeaponReorder, RowsNotReloadedKeepTheirLinesAndTheNextSearchReads) {
    WeaponFixture f;
    f.Open(Files("Mace,,0,,,5,20261201,\r\nBow,,0,,,1,20261201,\r\nAxe,,0,,,7,20261201,\r\n"));
    f.Click("Btn_MWAutoUpdateOff");
    f.page->Reorder();
    EXPECT_EQ(f.Items(), QStringList({"Mace", "Bow", "Axe"}));
    f.SelectRow(1);
    f.dialogs.boxAnswers.push_back(mbYes);
    f.Click("Btn_MWDelete");
    EXPECT_EQ(f.Stock(), "Axe,,0,,,7,20261201,\r\nBow,,0,,,1,20261201,\r\n");
    EXPECT_EQ(f.Items(), QStringList({"Axe", "Bow"}));

    // Edit writes a price of the same length; a search then shows the file.
    f.Click("Btn_MWAutoUpdateOn");
    f.SelectRow(2);
    f.Price()->setText("2");
    f.Click("Btn_MWEdit");
    f.dir.Write("MWStock.dat", "Axe,,0,,,7,20261201,\r\nBow,,0,,,3,20261201,\r\n");
    f.Box("Cb_MWOther")->setEditText("x");
    EXPECT_EQ(f.grid->RowTexts(2).join("|"), "Bow||||||01/12/2026|7|3");
}

}  // namespace stallmark::test
