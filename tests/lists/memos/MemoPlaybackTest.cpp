// Sending a memo into a book or the profile, playing it into the chat tick by tick, the
// pause and special-character insertion.
#include <gtest/gtest.h>

#include <QGridLayout>
#include <QMenu>
#include <QTest>
#include <QToolButton>
#include <algorithm>

#include "MemoFixture.h"
#include "game/GameKeyboard.h"
#include "store/Fields.h"

namespace stallmark::test {

namespace {

constexpr const char* kShop =
    "[Advert]\r\nWelcome to my shop\r\n\xAB"
    "2\xBB\r\nFarewell\r\n"
    "[Book]\r\nDear reader,\r\nPrices below.\r\n";

std::string Backspaces(int n) { return std::string(static_cast<size_t>(n), '\b'); }

}  // namespace

TEST(MemoSend, ClearsWithTheMemoLengthWaitsAndTypesTheWholeMemo) {
    MemoFixture f(kShop);
    f.Choose("Book");
    f.dialogs.inputAnswers.push_back(QStringLiteral("27"));
    f.Click("Btn_MemoSend");
    ASSERT_EQ(f.dialogs.inputs.size(), 1u);
    EXPECT_EQ(f.dialogs.inputs[0].caption, "Clear book or profile");
    EXPECT_EQ(f.dialogs.inputs[0].prompt, "No backspaces required to clear target");
    EXPECT_EQ(f.dialogs.inputs[0].defaultAnswer, "27");  // "Dear reader," 12+1, "Prices below." 13+1
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.dialogs.boxes[0].text, "Position game cursor in a book\n\ror your profile before proceeding.");
    // The backspaces, then 100 ms, then the text with CR LF between its lines and
    // nothing after the last: no Enter.
    EXPECT_EQ(f.windows.PostedText(f.game), Backspaces(27) + "Dear reader,\r\nPrices below.");
    EXPECT_EQ(f.pacer.Sleeps(), std::vector<int>({100}));
    const std::vector<std::string> trace = f.windows.Trace();
    const auto sleep = std::find(trace.begin(), trace.end(), "sleep 100");
    ASSERT_NE(sleep, trace.end());
    const std::string backspace = "char " + std::to_string(f.game) + " 8";
    EXPECT_EQ(std::count(trace.begin(), sleep, backspace), 27);
    EXPECT_EQ(std::count(sleep, trace.end(), backspace), 0);
    EXPECT_FALSE(f.keyboard.Busy());
}

TEST(MemoSend, CancelAtEitherQuestionPostsNothing) {
    MemoFixture f(kShop);
    f.Choose("Book");
    f.Click("Btn_MemoSend");  // the count is cancelled
    EXPECT_EQ(f.dialogs.inputs.size(), 1u);
    EXPECT_TRUE(f.dialogs.boxes.empty());
    f.dialogs.inputAnswers.push_back(QStringLiteral("5"));
    f.dialogs.boxAnswers.push_back(mbCancel);
    f.Click("Btn_MemoSend");
    EXPECT_EQ(f.windows.AllPosted(), "");
    EXPECT_TRUE(f.pacer.Sleeps().empty());
    EXPECT_FALSE(f.keyboard.Busy());
}

TEST(MemoSend, TheMemoTypesAsOneRunThatNoOtherSendBreaksInto) {
    MemoFixture f(kShop);
    f.Choose("Book");
    std::vector<bool> refused;
    f.pacer.onProcessEvents = [&] {
        if (f.windows.PostedText(f.game).size() == 3) refused.push_back(!f.keyboard.SendToGame("intruder", true, 0));
    };
    f.dialogs.inputAnswers.push_back(QStringLiteral("2"));
    f.Click("Btn_MemoSend");
    EXPECT_EQ(refused, std::vector<bool>({true}));
    EXPECT_EQ(f.windows.PostedText(f.game), Backspaces(2) + "Dear reader,\r\nPrices below.");
}

TEST(MemoSend, SplitButtonMenuAndItsTwoItems) {
    MemoFixture f(kShop);
    TToolBtnSig* send = f.Button("Btn_MemoSend");
    EXPECT_TRUE(send->dropdownCombo());
    QMenu* menu = send->dropdownMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[0]->text(), "Send To Game");
    EXPECT_EQ(menu->actions()[0]->objectName(), "Mp_MemoSend");
    EXPECT_EQ(menu->actions()[1]->text(), "Clear Book/Profile");

    // "Clear Book/Profile" posts the backspaces alone.
    f.Choose("Advert");
    f.dialogs.inputAnswers.push_back(QStringLiteral("4"));
    menu->actions()[1]->trigger();
    EXPECT_EQ(f.dialogs.inputs.back().defaultAnswer, "32");
    EXPECT_EQ(f.windows.PostedText(f.game), Backspaces(4));
    // "Send To Game" is the button's own click.
    f.dialogs.inputAnswers.push_back(QStringLiteral("0"));
    menu->actions()[0]->trigger();
    EXPECT_EQ(f.windows.PostedText(f.game), Backspaces(4) +
                                                "Welcome to my shop\r\n\xAB"
                                                "2\xBB\r\nFarewell");
}

TEST(MemoSend, NotWhileTheMemoIsBeingEdited) {
    MemoFixture f(kShop);
    f.Choose("Book");
    f.editor->insertPlainText(QStringLiteral("x"));
    EXPECT_FALSE(f.Button("Btn_MemoSend")->isEnabled());
    f.page->SendToGame(nullptr);  // F2
    EXPECT_TRUE(f.dialogs.inputs.empty());
    EXPECT_EQ(f.windows.AllPosted(), "");
}

TEST(MemoPlayback, GreetingPauseFarewellTickByTick) {
    MemoFixture f(kShop);
    f.Choose("Advert");
    f.windows.ClearLog();
    f.Click("Btn_MemoRepeat");
    EXPECT_TRUE(f.state.MemoPlaying);
    EXPECT_FALSE(f.Button("Btn_MemoRepeat")->isEnabled());
    EXPECT_EQ(f.Button("Btn_MemoPause")->toolTip(), "Stop Memo Playing");
    EXPECT_EQ(f.page->PlayList(), std::vector<std::string>({"Welcome to my shop",
                                                            "\xAB"
                                                            "2",
                                                            "Farewell"}));
    EXPECT_EQ(f.windows.AllPosted(), "");  // nothing at once

    const std::string greeting = "Welcome to my shop\r", farewell = "Farewell\r";
    std::vector<std::string> after;
    std::vector<int> pauses;
    for (int tick = 1; tick <= 8; ++tick) {
        f.Tick();
        after.push_back(f.windows.PostedText(f.game));
        pauses.push_back(f.page->PauseTicks());
    }
    EXPECT_EQ(after[0], greeting);                                  // tick 1
    EXPECT_EQ(pauses[1], 3);                                        // tick 2: the pause of 2 seconds
    EXPECT_EQ(after[4], greeting);                                  // ticks 3 to 5 wait
    EXPECT_EQ(pauses, std::vector<int>({0, 3, 2, 1, 0, 0, 0, 3}));  // tick 8: the pause again
    EXPECT_EQ(after[5], greeting + farewell);                       // tick 6
    EXPECT_EQ(after[6], greeting + farewell + greeting);            // tick 7: from the top again
    EXPECT_EQ(f.page->PlayIndex(), 2);
    // Neither the game nor the program was brought to the front.
    EXPECT_EQ(f.windows.Count(FakeOp::SetForeground), 0);
    EXPECT_EQ(f.windows.Count(FakeOp::BringProgramForward), 0);
}

TEST(MemoPlayback, StopThenRepeatIsEnabledAgainAtTheNextTick) {
    MemoFixture f(kShop);
    f.Choose("Advert");
    f.Click("Btn_MemoRepeat");
    f.Tick();
    f.Click("Btn_MemoPause");  // stops
    EXPECT_FALSE(f.state.MemoPlaying);
    EXPECT_EQ(f.Button("Btn_MemoPause")->toolTip(), "Insert a pause");
    EXPECT_TRUE(f.dialogs.inputs.empty());  // no pause is asked for
    EXPECT_FALSE(f.Button("Btn_MemoRepeat")->isEnabled());
    f.Tick();
    EXPECT_TRUE(f.Button("Btn_MemoRepeat")->isEnabled());
    EXPECT_EQ(f.page->PlayIndex(), 0);
    EXPECT_EQ(f.windows.PostedText(f.game), "Welcome to my shop\r");

    // Starting again plays from the top.
    f.Click("Btn_MemoRepeat");
    f.Tick();
    EXPECT_EQ(f.windows.PostedText(f.game), "Welcome to my shop\rWelcome to my shop\r");
}

TEST(MemoPlayback, RepeatIsIgnoredWhilePlayingAndPlaysUnsavedText) {
    MemoFixture f(kShop);
    f.Choose("Book");
    f.editor->selectAll();
    f.editor->insertPlainText(QStringLiteral("Unsaved advert"));
    f.Click("Btn_MemoRepeat");
    f.Tick();
    f.page->Btn_MemoRepeatClick();  // while playing: nothing happens
    f.Tick();
    EXPECT_EQ(f.windows.PostedText(f.game), "Unsaved advert\rUnsaved advert\r");
    EXPECT_EQ(f.page->PlayIndex(), 1);
}

TEST(MemoPlayback, AnEmptyMemoEnablesRepeatAtOnceButKeepsPlayingUntilStopped) {
    MemoFixture f(kShop);
    f.Click("Btn_MemoRepeat");
    EXPECT_TRUE(f.page->PlayList().empty());
    f.Tick();
    EXPECT_TRUE(f.Button("Btn_MemoRepeat")->isEnabled());
    EXPECT_TRUE(f.state.MemoPlaying);
    f.Click("Btn_MemoPause");
    EXPECT_FALSE(f.state.MemoPlaying);
}

TEST(MemoPlayback, PausesAreCappedAndOpenMarkersSwallowTheirLines) {
    MemoFixture f(
        "[Huge]\r\n\xAB"
        "2000000000\xBB\r\nafter\r\n[Open]\r\n\xAB"
        "5\r\nNever typed\r\n");
    f.Choose("Huge");
    f.Click("Btn_MemoRepeat");
    f.Tick();
    EXPECT_EQ(f.page->PauseTicks(), 2 * 99999 - 1);
    EXPECT_EQ(f.windows.AllPosted(), "");
    f.Click("Btn_MemoPause");

    f.Choose("Open");
    f.Tick();  // Repeat back
    f.Click("Btn_MemoRepeat");
    EXPECT_EQ(f.page->PlayList(), std::vector<std::string>({"\xAB"
                                                            "5",
                                                            "\xAB"
                                                            "Never typed"}));
    f.Tick();
    EXPECT_EQ(f.page->PauseTicks(), 9);
    f.Tick(20);  // the pause, then the second item, which does nothing, and round again
    EXPECT_EQ(f.windows.AllPosted(), "");
}

TEST(MemoPlayback, WithoutAGameWindowItemsAreDroppedAndPlaybackGoesOn) {
    MemoFixture f(kShop);
    f.Choose("Advert");
    f.Click("Btn_MemoRepeat");
    f.windows.Remove(f.game);
    f.Tick(2);
    EXPECT_EQ(f.page->PlayIndex(), 2);
    EXPECT_EQ(f.windows.AllPosted(), "");
    EXPECT_TRUE(f.state.MemoPlaying);
    EXPECT_FALSE(f.keyboard.Busy());
}

TEST(MemoPlayback, AnItemWaitsWhileAnotherSendHoldsTheKeyboard) {
    MemoFixture f(kShop);
    f.Choose("Advert");
    f.Click("Btn_MemoRepeat");
    {
        std::optional<TypingSession> listing = f.keyboard.BeginTyping();  // say, a bulk order list
        ASSERT_TRUE(listing);
        f.Tick();
        EXPECT_EQ(f.page->PlayIndex(), 0);
        EXPECT_EQ(f.windows.AllPosted(), "");
    }
    f.Tick();
    EXPECT_EQ(f.windows.PostedText(f.game), "Welcome to my shop\r");
    EXPECT_EQ(f.page->PlayIndex(), 1);
}

TEST(MemoPlayback, OtherSendsAreRefusedOnlyWhileAnItemIsTyping) {
    MemoFixture f(kShop);
    f.Choose("Advert");
    f.Click("Btn_MemoRepeat");
    std::vector<bool> accepted;
    f.pacer.onProcessEvents = [&] {
        if (f.windows.PostedText(f.game).size() == 5) accepted.push_back(f.keyboard.SendToGame("General", false, 0));
    };
    f.Tick();
    EXPECT_EQ(accepted, std::vector<bool>({false}));
    EXPECT_EQ(f.windows.PostedText(f.game), "Welcome to my shop\r");
    f.pacer.onProcessEvents = nullptr;
    // Between two items a send goes through.
    EXPECT_TRUE(f.keyboard.SendToGame("General", false, 0));
    EXPECT_EQ(f.windows.PostedText(f.game), "Welcome to my shop\rGeneral");
}

TEST(MemoPlayback, ASendClickedWhileAnItemTypesIsRefusedWithABeep) {
    MemoFixture f(kShop);
    f.Choose("Advert");
    f.Click("Btn_MemoRepeat");
    bool clicked = false;
    f.pacer.onProcessEvents = [&] {
        if (clicked || f.windows.PostedText(f.game).size() != 5) return;
        clicked = true;
        f.Click("Btn_MemoSend");
    };
    f.Tick();
    EXPECT_TRUE(clicked);
    EXPECT_EQ(f.dialogs.beeps, 1);
    EXPECT_TRUE(f.dialogs.inputs.empty());  // not even the backspace question
    EXPECT_EQ(f.windows.PostedText(f.game), "Welcome to my shop\r");

    // Between two items the Send goes through, and a text item due meanwhile waits for it.
    f.Tick(4);  // the pause of 2 seconds taken and waited out: the farewell is next
    ASSERT_EQ(f.page->PlayIndex(), 2);
    ASSERT_EQ(f.page->PauseTicks(), 0);
    int nested = 0;
    f.pacer.onProcessEvents = [&] {
        ++nested;
        f.Tick();
    };
    f.dialogs.inputAnswers.push_back(QStringLiteral("0"));
    f.Click("Btn_MemoSend");
    EXPECT_GT(nested, 0);
    EXPECT_EQ(f.page->PlayIndex(), 2);
    const std::string sent =
        "Welcome to my shop\r"
        "Welcome to my shop\r\n\xAB"
        "2\xBB\r\nFarewell";
    EXPECT_EQ(f.windows.PostedText(f.game), sent);
    f.pacer.onProcessEvents = nullptr;
    f.Tick();
    EXPECT_EQ(f.windows.PostedText(f.game), sent + "Farewell\r");
}

TEST(MemoPause, TheAnswerIsTypedAtTheCaretAsAMarker) {
    MemoFixture f(kShop);
    f.Choose("Book");
    QTextCursor cursor = f.editor->textCursor();
    cursor.setPosition(4);
    f.editor->setTextCursor(cursor);
    f.dialogs.inputAnswers.push_back(QStringLiteral("15"));
    f.Click("Btn_MemoPause");
    ASSERT_EQ(f.dialogs.inputs.size(), 1u);
    EXPECT_EQ(f.dialogs.inputs[0].caption, "Stallmark");
    EXPECT_EQ(f.dialogs.inputs[0].prompt, "Enter Pause Length In Seconds");
    EXPECT_EQ(f.dialogs.inputs[0].defaultAnswer, "");
    EXPECT_EQ(f.page->EditorLines()[0],
              "Dear\xAB"
              "15\xBB reader,");
    EXPECT_TRUE(f.Editing());

    // 100000 is held to 99999; 0, negative or no number insert nothing; Cancel neither.
    for (const char* answer : {"100000", "0", "-3", "soon"})
        f.dialogs.inputAnswers.push_back(QString::fromLatin1(answer));
    for (int i = 0; i < 5; ++i) f.Click("Btn_MemoPause");
    EXPECT_EQ(f.page->EditorLines()[0],
              "Dear\xAB"
              "15\xBB\xAB"
              "99999\xBB reader,");
}

TEST(MemoPause, AnAnswerOfMoreDigitsThanAnyIntegerHoldsIsTheLongestPause) {
    MemoFixture f(kShop);
    f.Choose("Book");
    f.dialogs.inputAnswers.push_back(QStringLiteral("123456789012345678901234567890"));
    f.Click("Btn_MemoPause");
    EXPECT_EQ(f.page->EditorLines()[0],
              "\xAB"
              "99999\xBB"
              "Dear reader,");
    // A marker of as many digits typed by hand plays as the longest pause as well.
    f.editor->setPlainText(
        FromBytes("\xAB"
                  "123456789012345678901234567890\xBB"));
    f.Click("Btn_MemoRepeat");
    f.Tick();
    EXPECT_EQ(f.page->PauseTicks(), 2 * 99999 - 1);
    EXPECT_EQ(f.windows.AllPosted(), "");
}

TEST(MemoPause, AReadOnlyEditorTakesNoMarkerAndNoCharacter) {
    MemoFixture f(kShop);
    ASSERT_TRUE(f.editor->isReadOnly());
    f.dialogs.inputAnswers.push_back(QStringLiteral("5"));
    f.Click("Btn_MemoPause");
    f.page->Popup_MemoPopup();
    f.page->SpecialCharClick(233);
    EXPECT_EQ(f.Text(), "");
    EXPECT_FALSE(f.Editing());
}

TEST(MemoSpecialChars, TheMenuHolds129ItemsInColumnsOf26) {
    MemoFixture f(kShop);
    TToolBtnSig* button = f.Button("Btn_MemoChar");
    EXPECT_EQ(button->toolTip(), "Insert a special character");
    QMenu* menu = button->dropdownMenu();
    ASSERT_EQ(menu, f.page->SpecialCharMenu());
    EXPECT_TRUE(menu->actions().isEmpty());  // filled on first use
    button->click();                         // drops the menu
    const QList<QAction*> items = menu->findChild<QWidget*>(QStringLiteral("Popup_MemoItems"))->actions();
    ASSERT_EQ(items.size(), 129);
    std::vector<int> perColumn(6, 0);
    auto* grid = qobject_cast<QGridLayout*>(menu->findChild<QWidget*>(QStringLiteral("Popup_MemoItems"))->layout());
    ASSERT_NE(grid, nullptr);
    for (int i = 0; i < 129; ++i) {
        EXPECT_EQ(items[i]->data().toInt(), 127 + i);
        EXPECT_EQ(items[i]->text(), FromBytes(std::string(1, static_cast<char>(127 + i))));
        EXPECT_FALSE(IsBlank(ToBytes(items[i]->text()))) << i;
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
        EXPECT_EQ(row, i % 26);
        ++perColumn[static_cast<size_t>(column)];
    }
    EXPECT_EQ(perColumn, std::vector<int>({26, 26, 26, 26, 25, 0}));
    menu->close();
    f.page->Popup_MemoPopup();  // a second drop adds nothing
    EXPECT_EQ(menu->findChildren<QToolButton*>().size(), 129);

    // An item types its character at the caret.
    f.Choose("Book");
    QTextCursor cursor = f.editor->textCursor();
    cursor.setPosition(3);
    f.editor->setTextCursor(cursor);
    items[233 - 127]->trigger();
    EXPECT_EQ(f.page->EditorLines()[0], "Dea\xE9r reader,");
    EXPECT_TRUE(f.Editing());
    EXPECT_FALSE(menu->isVisible());
}

}  // namespace stallmark::test
