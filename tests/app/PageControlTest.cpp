// The page control's tabs: captions that win over the set width, give way
// only when a row cannot hold them, and a layout that follows every change
// of the tabs at once.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSignalSpy>
#include <QToolButton>

#include "app/PageControl.h"

namespace stallmark {
namespace {

struct Tabs : ::testing::Test {
    QWidget window;
    TPageControl* pages = new TPageControl(&window);
    const QStringList captions{"Weapons", "Armour", "Smith", "Bulk", "General", "Regs", "Memos", "Vendor"};

    Tabs() {
        for (const QString& caption : captions)
            pages->AddPage(new TTabSheet(QStringLiteral("Tab_") + caption), caption);
        window.resize(800, 300);
        window.show();
    }

    // The window's rule: the client width shared out, at least 10.
    void WindowRule() {
        const int count = pages->VisibleTabCount();
        if (count == 0) return;
        pages->SetTabWidth(std::max((pages->width() - (9 * count + 9)) / count, 10));
    }

    int Used() const {
        int used = 0;
        for (int i = 0; i < pages->PageCount(); ++i) used += pages->TabShownWidth(i);
        return used;
    }
};

TEST_F(Tabs, ACaptionWinsOverASmallerTabWidth) {
    int total = 0;
    for (int i = 0; i < pages->PageCount(); ++i) total += pages->CaptionWidth(i);
    pages->setGeometry(0, 0, total + 16, 200);
    pages->SetTabWidth(31);
    for (int i = 0; i < pages->PageCount(); ++i) {
        EXPECT_EQ(pages->TabShownCaption(i), captions[i]);
        EXPECT_GE(pages->TabShownWidth(i), std::max(31, pages->CaptionWidth(i)));
        EXPECT_TRUE(pages->TabButton(i)->toolTip().isEmpty());
        EXPECT_TRUE(pages->rect().contains(pages->TabButton(i)->geometry()));
    }
    EXPECT_EQ(pages->TabRows(), 1);
    EXPECT_LE(Used(), pages->width());
    EXPECT_EQ(pages->TabWidth(), 31);
    // With room to spare the set width is kept for every tab.
    pages->setGeometry(0, 0, 8 * 100, 200);
    pages->SetTabWidth(90);
    for (int i = 0; i < pages->PageCount(); ++i) EXPECT_EQ(pages->TabShownWidth(i), 90);
}

TEST_F(Tabs, WhenTheRowCannotHoldEveryCaptionTheWidestGiveWay) {
    pages->SetTabCaption(0, QStringLiteral("Magic weapons in stock and sold"));
    pages->setGeometry(0, 0, 330, 200);
    pages->SetTabWidth(31);
    EXPECT_LE(Used(), 330);
    EXPECT_EQ(pages->TabRows(), 1);
    const QString shown = pages->TabShownCaption(0);
    EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
    EXPECT_EQ(pages->TabButton(0)->toolTip(), QStringLiteral("Magic weapons in stock and sold"));
    // The short captions keep their whole text; no tab is below the set width.
    EXPECT_EQ(pages->TabShownCaption(3), QStringLiteral("Bulk"));
    EXPECT_EQ(pages->TabShownCaption(5), QStringLiteral("Regs"));
    for (int i = 0; i < pages->PageCount(); ++i) EXPECT_GE(pages->TabShownWidth(i), 31);
    // Renamed back: whole again, no tooltip.
    pages->SetTabCaption(0, QStringLiteral("Weps"));
    EXPECT_EQ(pages->TabShownCaption(0), QStringLiteral("Weps"));
    EXPECT_TRUE(pages->TabButton(0)->toolTip().isEmpty());
}

TEST_F(Tabs, HidingAndShowingTabsLaysThemOutAtOnceAndTellsTheWindow) {
    pages->setGeometry(0, 0, 338, 200);
    QObject::connect(pages, &TPageControl::resized, pages, [this] { WindowRule(); });
    WindowRule();
    QSignalSpy told(pages, &TPageControl::resized);
    // Every tab but the first hidden, then that one too, as the options do.
    for (int i = pages->PageCount() - 1; i >= 0; --i) pages->SetTabVisible(i, false);
    EXPECT_EQ(told.count(), 8);
    EXPECT_EQ(pages->VisibleTabCount(), 0);
    // Shown again from the first: the first alone is wide for a moment, then
    // every tab has its share as soon as it is shown.
    for (int i = 0; i < pages->PageCount(); ++i) pages->SetTabVisible(i, true);
    EXPECT_EQ(told.count(), 16);
    EXPECT_EQ(pages->TabWidth(), (338 - 81) / 8);
    for (int i = 0; i < pages->PageCount(); ++i) {
        EXPECT_TRUE(pages->TabButton(i)->isVisibleTo(pages));
        EXPECT_LT(pages->TabShownWidth(i), 100) << captions[i].toStdString();
        EXPECT_TRUE(pages->rect().contains(pages->TabButton(i)->geometry()));
    }
    // Renaming and the row mode tell the window too.
    pages->SetTabCaption(2, QStringLiteral("Smithy"));
    pages->SetMultiLine(true);
    EXPECT_EQ(told.count(), 18);
    pages->SetTabCaption(2, QStringLiteral("Smithy"));  // no change, nothing to tell
    EXPECT_EQ(told.count(), 18);
}

TEST_F(Tabs, SeveralRowsHoldWideTabsAndCutACaptionWiderThanARow) {
    pages->setGeometry(0, 0, 330, 200);
    pages->SetMultiLine(true);
    pages->SetTabWidth(120);
    EXPECT_GT(pages->TabRows(), 1);
    for (int i = 0; i < pages->PageCount(); ++i) EXPECT_TRUE(pages->rect().contains(pages->TabButton(i)->geometry()));
    pages->SetTabCaption(1, QString(80, QLatin1Char('W')));
    EXPECT_EQ(pages->TabShownWidth(1), 330);
    EXPECT_TRUE(pages->TabShownCaption(1).endsWith(QChar(0x2026)));
    EXPECT_EQ(pages->TabButton(1)->toolTip(), QString(80, QLatin1Char('W')));
}

}  // namespace
}  // namespace stallmark
