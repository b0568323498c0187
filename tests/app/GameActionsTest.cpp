#include <gtest/gtest.h>

#include <QLineEdit>

#include "app/OptionsForm.h"
#include "app/PageControl.h"
#include "game/GameLink.h"
#include "support/AppFixture.h"

namespace stallmark::test {

TEST(GameActions, ClearBookOrProfileAsksThenPostsExactlyTheCount) {
    AppFixture f;
    const WindowHandle game = f.windows.AddWindow("Ultima Online", "Ultima Online - Bob");
    auto form = f.StartShown();
    form->PageControl()->SetActivePageIndex(TStallmarkForm::pgGeneral);

    f.dialogs.inputAnswers.push_back(QString("5"));
    EXPECT_TRUE(form->ClearBookOrProfile());
    ASSERT_EQ(f.dialogs.inputs.size(), 1u);
    EXPECT_EQ(f.dialogs.inputs[0].caption, "Clear book or profile");
    EXPECT_EQ(f.dialogs.inputs[0].prompt, "No backspaces required to clear target");
    EXPECT_EQ(f.dialogs.inputs[0].defaultAnswer, "20");  // the "BackSpc" option away from the Memos page
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.dialogs.boxes[0].text, "Position game cursor in a book\n\ror your profile before proceeding.");
    EXPECT_EQ(f.dialogs.boxes[0].kind, MsgKind::Warning);
    EXPECT_EQ(f.dialogs.boxes[0].buttons, mbOK | mbCancel);
    EXPECT_EQ(f.windows.PostedText(game), std::string(5, '\b'));

    // Cancel in either question posts nothing.
    f.windows.ClearLog();
    f.dialogs.inputAnswers.push_back(std::nullopt);
    EXPECT_FALSE(form->ClearBookOrProfile());
    f.dialogs.inputAnswers.push_back(QString("3"));
    f.dialogs.boxAnswers.push_back(mbCancel);
    EXPECT_FALSE(form->ClearBookOrProfile());
    EXPECT_EQ(f.windows.PostedText(game), "");
}

namespace {

// A page that offers its own count for "Clear book or profile", as the memo page does.
class CountingTab final : public TabPage {
public:
    std::vector<StoredList*> Lists() override { return {}; }
    std::optional<int> ClearCountDefault() const override { return 42; }
};

}  // namespace

TEST(GameActions, ClearBookOrProfileOffersThePageShownsOwnCount) {
    AppFixture f;
    auto form = f.StartShown();
    form->AddTab(TStallmarkForm::pgMemos, std::make_unique<CountingTab>());
    form->PageControl()->SetActivePageIndex(TStallmarkForm::pgMemos);
    form->ClearBookOrProfile();
    ASSERT_EQ(f.dialogs.inputs.size(), 1u);
    EXPECT_EQ(f.dialogs.inputs[0].defaultAnswer, "42");
    // Elsewhere the "BackSpc" option is the default.
    form->PageControl()->SetActivePageIndex(TStallmarkForm::pgGeneral);
    form->ClearBookOrProfile();
    EXPECT_EQ(f.dialogs.inputs[1].defaultAnswer, "20");
}

TEST(GameActions, SendsReadTheWindowOptionsAtEachCall) {
    AppFixture f;
    const WindowHandle other = f.windows.AddWindow("Notepad", "Ultima Online - notes");
    auto form = f.StartShown();
    form->SendToGame("Hi", true, 0);
    EXPECT_EQ(f.windows.PostedText(other), "Hi\r");  // found by the title prefix

    Find<QLineEdit>(&form->Options(), "Ed_WindowName")->setText("nothing like it");
    Find<QLineEdit>(&form->Options(), "Ed_CharDelay")->setText("7");
    f.windows.ClearLog();
    form->SendToGame("Hi", true, 0);
    EXPECT_EQ(f.windows.AllPosted(), "");

    const WindowHandle game = f.windows.AddWindow("Ultima Online", "anything");
    form->SendToGame("Hi", false, 0);
    EXPECT_EQ(f.windows.PostedText(game), "Hi");
    EXPECT_EQ(f.pacer.Sleeps(), std::vector<int>({7, 7}));

    // While a memo plays the foreground is left alone.
    form->State().MemoPlaying = true;
    f.windows.ClearLog();
    form->SendToGame("x", false, 0);
    EXPECT_EQ(f.windows.Count(FakeOp::SetForeground), 0);
    EXPECT_EQ(f.windows.Count(FakeOp::BringProgramForward), 0);
}

}  // namespace stallmark::test
