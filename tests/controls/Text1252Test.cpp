#include <gtest/gtest.h>

#include "controls/Text1252.h"

namespace stallmark {

TEST(Text1252, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(ToBytes(FromBytes(all)), all);
}

TEST(Text1252, MapsTheHighPunctuationAndGuillemets) {
    EXPECT_EQ(FromBytes("\x80"), QString(QChar(0x20AC)));
    EXPECT_EQ(FromBytes("\xAB\xBB"), QStringLiteral("\u00AB\u00BB"));
    EXPECT_EQ(ToBytes(QStringLiteral("\u2019")), "\x92");
    EXPECT_EQ(ToBytes(QStringLiteral("a\u4E2Db")), "a?b");
}

}  // namespace stallmark
