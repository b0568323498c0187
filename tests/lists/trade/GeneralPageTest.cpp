#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "controls/StringGrid.h"
#include "controls/Text1252.h"
#include "lists/trade/GeneralPage.h"
#include "support/PageFixture.h"

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

TEST(GeneralList, UnknownSortSettingReadsAsType) {
    GeneralFixture f("", false);
    f.settings.WriteInteger("General Sort", 7);
    f.Start();
    EXPECT_EQ(f.Button("Btn_GeneralSort")->text(), "Type");
    f.Close();
    EXPECT_EQ(f.settings.Strings().at("General Sort"), "1");
}

TEST(GeneralList, SaveKeepsTheSameItemSelectedAfterSorting) {
    GeneralFixture f("Apples,Green,5\r\nBeans,Brown,6\r\n");
    f.Click("Btn_GenNew");
    f.grid->setRowTexts(3, {"Aardvark", "Stuffed", "9"});
    f.Click("Btn_GenSave");
    EXPECT_EQ(f.grid->Row(), 1);
    EXPECT_EQ(f.Find<QLabel>("Lb_GeneralDesc")->text(), "  Stuffed = 9");
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
