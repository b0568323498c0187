// The weapons page and its two pick-list editors, typed into and clicked
// through the real X server: the editors run as the program runs them
// (modal, on screen), and the files hold what was typed.

#include <X11/keysym.h>

#include <QPlainTextEdit>

#include "e2e/RealApp.h"

namespace stallmark::e2e {
namespace {

class WeaponPageReal : public RealAppTest {
protected:
    void Open() {
        dir.Write("ListMwItem.dat", "Axe\r\nKatana\r\n");
        dir.Write("ListMwMagic.dat", "\"Holy\",1\r\n\"Zap\",0\r\n\"Frost\",2\r\n");
        dir.Write("ListMwAcc.dat", "Accurate\r\nSurpassingly\r\n");
        dir.Write("ListMwDur.dat", "Durable\r\nFortified\r\n");
        dir.Write("MWStock.dat", "");
        StartWindow();
    }

    static QStringList Entries(QComboBox* box) {
        QStringList out;
        for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
        return out;
    }
};

TEST_F(WeaponPageReal, TheMagicListEditorTypesIntoTheRowItShows) {
    Open();
    bool ran = false;
    dialogs.modalScripts.push_back([&](QWidget* modal) {
        ran = true;
        auto* grid = modal->findChild<TStringGrid*>(QStringLiteral("SGrid_Edit"));
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(modal->windowTitle(), QStringLiteral("Weapon Magic"));
        ExpectDialogWindow(modal);
        ExpectWholeCaptions(modal);
        ASSERT_EQ(Rows(grid), QStringList({"Holy|Virtue", "Zap|(None)", "Frost|Silver"}));
        ASSERT_TRUE(EditorOn(grid, 0, 1));
        // New adds a row at the end; typing goes there.
        ASSERT_TRUE(desktop.Click(modal->findChild<QWidget*>(QStringLiteral("Btn_New"))));
        ASSERT_TRUE(EditorOn(grid, 0, 4));
        ASSERT_TRUE(desktop.Type(QStringLiteral("Power")));
        ASSERT_EQ(Rows(grid), QStringList({"Holy|Virtue", "Zap|(None)", "Frost|Silver", "Power|(None)"}));
        // A double click on a special cell steps it on and adds no row.
        ASSERT_TRUE(desktop.DoubleClickCell(grid, 1, 4));
        ASSERT_TRUE(desktop.DoubleClickCell(grid, 1, 1));
        ASSERT_TRUE(WaitFor([&] { return grid->Cells(1, 1) == QStringLiteral("Silver"); }));
        EXPECT_EQ(Rows(grid), QStringList({"Holy|Silver", "Zap|(None)", "Frost|Silver", "Power|Virtue"}));
        // The special column is not typed into: its row's name is.
        ASSERT_TRUE(EditorOn(grid, 0, 1));
        // Tab on the last row adds one; Shift+Tab goes back up.
        ASSERT_TRUE(desktop.ClickCell(grid, 0, 4));
        ASSERT_TRUE(EditorOn(grid, 0, 4));
        ASSERT_TRUE(desktop.Key(XK_Tab));
        ASSERT_TRUE(EditorOn(grid, 0, 5));
        ASSERT_TRUE(desktop.Type(QStringLiteral("Ice")));
        ASSERT_TRUE(desktop.Key(XK_Tab, kShift));
        ASSERT_TRUE(desktop.Key(XK_Tab, kShift));
        ASSERT_TRUE(EditorOn(grid, 0, 3));
        ASSERT_TRUE(desktop.Type(QStringLiteral("Frost bite")));
        EXPECT_EQ(Rows(grid),
                  QStringList({"Holy|Silver", "Zap|(None)", "Frost bite|Silver", "Power|Virtue", "Ice|(None)"}));
        ASSERT_TRUE(desktop.Click(modal->findChild<QWidget*>(QStringLiteral("Btn_Ok"))));
    });
    ClickButton("Btn_WepMagic");
    ASSERT_TRUE(ran);
    EXPECT_EQ(dir.Read("ListMwMagic.dat"),
              "\"Holy\",2\r\n\"Zap\",0\r\n\"Frost bite\",2\r\n\"Power\",1\r\n\"Ice\",0\r\n");
    EXPECT_EQ(Entries(Find<QComboBox>("Cb_MWMagic")),
              QStringList({"(None)", "Holy", "Zap", "Frost bite", "Power", "Ice"}));
}

TEST_F(WeaponPageReal, ThePlainListEditorTakesTypedLines) {
    Open();
    bool ran = false;
    dialogs.modalScripts.push_back([&](QWidget* modal) {
        ran = true;
        EXPECT_EQ(modal->windowTitle(), QStringLiteral("Edit List"));
        ExpectDialogWindow(modal);
        ExpectWholeCaptions(modal);
        auto* memo = modal->findChild<QPlainTextEdit*>(QStringLiteral("Memo_Edit"));
        ASSERT_NE(memo, nullptr);
        EXPECT_EQ(memo->toPlainText(), QStringLiteral("Axe\nKatana"));
        ASSERT_TRUE(desktop.Click(memo));
        ASSERT_TRUE(desktop.Key(XK_End, kControl));
        ASSERT_TRUE(desktop.Type(QStringLiteral("\nMace\n  Bow")));
        ASSERT_TRUE(desktop.Click(modal->findChild<QWidget*>(QStringLiteral("Btn_Ok"))));
    });
    ClickButton("Btn_WepWep");
    ASSERT_TRUE(ran);
    EXPECT_EQ(dir.Read("ListMwItem.dat"), "Axe\r\nKatana\r\nMace\r\nBow\r\n");
    EXPECT_EQ(Entries(Find<QComboBox>("Cb_Weapon")), QStringList({"(None)", "Axe", "Bow", "Katana", "Mace"}));
}

TEST_F(WeaponPageReal, BoxesFilledByMouseAndKeysAreSaved) {
    Open();
    ChooseInBox("Cb_Weapon", QStringLiteral("Katana"));
    ChooseInBox("Cb_MWMagic", QStringLiteral("Frost"));  // a silver entry checks Silver
    EXPECT_TRUE(Find<QCheckBox>("Ckb_MWSilver")->isChecked());
    // The accuracy box chosen with the keys: open it, type the start, Enter.
    auto* accuracy = Find<QComboBox>("Cb_MWAcc");
    ASSERT_TRUE(desktop.Click(accuracy));
    ASSERT_TRUE(WaitFor([&] { return accuracy->view()->isVisible(); }));
    ASSERT_TRUE(desktop.Type(QStringLiteral("Su")));
    ASSERT_TRUE(desktop.Key(XK_Return));
    ASSERT_TRUE(WaitFor([&] { return accuracy->currentText() == QStringLiteral("Surpassingly"); }));
    ChooseInBox("Cb_MWDur", QStringLiteral("Fortified"));
    // The price takes digits only.
    ASSERT_TRUE(desktop.Click(Find<QWidget>("Ed_MWPrice")));
    ASSERT_TRUE(desktop.Type(QStringLiteral("12x000")));
    ASSERT_TRUE(desktop.Click(Find<QComboBox>("Cb_MWOther")->lineEdit()));
    ASSERT_TRUE(desktop.Type(QStringLiteral("Fine edge")));
    EXPECT_EQ(Find<QLineEdit>("Ed_MWPrice")->text(), QStringLiteral("12000"));
    EXPECT_EQ(Find<QComboBox>("Cb_MWOther")->currentText(), QStringLiteral("Fine edge"));
    ClickButton("Btn_MWAdd");
    EXPECT_EQ(dir.Read("MWStock.dat"), "Katana,Frost,2,Surpassingly,Fortified,12000,20261208,Fine edge\r\n");
    auto* grid = Find<TStringGrid>("SGrid_MWDisplay");
    EXPECT_EQ(Rows(grid), QStringList({"Katana|Frost|Surpassingly|Fortified|Silver|Fine edge|08/12/2026|0|12000"}));
    EXPECT_TRUE(dialogs.scripted.boxes.empty()) << dialogs.scripted.Texts().join(';').toStdString();
}

}  // namespace
}  // namespace stallmark::e2e
