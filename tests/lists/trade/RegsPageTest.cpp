// The Regs page on its own: the totals and lines, their rounding and range, the link,
// the send buttons, F2 and the quantity menu, the settings and the layout.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QMenu>
#include <QTest>
#include <limits>

#include "controls/CaptionedControls.h"
#include "controls/ToolButton.h"
#include "lists/trade/RegsPage.h"
#include "support/PageFixture.h"

namespace stallmark::test {

namespace {

constexpr const char* kCodes[8] = {"Bp", "Bm", "Gl", "Gs", "Mn", "Ns", "Ss", "Sa"};

struct RegsFixture : PageFixture<TRegsPage> {
    TRegsPage* page = nullptr;

    // Settings as given (name -> stored text), then the page started.
    void Open(const std::map<std::string, std::string>& stored = {}) {
        for (const auto& [name, value] : stored) settings.WriteRaw(name, value);
        page = &Build();
        Start();
        QApplication::setActiveWindow(&window);
    }
    TEditLabel* Amount(int i) { return page->AmountBox(i); }
    TEditLabel* Price(int i) { return page->PriceBox(i); }
    QString Total(int i) { return page->TotalBox(i)->text(); }
    QStringList Amounts() {
        QStringList out;
        for (int i = 0; i < 8; ++i) out << Amount(i)->text();
        return out;
    }
    QStringList Totals() {
        QStringList out;
        for (int i = 0; i < 8; ++i) out << Total(i);
        return out;
    }
    // Types text into a box as the player does: focus, select all, keys.
    void Type(TEditLabel* box, const QString& text) {
        box->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(box->hasFocus());
        box->selectAll();
        if (!box->text().isEmpty()) QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
    }
    std::string Sent() { return windows.PostedText(game); }
};

}  // namespace

TEST(RegsTotal, RoundsHalvesAwayFromZeroAndNeverWraps) {
    EXPECT_EQ(ReagentTotal(3, QStringLiteral("2.5")), 8);
    EXPECT_EQ(ReagentTotal(5, QStringLiteral("2.5")), 13);  // "%.0f" would give 12
    EXPECT_EQ(ReagentTotal(1, QStringLiteral("0.5")), 1);
    EXPECT_EQ(ReagentTotal(1, QStringLiteral("-2.5")), -3);
    EXPECT_EQ(ReagentTotal(0, QStringLiteral("2.5")), 0);
    EXPECT_EQ(ReagentTotal(3, QStringLiteral("2.4")), 7);
    EXPECT_EQ(ReagentTotal(100, QStringLiteral(" 5 ")), 500);
    EXPECT_EQ(ReagentTotal(100, QStringLiteral("abc")), 0);
    EXPECT_EQ(ReagentTotal(100, QString()), 0);
    // Nine digits times nine digits, exactly.
    EXPECT_EQ(ReagentTotal(999999999, QStringLiteral("999999999")), 999999998000000001LL);
    EXPECT_EQ(ReagentTotal(-999999999, QStringLiteral("999999999")), -999999998000000001LL);
    // Totals that are not finite or leave the 64-bit range count as 0.
    EXPECT_EQ(ReagentTotal(10, QStringLiteral("inf")), 0);
    EXPECT_EQ(ReagentTotal(0, QStringLiteral("inf")), 0);
    EXPECT_EQ(ReagentTotal(10, QStringLiteral("nan")), 0);
    EXPECT_EQ(ReagentTotal(10, QStringLiteral("1e308")), 0);
    EXPECT_EQ(ReagentTotal(999999999, QStringLiteral("99999999999999")), 0);
    EXPECT_EQ(ReagentTotal(1, std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(ReagentTotal(2, 4.7e18), 0);
    EXPECT_EQ(ReagentTotal(2, 4.5e18), 9000000000000000000LL);
}

TEST(RegsPage, ControlsNamesAndTheLineInEachSendButtonsHint) {
    RegsFixture f;
    f.Open();
    EXPECT_EQ(f.page->Id(), ListId::Reagents);
    const QStringList names = {"Black Pearl", "Blood Moss", "Garlic",       "Ginseng",
                               "Mandrake",    "Nightshade", "Spiders Silk", "Sulferous Ash"};
    for (int i = 0; i < 8; ++i) {
        const std::string code = kCodes[i];
        auto* send = f.Find<TToolBtnSig>(("Btn_Reg" + code).c_str());
        ASSERT_NE(send, nullptr) << code;
        EXPECT_EQ(send->text(), names[i]);
        EXPECT_EQ(send->buttonLayout(), blGlyphRight);
        EXPECT_EQ(send->toolTip(), "0,0 " + names[i]);
        auto* quantity = f.Find<TToolBtnSig>(("Btn_Reg" + code + "Q").c_str());
        ASSERT_NE(quantity, nullptr) << code;
        EXPECT_EQ(quantity->text(), "");
        EXPECT_EQ(quantity->dropdownMenu(), f.Find<QMenu>("Popup_Regs"));
        for (const char* kind : {"Ed_RegAmt", "Ed_RegPrc", "Ed_RegTot"}) {
            auto* box = f.Find<TEditLabel>((kind + code).c_str());
            ASSERT_NE(box, nullptr) << kind << code;
            EXPECT_EQ(box->tag(), i + 1);
            EXPECT_EQ(box->text(), "0");
        }
        EXPECT_EQ(f.Amount(i)->charFilter(), cfInteger);
        EXPECT_EQ(f.Amount(i)->maxLength(), 9);
        EXPECT_EQ(f.Price(i)->charFilter(), cfInteger);
        EXPECT_EQ(f.Price(i)->maxLength(), 9);
    }
    QStringList items;
    for (QAction* item : f.page->QuantityMenu()->actions())
        items << item->objectName() + "=" + item->text() + "/" + item->data().toString();
    EXPECT_EQ(items, QStringList({"Mp_Reg10=10/10", "Mp_Reg25=25/25", "Mp_Reg50=50/50", "Mp_Reg100=100/100",
                                  "Mp_Reg250=250/250", "Mp_Reg500=500/500", "Mp_Reg1000=1000/1000",
                                  "Mp_Reg5000=5000/5000", "Mp_Reg10000=10000/10000"}));
    // The window menu: send and the link, no list options.
    const PopupState popup = f.page->Popup(nullptr);
    EXPECT_TRUE(popup.sendToGame);
    EXPECT_TRUE(popup.link);
    EXPECT_TRUE(popup.linkChecked);
    EXPECT_EQ(popup.list1, 0);
    EXPECT_EQ(popup.list2, 0);
    EXPECT_FALSE(popup.gridResize);
    EXPECT_FALSE(popup.sendToDetail);
    EXPECT_FALSE(popup.hideColumns);
}

TEST(RegsPage, StartUpRecalculatesFromTheSettingsWithoutSpreading) {
    RegsFixture f;
    f.page = &f.Build();
    // Before the window is shown a change of a box does not recalculate.
    f.Price(0)->setText("7");
    f.Amount(0)->setText("3");
    EXPECT_EQ(f.Total(0), "0");
    f.settings.WriteRaw("Reg BpAmt", "100");
    f.settings.WriteRaw("Reg BpPrc", "5");
    f.settings.WriteRaw("Reg GlAmt", "3");
    f.settings.WriteRaw("Reg GlPrc", "2.5");  // the box takes digits only, the store anything
    f.settings.WriteRaw("Reg SaAmt", "abc");
    f.settings.WriteRaw("Reg SsAmt", "2147483647");
    f.Start();
    EXPECT_EQ(f.Amounts(), QStringList({"100", "0", "3", "0", "0", "0", "999999999", "0"}));
    EXPECT_EQ(f.Total(0), "500");
    EXPECT_EQ(f.Total(2), "8");
    EXPECT_EQ(f.page->Line(0), "500,100 Black Pearl");
    EXPECT_EQ(f.page->Line(2), "8,3 Garlic");
    EXPECT_EQ(f.Price(2)->text(), "2.5");
    EXPECT_TRUE(f.page->Link());
}

TEST(RegsPage, TypedAmountsAndPricesGiveTotalsAndTheLinkSpreadsTheTypedAmount) {
    RegsFixture f;
    f.Open({{"Reg BpPrc", "5"}, {"Reg BmPrc", "3"}, {"Reg GlPrc", "2"}, {"Reg SaPrc", "11"}});
    f.Type(f.Amount(2), "250");
    EXPECT_EQ(f.Amounts(), QStringList(8, "250"));
    EXPECT_EQ(f.Totals(), QStringList({"1250", "750", "500", "0", "0", "0", "0", "2750"}));
    EXPECT_EQ(f.page->Line(7), "2750,250 Sulferous Ash");
    // A price typed: only totals change.
    f.Type(f.Price(3), "4");
    EXPECT_EQ(f.Total(3), "1000");
    EXPECT_EQ(f.Amounts(), QStringList(8, "250"));

    // Link off: only the edited amount changes, yet every total is worked out again.
    f.page->LinkChanged(false);
    EXPECT_FALSE(f.page->Popup(nullptr).linkChecked);
    {
        const QSignalBlocker quiet(f.Price(1));
        f.Price(1)->setText("10");  // not yet counted
    }
    f.Type(f.Amount(0), "12");
    EXPECT_EQ(f.Amounts(), QStringList({"12", "250", "250", "250", "250", "250", "250", "250"}));
    EXPECT_EQ(f.Total(0), "60");
    EXPECT_EQ(f.Total(1), "2500");
}

TEST(RegsPage, SendButtonsSendTheirOwnReagentWithTheRegsRowOptions) {
    RegsFixture f;
    f.Open({{"Reg Link", "0"}, {"Reg BpAmt", "100"}, {"Reg BpPrc", "5"}, {"Reg MnAmt", "7"}, {"Reg MnPrc", "3"}});
    // The focus in another reagent's box does not change what a button sends.
    f.Amount(4)->setFocus(Qt::TabFocusReason);
    f.page->SendButton(0)->click();
    EXPECT_EQ(f.Sent(), std::string(21, '\b') + "500,100 Black Pearl\r");
    f.windows.ClearLog();
    f.options.sendRows[6].value = false;
    f.options.sendRows[6].enter = false;
    f.options.backSpc = 0;
    f.page->SendButton(0)->click();
    EXPECT_EQ(f.Sent(), "100 Black Pearl");  // no leading comma
    f.windows.ClearLog();
    f.options.sendRows[6].value = true;
    f.options.sendRows[6].description = false;
    f.page->SendButton(4)->click();
    EXPECT_EQ(f.Sent(), "21");
    // The other rows' options play no part.
    f.windows.ClearLog();
    f.options.sendRows[5] = SendRowOptions{false, false, false};
    f.options.sendRows[6] = SendRowOptions{true, true, true};
    f.page->SendButton(4)->click();
    EXPECT_EQ(f.Sent(), "21,7 Mandrake\r");
}

TEST(RegsPage, F2SendsTheReagentOfTheLastFocusedBox) {
    {
        // No box has had the focus yet: nothing is sent.
        RegsFixture none;
        none.page = &none.Build();
        none.game = none.windows.AddWindow("Ultima Online", "Ultima Online - Ann");
        none.page->SendToGame(nullptr);
        EXPECT_EQ(none.windows.AllPosted(), "");
        EXPECT_EQ(none.page->LastFocusedReagent(), TRegsPage::kNoReagent);
    }
    RegsFixture f;
    f.Open({{"Reg Link", "0"}, {"Reg GsAmt", "4"}, {"Reg GsPrc", "6"}, {"Reg NsAmt", "2"}, {"Reg NsPrc", "9"}});
    f.options.backSpc = 0;
    f.page->PriceBox(3)->setFocus(Qt::TabFocusReason);
    f.page->SendToGame(QApplication::focusWidget());
    EXPECT_EQ(f.Sent(), "24,4 Ginseng\r");
    // The focus gone elsewhere (the send buttons take none): still the last box.
    f.windows.ClearLog();
    f.page->TotalBox(5)->setFocus(Qt::TabFocusReason);
    f.window.setFocus();
    f.page->SendToGame(nullptr);
    EXPECT_EQ(f.Sent(), "18,2 Nightshade\r");
}

TEST(RegsPage, QuantityMenuFillsItsOwnReagentAndSpreadsThatAmount) {
    RegsFixture f;
    f.Open({{"Reg BpAmt", "7"}, {"Reg NsPrc", "3"}, {"Reg BpPrc", "2"}});
    QMenu* menu = f.page->QuantityMenu();
    // Dropped by anything but a quantity button: refused.
    EXPECT_FALSE(f.page->Popup_RegsPopup(nullptr));
    EXPECT_FALSE(f.page->Popup_RegsPopup(f.page->SendButton(5)));
    EXPECT_EQ(f.page->PendingReagent(), TRegsPage::kNoReagent);
    // The focus sits in the Black Pearl amount (7); the Nightshade quantity button drops
    // the menu and 100 is chosen: 100 is what spreads, and Nightshade is sent.
    f.Amount(0)->setFocus(Qt::TabFocusReason);
    f.page->QuantityButton(5)->click();
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(f.page->PendingReagent(), 5);
    menu->findChild<QAction*>("Mp_Reg100")->trigger();
    menu->hide();
    EXPECT_EQ(f.Amounts(), QStringList(8, "100"));
    EXPECT_EQ(f.Total(5), "300");
    EXPECT_EQ(f.Total(0), "200");
    EXPECT_EQ(f.Sent(), std::string(21, '\b') + "300,100 Nightshade\r");
    // The same quantity again, link off: only its own reagent's amount is set.
    f.page->LinkChanged(false);
    f.Type(f.Amount(1), "5");
    f.windows.ClearLog();
    f.page->QuantityButton(1)->click();
    menu->findChild<QAction*>("Mp_Reg10000")->trigger();
    menu->hide();
    EXPECT_EQ(f.Amounts(), QStringList({"100", "10000", "100", "100", "100", "100", "100", "100"}));
    EXPECT_EQ(f.Sent(), std::string(21, '\b') + "0,10000 Blood Moss\r");
}

TEST(RegsPage, SettingsAreWrittenAsTheBoxesStand) {
    RegsFixture f;
    f.Open({{"Reg GlPrc", "2.5"}});
    f.Type(f.Amount(0), "40");
    f.page->LinkChanged(false);
    f.Type(f.Amount(1), "");
    f.Type(f.Price(7), "123");
    f.Close();
    const auto& s = f.settings.Strings();
    EXPECT_EQ(s.at("Reg Link"), "0");
    EXPECT_EQ(s.at("Reg BpAmt"), "40");
    EXPECT_EQ(s.at("Reg BmAmt"), "0");  // empty: not a number
    EXPECT_EQ(s.at("Reg SaAmt"), "40");
    EXPECT_EQ(s.at("Reg GlPrc"), "2.5");
    EXPECT_EQ(s.at("Reg SaPrc"), "123");
    EXPECT_EQ(s.at("Reg BpPrc"), "0");
}

TEST(RegsPage, LayoutFollowsTheButtonArithmetic) {
    RegsFixture f;
    f.Open();
    auto* group = f.Find<QGroupBox>("Gb_Regs");
    group->parentWidget()->layout()->removeWidget(group);
    group->setGeometry(0, 0, 312, 500);
    QCoreApplication::sendPostedEvents();
    f.page->Tab_RegsResize();
    const int edit = f.Amount(0)->height();
    const int w = 300;           // 312 - 12
    const int send = w / 4 * 3;  // 225
    const int height = std::max((500 - 32 - 8 * edit) / 8, 10);
    for (int i : {0, 3, 7}) {
        const QRect s = f.page->SendButton(i)->geometry();
        const QRect q = f.page->QuantityButton(i)->geometry();
        EXPECT_EQ(s.width(), send) << i;
        EXPECT_EQ(s.height(), height) << i;
        EXPECT_EQ(q.left(), s.left() + send + 1) << i;
        EXPECT_EQ(q.width(), w - send - 1) << i;
        EXPECT_EQ(q.top(), s.top()) << i;
        EXPECT_EQ(f.Amount(i)->y(), s.bottom() + 2) << i;  // one pixel below
        EXPECT_EQ(f.Price(i)->y(), f.Amount(i)->y()) << i;
        EXPECT_EQ(f.page->TotalBox(i)->y(), f.Amount(i)->y()) << i;
        if (i < 7) {
            EXPECT_EQ(f.page->SendButton(i + 1)->y(), f.Amount(i)->geometry().bottom() + 2) << i;
        }
    }
    // Too small a page: the buttons keep 10 pixels, the width 15.
    group->setGeometry(0, 0, 20, 100);
    f.page->Tab_RegsResize();
    EXPECT_EQ(f.page->SendButton(0)->height(), 10);
    EXPECT_EQ(f.page->SendButton(0)->width(), 15 / 4 * 3);
}

}  // namespace stallmark::test
