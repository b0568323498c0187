#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFontDatabase>
#include <QFontInfo>

#include "controls/DialogWindow.h"
#include "controls/Dialogs.h"

namespace stallmark {
namespace {

TEST(DialogWindow, NoMinimiseOrMaximiseButtonsAndRoomForTheTitle) {
    QWidget owner;
    QDialog dialog(&owner);
    dialog.setWindowTitle(QStringLiteral("Smith Description List"));
    dialog.resize(60, 40);
    PrepareDialogWindow(dialog);
    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowContextHelpButtonHint | Qt::WindowFullscreenButtonHint));
    EXPECT_FALSE(flags & Qt::WindowStaysOnTopHint);
    const int room = TitleRoom(dialog.windowTitle(), QApplication::font());
    QFont bold = QApplication::font();
    bold.setBold(true);
    EXPECT_GT(room, QFontMetrics(bold).horizontalAdvance(dialog.windowTitle()));
    EXPECT_GE(dialog.width(), room);
    EXPECT_GE(dialog.minimumWidth(), room);
}

TEST(DialogWindow, AToolWindowWithoutIconsGetsNoneAndFixedSizesGrowForTheTitle) {
    QWidget owner;
    owner.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    QDialog dialog(&owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    dialog.setWindowTitle(QStringLiteral("Large Bulk Order List"));
    dialog.setFixedSize(100, 50);
    PrepareDialogWindow(dialog);
    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_FALSE(flags & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    // A dialog of a window that stays on top stays on top too.
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    const int room = TitleRoom(dialog.windowTitle(), QApplication::font());
    EXPECT_EQ(dialog.width(), room);
    EXPECT_EQ(dialog.minimumWidth(), dialog.maximumWidth());
    EXPECT_EQ(dialog.height(), 50);
}

TEST(DialogWindow, APickerStartsFromTheFontAsDrawn) {
    QFont stored(QStringLiteral("Small Fonts"));
    stored.setPointSize(7);
    stored.setStyleHint(QFont::SansSerif);
    const QFont shown = FontAsDrawn(stored);
    const QFontInfo drawn(stored);
    EXPECT_EQ(shown.family(), drawn.family());
    EXPECT_EQ(shown.styleName(), drawn.styleName());
    EXPECT_EQ(shown.pointSize(), 7);
    EXPECT_FALSE(shown.italic());
    // What the picker shows is what was drawn.
    EXPECT_EQ(QFontInfo(shown).family(), drawn.family());
    EXPECT_EQ(QFontInfo(shown).italic(), drawn.italic());
    // A font that is there stays itself.
    const QString family = QFontInfo(QApplication::font()).family();
    QFont present(family);
    present.setPointSize(11);
    EXPECT_EQ(FontAsDrawn(present).family(), family);
    EXPECT_EQ(FontAsDrawn(present).pointSize(), 11);
}

}  // namespace
}  // namespace stallmark
