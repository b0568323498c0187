// Byte-to-keysym and UTF-8-to-byte conversions of the X11 game link, and the
// platform factory on a machine without a display.

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "game/FakeGameWindows.h"
#include "game/GameLink.h"
#include "game/Keysym1252.h"
#include "game/PlatformGameWindows.h"

namespace stallmark {
namespace {

TEST(Keysym1252, LatinOneBytesAreTheirOwnKeysymsAndControlsTheirKeys) {
    for (int b = 0x20; b < 0x7F; ++b) EXPECT_EQ(KeysymFor1252(static_cast<std::uint8_t>(b)), static_cast<unsigned>(b));
    for (int b = 0xA0; b <= 0xFF; ++b) EXPECT_EQ(KeysymFor1252(static_cast<std::uint8_t>(b)), static_cast<unsigned>(b));
    EXPECT_EQ(KeysymFor1252(171), 171u);  // «
    EXPECT_EQ(KeysymFor1252(187), 187u);  // »
    EXPECT_EQ(KeysymFor1252(8), 0xff08u);
    EXPECT_EQ(KeysymFor1252(13), 0xff0du);
    EXPECT_EQ(KeysymFor1252(10), 0xff0au);
    EXPECT_EQ(KeysymFor1252(1), 0x1000001u);
}

TEST(Keysym1252, TheUpperControlRangeUsesNamedOrUnicodeKeysyms) {
    EXPECT_EQ(KeysymFor1252(0x80), 0x20acu);     // EuroSign
    EXPECT_EQ(KeysymFor1252(0x8A), 0x1a9u);      // Scaron
    EXPECT_EQ(KeysymFor1252(0x8B), 0x1002039u);  // no named keysym
    EXPECT_EQ(KeysymFor1252(0x9F), 0x13beu);     // Ydiaeresis
    EXPECT_EQ(KeysymFor1252(0x81), 0x1000081u);  // unassigned in the code page
    // Every byte types something, and no two bytes the same keysym.
    std::set<std::uint32_t> seen;
    for (int b = 0; b < 256; ++b) EXPECT_TRUE(seen.insert(KeysymFor1252(static_cast<std::uint8_t>(b))).second) << b;
}

TEST(Keysym1252, Utf8TitlesBecomeCodePageBytes) {
    EXPECT_EQ(Utf8To1252("Ultima Online - Bj\xC3\xB8rn"), "Ultima Online - Bj\xF8rn");
    EXPECT_EQ(Utf8To1252("\xE2\x82\xAC \xC5\xA0 \xE2\x80\xB9"), "\x80 \x8A \x8B");
    EXPECT_EQ(Utf8To1252("\xE4\xB8\xAD!"), "?!");    // not in the code page
    EXPECT_EQ(Utf8To1252("a\xC3"), "a?");            // cut short
    EXPECT_EQ(Utf8To1252("\xF0\x9F\x98\x80"), "?");  // four bytes, one character
    // Only well-formed UTF-8 is read: an overlong form or a surrogate is no character.
    EXPECT_EQ(Utf8To1252("\xC0\x80x"), "??x");
    EXPECT_EQ(Utf8To1252("\xED\xA0\x80"), "???");
    EXPECT_EQ(Utf8To1252("\xC2\x81"), "\x81");  // the C1 control stands for its undefined byte
}

TEST(PlatformGameWindows, WithoutADisplaySendsFindNothingAndDoNoHarm) {
    ::unsetenv("DISPLAY");
    std::unique_ptr<GameWindows> windows = CreatePlatformGameWindows();
    ASSERT_NE(windows, nullptr);
    CountingPacer pacer;
    GameLink link(
        *windows, pacer,
        GameLinkOptions{[] { return std::string("Ultima Online -"); }, [] { return std::string("5"); }, nullptr});
    EXPECT_EQ(link.FindGameWindow(true), 0u);
    link.SendToGame("hello", true, 20);
    link.SendBackspaces(3);
    EXPECT_EQ(pacer.ProcessEventsCalls(), 0);
    EXPECT_TRUE(pacer.Sleeps().empty());
}

}  // namespace
}  // namespace stallmark
