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
#include "controls/StringGrid.h"
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

}  // namespace stallmark::test
