// The keystroke sender on the fake desktop: what is looked up, in which order,
// what is posted to which window, and where the event processing and the
// pauses fall. No real window and no real pause.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "game/FakeGameWindows.h"
#include "game/GameLink.h"

namespace stallmark {
namespace {

using Lines = std::vector<std::string>;

class GameLinkTest : public ::testing::Test {
protected:
    GameLinkTest()
        : pacer(&desk),
          link(desk, pacer,
               GameLinkOptions{[this] { return windowName; }, [this] { return charDelay; },
                               [this] { return memoPlaying; }}) {}

    WindowHandle AddGame(const std::string& title = "Ultima Online - Bob") {
        return desk.AddWindow("Ultima Online", title);
    }

    FakeGameWindows desk;
    CountingPacer pacer;
    std::string windowName = "Ultima Online -";
    std::string charDelay = "0";
    bool memoPlaying = false;
    GameLink link;
};

TEST_F(GameLinkTest, SendToGamePostsOneBackspaceMoreThanAskedAndSendBackspacesExactlyTheCount) {
    const WindowHandle game = AddGame();
    link.SendToGame("x", false, 20);
    EXPECT_EQ(desk.PostedText(game), std::string(21, '\b') + "x");

    desk.ClearLog();
    link.SendBackspaces(20);
    EXPECT_EQ(desk.PostedText(game), std::string(20, '\b'));
    EXPECT_EQ(desk.Count(FakeOp::PostChar), 20);
}

TEST_F(GameLinkTest, TextThenEnterWithoutProcessingOrPauseAfterEnter) {
    const WindowHandle game = AddGame();
    charDelay = "5";
    link.SendToGame("Hi", true, 0);
    const std::string g = std::to_string(game);
    EXPECT_EQ(desk.Trace(true),
              (Lines{"foreground " + g, "char " + g + " 72", "events", "flush", "sleep 5", "char " + g + " 105",
                     "events", "flush", "sleep 5", "char " + g + " 13", "flush", "finish", "program"}));
    EXPECT_EQ(desk.Foreground(), desk.ProgramWindow());
}

TEST_F(GameLinkTest, WhileATypingBackendWaitsForTheGameEventsAreProcessedInShortPauses) {
    const WindowHandle game = AddGame();
    desk.settleReplies = {25, 8};
    link.SendToGame("a", true, 0);
    const std::string g = std::to_string(game);
    EXPECT_EQ(desk.Trace(true), (Lines{"foreground " + g, "char " + g + " 97", "events", "char " + g + " 13", "flush",
                                       "events", "sleep 10", "events", "sleep 8", "finish", "program"}));
}

TEST_F(GameLinkTest, EmptyTextPostsOnlyTheBackspacesNotEvenEnter) {
    const WindowHandle game = AddGame();
    link.SendToGame("", true, 3);
    EXPECT_EQ(desk.PostedText(game), std::string(4, '\b'));
    EXPECT_EQ(desk.Count(FakeOp::BringProgramForward), 1);

    desk.ClearLog();
    link.SendToGame("", true, 0);
    EXPECT_EQ(desk.AllPosted(), "");
}

TEST_F(GameLinkTest, BackspacesArePacedLikeCharactersInSendToGameButNeverInSendBackspaces) {
    const WindowHandle game = AddGame();
    charDelay = "7";
    link.SendToGame("ab", false, 2);  // 3 backspaces, 2 characters
    EXPECT_EQ(pacer.Sleeps(), std::vector<int>(5, 7));
    EXPECT_EQ(pacer.ProcessEventsCalls(), 5);

    pacer.Reset();
    desk.ClearLog();
    link.SendBackspaces(4);
    EXPECT_EQ(desk.PostedText(game), "\b\b\b\b");
    EXPECT_TRUE(pacer.Sleeps().empty());
    EXPECT_EQ(pacer.ProcessEventsCalls(), 4);
    EXPECT_EQ(desk.Trace().back(), "program");

    desk.ClearLog();
    link.SendBackspaces(0);
    EXPECT_EQ(desk.AllPosted(), "");
    EXPECT_EQ(desk.Trace(), (Lines{"foreground " + std::to_string(game), "program"}));
}

TEST_F(GameLinkTest, CharDelayThatIsNoPositiveNumberMeansNoPause) {
    AddGame();
    for (const char* text : {"", "abc", "-5", "5x", "0", "1.5"}) {
        charDelay = text;
        pacer.Reset();
        link.SendToGame("ok", true, 1);
        EXPECT_TRUE(pacer.Sleeps().empty()) << '"' << text << '"';
        EXPECT_EQ(pacer.ProcessEventsCalls(), 4) << '"' << text << '"';
    }
    EXPECT_EQ(GameLink::CharDelayValue(" 12 "), 12);
    EXPECT_EQ(GameLink::CharDelayValue("+3"), 3);
    EXPECT_EQ(GameLink::CharDelayValue("150"), GameLink::kMaxCharDelay);
    EXPECT_EQ(GameLink::CharDelayValue("99999999999"), 0);
}

TEST_F(GameLinkTest, OptionsAreReadAtEachCall) {
    const WindowHandle bob = desk.AddWindow("Client", "Ultima Online - Bob");
    const WindowHandle ann = desk.AddWindow("Client", "Ann's Notes");
    link.SendToGame("1", false, 0);
    windowName = "ann";
    charDelay = "3";
    link.SendToGame("2", false, 0);
    EXPECT_EQ(desk.PostedText(bob), "1");
    EXPECT_EQ(desk.PostedText(ann), "2");
    EXPECT_EQ(pacer.Sleeps(), std::vector<int>{3});
}

TEST_F(GameLinkTest, CharactersArePostedAsTheirEightBitCodes) {
    const WindowHandle game = AddGame();
    std::string text =
        "\xAB"
        "Sword\xBB \x80\x9F\xE9\xFF\r\n";
    link.SendToGame(text, true, 0);
    EXPECT_EQ(desk.PostedText(game), text + "\r");
    std::vector<int> codes;
    for (const FakeOperation& o : desk.Operations()) {
        if (o.op == FakeOp::PostChar) codes.push_back(o.value);
    }
    EXPECT_EQ(codes, (std::vector<int>{171, 83, 119, 111, 114, 100, 187, 32, 128, 159, 233, 255, 13, 10, 13}));
}

TEST_F(GameLinkTest, ClassComesFirstThenTheThirdDawnClassThenTheTitle) {
    const WindowHandle byTitle = desk.AddOnTop({"Other", "Ultima Online - Bob"});
    const WindowHandle thirdDawn = desk.Add({"Ultima Online Third Dawn", "UO TD"});
    const WindowHandle classic = desk.Add({"Ultima Online", "UO"});

    EXPECT_EQ(link.FindGameWindow(true), classic);
    EXPECT_EQ(desk.Trace(), (Lines{"foreground " + std::to_string(classic)}));  // the title was never searched
    desk.Remove(classic);
    EXPECT_EQ(link.FindGameWindow(true), thirdDawn);
    desk.Remove(thirdDawn);
    EXPECT_EQ(link.FindGameWindow(true), byTitle);
    desk.Remove(byTitle);
    desk.ClearLog();
    EXPECT_EQ(link.FindGameWindow(true), 0u);
    EXPECT_TRUE(desk.Operations().empty());
}

TEST_F(GameLinkTest, TitlePrefixIgnoresCaseIncludingAccentedLetters) {
    windowName = "ultima online -";
    const WindowHandle game = desk.AddWindow("Client", "ULTIMA ONLINE - Bob");
    EXPECT_EQ(link.FindGameWindow(true), game);
    EXPECT_EQ(link.FindWindowByTitle("\xC9"
                                     "T\xC9 \x8A",
                                     false),
              0u);
    const WindowHandle accented = desk.AddWindow("Client", "\xE9t\xE9 \x9A and more");
    EXPECT_EQ(link.FindWindowByTitle("\xC9"
                                     "T\xC9 \x8A",
                                     false),
              accented);
    // Only the beginning counts.
    EXPECT_EQ(link.FindWindowByTitle("Bob", false), 0u);
}

TEST_F(GameLinkTest, LastMatchWinsAndEveryMatchIsRestoredAndRaised) {
    windowName = "Ultima Online -";
    const WindowHandle first = desk.Add({"C", "Ultima Online - Ann", true, false, false, false, true});
    desk.AddWindow("C", "Notes");
    const WindowHandle second = desk.Add({"C", "Ultima Online - Bob", true, false, false, false, true});
    const std::string a = std::to_string(first);
    const std::string b = std::to_string(second);

    EXPECT_EQ(link.FindGameWindow(true), second);
    EXPECT_EQ(desk.Trace(), (Lines{"restore " + a, "top " + a, "restore " + b, "top " + b, "foreground " + b}));
    EXPECT_FALSE(desk.Window(first).minimised);
    EXPECT_FALSE(desk.Window(second).minimised);
}

TEST_F(GameLinkTest, OnlyPlainVisibleTopLevelMatchesAreRaised) {
    const WindowHandle hidden = desk.Add({"C", "Game 1", false, false, false, false, false});
    const WindowHandle owned = desk.Add({"C", "Game 2", true, true, false, false, false});
    const WindowHandle child = desk.Add({"C", "Game 3", true, false, true, false, false});
    const WindowHandle tool = desk.Add({"C", "Game 4", true, false, false, true, false});
    const WindowHandle plain = desk.Add({"C", "Game 5"});
    const WindowHandle minimisedTool = desk.Add({"C", "Game 6", false, false, false, true, true});
    EXPECT_EQ(link.FindWindowByTitle("game", false), minimisedTool);
    EXPECT_EQ(desk.Count(FakeOp::BringToTop), 1);
    EXPECT_EQ(desk.Count(FakeOp::BringToTop, plain), 1);
    EXPECT_EQ(desk.Count(FakeOp::Restore), 1);
    EXPECT_EQ(desk.Count(FakeOp::Restore, minimisedTool), 1);
    for (const WindowHandle w : {hidden, owned, child, tool}) EXPECT_EQ(desk.Count(FakeOp::BringToTop, w), 0);
}

TEST_F(GameLinkTest, EmptyTitlesNeverMatchAPrefixSearch) {
    desk.AddWindow("C", "");
    desk.AddWindow("C", "Anything");
    EXPECT_EQ(link.FindWindowByTitle("", false), 0u);
    windowName = "";
    EXPECT_EQ(link.FindGameWindow(true), 0u);
    EXPECT_TRUE(desk.Operations().empty());
}

TEST_F(GameLinkTest, ExactSearchComparesTheTrimmedTitle) {
    const WindowHandle padded = desk.AddWindow("C", " \t Ultima Online \r\n");
    desk.AddWindow("C", "Ultima Online - Bob");
    EXPECT_EQ(link.FindWindowByTitle("ultima online", true), padded);
    EXPECT_EQ(link.FindWindowByTitle("Ultima", true), 0u);
    const WindowHandle blank = desk.AddWindow("C", "  ");
    EXPECT_EQ(link.FindWindowByTitle("", true), blank);
}

TEST_F(GameLinkTest, TitlesAreComparedUpToTheirFirst260Characters) {
    const std::string longTitle = std::string(260, 'a') + "b";
    const WindowHandle w = desk.AddWindow("C", longTitle);
    EXPECT_EQ(link.FindWindowByTitle(std::string(260, 'A'), false), w);
    EXPECT_EQ(link.FindWindowByTitle(longTitle, false), 0u);
    EXPECT_EQ(link.FindWindowByTitle(std::string(260, 'a'), true), w);
}

TEST_F(GameLinkTest, MemoPlaybackLeavesTheForegroundAlone) {
    memoPlaying = true;
    windowName = "Ultima Online -";
    const WindowHandle game = desk.Add({"C", "Ultima Online - Bob", true, false, false, false, true});
    link.SendToGame("hi", true, 20);
    EXPECT_EQ(desk.PostedText(game), std::string(21, '\b') + "hi\r");
    EXPECT_EQ(desk.Count(FakeOp::SetForeground), 0);
    EXPECT_EQ(desk.Count(FakeOp::BringProgramForward), 0);
    EXPECT_EQ(desk.Count(FakeOp::Restore), 0);
    EXPECT_EQ(desk.Count(FakeOp::BringToTop), 0);
    EXPECT_EQ(desk.Foreground(), 0u);

    link.SendBackspaces(2);
    EXPECT_EQ(desk.Count(FakeOp::BringProgramForward), 0);
    EXPECT_EQ(link.FindGameWindow(false), 0u);
    EXPECT_EQ(desk.Count(FakeOp::BringProgramForward), 0);

    memoPlaying = false;
    EXPECT_EQ(link.FindGameWindow(false), 0u);
    EXPECT_EQ(desk.Foreground(), desk.ProgramWindow());
}

TEST_F(GameLinkTest, NoGameWindowPostsNothingAndBringsTheProgramBack) {
    desk.AddWindow("Notepad", "Untitled");
    charDelay = "9";
    link.SendToGame("hello", true, 20);
    EXPECT_EQ(desk.Trace(true), (Lines{"finish", "program"}));
    EXPECT_TRUE(pacer.Sleeps().empty());
}

TEST_F(GameLinkTest, AGameWindowThatGoesAwayMidSendLosesTheRestAndTheSendEnds) {
    const WindowHandle game = AddGame();
    int posted = 0;
    desk.onOperation = [&](const FakeOperation& o) {
        if (o.op == FakeOp::PostChar && ++posted == 2) desk.Remove(game);  // after "b"
    };
    link.SendToGame("abcdef", true, 0);
    EXPECT_EQ(desk.AllPosted(), "ab");
    EXPECT_EQ(desk.Count(FakeOp::PostChar), 7);
    EXPECT_EQ(desk.Foreground(), desk.ProgramWindow());
}

TEST_F(GameLinkTest, AnErrorDuringTheSendIsDroppedAndTheGameKeepsTheForeground) {
    const WindowHandle game = AddGame();
    int calls = 0;
    pacer.onProcessEvents = [&] {
        if (++calls == 2) throw std::runtime_error("handler failed");
    };
    EXPECT_NO_THROW(link.SendToGame("abc", true, 0));
    EXPECT_EQ(desk.PostedText(game), "ab");
    EXPECT_EQ(desk.Count(FakeOp::BringProgramForward), 0);
    EXPECT_EQ(desk.Count(FakeOp::FinishSend), 1);  // what the backend set up for typing is undone all the same
    EXPECT_EQ(desk.Foreground(), game);

    // An error while the option is read counts the same.
    desk.ClearLog();
    GameLink failing(desk, pacer,
                     GameLinkOptions{nullptr, []() -> std::string { throw std::runtime_error("x"); }, nullptr});
    EXPECT_NO_THROW(failing.SendToGame("abc", true, 0));
    EXPECT_EQ(desk.Count(FakeOp::PostChar), 0);
    EXPECT_EQ(desk.Count(FakeOp::BringProgramForward), 0);
}

TEST_F(GameLinkTest, SendBackspacesLetsErrorsThroughButStillFinishesTheSend) {
    AddGame();
    pacer.onProcessEvents = [] { throw std::runtime_error("handler failed"); };
    EXPECT_THROW(link.SendBackspaces(3), std::runtime_error);
    EXPECT_EQ(desk.Count(FakeOp::PostChar), 1);
    EXPECT_EQ(desk.Count(FakeOp::FinishSend), 1);
    EXPECT_EQ(desk.Count(FakeOp::BringProgramForward), 0);
}

TEST_F(GameLinkTest, ASendStartedWhileEventsAreProcessedInterleavesWithTheFirst) {
    const WindowHandle game = AddGame();
    bool started = false;
    pacer.onProcessEvents = [&] {
        if (!started) {
            started = true;
            link.SendToGame("XY", false, 0);
        }
    };
    link.SendToGame("abc", true, 0);
    EXPECT_EQ(desk.PostedText(game), "aXYbc\r");
    EXPECT_EQ(desk.Count(FakeOp::FinishSend), 2);
    EXPECT_EQ(desk.Count(FakeOp::BringProgramForward), 2);
}

TEST_F(GameLinkTest, EmptyOptionFunctionsReadAsEmptyTextAndFalse) {
    GameLink bare(desk, pacer, GameLinkOptions{});
    desk.AddWindow("C", "Ultima Online - Bob");
    EXPECT_EQ(bare.FindGameWindow(true), 0u);  // no "Window Name": only the classes are found
    const WindowHandle game = AddGame();
    bare.SendToGame("a", true, 0);
    EXPECT_EQ(desk.PostedText(game), "a\r");
    EXPECT_TRUE(pacer.Sleeps().empty());
    EXPECT_EQ(desk.Foreground(), desk.ProgramWindow());
}

}  // namespace
}  // namespace stallmark
