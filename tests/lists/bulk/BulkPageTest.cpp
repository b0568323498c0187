#include <gtest/gtest.h>

#include <QGroupBox>
#include <QIcon>
#include <QLineEdit>
#include <filesystem>
#include <set>

#include "BulkFixture.h"
#include "lists/ListDisplay.h"

namespace stallmark::test {

using namespace Qt::StringLiterals;

namespace {

constexpr BulkState kGreen = BulkState::Filled, kRed = BulkState::Missing, kGrey = BulkState::Partly;

// Chainmail 10 Iron Normal, Ringmail 10 Iron Normal, Plate-Female 20 Gold Exceptional.
const char* const kLarge = "0,0,1,010\r\n0,0,0,010\r\n5,1,3,020\r\n";
// Chainmail Coif, Leggings, Tunic of 10, Ringmail Gloves of 10, Plate Tunic-Male of 20 Gold
// Exceptional, and one order that fills nothing.
const char* const kSmall =
    "0,0,1,7,010\r\n0,0,1,8,010\r\n0,0,1,9,010\r\n0,0,0,0,010\r\n5,1,2,19,020\r\n1,0,0,3,015\r\n";

QStringList Children(const TLargeOrderModel& model, int order) {
    QStringList out;
    const QModelIndex parent = model.OrderIndex(order);
    for (int i = 0; i < model.rowCount(parent); ++i) out << model.Text(model.index(i, 0, parent));
    return out;
}

}  // namespace

TEST(BulkTrees, LoadShowsOrdersWithTheirPiecesAndStates) {
    BulkFixture f(kLarge, kSmall);
    EXPECT_EQ(f.bulk->LargeTexts(),
              QStringList({u"Iron - Normal - Chainmail - 10 (30)"_s, u"Iron - Normal - Ringmail - 10 (40)"_s,
                           u"Gold - Exceptional - Plate-Female - 20 (120)"_s}));
    EXPECT_EQ(f.bulk->SmallTexts(),
              QStringList({u"Iron - Normal - Chainmail - Coif - 10"_s, u"Iron - Normal - Chainmail - Leggings - 10"_s,
                           u"Iron - Normal - Chainmail - Tunic - 10"_s, u"Iron - Normal - Ringmail - Gloves - 10"_s,
                           u"Gold - Exceptional - Plate - Tunic-Male - 20"_s,
                           u"Dull-Copper - Normal - Ringmail - Tunic - 15"_s}));
    const TLargeOrderModel& large = f.bulk->LargeModel();
    EXPECT_EQ(Children(large, 0), QStringList({u"Coif"_s, u"Leggings"_s, u"Tunic"_s}));
    EXPECT_EQ(Children(large, 1), QStringList({u"Gloves"_s, u"Sleeves"_s, u"Leggings"_s, u"Tunic"_s}));
    EXPECT_EQ(Children(large, 2), QStringList({u"Arms"_s, u"Gorget"_s, u"Gloves"_s, u"Helm"_s, u"Legs"_s, u"Tunic"_s}));

    // Green: every piece held; grey: some; red: none (Tunic-Male does not fill a
    // Plate-Female tunic).
    EXPECT_EQ(f.bulk->LargeState(0), kGreen);
    EXPECT_EQ(f.bulk->LargeState(1), kGrey);
    EXPECT_EQ(f.bulk->LargeState(2), kRed);
    EXPECT_EQ(f.bulk->PieceState(1, 0), kGreen);
    EXPECT_EQ(f.bulk->PieceState(1, 1), kRed);
    EXPECT_EQ(f.bulk->PieceState(2, 5), kRed);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(f.bulk->SmallState(i), kGreen) << i;
    EXPECT_EQ(f.bulk->SmallState(4), kRed);
    EXPECT_EQ(f.bulk->SmallState(5), kRed);
    // The states are the trees' state pictures, and what the model tells.
    const QModelIndex first = f.bulk->SmallModel().OrderIndex(0);
    EXPECT_EQ(first.data(kBulkStateRole).toInt(), 1);
    EXPECT_FALSE(first.data(Qt::DecorationRole).value<QIcon>().isNull());

    // The trees as the page shows them.
    EXPECT_EQ(f.LargeTree()->indentation(), 30);
    EXPECT_TRUE(f.LargeTree()->rootIsDecorated());
    EXPECT_EQ(f.SmallTree()->indentation(), 15);
    EXPECT_FALSE(f.SmallTree()->rootIsDecorated());
    EXPECT_EQ(f.Find<QGroupBox>("Gb_BulkLarge")->title(), u"Large Bulk Orders"_s);
    EXPECT_EQ(f.Find<QGroupBox>("Gb_BulkLarge")->height(), 151);
    EXPECT_EQ(f.Find<QGroupBox>("Gb_BulkSmall")->title(), u"Bulk Orders"_s);
    EXPECT_TRUE(f.dialogs.boxes.empty());
}

TEST(BulkTrees, AMatchingPlateFemaleTunicIsGreenOnBothSides) {
    BulkFixture f("0,0,3,010\r\n", "0,0,2,20,010\r\n0,0,2,19,010\r\n0,0,2,20,015\r\n");
    EXPECT_EQ(f.bulk->PieceState(0, 5), kGreen);  // its Tunic
    EXPECT_EQ(f.bulk->LargeState(0), kGrey);
    EXPECT_EQ(f.bulk->SmallState(0), kGreen);  // Tunic-Female of 10
    EXPECT_EQ(f.bulk->SmallState(1), kRed);    // Tunic-Male
    EXPECT_EQ(f.bulk->SmallState(2), kRed);    // 15 is not 10
}

TEST(BulkTrees, EmptyFilesGiveEmptyTreesAndDeleteDoesNothing) {
    BulkFixture f("", "");
    EXPECT_TRUE(f.bulk->LargeTexts().isEmpty());
    EXPECT_TRUE(f.bulk->SmallTexts().isEmpty());
    f.Focus(f.SmallTree());
    f.Click("Btn_BulkDelete");
    f.Focus(f.LargeTree());
    f.Click("Btn_BulkDelete");
    EXPECT_TRUE(f.dialogs.boxes.empty());
    EXPECT_EQ(f.Small(), "");
    EXPECT_EQ(f.Large(), "");
}

TEST(BulkTrees, DamagedLinesAreLeftOutOfTheTreesAndKeptInTheFiles) {
    // Ore 12, piece 25, a negative index, a blank line, a piece of another kind's row.
    const std::string small = "12,0,0,0,010\r\n0,0,2,25,010\r\n-1,0,0,0,010\r\n\r\n0,0,0,9,010\r\n0,0,1,9,015\r\n";
    BulkFixture f("0,0,9,010\r\n0,0,1,015\r\nnot an order\n", small);
    EXPECT_EQ(f.bulk->LargeTexts(), QStringList({u"Iron - Normal - Chainmail - 15 (45)"_s}));
    EXPECT_EQ(f.bulk->SmallTexts(), QStringList({u"Iron - Normal - Chainmail - Tunic - 15"_s}));
    EXPECT_EQ(f.bulk->SmallState(0), kGreen);
    // Said once at start-up, per file; the blank line is not counted.
    EXPECT_EQ(
        f.dialogs.Texts(),
        QStringList({u"Line 1 of Lbod.dat and 1 more line hold no bulk order: they are not shown, and the file keeps "_s
                     u"them."_s,
                     u"Line 1 of Bod.dat and 3 more lines hold no bulk order: they are not shown, and the file keeps "_s
                     u"them."_s}));
    // Deleting the one order keeps every other byte of the file as it was.
    f.SelectSmall(0);
    f.Click("Btn_BulkDelete");
    EXPECT_EQ(f.Small(), "12,0,0,0,010\r\n0,0,2,25,010\r\n-1,0,0,0,010\r\n\r\n0,0,0,9,010\r\n");
    EXPECT_TRUE(f.bulk->SmallTexts().isEmpty());
    EXPECT_EQ(f.bulk->LargeState(0), kRed);
    EXPECT_EQ(f.dialogs.boxes.size(), 3u);  // the question only; a reload says nothing more
}

TEST(BulkDelete, TwoEqualOrdersAndDeleteRemovesOne) {
    BulkFixture f("", "0,0,1,9,015\r\n0,0,1,9,015\r\n2,0,0,0,010\r\n");
    f.SelectSmall(1);
    f.dialogs.boxAnswers = {mbNo};
    f.Click("Btn_BulkDelete");
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.dialogs.boxes[0].text, u"Delete Selected Bulk Order ? \n\rIron - Normal - Chainmail - Tunic - 15"_s);
    EXPECT_EQ(f.dialogs.boxes[0].kind, MsgKind::Confirmation);
    EXPECT_EQ(f.dialogs.boxes[0].buttons, mbYes | mbNo);
    EXPECT_EQ(f.Small(), "0,0,1,9,015\r\n0,0,1,9,015\r\n2,0,0,0,010\r\n");

    f.Click("Btn_BulkDelete");  // Yes
    EXPECT_EQ(f.Small(), "0,0,1,9,015\r\n2,0,0,0,010\r\n");
    EXPECT_EQ(f.bulk->SmallTexts(), QStringList({u"Iron - Normal - Chainmail - Tunic - 15"_s,
                                                 u"Shadow - Normal - Ringmail - Gloves - 10"_s}));
    // Replaced in one step: no working copy is left beside the data.
    EXPECT_FALSE(f.dir.Exists("Tmp.Tmp"));
    EXPECT_FALSE(f.dir.Exists("Bod.tmp"));
}

TEST(BulkDelete, ALargeOrderGoesAndItsSmallOrdersTurnRed) {
    BulkFixture f(kLarge, kSmall);
    f.SelectLarge(0);
    f.Click("Btn_BulkDelete");
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.dialogs.boxes[0].text, u"Delete Selected Large Bulk Order ? \n\rIron - Normal - Chainmail - 10 (30)"_s);
    EXPECT_EQ(f.Large(), "0,0,0,010\r\n5,1,3,020\r\n");
    EXPECT_EQ(f.bulk->LargeTexts().size(), 2);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(f.bulk->SmallState(i), kRed) << i;  // the chainmail pieces
    EXPECT_EQ(f.bulk->SmallState(3), kGreen);  // the ringmail gloves still fill their order
    EXPECT_FALSE(f.dir.Exists("Tmp.Tmp"));
    EXPECT_FALSE(f.dir.Exists("Lbod.tmp"));
}

TEST(BulkDelete, EveryStateThatChangesIsToldToTheTrees) {
    // The chainmail pieces with the ringmail gloves between them.
    BulkFixture f(kLarge, "0,0,1,7,010\r\n0,0,0,0,010\r\n0,0,1,8,010\r\n0,0,1,9,010\r\n");
    std::set<int> smallRows, largeRows, pieceParents;
    QObject::connect(&f.bulk->SmallModel(), &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& from, const QModelIndex& to) {
                         for (int r = from.row(); r <= to.row(); ++r) smallRows.insert(r);
                     });
    QObject::connect(&f.bulk->LargeModel(), &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& from, const QModelIndex& to) {
                         if (from.parent().isValid()) {
                             pieceParents.insert(from.parent().row());
                             return;
                         }
                         for (int r = from.row(); r <= to.row(); ++r) largeRows.insert(r);
                     });
    // The chainmail order goes: its three small orders turn red, and the view hears of it.
    f.SelectLarge(0);
    f.Click("Btn_BulkDelete");
    for (int row : {0, 2, 3}) {
        EXPECT_EQ(f.bulk->SmallState(row), kRed);
        EXPECT_TRUE(smallRows.count(row)) << row;
    }
    // The ringmail gloves go: the ringmail order (now the first) turns red, with its gloves.
    f.SelectSmall(1);
    f.Click("Btn_BulkDelete");
    EXPECT_EQ(f.bulk->LargeState(0), kRed);
    EXPECT_TRUE(largeRows.count(0));
    EXPECT_TRUE(pieceParents.count(0));
    EXPECT_FALSE(largeRows.count(1));  // the plate order did not change
}

TEST(BulkDelete, APieceNodeOrNoFocusedTreeDeletesNothing) {
    BulkFixture f(kLarge, kSmall);
    f.SelectLarge(1, 2);
    f.Click("Btn_BulkDelete");
    EXPECT_TRUE(f.dialogs.boxes.empty());
    // The selection of a tree without the focus does not count.
    f.SelectSmall(0);
    auto* other = new QLineEdit(&f.window);
    other->show();
    other->setFocus();
    f.Click("Btn_BulkDelete");
    EXPECT_TRUE(f.dialogs.boxes.empty());
    EXPECT_EQ(f.Large(), kLarge);
    EXPECT_EQ(f.Small(), kSmall);
}

TEST(BulkDelete, AnOrderNoLongerInTheFileChangesNothing) {
    BulkFixture f("", "0,0,1,9,015\r\n");
    f.dir.Write("Bod.dat", "3,0,0,0,010\r\n");  // edited by hand since it was loaded
    f.SelectSmall(0);
    f.Click("Btn_BulkDelete");
    EXPECT_EQ(f.Small(), "3,0,0,0,010\r\n");
    EXPECT_EQ(f.bulk->SmallTexts(), QStringList({u"Copper - Normal - Ringmail - Gloves - 10"_s}));
    EXPECT_FALSE(f.dir.Exists("Tmp.Tmp"));
    EXPECT_FALSE(f.dir.Exists("Bod.tmp"));
}

TEST(BulkFiles, SortBulkFileOrdersByOreQualityKindPieceAndAmount) {
    BulkFixture f("", "8,0,0,0,010\r\n0,0,0,3,100\r\n0,1,0,0,010\n0,0,0,3,095\r\n0,0,2,14,010");
    f.bulk->SortBulkFile("Bod.dat");
    EXPECT_EQ(f.Small(), "0,0,0,3,095\r\n0,0,0,3,100\r\n0,0,2,14,010\r\n0,1,0,0,010\r\n8,0,0,0,010\r\n");
    f.bulk->SortBulkFile("Missing.dat");
    EXPECT_FALSE(f.dir.Exists("Missing.dat"));
    EXPECT_FALSE(f.dir.Exists("Bod.tmp"));
}

TEST(BulkFiles, AMissingFileLeavesItsTreeAsItWas) {
    BulkFixture f(kLarge, kSmall);
    std::filesystem::remove(f.dir.Path() / "Bod.dat");
    f.bulk->LoadSmallOrders();
    EXPECT_EQ(f.bulk->SmallTexts().size(), 6);
    EXPECT_FALSE(f.bulk->DeleteSmallOrder(QStringLiteral("Iron - Normal - Chainmail - Coif - 10")));
    EXPECT_FALSE(f.dir.Exists("Bod.dat"));
}

TEST(BulkFiles, EveryRewriteLeavesTheDataFilesAndNothingElse) {
    BulkFixture f(kLarge, kSmall);
    auto names = [&] {
        std::set<std::string> out;
        for (const auto& entry : std::filesystem::directory_iterator(f.dir.Path()))
            out.insert(entry.path().filename().string());
        return out;
    };
    const std::set<std::string> data = {"Bod.dat", "Lbod.dat"};
    f.SelectSmall(5);
    f.Click("Btn_BulkDelete");
    EXPECT_EQ(names(), data);
    f.SelectLarge(1);
    f.Click("Btn_BulkDelete");
    EXPECT_EQ(names(), data);
    f.dialogs.modalHandlers.push_back(Enter({.amount = "10", .armour = "Chainmail", .piece = "Coif"}));
    f.Click("Btn_BulkNew");
    f.dialogs.modalHandlers.push_back(Enter({.amount = "10", .armour = "Ringmail"}));
    f.Click("Btn_BulkLNew");
    f.bulk->SortBulkFile("Bod.dat");
    EXPECT_EQ(names(), data);
    EXPECT_EQ(f.Large(), "0,0,0,010\r\n0,0,1,010\r\n5,1,3,020\r\n");
    EXPECT_EQ(f.Small(), "0,0,0,0,010\r\n0,0,1,7,010\r\n0,0,1,7,010\r\n0,0,1,8,010\r\n0,0,1,9,010\r\n5,1,2,19,020\r\n");
}

TEST(BulkFiles, AFileThatCannotBeReplacedIsReportedAndKeptWhole) {
    BulkFixture f(kLarge, kSmall);
    for (const char* name : {"Bod.dat", "Lbod.dat"})
        std::filesystem::permissions(f.dir.Path() / name, std::filesystem::perms::owner_read,
                                     std::filesystem::perm_options::replace);
    f.SelectSmall(0);
    f.Click("Btn_BulkDelete");
    ASSERT_EQ(f.dialogs.boxes.size(), 2u);  // the question, then the error
    EXPECT_EQ(f.dialogs.boxes[1].kind, MsgKind::Error);
    f.SelectLarge(0);
    f.Click("Btn_BulkDelete");
    f.dialogs.modalHandlers.push_back(Enter({.amount = "10", .armour = "Chainmail", .piece = "Coif"}));
    f.dialogs.boxAnswers = {mbYes, mbOK, mbNo};  // add it anyway; the error; keep the timer
    f.Click("Btn_BulkNew");
    EXPECT_EQ(f.dialogs.boxes.back().text, u"Reset the bulk timer ?"_s);
    // Nothing the player stored is lost, the trees still show it, and no working copy stays.
    EXPECT_EQ(f.Small(), kSmall);
    EXPECT_EQ(f.Large(), kLarge);
    EXPECT_EQ(f.bulk->SmallTexts().size(), 6);
    EXPECT_EQ(f.bulk->LargeTexts().size(), 3);
    EXPECT_EQ(f.bulk->LargeState(0), kGreen);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.dir.Path()), {}), 2);
}

TEST(BulkPage, PopupAndDisplayOptions) {
    BulkFixture f("", "");
    const PopupState s = f.bulk->Popup(nullptr);
    EXPECT_EQ(s.list1, 8);
    EXPECT_EQ(s.list2, 9);
    EXPECT_EQ(s.list1Caption, u"Large Order Options"_s);
    EXPECT_EQ(s.list2Caption, u"Bulk Order Options"_s);
    EXPECT_FALSE(s.gridResize);
    EXPECT_TRUE(s.sendToGame);
    EXPECT_FALSE(f.bulk->RelayoutWithTabs());

    ListDisplay display;
    display.textColour = 0x0000FF;  // red
    display.backColour = 0x00FFFF;  // yellow
    display.fontName = QStringLiteral("Courier");
    display.fontSize = 12;
    f.bulk->ApplyListDisplay(8, display);
    EXPECT_EQ(f.LargeTree()->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(f.LargeTree()->palette().color(QPalette::Base), QColor(255, 255, 0));
    EXPECT_EQ(f.LargeTree()->font().pointSize(), 12);
    EXPECT_NE(f.SmallTree()->palette().color(QPalette::Base), QColor(255, 255, 0));
    f.bulk->ApplyListDisplay(9, display);
    EXPECT_EQ(f.SmallTree()->font().family(), u"Courier"_s);
}

TEST(BulkPage, ButtonBarInItsOrder) {
    BulkFixture f("", "");
    QStringList names, captions;
    for (QWidget* w : f.Find<TPanelResize>("Pn_BulkBtn")->OrderedChildren()) {
        names << w->objectName();
        captions << static_cast<TToolBtnSig*>(w)->text();
    }
    EXPECT_EQ(names, QStringList({u"Btn_BulkLNew"_s, u"Btn_BulkNew"_s, u"Btn_BulkTimer"_s, u"Btn_BulkDelete"_s,
                                  u"Btn_BulkList"_s, u"Btn_BulkSend"_s}));
    EXPECT_EQ(captions, QStringList({u"New Large"_s, u"New Bulk"_s, u"00:00:00"_s, u"Delete"_s, u"List"_s, u"Send"_s}));
    EXPECT_EQ(f.Find<TToolBtnSig>("Btn_BulkSend")->toolTip(), u"Send data to game"_s);
    EXPECT_EQ(f.Find<TToolBtnSig>("Btn_BulkList")->toolTip(),
              u"List all orders (position cursor in book or profile before starting)"_s);
    // The timer shows its caption whatever the button options say.
    EXPECT_EQ(f.Find<TToolBtnSig>("Btn_BulkTimer")->displayMode(), dmBoth);
    EXPECT_EQ(f.Find<TToolBtnSig>("Btn_BulkDelete")->displayMode(), dmGlyphOnly);
}

}  // namespace stallmark::test
