// The Memos page in the real window: the popup menu and F2, the count offered to clear a
// book, start-up and shutdown, and the timer that drives playback beside the other pages.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "app/PageControl.h"
#include "controls/ToolButton.h"
#include "lists/memos/MemoPage.h"
#include "support/AppFixture.h"

namespace stallmark::test {

namespace {

constexpr const char* kMemos =
    "[Advert]\r\nWelcome\r\n\xAB"
    "1\xBB\r\nBye\r\n[Book]\r\nPage one\r\n";

struct MemoWindow : AppFixture {
    std::unique_ptr<TStallmarkForm> form;
    WindowHandle game = 0;

    explicit MemoWindow(const char* lastMemo = "Advert") {
        dir.Write("Memos.dat", kMemos);
        dir.Write("ListMwItem.dat", "Katana\r\n");
        settings.WriteString("LastMemo", lastMemo);
        settings.WriteInteger("LastPage", TStallmarkForm::pgMemos);
        game = windows.AddWindow("Ultima Online", "Ultima Online - Ann");
        form = StartShown();
    }
    template <typename T>
    T* Get(const char* name) {
        return Find<T>(form.get(), name);
    }
    TMemoPage* Page() { return dynamic_cast<TMemoPage*>(form->Tab(TStallmarkForm::pgMemos)); }
};

}  // namespace

TEST(MemoWindow, TheLastMemoIsShownAndThePopupOffersItsListOptions) {
    MemoWindow w;
    ASSERT_NE(w.Page(), nullptr);
    EXPECT_EQ(w.Get<QComboBox>("Cb_MemoName")->currentText(), "Advert");
    EXPECT_EQ(w.Get<QPlainTextEdit>("Memo_Memos")->toPlainText(), QString::fromUtf8("Welcome\n\u00AB1\u00BB\nBye"));
    w.form->Popup_PricesPopup();
    EXPECT_TRUE(w.form->MenuItem("Mp_SendToGame")->isVisible());
    EXPECT_TRUE(w.form->MenuItem("Mp_ListOpt1")->isVisible());
    EXPECT_EQ(w.form->MenuItem("Mp_ListOpt1")->text(), "Memo List Options");
    EXPECT_EQ(w.form->MenuItem("Mp_ListOpt1")->data().toInt(), 10);
    EXPECT_FALSE(w.form->MenuItem("Mp_ListOpt2")->isVisible());
    EXPECT_FALSE(w.form->MenuItem("Mp_GridResize")->isVisible());
}

TEST(MemoWindow, F2SendsTheMemoAndTheClearCountIsItsLengthOnThisPageOnly) {
    MemoWindow w;
    w.dialogs.inputAnswers.push_back(QStringLiteral("3"));
    w.form->MenuItem("Mp_SendToGame")->trigger();
    ASSERT_EQ(w.dialogs.inputs.size(), 1u);
    EXPECT_EQ(w.dialogs.inputs[0].defaultAnswer, "16");  // 7+1, 3+1, 3+1
    EXPECT_EQ(w.windows.PostedText(w.game),
              "\b\b\bWelcome\r\n\xAB"
              "1\xBB\r\nBye");

    // On another page "Clear book or profile" offers the "BackSpc" option.
    w.form->PageControl()->SetActivePageIndex(TStallmarkForm::pgGeneral);
    EXPECT_FALSE(w.form->ClearBookOrProfile());
    EXPECT_EQ(w.dialogs.inputs.back().defaultAnswer, "20");
}

TEST(MemoWindow, OneTimerTickDrivesTheWarningAndPlaybackAndAReenteringTickIsLost) {
    MemoWindow w;
    // The weapons page starts its warning blink (two special boxes at once).
    w.form->PageControl()->SetActivePageIndex(TStallmarkForm::pgWeapons);
    auto* weapon = w.Get<QComboBox>("Cb_Weapon");
    weapon->setCurrentIndex(weapon->findText(QStringLiteral("Katana")));
    w.Get<QLineEdit>("Ed_MWPrice")->setText(QStringLiteral("100"));
    w.Get<QCheckBox>("Ckb_MWSilver")->click();
    w.Get<QCheckBox>("Ckb_MWVirtue")->click();
    w.Get<TToolBtnSig>("Btn_MWAdd")->click();
    auto* warning = w.Get<QLabel>("Lb_MwWarn");

    w.Get<TToolBtnSig>("Btn_MemoRepeat")->click();
    ASSERT_TRUE(w.form->State().MemoPlaying);
    // While an item types, the events processed between its keys bring further ticks: they
    // find the timer busy and are lost.
    int nested = 0;
    w.pacer.onProcessEvents = [&] {
        ++nested;
        w.form->TimerTimer();
    };
    std::vector<bool> shown;
    for (int tick = 1; tick <= 10; ++tick) {
        w.form->TimerTimer();
        shown.push_back(warning->isVisibleTo(w.form.get()));
    }
    EXPECT_GT(nested, 0);
    EXPECT_FALSE(w.form->State().TimerBusy);
    // Welcome, a pause of one second (its own tick and one more), Bye, Welcome, ...
    EXPECT_EQ(w.windows.PostedText(w.game), "Welcome\rBye\rWelcome\rBye\rWelcome\r");
    // Ten blinks, one per tick, none lost or doubled: hidden after the tenth.
    EXPECT_EQ(shown, std::vector<bool>({true, true, true, true, true, true, true, true, true, false}));
    // No send while playing changed the foreground window.
    EXPECT_EQ(w.windows.Count(FakeOp::SetForeground), 0);
    EXPECT_EQ(w.windows.Count(FakeOp::BringProgramForward), 0);
}

TEST(MemoWindow, ShutdownStopsPlaybackSavesTheOpenEditAndKeepsTheName) {
    MemoWindow w("book");
    EXPECT_EQ(w.Get<QComboBox>("Cb_MemoName")->currentText(), "Book");
    w.Get<TToolBtnSig>("Btn_MemoRepeat")->click();
    auto* editor = w.Get<QPlainTextEdit>("Memo_Memos");
    editor->moveCursor(QTextCursor::End);
    editor->insertPlainText(QStringLiteral(", two"));
    w.form->close();
    EXPECT_FALSE(w.form->State().MemoPlaying);
    EXPECT_EQ(w.dir.Read("Memos.dat"),
              "[Advert]\r\nWelcome\r\n\xAB"
              "1\xBB\r\nBye\r\n[Book]\r\nPage one, two\r\n");
    EXPECT_EQ(w.settings.Strings().at("LastMemo"), "Book");
    EXPECT_TRUE(w.dialogs.boxes.empty());
}

}  // namespace stallmark::test
