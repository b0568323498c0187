// The Vendor page typed into and clicked through the real X server, as a player
// does: the ledger's file holds exactly what was typed, and the game's stand-in
// receives exactly the lines of the charged items and treasure maps.

#include <X11/keysym.h>

#include "e2e/RealApp.h"

namespace stallmark::e2e {
namespace {

using namespace Qt::StringLiterals;

constexpr int kName = 1, kAmount = 3;

class VendorReal : public RealAppTest {
protected:
    TStringGrid* grid = nullptr;

    void Open(const std::string& vendors, const std::string& charged, const std::string& maps) {
        dir.Write("Vendors.dat", vendors);
        dir.Write("Charged.dat", charged);
        dir.Write("Maps.dat", maps);
        settings.WriteInteger("BackSpc", 0);
        StartWindow();
        ShowPage("Tab_Vendor");
        grid = Find<TStringGrid>("SGrid_Vendor");
        ASSERT_NE(grid, nullptr);
    }

    bool RowsAre(const QStringList& rows) {
        return WaitFor([&] { return Rows(grid) == rows; });
    }

    // Clicks into a box and types over what it holds.
    void TypeInto(QWidget* box, const QString& text) {
        ASSERT_TRUE(desktop.Click(box));
        ASSERT_TRUE(WaitFor([&] { return box->hasFocus(); }));
        ASSERT_TRUE(desktop.Key(XK_a, kControl));
        ASSERT_TRUE(desktop.Type(text));
    }
    void TypeIntoBox(const char* name, const QString& text) {
        QWidget* box = Find<QWidget>(name);
        ASSERT_NE(box, nullptr);
        if (auto* combo = qobject_cast<QComboBox*>(box)) box = combo->lineEdit();
        TypeInto(box, text);
    }

    // Chooses an entry of an editable box from its drop-down list (its arrow opens it).
    void ChooseFromList(const char* name, const QString& entry) {
        auto* box = Find<QComboBox>(name);
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(desktop.Click(box, QPoint(box->width() - 6, box->height() / 2)));
        QAbstractItemView* list = box->view();
        ASSERT_TRUE(WaitFor([&] { return list->isVisible() && list->window()->windowHandle()->isExposed(); }));
        const int index = box->findText(entry);
        ASSERT_GE(index, 0) << entry.toStdString();
        ASSERT_TRUE(desktop.Click(list->viewport(), list->visualRect(box->model()->index(index, 0)).center()));
        ASSERT_TRUE(WaitFor([&] { return !list->isVisible() && box->currentText() == entry; }));
    }
};

TEST_F(VendorReal, TheLedgerEditedWithTheKeyboardIsSavedAsTyped) {
    Open("01/12/2026,300\r\n,Ann,Shop,5\r\n", "", "");
    ClickButton("Btn_VendEdit");
    ASSERT_TRUE(EditorOn(grid, kAmount, 1));
    ASSERT_TRUE(desktop.Type(u"1250"_s));
    ASSERT_TRUE(RowsAre({u"|Ann|Shop|1250"_s})) << Rows(grid).join(u';').toStdString();
    ClickButton("Btn_VendNew");
    ASSERT_TRUE(EditorOn(grid, kName, 2));
    ASSERT_TRUE(desktop.Type(u"Bob Smith\tArms, swords\t700"_s));
    ASSERT_TRUE(RowsAre({u"|Ann|Shop|1250"_s, u"|Bob Smith|Arms, swords|700"_s}))
        << Rows(grid).join(u';').toStdString();
    ClickButton("Btn_VendSave");
    EXPECT_EQ(dir.Read("Vendors.dat"), "08/12/2026,300\r\n,Ann,Shop,1250\r\n,\"Bob Smith\",\"Arms  swords\",700\r\n");
    EXPECT_TRUE(dialogs.scripted.boxes.empty()) << dialogs.scripted.Texts().join(u';').toStdString();
    EXPECT_TRUE(Find<QLabel>("Lb_VendorInfo")->text().endsWith(u" - Vendors 2 - 08/12/2026"_s));
    EXPECT_FALSE(Find<QAbstractButton>("Btn_VendSave")->isEnabled());
}

TEST_F(VendorReal, TheBalanceTypedStartsAnEditAndDoubleClicksAskTheGame) {
    Open("01/12/2026,300\r\n,\"Bob Smith\",Arms,5\r\n", "", "");
    auto* balance = Find<QLineEdit>("Ed_BankBal");
    ASSERT_TRUE(desktop.Click(balance));
    ASSERT_TRUE(desktop.Key(XK_End));
    ASSERT_TRUE(desktop.Type(u"0"_s));
    ASSERT_TRUE(WaitFor([&] { return Find<QAbstractButton>("Btn_VendSave")->isEnabled(); }));
    EXPECT_TRUE(balance->hasFocus());
    ASSERT_TRUE(desktop.Type(u"5"_s));  // the typing goes on where it was
    EXPECT_EQ(balance->text(), u"30005"_s);
    ClickButton("Btn_VendSave");
    EXPECT_EQ(dir.Read("Vendors.dat"), "08/12/2026,30005\r\n,\"Bob Smith\",Arms,5\r\n");

    ASSERT_TRUE(desktop.DoubleClickCell(grid, 2, 1));
    EXPECT_EQ(game->WaitForLog(17), "Bob Smith Status\r");
    ASSERT_TRUE(desktop.DoubleClick(balance));
    EXPECT_EQ(game->WaitForLog(25), "Bob Smith Status\rBalance\r");
}

TEST_F(VendorReal, AChargedItemTypedAndSentReachesTheGame) {
    Open("", "Wand of fireball,100,Charges\r\n", "");
    TypeIntoBox("Cb_ChargeItem", u"Staff of healing"_s);
    TypeIntoBox("Ed_ChargePrice", u"120"_s);
    TypeIntoBox("Ed_ChargeCharges", u"25"_s);
    TypeIntoBox("Ed_ChargeSuffix", u"Uses"_s);
    ASSERT_TRUE(WaitFor([&] { return Find<QLineEdit>("Ed_ChargeValue")->text() == u"3000"_s; }));
    ClickButton("Btn_ChargeSend");
    EXPECT_EQ(game->WaitForLog(32), "3000,Staff of healing - 25 Uses\r");
    EXPECT_EQ(dir.Read("Charged.dat"), "Staff of healing,120,Uses\r\nWand of fireball,100,Charges\r\n");

    // A known item chosen from the list: its price shows and the charges box takes the typing.
    ChooseFromList("Cb_ChargeItem", u"Wand of fireball"_s);
    ASSERT_TRUE(WaitFor([&] { return Find<QLineEdit>("Ed_ChargeCharges")->hasFocus(); }));
    EXPECT_EQ(Find<QLineEdit>("Ed_ChargePrice")->text(), u"100"_s);
    ASSERT_TRUE(desktop.Type(u"3"_s));
    ASSERT_TRUE(desktop.Key(XK_F2));  // F2 in the charged items box sends the item
    const std::string both = "3000,Staff of healing - 25 Uses\r300,Wand of fireball - 3 Charges\r";
    EXPECT_EQ(game->WaitForLog(both.size()), both);
}

TEST_F(VendorReal, KnownNamesTypedByHandKeepTheTypingAndTheStoredMap) {
    Open("", "Staff,40,Charges\r\n", "Ogre,2,800\r\n");
    // "Staff" is known: its price shows, and the rest of the longer name stays in the box.
    TypeIntoBox("Cb_ChargeItem", u"Staff of healing"_s);
    ASSERT_TRUE(WaitFor([&] { return Find<QComboBox>("Cb_ChargeItem")->currentText() == u"Staff of healing"_s; }))
        << Find<QComboBox>("Cb_ChargeItem")->currentText().toStdString();
    EXPECT_EQ(Find<QLineEdit>("Ed_ChargePrice")->text(), u"40"_s);
    TypeIntoBox("Ed_ChargeCharges", u"3"_s);
    ASSERT_TRUE(WaitFor([&] { return Find<QLineEdit>("Ed_ChargeValue")->text() == u"120"_s; }));
    ClickButton("Btn_ChargeSend");
    const std::string staff = "120,Staff of healing - 3 Charges\r";
    EXPECT_EQ(game->WaitForLog(staff.size()), staff);
    EXPECT_EQ(dir.Read("Charged.dat"), "Staff of healing,40,Charges\r\nStaff,40,Charges\r\n");

    // A known map's name typed shows the map; Send keeps its level and value.
    TypeIntoBox("Cb_MapMonst", u"Ogre"_s);
    ASSERT_TRUE(WaitFor([&] { return Find<QLineEdit>("Ed_MapValue")->text() == u"800"_s; }));
    ClickButton("Btn_MapSend");
    const std::string ogre = "800,Ogre Map - Level 2\r";
    EXPECT_EQ(game->WaitForLog(staff.size() + ogre.size()), staff + ogre);
    EXPECT_EQ(dir.Read("Maps.dat"), "Ogre,2,800\r\n");
}

TEST_F(VendorReal, AMapTypedAndSentReachesTheGameAndF2FollowsTheFocus) {
    Open("01/12/2026,0\r\n,Ann,Shop,5\r\n", "", "Ogre,2,800\r\n");
    TypeIntoBox("Cb_MapMonst", u"Lich"_s);
    ChooseInBox("Cb_MapLevel", u"3"_s);
    EXPECT_EQ(Find<QComboBox>("Cb_MapType")->currentText(), u"Adeptly Drawn"_s);
    TypeIntoBox("Ed_MapValue", u"5000"_s);
    ClickButton("Btn_MapSend");
    const std::string lich = "5000,Lich Map - Level 3\r";
    EXPECT_EQ(game->WaitForLog(lich.size()), lich);
    EXPECT_EQ(dir.Read("Maps.dat"), "Lich,3,5000\r\nOgre,2,800\r\n");

    // F2 with the vendor grid focused sends nothing; in the map box, the map.
    ChooseFromList("Cb_MapMonst", u"Ogre"_s);
    EXPECT_EQ(Find<QLineEdit>("Ed_MapValue")->text(), u"800"_s);
    ASSERT_TRUE(desktop.ClickCell(grid, kName, 1));
    ASSERT_TRUE(desktop.Key(XK_F2));
    ASSERT_TRUE(desktop.Click(Find<QLineEdit>("Ed_MapValue")));
    ASSERT_TRUE(desktop.Key(XK_F2));
    const std::string ogre = "800,Ogre Map - Level 2\r";
    EXPECT_EQ(game->WaitForLog(lich.size() + ogre.size()), lich + ogre);
}

}  // namespace
}  // namespace stallmark::e2e
