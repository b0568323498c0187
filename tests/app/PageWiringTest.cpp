// How the window reaches the objects that answer for its pages: the popup menu and its
// commands, F2, Resize Grid, the registry's orders at start-up, on the timer and at
// shutdown, and a list whose file could not be read.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <filesystem>

#include "app/OptionsForm.h"
#include "app/PageControl.h"
#include "controls/CaptionedControls.h"
#include "controls/StringGrid.h"
#include "controls/ToolButton.h"
#include "support/AppFixture.h"

namespace stallmark::test {

namespace {

// A list that writes down what the window asks of it.
class RecordingList final : public StoredList {
public:
    RecordingList(ListId id, std::vector<std::string>& log) : id_(id), log_(log) {}
    ListId Id() const override { return id_; }
    void TimerTick() override {
        log_.push_back("tick " + Name());
        if (throwOnTick) throw std::runtime_error("tick failed");
    }
    void SaveOpenEdit() override { log_.push_back("save " + Name()); }
    void SaveSettings(SettingsStore&) override { log_.push_back("settings " + Name()); }
    bool throwOnTick = false;

private:
    std::string Name() const { return std::to_string(static_cast<int>(id_)); }
    ListId id_;
    std::vector<std::string>& log_;
};

// A page that holds recording lists and counts its commands.
class RecordingTab final : public TabPage {
public:
    std::vector<std::unique_ptr<RecordingList>> lists;
    PopupState popup;
    int sends = 0;
    std::vector<StoredList*> Lists() override {
        std::vector<StoredList*> out;
        for (auto& l : lists) out.push_back(l.get());
        return out;
    }
    PopupState Popup(const QWidget*) const override { return popup; }
    void SendToGame(QWidget*) override { ++sends; }
};

}  // namespace

TEST(PageWiring, ResizeGridAsksTheShownPagesFirstGridAndAllowsSizing) {
    AppFixture f;
    auto form = f.StartShown();
    auto* general = Find<TStringGrid>(form.get(), "SGrid_General");
    form->PageControl()->SetActivePageIndex(TStallmarkForm::pgGeneral);
    form->Popup_PricesPopup();
    f.dialogs.inputAnswers.push_back(QString("abc"));  // not a number: 6
    form->MenuItem("Mp_GridResize")->trigger();
    ASSERT_EQ(f.dialogs.inputs.size(), 1u);
    EXPECT_EQ(f.dialogs.inputs[0].caption, "Enter Grid Height");
    EXPECT_EQ(f.dialogs.inputs[0].prompt, "Grid Height");
    EXPECT_EQ(f.dialogs.inputs[0].defaultAnswer, "16");
    EXPECT_EQ(general->DefaultRowHeight(), 6);
    EXPECT_TRUE(general->RowSizing());
    EXPECT_TRUE(form->Tab(TStallmarkForm::pgGeneral)->GridSizing());
    form->Popup_PricesPopup();
    EXPECT_TRUE(form->MenuItem("Mp_GridResize")->isChecked());
    form->MenuItem("Mp_GridResize")->trigger();
    EXPECT_FALSE(general->RowSizing());
    EXPECT_EQ(general->DefaultRowHeight(), 6);  // turning it off keeps the height

    // The weapons page keeps its own flag; an answer below 6 gives 6.
    auto* weapons = Find<TStringGrid>(form.get(), "SGrid_MWDisplay");
    form->PageControl()->SetActivePageIndex(TStallmarkForm::pgWeapons);
    form->Popup_PricesPopup();
    EXPECT_FALSE(form->MenuItem("Mp_GridResize")->isChecked());
    f.dialogs.inputAnswers.push_back(QString("3"));
    form->MenuItem("Mp_GridResize")->trigger();
    EXPECT_EQ(f.dialogs.inputs.back().defaultAnswer, "17");
    EXPECT_EQ(weapons->DefaultRowHeight(), 6);
    EXPECT_TRUE(weapons->ColSizing());
    EXPECT_FALSE(general->ColSizing());
}

TEST(PageWiring, MenuCommandsGoToTheShownPage) {
    AppFixture f;
    f.dir.Write("MWStock.dat", "Mace,,0,,,5,20261201,\r\nBow,,0,,,1,20261201,\r\n");
    auto form = f.StartShown();
    form->PageControl()->SetActivePageIndex(TStallmarkForm::pgWeapons);
    form->Popup_PricesPopup();
    form->MenuItem("Mp_HideColAge")->trigger();
    EXPECT_EQ(Find<TStringGrid>(form.get(), "SGrid_MWDisplay")->ColWidths(7), -1);
    form->Popup_PricesPopup();
    EXPECT_TRUE(form->MenuItem("Mp_HideColAge")->isChecked());
    form->MenuItem("Mp_Reorder")->trigger();
    EXPECT_EQ(f.dir.Read("MWStock.dat"), "Bow,,0,,,1,20261201,\r\nMace,,0,,,5,20261201,\r\n");
    // "Reorder" keeps its mark from the weapons page's popup, and acts on the page shown:
    // on the General page it does nothing.
    f.dir.Write("MWStock.dat", "Mace,,0,,,5,20261201,\r\nBow,,0,,,1,20261201,\r\n");
    form->PageControl()->SetActivePageIndex(TStallmarkForm::pgGeneral);
    form->Popup_PricesPopup();
    EXPECT_FALSE(form->MenuItem("Mp_Reorder")->isVisible());
    form->MenuItem("Mp_Reorder")->trigger();
    EXPECT_EQ(f.dir.Read("MWStock.dat"), "Mace,,0,,,5,20261201,\r\nBow,,0,,,1,20261201,\r\n");
}

TEST(PageWiring, F2StaysAliveWhenThePopupHidSendToGame) {
    AppFixture f;
    auto form = f.StartShown();
    auto tab = std::make_unique<RecordingTab>();
    RecordingTab* vendor = tab.get();
    vendor->popup.sendToGame = false;  // as on the Vendor page with its grid focused
    form->AddTab(TStallmarkForm::pgVendor, std::move(tab));
    form->PageControl()->SetActivePageIndex(TStallmarkForm::pgVendor);
    form->Popup_PricesPopup();
    EXPECT_FALSE(form->MenuItem("Mp_SendToGame")->isVisible());
    EXPECT_FALSE(form->MenuItem("Break1")->isVisible());
    QApplication::setActiveWindow(form.get());
    QTest::keyClick(form.get(), Qt::Key_F2);
    EXPECT_EQ(vendor->sends, 1);
    // Shown again on the next popup; F2 reaches the page shown, whatever the popup did.
    vendor->popup.sendToGame = true;
    form->Popup_PricesPopup();
    EXPECT_TRUE(form->MenuItem("Mp_SendToGame")->isVisible());
    QTest::keyClick(form.get(), Qt::Key_F2);
    EXPECT_EQ(vendor->sends, 2);
}

TEST(PageWiring, TickOrderAndABusyFlagThatSurvivesAFailingTick) {
    AppFixture f;
    std::vector<std::string> log;  // outlives the window, which writes to it when it goes
    auto form = f.StartShown();
    auto tab = std::make_unique<RecordingTab>();
    for (ListId id : {ListId::Memos, ListId::BulkOrders, ListId::Weapons})
        tab->lists.push_back(std::make_unique<RecordingList>(id, log));
    tab->lists[1]->throwOnTick = true;
    form->AddTab(TStallmarkForm::pgBulk, std::move(tab));
    form->TimerTimer();
    // The weapon warning, the bulk timer, then playback; the failing tick is shown.
    EXPECT_EQ(log, (std::vector<std::string>{"tick 0", "tick 3", "tick 6"}));
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.dialogs.boxes[0].text, "tick failed");
    EXPECT_FALSE(form->State().TimerBusy);
    form->TimerTimer();
    EXPECT_EQ(log.size(), 6u);
}

TEST(PageWiring, OpenEditsAreSavedAtShutdownInTheirOrder) {
    AppFixture f;
    std::vector<std::string> log;  // outlives the window, which writes to it when it goes
    auto form = f.StartShown();
    auto tab = std::make_unique<RecordingTab>();
    for (ListId id : {ListId::Vendors, ListId::Memos, ListId::Smith})
        tab->lists.push_back(std::make_unique<RecordingList>(id, log));
    form->AddTab(TStallmarkForm::pgVendor, std::move(tab));
    form->close();
    std::vector<std::string> saves;
    for (const std::string& line : log)
        if (line.rfind("save ", 0) == 0) saves.push_back(line);
    // Smith, then (General, not recorded here), memos, vendors.
    EXPECT_EQ(saves, (std::vector<std::string>{"save 2", "save 6", "save 7"}));
    EXPECT_TRUE(form->State().Closing);
}

TEST(PageWiring, AListWhoseFileWasNeverReadIsNeverWritten) {
    AppFixture f;
    f.dir.Write("General.dat", "Dyes,Blue,100\r\nTools,Axe,5\r\nAle,Keg,3\r\n");
    // A conversion that cannot go on stops start-up before any list is read.
    f.dir.Write("Stock.dat", "Katana,Vanq,,,,1,,\r\n");
    std::filesystem::create_directories(f.dir.Path() / "MWStock.dat" / "inside");
    auto form = f.StartShown();
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    form->PageControl()->SetActivePageIndex(TStallmarkForm::pgGeneral);
    Find<QAbstractButton>(form.get(), "Btn_GeneralSort")->click();
    EXPECT_EQ(f.dir.Read("General.dat"), "Dyes,Blue,100\r\nTools,Axe,5\r\nAle,Keg,3\r\n");
    ASSERT_EQ(f.dialogs.boxes.size(), 2u);
    EXPECT_TRUE(f.dialogs.boxes[1].text.startsWith("General.dat could not be read"));
    // New and Save: refused the same way, and the edit stays open; so does the exit.
    Find<QAbstractButton>(form.get(), "Btn_GenNew")->click();
    Find<TStringGrid>(form.get(), "SGrid_General")->setRowTexts(1, {"Lamp", "Oil", "4"});
    Find<QAbstractButton>(form.get(), "Btn_GenSave")->click();
    EXPECT_TRUE(Find<QAbstractButton>(form.get(), "Btn_GenSave")->isEnabled());
    form->close();
    EXPECT_EQ(f.dir.Read("General.dat"), "Dyes,Blue,100\r\nTools,Axe,5\r\nAle,Keg,3\r\n");
}

TEST(PageWiring, AbsurdSettingsAreHeldToSaneRanges) {
    AppFixture f;
    for (const char* name : {"Left", "Top", "Width", "Height", "RowHeight General", "General Col0", "MWepColWidth0",
                             "MWepRowHeight", "General FontSize", "MWStock FontSize"})
        f.settings.WriteInteger(name, 2147483647);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    f.settings.WriteDateTime("Bulk Date", nan);
    auto form = f.StartShown();
    EXPECT_LE(form->x(), 10000);
    EXPECT_LE(form->width(), 10000);
    auto* general = Find<TStringGrid>(form.get(), "SGrid_General");
    EXPECT_LE(general->DefaultRowHeight(), 500);
    EXPECT_LE(general->ColWidths(0), 10000);
    EXPECT_LE(general->font().pointSize(), 200);
    auto* weapons = Find<TStringGrid>(form.get(), "SGrid_MWDisplay");
    EXPECT_LE(weapons->ColWidths(0), 10000);
    EXPECT_LE(weapons->DefaultRowHeight(), 500);
    EXPECT_LE(weapons->font().pointSize(), 200);
    EXPECT_DOUBLE_EQ(form->State().BulkTimerStart, f.clock.Now());
    for (double bad : {std::numeric_limits<double>::infinity(), 1e300, -1e9}) {
        AppFixture g;
        g.settings.WriteDateTime("Bulk Date", bad);
        EXPECT_DOUBLE_EQ(g.Start()->State().BulkTimerStart, g.clock.Now()) << bad;
    }
}

TEST(PageWiring, ListsReadTheOptionsDialogAsItStandsNow) {
    AppFixture f;
    f.dir.Write("General.dat", "Tools,Hammer,25\r\n");
    const WindowHandle game = f.windows.AddWindow("Ultima Online", "Ultima Online - Bob");
    auto form = f.StartShown();
    form->PageControl()->SetActivePageIndex(TStallmarkForm::pgGeneral);
    Find<QCheckBox>(&form->Options(), "Ckb_SendVal5")->setChecked(false);
    Find<QLineEdit>(&form->Options(), "Ed_BackSpaces")->setText("0");
    form->Mp_SendToGameClick();
    EXPECT_EQ(f.windows.PostedText(game), "Hammer\r");
}

namespace {

// The items the popup shows on the given page, separators as "-".
QStringList ShownItems(TStallmarkForm& form, int page) {
    form.PageControl()->SetActivePageIndex(page);
    form.Popup_PricesPopup();
    QStringList shown;
    for (QAction* a : form.Popup_Prices()->actions())
        if (a->isVisible()) shown << (a->isSeparator() ? QString("-") : a->text());
    return shown;
}

// A page that answers the popup and F2 by where the focus is, as a page with a grid of
// its own does: with the focus anywhere inside its grid, no "Send To Game".
class FocusTab final : public TabPage {
public:
    QWidget* grid = nullptr;
    std::vector<const QWidget*> popupFocus;
    int sends = 0;
    std::vector<StoredList*> Lists() override { return {}; }
    PopupState Popup(const QWidget* focus) const override {
        const_cast<FocusTab*>(this)->popupFocus.push_back(focus);
        PopupState s;
        s.sendToGame = !IsWithin(focus, grid);
        return s;
    }
    void SendToGame(QWidget* focus) override {
        if (!IsWithin(focus, grid)) ++sends;
    }
};

}  // namespace

TEST(PageWiring, EveryPageShowsItsOwnPopupItems) {
    AppFixture f;
    auto form = f.StartShown();
    const QStringList tail = {"Options...", "-", "Help...", "-", "Exit"};
    EXPECT_EQ(ShownItems(*form, TStallmarkForm::pgArmour),
              QStringList({"Send To &Game", "Send To &Detail", "-", "Stock List Options", "Price List Options",
                           "&Resize Grid", "-", "Hide Date", "Hide Age", "Hide Other"}) +
                  tail);
    EXPECT_EQ(form->MenuItem("Mp_ListOpt1")->data().toInt(), 3);
    EXPECT_EQ(form->MenuItem("Mp_ListOpt2")->data().toInt(), 4);
    EXPECT_EQ(
        ShownItems(*form, TStallmarkForm::pgSmith),
        QStringList({"Send To &Game", "-", "Price List Options", "Description List Options", "&Resize Grid"}) + tail);
    EXPECT_EQ(form->MenuItem("Mp_ListOpt2")->data().toInt(), 6);
    EXPECT_EQ(ShownItems(*form, TStallmarkForm::pgBulk),
              QStringList({"Send To &Game", "-", "Large Order Options", "Bulk Order Options"}) + tail);
    EXPECT_EQ(ShownItems(*form, TStallmarkForm::pgMemos),
              QStringList({"Send To &Game", "-", "Memo List Options"}) + tail);
    EXPECT_EQ(ShownItems(*form, TStallmarkForm::pgVendor),
              QStringList({"Send To &Game", "-", "Vendor List Options", "&Resize Grid"}) + tail);
    EXPECT_EQ(form->MenuItem("Mp_ListOpt1")->data().toInt(), 11);
    // The Regs page: no list options, and the link's check mark.
    EXPECT_EQ(ShownItems(*form, TStallmarkForm::pgRegs),
              QStringList({"Send To &Game", "-", "-", "Link Quantities"}) + tail);
    EXPECT_EQ(form->MenuItem("Mp_ListOpt1")->data().toInt(), 0);
    EXPECT_EQ(form->MenuItem("Mp_ListOpt2")->data().toInt(), 0);
    EXPECT_TRUE(form->MenuItem("Mp_Link")->isChecked());
}

TEST(PageWiring, ArmourGridHeightAnswersAndHiddenColumns) {
    AppFixture f;
    f.dir.Write("MA1Stock.dat", "Helm,Guarding,,500,20261201,\r\n");
    auto form = f.StartShown();
    auto* grid = Find<TStringGrid>(form.get(), "SGrid_MArmDisplay");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->Cells(0, 1), "Helm");
    form->PageControl()->SetActivePageIndex(TStallmarkForm::pgArmour);
    // Not a number, below 6, then a good height; off in between keeps the height.
    for (const auto& [answer, height] : std::vector<std::pair<QString, int>>{{"abc", 6}, {"5", 6}, {"30", 30}}) {
        form->Popup_PricesPopup();
        ASSERT_FALSE(form->MenuItem("Mp_GridResize")->isChecked());
        f.dialogs.inputAnswers.push_back(answer);
        form->MenuItem("Mp_GridResize")->trigger();
        EXPECT_EQ(grid->DefaultRowHeight(), height) << answer.toStdString();
        EXPECT_TRUE(grid->RowSizing());
        form->Popup_PricesPopup();
        form->MenuItem("Mp_GridResize")->trigger();
        EXPECT_FALSE(grid->RowSizing());
        EXPECT_EQ(grid->DefaultRowHeight(), height);
    }
    EXPECT_EQ(f.dialogs.inputs[0].caption, "Enter Grid Height");
    EXPECT_EQ(f.dialogs.inputs[0].defaultAnswer, "17");
    EXPECT_EQ(f.dialogs.inputs[2].defaultAnswer, "6");
    // The weapon grid is not the one asked.
    EXPECT_EQ(Find<TStringGrid>(form.get(), "SGrid_MWDisplay")->DefaultRowHeight(), 17);

    form->Popup_PricesPopup();
    form->MenuItem("Mp_HideColDate")->trigger();
    form->Popup_PricesPopup();
    form->MenuItem("Mp_HideColOther")->trigger();
    EXPECT_EQ(grid->ColWidths(4), -1);
    EXPECT_EQ(grid->ColWidths(3), -1);
    auto* weapons = Find<TStringGrid>(form.get(), "SGrid_MWDisplay");
    EXPECT_GE(weapons->ColWidths(6), std::max(48, weapons->MinColWidth(6)));  // the weapons' Date stays
    form->Popup_PricesPopup();
    EXPECT_TRUE(form->MenuItem("Mp_HideColDate")->isChecked());
    EXPECT_FALSE(form->MenuItem("Mp_HideColAge")->isChecked());
    form->close();
    EXPECT_EQ(f.settings.Strings().at("MArmColWidth4"), "-1");
    EXPECT_EQ(f.settings.Strings().at("MArmRowHeight"), "30");
}

TEST(PageWiring, F2AfterAnyPopupSendsFromTheArmourAndRegsPages) {
    AppFixture f;
    f.dir.Write("MA1Stock.dat", "Helm,Guarding,,500,20261201,\r\n");
    f.settings.WriteInteger("Reg MnAmt", 3);
    f.settings.WriteString("Reg MnPrc", "7");
    f.settings.WriteInteger("BackSpc", 0);
    const WindowHandle game = f.windows.AddWindow("Ultima Online", "Ultima Online - Bob");
    auto form = f.StartShown();
    QApplication::setActiveWindow(form.get());
    // A page whose popup hid "Send To Game" first.
    auto tab = std::make_unique<FocusTab>();
    auto* inside = new QWidget(form->Page(TStallmarkForm::pgVendor));
    tab->grid = inside;
    form->AddTab(TStallmarkForm::pgVendor, std::move(tab));
    auto* editor = new QLineEdit(inside);
    form->PageControl()->SetActivePageIndex(TStallmarkForm::pgVendor);
    editor->setFocus();
    ASSERT_TRUE(editor->hasFocus());
    form->Popup_PricesPopup();
    EXPECT_FALSE(form->MenuItem("Mp_SendToGame")->isVisible());

    form->PageControl()->SetActivePageIndex(TStallmarkForm::pgArmour);
    form->Popup_PricesPopup();
    QTest::keyClick(form.get(), Qt::Key_F2);
    EXPECT_EQ(f.windows.PostedText(game), "500,Helm Guarding\r");

    f.windows.ClearLog();
    form->PageControl()->SetActivePageIndex(TStallmarkForm::pgRegs);
    auto* mandrake = Find<TEditLabel>(form.get(), "Ed_RegPrcMn");
    mandrake->setFocus();
    ASSERT_TRUE(mandrake->hasFocus());
    form->Popup_PricesPopup();
    EXPECT_TRUE(form->MenuItem("Mp_SendToGame")->isVisible());
    QTest::keyClick(form.get(), Qt::Key_F2);
    EXPECT_EQ(f.windows.PostedText(game), "21,3 Mandrake\r");
}

TEST(PageWiring, ThePageIsAskedWithTheFocusedWidgetItself) {
    AppFixture f;
    auto form = f.StartShown();
    QApplication::setActiveWindow(form.get());
    auto tab = std::make_unique<FocusTab>();
    FocusTab* vendor = tab.get();
    // The focus two levels down inside the page's grid (a cell editor in a viewport).
    auto* grid = new QWidget(form->Page(TStallmarkForm::pgVendor));
    auto* viewport = new QWidget(grid);
    auto* editor = new QLineEdit(viewport);
    auto* outside = new QLineEdit(form->Page(TStallmarkForm::pgVendor));
    vendor->grid = grid;
    form->AddTab(TStallmarkForm::pgVendor, std::move(tab));
    form->PageControl()->SetActivePageIndex(TStallmarkForm::pgVendor);
    editor->setFocus();
    ASSERT_TRUE(editor->hasFocus());
    form->Popup_PricesPopup();
    ASSERT_EQ(vendor->popupFocus.size(), 1u);
    EXPECT_EQ(vendor->popupFocus[0], editor);
    EXPECT_FALSE(form->MenuItem("Mp_SendToGame")->isVisible());
    EXPECT_FALSE(form->MenuItem("Break1")->isVisible());
    QTest::keyClick(form.get(), Qt::Key_F2);
    EXPECT_EQ(vendor->sends, 0);  // the grid has the focus: nothing is sent
    outside->setFocus();
    form->Popup_PricesPopup();
    EXPECT_TRUE(form->MenuItem("Mp_SendToGame")->isVisible());
    QTest::keyClick(form.get(), Qt::Key_F2);
    EXPECT_EQ(vendor->sends, 1);
}

TEST(PageWiring, RegsReadBeforeShowingAndTheLinkFollowsItsSettingAndTheMenu) {
    AppFixture f;
    f.settings.WriteBool("Reg Link", false);
    f.settings.WriteInteger("Reg BpAmt", 100);
    f.settings.WriteString("Reg BpPrc", "5");
    f.settings.WriteString("Reg GlPrc", "2");
    auto form = f.Start();
    // Worked out at start-up, before the window is shown.
    EXPECT_FALSE(form->State().Ready);
    EXPECT_EQ(Find<TEditLabel>(form.get(), "Ed_RegTotBp")->text(), "500");
    EXPECT_EQ(Find<TToolBtnSig>(form.get(), "Btn_RegBp")->toolTip(), "500,100 Black Pearl");
    // The reagent buttons follow "Button Graphic" alone.
    EXPECT_EQ(Find<TToolBtnSig>(form.get(), "Btn_RegSa")->displayMode(), dmBoth);
    form->show();
    QApplication::setActiveWindow(form.get());

    ShownItems(*form, TStallmarkForm::pgRegs);
    EXPECT_FALSE(form->MenuItem("Mp_Link")->isChecked());
    auto* garlic = Find<TEditLabel>(form.get(), "Ed_RegAmtGl");
    garlic->setFocus();
    garlic->selectAll();
    QTest::keyClicks(garlic, "4");
    EXPECT_EQ(Find<TEditLabel>(form.get(), "Ed_RegAmtBp")->text(), "100");  // not linked
    EXPECT_EQ(Find<TEditLabel>(form.get(), "Ed_RegTotGl")->text(), "8");
    form->MenuItem("Mp_Link")->trigger();
    ShownItems(*form, TStallmarkForm::pgRegs);
    EXPECT_TRUE(form->MenuItem("Mp_Link")->isChecked());
    QTest::keyClicks(garlic, "0");
    EXPECT_EQ(Find<TEditLabel>(form.get(), "Ed_RegAmtBp")->text(), "40");
    EXPECT_EQ(Find<TEditLabel>(form.get(), "Ed_RegTotBp")->text(), "200");

    Find<QCheckBox>(&form->Options(), "Ckb_OptBtnGraphic")->setChecked(false);
    Find<QCheckBox>(&form->Options(), "Ckb_OptBtnText")->setChecked(true);
    form->ApplyButtonOptions();
    EXPECT_EQ(Find<TToolBtnSig>(form.get(), "Btn_RegSa")->displayMode(), dmTextOnly);
    form->close();
    EXPECT_EQ(f.settings.Strings().at("Reg Link"), "1");
    EXPECT_EQ(f.settings.Strings().at("Reg SsAmt"), "40");
    EXPECT_EQ(f.settings.Strings().at("Reg BpPrc"), "5");
}

}  // namespace stallmark::test
