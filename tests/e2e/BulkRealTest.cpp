// The Bulk page driven through the real X server, as a player drives it: a new bulk order
// entered in the "Bulk Order" dialog with clicks and keys lands in Bod.dat and is selected
// in its tree, and List types the orders into the game window line by line.

#include <X11/keysym.h>

#include <QItemSelectionModel>
#include <QTreeView>

#include "e2e/RealApp.h"

namespace stallmark::e2e {
namespace {

class BulkPageReal : public RealAppTest {
protected:
    void Open(const std::string& large, const std::string& small) {
        dir.Write("Lbod.dat", large);
        dir.Write("Bod.dat", small);
        settings.WriteInteger("ListDelay", 100);
        StartWindow();
        ShowPage("Tab_Bulk");
    }

    // Chooses an entry of one of the dialog's lists with the mouse.
    void ChooseIn(QWidget* dialog, const char* name, const QString& entry) {
        auto* box = dialog->findChild<QComboBox*>(QString::fromLatin1(name));
        ASSERT_NE(box, nullptr) << name;
        ASSERT_TRUE(desktop.Click(box)) << name;
        QAbstractItemView* list = box->view();
        ASSERT_TRUE(WaitFor([&] { return list->isVisible() && list->window()->windowHandle()->isExposed(); })) << name;
        const int index = box->findText(entry);
        ASSERT_GE(index, 0) << entry.toStdString();
        ASSERT_TRUE(desktop.Click(list->viewport(), list->visualRect(box->model()->index(index, 0)).center()));
        ASSERT_TRUE(WaitFor([&] { return !list->isVisible() && box->currentText() == entry; }))
            << name << ": " << box->currentText().toStdString();
    }

    static QString Current(QComboBox* box) { return box ? box->currentText() : QString(); }

    QString SelectedText(QTreeView* tree) {
        const QModelIndex index = tree->selectionModel()->currentIndex();
        return tree->selectionModel()->isSelected(index) ? index.data().toString() : QString();
    }
};

TEST_F(BulkPageReal, NewBulkEnteredWithClicksAndKeysIsStoredAndSelected) {
    Open("1,1,3,015\r\n", "0,0,0,0,010\r\n");
    bool ran = false;
    dialogs.modalScripts.push_back([&](QWidget* modal) {
        ran = true;
        EXPECT_EQ(modal->windowTitle(), QStringLiteral("Bulk Order"));
        ExpectDialogWindow(modal);
        ExpectWholeCaptions(modal);
        ChooseIn(modal, "Cb_Amount", QStringLiteral("15"));
        // The quality and the ore with the keys: Tab on, Down to the next entry, a
        // typed letter to the entry it starts.
        auto* quality = modal->findChild<QComboBox*>(QStringLiteral("Cb_Qlty"));
        auto* ore = modal->findChild<QComboBox*>(QStringLiteral("Cb_Ore"));
        ASSERT_TRUE(desktop.Key(XK_Tab));
        ASSERT_TRUE(WaitFor([&] { return quality->hasFocus(); }));
        ASSERT_TRUE(desktop.Key(XK_Down));
        ASSERT_TRUE(WaitFor([&] { return Current(quality) == QStringLiteral("Exceptional"); }));
        ASSERT_TRUE(desktop.Key(XK_Tab));
        ASSERT_TRUE(WaitFor([&] { return ore->hasFocus(); }));
        ASSERT_TRUE(desktop.Type(QStringLiteral("D")));
        ASSERT_TRUE(WaitFor([&] { return Current(ore) == QStringLiteral("Dull-Copper"); }))
            << Current(ore).toStdString();
        ChooseIn(modal, "Cb_Armour", QStringLiteral("Plate"));
        ChooseIn(modal, "Cb_Piece", QStringLiteral("Tunic-Female"));
        ASSERT_TRUE(desktop.Click(modal->findChild<QWidget*>(QStringLiteral("Btn_Ok"))));
    });
    ClickButton("Btn_BulkNew");
    ASSERT_TRUE(ran);
    EXPECT_EQ(dir.Read("Bod.dat"), "0,0,0,0,010\r\n1,1,2,20,015\r\n");
    EXPECT_EQ(dialogs.scripted.Texts(), QStringList({QStringLiteral("Reset the bulk timer ?")}));
    auto* small = Find<QTreeView>("Tv_Bod");
    ASSERT_NE(small, nullptr);
    ASSERT_TRUE(WaitFor([&] { return small->hasFocus(); }));
    EXPECT_EQ(SelectedText(small), QStringLiteral("Dull-Copper - Exceptional - Plate - Tunic-Female - 15"));
    // It fills the tunic of the large order held: a green tick beside it.
    EXPECT_EQ(small->selectionModel()->currentIndex().data(Qt::UserRole + 1).toInt(), 1);
    // A click on it and F2 type it into the game (the click makes sure the window manager
    // has given the window back its keys after the dialog).
    const QModelIndex selected = small->selectionModel()->currentIndex();
    ASSERT_TRUE(desktop.Click(small->viewport(), small->visualRect(selected).center()));
    ASSERT_TRUE(desktop.WaitActive(form.get()));
    ASSERT_EQ(small->selectionModel()->currentIndex(), selected);
    ASSERT_TRUE(desktop.Key(XK_F2));
    const std::string sent = "Dull-Copper - Exceptional - Plate - Tunic-Female - 15\r";
    EXPECT_EQ(game->WaitForLog(sent.size()), sent);
}

TEST_F(BulkPageReal, ListTypesTheClickedTreeIntoTheGameLineByLine) {
    Open("0,0,0,020\r\n", "0,0,2,20,010\r\n5,1,1,7,020\r\n");
    auto* small = Find<QTreeView>("Tv_Bod");
    ASSERT_NE(small, nullptr);
    ASSERT_TRUE(desktop.Click(small->viewport(), small->visualRect(small->model()->index(1, 0)).center()));
    ASSERT_TRUE(WaitFor([&] { return small->hasFocus(); }));
    ClickButton("Btn_BulkList");
    const std::string listing =
        "---Small Bulk Orders---\rIron-Plate-Tunic(F)-10\rGold-Chain-Coif-20 *\r---(* = Exceptional)---\r";
    EXPECT_EQ(game->WaitForLog(listing.size()), listing);
    EXPECT_EQ(dialogs.scripted.Texts(),
              QStringList({QStringLiteral("Position game cursor in a book\n\ror your profile before proceeding.")}));
    // The tree has the focus again afterwards; the large orders list on their own.
    ASSERT_TRUE(WaitFor([&] { return small->hasFocus(); }));
    auto* large = Find<QTreeView>("Tv_Lbod");
    ASSERT_TRUE(desktop.Click(large->viewport(), large->visualRect(large->model()->index(0, 0)).center()));
    ASSERT_TRUE(WaitFor([&] { return large->hasFocus(); }));
    ClickButton("Btn_BulkList");
    const std::string both = listing + "---Large Bulk Orders---\rIron-Ring-20(80)\r---(* = Exceptional)---\r";
    EXPECT_EQ(game->WaitForLog(both.size()), both);
}

}  // namespace
}  // namespace stallmark::e2e
