// The magic armour page on its own: its controls and texts, the search, Save, Edit,
// Delete, Sold (on the stock date), Send and its settings, on the files as stored.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QTest>

#include "controls/CaptionedControls.h"
#include "lists/magic/WeaponFixture.h"

namespace stallmark::test {

namespace {

const std::map<std::string, std::string> kPickLists = {
    {"ListMaItem.dat", "Plate Chest\r\nHelm\r\nGorget\r\n"},
    {"ListMaMagic.dat", "Invulnerability\r\nGuarding\r\nHardening\r\n"},
    {"ListMaDur.dat", "Massive\r\nDurable\r\n"},
    {"ListMaOther.dat", "from bank  \r\n"},
};

// As players have it: unsorted, a price stored by hand as -5, a line without an item,
// a price beyond 32 bits and a blank date.
const std::string kStock =
    "Plate Chest,Invulnerability,Massive,2500,20261201,from bank\r\n"
    "Helm,Guarding,,-5,20261207,\r\n"
    " ,Ghost,,5,20261207,\r\n"
    "Gorget,Hardening,Durable,3000000000,,\r\n";

struct ArmourFixture : WeaponFixture {
    void OpenArmour(const std::string& stock, const std::string& prices = "") {
        auto files = kPickLists;
        files["MA1Stock.dat"] = stock;
        files["MA1Price.dat"] = prices;
        Open(files, ArmourList());
    }
    TEditLabel* Price() { return Find<TEditLabel>("Ed_MAPrice"); }
    std::string Stock() { return dir.Read("MA1Stock.dat"); }
    std::string Prices() { return dir.Read("MA1Price.dat"); }
};

}  // namespace

TEST(ArmourPage, StartsOnTheStockListWithItsOwnControlsAndTexts) {
    ArmourFixture f;
    f.OpenArmour(kStock);
    EXPECT_EQ(f.page->Id(), ListId::Armour);
    EXPECT_EQ(f.grid->objectName(), "SGrid_MArmDisplay");
    EXPECT_EQ(f.grid->RowTexts(0), QStringList({"Item", "Magic", "Durability", "Other", "Date", "Age", "Price"}));
    EXPECT_EQ(f.Rows(), QStringList({"Plate Chest|Invulnerability|Massive|from bank|01/12/2026|7|2500",
                                     "Helm|Guarding|||07/12/2026|1|5", "Gorget|Hardening|Durable||||3000000000"}));
    EXPECT_EQ(f.Label("Lb_MArmDesc")->text(), "  Plate Chest Massive Invulnerability from bank = 2500");
    // Design widths; Date and Age are never narrower than a date or a count of days.
    const std::vector<int> design{74, 76, 52, 48, 47, 56};
    for (int c = 0; c < 4; ++c) EXPECT_EQ(f.grid->ColWidths(c), design[c]);
    for (int c = 4; c < 6; ++c) EXPECT_GE(f.grid->ColWidths(c), std::max(design[c], f.grid->MinColWidth(c)));
    EXPECT_EQ(f.grid->ColumnAlignment(5), Qt::AlignRight);
    EXPECT_EQ(f.grid->ColumnAlignment(6), Qt::AlignRight);
    EXPECT_EQ(f.grid->ColumnAlignment(4), Qt::AlignLeft);
    EXPECT_EQ(f.grid->DefaultRowHeight(), 17);

    // No accuracy, no special status, no warning.
    EXPECT_TRUE(f.window.findChildren<QCheckBox*>().isEmpty());
    EXPECT_EQ(f.Label("Lb_MwWarn"), nullptr);
    EXPECT_EQ(f.Find<QGroupBox>("Gb_MADetail")->title(), "Detail / Search");
    EXPECT_EQ(f.Find<QGroupBox>("Gb_MADisplay")->title(), "Stock");
    for (const auto& [name, caption] : std::map<const char*, const char*>{{"Btn_MAItem", "Item        "},
                                                                          {"Btn_MAMagic", "Magic      "},
                                                                          {"Btn_MADur", "Durability "},
                                                                          {"Btn_MAOther", "Other       "}})
        EXPECT_EQ(f.Button(name)->text(), caption) << name;
    EXPECT_EQ(f.Button("Btn_MAEdit")->toolTip(), "Edit value");
    EXPECT_EQ(f.Button("Btn_MAList")->toolTip(), "Toggle Price / Stock Lists");
    EXPECT_EQ(f.Button("Btn_MAAdd")->toolTip(), "Save current item");
    EXPECT_EQ(f.Button("Btn_MAAutoUpdateOn")->toolTip(), "Auto search on (recommended)");
    EXPECT_TRUE(f.Button("Btn_MAAutoUpdateOn")->isDown());
    // The bars take the button options like the weapon bars.
    EXPECT_EQ(f.Button("Btn_MASend")->displayMode(), dmGlyphOnly);
    EXPECT_EQ(f.Price()->charFilter(), cfNormal);
    EXPECT_EQ(f.Price()->maxLength(), 9);
    EXPECT_EQ(f.Box("Cb_MAOther")->lineEdit()->maxLength(), 75);
    EXPECT_EQ(f.Box("Cb_MAItem")->itemText(1), "Gorget");            // sorted
    EXPECT_EQ(f.Box("Cb_MAMagic")->itemText(1), "Invulnerability");  // as in the file

    const PopupState popup = f.page->Popup(nullptr);
    EXPECT_EQ(popup.list1, 3);
    EXPECT_EQ(popup.list2, 4);
    EXPECT_EQ(popup.list1Caption, "Stock List Options");
    EXPECT_EQ(popup.list2Caption, "Price List Options");
    EXPECT_TRUE(popup.sendToDetail);
    EXPECT_TRUE(popup.gridResize);
    EXPECT_TRUE(popup.hideColumns);
    EXPECT_FALSE(popup.reorder);
    EXPECT_FALSE(popup.link);
}

TEST(ArmourPage, PriceListAndTheArmourDisplayOptions) {
    ArmourFixture f;
    f.settings.WriteInteger("MAStock TextCol", 0x0000FF);  // red
    f.settings.WriteInteger("MAPrice TextCol", 0xFF0000);  // blue
    f.settings.WriteInteger("MWStock TextCol", 0x00FF00);  // the weapon lists' colours stay theirs
    f.OpenArmour(kStock, "Helm,Guarding,,400,12,,20261120\r\nCap,,,1,,,\r\n");
    EXPECT_EQ(f.grid->TextColor(), QColor(255, 0, 0));
    f.Click("Btn_MAList");
    EXPECT_EQ(f.Button("Btn_MAList")->text(), "Prices");
    EXPECT_EQ(f.Find<QGroupBox>("Gb_MADisplay")->title(), "Prices");
    EXPECT_FALSE(f.Button("Btn_MAAdd")->isEnabled());
    EXPECT_FALSE(f.Button("Btn_MASold")->isEnabled());
    EXPECT_EQ(f.grid->TextColor(), QColor(0, 0, 255));
    EXPECT_EQ(f.Rows(), QStringList({"Helm|Guarding|||20/11/2026|12|400", "Cap||||08/12/2026||1"}));
    EXPECT_EQ(f.page->FilePath(), f.dir.File("MA1Price.dat"));
    f.settings.WriteInteger("MAPrice TextCol", 0x00FFFF);
    f.ApplyListOptions(2);  // a weapon list: nothing here
    EXPECT_EQ(f.grid->TextColor(), QColor(0, 0, 255));
    f.ApplyListOptions(4);
    EXPECT_EQ(f.grid->TextColor(), QColor(255, 255, 0));
}

TEST(ArmourSearch, ItemMagicAndDurabilityFilterAndNoneClears) {
    ArmourFixture f;
    f.OpenArmour(kStock + "Helm,Hardening,Massive,10,20261208,\r\n");
    f.Choose("Cb_MAItem", "Helm");
    EXPECT_EQ(f.Items(), QStringList({"Helm", "Helm"}));
    f.Choose("Cb_MADur", "Massive");
    EXPECT_EQ(f.Rows(), QStringList({"Helm|Hardening|Massive||08/12/2026|0|10"}));
    f.Choose("Cb_MAMagic", "Guarding");
    EXPECT_EQ(f.Rows(), QStringList({"||||||"}));
    f.Choose("Cb_MADur", "(None)");
    EXPECT_EQ(f.Box("Cb_MADur")->currentText(), "");
    EXPECT_EQ(f.Rows(), QStringList({"Helm|Guarding|||07/12/2026|1|5"}));
    // Other never filters; with auto search off nothing moves until Search.
    f.Click("Btn_MAAutoUpdateOff");
    f.Box("Cb_MAOther")->setEditText("from bank");
    f.Choose("Cb_MAItem", "(None)");
    f.Choose("Cb_MAMagic", "(None)");
    EXPECT_EQ(f.Items().size(), 1);
    f.Click("Btn_MASearch");
    EXPECT_EQ(f.Items(), QStringList({"Plate Chest", "Helm", "Gorget", "Helm"}));
}

TEST(ArmourSave, NeedsAnItemAndReadsAnyPriceText) {
    ArmourFixture f;
    f.OpenArmour("Plate Chest,Invulnerability,Massive,2500,20261201,from bank\r\n");
    f.Price()->setText("100");
    f.Click("Btn_MAAdd");
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.dialogs.boxes[0].text, "No Description Entered !");
    EXPECT_EQ(f.dialogs.boxes[0].kind, MsgKind::Warning);
    EXPECT_EQ(f.dialogs.boxes[0].buttons, mbOK);
    EXPECT_EQ(f.Stock(), "Plate Chest,Invulnerability,Massive,2500,20261201,from bank\r\n");

    // The price box takes letters: "1,200gp" reads as no price, so the question comes.
    f.dialogs.Clear();
    f.Choose("Cb_MAItem", "Helm");
    f.Choose("Cb_MAMagic", "Guarding");
    f.Choose("Cb_MADur", "Durable");
    f.Box("Cb_MAOther")->setEditText(" from, bank ");
    f.Price()->clear();
    f.Price()->setFocus();
    QTest::keyClicks(f.Price(), "1,200gp");
    EXPECT_EQ(f.Price()->text(), "1,200gp");
    f.dialogs.boxAnswers.push_back(mbNo);
    f.Click("Btn_MAAdd");
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.dialogs.boxes[0].text, "Value missing or incorrect\n\rare you sure you want to continue ?");
    EXPECT_EQ(f.Stock(), "Plate Chest,Invulnerability,Massive,2500,20261201,from bank\r\n");
    f.dialogs.boxAnswers.push_back(mbYes);
    f.Click("Btn_MAAdd");
    EXPECT_EQ(f.Stock(), "Helm,Guarding,Durable,1200," + std::string(kToday) +
                             ",from  bank\r\nPlate Chest,Invulnerability,Massive,2500,20261201,from bank\r\n");
    EXPECT_EQ(f.Rows(), QStringList({"Helm|Guarding|Durable|from  bank|08/12/2026|0|1200"}));
    EXPECT_EQ(f.grid->Row(), 1);
    EXPECT_EQ(f.Label("Lb_MArmDesc")->text(), "  Helm Durable Guarding from  bank = 1200");
}

TEST(ArmourSold, StoresTheStockDateAsDateSoldAndKeepsStoredPrices) {
    ArmourFixture f;
    f.OpenArmour(kStock);
    f.SelectRow(1);
    f.Click("Btn_MASold");
    EXPECT_TRUE(f.dialogs.boxes.empty());
    EXPECT_EQ(f.Prices(), "Plate Chest,Invulnerability,Massive,2500,7,from bank,20261201\r\n");
    EXPECT_EQ(f.grid->Row(), 1);
    EXPECT_EQ(f.Label("Lb_MArmDesc")->text(), "  Helm Guarding = 5");
    // A price stored by hand as -5 and one beyond 32 bits go over as they were stored;
    // a blank Date cell sells as today, with no age.
    f.Click("Btn_MASold");
    f.Click("Btn_MASold");
    EXPECT_EQ(f.Stock(), " ,Ghost,,5,20261207,\r\n");
    EXPECT_EQ(f.Prices(), "Gorget,Hardening,Durable,3000000000,0,," + std::string(kToday) +
                              "\r\nHelm,Guarding,,-5,1,,20261207\r\n"
                              "Plate Chest,Invulnerability,Massive,2500,7,from bank,20261201\r\n");
    EXPECT_EQ(f.Rows(), QStringList({"||||||"}));
    f.Click("Btn_MAList");
    EXPECT_EQ(f.Rows(),
              QStringList({"Gorget|Hardening|Durable||08/12/2026|0|3000000000", "Helm|Guarding|||07/12/2026|1|5",
                           "Plate Chest|Invulnerability|Massive|from bank|01/12/2026|7|2500"}));
}

TEST(ArmourEdit, KeepsWhatThePlayerLeftAndRemovesTheStoredLine) {
    ArmourFixture f;
    f.OpenArmour("Helm,Guarding,,-5,20261207,\r\nPlate Chest,Invulnerability,Massive,2500,,old\r\n");
    // All boxes blank: each line written back as stored, a blank date as today.
    f.SelectRow(1);
    f.Click("Btn_MAEdit");
    f.SelectRow(2);
    f.Click("Btn_MAEdit");
    EXPECT_EQ(f.Stock(), "Helm,Guarding,,-5,20261207,\r\nPlate Chest,Invulnerability,Massive,2500," +
                             std::string(kToday) + ",old\r\n");
    // Filled boxes overwrite their cells; the item never changes; any price text counts.
    f.Click("Btn_MAAutoUpdateOff");
    f.SelectRow(1);
    f.Choose("Cb_MAItem", "Gorget");
    f.Choose("Cb_MADur", "Massive");
    f.Box("Cb_MAOther")->setEditText("new, note");
    f.Price()->setText("1,200gp");
    f.Click("Btn_MAEdit");
    EXPECT_TRUE(f.dialogs.boxes.empty());
    EXPECT_EQ(f.grid->RowTexts(1).join("|"), "Helm|Guarding|Massive|new  note|07/12/2026|1|1200");
    EXPECT_EQ(f.Stock(), "Helm,Guarding,Massive,1200,20261207,new  note\r\nPlate Chest,Invulnerability,Massive,2500," +
                             std::string(kToday) + ",old\r\n");
    // Edited again without a price: the price the row now holds stays.
    f.Price()->clear();
    f.Choose("Cb_MAMagic", "Hardening");
    f.Click("Btn_MAEdit");
    EXPECT_EQ(f.Stock().substr(0, f.Stock().find('\r')), "Helm,Hardening,Massive,1200,20261207,new  note");
}

TEST(ArmourDelete, AsksAndRemovesExactlyTheStoredLine) {
    ArmourFixture f;
    // A line the grid would write back differently (price -5, a field too many).
    const std::string stock = "Cap,,,10,20261201,,extra\r\nHelm,Guarding,,-5,20261207,\r\n";
    f.OpenArmour(stock);
    f.SelectRow(2);
    f.dialogs.boxAnswers.push_back(mbNo);
    f.Click("Btn_MADelete");
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.dialogs.boxes[0].text, "Delete Helm ?");
    EXPECT_EQ(f.dialogs.boxes[0].buttons, mbYes | mbNo);
    EXPECT_EQ(f.Stock(), stock);
    f.dialogs.boxAnswers.push_back(mbYes);
    f.Click("Btn_MADelete");
    EXPECT_EQ(f.Stock(), "Cap,,,10,20261201,,extra\r\n");
    f.SelectRow(1);
    f.Click("Btn_MADelete");
    EXPECT_EQ(f.Stock(), "");
    EXPECT_EQ(f.Rows(), QStringList({"||||||"}));
}

TEST(ArmourSend, TypesTheRowWithTheArmourRowOptions) {
    ArmourFixture f;
    f.OpenArmour(kStock);
    // The weapon row's options play no part here.
    f.options.sendRows[1] = SendRowOptions{false, false, false};
    f.Click("Btn_MASend");
    EXPECT_EQ(f.windows.PostedText(f.game),
              std::string(21, '\b') + "2500,Plate Chest Massive Invulnerability from bank\r");
    f.options.sendRows[2].value = false;
    f.options.sendRows[2].enter = false;
    f.options.backSpc = 0;
    f.windows.ClearLog();
    f.SelectRow(2);
    emit f.grid->cellDoubleClicked(0, 2);
    EXPECT_EQ(f.windows.PostedText(f.game), "Helm Guarding");
    f.windows.ClearLog();
    f.page->SendToGame(nullptr);  // F2 on this page
    EXPECT_EQ(f.windows.PostedText(f.game), "Helm Guarding");
}

TEST(ArmourSettings, HiddenColumnsAndSizesLastAcrossARestart) {
    std::map<std::string, std::string> kept;
    {
        ArmourFixture f;
        f.settings.WriteInteger("MArmRowHeight", 22);
        f.settings.WriteInteger("MArmColWidth1", 2);  // too narrow to find again: 40
        f.OpenArmour(kStock);
        EXPECT_EQ(f.grid->DefaultRowHeight(), 22);
        EXPECT_EQ(f.grid->ColWidths(1), 40);
        f.page->HideColumnChanged(HideColumn::Date, true);
        f.page->HideColumnChanged(HideColumn::Other, true);
        EXPECT_EQ(f.grid->ColWidths(4), -1);
        EXPECT_EQ(f.grid->ColWidths(3), -1);
        EXPECT_EQ(f.grid->ColWidths(5), 56);
        f.Click("Btn_MAAutoUpdateOff");
        f.Close();
        kept = f.settings.Strings();
    }
    EXPECT_EQ(kept.at("MArmColWidth4"), "-1");
    EXPECT_EQ(kept.at("MArmColWidth3"), "-1");
    EXPECT_EQ(kept.at("MArmRowHeight"), "22");
    EXPECT_EQ(kept.at("MA AutoUpdate"), "0");
    EXPECT_EQ(kept.count("MWepColWidth4"), 0u);

    ArmourFixture g;
    for (const auto& [name, value] : kept) g.settings.WriteRaw(name, value);
    g.OpenArmour(kStock);
    EXPECT_EQ(g.grid->ColWidths(4), -1);
    EXPECT_EQ(g.grid->ColWidths(3), -1);
    const PopupState popup = g.page->Popup(nullptr);
    EXPECT_TRUE(popup.hideDate);
    EXPECT_TRUE(popup.hideOther);
    EXPECT_FALSE(popup.hideAge);
    EXPECT_TRUE(g.Button("Btn_MAAutoUpdateOff")->isDown());
    // Shown again: 40 wide, not the width it had.
    g.page->HideColumnChanged(HideColumn::Other, false);
    EXPECT_EQ(g.grid->ColWidths(3), 40);
}

}  // namespace stallmark::test
