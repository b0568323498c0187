// The Smith page typed into and clicked through the real X server, as a player does:
// a price typed into the cell the editor shows is saved on its type's line, and F2
// types the selected price into the game.

#include <X11/keysym.h>

#include "e2e/RealApp.h"

namespace stallmark::e2e {
namespace {

const char* const kDescs = "Plate tunic,Tunic\r\nClose helm,Helm\r\n";
const char* const kPrices =
    "1400,1500,1600,1700,1800,1900,2000,2100,2200\r\n"
    "11,22,33,44,55,66,77,88,99\r\n";

class SmithReal : public RealAppTest {
protected:
    TStringGrid* price = nullptr;
    TStringGrid* desc = nullptr;

    void Open() {
        dir.Write("ArmDesc.dat", kDescs);
        dir.Write("Armour.dat", kPrices);
        StartWindow();
        ShowPage("Tab_Smith");
        price = Find<TStringGrid>("SGrid_Smith");
        desc = Find<TStringGrid>("SGrid_SmithDesc");
        ASSERT_NE(price, nullptr);
        ASSERT_NE(desc, nullptr);
    }

    std::string Prices() { return dir.Read("Armour.dat"); }
};

TEST_F(SmithReal, APriceTypedIntoACellIsSavedOnItsTypesLine) {
    Open();
    // The helm's Shadow price.
    ASSERT_TRUE(desktop.ClickCell(price, 1, 3));
    ASSERT_TRUE(WaitFor([&] { return desc->Row() == 1; }));
    ClickButton("Btn_SmithEdit");
    ASSERT_TRUE(EditorOn(price, 1, 3));
    // The cell's text starts selected, so typing replaces it; the letter is refused.
    ASSERT_TRUE(desktop.Type(QStringLiteral("4x50")));
    ASSERT_TRUE(WaitFor([&] { return price->Cells(1, 3) == QStringLiteral("450"); }))
        << price->Cells(1, 3).toStdString();
    EXPECT_EQ(dialogs.beeps, 1);
    ClickButton("Btn_SmithSave");
    ASSERT_TRUE(WaitFor([&] { return price->CellEditor() == nullptr; }));
    EXPECT_EQ(Prices(),
              "1400,1500,1600,1700,1800,1900,2000,2100,2200\r\n"
              "11,22,450,44,55,66,77,88,99\r\n");
    EXPECT_EQ(dir.Read("ArmDesc.dat"), kDescs);
    EXPECT_TRUE(dialogs.scripted.boxes.empty()) << dialogs.scripted.Texts().join(';').toStdString();
}

TEST_F(SmithReal, F2TypesTheSelectedPriceIntoTheGame) {
    Open();
    // The tunic's Dull-Copper price: price, comma, description, " - ", ore.
    ASSERT_TRUE(desktop.ClickCell(price, 0, 2));
    ASSERT_TRUE(desktop.Key(XK_F2));
    const std::string expected = std::string(21, '\b') + "1500,Plate tunic - Dull-Copper\r";
    EXPECT_EQ(game->WaitForLog(expected.size()), expected);
    EXPECT_EQ(Prices(), kPrices);
}

TEST_F(SmithReal, ANewTypeTypedIntoBothGridsIsSavedOnNewLines) {
    Open();
    ClickButton("Btn_SmithNew");
    // The new type's short name first, then Tab to its description.
    ASSERT_TRUE(EditorOn(desc, 1, 2));
    ASSERT_TRUE(desktop.Type(QStringLiteral("Gorget\tPlate, gorget")));
    ASSERT_TRUE(EditorOn(desc, 2, 2));
    // Then its Iron price, clicked in the price grid.
    ASSERT_TRUE(desktop.ClickCell(price, 2, 1));
    ASSERT_TRUE(EditorOn(price, 2, 1));
    ASSERT_TRUE(desktop.Type(QStringLiteral("450")));
    ASSERT_TRUE(WaitFor([&] { return price->Cells(2, 1) == QStringLiteral("450"); }))
        << price->Cells(2, 1).toStdString();
    ClickButton("Btn_SmithSave");
    ASSERT_TRUE(WaitFor([&] { return price->CellEditor() == nullptr; }));
    EXPECT_EQ(Prices(), std::string(kPrices) + "450,0,0,0,0,0,0,0,0\r\n");
    EXPECT_EQ(dir.Read("ArmDesc.dat"), std::string(kDescs) + "Plate  gorget,Gorget\r\n");
    EXPECT_EQ(price->Cells(2, 0), QStringLiteral("Gorget"));
}

TEST_F(SmithReal, ADoubleClickSendsWhileBrowsingOnly) {
    settings.WriteInteger("BackSpc", 0);
    Open();
    const std::string helm = "99,Close helm - Valorite\r";
    ASSERT_TRUE(desktop.DoubleClickCell(price, 1, 9));
    EXPECT_EQ(game->WaitForLog(helm.size()), helm);
    ClickButton("Btn_SmithEdit");
    ASSERT_TRUE(EditorOn(price, 1, 9));
    ASSERT_TRUE(desktop.DoubleClickCell(price, 0, 9));
    ASSERT_TRUE(EditorOn(price, 0, 9));
    // Nothing reached the game: the next send comes straight after the first.
    ClickButton("Btn_SmithCancel");
    ASSERT_TRUE(WaitFor([&] { return price->CellEditor() == nullptr; }));
    ASSERT_TRUE(desktop.Key(XK_F2));
    const std::string tunic = "2200,Plate tunic - Valorite\r";
    EXPECT_EQ(game->WaitForLog(helm.size() + tunic.size()), helm + tunic);
}

}  // namespace
}  // namespace stallmark::e2e
