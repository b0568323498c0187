// The Smith page in the whole window: start-up, the popup menu, F2, Resize Grid and
// shutdown.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <filesystem>

#include "app/OptionsForm.h"
#include "app/PageControl.h"
#include "controls/StringGrid.h"
#include "support/AppFixture.h"

namespace stallmark::test {

namespace {

const char* const kDescs = "Fine plate tunic,Plate tunic\r\nClose helm,Helm\r\n";
const char* const kPrices = "1500,1600,1700,1800,1900,2000,2100,2200,2300\r\n11,22,33,44,55,66,77,88,99\r\n";

struct SmithWindow {
    AppFixture f;
    std::unique_ptr<TStallmarkForm> form;
    TStringGrid* price = nullptr;
    TStringGrid* desc = nullptr;

    SmithWindow() {
        f.dir.Write("ArmDesc.dat", kDescs);
        f.dir.Write("Armour.dat", kPrices);
        form = f.StartShown();
        form->PageControl()->SetActivePageIndex(TStallmarkForm::pgSmith);
        price = Find<TStringGrid>(form.get(), "SGrid_Smith");
        desc = Find<TStringGrid>(form.get(), "SGrid_SmithDesc");
    }
    QAction* Item(const char* name) { return form->MenuItem(name); }
};

}  // namespace

TEST(SmithWindow, StartsWithTheTableLoadedAndTheMenuOfThePage) {
    SmithWindow w;
    ASSERT_NE(w.price, nullptr);
    EXPECT_EQ(w.price->ColCount(), 2);
    EXPECT_EQ(w.price->Cells(1, 0), "Helm");
    EXPECT_FALSE(w.price->ColSizing());  // sizing is off at start
    w.form->Popup_PricesPopup();
    EXPECT_TRUE(w.Item("Mp_ListOpt1")->isVisible());
    EXPECT_EQ(w.Item("Mp_ListOpt1")->text(), "Price List Options");
    EXPECT_EQ(w.Item("Mp_ListOpt2")->text(), "Description List Options");
    EXPECT_TRUE(w.Item("Mp_GridResize")->isVisible());
    EXPECT_FALSE(w.Item("Mp_GridResize")->isChecked());
    EXPECT_FALSE(w.Item("Mp_SendToDetail")->isVisible());
}

TEST(SmithWindow, MissingFilesAreCreatedEmptyAndShowOneType) {
    AppFixture f;
    auto form = f.StartShown();
    EXPECT_TRUE(f.dir.Exists("Armour.dat"));
    EXPECT_TRUE(f.dir.Exists("ArmDesc.dat"));
    EXPECT_EQ(Find<TStringGrid>(form.get(), "SGrid_Smith")->ColCount(), 1);
    EXPECT_TRUE(f.dialogs.boxes.empty());
}

TEST(SmithWindow, ATableThatCouldNotBeReadIsNeverWritten) {
    AppFixture f;
    f.dir.Write("Armour.dat", kPrices);
    std::filesystem::create_directories(f.dir.Path() / "ArmDesc.dat" / "inside");
    auto form = f.StartShown();
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_TRUE(f.dialogs.boxes[0].text.startsWith("Error in Create : ")) << f.dialogs.boxes[0].text.toStdString();
    form->PageControl()->SetActivePageIndex(TStallmarkForm::pgSmith);
    Find<QAbstractButton>(form.get(), "Btn_SmithEdit")->click();
    Find<QAbstractButton>(form.get(), "Btn_SmithSave")->click();
    ASSERT_EQ(f.dialogs.boxes.size(), 2u);
    EXPECT_TRUE(f.dialogs.boxes[1].text.startsWith("Armour.dat could not be read"));
    EXPECT_TRUE(Find<QAbstractButton>(form.get(), "Btn_SmithSave")->isEnabled());  // the edit stays open
    form->close();                                                                 // and is not written at exit either
    EXPECT_EQ(f.dir.Read("Armour.dat"), kPrices);
}

TEST(SmithWindow, ResizeGridAsksThePriceRowHeightAndActsOnBothGrids) {
    SmithWindow w;
    w.form->Popup_PricesPopup();
    w.f.dialogs.inputAnswers.push_back(QString("22"));
    w.Item("Mp_GridResize")->trigger();
    ASSERT_EQ(w.f.dialogs.inputs.size(), 1u);
    EXPECT_EQ(w.f.dialogs.inputs[0].defaultAnswer, "18");
    EXPECT_EQ(w.price->DefaultRowHeight(), 22);
    EXPECT_EQ(w.desc->DefaultRowHeight(), 18);
    EXPECT_TRUE(w.price->ColSizing());
    EXPECT_TRUE(w.desc->RowSizing());
    // The grid grows with its rows.
    EXPECT_EQ(w.price->height(), 10 * 23 + 2 * w.price->frameWidth());
    w.form->Popup_PricesPopup();
    EXPECT_TRUE(w.Item("Mp_GridResize")->isChecked());
    w.Item("Mp_GridResize")->trigger();
    EXPECT_FALSE(w.price->ColSizing());
    EXPECT_FALSE(w.desc->RowSizing());
}

TEST(SmithWindow, F2SendsThePriceWithTheSmithRowOfTheOptions) {
    SmithWindow w;
    const WindowHandle game = w.f.windows.AddWindow("Ultima Online", "Ultima Online - Ann");
    auto* options = &w.form->Options();
    Find<QLineEdit>(options, "Ed_BackSpaces")->setText("2");
    w.price->setCurrentCell(1, 2);
    QApplication::setActiveWindow(w.form.get());
    QTest::keyClick(w.form.get(), Qt::Key_F2);
    EXPECT_EQ(w.f.windows.PostedText(game), "\b\b\b22,Close helm - Dull-Copper\r");
}

TEST(SmithWindow, AnOpenEditIsSavedAtExitAndTheGridSizesAreKept) {
    SmithWindow w;
    Find<QAbstractButton>(w.form.get(), "Btn_SmithEdit")->click();
    w.price->setCells(0, 9, QString("2500"));
    w.form->close();
    EXPECT_EQ(w.f.dir.Read("Armour.dat"),
              "1500,1600,1700,1800,1900,2000,2100,2200,2500\r\n11,22,33,44,55,66,77,88,99\r\n");
    EXPECT_EQ(w.f.dir.Read("ArmDesc.dat"), kDescs);
    const auto& s = w.f.settings.Strings();
    EXPECT_EQ(s.at("ColWidth Armour"), "33");
    EXPECT_EQ(s.at("RowHeight Armour"), "18");
    EXPECT_EQ(s.at("ColWidth ArmDesc"), "18");
}

}  // namespace stallmark::test
