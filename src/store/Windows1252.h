#pragma once
// Windows-1252, the code page of the data files, the settings strings and the keystrokes,
// against Unicode code points and UTF-8. This is the one table of the code page in the
// program: the widgets, the settings file and the game link all convert through it.
//
// Every byte 0-255 has a code point and comes back from it. The five bytes the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 control characters of the
// same number, so no byte is ever lost on the way through Unicode.

#include <cstddef>
#include <string>
#include <string_view>

namespace stallmark {

namespace cp1252_detail {
// The code points of the bytes 0x80 to 0x9F; the undefined bytes keep their own number.
inline constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                       0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
}  // namespace cp1252_detail

// The code point of a byte.
inline char32_t CodePointOf1252(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? cp1252_detail::kHigh[byte - 0x80] : byte;
}

// The byte of a code point; -1 when the code page has none.
int ByteOf1252(char32_t cp);

// Whether the code page gives the byte a character of its own (false only for 0x81, 0x8D,
// 0x8F, 0x90 and 0x9D).
bool IsDefined1252(unsigned char byte);

// Appends cp as UTF-8; a surrogate or a number above U+10FFFF is written as U+FFFD.
void AppendUtf8(std::string& out, char32_t cp);

// The character of the well-formed UTF-8 sequence at text[at] and the sequence's length; 0
// (cp untouched) when the bytes there are not well-formed UTF-8: a stray continuation byte, a
// sequence cut short, an overlong form, a surrogate or a number above U+10FFFF.
std::size_t DecodeUtf8(std::string_view text, std::size_t at, char32_t& cp);

// Windows-1252 bytes as UTF-8.
std::string Cp1252ToUtf8(std::string_view bytes);

// UTF-8 as Windows-1252 bytes: a character the code page lacks becomes replacement, and so
// does each byte that is not part of well-formed UTF-8.
std::string Utf8ToCp1252(std::string_view utf8, char replacement = '?');

}  // namespace stallmark
