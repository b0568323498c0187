#pragma once
// Data files, settings strings and keystrokes are bytes in Windows-1252.
// Widgets show QString. This is the one conversion between them, over the
// code page of store/Windows1252.h; every byte 0-255 survives a round trip
// (the five bytes 1252 leaves undefined map to the C1 control characters of
// the same code).

#include <QString>
#include <cstddef>
#include <string>

namespace stallmark {

QString FromBytes(const std::string& bytes);
QString FromBytes(const char* data, size_t size);
// Characters outside Windows-1252 become '?'.
std::string ToBytes(const QString& text);
// The byte of one character, or -1 when Windows-1252 has none for it.
int ByteOf(QChar c);

}  // namespace stallmark
