#include <gtest/gtest.h>

#include "BulkFixture.h"
#include "controls/CaptionedControls.h"

namespace stallmark::test {

using namespace Qt::StringLiterals;

namespace {

QStringList Items(const QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
    return out;
}

}  // namespace

TEST(BulkEntryForm, OpensWithQualityAndOreChosenAndOnlyValidChoices) {
    TBulkInputForm form;
    EXPECT_EQ(form.windowTitle(), u"Bulk Order"_s);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    QStringList amounts;
    for (int a = 5; a <= 100; a += 5) amounts << QString::number(a);
    EXPECT_EQ(Items(form.AmountBox()), amounts);
    EXPECT_EQ(form.AmountBox()->currentIndex(), -1);
    EXPECT_EQ(form.QualityBox()->currentText(), u"Normal"_s);
    EXPECT_EQ(Items(form.OreBox()), QStringList({u"Iron"_s, u"Dull-Copper"_s, u"Shadow"_s, u"Copper"_s, u"Bronze"_s,
                                                 u"Gold"_s, u"Agapite"_s, u"Verite"_s, u"Valorite"_s}));
    EXPECT_EQ(form.OreBox()->currentText(), u"Iron"_s);
    EXPECT_EQ(form.OreBox()->maxVisibleItems(), 9);
    // The captions 45 pixels wide, or as wide as the font needs for the whole caption; the
    // lists 5 pixels to their right.
    form.show();
    for (TComboBoxSig* box : {form.AmountBox(), form.QualityBox(), form.OreBox(), form.ArmourBox(), form.PieceBox()}) {
        EXPECT_FALSE(box->isEditable());
        EXPECT_GE(box->captionLeft(), 45);
        EXPECT_EQ(box->captionLeft(), form.AmountBox()->captionLeft());
        EXPECT_GE(box->captionLeft(), box->captionLabel()->sizeHint().width()) << box->caption().toStdString();
        EXPECT_EQ(box->x(), box->captionLeft() + 5);
    }
    EXPECT_GE(form.width(), 160);
    EXPECT_EQ(form.AmountBox()->caption(), u"Amount"_s);
    EXPECT_EQ(form.PieceBox()->caption(), u"Piece"_s);

    EXPECT_EQ(Items(form.ArmourBox()), QStringList({u"Ringmail"_s, u"Chainmail"_s, u"Plate"_s}));
    EXPECT_TRUE(form.PieceBox()->isVisibleTo(&form));
    form.SetLarge(true);
    EXPECT_EQ(Items(form.ArmourBox()),
              QStringList({u"Ringmail"_s, u"Chainmail"_s, u"Plate-Male"_s, u"Plate-Female"_s}));
    EXPECT_FALSE(form.PieceBox()->isVisibleTo(&form));
    EXPECT_EQ(form.ArmourBox()->currentIndex(), -1);
    // In large mode the armour brings no pieces.
    Choose(form.ArmourBox(), "Plate-Male");
    EXPECT_EQ(form.PieceBox()->count(), 0);
    EXPECT_EQ(form.PieceIndex(), -1);
}

TEST(BulkEntryForm, AFixedSizeThatLosesThePieceRowForALargeOrder) {
    TBulkInputForm form;
    form.show();
    const QSize small = form.size();
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_GE(small.width(), 160);
    form.SetLarge(true);
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_LT(form.height(), small.height());
    EXPECT_GE(form.width(), 160);  // as wide as its longest armour name needs
    form.SetLarge(false);
    EXPECT_EQ(form.height(), small.height());
}

TEST(BulkEntryForm, ChangingTheArmourKeepsThePieceWhenTheNewArmourHasIt) {
    TBulkInputForm form;
    Choose(form.ArmourBox(), "Plate");
    EXPECT_EQ(Items(form.PieceBox()), QStringList({u"Arms"_s, u"Gloves"_s, u"Gorget"_s, u"Helm"_s, u"Legs"_s,
                                                   u"Tunic-Male"_s, u"Tunic-Female"_s}));
    EXPECT_EQ(form.PieceBox()->currentIndex(), -1);
    Choose(form.PieceBox(), "Gloves");
    Choose(form.ArmourBox(), "Ringmail");
    EXPECT_EQ(Items(form.PieceBox()), QStringList({u"Gloves"_s, u"Leggings"_s, u"Sleeves"_s, u"Tunic"_s}));
    EXPECT_EQ(form.PieceBox()->currentText(), u"Gloves"_s);
    EXPECT_EQ(form.PieceIndex(), 0);
    Choose(form.PieceBox(), "Leggings");
    Choose(form.ArmourBox(), "Chainmail");
    EXPECT_EQ(form.PieceBox()->currentText(), u"Leggings"_s);
    EXPECT_EQ(form.PieceIndex(), 1);
    Choose(form.ArmourBox(), "Ringmail");
    Choose(form.PieceBox(), "Sleeves");
    Choose(form.ArmourBox(), "Chainmail");
    EXPECT_EQ(form.PieceBox()->currentIndex(), -1);
    Choose(form.ArmourBox(), "Plate");
    Choose(form.PieceBox(), "Tunic-Male");
    Choose(form.ArmourBox(), "Ringmail");
    EXPECT_EQ(form.PieceBox()->currentIndex(), -1);
}

TEST(BulkEntry, NewBulkStoresTheSortedLineSelectsTheOrderAndOffersTheTimer) {
    BulkFixture f("1,1,2,015\r\n", "5,0,0,0,010\r\n");
    f.state.BulkTimerStart = f.clock.Now() - 2;
    f.options.buttons = {.showHints = true, .graphic = false, .text = true};
    bool looked = false;
    f.dialogs.modalHandlers.push_back(Enter(
        {.amount = "15", .quality = "Exceptional", .ore = "Dull-Copper", .armour = "Plate", .piece = "Tunic-Male"},
        [&](TBulkInputForm& form) {
            auto* ok = form.findChild<TToolBtnSig*>(QStringLiteral("Btn_Ok"));
            EXPECT_EQ(form.ButtonPanel()->objectName(), u"PanelResize1"_s);
            EXPECT_EQ(ok->text(), u"Ok"_s);
            EXPECT_EQ(ok->displayMode(), dmTextOnly);  // the button options reach the dialog
            EXPECT_FALSE(form.Large());
            EXPECT_EQ(form.parentWidget(), &f.window);
            looked = true;
        }));
    f.Click("Btn_BulkNew");
    EXPECT_TRUE(looked);
    EXPECT_EQ(f.Small(), "1,1,2,19,015\r\n5,0,0,0,010\r\n");
    EXPECT_EQ(f.bulk->SmallTexts(), QStringList({u"Dull-Copper - Exceptional - Plate - Tunic-Male - 15"_s,
                                                 u"Gold - Normal - Ringmail - Gloves - 10"_s}));
    EXPECT_EQ(f.bulk->SelectedText(f.SmallTree()), u"Dull-Copper - Exceptional - Plate - Tunic-Male - 15"_s);
    EXPECT_EQ(f.window.focusWidget(), f.SmallTree());
    // Matched at once: it fills the tunic of the Plate-Male order.
    EXPECT_EQ(f.bulk->SmallState(0), BulkState::Filled);
    EXPECT_EQ(f.bulk->LargeState(0), BulkState::Partly);
    // Then the timer question; Yes starts it again.
    EXPECT_EQ(f.dialogs.Texts(), QStringList({u"Reset the bulk timer ?"_s}));
    EXPECT_EQ(f.dialogs.boxes[0].kind, MsgKind::Confirmation);
    EXPECT_EQ(f.dialogs.boxes[0].buttons, mbYes | mbNo);
    EXPECT_DOUBLE_EQ(f.state.BulkTimerStart, f.clock.Now());
    EXPECT_EQ(f.Find<TToolBtnSig>("Btn_BulkTimer")->text(), u"00:00:00"_s);
}

TEST(BulkEntry, CancelStoresNothingButStillAsksAboutTheTimer) {
    BulkFixture f("", "5,0,0,0,010\r\n");
    const DateTime start = f.clock.Now() - 2;
    f.state.BulkTimerStart = start;
    f.dialogs.modalHandlers.push_back(Enter({.amount = "15", .armour = "Plate", .piece = "Arms", .ok = false}));
    f.dialogs.boxAnswers = {mbNo};
    f.Click("Btn_BulkNew");
    EXPECT_EQ(f.Small(), "5,0,0,0,010\r\n");
    EXPECT_EQ(f.dialogs.Texts(), QStringList({u"Reset the bulk timer ?"_s}));
    EXPECT_DOUBLE_EQ(f.state.BulkTimerStart, start);
    // The window's own close box cancels too.
    f.dialogs.modalHandlers.push_back([](QDialog& d) {
        d.reject();
        return d.result();
    });
    f.Click("Btn_BulkLNew");
    EXPECT_EQ(f.Large(), "");
    EXPECT_EQ(f.dialogs.boxes.size(), 2u);
}

TEST(BulkEntry, AnOrderAlreadyHeldIsOnlyAddedOnYes) {
    BulkFixture f("", "0,0,1,9,015\r\n3,0,0,0,010\r\n");
    const BulkEntry tunic{.amount = "15", .armour = "Chainmail", .piece = "Tunic"};
    f.dialogs.modalHandlers.push_back(Enter(tunic));
    f.dialogs.boxAnswers = {mbNo, mbNo};
    f.Click("Btn_BulkNew");
    EXPECT_EQ(f.dialogs.Texts(), QStringList({u"You already have this order,\n\rdo you want to add it anyway ?"_s,
                                              u"Reset the bulk timer ?"_s}));
    EXPECT_EQ(f.dialogs.boxes[0].buttons, mbYes | mbNo);
    EXPECT_EQ(f.Small(), "0,0,1,9,015\r\n3,0,0,0,010\r\n");
    // The order held is selected and its tree has the focus.
    EXPECT_EQ(f.bulk->SelectedText(f.SmallTree()), u"Iron - Normal - Chainmail - Tunic - 15"_s);
    EXPECT_EQ(f.window.focusWidget(), f.SmallTree());

    f.dialogs.Clear();
    f.dialogs.modalHandlers.push_back(Enter(tunic));
    f.dialogs.boxAnswers = {mbYes, mbNo};
    f.Click("Btn_BulkNew");
    EXPECT_EQ(f.Small(), "0,0,1,9,015\r\n0,0,1,9,015\r\n3,0,0,0,010\r\n");
    EXPECT_EQ(f.bulk->SmallTexts().count(u"Iron - Normal - Chainmail - Tunic - 15"_s), 2);
    EXPECT_EQ(f.dialogs.boxes.size(), 2u);
}

TEST(BulkEntry, NewLargeShowsItsTotalAndMatchesAtOnce) {
    BulkFixture f("", "0,0,0,0,010\r\n");
    f.dialogs.modalHandlers.push_back(Enter({.amount = "10", .armour = "Ringmail"}, [](TBulkInputForm& form) {
        EXPECT_TRUE(form.Large());
        EXPECT_FALSE(form.PieceBox()->isVisibleTo(&form));
    }));
    f.dialogs.boxAnswers = {mbNo};
    f.Click("Btn_BulkLNew");
    EXPECT_EQ(f.Large(), "0,0,0,010\r\n");
    EXPECT_EQ(f.bulk->SelectedText(f.LargeTree()), u"Iron - Normal - Ringmail - 10 (40)"_s);
    EXPECT_EQ(f.window.focusWidget(), f.LargeTree());
    EXPECT_EQ(f.bulk->LargeState(0), BulkState::Partly);
    EXPECT_EQ(f.bulk->SmallState(0), BulkState::Filled);

    f.dialogs.modalHandlers.push_back(
        Enter({.amount = "20", .quality = "Exceptional", .ore = "Valorite", .armour = "Plate-Female"}));
    f.dialogs.boxAnswers = {mbNo};
    f.Click("Btn_BulkLNew");
    EXPECT_EQ(f.Large(), "0,0,0,010\r\n8,1,3,020\r\n");
    EXPECT_EQ(f.bulk->SelectedText(f.LargeTree()), u"Valorite - Exceptional - Plate-Female - 20 (120)"_s);
}

TEST(BulkEntry, NoAmountIsStoredAsZeroAndNoArmourStoresNothing) {
    BulkFixture f("", "");
    f.dialogs.modalHandlers.push_back(Enter({.armour = "Ringmail", .piece = "Sleeves"}));
    f.Click("Btn_BulkNew");
    EXPECT_EQ(f.Small(), "0,0,0,2,000\r\n");
    EXPECT_EQ(f.bulk->SelectedText(f.SmallTree()), u"Iron - Normal - Ringmail - Sleeves - 0"_s);

    f.dialogs.Clear();
    f.dialogs.modalHandlers.push_back(Enter({.amount = "50", .armour = "Ringmail"}));  // no piece
    f.Click("Btn_BulkNew");
    f.dialogs.modalHandlers.push_back(Enter({.amount = "50"}));  // no armour
    f.Click("Btn_BulkLNew");
    EXPECT_EQ(f.Small(), "0,0,0,2,000\r\n");
    EXPECT_EQ(f.Large(), "");
    EXPECT_EQ(f.dialogs.Texts(), QStringList({u"Reset the bulk timer ?"_s, u"Reset the bulk timer ?"_s}));
    EXPECT_FALSE(f.dir.Exists("Bod.tmp"));
}

}  // namespace stallmark::test
