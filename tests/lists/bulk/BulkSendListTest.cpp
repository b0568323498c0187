#include <gtest/gtest.h>

#include <QLineEdit>
#include <limits>

#include "BulkFixture.h"

namespace stallmark::test {

using namespace Qt::StringLiterals;

namespace {

// Dull-Copper Exceptional Plate-Female 10, Iron Normal Ringmail 20.
const char* const kLarge = "1,1,3,010\r\n0,0,0,020\r\n";
// Iron Normal Plate Tunic-Female 10, Gold Exceptional Chainmail Coif 20.
const char* const kSmall = "0,0,2,20,010\r\n5,1,1,7,020\r\n";

const std::string kLargeListing =
    "---Large Bulk Orders---\rDCopp-Plate(F)-10(60) *\rIron-Ring-20(80)\r---(* = Exceptional)---\r";
const std::string kSmallListing =
    "---Small Bulk Orders---\rIron-Plate-Tunic(F)-10\rGold-Chain-Coif-20 *\r---(* = Exceptional)---\r";

}  // namespace

TEST(BulkSend, TypesTheSelectedOrderWithTheBulkRowsOptions) {
    BulkFixture f(kLarge, kSmall);
    f.SelectSmall(1);
    f.Click("Btn_BulkSend");
    EXPECT_EQ(f.Typed(), "Gold - Exceptional - Chainmail - Coif - 20\r");  // no backspaces before it
    // A piece node sends its large order.
    f.windows.ClearLog();
    f.SelectLarge(0, 5);
    f.Click("Btn_BulkSend");
    EXPECT_EQ(f.Typed(), "Dull-Copper - Exceptional - Plate-Female - 10 (60)\r");
    // "Cr" off: no Enter.
    f.windows.ClearLog();
    f.options.sendRows[4].enter = false;
    f.Click("Btn_BulkSend");
    EXPECT_EQ(f.Typed(), "Dull-Copper - Exceptional - Plate-Female - 10 (60)");
    // Other rows' options do not count.
    f.windows.ClearLog();
    f.options.sendRows[4].enter = true;
    f.options.sendRows[5].description = false;
    f.options.backSpc = 7;
    f.SelectLarge(1);
    f.Click("Btn_BulkSend");
    EXPECT_EQ(f.Typed(), "Iron - Normal - Ringmail - 20 (80)\r");
}

TEST(BulkSend, DescriptionOffSendsNothingAndTheTreeKeepsTheFocus) {
    BulkFixture f(kLarge, kSmall);
    f.options.sendRows[4].description = false;
    f.SelectSmall(0);
    f.Click("Btn_BulkSend");
    EXPECT_EQ(f.Typed(), "");
    EXPECT_EQ(f.window.focusWidget(), f.SmallTree());
}

TEST(BulkSend, SendToGameGoesToTheFocusedTree) {
    BulkFixture f(kLarge, kSmall);
    f.SelectSmall(0);
    f.SelectLarge(1);
    f.bulk->SendToGame(f.SmallTree()->viewport());  // F2 with the small orders focused
    EXPECT_EQ(f.Typed(), "Iron - Normal - Plate - Tunic-Female - 10\r");
    f.windows.ClearLog();
    f.bulk->SendToGame(nullptr);
    f.bulk->SendToGame(f.Find<QWidget>("Pn_BulkBtn"));
    EXPECT_EQ(f.Typed(), "");
    // Nothing selected: nothing typed.
    f.bulk->LoadSmallOrders();
    f.bulk->SendToGame(f.SmallTree());
    EXPECT_EQ(f.Typed(), "");
}

TEST(BulkList, ListsTheFocusedTreeLineByLine) {
    BulkFixture f(kLarge, kSmall);
    f.options.listDelay = 250;
    f.SelectLarge(0, 2);
    f.Click("Btn_BulkList");
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.dialogs.boxes[0].text, u"Position game cursor in a book\n\ror your profile before proceeding."_s);
    EXPECT_EQ(f.Typed(), kLargeListing);  // the piece nodes are not listed
    EXPECT_EQ(f.pacer.Sleeps(), (std::vector<int>{250, 250}));
    // A pause after each order, none after the heading: the trace shows where they fall.
    std::vector<std::string> lines;
    std::string line;
    for (const std::string& step : f.windows.Trace()) {
        if (step.rfind("char", 0) == 0) {
            line += static_cast<char>(std::stoi(step.substr(step.rfind(' ') + 1)));
        } else if (step.rfind("sleep", 0) == 0) {
            lines.push_back(line);
            line.clear();
        }
    }
    EXPECT_EQ(lines,
              (std::vector<std::string>{"---Large Bulk Orders---\rDCopp-Plate(F)-10(60) *\r", "Iron-Ring-20(80)\r"}));
    EXPECT_EQ(f.window.focusWidget(), f.LargeTree());

    f.windows.ClearLog();
    f.pacer.Reset();
    f.SelectSmall(0);
    f.Click("Btn_BulkList");
    EXPECT_EQ(f.Typed(), kSmallListing);
}

TEST(BulkList, ADelayBelowAHundredOrNoNumberWaitsAHundred) {
    for (int delay : {0, 99, -5}) {  // "abc" reads as 0
        BulkFixture f(kLarge, kSmall);
        f.options.listDelay = delay;
        f.SelectSmall(0);
        f.Click("Btn_BulkList");
        EXPECT_EQ(f.pacer.Sleeps(), (std::vector<int>{100, 100})) << delay;
    }
}

TEST(BulkList, CancelEmptyTreesAndNoTree) {
    BulkFixture f("", "");
    f.Focus(f.LargeTree());
    f.dialogs.boxAnswers = {mbCancel};
    f.Click("Btn_BulkList");
    EXPECT_EQ(f.Typed(), "");
    // An empty tree lists the two marker lines only.
    f.Click("Btn_BulkList");
    EXPECT_EQ(f.Typed(), "---Large Bulk Orders---\r---(* = Exceptional)---\r");
    EXPECT_TRUE(f.pacer.Sleeps().empty());
    // No tree focused: asked, nothing typed.
    f.windows.ClearLog();
    auto* other = new QLineEdit(&f.window);
    other->show();
    other->setFocus();
    f.Click("Btn_BulkList");
    EXPECT_EQ(f.Typed(), "");
    EXPECT_EQ(f.dialogs.boxes.size(), 3u);
}

TEST(BulkList, NothingElseTypesWhileAListingRuns) {
    BulkFixture f(kLarge, kSmall);
    f.SelectSmall(0);
    int rounds = 0;
    f.pacer.onProcessEvents = [&] {
        // The player clicks List and Send again, and F2, while the first listing types.
        if (rounds++ > 0) return;
        f.Click("Btn_BulkList");
        f.Click("Btn_BulkSend");
        f.bulk->SendToGame(f.SmallTree());
    };
    f.Click("Btn_BulkList");
    EXPECT_GT(rounds, 1);
    EXPECT_EQ(f.Typed(), kSmallListing);
    EXPECT_EQ(f.dialogs.boxes.size(), 1u);  // the second List did not even ask
    EXPECT_EQ(f.pacer.Sleeps().size(), 2u);
}

TEST(BulkList, TheTreeRebuiltDuringAListingDoesNotChangeIt) {
    BulkFixture f(kLarge, kSmall);
    f.SelectSmall(0);
    bool deleted = false;
    f.pacer.onProcessEvents = [&] {
        if (deleted) return;
        deleted = true;
        f.dialogs.boxAnswers.push_back(mbYes);
        f.SelectSmall(1);
        f.Click("Btn_BulkDelete");  // rebuilds the tree being listed
    };
    f.Click("Btn_BulkList");
    EXPECT_EQ(f.Typed(), kSmallListing);
    EXPECT_EQ(f.Small(), "0,0,2,20,010\r\n");
}

TEST(BulkList, ClosingTheWindowStopsTheListing) {
    BulkFixture f(kLarge, kSmall);
    f.SelectSmall(0);
    f.pacer.onProcessEvents = [&] {
        if (f.windows.PostedText(f.game).find("Tunic(F)-10\r") != std::string::npos) f.state.Closing = true;
    };
    f.Click("Btn_BulkList");
    EXPECT_EQ(f.Typed(), "---Small Bulk Orders---\rIron-Plate-Tunic(F)-10\r");
    // The keyboard is free again afterwards.
    EXPECT_FALSE(f.keyboard.Busy());
}

TEST(BulkTimer, CaptionAndHintShowTheTimeSinceTheReset) {
    BulkFixture f("", "", false);
    const DateTime now = f.clock.Now();
    f.state.BulkTimerStart = now - (1 + 2 / 24.0 + 5 / 1440.0);
    f.Start();
    auto* timer = f.Find<TToolBtnSig>("Btn_BulkTimer");
    EXPECT_EQ(timer->text(), u"01:02:05"_s);
    EXPECT_EQ(timer->toolTip(), u"Reset - 07/12/2026 08:25"_s);
    f.state.BulkTimerStart = now - 3 / 1440.0;
    f.bulk->ShowBulkTimer();
    EXPECT_EQ(timer->text(), u"00:00:03"_s);
    f.state.BulkTimerStart = now - (23 * 3600 + 59 * 60 + 45) / 86400.0;
    f.bulk->ShowBulkTimer();
    EXPECT_EQ(timer->text(), u"01:00:00"_s);
    f.state.BulkTimerStart = now + 1;  // a reset in the future
    f.bulk->ShowBulkTimer();
    EXPECT_EQ(timer->text(), u"00:00:00"_s);
    // A start that names no moment starts the timer now.
    f.state.BulkTimerStart = std::numeric_limits<double>::quiet_NaN();
    f.bulk->ShowBulkTimer();
    EXPECT_EQ(timer->text(), u"00:00:00"_s);
    EXPECT_DOUBLE_EQ(f.state.BulkTimerStart, now);
    EXPECT_EQ(timer->toolTip(), u"Reset - 08/12/2026 10:30"_s);
}

TEST(BulkTimer, RefreshedEveryHundredAndTwentyTicksAndResetByAClick) {
    BulkFixture f("", "");
    auto* timer = f.Find<TToolBtnSig>("Btn_BulkTimer");
    EXPECT_EQ(timer->text(), u"00:00:00"_s);
    f.clock.Advance(5 / 1440.0);
    f.Tick(119);
    EXPECT_EQ(timer->text(), u"00:00:00"_s);
    EXPECT_EQ(f.bulk->MinuteTicks(), 119);
    f.Tick();
    EXPECT_EQ(timer->text(), u"00:00:05"_s);
    EXPECT_EQ(f.bulk->MinuteTicks(), 0);
    // A click resets it at once, without a question.
    f.Click("Btn_BulkTimer");
    EXPECT_EQ(timer->text(), u"00:00:00"_s);
    EXPECT_DOUBLE_EQ(f.state.BulkTimerStart, f.clock.Now());
    EXPECT_TRUE(f.dialogs.boxes.empty());
    // Asked with No, nothing changes.
    f.clock.Advance(1);
    f.dialogs.boxAnswers = {mbNo};
    f.bulk->AskResetBulkTimer();
    f.bulk->ShowBulkTimer();
    EXPECT_EQ(timer->text(), u"01:00:00"_s);
}

}  // namespace stallmark::test
