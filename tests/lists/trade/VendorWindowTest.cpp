// The Vendor page in the whole window: start-up, the popup menu, F2 by the focus,
// Resize Grid and the edit saved at shutdown.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "app/PageControl.h"
#include "controls/StringGrid.h"
#include "support/AppFixture.h"

namespace stallmark::test {

using namespace Qt::StringLiterals;

namespace {

struct VendorWindow : AppFixture {
    WindowHandle game = 0;
    std::unique_ptr<TStallmarkForm> form;

    VendorWindow() {
        dir.Write("Vendors.dat", "01/12/2026,250\r\n,Ann,Shop,750\r\n");
        dir.Write("Charged.dat", "Lightning wand,80,Uses\r\n");
        dir.Write("Maps.dat", "Ogre,2,800\r\n");
        game = windows.AddWindow("Ultima Online", "Ultima Online - Ann");
        form = StartShown();
        form->PageControl()->SetActivePageIndex(TStallmarkForm::pgVendor);
        QApplication::setActiveWindow(form.get());
        QCoreApplication::sendPostedEvents();
    }
    template <typename T>
    T* Get(const char* name) {
        return Find<T>(form.get(), name);
    }
    void Focus(QWidget* w) {
        w->setFocus(Qt::OtherFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), w);
    }
};

}  // namespace

TEST(VendorWindow, StartUpLoadsTheLedgerAndBothBoxes) {
    VendorWindow f;
    auto* grid = f.Get<TStringGrid>("SGrid_Vendor");
    EXPECT_EQ(grid->RowTexts(1), QStringList({u""_s, u"Ann"_s, u"Shop"_s, u"750"_s}));
    EXPECT_TRUE(f.Get<QLabel>("Lb_VendorInfo")->text().startsWith(u"Total 1"_s));
    EXPECT_TRUE(f.Get<QLabel>("Lb_VendorInfo")->text().endsWith(u" - Vendors 1 - 01/12/2026"_s));
    EXPECT_EQ(f.Get<QComboBox>("Cb_ChargeItem")->itemText(1), u"Lightning wand"_s);
    EXPECT_EQ(f.Get<QComboBox>("Cb_MapMonst")->itemText(1), u"Ogre"_s);
    // Loading the balance at start-up is no edit.
    EXPECT_FALSE(f.Get<QAbstractButton>("Btn_VendSave")->isEnabled());
}

TEST(VendorWindow, PopupAndF2FollowTheFocus) {
    VendorWindow f;
    f.Focus(f.Get<TStringGrid>("SGrid_Vendor"));
    f.form->Popup_PricesPopup();
    EXPECT_FALSE(f.form->MenuItem("Mp_SendToGame")->isVisible());
    EXPECT_FALSE(f.form->MenuItem("Break1")->isVisible());
    EXPECT_TRUE(f.form->MenuItem("Mp_ListOpt1")->isVisible());
    EXPECT_EQ(f.form->MenuItem("Mp_ListOpt1")->text(), u"Vendor List Options"_s);
    EXPECT_EQ(f.form->MenuItem("Mp_ListOpt1")->data().toInt(), 11);
    EXPECT_FALSE(f.form->MenuItem("Mp_ListOpt2")->isVisible());
    EXPECT_TRUE(f.form->MenuItem("Mp_GridResize")->isVisible());
    QTest::keyClick(f.form.get(), Qt::Key_F2);
    EXPECT_EQ(f.windows.PostedText(f.game), "");

    auto* charges = f.Get<QLineEdit>("Ed_ChargeCharges");
    auto* items = f.Get<QComboBox>("Cb_ChargeItem");
    items->setCurrentIndex(1);
    emit items->activated(1);
    QTest::keyClicks(charges, u"2"_s);
    f.Focus(charges);
    f.form->Popup_PricesPopup();
    EXPECT_TRUE(f.form->MenuItem("Mp_SendToGame")->isVisible());
    QTest::keyClick(f.form.get(), Qt::Key_F2);
    EXPECT_EQ(f.windows.PostedText(f.game), std::string(21, '\b') + "160,Lightning wand - 2 Uses\r");

    f.windows.ClearLog();
    auto* maps = f.Get<QComboBox>("Cb_MapMonst");
    maps->setCurrentIndex(1);
    emit maps->activated(1);
    f.Focus(f.Get<QLineEdit>("Ed_MapValue"));
    f.form->MenuItem("Mp_SendToGame")->trigger();
    EXPECT_EQ(f.windows.PostedText(f.game), std::string(21, '\b') + "800,Ogre Map - Level 2\r");
}

TEST(VendorWindow, ResizeGridAsksNoHeight) {
    VendorWindow f;
    auto* grid = f.Get<TStringGrid>("SGrid_Vendor");
    f.form->Popup_PricesPopup();
    EXPECT_FALSE(f.form->MenuItem("Mp_GridResize")->isChecked());
    f.form->MenuItem("Mp_GridResize")->trigger();
    EXPECT_TRUE(f.dialogs.inputs.empty());
    EXPECT_TRUE(grid->RowSizing());
    EXPECT_TRUE(grid->ColSizing());
    f.form->Popup_PricesPopup();
    EXPECT_TRUE(f.form->MenuItem("Mp_GridResize")->isChecked());
    f.form->MenuItem("Mp_GridResize")->trigger();
    EXPECT_FALSE(grid->RowSizing());
}

TEST(VendorWindow, AnEditStillOpenIsSavedWhenTheWindowCloses) {
    VendorWindow f;
    f.Get<QAbstractButton>("Btn_VendEdit")->click();
    f.Get<TStringGrid>("SGrid_Vendor")->setCells(3, 1, u"900"_s);
    f.form->close();
    EXPECT_EQ(f.dir.Read("Vendors.dat"), "08/12/2026,250\r\n,Ann,Shop,900\r\n");
    EXPECT_EQ(f.settings.Strings().at("VendorRowHeight"), "16");
}

}  // namespace stallmark::test
