#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <filesystem>

#include "lists/trade/VendorFixture.h"
#include "store/Files.h"

namespace stallmark::test {

using namespace Qt::StringLiterals;

namespace {

const std::string kToday = "08/12/2026";  // the fixture's clock

}  // namespace

TEST(VendorLedger, EmptyFileGivesNoVendorsAndLeavesTheBalance) {
    VendorFixture f({.vendors = ""});
    EXPECT_EQ(f.Info(), u"Total 0 - Vendors 0 - "_s);
    EXPECT_EQ(f.Rows(), QStringList({u"|||"_s}));
    EXPECT_EQ(f.grid->RowTexts(0), QStringList({u""_s, u"Name"_s, u"Description"_s, u"Amount"_s}));
    EXPECT_EQ(f.Edit("Ed_BankBal")->text(), u"0"_s);
    EXPECT_FALSE(f.Button("Btn_VendSave")->isEnabled());
    EXPECT_FALSE(f.Button("Btn_VendCancel")->isEnabled());
    EXPECT_TRUE(f.Button("Btn_VendEdit")->isEnabled());

    // A reload of an empty file keeps the balance the box shows.
    f.dir.Write("Vendors.dat", "01/12/2026,700\r\n");
    f.ledger->LoadVendors();
    EXPECT_EQ(f.Info(), u"Total 700 - Vendors 0 - 01/12/2026"_s);
    f.dir.Write("Vendors.dat", "");
    f.ledger->LoadVendors();
    EXPECT_EQ(f.Edit("Ed_BankBal")->text(), u"700"_s);
    EXPECT_EQ(f.Info(), u"Total 700 - Vendors 0 - "_s);
}

TEST(VendorLedger, LoadsRowsTotalAndDateInTheMoneyFormat) {
    VendorFixture f(
        {.vendors = "01/12/2026,500\r\n,\"Bob Smith\",Weapons,1000\r\n,,,\r\n\r\n  \r\nx,Ann,\"Reg, all\",2500\n"});
    EXPECT_EQ(f.Rows(), QStringList({u"|Bob Smith|Weapons|1000"_s, u"x|Ann|Reg, all|2500"_s}));
    EXPECT_EQ(f.Edit("Ed_BankBal")->text(), u"500"_s);
    EXPECT_EQ(f.Info(), u"Total 4,000 - Vendors 2 - 01/12/2026"_s);
    EXPECT_EQ(f.grid->ColumnAlignment(TVendorLedger::kColAmount), Qt::AlignRight);
    EXPECT_TRUE(f.grid->RowMoving());
}

TEST(VendorLedger, TotalsAreSummedIn64BitsAndKeepTheirSign) {
    VendorFixture f({.vendors = "01/12/2026,0\r\n,Ann,,2000000000\r\n,Bob,,1500000000\r\n"});
    EXPECT_EQ(f.Info(), u"Total 3,500,000,000 - Vendors 2 - 01/12/2026"_s);
    // A balance below zero (the box steps below 0 with the Down key) is taken off.
    f.dir.Write("Vendors.dat", "01/12/2026,-5000\r\n,Ann,,1000\r\n,Bob,,junk\r\n");
    f.ledger->LoadVendors();
    EXPECT_EQ(f.Info(), u"Total -4,000 - Vendors 2 - 01/12/2026"_s);
}

TEST(VendorLedger, NameWithABlankIsStoredQuoted) {
    VendorFixture f({.vendors = "01/12/2026,250\r\n"});
    f.Click("Btn_VendNew");
    EXPECT_TRUE(f.ledger->IsEditing());
    EXPECT_EQ(f.grid->Col(), TVendorLedger::kColName);
    f.grid->setRowTexts(1, {u""_s, u"Bob Smith"_s, u"Weapons"_s, u"12000"_s});
    f.Click("Btn_VendSave");
    EXPECT_TRUE(f.dialogs.boxes.empty());
    EXPECT_EQ(f.dir.Read("Vendors.dat"), kToday + ",250\r\n,\"Bob Smith\",Weapons,12000\r\n");
    EXPECT_FALSE(f.ledger->IsEditing());
    EXPECT_EQ(f.Rows(), QStringList({u"|Bob Smith|Weapons|12000"_s}));
    EXPECT_EQ(f.Info(), u"Total 12,250 - Vendors 1 - "_s + QString::fromStdString(kToday));
}

TEST(VendorLedger, SaveCleansFieldsAndLeavesNamelessRowsOut) {
    VendorFixture f({.vendors = "01/12/2026,0\r\n,Ann,Shop,5\r\n"});
    f.Click("Btn_VendNew");
    f.grid->setRowTexts(2, {u""_s, u"  Bob, the 2nd "_s, u" Arms, armour"_s, u"7"_s});
    f.Click("Btn_VendNew");
    f.grid->setRowTexts(3, {u""_s, u"   "_s, u"no name"_s, u"9"_s});
    f.Click("Btn_VendSave");
    EXPECT_EQ(f.dir.Read("Vendors.dat"), kToday + ",0\r\n,Ann,Shop,5\r\n,\"Bob  the 2nd\",\"Arms  armour\",7\r\n");
    EXPECT_EQ(f.Rows().size(), 2);
}

TEST(VendorLedger, InvalidValueBoxOkCorrectsAndCancelKeepsEditing) {
    VendorFixture f({.vendors = "01/12/2026,0\r\n,Ann,Shop,5\r\n"});
    f.Click("Btn_VendEdit");
    EXPECT_EQ(f.grid->Col(), TVendorLedger::kColAmount);
    f.grid->setCells(TVendorLedger::kColAmount, 1, u"1,2ab"_s);
    f.dialogs.boxAnswers.push_back(mbCancel);
    f.Click("Btn_VendSave");
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.dialogs.boxes[0].text, u"Ann\n\rInvalid Value 1,2ab\n\rAltered to 12 !"_s);
    EXPECT_EQ(f.dialogs.boxes[0].kind, MsgKind::Warning);
    EXPECT_EQ(f.dialogs.boxes[0].buttons, mbOK | mbCancel);
    EXPECT_TRUE(f.ledger->IsEditing());
    EXPECT_TRUE(f.Button("Btn_VendSave")->isEnabled());
    EXPECT_EQ(f.dir.Read("Vendors.dat"), "01/12/2026,0\r\n,Ann,Shop,5\r\n");

    f.dialogs.boxAnswers.push_back(mbOK);
    f.Click("Btn_VendSave");
    EXPECT_EQ(f.dialogs.boxes.size(), 2u);
    EXPECT_EQ(f.dir.Read("Vendors.dat"), kToday + ",0\r\n,Ann,Shop,12\r\n");
    EXPECT_FALSE(f.ledger->IsEditing());

    // A blank amount is 0 without a box; more than nine characters always ask.
    f.Click("Btn_VendEdit");
    f.grid->setCells(TVendorLedger::kColAmount, 1, u""_s);
    f.Click("Btn_VendSave");
    EXPECT_EQ(f.dialogs.boxes.size(), 2u);
    EXPECT_EQ(f.dir.Read("Vendors.dat"), kToday + ",0\r\n,Ann,Shop,0\r\n");
    f.Click("Btn_VendEdit");
    f.grid->setCells(TVendorLedger::kColAmount, 1, u"1234567890"_s);
    f.Click("Btn_VendSave");
    EXPECT_EQ(f.dialogs.boxes.back().text, u"Ann\n\rInvalid Value 1234567890\n\rAltered to 123456789 !"_s);
}

TEST(VendorLedger, LongNameAndDescriptionAreCutWithTheirBoxes) {
    VendorFixture f({.vendors = "01/12/2026,0\r\n"});
    f.Click("Btn_VendNew");
    const QString name25 = u"Abcdefghijklmnopqrstuvwxy"_s;
    f.grid->setRowTexts(1, {u""_s, name25, QString(60, u'd'), u"1"_s});
    f.Click("Btn_VendSave");
    ASSERT_EQ(f.dialogs.boxes.size(), 2u);
    EXPECT_EQ(f.dialogs.boxes[0].text, u"Abcdefghijklmnopqrst\n\rName truncated (20 Max)"_s);
    EXPECT_EQ(f.dialogs.boxes[0].buttons, mbOK);
    EXPECT_EQ(f.dialogs.boxes[1].text, u"Abcdefghijklmnopqrst\n\rDescription truncated (50 Max)"_s);
    EXPECT_EQ(f.dir.Read("Vendors.dat"), kToday + ",0\r\n,Abcdefghijklmnopqrst," + std::string(50, 'd') + ",1\r\n");
}

TEST(VendorLedger, DeletingTheOnlyVendorLeavesTheDateLine) {
    VendorFixture f({.vendors = "01/12/2026,300\r\n,Ann,Shop,5\r\n"});
    f.grid->setRow(1);
    f.dialogs.boxAnswers.push_back(mbNo);
    f.Click("Btn_VendDelete");
    EXPECT_EQ(f.dialogs.boxes.back().text, u"Delete current vendor ?"_s);
    EXPECT_EQ(f.dialogs.boxes.back().kind, MsgKind::Confirmation);
    EXPECT_EQ(f.dialogs.boxes.back().buttons, mbYes | mbNo);
    EXPECT_EQ(f.dir.Read("Vendors.dat"), "01/12/2026,300\r\n,Ann,Shop,5\r\n");

    f.Click("Btn_VendDelete");
    EXPECT_EQ(f.dir.Read("Vendors.dat"), kToday + ",300\r\n");
    EXPECT_EQ(f.Rows(), QStringList({u"|||"_s}));
    EXPECT_EQ(f.Info(), u"Total 300 - Vendors 0 - "_s + QString::fromStdString(kToday));
    EXPECT_FALSE(f.ledger->IsEditing());
}

TEST(VendorLedger, DeleteChecksEveryRowButTheOneDeleted) {
    // Both amounts are damaged; only the vendor that stays is asked about.
    VendorFixture f({.vendors = "01/12/2026,0\r\n,Ann,Shop,5x\r\n,Bob,Arms,7y\r\n"});
    f.grid->setRow(1);
    f.dialogs.boxAnswers = {mbYes, mbOK};
    f.Click("Btn_VendDelete");
    ASSERT_EQ(f.dialogs.boxes.size(), 2u);
    EXPECT_EQ(f.dialogs.boxes[1].text, u"Bob\n\rInvalid Value 7y\n\rAltered to 7 !"_s);
    EXPECT_EQ(f.dir.Read("Vendors.dat"), kToday + ",0\r\n,Bob,Arms,7\r\n");

    // Cancel about another row stops the delete: the reload brings the vendor back.
    f.dir.Write("Vendors.dat", "01/12/2026,0\r\n,Ann,Shop,5\r\n,Bob,Arms,7y\r\n");
    f.ledger->LoadVendors();
    f.grid->setRow(1);
    f.dialogs.boxAnswers = {mbYes, mbCancel};
    f.Click("Btn_VendDelete");
    EXPECT_EQ(f.dir.Read("Vendors.dat"), "01/12/2026,0\r\n,Ann,Shop,5\r\n,Bob,Arms,7y\r\n");
    EXPECT_EQ(f.Rows(), QStringList({u"|Ann|Shop|5"_s, u"|Bob|Arms|7y"_s}));
}

TEST(VendorLedger, AFileThatCannotBeWrittenKeepsItsContentAndTheEdit) {
    const std::string stored = "01/12/2026,300\r\n,Ann,Shop,5\r\n,Bob,Arms,7\r\n";
    VendorFixture f({.vendors = stored});
    std::filesystem::permissions(f.dir.Path() / "Vendors.dat", std::filesystem::perms::owner_read,
                                 std::filesystem::perm_options::replace);
    f.Click("Btn_VendEdit");
    f.grid->setCells(TVendorLedger::kColAmount, 1, u"60"_s);
    f.Click("Btn_VendSave");
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.dialogs.boxes[0].kind, MsgKind::Error);
    EXPECT_EQ(f.dir.Read("Vendors.dat"), stored);
    // Still editing, with the change the player made.
    EXPECT_TRUE(f.ledger->IsEditing());
    EXPECT_EQ(f.grid->Cells(TVendorLedger::kColAmount, 1), u"60"_s);

    // A delete that cannot be written leaves the vendor in the ledger.
    f.Click("Btn_VendCancel");
    f.grid->setRow(2);
    f.dialogs.boxAnswers.push_back(mbYes);
    f.Click("Btn_VendDelete");
    EXPECT_EQ(f.dialogs.boxes.back().kind, MsgKind::Error);
    EXPECT_EQ(f.dir.Read("Vendors.dat"), stored);
    EXPECT_EQ(f.Rows(), QStringList({u"|Ann|Shop|5"_s, u"|Bob|Arms|7"_s}));
}

TEST(VendorLedger, ADraggedRowIsSavedAtOnce) {
    VendorFixture f({.vendors = "01/12/2026,0\r\n,Ann,Shop,5\r\n,Bob,Arms,7\r\n,Cid,Food,9\r\n"});
    // The player drags the third row's handle to the top.
    f.grid->verticalHeader()->moveSection(2, 0);
    EXPECT_EQ(f.Rows(), QStringList({u"|Cid|Food|9"_s, u"|Ann|Shop|5"_s, u"|Bob|Arms|7"_s}));
    EXPECT_EQ(f.dir.Read("Vendors.dat"), kToday + ",0\r\n,Cid,Food,9\r\n,Ann,Shop,5\r\n,Bob,Arms,7\r\n");
    EXPECT_FALSE(f.ledger->IsEditing());
}

TEST(VendorLedger, DoubleClicksAskTheGameForStatusAndBalance) {
    VendorFixture f({.vendors = "01/12/2026,0\r\n,\"Bob Smith\",Arms,7\r\n,,,\r\n"});
    f.grid->setRow(1);
    const QRect cell = f.grid->CellRect(TVendorLedger::kColDesc, 1);
    const QPoint at = f.grid->viewport()->mapFrom(f.grid, cell.center());
    // A double click comes after the first click of the pair.
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(f.grid->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(f.Posted(), kBackspaces + "Bob Smith Status\r");

    f.windows.ClearLog();
    f.options.backSpc = 0;
    QTest::mouseDClick(f.Edit("Ed_BankBal"), Qt::LeftButton);
    EXPECT_EQ(f.Posted(), "Balance\r");

    // A row without a name sends nothing.
    f.windows.ClearLog();
    f.grid->setRowTexts(1, {u""_s, u" "_s, u"Arms"_s, u"7"_s});
    f.ledger->SGrid_VendorDblClick();
    EXPECT_EQ(f.Posted(), "");
}

TEST(VendorLedger, TypingIntoTheBalanceEntersEditingWhereTheFocusIs) {
    VendorFixture f({.vendors = "01/12/2026,300\r\n,Ann,Shop,5\r\n"});
    f.Activate();
    QLineEdit* balance = f.Edit("Ed_BankBal");
    balance->setFocus();
    balance->end(false);
    QTest::keyClicks(balance, u"25"_s);
    EXPECT_EQ(balance->text(), u"30025"_s);
    EXPECT_TRUE(f.Button("Btn_VendSave")->isEnabled());
    EXPECT_FALSE(f.Button("Btn_VendEdit")->isEnabled());
    EXPECT_FALSE(f.Button("Btn_VendDelete")->isEnabled());
    EXPECT_TRUE(balance->hasFocus());

    // Reset brings the stored balance back, which is itself a change of the box.
    f.Click("Btn_VendCancel");
    EXPECT_EQ(balance->text(), u"300"_s);
    EXPECT_TRUE(f.ledger->IsEditing());
    f.Click("Btn_VendSave");
    EXPECT_EQ(f.dir.Read("Vendors.dat"), kToday + ",300\r\n,Ann,Shop,5\r\n");
    EXPECT_FALSE(f.ledger->IsEditing());

    // The Edit button gives the grid the focus.
    f.Click("Btn_VendEdit");
    EXPECT_TRUE(IsWithin(QApplication::focusWidget(), f.grid));
}

TEST(VendorLedger, KeysAreLimitedToEachColumnsLength) {
    VendorFixture f({.vendors = "01/12/2026,0\r\n,Ann,Shop,5\r\n"});
    f.Click("Btn_VendEdit");
    auto key = [&](int col, char c) {
        QChar ch = QLatin1Char(c);
        return f.ledger->SGrid_VendorKeyPress(col, 1, ch);
    };
    f.grid->setCells(TVendorLedger::kColName, 1, QString(20, u'n'));
    EXPECT_FALSE(key(TVendorLedger::kColName, 'x'));
    EXPECT_EQ(f.dialogs.beeps, 1);
    f.grid->setCells(TVendorLedger::kColName, 1, QString(19, u'n'));
    EXPECT_TRUE(key(TVendorLedger::kColName, 'x'));
    // A longer cell is cut to the limit first.
    f.grid->setCells(TVendorLedger::kColDesc, 1, QString(55, u'd'));
    EXPECT_FALSE(key(TVendorLedger::kColDesc, 'x'));
    EXPECT_EQ(f.grid->Cells(TVendorLedger::kColDesc, 1), QString(50, u'd'));
    f.grid->setCells(TVendorLedger::kColAmount, 1, u"123456789"_s);
    EXPECT_FALSE(key(TVendorLedger::kColAmount, '1'));
    // Typing over the whole text selected in the cell editor replaces it.
    ASSERT_NE(f.grid->CellEditor(), nullptr);
    f.grid->CellEditor()->selectAll();
    EXPECT_TRUE(key(TVendorLedger::kColAmount, '1'));
    // Control keys and letters beyond ASCII pass; no character class is checked.
    QChar backspace(u'\b');
    EXPECT_TRUE(f.ledger->SGrid_VendorKeyPress(TVendorLedger::kColAmount, 1, backspace));
    f.grid->setCells(TVendorLedger::kColAmount, 1, u"12"_s);
    EXPECT_TRUE(key(TVendorLedger::kColAmount, 'z'));
}

TEST(VendorLedger, NewReusesTheOneEmptyRowAndOtherwiseAddsOne) {
    VendorFixture f({.vendors = "01/12/2026,0\r\n"});
    f.Click("Btn_VendNew");
    EXPECT_EQ(f.grid->RowCount(), 2);
    EXPECT_EQ(f.grid->Row(), 1);
    EXPECT_TRUE(f.Button("Btn_VendNew")->isEnabled());  // more rows may follow
    f.grid->setCells(TVendorLedger::kColName, 1, u"Ann"_s);
    f.Click("Btn_VendNew");
    EXPECT_EQ(f.grid->RowCount(), 3);
    EXPECT_EQ(f.grid->Row(), 2);
    EXPECT_EQ(f.grid->Col(), TVendorLedger::kColName);
}

TEST(VendorLedger, AnEditStillOpenIsSavedAtShutdown) {
    VendorFixture f({.vendors = "01/12/2026,0\r\n,Ann,Shop,5\r\n"});
    f.Click("Btn_VendEdit");
    f.grid->setCells(TVendorLedger::kColAmount, 1, u"75"_s);
    f.Close();
    EXPECT_EQ(f.dir.Read("Vendors.dat"), kToday + ",0\r\n,Ann,Shop,75\r\n");
}

TEST(VendorLedger, GridSizesFromAndToTheSettings) {
    VendorFixture f({.vendors = ""}, false);
    f.settings.WriteInteger("VendorRowHeight", 2);  // at least 6
    f.settings.WriteInteger("VendorCol0", 90);      // the handle follows the row height
    f.settings.WriteInteger("VendorCol1", 3);       // at least 7
    f.settings.WriteInteger("VendorCol2", 120);
    f.Start();
    EXPECT_EQ(f.grid->DefaultRowHeight(), 6);
    EXPECT_EQ(f.grid->ColWidths(0), 6);
    EXPECT_EQ(f.grid->ColWidths(1), 7);
    EXPECT_EQ(f.grid->ColWidths(2), 120);
    f.Close();
    EXPECT_EQ(f.settings.Strings().at("VendorRowHeight"), "6");
    EXPECT_EQ(f.settings.Strings().at("VendorCol0"), "6");
    EXPECT_EQ(f.settings.Strings().at("VendorCol1"), "7");
    EXPECT_EQ(f.settings.Strings().at("VendorCol3"), std::to_string(f.grid->ColWidths(3)));

    // Nothing stored: the design sizes.
    VendorFixture fresh({.vendors = ""});
    EXPECT_EQ(fresh.grid->DefaultRowHeight(), 16);
    EXPECT_EQ(fresh.grid->ColWidths(0), 16);
    EXPECT_EQ(fresh.grid->ColWidths(1), 75);
}

TEST(VendorLedger, AListWhoseFileWasNeverReadIsNeverWritten) {
    VendorFixture f({.vendors = "01/12/2026,0\r\n,Ann,Shop,5\r\n"}, false);
    f.state.Ready = true;  // shown, but the lists were never loaded
    f.Click("Btn_VendEdit");
    f.Click("Btn_VendSave");
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_TRUE(f.dialogs.boxes[0].text.startsWith(u"Vendors.dat could not be read"_s));
    EXPECT_EQ(f.dir.Read("Vendors.dat"), "01/12/2026,0\r\n,Ann,Shop,5\r\n");
    EXPECT_TRUE(f.ledger->IsEditing());
}

TEST(VendorLedger, ALedgerWithAnOverlongLineIsSaidOnceAndNeverWritten) {
    const std::string vendors = "01/12/2026,0\r\n,Ann,Shop,5\r\n,Bob," + std::string(kMaxLineBytes, 'x') + ",7\r\n";
    VendorFixture f({.vendors = vendors});
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_TRUE(f.dialogs.boxes[0].text.startsWith(u"Line 3 of Vendors.dat is longer than 65536"_s));
    f.Click("Btn_VendEdit");
    f.Click("Btn_VendSave");
    ASSERT_EQ(f.dialogs.boxes.size(), 2u);
    EXPECT_TRUE(f.dialogs.boxes[1].text.startsWith(u"Vendors.dat holds lines too long to load whole"_s));
    EXPECT_EQ(f.dir.Read("Vendors.dat"), vendors);
}

}  // namespace stallmark::test
