#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/OptionsForm.h"
#include "app/PageControl.h"
#include "support/AppFixture.h"

namespace stallmark::test {

namespace {

void Settle() { QCoreApplication::sendPostedEvents(); }

QStringList TabCaptions(TStallmarkForm& form) {
    QStringList out;
    for (int i = 0; i < form.PageControl()->PageCount(); ++i) out << form.PageControl()->TabCaption(i);
    return out;
}

}  // namespace

TEST(MainWindow, FirstStartOnEmptySettings) {
    AppFixture f;
    auto form = f.StartShown();
    Settle();
    EXPECT_EQ(form->windowTitle(), "Stallmark");
    EXPECT_EQ(form->pos(), QPoint(584, 99));
    EXPECT_EQ(form->size(), QSize(338, 526));
    EXPECT_FALSE(form->isMaximized());
    EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(form->PageControl()->ActivePage()->objectName(), "Tab_MWeps");
    EXPECT_EQ(TabCaptions(*form),
              QStringList({"Weapons", "Armour", "Smith", "Bulk", "General", "Regs", "Memos", "Vendor"}));
    for (int i = 0; i < TStallmarkForm::kPageCount; ++i) EXPECT_TRUE(form->PageControl()->TabVisible(i));
    EXPECT_TRUE(form->State().Ready);
    EXPECT_TRUE(form->State().SettingsLoaded);
    EXPECT_DOUBLE_EQ(form->State().BulkTimerStart, f.clock.Now());
    EXPECT_TRUE(f.dialogs.boxes.empty());
    EXPECT_EQ(form->minimumSize(), QSize(100, 300));
    EXPECT_EQ(form->Timer()->interval(), 500);
    EXPECT_TRUE(form->Timer()->isActive());
}

TEST(MainWindow, PagesHaveTheirNamesAndDesignCaptionsBeforeShowing) {
    AppFixture f;
    auto form = f.Start();
    const char* names[] = {"Tab_MWeps",   "Tab_MArmour", "Tab_Smith", "Tab_Bulk",
                           "Tab_General", "Tab_Regs",    "Tab_Memos", "Tab_Vendor"};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(form->Page(i)->objectName(), names[i]);
    EXPECT_EQ(TabCaptions(*form),
              QStringList({"Weaps", "Armour", "Smith", "Bulk", "General", "Regs", "Memos", "Vendors"}));
    auto* menu = Find<QMenu>(form.get(), "Popup_Prices");
    ASSERT_NE(menu, nullptr);
    QStringList items;
    for (QAction* a : menu->actions())
        items << (a->isSeparator() ? a->objectName() : a->objectName() + "|" + a->shortcut().toString());
    EXPECT_EQ(items, QStringList({"Mp_SendToGame|F2", "Mp_SendToDetail|", "Break1", "Mp_ListOpt1|", "Mp_ListOpt2|",
                                  "Mp_GridResize|", "Mp_Reorder|", "BreakHide", "Mp_HideColDate|", "Mp_HideColAge|",
                                  "Mp_HideColOther|", "Break_Link", "Mp_Link|", "Mp_Options|", "N2", "Mp_Help|F1", "N1",
                                  "Mp_Exit|Ctrl+Alt+X"}));
}

namespace {

// The captions the popup shows on the given page, separators as "-".
QStringList PopupOn(TStallmarkForm& form, int page) {
    form.PageControl()->SetActivePageIndex(page);
    form.Popup_PricesPopup();
    QStringList shown;
    for (QAction* a : form.Popup_Prices()->actions())
        if (a->isVisible()) shown << (a->isSeparator() ? QString("-") : a->text());
    return shown;
}

}  // namespace

TEST(PopupMenu, OffersEachPageItsOwnCommands) {
    AppFixture f;
    auto form = f.StartShown();
    EXPECT_EQ(PopupOn(*form, TStallmarkForm::pgRegs),
              QStringList({"Send To &Game", "-", "-", "Link Quantities", "Options...", "-", "Help...", "-", "Exit"}));
    EXPECT_EQ(PopupOn(*form, TStallmarkForm::pgGeneral),
              QStringList({"Send To &Game", "-", "General List Options", "&Resize Grid", "Options...", "-", "Help...",
                           "-", "Exit"}));
    EXPECT_EQ(PopupOn(*form, TStallmarkForm::pgWeapons),
              QStringList({"Send To &Game", "Send To &Detail", "-", "Stock List Options", "Price List Options",
                           "&Resize Grid", "Reorder", "-", "Hide Date", "Hide Age", "Hide Other", "Options...", "-",
                           "Help...", "-", "Exit"}));
    EXPECT_EQ(form->MenuItem("Mp_ListOpt1")->data().toInt(), 1);
    EXPECT_EQ(form->MenuItem("Mp_Reorder")->data().toInt(), 1);
    PopupOn(*form, TStallmarkForm::pgArmour);
    EXPECT_EQ(form->MenuItem("Mp_ListOpt2")->data().toInt(), 4);
    EXPECT_FALSE(form->MenuItem("Mp_Reorder")->isVisible());
    PopupOn(*form, TStallmarkForm::pgBulk);
    EXPECT_EQ(form->MenuItem("Mp_ListOpt1")->text(), "Large Order Options");
    EXPECT_FALSE(form->MenuItem("Mp_GridResize")->isVisible());
    PopupOn(*form, TStallmarkForm::pgMemos);
    EXPECT_FALSE(form->MenuItem("Mp_ListOpt2")->isVisible());
    EXPECT_EQ(form->MenuItem("Mp_ListOpt1")->data().toInt(), 10);
}

TEST(PopupMenu, ListOptionsAreStoredOnOkOnly) {
    AppFixture f;
    auto form = f.StartShown();
    PopupOn(*form, TStallmarkForm::pgGeneral);
    f.dialogs.colorAnswers.push_back(QColor(255, 0, 0));
    f.dialogs.modalHandlers.push_back([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "General List");
        EXPECT_TRUE(Find<QCheckBox>(&d, "Ckb_LineRow")->isVisibleTo(&d));
        QTest::mouseClick(Find<QPushButton>(&d, "Btn_BackColour"), Qt::LeftButton);
        Find<QCheckBox>(&d, "Ckb_LineRow")->setChecked(false);
        QTest::mouseClick(Find<QPushButton>(&d, "Btn_Cancel"), Qt::LeftButton);
        return d.result();
    });
    form->MenuItem("Mp_ListOpt1")->trigger();
    EXPECT_FALSE(f.settings.Has("General BackCol"));

    f.dialogs.colorAnswers.push_back(QColor(255, 0, 0));
    f.dialogs.fontAnswers.push_back(QFont("Courier", 1));
    f.dialogs.modalHandlers.push_back([](QDialog& d) {
        QTest::mouseClick(Find<QPushButton>(&d, "Btn_BackColour"), Qt::LeftButton);
        QTest::mouseClick(Find<QLineEdit>(&d, "Ed_FontName"), Qt::LeftButton);
        Find<QCheckBox>(&d, "Ckb_LineRow")->setChecked(false);
        QTest::mouseClick(Find<QPushButton>(&d, "Btn_Ok"), Qt::LeftButton);
        return d.result();
    });
    form->MenuItem("Mp_ListOpt1")->trigger();
    const auto& s = f.settings.Strings();
    EXPECT_EQ(s.at("General BackCol"), "255");  // red in the low byte
    EXPECT_EQ(s.at("General TextCol"), "-2147483640");
    EXPECT_EQ(s.at("General LineRow"), "0");
    EXPECT_EQ(s.at("General LineCol"), "1");
    EXPECT_EQ(s.at("General FontName "), "Courier");
    EXPECT_EQ(s.at("General FontSize"), "2");
}

TEST(PopupMenu, ListOptionsDialogLayoutDependsOnGridLines) {
    AppFixture f;
    auto form = f.StartShown();
    PopupOn(*form, TStallmarkForm::pgWeapons);
    f.dialogs.modalHandlers.push_back([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Weapon Price List");
        EXPECT_FALSE(Find<QCheckBox>(&d, "Ckb_LineRow")->isVisibleTo(&d));
        EXPECT_EQ(d.height(), 142);
        EXPECT_EQ(Find<QPushButton>(&d, "Btn_Ok")->y(), 83);
        EXPECT_EQ(Find<QLineEdit>(&d, "Ed_FontName")->text(), "Small Fonts");
        EXPECT_EQ(Find<QLineEdit>(&d, "Ed_FontSize")->text(), "7");
        return QDialog::Rejected;
    });
    form->MenuItem("Mp_ListOpt2")->trigger();
    EXPECT_EQ(f.dialogs.modalRuns, 1);
}

TEST(MainWindow, StoredWindowValuesAreRestored) {
    AppFixture f;
    f.settings.WriteInteger("Left", 20);
    f.settings.WriteInteger("Top", 30);
    f.settings.WriteInteger("Width", 400);
    f.settings.WriteInteger("Height", 600);
    f.settings.WriteInteger("LastPage", 4);
    f.settings.WriteDateTime("Bulk Date", 40000.25);
    auto form = f.Start();
    EXPECT_EQ(form->pos(), QPoint(20, 30));
    EXPECT_EQ(form->size(), QSize(400, 600));
    EXPECT_EQ(form->PageControl()->ActivePageIndex(), 4);
    EXPECT_DOUBLE_EQ(form->State().BulkTimerStart, 40000.25);
}

TEST(MainWindow, UnreadableValuesFallBackToDefaults) {
    AppFixture f;
    f.settings.WriteRaw("Left", "far left");
    f.settings.WriteRaw("Maxi", "perhaps");
    f.settings.WriteBinary("Bulk Date", {1, 2, 3, 4});
    f.settings.WriteInteger("LastPage", 9);
    auto form = f.StartShown();
    EXPECT_EQ(form->pos().x(), 584);
    EXPECT_FALSE(form->isMaximized());
    EXPECT_DOUBLE_EQ(form->State().BulkTimerStart, f.clock.Now());
    EXPECT_EQ(form->PageControl()->ActivePageIndex(), -1);
    EXPECT_EQ(form->PageControl()->ActivePage(), nullptr);
}

TEST(MainWindow, ShutdownWritesSettingsAndHonoursSaveExit) {
    AppFixture f;
    {
        auto form = f.StartShown();
        form->move(10, 11);
        form->PageControl()->SetActivePageIndex(5);
        form->close();
    }
    EXPECT_EQ(f.settings.ReadInteger("Left", 0), 10);
    EXPECT_EQ(f.settings.ReadInteger("Top", 0), 11);
    EXPECT_EQ(f.settings.ReadInteger("LastPage", 0), 5);
    EXPECT_EQ(f.settings.Strings().at("Maxi"), "0");
    ASSERT_TRUE(f.settings.ReadDateTime("Bulk Date"));

    // "Save On Exit" unchecked: the position is restored but not written back.
    f.settings.WriteBool("Save Exit", false);
    {
        auto form = f.StartShown();
        EXPECT_EQ(form->pos(), QPoint(10, 11));
        form->move(200, 210);
        form->PageControl()->SetActivePageIndex(2);
        form->close();
    }
    EXPECT_EQ(f.settings.ReadInteger("Left", 0), 10);
    EXPECT_EQ(f.settings.ReadInteger("LastPage", 0), 2);
}

TEST(MainWindow, NoActivePageIsWrittenAsMinusOne) {
    AppFixture f;
    f.settings.WriteInteger("LastPage", -3);
    { f.StartShown()->close(); }
    EXPECT_EQ(f.settings.Strings().at("LastPage"), "-1");
}

TEST(MainWindow, FailedStartShowsErrorAndNeverOverwritesSettings) {
    AppFixture f;
    f.settings.WriteInteger("Left", 77);
    f.settings.FailWith("Access is denied.");
    {
        auto form = f.StartShown();
        ASSERT_EQ(f.dialogs.boxes.size(), 1u);
        EXPECT_EQ(f.dialogs.boxes[0].text, "Error in Create : Access is denied.");
        EXPECT_EQ(f.dialogs.boxes[0].kind, MsgKind::Error);
        EXPECT_FALSE(form->State().SettingsLoaded);
        EXPECT_FALSE(form->State().SettingsLoading);
        f.settings.FailWith("");
        form->close();
    }
    EXPECT_EQ(f.settings.ReadInteger("Left", 0), 77);
    EXPECT_FALSE(f.settings.Has("LastPage"));
}

TEST(MainWindow, FailedWriteAtShutdownIsReported) {
    AppFixture f;
    auto form = f.StartShown();
    f.settings.FailWith("Disk full");
    form->close();
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.dialogs.boxes[0].text, "Disk full");
}

TEST(MainWindow, TabWidthFollowsTheClientWidth) {
    AppFixture f;
    auto form = f.StartShown();
    Settle();
    auto* pc = form->PageControl();
    pc->resize(330, 400);
    Settle();
    ASSERT_EQ(pc->contentsRect().width(), 330);
    ASSERT_EQ(pc->VisibleTabCount(), 8);
    EXPECT_EQ(pc->TabWidth(), 31);  // (330 - 81) / 8

    // With every page hidden the width is left as it was.
    const char* hide[] = {"Ckb_HideWep", "Ckb_HideArm", "Ckb_HideSmith", "Ckb_HideBulk",
                          "Ckb_HideGen", "Ckb_HideReg", "Ckb_HideMemo",  "Ckb_HideVendor"};
    for (const char* name : hide) Find<QCheckBox>(&form->Options(), name)->setChecked(true);
    form->ApplyPageOptions();
    const int before = pc->TabWidth();
    pc->resize(500, 400);
    Settle();
    EXPECT_EQ(pc->VisibleTabCount(), 0);
    EXPECT_EQ(pc->ActivePageIndex(), -1);
    EXPECT_EQ(pc->TabWidth(), before);

    // Multi line: the option's width, at least 10.
    for (const char* name : hide) Find<QCheckBox>(&form->Options(), name)->setChecked(false);
    Find<QCheckBox>(&form->Options(), "Ckb_MultiLine")->setChecked(true);
    Find<QLineEdit>(&form->Options(), "Ed_TabWidth")->setText("5");
    form->ApplyPageOptions();
    form->LayoutTabs(pc->ActivePage());
    EXPECT_TRUE(pc->MultiLine());
    EXPECT_EQ(pc->TabWidth(), 10);
    Find<QLineEdit>(&form->Options(), "Ed_TabWidth")->setText("120");
    pc->resize(330, 400);
    Settle();
    EXPECT_EQ(pc->TabWidth(), 120);
    EXPECT_GT(pc->TabRows(), 1);  // 8 tabs of 120 wrap in 330 pixels
}

TEST(MainWindow, TabLayoutWaitsForTheWindowToBeShown) {
    AppFixture f;
    auto form = f.Start();
    form->PageControl()->resize(330, 400);
    Settle();
    EXPECT_EQ(form->PageControl()->TabWidth(), 0);
}

TEST(MainWindow, HelpShowsVersionAndExitCloses) {
    AppFixture f;
    auto form = f.StartShown();
    form->Mp_HelpClick();
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.dialogs.boxes[0].kind, MsgKind::Information);
    const QStringList lines = f.dialogs.boxes[0].text.split("\n\r");
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[3], "Version 3.6");
    form->Mp_ExitClick();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(f.settings.Has("LastPage"));
}

}  // namespace stallmark::test
