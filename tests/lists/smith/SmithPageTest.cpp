// The Smith page on its own: loading, the browse/edit cycle with the price check, typing,
// moving and deleting types with both files in step, sending, sizes and settings.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <filesystem>

#include "controls/StringGrid.h"
#include "controls/Text1252.h"
#include "lists/smith/SmithPage.h"
#include "store/Files.h"
#include "store/Files.h"
#include "support/PageFixture.h"

namespace stallmark::test {

using namespace Qt::StringLiterals;

namespace {

const char* const kDescs = "Fine plate tunic,Plate tunic\r\nRing mail sleeves,Sleeves\r\nClose helm,Helm\r\n";
const char* const kPrices =
    "1500,1600,1700,1800,1900,2000,2100,2200,2300\r\n"
    "100,200,300,400,500,600,700,800,900\r\n"
    "11,22,33,44,55,66,77,88,99\r\n";

// The Smith page with "ArmDesc.dat" and "Armour.dat" holding descs and prices.
struct SmithFixture : PageFixture<TSmithPage> {
    TSmithPage* page = nullptr;
    TStringGrid* price = nullptr;
    TStringGrid* desc = nullptr;

    SmithFixture(const std::string& descs, const std::string& prices, bool start = true) {
        dir.Write("ArmDesc.dat", descs);
        dir.Write("Armour.dat", prices);
        page = &Build();
        price = page->PriceGrid();
        desc = page->DescGrid();
        if (start) Start();
    }

    QAbstractButton* Button(const char* name) { return Find<QAbstractButton>(name); }
    void Click(const char* name) {
        QAbstractButton* b = Button(name);
        ASSERT_TRUE(b && b->isEnabled()) << name;
        b->click();
    }
    // Which of Edit, Save, Reset, New, Delete, Send are enabled, as "ESRNDS" with "-" for off.
    std::string States() {
        std::string out;
        const char* names[] = {"Btn_SmithEdit", "Btn_SmithSave",   "Btn_SmithCancel",
                               "Btn_SmithNew",  "Btn_SmithDelete", "Btn_SmithSend"};
        const char letters[] = "ESRNDS";
        for (int i = 0; i < 6; ++i) out += Button(names[i])->isEnabled() ? letters[i] : '-';
        return out;
    }
    QStringList Column(int col) { return price->ColTexts(col); }
    QStringList Headers() {
        QStringList out;
        for (int c = 0; c < price->ColCount(); ++c) out << price->Cells(c, 0);
        return out;
    }
    QStringList Names() {
        QStringList out;
        for (int r = 0; r < desc->RowCount(); ++r)
            out << desc->Cells(TSmithPage::kColShort, r) + u'|' + desc->Cells(TSmithPage::kColDesc, r);
        return out;
    }
    std::string Prices() { return dir.Read("Armour.dat"); }
    std::string Descs() { return dir.Read("ArmDesc.dat"); }
    QString Label() { return Find<QLabel>("Lb_SmithDesc")->text(); }
    // The player drags description row from to the place of row to by its handle.
    void DragRow(int from, int to) { desc->verticalHeader()->moveSection(from, to); }
};

QStringList PriceColumn(const char* header, std::initializer_list<const char*> prices) {
    QStringList out{QString::fromLatin1(header)};
    for (const char* p : prices) out << QString::fromLatin1(p);
    while (out.size() < 10) out << QString();
    return out;
}

}  // namespace

// ---------------------------------------------------------------- loading

TEST(SmithPage, LoadsOneColumnAndOneDescriptionRowPerType) {
    SmithFixture f(kDescs, "1500,1600,1700,1800,1900,2000,2100,2200,2300,2400\r\n100,,300\r\n");
    EXPECT_EQ(f.page->TypeCount(), 3);
    EXPECT_EQ(f.price->ColCount(), 3);
    EXPECT_EQ(f.price->RowCount(), 10);
    // A short name with a blank shows whole; the tenth item is dropped; an empty item is a
    // blank; a missing line leaves the column empty.
    EXPECT_EQ(f.Column(0),
              PriceColumn("Plate tunic", {"1500", "1600", "1700", "1800", "1900", "2000", "2100", "2200", "2300"}));
    EXPECT_EQ(f.Column(1), PriceColumn("Sleeves", {"100", " ", "300"}));
    EXPECT_EQ(f.Column(2), PriceColumn("Helm", {}));
    EXPECT_EQ(f.Names(), QStringList({"Plate tunic|Fine plate tunic", "Sleeves|Ring mail sleeves", "Helm|Close helm"}));
    EXPECT_EQ(f.States(), "E--NDS");
    EXPECT_EQ(f.Label(), "Smith Description");
    EXPECT_FALSE(f.page->IsEditing());
}

TEST(SmithPage, IngotsShowTheOresWithTheirHints) {
    SmithFixture f(kDescs, kPrices);
    const char* names[] = {"Arm_Iron", "Arm_Dull",    "Arm_Shadow", "Arm_Copper",  "Arm_Bronze",
                           "Arm_Gold", "Arm_Agapite", "Arm_Verite", "Arm_Valorite"};
    const char* hints[] = {"Iron", "Dull Copper", "Shadow", "Copper",  "Bronze",
                           "Gold", "Agapite",     "Verite", "Valorite"};
    int previousTop = -1;
    for (int i = 0; i < 9; ++i) {
        auto* ingot = f.Find<QLabel>(names[i]);
        ASSERT_NE(ingot, nullptr) << names[i];
        EXPECT_EQ(ingot->toolTip(), QString::fromLatin1(hints[i]));
        EXPECT_FALSE(ingot->pixmap().isNull()) << names[i];
        // One ingot per ore row, each a row below the last.
        if (previousTop >= 0) {
            EXPECT_EQ(ingot->y() - previousTop, f.price->DefaultRowHeight() + 1);
        }
        previousTop = ingot->y();
    }
}

TEST(SmithPage, AnEmptyDescriptionFileShowsOneUnnamedTypeAndSavesOneLineEach) {
    SmithFixture f("", "");
    EXPECT_EQ(f.price->ColCount(), 1);
    EXPECT_EQ(f.desc->RowCount(), 1);
    EXPECT_EQ(f.Headers(), QStringList({" "}));
    f.Click("Btn_SmithEdit");
    f.Click("Btn_SmithSave");
    EXPECT_TRUE(f.dialogs.boxes.empty());  // empty prices become 0 without a question
    EXPECT_EQ(f.Prices(), "0,0,0,0,0,0,0,0,0\r\n");
    EXPECT_EQ(f.Descs(), ",\r\n");
    EXPECT_EQ(f.States(), "E--NDS");
}

TEST(SmithPage, ResetAfterNewOnAnEmptyFileLeavesOneType) {
    SmithFixture f("", "");
    f.Click("Btn_SmithNew");
    EXPECT_EQ(f.price->ColCount(), 2);
    f.Click("Btn_SmithCancel");
    EXPECT_EQ(f.price->ColCount(), 1);
    EXPECT_EQ(f.desc->RowCount(), 1);
    EXPECT_EQ(f.Prices(), "");
}

// ---------------------------------------------------------------- browse and edit

// A price line longer than the most a list loads is said once; the tables are then never
// written, so both files stay byte for byte.
TEST(SmithPage, TablesWithAnOverlongLineAreSaidOnceAndNeverWritten) {
    const std::string prices = "1500,1600\r\n" + std::string(kMaxLineBytes + 1, '7') + "\r\n";
    SmithFixture f(kDescs, prices);
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.dialogs.boxes[0].kind, MsgKind::Warning);
    EXPECT_TRUE(f.dialogs.boxes[0].text.startsWith(u"Line 2 of Armour.dat is longer than 65536"_s));
    f.Click("Btn_SmithEdit");
    f.Click("Btn_SmithSave");
    ASSERT_EQ(f.dialogs.boxes.size(), 2u);
    EXPECT_TRUE(f.dialogs.boxes[1].text.contains(u"so it is not written"_s));
    EXPECT_EQ(f.Prices(), prices);
    EXPECT_EQ(f.Descs(), kDescs);
}

TEST(SmithPage, EditAndSaveSwitchTheButtonsAndTheGrids) {
    SmithFixture f(kDescs, kPrices);
    EXPECT_TRUE(f.desc->RowSelect());
    f.Click("Btn_SmithEdit");
    EXPECT_EQ(f.States(), "-SR---");
    EXPECT_TRUE(f.page->IsEditing());
    EXPECT_TRUE(f.price->Editing());
    EXPECT_TRUE(f.price->EditorMode());
    EXPECT_TRUE(f.desc->Editing());
    EXPECT_FALSE(f.desc->RowSelect());
    f.Click("Btn_SmithSave");
    EXPECT_EQ(f.States(), "E--NDS");
    EXPECT_FALSE(f.price->Editing());
    EXPECT_FALSE(f.price->EditorMode());
    EXPECT_TRUE(f.desc->RowSelect());
    // Nothing was changed, and the files say the same in the program's own form.
    EXPECT_EQ(f.Prices(), kPrices);
    EXPECT_EQ(f.Descs(), kDescs);
}

TEST(SmithPage, AnEmptyPriceIsSavedAsZeroWithoutAQuestion) {
    SmithFixture f(kDescs, kPrices);
    f.Click("Btn_SmithEdit");
    f.price->setCells(1, 4, QString());
    f.price->setCells(2, 9, u"   "_s);
    f.Click("Btn_SmithSave");
    EXPECT_TRUE(f.dialogs.boxes.empty());
    EXPECT_EQ(f.Prices(),
              "1500,1600,1700,1800,1900,2000,2100,2200,2300\r\n"
              "100,200,300,0,500,600,700,800,900\r\n"
              "11,22,33,44,55,66,77,88,0\r\n");
}

TEST(SmithPage, APriceWithLeadingZerosAsksAndOkStoresTheNumber) {
    SmithFixture f(kDescs, kPrices);
    f.Click("Btn_SmithEdit");
    f.price->setCells(0, 2, u"007"_s);
    f.dialogs.boxAnswers.push_back(mbOK);
    f.Click("Btn_SmithSave");
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    // The second ore as the warnings spell it.
    EXPECT_EQ(f.dialogs.boxes[0].text, "Dull Copper Fine plate tunic\n\rInvalid Value 007\n\rAltered to 7 !");
    EXPECT_EQ(f.dialogs.boxes[0].kind, MsgKind::Warning);
    EXPECT_EQ(f.dialogs.boxes[0].buttons, mbOK | mbCancel);
    EXPECT_EQ(f.Prices().substr(0, 10), "1500,7,170");
    EXPECT_EQ(f.price->Cells(0, 2), "7");
    EXPECT_FALSE(f.page->IsEditing());
}

TEST(SmithPage, CancelAtAPriceKeepsTheEditAndBothFiles) {
    SmithFixture f(kDescs, kPrices);
    f.Click("Btn_SmithEdit");
    f.desc->setCells(TSmithPage::kColDesc, 0, u"Renamed"_s);
    f.price->setCells(2, 1, u"1x"_s);  // asked first (ore rows outside, types inside)
    f.price->setCells(0, 3, u"007"_s);
    f.dialogs.boxAnswers.push_back(mbOK);
    f.dialogs.boxAnswers.push_back(mbCancel);
    f.Click("Btn_SmithSave");
    ASSERT_EQ(f.dialogs.boxes.size(), 2u);
    EXPECT_EQ(f.dialogs.boxes[0].text, "Iron Close helm\n\rInvalid Value 1x\n\rAltered to 1 !");
    EXPECT_EQ(f.dialogs.boxes[1].text, "Shadow Renamed\n\rInvalid Value 007\n\rAltered to 7 !");
    EXPECT_TRUE(f.page->IsEditing());
    EXPECT_EQ(f.States(), "-SR---");
    EXPECT_EQ(f.Prices(), kPrices);
    EXPECT_EQ(f.Descs(), kDescs);
    // Reset throws the edit away.
    f.Click("Btn_SmithCancel");
    EXPECT_EQ(f.price->Cells(0, 3), "1700");
    EXPECT_EQ(f.desc->Cells(TSmithPage::kColDesc, 0), "Fine plate tunic");
    EXPECT_EQ(f.Prices(), kPrices);
}

TEST(SmithPage, NewAddsATypeThatSaveKeeps) {
    SmithFixture f(kDescs, kPrices);
    f.Click("Btn_SmithNew");
    EXPECT_EQ(f.States(), "-SR---");
    EXPECT_EQ(f.price->ColCount(), 4);
    EXPECT_EQ(f.desc->RowCount(), 4);
    EXPECT_EQ(f.price->Col(), 3);
    EXPECT_EQ(f.price->Row(), 1);
    EXPECT_EQ(f.desc->Row(), 3);
    EXPECT_EQ(f.desc->Col(), TSmithPage::kColShort);
    EXPECT_EQ(f.price->Cells(3, 0), "");  // named once saved
    f.desc->setCells(TSmithPage::kColShort, 3, u"Gorget"_s);
    f.desc->setCells(TSmithPage::kColDesc, 3, u"Plate gorget"_s);
    f.price->setCells(3, 1, u"450"_s);
    f.Click("Btn_SmithSave");
    EXPECT_EQ(f.Prices(), std::string(kPrices) + "450,0,0,0,0,0,0,0,0\r\n");
    EXPECT_EQ(f.Descs(), std::string(kDescs) + "Plate gorget,Gorget\r\n");
    EXPECT_EQ(f.price->Cells(3, 0), "Gorget");
    EXPECT_EQ(f.desc->Row(), 3);  // the new type stays selected
}

TEST(SmithPage, TextsAreCutAndCleanedOnSaving) {
    SmithFixture f("", "");
    f.Click("Btn_SmithEdit");
    f.desc->setCells(TSmithPage::kColDesc, 0, u"Plate, fine"_s);
    f.desc->setCells(TSmithPage::kColShort, 0, QString(30, u's'));
    f.Click("Btn_SmithSave");
    EXPECT_EQ(f.Descs(), "Plate  fine," + std::string(25, 's') + "\r\n");
    EXPECT_EQ(f.desc->Cells(TSmithPage::kColShort, 0), QString(25, u's'));
    EXPECT_EQ(f.Headers(), QStringList({QString(25, u's')}));
}

TEST(SmithPage, EightBitTextsRoundTrip) {
    const std::string descs =
        "Caf\xE9 \xAB"
        "best\xBB \x80,\"Q\" \xFF\r\n";
    SmithFixture f(descs, "1,2,3,4,5,6,7,8,9\r\n");
    EXPECT_EQ(f.price->Cells(0, 0), FromBytes("\"Q\" \xFF"));
    f.Click("Btn_SmithEdit");
    f.Click("Btn_SmithSave");
    EXPECT_EQ(f.Descs(), descs);
    EXPECT_EQ(f.Prices(), "1,2,3,4,5,6,7,8,9\r\n");
    f.options.backSpc = 0;
    f.price->setCurrentCell(0, 1);
    f.Click("Btn_SmithSend");
    EXPECT_EQ(f.windows.PostedText(f.game),
              "1,Caf\xE9 \xAB"
              "best\xBB \x80 - Iron\r");
}

TEST(SmithPage, OpenEditIsSavedAtShutdown) {
    SmithFixture f(kDescs, kPrices);
    f.Click("Btn_SmithEdit");
    f.price->setCells(1, 1, u"0150"_s);
    f.Close();  // the price check still asks (and OK is the scripted answer)
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.Prices().substr(f.Prices().find("\r\n") + 2, 8), "150,200,");
}

// ---------------------------------------------------------------- typing

TEST(SmithPage, PriceCellsTakeNineDigitsAndNothingElse) {
    SmithFixture f(kDescs, kPrices);
    f.Click("Btn_SmithEdit");
    f.price->setCurrentCell(0, 5);
    f.price->setCells(0, 5, QString());
    QLineEdit* editor = f.price->CellEditor();
    ASSERT_NE(editor, nullptr);
    editor->setText(QString());
    QTest::keyClicks(editor, "12a3-45.6789");
    EXPECT_EQ(f.price->Cells(0, 5), "123456789");
    EXPECT_EQ(f.dialogs.beeps, 3);
    QTest::keyClicks(editor, "0");  // a tenth digit
    EXPECT_EQ(f.price->Cells(0, 5), "123456789");
    EXPECT_EQ(f.dialogs.beeps, 4);
    QTest::keyClick(editor, Qt::Key_Backspace);  // control keys pass
    EXPECT_EQ(f.price->Cells(0, 5), "12345678");
    QTest::keyClicks(editor, "7");
    EXPECT_EQ(f.price->Cells(0, 5), "123456787");
    // Typing over a selection replaces it, so a full cell can still be retyped.
    editor->selectAll();
    QTest::keyClicks(editor, "5");
    EXPECT_EQ(f.price->Cells(0, 5), "5");
    EXPECT_EQ(f.dialogs.beeps, 4);
}

TEST(SmithPage, APriceLongerThanNineIsCutBeforeTheNextDigit) {
    SmithFixture f(kDescs, kPrices);
    f.Click("Btn_SmithEdit");
    f.price->setCells(1, 2, u"12345678901"_s);
    QChar digit(u'5');
    EXPECT_FALSE(f.page->SGrid_SmithKeyPress(1, 2, digit));
    EXPECT_EQ(f.price->Cells(1, 2), "123456789");
    QChar accent(QChar(0xE9));
    EXPECT_FALSE(f.page->SGrid_SmithKeyPress(1, 3, accent));
    QChar enter(u'\r');
    EXPECT_TRUE(f.page->SGrid_SmithKeyPress(1, 2, enter));
    EXPECT_EQ(f.dialogs.beeps, 2);
}

TEST(SmithPage, DescriptionCellsHoldTheirLimits) {
    SmithFixture f(kDescs, kPrices);
    f.Click("Btn_SmithEdit");
    QChar letter(u'x'), accent(QChar(0xE9)), back(u'\b');
    f.desc->setCells(TSmithPage::kColShort, 1, QString(25, u'a'));
    EXPECT_FALSE(f.page->SGrid_SmithDescKeyPress(TSmithPage::kColShort, 1, letter));
    EXPECT_FALSE(f.page->SGrid_SmithDescKeyPress(TSmithPage::kColShort, 1, accent));
    EXPECT_TRUE(f.page->SGrid_SmithDescKeyPress(TSmithPage::kColShort, 1, back));
    EXPECT_TRUE(f.page->SGrid_SmithDescKeyPress(TSmithPage::kColDesc, 1, letter));
    f.desc->setCells(TSmithPage::kColDesc, 1, QString(130, u'd'));
    EXPECT_FALSE(f.page->SGrid_SmithDescKeyPress(TSmithPage::kColDesc, 1, letter));
    EXPECT_EQ(f.desc->Cells(TSmithPage::kColDesc, 1), QString(120, u'd'));
    EXPECT_EQ(f.dialogs.beeps, 3);
}

// ---------------------------------------------------------------- moving and deleting types

TEST(SmithPage, MovingTheLastTypeToTheTopRewritesBothFilesInStep) {
    SmithFixture f(kDescs, kPrices);
    f.DragRow(2, 0);
    EXPECT_EQ(f.Prices(),
              "11,22,33,44,55,66,77,88,99\r\n"
              "1500,1600,1700,1800,1900,2000,2100,2200,2300\r\n"
              "100,200,300,400,500,600,700,800,900\r\n");
    EXPECT_EQ(f.Descs(), "Close helm,Helm\r\nFine plate tunic,Plate tunic\r\nRing mail sleeves,Sleeves\r\n");
    EXPECT_EQ(f.Headers(), QStringList({"Helm", "Plate tunic", "Sleeves"}));
    EXPECT_EQ(f.desc->Row(), 0);
    EXPECT_EQ(f.price->Col(), 0);
    // And down again, past the others.
    f.DragRow(0, 2);
    EXPECT_EQ(f.Prices(), kPrices);
    EXPECT_EQ(f.Descs(), kDescs);
}

TEST(SmithPage, AMoveWhileEditingWaitsForSave) {
    SmithFixture f(kDescs, kPrices);
    f.Click("Btn_SmithEdit");
    f.price->setCells(1, 1, u"150"_s);
    f.DragRow(1, 0);
    // The grids show the new order; the files still hold the old one.
    EXPECT_EQ(f.Names(), QStringList({"Sleeves|Ring mail sleeves", "Plate tunic|Fine plate tunic", "Helm|Close helm"}));
    EXPECT_EQ(f.Column(0), PriceColumn("Sleeves", {"150", "200", "300", "400", "500", "600", "700", "800", "900"}));
    EXPECT_EQ(f.Prices(), kPrices);
    EXPECT_EQ(f.Descs(), kDescs);
    EXPECT_TRUE(f.page->IsEditing());
    // Reset takes the move back with the edit.
    f.Click("Btn_SmithCancel");
    EXPECT_EQ(f.Headers(), QStringList({"Plate tunic", "Sleeves", "Helm"}));
    // Save writes both.
    f.Click("Btn_SmithEdit");
    f.DragRow(1, 0);
    f.Click("Btn_SmithSave");
    EXPECT_EQ(f.Prices(),
              "100,200,300,400,500,600,700,800,900\r\n"
              "1500,1600,1700,1800,1900,2000,2100,2200,2300\r\n"
              "11,22,33,44,55,66,77,88,99\r\n");
    EXPECT_EQ(f.Descs(), "Ring mail sleeves,Sleeves\r\nFine plate tunic,Plate tunic\r\nClose helm,Helm\r\n");
}

TEST(SmithPage, DeletingTheMiddleTypeAsksAndKeepsBothFilesInStep) {
    SmithFixture f(kDescs, kPrices);
    f.desc->setRow(1);
    f.dialogs.boxAnswers.push_back(mbNo);
    f.Click("Btn_SmithDelete");
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.dialogs.boxes[0].text, "Delete Current Type ?");
    EXPECT_EQ(f.dialogs.boxes[0].kind, MsgKind::Confirmation);
    EXPECT_EQ(f.dialogs.boxes[0].buttons, mbYes | mbNo);
    EXPECT_EQ(f.Prices(), kPrices);
    f.dialogs.boxAnswers.push_back(mbYes);
    f.Click("Btn_SmithDelete");
    EXPECT_EQ(f.Prices(),
              "1500,1600,1700,1800,1900,2000,2100,2200,2300\r\n"
              "11,22,33,44,55,66,77,88,99\r\n");
    EXPECT_EQ(f.Descs(), "Fine plate tunic,Plate tunic\r\nClose helm,Helm\r\n");
    EXPECT_EQ(f.Headers(), QStringList({"Plate tunic", "Helm"}));
    EXPECT_EQ(f.desc->RowCount(), 2);
    EXPECT_EQ(f.desc->Row(), 1);
}

TEST(SmithPage, DeletingAskesNoPriceQuestionAboutTheTypeItRemoves) {
    SmithFixture f(kDescs, "1500,abc\r\n100,200\r\n11,22\r\n");
    f.desc->setRow(0);
    f.dialogs.boxAnswers.push_back(mbYes);
    f.Click("Btn_SmithDelete");
    EXPECT_EQ(f.dialogs.Texts(), QStringList({"Delete Current Type ?"}));
    EXPECT_EQ(f.Prices(), "100,200,0,0,0,0,0,0,0\r\n11,22,0,0,0,0,0,0,0\r\n");
}

TEST(SmithPage, AFailedSecondWriteLeavesBothFilesAndSaysSo) {
    SmithFixture f(kDescs, kPrices);
    std::filesystem::create_directories(f.dir.Path() / "ArmDesc.tmp" / "inside");
    f.Click("Btn_SmithEdit");
    f.price->setCells(0, 1, u"999"_s);
    f.Click("Btn_SmithSave");
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.dialogs.boxes[0].kind, MsgKind::Error);
    EXPECT_TRUE(f.dialogs.boxes[0].text.endsWith("\n\rNothing was saved: Armour.dat and ArmDesc.dat are as they were."))
        << f.dialogs.boxes[0].text.toStdString();
    EXPECT_EQ(f.Prices(), kPrices);
    EXPECT_EQ(f.Descs(), kDescs);
    EXPECT_FALSE(f.dir.Exists("Armour.tmp"));
    // The edit stays open, so nothing typed is lost.
    EXPECT_TRUE(f.page->IsEditing());
    EXPECT_EQ(f.price->Cells(0, 1), "999");
    f.Click("Btn_SmithCancel");

    // A delete that cannot be written leaves every type where it was.
    f.desc->setRow(1);
    f.dialogs.boxAnswers.push_back(mbYes);
    f.Click("Btn_SmithDelete");
    EXPECT_EQ(f.Prices(), kPrices);
    EXPECT_EQ(f.Descs(), kDescs);
    EXPECT_EQ(f.Headers(), QStringList({"Plate tunic", "Sleeves", "Helm"}));
    // So does a move: the grids show the files again.
    f.DragRow(2, 0);
    EXPECT_EQ(f.Prices(), kPrices);
    EXPECT_EQ(f.Headers(), QStringList({"Plate tunic", "Sleeves", "Helm"}));
    EXPECT_EQ(f.Names()[0], "Plate tunic|Fine plate tunic");
}

// ---------------------------------------------------------------- selection and sending

TEST(SmithPage, TheGridsFollowEachOthersSelection) {
    SmithFixture f(kDescs, kPrices);
    f.price->setCurrentCell(1, 4);
    EXPECT_EQ(f.desc->Row(), 1);
    EXPECT_EQ(f.Label(), "  400,Ring mail sleeves - Copper");
    f.desc->setRow(2);
    EXPECT_EQ(f.price->Col(), 2);
    EXPECT_EQ(f.price->Row(), 4);
    EXPECT_EQ(f.Label(), "  44,Close helm - Copper");
    // A click shows the price as the hint.
    f.price->setCurrentCell(0, 2);
    emit f.price->cellClicked(0, 2);
    EXPECT_EQ(f.price->Hint(), "1600,Fine plate tunic - Dull-Copper");
    EXPECT_TRUE(f.price->ShowHint());
    EXPECT_EQ(f.desc->Row(), 0);
}

TEST(SmithPage, SendTypesThePriceAsTheSmithRowSays) {
    SmithFixture f(kDescs, kPrices);
    f.price->setCurrentCell(0, 2);
    f.Click("Btn_SmithSend");
    EXPECT_EQ(f.windows.PostedText(f.game), std::string(21, '\b') + "1600,Fine plate tunic - Dull-Copper\r");

    // "Desc'" only: no leading comma, and "Cr" off.
    f.options.sendRows[3].value = false;
    f.options.sendRows[3].enter = false;
    f.windows.ClearLog();
    f.Click("Btn_SmithSend");
    EXPECT_EQ(f.windows.PostedText(f.game), std::string(21, '\b') + "Fine plate tunic - Dull-Copper");

    // Neither: only the backspaces.
    f.options.sendRows[3].description = false;
    f.windows.ClearLog();
    f.Click("Btn_SmithSend");
    EXPECT_EQ(f.windows.PostedText(f.game), std::string(21, '\b'));

    // Value only, no backspaces, through F2 on this page.
    f.options.sendRows[3].value = true;
    f.options.backSpc = 0;
    f.windows.ClearLog();
    f.page->SendToGame(nullptr);
    EXPECT_EQ(f.windows.PostedText(f.game), "1600");
}

TEST(SmithPage, ADoubleClickSendsOnlyWhileSendIsEnabled) {
    SmithFixture f(kDescs, kPrices);
    f.options.backSpc = 0;
    f.desc->setRow(2);
    emit f.desc->cellDoubleClicked(TSmithPage::kColDesc, 2);
    EXPECT_EQ(f.windows.PostedText(f.game), "11,Close helm - Iron\r");
    f.windows.ClearLog();
    f.Click("Btn_SmithEdit");
    emit f.price->cellDoubleClicked(2, 1);
    emit f.desc->cellDoubleClicked(TSmithPage::kColDesc, 2);
    EXPECT_EQ(f.windows.PostedText(f.game), "");
}

// ---------------------------------------------------------------- sizes, settings, display

TEST(SmithPage, PriceColumnsShareTheFirstColumnsWidth) {
    SmithFixture f(kDescs, kPrices);
    auto* header = f.price->horizontalHeader();
    header->resizeSection(0, 51);  // the player drags the first column to 50
    EXPECT_EQ(f.price->DefaultColWidth(), 50);
    for (int c = 0; c < 3; ++c) EXPECT_EQ(f.price->ColWidths(c), 50) << c;
    EXPECT_EQ(f.desc->ColWidths(TSmithPage::kColShort), 50);  // the short names follow
    header->resizeSection(2, 81);                             // any other column goes back
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(f.price->ColWidths(2), 50);
}

TEST(SmithPage, TheDescriptionHandleIsAsWideAsARowIsHighAndTheDescriptionFills) {
    SmithFixture f(kDescs, kPrices);
    EXPECT_EQ(f.desc->ColWidths(TSmithPage::kColHandle), 18);
    EXPECT_EQ(f.desc->ColWidths(TSmithPage::kColShort), 33);
    const int rest = f.desc->ClientWidth() - 19 - 34 - 1;
    EXPECT_EQ(f.desc->ColWidths(TSmithPage::kColDesc), std::max(rest, 30));
    f.desc->verticalHeader()->resizeSection(0, 25);  // the player drags a row to 24
    EXPECT_EQ(f.desc->DefaultRowHeight(), 24);
    EXPECT_EQ(f.desc->ColWidths(TSmithPage::kColHandle), 24);
    // Ten rows of prices, nothing more.
    EXPECT_EQ(f.price->height(), 10 * 19 + 2 * f.price->frameWidth());
}

TEST(SmithPage, GridSizesAreReadAndWrittenAsAtLeastSix) {
    SmithFixture f(kDescs, kPrices, false);
    f.settings.WriteInteger("ColWidth Armour", 44);
    f.settings.WriteInteger("RowHeight Armour", 2);
    f.settings.WriteInteger("ColWidth ArmDesc", 21);
    f.Start();
    EXPECT_EQ(f.price->DefaultColWidth(), 44);
    EXPECT_EQ(f.price->ColWidths(2), 44);
    EXPECT_EQ(f.price->DefaultRowHeight(), 6);
    EXPECT_EQ(f.desc->DefaultRowHeight(), 21);
    f.price->setDefaultColWidth(3);
    f.Close();
    EXPECT_EQ(f.settings.Strings().at("ColWidth Armour"), "6");
    EXPECT_EQ(f.settings.Strings().at("RowHeight Armour"), "6");
    EXPECT_EQ(f.settings.Strings().at("ColWidth ArmDesc"), "21");
}

TEST(SmithPage, DisplayOptionsFiveAndSixGoToTheirGrids) {
    SmithFixture f(kDescs, kPrices, false);
    f.settings.WriteInteger("SMPrice BackCol", 0x0000FF);  // red
    f.settings.WriteBool("SMPrice LineRow", false);
    f.settings.WriteInteger("SMDesc FontSize", 11);
    f.Start();
    EXPECT_EQ(f.price->BackgroundColor(), QColor(255, 0, 0));
    EXPECT_FALSE(f.price->VertLines());
    EXPECT_EQ(f.desc->BackgroundColor(), QColor(255, 255, 255));
    EXPECT_EQ(f.desc->font().pointSize(), 11);
    EXPECT_EQ(f.Find<QLabel>("Lb_SmithDesc")->height(), 16);
}

}  // namespace stallmark::test
