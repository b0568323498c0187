// The magic armour page typed into and clicked through the real X server: an item
// described with the mouse and the keys is saved as typed and sent to the game's
// stand-in byte for byte.

#include <X11/keysym.h>

#include "e2e/RealApp.h"

namespace stallmark::e2e {
namespace {

class ArmourPageReal : public RealAppTest {
protected:
    void Open(const std::string& stock) {
        dir.Write("ListMaItem.dat", "Plate Chest\r\nHelm\r\n");
        dir.Write("ListMaMagic.dat", "Guarding\r\nHardening\r\n");
        dir.Write("ListMaDur.dat", "Durable\r\nMassive\r\n");
        dir.Write("MA1Stock.dat", stock);
        settings.WriteInteger("BackSpc", 0);
        StartWindow();
        ShowPage("Tab_MArmour");
    }
    std::string Stock() { return dir.Read("MA1Stock.dat"); }
};

TEST_F(ArmourPageReal, AnItemTypedAndChosenIsSavedAndSent) {
    Open("Plate Chest,Hardening,,900,20261201,\r\n");
    auto* grid = Find<TStringGrid>("SGrid_MArmDisplay");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(Rows(grid), QStringList({"Plate Chest|Hardening|||01/12/2026|7|900"}));
    ChooseInBox("Cb_MAItem", QStringLiteral("Helm"));
    ChooseInBox("Cb_MAMagic", QStringLiteral("Guarding"));
    ChooseInBox("Cb_MADur", QStringLiteral("Durable"));
    // The armour price box takes any characters; the price is its digits.
    ASSERT_TRUE(desktop.Click(Find<QWidget>("Ed_MAPrice")));
    ASSERT_TRUE(desktop.Type(QStringLiteral("1,200gp")));
    EXPECT_EQ(Find<QLineEdit>("Ed_MAPrice")->text(), QStringLiteral("1,200gp"));
    ASSERT_TRUE(desktop.Click(Find<QComboBox>("Cb_MAOther")->lineEdit()));
    ASSERT_TRUE(desktop.Type(QStringLiteral("Fine, sheen")));
    EXPECT_EQ(Find<QComboBox>("Cb_MAOther")->currentText(), QStringLiteral("Fine, sheen"));
    // "1,200gp" is no number: the player is asked first, and goes on.
    dialogs.scripted.boxAnswers.push_back(mbYes);
    ClickButton("Btn_MAAdd");
    ASSERT_EQ(dialogs.scripted.boxes.size(), 1u);
    EXPECT_EQ(dialogs.scripted.boxes[0].text,
              QStringLiteral("Value missing or incorrect\n\rare you sure you want to continue ?"));
    EXPECT_EQ(Stock(), "Helm,Guarding,Durable,1200,20261208,Fine  sheen\r\nPlate Chest,Hardening,,900,20261201,\r\n");
    EXPECT_EQ(Rows(grid), QStringList({"Helm|Guarding|Durable|Fine  sheen|08/12/2026|0|1200"}));
    EXPECT_EQ(Find<QLabel>("Lb_MArmDesc")->text(), QStringLiteral("  Helm Durable Guarding Fine  sheen = 1200"));

    // F2 types the selected item into the game; a double click on its row does too.
    ASSERT_TRUE(desktop.Key(XK_F2));
    const std::string line = "1200,Helm Durable Guarding Fine  sheen\r";
    EXPECT_EQ(game->WaitForLog(line.size()), line);
    ASSERT_TRUE(desktop.DoubleClickCell(grid, 0, 1));
    EXPECT_EQ(game->WaitForLog(2 * line.size()), line + line);
}

}  // namespace
}  // namespace stallmark::e2e
