#include "IconFiles.h"

#include <gtest/gtest.h>

#include <QFile>

#include <algorithm>
#include <cstdlib>

#include "controls/Icons.h"
#include "support/TempDir.h"

namespace stallmark::test {

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// How far apart two pictures of one size are: the largest difference of any channel of
// any pixel (256 when the sizes differ).
int LargestChannelDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return 256;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    int largest = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            for (int shift : {0, 8, 16, 24})
                largest = std::max(largest, std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF)));
        }
    return largest;
}

}  // namespace

TEST(IconFiles, IcoFileKeepsEachPictureAndItsSize) {
    const std::vector<QImage> images = {AppIconImage(16), AppIconImage(48), AppIconImage(256)};
    const QByteArray ico = MakeIcoFile(images);
    // Header: reserved 0, type 1 (icon), three pictures; a width of 256 is written as 0.
    ASSERT_GE(ico.size(), 6 + 3 * 16);
    EXPECT_EQ(ico.left(6), QByteArray("\0\0\1\0\3\0", 6));
    EXPECT_EQ(static_cast<unsigned char>(ico[6]), 16);
    EXPECT_EQ(static_cast<unsigned char>(ico[6 + 16]), 48);
    EXPECT_EQ(static_cast<unsigned char>(ico[6 + 32]), 0);
    const std::vector<QImage> back = ReadIcoFile(ico);
    ASSERT_EQ(back.size(), images.size());
    for (size_t i = 0; i < images.size(); ++i) EXPECT_EQ(back[i], images[i]) << i;
}

TEST(IconFiles, DamagedIcoFileReadsAsNothing) {
    const QByteArray ico = MakeIcoFile({AppIconImage(32)});
    EXPECT_TRUE(ReadIcoFile(ico.left(ico.size() - 10)).empty());
    EXPECT_TRUE(ReadIcoFile(QByteArray("\0\0\2\0\1\0", 6)).empty());  // a cursor file
    EXPECT_TRUE(ReadIcoFile(QByteArray()).empty());
}

// The Windows icon is kept in the source tree (a Windows build has no step that
// paints it); it must stay the picture the program paints. After a change of
// the picture: build/packaging/stallmark_icon_tool ico packaging/windows/stallmark.ico
TEST(IconFiles, WindowsIconIsThePaintedPicture) {
    const std::vector<QImage> pictures = ReadIcoFile(ReadAll(QStringLiteral(STALLMARK_ICO_FILE)));
    ASSERT_EQ(pictures.size(), WindowsIconSizes().size());
    for (size_t i = 0; i < pictures.size(); ++i) {
        const int size = WindowsIconSizes()[i];
        // Within a step or two of rounding: the raster engine's blending differs in its last bit
        // from one processor's instruction set to another's; a changed picture differs by far more.
        EXPECT_LE(LargestChannelDifference(pictures[i], AppIconImage(size)), 2) << "size " << size;
    }
}

TEST(IconFiles, ThemeIconsOfTheBuildAreThePaintedPicture) {
    for (int size : ThemeIconSizes()) {
        const QString path = u"%1/%2x%2/apps/%3.png"_s.arg(QStringLiteral(STALLMARK_THEME_ICONS))
                                 .arg(size)
                                 .arg(QStringLiteral(STALLMARK_APP_ID));
        QImage image;
        ASSERT_TRUE(image.load(path)) << path.toStdString();
        EXPECT_EQ(image.convertToFormat(QImage::Format_ARGB32), AppIconImage(size)) << size;
    }
}

TEST(IconFiles, ThemeIconsAreWrittenInTheThemeLayout) {
    TempDir dir;
    const QString folder = QString::fromStdString(dir.Path().string());
    QString error;
    ASSERT_TRUE(WriteThemeIcons(folder, u"shop"_s, {16, 64}, error)) << error.toStdString();
    QImage image;
    ASSERT_TRUE(image.load(folder + u"/64x64/apps/shop.png"_s));
    EXPECT_EQ(image.size(), QSize(64, 64));
    EXPECT_TRUE(dir.Exists("16x16/apps/shop.png"));
    dir.Write("blocked", "a file where a folder should be");
    EXPECT_FALSE(WriteThemeIcons(folder + u"/blocked"_s, u"shop"_s, {16}, error));
    EXPECT_FALSE(error.isEmpty());
}

}  // namespace stallmark::test
