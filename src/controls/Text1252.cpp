#include "controls/Text1252.h"

#include <array>
#include <unordered_map>

namespace stallmark {

namespace {

// 0x80-0x9F; undefined positions keep their own code.
constexpr std::array<char16_t, 32> kHigh = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

const std::unordered_map<char16_t, unsigned char>& Reverse() {
    static const std::unordered_map<char16_t, unsigned char> map = [] {
        std::unordered_map<char16_t, unsigned char> m;
        for (int i = 0; i < 32; ++i) m.emplace(kHigh[i], static_cast<unsigned char>(0x80 + i));
        return m;
    }();
    return map;
}

}  // namespace

QString FromBytes(const std::string& bytes) { return FromBytes(bytes.data(), bytes.size()); }

QString FromBytes(const char* data, size_t size) {
    QString out(static_cast<qsizetype>(size), Qt::Uninitialized);
    QChar* dst = out.data();
    for (size_t i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        *dst++ = QChar(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : static_cast<char16_t>(b));
    }
    return out;
}

int ByteOf(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return u;
    auto it = Reverse().find(u);
    return it != Reverse().end() ? it->second : -1;
}

std::string ToBytes(const QString& text) {
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out.push_back(static_cast<char>(u));
        } else {
            auto it = Reverse().find(u);
            out.push_back(it != Reverse().end() ? static_cast<char>(it->second) : '?');
        }
    }
    return out;
}

}  // namespace stallmark
