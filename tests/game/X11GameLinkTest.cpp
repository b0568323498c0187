// The X11 game link end to end: a private Xvfb, receiver windows that stand in
// for the game client and log the bytes they are typed, and the real backend
// and sender. Each case runs once without a window manager and once under
// openbox. A missing Xvfb or openbox fails the test.

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "game/GameLink.h"
#include "game/X11GameWindows.h"
#include "game/X11Session.h"

namespace stallmark {
namespace {

using testing::ReceiverOptions;
using testing::WaitUntil;

enum class Wm { Bare, Openbox };

// Pauses for real, as the program's pacer does (the backend waits for the
// receiver to take its keys through these pauses), and records each one.
class RecordingPacer : public Pacer {
public:
    void ProcessEvents() override { ++events; }
    void Sleep(int milliseconds) override {
        sleeps.push_back(milliseconds);
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
    int events = 0;
    std::vector<int> sleeps;
};

class X11GameLinkTest : public ::testing::TestWithParam<Wm> {
protected:
    void SetUp() override {
        session = std::make_unique<testing::X11Session>(GetParam() == Wm::Openbox);
        ASSERT_TRUE(session->Ok()) << session->Error();
        windows = X11GameWindows::Open(session->DisplayName());
        ASSERT_NE(windows, nullptr);
        ASSERT_TRUE(windows->CanType()) << "the X server has no XTEST extension";
        display = XOpenDisplay(session->DisplayName().c_str());
        ASSERT_NE(display, nullptr);
        link = std::make_unique<GameLink>(*windows, pacer,
                                          GameLinkOptions{[this] { return windowName; }, [this] { return charDelay; },
                                                          [this] { return memoPlaying; }});
    }

    void TearDown() override {
        link.reset();
        windows.reset();
        receivers.clear();
        if (display != nullptr) XCloseDisplay(display);
        session.reset();
    }

    testing::Receiver& Start(const std::string& windowClass, const std::string& title, bool iconic = false,
                             bool legacyTitle = false) {
        ReceiverOptions options;
        options.windowClass = windowClass;
        options.title = title;
        options.iconic = iconic;
        options.legacyTitle = legacyTitle;
        std::unique_ptr<testing::Receiver> receiver = session->StartReceiver(options);
        if (receiver == nullptr) throw std::runtime_error("the receiver window did not come up");
        receivers.push_back(std::move(receiver));
        return *receivers.back();
    }

    std::vector<KeySym> KeyboardMap() {
        int min = 0;
        int max = 0;
        XDisplayKeycodes(display, &min, &max);
        int per = 0;
        KeySym* syms = XGetKeyboardMapping(display, static_cast<KeyCode>(min), max - min + 1, &per);
        std::vector<KeySym> map(syms, syms + (max - min + 1) * per);
        XFree(syms);
        return map;
    }

    Window Focus() {
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(display, &focus, &revert);
        return focus;
    }

    bool Viewable(Window window) {
        XWindowAttributes attributes;
        return XGetWindowAttributes(display, window, &attributes) != 0 && attributes.map_state == IsViewable;
    }

    std::unique_ptr<testing::X11Session> session;
    std::unique_ptr<X11GameWindows> windows;
    Display* display = nullptr;
    RecordingPacer pacer;
    std::unique_ptr<GameLink> link;
    std::vector<std::unique_ptr<testing::Receiver>> receivers;
    std::string windowName = "Ultima Online -";
    std::string charDelay = "0";
    bool memoPlaying = false;
};

TEST_P(X11GameLinkTest, TextArrivesByteExactWithBackspacesAndEnter) {
    testing::Receiver& game = Start("Ultima Online", "UO");
    const std::vector<KeySym> mapBefore = KeyboardMap();

    std::string text =
        "\xAB"
        "Katana of Vanquishing\xBB 1,250gp \xE9t\xE9\r\n";
    for (int b = 0xA0; b <= 0xFF; ++b) text.push_back(static_cast<char>(b));
    for (const char b : {'\x80', '\x8A', '\x8B', '\x8C', '\x92', '\x96', '\x99', '\x9B', '\x9F'}) text.push_back(b);
    text += "~`!@#$%^&*()_+{}|:\"<>?";
    link->SendToGame(text, true, 3);

    const std::string expected = std::string(4, '\b') + text + "\r";
    EXPECT_EQ(game.WaitForLog(expected.size()), expected);
    EXPECT_EQ(KeyboardMap(), mapBefore) << "the keys lent for the send were not given back";
}

TEST_P(X11GameLinkTest, ALongSendKeepsItsOrder) {
    testing::Receiver& game = Start("Ultima Online", "UO");
    std::string text;
    for (int i = 0; i < 1000; ++i) text.push_back(static_cast<char>(i % 7 == 0 ? 0xAB + (i % 3) * 16 : 'a' + i % 26));
    link->SendToGame(text, false, 0);
    EXPECT_EQ(game.WaitForLog(text.size()), text);
}

TEST_P(X11GameLinkTest, TheClassWinsOverTheTitle) {
    testing::Receiver& byTitle = Start("Other", "Ultima Online - Bob");
    testing::Receiver& byClass = Start("Ultima Online", "Something else");
    link->SendToGame("abc", true, 0);
    EXPECT_EQ(byClass.WaitForLog(4), "abc\r");
    EXPECT_EQ(byTitle.Log(), "");
    EXPECT_EQ(link->FindGameWindow(true), byClass.window);
}

TEST_P(X11GameLinkTest, TheTitlePrefixIgnoresCaseInTheCodePage) {
    testing::Receiver& game = Start("Other", "Ultima Online - Bj\xC3\xB8rn");  // UTF-8 title
    windowName = "ultima online - BJ\xD8";                                     // Windows-1252 option text
    link->SendToGame("hail", false, 0);
    EXPECT_EQ(game.WaitForLog(4), "hail");
}

TEST_P(X11GameLinkTest, TheLastMatchIsUsedAndMinimisedMatchesAreRestored) {
    // Started first, so lowest in the stacking order: the last one met.
    testing::Receiver& ann = Start("Other", "Ultima Online - Ann", true, true);
    testing::Receiver& bob = Start("Other", "Ultima Online - Bob");
    ASSERT_TRUE(windows->IsMinimised(ann.window));
    ASSERT_FALSE(Viewable(ann.window));

    link->SendToGame("hi", false, 0);
    EXPECT_EQ(ann.WaitForLog(2), "hi");
    EXPECT_EQ(bob.Log(), "");
    EXPECT_TRUE(WaitUntil([&] { return Viewable(ann.window) && !windows->IsMinimised(ann.window); }));
}

TEST_P(X11GameLinkTest, AMinimisedGameFoundByClassIsBroughtBackAndTyped) {
    testing::Receiver& game = Start("Ultima Online", "UO", true);
    link->SendToGame("ok", true, 0);
    EXPECT_EQ(game.WaitForLog(3), "ok\r");
    EXPECT_TRUE(Viewable(game.window));
}

TEST_P(X11GameLinkTest, TheProgramComesBackAndMemoPlaybackLeavesTheFocusWhereItWas) {
    testing::Receiver& program = Start("Stallmark", "Stallmark");
    testing::Receiver& game = Start("Ultima Online", "UO");
    windows->SetProgramWindow(program.window);

    link->SendToGame("one", false, 0);
    EXPECT_EQ(game.WaitForLog(3), "one");
    EXPECT_TRUE(WaitUntil([&] { return Focus() == program.window; }));

    memoPlaying = true;
    link->SendToGame("two", true, 0);
    EXPECT_EQ(game.WaitForLog(7), "onetwo\r");
    EXPECT_EQ(Focus(), program.window);
    EXPECT_EQ(program.Log(), "");
}

TEST_P(X11GameLinkTest, CharDelayPacesTheKeys) {
    testing::Receiver& game = Start("Ultima Online", "UO");
    charDelay = "1";
    link->SendToGame(
        "\xAB"
        "slow\xBB",
        true, 1);
    EXPECT_EQ(game.WaitForLog(9),
              "\b\b\xAB"
              "slow\xBB\r");
    // CharDelay after each backspace and character; then at most the short
    // pauses in which the sender waits for the receiver.
    ASSERT_GE(pacer.sleeps.size(), 8u);
    EXPECT_EQ(std::vector<int>(pacer.sleeps.begin(), pacer.sleeps.begin() + 8), std::vector<int>(8, 1));
    for (std::size_t i = 8; i < pacer.sleeps.size(); ++i) EXPECT_LE(pacer.sleeps[i], GameLink::kSettleSliceMs);
}

TEST_P(X11GameLinkTest, WithoutAGameWindowNothingIsTyped) {
    testing::Receiver& other = Start("Other", "Notes");
    windows->SetProgramWindow(other.window);
    link->SendToGame("nothing", true, 20);
    link->SendBackspaces(5);
    EXPECT_EQ(link->FindGameWindow(true), 0u);
    EXPECT_EQ(other.Log(), "");
}

INSTANTIATE_TEST_SUITE_P(WindowManagers, X11GameLinkTest, ::testing::Values(Wm::Bare, Wm::Openbox),
                         [](const ::testing::TestParamInfo<Wm>& info) {
                             return info.param == Wm::Bare ? std::string("NoWindowManager") : std::string("Openbox");
                         });

}  // namespace
}  // namespace stallmark
