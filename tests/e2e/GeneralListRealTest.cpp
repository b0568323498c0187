// The General list typed into and clicked through the real X server, as a
// player does: what is typed lands in the cell the editor shows, and the file
// holds exactly what the grid showed.

#include <X11/keysym.h>

#include <QScrollBar>
#include <algorithm>

#include "e2e/RealApp.h"
#include "lists/trade/GeneralPage.h"
#include "support/ScrollBarParts.h"

namespace stallmark::e2e {
namespace {

constexpr int kType = 0, kDesc = 1, kValue = 2;

class GeneralListReal : public RealAppTest {
protected:
    TStringGrid* grid = nullptr;

    void Open(const std::string& file) {
        dir.Write("General.dat", file);
        settings.WriteInteger("BackSpc", 0);
        StartWindow();
        ShowPage("Tab_General");
        grid = Find<TStringGrid>("SGrid_General");
        ASSERT_NE(grid, nullptr);
    }

    std::string File() { return dir.Read("General.dat"); }

    bool EditorOn(int col, int row) { return RealAppTest::EditorOn(grid, col, row); }

    bool RowsAre(const QStringList& rows) {
        return WaitFor([&] { return Rows(grid) == rows; });
    }
};

TEST_F(GeneralListReal, NewItemTypedWithTabsIsSavedAsShown) {
    Open("");
    ClickButton("Btn_GenNew");
    ASSERT_TRUE(EditorOn(kType, 1));
    ASSERT_TRUE(desktop.Type(QStringLiteral("Tools\tHammer\t25")));
    ASSERT_TRUE(RowsAre({"Tools|Hammer|25"})) << Rows(grid).join(';').toStdString();
    ClickButton("Btn_GenSave");
    EXPECT_EQ(File(), "Tools,Hammer,25\r\n");
    EXPECT_TRUE(dialogs.scripted.boxes.empty()) << dialogs.scripted.Texts().join(';').toStdString();
}

TEST_F(GeneralListReal, TheValueColumnTakesDigitsOnly) {
    Open("Tools,Hammer,25\r\n");
    ClickButton("Btn_GenEdit");
    ASSERT_TRUE(EditorOn(kValue, 1));
    ASSERT_TRUE(desktop.Type(QStringLiteral("3x0 q0")));
    ASSERT_TRUE(RowsAre({"Tools|Hammer|300"})) << Rows(grid).join(';').toStdString();
    EXPECT_EQ(dialogs.beeps, 3);
    ClickButton("Btn_GenSave");
    EXPECT_EQ(File(), "Tools,Hammer,300\r\n");
}

TEST_F(GeneralListReal, EditOpensOnTheValueOfTheClickedRow) {
    Open("Cloth,Bolt,77\r\nTools,Hammer,25\r\n");
    ASSERT_TRUE(desktop.ClickCell(grid, 0, 2));
    ClickButton("Btn_GenEdit");
    ASSERT_TRUE(EditorOn(kValue, 2));
    ASSERT_TRUE(desktop.Type(QStringLiteral("300")));
    ASSERT_TRUE(RowsAre({"Cloth|Bolt|77", "Tools|Hammer|300"})) << Rows(grid).join(';').toStdString();
    ClickButton("Btn_GenSave");
    EXPECT_EQ(File(), "Cloth,Bolt,77\r\nTools,Hammer,300\r\n");
}

TEST_F(GeneralListReal, NewWithAChosenTypeTypesIntoTheNewRowAndExitSavesIt) {
    Open("Cloth,Caf\xE9 cloth \x80 \xFF,77\r\nLight,Candle,3\r\n");
    ChooseInBox("Cb_OthType", QStringLiteral("Light"));
    ClickButton("Btn_GenNew");
    ASSERT_TRUE(EditorOn(kDesc, 3));
    ASSERT_TRUE(desktop.Type(QStringLiteral("Lamp\t")));
    ASSERT_TRUE(EditorOn(kValue, 3));
    ASSERT_TRUE(desktop.Type(QStringLiteral("40")));
    ASSERT_TRUE(RowsAre({QStringLiteral("Cloth|Caf\u00E9 cloth \u20AC \u00FF|77"), "Light|Candle|3", "Light|Lamp|40"}))
        << Rows(grid).join(';').toStdString();
    // Ctrl+Alt+X ends the program, which saves the open edit.
    ASSERT_TRUE(desktop.Key(XK_x, kControl | kAlt, false));
    ASSERT_TRUE(WaitFor([&] { return !form->isVisible(); }));
    EXPECT_EQ(File(), "Cloth,Caf\xE9 cloth \x80 \xFF,77\r\nLight,Candle,3\r\nLight,Lamp,40\r\n");
}

TEST_F(GeneralListReal, ClickedCellsTakeWhatIsTypedNext) {
    Open("Cloth,Bolt,77\r\nTools,Hammer,25\r\n");
    ClickButton("Btn_GenEdit");
    ASSERT_TRUE(EditorOn(kValue, 1));
    ASSERT_TRUE(desktop.ClickCell(grid, kDesc, 2));
    ASSERT_TRUE(EditorOn(kDesc, 2));
    ASSERT_TRUE(desktop.Type(QStringLiteral("Anvil")));
    ASSERT_TRUE(desktop.ClickCell(grid, kValue, 1));
    ASSERT_TRUE(EditorOn(kValue, 1));
    ASSERT_TRUE(desktop.Type(QStringLiteral("12")));
    ASSERT_TRUE(desktop.ClickCell(grid, kType, 2));
    ASSERT_TRUE(EditorOn(kType, 2));
    ASSERT_TRUE(desktop.Type(QStringLiteral("Smith")));
    ASSERT_TRUE(RowsAre({"Cloth|Bolt|12", "Smith|Anvil|25"})) << Rows(grid).join(';').toStdString();
    // A click into the open editor places the caret there; the text stays.
    ASSERT_TRUE(desktop.Click(grid->CellEditor(), QPoint(1, grid->CellEditor()->height() / 2)));
    ASSERT_TRUE(desktop.Type(QStringLiteral("X")));
    ASSERT_TRUE(RowsAre({"Cloth|Bolt|12", "XSmith|Anvil|25"})) << Rows(grid).join(';').toStdString();
    ClickButton("Btn_GenSave");
    EXPECT_EQ(File(), "Cloth,Bolt,12\r\nXSmith,Anvil,25\r\n");
}

TEST_F(GeneralListReal, AfterResetTheGridTakesNoTypingAndSendsWhatTheFileHolds) {
    Open("dye,Blue,100\r\nTools,Hammer,25\r\n");
    ClickButton("Btn_GenEdit");
    ASSERT_TRUE(EditorOn(kValue, 1));
    ASSERT_TRUE(desktop.Type(QStringLiteral("5")));
    ClickButton("Btn_GenCancel");
    ASSERT_TRUE(WaitFor([&] { return grid->CellEditor() == nullptr; }));
    ASSERT_TRUE(desktop.ClickCell(grid, 1, 1));
    ASSERT_TRUE(desktop.Type(QStringLiteral("ZZ")));
    EXPECT_EQ(Rows(grid), QStringList({"dye|Blue|100", "Tools|Hammer|25"}));
    EXPECT_EQ(grid->CellEditor(), nullptr);
    ASSERT_TRUE(desktop.Key(XK_F2));
    EXPECT_EQ(game->WaitForLog(9), "100,Blue\r");
    EXPECT_EQ(File(), "dye,Blue,100\r\nTools,Hammer,25\r\n");
}

TEST_F(GeneralListReal, AfterASortNoStrayEditorTakesTyping) {
    Open("dye,Blue,100\r\nTools,Hammer,25\r\n");
    ClickButton("Btn_GenNew");
    ASSERT_TRUE(desktop.Type(QStringLiteral("Cloth\tBolt\t7")));
    ClickButton("Btn_GenSave");
    ASSERT_EQ(File(), "Cloth,Bolt,7\r\ndye,Blue,100\r\nTools,Hammer,25\r\n");
    ClickButton("Btn_GeneralSort");  // by description
    ASSERT_EQ(File(), "dye,Blue,100\r\nCloth,Bolt,7\r\nTools,Hammer,25\r\n");
    ASSERT_TRUE(desktop.ClickCell(grid, 1, 2));
    ASSERT_TRUE(desktop.Type(QStringLiteral("QQ")));
    EXPECT_EQ(grid->CellEditor(), nullptr);
    ClickButton("Btn_GenEdit");
    ClickButton("Btn_GenSave");
    EXPECT_EQ(File(), "dye,Blue,100\r\nCloth,Bolt,7\r\nTools,Hammer,25\r\n");
}

TEST_F(GeneralListReal, TabAndShiftTabWalkTheCellsBothWays) {
    Open("Tools,Hammer,25\r\n");
    ClickButton("Btn_GenEdit");
    ASSERT_TRUE(EditorOn(kValue, 1));
    ASSERT_TRUE(desktop.Key(XK_Tab, kShift));
    ASSERT_TRUE(EditorOn(kDesc, 1));
    ASSERT_TRUE(desktop.Key(XK_Tab, kShift));
    ASSERT_TRUE(EditorOn(kType, 1));
    ASSERT_TRUE(desktop.Type(QStringLiteral("Smith\tTongs\t")));
    ASSERT_TRUE(EditorOn(kValue, 1));
    ClickButton("Btn_GenNew");
    ASSERT_TRUE(EditorOn(kType, 2));
    ASSERT_TRUE(desktop.Type(QStringLiteral("Dye\tRed\t9")));
    // Shift+Tab from the first cell of a row goes to the last of the row above.
    ASSERT_TRUE(desktop.Key(XK_Tab, kShift));
    ASSERT_TRUE(desktop.Key(XK_Tab, kShift));
    ASSERT_TRUE(desktop.Key(XK_Tab, kShift));
    ASSERT_TRUE(EditorOn(kValue, 1));
    ASSERT_TRUE(desktop.Type(QStringLiteral("30")));
    // Tab from the last cell of a row goes on to the next row.
    ASSERT_TRUE(desktop.Key(XK_Tab));
    ASSERT_TRUE(EditorOn(kType, 2));
    // Arrows move between rows with the editor.
    ASSERT_TRUE(desktop.Key(XK_Up));
    ASSERT_TRUE(EditorOn(kType, 1));
    ASSERT_TRUE(desktop.Key(XK_Down));
    ASSERT_TRUE(EditorOn(kType, 2));
    ASSERT_TRUE(RowsAre({"Smith|Tongs|30", "Dye|Red|9"})) << Rows(grid).join(';').toStdString();
    ClickButton("Btn_GenSave");
    EXPECT_EQ(File(), "Dye,Red,9\r\nSmith,Tongs,30\r\n");
}

// Edits saved one after another: each save writes what the grid shows, the saved item
// moves to its place in key order and stays the selected row, and the next click and
// typing land where they are aimed.
TEST_F(GeneralListReal, EditsSavedOneAfterAnotherFollowTheSavedItem) {
    Open("Tools,Hammer,10\r\nTools,Hammer,20\r\nTools,Tongs,5\r\n");
    ASSERT_TRUE(desktop.ClickCell(grid, 0, 1));
    ClickButton("Btn_GenEdit");
    ASSERT_TRUE(EditorOn(kValue, 1));
    ASSERT_TRUE(desktop.Type(QStringLiteral("30")));
    ClickButton("Btn_GenSave");
    EXPECT_EQ(File(), "Tools,Hammer,20\r\nTools,Hammer,30\r\nTools,Tongs,5\r\n");
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(Find<QLabel>("Lb_GeneralDesc")->text(), "  Hammer = 30");
    ASSERT_TRUE(desktop.ClickCell(grid, 0, 3));
    ClickButton("Btn_GenEdit");
    ASSERT_TRUE(EditorOn(kValue, 3));
    ASSERT_TRUE(desktop.Key(XK_Tab, kShift));
    ASSERT_TRUE(EditorOn(kDesc, 3));
    ASSERT_TRUE(desktop.Type(QStringLiteral("Anvil")));
    ClickButton("Btn_GenSave");
    EXPECT_EQ(File(), "Tools,Anvil,5\r\nTools,Hammer,20\r\nTools,Hammer,30\r\n");
    EXPECT_TRUE(RowsAre({"Tools|Anvil|5", "Tools|Hammer|20", "Tools|Hammer|30"}));
    EXPECT_EQ(grid->Row(), 1);
    ASSERT_TRUE(desktop.ClickCell(grid, 0, 3));
    ClickButton("Btn_GenEdit");
    ASSERT_TRUE(EditorOn(kValue, 3));
    ASSERT_TRUE(desktop.Type(QStringLiteral("1")));
    ClickButton("Btn_GenSave");
    EXPECT_EQ(File(), "Tools,Anvil,5\r\nTools,Hammer,1\r\nTools,Hammer,20\r\n");
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_TRUE(dialogs.scripted.boxes.empty()) << dialogs.scripted.Texts().join(';').toStdString();
}

// The grid's scroll bar, clicked through the X server: its down button scrolls one row and
// the groove below the slider a page, and an item brought into view so is edited and saved.
TEST_F(GeneralListReal, ClicksOnTheScrollBarScrollAndTheItemShownIsEdited) {
    std::string file;
    for (int i = 1; i <= 80; ++i) file += "Tools,Item " + std::to_string(100 + i) + "," + std::to_string(i) + "\r\n";
    Open(file);
    QScrollBar* bar = grid->verticalScrollBar();
    ASSERT_TRUE(WaitFor([&] { return bar->isVisible() && bar->maximum() > 0; }));
    auto partCentre = [&](QStyle::SubControl part) { return test::ScrollBarPart(bar, part).center(); };
    const int top = bar->value();
    ASSERT_TRUE(desktop.Click(bar, partCentre(QStyle::SC_ScrollBarAddLine)));
    ASSERT_TRUE(WaitFor([&] { return bar->value() == top + 1; })) << bar->value();
    ASSERT_TRUE(desktop.Click(bar, partCentre(QStyle::SC_ScrollBarAddPage)));
    ASSERT_TRUE(WaitFor([&] { return bar->value() == top + 1 + bar->pageStep(); })) << bar->value();
    const int shown = grid->rowAt(grid->viewport()->height() / 2) + 1;  // a grid row, the header being row 0
    ASSERT_GT(shown, 1 + bar->pageStep());
    ASSERT_TRUE(desktop.ClickCell(grid, kDesc, shown));
    ClickButton("Btn_GenEdit");
    ASSERT_TRUE(EditorOn(kValue, shown));
    ASSERT_TRUE(desktop.Type(QStringLiteral("777")));  // in place of the value
    ClickButton("Btn_GenSave");
    const std::string edited = "Tools,Item " + std::to_string(100 + shown) + ",777\r\n";
    EXPECT_NE(File().find(edited), std::string::npos) << File();
    EXPECT_EQ(grid->Cells(kDesc, grid->Row()).toStdString(), "Item " + std::to_string(100 + shown));
    EXPECT_TRUE(dialogs.scripted.boxes.empty()) << dialogs.scripted.Texts().join(';').toStdString();
}

// The sort button clicked after the grid was scrolled, once the window has worked out the
// next key's order while it waited: the grid stays where it was and shows the rows that
// order puts there, the file holds the order, and a row clicked then is the one edited.
TEST_F(GeneralListReal, ASortAfterScrollingShowsTheNewOrderWhereTheGridStands) {
    std::string file;
    QStringList sorted;
    for (int i = 1; i <= 80; ++i) {
        const std::string desc = "Item " + std::to_string(100 + (i * 37) % 97);
        file += "Tools," + desc + "," + std::to_string(i) + "\r\n";
        sorted << QString::fromStdString("Tools|" + desc + "|" + std::to_string(i));
    }
    std::sort(sorted.begin(), sorted.end());  // one type, distinct descriptions: by description
    Open(file);
    QScrollBar* bar = grid->verticalScrollBar();
    ASSERT_TRUE(WaitFor([&] { return bar->isVisible() && bar->maximum() > 0; }));
    ASSERT_TRUE(desktop.Click(bar, test::ScrollBarPart(bar, QStyle::SC_ScrollBarAddPage).center()));
    ASSERT_TRUE(WaitFor([&] { return bar->value() > 0; }));
    const int top = bar->value();
    const auto* page = dynamic_cast<const TGeneralPage*>(form->Tab(TStallmarkForm::pgGeneral));
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(WaitFor([&] { return page->OrderedAhead(); }));
    ClickButton("Btn_GeneralSort");  // by description
    ASSERT_TRUE(RowsAre(sorted)) << Rows(grid).join(';').toStdString();
    EXPECT_EQ(bar->value(), top);
    std::string written;
    for (const QString& row : sorted) written += QString(row).replace(u'|', u',').toStdString() + "\r\n";
    EXPECT_EQ(File(), written);
    const int shown = grid->rowAt(grid->viewport()->height() / 2) + 1;
    ASSERT_GT(shown, top);
    const QString desc = grid->Cells(kDesc, shown);
    ASSERT_TRUE(desktop.ClickCell(grid, kDesc, shown));
    ClickButton("Btn_GenEdit");
    ASSERT_TRUE(EditorOn(kValue, shown));
    ASSERT_TRUE(desktop.Type(QStringLiteral("555")));
    ClickButton("Btn_GenSave");
    EXPECT_NE(File().find("Tools," + desc.toStdString() + ",555\r\n"), std::string::npos) << File();
    EXPECT_EQ(grid->Cells(kDesc, grid->Row()), desc);
    EXPECT_TRUE(dialogs.scripted.boxes.empty()) << dialogs.scripted.Texts().join(';').toStdString();
}

TEST_F(GeneralListReal, DeleteRemovesTheClickedItem) {
    Open("Cloth,Bolt,77\r\nDye,Red,9\r\nTools,Hammer,25\r\n");
    ASSERT_TRUE(desktop.ClickCell(grid, 1, 2));
    ClickButton("Btn_GenDelete");
    ASSERT_EQ(dialogs.scripted.boxes.size(), 1u);
    EXPECT_EQ(dialogs.scripted.boxes[0].text, "Delete Red ?");
    EXPECT_EQ(File(), "Cloth,Bolt,77\r\nTools,Hammer,25\r\n");
    EXPECT_TRUE(RowsAre({"Cloth|Bolt|77", "Tools|Hammer|25"}));
    EXPECT_EQ(grid->Row(), 2);
}

}  // namespace
}  // namespace stallmark::e2e
