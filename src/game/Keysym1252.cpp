#include "game/Keysym1252.h"

#include <array>

namespace stallmark {

namespace {

// 0x80-0x9F; unassigned positions keep their own code.
constexpr std::array<char16_t, 32> kHighUnicode = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                   0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                   0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                   0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

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

char32_t UnicodeFor1252(std::uint8_t byte) {
    if (byte >= 0x80 && byte < 0xA0) return kHighUnicode[byte - 0x80];
    return byte;
}

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
        return named != 0 ? named : kUnicodeKeysym + kHighUnicode[byte - 0x80];
    }
    return byte;
}

std::string Utf8To1252(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    const std::size_t n = utf8.size();
    while (i < n) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        char32_t cp = 0;
        std::size_t length = 0;
        if (lead < 0x80) {
            cp = lead;
            length = 1;
        } else if ((lead & 0xE0) == 0xC0) {
            cp = lead & 0x1F;
            length = 2;
        } else if ((lead & 0xF0) == 0xE0) {
            cp = lead & 0x0F;
            length = 3;
        } else if ((lead & 0xF8) == 0xF0) {
            cp = lead & 0x07;
            length = 4;
        }
        bool valid = length > 0 && i + length <= n;
        for (std::size_t k = 1; valid && k < length; ++k) {
            const unsigned char c = static_cast<unsigned char>(utf8[i + k]);
            if ((c & 0xC0) != 0x80) {
                valid = false;
            } else {
                cp = (cp << 6) | (c & 0x3F);
            }
        }
        if (!valid) {
            out.push_back('?');
            ++i;
            continue;
        }
        i += length;
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out.push_back(static_cast<char>(cp));
            continue;
        }
        char mapped = '?';
        for (int k = 0; k < 32; ++k) {
            if (kHighUnicode[k] == cp) {
                mapped = static_cast<char>(0x80 + k);
                break;
            }
        }
        out.push_back(mapped);
    }
    return out;
}

}  // namespace stallmark
