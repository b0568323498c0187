// The platform link is opened at its first use, and behaves from then on exactly as
// the backend it opened.

#include <gtest/gtest.h>

#include <memory>

#include "game/FakeGameWindows.h"
#include "game/GameLink.h"
#include "game/PlatformGameWindows.h"

namespace stallmark {
namespace {

struct Opening {
    int opens = 0;
    FakeGameWindows* fake = nullptr;  // the backend handed out, owned by the lazy link

    LazyGameWindows::Opener Opener() {
        return [this]() -> std::unique_ptr<GameWindows> {
            ++opens;
            auto made = std::make_unique<FakeGameWindows>();
            fake = made.get();
            fake->AddWindow("Ultima Online", "UO - Orvanel");
            return made;
        };
    }
};

TEST(LazyGameWindows, OpensAtFirstUseOnceAndPassesOnTheProgramWindowNamedBefore) {
    Opening opening;
    LazyGameWindows windows(opening.Opener());
    windows.SetProgramWindow(0x77);
    // Ending a send that posted nothing asks nothing of the window system.
    windows.Flush();
    EXPECT_EQ(windows.SettleMs(), 0);
    windows.FinishSend();
    EXPECT_EQ(opening.opens, 0);
    EXPECT_FALSE(windows.IsOpen());

    CountingPacer pacer;
    GameLink link(windows, pacer,
                  GameLinkOptions{[] { return std::string("UO -"); }, [] { return std::string("5"); }, nullptr});
    link.SendToGame("hi", true, 0);
    ASSERT_EQ(opening.opens, 1);
    EXPECT_TRUE(windows.IsOpen());
    EXPECT_EQ(opening.fake->ProgramWindow(), WindowHandle{0x77});
    EXPECT_EQ(opening.fake->PostedText(1), "hi\r");
    EXPECT_EQ(opening.fake->Foreground(), WindowHandle{0x77});  // back to the program

    // A program window named later reaches the open backend; nothing opens again.
    windows.SetProgramWindow(0x78);
    EXPECT_EQ(opening.fake->ProgramWindow(), WindowHandle{0x78});
    EXPECT_EQ(windows.Title(1), "UO - Orvanel");
    EXPECT_EQ(opening.opens, 1);
}

TEST(LazyGameWindows, ABackendThatCannotOpenFindsNothingAndIsNotTriedAgain) {
    int opens = 0;
    LazyGameWindows windows([&opens]() -> std::unique_ptr<GameWindows> {
        ++opens;
        return nullptr;
    });
    EXPECT_EQ(windows.FindByClass("Ultima Online"), 0u);
    EXPECT_TRUE(windows.TopLevelWindows().empty());
    windows.PostChar(1, 'x');
    windows.BringProgramForward();
    EXPECT_EQ(opens, 1);
}

}  // namespace
}  // namespace stallmark
