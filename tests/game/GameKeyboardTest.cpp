// One typist at a time: a send started while another is typing (from the events the
// sender processes between characters) types nothing, and a run of sends holds the
// keyboard from its first key to its last.
#include <gtest/gtest.h>

#include "game/FakeGameWindows.h"
#include "game/GameKeyboard.h"
#include "game/GameLink.h"

namespace stallmark {
namespace {

struct KeyboardFixture {
    FakeGameWindows windows;
    CountingPacer pacer{&windows};
    GameLink link{windows, pacer,
                  GameLinkOptions{[] { return std::string("Ultima Online -"); }, [] { return std::string("0"); },
                                  [] { return false; }}};
    GameKeyboard keyboard{link};
    WindowHandle game = windows.AddWindow("Ultima Online", "Ultima Online - Ann");
};

TEST(GameKeyboard, ASendStartedDuringASendTypesNothing) {
    KeyboardFixture f;
    int nested = 0;
    bool nestedResult = true;
    f.pacer.onProcessEvents = [&] {
        // A click on another Send between two characters of the first.
        if (nested++ == 0) nestedResult = f.keyboard.SendToGame("XX", true, 0);
    };
    EXPECT_TRUE(f.keyboard.SendToGame("abc", true, 0));
    EXPECT_FALSE(nestedResult);
    EXPECT_EQ(f.windows.PostedText(f.game), "abc\r");
    EXPECT_FALSE(f.keyboard.Busy());
    // Once the first is done, the next goes through.
    f.pacer.onProcessEvents = nullptr;
    EXPECT_TRUE(f.keyboard.SendToGame("d", false, 0));
    EXPECT_EQ(f.windows.PostedText(f.game), "abc\rd");
}

TEST(GameKeyboard, ASessionHoldsTheKeyboardBetweenItsSends) {
    KeyboardFixture f;
    {
        std::optional<TypingSession> session = f.keyboard.BeginTyping();
        ASSERT_TRUE(session.has_value());
        EXPECT_TRUE(f.keyboard.Busy());
        EXPECT_FALSE(f.keyboard.BeginTyping().has_value());
        session->SendToGame("one", true, 0);
        // Between two lines of a listing nothing else may type.
        EXPECT_FALSE(f.keyboard.SendToGame("other", true, 0));
        EXPECT_FALSE(f.keyboard.SendBackspaces(3));
        session->SendBackspaces(2);
        session->SendToGame("two", true, 0);
        // A moved session still holds it; the moved-from one gives nothing back.
        std::optional<TypingSession> moved(std::move(*session));
        session.reset();
        EXPECT_TRUE(f.keyboard.Busy());
    }
    EXPECT_FALSE(f.keyboard.Busy());
    EXPECT_EQ(f.windows.PostedText(f.game), "one\r\b\btwo\r");
}

TEST(GameKeyboard, AFailingSendStillGivesTheKeyboardBack) {
    KeyboardFixture f;
    f.pacer.onProcessEvents = [] { throw std::runtime_error("window gone"); };
    f.keyboard.SendToGame("abc", true, 0);  // the sender drops its own errors
    EXPECT_FALSE(f.keyboard.Busy());
    f.pacer.onProcessEvents = nullptr;
    EXPECT_TRUE(f.keyboard.SendToGame("x", false, 0));
}

}  // namespace
}  // namespace stallmark
