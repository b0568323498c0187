#pragma once
// Windows-1252 bytes as X keysyms (what the X11 backend types) and UTF-8 text
// as Windows-1252 bytes (how it reads window titles). Plain numbers: no X
// header is needed, so these are tested everywhere.

#include <cstdint>
#include <string>

namespace stallmark {

// The keysym that types this byte: Latin-1 bytes are their own keysyms; the
// characters of 0x80-0x9F are their named keysyms (EuroSign, Scaron, ...) or,
// where there is none, the Unicode keysym 0x1000000 + code point; 8 is
// BackSpace, 9 Tab, 10 Linefeed, 13 Return, 27 Escape, 127 Delete, and the
// other control codes (and the five unassigned bytes) the Unicode keysym of
// the same number.
std::uint32_t KeysymFor1252(std::uint8_t byte);

// The Unicode code point of a Windows-1252 byte (unassigned bytes: their own
// value); CodePointOf1252 of store/Windows1252.h.
char32_t UnicodeFor1252(std::uint8_t byte);

// UTF-8 to Windows-1252 (Utf8ToCp1252 of store/Windows1252.h); a character
// the code page lacks becomes '?', and a malformed sequence one '?' per byte.
std::string Utf8To1252(const std::string& utf8);

}  // namespace stallmark
