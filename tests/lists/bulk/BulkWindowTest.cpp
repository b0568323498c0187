// The Bulk page in the whole window: start-up, the popup menu, F2, the timer ticks and Exit.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTreeView>
#include <limits>

#include "app/OptionsForm.h"
#include "app/PageControl.h"
#include "controls/ToolButton.h"
#include "lists/ListDisplay.h"
#include "lists/bulk/BulkTreeModel.h"
#include "support/AppFixture.h"

// Readable failures for Qt strings.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace stallmark::test {

using namespace Qt::StringLiterals;

namespace {

QStringList Shown(TStallmarkForm& form) {
    form.Popup_PricesPopup();
    QStringList shown;
    for (QAction* a : form.Popup_Prices()->actions())
        if (a->isVisible()) shown << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return shown;
}

void Select(QTreeView* tree, int row) {
    tree->selectionModel()->setCurrentIndex(tree->model()->index(row, 0), QItemSelectionModel::ClearAndSelect);
}

}  // namespace

TEST(BulkWindow, StartUpLoadsMatchesAndShowsTheTimer) {
    AppFixture f;
    f.dir.Write("Lbod.dat", "0,0,1,010\r\n");
    f.dir.Write("Bod.dat", "0,0,1,7,010\r\n0,0,1,8,010\r\n0,0,1,9,010\r\n");
    f.settings.WriteDateTime("Bulk Date", f.clock.Now() - (1 + 2 / 24.0 + 5 / 1440.0));
    f.settings.WriteInteger("LBodList FontSize", 11);
    auto form = f.StartShown();
    auto* large = Find<QTreeView>(form.get(), "Tv_Lbod");
    ASSERT_NE(large, nullptr);
    EXPECT_EQ(large->model()->index(0, 0).data().toString(), u"Iron - Normal - Chainmail - 10 (30)"_s);
    EXPECT_EQ(large->model()->index(0, 0).data(kBulkStateRole).toInt(), 1);
    EXPECT_EQ(large->font().pointSize(), 11);  // display options of list 8
    EXPECT_EQ(Find<TToolBtnSig>(form.get(), "Btn_BulkTimer")->text(), u"01:02:05"_s);
    EXPECT_TRUE(f.dialogs.boxes.empty());

    // Refreshed every 120 ticks of the window's timer; start-up ran the first.
    f.clock.Advance(1 / 1440.0);
    for (int i = 0; i < 118; ++i) form->TimerTimer();
    EXPECT_EQ(Find<TToolBtnSig>(form.get(), "Btn_BulkTimer")->text(), u"01:02:05"_s);
    form->TimerTimer();
    EXPECT_EQ(Find<TToolBtnSig>(form.get(), "Btn_BulkTimer")->text(), u"01:02:06"_s);

    // The moment of the last reset is kept for the next start.
    form->PageControl()->SetActivePageIndex(TStallmarkForm::pgBulk);
    Find<TToolBtnSig>(form.get(), "Btn_BulkTimer")->click();
    form->close();
    EXPECT_EQ(f.settings.ReadDateTime("Bulk Date"), f.clock.Now());
}

TEST(BulkWindow, AnUnreadableBulkDateStartsTheTimerNow) {
    AppFixture f;
    f.settings.WriteDateTime("Bulk Date", std::numeric_limits<double>::quiet_NaN());
    auto form = f.StartShown();
    EXPECT_EQ(Find<TToolBtnSig>(form.get(), "Btn_BulkTimer")->text(), u"00:00:00"_s);
    EXPECT_EQ(Find<TToolBtnSig>(form.get(), "Btn_BulkTimer")->toolTip(), u"Reset - 08/12/2026 10:30"_s);
}

TEST(BulkWindow, ABulkDateOutsideTheYearsOneTo9999StartsTheTimerNow) {
    // The day after 31/12/9999, the day before 01/01/0001, both infinities.
    for (double bad :
         {2958466.0, -693594.0, std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()}) {
        AppFixture f;
        f.settings.WriteDateTime("Bulk Date", bad);
        auto form = f.StartShown();
        EXPECT_DOUBLE_EQ(form->State().BulkTimerStart, f.clock.Now()) << bad;
        EXPECT_EQ(Find<TToolBtnSig>(form.get(), "Btn_BulkTimer")->text(), u"00:00:00"_s) << bad;
    }
    // Noon of the last day that is a date: kept, and a start after now shows no time.
    AppFixture f;
    f.settings.WriteDateTime("Bulk Date", 2958465.5);
    auto form = f.StartShown();
    EXPECT_DOUBLE_EQ(form->State().BulkTimerStart, 2958465.5);
    EXPECT_EQ(Find<TToolBtnSig>(form.get(), "Btn_BulkTimer")->text(), u"00:00:00"_s);
    EXPECT_EQ(Find<TToolBtnSig>(form.get(), "Btn_BulkTimer")->toolTip(), u"Reset - 31/12/9999 12:00"_s);
}

TEST(BulkWindow, PopupAndF2OnTheBulkPage) {
    AppFixture f;
    f.dir.Write("Lbod.dat", "0,0,0,020\r\n");
    f.dir.Write("Bod.dat", "5,1,1,7,020\r\n");
    const WindowHandle game = f.windows.AddWindow("Ultima Online", "Ultima Online - Ann");
    auto form = f.StartShown();
    form->PageControl()->SetActivePageIndex(TStallmarkForm::pgBulk);
    EXPECT_EQ(Shown(*form), QStringList({u"Send To &Game"_s, u"-"_s, u"Large Order Options"_s, u"Bulk Order Options"_s,
                                         u"Options..."_s, u"-"_s, u"Help..."_s, u"-"_s, u"Exit"_s}));
    EXPECT_EQ(form->MenuItem("Mp_ListOpt1")->data().toInt(), 8);
    EXPECT_EQ(form->MenuItem("Mp_ListOpt2")->data().toInt(), 9);

    auto* small = Find<QTreeView>(form.get(), "Tv_Bod");
    auto* large = Find<QTreeView>(form.get(), "Tv_Lbod");
    Select(small, 0);
    Select(large, 0);
    QApplication::setActiveWindow(form.get());
    small->setFocus();
    QTest::keyClick(form.get(), Qt::Key_F2);
    EXPECT_EQ(f.windows.PostedText(game), "Gold - Exceptional - Chainmail - Coif - 20\r");
    f.windows.ClearLog();
    large->setFocus();
    form->MenuItem("Mp_SendToGame")->trigger();
    EXPECT_EQ(f.windows.PostedText(game), "Iron - Normal - Ringmail - 20 (80)\r");
}

TEST(BulkWindow, AListDelayThatIsNoNumberWaitsAHundredMilliseconds) {
    AppFixture f;
    f.dir.Write("Lbod.dat", "0,0,0,020\r\n8,1,3,010\r\n");
    const WindowHandle game = f.windows.AddWindow("Ultima Online", "Ultima Online - Ann");
    auto form = f.StartShown();
    form->PageControl()->SetActivePageIndex(TStallmarkForm::pgBulk);
    Find<QLineEdit>(&form->Options(), "Ed_ListDelay")->setText(QStringLiteral("abc"));
    auto* large = Find<QTreeView>(form.get(), "Tv_Lbod");
    Select(large, 0);
    QApplication::setActiveWindow(form.get());
    large->setFocus();
    f.pacer.Reset();
    Find<TToolBtnSig>(form.get(), "Btn_BulkList")->click();
    EXPECT_EQ(f.windows.PostedText(game),
              "---Large Bulk Orders---\rIron-Ring-20(80)\rValorite-Plate(F)-10(60) *\r---(* = Exceptional)---\r");
    EXPECT_EQ(f.pacer.Sleeps(), (std::vector<int>{100, 100}));
    // 250 as typed is taken at once.
    Find<QLineEdit>(&form->Options(), "Ed_ListDelay")->setText(QStringLiteral("250"));
    f.pacer.Reset();
    Find<TToolBtnSig>(form.get(), "Btn_BulkList")->click();
    EXPECT_EQ(f.pacer.Sleeps(), (std::vector<int>{250, 250}));
}

TEST(BulkWindow, ExitDuringAListingStopsIt) {
    AppFixture f;
    f.dir.Write("Bod.dat", "0,0,0,0,010\r\n0,0,0,1,010\r\n0,0,0,2,010\r\n");
    const WindowHandle game = f.windows.AddWindow("Ultima Online", "Ultima Online - Ann");
    auto form = f.StartShown();
    form->PageControl()->SetActivePageIndex(TStallmarkForm::pgBulk);
    auto* small = Find<QTreeView>(form.get(), "Tv_Bod");
    Select(small, 0);
    QApplication::setActiveWindow(form.get());
    small->setFocus();
    bool closed = false;
    f.pacer.onProcessEvents = [&] {
        if (!closed && f.windows.PostedText(game).find("Iron-Ring-Gloves-10\r") != std::string::npos) {
            closed = true;
            form->MenuItem("Mp_Exit")->trigger();
        }
    };
    Find<TToolBtnSig>(form.get(), "Btn_BulkList")->click();
    EXPECT_TRUE(closed);
    EXPECT_EQ(f.windows.PostedText(game), "---Small Bulk Orders---\rIron-Ring-Gloves-10\r");
}

}  // namespace stallmark::test
