#include "game/Keysym1252.h"

#include <array>

#include "store/Windows1252.h"

namespace stallmark {

namespace {

// Named keysyms of 0x80-0x9F (keysymdef.h); 0: none, use the Unicode keysym.
constexpr std::array<std::uint32_t, 32> kHighKeysym = {
    0x20ac,  // EuroSign
    0,       // unassigned
    0x0afd,  // singlelowquotemark
    0x08f6,  // function
    0x0afe,  // doublelowquotemark
    0x0aae,  // ellipsis
    0x0af1,  // dagger
    0x0af2,  // doubledagger
    0,       // modifier letter circumflex
    0x0ad5,  // permille
    0x01a9,  // Scaron
    0,       // single left-pointing angle quotation mark
    0x13bc,  // OE
    0,       // unassigned
    0x01ae,  // Zcaron
    0,       // unassigned
    0,       // unassigned
    0x0ad0,  // leftsinglequotemark
    0x0ad1,  // rightsinglequotemark
    0x0ad2,  // leftdoublequotemark
    0x0ad3,  // rightdoublequotemark
    0x0ae6,  // enfilledcircbullet
    0x0aaa,  // endash
    0x0aa9,  // emdash
    0,       // small tilde
    0x0ac9,  // trademark
    0x01b9,  // scaron
    0,       // single right-pointing angle quotation mark
    0x13bd,  // oe
    0,       // unassigned
    0x01be,  // zcaron
    0x13be,  // Ydiaeresis
};

constexpr std::uint32_t kUnicodeKeysym = 0x1000000;

}  // namespace

char32_t UnicodeFor1252(std::uint8_t byte) { return CodePointOf1252(byte); }

std::uint32_t KeysymFor1252(std::uint8_t byte) {
    switch (byte) {
        case 8: return 0xff08;    // BackSpace
        case 9: return 0xff09;    // Tab
        case 10: return 0xff0a;   // Linefeed
        case 13: return 0xff0d;   // Return
        case 27: return 0xff1b;   // Escape
        case 127: return 0xffff;  // Delete
        default: break;
    }
    if (byte < 0x20) return kUnicodeKeysym + byte;
    if (byte >= 0x80 && byte < 0xA0) {
        const std::uint32_t named = kHighKeysym[byte - 0x80];
        return named != 0 ? named : kUnicodeKeysym + CodePointOf1252(byte);
    }
    return byte;
}

std::string Utf8To1252(const std::string& utf8) { return Utf8ToCp1252(utf8); }

}  // namespace stallmark
