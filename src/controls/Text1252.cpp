#include "controls/Text1252.h"

#include "store/Windows1252.h"

namespace stallmark {

QString FromBytes(const std::string& bytes) { return FromBytes(bytes.data(), bytes.size()); }

QString FromBytes(const char* data, size_t size) {
    QString out(static_cast<qsizetype>(size), Qt::Uninitialized);
    QChar* dst = out.data();
    for (size_t i = 0; i < size; ++i)
        *dst++ = QChar(static_cast<char16_t>(CodePointOf1252(static_cast<unsigned char>(data[i]))));
    return out;
}

int ByteOf(QChar c) { return ByteOf1252(c.unicode()); }

std::string ToBytes(const QString& text) {
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (QChar c : text) {
        const int b = ByteOf1252(c.unicode());
        out.push_back(b < 0 ? '?' : static_cast<char>(b));
    }
    return out;
}

}  // namespace stallmark
